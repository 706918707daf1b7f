// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "season/datafiles.h"
#include "season/datafolder.h"

#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class tst_seasonfile final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }
    void competitionKeys();
    void scheduleBlocks();
    void lfLineEndsAndCzechNames();
    void refusals_data();
    void refusals();
    void shortDates_data();
    void shortDates();
    void shownRound_data();
    void shownRound();
    void writeBlockBytes();
    void bundledLeagueRoundTrip();
    void unreadableFiles_data();
    void unreadableFiles();
    void utf8Files_data();
    void utf8Files();
    void failedWriteKeepsFile_data();
    void failedWriteKeepsFile();
    void backupsKeepTheNewest();
    void oneWriterAtATime();
    void installedDataFolder();

private:
    QTemporaryDir m_dir;
};

void tst_seasonfile::competitionKeys()
{
    QStringList comp = fixture::competitionLines();
    comp.prepend(u"; second comment in a row"_qs);
    comp << u"t1=První"_qs << u"t02=Rovná=se"_qs << u"HR4=5"_qs << u"; trailing comment"_qs;
    const SeasonStore s = fixture::load(fixture::writeLeague(QDir(m_dir.path()), comp));
    QCOMPARE(s.caption, u"Liga  2007/2008"_qs);
    QCOMPARE(s.season, u"2007/2008"_qs);
    QCOMPARE(s.HR1, 8);
    QCOMPARE(s.HR2, 10);
    QCOMPARE(s.HR3, 12);                       // there is no fourth line
    QCOMPARE(s.TymPodleCisla(1), u"První"_qs); // t1= after t01= names the same team
    QCOMPARE(s.TymPodleCisla(2), u"Rovná=se"_qs);
    QCOMPARE(s.CisloPodleTymu(u"Č. Budějovice"_qs), 3);
    QCOMPARE(s.CisloPodleTymu(u"č. budějovice"_qs), 0);
    QCOMPARE(s.CisloPodleTymu(QString()), 0);

    QStringList seasonFirst = fixture::competitionLines();
    seasonFirst.move(2, 1);
    seasonFirst[5] = u"HR3=0"_qs; // no third line
    const SeasonStore other = fixture::load(fixture::writeLeague(QDir(m_dir.path()), seasonFirst));
    QCOMPARE(other.caption, u"Liga"_qs);
    QCOMPARE(other.HR3, 0);
}

void tst_seasonfile::scheduleBlocks()
{
    QStringList los = fixture::scheduleLines();
    los.insert(fixture::blockLine(5, 0), u"poznámka mezi bloky"_qs);
    // A later block of round 2 replaces the first one.
    los << u"**"_qs << u"2"_qs << u"01.10.2007"_qs;
    for (int m = 1; m <= kSlots; ++m)
        los << u"%1-%2"_qs.arg(2 * m).arg(2 * m - 1) << (m == 4 ? u"3:2p"_qs : QString());
    const SeasonStore s = fixture::load(fixture::writeLeague(QDir(m_dir.path()), fixture::competitionLines(), los));
    QCOMPARE(s.DATUM_KOLA(2), QDate(2007, 10, 1));
    QCOMPARE(s.VYSLEDEK(4, 2), u"3:2p"_qs);
    QCOMPARE(s.ZAPAS(1, 2), u"2-1"_qs);
    QCOMPARE(s.DATUM_KOLA(5), fixture::roundDate(5));
    QCOMPARE(roundEntryText(1, s.DATUM_KOLA(1)), u"1. kolo  -  12.9.2007"_qs);
}

