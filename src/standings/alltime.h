// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"

#include <QHash>

// One team's seasons of a competition summed, by its name.
struct AllTimeRow {
    QString team;
    int seasons = 0;
    int gp = 0, w = 0, w_ot = 0, t = 0, l_ot = 0, l = 0, gf = 0, ga = 0, pts = 0;
    double pointsPerMatch() const { return gp > 0 ? static_cast<double>(pts) / gp : 0; }
};

struct AllTimeSeason {
    QString season;            // "2007/2008"
    bool running = false;      // a match without a result is left
    bool whatIf = false;       // counted with the hypothetical results of "Co kdyby"
    QHash<QString, int> place; // final place by team name
};

struct AllTime {
    QString competition;
    QList<AllTimeRow> rows;         // by points, then points per match
    QList<AllTimeSeason> seasons;   // newest first
    QStringList problems;           // leagues that could not be read, or only without their adjustments
    QMap<QString, QString> scoring; // how each season scored, by season
};

// The league's name without its season: "Extraliga".
QString competitionName(const SeasonStore& league);
// The names of the competitions in the folder, each once, in the order of their files.
QStringList competitionNames(const QString& folder);
// The league open in the window: counted as it stands in memory, results typed since the last save included.
struct LeagueInMemory {
    QString competitionPath;
    const SeasonStore& season;
};

// Every league of the folder named `competition`, read as opening it reads it, the open one as it is in
// memory; a season found in two files is counted once.
AllTime allTimeTable(const QString& folder, const QString& competition, const LeagueInMemory* open = nullptr);

ViewTable allTimeView(const AllTime& table);
// A row per team, a column per season, newest first: the final place, or empty where it did not play.
ViewTable placesView(const AllTime& table);
// The lines under both tables.
QStringList allTimeNotes(const AllTime& table);
// "2007/2008", or "2007/2008 (hraje se)" while the season runs, "… (co kdyby)" with hypothetical results.
QString seasonHeader(const AllTimeSeason& season);
