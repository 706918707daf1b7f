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
constexpr Stat classStat[] = {Stat::W, Stat::W_OT, Stat::T, Stat::L_OT, Stat::L};

} // namespace

int TeamStats::operator()(Stat stat, int venue, int team) const
{
    return m_values[index(team, m_teams)][index(venue, kVenues)][index(static_cast<int>(stat), kStats)];
}

int& TeamStats::at(Stat stat, int venue, int team)
{
    return m_values[index(team, m_teams)][index(venue, kVenues)][index(static_cast<int>(stat), kStats)];
}

void countMatch(TeamStats& stats, const Match& match)
{
    if (match.result.isEmpty())
        return;
    const ParsedResult r = ZkoumatVysledek(match.result);
    const auto [home, away] = classify(r);
    stats.at(classStat[static_cast<int>(home)], venue::Home, match.home) += 1;
    stats.at(classStat[static_cast<int>(away)], venue::Away, match.away) += 1;
    stats.at(Stat::GP, venue::Home, match.home) += 1;
    stats.at(Stat::GP, venue::Away, match.away) += 1;
    stats.at(Stat::GF, venue::Home, match.home) += r.HomeGoals;
    stats.at(Stat::GA, venue::Home, match.home) += r.AwayGoals;
    stats.at(Stat::GF, venue::Away, match.away) += r.AwayGoals;
    stats.at(Stat::GA, venue::Away, match.away) += r.HomeGoals;
}

void finishTotals(TeamStats& stats, const LeagueRules& rules)
{
    stats.setRules(rules);
    for (int t = 1; t <= stats.teams(); ++t) {
        for (int v : {venue::Home, venue::Away}) {
            using enum OutcomeClass;
            stats.at(Stat::PTS, v, t) =
                rules.pointsOf(A) * stats(Stat::W, v, t) + rules.pointsOf(B) * stats(Stat::W_OT, v, t) +
                rules.pointsOf(C) * stats(Stat::T, v, t) + rules.pointsOf(D) * stats(Stat::L_OT, v, t) +
                rules.pointsOf(E) * stats(Stat::L, v, t);
        }
        for (int s = 1; s <= kStats; ++s) {
            const auto stat = static_cast<Stat>(s);
            stats.at(stat, venue::Total, t) = stats(stat, venue::Home, t) + stats(stat, venue::Away, t);
        }
    }
}

void addAdjustments(TeamStats& stats, const SeasonStore& season)
{
    for (const PointsAdjustment& a : season.adjustments)
        stats.at(Stat::PTS, venue::Total, a.team) += a.points;
}

TeamStats DataProTabulku(const SeasonStore& season, int firstRound, int lastRound)
{
    TeamStats stats(season.teams());
    for (int r = firstRound; r <= lastRound; ++r) {
        for (int m = 1; m <= season.slots(); ++m)
            countMatch(stats, season.match(m, r));
    }
    finishTotals(stats, season.rules);
    if (countsAdjustments(season, firstRound, lastRound))
        addAdjustments(stats, season);
    return stats;
}
