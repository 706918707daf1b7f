// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"
#include "season/seasonstore.h"

#include <QStringList>
#include <array>

// serie: the outcome letters A..E of every team's played matches in round order, per venue
// (index 0 home, 1 away, 2 both) and team (index team - 1).
using OutcomeHistory = std::array<QStringList, 3>;

OutcomeHistory buildSerie(const SeasonStore& season);

enum class OvertimeMode { Draw, FinalResult };
namespace streakorder {
inline constexpr int Alphabetical = 0;
inline constexpr int ByCurrent = 1;
inline constexpr int ByLongest = 2;
} // namespace streakorder

QStringList streakTypeCaptions();
QStringList streakOrderCaptions();

// One row of the streaks screen: position ("1.", empty when tied, "-." alphabetically), team name,
// current and longest streak ("-" for a team without matches of that kind).
struct StreakRow {
    QString pos, team, current, longest;
    bool operator==(const StreakRow&) const = default;
};

// The team's letters at the venue with the counted ones turned into "X" (overtime types drop A and E);
// the types by points ("BEZ ZTRÁTY BODU" and the next two) count by the league's points.
QString markStreak(const QString& letters, int type, OvertimeMode mode, const LeagueRules& rules);

QList<StreakRow> computeStreaks(const SeasonStore& season, const OutcomeHistory& serie, int venue, int type,
                                OvertimeMode mode, int order);

ViewTable streaksView(const SeasonStore& season, int venue, int type, OvertimeMode mode, int order);
