// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"
#include "standings/aggregation.h"
#include "standings/tiebreak.h"

#include <QStringList>
#include <optional>

// The thirteen criteria of the sort box, in its order.
QStringList criterionCaptions();
QStringList venueCaptions();

// The thirteen criteria of the sort box, in its order (its index is the criterion's number).
enum class Criterion {
    Points,
    GoalDifference,
    GoalsFor,
    GoalsAgainst,
    Wins,
    AllWins, // extra time included
    ExtraTimeWins,
    Draws,
    ExtraTimeLosses,
    Losses,
    AllLosses, // extra time included
    ExtraTimeMatches,
    ExtraTimeSuccess,
};
inline constexpr int kCriteria = 13;

// Caption of the season's running table.
inline QString runningTableCaption()
{
    return QStringLiteral("průběžná tabulka");
}
// Whether every regular-season match has its result: the order is final, the play-off's seeding known.
bool regularSeasonOver(const SeasonStore& season);
// The order a table shows unasked: the final one (the play-off's) once the season is over, else the running one.
RankingRules shownRankingRules(const SeasonStore& season);
// The caption of the season's table in that order: "konečné pořadí" at the end, else the running table's.
QString seasonTableCaption(const SeasonStore& season);
// Caption of the table on a date: "tabulka k 12.2.2008".
inline QString tableOnDateCaption(const QDate& day)
{
    return QStringLiteral("tabulka k ") + shortDate(day);
}
// The rounds of quarter q (1..4) of a season of `rounds` rounds, {first, last}; last < first when the
// season is too short to give the quarter a round of its own.
inline std::pair<int, int> quarterRounds(int rounds, int q)
{
    return {(q - 1) * rounds / 4 + 1, q * rounds / 4};
}

// Caption of the table of a range of rounds: "tabulka za období   (kola A - B)".
QString periodCaption(int firstRound, int lastRound);

// One line of the standings table as the window shows it; a hidden position is an empty text.
struct StandingsRow {
    int team = 0;
    QString pos, name, gp, w, w_ot, t, l_ot, l, sco, pts, scoTooltip;
    // Why the row above stands first on equal points; empty when the points differ or the place is shared.
    QString decidedBy;
    // Dividing lines 1..3 the team is sure of / can no longer reach (whole-season total table by points only).
    QList<int> clinched, out;
    // Total tables: the sum of the team's points adjustments and their texts ("Zlín −3: licence").
    int adjustment = 0;
    QStringList reasons;
    // The last five results, oldest first: V win, v in extra time, R draw, p lost in extra time, P lost.
    QString form;
    // Total tables: places climbed (negative: fallen) since the previous round with a result; none in the first.
    std::optional<int> moved;
};

struct Standings {
    QList<StandingsRow> rows; // one a team
    // The dividing lines under HR1..HR3 belong to the total table ranked by points only.
    bool linesShown = false;
};

// Share of the two points of every extra-time match that the team took, in whole per cent (halves to
// even), or -1 for a team without extra-time matches.
int overtimeSuccess(int wonInOvertime, int draws, int lostInOvertime, const LeagueRules& rules = {});

// The team's last five results of rounds first..last at the venue, oldest first (see StandingsRow::form).
QString teamForm(const SeasonStore& season, int team, int venue, int firstRound, int lastRound);
// "▲2", "▼1", "•" for no change, empty for none.
QString movedText(const std::optional<int>& moved);

// The lines under a table of the venue and rounds: "* " and each adjustment, or that home and away tables
// and tables of a part of the season leave them out, or why the league's file of them was not read; none
// without adjustments.
QStringList adjustmentNotes(const SeasonStore& season, int venue, int firstRound, int lastRound);

// Team numbers in the order of a table.
using TeamOrder = QVarLengthArray<int, kMaxTeams>;

// The team numbers in ranked order; equal teams keep team-number order.
TeamOrder rankTeams(const TeamStats& stats, int venue, Criterion criterion);

// SpocitatPoradi: the N rows ranked by the criterion 0..12 at the venue 1..3, with shared positions
// hidden and the value column of criteria 11 and 12. `stats` are those of rounds first..last (a last
// round of 0 is the season's last); `rules` orders the total table by points on equal points.
Standings SpocitatPoradi(const SeasonStore& season, const TeamStats& stats, int venue, Criterion criterion,
                         RankingRules rules = RankingRules::Running, int firstRound = 1, int lastRound = 0);

ViewTable standingsView(const SeasonStore& season, int firstRound, int lastRound, int venue, Criterion criterion,
                        RankingRules rules, const QString& caption);
// The rows of standings already computed (criterion and caption as they were computed with).
ViewTable standingsView(const SeasonStore& season, const Standings& st, Criterion criterion, const QString& caption);
