// SPDX-License-Identifier: MIT
#include "frmImportLiga.h"

#include "common/fit.h"
#include "import/frmImport.h"
#include "import/importdialogs.h"
#include "import/importplan.h"
#include "newseason/frmNovaLiga.h"
#include "platform/desktop.h"
#include "season/datafiles.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

frmImportLiga::frmImportLiga(const QString& folder, ImportSource source, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_source(std::move(source))
{
    setObjectName(u"frmImportLiga"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Nová liga z importu"_s);
    auto* form = new QFormLayout(this);
    QStringList teams;
    int results = 0;
    for (const ImportLine& line : m_source.lines) {
        for (const QString& name : {line.home, line.away})
            if (!teams.contains(name))
                teams << name;
        results += !line.result.isEmpty();
    }
    auto* summary = new QLabel(
        u"V souboru je %1 týmů, %2 zápasů a %3 výsledků."_s.arg(teams.size()).arg(m_source.lines.size()).arg(results),
        this);
    summary->setObjectName(u"lblShrnuti"_s);
    form->addRow(summary);
    txtNazev = new QLineEdit(this);
    txtNazev->setObjectName(u"txtNazev"_s);
    form->addRow(u"&Název soutěže:"_s, txtNazev);
    const QDate first =
        m_source.lines.first().date.isValid() ? m_source.lines.first().date : Desktop::instance().today();
    const int year = first.month() >= 7 ? first.year() : first.year() - 1; // a season starts in autumn
    txtSezona = new QLineEdit(u"%1/%2"_s.arg(year).arg(year + 1), this);
    txtSezona->setObjectName(u"txtSezona"_s);
    form->addRow(u"&Sezóna:"_s, txtSezona);
    addDividingLines(form, spnCary);
    txtKod = new QLineEdit(this);
    txtKod->setObjectName(u"txtKod"_s);
    form->addRow(u"Soubory sezona_…txt:"_s, txtKod);
    QPushButton* cmdVytvorit = nullptr;
    auto* buttons = acceptAndCancel(this, u"&Vytvořit ligu"_s, u"cmdVytvorit"_s, cmdVytvorit);
    form->addRow(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'x') * 60);
    const auto suggest = [this] {
        if (!m_codeEdited)
            txtKod->setText(leagueCode(txtNazev->text(), txtSezona->text()));
    };
    connect(txtNazev, &QLineEdit::textChanged, this, suggest);
    connect(txtSezona, &QLineEdit::textChanged, this, suggest);
    connect(txtKod, &QLineEdit::textEdited, this, [this] { m_codeEdited = true; });
    connect(buttons, &QDialogButtonBox::accepted, this, &frmImportLiga::create);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

frmImportLiga* frmImportLiga::choose(const QString& folder, QWidget* parent)
{
    const QString path = Desktop::instance().fileToOpen(parent, u"Import zápasů"_s, kImportFilters);
    if (path.isEmpty())
        return nullptr;
    const Result<QByteArray> bytes = readDataFile(path);
    if (!bytes.ok()) {
        Desktop::instance().tell(parent, u"Zápasy nelze importovat.\r\n"_s + bytes.error(), Desktop::Icon::Warning);
        return nullptr;
    }
    ImportOptions options;
    const std::optional<ImportSource> source =
        readSourceAsking(bytes.value(), QFileInfo(path).fileName(), options, {}, parent);
    if (!source)
        return nullptr;
    auto* dialog = new frmImportLiga(folder, *source, parent);
    dialog->open();
    return dialog;
}

void frmImportLiga::create()
{
    NewLeague request{txtNazev->text(), txtSezona->text(), {}, {}, 1, {}, {}, {}, {}, {}};
    for (std::size_t k = 0; k < spnCary.size(); ++k)
        request.lines[k] = spnCary[k]->value();
    const Result<SeasonStore> made = arrangeLeague(m_source, request);
    if (!made.ok()) {
        Desktop::instance().tell(this, made.error(), Desktop::Icon::Warning);
        return;
    }
    const QString written = writeLeagueOrTell(m_folder, txtKod, made.value());
    if (written.isEmpty())
        return;
    Q_EMIT created(written);
    accept();
}
