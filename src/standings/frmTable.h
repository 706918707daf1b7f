// SPDX-License-Identifier: MIT
#pragma once

#include "standings/aggregation.h"

#include <QDialog>
#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

// The standings table of a range of rounds, for any venue and criterion.
class frmTable final : public QDialog {
    Q_OBJECT
public:
    frmTable(const SeasonStore& season, const TeamStats& stats, const QString& caption, QWidget* parent);

    QComboBox* cbo1 = nullptr; // venue
    QComboBox* cbo2 = nullptr; // criterion
    QPushButton* foclost = nullptr;
    std::array<QFrame*, 3> lines{};
    // Columns pos, team, gp, w, w_ot, t, l_ot, l, sco, pts; row 0 on top.
    std::array<std::array<QLabel*, 10>, kTeams> cells{};

private:
    void cbo1_Click();
    void placeLine(int index, int position, int designedTop);

    const SeasonStore& m_season;
    TeamStats m_stats;
};
