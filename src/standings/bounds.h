// SPDX-License-Identifier: MIT
// Where each team can still finish by points, exactly, over every completion of the unplayed matches.
#pragma once

#include "season/seasonstore.h"

#include <QList>
#include <array>
#include <atomic>
#include <chrono>

// The dividing lines HR1..HR3 of the season; 0 for a line it does not draw.
inline std::array<int, 3> dividingLines(const SeasonStore& season)
{
    return {season.HR1, season.HR2, season.HR3};
}

inline constexpr int kNeverSure = -1;
// Points needed not counted: the league's rules score a better result lower than a worse one (or a
// regulation loss above nothing), where winning all is not a team's best, or the league's matches hand out
// different totals and its questions took longer than a league may; its places are then only those that
// counting the points alone proves.
inline constexpr int kNotCounted = -2;

struct PlaceBounds {
    // The best and the worst place by points; a team level on points with another may stand above
    // or below it. Once the season is over, both are the team's row in the final table.
    int best = 0;
    int worst = 0;
    // Per dividing line: the fewest points from the team's own remaining matches with which it is at
    // or above the line in every completion; 0 when it is sure already, kNeverSure when no number of
    // points makes it sure. Only filled on request, and 0 for a line the season does not draw.
    std::array<int, 3> needed{};

    bool clinched(int line) const { return line > 0 && worst <= line; }
    bool out(int line) const { return line > 0 && best > line; }
};
using SeasonBounds = QList<PlaceBounds>; // by team - 1

// Each question is a small integer program solved exactly; a completion gives each unplayed match
// one of the results the league's rules allow (under the rules every league had before it could say,
// 3:0, 2:1, 1:2, 0:3 points, or 1:1 in a season that has had a draw). Setting `stop` ends the work
// early, with bounds of no use.
// The time the questions may take where the matches hand out differing totals: all of the league's, one group's
// program at first (a hard one is asked again once the others are), one best place's program.
struct BoundsBudget {
    std::chrono::milliseconds programs{400}, group{5}, place{100};
};
SeasonBounds placeBounds(const SeasonStore& season, bool withNeeded, const std::atomic<bool>* stop = nullptr,
                         const BoundsBudget& budget = {});

// Per dividing line HR1..HR3: whether the team is sure to end at or above it, or can no longer reach it.
struct LineMarks {
    std::array<bool, 3> clinched{};
    std::array<bool, 3> out{};
};

// The answers placeBounds gives for the lines, settled by counting where counting can: only a team
// whose place against a line it leaves open costs an integer program.
QList<LineMarks> lineMarks(const SeasonStore& season);
