// SPDX-License-Identifier: MIT
#pragma once

#include "outlook/forecast.h"
#include "playoff/playoff.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLabel;
class QTableWidget;
class QThread;

// "Výhled sezóny": where each team can still finish, as a heat map of place shares beside the exact
// bounds, and the key matches of the chosen team. The work runs on a thread of its own; a result
// typed meanwhile starts it again, and closing the window stops it.
class frmVyhled final : public QDialog {
    Q_OBJECT
public:
    // With a play-off, its stages are simulated on from each completed season.
    frmVyhled(const SeasonStore& season, int seasons, QWidget* parent, std::optional<Playoff> playoff = {});
    ~frmVyhled() override;

    // The season changed: what is shown is stale, and the work starts again on the new results.
    void restart(const SeasonStore& season, std::optional<Playoff> playoff = {});
    bool computing() const;
    // The outlook the grid shows; empty until the first computation ends.
    ViewTable view() const;

private:
    struct Job;
    void start();
    void finished();
    void fill();
    void showKeyMatches();
    void growToContents();

    SeasonStore m_season;
    std::optional<Playoff> m_playoff;
    int m_seasons;
    std::shared_ptr<Job> m_job;   // the one running, if any
    std::shared_ptr<Job> m_shown; // the one the grid shows
    bool m_pending = false;       // the season changed while a job ran
    QThread* m_worker = nullptr;
    QTableWidget* grid = nullptr;
    QLabel* lblNote = nullptr;
    QComboBox* cboLine = nullptr;
    QLabel* lblKey = nullptr;
    QTableWidget* keyGrid = nullptr;
};
