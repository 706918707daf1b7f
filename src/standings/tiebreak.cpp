// SPDX-License-Identifier: MIT
#include "tiebreak.h"

#include "season/notation.h"

#include <QVarLengthArray>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

using Key = std::array<int, 3>;

// Stable insertion sort by key, larger first: a group has at most 20 teams and is usually two.
template <typename KeyOf> void sortByKey(Ranked* rows, int n, const KeyOf& keyOf)
{
    for (int i = 1; i < n; ++i) {
        const Ranked row = rows[i];
        const Key k = keyOf(row.team);
        int j = i;
        for (; j > 0 && keyOf(rows[j - 1].team) < k; --j)
            rows[j] = rows[j - 1];
        rows[j] = row;
    }
}

Key goalsKey(const Tally& t)
{
    return {0, t.goalsFor - t.goalsAgainst, t.goalsFor};
}

// Goal difference and goals scored over all the table's matches, then a shared place.
void byGoals(const Tallies& tallies, Ranked* rows, int n)
{
    const auto keyOf = [&](int team) { return goalsKey(tallies[team - 1]); };
    sortByKey(rows, n, keyOf);
    rows[0].by = Decider::None;
    for (int i = 1; i < n; ++i) {
        const Key upper = keyOf(rows[i - 1].team), lower = keyOf(rows[i].team);
        rows[i].by = upper == lower ? Decider::Shared : upper[1] != lower[1] ? Decider::GoalDifference : Decider::Goals;
    }
}

// Whether every two of the group met, and equally often: a mini-table is fair only then.
template <typename Met> bool everyPairMetEqually(const Ranked* rows, int n, const Met& met)
{
    const auto pair = [&](int i, int j) {
        return met(std::min(rows[i].team, rows[j].team), std::max(rows[i].team, rows[j].team));
    };
    const int count = pair(0, 1);
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (count == 0 || pair(i, j) != count)
                return false;
    return true;
}
bool everyPairMetEqually(std::span<const MatchScore> mutual, const PairRanges* byPair, const Ranked* rows, int n)
{
    if (byPair)
        return everyPairMetEqually(rows, n, [&](int a, int b) {
            const auto first = static_cast<std::size_t>(a), second = static_cast<std::size_t>(b);
            return byPair->end[first][second] - byPair->begin[first][second];
        });
    std::array<std::array<int, kMaxTeams + 1>, kMaxTeams + 1> meetings{}; // of every pair: only the group's are read
    for (const MatchScore& m : mutual)
        ++meetings[static_cast<std::size_t>(std::min(m.home, m.away))]
                  [static_cast<std::size_t>(std::max(m.home, m.away))];
    return everyPairMetEqually(
        rows, n, [&](int a, int b) { return meetings[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]; });
}

// A mini-table of the group's own matches, again for every smaller group it leaves level.
void byMutualMatches(const Tallies& tallies, std::span<const MatchScore> mutual, const PairRanges* byPair, Ranked* rows,
                     int n)
{
    Tallies mini(tallies.size());
    const auto add = [&](const MatchScore& m) {
        Tally &home = mini[static_cast<std::size_t>(m.home - 1)], &away = mini[static_cast<std::size_t>(m.away - 1)];
        home.points += m.homePoints, home.goalsFor += m.homeGoals, home.goalsAgainst += m.awayGoals;
        away.points += m.awayPoints, away.goalsFor += m.awayGoals, away.goalsAgainst += m.homeGoals;
    };
    if (!everyPairMetEqually(mutual, byPair, rows, n))
        return byGoals(tallies, rows, n);
    if (byPair) {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j) {
                const auto a = static_cast<std::size_t>(std::min(rows[i].team, rows[j].team)),
                           b = static_cast<std::size_t>(std::max(rows[i].team, rows[j].team));
                for (std::size_t k = byPair->begin[a][b]; k < byPair->end[a][b]; ++k)
                    add(mutual[k]);
            }
    } else {
        unsigned group = 0;
        for (int i = 0; i < n; ++i)
            group |= 1u << rows[i].team;
        for (const MatchScore& m : mutual)
            if (group >> m.home & 1u && group >> m.away & 1u)
                add(m);
    }
    const auto keyOf = [&](int team) { return orderKey(mini[team - 1]); };
    sortByKey(rows, n, keyOf);
    if (keyOf(rows[0].team) == keyOf(rows[n - 1].team))
        return byGoals(tallies, rows, n);
    Key upper{};
    for (int first = 0; first < n;) {
        const Key k = keyOf(rows[first].team);
        int last = first + 1;
        while (last < n && keyOf(rows[last].team) == k)
            ++last;
        if (last - first > 1)
            byMutualMatches(tallies, mutual, byPair, rows + first, last - first);
        Ranked& head = rows[first];
        head.by = first == 0         ? Decider::None
                  : upper[0] != k[0] ? Decider::MutualPoints
                  : upper[1] != k[1] ? Decider::MutualGoalDifference
                                     : Decider::MutualGoals;
        head.upperPoints = upper[0], head.lowerPoints = k[0];
        upper = k;
        first = last;
    }
}

