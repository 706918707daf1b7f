// SPDX-License-Identifier: MIT
#include "frmSerie.h"

#include "common/fit.h"
#include "common/twips.h"
#include "export/saveview.h"
#include "platform/desktop.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

} // namespace

void frmSerie::addRows()
{
    QFont bold = font();
    bold.setBold(true);
    constexpr int left[] = {3570, 3990, 5760, 6240};
    constexpr int width[] = {330, 1710, 390, 435};
    rows.resize(m_season.teams());
    for (int i = 0; i < rows.size(); ++i) {
        for (int c = 0; c < 4; ++c) {
            QLabel* l = label(this, QString(), twipsRect(left[c], 210 + 315 * i, width[c], 255));
            l->setAlignment((c == 1 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            if (c > 0)
                l->setFont(bold);
            l->setObjectName(u"cell%1_%2"_s.arg(i).arg(c));
            rows[i][c] = l;
        }
    }
    // A league's longest name may need more than the designed column.
    if (const int dx = widthToShow(rows[0][1], m_season.teamNames()) - rows[0][1]->width(); dx > 0) {
        makeRoom(this, rows[0][2]->x(), dx);
        for (const auto& row : rows)
            row[1]->resize(row[1]->width() + dx, row[1]->height());
    }
}

void frmSerie::connectControls()
{
    cbo1->setCurrentIndex(venue::Total - 1);
    cbo2->setCurrentIndex(0);
    cbo3->setCurrentIndex(streakorder::ByCurrent);
    OPT1->setChecked(true);
    refresh();
    for (QComboBox* box : {cbo1, cbo2, cbo3})
        connect(box, &QComboBox::currentIndexChanged, this, &frmSerie::refresh);
    // A box keeps the keyboard, so that the arrows browse its entries; an option hands it on.
    for (QRadioButton* option : {OPT1, OPT2}) {
        connect(option, &QRadioButton::clicked, this, [this] {
            refresh();
            foclost->setFocus();
        });
    }
    addSaveCommand(this, [this] {
        return streaksView(m_season, cbo1->currentIndex() + 1, cbo2->currentIndex(),
                           OPT2->isChecked() ? OvertimeMode::FinalResult : OvertimeMode::Draw, cbo3->currentIndex());
    });
}

frmSerie::frmSerie(const SeasonStore& season, QWidget* parent)
    : QDialog(parent), m_season(season), m_serie(buildSerie(season))
{
    setObjectName(u"frmSerie"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"série výsledků"_s);
    setFixedSize(tw(6885), tw(std::max(4695, 285 + 315 * season.teams()))); // a row a team

    label(this, u"kde:"_s, twipsRect(165, 150, 570, 330));
    cbo1 = new QComboBox(this);
    cbo1->setObjectName(u"cbo1"_s);
    cbo1->setGeometry(twipsRect(165, 420, 1410, 315));
    cbo1->addItems({u"DOMA"_s, u"VENKU"_s, u"CELKEM"_s});
    label(this, u"typ série:"_s, twipsRect(165, 990, 2010, 330));
    cbo2 = new QComboBox(this);
    cbo2->setObjectName(u"cbo2"_s);
    cbo2->setGeometry(twipsRect(165, 1260, 2955, 315));
    cbo2->addItems(streakTypeCaptions());
    cbo2->setMaxVisibleItems(16);
    label(this, u"řadit:"_s, twipsRect(165, 1830, 570, 330));
    cbo3 = new QComboBox(this);
    cbo3->setObjectName(u"cbo3"_s);
    cbo3->setGeometry(twipsRect(165, 2100, 2955, 315)); // wider than designed: "PODLE AKTUÁLNÍ" must fit any font
    cbo3->addItems(streakOrderCaptions());
    label(this, u"prodlužovaná utkání:"_s, twipsRect(165, 2790, 2955, 330));
    OPT1 = new QRadioButton(u" počítat jako remízu"_s, this);
    OPT1->setObjectName(u"OPT1"_s);
    OPT1->setGeometry(twipsRect(240, 3030, 2895, 300));
    OPT2 = new QRadioButton(u" počítat konečný výsledek"_s, this);
    OPT2->setObjectName(u"OPT2"_s);
    OPT2->setGeometry(twipsRect(240, 3360, 2895, 300));
    auto* Label1 = label(this, u"První číslo udává aktuální sérii, druhé nejdelší dosaženou sérii."_s,
                         twipsRect(165, 4080, 2970, 435));
    Label1->setWordWrap(true);
    auto* Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::VLine);
    Line1->setStyleSheet(u"color: gray; border-left: 1px dotted gray"_s);
    Line1->setGeometry(twipsRect(3465, 240, 30, 4320));
    foclost = new QPushButton(u"Command1"_s, this);
    foclost->setObjectName(u"foclost"_s);
    foclost->setGeometry(twipsRect(0, -2000, 300, 300));

    addRows();
    // The longest streak types need more than the designed width in most fonts.
    const int dx = widthToShowAll(cbo2) - cbo2->width();
    if (dx > 0) {
        makeRoom(this, Line1->x() - 1, dx);
        for (QWidget* w : {static_cast<QWidget*>(cbo2), static_cast<QWidget*>(cbo3)})
            w->resize(w->width() + dx, w->height());
    }

    connectControls();
}

void frmSerie::refresh()
{
    const BusyCursor busy;
    const auto result =
        computeStreaks(m_season, m_serie, cbo1->currentIndex() + 1, cbo2->currentIndex(),
                       OPT2->isChecked() ? OvertimeMode::FinalResult : OvertimeMode::Draw, cbo3->currentIndex());
    for (int i = 0; i < rows.size(); ++i) {
        const StreakRow& row = result[i];
        const QString texts[] = {row.pos, row.team, row.current, row.longest};
        for (int c = 0; c < 4; ++c)
            rows[i][c]->setText(texts[c]);
    }
}
