// SPDX-License-Identifier: MIT
#include "frmPlayoff.h"

#include "common/fit.h"
#include "export/saveview.h"
#include "league/openleague.h"
#include "lookups/lookups.h"
#include "platform/desktop.h"
#include "season/leaguefiles.h"
#include "season/matchdates.h"
#include "season/notation.h"
#include "season/seasonfile.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
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
    // The stages' names stay above their columns while the bracket scrolls down, and move with it sideways.
    headings = new QScrollArea(this);
    headings->setFrameShape(QFrame::NoFrame);
    headings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    headings->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    headings->setWidgetResizable(true);
    layout->addWidget(headings);
    scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame); // as the names above, so that each stands over its column
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);
    connect(scroll->horizontalScrollBar(), &QScrollBar::valueChanged, headings->horizontalScrollBar(),
            &QScrollBar::setValue);
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
    const QSize whole = scroll->widget()->sizeHint() +
                        QSize(bar, lblNote->sizeHint().height() + headings->minimumHeight() + bar) +
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
    for (QScrollArea* area : {scroll, headings})
        if (QWidget* old = area->takeWidget())
            old->deleteLater(); // a field of it may be the sender whose signal led here
    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    auto* titles = new QWidget;
    auto* titleRow = new QHBoxLayout(titles);
    // As wide as the columns with the vertical scroll bar, so that both scroll as far.
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    columns->setContentsMargins(margin, margin, margin, margin);
    titleRow->setContentsMargins(margin, margin, margin + style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0);
    titleRow->setSpacing(columns->spacing());
    const std::optional<Playoff>& playoff = m_league.playoff();
    const Result<Bracket> bracket = playoff ? playoffBracket(*playoff, season) : Result<Bracket>::failure(QString());
    if (!bracket.ok()) {
        lblNote->setText(!m_league.playoffProblem().isEmpty() ? u"Play-off nelze ukázat: "_s + m_league.playoffProblem()
                         : !bracket.error().isEmpty()         ? bracket.error()
                                                      : u"Liga nemá play-off. Vytvoří jej „Nový play-off…“ v menu."_s);
        lblNote->setVisible(true);
        scroll->setWidget(content);
        headings->setWidget(titles);
        return;
    }
    lblNote->setText(bracketNote(bracket.value(), season));
    lblNote->setVisible(!lblNote->text().isEmpty());
    QLineEdit* focus = nullptr;
    for (int s = 0; s < playoff->stages.size(); ++s) {
        QWidget* column = stageColumn(bracket.value(), s, content, focus);
        auto* title = new QLabel(stageTitle(playoff->stages[s]), titles);
        title->setObjectName(u"lblFaze"_s + QString::number(s));
        const int width = std::max(column->sizeHint().width(), title->sizeHint().width());
        column->setFixedWidth(width);
        title->setFixedWidth(width);
        columns->addWidget(column);
        titleRow->addWidget(title, 0, Qt::AlignBottom);
    }
    columns->addStretch(1);
    titleRow->addStretch(1);
    scroll->setWidget(content);
    headings->setWidget(titles);
    headings->setFixedHeight(titles->sizeHint().height());
    if (focus)
        focus->setFocus();
}

QString frmPlayoff::stageTitle(const Stage& stage)
{
    return u"<b>%1</b><br>na %2 %3"_s.arg(stage.name.toHtmlEscaped())
        .arg(stage.wins)
        .arg(stage.wins == 1  ? u"výhru"_s
             : stage.wins < 5 ? u"výhry"_s
                              : u"výher"_s);
}