void tst_seasonfile::lfLineEndsAndCzechNames()
{
    const QString path = fixture::writeLeague(QDir(m_dir.path()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray crlf = f.readAll();
    QVERIFY(crlf.contains("t03=\xC8. Bud\xECjovice\r\n")); // Windows-1250 bytes on disk
    f.close();
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(crlf).replace("\r\n", "\n"));
    f.close();
    SeasonStore s = fixture::load(path);
    QCOMPARE(s.TymPodleCisla(3), u"Č. Budějovice"_qs);
}

void tst_seasonfile::refusals_data()
{
    QTest::addColumn<bool>("inSchedule");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index"); // line to replace (-1: drop everything from `text` lines before the end)
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("reportedLine");
    QTest::addColumn<QString>("what");

    const int r2 = fixture::blockLine(2, 0);
    QTest::addRow("round 53") << true << "los" << r2 + 1 << "53" << r2 + 2 << "od 1 do 52";
    QTest::addRow("round not a number") << true << "los" << r2 + 1 << "x" << r2 + 2 << "od 1 do 52";
    QTest::addRow("unreadable date") << true << "los" << r2 + 2 << "31.2.2007" << r2 + 3 << "datum";
    QTest::addRow("year 0") << true << "los" << r2 + 2 << "1.1.0000" << r2 + 3 << "datum";
    QTest::addRow("year 999") << true << "los" << r2 + 2 << "1.1.0999" << r2 + 3 << "datum";
    QTest::addRow("five-digit year") << true << "los" << r2 + 2 << "1.1.20077" << r2 + 3 << "datum";
    QTest::addRow("three-digit month") << true << "los" << r2 + 2 << "1.001.2007" << r2 + 3 << "datum";
    QTest::addRow("ends after the marker")
        << true << "los" << -1 << "17" << fixture::blockLine(52, 0) + 2 << "neúplný blok kola.";
    QTest::addRow("ends before the date")
        << true << "los" << -1 << "16" << fixture::blockLine(52, 1) + 2 << "chybí datum";
    QTest::addRow("no result at the end")
        << true << "los" << -1 << "2" << fixture::blockLine(52, 16) + 1 << "chybí výsledek";
    QTest::addRow("pairing without dash")
        << true << "los" << fixture::pairingLine(2, 3) << "5 6" << fixture::pairingLine(2, 3) + 1 << "„-“";
    QTest::addRow("team 15") << true << "los" << fixture::pairingLine(2, 3) << "5-15" << fixture::pairingLine(2, 3) + 1
                             << "od 1 do 14";
    QTest::addRow("bad result") << true << "los" << fixture::resultLine(7, 1) << "3:2P" << fixture::resultLine(7, 1) + 1
                                << "výsledek";
    QTest::addRow("missing round") << true << "los" << -1 << "18" << fixture::blockLine(52, 0) << "chybí kolo 52";
    QTest::addRow("incomplete block") << true << "los" << -1 << "5" << fixture::blockLine(52, 13) + 1 << "neúplný";
    QTest::addRow("unnamed team") << false << "los" << 19 << "; t14 removed" << fixture::pairingLine(1, 7) + 1
                                  << "tým č. 14";
    QTest::addRow("pairing without home team") << true << "los" << fixture::pairingLine(2, 3) << "-5"
                                               << fixture::pairingLine(2, 3) + 1 << "čísla týmů od 1 do 14";
    QTest::addRow("team plays itself") << true << "los" << fixture::pairingLine(2, 3) << "3-3"
                                       << fixture::pairingLine(2, 3) + 1 << "sám se sebou";
    QTest::addRow("team twice in a round") << true << "los" << fixture::pairingLine(2, 3) << "2-5"
                                           << fixture::pairingLine(2, 3) + 1 << "tým č. 2 hraje v kole 2 dvakrát";
    QTest::addRow("control character in a name") << false << "sezona" << 19 << "t14=Tým\x1b[31m" << 20 << "řídicí";
    QTest::addRow("HR not a number") << false << "sezona" << 4 << "HR2=deset" << 5 << "HR2=";
    QTest::addRow("HR above 14") << false << "sezona" << 3 << "HR1=15" << 4 << "HR1=";
    QTest::addRow("team key 15") << false << "sezona" << 19 << "t15=Navíc" << 20 << "od 1 do 14";
    QTest::addRow("equal names") << false << "sezona" << 19 << "t14=Tým 13" << 20 << "stejný název";
    QTest::addRow("equal names, team 1 first") << false << "sezona" << 6 << "t01=Tým 5" << 11 << "týmy č. 1 a 5";
}

void tst_seasonfile::refusals()
{
    QFETCH(bool, inSchedule);
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, reportedLine);
    QFETCH(QString, what);

    QStringList comp = fixture::competitionLines(), los = fixture::scheduleLines();
    QStringList& lines = inSchedule ? los : comp;
    if (index < 0)
        lines = lines.mid(0, lines.size() - text.toInt());
    else
        lines[index] = text;
    const QString path = fixture::writeLeague(QDir(m_dir.path()), comp, los);
    const Result<SeasonStore> loaded = loadSeason(path, scheduleFileFor(path));
    QVERIFY(!loaded.ok());
    const QString& error = loaded.error();
    const QString prefix = u"Soubor „%1_test.txt“, řádek %2: "_qs.arg(file).arg(reportedLine);
    QVERIFY2(error.startsWith(prefix), qPrintable(error));
    QVERIFY2(error.contains(what), qPrintable(error));
}

