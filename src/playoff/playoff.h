// SPDX-License-Identifier: MIT
// After the regular season: the play-off file (stages and the games played), the seeding of every stage
// from the final table, and the series as they stand.
#pragma once

#include "common/result.h"
#include "export/formats.h"
#include "export/viewtable.h"
#include "season/leaguefiles.h"
#include "season/seasonstore.h"
#include "standings/ranking.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <QVarLengthArray>
#include <array>
#include <optional>

// Who takes part in a stage: places of the final table, or the winners or losers of an earlier stage.
struct StageItem {
    enum class Kind { Places, Winners, Losers };
    Kind kind = Kind::Places;
    int first = 0, last = 0; // places, for Kind::Places
    int stage = 0;           // index of the earlier stage, for Winners and Losers
};

inline constexpr int kMaxWins = 4; // best of seven

struct Stage {
    QString name;
    QList<StageItem> items;
    int participants = 0;
    int wins = 4;         // that take a series: best of 2·wins − 1
    QList<int> homeGames; // the game numbers the better seed hosts
    int line = 0;         // of the file, for messages
    quint32 places = 0;   // the final table's places its teams may come from, bit p for place p
    bool betterHosts(int game) const { return homeGames.contains(game); }
};

// A game of a series, home team first, as played (or typed).
struct PlayoffGame {
    int stage = 0; // index
    int home = 0, away = 0;
    QString result;
    QDate date;
    int line = 0; // of the file; 0 for a game typed since
};

// A series' game to come, on its day and at its time when known ("termin=" in the file).
struct PlannedGame {
    int stage = 0; // index
    int home = 0, away = 0;
    QDate date;
    QTime time;
    int line = 0; // of the file; 0 for a day typed since
};

struct Playoff {
    QList<Stage> stages;
    QList<PlayoffGame> games;
    QList<PlannedGame> planned; // written after the games
    QStringList head;           // the file's lines before its games, written again as they are
    int stageIndex(const QString& name) const;
    // The title's stage: the last one whose participants are all winners of earlier stages, else the last
    // one the regular season's first may play; -1 for a play-off without the top of the table (a play-down).
    int finalStage() const;
    // The stage whose losers go down: the last stage no later one draws from, other than the final, that the
    // regular season's first cannot reach (the play-down's last series, a relegation series); -1 for none.
    int relegationStage() const;
};

// The file's stages and games for a league of `teams` teams, or its first fault with the line and reason in
// Czech. The games are checked against the bracket by `playoffBracket`.
Result<Playoff> readPlayoff(const QByteArray& bytes, const QString& fileName, int teams);
QStringList playoffLines(const Playoff& playoff);
// The play-off beside a league, checked against its bracket; none when the league has no play-off file.
Result<std::optional<Playoff>> readLeaguePlayoff(const QString& competitionPath, const SeasonStore& season);

// A stage as the fan sets it up: the texts of its file line ("1-6, vitezove Předkolo", "1,2,5").
struct StageRow {
    QString name, participants;
    int wins = 4;
    QString homeGames; // empty: the usual ones
    bool operator==(const StageRow&) const = default;
};
// A usual format of the top of the table (who plays for the title) or of its bottom (who goes down).
struct PlayoffFormat {
    QString name;
    QList<StageRow> stages;
};
// The formats a league of `teams` may play, the usual one for its size first; the bottom's first is none.
QList<PlayoffFormat> titleFormats(int teams);
QList<PlayoffFormat> bottomFormats(int teams);
// The play-off file's lines for the stages, with a word on the format above them; or why the reader would
// refuse them, naming the stage's row ("Fáze 2: …"), or that one place would play in two stages.
Result<QStringList> playoffFileLines(const QList<StageRow>& stages, int teams);

// The final regular-season table's team numbers, first to last: the final rules, points adjustments counted,
// equal teams in team-number order.
QVarLengthArray<int, kMaxTeams> finalOrder(const SeasonStore& season);

