// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "fixture/loopbackserver.h"
#include "fixture/programfolder.h"
#include "online/update.h"
#include "platform/http.h"
#include "season/datafiles.h"

#include <QDirIterator>
#include <QTest>

namespace {

// Runs the update against the loopback server and records every step, answering from a queue.
class Recorder final : public UpdateSurroundings {
public:
    explicit Recorder(const QUrl& site) : m_site(site) {}

    QStringList steps;
    QList<bool> answers;
    int reloads = 0, beeps = 0, saves = 0, homePages = 0;
    HttpLimits limits{3000, 10000, kMaxResponseBytes};
    bool takeServer = false;
    QStringList conflicts;
    QList<bool> questionIcons;
    int cancelAfterFetches = -1; // the user presses "Přerušit" after that many transfers

private:
    FetchResult fetch(const QString& path) override
    {
        QUrl url = m_site;
        url.setPath(path);
        ++m_fetches;
        return httpGet(url, limits);
    }

    void status(const QString& text) override { steps << text; }
    void progress(int, int) override {}
    void pause(int) override {}
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
        return takeServer;
    }

    void openHomePage() override { ++homePages; }
    void beep() override { ++beeps; }
    bool saveSeason() override { return ++saves > 0; }
    void reloadSeason() override { ++reloads; }
    bool cancelled() const override { return cancelAfterFetches >= 0 && m_fetches >= cancelAfterFetches; }

