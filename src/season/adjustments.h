// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"
#include "leaguefiles.h"
#include "seasonstore.h"

#include <QDateTime>

inline constexpr int kMaxAdjustment = 99;
inline constexpr int kMaxReasonLength = 80;

// Whether the adjustment can stand in the league's file; if not, why, in Czech.
Result<void> checkAdjustment(const SeasonStore& league, const PointsAdjustment& a);

// The file's "TEAM;POINTS;REASON" lines, after a comment line.
QStringList adjustmentsLines(const QList<PointsAdjustment>& adjustments);

// A league as opening it reads it: both files, then the adjustments. A bad adjustments file does not keep
// the league closed: it opens without them, and `warning` says why (the file and the line).
struct ReadLeague {
    SeasonStore store;
    QString warning;
    // The stored results the league's rules exclude, named; they stay as they are for the fan to mend.
    QString excluded;
};
Result<ReadLeague> readLeague(const QString& competitionPath);
// The stored results the season's rules exclude, named in Czech (the first five); empty when none.
QString excludedResults(const SeasonStore& season);

// The warning as the user reads it on opening the league.
QString openedWithoutAdjustments(const QString& warning);
// "+2", "-3", "0".
QString signedPoints(int points);
// "Sparta Praha -3: licence" for footnotes; the sign always shown.
QString adjustmentText(const SeasonStore& league, const PointsAdjustment& a);
