// SPDX-License-Identifier: MIT
#include "frmHistorie.h"

#include "common/fit.h"
#include "export/saveview.h"

#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QTableWidget* tableOf(const ViewTable& view, const QString& name, QWidget* parent)
{
    auto* table = new QTableWidget(static_cast<int>(view.rows.size()), static_cast<int>(view.header.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(view.header);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < view.rows.size(); ++r) {
        for (int c = 0; c < view.header.size(); ++c) {
            auto* item = new QTableWidgetItem(view.rows[r].value(c));
            const bool teamColumn = view.header[c] == u"tým";
            item->setTextAlignment((teamColumn ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    return table;
}

} // namespace

frmHistorie::frmHistorie(const AllTime& table, QWidget* parent) : QDialog(parent), m_table(table)
{
    setObjectName(u"frmHistorie"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Historická tabulka – "_s + table.competition);
    auto* layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    tabs->setObjectName(u"tabs"_s);
    tblSoucty = tableOf(allTimeView(table), u"tblSoucty"_s, tabs);
    tblUmisteni = tableOf(placesView(table), u"tblUmisteni"_s, tabs);
    tabs->addTab(tblSoucty, u"&Tabulka"_s);
    tabs->addTab(tblUmisteni, u"&Umístění po sezónách"_s);
    lblPoznamky = new QLabel(allTimeNotes(table).join(u'\n'), this);
    lblPoznamky->setObjectName(u"lblPoznamky"_s);
    lblPoznamky->setWordWrap(true);
    layout->addWidget(tabs);
    layout->addWidget(lblPoznamky);
    // Wide enough for every column, tall enough for every team, as far as the screen allows.
    const auto needed = [](const QTableWidget* t) {
        return QSize(t->horizontalHeader()->length() + 2 * t->frameWidth() + 4,
                     t->horizontalHeader()->height() + t->verticalHeader()->length() + 2 * t->frameWidth() + 4);
    };
    const QSize room = needed(tblSoucty).expandedTo(needed(tblUmisteni));
    tabs->setMinimumSize(room.boundedTo(roomOnScreen(this) - QSize(40, 160)) + QSize(8, 40));
    addSaveCommand(this, [this] { return tabs->currentIndex() == 0 ? allTimeView(m_table) : placesView(m_table); });
}