    QUrl m_site;
    int m_fetches = 0;
};

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
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

    void versionComparison_data()
    {
        // clang-format off
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("local");
        QTest::addColumn<bool>("newer");
        QTest::addRow("3.4.2 over 3.4.1") << "3.4.2" << "3.4.1" << true;
        QTest::addRow("same") << "3.4.1" << "3.4.1" << false;
        QTest::addRow("3.10.0 is not over 3.9.0") << "3.10.0" << "3.9.0" << false;
        QTest::addRow("4.0.0") << "4.0.0" << "3.4.1" << true;
        // clang-format on
    }

    void versionComparison()
    {
        QFETCH(QString, server);
        QFETCH(QString, local);
        QFETCH(bool, newer);
        QCOMPARE(isNewerVersion(server, local), newer);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::addRow("schedule") << "los_extraliga0708.txt" << true;
        QTest::addRow("parent") << "../1.st" << false;
        QTest::addRow("dots inside") << "a..b" << false;
        QTest::addRow("absolute") << "/etc/passwd" << false;
        QTest::addRow("subfolder") << "ad/1.jpg" << false;
        QTest::addRow("backslash") << "..\\x" << false;
        QTest::addRow("drive") << "C:x.txt" << false;
        QTest::addRow("control") << "a\tb" << false;
        QTest::addRow("empty") << "" << false;
    }

    void fileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(isPlainFileName(name), plain);
    }

    void merge_data()
    {
        // clang-format off
        QTest::addColumn<QString>("mine");   // "home-away result" in round 5, slot 7
        QTest::addColumn<QString>("server"); // the server's result for slot 7's own pairing
        QTest::addColumn<QString>("merged");
        QTest::addColumn<int>("conflicts");
        // The fixture pairs 13 and 14 in slot 7; round 5 has 13 at home.
        QTest::addRow("only mine") << "13-14 2:1" << "" << "2:1" << 0;
        QTest::addRow("same result") << "13-14 2:1" << "2:1" << "2:1" << 0;
        QTest::addRow("different") << "13-14 2:1" << "0:1" << "0:1" << 1;
        QTest::addRow("same home team only") << "13-12 2:1" << "" << "" << 0;
        QTest::addRow("swapped pairing") << "14-13 2:1" << "" << "" << 0;
        // clang-format on
    }

    void merge()
    {
        QFETCH(QString, mine);
        QFETCH(QString, server);
        QFETCH(QString, merged);
        QFETCH(int, conflicts);
        SeasonStore local = fixture::season(), downloaded = fixture::season({{5, 7, server}});
        const QStringList teams = mine.section(u' ', 0, 0).split(u'-');
        local.match(7, 5) = Match{teams[0].toInt(), teams[1].toInt(), mine.section(u' ', 1)};
        const QList<ResultConflict> found = mergeResults(local, downloaded);
        QCOMPARE(downloaded.VYSLEDEK(7, 5), merged);
        QCOMPARE(found.size(), conflicts);
        if (conflicts)
            QCOMPARE(conflictText(found[0], downloaded), u"5. kolo  Tým 13 - Tým 14: vaše 2:1, server 0:1"_qs);
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
        const QString competition = program(u"souteze/sezona_extraliga0708.txt"_qs);
        const QString schedule = scheduleFileFor(competition);
        SeasonStore mine = fixture::load(competition);
        mine.match(3, 40).result = u"7:6n"_qs;
        mine.match(1, 2).result = u"9:9p"_qs;
        QCOMPARE(writeSchedule(mine, schedule), QString());
        const QByteArray before = contents(schedule);
        write(site(u"kalendar_0708.dat"_qs), contents(program(u"souteze/kalendar_0708.dat"_qs)));
        write(site(u"update_v3.dat"_qs), contents(site(u"update_v3.dat"_qs)) + "kalendar_0708.dat\r\n");

        Recorder r(m_server->url());
        r.answers = {true};
        r.takeServer = takeServer;
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_qs), UpdateOutcome::Finished);
        QCOMPARE(r.steps.value(2), u"Dostupná data jsou z 28.10.2007.\r\n\r\nPřejete si pokračovat?"_qs);
        QCOMPARE(r.steps.value(3), u"stahuji data...  (sezona_extraliga0708.txt)"_qs);
        QCOMPARE(r.steps.last(), u"stahování dat dokončeno"_qs);
        QCOMPARE(r.saves, 1);
        QCOMPARE(r.beeps, 1);
        QCOMPARE(r.reloads, 1);
        QVERIFY(!QFile::exists(program(u"update.dat"_qs)));

        const SeasonStore updated = fixture::load(competition);
        const SeasonStore served = fixture::load(site(u"sezona_extraliga0708.txt"_qs));
        const Match& m = served.match(1, 2);
        QCOMPARE(r.conflicts, QStringList{u"2. kolo  %1 - %2: vaše 9:9p, server %3"_qs.arg(
                                  served.TymPodleCisla(m.home), served.TymPodleCisla(m.away), m.result)});
        QCOMPARE(updated.VYSLEDEK(1, 2), takeServer ? m.result : u"9:9p"_qs);
        QCOMPARE(updated.VYSLEDEK(3, 40), u"7:6n"_qs);
        QCOMPARE(updated.VYSLEDEK(5, 25), served.VYSLEDEK(5, 25)); // newer results arrived
        QVERIFY(!updated.VYSLEDEK(5, 25).isEmpty());
        QCOMPARE(contents(program(u"souteze/sezona_prvniliga0708.txt"_qs)),
                 contents(site(u"sezona_prvniliga0708.txt"_qs)) + "\r\n");
        // The schedule as it was before is kept in the backup folder.
        const QDir backups(program(u"souteze/zaloha"_qs));
        const QStringList copies = backups.entryList({u"los_extraliga0708_*.txt"_qs}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(contents(backups.filePath(copies[0])), before);
        QCOMPARE(backups.entryList(QDir::Files).size(), 5); // every replaced league file once
    }

    void refusedDownloadChangesNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("fault");
        const QByteArray html = "<!DOCTYPE html><html><body>Stránka nenalezena</body></html>";
        QByteArray badSchedule = contents(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/los_extraliga0708.txt"));
        badSchedule.replace("\r\n1-", "\r\n2-"); // some team plays twice in a round
        QByteArray thirteen = contents(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt"));
        thirteen.replace("t14=", ";t14=");
        QTest::addRow("HTML as a competition file") << "sezona_extraliga0708.txt" << html << "nepojmenovává žádný tým";
        QTest::addRow("HR1 not a number")
            << "sezona_prvniliga0708.txt" << QByteArray("nazev=X\r\nHR1=x\r\n") << "HR1= musí";
        QTest::addRow("13 teams") << "sezona_extraliga0708.txt" << thirteen << "tým č. 14 není";
        QTest::addRow("team twice in a round") << "los_extraliga0708.txt" << badSchedule << "dvakrát";
        QTest::addRow("HTML as a schedule") << "los_prvniliga0708.txt" << html << "chybí kolo 1";
        QTest::addRow("HTML as a calendar") << "kalendar_0708.dat" << html << "není to akce kalendáře";
    }

    void refusedDownloadChangesNothing()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, body);
        QFETCH(QString, fault);
        write(site(u"kalendar_0708.dat"_qs), contents(program(u"souteze/kalendar_0708.dat"_qs)));
        write(site(file), body);
        write(site(u"update_v3.dat"_qs), contents(site(u"update_v3.dat"_qs)) + "kalendar_0708.dat\r\n");
        const auto before = snapshot(m_program->path());
        Recorder r(m_server->url());
        r.answers = {true};
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_qs), UpdateOutcome::Failed);
        QVERIFY2(r.steps.last().contains(file) && r.steps.last().contains(fault), qPrintable(r.steps.last()));
        QVERIFY(snapshot(m_program->path()) == before);
        QVERIFY(QDir(program(u"souteze"_qs)).entryList({u".aktualizace-*"_qs}, QDir::Dirs | QDir::Hidden).isEmpty());
        QCOMPARE(r.reloads, 0);
    }

    void lockedLeagueNotReplaced()
    {
        LeagueLock other(program(u"souteze/los_prvniliga0708.txt"_qs));
        QCOMPARE(other.acquire(), QString());
        const auto before = snapshot(m_program->path());
        Recorder r(m_server->url());
        r.answers = {true};
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_qs), UpdateOutcome::Failed);
        QVERIFY2(r.steps.last().contains(u"los_prvniliga0708.txt"_qs), qPrintable(r.steps.last()));
        QVERIFY(snapshot(m_program->path()) == before);
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
        write(site(u"newest.dat"_qs), "3.4.2");
        Recorder r(m_server->url());
        r.answers = {openPage, false};
        runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
        QCOMPARE(r.steps.value(2), u"Byla zjištěna novější verze programu!\r\n\r\nVaše verze: 3.4.1\r\nDostupná verze: "
                                   "3.4.2\r\n\r\nPřejete si otevřít www stránku programu?"_qs);
        QCOMPARE(r.homePages, openPage ? 1 : 0);
        QCOMPARE(m_server->requested.contains(u"/velmor/update/update_v3.dat"_qs), !openPage);
        QCOMPARE(r.questionIcons,
                 openPage ? QList<bool>{false} : (QList<bool>{false, true})); // information, then a question
    }

    void cancelledChangesNothing()
    {
        const auto before = snapshot(m_program->path());
        Recorder r(m_server->url());
        r.answers = {true};
        r.cancelAfterFetches = 3; // during the first data file
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_qs), UpdateOutcome::Cancelled);
        QCOMPARE(m_server->requested.size(), 3); // no further file was fetched
        QVERIFY(snapshot(m_program->path()) == before);
        QCOMPARE(r.reloads, 0);
    }

    void invalidData_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("body");
        QTest::addRow("version not a number") << "newest.dat" << QByteArray("3.4.x");
        QTest::addRow("list without the marker")
            << "update_v3.dat" << QByteArray("velmor_update\r\n1.1.2008\r\nx.txt\r\n");
    }

    void invalidData()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, body);
        write(site(file), body);
        Recorder r(m_server->url());
        r.answers = {true};
        runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
        QCOMPARE(r.steps.last(), u"KLX: Server vrátil neplatná data!"_qs);
        QVERIFY(!QFile::exists(program(u"update.dat"_qs)));
        QCOMPARE(r.reloads, 0);
    }

    void declinedLeavesListFile()
    {
        const QByteArray before = contents(program(u"souteze/los_extraliga0708.txt"_qs));
        Recorder r(m_server->url());
        r.answers = {false};
        runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
        QVERIFY(QFile::exists(program(u"update.dat"_qs)));
        QCOMPARE(contents(program(u"souteze/los_extraliga0708.txt"_qs)), before);
        QCOMPARE(r.saves, 0);
        QCOMPARE(r.reloads, 0);
    }

    void emptyListStillReloads()
    {
        write(site(u"update_v3.dat"_qs), "VELMOR_UPDATE\r\n1.11.2007\r\n\r\nlos_extraliga0708.txt\r\n");
        Recorder r(m_server->url());
        r.answers = {true};
        runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
        QVERIFY(!m_server->requested.contains(u"/velmor/update/los_extraliga0708.txt"_qs));
        QCOMPARE(r.reloads, 1);
    }

    void listRefused_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("message");
        QByteArray many = "VELMOR_UPDATE\r\n1.11.2007\r\n";
        for (int i = 0; i <= kMaxUpdateFiles; ++i)
            many += "f" + QByteArray::number(i) + ".txt\r\n";
        QTest::addRow("parent folder") << QByteArray(
                                              "VELMOR_UPDATE\r\n1.11.2007\r\nsezona_extraliga0708.txt\r\n../1.st\r\n")
                                       << "„../1.st“ není přípustný";
        QTest::addRow("too many files") << many << "65 souborů";
    }

    void listRefused()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, message);
        write(site(u"update_v3.dat"_qs), list);
        const auto before = snapshot(m_program->path());
        Recorder r(m_server->url());
        r.answers = {true};
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_qs), UpdateOutcome::Failed);
        QVERIFY2(r.steps.last().contains(message), qPrintable(r.steps.last()));
        QCOMPARE(m_server->requested.size(), 2); // no file was fetched
        QVERIFY(snapshot(m_program->path()) == before);
    }

    void transferFailures_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("canned");
        QTest::addColumn<QString>("message");
        const int serve = static_cast<int>(LoopbackServer::Mode::Serve);
        QTest::addRow("never answers") << static_cast<int>(LoopbackServer::Mode::NeverAnswer) << QByteArray()
                                       << "Nelze navázat spojení!";
        QTest::addRow("closes the connection") << static_cast<int>(LoopbackServer::Mode::CloseConnection)
                                               << QByteArray() << "(server předčasně ukončil spojení)";
        QTest::addRow("cut off halfway") << serve << QByteArray() << "Došlo k chybě!";
        QTest::addRow("drips") << static_cast<int>(LoopbackServer::Mode::Drip) << QByteArray()
                               << "(přenos trval déle než";
        QTest::addRow("not found") << serve << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")
                                   << "(HTTP 404, soubor los_extraliga0708.txt)";
        QTest::addRow("redirect elsewhere")
            << serve << QByteArray("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.2:1/x\r\nContent-Length: 0\r\n\r\n")
            << "(server přesměroval na jiný server, soubor los_extraliga0708.txt)";
    }

    void transferFailures()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, canned);
        QFETCH(QString, message);
        const QString path = u"/velmor/update/los_extraliga0708.txt"_qs;
        m_server->truncated = path;
        if (!canned.isEmpty())
            m_server->canned[path] = canned;
        const auto before = snapshot(m_program->path());
        Recorder r(m_server->url());
        r.limits = {250, 500, kMaxResponseBytes};
        r.answers = {true};
        if (m_server->mode = static_cast<LoopbackServer::Mode>(mode); m_server->mode == LoopbackServer::Mode::Drip) {
            // The version and the list still arrive; the first data file drips.
            m_server->canned[u"/velmor/update/newest.dat"_qs] = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n3.4.1";
            m_server->canned[u"/velmor/update/update_v3.dat"_qs] =
                "HTTP/1.1 200 OK\r\n\r\n" + contents(site(u"update_v3.dat"_qs));
        }
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_qs), UpdateOutcome::Failed);
        QVERIFY2(r.steps.last().startsWith(u"update: "_qs) && r.steps.last().contains(message),
                 qPrintable(r.steps.last()));
        QVERIFY(snapshot(m_program->path()) == before);
        QCOMPARE(r.reloads, 0);
    }

    void refusedConnection()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QUrl url(u"http://127.0.0.1:%1"_qs.arg(closed.serverPort()));
        closed.close(); // nothing listens there now
        Recorder r(url);
        QCOMPARE(runUpdate(r, m_program->path(), u"127.0.0.1"_qs), UpdateOutcome::Failed);
        QCOMPARE(r.steps.last(), u"update: Nelze navázat spojení!"_qs);
    }

private:
    QString site(const QString& file) const { return m_site->filePath(u"velmor/update/"_qs + file); }
    QString program(const QString& file) const { return m_program->filePath(file); }

    std::unique_ptr<QTemporaryDir> m_site, m_program;
    std::unique_ptr<LoopbackServer> m_server;
};

// Every file of the program folder with its bytes, to show that a failed update changed nothing.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(u"update.dat"))
            files[path.mid(folder.size())] = contents(path);
    }
    return files;
}

QTEST_GUILESS_MAIN(tst_update)
#include "tst_update.moc"
