// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// Chooses a range of rounds and opens its standings table.
class frmTable_Interval final : public QDialog {
    Q_OBJECT
public:
    frmTable_Interval(const SeasonStore& season, QWidget* parent);

private:
    QComboBox* cbo = nullptr; // quick choices
    QComboBox* cboKolo1 = nullptr;
    QComboBox* cboKolo2 = nullptr;
    QPushButton* cmdOK = nullptr;

    void cbo_Click(int index);
    void cmdOK_Click();

    const SeasonStore& m_season;
    bool m_settingRange = false;
};