QWidget* frmPlayoff::stageColumn(const Bracket& bracket, int s, QWidget* parent, QLineEdit*& focus)
{
    auto* column = new QWidget(parent);
    column->setObjectName(u"sloupecFaze"_s + QString::number(s));
    auto* boxes = new QVBoxLayout(column);
    boxes->setContentsMargins(0, 0, 0, 0);
    const StageState& state = bracket.stages[s];
    if (!state.known)
        boxes->addWidget(new QLabel(u"čeká na předchozí fáze"_s, column));
    for (int i = 0; i < state.series.size(); ++i) {
        QWidget* box = seriesBox(bracket, s, i, column);
        boxes->addWidget(box);
        if (std::pair{s, i} == m_focus)
            focus = box->findChild<QLineEdit*>();
    }
    boxes->addStretch(1);
    return column;
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
    const bool betterHome = betterHostsNext(x, stage, s, i);
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
    // Under the result, so that the box is no wider for it.
    auto* rows = new QVBoxLayout;
    rows->addLayout(row);
    QLineEdit* day = addDayRow(rows, x, id, box);
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
    // Enter in an empty result field does nothing; in the day field it plans the game.
    connect(field, &QLineEdit::returnPressed, this, [this, s, i, field, day] {
        if (!field->text().trimmed().isEmpty())
            enter(s, i, field->text(), day->text());
    });
    connect(day, &QLineEdit::returnPressed, this,
            [this, s, i, field, day] { enter(s, i, field->text(), day->text()); });
    return rows;
}

QLineEdit* frmPlayoff::addDayRow(QVBoxLayout* rows, const Series& x, const QString& id, QWidget* box)
{
    // The day it is played: its planned day, or today, as a fan types a result the same evening; another day
    // where he types later. A day typed without a result plans the game.
    auto* day = new QLineEdit(x.planned ? plannedText(*x.planned) : shortDate(Desktop::instance().today()), box);
    day->setObjectName(u"txtDatum"_s + id);
    day->setToolTip(u"Den zápasu (D.M.RRRR, s časem HH:MM), bez výsledku jeho termín"_s);
    day->setMaxLength(16);
    day->setFixedWidth(day->fontMetrics().horizontalAdvance(u"88.88.8888 88:88"_s) + 16);
    if (x.planned) {
        auto* planned = new QLabel(u"hraje se "_s + plannedText(*x.planned), box);
        planned->setObjectName(u"lblTermin"_s + id);
        rows->addWidget(planned);
    }
    auto* dayRow = new QHBoxLayout;
    dayRow->addStretch(1);
    auto* dayLabel = new QLabel(u"den:"_s, box);
    dayLabel->setBuddy(day);
    dayRow->addWidget(dayLabel);
    dayRow->addWidget(day);
    rows->addLayout(dayRow);
    return day;
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

bool frmPlayoff::betterHostsNext(const Series& x, const Stage& stage, int s, int i) const
{
    const bool planned = x.planned ? x.planned->home == x.better : stage.betterHosts(x.nextGame());
    return planned != m_swapped.contains({s, i});
}

void frmPlayoff::enter(int s, int i, const QString& text, const QString& dayText)
{
    const QStringList parts = dayText.simplified().split(u' ', Qt::SkipEmptyParts);
    const QDate day = parseShortDate(parts.value(0));
    const std::optional<QTime> time = parts.size() == 2 ? clockTime(parts[1]) : std::nullopt;
    const bool plan = text.trimmed().isEmpty();
    if ((plan || !parts.isEmpty()) && (!isSeasonDate(day) || parts.size() > 2 || (parts.size() == 2 && !time))) {
        Desktop::instance().tell(
            this, u"Zápas nelze zapsat.\r\n„%1“ není datum D.M.RRRR (s časem HH:MM)."_s.arg(dayText.simplified()),
            Desktop::Icon::Warning);
        return;
    }
    const Bracket bracket = playoffBracket(*m_league.playoff(), m_league.season()).value();
    const Series& x = bracket.stages[s].series[i];
    const bool betterHome = betterHostsNext(x, m_league.playoff()->stages[s], s, i);
    const int home = betterHome ? x.better : x.worse, away = betterHome ? x.worse : x.better;
    m_focus = {s, i};
    if (plan && x.planned && x.planned->date == day && x.planned->time == time.value_or(QTime()) &&
        x.planned->home == home)
        return; // planned so already
    const Result<void> added =
        plan ? m_league.planPlayoffGame({s, home, away, day, time.value_or(QTime()), 0}, Desktop::instance().now())
             : m_league.addPlayoffGame({s, home, away, text, day, 0}, Desktop::instance().now());
    if (!added.ok()) {
        Desktop::instance().tell(this, u"Zápas nelze zapsat.\r\n"_s + added.error(), Desktop::Icon::Warning);
        return;
    }
    m_swapped.remove({s, i}); // the next game's rink follows the series' pattern again
    rebuild();
}
