// SPDX-License-Identifier: MIT
#include "frmPlayoff.h"

#include "common/fit.h"
#include "export/saveview.h"
#include "league/openleague.h"
#include "lookups/lookups.h"
#include "platform/desktop.h"
#include "season/leaguefiles.h"
#include "season/notation.h"
#include "season/seasonfile.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmPlayoff::frmPlayoff(OpenLeague& league, QWidget* parent) : QDialog(parent), m_league(league)
{
    setObjectName(u"frmPlayoff"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"play-off"_s);
    auto* layout = new QVBoxLayout(this);
    lblNote = new QLabel(this);
    lblNote->setObjectName(u"lblNote"_s);
    lblNote->setWordWrap(true);
    layout->addWidget(lblNote);
    scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);
    connect(&m_league, &OpenLeague::seasonChanged, this, &frmPlayoff::rebuild);
    rebuild();
    addSaveCommand(
        this,
        [this] {
            const std::optional<Playoff>& playoff = m_league.playoff();
            const Result<Bracket> bracket =
                playoff ? playoffBracket(*playoff, m_league.season()) : Result<Bracket>::failure(QString());
            return bracket.ok() ? bracketView(*playoff, bracket.value(), m_league.season()) : ViewTable{};
        },
        u"Není co uložit: liga nemá play-off, které by šlo ukázat."_s);
    addPrintCommand();
    // The whole bracket where the screen has room for it; what is larger scrolls.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    const QSize whole = scroll->widget()->sizeHint() + QSize(bar, lblNote->sizeHint().height() + bar) +
                        QSize(layout->contentsMargins().left() * 2, layout->contentsMargins().top() * 3);
    resize(whole.boundedTo(roomOnScreen(this)).expandedTo(QSize(400, 200)));
}

// "Tisk…" beside "Uložit…": the bracket as a page, its note above it.
void frmPlayoff::addPrintCommand()
{
    auto* button = new QPushButton(u"&Tisk…"_s, this);
    button->setObjectName(u"cmdTisk"_s);
    button->setAutoDefault(false);
    QPushButton* save = findChild<QPushButton*>(u"cmdUlozit"_s);
    for (auto* row : findChildren<QHBoxLayout*>())
        if (const int at = row->indexOf(save); at >= 0)
            row->insertWidget(at, button);
    connect(button, &QPushButton::clicked, this, [this] {
        const SeasonStore& season = m_league.season();
        const std::optional<Playoff>& playoff = m_league.playoff();
        const Result<Bracket> bracket =
            playoff ? playoffBracket(*playoff, season) : Result<Bracket>::failure(QString());
        if (!bracket.ok()) {
            Desktop::instance().tell(this, u"Není co vytisknout: liga nemá play-off, které by šlo ukázat."_s,
                                     Desktop::Icon::Information);
            return;
        }
        QStringList lines = bracketLines(*playoff, bracket.value(), season);
        if (const QString note = bracketNote(bracket.value(), season); !note.isEmpty())
            lines.prepend(QString()), lines.prepend(note);
        printPage(this, printedPage(u"PLAY-OFF  -  "_s + season.caption, lines, Desktop::instance().now()),
                  fileNameFor(viewCaption(season, u"play-off"_s)) + u".pdf");
    });
}

