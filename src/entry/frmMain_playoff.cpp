// SPDX-License-Identifier: MIT
// The main window's play-off: after the regular season's rounds, the round list has an entry for each game
// number of each stage, whose rows are that game of every series, typed as a round's results are.
#include "frmMain.h"

#include "platform/desktop.h"
#include "season/notation.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// "Čtvrtfinále – zápas 3 – 14.3.2008"; the date once a game of that number is played.
QString entryText(const Playoff& playoff, int stage, int game)
{
    QDate first;
    for (int i = 0; i < playoff.games.size(); ++i)
        if (playoff.games[i].stage == stage && gameNumber(playoff, i) == game && playoff.games[i].date.isValid() &&
            (!first.isValid() || playoff.games[i].date < first))
            first = playoff.games[i].date;
    QString text = u"%1 – zápas %2"_s.arg(playoff.stages[stage].name).arg(game);
    return first.isValid() ? text + u" – "_s + shortDate(first) : text;
}

} // namespace

void frmMain::addPlayoffEntries()
{
    m_playoffEntries.clear();
    if (!m_league.playoff())
        return;
    const Playoff& playoff = *m_league.playoff();
    for (int s = 0; s < playoff.stages.size(); ++s)
        for (int g = 1; g <= 2 * playoff.stages[s].wins - 1; ++g) {
            m_playoffEntries.append({s, g});
            cboKolo->addItem(entryText(playoff, s, g));
        }
}

void frmMain::showPlayoffEntry()
{
    const PlayoffEntry entry = m_playoffEntries[m_shownRound - m_season.rounds() - 1];
    const Playoff& playoff = *m_league.playoff();
    cboKolo->setItemText(cboKolo->currentIndex(), entryText(playoff, entry.stage, entry.game));
    const Bracket bracket = playoffBracket(playoff, m_season).valueOr({});
    const StageState state = bracket.stages.value(entry.stage);
    m_playoffRow.fill(-1);
    m_playoffRefused.fill({});
    int row = 0;
    for (int x = 0; bracket.seeded && x < state.series.size() && row < kMaxSlots; ++x) {
        const Series& series = state.series[x];
        const bool played = series.games.size() >= entry.game;
        if (!played && (series.winner || series.games.size() != entry.game - 1))
            continue; // decided before this game, or its game before is still to come
        Match m;
        if (played) {
            const PlayoffGame& game = playoff.games[series.games[entry.game - 1]];
            m = {game.home, game.away, game.result};
        } else {
            const bool betterHome = playoff.stages[entry.stage].betterHosts(entry.game);
            m = {betterHome ? series.better : series.worse, betterHome ? series.worse : series.better, {}};
            m_playoffRow[static_cast<std::size_t>(row)] = x;
        }
        m_home[row] = m.home;
        m_away[row] = m.away;
        Hteam[row]->setText(m_season.TymPodleCisla(m.home));
        Ateam[row]->setText(m_season.TymPodleCisla(m.away));
        result[row]->setText(m.result);
        result[row]->setReadOnly(played); // a game of a series is entered once, as the file keeps it
        markTypo(row, false);
        ++row;
    }
    for (int i = 0; i < kMaxSlots; ++i)
        for (QWidget* w : {static_cast<QWidget*>(Hteam[i]), static_cast<QWidget*>(dash[i]),
                           static_cast<QWidget*>(Ateam[i]), static_cast<QWidget*>(result[i])})
            w->setVisible(i < row);
    lblVolno->setVisible(true);
    lblVolno->setText(!bracket.seeded ? u"zápasy play-off až po celé základní části"_s
                      : !state.known  ? u"fáze čeká na předchozí"_s
                      : row == 0      ? u"žádná série tento zápas nehraje"_s
                                      : QString());
}

void frmMain::storePlayoffEntry()
{
    const PlayoffEntry entry = m_playoffEntries[m_shownRound - m_season.rounds() - 1];
    bool stored = false;
    for (int i = 0; i < kMaxSlots; ++i) {
        const QString text = result[i]->text();
        if (m_playoffRow[static_cast<std::size_t>(i)] < 0 || text.trimmed().isEmpty())
            continue;
        const QString normalised = normaliseResult(text);
        const Result<void> added = normalised.isEmpty()
                                       ? Result<void>::failure(u"„%1“ není platný výsledek."_s.arg(text.left(12)))
                                       : m_league.addPlayoffGame({entry.stage, m_home[i], m_away[i], normalised,
                                                                  Desktop::instance().today(), 0},
                                                                 Desktop::instance().now()); // played tonight
        if (!added.ok()) {
            markTypo(i, true); // the text stays in the field: nothing typed is lost
            // Said once: the message box itself takes the focus, which would store and say it again.
            if (std::exchange(m_playoffRefused[static_cast<std::size_t>(i)], text) == text)
                continue;
            QTimer::singleShot(0, this, [this, why = added.error()] {
                Desktop::instance().tell(this, u"Zápas play-off nelze zapsat.\r\n"_s + why, Desktop::Icon::Warning);
            });
            continue;
        }
        m_playoffRow[static_cast<std::size_t>(i)] = -1;
        m_playoffRefused[static_cast<std::size_t>(i)].clear();
        stored = true;
    }
    if (stored) // the rows show the entry as the season now has it, typed texts of other rows kept
        for (int i = 0; i < kMaxSlots; ++i)
            if (m_playoffRow[static_cast<std::size_t>(i)] < 0)
                result[i]->setReadOnly(!result[i]->text().isEmpty());
}
