// SPDX-License-Identifier: MIT
#include "frmKriz.h"

#include "common/fit.h"
#include "common/twips.h"
#include "stats/crosstable.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Twips of the designed grid: a column per away team, a row of two result lines per home team; a
// pair that meets more often makes every row a line taller for each meeting more.
constexpr int kColumnWidth = 735;
constexpr int kNameLeft = 515;
constexpr int kFirstRow = 315;
constexpr int kLineHeight = 195;

struct Geometry {
    int teams;
    int lines;              // result lines a cell shows
    int firstColumn = 1680; // after the longest name

    int rowHeight() const { return 525 + kLineHeight * (lines - 2); }
    int right() const { return firstColumn + kColumnWidth * teams; }
    int bottom() const { return kFirstRow + rowHeight() * teams; }
};

// The grid, with the light grey lines between the cells.
class Grid final : public QWidget {
public:
    Grid(QWidget* parent, Geometry g) : QWidget(parent), m_g(g)
    {
        setFixedSize(tw(g.right() + 45), tw(g.bottom() + 90));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QColor(172, 172, 172));
        for (int n = 0; n < m_g.teams; ++n) {
            const int x = m_g.firstColumn + kColumnWidth * n;
            painter.drawLine(twipsPoint(x, 105), twipsPoint(x, m_g.bottom()));
            painter.drawLine(twipsPoint(210, kFirstRow + m_g.rowHeight() * n),
                             twipsPoint(m_g.right(), kFirstRow + m_g.rowHeight() * n));
        }
    }

private:
    Geometry m_g;
};

// The table's cells, home team by row, each centred between the grid lines so that the grey diagonal squares sit
// in their cells.
QList<QList<QLabel*>> placeCells(QWidget* grid, const Geometry& g, const CrossTable& table)
{
    QList<QList<QLabel*>> cells(g.teams);
    const int row = g.rowHeight();
    for (int h = 0; h < g.teams; ++h) {
        cells[h].resize(g.teams);
        for (int a = 0; a < g.teams; ++a) {
            auto* cell = new QLabel(table[h][a], grid);
            cell->setGeometry(
                twipsRect(g.firstColumn + 98 + kColumnWidth * a, kFirstRow + 68 + row * h, 540, row - 135));
            cell->setAlignment(Qt::AlignCenter);
            if (h == a)
                cell->setStyleSheet(u"background: rgb(128, 128, 128)"_s);
            cell->setObjectName(u"cell%1_%2"_s.arg(h).arg(a));
            cells[h][a] = cell;
        }
    }
    return cells;
}

} // namespace

frmKriz::frmKriz(const SeasonStore& season, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmKriz"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"křížová tabulka"_s);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
    const CrossTable table = crossTable(season);
    Geometry g{season.teams(), 2};
    QLabel probe;
    probe.setFont(small);
    g.firstColumn = std::max(g.firstColumn, kNameLeft + 15 * (widthToShow(&probe, season.teamNames()) + 4));
    for (const QStringList& row : table)
        for (const QString& cell : row)
            g.lines = std::max<int>(g.lines, static_cast<int>(cell.count(u'\n')) + 1);
    auto* grid = new Grid(this, g);
    // On a screen smaller than the grid (a laptop at 200 %) it scrolls rather than losing columns.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(grid);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    QSize room = grid->size();
    if (const QScreen* screen = parent ? parent->screen() : nullptr) {
        const QSize available = screen->availableGeometry().size() - QSize(40, 80);
        room = room.boundedTo(available);
    }
    setFixedSize(room);

    // Everything stands 30 twips above its designed place.
    constexpr int up = 30;
    const int row = g.rowHeight();
    const QStringList headings = shortNames(season.teamNames());
    for (int i = 0; i < g.teams; ++i) {
        auto* number = new QLabel(QString::number(i + 1) + u' ', grid);
        number->setGeometry(twipsRect(105, kFirstRow + 210 + row * i - up, 330, 225));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* name = new QLabel(season.TymPodleCisla(i + 1), grid);
        name->setGeometry(twipsRect(kNameLeft, kFirstRow + 210 + row * i - up, g.firstColumn - 45 - kNameLeft, 225));
        auto* column = new QLabel(QString::number(i + 1) + u' ' + headings[i], grid);
        column->setObjectName(u"column"_s + QString::number(i));
        column->setToolTip(season.TymPodleCisla(i + 1));
        column->setGeometry(twipsRect(g.firstColumn + kColumnWidth * i, 105 - up, kColumnWidth, 225));
        column->setAlignment(Qt::AlignCenter);
    }
    cells = placeCells(grid, g, table);
}
