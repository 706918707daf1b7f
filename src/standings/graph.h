// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"
#include "season/seasonstore.h"

#include <QDate>
#include <QList>
#include <QString>

// GrafData and PoctyOdehranychZapasu: every team's position in the total table by points after every
// round, and the matches each team has played in the whole season.
struct GraphData {
    QList<QList<int>> positions; // [round - 1][team - 1], 1..N; by date [day - 1][team - 1]
    QList<int> played;           // [team - 1]; by date the last day the team played, 1..
    QList<QDate> days;           // by date: the match days, in order

    int position(int round, int team) const { return positions.at(round - 1).at(team - 1); }
};

GraphData computeGraph(const SeasonStore& season);
// The places after every day a match was played on, by the matches' own dates; a game postponed without a
// date is not counted.
GraphData computeGraphByDate(const SeasonStore& season);

// The warning the graph gives when round 1 lacks a result, else an empty text.
QString graphWarning(const SeasonStore& season);

// One row per round: its number and the teams' positions after it, team 1 first.
ViewTable graphView(const SeasonStore& season);