void tst_seasonfile::shortDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    // clang-format off
    QTest::addRow("leading zeros") << "01.02.2008" << QDate(2008, 2, 1);
    QTest::addRow("year 1000") << "31.12.1000" << QDate(1000, 12, 31);
    QTest::addRow("year 999") << "1.1.0999" << QDate();
    QTest::addRow("three-digit day") << "001.1.2007" << QDate();
    QTest::addRow("three-digit month") << "1.001.2007" << QDate();
    QTest::addRow("five-digit year") << "1.1.20077" << QDate();
    QTest::addRow("30 February") << "30.2.2008" << QDate();
    // clang-format on
}

void tst_seasonfile::shortDates()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(parseShortDate(text), date);
}

void tst_seasonfile::shownRound_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("round");
    QTest::addRow("before the season") << QDate(2007, 1, 1) << 1;
    QTest::addRow("on round 10") << fixture::roundDate(10) << 10;
    QTest::addRow("day after round 10") << fixture::roundDate(10).addDays(1) << 11;
    QTest::addRow("after the season") << QDate(2026, 12, 6) << 52;
}

void tst_seasonfile::shownRound()
{
    QFETCH(QDate, today);
    QFETCH(int, round);
    const SeasonStore s = fixture::load(fixture::writeLeague(QDir(m_dir.path())));
    QCOMPARE(roundShownOnOpening(s, today), round);
}

void tst_seasonfile::writeBlockBytes()
{
    SeasonStore s = fixture::load(fixture::writeLeague(QDir(m_dir.path())));
    s.match(2, 1).result = u"5:4p"_qs;
    std::swap(s.match(3, 1).home, s.match(3, 1).away);
    const QByteArray bytes = scheduleBytes(s);
    const QByteArray round1("**\r\n1\r\n12.9.2007\r\n1-2\r\n\r\n3-4\r\n5:4p\r\n6-5\r\n\r\n7-8\r\n\r\n9-10\r\n\r\n"
                            "11-12\r\n\r\n13-14\r\n\r\n\r\n");
    QCOMPARE(bytes.left(round1.size()), round1);
    QVERIFY(bytes.contains("13-14\r\n\r\n\r\n**\r\n2\r\n"));
    QVERIFY(bytes.endsWith("14-13\r\n\r\n\r\n"));
    QCOMPARE(bytes.count("**\r\n"), kRounds);
}

void tst_seasonfile::bundledLeagueRoundTrip()
{
    const QString path = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");
    SeasonStore original = fixture::load(path);
    QCOMPARE(original.TymPodleCisla(3), u"Č. Budějovice"_qs);
    original.match(7, 52).result = u"2:1n"_qs;
    const QString copy = m_dir.filePath(u"sezona_copy.txt"_qs);
    QVERIFY(QFile::copy(path, copy));
    QCOMPARE(writeSchedule(original, scheduleFileFor(copy)), QString());
    QVERIFY(fixture::load(copy) == original);
    QCOMPARE(writeSchedule(original, scheduleFileFor(copy)), QString()); // replacing an existing file
    QVERIFY(fixture::load(copy) == original);
}

void tst_seasonfile::unreadableFiles_data()
{
    // clang-format off
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("what");
    QTest::addRow("FIFO") << "fifo" << "není obyčejný soubor";
    QTest::addRow("folder") << "folder" << "není obyčejný soubor";
    QTest::addRow("endless device") << "device" << "není obyčejný soubor";
    QTest::addRow("over 16 MiB") << "huge" << "větší než 16 MiB";
    QTest::addRow("names no team") << "noteam" << "Soubor „sezona_test.txt“ nepojmenovává žádný tým";
    // clang-format on
}

