// SPDX-License-Identifier: MIT
#include "frmImport.h"

#include "league/openleague.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

frmImport::frmImport(OpenLeague& league, ImportSource source, QWidget* parent)
    : QDialog(parent), m_league(league), m_source(std::move(source))
{
    setObjectName(u"frmImport"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Import zápasů"_s);
    auto* form = new QFormLayout(this);
    const SeasonStore& season = m_league.season();
    m_names = matchTeams(m_source, season.teamNames(), readNameMapping(m_league.competitionPath())).unresolved;
    if (!m_names.isEmpty())
        form->addRow(new QLabel(u"Tato jména nejsou jednoznačně týmy ligy; přiřaďte je:"_s, this));
    for (const QString& name : m_names) {
        auto* teams = new QComboBox(this);
        teams->setObjectName(u"cboTym"_s + QString::number(cboTym.size() + 1));
        teams->addItem(u"—"_s, 0);
        for (int t = 1; t <= season.teams(); ++t)
            teams->addItem(season.TymPodleCisla(t), t);
        auto* label = new QLabel(name.left(60), this);
        label->setBuddy(teams);
        form->addRow(label, teams);
        cboTym.append(teams);
        connect(teams, &QComboBox::currentIndexChanged, this, &frmImport::replan);
    }
    lblShrnuti = new QLabel(this);
    lblShrnuti->setObjectName(u"lblShrnuti"_s);
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
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Zrušit"_s);
    form->addRow(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'x') * 70);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmImport::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    replan();
}

frmImport* frmImport::open(OpenLeague& league, const QByteArray& bytes, const QString& name, QWidget* parent)
{
    const Result<ImportSource> source = readImportSource(bytes, name);
    if (!source.ok()) {
        Desktop::instance().tell(parent, u"Zápasy nelze importovat.\r\n"_s + source.error(), Desktop::Icon::Warning);
        return nullptr;
    }
    auto* dialog = new frmImport(league, source.value(), parent);
    dialog->QDialog::open();
    return dialog;
}

void frmImport::replan()
{
    const SeasonStore& season = m_league.season();
    QMap<QString, int> mapping = readNameMapping(m_league.competitionPath());
    for (qsizetype i = 0; i < m_names.size(); ++i)
        mapping.insert(m_names[i], cboTym[i]->currentData().toInt());
    const TeamMatching teams = matchTeams(m_source, season.teamNames(), mapping);
    m_plan.reset();
    QStringList details;
    if (!teams.unresolved.isEmpty()) {
        lblShrnuti->setText(
            u"Nepřiřazená jména: %1. Dokud nejsou přiřazena, nic se nezapíše."_s.arg(teams.unresolved.size()));
    } else if (Result<ImportPlan> planned = planImport(season, m_source, teams); !planned.ok()) {
        lblShrnuti->setText(planned.error());
    } else {
        m_plan = std::move(planned).value();
        lblShrnuti->setText(planSummary(*m_plan) +
                            (m_source.skipped
                                 ? u"\nPřeskočeno řádků bez dvou týmů a výsledku: %1"_s.arg(m_source.skipped)
                                 : QString()));
        for (const ImportConflict& k : m_plan->conflicts)
            details << u"spor: "_s + conflictLine(k, season);
        for (const ImportLine& line : m_plan->unmatched)
            details << u"bez zápasu: "_s + unmatchedLine(line);
    }
    lblShrnuti->setWordWrap(true);
    txtPodrobnosti->setPlainText(details.join(u'\n'));
    txtPodrobnosti->setVisible(!details.isEmpty());
    cmdZapsat->setEnabled(m_plan && (!m_plan->entered.isEmpty() || !m_plan->conflicts.isEmpty()));
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
    if (!m_names.isEmpty()) {
        QMap<QString, int> mapping = readNameMapping(m_league.competitionPath());
        for (qsizetype i = 0; i < m_names.size(); ++i)
            mapping.insert(m_names[i], cboTym[i]->currentData().toInt());
        if (const Result<void> kept = writeNameMapping(m_league.competitionPath(), mapping); !kept.ok())
            Desktop::instance().tell(this,
                                     u"Přiřazení jmen se nepodařilo uložit pro příští import.\r\n"_s + kept.error(),
                                     Desktop::Icon::Warning);
    }
    const Result<void> applied = m_league.applyResults(resultsToWrite(*m_plan, theirs));
    if (!applied.ok()) // the results stand in the season; only the journal that guards them failed
        Desktop::instance().tell(this,
                                 u"Výsledky jsou zapsány, ale ne do deníku pro případ pádu.\r\n"_s + applied.error(),
                                 Desktop::Icon::Warning);
    Q_EMIT imported();
    accept();
}
