// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QTest>

namespace {

// serie with the given letters for the listed teams at venue 3, nothing elsewhere.
OutcomeHistory totals(const QList<std::pair<int, QString>>& letters)
{
    OutcomeHistory serie;
    for (const auto& [team, s] : letters)
        serie[2][static_cast<std::size_t>(team - 1)] = s;
    return serie;
}

} // namespace

class tst_streaks final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExample_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("draw");  // "current,longest" in draw mode
        QTest::addColumn<QString>("final"); // and in final-result mode
        const char* expected[16][2] = {{"1,2", "1,3"}, {"1,5", "1,3"}, {"0,2", "0,0"}, {"3,3", "7,7"},
                                       {"0,2", "0,1"}, {"0,1", "0,1"}, {"0,2", "0,2"}, {"3,3", "3,3"},
                                       {"0,1", "0,1"}, {"0,1", "0,1"}, {"0,0", "0,0"}, {"1,1", "1,1"},
                                       {"1,1", "1,1"}, {"1,2", "1,2"}, {"1,5", "1,5"}, {"0,1", "0,1"}};
        for (int t = 0; t < 16; ++t)
            QTest::addRow("%s", qPrintable(streakTypeCaptions()[t])) << t << expected[t][0] << expected[t][1];
    }

    void workedExample()
    {
        QFETCH(int, type);
        QFETCH(QString, draw);
        QFETCH(QString, final);
        const SeasonStore season = fixture::season({});
        const OutcomeHistory serie = totals({{5, u"AABDAEA"_qs}});
        for (auto [mode, expected] : {std::pair{OvertimeMode::Draw, draw}, {OvertimeMode::FinalResult, final}}) {
            const StreakRow row = computeStreaks(season, serie, venue::Total, type, mode, streakorder::Alphabetical)[4];
            QCOMPARE(row.team, u"Tým 5"_qs);
            QCOMPARE(row.current + u',' + row.longest, expected);
        }
    }

    void overtimeTypesSkipRegularTime()
    {
        // Types 8..12 look at overtime matches only: a regular win or loss neither counts nor breaks them.
        for (int t = 0; t < 16; ++t) {
            for (auto mode : {OvertimeMode::Draw, OvertimeMode::FinalResult}) {
                const QString marked = markStreak(u"ABCDE"_qs, t, mode);
                QCOMPARE(marked.size(), t >= 8 && t <= 12 ? 3 : 5);
            }
        }
    }

    void emptyAndAllMarked()
    {
        const OutcomeHistory serie = totals({{1, u"AAA"_qs}, {2, u"AEAE"_qs}, {3, u"E"_qs}});
        const auto rows =
            computeStreaks(fixture::season({}), serie, venue::Total, 0, OvertimeMode::Draw, streakorder::ByLongest);
        QCOMPARE(rows[0].team + u' ' + rows[0].current + u' ' + rows[0].longest, u"Tým 1 3 3"_qs);
        QCOMPARE(rows[2].team + u' ' + rows[2].current + u' ' + rows[2].longest, u"Č. Budějovice 0 0"_qs);
        QCOMPARE(rows[3].longest, u"-"_qs); // no matches sort below 0
        QCOMPARE(rows[3].pos, u"4."_qs);
        QCOMPARE(rows[4].pos, QString());
        // Only regulation results: the overtime types have nothing left to count.
        const auto overtime =
            computeStreaks(fixture::season({}), serie, venue::Total, 8, OvertimeMode::Draw, streakorder::Alphabetical);
        QCOMPARE(overtime[1].current + overtime[1].longest, u"--"_qs);
    }

    void tiedPositions()
    {
        const OutcomeHistory serie =
            totals({{2, u"AAAA"_qs}, {6, u"AAAAE"_qs}, {9, u"EAAAA"_qs}, {11, u"AAE"_qs}, {12, u"AAA"_qs}});
        const auto rows =
            computeStreaks(fixture::season({}), serie, venue::Total, 0, OvertimeMode::Draw, streakorder::ByLongest);
        QStringList pos, teams;
        for (int i = 0; i < 5; ++i)
            pos << rows[i].pos, teams << rows[i].team;
        QCOMPARE(pos, (QStringList{u"1."_qs, QString(), QString(), u"4."_qs, u"5."_qs}));
        QCOMPARE(teams, (QStringList{u"Tým 2"_qs, u"Tým 6"_qs, u"Tým 9"_qs, u"Tým 12"_qs, u"Tým 11"_qs}));
    }

    void orderByCurrentKeepsLongestOrder()
    {
        const OutcomeHistory serie = totals({{3, u"AAAAAEAA"_qs}, {4, u"AAAAAAAEAA"_qs}, {7, u"AAA"_qs}});
        const auto rows =
            computeStreaks(fixture::season({}), serie, venue::Total, 0, OvertimeMode::Draw, streakorder::ByCurrent);
        QCOMPARE(rows[0].team, u"Tým 7"_qs);
        QCOMPARE(rows[1].team + u' ' + rows[1].longest, u"Tým 4 7"_qs);
        QCOMPARE(rows[2].team + u' ' + rows[2].longest, u"Č. Budějovice 5"_qs);
        QCOMPARE(rows[2].pos, QString()); // equal current streaks share a position whatever the longest
        QCOMPARE(rows[3].pos, u"4."_qs);
    }

    void alphabetical()
    {
        const auto rows = computeStreaks(fixture::season({}), totals({{14, u"AAAA"_qs}}), venue::Total, 0,
                                         OvertimeMode::Draw, streakorder::Alphabetical);
        for (int i = 0; i < kTeams; ++i) {
            QCOMPARE(rows[i].pos, u"-."_qs);
            QCOMPARE(rows[i].team, fixture::season({}).TymPodleCisla(i + 1));
        }
    }

    void outcomeHistory()
    {
        // Team 1 plays at home in odd rounds and away in even ones.
        const SeasonStore season = fixture::season(
            {{1, 1, u"3:0"_qs}, {2, 1, u"4:1"_qs}, {3, 1, u"2:3p"_qs}, {4, 1, u"2:3n"_qs}, {5, 1, u"1:1p"_qs}});
        const OutcomeHistory serie = buildSerie(season);
        QCOMPARE(serie[0][0], u"ADC"_qs);
        QCOMPARE(serie[1][0], u"EB"_qs);
        QCOMPARE(serie[2][0], u"AEDBC"_qs);
        QCOMPARE(serie[2][1], u"EABDC"_qs);
        QCOMPARE(buildSerie(fixture::season({{52, 7, u"3:0"_qs}}))[2][13], u"A"_qs); // last round, last slot
    }

    void crossCells()
    {
        // Team 1 hosts team 2 in rounds 1, 3, 5, …; team 3 hosts team 4 in even rounds.
        const SeasonStore season = fixture::season(
            {{1, 1, u"3:2"_qs}, {5, 1, u"1:0"_qs}, {2, 2, u"2:2p"_qs}, {3, 3, u"4:1"_qs}, {9, 3, u"1:2"_qs}});
        const CrossTable cells = crossTable(season);
        QCOMPARE(cells[0][1], u"3:2\r\n\r\n1:0"_qs + QString(u"\r\n"_qs).repeated(23));
        QCOMPARE(cells[3][2], u"2:2p"_qs + QString(u"\r\n"_qs).repeated(25));
        QCOMPARE(cells[1][0], QString()); // every meeting at team 2 unplayed
        QCOMPARE(cells[0][0], QString());
        // Round 1 unplayed: the cell starts with the later result itself, not with a line break.
        QVERIFY(cells[4][5].startsWith(u"4:1\r\n\r\n\r\n1:2\r\n"_qs));
    }
};

QTEST_APPLESS_MAIN(tst_streaks)
#include "tst_streaks.moc"
