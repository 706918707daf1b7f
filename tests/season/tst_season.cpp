// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "season/adjustments.h"
#include "season/catalogue.h"
#include "season/datafiles.h"
#include "season/datafolder.h"
#include "season/journal.h"
#include "season/notation.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using fixture::blockLine, fixture::pairingLine, fixture::resultLine, fixture::contents, fixture::put;

namespace {

// A tiny tmpfs, for a full disk and a read-only disk; only root may mount one.
struct SmallDisk {
    explicit SmallDisk(const QString& at) : path(at)
    {
        mounted = QDir().mkpath(at) && geteuid() == 0 && run("mount -t tmpfs -o size=16k tmpfs ");
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

class tst_season final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What is typed, what the field shows, what is stored on leaving it, and the outcome classes of home and away.
    void notation()
    {
        const struct {
            QString typed, shown, stored, classes;
        } cases[] = {
            {u"5+4-"_qs, u"5:4p"_qs, u"5:4p"_qs, u"BD"_qs},
            {u"2+1/"_qs, u"2:1n"_qs, u"2:1n"_qs, u"BD"_qs},
            {u"4:2"_qs, u"4:2"_qs, u"4:2"_qs, u"AE"_qs},
            {u"1+4"_qs, u"1:4"_qs, u"1:4"_qs, u"EA"_qs},
            {u"3:4n"_qs, u"3:4n"_qs, u"3:4n"_qs, u"DB"_qs},
            {u"3:1p"_qs, u"3:1p"_qs, u"3:1"_qs, u"AE"_qs},
            {u"2:2"_qs, u"2:2"_qs, u"2:2p"_qs, u"CC"_qs},
            {u"2:2n"_qs, u"2:2n"_qs, u"2:2p"_qs, u"CC"_qs},
            {u"0+0"_qs, u"0:0"_qs, u"0:0p"_qs, u"CC"_qs},
            {u"12:11n"_qs, u"12:11n"_qs, u"12:11n"_qs, u"BD"_qs},
            {u"10:10p"_qs, u"10:10p"_qs, u"10:10p"_qs, u"CC"_qs},
            {u" 3:2 "_qs, u" 3:2 "_qs, u"3:2"_qs, u"AE"_qs},
            {u"10:10p "_qs, u"10:10p "_qs, u"10:10p"_qs, u"CC"_qs}, // blanks trimmed for every form
            // Refused, emptied on leaving the field.
            {u"3:2P"_qs, u"3:2P"_qs, {}, {}},
            {u"100:1"_qs, u"100:1"_qs, {}, {}},
            {u"1:100"_qs, u"1:100"_qs, {}, {}},
            {u"3;2"_qs, u"3;2"_qs, {}, {}},
            {u"3-2"_qs, u"3p2"_qs, {}, {}},
            {u"3:"_qs, u"3:"_qs, {}, {}},
            {u"3:2pn"_qs, u"3:2pn"_qs, {}, {}},
            {{}, {}, {}, {}},
            {u"  "_qs, u"  "_qs, {}, {}},
        };
        for (const auto& c : cases) {
            QCOMPARE(convertKeypadInput(c.typed), c.shown);
            QCOMPARE(normaliseResult(c.shown), c.stored);
            QCOMPARE(normaliseResult(c.stored), c.stored); // leaving the field again changes nothing
            if (!c.stored.isEmpty()) {
                const auto [home, away] = classify(ZkoumatVysledek(c.stored));
                QCOMPARE(QString(letterOf(home)) + letterOf(away), c.classes);
            }
        }
        // Goals, the extra-time flag and the home team's points: a file may hold "4:2n", which is no extra time.
        for (const auto& [result, parsed] : {std::pair{u"4:3n"_qs, u"4 3 1 2"_qs},
                                             {u"4:2n"_qs, u"4 2 0 3"_qs},
                                             {u"1:1"_qs, u"1 1 1 1"_qs},
                                             {u"5:2p"_qs, u"5 2 0 3"_qs},
                                             {u"2:3p"_qs, u"2 3 1 1"_qs},
                                             {u"0:7"_qs, u"0 7 0 0"_qs}}) {
            const ParsedResult r = ZkoumatVysledek(result);
            QCOMPARE(u"%1 %2 %3 %4"_qs.arg(r.HomeGoals)
                         .arg(r.AwayGoals)
                         .arg(int(r.ExtraTimeFlag))
                         .arg(pointsOf(classify(r).first)),
                     parsed);
        }
    }

    // The picker's list: newest season first, a separator before older ones, texts without a year last.
    void catalogue()
    {
        const QString sep = kCatalogueSeparator;
        for (const auto& [texts, expected] :
             {std::pair{u"A 2006/2007|B 2007/2008|C 2006/2007|D 2007/2008"_qs,
                        u"B 2007/2008|D 2007/2008|%1|A 2006/2007|C 2006/2007"_qs.arg(sep)},
              {u"B 2007/2008|A 2007/2008"_qs, u"B 2007/2008|A 2007/2008"_qs},
              {u"bez roku|jiná|A 2006/2007|B 2007/2008|x 1999|1998"_qs,
               u"B 2007/2008|%1|A 2006/2007|x 1999|1998|bez roku|jiná"_qs.arg(sep)},
              {QString(), QString()}}) {
            QList<CatalogueEntry> entries;
            for (const QString& t : texts.split(u'|', Qt::SkipEmptyParts))
                entries.append({t, u"sezona_"_qs + t + u".txt"_qs});
            QStringList got;
            for (const CatalogueEntry& e : orderCatalogue(entries)) {
                got << e.text;
                QCOMPARE(e.file,
                         e.text == sep ? QString() : u"sezona_"_qs + e.text + u".txt"_qs); // stays with its text
            }
            QCOMPARE(got.join(u'|'), expected);
        }
    }

    // A slot or round beyond the season is a fault in the program, not something to read past.
    void checkedAccess()
    {
        const SeasonStore s = fixture::season();
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.match(kSlots + 1, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.match(1, kRounds + 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.DATUM_KOLA(0));
    }

    void competitionKeys()
    {
        QStringList comp = fixture::competitionLines();
        comp.prepend(u"; second comment in a row"_qs);
        comp << u"t1=První"_qs << u"t02=Rovná=se"_qs << u"HR4=5"_qs << u"; trailing comment"_qs;
        const SeasonStore s = load(comp);
        QCOMPARE(s.caption, u"Liga  2007/2008"_qs);
        QCOMPARE(s.season, u"2007/2008"_qs);
        QCOMPARE(QList<int>({s.HR1, s.HR2, s.HR3}), QList<int>({8, 10, 12})); // there is no fourth line
        QCOMPARE(s.TymPodleCisla(1), u"První"_qs);                            // t1= after t01= names the same team
        QCOMPARE(s.TymPodleCisla(2), u"Rovná=se"_qs);
        QCOMPARE(s.CisloPodleTymu(u"Č. Budějovice"_qs), 3);
        QCOMPARE(s.CisloPodleTymu(u"Tým 14"_qs), 14);
        QCOMPARE(s.CisloPodleTymu(u"č. budějovice"_qs), 0);
        QCOMPARE(s.CisloPodleTymu(QString()), 0);

        QStringList seasonFirst = fixture::competitionLines();
        seasonFirst.move(2, 1);
        seasonFirst[5] = u"HR3=0"_qs; // no third line
        seasonFirst[4] = u"HR2=14"_qs;
        QCOMPARE(load(seasonFirst).caption, u"Liga"_qs);
        QCOMPARE(load(seasonFirst).HR3, 0);
        QCOMPARE(load(seasonFirst).HR2, 14);
    }

    void scheduleBlocks()
    {
        QStringList los = fixture::scheduleLines();
        los.insert(blockLine(5, 0), u"poznámka mezi bloky"_qs);
        // A later block of round 2 replaces the first one.
        los << u"**"_qs << u"2"_qs << u"01.10.2007"_qs;
        for (int m = 1; m <= kSlots; ++m)
            los << u"%1-%2"_qs.arg(2 * m).arg(2 * m - 1) << (m == 4 ? u"3:2p"_qs : QString());
        const SeasonStore s = load(fixture::competitionLines(), los);
        QCOMPARE(s.DATUM_KOLA(2), QDate(2007, 10, 1));
        QCOMPARE(s.VYSLEDEK(4, 2), u"3:2p"_qs);
        QCOMPARE(s.ZAPAS(1, 2), u"2-1"_qs);
        QCOMPARE(s.DATUM_KOLA(5), fixture::roundDate(5));
        QCOMPARE(roundEntryText(1, s.DATUM_KOLA(1)), u"1. kolo  -  12.9.2007"_qs);
    }

    // Windows-1250 with CR LF or LF, UTF-8 with or without a byte order mark: the same league.
    void encodings()
    {
        const QString path = fixture::writeLeague(QDir(m_dir.path()));
        const QByteArray crlf = contents(path);
        QVERIFY(crlf.contains("t03=\xC8. Bud\xECjovice\r\n"));
        const QByteArray utf8 = fixture::competitionLines().join(u"\r\n"_qs).toUtf8();
        for (const QByteArray& bytes :
             QList<QByteArray>{QByteArray(crlf).replace("\r\n", "\n"), "\xEF\xBB\xBF" + utf8, utf8}) {
            put(path, bytes);
            QCOMPARE(fixture::load(path).TymPodleCisla(3), u"Č. Budějovice"_qs);
            QCOMPARE(fixture::load(path).caption, u"Liga  2007/2008"_qs);
        }
    }

    void refusals()
    {
        // Which file, the line replaced (or, for "cut", the number of lines dropped at the end), the line named
        // in the message and what it says.
        const int r2 = blockLine(2, 0), p = pairingLine(2, 3);
        const struct {
            const char* file; // the file named; a team's name is left out in the competition file
            int index;        // -1: the last `text` lines dropped
            QString text;
            int reported;
            QString what;
        } cases[] = {
            {"los", r2 + 1, u"53"_qs, r2 + 2, u"od 1 do 52"_qs},
            {"los", r2 + 1, u"x"_qs, r2 + 2, u"od 1 do 52"_qs},
            {"los", r2 + 2, u"31.2.2007"_qs, r2 + 3, u"datum"_qs},
            {"los", r2 + 2, u"1.1.0999"_qs, r2 + 3, u"datum"_qs},
            {"los", r2 + 2, u"1.1.20077"_qs, r2 + 3, u"datum"_qs},
            {"los", -1, u"17"_qs, blockLine(52, 0) + 2, u"neúplný blok kola."_qs}, // ends after the marker
            {"los", -1, u"16"_qs, blockLine(52, 1) + 2, u"chybí datum"_qs},
            {"los", -1, u"2"_qs, blockLine(52, 16) + 1, u"chybí výsledek"_qs},
            {"los", -1, u"18"_qs, blockLine(52, 0), u"chybí kolo 52"_qs},
            {"los", -1, u"5"_qs, blockLine(52, 13) + 1, u"neúplný"_qs},
            {"los", p, u"5 6"_qs, p + 1, u"„-“"_qs},
            {"los", p, u"5-15"_qs, p + 1, u"od 1 do 14"_qs},
            {"los", p, u"-5"_qs, p + 1, u"čísla týmů od 1 do 14"_qs},
            {"los", p, u"3-3"_qs, p + 1, u"sám se sebou"_qs},
            {"los", p, u"2-5"_qs, p + 1, u"tým č. 2 hraje v kole 2 dvakrát"_qs},
            {"los", resultLine(7, 1), u"3:2P"_qs, resultLine(7, 1) + 1, u"výsledek"_qs},
            {"los", 19, u"; t14 removed"_qs, pairingLine(1, 7) + 1, u"tým č. 14"_qs}, // unnamed team used
            {"sezona", 19, u"t14=Tým\x1b[31m"_qs, 20, u"řídicí"_qs},
            {"sezona", 4, u"HR2=deset"_qs, 5, u"HR2="_qs},
            {"sezona", 3, u"HR1=15"_qs, 4, u"HR1="_qs},
            {"sezona", 3, u"HR1=010"_qs, 4, u"HR1="_qs}, // two digits at most
            {"sezona", 19, u"t15=Navíc"_qs, 20, u"od 1 do 14"_qs},
            {"sezona", 19, u"t14=Tým 13"_qs, 20, u"stejný název"_qs},
            {"sezona", 6, u"t01=Tým 5"_qs, 11, u"týmy č. 1 a 5"_qs},
        };
        for (const auto& c : cases) {
            QStringList comp = fixture::competitionLines(), los = fixture::scheduleLines();
            const bool inCompetition = c.file == QByteArrayView("sezona") || c.text.startsWith(u';');
            QStringList& lines = inCompetition ? comp : los;
            if (c.index < 0)
                lines = lines.mid(0, lines.size() - c.text.toInt());
            else
                lines[c.index] = c.text;
            const QString path = fixture::writeLeague(QDir(m_dir.path()), comp, los);
            const QString error = loadSeason(path, scheduleFileFor(path)).error();
            const QString prefix = u"Soubor „%1_test.txt“, řádek %2: "_qs.arg(QLatin1String(c.file)).arg(c.reported);
            QVERIFY2(error.startsWith(prefix) && error.contains(c.what), qPrintable(c.text + u" → " + error));
        }
    }

    // The adjustments file: what a line may hold, and that a bad file opens the league without it.
    void adjustmentsFile_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("fault"); // empty: read as "team points reason"
        QTest::addRow("deduction") << "11;-3;neoprávněný start"
                                   << "11 -3 neoprávněný start";
        QTest::addRow("award, sign, blanks") << "3;+2; kontumace; odvolání "
                                             << "3 2 kontumace; odvolání";
        QTest::addRow("limits") << "14;-99;x"
                                << "14 -99 x";
        QTest::addRow("team 0") << "0;-3;x"
                                << "tým č. 0";
        QTest::addRow("team 15") << "15;-3;x"
                                 << "tým č. 15";
        QTest::addRow("100 points") << "1;100;x"
                                    << "TÝM;BODY;DŮVOD";
        QTest::addRow("not a number") << "1;tři;x"
                                      << "TÝM;BODY;DŮVOD";
        QTest::addRow("no reason") << "1;-3;"
                                   << "chybí důvod";
        QTest::addRow("long reason") << u"1;-3;"_qs + QString(81, u'x') << "delší než 80";
    }

    void adjustmentsFile()
    {
        QFETCH(QString, line);
        QFETCH(QString, fault);
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        QCOMPARE(readLeague(path).value().store.adjustments, QList<PointsAdjustment>()); // no file, none
        fixture::put(adjustmentsFileFor(path), encodeLines({u"; komentář"_qs, QString(), line}));
        const Result<ReadLeague> league = readLeague(path);
        QVERIFY(league.ok());
        if (!league.value().warning.isEmpty()) {
            QVERIFY2(league.value().warning.startsWith(u"Soubor „upravy_test.txt“, řádek 3: "_qs) &&
                         league.value().warning.contains(fault),
                     qPrintable(league.value().warning));
            QVERIFY(league.value().store.adjustments.isEmpty());
            return;
        }
        const PointsAdjustment a = league.value().store.adjustments.value(0);
        QCOMPARE(u"%1 %2 %3"_qs.arg(a.team).arg(a.points).arg(a.reason), fault);
        // Written back and read again, the same.
        QCOMPARE(saveAdjustments({a, a}, path, QDateTime(QDate(2008, 1, 2), QTime(3, 4))), QString());
        QCOMPARE(readLeague(path).value().store.adjustments, QList<PointsAdjustment>({a, a}));
        QCOMPARE(readLeague(path).value().store.adjustmentOf(a.team), 2 * a.points);
    }

    void shortDates()
    {
        QCOMPARE(parseShortDate(u"01.02.2008"_qs), QDate(2008, 2, 1));
        QCOMPARE(parseShortDate(u"31.12.1000"_qs), QDate(1000, 12, 31));
        for (const QString& wrong :
             {u"1.1.0999"_qs, u"001.1.2007"_qs, u"1.001.2007"_qs, u"1.1.20077"_qs, u"30.2.2008"_qs})
            QVERIFY2(!parseShortDate(wrong).isValid(), qPrintable(wrong));
    }

    void shownRound()
    {
        const SeasonStore s = load();
        QCOMPARE(roundShownOnOpening(s, QDate(2007, 1, 1)), 1);
        QCOMPARE(roundShownOnOpening(s, fixture::roundDate(10)), 10);
        QCOMPARE(roundShownOnOpening(s, fixture::roundDate(10).addDays(1)), 11);
        QCOMPARE(roundShownOnOpening(s, QDate(2026, 12, 6)), 52);
    }

    void writeBlockBytes()
    {
        SeasonStore s = load();
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

    void bundledLeagueRoundTrip()
    {
        const QString path = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");
        SeasonStore original = fixture::load(path);
        QCOMPARE(original.TymPodleCisla(3), u"Č. Budějovice"_qs);
        original.match(7, 52).result = u"2:1n"_qs;
        const QString copy = m_dir.filePath(u"sezona_copy.txt"_qs);
        QVERIFY(QFile::copy(path, copy));
        for (int i = 0; i < 2; ++i) { // a new file, then replacing it
            QCOMPARE(writeSchedule(original, scheduleFileFor(copy)), QString());
            QVERIFY(fixture::load(copy) == original);
        }
    }

    void unreadableFiles()
    {
        for (const QString& kind : {u"fifo"_qs, u"folder"_qs, u"device"_qs, u"huge"_qs, u"16 MiB"_qs, u"noteam"_qs}) {
            QStringList comp = fixture::competitionLines();
            if (kind == u"noteam")
                comp = comp.mid(0, 6);
            const QTemporaryDir dir;
            const QString path = fixture::writeLeague(QDir(dir.path()), comp);
            const QString los = scheduleFileFor(path);
            if (kind != u"noteam")
                QVERIFY(QFile::remove(los));
            if (kind == u"fifo")
                QCOMPARE(mkfifo(QFile::encodeName(los).constData(), 0600), 0);
            else if (kind == u"folder")
                QVERIFY(QDir().mkdir(los));
            else if (kind == u"device")
                QVERIFY(QFile::link(u"/dev/zero"_qs, los));
            else if (QFile f(los); kind != u"noteam")
                QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(kMaxDataFileBytes + (kind == u"huge")));
            const QString error = loadSeason(path, los).error();
            const QString what = kind == u"noteam" ? u"Soubor „sezona_test.txt“ nepojmenovává žádný tým"_qs
                                 : kind == u"huge" ? u"Soubor „los_test.txt“ je větší než 16 MiB"_qs
                                                   : u"„los_test.txt“ není obyčejný soubor"_qs;
            if (kind == u"16 MiB") // read, then refused for what it holds
                QVERIFY2(!error.contains(u"16 MiB"_qs) && error.contains(u"los_test.txt"_qs), qPrintable(error));
            else
                QVERIFY2(error.contains(what), qPrintable(kind + u": " + error));
        }
    }

    void failedWriteKeepsFile_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("reason");
        QTest::addRow("file-size limit") << "limit"
                                         << "povolenou velikost";
        QTest::addRow("full disk") << "full"
                                   << "není dost místa";
        QTest::addRow("read-only disk") << "readonly-disk"
                                        << "jen pro čtení";
        QTest::addRow("read-only file") << "readonly-file"
                                        << "jen pro čtení";
        QTest::addRow("folder gone") << "gone"
                                     << "neexistuje";
    }

