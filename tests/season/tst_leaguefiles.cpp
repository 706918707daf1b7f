// SPDX-License-Identifier: MIT
// What the program writes into a league's files it reads back as exactly that: names in any script, key-like
// text, far dates; a save that changes nothing writes nothing; a new league never takes another's files.
#include "fixture/league.h"

#include "import/importplan.h"
#include "league/openleague.h"
#include "season/matchdates.h"
#include "season/newleague.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

NewLeague request(const QStringList& teams, const QString& name = u"Liga"_s)
{
    return {name, u"2026/2027"_s, teams, {2, 0, 0}, 2, QDate(2026, 9, 1), {2, 5, 7}, {}, {}, {}};
}

// A league made and written as `new` writes it, then read as opening it reads it.
Result<ReadLeague> writtenAndRead(const QDir& dir, const NewLeague& r)
{
    const Result<SeasonStore> made = makeLeague(r);
    if (!made.ok())
        return Result<ReadLeague>::failureOf(made);
    const Result<QString> written = writeNewLeague(dir.path(), u"x"_s, made.value());
    if (!written.ok())
        return Result<ReadLeague>::failureOf(written);
    return readLeague(written.value());
}

int backups(const QString& path)
{
    return static_cast<int>(QDir(backupFolderOf(path)).entryList(QDir::Files).size());
}

// A name of any text the reader allows: letters of several scripts, emoji, key-like and separator text.
QString randomName(QRandomGenerator& random)
{
    static const QStringList pieces{
        u"Luleå"_s, u"Bodø/Glimt"_s, u"Genève-Servette"_s, u"Динамо"_s, u"🏒"_s, u"Č. Budějovice"_s,
        u"a;b"_s,   u"x=y"_s,        u"t01=Z"_s,           u"→"_s,      u"HR 1"_s, u"  "_s,
        u"**"_s,    u"; Sparta"_s};
    QString name;
    for (int k = 0, n = random.bounded(1, 4); k < n; ++k)
        name += pieces[random.bounded(static_cast<int>(pieces.size()))];
    return (name.trimmed().isEmpty() || name.trimmed().startsWith(u';') ? u"Tým "_s + name : name).trimmed();
}

} // namespace

