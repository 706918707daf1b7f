// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// Past matches still without a result, grouped by round.
class frmMissing final : public QDialog {
    Q_OBJECT
public:
    frmMissing(const QStringList& lines, QWidget* parent);

private:
    QListWidget* list = nullptr;
    QPushButton* Command1 = nullptr;
};
