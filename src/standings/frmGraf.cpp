// SPDX-License-Identifier: MIT
#include "frmGraf.h"

#include "common/twips.h"
#include "platform/desktop.h"
#include "standings/ranking.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The second is a dark yellow: pure yellow cannot be read on white.
const QColor colours[] = {QColor(255, 0, 0), QColor(200, 150, 0), QColor(0, 192, 0), QColor(0, 0, 255)};
constexpr int listLeft[] = {195, 2505, 4815, 7125};

// The rounds span the designed width whatever their number; each place keeps its designed height, so
// that a taller league makes a taller window.
constexpr int kPlotWidth = 8320;
constexpr int kPlaceHeight = 200;
constexpr int kDesignedPlaces = 14;

// Round labels at least the designed four rounds of 52 apart; beyond five, in steps of five.
int labelStep(int rounds)
{
    const int step = std::max(1, (rounds + 12) / 13);
    return step <= 5 ? step : (step + 4) / 5 * 5;
}

} // namespace

QPoint frmGraf::at(int round, int position) const
{
    return twipsPoint(500 + kPlotWidth * round / std::max(1, m_rounds), 190 + kPlaceHeight * position);
}

int frmGraf::below(int designedTop) const
{
    return designedTop + kPlaceHeight * (m_teams - kDesignedPlaces);
}

frmGraf::frmGraf(const SeasonStore& season, QWidget* parent)
    : QDialog(parent), m_data(computeGraph(season)), m_byRound(m_data), m_byDate(computeGraphByDate(season)),
      m_warning(graphWarning(season)), m_teams(season.teams()), m_rounds(season.rounds()),
      m_line(season.HR1 > 0 && season.HR1 < season.teams() ? season.HR1 : 0)
{
    setObjectName(u"frmGraf"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"graf vývoje umístění"_s);
    setFixedSize(tw(9480), tw(below(4410)));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    for (int pos = 1; pos <= m_teams; ++pos) {
        auto* l = new QLabel(QString::number(pos) + u'.', this);
        l->setFont(small);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(twipsRect(165, 285 + 200 * (pos - 1), 345, 210));
    }
    addAxisLabels();
    chkDatum = new QCheckBox(u"podle &data"_s, this);
    chkDatum->setObjectName(u"chkDatum"_s);
    chkDatum->setToolTip(u"Umístění po každém hracím dnu podle skutečných dat zápasů"_s);
    chkDatum->setGeometry(twipsRect(7200, below(3465), 2000, 300));
    chkDatum->setEnabled(!m_byDate.days.isEmpty());
    connect(chkDatum, &QCheckBox::toggled, this, [this](bool byDate) {
        m_data = byDate ? m_byDate : m_byRound;
        m_rounds = byDate ? static_cast<int>(m_byDate.days.size()) : static_cast<int>(m_byRound.positions.size());
        addAxisLabels();
        update();
    });
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLabel(this); // graf_R … graf_B
        box->setGeometry(twipsRect(listLeft[i], below(3765), 2070, 495));
        box->setStyleSheet(u"background: %1"_s.arg(colours[i].name()));
        lists[i] = new QComboBox(this);
        lists[i]->setObjectName(QStringList{u"cboGraf_R"_s, u"cboGraf_Y"_s, u"cboGraf_G"_s, u"cboGraf_B"_s}[i]);
        lists[i]->setGeometry(twipsRect(listLeft[i] + 75, below(3825), 1905, 360));
        lists[i]->addItem(QString());
        lists[i]->addItems(season.teamNames());
        lists[i]->setMaxVisibleItems(kMaxTeams + 1);
        connect(lists[i], &QComboBox::currentIndexChanged, this, [this] {
            update(); // VykreslitCary
            if (isVisible())
                foclost->setFocus();
        });
    }
    foclost = new QPushButton(this);
    foclost->setObjectName(u"foclost"_s);
    foclost->setGeometry(twipsRect(0, -2000, 300, 300));
}

// Under the axis: every few rounds' numbers, or by date every few match days' day and month.
void frmGraf::addAxisLabels()
{
    qDeleteAll(findChildren<QLabel*>(QRegularExpression(u"^round\\d+$"_s)));
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    const bool byDate = chkDatum && chkDatum->isChecked();
    const int width = byDate ? 640 : 345; // twips: "30.12." needs more than a round's number
    const int step = std::max(labelStep(m_rounds), (width + 10) * m_rounds / kPlotWidth + 1);
    for (int k = step; k <= m_rounds; k += step) {
        auto* l = new QLabel(byDate ? m_data.days[k - 1].toString(u"d.M."_s) : QString::number(k), this);
        l->setObjectName(u"round"_s + QString::number(k));
        l->setFont(small);
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(at(k, 0).x() - tw(width / 2), tw(below(3255)), tw(width), tw(210));
        l->show();
    }
}

QList<std::pair<QLine, QColor>> frmGraf::segments() const
{
    QList<std::pair<QLine, QColor>> out;
    for (int i = 0; i < 4; ++i) {
        const int t = lists[i]->currentIndex();
        if (t < 1)
            continue;
        for (int k = 1; k < m_data.played[static_cast<std::size_t>(t - 1)]; ++k)
            out.append({QLine(at(k, m_data.position(k, t)), at(k + 1, m_data.position(k + 1, t))), colours[i]});
    }
    return out;
}

void frmGraf::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    const int axis = below(3120);
    painter.drawLine(twipsPoint(660, axis), twipsPoint(9240, axis));
    painter.drawLine(twipsPoint(660, axis), twipsPoint(660, 195));
    painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    for (int q = 1; q <= 4; ++q) {
        const int x = at(quarterRounds(m_rounds, q).second, 0).x();
        painter.drawLine(QPoint(x, tw(axis)), QPoint(x, tw(195)));
    }
    if (m_line > 0) // under the first dividing line
        painter.drawLine(twipsPoint(660, 190 + kPlaceHeight * m_line + 80),
                         twipsPoint(9240, 190 + kPlaceHeight * m_line + 80));
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& [line, colour] : segments()) {
        painter.setPen(QPen(colour, 2));
        painter.drawLine(line);
    }
}

void frmGraf::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // After the window is on screen, so that the warning stands in front of it.
    QTimer::singleShot(0, this, &frmGraf::onActivated);
}

void frmGraf::onActivated()
{
    if (!m_warning.isEmpty())
        Desktop::instance().message(this, m_warning, Desktop::Icon::Warning, Desktop::Buttons::Ok, u"klx"_s);
    for (QComboBox* list : lists)
        list->setCurrentIndex(0);
}
