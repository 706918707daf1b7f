// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QDialog>
#include <QList>

class QLabel;

// All results of the season in an N × N grid, home teams in rows, away teams in columns; a cell is as
// tall as the most meetings of a pair.
class frmKriz final : public QDialog {
    Q_OBJECT
public:
    frmKriz(const SeasonStore& season, QWidget* parent);

private:
    // lblV: cell [home - 1][away - 1].
    QList<QList<QLabel*>> cells;
};
