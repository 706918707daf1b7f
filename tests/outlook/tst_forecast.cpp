// SPDX-License-Identifier: MIT
#include "fixture/calibration.h"
#include "fixture/league.h"
#include "outlook/forecast.h"
#include "standings/aggregation.h"
#include "standings/ranking.h"
#include "standings/tiebreak.h"

#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

class tst_forecast final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Before any match the priors alone: 3.0 and 2.5 goals, every team average, 55 % of extra time at home.
    void priorsAlone()
    {
        const GoalModel m = fitGoalModel(fixture::season());
        QCOMPARE(m.home, 3.0);
        QCOMPARE(m.away, 2.5);
        QCOMPARE(m.overtimeHomeWins, 0.55);
        for (int t = 0; t < kTeams; ++t) {
            QCOMPARE(m.attack[t], 1.0);
            QCOMPARE(m.defence[t], 1.0);
        }
        // One round played, one overtime win at home: the rates move by the round's goals.
        SeasonStore s = fixture::season();
        for (int m2 = 1; m2 <= kSlots; ++m2) // the last round's matches count as well
            s.match(m2, m2 == 1 ? kRounds : 1).result = m2 == 1 ? u"3:2p"_s : u"4:1"_s;
        const GoalModel one = fitGoalModel(s);
        QCOMPARE(one.home, (3 + 6 * 4 + 7 * 3.0) / 14);
        QCOMPARE(one.away, (2 + 6 * 1 + 7 * 2.5) / 14);
        QCOMPARE(one.overtimeHomeWins, (1 + 5 * 0.55) / 6);
    }

    void sharesAddUp_data()
    {
        QTest::addColumn<int>("played");
        QTest::addRow("early") << 3;
        QTest::addRow("round 45") << 45;
        QTest::addRow("one round left") << 51;
    }

    // Every team ends somewhere and every place is taken, whatever the threads.
    void sharesAddUp()
    {
        QFETCH(int, played);
        const SeasonStore s = fixture::playedUpTo(played);
        const Forecast one = simulateSeason(s, 200, 7, 1), two = simulateSeason(s, 200, 7, 2);
        QVERIFY(one.places == two.places);
        QVERIFY(one.points == two.points);
        // Without the key matches' tallies, the same seasons.
        const Forecast lean = simulateSeason(s, 200, 7, 2, nullptr, KeyMatchTallies::Skipped);
        QVERIFY(lean.places == one.places && lean.points == one.points);
        QCOMPARE(lean.matches.empty() ? 0 : lean.matches[0].homeWins,
                 one.matches.empty() ? 0 : one.matches[0].homeWins);
        // The tallies only where asked for.
        const auto tallied = [](const Forecast& f) {
            std::uint64_t sum = 0;
            for (const SimulatedMatch& m : f.matches)
                for (const auto& team : m.aboveIfHomeWins)
                    sum += team[0];
            return sum;
        };
        QCOMPARE(tallied(lean), std::uint64_t{0});
        QVERIFY(tallied(one) > 0 || one.matches.empty());
        for (int i = 0; i < kTeams; ++i) {
            std::uint64_t row = 0, column = 0;
            for (int j = 0; j < kTeams; ++j) {
                row += one.places[i][j];
                column += one.places[j][i];
            }
            QCOMPARE(row, 200 * kShareUnit);
            QCOMPARE(column, 200 * kShareUnit);
        }
        QVERIFY(!(simulateSeason(s, 200, 8, 2).places == one.places) || played == 51);
    }

    // One match left: the home side wins as often as the two Poisson means and the extra-time share
    // say; every key match splits a team's share into the shares after either result.
    void lastMatchByHand()
    {
        SeasonStore s = fixture::playedUpTo(kRounds);
        s.match(3, kRounds).result.clear();
        const Match& open = s.match(3, kRounds);
        const GoalModel m = fitGoalModel(s);
        const auto i = static_cast<std::size_t>(open.home - 1), j = static_cast<std::size_t>(open.away - 1);
        const double x = m.home * m.attack[i] * m.defence[j], y = m.away * m.attack[j] * m.defence[i];
        double homeWins = 0;
        for (int a = 0; a < 30; ++a) {
            for (int b = 0; b < 30; ++b) {
                const double p =
                    std::exp(-x - y) * std::pow(x, a) * std::pow(y, b) / std::tgamma(a + 1) / std::tgamma(b + 1);
                homeWins += a > b ? p : a == b ? p * m.overtimeHomeWins : 0;
            }
        }
        // The share within five standard errors: extra time given the wrong way is off by more than 0.02.
        const int n = 100000;
        const Forecast f = simulateSeason(s, n, 3, 2);
        QCOMPARE(f.matches.size(), std::size_t(1));
        QVERIFY2(std::abs(double(f.matches[0].homeWins) / n - homeWins) < 0.008,
                 qPrintable(u"%1 simulated, %2 exact"_s.arg(double(f.matches[0].homeWins) / n).arg(homeWins)));
        for (int team = 1; team <= kTeams; ++team) {
            for (const KeyMatch& k : keyMatches(f, team, 0)) {
                const double w = double(f.matches[0].homeWins) / n;
                QVERIFY(std::abs(k.ifHomeWins * w + k.ifAwayWins * (1 - w) - f.lineShare(team, 0)) < 1e-9);
            }
        }
        // One simulated season shows one outcome of the match only: its weight cannot be told.
        QVERIFY(keyMatches(simulateSeason(s, 1, 3, 1), 1, 0).isEmpty());
    }

    // A key match of a team that cannot reach the line says 0 either way: the match cannot help it.
    void keyMatchesOfATeamWithoutHope()
    {
        SeasonStore s = fixture::playedUpTo(50);
        s.HR1 = 1;
        const Forecast f = simulateSeason(s, 300, 5, 2);
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        const QList<PlacedTeam> order = orderByPoints(s, stats, venue::Total, RankingRules::Final, 1, kRounds);
        const int last = order.last().team;
        QCOMPARE(f.lineShare(last, 0), 0.0);
        const ViewTable v = keyMatchesView(s, f, last, 0);
        QVERIFY(!v.rows.isEmpty());
        for (const QStringList& row : v.rows)
            QCOMPARE(row.mid(2), (QStringList{u"0"_s, u"0"_s}));
    }

    void gammaDraws_data()
    {
        QTest::addColumn<double>("shape");
        QTest::addRow("below one") << 0.4;
        QTest::addRow("one") << 1.0;
        QTest::addRow("the prior of five matches") << 13.75;
        QTest::addRow("a season's goals") << 300.0;
    }

    // A team's strength drawn from its posterior: Gamma(shape, 1) has mean and variance both the shape. The mirrored
    // draw from the same stream is as fair alone, and from a shape of three it falls as far the other way.
    void gammaDraws()
    {
        QFETCH(double, shape);
        RandomStream random(static_cast<std::uint64_t>(shape * 100));
        const int n = 200000;
        std::array<double, 2> sum{}, squares{};
        double products = 0;
        for (int i = 0; i < n; ++i) {
            RandomStream same = random;
            const std::array<double, 2> x{gammaDraw(shape, random), GammaDraw(shape)(same, -1)};
            for (std::size_t k = 0; k < 2; ++k) {
                QVERIFY(x[k] >= 0);
                sum[k] += x[k], squares[k] += x[k] * x[k];
            }
            products += (x[0] - shape) * (x[1] - shape);
        }
        for (std::size_t k = 0; k < 2; ++k) {
            const double mean = sum[k] / n, variance = squares[k] / n - mean * mean;
            QVERIFY2(std::abs(mean - shape) < 4 * std::sqrt(shape / n), qPrintable(QString::number(mean)));
            QVERIFY2(std::abs(variance / shape - 1) < 0.03, qPrintable(QString::number(variance)));
        }
        const double correlation = products / n / shape;
        QVERIFY2(shape < 3 ? correlation > 0.99 : correlation < -0.95, qPrintable(QString::number(correlation)));
    }

    // Seasons played from the model's own prior and cut at a quarter, a half and three quarters: the final
    // place falls around the expected place as widely as the shares say, and where they say. Shares made
    // with each team's strength fixed at its estimate are a third too sure and fail.
    void calibratedOnItsOwnPrior()
    {
        const std::array<calibration::Tally, 3> cuts = calibration::calibrate(8, 4, 400, 200, 11);
        for (const calibration::Tally& t : cuts) {
            const QString said = u"ratio %1, χ² %2, the central 80 % holds %3 for %4"_s.arg(t.varianceRatio())
                                     .arg(t.chiSquared())
                                     .arg(t.coverage())
                                     .arg(t.statedCoverage());
            QVERIFY2(std::abs(t.varianceRatio() - 1) < 0.15, qPrintable(said));
            QVERIFY2(t.chiSquared() < 27.9, qPrintable(said)); // χ² of nine degrees at 0.1 %
        }
    }

    // The simulation scores by the league's rules: 3-2-1-0 and 2-1-0 hand out the same points every match;
    // with draws and no overtime a level game stays a draw and hands out a point less than a win under 3-1-0;
    // 2-2-1-0 gives the overtime loser a point more.
    void rulesInTheSimulation()
    {
        const int open = 26 * kSlots, seasons = 400;
        for (const NamedRules& system : usualRules()) {
            SeasonStore s = fixture::playedUpTo(kRounds - 26);
            s.rules = system.rules;
            for (int r = 1; r <= kRounds - 26; ++r)
                for (int m = 1; m <= kSlots; ++m) // results every system allows
                    s.match(m, r).result = (m + r) % 2 ? u"4:1"_s : u"1:3"_s;
            const TeamStats stats = DataProTabulku(s, 1, kRounds);
            double played = 0, total = 0;
            for (int t = 1; t <= kTeams; ++t)
                played += stats(Stat::PTS, venue::Total, t);
            const Forecast f = simulateSeason(s, seasons, 3, 2);
            for (int t = 1; t <= kTeams; ++t)
                total += f.expectedPoints(t);
            const double perMatch = (total - played) / open;
            const std::array<int, 5>& p = system.rules.points;
            const QString said = system.name + u": "_s + QString::number(perMatch);
            if (system.rules == LeagueRules{} || p == std::array<int, 5>{3, 2, 0, 1, 0})
                QVERIFY2(std::abs(perMatch - 3) < 1e-9, qPrintable(said)); // level games go to overtime
            else if (p[1] == 0 && p[2] == 1 && p[0] == 2)
                QVERIFY2(std::abs(perMatch - 2) < 1e-9, qPrintable(said));
            else if (p[0] == 3) // 3-1-0: a draw in about every fifth game
                QVERIFY2(perMatch > 2.6 && perMatch < 2.9, qPrintable(said));
            else // 2-2-1-0: an overtime in about every fifth game
                QVERIFY2(perMatch > 2.1 && perMatch < 2.4, qPrintable(said));
            // A key match's shares are shares of the seasons its home team won and of the others, a draw among
            // the others as in the match's own tally.
            for (int t = 1; t <= kTeams; ++t)
                for (const KeyMatch& k : keyMatches(f, t, 0))
                    QVERIFY2(k.ifHomeWins >= 0 && k.ifHomeWins <= 1 && k.ifAwayWins >= 0 && k.ifAwayWins <= 1,
                             qPrintable(said));
        }
    }

    // A team that has scored twenty goals a game: its means go past the goal tables' last, which takes them all,
    // and it wins nearly every game left.
    void meansBeyondTheTables()
    {
        SeasonStore s = fixture::playedUpTo(40);
        for (int r = 1; r <= 40; ++r)
            for (int m = 1; m <= kSlots; ++m)
                if (Match& g = s.match(m, r); g.home == 1 || g.away == 1)
                    g.result = g.home == 1 ? u"20:0"_s : u"0:20"_s;
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        int left = 0;
        for (int r = 41; r <= kRounds; ++r)
            for (int m = 1; m <= kSlots; ++m)
                left += s.match(m, r).home == 1 || s.match(m, r).away == 1;
        const Forecast f = simulateSeason(s, 400, 5, 2);
        QVERIFY(f.expectedPoints(1) > stats(Stat::PTS, venue::Total, 1) + 2.99 * left);
        QCOMPARE(f.placeShare(1, 1), 1.0);
    }

    // Two teams far above the rest, the better one a point ahead, their last meeting to play at its rink and their
    // other three even: level only after the guests' win in extra time, which the mutual matches then decide for
    // them, whatever the goals over the season say. So the hosts end first in exactly the seasons they win.
    void mutualMatchesReadTheSimulatedGame()
    {
        SeasonStore s = fixture::playedUpTo(kRounds);
        const TeamStats before = DataProTabulku(s, 1, kRounds);
        int a = 1, b = 1;
        for (int t = 1; t <= kTeams; ++t) {
            a = before.goalDifference(venue::Total, t) > before.goalDifference(venue::Total, a) ? t : a;
            b = before.goalDifference(venue::Total, t) < before.goalDifference(venue::Total, b) ? t : b;
        }
        QList<Match*> meetings;
        for (int r = 1; r <= kRounds; ++r)
            for (int m = 1; m <= kSlots; ++m)
                if (Match& g = s.match(m, r); (g.home == a && g.away == b) || (g.home == b && g.away == a))
                    meetings << &g;
        QCOMPARE(meetings.size(), 4);
        const auto last = std::find_if(meetings.begin(), meetings.end(), [&](const Match* g) { return g->home == a; });
        (*last)->result.clear();
        meetings.erase(last);
        const QStringList even{u"2:1"_s, u"1:2"_s, u"2:2"_s}; // for `a`: a win, a loss, a draw
        for (int i = 0; i < 3; ++i)
            meetings[i]->result =
                meetings[i]->home == a ? even[i] : even[i].split(u':')[1] + u':' + even[i].split(u':')[0];
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        QVERIFY(stats.goalDifference(venue::Total, a) > stats.goalDifference(venue::Total, b) + 2);
        const int pa = stats(Stat::PTS, venue::Total, a), pb = stats(Stat::PTS, venue::Total, b);
        const int top = std::max(pa, pb) + 500;
        s.adjustments = {{a, top + 1 - pa, u"a"_s}, {b, top - pb, u"b"_s}};
        const Forecast f = simulateSeason(s, 3000, 11, 2);
        QCOMPARE(f.matches.size(), std::size_t(1));
        QVERIFY(f.matches[0].homeWins > 1000 && f.matches[0].homeWins < 2900);
        QCOMPARE(f.places[static_cast<std::size_t>(a - 1)][0], f.matches[0].homeWins * kShareUnit);
        QCOMPARE(f.places[static_cast<std::size_t>(b - 1)][0], (3000 - f.matches[0].homeWins) * kShareUnit);
    }

    // Once every match has a result the order is final everywhere: the table's caption and rules, the outlook's
    // rows and places, the play-off's seeding, where teams level on points stand otherwise in the running order.
    void oneOrderAtTheSeasonsEnd()
    {
        std::mt19937_64 random(5);
        const auto teamsOf = [](const QList<PlacedTeam>& order) {
            QList<int> teams;
            for (const PlacedTeam& p : order)
                teams << p.team;
            return teams;
        };
        SeasonStore s;
        QList<int> running, final;
        do {
            s = calibration::playedSeason(6, 1, random);
            const TeamStats stats = DataProTabulku(s, 1, s.rounds());
            running = teamsOf(orderByPoints(s, stats, venue::Total, RankingRules::Running, 1, s.rounds()));
            final = teamsOf(orderByPoints(s, stats, venue::Total, RankingRules::Final, 1, s.rounds()));
        } while (running == final);
        QCOMPARE(shownRankingRules(s), RankingRules::Final);
        QCOMPARE(seasonTableCaption(s), u"konečné pořadí"_s);
        const QList<OutlookRow> rows = outlookRows(s, computeOutlook(s, 20, 1, 1));
        const QVarLengthArray<int, kMaxTeams> seeded = finalOrder(s);
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].team, final[i]);
            QCOMPARE(seeded[i], final[i]);
            QVERIFY(rows[i].best <= i + 1 && rows[i].worst >= i + 1);
        }
        s.match(1, s.rounds()).result.clear(); // a match to play: the running order again
        QCOMPARE(shownRankingRules(s), RankingRules::Running);
        QCOMPARE(seasonTableCaption(s), runningTableCaption());
    }

    // Where the rules score a regulation loss above nothing, the points needed are not counted and say so ("?"),
    // never a number; under today's rules they are numbers.
    void neededUnderEverySystem()
    {
        SeasonStore s = fixture::playedUpTo(40);
        for (const int system : {0, 2}) {
            s.rules = system == 0 ? LeagueRules{} : LeagueRules{{3, 2, 1, 1, 1}, true, true};
            const ViewTable v = outlookView(s, computeOutlook(s, 50, 1, 2));
            int numbers = 0, unknown = 0;
            for (const QStringList& row : v.rows)
                for (int k = 0; k < 3; ++k) {
                    const QString needed = row.value(4 + kTeams + 2 * k + 1);
                    numbers += needed.toInt() > 0 ? 1 : 0;
                    unknown += needed == u"?" ? 1 : 0;
                }
            QVERIFY2(system == 0 ? numbers > 0 && unknown == 0 : numbers == 0 && unknown > 0,
                     qPrintable(u"%1 numbers, %2 unknown"_s.arg(numbers).arg(unknown)));
        }
    }

    void shareTexts()
    {
        QCOMPARE((QStringList{shareText(0), shareText(0.004), shareText(0.01), shareText(0.505), shareText(0.996),
                              shareText(1)}),
                 (QStringList{QString(), u"<1"_s, u"1"_s, u"51"_s, u">99"_s, u"100"_s}));
        // In the outlook a place every simulated season gave is still only ">99" where the bounds leave another.
        const OutlookRow row{1, 0, 0, 1, 2, {1.0, 0.0}, {}, {}, {}, {}};
        QCOMPARE(outlookView(fixture::season(), {row}).rows.value(0).mid(4, 2), (QStringList{u">99"_s, QString()}));
    }

    // A season already over: each team has its final place for certain, and its points, adjustments counted.
    void seasonOver()
    {
        SeasonStore s = fixture::playedUpTo(kRounds);
        s.adjustments = {{1, -99, u"licence"_s}, {14, 40, u"kontumace"_s}};
        s.HR3 = 0; // a league without a third line
        const Forecast f = simulateSeason(s, 50, 1, 2);
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        const QList<PlacedTeam> order = orderByPoints(s, stats, venue::Total, RankingRules::Final, 1, kRounds);
        int alone = 0;
        for (int place = 1; place <= kTeams; ++place) {
            const PlacedTeam& p = order[place - 1];
            if (p.sharesPlace || (place < kTeams && order[place].sharesPlace))
                continue;
            ++alone;
            QCOMPARE(f.placeShare(p.team, place), 1.0);
            QCOMPARE(f.expectedPoints(p.team), double(stats(Stat::PTS, venue::Total, p.team)));
        }
        QVERIFY(alone > 0);
        // The view marks each team's place as certain, and only that one, which it names alone.
        const ViewTable v = outlookView(s, computeOutlook(s, 50, 1, 2));
        for (const QStringList& row : v.rows) {
            QCOMPARE(row.mid(4, kTeams).count(u"jistě"_s), 1);
            QCOMPARE(row.mid(4, kTeams).count(QString()), kTeams - 1); // no share beside it
            QCOMPARE(row[3], v.header[4 + row.mid(4, kTeams).indexOf(u"jistě"_s)]);
        }
        const QList<OutlookRow> rows = outlookRows(s, computeOutlook(s, 50, 1, 2));
        QCOMPARE(rows.value(0).lines.size(), 2);
        QCOMPARE(outlookNote(f), u"Základní část je dohraná: místa jsou konečná, v pořadí podle konečných pravidel."_s);
        for (const OutlookRow& r : rows)
            for (const OutlookLine& l : r.lines) // out means no number of points helps, as before the end
                QCOMPARE(l.needed, l.out ? kNeverSure : 0);
        for (const PlaceBounds& b : placeBounds(s, true))
            QCOMPARE(b.needed[2], 0); // a line the league does not draw asks for nothing
    }

    // Every match 0:0: fourteen teams share every place, and nothing may look more certain than that.
    void finishedWithEveryTeamLevel()
    {
        SeasonStore s = fixture::playedUpTo(kRounds);
        for (int r = 1; r <= kRounds; ++r)
            for (int m = 1; m <= kSlots; ++m)
                s.match(m, r).result = u"0:0p"_s;
        const Outlook outlook = computeOutlook(s, 200, 1, 2);
        const ViewTable v = outlookView(s, outlookRows(s, outlook));
        for (const QStringList& row : v.rows) {
            QCOMPARE(row[3], u"1.–14."_s);
            QVERIFY2(!row.contains(u"jistě"_s) && !row.contains(u"nelze"_s), qPrintable(row.join(u'|')));
            QCOMPARE(row.last(), u"–"_s); // no points left to take
        }
    }
};

QTEST_GUILESS_MAIN(tst_forecast)
#include "tst_forecast.moc"
