// SPDX-License-Identifier: MIT
// What an import does to a league: the source's names as the league's teams, each line as a fixture with its
// result, or a new league arranged from the lines.
#pragma once

#include "import/importsource.h"
#include "playoff/playoff.h"
#include "season/leaguefiles.h"
#include "season/newleague.h"
#include "season/seasonstore.h"

#include <QMap>

// A name without case, diacritics, blanks and the usual club prefixes ("HC Sparta" → "sparta").
QString foldedTeamName(const QString& name);

// How a name of the source was found among the league's teams, surest first.
enum class NameMatch { Exact, Folded, Mapped, Guessed };
QString nameMatchText(NameMatch how); // "exact", "folded", "mapped", "guessed"

// The mapping's number for a name the fan said is no team of the league (a cup opponent, a B team).
inline constexpr int kForeignTeam = -1;

// The league's team of every name of the source: the exact name, then the mapping's, then the folded one, then a
// guess (a name holding another within it). Names that match no team, or several, are left in `unresolved`, in
// the order first seen; names mapped to kForeignTeam in `foreign`.
struct TeamMatching {
    QMap<QString, int> teamOf;
    QMap<QString, NameMatch> how;
    QStringList unresolved;
    QStringList guessed;
    QStringList foreign;
};
TeamMatching matchTeams(const ImportSource& source, const QStringList& teams, const QMap<QString, int>& mapping);
// "HC Znojmo B → Znojmo" for each guessed name.
QStringList guessedNames(const TeamMatching& teams, const QStringList& leagueTeams);

// A result of the source where the league has another one.
struct ImportConflict {
    int round = 0;
    int slot = 0;
    QString mine;
    QString theirs;
};

// A line of the source that changes the league, as the dry run lists it.
struct ImportChange {
    int line = 0;
    int round = 0;
    int slot = 0;
    QString result;
    NameMatch how = NameMatch::Exact;
    bool conflict = false;
};

struct ImportPlan {
    using Entry = SlotResult;
    QList<Entry> entered;            // results for matches that have none
    QList<ImportConflict> conflicts; // kept as they are unless the fan takes the source's
    QList<ImportLine> unmatched;     // no fixture of their pair and home team near their date or in their round
    QList<ImportLine> foreign;       // a team outside the league: skipped
    QList<ImportLine> playoff;       // games of a play-off stage, no fixtures of the season
    QList<ImportChange> changes;     // every line that changes the league, in the source's order
    QMap<std::pair<int, int>, MatchDate> dates; // the matches' own dates and times the source gives
    int unchanged = 0;                          // the same result, or a fixture without one in the source
};

// Each line to its fixture: the pair with that home team in the line's round, or the meeting dated nearest
// to the line's date within a week; without either, the first meeting still without a result. Results are
// compared as the notation reads them ("2:2" is "2:2p"). Two different results of the source for one match, a
// team playing itself, a name not resolved (unless `skipUnknown`: its lines are skipped) or a source without a
// single result refuse the import.
Result<ImportPlan> planImport(const SeasonStore& season, const ImportSource& source, const TeamMatching& teams,
                              bool skipUnknown = false);

// The play-off games of an import, as the league's bracket takes them (checked after the season's results are in).
struct PlayoffImport {
    QList<PlayoffGame> games; // new games, in the source's order
    QStringList refused;      // "řádek 12 (A - B): why"
    int unchanged = 0;        // games the play-off file has already, or lines without a result
};
PlayoffImport planPlayoff(const std::optional<Playoff>& playoff, const SeasonStore& season,
                          const QList<ImportLine>& lines, const TeamMatching& teams);
// "Play-off: 3 zápasy k zapsání, 1 odmítnut" and each refusal; nothing when the source has no play-off games.
QStringList playoffSummary(const PlayoffImport& playoff, qsizetype listed);

// The own dates an import writes.
QMap<std::pair<int, int>, std::optional<MatchDate>> ownDates(const ImportPlan& plan);

// The results an import writes: every one entered, and the source's where they conflict and the fan takes them.
QList<SlotResult> resultsToWrite(const ImportPlan& plan, bool takeSource);

// "Import: 12 výsledků zapsáno, 1 spor, 2 řádky nepřiřazeny"-like summary lines, in Czech.
QString planSummary(const ImportPlan& plan);
// "19. kolo  Sparta - Kladno: vaše 3:1, soubor 2:1"
QString conflictLine(const ImportConflict& conflict, const SeasonStore& season);
// "řádek 14: Sparta - Litvínov"
QString unmatchedLine(const ImportLine& line);
// "řádek 14 → 3. kolo  Sparta - Litvínov 3:1 (odhad jména)"
QString changeLine(const ImportChange& change, const SeasonStore& season);

// A new league of the source's teams (the names as first seen, 2–20): with a round column its rounds as
// given, else the lines in date order, a round taking ⌊N/2⌋ matches with no team twice; a round's date is
// its earliest match's. The request gives the name, season and lines; its teams are ignored.
Result<SeasonStore> arrangeLeague(const ImportSource& source, const NewLeague& request);

// The names the fan mapped for a league, kept beside it ("jmena_<code>.txt", a line "NAME=TEAM NUMBER").
QMap<QString, int> readNameMapping(const QString& competitionPath);
Result<void> writeNameMapping(const QString& competitionPath, const QMap<QString, int>& mapping);
