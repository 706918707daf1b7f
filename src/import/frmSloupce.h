// SPDX-License-Identifier: MIT
#pragma once

#include "import/importsource.h"

#include <QDialog>

class QComboBox;
class QTableWidget;

// "Sloupce souboru": the first lines of a CSV in a table, a box over each column to say what it holds (home,
// away, score, goals, date, time, round, note, or nothing) — for files whose header the reader does not know.
class frmSloupce final : public QDialog {
    Q_OBJECT
public:
    // `guessed` preselects the boxes (a column beyond it reads nothing).
    frmSloupce(const QList<QStringList>& preview, const QList<ColumnRole>& guessed, QWidget* parent);

    QList<ColumnRole> roles() const;

private:
    void check();

    QList<QComboBox*> cboSloupec;
    QTableWidget* tabUkazka = nullptr;
    class QLabel* lblChyba = nullptr;
    class QPushButton* cmdPouzit = nullptr;
};
