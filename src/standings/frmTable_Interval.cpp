// SPDX-License-Identifier: MIT
#include "frmTable_Interval.h"

#include "common/twips.h"
#include "platform/desktop.h"
#include "standings/frmTable.h"
#include "standings/ranking.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The quick choices as quarters of the season: from the first of one to the last of another; the
// empty separator (index 4) selects nothing.
struct QuickChoice {
    const char16_t* caption;
    int firstQuarter;
    int lastQuarter;
};
constexpr QuickChoice quickChoices[] = {{u"za 1. čtvrtinu", 1, 1},
                                        {u"za 2. čtvrtinu", 2, 2},
                                        {u"za 3. čtvrtinu", 3, 3},
                                        {u"za 4. čtvrtinu", 4, 4},
                                        {u"", 0, 0},
                                        {u"po 2. čtvrtině", 1, 2},
                                        {u"po 3. čtvrtině", 1, 3}};

} // namespace

frmTable_Interval::frmTable_Interval(const SeasonStore& season, QWidget* parent) : QDialog(parent), m_season(season)
{
    setObjectName(u"frmTable_Interval"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"tabulka za období"_s);
    auto* form = new QFormLayout(this);
    cbo = new QComboBox(this);
    cbo->setObjectName(u"cbo"_s);
    cboKolo1 = new QComboBox(this);
    cboKolo1->setObjectName(u"cboKolo1"_s);
    cboKolo2 = new QComboBox(this);
    cboKolo2->setObjectName(u"cboKolo2"_s);
    for (const QuickChoice& q : quickChoices)
        cbo->addItem(QString::fromUtf16(q.caption));
    for (int r = 1; r <= season.rounds(); ++r) {
        cboKolo1->addItem(roundEntryText(r, season.DATUM_KOLA(r)));
        cboKolo2->addItem(roundEntryText(r, season.DATUM_KOLA(r)));
    }
    for (QComboBox* box : {cbo, cboKolo1, cboKolo2}) {
        box->setCurrentIndex(-1);
        box->setMaxVisibleItems(20);
    }
    form->addRow(u"rychlá volba:"_s, cbo);
    form->addRow(u"od:"_s, cboKolo1);
    form->addRow(u"do:"_s, cboKolo2);
    cmdOK = new QPushButton(u"Spočítat"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setDefault(true);
    form->addRow(cmdOK);
    auto* Label4 = new QLabel(u"Nebudou zvýrazněny týmy s jistotou postupu do play-off resp. účasti v baráži."_s, this);
    Label4->setWordWrap(true);
    form->addRow(Label4);
    setFixedWidth(tw(5000));

    connect(cbo, &QComboBox::activated, this, &frmTable_Interval::cbo_Click);
    for (QComboBox* box : {cboKolo1, cboKolo2}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_settingRange)
                cbo->setCurrentIndex(-1); // a range edited by hand is no quick choice any more
        });
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmTable_Interval::cmdOK_Click);
}

void frmTable_Interval::cbo_Click(int index)
{
    if (index < 0 || quickChoices[index].firstQuarter == 0)
        return;
    const int first = quarterRounds(m_season.rounds(), quickChoices[index].firstQuarter).first;
    const int last = quarterRounds(m_season.rounds(), quickChoices[index].lastQuarter).second;
    if (last < first) {
        Desktop::instance().tell(
            this, u"Sezóna má jen %1 kol, tato čtvrtina nemá žádné vlastní kolo."_s.arg(m_season.rounds()),
            Desktop::Icon::Information);
        cbo->setCurrentIndex(-1);
        return;
    }
    m_settingRange = true;
    cboKolo1->setCurrentIndex(first - 1);
    cboKolo2->setCurrentIndex(last - 1);
    m_settingRange = false;
}

void frmTable_Interval::cmdOK_Click()
{
    if (cboKolo1->currentIndex() < 0 || cboKolo2->currentIndex() < 0) {
        Desktop::instance().tell(this, u"Vyberte první i poslední kolo období."_s, Desktop::Icon::Information);
        return;
    }
    if (cboKolo1->currentIndex() > cboKolo2->currentIndex()) {
        const int kept = cboKolo2->currentIndex();
        cboKolo2->setCurrentIndex(cboKolo1->currentIndex());
        cboKolo1->setCurrentIndex(kept);
    }
    const int first = cboKolo1->currentIndex() + 1, last = cboKolo2->currentIndex() + 1;
    const BusyCursor busy;
    auto* table = new frmTable(m_season, first, last, periodCaption(first, last), parentWidget());
    table->open();
    close();
}