QString reasonText(const Ranked& r)
{
    switch (r.by) {
    case Decider::MutualPoints:
        return u"vzájemné zápasy – body %1:%2"_s.arg(r.upperPoints).arg(r.lowerPoints);
    case Decider::MutualGoalDifference:
        return u"vzájemné zápasy – skóre"_s;
    case Decider::MutualGoals:
        return u"vzájemné zápasy – vstřelené branky"_s;
    case Decider::GoalDifference:
        return u"brankový rozdíl"_s;
    case Decider::Goals:
        return u"vstřelené branky"_s;
    case Decider::None:
    case Decider::Shared:
        break;
    }
    return {};
}

} // namespace

MatchScore scoreOf(const Match& match, const LeagueRules& rules)
{
    const ParsedResult r = ZkoumatVysledek(match.result);
    const auto [home, away] = classify(r);
    return {static_cast<std::int8_t>(match.home),
            static_cast<std::int8_t>(match.away),
            static_cast<std::int8_t>(rules.pointsOf(home)),
            static_cast<std::int8_t>(rules.pointsOf(away)),
            r.HomeGoals,
            r.AwayGoals};
}

void rankByPoints(const Tallies& tallies, std::span<const MatchScore> mutual, RankingRules rules, Ranking& out,
                  const PairRanges* byPair)
{
    const int teams = static_cast<int>(tallies.size());
    out.resize(teams);
    // A team's row is how many teams have more points and how many level ones come before it in team order:
    // counted without a branch, as a simulated season ranks its table. Each team has one key, its points above its
    // place in team order, so that one compare counts both; the rooms of no team hold the lowest key, so that the
    // vector unit counts every room alike.
    std::array<int, kMaxTeams> points{}, keys;
    keys.fill(std::numeric_limits<int>::min());
    bool keyed = true;
    for (int t = 0; t < teams; ++t) {
        const int p = points[static_cast<std::size_t>(t)] = tallies[t].points;
        keyed = keyed && p > -(1 << 25) && p < (1 << 25);
        keys[static_cast<std::size_t>(t)] =
            static_cast<int>(static_cast<unsigned>(p) * 32U + static_cast<unsigned>(31 - t));
    }
    for (int t = 0; t < teams; ++t) {
        const int own = points[static_cast<std::size_t>(t)], ownKey = keys[static_cast<std::size_t>(t)];
        int row = 0;
        if (keyed)
            for (std::size_t u = 0; u < kMaxTeams; ++u)
                row += keys[u] > ownKey ? 1 : 0;
        else
            for (int u = 0; u < teams; ++u)
                row +=
                    (points[static_cast<std::size_t>(u)] > own) + (u < t && points[static_cast<std::size_t>(u)] == own);
        out[row] = {t + 1, Decider::None, 0, 0};
    }
    const auto pointsOf = [&](int team) { return points[static_cast<std::size_t>(team - 1)]; };
    for (int first = 0; first < teams;) {
        int last = first + 1;
        while (last < teams && pointsOf(out[last].team) == pointsOf(out[first].team))
            ++last;
        if (last - first > 1) {
            if (rules == RankingRules::Final)
                byMutualMatches(tallies, mutual, byPair, out.data() + first, last - first);
            else
                byGoals(tallies, out.data() + first, last - first);
        }
        first = last;
    }
}

PairRanges sortByPair(std::vector<MatchScore>& scores, std::vector<std::size_t>& movedTo)
{
    const auto pairOf = [&](std::size_t i) {
        return std::pair(std::min(scores[i].home, scores[i].away), std::max(scores[i].home, scores[i].away));
    };
    std::vector<std::size_t> order(scores.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return pairOf(a) < pairOf(b); });
    PairRanges ranges;
    std::vector<MatchScore> sorted;
    movedTo.assign(scores.size(), 0);
    for (const std::size_t i : order) {
        const auto [a, b] = pairOf(i);
        auto &begin = ranges.begin[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)],
             &end = ranges.end[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
        if (begin == end)
            begin = static_cast<std::uint16_t>(sorted.size());
        movedTo[i] = sorted.size();
        sorted.push_back(scores[i]);
        end = static_cast<std::uint16_t>(sorted.size());
    }
    scores = std::move(sorted);
    return ranges;
}

QList<PlacedTeam> orderByPoints(const SeasonStore& season, const TeamStats& stats, int venue, RankingRules rules,
                                int firstRound, int lastRound)
{
    Tallies tallies;
    for (int t = 1; t <= stats.teams(); ++t)
        tallies.append({stats(Stat::PTS, venue, t), stats(Stat::GF, venue, t), stats(Stat::GA, venue, t)});
    QVarLengthArray<MatchScore, 52 * 7> mutual;
    if (rules == RankingRules::Final && venue == venue::Total) {
        for (int r = firstRound; r <= lastRound; ++r) {
            for (int m = 1; m <= season.slots(); ++m) {
                const Match& match = season.match(m, r);
                if (!match.result.isEmpty() && match.home > 0 && match.away > 0)
                    mutual.append(scoreOf(match, season.rules));
            }
        }
    } else {
        rules = RankingRules::Running;
    }
    Ranking ranking;
    rankByPoints(tallies, mutual, rules, ranking);
    QList<PlacedTeam> out;
    for (const Ranked& r : ranking)
        out.append({r.team, reasonText(r), r.by == Decider::Shared});
    return out;
}
