// SPDX-License-Identifier: MIT
#include "frmVyhled.h"

#include "common/fit.h"
#include "export/saveview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

struct frmVyhled::Job {
    SeasonStore season;
    std::optional<Playoff> playoff;
    std::atomic<bool> stop{false};
    Outlook result;
};

namespace {

constexpr int kPlaceColumn = 4; // the first of the place shares, one for each team of the league

QTableWidget* table(QWidget* parent, const char* name, int rows, int columns)
{
    auto* t = new QTableWidget(rows, columns, parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->setVisible(false);
    return t;
}

void fillTable(QTableWidget* t, const ViewTable& v)
{
    t->setColumnCount(static_cast<int>(v.header.size()));
    t->setRowCount(static_cast<int>(v.rows.size()));
    t->setHorizontalHeaderLabels(v.header);
    for (int r = 0; r < v.rows.size(); ++r) {
        for (int c = 0; c < v.header.size(); ++c) {
            auto* item = new QTableWidgetItem(v.rows[r].value(c));
            item->setTextAlignment(c == 0 || (c == 1 && t->objectName() == u"keyGrid")
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignCenter);
            t->setItem(r, c, item);
        }
    }
    // What the columns beyond the places mean, where the header has room only for "do 8.".
    for (int c = 0; c < v.header.size(); ++c) {
        const QString& h = v.header[c];
        const QString line = h.section(u' ', -1).chopped(1); // "8" of "do 8." and of "body do 8."
        if (h.startsWith(u"do "))
            t->horizontalHeaderItem(c)->setToolTip(
                u"podíl simulovaných sezón, v nichž tým skončí nejhůř %1.; „jistě“ a „nelze“ jsou dokázané"_s.arg(
                    line));
        else if (h.startsWith(u"body do "))
            t->horizontalHeaderItem(c)->setToolTip(
                u"kolik bodů ze svých zbývajících zápasů tým nejméně potřebuje, aby skončil nejhůř %1. za "
                "všech ostatních výsledků; „–“: ani samé výhry to nezaručí"_s.arg(line));
    }
    t->resizeColumnsToContents();
}

} // namespace

frmVyhled::frmVyhled(const SeasonStore& season, int seasons, QWidget* parent, std::optional<Playoff> playoff)
    : QDialog(parent), m_season(season), m_playoff(std::move(playoff)), m_seasons(seasons)
{
    setObjectName(u"frmVyhled"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"výhled sezóny"_s);
    auto* layout = new QVBoxLayout(this);
    grid = table(this, "grid", season.teams(), 0);
    layout->addWidget(grid, 5);
    lblNote = new QLabel(this);
    lblNote->setObjectName(u"lblNote"_s);
    lblNote->setWordWrap(true);
    layout->addWidget(lblNote);
    auto* keyRow = new QHBoxLayout;
    lblKey = new QLabel(this);
    lblKey->setObjectName(u"lblKey"_s);
    keyRow->addWidget(lblKey, 1);
    cboLine = new QComboBox(this);
    cboLine->setObjectName(u"cboLine"_s);
    for (int line : dividingLines(season))
        if (line > 0)
            cboLine->addItem(u"do %1. místa"_s.arg(line), line);
    keyRow->addWidget(cboLine);
    layout->addLayout(keyRow);
    keyGrid = table(this, "keyGrid", 0, 4);
    keyGrid->setVisible(false);
    layout->addWidget(keyGrid, 2);
    addSaveCommand(
        this, [this] { return view(); }, u"Výhled se ještě počítá; uložit jej lze, až bude hotov."_s);
    connect(grid, &QTableWidget::itemSelectionChanged, this, &frmVyhled::showKeyMatches);
    connect(cboLine, &QComboBox::currentIndexChanged, this, &frmVyhled::showKeyMatches);
    start();
    // Every row of both tables where the screen allows, and never larger than the screen: the tables
    // scroll instead.
    const QSize room = roomOnScreen(this); // the frame and the taskbar take their part of the screen
    const int row = grid->verticalHeader()->defaultSectionSize();
    const int gridHeight =
        row * (season.teams() + 1) + 2 * grid->frameWidth() + grid->horizontalScrollBar()->sizeHint().height();
    const int below = fontMetrics().height() * 10; // the note in up to four lines, the key matches. line, Uložit
    grid->setMinimumHeight(std::min(gridHeight, room.height() - below));
    keyGrid->setMinimumHeight(std::min(row * 6 + 2 * keyGrid->frameWidth(), room.height() / 4));
    resize(std::min(room.width(), fontMetrics().horizontalAdvance(u'0') * 150),
           std::min(room.height(), gridHeight + below));
}

frmVyhled::~frmVyhled()
{
    if (m_worker) {
        m_job->stop = true; // closing never waits for the seasons not yet simulated
        m_worker->wait();
        delete m_worker;
    }
}

void frmVyhled::start()
{
    m_pending = false;
    m_job = std::make_shared<Job>();
    m_job->season = m_season;
    m_job->playoff = m_playoff;
    lblNote->setText(u"počítám výhled…"_s);
    m_worker = QThread::create([job = m_job, seasons = m_seasons] {
        job->result = computeOutlook(job->season, seasons, kDefaultSeed, std::max(1, QThread::idealThreadCount()),
                                     &job->stop, KeyMatchTallies::Counted, job->playoff ? &*job->playoff : nullptr);
    });
    connect(m_worker, &QThread::finished, this, &frmVyhled::finished);
    m_worker->start();
}

void frmVyhled::restart(const SeasonStore& season, std::optional<Playoff> playoff)
{
    m_season = season;
    m_playoff = std::move(playoff);
    if (!m_worker)
        return start();
    m_pending = true; // typing never waits: the running job is told to stop and the next starts when it has
    m_job->stop = true;
}

void frmVyhled::finished()
{
    m_worker->deleteLater();
    m_worker = nullptr;
    if (m_pending)
        return start();
    m_shown = m_job;
    m_job.reset();
    fill();
}

bool frmVyhled::computing() const
{
    return m_worker != nullptr;
}

ViewTable frmVyhled::view() const
{
    return computing() || !m_shown ? ViewTable{} : outlookView(m_shown->season, m_shown->result);
}

void frmVyhled::fill()
{
    const int chosen = grid->currentRow();
    const QList<OutlookRow> rows = outlookRows(m_shown->season, m_shown->result);
    fillTable(grid, outlookView(m_shown->season, rows, stageNames(m_shown->result.forecast)));
    for (int r = 0; r < rows.size(); ++r) {
        // The darker the cell, the likelier the place; the digits stay black on every shade.
        const int teams = static_cast<int>(rows[r].places.size());
        for (int p = 0; p < teams; ++p) {
            const double share = rows[r].places[p];
            QTableWidgetItem* item = grid->item(r, kPlaceColumn + p);
            item->setBackground(QColor::fromHsvF(0.33, std::min(1.0, share) * 0.6, 1.0));
            item->setForeground(Qt::black);
        }
        for (int k = 0; k < rows[r].lines.size(); ++k) {
            const OutlookLine& l = rows[r].lines[k];
            if (l.clinched || l.out)
                grid->item(r, kPlaceColumn + teams + 2 * k)->setForeground(l.clinched ? QColor(0, 128, 0) : Qt::gray);
        }
    }
    // The team's name stands in the row header, which stays while the shares scroll sideways.
    QStringList teams;
    for (const OutlookRow& r : rows)
        teams << m_shown->season.TymPodleCisla(r.team);
    grid->setVerticalHeaderLabels(teams);
    grid->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->verticalHeader()->setVisible(true);
    grid->setColumnHidden(0, true);
    grid->resizeColumnsToContents();
    lblNote->setText(outlookNote(m_shown->result.forecast));
    if (chosen >= 0)
        grid->selectRow(chosen);
    showKeyMatches();
}

void frmVyhled::showKeyMatches()
{
    const int row = grid->currentRow();
    if (!m_shown || row < 0 || cboLine->count() == 0) {
        lblKey->setText(cboLine->count() == 0 ? u"Soutěž nemá dělicí čáry: klíčové zápasy nejsou."_s
                                              : u"Vyberte tým v tabulce: ukážou se jeho klíčové zápasy."_s);
        keyGrid->setRowCount(0);
        keyGrid->setVisible(false); // the table's rows take the room
        growToContents();
        return;
    }
    const int team = outlookRows(m_shown->season, m_shown->result)[row].team;
    const std::array<int, 3> lines = dividingLines(m_shown->season);
    const auto k =
        static_cast<std::size_t>(std::find(lines.begin(), lines.end(), cboLine->currentData().toInt()) - lines.begin());
    const ViewTable v = keyMatchesView(m_shown->season, m_shown->result.forecast, team, k);
    lblKey->setText(u"Klíčové zápasy – %1, do %2. místa: podíl sezón na čáře či nad ní podle výsledku"_s
                        .arg(m_shown->season.TymPodleCisla(team))
                        .arg(lines[k]));
    fillTable(keyGrid, v);
    keyGrid->setVisible(keyGrid->rowCount() > 0);
    growToContents();
}

void frmVyhled::growToContents()
{
    // The note's lines are known once the outlook is: the window grows for them, as far as the screen has room.
    layout()->activate();
    const int need = std::max(layout()->totalMinimumSize().height(), layout()->totalHeightForWidth(width()));
    if (need > height())
        resize(width(), std::min(need, roomOnScreen(this).height()));
}