void frmPlayoff::rebuild()
{
    const SeasonStore& season = m_league.season();
    setWindowTitle(viewCaption(season, u"play-off"_s));
    if (QWidget* old = scroll->takeWidget())
        old->deleteLater(); // a field of it may be the sender whose signal led here
    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    const std::optional<Playoff>& playoff = m_league.playoff();
    const Result<Bracket> bracket = playoff ? playoffBracket(*playoff, season) : Result<Bracket>::failure(QString());
    if (!bracket.ok()) {
        lblNote->setText(!m_league.playoffProblem().isEmpty() ? u"Play-off nelze ukázat: "_s + m_league.playoffProblem()
                         : !bracket.error().isEmpty()         ? bracket.error()
                                                      : u"Liga nemá play-off. Vytvoří jej „Nový play-off…“ v menu."_s);
        scroll->setWidget(content);
        return;
    }
    lblNote->setText(bracketNote(bracket.value(), season));
    lblNote->setVisible(!lblNote->text().isEmpty());
    QLineEdit* focus = nullptr;
    for (int s = 0; s < playoff->stages.size(); ++s) {
        auto* column = new QVBoxLayout;
        const Stage& stage = playoff->stages[s];
        auto* title = new QLabel(u"<b>%1</b><br>na %2 %3"_s.arg(stage.name.toHtmlEscaped())
                                     .arg(stage.wins)
                                     .arg(stage.wins == 1  ? u"výhru"_s
                                          : stage.wins < 5 ? u"výhry"_s
                                                           : u"výher"_s),
                                 content);
        column->addWidget(title);
        const StageState& state = bracket.value().stages[s];
        if (!state.known)
            column->addWidget(new QLabel(u"čeká na předchozí fáze"_s, content));
        for (int i = 0; i < state.series.size(); ++i) {
            QWidget* box = seriesBox(bracket.value(), s, i, content);
            column->addWidget(box);
            if (std::pair{s, i} == m_focus)
                focus = box->findChild<QLineEdit*>();
        }
        column->addStretch(1);
        columns->addLayout(column);
    }
    scroll->setWidget(content);
    if (focus)
        focus->setFocus();
}

QWidget* frmPlayoff::seriesBox(const Bracket& bracket, int s, int i, QWidget* parent)
{
    const SeasonStore& season = m_league.season();
    const Playoff& playoff = *m_league.playoff();
    const Stage& stage = playoff.stages[s];
    const Series& x = bracket.stages[s].series[i];
    const QString id = u"%1_%2"_s.arg(s).arg(i);
    auto* box = new QGroupBox(parent);
    box->setObjectName(u"boxSerie"_s + id);
    auto* lines = new QVBoxLayout(box);
    const auto team = [&](int t, int place, int wins) {
        const QString text = u"%1  %2"_s.arg(seededName(season, t, place).toHtmlEscaped()).arg(wins);
        return new QLabel(x.winner == t ? u"<b>"_s + text + u"</b>"_s : text, box);
    };
    lines->addWidget(team(x.better, x.betterPlace, x.betterWins));
    lines->addWidget(team(x.worse, x.worsePlace, x.worseWins));
    QStringList games;
    for (int g = 0; g < x.games.size(); ++g) {
        const PlayoffGame& game = playoff.games[x.games[g]];
        games << u"%1. %2 - %3 %4"_s.arg(g + 1).arg(season.TymPodleCisla(game.home), season.TymPodleCisla(game.away),
                                                    game.result);
    }
    if (!games.isEmpty()) {
        auto* played = new QLabel(games.join(u'\n'), box);
        played->setObjectName(u"lblZapasy"_s + id);
        lines->addWidget(played);
    }
    if (x.winner) {
        lines->addWidget(new QLabel(u"%1 (%2)"_s.arg(seriesOutcome(playoff, s, x, season), seriesScore(x)), box));
    } else if (bracket.seeded) {
        lines->addLayout(nextGameRow(x, stage, s, i, box));
    }
    if (bracket.seeded && !x.games.isEmpty()) {
        // A mistyped game is corrected by taking it back and typing it again.
        auto* remove = new QAction(u"&Odebrat poslední zápas série…"_s, box);
        remove->setObjectName(u"mnuOdebrat"_s + id);
        box->addAction(remove);
        box->setContextMenuPolicy(Qt::ActionsContextMenu);
        connect(remove, &QAction::triggered, this, [this, s, i] { removeLast(s, i); });
    }
    box->setEnabled(bracket.seeded); // grey: drawn from today's table
    return box;
}

