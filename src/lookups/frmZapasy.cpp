// SPDX-License-Identifier: MIT
#include "frmZapasy.h"

#include "common/fit.h"
#include "export/formats.h"
#include "export/saveview.h"
#include "lookups/fixedfont.h"
#include "lookups/lookups.h"
#include "lookups/pageprinter.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>

using namespace Qt::StringLiterals;

frmZapasy::frmZapasy(const SeasonStore& season, const QString& leagueFile, QWidget* parent,
                     std::optional<Playoff> playoff)
    : QDialog(parent), m_season(season), m_leagueFile(leagueFile), m_playoff(std::move(playoff))
{
    setObjectName(u"frmZapasy"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"zápasy vybraného týmu"_s);
    auto* grid = new QGridLayout(this);
    cboTym = new QComboBox(this);
    cboTym->setObjectName(u"cboTym"_s);
    cboTym->addItems(season.teamNames());
    cboTym->setCurrentIndex(-1);
    cboTym->setMaxVisibleItems(14);
    Command1 = new QPushButton(u"&Najít"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command2 = new QPushButton(u"&Vytisknout"_s, this);
    Command2->setObjectName(u"Command2"_s);
    Command2->setEnabled(false);
    lstZ = new QListWidget(this);
    lstZ->setObjectName(u"lstZ"_s);
    lstZ->setFont(fixedFont(u"Courier New"_s, 9));
    lstZ->setMinimumSize(QSize(560, 420).boundedTo(roomOnScreen(this) - QSize(0, 80)));
    grid->addWidget(cboTym, 0, 0);
    grid->addWidget(Command1, 0, 1);
    grid->addWidget(Command2, 0, 2);
    grid->addWidget(lstZ, 1, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    connect(Command1, &QPushButton::clicked, this, &frmZapasy::search);
    connect(Command2, &QPushButton::clicked, this, &frmZapasy::print);
    auto* toCalendar = new QPushButton(u"Do kalendáře…"_s, this);
    toCalendar->setObjectName(u"cmdKalendar"_s);
    toCalendar->setEnabled(false);
    grid->addWidget(toCalendar, 2, 0, Qt::AlignLeft);
    connect(toCalendar, &QPushButton::clicked, this, [this] {
        saveICalendar(this,
                      toICalendar(m_season, m_leagueFile, m_team, Desktop::instance().now(),
                                  m_playoff ? playoffCalendar(*m_playoff, m_season, m_team) : QList<CalendarGame>()),
                      fileNameFor(u"zápasy "_s + m_season.TymPodleCisla(m_team) + u' ' + m_season.season) + u".ics");
    });
    connect(Command1, &QPushButton::clicked, toCalendar, [this, toCalendar] { toCalendar->setEnabled(m_team > 0); });
    addSaveCommand(this, [this] { return m_team > 0 ? matchesView(m_season, m_team) : ViewTable{}; });
}

void frmZapasy::search()
{
    if (cboTym->currentIndex() < 0)
        return;
    const BusyCursor busy;
    m_team = cboTym->currentIndex() + 1;
    lstZ->clear();
    lstZ->addItems(teamMatchLines(m_season, m_team));
    if (const QStringList playoff = m_playoff ? teamPlayoffLines(*m_playoff, m_season, m_team) : QStringList();
        !playoff.isEmpty())
        lstZ->addItems(QStringList{QString(), u"play-off:"_s} + playoff);
    Command1->setFocus();
    Command2->setEnabled(true);
}

void frmZapasy::print()
{
    QStringList lines;
    for (int i = 0; i < lstZ->count(); ++i)
        lines << lstZ->item(i)->text();
    lstZ->clearSelection();
    printPage(this, matchesPage(m_season, m_team, lines, Desktop::instance().now()),
              m_season.TymPodleCisla(m_team) + u".pdf");
}
