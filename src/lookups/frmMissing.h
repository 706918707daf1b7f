// SPDX-License-Identifier: MIT
#pragma once

#include "lookups/lookups.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// Past matches still without a result, grouped by round; a double-click (or Enter) on a line goes to its round.
class frmMissing final : public QDialog {
    Q_OBJECT
public:
    frmMissing(const MissingResults& missing, QWidget* parent);

Q_SIGNALS:
    void roundChosen(int round);

private:
    QListWidget* list = nullptr;
    QPushButton* Command1 = nullptr;
};
