// SPDX-License-Identifier: MIT
#pragma once

#include "lookups/lookups.h"

#include <QDialog>

class QLabel;

// The season's league events from its calendar file.
class frmKalendar final : public QDialog {
    Q_OBJECT
public:
    frmKalendar(const QString& caption, const std::array<CalendarEvent, 10>& events, QWidget* parent);

private:
    std::array<QLabel*, 10> lblTermin{};
    std::array<QLabel*, 10> lblAkce{};
};
