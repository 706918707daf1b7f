// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QDialog>
#include <array>

class QLabel;

// All results of the season in a 14 × 14 grid, home teams in rows, away teams in columns.
class frmKriz final : public QDialog {
    Q_OBJECT
public:
    frmKriz(const SeasonStore& season, QWidget* parent);

private:
    // lblV: cell [home - 1][away - 1].
    std::array<std::array<QLabel*, kTeams>, kTeams> cells{};
};
