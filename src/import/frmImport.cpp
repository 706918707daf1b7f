// SPDX-License-Identifier: MIT
#include "frmImport.h"

#include "import/importdialogs.h"
#include "league/openleague.h"
#include "platform/desktop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The dialog's list shows this many lines; a file of thousands says how many more there are.
constexpr qsizetype kListed = 1000;

} // namespace

frmImport::frmImport(OpenLeague& league, QByteArray bytes, QString name, ImportOptions options, ImportSource source,
                     QWidget* parent)
    : QDialog(parent), m_league(league), m_bytes(std::move(bytes)), m_name(std::move(name)),
      m_options(std::move(options)), m_source(std::move(source))
{
    setObjectName(u"frmImport"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Import zápasů"_s);
    auto* form = new QFormLayout(this);
    auto* names = new QWidget(this);
    m_namesForm = new QFormLayout(names);
    m_namesForm->setContentsMargins(0, 0, 0, 0);
    form->addRow(names);
    chkPreskocit = new QCheckBox(u"&Přeskočit řádky s cizími týmy"_s, this);
    chkPreskocit->setObjectName(u"chkPreskocit"_s);
    form->addRow(chkPreskocit);
    lblShrnuti = new QLabel(this);
    lblShrnuti->setObjectName(u"lblShrnuti"_s);
    lblShrnuti->setWordWrap(true);
    form->addRow(lblShrnuti);
    txtPodrobnosti = new QPlainTextEdit(this);
    txtPodrobnosti->setObjectName(u"txtPodrobnosti"_s);
    txtPodrobnosti->setReadOnly(true);
    txtPodrobnosti->setTabChangesFocus(true);
    txtPodrobnosti->setLineWrapMode(QPlainTextEdit::NoWrap);
    form->addRow(txtPodrobnosti);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    cmdZapsat = buttons->addButton(u"&Zapsat výsledky"_s, QDialogButtonBox::AcceptRole);
    cmdZapsat->setObjectName(u"cmdZapsat"_s);
    cmdZapsat->setDefault(true);
    if (!csvPreview(m_bytes, 1).isEmpty()) {
        QPushButton* columns = buttons->addButton(u"&Sloupce…"_s, QDialogButtonBox::ActionRole);
        columns->setObjectName(u"cmdSloupce"_s);
        connect(columns, &QPushButton::clicked, this, &frmImport::chooseColumns);
    }
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Zrušit"_s);
    form->addRow(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'x') * 70);
    connect(chkPreskocit, &QCheckBox::toggled, this, &frmImport::replan);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmImport::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showNames();
}

frmImport* frmImport::open(OpenLeague& league, const QByteArray& bytes, const QString& name, QWidget* parent)
{
    ImportOptions options;
    options.near = league.season().DATUM_KOLA(1);
    std::optional<ImportSource> source = readSourceAsking(bytes, name, options, league.season().season, parent);
    if (!source)
        return nullptr;
    auto* dialog = new frmImport(league, bytes, name, options, std::move(*source), parent);
    dialog->QDialog::open();
    return dialog;
}

// A box for each name that is no team of the league by itself: a guess stands preselected, for the fan to see.
void frmImport::showNames()
{
    while (m_namesForm->rowCount() > 0)
        m_namesForm->removeRow(0);
    cboTym.clear();
    const SeasonStore& season = m_league.season();
    const TeamMatching teams = matchTeams(m_source, season.teamNames(), readNameMapping(m_league.competitionPath()));
    m_names = teams.unresolved + teams.guessed;
    if (!m_names.isEmpty())
        m_namesForm->addRow(new QLabel(u"Tato jména nejsou jednoznačně týmy ligy nebo je program jen odhadl; "
                                       "přiřaďte je:"_s,
                                       this));
    for (const QString& name : m_names) {
        auto* box = new QComboBox(this);
        box->setObjectName(u"cboTym"_s + QString::number(cboTym.size() + 1));
        box->addItem(u"—"_s, 0);
        for (int t = 1; t <= season.teams(); ++t)
            box->addItem(season.TymPodleCisla(t), t);
        box->addItem(u"cizí tým (řádky přeskočit)"_s, kForeignTeam);
        box->setCurrentIndex(std::max(0, box->findData(teams.teamOf.value(name))));
        auto* label = new QLabel(name.left(60), this);
        label->setBuddy(box);
        m_namesForm->addRow(label, box);
        cboTym.append(box);
        connect(box, &QComboBox::currentIndexChanged, this, &frmImport::replan);
    }
    replan();
}

QMap<QString, int> frmImport::mapping() const
{
    QMap<QString, int> mapping = readNameMapping(m_league.competitionPath());
    for (qsizetype i = 0; i < m_names.size(); ++i)
        mapping.insert(m_names[i], cboTym[i]->currentData().toInt());
    return mapping;
}

