// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "fixture/loopbackserver.h"
#include "fixture/programfolder.h"
#include "fixture/wait.h"
#include "online/update.h"
#include "platform/http.h"
#include "playoff/playoff.h"
#include "season/adjustments.h"
#include "season/datafiles.h"
#include "season/matchdates.h"

#include <QLockFile>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

using fixture::contents, fixture::put;

namespace {

// Runs the update against the loopback server and records every step, answering from a queue.
class Recorder final : public UpdateSurroundings, public UpdatedLeague {
public:
    explicit Recorder(const QUrl& site, QList<bool> yesNo = {true}) : answers(std::move(yesNo)), m_site(site) {}

    QStringList steps;
    QList<bool> answers;
    int reloads = 0, beeps = 0, saves = 0, homePages = 0;
    HttpLimits limits{3000, 10000, kMaxResponseBytes};
    QHash<QString, int> deadlineFor; // a shorter deadline for one transfer, by path
    bool takeServer = false;
    QStringList conflicts;
    QList<bool> questionIcons;
    int cancelAfterFetches = -1;      // the user presses "Přerušit" after that many transfers
    QList<int> deadlines;             // what each transfer was given
    std::function<void()> whileAsked; // another writer, while the user looks at the conflicts

private:
    void fetch(const QString& path, int deadlineMs, std::function<void(const FetchResult&)> done) override
    {
        ++m_fetches;
        deadlines << deadlineMs;
        HttpLimits within = limits;
        within.deadlineMs = std::min({within.deadlineMs, deadlineMs, deadlineFor.value(path, deadlineMs)});
        httpGet(updateAddress(m_site, path), within, {}, std::move(done));
    }
    void status(const QString& text) override { steps << text; }
    void progress(int, int) override {}
    void pause(int, std::function<void()> done) override { QTimer::singleShot(0, std::move(done)); }
    bool askYesNo(const QString& text, bool questionIcon, const QString&) override
    {
        steps << text;
        questionIcons << questionIcon;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void tellError(const QString& text, const QString& title) override { steps << title + u": " + text; }
    bool takeServerResults(const QStringList& found) override
    {
        conflicts = found;
        if (whileAsked)
            whileAsked();
        return takeServer;
    }
    void openHomePage() override { ++homePages; }
    void beep() override { ++beeps; }
    QDateTime now() const override { return QDateTime(QDate(2007, 11, 30), QTime(20, 15)); }
    bool saveBeforeUpdate() override { return ++saves > 0; }
    void reloadAfterUpdate() override { ++reloads; }
    QString schedulePath() const override { return {}; }
    bool cancelled() const override { return cancelAfterFetches >= 0 && m_fetches >= cancelAfterFetches; }

    QUrl m_site;
    int m_fetches = 0;
};

// The update as a job of this test's event loop, until it ends.
UpdateOutcome runUpdate(Recorder& with, const QString& folder, const QString& server,
                        int deadlineMs = kUpdateDeadlineMs)
{
    UpdateJob job(with, &with, folder, server, deadlineMs);
    std::optional<UpdateOutcome> ended;
    QObject::connect(&job, &UpdateJob::finished, &job, [&ended](UpdateOutcome outcome) { ended = outcome; });
    job.start();
    return fixture::waitFor([&] { return ended.has_value(); }) ? *ended : UpdateOutcome::Failed;
}

} // namespace

class tst_update final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_site = std::make_unique<QTemporaryDir>();
        m_program = std::make_unique<QTemporaryDir>();
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR "/../update-site"), m_site->path());
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR), m_program->path());
        m_server = std::make_unique<LoopbackServer>(m_site->path());
    }

    void versionsAndFileNames()
    {
        QVERIFY(isNewerVersion(u"3.4.2"_s, u"3.4.1"_s));
        QVERIFY(isNewerVersion(u"4.0.0"_s, u"3.4.1"_s));
        QVERIFY(!isNewerVersion(u"3.4.1"_s, u"3.4.1"_s));
        QVERIFY(!isNewerVersion(u"3.10.0"_s, u"3.9.0"_s)); // compared as the old program did, by text
        QVERIFY(isPlainFileName(u"los_extraliga0708.txt"_s));
        for (const QString& name : {u"."_s, u"../1.st"_s, u"a..b"_s, u"/etc/passwd"_s, u"ad/1.jpg"_s, u"..\\x"_s,
                                    u"C:x.txt"_s, u"a\tb"_s, QString()})
            QVERIFY2(!isPlainFileName(name), qPrintable(name));
    }

    void merge()
    {
        // "home-away result" in round 5, slot 7 of my season; the server's result for the slot's own pairing 13-14;
        // what the merged season holds. Only the same pairing is merged.
        for (const auto& [mine, server, merged] : {std::tuple{u"13-14 2:1"_s, QString(), u"2:1"_s},
                                                   {u"13-14 2:1"_s, u"2:1"_s, u"2:1"_s},
                                                   {u"13-14 2:1"_s, u"0:1"_s, u"0:1"_s},
                                                   {u"13-12 2:1"_s, QString(), QString()},
                                                   {u"14-13 2:1"_s, QString(), QString()}}) {
            SeasonStore local = fixture::season(), downloaded = fixture::season({{5, 7, server}});
            const QStringList teams = mine.section(u' ', 0, 0).split(u'-');
            local.match(7, 5) = Match{teams[0].toInt(), teams[1].toInt(), mine.section(u' ', 1)};
            const QList<ResultConflict> found = mergeResults(local, downloaded);
            QCOMPARE(downloaded.VYSLEDEK(7, 5), merged);
            QCOMPARE(found.size(), server == u"0:1" ? 1 : 0);
            if (!found.isEmpty())
                QCOMPARE(conflictText(found[0], downloaded), u"5. kolo  Tým 13 - Tým 14: vaše 2:1, server 0:1"_s);
        }
        // A date goes with its pairing to the slot the server has it in; one the server's round lacks is dropped.
        SeasonStore local = fixture::season(), downloaded = fixture::season();
        std::swap(downloaded.match(6, 5), downloaded.match(7, 5));
        downloaded.match(1, 5) = {downloaded.match(1, 5).away, downloaded.match(1, 5).home, {}};
        const MatchDate own{QDate(2008, 2, 12), QTime(18, 0), false};
        local.matchDates = {
            {{5, 7}, own},         {{5, 1}, own}, {{5, 2}, own}, {{5, 3}, {{}, {}, true}}, {{kRounds, kSlots}, own},
            {{5, kSlots + 1}, own}}; // a slot the league does not have, skipped
        downloaded.matchDates = {{{5, 2}, own}, {{5, 3}, {QDate(2008, 2, 13), {}, false}}};
        const QList<DateConflict> found = mergeMatchDates(local, downloaded);
        QCOMPARE(downloaded.matchDates.keys(),
                 (QList<std::pair<int, int>>{{5, 2}, {5, 3}, {5, 6}, {kRounds, kSlots}})); // the very last match too
        QCOMPARE(found.size(), 1);
        QCOMPARE(conflictText(found[0], downloaded), u"5. kolo  %1 - %2: vaše odloženo, server 13.2.2008"_s.arg(
                                                         downloaded.TymPodleCisla(downloaded.match(3, 5).home),
                                                         downloaded.TymPodleCisla(downloaded.match(3, 5).away)));
    }

    void conflictsAndTypedResults_data()
    {
        QTest::addColumn<bool>("takeServer");
        QTest::addRow("keep mine") << false;
        QTest::addRow("take the server's") << true;
    }

    void conflictsAndTypedResults()
    {
        // The user typed a result for round 40 that the download does not have yet, and another one for
        // round 2 where the download has its own.
        QFETCH(bool, takeServer);
        const QString competition = program(u"souteze/sezona_extraliga0708.txt"_s);
        const QString schedule = scheduleFileFor(competition);
        SeasonStore mine = fixture::load(competition);
        mine.match(3, 40).result = u"7:6n"_s;
        mine.match(1, 2).result = u"9:9p"_s;
        QVERIFY(writeSchedule(mine, schedule).ok());
        const QByteArray before = contents(schedule);
        serveCalendar();

        Recorder r(m_server->url());
        r.takeServer = takeServer;
        // A script saving a result while the question is open is refused: the update would overwrite it.
        QString otherWriter;
        r.whileAsked = [&] { otherWriter = LeagueLock(schedule).acquire().error(); };
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Finished);
        QVERIFY2(otherWriter.contains(u"los_extraliga0708.txt"_s), qPrintable(otherWriter));
        QCOMPARE(r.steps.value(2), u"Dostupná data jsou z 28.11.2007.\r\n\r\nPřejete si pokračovat?"_s);
        QCOMPARE(r.steps.value(3), u"stahuji data...  (sezona_extraliga0708.txt)"_s);
        QCOMPARE(r.steps.last(), u"stahování dat dokončeno"_s);
        QCOMPARE(QList<int>({r.saves, r.beeps, r.reloads}), QList<int>({1, 1, 1}));
        QVERIFY(!QFile::exists(program(u"update.dat"_s)));

        const SeasonStore updated = fixture::load(competition);
        const SeasonStore served = fixture::load(site(u"sezona_extraliga0708.txt"_s));
        const Match& m = served.match(1, 2);
        QCOMPARE(r.conflicts, QStringList{u"2. kolo  %1 - %2: vaše 9:9p, server %3"_s.arg(
                                  served.TymPodleCisla(m.home), served.TymPodleCisla(m.away), m.result)});
        QCOMPARE(updated.VYSLEDEK(1, 2), takeServer ? m.result : u"9:9p"_s);
        QCOMPARE(updated.VYSLEDEK(3, 40), u"7:6n"_s);
        QCOMPARE(updated.VYSLEDEK(5, 25), served.VYSLEDEK(5, 25)); // newer results arrived
        QVERIFY(!updated.VYSLEDEK(5, 25).isEmpty());
        QCOMPARE(contents(program(u"souteze/sezona_prvniliga0708.txt"_s)),
                 contents(site(u"sezona_prvniliga0708.txt"_s)) + "\r\n");
        // The schedule as it was before is kept in the backup folder, and every replaced league file once.
        const QDir backups(program(u"souteze/zaloha"_s));
        const QStringList copies = backups.entryList({u"los_extraliga0708_*.txt"_s}, QDir::Files);
        QCOMPARE(copies, QStringList{u"los_extraliga0708_2007-11-30_201500.txt"_s}); // named by the given clock
        QCOMPARE(contents(backups.filePath(copies[0])), before);
        QCOMPARE(backups.entryList(QDir::Files).size(), 9);
    }

    // A downloaded play-off keeps the games only the fan has and the series he has further; where both go
    // apart, he is asked, and keeps his by default.
    void playoffMerged()
    {
        const QStringList stages{u"faze=Předkolo;7-10;2"_s, u"faze=Čtvrtfinále;1-6,vitezove Předkolo;4"_s,
                                 u"faze=Play-down;11-14;4"_s};
        put(program(u"souteze/playoff_extraliga0708.txt"_s),
            encodeLines(stages + QStringList{u"zapas=Předkolo;7-10;2:1"_s, u"zapas=Play-down;11-14;1:0"_s,
                                             u"zapas=Play-down;14-11;2:1p"_s}));
        put(site(u"playoff_extraliga0708.txt"_s),
            encodeLines(stages + QStringList{u"zapas=Play-down;11-14;0:1"_s, u"zapas=Předkolo;8-9;3:0"_s}));
        put(site(u"update_v3.dat"_s), contents(site(u"update_v3.dat"_s)) + "playoff_extraliga0708.txt\r\n");
        Recorder r(m_server->url());
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Finished);
        const SeasonStore league = fixture::load(program(u"souteze/sezona_extraliga0708.txt"_s));
        QCOMPARE(r.conflicts.filter(u"Play-down"_s), QStringList{u"Play-down  %1 - %2: vaše 1:0 2:1p, server 0:1"_s.arg(
                                                         league.TymPodleCisla(11), league.TymPodleCisla(14))});
        const QString merged = decodeText(contents(program(u"souteze/playoff_extraliga0708.txt"_s)));
        for (const QString& game : {u"zapas=Předkolo;7-10;2:1"_s, u"zapas=Předkolo;8-9;3:0"_s,
                                    u"zapas=Play-down;11-14;1:0"_s, u"zapas=Play-down;14-11;2:1p"_s})
            QVERIFY2(merged.contains(game), qPrintable(merged));
        QVERIFY(!merged.contains(u"0:1"_s));
        QVERIFY(QDir(program(u"souteze/zaloha"_s)).entryList({u"playoff_extraliga0708_*"_s}, QDir::Files).size() == 1);
    }

    void datesMerged_data()
    {
        QTest::addColumn<bool>("takeServer");
        QTest::addRow("mine") << false;
        QTest::addRow("server") << true;
    }

    // The server's dates file comes in with the server's dates, the fan's own where only he has one; a match both
    // date differently is a conflict, his unless he takes the server's; the old file stays in the backups.
    void datesMerged()
    {
        QFETCH(bool, takeServer);
        const QString file = u"terminy_extraliga0708.txt"_s;
        put(program(u"souteze/"_s + file), encodeLines({u"40;3;12.2.2008;18:00"_s, u"41;1;odloženo"_s}));
        put(site(file), encodeLines({u"40;3;13.2.2008"_s, u"42;2;;17:30"_s}));
        put(site(u"update_v3.dat"_s), contents(site(u"update_v3.dat"_s)) + file.toLatin1() + "\r\n");
        Recorder r(m_server->url());
        r.takeServer = takeServer;
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Finished);
        const SeasonStore league = fixture::load(program(u"souteze/sezona_extraliga0708.txt"_s));
        const Match& m = league.match(3, 40);
        QCOMPARE(r.conflicts.filter(u"40. kolo"_s),
                 QStringList{u"40. kolo  %1 - %2: vaše 12.2.2008 18:00, server 13.2.2008"_s.arg(
                     league.TymPodleCisla(m.home), league.TymPodleCisla(m.away))});
        const SeasonStore read = readLeague(program(u"souteze/sezona_extraliga0708.txt"_s)).value().store;
        QCOMPARE(matchDateText(read.matchDates.value({40, 3})), takeServer ? u"13.2.2008"_s : u"12.2.2008 18:00"_s);
        QVERIFY(read.postponed(1, 41));
        QCOMPARE(read.matchTime(2, 42), QTime(17, 30));
        QCOMPARE(QDir(program(u"souteze/zaloha"_s)).entryList({u"terminy_extraliga0708_*"_s}, QDir::Files).size(), 1);
    }

    // A league new to the folder comes with the server's dates, whatever dates file of that name the fan has left.
    void newLeagueTakesServersDates()
    {
        put(site(u"sezona_nova0708.txt"_s), contents(program(u"souteze/sezona_extraliga0708.txt"_s)));
        put(site(u"los_nova0708.txt"_s), contents(program(u"souteze/los_extraliga0708.txt"_s)));
        put(site(u"terminy_nova0708.txt"_s), encodeLines({u"40;3;13.2.2008"_s}));
        put(program(u"souteze/terminy_nova0708.txt"_s), encodeLines({u"40;3;12.2.2008;18:00"_s}));
        put(site(u"update_v3.dat"_s),
            "VELMOR_UPDATE\r\n1.11.2007\r\nsezona_nova0708.txt\r\nlos_nova0708.txt\r\nterminy_nova0708.txt\r\n");
        Recorder r(m_server->url());
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Finished);
        QVERIFY(r.conflicts.isEmpty());
        const SeasonStore read = readLeague(program(u"souteze/sezona_nova0708.txt"_s)).value().store;
        QCOMPARE(matchDateText(read.matchDates.value({40, 3})), u"13.2.2008"_s);
    }

    // The server renames a stage the fan has games in: they are a conflict, kept unless he takes the server's.
    void playoffStageRenamed_data()
    {
        QTest::addColumn<bool>("takeServer");
        QTest::addRow("mine") << false;
        QTest::addRow("server") << true;
    }
    void playoffStageRenamed()
    {
        QFETCH(bool, takeServer);
        put(program(u"souteze/playoff_extraliga0708.txt"_s),
            encodeLines({u"faze=Předkolo;7-10;2"_s, u"zapas=Předkolo;7-10;2:1"_s}));
        put(site(u"playoff_extraliga0708.txt"_s), encodeLines({u"faze=Předkolo na 3;7-10;3"_s}));
        put(site(u"update_v3.dat"_s), contents(site(u"update_v3.dat"_s)) + "playoff_extraliga0708.txt\r\n");
        Recorder r(m_server->url());
        r.takeServer = takeServer;
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Finished);
        QVERIFY2(r.conflicts.filter(u"server fázi „Předkolo“ nemá"_s).size() == 1, qPrintable(r.conflicts.join(u'\n')));
        const QString now = decodeText(contents(program(u"souteze/playoff_extraliga0708.txt"_s)));
        QCOMPARE(now.contains(u"zapas=Předkolo;7-10;2:1"_s), !takeServer);
        QCOMPARE(now.contains(u"Předkolo na 3"_s), takeServer);
    }

    // A play-off file is checked against the league as the update leaves it, the fan's results merged in.
    void playoffCheckedAgainstMergedSchedule()
    {
        SeasonStore full = fixture::load(site(u"sezona_extraliga0708.txt"_s));
        for (int round = 1; round <= full.rounds(); ++round)
            for (int slot = 1; slot <= full.slots(); ++slot)
                if (full.match(slot, round).result.isEmpty())
                    full.match(slot, round).result = u"2:1"_s;
        put(program(u"souteze/los_extraliga0708.txt"_s), scheduleBytes(full));
        SeasonStore server = full;
        server.match(1, server.rounds()).result.clear(); // the server has not got the last result yet
        put(site(u"los_extraliga0708.txt"_s), scheduleBytes(server));
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(full);
        put(site(u"playoff_extraliga0708.txt"_s),
            encodeLines({u"faze=Předkolo;7-10;2"_s, u"zapas=Předkolo;%1-%2;2:1"_s.arg(order[6]).arg(order[7])}));
        put(site(u"update_v3.dat"_s), contents(site(u"update_v3.dat"_s)) + "playoff_extraliga0708.txt\r\n");
        const auto before = fixture::snapshot(program(u"souteze"_s));
        Recorder r(m_server->url());
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Failed);
        QVERIFY2(r.steps.join(u'\n').contains(u"není dvojice fáze „Předkolo“"_s), qPrintable(r.steps.join(u'\n')));
        QCOMPARE(fixture::snapshot(program(u"souteze"_s)), before);
    }

    // Whatever goes wrong, the program folder stays as it was and the league is not reloaded.
    void failuresChangeNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("fault");
        const QByteArray html = "<!DOCTYPE html><html><body>Stránka nenalezena</body></html>";
        QByteArray twice = contents(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/los_extraliga0708.txt"));
        twice.replace("\r\n1-", "\r\n2-");
        QByteArray thirteen = contents(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt"));
        thirteen.replace("t14=", ";t14=");
        QByteArray many = "VELMOR_UPDATE\r\n1.11.2007\r\n";
        for (int i = 0; i <= kMaxUpdateFiles; ++i)
            many += "f" + QByteArray::number(i) + ".txt\r\n";
        const QByteArray outside = "VELMOR_UPDATE\r\n1.11.2007\r\nsezona_extraliga0708.txt\r\n../1.st\r\n";
        QTest::addRow("HTML as a competition file") << "sezona_extraliga0708.txt" << html << "nepojmenovává žádný tým";
        QTest::addRow("HR1 not a number")
            << "sezona_prvniliga0708.txt" << QByteArray("nazev=X\r\nHR1=x\r\n") << "HR1= musí";
        QTest::addRow("13 teams") << "sezona_extraliga0708.txt" << thirteen << "čísla týmů od 1 do 13";
        QTest::addRow("team twice in a round") << "los_extraliga0708.txt" << twice << "dvakrát";
        QTest::addRow("HTML as a schedule") << "los_prvniliga0708.txt" << html << "chybí kolo 1";
        QTest::addRow("HTML as a calendar") << "kalendar_0708.dat" << html << "není to akce kalendáře";
        QTest::addRow("parent folder in the list") << "update_v3.dat" << outside << "„../1.st“ není přípustný";
        QTest::addRow("too many files") << "update_v3.dat" << many << "65 souborů";
        QTest::addRow("a kind the program does not read")
            << "update_v3.dat" << QByteArray("VELMOR_UPDATE\r\n1.11.2007\r\nlos_extraliga0708.txt\r\n1.st\r\n")
            << "„1.st“ není soubor soutěže";
        QTest::addRow("a .dat that is no calendar")
            << "update_v3.dat" << QByteArray("VELMOR_UPDATE\r\n1.11.2007\r\nnovinky.dat\r\n") << "„novinky.dat“ není";
        for (const char* control : {"los_prvniliga0708.txt.lock", "los_prvniliga0708.txt.obnova",
                                    "los_prvniliga0708.txt.rinkomat-novy", "sezona_prvniliga0708.txt.lock"})
            QTest::addRow("the program's own %s", control)
                << "update_v3.dat"
                << "VELMOR_UPDATE\r\n1.11.2007\r\n" + QByteArray(control) + "\r\n"
                << u"„%1“ není soubor soutěže"_s.arg(QLatin1String(control));
        QTest::addRow("league open elsewhere") << "" << QByteArray() << "los_prvniliga0708.txt";
    }

    void failuresChangeNothing()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, body);
        QFETCH(QString, fault);
        serveCalendar();
        if (!file.isEmpty())
            put(site(file), body);
        LeagueLock other(program(u"souteze/los_prvniliga0708.txt"_s));
        if (file.isEmpty())
            QVERIFY(other.acquire().ok());
        const auto before = fixture::snapshot(m_program->path());
        Recorder r(m_server->url());
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Failed);
        QVERIFY2(r.steps.last().contains(fault), qPrintable(r.steps.last()));
        if (file != u"update_v3.dat")
            QVERIFY2(r.steps.last().contains(file), qPrintable(r.steps.last()));
        else
            QCOMPARE(m_server->requested.size(), 2); // no file was fetched
        QVERIFY(fixture::snapshot(m_program->path()) == before);
        QCOMPARE(r.reloads, 0);
    }

    // A new league whose schedule neither the server nor the folder has is refused, nothing installed.
    void leagueWithoutSchedule()
    {
        put(site(u"sezona_nova0708.txt"_s), contents(program(u"souteze/sezona_extraliga0708.txt"_s)));
        put(site(u"update_v3.dat"_s), "VELMOR_UPDATE\r\n1.11.2007\r\nsezona_nova0708.txt\r\n");
        const auto before = fixture::snapshot(m_program->path());
        Recorder r(m_server->url());
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Failed);
        QVERIFY2(r.steps.last().contains(u"Soubor „los_nova0708.txt“ neexistuje."_s), qPrintable(r.steps.last()));
        QVERIFY(fixture::snapshot(m_program->path()) == before);
    }

    void transferFailures_data()
    {
        QTest::addColumn<LoopbackServer::Mode>("mode");
        QTest::addColumn<QByteArray>("canned");
        QTest::addColumn<QString>("message");
        using M = LoopbackServer::Mode;
        const QByteArray notFound = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
        const QByteArray elsewhere =
            "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.2:1/x\r\nContent-Length: 0\r\n\r\n";
        QTest::addRow("never answers") << M::NeverAnswer << QByteArray() << "Nelze navázat spojení!";
        QTest::addRow("closes") << M::CloseConnection << QByteArray() << "(server předčasně ukončil spojení)";
        QTest::addRow("cut off halfway") << M::Serve << QByteArray() << "Došlo k chybě!";
        QTest::addRow("drips") << M::Drip << QByteArray() << "(přenos trval déle než";
        QTest::addRow("not found") << M::Serve << notFound << "(HTTP 404, soubor los_extraliga0708.txt)";
        QTest::addRow("redirect loop")
            << M::Serve
            << QByteArray("HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
            << "(server přesměrovává stále dokola, soubor los_extraliga0708.txt)";
        QTest::addRow("redirect elsewhere")
            << M::Serve << elsewhere << "(server přesměroval na jiný server, soubor los_extraliga0708.txt)";
    }

    void transferFailures()
    {
        QFETCH(LoopbackServer::Mode, mode);
        QFETCH(QByteArray, canned);
        QFETCH(QString, message);
        const QString path = u"/velmor/update/los_extraliga0708.txt"_s;
        m_server->truncated = path;
        if (!canned.isEmpty())
            m_server->canned[path] = canned;
        m_server->canned[u"/loop"_s] =
            "HTTP/1.1 302 Found\r\nLocation: /velmor/update/los_extraliga0708.txt\r\nContent-Length: 0\r\nConnection: "
            "close\r\n\r\n";
        if (m_server->mode = mode; mode == LoopbackServer::Mode::Drip) {
            // The version and the list still arrive; the first data file drips.
            m_server->canned[u"/velmor/update/newest.dat"_s] = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n3.4.1";
            m_server->canned[u"/velmor/update/update_v3.dat"_s] =
                "HTTP/1.1 200 OK\r\n\r\n" + contents(site(u"update_v3.dat"_s));
        }
        const auto before = fixture::snapshot(m_program->path());
        Recorder r(m_server->url());
        // Short limits only where the case waits for one: the others must not fail by a slow machine.
        if (mode == LoopbackServer::Mode::NeverAnswer)
            r.limits.idleMs = 20;
        if (mode == LoopbackServer::Mode::Drip)
            r.deadlineFor[u"/velmor/update/sezona_extraliga0708.txt"_s] = 50;
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Failed);
        QVERIFY2(r.steps.last().startsWith(u"update: "_s) && r.steps.last().contains(message),
                 qPrintable(r.steps.last()));
        QVERIFY(fixture::snapshot(m_program->path()) == before);
        QCOMPARE(r.reloads, 0);
    }

    // However slow the server, the update ends in time: every transfer gets only what is left of it.
    void overallDeadline()
    {
        const auto before = fixture::snapshot(m_program->path());
        Recorder late(m_server->url());
        QCOMPARE(runUpdate(late, m_program->path(), u"127.0.0.1"_s, 0), UpdateOutcome::Failed);
        QVERIFY2(late.steps.last().contains(u"aktualizace trvala déle než"_s), qPrintable(late.steps.last()));
        QVERIFY(m_server->requested.isEmpty());
        QVERIFY(fixture::snapshot(m_program->path()) == before);

        Recorder r(m_server->url());
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s, 30000), UpdateOutcome::Finished);
        QCOMPARE(r.deadlines.size(), 11);
        QVERIFY(std::all_of(r.deadlines.begin(), r.deadlines.end(), [](int ms) { return ms > 0 && ms <= 30000; }));
        QVERIFY(std::is_sorted(r.deadlines.rbegin(), r.deadlines.rend()));
    }

    // A crash while the files were being replaced: the next start completes the update; a crash while
    // they were still being staged leaves "souteze" as it was.
    void interruptedUpdate()
    {
        const QDir souteze(program(u"souteze"_s));
        const QByteArray oldSchedule = contents(souteze.filePath(u"los_extraliga0708.txt"_s));
        const QDir replacing(souteze.filePath(u".aktualizace-Ab12Cd"_s)),
            staging(souteze.filePath(u".aktualizace-Zz99Yy"_s));
        QVERIFY(QDir().mkpath(replacing.path()) && QDir().mkpath(staging.path()));
        put(souteze.filePath(u"sezona_extraliga0708.txt"_s), "installed before the crash");
        put(replacing.filePath(u"los_extraliga0708.txt"_s), "new schedule");
        // A name that leaves the folder is never followed, though a file answers to it.
        put(replacing.filePath(u"instalovat.txt"_s),
            "sezona_extraliga0708.txt\n../kalendar_0708.dat\nlos_extraliga0708.txt");
        put(staging.filePath(u"los_prvniliga0708.txt"_s), "half staged");
        for (const QDir& ours : {replacing, staging})
            put(ours.filePath(u".rinkomat-aktualizace"_s), "Rinkomat\n");
        // Under the staging name but not the program's: a link to a tree elsewhere, a folder without the mark.
        QTemporaryDir elsewhere;
        put(elsewhere.filePath(u"dulezite.txt"_s), "the user's own");
        QVERIFY(QFile::link(elsewhere.path(), souteze.filePath(u".aktualizace-odkaz"_s)));
        const QDir foreign(souteze.filePath(u".aktualizace-cizi"_s));
        QVERIFY(QDir().mkpath(foreign.path()));
        put(foreign.filePath(u"instalovat.txt"_s), "los_extraliga0708.txt");
        put(foreign.filePath(u"los_extraliga0708.txt"_s), "not ours");
        const QByteArray prvni = contents(souteze.filePath(u"los_prvniliga0708.txt"_s));
        {
            QLockFile running(souteze.filePath(u".aktualizace.lock"_s)); // an update at work elsewhere
            QVERIFY(running.tryLock(0));
            QVERIFY(finishInterruptedUpdate(souteze).isEmpty());
            QVERIFY(QFileInfo::exists(staging.path()));
        }
        QCOMPARE(finishInterruptedUpdate(souteze), QStringList{u"los_extraliga0708.txt"_s});
        QCOMPARE(contents(souteze.filePath(u"los_extraliga0708.txt"_s)), QByteArray("new schedule"));
        QCOMPARE(contents(souteze.filePath(u"sezona_extraliga0708.txt"_s)), QByteArray("installed before the crash"));
        QCOMPARE(contents(souteze.filePath(u"los_prvniliga0708.txt"_s)), prvni);
        QVERIFY(QFileInfo::exists(souteze.filePath(u"kalendar_0708.dat"_s)) &&
                !QFileInfo::exists(program(u"kalendar_0708.dat"_s)));
        QCOMPARE(souteze.entryList({u".aktualizace-*"_s}, QDir::AllEntries | QDir::Hidden | QDir::System),
                 QStringList{u".aktualizace-cizi"_s});
        QCOMPARE(contents(elsewhere.filePath(u"dulezite.txt"_s)), QByteArray("the user's own"));
        QCOMPARE(contents(foreign.filePath(u"los_extraliga0708.txt"_s)), QByteArray("not ours"));
        QVERIFY(oldSchedule != "new schedule");
    }

    void refusedConnection()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QUrl url(u"http://127.0.0.1:%1"_s.arg(closed.serverPort()));
        closed.close(); // nothing listens there now
        Recorder r(url);
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Failed);
        QCOMPARE(r.steps.last(), u"update: Nelze navázat spojení!"_s);
    }

    void newerVersion_data()
    {
        QTest::addColumn<bool>("openPage");
        QTest::addRow("Yes opens the home page") << true;
        QTest::addRow("No goes on with the data") << false;
    }

    void newerVersion()
    {
        QFETCH(bool, openPage);
        put(site(u"newest.dat"_s), "3.4.2");
        Recorder r(m_server->url(), {openPage, false});
        runUpdate(r, m_program->path(), u"127.0.0.1"_s);
        QCOMPARE(r.steps.value(2), u"Byla zjištěna novější verze programu!\r\n\r\nVaše verze: 3.4.1\r\nDostupná "
                                   "verze: 3.4.2\r\n\r\nPřejete si otevřít www stránku programu?"_s);
        QCOMPARE(r.homePages, openPage ? 1 : 0);
        QCOMPARE(m_server->requested.contains(u"/velmor/update/update_v3.dat"_s), !openPage);
        QCOMPARE(r.questionIcons,
                 openPage ? QList<bool>({false}) : QList<bool>({false, true})); // information, question
    }

    void cancelledChangesNothing()
    {
        const auto before = fixture::snapshot(m_program->path());
        Recorder r(m_server->url());
        r.cancelAfterFetches = 3; // during the first data file
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_s), UpdateOutcome::Cancelled);
        QCOMPARE(m_server->requested.size(), 3); // no further file was fetched
        QVERIFY(fixture::snapshot(m_program->path()) == before);
        QCOMPARE(r.reloads, 0);
    }

    void invalidData()
    {
        for (const auto& [file, body] : {std::pair{u"newest.dat"_s, QByteArray("3.4.x")},
                                         {u"update_v3.dat"_s, QByteArray("velmor_update\r\n1.1.2008\r\nx.txt\r\n")}}) {
            init();
            put(site(file), body);
            Recorder r(m_server->url());
            runUpdate(r, m_program->path(), u"127.0.0.1"_s);
            QCOMPARE(r.steps.last(), u"KLX: Server vrátil neplatná data!"_s);
            QVERIFY(!QFile::exists(program(u"update.dat"_s)));
            QCOMPARE(r.reloads, 0);
        }
    }

    void declinedOrEmpty()
    {
        const QByteArray before = contents(program(u"souteze/los_extraliga0708.txt"_s));
        put(site(u"newest.dat"_s), "3.0.0"); // an older program on the server: a zero is a digit too
        Recorder declined(m_server->url(), {false});
        runUpdate(declined, m_program->path(), u"127.0.0.1"_s);
        QVERIFY(!QFile::exists(program(u"update.dat"_s))); // a temporary file, gone whatever the outcome
        QCOMPARE(contents(program(u"souteze/los_extraliga0708.txt"_s)), before);
        QCOMPARE(declined.saves + declined.reloads, 0);

        // A list naming no file after its empty line: nothing is fetched, the league is still reloaded.
        put(site(u"update_v3.dat"_s), "VELMOR_UPDATE\r\n1.11.2007\r\n\r\nlos_extraliga0708.txt\r\n");
        Recorder empty(m_server->url());
        runUpdate(empty, m_program->path(), u"127.0.0.1"_s);
        QVERIFY(!m_server->requested.contains(u"/velmor/update/los_extraliga0708.txt"_s));
        QCOMPARE(empty.reloads, 1);
    }

private:
    QString site(const QString& file) const { return m_site->filePath(u"velmor/update/"_s + file); }
    QString program(const QString& file) const { return m_program->filePath(file); }
    // The server offers the calendar too.
    void serveCalendar()
    {
        put(site(u"kalendar_0708.dat"_s), contents(program(u"souteze/kalendar_0708.dat"_s)));
        put(site(u"update_v3.dat"_s), contents(site(u"update_v3.dat"_s)) + "kalendar_0708.dat\r\n");
    }

    std::unique_ptr<QTemporaryDir> m_site, m_program;
    std::unique_ptr<LoopbackServer> m_server;
};

QTEST_GUILESS_MAIN(tst_update)
#include "tst_update.moc"
