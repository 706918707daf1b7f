// SPDX-License-Identifier: MIT
#include "aggregation.h"

#include "season/notation.h"

#include <stdexcept>

namespace {

std::size_t index(int value, int last)
{
    if (value < 1 || value > last)
        throw std::out_of_range("team statistics index out of range");
    return static_cast<std::size_t>(value - 1);
}

// Where each outcome class is counted; D and E sit in the reverse order of the classes.
constexpr Stat classStat[] = {W, W_OT, T, L_OT, L};

} // namespace

int TeamStats::operator()(int stat, int venue, int team) const
{
    return m_values[index(team, kTeams)][index(venue, kVenues)][index(stat, kStats)];
}

int& TeamStats::at(int stat, int venue, int team)
{
    return m_values[index(team, kTeams)][index(venue, kVenues)][index(stat, kStats)];
}

void countMatch(TeamStats& stats, const Match& match)
{
    if (match.result.isEmpty())
        return;
    const ParsedResult r = ZkoumatVysledek(match.result);
    const auto [home, away] = classify(r);
    stats.at(classStat[static_cast<int>(home)], Home, match.home) += 1;
    stats.at(classStat[static_cast<int>(away)], Away, match.away) += 1;
    stats.at(GP, Home, match.home) += 1;
    stats.at(GP, Away, match.away) += 1;
    stats.at(GF, Home, match.home) += r.HomeGoals;
    stats.at(GA, Home, match.home) += r.AwayGoals;
    stats.at(GF, Away, match.away) += r.AwayGoals;
    stats.at(GA, Away, match.away) += r.HomeGoals;
}

void finishTotals(TeamStats& stats)
{
    for (int t = 1; t <= kTeams; ++t) {
        for (int v : {Home, Away}) {
            stats.at(PTS, v, t) = bodovani[0] * stats(W, v, t) + bodovani[1] * stats(W_OT, v, t) +
                                  bodovani[2] * stats(T, v, t) + bodovani[3] * stats(L_OT, v, t) +
                                  bodovani[4] * stats(L, v, t);
        }
        for (int s = 1; s <= kStats; ++s)
            stats.at(s, Total, t) = stats(s, Home, t) + stats(s, Away, t);
    }
}

TeamStats DataProTabulku(const SeasonStore& season, int firstRound, int lastRound)
{
    TeamStats stats;
    for (int r = firstRound; r <= lastRound; ++r) {
        for (int m = 1; m <= kSlots; ++m)
            countMatch(stats, season.match(m, r));
    }
    finishTotals(stats);
    return stats;
}
