// SPDX-License-Identifier: MIT
#pragma once

#include "standings/graph.h"

#include <QDialog>
#include <array>

class QComboBox;
class QPushButton;

// The table positions of up to four chosen teams over the season, one coloured line each.
class frmGraf final : public QDialog {
    Q_OBJECT
public:
    frmGraf(const SeasonStore& season, QWidget* parent);

    // The segments VykreslitCary draws now, in drawing order, in logical pixels.
    QList<std::pair<QLine, QColor>> segments() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Red, yellow, green, blue; position t is team t, 0 none.
    std::array<QComboBox*, 4> lists{};
    QPushButton* foclost = nullptr;

    void onActivated();

    GraphData m_data;
    QString m_warning;
};
