// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Tabulka k datu…": a day, and the standings of the matches played by then by their own dates — the table the
// papers print the next morning.
class frmTable_Datum final : public QDialog {
    Q_OBJECT
public:
    frmTable_Datum(const SeasonStore& season, const QDate& today, QWidget* parent);

private:
    void check();
    void cmdOK_Click();

    const SeasonStore& m_season;
    QLineEdit* txtDatum = nullptr;
    QLabel* lblChyba = nullptr;
    QPushButton* cmdOK = nullptr;
};