void tst_seasonfile::unreadableFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, what);
    QStringList comp = fixture::competitionLines();
    if (kind == u"noteam")
        comp = comp.mid(0, 6);
    const QTemporaryDir dir;
    const QString path = fixture::writeLeague(QDir(dir.path()), comp);
    const QString los = scheduleFileFor(path);
    QVERIFY(QFile::remove(los));
    if (kind == u"fifo")
        QCOMPARE(mkfifo(QFile::encodeName(los).constData(), 0600), 0);
    else if (kind == u"folder")
        QVERIFY(QDir().mkdir(los));
    else if (kind == u"device")
        QVERIFY(QFile::link(u"/dev/zero"_qs, los));
    else if (kind == u"huge") {
        QFile f(los);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(kMaxDataFileBytes + 1));
    } else
        fixture::writeLeague(QDir(dir.path()), comp);
    const QString error = loadSeason(path, los).error();
    QVERIFY2(error.contains(what), qPrintable(error));
    QVERIFY2(error.contains(kind == u"noteam" ? u"sezona_test.txt"_qs : u"los_test.txt"_qs), qPrintable(error));
}

void tst_seasonfile::utf8Files_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addRow("byte order mark") << QByteArray("\xEF\xBB\xBF");
    QTest::addRow("plain UTF-8") << QByteArray();
}

void tst_seasonfile::utf8Files()
{
    QFETCH(QByteArray, start);
    const QString path = fixture::writeLeague(QDir(m_dir.path()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(start + fixture::competitionLines().join(u"\r\n"_qs).toUtf8());
    f.close();
    SeasonStore s = fixture::load(path);
    QCOMPARE(s.TymPodleCisla(3), u"Č. Budějovice"_qs);
    QCOMPARE(s.caption, u"Liga  2007/2008"_qs);
}

namespace {

// A tiny tmpfs, for a full disk and a read-only disk; only root may mount one.
struct SmallDisk {
    explicit SmallDisk(const QString& at) : path(at)
    {
        mounted = geteuid() == 0 && QDir().mkpath(at) && run("mount -t tmpfs -o size=16k tmpfs ");
    }
    ~SmallDisk()
    {
        if (mounted)
            run("umount ");
    }
    bool run(const char* command) const
    {
        const QByteArray line = command + QFile::encodeName(path) + " 2>/dev/null";
        return std::system(line.constData()) == 0;
    }
    QString path;
    bool mounted = false;
};

} // namespace

void tst_seasonfile::failedWriteKeepsFile_data()
{
    // clang-format off
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");
    QTest::addRow("file-size limit") << "limit" << "povolenou velikost";
    QTest::addRow("full disk") << "full" << "není dost místa";
    QTest::addRow("read-only disk") << "readonly-disk" << "jen pro čtení";
    QTest::addRow("read-only file") << "readonly-file" << "jen pro čtení";
    QTest::addRow("folder gone") << "gone" << "neexistuje";
    // clang-format on
}

void tst_seasonfile::failedWriteKeepsFile()
{
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    SmallDisk disk(m_dir.filePath(u"disk"_qs));
    if ((cause == u"full" || cause == u"readonly-disk") && !disk.mounted)
        QSKIP("mounting a tmpfs needs root");
    const QDir folder(disk.path);
    const QString path = fixture::writeLeague(folder);
    const QString los = scheduleFileFor(path);
    SeasonStore s = fixture::load(path);
    const QByteArray before = scheduleBytes(s);
    s.match(1, 1).result = u"3:2"_qs;
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    if (cause == u"limit") {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{static_cast<rlim_t>(before.size() / 2), old.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    } else if (cause == u"full") {
        QFile filler(folder.filePath(u"filler"_qs));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(1024, 'x')) == 1024 && filler.flush()) {
        }
    } else if (cause == u"readonly-disk") {
        QVERIFY(disk.run("mount -o remount,ro "));
    } else if (cause == u"readonly-file") {
        QVERIFY(QFile::setPermissions(los, QFile::ReadOwner | QFile::ReadGroup));
    }
    const QString target = cause == u"gone" ? m_dir.filePath(u"chybí/los_test.txt"_qs) : los;
    const QString error = writeSchedule(s, target);
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY2(error.startsWith(u"Soubor „los_test.txt“ nelze uložit: "_qs) && error.contains(reason), qPrintable(error));
    QFile f(los);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void tst_seasonfile::backupsKeepTheNewest()
{
    const QString path = fixture::writeLeague(QDir(m_dir.path()));
    const QString los = scheduleFileFor(path);
    const QDateTime start(QDate(2007, 10, 20), QTime(18, 0));
    for (int i = 0; i < kKeptBackups + 2; ++i)
        QCOMPARE(backupFile(los, start.addSecs(i)), QString());
    QCOMPARE(backupFile(los, start.addSecs(kKeptBackups + 1)), QString()); // the same second again
    const QDir backups(backupFolderOf(los));
    const QStringList copies = backups.entryList(QDir::Files, QDir::Name);
    QCOMPARE(copies.size(), kKeptBackups);
    QCOMPARE(copies.first(), u"los_test_2007-10-20_180003.txt"_qs);
    QCOMPARE(copies.last(), u"los_test_2007-10-20_180021_2.txt"_qs);
    QFile f(backups.filePath(copies.last()));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), scheduleBytes(fixture::load(path)));
}

