// SPDX-License-Identifier: MIT
#include "frmGraf.h"

#include "common/twips.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The second is a dark yellow: pure yellow cannot be read on white.
const QColor colours[] = {QColor(255, 0, 0), QColor(200, 150, 0), QColor(0, 192, 0), QColor(0, 0, 255)};
constexpr int listLeft[] = {195, 2505, 4815, 7125};

QPoint at(int round, int position)
{
    return twipsPoint(500 + 160 * round, 190 + 200 * position);
}

} // namespace

frmGraf::frmGraf(const SeasonStore& season, QWidget* parent)
    : QDialog(parent), m_data(computeGraph(season)), m_warning(graphWarning(season))
{
    setObjectName(u"frmGraf"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"graf vývoje umístění"_s);
    setFixedSize(tw(9480), tw(4410));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    for (int pos = 1; pos <= kTeams; ++pos) {
        auto* l = new QLabel(QString::number(pos) + u'.', this);
        l->setFont(small);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(twipsRect(165, 285 + 200 * (pos - 1), 345, 210));
    }
    for (int j = 1; j <= 13; ++j) {
        auto* l = new QLabel(QString::number(4 * j), this);
        l->setFont(small);
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(twipsRect(970 + 640 * (j - 1), 3255, 345, 210));
    }
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLabel(this); // graf_R … graf_B
        box->setGeometry(twipsRect(listLeft[i], 3765, 2070, 495));
        box->setStyleSheet(u"background: %1"_s.arg(colours[i].name()));
        lists[i] = new QComboBox(this);
        lists[i]->setObjectName(QStringList{u"cboGraf_R"_s, u"cboGraf_Y"_s, u"cboGraf_G"_s, u"cboGraf_B"_s}[i]);
        lists[i]->setGeometry(twipsRect(listLeft[i] + 75, 3825, 1905, 360));
        lists[i]->addItem(QString());
        lists[i]->addItems(season.teamNames());
        lists[i]->setMaxVisibleItems(15);
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
    painter.drawLine(twipsPoint(660, 3120), twipsPoint(9240, 3120));
    painter.drawLine(twipsPoint(660, 3120), twipsPoint(660, 195));
    painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    for (int x : {2580, 4660, 6740, 8820})
        painter.drawLine(twipsPoint(x, 3120), twipsPoint(x, 195));
    painter.drawLine(twipsPoint(660, 1870), twipsPoint(9240, 1870));
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
