// SPDX-License-Identifier: MIT
#include "frmKriz.h"

#include "app/twips.h"
#include "stats/crosstable.h"

#include <QLabel>
#include <QPainter>

frmKriz::frmKriz(const SeasonStore& season, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmKriz"_qs);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"křížová tabulka"_qs);
    setFixedSize(tw(12015), tw(7755));
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);

    const CrossTable table = crossTable(season);
    // Everything stands 30 twips above its designed place.
    constexpr int up = 30;
    for (int i = 0; i < kTeams; ++i) {
        auto* number = new QLabel(QString::number(i + 1) + u' ', this);
        number->setGeometry(twipsRect(105, 525 + 525 * i - up, 330, 225));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* name = new QLabel(season.TymPodleCisla(i + 1), this);
        name->setGeometry(twipsRect(515, 525 + 525 * i - up, 1170, 225));
        auto* column = new QLabel(QString::number(i + 1) + u' ', this);
        column->setGeometry(twipsRect(1785 + 735 * i, 105 - up, 540, 225));
        column->setAlignment(Qt::AlignCenter);
    }
    for (int h = 0; h < kTeams; ++h) {
        for (int a = 0; a < kTeams; ++a) {
            auto* cell = new QLabel(table[h][a], this);
            cell->setGeometry(twipsRect(1785 + 735 * a, 420 + 525 * h - up, 540, 390));
            cell->setAlignment(Qt::AlignCenter);
            if (h == a)
                cell->setStyleSheet(u"background: rgb(128, 128, 128)"_qs);
            cells[h][a] = cell;
        }
    }
}

void frmKriz::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(172, 172, 172));
    for (int n = 0; n < kTeams; ++n) {
        painter.drawLine(twipsPoint(1680 + 735 * n, 105), twipsPoint(1680 + 735 * n, 7665));
        painter.drawLine(twipsPoint(210, 315 + 525 * n), twipsPoint(11970, 315 + 525 * n));
    }
}
