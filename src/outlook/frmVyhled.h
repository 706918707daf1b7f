// SPDX-License-Identifier: MIT
#pragma once

#include "outlook/forecast.h"

#include <QDialog>
#include <memory>

class QLabel;
class QTableWidget;
class QThread;

// "Výhled sezóny": where each team can still finish, as a heat map of place shares. The seasons are
// simulated on a thread of their own; the window says that it is working meanwhile.
class frmVyhled final : public QDialog {
    Q_OBJECT
public:
    frmVyhled(const SeasonStore& season, int seasons, QWidget* parent);
    ~frmVyhled() override;

    bool computing() const;
    // The outlook the grid shows; empty until the first computation ends.
    ViewTable view() const;

private:
    void fill(const Forecast& forecast);

    SeasonStore m_season;
    std::shared_ptr<Forecast> m_forecast;
    std::shared_ptr<std::atomic<bool>> m_stop;
    QThread* m_worker = nullptr;
    QTableWidget* grid = nullptr;
    QLabel* lblNote = nullptr;
};
