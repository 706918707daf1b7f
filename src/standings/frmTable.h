// SPDX-License-Identifier: MIT
#pragma once

#include "standings/aggregation.h"

#include <QDialog>
#include <array>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

// The standings table of a range of rounds, for any venue and criterion.
class frmTable final : public QDialog {
    Q_OBJECT
public:
    // The table of rounds first..last.
    frmTable(const SeasonStore& season, int firstRound, int lastRound, const QString& caption, QWidget* parent);

private:
    QComboBox* cbo1 = nullptr;     // venue
    QComboBox* cbo2 = nullptr;     // criterion
    QComboBox* cboRules = nullptr; // running or final order on equal points
    QPushButton* foclost = nullptr;
    std::array<QFrame*, 3> lines{};
    std::vector<QFrame*> bands; // the zones between the lines
    // Columns pos, team, gp, w, w_ot, t, l_ot, l, sco, pts; row 0 on top.
    QList<std::array<QLabel*, 10>> cells;
    // Right of the points: the adjustment's mark, the places moved and the form.
    QList<QLabel*> mark, moved, form;
    QLabel* lblPoznamka = nullptr; // the adjustments' reasons, or that home and away tables leave them out

    void cbo1_Click();
    void addCells();
    void addHeaders();
    void addRulesAndLegend();
    void addFormColumns();
    void addAdjustmentsNote();
    int tableRight() const;
    void placeLine(int index, int position, int designedTop);
    void placeZoneBands(const std::array<int, 3>& positions);

    // Twips the rows of this league take beyond the designed fourteen (fewer: negative); all below moves as much.
    int below(int designedTop) const;

    const SeasonStore& m_season;
    int m_first;
    int m_last;
    TeamStats m_stats;
};