void tst_seasonfile::oneWriterAtATime()
{
    const QString los = scheduleFileFor(fixture::writeLeague(QDir(m_dir.path())));
    auto first = std::make_unique<LeagueLock>(los);
    QCOMPARE(first->acquire(), QString());
    LeagueLock second(los);
    QVERIFY(second.acquire().contains(u"los_test.txt"_qs));
    first.reset();
    QCOMPARE(second.acquire(), QString());
}

void tst_seasonfile::installedDataFolder()
{
    const QTemporaryDir root;
    const QDir r(root.path());
    const auto put = [&](const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(r.filePath(path)).path());
        QFile f(r.filePath(path));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    };
    const auto bytes = [&](const QString& path) {
        QFile f(r.filePath(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    put(u"usr/share/rinkomat/souteze/los_a.txt"_qs, "shipped");
    put(u"usr/share/rinkomat/ad/1.jpg"_qs, "picture 1");
    put(u"usr/share/rinkomat/1.st"_qs, "notice");
    QVERIFY(r.mkpath(u"usr/bin"_qs));
    const QString program = r.filePath(u"usr/bin"_qs), user = r.filePath(u"home/.local/share/Rinkomat"_qs);

    QCOMPARE(prepareDataFolder(program, user), user);
    QCOMPARE(bytes(u"home/.local/share/Rinkomat/souteze/los_a.txt"_qs), QByteArray("shipped"));
    QCOMPARE(bytes(u"home/.local/share/Rinkomat/1.st"_qs), QByteArray("notice"));
    QVERIFY(!QFileInfo::exists(r.filePath(u"usr/bin/souteze"_qs))); // nothing written beside the program

    // The user types results and acknowledges the notice; a newer package brings a league and pictures.
    put(u"home/.local/share/Rinkomat/souteze/los_a.txt"_qs, "typed");
    QVERIFY(QFile::remove(r.filePath(u"home/.local/share/Rinkomat/1.st"_qs)));
    put(u"usr/share/rinkomat/souteze/los_a.txt"_qs, "newer");
    put(u"usr/share/rinkomat/souteze/los_b.txt"_qs, "new league");
    put(u"usr/share/rinkomat/ad/1.jpg"_qs, "picture 1, new");
    QCOMPARE(prepareDataFolder(program, user), user);
    QCOMPARE(bytes(u"home/.local/share/Rinkomat/souteze/los_a.txt"_qs), QByteArray("typed"));
    QCOMPARE(bytes(u"home/.local/share/Rinkomat/souteze/los_b.txt"_qs), QByteArray("new league"));
    QCOMPARE(bytes(u"home/.local/share/Rinkomat/ad/1.jpg"_qs), QByteArray("picture 1, new"));
    QCOMPARE(bytes(u"home/.local/share/Rinkomat/1.st"_qs), QByteArray("(none)"));

    // A user folder that cannot be made: the shipped data are used as they are.
    put(u"home/blocked"_qs, "a file where the folder should be");
    QCOMPARE(prepareDataFolder(program, r.filePath(u"home/blocked/Rinkomat"_qs)), r.filePath(u"usr/share/rinkomat"_qs));

    // Portable: the data beside the program win.
    put(u"usr/bin/souteze/los_a.txt"_qs, "portable");
    QCOMPARE(prepareDataFolder(program, user), program);
}

QTEST_APPLESS_MAIN(tst_seasonfile)
#include "tst_seasonfile.moc"
