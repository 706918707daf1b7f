// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <array>

// The statistics of TeamStats, numbered as the program has always numbered them.
enum class Stat { W = 1, W_OT, T, L, L_OT, GP, GF, GA, PTS };

inline constexpr int kStats = 9;
inline constexpr int kVenues = 3;

// TYM: counters indexed (statistic 1..9, venue 1..3, team 1..N).
class TeamStats final {
public:
    explicit TeamStats(int teams) : m_teams(teams) {}
    int teams() const { return m_teams; }
    int operator()(Stat stat, int venue, int team) const;
    int& at(Stat stat, int venue, int team);
    // Goal difference, goals scored minus goals conceded.
    int goalDifference(int venue, int team) const
    {
        return (*this)(Stat::GF, venue, team) - (*this)(Stat::GA, venue, team);
    }
    // The rules the points were counted by (finishTotals).
    const LeagueRules& rules() const { return m_rules; }
    void setRules(const LeagueRules& rules) { m_rules = rules; }

private:
    int m_teams;
    LeagueRules m_rules;
    std::array<std::array<std::array<int, kStats>, kVenues>, kMaxTeams> m_values{};
};

// Adds one played match to the home and away counters; venue 3 and the points are left to finishTotals().
void countMatch(TeamStats& stats, const Match& match);
// Points of venues 1 and 2 from the class counters, then venue 3 as their sum.
void finishTotals(TeamStats& stats, const LeagueRules& rules);

// The league's points adjustments, into the total points only: home and away tables count results alone.
void addAdjustments(TeamStats& stats, const SeasonStore& season);

// Adjustments belong to the season: a table of a part of it leaves them out.
inline bool countsAdjustments(const SeasonStore& season, int firstRound, int lastRound)
{
    return firstRound == 1 && lastRound == season.rounds();
}

// DataProTabulku: the statistics of the rounds first..last (1-based, inclusive), adjustments counted where
// countsAdjustments says so.
TeamStats DataProTabulku(const SeasonStore& season, int firstRound, int lastRound);
