// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "season/rules.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The streak table of the fixture league for these teams' letters at venue 3: "pos team current longest" rows.
QStringList streaks(const QList<std::pair<int, QString>>& letters, int type, int order,
                    OvertimeMode mode = OvertimeMode::Draw, int rows = kTeams)
{
    OutcomeHistory serie;
    serie.fill(QStringList(kTeams));
    for (const auto& [team, s] : letters)
        serie[2][team - 1] = s;
    QStringList out;
    for (const StreakRow& r : computeStreaks(fixture::season(), serie, venue::Total, type, mode, order))
        out << r.pos + u' ' + r.team + u' ' + r.current + u' ' + r.longest;
    return out.mid(0, rows);
}

} // namespace

class tst_streaks final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Team 5's "current longest" for every streak type, counting overtime as a draw and as the final result.
    void everyType()
    {
        const char* expected[16][2] = {{"1 2", "1 3"}, {"1 5", "1 3"}, {"0 2", "0 0"}, {"3 3", "7 7"},
                                       {"0 2", "0 1"}, {"0 1", "0 1"}, {"0 2", "0 2"}, {"3 3", "3 3"},
                                       {"0 1", "0 1"}, {"0 1", "0 1"}, {"0 0", "0 0"}, {"1 1", "1 1"},
                                       {"1 1", "1 1"}, {"1 2", "1 2"}, {"1 5", "1 5"}, {"0 1", "0 1"}};
        for (int t = 0; t < 16; ++t) {
            for (auto mode : {OvertimeMode::Draw, OvertimeMode::FinalResult}) {
                // The type leads the compared text, so that a failure names it.
                const QString row = streaks({{5, u"AABDAEA"_s}}, t, streakorder::Alphabetical, mode)[4];
                QCOMPARE(QString::number(t) + u' ' + row,
                         u"%1 -. Tým 5 %2"_s.arg(t).arg(QLatin1String(expected[t][mode == OvertimeMode::FinalResult])));
                // Types 8..12 look at overtime matches only: a regular win or loss neither counts nor breaks them.
                QCOMPARE(markStreak(u"ABCDE"_s, t, mode, LeagueRules{}).size(), t >= 8 && t <= 12 ? 3 : 5);
            }
        }
    }

    void byTheLeaguesPoints_data()
    {
        QTest::addColumn<int>("system");
        QTest::addColumn<QStringList>("marked"); // "ABCDE" for "bez ztráty bodu", "s bodovým ziskem", "bez zisku"
        const auto row = [](int system, const char* all, const char* some, const char* none) {
            QTest::addRow("%s", qPrintable(usualRules()[system].name))
                << system
                << QStringList{QString::fromLatin1(all), QString::fromLatin1(some), QString::fromLatin1(none)};
        };
        row(0, "XBCDE", "XXXXE", "ABCDX");
        row(2, "XXCDE", "XXCXE", "ABXDX"); // an overtime win loses nothing where it is worth a regulation win's 2
        row(4, "XBCDE", "XBXDE", "AXCXX");
    }

    // The streaks by points count what the league's points give, not the letters of 3-2-1-1-0.
    void byTheLeaguesPoints()
    {
        QFETCH(int, system);
        QFETCH(QStringList, marked);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(markStreak(u"ABCDE"_s, 13 + k, OvertimeMode::Draw, usualRules()[system].rules), marked[k]);
    }

    void order()
    {
        // No matches sort below 0 and are shown as "-"; level teams share a position.
        QCOMPARE(streaks({{1, u"AAA"_s}, {2, u"AEAE"_s}, {3, u"E"_s}}, 0, streakorder::ByLongest, {}, 5),
                 QStringList({u"1. Tým 1 3 3"_s, u"2. Tým 2 0 1"_s, u"3. Č. Budějovice 0 0"_s, u"4. Tým 4 - -"_s,
                              u" Tým 5 - -"_s}));
        QCOMPARE(
            streaks({{2, u"AAAA"_s}, {6, u"AAAAE"_s}, {9, u"EAAAA"_s}, {11, u"AAE"_s}, {12, u"AAA"_s}}, 0,
                    streakorder::ByLongest, {}, 5),
            QStringList({u"1. Tým 2 4 4"_s, u" Tým 6 0 4"_s, u" Tým 9 4 4"_s, u"4. Tým 12 3 3"_s, u"5. Tým 11 0 2"_s}));
        // By the current streak: equal ones share a position whatever the longest, and keep the longest's order.
        QCOMPARE(streaks({{3, u"AAAAAEAA"_s}, {4, u"AAAAAAAEAA"_s}, {7, u"AAA"_s}}, 0, streakorder::ByCurrent, {}, 4),
                 QStringList({u"1. Tým 7 3 3"_s, u"2. Tým 4 2 7"_s, u" Č. Budějovice 2 5"_s, u"4. Tým 1 - -"_s}));
        const QStringList alphabetical = streaks({{14, u"AAAA"_s}}, 0, streakorder::Alphabetical);
        QCOMPARE(alphabetical.first(), u"-. Tým 1 - -"_s);
        QCOMPARE(alphabetical.last(), u"-. Tým 14 4 4"_s);
        // Only regulation results: the overtime types have nothing left to count.
        QCOMPARE(streaks({{2, u"AEAE"_s}}, 8, streakorder::Alphabetical)[1], u"-. Tým 2 - -"_s);
    }

    void outcomeHistory()
    {
        // Team 1 plays at home in odd rounds and away in even ones.
        const OutcomeHistory serie = buildSerie(fixture::season(
            {{1, 1, u"3:0"_s}, {2, 1, u"4:1"_s}, {3, 1, u"2:3p"_s}, {4, 1, u"2:3n"_s}, {5, 1, u"1:1p"_s}}));
        QCOMPARE(QStringList({serie[0][0], serie[1][0], serie[2][0], serie[2][1]}),
                 QStringList({u"ADC"_s, u"EB"_s, u"AEDBC"_s, u"EABDC"_s}));
        QCOMPARE(buildSerie(fixture::season({{52, 7, u"3:0"_s}}))[2][13], u"A"_s); // last round, last slot
    }

    void crossCells()
    {
        // Team 1 hosts team 2 in rounds 1, 3, 5, …; team 3 hosts team 4 in even rounds.
        const CrossTable cells = crossTable(fixture::season(
            {{1, 1, u"3:2"_s}, {5, 1, u"1:0"_s}, {2, 2, u"2:2p"_s}, {3, 3, u"4:1"_s}, {9, 3, u"1:2"_s}}));
        QCOMPARE(cells[0][1], u"3:2\r\n\r\n1:0"_s + QString(u"\r\n"_s).repeated(23));
        QCOMPARE(cells[3][2], u"2:2p"_s + QString(u"\r\n"_s).repeated(25));
        QCOMPARE(cells[1][0] + cells[0][0], QString()); // every meeting at team 2 unplayed; no team meets itself
        // Round 1 unplayed: the cell starts with the later result itself, not with a line break.
        QVERIFY(cells[4][5].startsWith(u"4:1\r\n\r\n\r\n1:2\r\n"_s));
    }

    // The cross table's headings tell every team apart, however alike the names.
    void crossHeadings_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("headings");
        QTest::addRow("unlike") << QStringList{u"Č. Budějovice"_s, u"Sparta"_s} << QStringList{u"ČBU"_s, u"SPA"_s};
        QTest::addRow("one club's two teams") << QStringList{u"HC Sparta Praha"_s, u"HC Slavia Praha"_s, u"Kladno"_s}
                                              << QStringList{u"HSP"_s, u"HSL"_s, u"KLA"_s};
        QTest::addRow("numbered") << QStringList{u"Tým 1"_s, u"Tým 9"_s, u"Tým 10"_s}
                                  << QStringList{u"T1"_s, u"T9"_s, u"T10"_s};
        QTest::addRow("alike to the last word")
            << QStringList{u"HCS"_s, u"H.C.S."_s, u"!!"_s} << QStringList{u"H1"_s, u"HC"_s, u"3"_s};
    }

    void crossHeadings()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, headings);
        QCOMPARE(shortNames(names), headings);
    }
};

QTEST_APPLESS_MAIN(tst_streaks)
#include "tst_streaks.moc"
