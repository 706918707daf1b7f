// SPDX-License-Identifier: MIT
#include "frmVzaj.h"

#include "export/saveview.h"
#include "lookups/fixedfont.h"
#include "lookups/lookups.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

frmVzaj::frmVzaj(const SeasonStore& season, QWidget* parent) : QDialog(parent), m_season(season)
{
    setObjectName(u"frmVzaj"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"vzájemné zápasy"_s);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(u"najít vzájemné zápasy týmů:"_s, this), 0, 0, 1, 4);
    cbo1 = new QComboBox(this);
    cbo1->setObjectName(u"cbo1"_s);
    cbo2 = new QComboBox(this);
    cbo2->setObjectName(u"cbo2"_s);
    for (QComboBox* box : {cbo1, cbo2}) {
        box->addItem(QString());
        box->addItems(season.teamNames());
        box->setMaxVisibleItems(15);
        box->setMinimumWidth(150);
    }
    Command1 = new QPushButton(u"&Najít"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setDefault(true);
    lstVz = new QListWidget(this);
    lstVz->setObjectName(u"lstVz"_s);
    lstVz->setFont(fixedFont(u"Courier New"_s, 9));
    lstVz->setMinimumSize(460, 120);
    grid->addWidget(cbo1, 1, 0);
    auto* and_ = new QLabel(u"a"_s, this);
    and_->setAlignment(Qt::AlignCenter);
    and_->setMinimumWidth(24); // not hugging the first box
    grid->addWidget(and_, 1, 1);
    grid->addWidget(cbo2, 1, 2);
    grid->addWidget(Command1, 1, 3);
    grid->addWidget(lstVz, 2, 0, 1, 4);
    connect(Command1, &QPushButton::clicked, this, &frmVzaj::Command1_Click);
    connect(lstVz, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { lstVz->setToolTip(item->text()); });
    addSaveCommand(this, [this] { return headToHeadView(m_season, cbo1->currentIndex(), cbo2->currentIndex()); });
}

void frmVzaj::search(int first, int second)
{
    cbo1->setCurrentIndex(first);
    cbo2->setCurrentIndex(second);
    Command1_Click();
}

void frmVzaj::Command1_Click()
{
    const BusyCursor busy;
    lstVz->clear();
    lstVz->addItems(headToHeadLines(m_season, cbo1->currentIndex(), cbo2->currentIndex()));
}
