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
