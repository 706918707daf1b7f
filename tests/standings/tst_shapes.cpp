// SPDX-License-Identifier: MIT
// Leagues of every size through the core's views: what holds for 14 teams and 52 rounds holds for any.
#include "fixture/league.h"
#include "lookups/lookups.h"
#include "outlook/forecast.h"
#include "standings/graph.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Matches with a result, and each team's count of them.
struct Played {
    int matches = 0;
    QList<int> byTeam;
};

Played playedOf(const SeasonStore& s)
{
    Played p{0, QList<int>(s.teams())};
    for (int r = 1; r <= s.rounds(); ++r)
        for (int m = 1; m <= s.slots(); ++m)
            if (!s.VYSLEDEK(m, r).isEmpty())
                ++p.matches, ++p.byTeam[s.match(m, r).home - 1], ++p.byTeam[s.match(m, r).away - 1];
    return p;
}

} // namespace

class tst_shapes final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void views_data()
    {
        QTest::addColumn<int>("teams");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("played");
        QTest::addRow("2 teams, 1 round") << 2 << 1 << 1;
        QTest::addRow("3 teams, 30 rounds") << 3 << 30 << 14;
        QTest::addRow("12 teams, 30 rounds") << 12 << 30 << 15;
        QTest::addRow("14 teams, 60 rounds") << 14 << 60 << 31;
        QTest::addRow("15 teams, 60 rounds") << 15 << 60 << 30;
        QTest::addRow("16 teams, 60 rounds") << 16 << 60 << 45;
        QTest::addRow("20 teams, 200 rounds") << 20 << 200 << 150;
    }

    void views()
    {
        QFETCH(int, teams);
        QFETCH(int, rounds);
        QFETCH(int, played);
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(teams),
                                                  fixture::scheduleLines(teams, rounds, played));
        const SeasonStore s = fixture::load(path);
        QCOMPARE(QList<int>({s.teams(), s.rounds(), s.slots()}), QList<int>({teams, rounds, teams / 2}));
        // Written back byte for byte, whatever the shape.
        QCOMPARE(scheduleBytes(s), fixture::contents(scheduleFileFor(path)));

        const Played p = playedOf(s);
        for (int r = 1; r <= rounds; ++r) {
            QList<int> seen(teams + 1);
            for (int m = 1; m <= s.slots(); ++m)
                ++seen[s.match(m, r).home], ++seen[s.match(m, r).away];
            const int resting = teams % 2 ? static_cast<int>(seen.indexOf(0, 1)) : 0;
            QCOMPARE(s.restingTeam(r), resting);
        }

        // The table: every team once, the matches and points of every result counted.
        const Standings st = SpocitatPoradi(s, DataProTabulku(s, 1, rounds), venue::Total, Criterion::Points);
        QCOMPARE(st.rows.size(), teams);
        int games = 0, points = 0;
        QSet<int> listed;
        for (const StandingsRow& row : st.rows) {
            listed.insert(row.team);
            games += row.gp.toInt(), points += row.pts.toInt();
            QCOMPARE(row.gp.toInt(), p.byTeam[row.team - 1]);
        }
        QCOMPARE(listed.size(), teams);
        QCOMPARE(games, 2 * p.matches);
        QCOMPARE(points, 3 * p.matches);
        QVERIFY(st.rows.last().moved.has_value() == (played > 1));

        // The quarters part the season without a gap or an overlap.
        int next = 1;
        for (int q = 1; q <= 4; ++q) {
            const auto [first, last] = quarterRounds(rounds, q);
            QCOMPARE(first, next);
            next = std::max(next, last + 1);
        }
        QCOMPARE(next, rounds + 1);

        // The cross table, the graph and the streaks have a place for every team and round.
        const CrossTable cross = crossTable(s);
        QCOMPARE(cross.size(), teams);
        qsizetype results = 0;
        for (const QStringList& row : cross) {
            QCOMPARE(row.size(), teams);
            for (const QString& cell : row)
                results += cell.split(u"\r\n"_s, Qt::SkipEmptyParts).size();
        }
        QCOMPARE(results, p.matches);
        const GraphData g = computeGraph(s);
        QCOMPARE(g.positions.size(), rounds);
        for (QList<int> order : g.positions) {
            std::sort(order.begin(), order.end());
            QCOMPARE(order.first(), 1);
            QCOMPARE(order.last(), teams);
            QCOMPARE(QSet<int>(order.begin(), order.end()).size(), teams);
        }
        QCOMPARE(g.played, p.byTeam);
        QCOMPARE(computeStreaks(s, buildSerie(s), venue::Total, 0, OvertimeMode::Draw, 1).size(), teams);
        qsizetype rests = 0;
        for (int r = 1; r <= rounds; ++r)
            rests += s.restingTeam(r) == teams;
        QCOMPARE(teamMatchLines(s, teams).size(), rounds - rests);
        QCOMPARE(headToHeadLines(s, 1, teams + 1), QStringList{u"nesprávné zadání"_s});

        // The outlook: an N × N grid whose every row and column holds all seasons, inside the exact bounds.
        const Outlook o = computeOutlook(s, 300, kDefaultSeed, 2);
        QCOMPARE(o.bounds.size(), teams);
        for (int i = 1; i <= teams; ++i) {
            double row = 0, column = 0;
            for (int j = 1; j <= teams; ++j) {
                row += o.forecast.placeShare(i, j), column += o.forecast.placeShare(j, i);
                const PlaceBounds& b = o.bounds[i - 1];
                QVERIFY2(o.forecast.placeShare(i, j) == 0 || (b.best <= j && j <= b.worst),
                         qPrintable(u"team %1 place %2 outside %3–%4"_s.arg(i).arg(j).arg(b.best).arg(b.worst)));
            }
            QVERIFY(qFuzzyCompare(row, 1.0) && qFuzzyCompare(column, 1.0));
        }
        const qsizetype lines =
            std::count_if(o.forecast.lines.begin(), o.forecast.lines.end(), [](int l) { return l > 0; });
        QCOMPARE(outlookView(s, o).header.size(), 4 + teams + 2 * lines);
        // Each key match is a match of the season, whatever the number of teams.
        for (const KeyMatch& k : keyMatches(o.forecast, teams, 0, 1000)) {
            const Match& m = s.match(k.slot, k.round);
            QVERIFY(m.home == k.home && m.away == k.away && m.result.isEmpty());
        }
    }

    // The prior of one round is a round of this league's matches.
    void priorIsOneRound()
    {
        for (int teams : {2, 15, 20}) {
            SeasonStore s(teams, 1);
            for (int t = 1; t <= teams; ++t)
                s.setTeamName(t, u"T%1"_s.arg(t));
            s.match(1, 1) = {1, 2, u"0:1"_s};
            const int m = teams / 2;
            const GoalModel model = fitGoalModel(s);
            QCOMPARE(model.home, (0 + m * 3.0) / (1 + m));
            QCOMPARE(model.away, (1 + m * 2.5) / (1 + m));
        }
    }

    void refusedShapes_data()
    {
        QTest::addColumn<QStringList>("competition");
        QTest::addColumn<QStringList>("schedule");
        QTest::addColumn<QString>("fault");
        const QStringList four = fixture::competitionLines(4), sixteen = fixture::competitionLines(16);
        QTest::addRow("one team") << fixture::competitionLines(1) << fixture::scheduleLines(2, 1, 0)
                                  << "řádek 6: soutěž musí mít alespoň 2 týmy";
        QTest::addRow("21 teams") << QStringList(sixteen + QStringList{u"t21=Navíc"_s})
                                  << fixture::scheduleLines(16, 1, 0) << "řádek 22: číslo týmu musí být od 1 do 20";
        QTest::addRow("HR above N") << QStringList(four + QStringList{u"HR2=5"_s}) << fixture::scheduleLines(4, 2, 0)
                                    << "řádek 10: HR2= musí být následováno číslem od 0 do 4";
        QTest::addRow("16 teams, blocks of 14")
            << sixteen << fixture::scheduleLines(14, 2, 0) << "řádek 18: blok kola 1 má jen 7 z 8 zápasů";
        QStringList beyond = fixture::scheduleLines(4, 1, 0);
        beyond[1] = u"200"_s;
        QTest::addRow("round 200 alone") << four << beyond << "chybí kolo 1.";
        beyond[1] = u"1000"_s;
        QTest::addRow("four digits") << four << beyond << "řádek 2: číslo kola „1000“ není číslo od 1 do 200";
    }

    // Each says the file, the line and the reason; nothing is opened.
    void refusedShapes()
    {
        QFETCH(QStringList, competition);
        QFETCH(QStringList, schedule);
        QFETCH(QString, fault);
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()), competition, schedule);
        const QString error = loadSeason(path, scheduleFileFor(path)).error();
        QVERIFY2(error.contains(fault), qPrintable(error));
    }

    // A line may stand under the last of twenty.
    void lineUnderTwenty()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(20) << u"HR3=20"_s,
                                                  fixture::scheduleLines(20, 2, 0));
        QCOMPARE(fixture::load(path).HR3, 20);
    }
};

QTEST_GUILESS_MAIN(tst_shapes)
#include "tst_shapes.moc"
