// SPDX-License-Identifier: MIT
#pragma once

#include "lookups/lookups.h"
#include "standings/tiebreak.h"
#include "stats/streaks.h"

#include <QList>
#include <QStringList>

// A view as rows of texts, exactly as its window shows them: what the command line prints and what
// "Uložit…" writes as CSV or HTML.
struct ViewTable {
    QString caption;    // the window's caption, with the league
    QStringList header; // Czech column names
    QList<QStringList> rows;
};

ViewTable standingsView(const SeasonStore& season, int firstRound, int lastRound, int venue, int criterion,
                        RankingRules rules, const QString& caption);
// One row per round: its number and the 14 teams' positions after it, team 1 first.
ViewTable graphView(const SeasonStore& season);
ViewTable streaksView(const SeasonStore& season, int venue, int type, OvertimeMode mode, int order);
// One row per home team: its name and 14 cells, away team 1 first; a cell's line break is CR LF.
ViewTable crossView(const SeasonStore& season);
ViewTable balanceView(const SeasonStore& season, int team);
ViewTable matchesView(const SeasonStore& season, int team);
ViewTable headToHeadView(const SeasonStore& season, int first, int second);
ViewTable missingView(const SeasonStore& season, const QDate& today);
ViewTable calendarView(const SeasonStore& season, const std::array<CalendarEvent, 10>& events);
