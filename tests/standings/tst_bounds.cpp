// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "season/newleague.h"
#include "standings/aggregation.h"
#include "standings/bounds.h"

#include <QTest>
#include <numeric>
#include <random>

Q_DECLARE_METATYPE(LeagueRules)

using namespace Qt::StringLiterals;

namespace {

// Every completion of the unplayed matches, tried one by one: the answer the solver must give.
SeasonBounds bruteForce(const SeasonStore& season)
{
    const int teams = season.teams();
    const TeamStats stats = DataProTabulku(season, 1, season.rounds());
    std::array<int, kMaxTeams + 1> now{};
    bool draws = false;
    for (int t = 1; t <= teams; ++t) {
        now[t] = stats(Stat::PTS, venue::Total, t);
        draws = draws || stats(Stat::T, venue::Total, t) > 0;
    }
    QList<std::pair<int, int>> left;
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m)
            if (season.match(m, r).result.isEmpty())
                left.append({season.match(m, r).home, season.match(m, r).away});
    // Today's rules allow a draw to come once the season has had one; other rules say what may come.
    QList<std::pair<int, int>> outcomes =
        QList<std::pair<int, int>>{{3, 0}, {2, 1}, {1, 2}, {0, 3}, {1, 1}}.mid(0, draws ? 5 : 4);
    const LeagueRules& rules = season.rules;
    if (!(rules == LeagueRules{})) {
        using enum OutcomeClass;
        outcomes.clear();
        for (const OutcomeClass c : {A, B, C, D, E})
            if ((rules.overtime || (c != B && c != D)) && (rules.draws || c != C))
                outcomes.append(
                    {rules.pointsOf(c), rules.pointsOf(static_cast<OutcomeClass>(4 - static_cast<int>(c)))});
    }
    int perMatch = 0;
    for (const auto& [h, a] : outcomes)
        perMatch = std::max(perMatch, h);
    SeasonBounds b(teams, {teams, 1, {}});
    std::array<std::array<int, 3>, kMaxTeams> mostWhileBelow; // per team and line, -1: never below
    mostWhileBelow.fill({-1, -1, -1});
    const std::array<int, 3> lines = dividingLines(season);
    std::vector<int> choice(static_cast<std::size_t>(left.size()), 0);
    for (;;) {
        std::array<int, kMaxTeams + 1> points = now, own{};
        for (qsizetype i = 0; i < left.size(); ++i) {
            const auto [h, a] = outcomes[choice[static_cast<std::size_t>(i)]];
            points[left[i].first] += h, own[left[i].first] += h;
            points[left[i].second] += a, own[left[i].second] += a;
        }
        for (int t = 1; t <= teams; ++t) {
            int above = 0, levelOrAbove = 0;
            for (int u = 1; u <= teams; ++u) {
                above += u != t && points[u] > points[t];
                levelOrAbove += u != t && points[u] >= points[t];
            }
            PlaceBounds& pb = b[static_cast<std::size_t>(t - 1)];
            pb.best = std::min(pb.best, 1 + above);
            pb.worst = std::max(pb.worst, 1 + levelOrAbove);
            for (std::size_t k = 0; k < 3; ++k)
                if (lines[k] > 0 && levelOrAbove >= lines[k])
                    mostWhileBelow[static_cast<std::size_t>(t - 1)][k] =
                        std::max(mostWhileBelow[static_cast<std::size_t>(t - 1)][k], own[t]);
        }
        qsizetype i = 0;
        while (i < left.size() && ++choice[static_cast<std::size_t>(i)] == outcomes.size())
            choice[static_cast<std::size_t>(i++)] = 0;
        if (i == left.size())
            break;
    }
    for (int t = 1; t <= teams; ++t) {
        int games = 0;
        for (const auto& [h, a] : left)
            games += h == t || a == t;
        for (std::size_t k = 0; k < 3; ++k) {
            const int most = mostWhileBelow[static_cast<std::size_t>(t - 1)][k];
            b[static_cast<std::size_t>(t - 1)].needed[k] = lines[k] <= 0              ? 0
                                                           : most < 0                 ? 0
                                                           : most >= perMatch * games ? kNeverSure
                                                                                      : most + 1;
        }
    }
    return b;
}

