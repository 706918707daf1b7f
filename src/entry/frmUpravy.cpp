// SPDX-License-Identifier: MIT
#include "frmUpravy.h"

#include "platform/desktop.h"
#include "season/adjustments.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

using namespace Qt::StringLiterals;

frmUpravy::frmUpravy(const SeasonStore& league, OpenLeague& open, QWidget* parent)
    : QDialog(parent), m_league(league), m_stored(league.adjustments), m_open(open)
{
    setObjectName(u"frmUpravy"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"úpravy bodů – "_s + league.caption);
    tblUpravy = new QTableWidget(0, 3, this);
    tblUpravy->setObjectName(u"tblUpravy"_s);
    tblUpravy->setHorizontalHeaderLabels({u"tým"_s, u"body"_s, u"důvod"_s});
    tblUpravy->horizontalHeader()->setStretchLastSection(true);
    tblUpravy->verticalHeader()->hide();
    tblUpravy->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblUpravy->setSelectionMode(QAbstractItemView::SingleSelection);
    tblUpravy->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblUpravy->setMinimumSize(520, 200);
    cboTym = new QComboBox(this);
    cboTym->setObjectName(u"cboTym"_s);
    for (int t = 1; t <= league.teams(); ++t)
        if (!league.TymPodleCisla(t).isEmpty())
            cboTym->addItem(league.TymPodleCisla(t), t);
    spnBody = new QSpinBox(this);
    spnBody->setObjectName(u"spnBody"_s);
    spnBody->setRange(-kMaxAdjustment, kMaxAdjustment);
    spnBody->setValue(-1);
    txtDuvod = new QLineEdit(this);
    txtDuvod->setObjectName(u"txtDuvod"_s);
    txtDuvod->setMaxLength(kMaxReasonLength);
    txtDuvod->setPlaceholderText(u"důvod, např. neoprávněný start hráče"_s);
    cmdPridat = new QPushButton(u"&Přidat"_s, this);
    cmdPridat->setObjectName(u"cmdPridat"_s);
    cmdOdebrat = new QPushButton(u"&Odebrat"_s, this);
    cmdOdebrat->setObjectName(u"cmdOdebrat"_s);
    cmdUlozit = new QPushButton(u"&Uložit"_s, this);
    cmdUlozit->setObjectName(u"cmdUlozitUpravy"_s);
    cmdZrusit = new QPushButton(u"Zrušit"_s, this);
    cmdZrusit->setObjectName(u"cmdZrusit"_s);
    for (QPushButton* b : {cmdPridat, cmdOdebrat, cmdUlozit, cmdZrusit})
        b->setAutoDefault(false);
    layOut();
    connect(cmdPridat, &QPushButton::clicked, this, &frmUpravy::add);
    connect(txtDuvod, &QLineEdit::returnPressed, this, &frmUpravy::add);
    connect(cmdOdebrat, &QPushButton::clicked, this, &frmUpravy::removeSelected);
    tblUpravy->installEventFilter(this); // Delete removes the chosen line
    connect(cmdUlozit, &QPushButton::clicked, this, &frmUpravy::save);
    connect(cmdZrusit, &QPushButton::clicked, this, &frmUpravy::reject);
    showList();
    cboTym->setFocus();
}

bool frmUpravy::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tblUpravy && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        removeSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmUpravy::layOut()
{
    auto* grid = new QGridLayout(this);
    auto* tymLabel = new QLabel(u"&tým:"_s, this);
    tymLabel->setBuddy(cboTym);
    auto* bodyLabel = new QLabel(u"&body:"_s, this);
    bodyLabel->setBuddy(spnBody);
    auto* duvodLabel = new QLabel(u"&důvod:"_s, this);
    duvodLabel->setBuddy(txtDuvod);
    grid->addWidget(tblUpravy, 0, 0, 1, 4);
    grid->addWidget(cmdOdebrat, 1, 3);
    grid->addWidget(tymLabel, 2, 0);
    grid->addWidget(cboTym, 2, 1, 1, 3);
    grid->addWidget(bodyLabel, 3, 0);
    grid->addWidget(spnBody, 3, 1);
    grid->addWidget(duvodLabel, 4, 0);
    grid->addWidget(txtDuvod, 4, 1, 1, 2);
    grid->addWidget(cmdPridat, 4, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUlozit);
    buttons->addWidget(cmdZrusit);
    grid->addLayout(buttons, 5, 0, 1, 4);
    grid->setColumnStretch(2, 1);
}

void frmUpravy::showList()
{
    const QList<PointsAdjustment>& list = m_league.adjustments;
    tblUpravy->setRowCount(static_cast<int>(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const QString cells[] = {m_league.TymPodleCisla(list[i].team), signedPoints(list[i].points), list[i].reason};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblUpravy->setItem(i, c, item);
        }
    }
    tblUpravy->resizeColumnToContents(0);
    cmdOdebrat->setEnabled(!list.isEmpty());
}

void frmUpravy::add()
{
    const PointsAdjustment a{cboTym->currentData().toInt(), spnBody->value(), txtDuvod->text().trimmed()};
    if (const Result<void> fits = checkAdjustment(m_league, a); !fits.ok()) {
        Desktop::instance().tell(this, u"Úpravu nelze přidat: "_s + fits.error(), Desktop::Icon::Warning);
        txtDuvod->setFocus();
        return;
    }
    m_league.adjustments.append(a);
    showList();
    tblUpravy->selectRow(tblUpravy->rowCount() - 1);
    txtDuvod->clear();
    cboTym->setFocus();
}

void frmUpravy::removeSelected()
{
    const int row = tblUpravy->currentRow();
    if (row < 0 || row >= m_league.adjustments.size())
        return;
    m_league.adjustments.removeAt(row);
    showList();
    tblUpravy->selectRow(std::min(row, tblUpravy->rowCount() - 1));
}

void frmUpravy::save()
{
    const Result<void> written = m_open.setAdjustments(m_league.adjustments, Desktop::instance().now());
    if (!written.ok()) {
        Desktop::instance().tell(this,
                                 u"Úpravy bodů se nepodařilo uložit.\r\n"_s + written.error() +
                                     u"\r\n\r\nOkno zůstává otevřené a úpravy jsou zachovány; "
                                     "odstraňte příčinu a zkuste to znovu."_s,
                                 Desktop::Icon::Critical);
        return;
    }
    m_stored = m_league.adjustments;
    Q_EMIT saved(m_stored);
    accept();
}

void frmUpravy::reject()
{
    // Escape and the close box never throw away lines the user added or removed without asking.
    if (m_league.adjustments != m_stored &&
        Desktop::instance().choose(this, u"Změny úprav bodů nejsou uloženy."_s, Desktop::Icon::Warning,
                                   {u"Zahodit změny"_s, u"Zpět k úpravám"_s}, u"úpravy bodů"_s) != 0)
        return;
    QDialog::reject();
}