    void failedWriteKeepsFile()
    {
        QFETCH(QString, cause);
        QFETCH(QString, reason);
        SmallDisk disk(m_dir.filePath(u"disk-"_qs + cause)); // a case of its own: the last may have left it read-only
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
        } else if (QFile filler(folder.filePath(u"filler"_qs)); cause == u"full") {
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
        QVERIFY2(error.startsWith(u"Soubor „los_test.txt“ nelze uložit: "_qs) && error.contains(reason),
                 qPrintable(error));
        QCOMPARE(contents(los), before);
    }

    void backupsKeepTheNewest()
    {
        const QString path = fixture::writeLeague(QDir(m_dir.path()));
        const QString los = scheduleFileFor(path);
        const QDateTime start(QDate(2007, 10, 20), QTime(18, 0));
        for (int i = 0; i < kKeptBackups + 2; ++i)
            QVERIFY(backupFile(los, start.addSecs(i)).ok());
        QVERIFY(backupFile(los, start.addSecs(kKeptBackups + 1)).ok()); // the same second again
        pruneBackups(los);
        const QDir backups(backupFolderOf(los));
        const QStringList copies = backups.entryList(QDir::Files, QDir::Name);
        QCOMPARE(copies.size(), kKeptBackups);
        QCOMPARE(copies.first(), u"los_test_2007-10-20_180003.txt"_qs);
        QCOMPARE(copies.last(), u"los_test_2007-10-20_180021_2.txt"_qs);
        QCOMPARE(contents(backups.filePath(copies.last())), scheduleBytes(fixture::load(path)));
    }

