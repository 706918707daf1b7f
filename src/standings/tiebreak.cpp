// SPDX-License-Identifier: MIT
#include "tiebreak.h"

#include "season/notation.h"

#include <algorithm>
#include <functional>

namespace {

using Key = std::array<int, 3>;

Key pointsKey(const TeamStats& s, int venue, int team)
{
    return {s(Stat::PTS, venue, team), s.goalDifference(venue, team), s(Stat::GF, venue, team)};
}

// Sorts the teams by key, larger first, equal keys in team-number order, and cuts them into runs of equal keys.
QList<QList<int>> runsByKey(QList<int> teams, const std::function<Key(int)>& keyOf)
{
    std::stable_sort(teams.begin(), teams.end(), [&](int a, int b) { return keyOf(a) > keyOf(b); });
    QList<QList<int>> runs;
    for (int t : teams) {
        if (runs.isEmpty() || keyOf(runs.back().front()) != keyOf(t))
            runs.append(QList<int>());
        runs.back().append(t);
    }
    return runs;
}

// Steps 3 and 4: goal difference and goals scored over all the table's matches, then a shared place.
QList<PlacedTeam> byGoals(const QList<int>& group, const TeamStats& s, int venue)
{
    const auto keyOf = [&](int t) { return Key{0, s.goalDifference(venue, t), s(Stat::GF, venue, t)}; };
    QList<PlacedTeam> out;
    Key previous{};
    for (const QList<int>& run : runsByKey(group, keyOf)) {
        for (qsizetype i = 0; i < run.size(); ++i) {
            QString reason;
            if (i == 0 && !out.isEmpty())
                reason = previous[1] != keyOf(run[i])[1] ? u"brankový rozdíl"_qs : u"vstřelené branky"_qs;
            out.append({run[i], reason, i > 0});
        }
        previous = keyOf(run.front());
    }
    return out;
}

// Step 2: a mini-table of the group's own matches, again for every smaller group it leaves level.
QList<PlacedTeam> byMutualMatches(const QList<int>& group, const SeasonStore& season, const TeamStats& s, int venue,
                                  int firstRound, int lastRound)
{
    TeamStats mini;
    std::array<std::array<int, kTeams + 1>, kTeams + 1> meetings{};
    for (int r = firstRound; r <= lastRound; ++r) {
        for (int m = 1; m <= kSlots; ++m) {
            const Match& match = season.match(m, r);
            if (match.result.isEmpty() || !group.contains(match.home) || !group.contains(match.away))
                continue;
            countMatch(mini, match);
            ++meetings[std::min(match.home, match.away)][std::max(match.home, match.away)];
        }
    }
    finishTotals(mini);
    const int count = meetings[std::min(group[0], group[1])][std::max(group[0], group[1])];
    for (int a : group) {
        for (int b : group) {
            if (a < b && (meetings[a][b] != count || count == 0))
                return byGoals(group, s, venue);
        }
    }
    const auto keyOf = [&](int t) { return pointsKey(mini, venue::Total, t); };
    const QList<QList<int>> runs = runsByKey(group, keyOf);
    if (runs.size() == 1)
        return byGoals(group, s, venue);
    QList<PlacedTeam> out;
    for (qsizetype k = 0; k < runs.size(); ++k) {
        QList<PlacedTeam> placed = runs[k].size() > 1
                                       ? byMutualMatches(runs[k], season, s, venue, firstRound, lastRound)
                                       : QList<PlacedTeam>{{runs[k].front(), {}, false}};
        if (k > 0) {
            const Key upper = keyOf(runs[k - 1].front()), lower = keyOf(runs[k].front());
            placed.front().decidedBy = upper[0] != lower[0]
                                           ? u"vzájemné zápasy – body %1:%2"_qs.arg(upper[0]).arg(lower[0])
                                       : upper[1] != lower[1] ? u"vzájemné zápasy – skóre"_qs
                                                              : u"vzájemné zápasy – vstřelené branky"_qs;
        }
        out += placed;
    }
    return out;
}

} // namespace

QList<PlacedTeam> orderByPoints(const SeasonStore& season, const TeamStats& stats, int venue, RankingRules rules,
                                int firstRound, int lastRound)
{
    QList<int> all;
    for (int t = 1; t <= kTeams; ++t)
        all.append(t);
    QList<PlacedTeam> out;
    for (const QList<int>& level : runsByKey(all, [&](int t) { return Key{stats(Stat::PTS, venue, t), 0, 0}; })) {
        out += rules == RankingRules::Final && venue == venue::Total && level.size() > 1
                   ? byMutualMatches(level, season, stats, venue, firstRound, lastRound)
                   : byGoals(level, stats, venue);
    }
    return out;
}

std::array<LineMarks, kTeams> certainPlaces(const SeasonStore& season, const TeamStats& stats,
                                            const std::array<int, kTeams>& order)
{
    std::array<int, kTeams + 1> left{};
    int unplayed = 0;
    for (int r = 1; r <= kRounds; ++r) {
        for (int m = 1; m <= kSlots; ++m) {
            const Match& match = season.match(m, r);
            if (match.result.isEmpty()) {
                ++left[match.home], ++left[match.away];
                ++unplayed;
            }
        }
    }
    const auto pts = [&](int t) { return stats(Stat::PTS, venue::Total, t); };
    const auto most = [&](int t) { return pts(t) + bodovani[0] * left[t]; };
    std::array<LineMarks, kTeams> marks;
    const int lines[] = {season.HR1, season.HR2, season.HR3};
    for (int k = 1; k <= 3; ++k) {
        const int places = lines[k - 1];
        if (places <= 0)
            continue;
        for (int place = 1; place <= kTeams; ++place) {
            const int t = order[place - 1];
            int mayPass = 0, alreadyAbove = 0;
            for (int u = 1; u <= kTeams; ++u) {
                if (u == t)
                    continue;
                mayPass += most(u) >= pts(t);
                alreadyAbove += pts(u) > most(t);
            }
            LineMarks& mark = marks[t - 1];
            if (unplayed == 0 ? place <= places : mayPass < places)
                mark.clinched.append(k);
            if (unplayed == 0 ? place > places : alreadyAbove >= places)
                mark.out.append(k);
        }
    }
    return marks;
}
