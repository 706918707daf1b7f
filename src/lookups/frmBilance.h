// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;

// What one team has achieved so far, at home, away and in total.
class frmBilance final : public QDialog {
    Q_OBJECT
public:
    frmBilance(const SeasonStore& season, QWidget* parent);
    // Shows the balance of team 1..14, as choosing it in the box does.
    void showTeam(int team);
    // Shows the chosen team's balance again, after the season changed.
    void refresh();

private:
    QComboBox* cboBil = nullptr;
    // Values of rows 0..9: lblH, lblA, lblT.
    std::array<std::array<QLabel*, 3>, 10> values{};

    void cboBil_Click(int index);

    const SeasonStore& m_season;
};
