// SPDX-License-Identifier: MIT
#include "frmBilance.h"

#include "export/saveview.h"
#include "lookups/lookups.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

frmBilance::frmBilance(const SeasonStore& season, QWidget* parent, const std::optional<Playoff>* playoff)
    : QDialog(parent), m_playoff(playoff), m_season(season)
{
    setObjectName(u"frmBilance"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"dosavadní bilance"_s);
    auto* grid = new QGridLayout(this);
    QFont bold = font();
    bold.setBold(true);
    auto* heading = new QLabel(u"dosavadní bilance týmu"_s, this);
    heading->setFont(bold);
    grid->addWidget(heading, 0, 0, 1, 4);
    cboBil = new QComboBox(this);
    cboBil->setObjectName(u"cboBil"_s);
    cboBil->addItems(season.teamNames());
    cboBil->setCurrentIndex(-1);
    cboBil->setMaxVisibleItems(14);
    grid->addWidget(cboBil, 1, 0, 1, 4);
    const QStringList headers{u"DOMA"_s, u"VENKU"_s, u"CELKEM"_s};
    for (int c = 0; c < 3; ++c) {
        auto* h = new QLabel(headers[c], this);
        h->setAlignment(Qt::AlignRight);
        grid->addWidget(h, 2, c + 1);
    }
    const auto captions = teamBalance(season, 1); // only the captions are needed here
    for (int r = 0; r < 11; ++r) {
        auto* caption = new QLabel(r < 10 ? captions[static_cast<std::size_t>(r)].caption : u"play-off:"_s, this);
        grid->addWidget(caption, r + 3, 0);
        if (r == 10)
            lblPlayoff = caption;
        for (int c = 0; c < 3; ++c) {
            auto* v = new QLabel(this);
            v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            v->setMinimumWidth(70);
            if (c == 2)
                v->setFont(bold);
            grid->addWidget(v, r + 3, c + 1);
            v->setObjectName(u"cell%1_%2"_s.arg(r).arg(c));
            values[r][c] = v;
        }
    }
    showPlayoffRow(false);
    connect(cboBil, &QComboBox::currentIndexChanged, this, &frmBilance::cboBil_Click);
    addSaveCommand(this, [this] {
        return cboBil->currentIndex() < 0 ? ViewTable{} : balanceView(m_season, cboBil->currentIndex() + 1);
    });
}

void frmBilance::showTeam(int team)
{
    cboBil->setCurrentIndex(team - 1);
}

void frmBilance::refresh()
{
    cboBil_Click(cboBil->currentIndex());
}

void frmBilance::cboBil_Click(int index)
{
    if (index < 0)
        return;
    const BusyCursor busy;
    const auto rows = teamBalance(m_season, index + 1);
    for (int r = 0; r < 10; ++r) {
        const BalanceRow& row = rows[static_cast<std::size_t>(r)];
        values[r][0]->setText(row.home);
        values[r][1]->setText(row.away);
        values[r][2]->setText(row.total);
    }
    const std::array<QString, 3> playoff =
        m_playoff && *m_playoff ? playoffBalance(**m_playoff, index + 1) : std::array<QString, 3>{};
    for (std::size_t c = 0; c < 3; ++c)
        values[10][c]->setText(playoff[c]);
    showPlayoffRow(!playoff[2].isEmpty());
}

void frmBilance::showPlayoffRow(bool shown)
{
    lblPlayoff->setVisible(shown);
    for (QLabel* v : values[10])
        v->setVisible(shown);
}