    void oneWriterAtATime()
    {
        const QString los = scheduleFileFor(fixture::writeLeague(QDir(m_dir.path())));
        auto first = std::make_unique<LeagueLock>(los);
        QCOMPARE(first->acquire(), QString());
        LeagueLock second(los);
        QVERIFY(second.acquire().contains(u"los_test.txt"_qs));
        first.reset();
        QCOMPARE(second.acquire(), QString());
    }

    void staleAndForeignLocks_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<QString>("refusal"); // empty when the lock is taken over at once
        const QByteArray here = QSysInfo::machineHostName().toUtf8();
        QTest::addRow("empty, left by a crash") << QByteArray() << 60 << QString();
        QTest::addRow("garbage") << QByteArray("\x01\x02 nothing like a lock") << 60 << QString();
        QTest::addRow("process gone here") << "999999999\nrinkomat\n" + here + '\n' << 60 << QString();
        QTest::addRow("empty, being written now") << QByteArray() << 0 << u"los_test.txt.lock"_qs;
        QTest::addRow("running here") << "PID\nsleep\n" + here + '\n' << 60 << u"jiné okno"_qs;
        QTest::addRow("another computer") << QByteArray("4242\nrinkomat\nstick-pc\n") << 60 << u"„stick-pc“"_qs;
    }

