// SPDX-License-Identifier: MIT
#pragma once

#include "standings/graph.h"

#include <QDialog>
#include <array>

class QCheckBox;
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
    // Where a round's position stands, in logical pixels.
    QPoint at(int round, int position) const;
    // A designed top below the plot, moved by the places this league has beyond the designed fourteen.
    int below(int designedTop) const;

    void addAxisLabels();

    GraphData m_data; // the one shown: by round, or by date
    GraphData m_byRound, m_byDate;
    QCheckBox* chkDatum = nullptr;
    QString m_warning;
    int m_teams;
    int m_rounds;
    int m_line; // the place above the first dividing line, 0 for none
};
