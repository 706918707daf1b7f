// SPDX-License-Identifier: MIT
#include "fixture/failingsync.h"
#include "fixture/filesizelimit.h"
#include "fixture/league.h"
#include "league/openleague.h"
#include "season/adjustments.h"
#include "season/catalogue.h"
#include "season/datafiles.h"
#include "season/datafolder.h"
#include "season/journal.h"
#include "season/newleague.h"
#include "season/notation.h"
#include "season/rules.h"
#include "standings/aggregation.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ranges>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

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
            {u"5+4-"_s, u"5:4p"_s, u"5:4p"_s, u"BD"_s},
            {u"2+1/"_s, u"2:1n"_s, u"2:1n"_s, u"BD"_s},
            {u"3-2"_s, u"3:2"_s, u"3:2"_s, u"AE"_s}, // the main keyboard's minus parts the score
            {u"3-2-"_s, u"3:2p"_s, u"3:2p"_s, u"BD"_s},
            {u"-3"_s, u"p3"_s, {}, {}},
            {u"4:2"_s, u"4:2"_s, u"4:2"_s, u"AE"_s},
            {u"1+4"_s, u"1:4"_s, u"1:4"_s, u"EA"_s},
            {u"3:4n"_s, u"3:4n"_s, u"3:4n"_s, u"DB"_s},
            {u"3:1p"_s, u"3:1p"_s, u"3:1"_s, u"AE"_s},
            {u"2:2"_s, u"2:2"_s, u"2:2p"_s, u"CC"_s},
            {u"2:2n"_s, u"2:2n"_s, u"2:2p"_s, u"CC"_s},
            {u"0+0"_s, u"0:0"_s, u"0:0p"_s, u"CC"_s},
            {u"12:11n"_s, u"12:11n"_s, u"12:11n"_s, u"BD"_s},
            {u"10:10p"_s, u"10:10p"_s, u"10:10p"_s, u"CC"_s},
            {u" 3:2 "_s, u" 3:2 "_s, u"3:2"_s, u"AE"_s},
            {u"10:10p "_s, u"10:10p "_s, u"10:10p"_s, u"CC"_s}, // blanks trimmed for every form
            // Refused, emptied on leaving the field.
            {u"3:2P"_s, u"3:2P"_s, {}, {}},
            {u"100:1"_s, u"100:1"_s, {}, {}},
            {u"1:100"_s, u"1:100"_s, {}, {}},
            {u"3;2"_s, u"3;2"_s, {}, {}},
            {u"3:"_s, u"3:"_s, {}, {}},
            {u"3:2pn"_s, u"3:2pn"_s, {}, {}},
            {{}, {}, {}, {}},
            {u"  "_s, u"  "_s, {}, {}},
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
        for (const auto& [result, parsed] : {std::pair{u"4:3n"_s, u"4 3 1 2"_s},
                                             {u"4:2n"_s, u"4 2 0 3"_s},
                                             {u"1:1"_s, u"1 1 1 1"_s},
                                             {u"5:2p"_s, u"5 2 0 3"_s},
                                             {u"2:3p"_s, u"2 3 1 1"_s},
                                             {u"0:7"_s, u"0 7 0 0"_s}}) {
            const ParsedResult r = ZkoumatVysledek(result);
            QCOMPARE(u"%1 %2 %3 %4"_s.arg(r.HomeGoals)
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
             {std::pair{u"A 2006/2007|B 2007/2008|C 2006/2007|D 2007/2008"_s,
                        u"B 2007/2008|D 2007/2008|%1|A 2006/2007|C 2006/2007"_s.arg(sep)},
              {u"B 2007/2008|A 2007/2008"_s, u"B 2007/2008|A 2007/2008"_s},
              {u"bez roku|jiná|A 2006/2007|B 2007/2008|x 1999|1998"_s,
               u"B 2007/2008|%1|A 2006/2007|x 1999|1998|bez roku|jiná"_s.arg(sep)},
              {u"Extraliga 1999/2000|2. liga 2026/27|Liga 2026/2027|Liga 2026|Stará 1999/00"_s,
               u"2. liga 2026/27|Liga 2026/2027|%1|Liga 2026|Extraliga 1999/2000|Stará 1999/00"_s.arg(sep)},
              {QString(), QString()}}) {
            QList<CatalogueEntry> entries;
            for (const QString& t : texts.split(u'|', Qt::SkipEmptyParts))
                entries.append({t, u"sezona_"_s + t + u".txt"_s});
            QStringList got;
            for (const CatalogueEntry& e : orderCatalogue(entries)) {
                got << e.text;
                QCOMPARE(e.file,
                         e.text == sep ? QString() : u"sezona_"_s + e.text + u".txt"_s); // stays with its text
            }
            QCOMPARE(got.join(u'|'), expected);
        }
        // Read from a folder: the program's own control files are no leagues.
        const QTemporaryDir dir;
        for (const QString& name : {u"sezona_a.txt"_s, u"sezona_a.txt.lock"_s, u"sezona_a.txt.obnova"_s,
                                    u"sezona_a.txt.rinkomat-novy.Ab12Cd"_s})
            put(dir.filePath(name), "nazev=A\r\nsezona=2007/2008\r\n");
        const QList<CatalogueEntry> read = readCatalogue(dir.path());
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.value(0).file, u"sezona_a.txt"_s);
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
        comp.prepend(u"; second comment in a row"_s);
        comp << u"t1=První"_s << u"t02=Rovná=se"_s << u"HR4=5"_s << u"x3=Jiný klíč"_s << u"; trailing comment"_s;
        const SeasonStore s = load(comp);
        QCOMPARE(s.caption, u"Liga  2007/2008"_s);
        QCOMPARE(s.season, u"2007/2008"_s);
        QCOMPARE(QList<int>({s.HR1, s.HR2, s.HR3}), QList<int>({8, 10, 12})); // there is no fourth line
        QCOMPARE(s.TymPodleCisla(1), u"První"_s);                             // t1= after t01= names the same team
        QCOMPARE(s.TymPodleCisla(2), u"Rovná=se"_s);
        QCOMPARE(s.CisloPodleTymu(u"Č. Budějovice"_s), 3); // a key of another letter names no team
        QCOMPARE(s.CisloPodleTymu(u"Tým 14"_s), 14);
        QCOMPARE(s.CisloPodleTymu(u"č. budějovice"_s), 0);
        QCOMPARE(s.CisloPodleTymu(QString()), 0);

        QStringList seasonFirst = fixture::competitionLines();
        seasonFirst.move(2, 1);
        seasonFirst[5] = u"HR3=0"_s; // no third line
        seasonFirst[4] = u"HR2=14"_s;
        QCOMPARE(load(seasonFirst).caption, u"Liga"_s);
        QCOMPARE(load(seasonFirst).HR3, 0);
        QCOMPARE(load(seasonFirst).HR2, 14);
        // Three digits make no team key; a note right after a round's last result is no pairing.
        QStringList noKey = fixture::competitionLines(), los = fixture::scheduleLines();
        noKey << u"t001=Navíc"_s;
        los[blockLine(1, 17)] = u"poznámka k 1. kolu"_s;
        const SeasonStore read = load(noKey, los);
        QCOMPARE(read.TymPodleCisla(1), u"Tým 1"_s);
        QCOMPARE(read.teams(), kTeams);
    }

    // Every usual system, and the points of each outcome in the table: a regulation win, a win after overtime,
    // a draw, a loss after overtime, a regulation loss, as the league's file says them.
    void rulesOfALeague_data()
    {
        QTest::addColumn<int>("system");
        QTest::addColumn<QList<int>>("points"); // of the home team for 4:1, 3:2p, 2:2, 2:3p, 1:4
        const QList<int> none{-1, -1, -1, -1, -1};
        QTest::addRow("3-2-1-1-0") << 0 << QList<int>{3, 2, 1, 1, 0};
        QTest::addRow("3-2-1-0 without draws") << 1 << QList<int>{3, 2, -1, 1, 0};
        QTest::addRow("2-2-1-0 without draws") << 2 << QList<int>{2, 2, -1, 1, 0};
        QTest::addRow("2-1-0 without overtime") << 3 << QList<int>{2, -1, 1, -1, 0};
        QTest::addRow("3-1-0 without overtime") << 4 << QList<int>{3, -1, 1, -1, 0};
    }

    // -1: the rules refuse the result, as typed and as stored.
    void rulesOfALeague()
    {
        QFETCH(int, system);
        QFETCH(QList<int>, points);
        const LeagueRules rules = usualRules()[system].rules;
        SeasonStore s(2, 1);
        s.setTeamName(1, u"Domácí"_s), s.setTeamName(2, u"Hosté"_s);
        s.caption = u"Liga  2026/2027"_s, s.season = u"2026/2027"_s;
        s.rules = rules;
        // The file says the rules, and reads back as the same; today's rules add no line to a file.
        const QStringList lines = competitionLines(s);
        QCOMPARE(lines.filter(u"body="_s).isEmpty(), system == 0);
        QCOMPARE(readCompetition(encodeLines(lines), u"sezona_x.txt"_s).value().rules, rules);
        const QStringList typed{u"4:1"_s, u"3:2p"_s, u"2:2"_s, u"2:3p"_s, u"1:4"_s};
        for (qsizetype k = 0; k < typed.size(); ++k) {
            const QString stored = normaliseResult(typed[k], rules);
            QCOMPARE(rulesRefusal(typed[k], rules).isEmpty(), points[k] >= 0);
            if (points[k] < 0)
                continue;
            QCOMPARE(rulesRefusal(stored, rules), QString()); // what the league stores, it reads back
            s.match(1, 1) = {1, 2, stored};
            const TeamStats stats = DataProTabulku(s, 1, 1);
            QCOMPARE(stats(Stat::PTS, venue::Total, 1), points[k]);
            QCOMPARE(stats(Stat::PTS, venue::Total, 2), points[4 - k]);
        }
        // A draw is stored as it always was where there is overtime, and plainly where there is none.
        QCOMPARE(normaliseResult(u"2:2"_s, rules), rules.overtime ? u"2:2p"_s : u"2:2"_s);
    }

    void scheduleBlocks()
    {
        QStringList los = fixture::scheduleLines();
        los.insert(blockLine(5, 0), u"poznámka mezi bloky"_s);
        // A later block of round 2 replaces the first one.
        los << u"**"_s << u"2"_s << u"01.10.2007"_s;
        for (int m = 1; m <= kSlots; ++m)
            los << u"%1-%2"_s.arg(2 * m).arg(2 * m - 1) << (m == 4 ? u"3:2p"_s : QString());
        const SeasonStore s = load(fixture::competitionLines(), los);
        QCOMPARE(s.DATUM_KOLA(2), QDate(2007, 10, 1));
        QCOMPARE(s.VYSLEDEK(4, 2), u"3:2p"_s);
        QCOMPARE(s.ZAPAS(1, 2), u"2-1"_s);
        QCOMPARE(s.DATUM_KOLA(5), fixture::roundDate(5));
        QCOMPARE(roundEntryText(1, s.DATUM_KOLA(1)), u"1. kolo  -  12.9.2007"_s);
    }

    // Windows-1250 with CR LF or LF, UTF-8 with or without a byte order mark: the same league.
    void encodings()
    {
        const QString path = fixture::writeLeague(QDir(m_dir.path()));
        const QByteArray crlf = contents(path);
        QVERIFY(crlf.contains("t03=\xC8. Bud\xECjovice\r\n"));
        const QByteArray utf8 = fixture::competitionLines().join(u"\r\n"_s).toUtf8();
        for (const QByteArray& bytes :
             QList<QByteArray>{QByteArray(crlf).replace("\r\n", "\n"), "\xEF\xBB\xBF" + utf8, utf8,
                               "\xEF\xBB\xBF" + utf8.mid(utf8.indexOf('\n') + 1)}) { // the mark right before a key
            put(path, bytes);
            QCOMPARE(fixture::load(path).TymPodleCisla(3), u"Č. Budějovice"_s);
            QCOMPARE(fixture::load(path).caption, u"Liga  2007/2008"_s);
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
            {"los", r2 + 1, u"201"_s, r2 + 2, u"od 1 do 200"_s},
            {"los", r2 + 1, u"x"_s, r2 + 2, u"od 1 do 200"_s},
            {"los", r2 + 1, u"53"_s, blockLine(52, 0) + 18, u"chybí kolo 2"_s}, // a round beyond, one missing
            {"los", pairingLine(2, 7), QString(), pairingLine(2, 7) + 1, u"blok kola 2 má jen 6 z 7 zápasů"_s},
            {"los", r2 + 2, u"31.2.2007"_s, r2 + 3, u"datum"_s},
            {"los", r2 + 2, u"1.1.0999"_s, r2 + 3, u"datum"_s},
            {"los", r2 + 2, u"1.1.20077"_s, r2 + 3, u"datum"_s},
            {"los", -1, u"17"_s, blockLine(52, 0) + 2, u"neúplný blok kola."_s}, // ends after the marker
            {"los", -1, u"16"_s, blockLine(52, 1) + 2, u"chybí datum"_s},
            {"los", -1, u"2"_s, blockLine(52, 16) + 1, u"chybí výsledek"_s},
            {"los", blockLine(51, 0), u"--"_s, blockLine(53, 0), u"chybí kolo 51"_s}, // a block not marked
            {"los", -1, u"5"_s, blockLine(52, 13) + 1, u"neúplný"_s},
            {"los", p, u"5 6"_s, p + 1, u"„-“"_s},
            {"los", p, QString(80, u'x'), p + 1, u"„"_s + QString(80, u'x') + u"“"_s}, // quoted whole up to 80
            {"los", p, QString(81, u'x'), p + 1, u"„"_s + QString(80, u'x') + u"…“"_s},
            {"los", p, u"5-15"_s, p + 1, u"od 1 do 14"_s},
            {"los", p, u"-5"_s, p + 1, u"čísla týmů od 1 do 14"_s},
            {"los", p, u"5-006"_s, p + 1, u"čísla týmů od 1 do 14"_s}, // two digits at most, as on the left
            {"los", p, u"3-3"_s, p + 1, u"sám se sebou"_s},
            {"los", p, u"2-5"_s, p + 1, u"tým č. 2 hraje v kole 2 dvakrát"_s},
            {"los", resultLine(7, 1), u"3:2P"_s, resultLine(7, 1) + 1, u"výsledek"_s},
            {"los", 19, u"; t14 removed"_s, pairingLine(1, 7) + 1, u"víc než 6 zápasů"_s}, // 13 teams now
            {"sezona", 18, u"; t13 removed"_s, 20, u"chybí tým t13="_s},
            {"sezona", 19, u"t14=Tým\x1b[31m"_s, 20, u"řídicí"_s},
            {"sezona", 4, u"HR2=deset"_s, 5, u"HR2="_s},
            {"sezona", 3, u"HR1=15"_s, 4, u"HR1="_s},
            {"sezona", 3, u"HR1=010"_s, 4, u"HR1="_s}, // two digits at most
            {"sezona", 19, u"t21=Navíc"_s, 20, u"od 1 do 20"_s},
            {"sezona", 19, u"t0=Nikdo"_s, 20, u"od 1 do 20"_s},
            {"sezona", 19, u"t14=Tým 13"_s, 20, u"stejný název"_s},
            {"sezona", 6, u"t01=Tým 5"_s, 11, u"týmy č. 1 a 5"_s},
            {"sezona", 0, u"body=3,2,1,1"_s, 1, u"pět čísel"_s},
            {"sezona", 0, u"body=3,2,1,10,0"_s, 1, u"pět čísel"_s},
            {"sezona", 0, u"remizy=možná"_s, 1, u"ano nebo ne"_s},
            {"sezona", 0, u"prodlouzeni="_s, 1, u"ano nebo ne"_s},
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
            const QString prefix = u"Soubor „%1_test.txt“, řádek %2: "_s.arg(QLatin1String(c.file)).arg(c.reported);
            QVERIFY2(error.startsWith(prefix) && error.contains(c.what), qPrintable(c.text + u" → " + error));
        }
        // Rules that leave a level game without a result, named at the last line of the rules.
        QStringList comp = fixture::competitionLines();
        comp[0] = u"remizy=ne"_s;
        comp << u"prodlouzeni=ne"_s << u"; konec"_s;
        const QString path = fixture::writeLeague(QDir(m_dir.path()), comp, fixture::scheduleLines());
        const QString error = loadSeason(path, scheduleFileFor(path)).error();
        QVERIFY2(error.startsWith(u"Soubor „sezona_test.txt“, řádek 21: soutěž bez remíz musí hrát prodloužení"_s),
                 qPrintable(error));
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
        QTest::addRow("long reason") << u"1;-3;"_s + QString(81, u'x') << "delší než 80";
        // Read only in part, the next save would lose the deduction at its end.
        QTest::addRow("beyond the line limit") << u";\n"_s.repeated(kMaxDataLines) + u"1;-3;x"_s << "přes 100000 řádků";
    }

    // The file's form cannot hold three digits; a caller of the check can.
    void adjustmentLimits()
    {
        for (const int points : {-100, 100})
            QVERIFY(checkAdjustment(fixture::season(), {1, points, u"x"_s}).error().contains(u"−99 do 99"_s));
        QVERIFY(checkAdjustment(fixture::season(), {1, 99, u"x"_s}).ok());
    }

    void adjustmentsFile()
    {
        QFETCH(QString, line);
        QFETCH(QString, fault);
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        QCOMPARE(readLeague(path).value().store.adjustments, QList<PointsAdjustment>()); // no file, none
        fixture::put(adjustmentsFileFor(path), encodeLines({u"; komentář"_s, QString(), line}));
        const Result<ReadLeague> league = readLeague(path);
        QVERIFY(league.ok());
        QCOMPARE(league.value().store.adjustmentsIgnored, league.value().warning);
        if (!league.value().warning.isEmpty()) {
            QVERIFY2(league.value().warning.startsWith(u"Soubor „upravy_test.txt“"_s) &&
                         league.value().warning.contains(fault),
                     qPrintable(league.value().warning));
            QVERIFY(league.value().store.adjustments.isEmpty());
            return;
        }
        const PointsAdjustment a = league.value().store.adjustments.value(0);
        QCOMPARE(u"%1 %2 %3"_s.arg(a.team).arg(a.points).arg(a.reason), fault);
        // Written back and read again, the same.
        QVERIFY(OpenLeague(path).saveAdjustments({a, a}, QDateTime(QDate(2008, 1, 2), QTime(3, 4))).ok());
        QCOMPARE(readLeague(path).value().store.adjustments, QList<PointsAdjustment>({a, a}));
        QCOMPARE(readLeague(path).value().store.adjustmentOf(a.team), 2 * a.points);
    }

    void shortDates()
    {
        QCOMPARE(parseShortDate(u"01.02.2008"_s), QDate(2008, 2, 1));
        QCOMPARE(parseShortDate(u"31.12.1000"_s), QDate(1000, 12, 31));
        for (const QString& wrong : {u"1.1.0999"_s, u"001.1.2007"_s, u"1.001.2007"_s, u"1.1.20077"_s, u"30.2.2008"_s})
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
        s.match(2, 1).result = u"5:4p"_s;
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
        QCOMPARE(original.TymPodleCisla(3), u"Č. Budějovice"_s);
        original.match(7, 52).result = u"2:1n"_s;
        const QString copy = m_dir.filePath(u"sezona_copy.txt"_s);
        QVERIFY(QFile::copy(path, copy));
        for (int i = 0; i < 2; ++i) { // a new file, then replacing it
            QVERIFY(writeSchedule(original, scheduleFileFor(copy)).ok());
            QVERIFY(fixture::load(copy) == original);
        }
    }

    void unreadableFiles()
    {
        for (const QString& kind : {u"fifo"_s, u"folder"_s, u"device"_s, u"huge"_s, u"16 MiB"_s, u"noteam"_s}) {
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
                QVERIFY(QFile::link(u"/dev/zero"_s, los));
            else if (QFile f(los); kind != u"noteam")
                QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(kMaxDataFileBytes + (kind == u"huge")));
            const QString error = loadSeason(path, los).error();
            const QString what = kind == u"noteam" ? u"Soubor „sezona_test.txt“ nepojmenovává žádný tým"_s
                                 : kind == u"huge" ? u"Soubor „los_test.txt“ je větší než 16 MiB"_s
                                                   : u"„los_test.txt“ není obyčejný soubor"_s;
            if (kind == u"16 MiB") // read, then refused for what it holds
                QVERIFY2(!error.contains(u"16 MiB"_s) && error.contains(u"los_test.txt"_s), qPrintable(error));
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
        SmallDisk disk(m_dir.filePath(u"disk-"_s + cause)); // a case of its own: the last may have left it read-only
        if ((cause == u"full" || cause == u"readonly-disk") && !disk.mounted)
            QSKIP("mounting a tmpfs needs root");
        const QDir folder(disk.path);
        const QString path = fixture::writeLeague(folder);
        const QString los = scheduleFileFor(path);
        SeasonStore s = fixture::load(path);
        const QByteArray before = scheduleBytes(s);
        s.match(1, 1).result = u"3:2"_s;
        std::optional<fixture::FileSizeLimit> limit;
        if (cause == u"limit") {
            QVERIFY(limit.emplace(before.size() / 2).set());
        } else if (QFile filler(folder.filePath(u"filler"_s)); cause == u"full") {
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(1024, 'x')) == 1024 && filler.flush()) {
            }
        } else if (cause == u"readonly-disk") {
            QVERIFY(disk.run("mount -o remount,ro "));
        } else if (cause == u"readonly-file") {
            QVERIFY(QFile::setPermissions(los, QFile::ReadOwner | QFile::ReadGroup));
        }
        const QString target = cause == u"gone" ? m_dir.filePath(u"chybí/los_test.txt"_s) : los;
        const QString error = writeSchedule(s, target).error();
        limit.reset();
        QVERIFY2(error.startsWith(u"Soubor „los_test.txt“ nelze uložit: "_s) && error.contains(reason),
                 qPrintable(error));
        QCOMPARE(contents(los), before);
    }

    // The disk takes the bytes but fails to sync them: no save is reported, and the file stays as it was.
    void failedSyncIsAFailedSave_data()
    {
        QTest::addColumn<QString>("refused");
        QTest::addColumn<bool>("fileKept");
        QTest::addRow("the new file") << "/liga/(#|los_test\\.txt\\.rinkomat-novy)" << true; // unnamed while written
        QTest::addRow("the backup") << "/zaloha/" << true;
        QTest::addRow("the folder after the rename") << "/liga$" << false;
    }

    void failedSyncIsAFailedSave()
    {
        QFETCH(QString, refused);
        QFETCH(bool, fileKept);
        const QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"liga"_s));
        const QString path = fixture::writeLeague(QDir(dir.filePath(u"liga"_s)));
        const QByteArray before = contents(scheduleFileFor(path));
        SeasonStore s = fixture::load(path);
        s.match(1, 1).result = u"3:2"_s;
        OpenLeague open(path);
        QString error;
        {
            const fixture::FailingSync failing(refused);
            error = open.save(s, QDateTime(QDate(2007, 10, 20), QTime(18, 0))).error();
        }
        QVERIFY2(error.contains(u"chyba čtení nebo zápisu na disk"_s), qPrintable(error));
        QCOMPARE(contents(scheduleFileFor(path)) == before, fileKept);
        QVERIFY(open.save(s, QDateTime(QDate(2007, 10, 20), QTime(18, 1))).ok());
        QCOMPARE(contents(scheduleFileFor(path)), scheduleBytes(s));
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
        QCOMPARE(copies.first(), u"los_test_2007-10-20_180003.txt"_s);
        QCOMPARE(copies.last(), u"los_test_2007-10-20_180021_2.txt"_s);
        QCOMPARE(contents(backups.filePath(copies.last())), scheduleBytes(fixture::load(path)));
    }

    void oneWriterAtATime()
    {
        const QString los = scheduleFileFor(fixture::writeLeague(QDir(m_dir.path())));
        auto first = std::make_unique<LeagueLock>(los);
        QVERIFY(first->acquire().ok());
        LeagueLock second(los);
        QVERIFY(second.acquire().error().contains(u"los_test.txt"_s));
        first.reset();
        QVERIFY(second.acquire().ok());
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
        // killed while removing a stale lock: its removal's own lock stays behind, fresh and empty
        QTest::addRow("process gone while removing one") << "RM999999998\nrinkomat\n" + here + '\n' << 60 << QString();
        QTest::addRow("empty, being written now") << QByteArray() << 0 << u"los_test.txt.lock"_s;
        QTest::addRow("running here") << "PID\nsleep\n" + here + '\n' << 60 << u"jiné okno"_s;
        QTest::addRow("another computer") << QByteArray("4242\nrinkomat\nstick-pc\n") << 60 << u"„stick-pc“"_s;
        QTest::addRow("another computer, a name of 300 letters") << "4242\nrinkomat\n" + QByteArray(300, 'h') + '\n'
                                                                 << 60 << u"„"_s + QString(64, u'h') + u"…“"_s;
        QTest::addRow("another computer, a name of 64 letters, whole")
            << "4242\nrinkomat\n" + QByteArray(64, 'h') + '\n'
            << 60 << u"„"_s + QString(64, u'h') + u"“"_s;
        QTest::addRow("a folder") << QByteArray("FOLDER") << 60 << u"je složka"_s;
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
            holder.start(u"sleep"_s, {u"60"_s});
            QVERIFY(holder.waitForStarted());
        }
        if (lock.startsWith("RM")) {
            lock.remove(0, 2);
            put(los + u".lock.rmlock", {});
        }
        if (lock == "FOLDER") {
            QVERIFY(QDir().mkpath(los + u".lock"));
        } else {
            put(los + u".lock", lock.replace("PID", QByteArray::number(holder.processId())));
            QFile file(los + u".lock");
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(
                file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
        }
        LeagueLock league(los);
        const QString error = league.acquire().error();
        if (refusal.isEmpty()) {
            QCOMPARE(error, QString());
            return;
        }
        QVERIFY2(error.contains(refusal) && error.contains(u"los_test.txt.lock"_s), qPrintable(u"[%1] "_s.arg(error)));
        const bool foreign = refusal.startsWith(u"„"_s);
        QCOMPARE(league.otherComputer(), foreign ? refusal.mid(1).chopped(1) : QString());
        QCOMPARE(league.takeOver().ok(), foreign); // only a lock nobody here can check is taken on request
        holder.kill();
        holder.waitForFinished();
    }

    void clearingUpKeepsTheUsersCopies()
    {
        const QTemporaryDir dir;
        const QString los = scheduleFileFor(fixture::writeLeague(QDir(dir.path())));
        const QStringList users{u".zaloha"_s, u".backup"_s, u".kopie1"_s, u".Ab12Cd"_s};
        const QStringList ours{u".rinkomat-novy"_s, u".rinkomat-novy.Ab12Cd"_s};
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
        s.match(1, 1).result = u"10:2"_s;
        OpenLeague open(path);
        QString error;
        {
            const fixture::FileSizeLimit full(before.size() + 1); // the copy fits, the new file not
            QVERIFY(full.set());
            error = open.save(s, start.addSecs(100)).error();
        }
        QVERIFY2(error.contains(u"povolenou velikost"_s), qPrintable(error));
        QCOMPARE(contents(los), before);
        QCOMPARE(QDir(backupFolderOf(los)).entryList(QDir::Files), copies);
        QVERIFY(open.save(s, start.addSecs(100)).ok());
        QCOMPARE(QDir(backupFolderOf(los)).entryList(QDir::Files).size(), kKeptBackups);
        QVERIFY(!QDir(backupFolderOf(los)).entryList(QDir::Files).contains(copies.first()));
    }

    // A sync the disk refused is a failure; a file system that cannot sync at all is none.
    void syncErrors_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("expected");
        QTest::addRow("synced") << 0 << EIO << 0;
        QTest::addRow("disk failed") << -1 << EIO << EIO;
        QTest::addRow("disk full") << -1 << ENOSPC << ENOSPC;
        QTest::addRow("cannot sync (EINVAL)") << -1 << EINVAL << 0;
        QTest::addRow("cannot sync (ENOTSUP)") << -1 << ENOTSUP << 0;
    }
    void syncErrors()
    {
        QFETCH(int, result);
        QFETCH(int, error);
        QFETCH(int, expected);
        errno = error;
        QCOMPARE(syncError(result), expected);
    }

    // One copy of the dates file an opening: the file as it was when the league was opened, not each save's.
    void datesBackedUpOnceAnOpening()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path())), dates = matchDatesFileFor(path);
        const QDateTime start(QDate(2007, 10, 20), QTime(18, 0));
        const auto kickOff = [&](OpenLeague& open, int slot, int hour, int minutes) {
            return open.setMatchDate(1, slot, MatchDate{open.season().DATUM_KOLA(1), QTime(hour, 0), false},
                                     start.addSecs(minutes * 60));
        };
        {
            OpenLeague first(path);
            QVERIFY(first.read().ok());
            QVERIFY(kickOff(first, 1, 17, 0).ok());
        }
        const QByteArray asOpened = contents(dates);
        OpenLeague open(path);
        QVERIFY(open.read().ok());
        QVERIFY(kickOff(open, 2, 18, 1).ok());
        QVERIFY(kickOff(open, 3, 19, 2).ok());
        const QDir backups(backupFolderOf(dates));
        const QStringList copies = backups.entryList({QFileInfo(dates).completeBaseName() + u"_*"_s}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(contents(backups.filePath(copies.first())), asOpened);
    }

    // The lock is the opening's: refused to a second while the first holds it, taken once it lets go.
    void oneOpeningAtATime()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        OpenLeague first(path), second(path);
        QVERIFY(first.lock().ok() && first.locked());
        QVERIFY(!second.lock().ok() && !second.locked());
        first.unlock();
        QVERIFY(!first.locked());
        QVERIFY(second.lock().ok() && second.locked());
    }

    void failedAdjustmentsSaveKeepsTheFile()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        const QList<PointsAdjustment> one{{1, -3, u"licence"_s}};
        OpenLeague open(path);
        QVERIFY(open.saveAdjustments(one, QDateTime(QDate(2008, 1, 2), QTime(3, 4))).ok());
        const QByteArray before = contents(adjustmentsFileFor(path));
        QString error;
        {
            const fixture::FileSizeLimit full(before.size() + 1);
            error = open.saveAdjustments(one + one, QDateTime(QDate(2008, 1, 2), QTime(3, 5))).error();
        }
        QVERIFY2(error.contains(u"povolenou velikost"_s), qPrintable(error));
        QCOMPARE(contents(adjustmentsFileFor(path)), before);
    }

    void recoveryJournal()
    {
        const QTemporaryDir dir;
        const QString los = dir.filePath(u"los_test.txt"_s);
        const SeasonStore store = fixture::season();
        const RecoveryJournal journal(los);
        const Match first = store.match(1, 3);
        const JournalEntry typed{3, 1, {first.home, first.away, u"4:3p"_s}, first};
        const JournalEntry swapped{3, 1, {first.away, first.home, u"4:3p"_s}, first};
        const JournalEntry unchanged{4, 2, store.match(2, 4), store.match(2, 4)};
        const JournalEntry otherPairing{5, 1, {store.match(1, 5).home, 9, u"1:0"_s}, {}}; // one team is not enough
        const Match sixth = store.match(2, 6);
        const int stranger = sixth.home != 1 && sixth.away != 1 ? 1 : sixth.home != 2 && sixth.away != 2 ? 2 : 3;
        const JournalEntry halfSwapped{6, 2, {stranger, sixth.home, u"1:0"_s}, {}}; // nor one in the other's place
        const Match last = store.match(kSlots, kRounds);
        const JournalEntry lastSlot{kRounds, kSlots, {last.home, last.away, u"2:2"_s}, last};
        for (const JournalEntry& e : {typed, unchanged, otherPairing, halfSwapped, swapped, lastSlot})
            QVERIFY(journal.record(e).ok());
        QFile file(journal.path());
        QVERIFY(file.open(QIODevice::Append));
        file.write("6;1;1;2;3:1"); // cut short by the crash: "3:1p" perhaps
        file.close();
        // The last record of a slot wins.
        QCOMPARE(journal.unsaved(store), (QList<JournalEntry>{swapped, lastSlot}));
        SeasonStore restored = store;
        RecoveryJournal::restore(restored, journal.unsaved(store));
        QCOMPARE(restored.match(1, 3), swapped.match);
        QVERIFY(journal.unsaved(restored).isEmpty());
        // Another program wrote the slot since the change was typed: a conflict, which an older journal
        // without the file's result cannot show.
        QVERIFY(!RecoveryJournal::conflicts(lastSlot, store));
        SeasonStore meanwhile = store;
        meanwhile.match(kSlots, kRounds).result = u"5:0"_s;
        QVERIFY(RecoveryJournal::conflicts(journal.unsaved(meanwhile).value(1), meanwhile));
        // A later record that names no team of the league is no record: it takes nothing away.
        put(journal.path(), "3;1;" + QByteArray::number(first.home) + ';' + QByteArray::number(first.away) +
                                ";1:0\n3;1;0;" + QByteArray::number(first.away) + ";2:0\n");
        QCOMPARE(journal.unsaved(meanwhile).value(0).base, std::nullopt);
        QCOMPARE(journal.unsaved(meanwhile).value(0).match.result, u"1:0"_s);
        put(journal.path(), "0;1;1;2;1:0\n53;1;1;2;1:0\n1;8;1;2;1:0\n1;1;0;2;1:0\n1;1;1;2;100:1\n;;;;\n"
                            "3;1;1;2;1:0;1;2;1;\n3;1;1;2;1:0;1;2;9:x\n");
        QVERIFY(journal.unsaved(store).isEmpty());
        journal.clear();
        QVERIFY(!QFileInfo::exists(journal.path()));
        {
            const fixture::FileSizeLimit full(8); // a record is longer: its write fails, and it says so
            QVERIFY(full.set());
            const QString error = journal.record(typed).error();
            QVERIFY2(error.contains(u"povolenou velikost"_s), qPrintable(error));
        }
        QCOMPARE(contents(journal.path()), QByteArray()); // no half record for the next one to run into
        {
            const fixture::FailingSync failing(u"\\.obnova$"_s); // written, but the disk did not take it
            QVERIFY(journal.record(typed).error().contains(u"chyba čtení nebo zápisu na disk"_s));
        }
        // A journal that is a link is neither written through nor read.
        const QString outside = dir.filePath(u"cizi.txt"_s);
        const QByteArray foreign =
            "3;1;" + QByteArray::number(first.home) + ';' + QByteArray::number(first.away) + ";7:0\n";
        put(outside, foreign);
        QFile::remove(journal.path());
        QVERIFY(QFile::link(outside, journal.path()));
        QVERIFY(!journal.record(typed).ok());
        QCOMPARE(contents(outside), foreign);
        QVERIFY(journal.unsaved(store).isEmpty());
    }

    // The open league's rules, without a window: every real change journalled at once, nothing twice;
    // "Co kdyby" neither journalled nor written, and left as it was entered.
    void openLeagueSession()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        OpenLeague open(path);
        QVERIFY(open.lock().ok() && open.read().ok());
        const Match first = open.season().match(1, 1);
        QVERIFY(open.setMatch(1, 1, first).ok()); // as it is: nothing to journal
        QVERIFY(!QFileInfo::exists(RecoveryJournal(scheduleFileFor(path)).path()));
        const Match typed{first.home, first.away, u"3:1"_s};
        QVERIFY(open.setMatch(1, 1, typed).ok());
        QCOMPARE(open.unsavedChanges().size(), 1);
        QCOMPARE(open.season().match(1, 1), typed);

        open.setWhatIf(true);
        QVERIFY(!open.hypotheticalChanges());
        QVERIFY(open.setMatch(1, 2, {open.season().match(2, 2).home, open.season().match(2, 2).away, u"9:0"_s}).ok());
        QVERIFY(open.hypotheticalChanges() && open.season().hypothetical);
        QCOMPARE(open.unsavedChanges().size(), 1);
        const QByteArray before = contents(scheduleFileFor(path));
        const QDateTime when(QDate(2008, 1, 2), QTime(3, 4));
        QVERIFY(open.save(when).error().contains(u"Co kdyby"_s));
        QVERIFY(!open.setAdjustments({{1, -3, u"x"_s}}, when).ok());
        QCOMPARE(contents(scheduleFileFor(path)), before);
        QVERIFY(!QFileInfo::exists(adjustmentsFileFor(path)));

        open.setWhatIf(false);
        QCOMPARE(open.season().VYSLEDEK(2, 2), QString());
        QCOMPARE(open.season().match(1, 1), typed);
        QVERIFY(open.setAdjustments({{1, -3, u"x"_s}}, when).ok());
        QCOMPARE(open.season().adjustmentOf(1), -3);
        QVERIFY(open.save(when).ok());
        QCOMPARE(fixture::load(path).match(1, 1), typed);

        // Another program writes the file meanwhile: its change is not overwritten unless the user says so.
        SeasonStore other = fixture::load(path);
        other.match(3, 3).result = u"7:7"_s;
        QVERIFY(writeSchedule(other, scheduleFileFor(path)).ok());
        QCOMPARE(open.save(when).code(), OpenLeague::kChangedOnDisk);
        QCOMPARE(fixture::load(path).VYSLEDEK(3, 3), u"7:7"_s);
        QVERIFY(open.save(when, OpenLeague::Changes::Overwrite).ok());
        QCOMPARE(fixture::load(path).VYSLEDEK(3, 3), QString());
        QVERIFY(open.save(when).ok()); // its own file now
    }

    // A round left, an import: one signal for many changes, each journalled; a command's league keeps no journal.
    void openLeagueChanges()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        OpenLeague open(path);
        QSignalSpy changed(&open, &OpenLeague::seasonChanged);
        QVERIFY(open.lock().ok() && open.read().ok());
        QCOMPARE(changed.size(), 1);
        const auto with = [&](int round, int slot, const QString& result) {
            const Match& m = open.season().match(slot, round);
            return OpenLeague::MatchChange{round, slot, {m.home, m.away, result}};
        };
        QVERIFY(open.apply({with(4, 1, u"1:0"_s), with(4, 2, u"2:0"_s), with(5, 7, u"0:3"_s)}).ok());
        QCOMPARE(changed.size(), 2);
        QCOMPARE(open.unsavedChanges().size(), 3);
        QVERIFY(open.apply({with(4, 1, u"1:0"_s)}).ok()); // nothing new
        QCOMPARE(changed.size(), 2);
        const Match before = open.season().match(2, 4);
        QVERIFY(open.swapPairing(4, 2).ok());
        QCOMPARE(open.season().match(2, 4), (Match{before.away, before.home, u"2:0"_s}));
        QCOMPARE(changed.size(), 3);
        QCOMPARE(open.unsavedChanges().size(), 3);
        open.unlock();

        OpenLeague command(path, OpenLeague::Journalling::Off);
        QVERIFY(command.lock().ok() && command.read().ok());
        QVERIFY(command.setMatch(6, 1, with(6, 1, u"4:4"_s).match).ok());
        QCOMPARE(command.unsavedChanges().size(), 3); // the window's records, none of its own
        QVERIFY(command.save(QDateTime(QDate(2008, 1, 2), QTime(3, 4))).ok());
        QCOMPARE(fixture::load(path).VYSLEDEK(1, 6), u"4:4"_s);
    }

    // A postponed match changes places with a match of the round it goes to; the pair's other meeting first.
    void moveMatch()
    {
        const QTemporaryDir dir;
        OpenLeague open(
            fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(), fixture::scheduleLines(), u"a"_s));
        QVERIFY(open.lock().ok() && open.read().ok());
        QSignalSpy changed(&open, &OpenLeague::seasonChanged);
        const Match third = open.season().match(1, 3), fourth = open.season().match(1, 4);
        QVERIFY(open.moveMatch(3, 1, 4).ok());
        QCOMPARE(open.season().match(1, 4), third);
        QCOMPARE(open.season().match(1, 3), fourth);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(open.unsavedChanges().size(), 2);
        // The last round and the last slot are the league's; one past them, or 0, is not.
        const int last = open.season().rounds(), slots = open.season().slots();
        for (const auto& [round, slot, to] : {std::tuple{last, slots, 3}, {3, slots, last}}) {
            const Result<int> partner = open.swapPartner(round, slot, to);
            QVERIFY(partner.ok() || !partner.error().contains(u"v lize není"_s));
        }
        for (const auto& [round, slot, to] :
             {std::tuple{last + 1, 1, 3}, {3, 1, last + 1}, {0, 1, 3}, {3, 1, 0}, {3, 0, 4}, {3, slots + 1, 4}})
            QVERIFY(open.swapPartner(round, slot, to).error().contains(u"v lize není"_s));
        // The last match of a round is a partner like any other.
        bool lastSlotPartner = false;
        for (int round = 5; round <= last && !lastSlotPartner; ++round)
            for (int slot = 1; slot <= slots && !lastSlotPartner; ++slot)
                lastSlotPartner = open.swapPartner(round, slot, last).valueOr(0) == slots;
        QVERIFY(lastSlotPartner);

        OpenLeague odd(fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(15),
                                            fixture::scheduleLines(15, 30, 2), u"b"_s));
        QVERIFY(odd.lock().ok() && odd.read().ok());
        const SeasonStore& s = odd.season();
        QVERIFY(odd.moveMatch(1, 1, 5).error().contains(u"výsledek"_s));
        QVERIFY(odd.moveMatch(5, 1, 5).error().contains(u"už v 5. kole"_s));
        // Where a match can go at all, every team still plays once in either round; elsewhere nothing changes.
        int refusals = 0;
        std::optional<std::tuple<int, int, int>> move; // round, slot, to
        for (int r = 3; r <= s.rounds() && !move; ++r)
            for (int to = 3; to <= s.rounds() && !move; ++to)
                for (int slot = 1; slot <= s.slots() && !move && to != r; ++slot) {
                    const SeasonStore before = s;
                    const Match m = s.match(slot, r);
                    if (const Result<void> moved = odd.moveMatch(r, slot, to); !moved.ok()) {
                        ++refusals;
                        QVERIFY2(moved.error().contains(u"nemají oba týmy volno"_s), qPrintable(moved.error()));
                        QCOMPARE(s, before);
                        continue;
                    }
                    move = {r, slot, to};
                    for (int round : {r, to}) {
                        QSet<int> teams;
                        for (int k = 1; k <= s.slots(); ++k)
                            teams << s.match(k, round).home << s.match(k, round).away;
                        QCOMPARE(teams.size(), 2 * s.slots());
                    }
                    QVERIFY(std::ranges::any_of(std::views::iota(1, s.slots() + 1),
                                                [&, to = to](int k) { return s.match(k, to) == m; }));
                }
        QVERIFY(move && refusals > 0);
    }

    // Results the rules exclude are named, five of them at most, and said to be more when there are.
    void excludedResultsNamed()
    {
        SeasonStore season = fixture::playedUpTo(3);
        season.rules = LeagueRules{{3, 2, 0, 1, 0}, false, true};
        QCOMPARE(excludedResults(season), QString());
        for (int slot = 1; slot <= 6; ++slot) {
            season.match(slot, 2).result = u"2:2"_s;
            const QString text = excludedResults(season);
            QVERIFY2(text.contains(u"nepovolují %1 uložených výsledků: 2. kolo"_s.arg(slot)), qPrintable(text));
            QCOMPARE(text.count(u"2. kolo"_s), std::min(slot, 5));
            QCOMPARE(text.contains(u" a další."_s), slot > 5);
        }
    }

    // Only the team's line changes, with a copy of the file kept; a name another team has is refused.
    void renameTeam()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        OpenLeague open(path);
        QVERIFY(open.lock().ok() && open.read().ok());
        const QDateTime when(QDate(2008, 1, 2), QTime(3, 4));
        QVERIFY(open.renameTeam(4, u"Tým 5"_s, when).error().contains(u"č. 5"_s));
        for (const int none : {0, open.season().teams() + 1})
            QCOMPARE(open.renameTeam(none, u"Motor"_s, when).error(), u"Tým č. %1 v lize není."_s.arg(none));
        const QByteArray before = contents(path);
        {
            const fixture::FileSizeLimit full(before.size() - 1);
            QVERIFY(!open.renameTeam(3, u"Motor"_s, when).ok());
        }
        QCOMPARE(contents(path), before);
        QCOMPARE(open.season().TymPodleCisla(3), u"Č. Budějovice"_s);
        QSignalSpy changed(&open, &OpenLeague::seasonChanged);
        QVERIFY(open.renameTeam(3, u" Motor "_s, when).ok());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(open.season().TymPodleCisla(3), u"Motor"_s);
        QByteArray expected = before;
        expected.replace("t03=\xC8. Bud\xECjovice", "t03=Motor");
        QCOMPARE(contents(path), expected);
        QCOMPARE(fixture::load(path).TymPodleCisla(3), u"Motor"_s);
        QCOMPARE(QDir(dir.filePath(u"zaloha"_s)).entryList({u"sezona_test_*"_s}, QDir::Files).size(), 1);
    }

    void hugeFilesAreRefusedQuickly()
    {
        QStringList los = fixture::scheduleLines();
        los[resultLine(1, 1)] = QString(1'000'000, u'7');
        SeasonStore s = load();
        const QString error = readSchedule(encodeLines(los), u"los_test.txt"_s, s).error();
        QVERIFY2(error.size() < 200 && error.contains(QString(80, u'7') + u'…'), qPrintable(error.left(300)));
        const QByteArray newlines(kMaxDataFileBytes, '\n');
        QVERIFY(readSchedule(newlines, u"los_test.txt"_s, s).error().contains(u"řádků"_s));
        QCOMPARE(decodeLines(QByteArray("x\n").repeated(kMaxDataLines + 5)).size(), kMaxDataLines); // never one more
        QCOMPARE(decodeLines("\n" + QByteArray("x\n").repeated(kMaxDataLines + 5)).size(), kMaxDataLines);
    }

    void installedDataFolder()
    {
        const QTemporaryDir root;
        const QString shipped = root.filePath(u"usr/share/rinkomat/"_s), program = root.filePath(u"usr/bin"_s),
                      user = root.filePath(u"home/.local/share/Rinkomat"_s);
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
        put(root.filePath(u"home/blocked"_s), "a file where the folder should be");
        const DataFolder blocked = prepareDataFolder(program, root.filePath(u"home/blocked/Rinkomat"_s));
        QCOMPARE(blocked.path, shipped.chopped(1));
        QVERIFY2(blocked.problem.contains(u"home/blocked/Rinkomat"_s) && blocked.problem.contains(u"nepůjde uložit"_s),
                 qPrintable(blocked.problem));

        // A disk that takes no whole league on the first start: the shipped data, the user told, no half file.
        const QString small = root.filePath(u"home/small/Rinkomat"_s);
        put(shipped + u"souteze/los_c.txt", QByteArray(4000, 'x'));
        DataFolder full;
        {
            const fixture::FileSizeLimit limit(1000);
            full = prepareDataFolder(program, small);
        }
        QCOMPARE(full.path, shipped.chopped(1));
        QVERIFY2(full.problem.contains(u"nepůjde uložit"_s), qPrintable(full.problem));
        QVERIFY(!QFileInfo::exists(small + u"/souteze/los_c.txt"));
        QCOMPARE(prepareDataFolder(program, small).path, small); // the next start completes it, notice and all
        QCOMPARE(contents(small + u"/1.st"), QByteArray("notice"));

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