QBoxLayout* frmPlayoff::nextGameRow(const Series& x, const Stage& stage, int s, int i, QWidget* box)
{
    const SeasonStore& season = m_league.season();
    const QString id = u"%1_%2"_s.arg(s).arg(i);
    const bool betterHome = stage.betterHosts(x.nextGame()) != m_swapped.contains({s, i});
    const int home = betterHome ? x.better : x.worse, away = betterHome ? x.worse : x.better;
    auto* row = new QHBoxLayout;
    auto* next = new QLabel(
        u"%1. zápas: %2 - %3"_s.arg(x.nextGame()).arg(season.TymPodleCisla(home), season.TymPodleCisla(away)), box);
    row->addWidget(next, 1);
    auto* swap = new QToolButton(box);
    swap->setObjectName(u"cmdProhodit"_s + id);
    swap->setText(u"⇄"_s);
    swap->setToolTip(u"Prohodit domácí a hosty tohoto zápasu"_s);
    row->addWidget(swap);
    auto* field = new QLineEdit(box);
    field->setObjectName(u"txtZapas"_s + id);
    field->setMaxLength(6);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(u"88:88p"_s) + 16);
    next->setBuddy(field);
    row->addWidget(field);
    // The day it is played: today, as a fan types a result the same evening; another day where he types later.
    auto* day = new QLineEdit(shortDate(Desktop::instance().today()), box);
    day->setObjectName(u"txtDatum"_s + id);
    day->setToolTip(u"Den zápasu (D.M.RRRR)"_s);
    day->setMaxLength(10);
    day->setFixedWidth(day->fontMetrics().horizontalAdvance(u"88.88.8888"_s) + 16);
    // Under the result, so that the box is no wider for it.
    auto* rows = new QVBoxLayout;
    rows->addLayout(row);
    auto* dayRow = new QHBoxLayout;
    dayRow->addStretch(1);
    auto* dayLabel = new QLabel(u"den:"_s, box);
    dayLabel->setBuddy(day);
    dayRow->addWidget(dayLabel);
    dayRow->addWidget(day);
    rows->addLayout(dayRow);
    connect(swap, &QToolButton::clicked, this, [this, s, i] {
        if (!m_swapped.remove({s, i}))
            m_swapped.insert({s, i});
        m_focus = {s, i};
        rebuild();
    });
    connect(field, &QLineEdit::textEdited, field, [field] {
        const QString converted = convertKeypadInput(field->text());
        if (converted != field->text())
            field->setText(converted);
    });
    for (QLineEdit* typed : {field, day})
        connect(typed, &QLineEdit::returnPressed, this,
                [this, s, i, field, day] { enter(s, i, field->text(), day->text()); });
    return rows;
}

void frmPlayoff::removeLast(int s, int i)
{
    const Bracket bracket = playoffBracket(*m_league.playoff(), m_league.season()).value();
    const Series& x = bracket.stages[s].series[i];
    const PlayoffGame& last = m_league.playoff()->games[x.games.last()];
    const QString text =
        u"Odebrat %1. zápas série %2 - %3 (%4)? Série se přepočítá."_s.arg(x.games.size())
            .arg(m_league.season().TymPodleCisla(last.home), m_league.season().TymPodleCisla(last.away), last.result);
    if (Desktop::instance().choose(this, text, Desktop::Icon::Question, {u"Odebrat"_s, u"Ponechat"_s}, u"Play-off"_s) !=
        0)
        return;
    const Result<void> removed = m_league.removePlayoffGame(s, x.better, x.worse, Desktop::instance().now());
    if (!removed.ok()) {
        Desktop::instance().tell(this, u"Zápas nelze odebrat.\r\n"_s + removed.error(), Desktop::Icon::Warning);
        return;
    }
    m_focus = {s, i};
    rebuild();
}

void frmPlayoff::enter(int s, int i, const QString& text, const QString& dayText)
{
    if (text.trimmed().isEmpty())
        return;
    const QDate day = parseShortDate(dayText.trimmed());
    if (!dayText.trimmed().isEmpty() && !isSeasonDate(day)) {
        Desktop::instance().tell(this, u"Zápas nelze zapsat.\r\n„%1“ není datum D.M.RRRR."_s.arg(dayText.trimmed()),
                                 Desktop::Icon::Warning);
        return;
    }
    const Bracket bracket = playoffBracket(*m_league.playoff(), m_league.season()).value();
    const Series& x = bracket.stages[s].series[i];
    const bool betterHome = m_league.playoff()->stages[s].betterHosts(x.nextGame()) != m_swapped.contains({s, i});
    const PlayoffGame game{s, betterHome ? x.better : x.worse, betterHome ? x.worse : x.better, text, day, 0};
    m_focus = {s, i};
    const Result<void> added = m_league.addPlayoffGame(game, Desktop::instance().now());
    if (!added.ok()) {
        Desktop::instance().tell(this, u"Zápas nelze zapsat.\r\n"_s + added.error(), Desktop::Icon::Warning);
        return;
    }
    m_swapped.remove({s, i}); // the next game's rink follows the series' pattern again
    rebuild();
}