void frmImport::replan()
{
    const SeasonStore& season = m_league.season();
    const TeamMatching teams = matchTeams(m_source, season.teamNames(), mapping());
    m_plan.reset();
    QStringList details;
    const bool skip = chkPreskocit->isChecked();
    if (!teams.unresolved.isEmpty() && !skip) {
        lblShrnuti->setText(
            u"Nepřiřazená jména: %1. Dokud nejsou přiřazena (nebo jejich řádky přeskočeny), nic se nezapíše."_s.arg(
                teams.unresolved.size()));
    } else if (Result<ImportPlan> planned = planImport(season, m_source, teams, skip); !planned.ok()) {
        lblShrnuti->setText(planned.error());
    } else {
        m_plan = std::move(planned).value();
        QString summary = planSummary(*m_plan);
        if (m_source.skipped)
            summary += u"\nPřeskočeno řádků bez dvou týmů a výsledku: %1"_s.arg(m_source.skipped);
        if (m_source.merged)
            summary += u"\nZápasů uvedených dvakrát (zapíší se jednou): %1"_s.arg(m_source.merged);
        lblShrnuti->setText(summary);
        for (const ImportChange& change : m_plan->changes.mid(0, kListed))
            details << changeLine(change, season);
        if (m_plan->changes.size() > kListed)
            details << u"… a dalších %1 změn"_s.arg(m_plan->changes.size() - kListed);
        for (const ImportConflict& k : m_plan->conflicts.mid(0, kListed))
            details << u"spor: "_s + conflictLine(k, season);
        for (const ImportLine& line : m_plan->unmatched.mid(0, kListed))
            details << u"bez zápasu: "_s + unmatchedLine(line);
        for (const ImportLine& line : m_plan->foreign.mid(0, kListed))
            details << u"cizí tým: "_s + unmatchedLine(line);
        for (const ImportLine& line : m_plan->playoff.mid(0, kListed))
            details << u"play-off (%1): "_s.arg(line.stage) + unmatchedLine(line);
    }
    txtPodrobnosti->setPlainText(details.join(u'\n'));
    txtPodrobnosti->setVisible(!details.isEmpty());
    cmdZapsat->setEnabled(m_plan && (!m_plan->entered.isEmpty() || !m_plan->conflicts.isEmpty() ||
                                     !m_plan->playoff.isEmpty() || !m_plan->dates.isEmpty()));
}

// "Sloupce…": the file read again with the columns the fan says.
void frmImport::chooseColumns()
{
    const std::optional<QList<ColumnRole>> columns = askColumns(m_bytes, m_options.columns, this);
    if (!columns)
        return;
    ImportOptions options = m_options;
    options.columns = *columns;
    const Result<ImportSource> read = readImportSource(m_bytes, m_name, options);
    if (!read.ok()) {
        Desktop::instance().tell(this, read.error(), Desktop::Icon::Warning);
        return;
    }
    m_options = options;
    m_source = read.value();
    showNames();
}

// The source's play-off games into the bracket, once the season's results are in; what it refuses is said.
void frmImport::addPlayoffGames()
{
    if (m_plan->playoff.isEmpty())
        return;
    const TeamMatching teams = matchTeams(m_source, m_league.season().teamNames(), mapping());
    const PlayoffImport playoff = planPlayoff(m_league.playoff(), m_league.season(), m_plan->playoff, teams);
    QStringList faults = playoff.refused;
    for (const PlayoffGame& game : playoff.games)
        if (const Result<void> added = m_league.addPlayoffGame(game, Desktop::instance().now()); !added.ok())
            faults << added.error();
    if (!faults.isEmpty())
        Desktop::instance().tell(this, u"Některé zápasy play-off se nezapsaly:\r\n"_s + faults.mid(0, 20).join(u"\r\n"),
                                 Desktop::Icon::Warning);
}

void frmImport::confirm()
{
    if (!m_plan)
        return;
    const SeasonStore& season = m_league.season();
    bool theirs = false;
    if (!m_plan->conflicts.isEmpty()) {
        QStringList lines;
        for (const ImportConflict& k : m_plan->conflicts)
            lines << conflictLine(k, season);
        theirs = Desktop::instance().choose(
                     this,
                     u"Soubor má pro tyto zápasy jiné výsledky než vy:\r\n\r\n"_s + lines.mid(0, 25).join(u"\r\n") +
                         u"\r\n\r\nKteré výsledky se mají zapsat?"_s,
                     Desktop::Icon::Question, {u"Převzít výsledky souboru"_s, u"Ponechat moje výsledky"_s},
                     u"Import zápasů"_s) == 0;
    }
    if (!m_names.isEmpty())
        if (const Result<void> kept = writeNameMapping(m_league.competitionPath(), mapping()); !kept.ok())
            Desktop::instance().tell(this,
                                     u"Přiřazení jmen se nepodařilo uložit pro příští import.\r\n"_s + kept.error(),
                                     Desktop::Icon::Warning);
    const Result<void> applied = m_league.applyResults(resultsToWrite(*m_plan, theirs));
    if (!applied.ok()) // the results stand in the season; only the journal that guards them failed
        Desktop::instance().tell(this,
                                 u"Výsledky jsou zapsány, ale ne do deníku pro případ pádu.\r\n"_s + applied.error(),
                                 Desktop::Icon::Warning);
    if (const Result<void> dated = m_league.setMatchDates(ownDates(*m_plan), Desktop::instance().now()); !dated.ok())
        Desktop::instance().tell(this, u"Vlastní termíny zápasů se nepodařilo uložit.\r\n"_s + dated.error(),
                                 Desktop::Icon::Warning);
    addPlayoffGames();
    Q_EMIT imported();
    accept();
}
