// SPDX-License-Identifier: MIT
#include "frmKalendar.h"

#include "common/twips.h"

#include <QLabel>
#include <algorithm>

using namespace Qt::StringLiterals;

frmKalendar::frmKalendar(const QString& caption, const std::array<CalendarEvent, 10>& events, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"frmKalendar"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption.toLower());
    QFont bold = font();
    bold.setBold(true);
    int widest = 0;
    int row = 0; // announced events stand one under another, without gaps for the missing numbers
    for (int k = 0; k < 10; ++k) {
        lblTermin[k] = new QLabel(events[static_cast<std::size_t>(k)].dates, this);
        lblTermin[k]->setObjectName(u"lblTermin"_s + QString::number(k));
        lblTermin[k]->setGeometry(twipsRect(120, 150 + 330 * row, 1800, 255));
        lblTermin[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblAkce[k] = new QLabel(events[static_cast<std::size_t>(k)].name, this);
        lblAkce[k]->setObjectName(u"lblAkce"_s + QString::number(k));
        lblAkce[k]->setFont(bold);
        lblAkce[k]->adjustSize();
        lblAkce[k]->move(tw(2040), tw(150 + 330 * row));
        const bool shown = events[static_cast<std::size_t>(k)].announced();
        lblTermin[k]->setVisible(shown);
        lblAkce[k]->setVisible(shown);
        row += shown ? 1 : 0;
        if (lblAkce[k]->width() > lblAkce[widest]->width())
            widest = k;
    }
    setFixedSize(lblAkce[widest]->x() + lblAkce[widest]->width() + tw(250), tw(150 + 330 * std::max(row, 1) + 150));
}
