// SPDX-License-Identifier: MIT
#pragma once

#include "playoff/playoff.h"

#include <optional>

#include "season/seasonstore.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;

// What one team has achieved so far, at home, away and in total.
class frmBilance final : public QDialog {
    Q_OBJECT
public:
    // `playoff`, where the league has one, lives as long as the window: its games make a line of their own.
    frmBilance(const SeasonStore& season, QWidget* parent, const std::optional<Playoff>* playoff = nullptr);
    // Shows the balance of team 1..N, as choosing it in the box does.
    void showTeam(int team);
    // Shows the chosen team's balance again, after the season changed.
    void refresh();

private:
    QComboBox* cboBil = nullptr;
    // Values of rows 0..9: lblH, lblA, lblT.
    std::array<std::array<QLabel*, 3>, 11> values{}; // the last: the play-off
    QLabel* lblPlayoff = nullptr;
    const std::optional<Playoff>* m_playoff;

    void cboBil_Click(int index);
    void showPlayoffRow(bool shown);

    const SeasonStore& m_season;
};