    void staleAndForeignLocks()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, ageSeconds);
        QFETCH(QString, refusal);
        const QTemporaryDir dir;
        const QString los = scheduleFileFor(fixture::writeLeague(QDir(dir.path())));
        QProcess holder; // a program that runs here while the test looks at its lock
        if (lock.startsWith("PID")) {
            holder.start(u"sleep"_qs, {u"60"_qs});
            QVERIFY(holder.waitForStarted());
        }
        put(los + u".lock", lock.replace("PID", QByteArray::number(holder.processId())));
        QFile file(los + u".lock");
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
        file.close();
        LeagueLock league(los);
        const QString error = league.acquire();
        if (refusal.isEmpty()) {
            QCOMPARE(error, QString());
            return;
        }
        QVERIFY2(error.contains(refusal) && error.contains(u"los_test.txt.lock"_qs),
                 qPrintable(u"[%1] "_qs.arg(error)));
        const bool foreign = refusal.contains(u"stick-pc"_qs);
        QCOMPARE(league.otherComputer(), foreign ? u"stick-pc"_qs : QString());
        QCOMPARE(league.takeOver().isEmpty(), foreign); // only a lock nobody here can check is taken on request
        holder.kill();
        holder.waitForFinished();
    }

    void clearingUpKeepsTheUsersCopies()
    {
        const QTemporaryDir dir;
        const QString los = scheduleFileFor(fixture::writeLeague(QDir(dir.path())));
        const QStringList users{u".zaloha"_qs, u".backup"_qs, u".kopie1"_qs, u".Ab12Cd"_qs};
        const QStringList ours{u".rinkomat-novy"_qs, u".rinkomat-novy.Ab12Cd"_qs};
        for (const QString& suffix : users + ours)
            put(los + suffix, "x");
        removeLeftoverTemporaries(los);
        for (const QString& suffix : users)
            QVERIFY2(QFileInfo::exists(los + suffix), qPrintable(suffix));
        for (const QString& suffix : ours)
            QVERIFY2(!QFileInfo::exists(los + suffix), qPrintable(suffix));
    }

    // A save that fails keeps the file and every backup as they were: no slot is used up.
    void failedSaveKeepsTheBackups()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path())), los = scheduleFileFor(path);
        const QDateTime start(QDate(2007, 10, 20), QTime(18, 0));
        for (int i = 0; i < kKeptBackups; ++i)
            QVERIFY(backupFile(los, start.addSecs(i)).ok());
        const QStringList copies = QDir(backupFolderOf(los)).entryList(QDir::Files);
        const QByteArray before = contents(los);
        SeasonStore s = fixture::load(path);
        s.match(1, 1).result = u"10:2"_qs;
        signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{static_cast<rlim_t>(before.size() + 1), old.rlim_max}; // the copy fits, the new file not
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString error = saveSchedule(s, los, start.addSecs(100), true);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(error.contains(u"povolenou velikost"_qs), qPrintable(error));
        QCOMPARE(contents(los), before);
        QCOMPARE(QDir(backupFolderOf(los)).entryList(QDir::Files), copies);
        QCOMPARE(saveSchedule(s, los, start.addSecs(100), true), QString());
        QCOMPARE(QDir(backupFolderOf(los)).entryList(QDir::Files).size(), kKeptBackups);
        QVERIFY(!QDir(backupFolderOf(los)).entryList(QDir::Files).contains(copies.first()));
    }

    void failedAdjustmentsSaveKeepsTheFile()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        const QList<PointsAdjustment> one{{1, -3, u"licence"_qs}};
        QCOMPARE(saveAdjustments(one, path, QDateTime(QDate(2008, 1, 2), QTime(3, 4))), QString());
        const QByteArray before = contents(adjustmentsFileFor(path));
        signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{static_cast<rlim_t>(before.size() + 1), old.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString error = saveAdjustments(one + one, path, QDateTime(QDate(2008, 1, 2), QTime(3, 5)));
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(error.contains(u"povolenou velikost"_qs), qPrintable(error));
        QCOMPARE(contents(adjustmentsFileFor(path)), before);
    }

    void recoveryJournal()
    {
        const QTemporaryDir dir;
        const QString los = dir.filePath(u"los_test.txt"_qs);
        const SeasonStore store = fixture::season();
        const RecoveryJournal journal(los);
        const Match first = store.match(1, 3);
        const JournalEntry typed{3, 1, {first.home, first.away, u"4:3p"_qs}};
        const JournalEntry swapped{3, 1, {first.away, first.home, u"4:3p"_qs}};
        const JournalEntry unchanged{4, 2, store.match(2, 4)};
        const JournalEntry otherPairing{5, 1, {store.match(1, 5).home, 9, u"1:0"_qs}}; // one team is not enough
        for (const JournalEntry& e : {typed, unchanged, otherPairing, swapped})
            QVERIFY(journal.record(e));
        QFile file(journal.path());
        QVERIFY(file.open(QIODevice::Append));
        file.write("6;1;1;2;3:1"); // cut short by the crash: "3:1p" perhaps
        file.close();
        QCOMPARE(journal.unsaved(store), QList<JournalEntry>{swapped}); // the last record of the slot wins
        SeasonStore restored = store;
        RecoveryJournal::restore(restored, journal.unsaved(store));
        QCOMPARE(restored.match(1, 3), swapped.match);
        QVERIFY(journal.unsaved(restored).isEmpty());
        put(journal.path(), "0;1;1;2;1:0\n53;1;1;2;1:0\n1;8;1;2;1:0\n1;1;0;2;1:0\n1;1;1;2;100:1\n;;;;\n");
        QVERIFY(journal.unsaved(store).isEmpty());
        journal.clear();
        QVERIFY(!QFileInfo::exists(journal.path()));
    }

    void hugeFilesAreRefusedQuickly()
    {
        QStringList los = fixture::scheduleLines();
        los[resultLine(1, 1)] = QString(10'000'000, u'7');
        SeasonStore s = load();
        const QString error = readSchedule(encodeLines(los), u"los_test.txt"_qs, s);
        QVERIFY2(error.size() < 200 && error.contains(QString(80, u'7') + u'…'), qPrintable(error.left(300)));
        const QByteArray newlines(kMaxDataFileBytes, '\n');
        QVERIFY(readSchedule(newlines, u"los_test.txt"_qs, s).contains(u"řádků"_qs));
        QVERIFY(decodeLines(newlines).size() <= kMaxDataLines);
    }

    void installedDataFolder()
    {
        const QTemporaryDir root;
        const QString shipped = root.filePath(u"usr/share/rinkomat/"_qs), program = root.filePath(u"usr/bin"_qs),
                      user = root.filePath(u"home/.local/share/Rinkomat"_qs);
        put(shipped + u"souteze/los_a.txt", "shipped");
        put(shipped + u"ad/1.jpg", "picture 1");
        put(shipped + u"1.st", "notice");
        QVERIFY(QDir().mkpath(program));
        QCOMPARE(prepareDataFolder(program, user).path, user);
        QCOMPARE(contents(user + u"/souteze/los_a.txt"), QByteArray("shipped"));
        QCOMPARE(contents(user + u"/1.st"), QByteArray("notice"));
        QVERIFY(!QFileInfo::exists(program + u"/souteze")); // nothing written beside the program

        // The user types results and acknowledges the notice; a newer package brings a league and pictures.
        put(user + u"/souteze/los_a.txt", "typed");
        QVERIFY(QFile::remove(user + u"/1.st"));
        put(shipped + u"souteze/los_a.txt", "newer");
        put(shipped + u"souteze/los_b.txt", "new league");
        put(shipped + u"ad/1.jpg", "picture 1, new");
        QCOMPARE(prepareDataFolder(program, user).path, user);
        QCOMPARE(contents(user + u"/souteze/los_a.txt"), QByteArray("typed"));
        QCOMPARE(contents(user + u"/souteze/los_b.txt"), QByteArray("new league"));
        QCOMPARE(contents(user + u"/ad/1.jpg"), QByteArray("picture 1, new"));
        QVERIFY(!QFileInfo::exists(user + u"/1.st"));

        // A user folder that cannot be made: the shipped data are used as they are.
        put(root.filePath(u"home/blocked"_qs), "a file where the folder should be");
        const DataFolder blocked = prepareDataFolder(program, root.filePath(u"home/blocked/Rinkomat"_qs));
        QCOMPARE(blocked.path, shipped.chopped(1));
        QVERIFY2(blocked.problem.contains(u"home/blocked/Rinkomat"_qs) &&
                     blocked.problem.contains(u"nepůjde uložit"_qs),
                 qPrintable(blocked.problem));

        // Portable: the data beside the program win.
        put(program + u"/souteze/los_a.txt", "portable");
        QCOMPARE(prepareDataFolder(program, user).path, program);
    }

private:
    SeasonStore load(const QStringList& comp = fixture::competitionLines(),
                     const QStringList& los = fixture::scheduleLines())
    {
        return fixture::load(fixture::writeLeague(QDir(m_dir.path()), comp, los));
    }

    QTemporaryDir m_dir;
};

QTEST_APPLESS_MAIN(tst_season)
#include "tst_season.moc"
