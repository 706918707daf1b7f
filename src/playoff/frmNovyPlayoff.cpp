// SPDX-License-Identifier: MIT
#include "frmNovyPlayoff.h"

#include "common/fit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum Column { Name, Participants, Wins, HomeGames };

} // namespace

frmNovyPlayoff::frmNovyPlayoff(int teams, Create create, QWidget* parent)
    : QDialog(parent), m_teams(teams), m_create(std::move(create))
{
    setObjectName(u"frmNovyPlayoff"_s);
    setWindowTitle(u"Nový play-off"_s);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cboNahore = new QComboBox(this);
    cboNahore->setObjectName(u"cboNahore"_s);
    for (const PlayoffFormat& f : titleFormats(teams))
        cboNahore->addItem(f.name);
    cboDole = new QComboBox(this);
    cboDole->setObjectName(u"cboDole"_s);
    for (const PlayoffFormat& f : bottomFormats(teams))
        cboDole->addItem(f.name);
    form->addRow(u"O &titul:"_s, cboNahore);
    form->addRow(u"O &udržení:"_s, cboDole);
    layout->addLayout(form);

    addStageTable();
    layout->addWidget(grdFaze, 1);

    auto* rowButtons = new QHBoxLayout;
    auto* cmdPridat = new QPushButton(u"&Přidat fázi"_s, this);
    cmdPridat->setObjectName(u"cmdPridat"_s);
    auto* cmdOdebrat = new QPushButton(u"&Odebrat fázi"_s, this);
    cmdOdebrat->setObjectName(u"cmdOdebrat"_s);
    rowButtons->addWidget(cmdPridat);
    rowButtons->addWidget(cmdOdebrat);
    rowButtons->addStretch();
    layout->addLayout(rowButtons);

    lblChyba = new QLabel(this);
    lblChyba->setObjectName(u"lblChyba"_s);
    lblChyba->setWordWrap(true);
    layout->addWidget(lblChyba);
    auto* buttons = acceptAndCancel(this, u"&Vytvořit"_s, u"cmdOK"_s, cmdOK);
    layout->addWidget(buttons);

    connect(cboNahore, &QComboBox::currentIndexChanged, this, &frmNovyPlayoff::startFrom);
    connect(cboDole, &QComboBox::currentIndexChanged, this, &frmNovyPlayoff::startFrom);
    connect(cmdPridat, &QPushButton::clicked, this, &frmNovyPlayoff::addStage);
    connect(cmdOdebrat, &QPushButton::clicked, this, &frmNovyPlayoff::removeStage);
    connect(grdFaze, &QTableWidget::itemChanged, this, &frmNovyPlayoff::check);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmNovyPlayoff::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    startFrom();
    resize(qMax(sizeHint().width(), fontMetrics().horizontalAdvance(u'x') * 90), sizeHint().height() + 80);
}

// The stages' table: what each column takes says its heading's tooltip.
void frmNovyPlayoff::addStageTable()
{
    grdFaze = new QTableWidget(0, 4, this);
    grdFaze->setObjectName(u"grdFaze"_s);
    grdFaze->setHorizontalHeaderLabels({u"Fáze"_s, u"Účastníci"_s, u"Výhry"_s, u"Doma"_s});
    grdFaze->horizontalHeader()->setSectionResizeMode(Participants, QHeaderView::Stretch);
    grdFaze->horizontalHeaderItem(Participants)
        ->setToolTip(
            u"Místa (7) či rozsahy (7-10) konečné tabulky, „vitezove FÁZE“, „porazeni FÁZE“, odděleně čárkou"_s);
    grdFaze->horizontalHeaderItem(Wins)->setToolTip(u"Kolik vítězství postupuje (1 až 4)"_s);
    grdFaze->horizontalHeaderItem(HomeGames)->setToolTip(
        u"Zápasy, které hostí lépe nasazený (1,2,5,7); prázdné: obvyklé"_s);
}

QList<StageRow> frmNovyPlayoff::stages() const
{
    QList<StageRow> rows;
    for (int r = 0; r < grdFaze->rowCount(); ++r) {
        const auto text = [&](int column) {
            return grdFaze->item(r, column) ? grdFaze->item(r, column)->text() : QString();
        };
        const auto* wins = qobject_cast<const QSpinBox*>(grdFaze->cellWidget(r, Wins));
        rows.append({text(Name), text(Participants), wins ? wins->value() : 4, text(HomeGames)});
    }
    return rows;
}

// The table anew from the two formats chosen.
void frmNovyPlayoff::startFrom()
{
    const QList<PlayoffFormat> title = titleFormats(m_teams), bottom = bottomFormats(m_teams);
    setRows(title.value(cboNahore->currentIndex()).stages + bottom.value(cboDole->currentIndex()).stages);
}

void frmNovyPlayoff::setRows(const QList<StageRow>& rows)
{
    const QSignalBlocker block(grdFaze);
    grdFaze->setRowCount(0);
    for (const StageRow& row : rows) {
        const int r = grdFaze->rowCount();
        grdFaze->insertRow(r);
        grdFaze->setItem(r, Name, new QTableWidgetItem(row.name));
        grdFaze->setItem(r, Participants, new QTableWidgetItem(row.participants));
        grdFaze->setItem(r, HomeGames, new QTableWidgetItem(row.homeGames));
        auto* wins = new QSpinBox(grdFaze);
        wins->setRange(1, 4);
        wins->setValue(row.wins);
        connect(wins, &QSpinBox::valueChanged, this, &frmNovyPlayoff::check);
        grdFaze->setCellWidget(r, Wins, wins);
    }
    grdFaze->resizeColumnToContents(Name);
    check();
}

void frmNovyPlayoff::addStage()
{
    QList<StageRow> rows = stages();
    rows.append(StageRow{u"Fáze %1"_s.arg(rows.size() + 1), {}, 4, {}});
    setRows(rows);
    grdFaze->setCurrentCell(grdFaze->rowCount() - 1, Name);
    grdFaze->editItem(grdFaze->item(grdFaze->rowCount() - 1, Name));
}

void frmNovyPlayoff::removeStage()
{
    const int row = grdFaze->currentRow();
    if (row < 0)
        return;
    QList<StageRow> rows = stages();
    rows.removeAt(row);
    setRows(rows);
}

// The stages as the reader would take them: "Vytvořit" waits until it would.
void frmNovyPlayoff::check()
{
    const Result<QStringList> lines = playoffFileLines(stages(), m_teams);
    lblChyba->setText(lines.ok() ? QString() : lines.error());
    cmdOK->setEnabled(lines.ok());
}

void frmNovyPlayoff::cmdOK_Click()
{
    if (const Result<void> made = m_create(stages()); !made.ok()) {
        lblChyba->setText(u"Play-off nelze vytvořit. "_s + made.error());
        return;
    }
    accept();
}
