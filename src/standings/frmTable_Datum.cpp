// SPDX-License-Identifier: MIT
#include "frmTable_Datum.h"

#include "common/fit.h"
#include "season/seasonfile.h"
#include "standings/frmTable.h"
#include "standings/ranking.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The season on a day, kept as long as the table that shows it.
class SeasonOnDate final : public QObject {
public:
    SeasonOnDate(SeasonStore season, QObject* parent) : QObject(parent), store(std::move(season)) {}
    const SeasonStore store;
};

} // namespace

frmTable_Datum::frmTable_Datum(const SeasonStore& season, const QDate& today, QWidget* parent)
    : QDialog(parent), m_season(season)
{
    setObjectName(u"frmTable_Datum"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Tabulka k datu"_s);
    auto* form = new QFormLayout(this);
    txtDatum = new QLineEdit(shortDate(today), this);
    txtDatum->setObjectName(u"txtDatum"_s);
    txtDatum->setPlaceholderText(u"D.M.RRRR"_s);
    auto* label = new QLabel(u"&Datum:"_s, this);
    label->setBuddy(txtDatum);
    form->addRow(label, txtDatum);
    lblChyba = new QLabel(this);
    lblChyba->setObjectName(u"lblChyba"_s);
    form->addRow(lblChyba);
    auto* buttons = acceptAndCancel(this, u"Spočítat"_s, u"cmdOK"_s, cmdOK);
    form->addRow(buttons);
    connect(txtDatum, &QLineEdit::textChanged, this, &frmTable_Datum::check);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmTable_Datum::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    check();
}

void frmTable_Datum::check()
{
    const QDate day = parseShortDate(txtDatum->text().trimmed());
    lblChyba->setText(day.isValid() ? QString() : u"Napište datum jako 14.3.2008."_s);
    cmdOK->setEnabled(day.isValid());
}

void frmTable_Datum::cmdOK_Click()
{
    const QDate day = parseShortDate(txtDatum->text().trimmed());
    if (!day.isValid())
        return;
    auto* onDate = new SeasonOnDate(playedBy(m_season, day), parentWidget());
    auto* table = new frmTable(onDate->store, 1, onDate->store.rounds(), tableOnDateCaption(day), parentWidget());
    onDate->setParent(table); // gone with the table, after it
    table->open();
    accept();
}
