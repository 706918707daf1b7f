// SPDX-License-Identifier: MIT
#include "frmVyhled.h"

#include "export/saveview.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

frmVyhled::frmVyhled(const SeasonStore& season, int seasons, QWidget* parent)
    : QDialog(parent), m_season(season), m_forecast(std::make_shared<Forecast>()),
      m_stop(std::make_shared<std::atomic<bool>>(false))
{
    setObjectName(u"frmVyhled"_qs);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"výhled sezóny"_qs);
    auto* layout = new QVBoxLayout(this);
    grid = new QTableWidget(kTeams, 3 + kTeams, this);
    grid->setObjectName(u"grid"_qs);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    layout->addWidget(grid);
    lblNote = new QLabel(u"počítám výhled…"_qs, this);
    lblNote->setObjectName(u"lblNote"_qs);
    lblNote->setWordWrap(true);
    layout->addWidget(lblNote);
    addSaveCommand(this, [this] { return view(); });

    // The thread works on its own copy and result; the window waits for it before it goes.
    m_worker = QThread::create([copy = season, seasons, into = m_forecast, stop = m_stop] {
        *into = simulateSeason(copy, seasons, 2007, std::max(1, QThread::idealThreadCount()), stop.get());
    });
    connect(m_worker, &QThread::finished, this, [this] { fill(*m_forecast); });
    m_worker->start();
    resize(900, 480);
}

frmVyhled::~frmVyhled()
{
    *m_stop = true; // closing never waits for the seasons not yet simulated
    m_worker->wait();
    delete m_worker;
}

bool frmVyhled::computing() const
{
    return !m_worker->isFinished();
}

ViewTable frmVyhled::view() const
{
    return computing() ? ViewTable{} : outlookView(m_season, *m_forecast);
}

void frmVyhled::fill(const Forecast& forecast)
{
    const QList<OutlookRow> rows = outlookRows(m_season, forecast);
    const ViewTable v = outlookView(m_season, rows);
    grid->setHorizontalHeaderLabels(v.header);
    for (int r = 0; r < kTeams; ++r) {
        for (int c = 0; c < v.header.size(); ++c) {
            auto* item = new QTableWidgetItem(v.rows[r].value(c));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            if (c >= 3) {
                // The darker the cell, the likelier the place; the digits stay black on every shade.
                const double share = rows[r].places[static_cast<std::size_t>(c - 3)];
                item->setBackground(QColor::fromHsvF(0.33, std::min(1.0, share) * 0.6, 1.0));
                item->setForeground(Qt::black);
                if (share >= 1.0)
                    item->setText(u"jistě"_qs);
            }
            grid->setItem(r, c, item);
        }
    }
    grid->resizeColumnsToContents();
    lblNote->setText(outlookNote(forecast));
}
