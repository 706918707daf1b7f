// SPDX-License-Identifier: MIT
#include "frmMissing.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmMissing::frmMissing(const MissingResults& missing, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmMissing"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"chybějící výsledky"_s);
    auto* layout = new QVBoxLayout(this);
    list = new QListWidget(this);
    list->setObjectName(u"list"_s);
    list->addItems(missing.lines);
    list->setMinimumSize(300, 360);
    Command1 = new QPushButton(u"OK"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setDefault(true);
    layout->addWidget(list);
    layout->addWidget(Command1, 0, Qt::AlignHCenter);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(list, &QListWidget::itemActivated, this, [this, rounds = missing.rounds](QListWidgetItem* item) {
        const int round = rounds.value(list->row(item));
        if (round == 0)
            return;
        accept();
        Q_EMIT roundChosen(round);
    });
    Command1->setFocus();
}
