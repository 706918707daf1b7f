// SPDX-License-Identifier: MIT
#include "frmKriz.h"

#include "common/twips.h"
#include "stats/crosstable.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The grid in its designed size, with the light grey lines between the cells.
class Grid final : public QWidget {
public:
    explicit Grid(QWidget* parent) : QWidget(parent) { setFixedSize(tw(12015), tw(7755)); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QColor(172, 172, 172));
        for (int n = 0; n < kTeams; ++n) {
            painter.drawLine(twipsPoint(1680 + 735 * n, 105), twipsPoint(1680 + 735 * n, 7665));
            painter.drawLine(twipsPoint(210, 315 + 525 * n), twipsPoint(11970, 315 + 525 * n));
        }
    }
};

// The first three letters of a name, for a column as narrow as a result: "Č. Budějovice" → "ČBU".
QString shortName(const QString& name)
{
    QString letters;
    for (const QChar c : name)
        if (c.isLetter() && letters.size() < 3)
            letters += c.toUpper();
    return letters;
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
    auto* grid = new Grid(this);
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

    const CrossTable table = crossTable(season);
    // Everything stands 30 twips above its designed place.
    constexpr int up = 30;
    for (int i = 0; i < kTeams; ++i) {
        auto* number = new QLabel(QString::number(i + 1) + u' ', grid);
        number->setGeometry(twipsRect(105, 525 + 525 * i - up, 330, 225));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* name = new QLabel(season.TymPodleCisla(i + 1), grid);
        name->setGeometry(twipsRect(515, 525 + 525 * i - up, 1170, 225));
        auto* column = new QLabel(QString::number(i + 1) + u' ' + shortName(season.TymPodleCisla(i + 1)), grid);
        column->setObjectName(u"column"_s + QString::number(i));
        column->setToolTip(season.TymPodleCisla(i + 1));
        column->setGeometry(twipsRect(1680 + 735 * i, 105 - up, 735, 225));
        column->setAlignment(Qt::AlignCenter);
    }
    for (int h = 0; h < kTeams; ++h) {
        for (int a = 0; a < kTeams; ++a) {
            auto* cell = new QLabel(table[h][a], grid);
            // Centred between the grid lines, so that the grey diagonal squares sit in their cells.
            cell->setGeometry(twipsRect(1778 + 735 * a, 383 + 525 * h, 540, 390));
            cell->setAlignment(Qt::AlignCenter);
            if (h == a)
                cell->setStyleSheet(u"background: rgb(128, 128, 128)"_s);
            cell->setObjectName(u"cell%1_%2"_s.arg(h).arg(a));
            cells[h][a] = cell;
        }
    }
}