class tst_leaguefiles final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The dates file: each form of a line read, each fault refused with its line, and what is written read back.
    void matchDatesFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // "round,slot=date text|…" or the refusal
        QTest::newRow("forms") << u"; comment\n3;2;12.2.2008;18:00\n3;1;;17:30\n52;7;odloženo\n1;1;1.9.2007\n"_s
                               << u"1,1=1.9.2007|3,1=17:30|3,2=12.2.2008 18:00|52,7=odloženo"_s;
        QTest::newRow("no such round") << u"53;1;1.1.2008"_s << u"řádek 1: Zápas 1 53. kola v rozpisu není."_s;
        QTest::newRow("no such slot") << u"1;8;1.1.2008"_s << u"Zápas 8 1. kola v rozpisu není."_s;
        QTest::newRow("date") << u"1;1;31.2.2008"_s << u"„31.2.2008“ není datum"_s;
        QTest::newRow("time") << u"1;1;1.2.2008;25:00"_s << u"„25:00“ není čas"_s;
        QTest::newRow("far date") << u"1;1;1.1.2500"_s << u"mimo roky 1900 až 2200"_s;
        QTest::newRow("first and last years") << u"1;1;1.1.1900\n1;2;31.12.2200"_s << u"1,1=1.1.1900|1,2=31.12.2200"_s;
        QTest::newRow("twice") << u"1;1;1.2.2008\n1;1;2.2.2008"_s << u"řádek 2: zápas 1 1. kola je v souboru podruhé"_s;
        QTest::newRow("nothing") << u"1;1;;"_s << u"chybí datum i čas"_s;
        QTest::newRow("postponed with a time") << u"1;1;odloženo;18:00"_s << u"Odložený zápas nemá datum ani čas."_s;
        QTest::newRow("fields") << u"1;1"_s << u"řádek není KOLO;ZÁPAS;DATUM;ČAS"_s;
    }
    void matchDatesFile()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const SeasonStore season = fixture::season();
        const auto dates =
            readMatchDates(encodeLines(text.split(u'\n'), TextEncoding::Utf8), u"terminy_x.txt"_s, season);
        if (!dates.ok()) {
            QVERIFY2(dates.error().contains(read) && dates.error().startsWith(u"terminy_x.txt, řádek"_s),
                     qPrintable(dates.error()));
            return;
        }
        QStringList shown;
        for (auto it = dates.value().begin(); it != dates.value().end(); ++it)
            shown << u"%1,%2=%3"_s.arg(it.key().first).arg(it.key().second).arg(matchDateText(it.value()));
        QCOMPARE(shown.join(u'|'), read);
        const auto back = readMatchDates(encodeLines(matchDatesLines(dates.value())), u"terminy_x.txt"_s, season);
        QCOMPARE(back.value(), dates.value());
    }

    // Which names the league's own encoding holds: those that read back as they were written, no letter bent
    // to its nearest look-alike.
    void fitsTheLeaguesEncoding()
    {
        for (const QString& fits : {u"Řečice"_s, u"Łódź"_s, u"€ 5"_s, u"Fußball"_s})
            QVERIFY2(fitsWindows1250(fits), qPrintable(fits));
        for (const QString& bent : {u"España"_s, u"ａ"_s, u"Ørsted"_s, u"Čadca Ⅱ"_s})
            QVERIFY2(!fitsWindows1250(bent), qPrintable(bent));
        // UTF-8 only beyond ASCII: ASCII alone, a NUL byte among it, is what the program always wrote.
        QCOMPARE(encodingOf(QByteArray("t1=A\0B\n", 7)), TextEncoding::Windows1250);
    }

    void namesAndEncodings_data()
    {
        QTest::addColumn<QStringList>("teams");
        QTest::addColumn<bool>("utf8");
        QTest::addRow("Czech") << QStringList{u"Sparta Praha"_s, u"Č. Budějovice"_s, u"Žďár"_s} << false;
        QTest::addRow("Nordic") << QStringList{u"Luleå HF"_s, u"FK Bodø/Glimt"_s, u"Genève-Servette"_s} << true;
        QTest::addRow("Cyrillic and emoji") << QStringList{u"Динамо"_s, u"🏒 Hokej"_s} << true;
    }
    void namesAndEncodings()
    {
        QFETCH(QStringList, teams);
        QFETCH(bool, utf8);
        const QTemporaryDir dir;
        const Result<ReadLeague> read = writtenAndRead(QDir(dir.path()), request(teams));
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read.value().store.teamNames(), teams);
        const QString competition = QDir(dir.path()).filePath(u"sezona_x.txt"_s);
        // Every file of the league alike: both with a byte order mark, or neither.
        for (const QString& path : {competition, scheduleFileFor(competition)})
            QCOMPARE(fixture::contents(path).startsWith("\xEF\xBB\xBF"), utf8);
    }

    // Every writer's text read back equal, for names of any script and of key-like text.
    void randomNamesReadBack()
    {
        QRandomGenerator random(20261209);
        for (int round = 0; round < 40; ++round) {
            const QTemporaryDir dir;
            QStringList teams;
            while (teams.size() < 4)
                if (const QString name = randomName(random); !teams.contains(name))
                    teams << name;
            const Result<ReadLeague> read = writtenAndRead(QDir(dir.path()), request(teams, randomName(random)));
            if (!read.ok()) { // refused only for a key of the competition file, and saying which
                QVERIFY2(read.error().contains(u"klíč"_s), qPrintable(read.error()));
                continue;
            }
            QCOMPARE(read.value().store.teamNames(), teams);
            const QString competition = QDir(dir.path()).filePath(u"sezona_x.txt"_s);
            OpenLeague open(competition, OpenLeague::Journalling::Off);
            QVERIFY(open.lock().ok() && open.read().ok());
            const QString renamed = randomName(random) + u" 2"_s;
            const Result<void> rename = open.renameTeam(2, renamed, QDateTime::currentDateTime());
            QCOMPARE(fixture::load(competition).TymPodleCisla(2),
                     rename.ok() ? renamed : read.value().store.TymPodleCisla(2));
            const QString reason = randomName(random);
            QVERIFY(open.setAdjustments({{1, -3, reason}}, QDateTime::currentDateTime()).ok());
            QCOMPARE(readLeague(competition).value().store.adjustments.value(0).reason, reason);
            const QString alias = randomName(random);
            QVERIFY(writeNameMapping(competition, {{alias, 3}}).ok());
            QCOMPARE(readNameMapping(competition).value(alias), 3);
        }
    }

    // An existing file keeps its encoding, its comments and its blanks when a name in it changes.
    void renameKeepsTheFile_data()
    {
        QTest::addColumn<QByteArray>("bom");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<bool>("utf8After");
        QTest::addRow("UTF-8 stays UTF-8") << "\xEF\xBB\xBF"_ba << u"Kladno"_s << true;
        QTest::addRow("Windows-1250 stays") << QByteArray() << u"Kladno"_s << false;
        QTest::addRow("a name beyond it") << QByteArray() << u"Luleå HF"_s << true;
    }
    void renameKeepsTheFile()
    {
        QFETCH(QByteArray, bom);
        QFETCH(QString, newName);
        QFETCH(bool, utf8After);
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        QStringList lines = fixture::competitionLines();
        lines[0] = bom.isEmpty() ? u"; liga  "_s : u"; liga → 2008  "_s;
        const QByteArray before = bom.isEmpty() ? encodeLines(lines) : bom + encodeLines(lines, TextEncoding::Utf8);
        fixture::put(path, before);
        OpenLeague open(path);
        QVERIFY(open.lock().ok() && open.read().ok());
        QVERIFY(open.renameTeam(5, newName, QDateTime::currentDateTime()).ok());
        const QByteArray after = fixture::contents(path);
        QCOMPARE(after.startsWith("\xEF\xBB\xBF"), utf8After);
        QCOMPARE(decodeText(after).section(u"\r\n"_s, 0, 0), lines[0]); // the comment, blanks and all
        QCOMPARE(decodeText(after),
                 QString(lines.join(u"\r\n"_s) + u"\r\n"_s).replace(u"t5=Tým 5"_s, u"t5="_s + newName));
        QCOMPARE(fixture::load(path).TymPodleCisla(5), newName);
    }

    // Text the reader would take for a key, a control character, a date it does not read: refused, with why.
    void refusedBeforeWriting_data()
    {
        QTest::addColumn<QString>("team");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("why");
        const QDate start(2026, 9, 1);
        QTest::addRow("HR key") << u"Sparta HR1=5"_s << u"Liga"_s << start << u"HR1="_s;
        QTest::addRow("caption key") << u"nazev=Hack"_s << u"Liga"_s << start << u"nazev="_s;
        QTest::addRow("season key") << u"Alfa"_s << u"Liga sezona=2099"_s << start << u"sezona="_s;
        QTest::addRow("control") << u"Alfa\u0007"_s << u"Liga"_s << start << u"řídicí znak"_s;
        QTest::addRow("year 999") << u"Alfa"_s << u"Liga"_s << QDate(999, 1, 1) << u"1900 až 2200"_s;
        QTest::addRow("year 9999") << u"Alfa"_s << u"Liga"_s << QDate(9999, 12, 1) << u"1900 až 2200"_s;
        QTest::addRow("past 2200 by its rounds")
            << u"Alfa"_s << u"Liga"_s << QDate(2200, 12, 21) << u"6. kolo: Datum 2.1.2201"_s; // the last round alone
    }
    void refusedBeforeWriting()
    {
        QFETCH(QString, team);
        QFETCH(QString, name);
        QFETCH(QDate, start);
        QFETCH(QString, why);
        const QTemporaryDir dir;
        NewLeague r = request({team, u"Beta"_s, u"Gama"_s}, name);
        r.start = start;
        const Result<ReadLeague> read = writtenAndRead(QDir(dir.path()), r);
        QVERIFY(!read.ok());
        QVERIFY2(read.error().contains(why), qPrintable(read.error()));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        // A rename of an existing league is held to the same rule.
        const QString path = fixture::writeLeague(QDir(dir.path()));
        OpenLeague open(path);
        QVERIFY(open.lock().ok() && open.read().ok());
        if (team != u"Alfa")
            QVERIFY(open.renameTeam(1, team, QDateTime::currentDateTime()).error().contains(why));
        QCOMPARE(fixture::load(path).TymPodleCisla(1), u"Tým 1"_s);
    }

    // Whatever the checks before it let through, a league that would read back as another is not written.
    void readsBackAsWritten()
    {
        SeasonStore s = fixture::season();
        s.caption = u"Liga "_s; // its line is read trimmed
        QVERIFY(competitionBytes(s, TextEncoding::Utf8).error().contains(u"nepřečetly"_s));
        // A name the reader takes for a key, in the last team's line too, is named for what it is.
        s = fixture::season();
        s.setTeamName(s.teams(), u"Sparta HR1=5"_s);
        QVERIFY(competitionBytes(s, TextEncoding::Utf8).error().contains(u"čte jako klíč"_s));
    }

    // A save, a game, an import or leaving that changes no byte writes nothing and keeps the backups there are.
    void noOpSavesKeepBackups()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        const QString schedule = scheduleFileFor(path);
        for (int opening = 0; opening < 25; ++opening) {
            OpenLeague open(path);
            QVERIFY(open.lock().ok() && open.read().ok());
            if (opening == 0)
                QVERIFY(open.setMatch(1, 1, {1, 2, u"3:1"_s}).ok());
            QVERIFY(open.save(QDateTime(QDate(2008, 1, 1), QTime(10, opening))).ok());
            QVERIFY(open.setAdjustments({}, QDateTime::currentDateTime()).ok());
        }
        QCOMPARE(backups(schedule), 1); // the file as it was before the one real change
        QCOMPARE(fixture::contents(QDir(backupFolderOf(schedule)).entryInfoList(QDir::Files).value(0).filePath()),
                 encodeLines(fixture::scheduleLines()));
    }

    // A league's files by their names: a code of one letter is a code, none is not.
    void fileKinds()
    {
        QCOMPARE(leagueFileKind(u"sezona_x.txt"_s), LeagueFile::Competition);
        QCOMPARE(leagueFileKind(u"los_x.txt"_s), LeagueFile::Schedule);
        QCOMPARE(leagueFileKind(u"playoff_x.txt"_s), LeagueFile::Playoff);
        for (const QString& name : {u"sezona_.txt"_s, u"los_x.dat"_s, u"x_los.txt"_s})
            QVERIFY2(!leagueFileKind(name), qPrintable(name));
    }

    void newLeagueNeverTakesOthersFiles()
    {
        const QTemporaryDir dir;
        const SeasonStore season = makeLeague(request({u"Alfa"_s, u"Beta"_s, u"Gama"_s})).value();
        fixture::put(dir.filePath(u"upravy_x.txt"_s), "1;-5;stará pokuta\r\n");
        const Result<QString> refused = writeNewLeague(dir.path(), u"x"_s, season);
        QVERIFY(refused.error().contains(u"upravy_x.txt"_s));
        QCOMPARE(refused.code(), kNameRefused);
        QVERIFY(!QFileInfo::exists(dir.filePath(u"sezona_x.txt"_s)));
        fixture::put(dir.filePath(u"los_z.txt.obnova"_s), "1;1;1;2;3:1;\n"); // what was typed into another league
        QVERIFY(writeNewLeague(dir.path(), u"z"_s, season).error().contains(u"los_z.txt.obnova"_s));
        QVERIFY(writeNewLeague(dir.path(), u"y"_s, season).ok());
        QVERIFY(!writeNewLeague(dir.path(), u"y"_s, season).ok()); // never over another
        // A kept mapping never makes a name that is exactly a team another team.
        const QString y = dir.filePath(u"sezona_y.txt"_s);
        QVERIFY(writeNameMapping(y, {{u"Alfa"_s, 3}, {u"Beta"_s, 1}, {u"Kometa"_s, 2}}).ok());
        ImportSource source;
        source.lines = {{1, {}, 0, u"Alfa"_s, u"Beta"_s, u"1:0"_s}, {2, {}, 0, u"Kometa"_s, u"Gama"_s, {}}};
        const TeamMatching matched = matchTeams(source, season.teamNames(), readNameMapping(y));
        QCOMPARE(matched.teamOf.value(u"Alfa"_s), 1);
        QCOMPARE(matched.teamOf.value(u"Beta"_s), 2);
        QCOMPARE(matched.teamOf.value(u"Kometa"_s), 2);
    }

    void backupsNeverFollowALink()
    {
        const QTemporaryDir dir, elsewhere;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        fixture::put(elsewhere.filePath(u"los_test_2000-01-01_000000.txt"_s), "cizí");
        QVERIFY(QFile::link(elsewhere.path(), backupFolderOf(scheduleFileFor(path))));
        OpenLeague open(path);
        QVERIFY(open.lock().ok() && open.read().ok());
        QVERIFY(open.setMatch(1, 1, {1, 2, u"3:1"_s}).ok());
        const Result<void> saved = open.save(QDateTime::currentDateTime());
        QVERIFY(saved.error().contains(u"symbolický odkaz"_s));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files).size(), 1);
        QCOMPARE(fixture::load(path).VYSLEDEK(1, 1), QString()); // a failure that left the file as it was
    }
};

QTEST_GUILESS_MAIN(tst_leaguefiles)
#include "tst_leaguefiles.moc"
