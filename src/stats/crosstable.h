// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"
#include "season/seasonstore.h"

// The cross table: cell [home - 1][away - 1] holds that pairing's results in round order, one per
// line (CR LF between them); an unplayed meeting after a played one leaves a trailing line break.
using CrossTable = QList<QStringList>;

CrossTable crossTable(const SeasonStore& season);

// One row per home team: its name and a cell per team, away team 1 first; a cell's line break is CR LF.
ViewTable crossView(const SeasonStore& season);

// Headings for columns as narrow as a result, one per team and none twice in the league: the first three
// letters ("Č. Budějovice" → "ČBU"); where two teams would share them, the first letter and the start of the
// first word that tells them apart ("HC Sparta", "HC Slavia" → "HSP", "HSL"; "Tým 1", "Tým 9" → "T1", "T9").
QStringList shortNames(const QStringList& names);
