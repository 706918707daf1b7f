// SPDX-License-Identifier: MIT
#pragma once

#include "stats/streaks.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Current and longest streaks of every team, for the chosen kind of run.
class frmSerie final : public QDialog {
    Q_OBJECT
public:
    frmSerie(const SeasonStore& season, QWidget* parent);

private:
    QComboBox* cbo1 = nullptr; // venue
    QComboBox* cbo2 = nullptr; // streak type
    QComboBox* cbo3 = nullptr; // order
    QRadioButton* OPT1 = nullptr;
    QRadioButton* OPT2 = nullptr;
    QPushButton* foclost = nullptr;
    // Columns pos, team, aktual, nej of each row place.
    QList<std::array<QLabel*, 4>> rows;

    void refresh();
    void addRows();
    void connectControls();

    const SeasonStore& m_season;
    OutcomeHistory m_serie;
};
