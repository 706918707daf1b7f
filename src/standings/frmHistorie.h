// SPDX-License-Identifier: MIT
#pragma once

#include "standings/alltime.h"

#include <QDialog>

class QLabel;
class QTabWidget;
class QTableWidget;

// The all-time table of the open league's competition: the sums, and the final places season by season.
class frmHistorie final : public QDialog {
    Q_OBJECT
public:
    frmHistorie(const AllTime& table, QWidget* parent);

private:
    QTabWidget* tabs = nullptr;
    QTableWidget* tblSoucty = nullptr;
    QTableWidget* tblUmisteni = nullptr;
    QLabel* lblPoznamky = nullptr;

    AllTime m_table;
};