QString describe(const SeasonBounds& b)
{
    QStringList teams;
    for (const PlaceBounds& t : b)
        teams << u"%1-%2 (%3 %4 %5)"_s.arg(t.best).arg(t.worst).arg(t.needed[0]).arg(t.needed[1]).arg(t.needed[2]);
    return teams.join(u", ");
}

// The lines each team is sure of (+) or out of (-), as lineMarks gives them or as bounds imply them.
QString describe(const QList<LineMarks>& marks)
{
    QString text;
    for (const LineMarks& m : marks)
        for (std::size_t k = 0; k < 3; ++k)
            text += m.clinched[k] ? u'+' : m.out[k] ? u'-' : u'.';
    return text;
}

QList<LineMarks> marksOf(const SeasonBounds& b, const SeasonStore& season)
{
    QList<LineMarks> marks(b.size());
    for (qsizetype t = 0; t < marks.size(); ++t)
        for (std::size_t k = 0; k < 3; ++k) {
            marks[t].clinched[k] = b[t].clinched(dividingLines(season)[k]);
            marks[t].out[k] = b[t].out(dividingLines(season)[k]);
        }
    return marks;
}

} // namespace

class tst_bounds final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void againstEveryCompletion_data()
    {
        QTest::addColumn<int>("played");       // rounds of the bundled league left as played
        QTest::addColumn<int>("alsoOpen");     // matches of round `played` left open as well
        QTest::addColumn<bool>("withDraw");    // a draw in round 1 allows draws
        QTest::addColumn<QList<int>>("lines"); // HR1..HR3; the league's own are 8, 10, 13
        QTest::addRow("last round") << 51 << 0 << false << QList<int>{8, 10, 13};
        QTest::addRow("last round and one more") << 51 << 1 << false << QList<int>{8, 10, 13};
        QTest::addRow("two rounds' worth, with a draw") << 51 << 0 << true << QList<int>{8, 10, 13};
        QTest::addRow("a title race") << 51 << 1 << false << QList<int>{1, 2, 3};
        QTest::addRow("a title race, with a draw") << 51 << 1 << true << QList<int>{1, 2, 3};
        QTest::addRow("the bottom, with a draw") << 51 << 1 << true << QList<int>{12, 13, 0};
    }

    void againstEveryCompletion()
    {
        QFETCH(int, played);
        QFETCH(int, alsoOpen);
        QFETCH(bool, withDraw);
        QFETCH(QList<int>, lines);
        SeasonStore s = fixture::playedUpTo(played, alsoOpen);
        s.HR1 = lines[0], s.HR2 = lines[1], s.HR3 = lines[2];
        if (withDraw)
            s.match(1, 1).result = u"2:2"_s;
        const SeasonBounds exact = bruteForce(s);
        QCOMPARE(describe(placeBounds(s, true)), describe(exact));
        QCOMPARE(describe(lineMarks(s)), describe(marksOf(exact, s)));
    }

    // A draw keeps two chasers level with the leader where any other result lifts one of them above.
    void drawKeepsTwoLevel()
    {
        SeasonStore s = fixture::playedUpTo(kRounds, 1);
        s.match(2, 1).result = u"2:2"_s; // the league has had a draw
        const Match open = s.match(1, kRounds);
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        int leader = 0;
        for (int t = 1; t <= kTeams; ++t)
            if (t != open.home && t != open.away &&
                (leader == 0 || stats(Stat::PTS, venue::Total, t) > stats(Stat::PTS, venue::Total, leader)))
                leader = t;
        const int points = stats(Stat::PTS, venue::Total, leader);
        for (const int chaser : {open.home, open.away})
            s.adjustments.append({chaser, points - 1 - stats(Stat::PTS, venue::Total, chaser), u"x"_s});
        QCOMPARE(placeBounds(s, false)[static_cast<std::size_t>(leader - 1)].best, 1);
        QCOMPARE(describe(placeBounds(s, true)), describe(bruteForce(s)));
    }

    // Three chasers a point behind the leader play each other once more: one of them must pass it, and draws
    // between the other two keep them level with it, where any other result lifts a second one above.
    void drawsKeepTwoOfThreeLevel()
    {
        SeasonStore s = fixture::playedUpTo(kRounds);
        s.match(2, 1).result = u"2:2"_s; // the league has had a draw
        const std::array<int, 3> chasers{2, 5, 9};
        for (std::size_t i = 0; i < 3; ++i) {
            const int a = chasers[i], b = chasers[(i + 1) % 3];
            Match* last = nullptr;
            for (int r = 1; r <= kRounds; ++r)
                for (int m = 1; m <= kSlots; ++m)
                    if (Match& g = s.match(m, r); (g.home == a && g.away == b) || (g.home == b && g.away == a))
                        last = &g;
            last->result.clear();
        }
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        const int leader = 1, top = 1000;
        for (int t = 1; t <= kTeams; ++t) {
            const bool chaser = std::find(chasers.begin(), chasers.end(), t) != chasers.end();
            const int target = t == leader ? top : chaser ? top - 1 : top - 100 - t;
            s.adjustments.append({t, target - stats(Stat::PTS, venue::Total, t), u"x"_s});
        }
        QCOMPARE(placeBounds(s, false)[static_cast<std::size_t>(leader - 1)].best, 2);
        QCOMPARE(describe(placeBounds(s, true)), describe(bruteForce(s)));
    }

    // Of the two teams likeliest to pass, who meet, only one can; a third can too: the first guess
    // fails, and the thorough question must find the other pair.
    void aThirdChaserPasses()
    {
        SeasonStore s = fixture::playedUpTo(kRounds, 0);
        s.HR1 = 2, s.HR2 = 0, s.HR3 = 0;
        std::array<int, kSlots> bySize{};
        std::iota(bySize.begin(), bySize.end(), 1);
        const auto larger = [&](int slot) {
            return std::max(s.match(slot, kRounds).home, s.match(slot, kRounds).away);
        };
        std::sort(bySize.begin(), bySize.end(), [&](int a, int b) { return larger(a) < larger(b); });
        const Match meeting = s.match(bySize[0], kRounds), third = s.match(bySize[kSlots - 1], kRounds),
                    own = s.match(bySize[1], kRounds);
        std::array<int, kTeams + 1> wanted;
        wanted.fill(100);
        wanted[own.home] = 200; // the team asked about; chasers at 198 can reach 201 at most
        for (const int chaser : {meeting.home, meeting.away, std::max(third.home, third.away)})
            wanted[chaser] = 198;
        for (const int slot : {bySize[0], bySize[1], bySize[kSlots - 1]})
            s.match(slot, kRounds).result.clear();
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        for (int t = 1; t <= kTeams; ++t)
            s.adjustments.append({t, wanted[t] - stats(Stat::PTS, venue::Total, t), u"x"_s});
        QCOMPARE(placeBounds(s, true)[static_cast<std::size_t>(own.home - 1)].needed[0], 2);
        QCOMPARE(describe(placeBounds(s, true)), describe(bruteForce(s)));
    }

    // The one match left is the team's against its chaser: the chaser's points from it are what the team
    // leaves, never counted twice.
    void chaserPlaysTheTeam()
    {
        SeasonStore s = fixture::playedUpTo(kRounds, 0);
        s.HR1 = 1, s.HR2 = 0, s.HR3 = 0;
        const Match last = s.match(1, kRounds);
        s.match(1, kRounds).result.clear();
        const int team = std::max(last.home, last.away), chaser = std::min(last.home, last.away);
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        for (int t = 1; t <= kTeams; ++t)
            s.adjustments.append({t,
                                  (t == team     ? 100
                                   : t == chaser ? 98
                                                 : 50) -
                                      stats(Stat::PTS, venue::Total, t),
                                  u"x"_s});
        QCOMPARE(placeBounds(s, true)[static_cast<std::size_t>(team - 1)].needed[0], 1);
        QCOMPARE(describe(placeBounds(s, true)), describe(bruteForce(s)));
    }

    // Two chasers level with the team's best total meet: one of them must pass it, the other need not.
    void levelChasersMeet()
    {
        SeasonStore s = fixture::playedUpTo(kRounds, 0);
        const Match own = s.match(1, kRounds), meeting = s.match(2, kRounds);
        s.match(1, kRounds).result.clear();
        s.match(2, kRounds).result.clear();
        const TeamStats stats = DataProTabulku(s, 1, kRounds);
        for (int t = 1; t <= kTeams; ++t)
            s.adjustments.append({t,
                                  (t == own.home                            ? 100
                                   : t == meeting.home || t == meeting.away ? 103
                                                                            : 50) -
                                      stats(Stat::PTS, venue::Total, t),
                                  u"x"_s});
        QCOMPARE(placeBounds(s, true)[static_cast<std::size_t>(own.home - 1)].best, 2);
        QCOMPARE(describe(placeBounds(s, true)), describe(bruteForce(s)));
    }

    // Small leagues with a long way to go: the points needed searched over a wide range, against every completion.
    void smallLeaguesAgainstEveryCompletion()
    {
        for (const auto& [teams, played] : {std::pair{4, 3}, std::pair{5, 7}, std::pair{3, 1}, std::pair{6, 8}}) {
            const int rounds = 2 * (teams + teams % 2 - 1);
            SeasonStore s(teams, rounds);
            const QList<RoundPairings> pairs = roundRobinSchedule(teams, 2);
            for (int r = 1; r <= rounds; ++r)
                for (int m = 1; m <= s.slots(); ++m)
                    s.match(m, r) = {pairs[r - 1][m - 1].first, pairs[r - 1][m - 1].second,
                                     r > played    ? QString()
                                     : (r + m) % 3 ? u"4:1"_s
                                                   : u"1:2p"_s};
            for (int line = 1; line < teams; ++line) {
                s.HR1 = line, s.HR2 = teams - line, s.HR3 = teams - 1;
                QCOMPARE(describe(placeBounds(s, true)), describe(bruteForce(s)));
            }
        }
    }

    // Bounds and points needed do not depend on how the teams are numbered: a league of 16 early in its season,
    // too large for every completion, against the same league numbered backwards.
    void numberingChangesNothing()
    {
        const int teams = 16;
        const QList<RoundPairings> pairs = roundRobinSchedule(teams, 2);
        SeasonStore s(teams, static_cast<int>(pairs.size())), backwards = s;
        s.HR1 = backwards.HR1 = 5, s.HR2 = backwards.HR2 = 8, s.HR3 = backwards.HR3 = 12;
        std::mt19937 random(7);
        for (int r = 1; r <= s.rounds(); ++r)
            for (int m = 1; m <= s.slots(); ++m) {
                const auto [home, away] = pairs[r - 1][m - 1];
                static const QString results[] = {u"3:1"_s, u"1:3"_s, u"2:2"_s, u"3:2p"_s};
                const QString result = r <= 5 ? results[random() % 4] : QString();
                s.match(m, r) = {home, away, result};
                backwards.match(m, r) = {teams + 1 - home, teams + 1 - away, result};
            }
        const SeasonBounds b = placeBounds(s, true), reversed = placeBounds(backwards, true);
        for (int t = 0; t < teams; ++t)
            QCOMPARE(describe(SeasonBounds{b[t]}), describe(SeasonBounds{reversed[teams - 1 - t]}));
    }

    void everySystemAgainstEveryCompletion_data()
    {
        QTest::addColumn<LeagueRules>("rules");
        QTest::addColumn<bool>("exact");
        for (const NamedRules& named : usualRules())
            QTest::addRow("%s", qPrintable(named.name)) << named.rules << true;
        // A league's own oddities: a regulation loss worth a point, an overtime loss worth more than its win.
        QTest::addRow("1-1-1") << LeagueRules{{3, 2, 1, 1, 1}, true, true} << false;
        QTest::addRow("3-1-2-0") << LeagueRules{{3, 1, 0, 2, 0}, false, true} << false;
    }

    // Under the usual systems the bounds and points needed are exact, whatever totals a match hands out;
    // where the rules score a better result lower only what counting proves is claimed.
    void everySystemAgainstEveryCompletion()
    {
        QFETCH(LeagueRules, rules);
        QFETCH(bool, exact);
        // Two of the leagues numbered backwards: the last pairing of the programs' columns is another one.
        for (const auto& [teams, played, backwards] :
             {std::tuple{4, 4, false}, std::tuple{5, 7, false}, std::tuple{5, 8, true}, std::tuple{6, 8, true}}) {
            const int rounds = 2 * (teams + teams % 2 - 1);
            SeasonStore s(teams, rounds);
            s.rules = rules;
            const QList<RoundPairings> pairs = roundRobinSchedule(teams, 2);
            const QStringList results{u"4:1"_s, rules.overtime ? u"1:2p"_s : u"1:2"_s,
                                      rules.draws ? normaliseResult(u"2:2"_s, rules) : u"0:3"_s};
            for (int r = 1; r <= rounds; ++r)
                for (int m = 1; m <= s.slots(); ++m)
                    s.match(m, r) = {backwards ? teams + 1 - pairs[r - 1][m - 1].first : pairs[r - 1][m - 1].first,
                                     backwards ? teams + 1 - pairs[r - 1][m - 1].second : pairs[r - 1][m - 1].second,
                                     r > played ? QString() : results[(r + 2 * m) % 3]};
            for (int line = 1; line < teams; ++line) {
                s.HR1 = line, s.HR2 = teams - line, s.HR3 = 0;
                const SeasonBounds truth = bruteForce(s);
                // What is claimed holds: a place no better than the truth, points needed exact or not counted.
                const auto sound = [&](const SeasonBounds& bounds) {
                    for (qsizetype t = 0; t < bounds.size(); ++t) {
                        QVERIFY(bounds[t].best <= truth[t].best && bounds[t].worst >= truth[t].worst);
                        for (std::size_t k = 0; k < 2; ++k)
                            QVERIFY(bounds[t].needed[k] == truth[t].needed[k] || bounds[t].needed[k] == kNotCounted);
                    }
                };
                // No time at all for the programs: what counting proves, and under the usual systems what the
                // networks and the completions tried before any program settle, in leagues this small all.
                const SeasonBounds quick = placeBounds(s, true, nullptr, {{}, {}, {}});
                sound(quick);
                if (!exact) {
                    sound(placeBounds(s, true));
                    continue;
                }
                QCOMPARE(describe(quick), describe(truth));
                QCOMPARE(describe(placeBounds(s, true)), describe(truth));
                // Every group's program out of time at first, and asked again once the others are.
                const BoundsBudget askedAgain{std::chrono::hours(1), {}, std::chrono::hours(1)};
                QCOMPARE(describe(placeBounds(s, true, nullptr, askedAgain)), describe(truth));
                QCOMPARE(describe(lineMarks(s)), describe(marksOf(truth, s)));
            }
        }
    }

    // Where the totals differ counting still settles what points settle: a leader no one can reach is first for
    // sure, and the last, whom everyone has passed, last.
    void countingSettlesTheLeader()
    {
        SeasonStore s(4, 6);
        s.rules = usualRules()[2].rules; // 2-2-1-0
        s.HR1 = 1, s.HR2 = 3;
        const QList<RoundPairings> pairs = roundRobinSchedule(4, 2);
        for (int r = 1; r <= 6; ++r)
            for (int m = 1; m <= 2; ++m) {
                const auto [h, a] = pairs[r - 1][m - 1];
                // Team 1 wins all; the others win away, and team 4 loses everything it can.
                const bool homeWins = h == 1 || (a == 4 && h != 1);
                s.match(m, r) = {h, a, r == 6 ? QString() : homeWins ? u"4:1"_s : u"1:4"_s};
            }
        const SeasonBounds b = placeBounds(s, true), exact = bruteForce(s);
        QCOMPARE(b[0].worst, 1);
        QCOMPARE(b[0].best, 1);
        QVERIFY(b[0].clinched(1));
        for (qsizetype t = 0; t < b.size(); ++t)
            QVERIFY(b[t].best <= exact[t].best && b[t].worst >= exact[t].worst);
    }

    // Where the rules score a better result lower, a team that can at best draw level on points with one above
    // it may still pass it on the tie-break: counting places neither below the other.
    void countingLeavesTheLevelAbove()
    {
        SeasonStore s(4, 6);
        s.rules = LeagueRules{{3, 2, 1, 1, 1}, true, true}; // a regulation loss worth a point
        const QList<RoundPairings> pairs = roundRobinSchedule(4, 2);
        for (int r = 1; r <= 6; ++r)
            for (int m = 1; m <= 2; ++m) {
                const auto [home, away] = pairs[r - 1][m - 1];
                s.match(m, r) = {home, away, r == 6 && (home == 4 || away == 4) ? QString() : u"4:1"_s};
            }
        // Team 1 three points above team 4, whose one match left is worth three; teams 2 and 3 far below.
        const TeamStats stats = DataProTabulku(s, 1, s.rounds());
        const int fourth = stats(Stat::PTS, venue::Total, 4);
        for (int t = 1; t <= 3; ++t)
            s.adjustments.append({t, fourth + (t == 1 ? 3 : -5) - stats(Stat::PTS, venue::Total, t), u"úprava"_s});
        QCOMPARE(bruteForce(s)[3].best, 1);
        QCOMPARE(placeBounds(s, true)[3].best, 1);
        QCOMPARE(bruteForce(s)[0].worst, 2); // and the team above cannot count on staying there
        QCOMPARE(placeBounds(s, true)[0].worst, 2);
        // Teams 1 and 4 stay above team 3 whatever happens: counting says so, if not that team 2 does too.
        QCOMPARE(bruteForce(s)[2].best, 4);
        QCOMPARE(placeBounds(s, true)[2].best, 3);
    }

    // A season without a draw has none to come: two chasers a point behind cannot both end level with
    // the leader, one of them passes it.
    void noDrawToCome()
    {
        SeasonStore s(3, 3);
        const QList<RoundPairings> pairs = roundRobinSchedule(3, 1);
        for (int r = 1; r <= 3; ++r)
            s.match(1, r) = {pairs[r - 1][0].first, pairs[r - 1][0].second, u"2:1"_s};
        const Match& open = s.match(1, 3);
        s.match(1, 3).result.clear();
        const int leader = 6 - open.home - open.away; // the team not in the open match
        const TeamStats now = DataProTabulku(s, 1, 3);
        for (int t = 1; t <= 3; ++t) // 10, 9 and 9 points
            s.adjustments.append({t, (t == leader ? 10 : 9) - now(Stat::PTS, venue::Total, t), u"x"_s});
        s.HR1 = 1;
        QCOMPARE(placeBounds(s, false)[leader - 1].best, 2);
        QCOMPARE(describe(placeBounds(s, true)), describe(bruteForce(s)));
    }

    // Where every match hands out the same points, networks answer every question of a full-sized league
    // within the time a league is given.
    void constantTotalsSettleEverything_data()
    {
        QTest::addColumn<LeagueRules>("rules");
        QTest::addRow("3-2-1-0") << LeagueRules{{3, 2, 0, 1, 0}, false, true};
        QTest::addRow("2-1-0 with draws") << LeagueRules{{2, 0, 1, 0, 0}, true, false};
    }
    void constantTotalsSettleEverything()
    {
        QFETCH(LeagueRules, rules);
        const int teams = 14, rounds = 2 * (teams - 1);
        SeasonStore s(teams, rounds);
        s.rules = rules;
        s.HR1 = 4, s.HR2 = 8, s.HR3 = 12;
        const QList<RoundPairings> pairs = roundRobinSchedule(teams, 2);
        const QStringList results{u"4:1"_s, rules.overtime ? u"1:2p"_s : u"1:2"_s, u"0:3"_s, u"5:2"_s};
        for (int r = 1; r <= rounds; ++r)
            for (int m = 1; m <= s.slots(); ++m)
                s.match(m, r) = {pairs[r - 1][m - 1].first, pairs[r - 1][m - 1].second,
                                 r > 9 ? QString() : results[(r * m + m) % 4]};
        for (const PlaceBounds& b : placeBounds(s, true))
            QVERIFY(std::none_of(b.needed.begin(), b.needed.end(), [](int n) { return n == kNotCounted; }));
    }

    // 3-1-0 leagues where a group's question is one only its program settles: the completions tried first miss it.
    void groupProgramsAgainstEveryCompletion_data()
    {
        QTest::addColumn<int>("teams");
        QTest::addColumn<QStringList>("results"); // the rounds played, in the schedule's order
        QTest::addColumn<QList<int>>("lines");
        // The third team, taking 5 from its last three, cannot be passed by all three others.
        QTest::addRow("no") << 4 << u"1:3 3:1 3:1 1:3 1:3 2:2"_s.split(u' ') << QList<int>{1, 2, 3};
        // Two draws on different matches bring every other team level with the third when it wins twice.
        QTest::addRow("yes") << 5 << u"1:3 3:1 1:3 3:1 3:1 3:1 2:2 1:3 2:2 2:2 1:3 1:3"_s.split(u' ')
                             << QList<int>{1, 2, 4};
    }
    void groupProgramsAgainstEveryCompletion()
    {
        QFETCH(int, teams);
        QFETCH(QStringList, results);
        QFETCH(QList<int>, lines);
        const QList<RoundPairings> pairs = roundRobinSchedule(teams, 2);
        SeasonStore s(teams, static_cast<int>(pairs.size()));
        s.rules = usualRules()[4].rules;
        QCOMPARE(usualRules()[4].rules, (LeagueRules{{3, 0, 1, 0, 0}, true, false}));
        std::tie(s.HR1, s.HR2, s.HR3) = std::tuple{lines[0], lines[1], lines[2]};
        for (int r = 1, played = 0; r <= s.rounds(); ++r)
            for (int m = 1; m <= s.slots(); ++m, ++played)
                s.match(m, r) = {pairs[r - 1][m - 1].first, pairs[r - 1][m - 1].second, results.value(played)};
        const SeasonBounds truth = bruteForce(s);
        QCOMPARE(describe(placeBounds(s, true)), describe(truth));
        const BoundsBudget askedAgain{std::chrono::hours(1), {}, std::chrono::hours(1)};
        QCOMPARE(describe(placeBounds(s, true, nullptr, askedAgain)), describe(truth));
    }

    // Where counting settles most lines and the solver the rest, against the solver alone.
    void lineMarksAgreeWithBounds()
    {
        for (int played : {0, 26, 40, 46, 49, 52}) {
            const SeasonStore s = fixture::playedUpTo(played, 0);
            QCOMPARE(describe(lineMarks(s)), describe(marksOf(placeBounds(s, false), s)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_bounds)
#include "tst_bounds.moc"
