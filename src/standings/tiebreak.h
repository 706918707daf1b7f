// SPDX-License-Identifier: MIT
#pragma once

#include "standings/aggregation.h"

#include <QList>
#include <QString>

// Which rule orders teams level on points: while the competition runs the league compares goal
// difference and goals scored; its final table compares the mutual matches first.
enum class RankingRules { Running, Final };

// A team in the order of a table sorted by points, with why it stands below the row above when both
// have the same points (empty otherwise), or that it shares that row's place.
struct PlacedTeam {
    int team = 0;
    QString decidedBy;
    bool sharesPlace = false;
};

// The 14 teams by points of `stats` at the venue; level teams by the rules. The mutual matches are
// those of rounds first..last, the rounds `stats` was made of.
QList<PlacedTeam> orderByPoints(const SeasonStore& season, const TeamStats& stats, int venue, RankingRules rules,
                                int firstRound, int lastRound);

// The dividing lines (1..3, those with HRk above 0) a team is sure to finish at or above, and those it
// can no longer reach, by simple bounds a fan can check by hand.
struct LineMarks {
    QList<int> clinched;
    QList<int> out;
};
// For the whole season's total table in `order` (team numbers, top first); indexed by team - 1.
std::array<LineMarks, kTeams> certainPlaces(const SeasonStore& season, const TeamStats& stats,
                                            const std::array<int, kTeams>& order);
