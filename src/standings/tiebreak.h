// SPDX-License-Identifier: MIT
#pragma once

#include "standings/aggregation.h"

#include <QList>
#include <QString>
#include <QVarLengthArray>
#include <cstdint>
#include <span>
#include <vector>

// Which rule orders teams level on points: while the competition runs the league compares goal
// difference and goals scored; its final table compares the mutual matches first.
enum class RankingRules { Running, Final };

// A team's points and goals in one table.
struct Tally {
    int points = 0;
    int goalsFor = 0;
    int goalsAgainst = 0;
};
using Tallies = QVarLengthArray<Tally, kMaxTeams>; // by team - 1

// The ordering key of a table by points: points, then goal difference, then goals scored.
inline std::array<int, 3> orderKey(const Tally& t)
{
    return {t.points, t.goalsFor - t.goalsAgainst, t.goalsFor};
}

// A played match as the mutual comparison needs it.
struct MatchScore {
    std::int8_t home = 0;
    std::int8_t away = 0;
    std::int8_t homePoints = 0;
    std::int8_t awayPoints = 0;
    int homeGoals = 0;
    int awayGoals = 0;
};
MatchScore scoreOf(const Match& match, const LeagueRules& rules); // of a match with a result

// Why a team stands below the row above it on equal points.
enum class Decider : std::uint8_t {
    None, // different points, or the first row
    Shared,
    MutualPoints,
    MutualGoalDifference,
    MutualGoals,
    GoalDifference,
    Goals,
};
struct Ranked {
    int team = 0;
    Decider by = Decider::None;
    int upperPoints = 0, lowerPoints = 0; // of the mutual matches, for Decider::MutualPoints
};
using Ranking = QVarLengthArray<Ranked, kMaxTeams>;

// Where each pair's matches lie in a list sorted by pair (the lower team, then the higher): a tie is then broken
// from its own group's matches, not from a pass over the season's. Made once for many rankings of one list.
struct PairRanges {
    std::array<std::array<std::uint16_t, kMaxTeams + 1>, kMaxTeams + 1> begin{}, end{};
};
// Sorts the matches by pair; returns where each pair's lie and, for each match, where it went.
PairRanges sortByPair(std::vector<MatchScore>& scores, std::vector<std::size_t>& movedTo);

// The one ordering of a table by points, used by every table and by each simulated season: teams by
// points; level teams by goal difference and goals scored, or under the final rules first by
// recursive mini-tables of their `mutual` matches when every pair met equally often. Teams equal in
// everything share a place and keep team-number order. `out` gets a row per tally. Allocates nothing.
void rankByPoints(const Tallies& tallies, std::span<const MatchScore> mutual, RankingRules rules, Ranking& out,
                  const PairRanges* byPair = nullptr);

// A team in the order of a table sorted by points, with why it stands below the row above when both
// have the same points (empty otherwise), or that it shares that row's place.
struct PlacedTeam {
    int team = 0;
    QString decidedBy;
    bool sharesPlace = false;
};

// The teams by points of `stats` at the venue; level teams by the rules. The mutual matches are
// those of rounds first..last, the rounds `stats` was made of.
QList<PlacedTeam> orderByPoints(const SeasonStore& season, const TeamStats& stats, int venue, RankingRules rules,
                                int firstRound, int lastRound);
