// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;

// All meetings of two teams in the season.
class frmVzaj final : public QDialog {
    Q_OBJECT
public:
    frmVzaj(const SeasonStore& season, QWidget* parent);

    // Chooses both teams (0 = the empty entry) and lists their meetings.
    void search(int first, int second);

private:
    void Command1_Click();

    QComboBox* cbo1 = nullptr; // an empty entry, then the teams: index = team number
    QComboBox* cbo2 = nullptr;
    QPushButton* Command1 = nullptr;
    QListWidget* lstVz = nullptr;

    const SeasonStore& m_season;
};