struct Series {
    int better = 0, worse = 0;           // team numbers
    int betterPlace = 0, worsePlace = 0; // in the final table
    QList<int> games;                    // indexes into Playoff::games, in playing order
    int betterWins = 0, worseWins = 0;
    int winner = 0; // 0 while it goes on
    // The next game's day while the series goes on: the earliest planned after the series' last dated game.
    std::optional<PlannedGame> planned;
    int loser() const { return winner == 0 ? 0 : winner == better ? worse : better; }
    // The game number to come (1..), and whether the better seed hosts it.
    int nextGame() const { return static_cast<int>(games.size()) + 1; }
};

struct StageState {
    bool known = false; // every participant known: the stages it draws on are over
    QList<Series> series;
};

struct Bracket {
    bool seeded = false; // the regular season is over; else drawn from today's table
    QList<StageState> stages;
};

// Every stage seeded from the final table (today's while the season runs) and the games put into their
// series. A game for a pair that is no series of its stage, after its series is decided, a draw, or in a
// stage not known yet, is refused with its line.
Result<Bracket> playoffBracket(const Playoff& playoff, const SeasonStore& season);

// "3:1" (better seed first).
QString seriesScore(const Series& series);
// "Sparta Praha (1.)"
QString seededName(const SeasonStore& season, int team, int place);
// "mistr X" for the final's winner, "sestupuje Y" for a relegation series' loser, else "postupuje X"; empty while
// the series is open.
QString seriesOutcome(const Playoff& playoff, int stage, const Series& series, const SeasonStore& season);
// The bracket as rows: stage, better seed, worse seed, series score, games (home team's score first), winner.
ViewTable bracketView(const Playoff& playoff, const Bracket& bracket, const SeasonStore& season);
// The bracket as the printed page's lines: each stage's name, its series one a line, their games under them.
QStringList bracketLines(const Playoff& playoff, const Bracket& bracket, const SeasonStore& season);
// What the bracket says above itself: drawn from today's table while results are missing, and how many.
QString bracketNote(const Bracket& bracket, const SeasonStore& season);

// The game's number within its series, from 1.
int gameNumber(const Playoff& playoff, int game);
// The team's play-off games (all games for team 0), each "Čtvrtfinále, 3. zápas  14.3.  Sparta - Zlín 4:2".
QStringList teamPlayoffLines(const Playoff& playoff, const SeasonStore& season, int team);

// The team's dated play-off games (all games' for team 0) as calendar events of the category "play-off".
QList<CalendarGame> playoffCalendar(const Playoff& playoff, const SeasonStore& season, int team);

// The team's play-off at home, away and in all, "výhry:prohry (skóre)", e.g. "3:1 (14:9)"; empty without games.
std::array<QString, 3> playoffBalance(const Playoff& playoff, int team);

// A series whose games in the fan's file and in a downloaded one go apart: "Čtvrtfinále  Sparta - Zlín: vaše
// 4:2 1:3, server 4:2 3:1".
QStringList playoffConflicts(const Playoff& local, const Playoff& downloaded, const SeasonStore& season);
// The fan's series in a stage the downloaded play-off does not have (renamed or dropped on the server): merged, its
// games would be lost. "Předkolo  Sparta - Zlín: vaše 4:2 1:3, server fázi „Předkolo“ nemá".
QStringList lostPlayoffGames(const Playoff& local, const Playoff& downloaded, const SeasonStore& season);
// The downloaded play-off with the games only the fan has (a series that goes on further in his file); where
// both go apart, the server's games or his.
Playoff mergePlayoffs(const Playoff& local, const Playoff& downloaded, bool takeServer);

// The play-off with the series' next game planned on the day and time (none: only the day), in place of the
// day it had; refused, in Czech, unless the series is one of the stage's and still goes on.
Result<Playoff> withPlannedGame(const Playoff& playoff, const SeasonStore& season, const PlannedGame& game);
// "14.3.2027 18:00", "14.3.2027".
QString plannedText(const PlannedGame& game);

// A game to add: refused like a game of the file, in Czech.
Result<void> checkNewGame(const Playoff& playoff, const SeasonStore& season, const PlayoffGame& game);

// The play-off without the last game of the stage's series of the two teams, to correct a mistyped game; refused
// when the series has no game, or when a later stage's games stand on its outcome.
Result<Playoff> withoutLastGame(const Playoff& playoff, const SeasonStore& season, int stage, int home, int away);
