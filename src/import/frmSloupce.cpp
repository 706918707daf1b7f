// SPDX-License-Identifier: MIT
#include "frmSloupce.h"

#include "common/fit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmSloupce::frmSloupce(const QList<QStringList>& preview, const QList<ColumnRole>& guessed, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"frmSloupce"_s);
    setWindowTitle(u"Sloupce souboru"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(u"Určete, co který sloupec obsahuje (alespoň domácí, hosty a výsledek nebo góly):"_s, this));
    qsizetype width = 0;
    for (const QStringList& row : preview)
        width = std::max(width, row.size());
    tabUkazka = new QTableWidget(static_cast<int>(preview.size()) + 1, static_cast<int>(width), this);
    tabUkazka->setObjectName(u"tabUkazka"_s);
    tabUkazka->verticalHeader()->hide();
    tabUkazka->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < width; ++c) {
        auto* box = new QComboBox(tabUkazka);
        box->setObjectName(u"cboSloupec"_s + QString::number(c + 1));
        for (const auto& [role, text] : columnRoles())
            box->addItem(text, static_cast<int>(role));
        box->setCurrentIndex(std::max(0, box->findData(static_cast<int>(guessed.value(c, ColumnRole::Ignore)))));
        tabUkazka->setCellWidget(0, c, box);
        tabUkazka->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::number(c + 1)));
        cboSloupec << box;
        connect(box, &QComboBox::currentIndexChanged, this, &frmSloupce::check);
        for (qsizetype r = 0; r < preview.size(); ++r)
            tabUkazka->setItem(static_cast<int>(r) + 1, c, new QTableWidgetItem(preview[r].value(c).left(60)));
    }
    tabUkazka->resizeColumnsToContents();
    tabUkazka->resizeRowsToContents();
    // The whole sample in view where the screen has room for it, else scrolled.
    int wide = tabUkazka->verticalScrollBar()->sizeHint().width() + 2 * tabUkazka->frameWidth();
    for (int c = 0; c < tabUkazka->columnCount(); ++c)
        wide += tabUkazka->columnWidth(c);
    int high = tabUkazka->horizontalHeader()->height() + tabUkazka->horizontalScrollBar()->sizeHint().height() +
               2 * tabUkazka->frameWidth();
    for (int r = 0; r < tabUkazka->rowCount(); ++r)
        high += tabUkazka->rowHeight(r);
    const QRect screen = (parent ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    tabUkazka->setMinimumSize(std::min(wide, screen.width() * 9 / 10), std::min(high, screen.height() * 6 / 10));
    layout->addWidget(tabUkazka);
    lblChyba = new QLabel(this);
    lblChyba->setObjectName(u"lblChyba"_s);
    layout->addWidget(lblChyba);
    auto* buttons = acceptAndCancel(this, u"&Použít"_s, u"cmdPouzit"_s, cmdPouzit);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'x') * 80);
    check();
}

QList<ColumnRole> frmSloupce::roles() const
{
    QList<ColumnRole> roles;
    for (const QComboBox* box : cboSloupec)
        roles << static_cast<ColumnRole>(box->currentData().toInt());
    return roles;
}

// A column read twice, or no home and away, is said before the fan can use it.
void frmSloupce::check()
{
    const QList<ColumnRole> chosen = roles();
    QString fault;
    for (const auto& [role, text] : columnRoles())
        if (role != ColumnRole::Ignore && chosen.count(role) > 1)
            fault = u"Sloupec „%1“ je určen dvakrát."_s.arg(text);
    if (!chosen.contains(ColumnRole::Home) || !chosen.contains(ColumnRole::Away))
        fault = u"Určete sloupec domácích i hostů."_s;
    else if (chosen.contains(ColumnRole::HomeGoals) != chosen.contains(ColumnRole::AwayGoals))
        fault = u"Určete góly domácích i hostů, nebo výsledek."_s;
    lblChyba->setText(fault);
    cmdPouzit->setEnabled(fault.isEmpty());
}
