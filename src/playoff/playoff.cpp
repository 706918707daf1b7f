// SPDX-License-Identifier: MIT
#include "playoff.h"

#include "standings/ranking.h"

#include "season/datafiles.h"
#include "season/matchdates.h"
#include "season/notation.h"
#include "season/seasonfile.h"
#include "standings/tiebreak.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <bit>
#include <map>
#include <tuple>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QList<int> defaultHomeGames(int wins)
{
    QList<int> games;
    for (int g : {1, 2, 5, 7})
        if (g <= 2 * wins - 1)
            games << g;
    return games;
}

bool homeWon(const QString& result)
{
    const ParsedResult r = ZkoumatVysledek(result);
    return r.HomeGoals > r.AwayGoals;
}

// The places an item may stand for, one bit each: its own, or those of the stage whose winners or losers it
// takes, which that stage knows already — so a chain of stages costs no more than its length.
quint32 possiblePlaces(const QList<Stage>& stages, const StageItem& item)
{
    if (item.kind != StageItem::Kind::Places)
        return stages[item.stage].places;
    quint32 places = 0;
    for (int p = item.first; p <= item.last; ++p)
        places |= 1u << p;
    return places;
}

} // namespace

int Playoff::stageIndex(const QString& name) const
{
    for (qsizetype s = 0; s < stages.size(); ++s)
        if (stages[s].name == name)
            return static_cast<int>(s);
    return -1;
}

int Playoff::finalStage() const
{
    int last = -1; // the last stage the league's first may play, if none is of winners alone; none without
    for (auto s = static_cast<int>(stages.size()) - 1; s >= 0; --s) {
        if (std::all_of(stages[s].items.begin(), stages[s].items.end(),
                        [](const StageItem& i) { return i.kind == StageItem::Kind::Winners; }))
            return s;
        if (last < 0 && (stages[s].places & (1u << 1)))
            last = s;
    }
    return last;
}

int Playoff::relegationStage() const
{
    const int final = finalStage();
    for (auto s = static_cast<int>(stages.size()) - 1; s >= 0; --s) {
        const bool drawnFrom = std::any_of(stages.begin() + s + 1, stages.end(), [&](const Stage& later) {
            return std::any_of(later.items.begin(), later.items.end(),
                               [&](const StageItem& i) { return i.kind != StageItem::Kind::Places && i.stage == s; });
        });
        if (s != final && !drawnFrom && !(stages[s].places & (1U << 1)))
            return s;
    }
    return -1;
}

// What the series' result means: the final's winner is the champion, a relegation series' loser goes down.
QString seriesOutcome(const Playoff& playoff, int stage, const Series& series, const SeasonStore& season)
{
    if (!series.winner)
        return {};
    if (stage == playoff.relegationStage())
        return u"sestupuje %1"_s.arg(season.TymPodleCisla(series.loser()));
    return (stage == playoff.finalStage() ? u"mistr %1"_s : u"postupuje %1"_s).arg(season.TymPodleCisla(series.winner));
}

namespace {

using Refusal = std::optional<QString>;

// A line's stage and "HOME-AWAY" fields into the game's stage and teams, or why not.
template <typename Game> Refusal readStageAndPair(const QStringList& f, int teams, const Playoff& playoff, Game& game)
{
    static const QRegularExpression pair(u"^(\\d{1,2})\\s*-\\s*(\\d{1,2})$"_s);
    game.stage = playoff.stageIndex(f.value(0).trimmed());
    if (game.stage < 0)
        return u"fáze „%1“ v souboru výše není"_s.arg(f.value(0).trimmed().left(40));
    const QRegularExpressionMatch teamsOf = pair.match(f.value(1).trimmed());
    game.home = teamsOf.captured(1).toInt(), game.away = teamsOf.captured(2).toInt();
    if (!teamsOf.hasMatch() || game.home < 1 || game.home > teams || game.away < 1 || game.away > teams ||
        game.home == game.away)
        return u"„%1“ nejsou dvě různá čísla týmů od 1 do %2"_s.arg(f.value(1).trimmed().left(20)).arg(teams);
    return std::nullopt;
}

// "zapas=STAGE;HOME-AWAY;RESULT[;DATE]" into the play-off's games, or why not.
Refusal readGameLine(const QString& line, int lineNo, int teams, Playoff& playoff)
{
    const QStringList f = line.mid(6).split(u';');
    PlayoffGame game{0, 0, 0, {}, {}, lineNo};
    if (f.size() < 3 || f.size() > 4)
        return u"zápas má tvar zapas=FÁZE;DOMÁCÍ-HOSTÉ;VÝSLEDEK[;DATUM]"_s;
    if (Refusal why = readStageAndPair(f, teams, playoff, game))
        return why;
    game.result = normaliseResult(f[2]);
    if (game.result.isEmpty())
        return u"„%1“ není výsledek"_s.arg(f[2].trimmed().left(20));
    if (ZkoumatVysledek(game.result).HomeGoals == ZkoumatVysledek(game.result).AwayGoals)
        return u"zápas play-off nekončí remízou (%1)"_s.arg(game.result);
    if (f.size() == 4 && !f[3].trimmed().isEmpty()) {
        game.date = parseShortDate(f[3].trimmed());
        if (!game.date.isValid())
            return u"„%1“ není datum D.M.RRRR"_s.arg(f[3].trimmed().left(20));
    }
    playoff.games.append(game);
    return std::nullopt;
}

// "termin=STAGE;HOME-AWAY;DATE[;TIME]" into the play-off's planned games, or why not.
Refusal readPlannedLine(const QString& line, int lineNo, int teams, Playoff& playoff)
{
    const QStringList f = line.mid(7).split(u';');
    PlannedGame game{0, 0, 0, {}, {}, lineNo};
    if (f.size() < 3 || f.size() > 4)
        return u"termín má tvar termin=FÁZE;DOMÁCÍ-HOSTÉ;DATUM[;ČAS]"_s;
    if (Refusal why = readStageAndPair(f, teams, playoff, game))
        return why;
    game.date = parseShortDate(f[2].trimmed());
    if (!isSeasonDate(game.date))
        return u"„%1“ není datum D.M.RRRR"_s.arg(f[2].trimmed().left(20));
    if (f.size() == 4 && !f[3].trimmed().isEmpty()) {
        const std::optional<QTime> time = clockTime(f[3].trimmed());
        if (!time)
            return u"„%1“ není čas HH:MM"_s.arg(f[3].trimmed().left(20));
        game.time = *time;
    }
    playoff.planned.append(game);
    return std::nullopt;
}

// One participant item of a stage ("7-10", "vitezove Semifinále") added to it, or why not.
Refusal readStageItem(const QString& item, int teams, const Playoff& playoff, Stage& stage)
{
    static const QRegularExpression places(u"^(\\d{1,2})(?:\\s*-\\s*(\\d{1,2}))?$"_s);
    static const QRegularExpression earlier(u"^(vitezove|vítězové|porazeni|poražení)\\s+(.+)$"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = places.match(item); m.hasMatch()) {
        const int first = m.captured(1).toInt(), last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
        if (first < 1 || last > teams || last < first)
            return u"místa „%1“ nejsou od 1 do %2"_s.arg(item.left(20)).arg(teams);
        stage.items.append({StageItem::Kind::Places, first, last, 0});
        stage.participants += last - first + 1;
    } else if (const QRegularExpressionMatch e = earlier.match(item); e.hasMatch()) {
        const int from = playoff.stageIndex(e.captured(2).trimmed());
        if (from < 0)
            return u"„%1“ není žádná dřívější fáze"_s.arg(e.captured(2).trimmed().left(40));
        const bool winners = e.captured(1).at(0).toLower() == u'v';
        stage.items.append({winners ? StageItem::Kind::Winners : StageItem::Kind::Losers, 0, 0, from});
        stage.participants += playoff.stages[from].participants / 2;
    } else {
        return u"„%1“ není místo, rozsah míst, vitezove FÁZE ani porazeni FÁZE"_s.arg(item.left(40));
    }
    return std::nullopt;
}

// Whether two items of the stage could bring the same team.
bool mayMeetTwice(const QList<Stage>& stages, const Stage& stage)
{
    for (qsizetype i = 0; i < stage.items.size(); ++i)
        for (qsizetype j = i + 1; j < stage.items.size(); ++j) {
            const StageItem &a = stage.items[i], &b = stage.items[j];
            if (a.kind != StageItem::Kind::Places && b.kind != StageItem::Kind::Places && a.stage == b.stage &&
                a.kind != b.kind)
                continue; // the winners and the losers of one stage are never the same team
            if (possiblePlaces(stages, a) & possiblePlaces(stages, b))
                return true;
        }
    return false;
}

// The wins that take a series and the games the better seed hosts.
Refusal readSeriesShape(const QStringList& f, Stage& stage)
{
    bool ok = false;
    stage.wins = f[2].trimmed().toInt(&ok);
    if (!ok || stage.wins < 1 || stage.wins > kMaxWins)
        return u"výhry „%1“ nejsou číslo od 1 do %2"_s.arg(f[2].trimmed().left(20)).arg(kMaxWins);
    stage.homeGames = defaultHomeGames(stage.wins);
    if (f.size() < 4 || f[3].trimmed().isEmpty())
        return std::nullopt;
    stage.homeGames.clear();
    for (const QString& g : f[3].split(u',')) {
        const int game = g.trimmed().toInt(&ok);
        if (!ok || game < 1 || game > 2 * stage.wins - 1)
            return u"zápas „%1“ série na %2 výhry neexistuje (1 až %3)"_s.arg(g.trimmed().left(20))
                .arg(stage.wins)
                .arg(2 * stage.wins - 1);
        stage.homeGames << game;
    }
    return std::nullopt;
}

// "faze=NAME;PARTICIPANTS;WINS[;HOME GAMES]" into the play-off's stages, or why not.
Refusal readStageLine(const QString& line, int lineNo, int teams, Playoff& playoff)
{
    const QStringList f = line.mid(5).split(u';');
    if (f.size() < 3 || f.size() > 4)
        return u"fáze má tvar faze=NÁZEV;ÚČASTNÍCI;VÝHRY[;DOMA]"_s;
    Stage stage{f[0].trimmed(), {}, 0, 0, {}, lineNo};
    if (stage.name.isEmpty())
        return u"fáze nemá název"_s;
    if (playoff.stageIndex(stage.name) >= 0)
        return u"fáze „%1“ je v souboru dvakrát"_s.arg(stage.name.left(40));
    for (const QString& part : f[1].split(u','))
        if (Refusal why = readStageItem(part.trimmed(), teams, playoff, stage))
            return why;
    if (stage.participants < 2 || stage.participants % 2)
        return u"fáze „%1“ má %2 účastníků, potřebuje sudý počet, aspoň 2"_s.arg(stage.name.left(40))
            .arg(stage.participants);
    if (mayMeetTwice(playoff.stages, stage))
        return u"ve fázi „%1“ by mohl jeden tým hrát dvakrát"_s.arg(stage.name.left(40));
    if (Refusal why = readSeriesShape(f, stage))
        return why;
    for (const StageItem& item : stage.items)
        stage.places |= possiblePlaces(playoff.stages, item);
    playoff.stages.append(stage);
    return std::nullopt;
}

} // namespace

Result<Playoff> readPlayoff(const QByteArray& bytes, const QString& fileName, int teams)
{
    if (bytes.count('\n') >= kMaxDataLines) // read only in part, the next game entered would drop the rest
        return Result<Playoff>::failure(
            u"Soubor „%1“ má přes %2 řádků, nejde o data programu."_s.arg(fileName).arg(kMaxDataLines));
    Playoff playoff;
    const QStringList lines = decodeLines(bytes);
    for (int n = 1; n <= lines.size(); ++n) {
        const QString& line = lines[n - 1];
        Refusal why;
        if (line.startsWith(u"zapas="_s, Qt::CaseInsensitive)) {
            why = readGameLine(line, n, teams, playoff);
        } else if (line.startsWith(u"termin="_s, Qt::CaseInsensitive)) {
            why = readPlannedLine(line, n, teams, playoff);
        } else if (!(playoff.games.isEmpty() && playoff.planned.isEmpty()) && !line.isEmpty() &&
                   !line.startsWith(u';')) {
            why = u"fáze musí v souboru stát před zápasy"_s;
        } else {
            playoff.head << line;
            if (line.isEmpty() || line.startsWith(u';'))
                continue;
            why = line.startsWith(u"faze="_s, Qt::CaseInsensitive)
                      ? readStageLine(line, n, teams, playoff)
                      : u"řádek není fáze (faze=…), zápas (zapas=…) ani poznámka (;…)"_s;
        }
        if (why)
            return Result<Playoff>::failure(u"%1, řádek %2: %3"_s.arg(fileName).arg(n).arg(*why));
    }
    if (playoff.stages.isEmpty())
        return Result<Playoff>::failure(u"%1: soubor nemá žádnou fázi (faze=…)"_s.arg(fileName));
    return playoff;
}

QStringList playoffLines(const Playoff& playoff)
{
    QStringList lines = playoff.head;
    for (const PlayoffGame& g : playoff.games) {
        QString line = u"zapas=%1;%2-%3;%4"_s.arg(playoff.stages[g.stage].name).arg(g.home).arg(g.away).arg(g.result);
        if (g.date.isValid())
            line += u';' + shortDate(g.date);
        lines << line;
    }
    for (const PlannedGame& g : playoff.planned) {
        QString line =
            u"termin=%1;%2-%3;%4"_s.arg(playoff.stages[g.stage].name).arg(g.home).arg(g.away).arg(shortDate(g.date));
        if (g.time.isValid())
            line += u';' + g.time.toString(u"H:mm"_s);
        lines << line;
    }
    return lines;
}

Result<std::optional<Playoff>> readLeaguePlayoff(const QString& competitionPath, const SeasonStore& season)
{
    using Read = Result<std::optional<Playoff>>;
    const QString path = playoffFileFor(competitionPath), name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path))
        return Read(std::nullopt);
    const Result<QByteArray> bytes = readDataFile(path);
    if (!bytes.ok())
        return Read::failureOf(bytes);
    Result<Playoff> read = readPlayoff(bytes.value(), name, season.teams());
    if (!read.ok())
        return Read::failureOf(read);
    if (const Result<Bracket> bracket = playoffBracket(read.value(), season); !bracket.ok())
        return Read::failure(name + u", "_s + bracket.error());
    return Read(std::move(read).value());
}

QString seriesScore(const Series& series)
{
    return u"%1:%2"_s.arg(series.betterWins).arg(series.worseWins);
}

QString seededName(const SeasonStore& season, int team, int place)
{
    return u"%1 (%2.)"_s.arg(season.TymPodleCisla(team)).arg(place);
}

ViewTable bracketView(const Playoff& playoff, const Bracket& bracket, const SeasonStore& season)
{
    ViewTable view{viewCaption(season, u"play-off"_s),
                   {u"fáze"_s, u"lépe nasazený"_s, u"hůře nasazený"_s, u"série"_s, u"zápasy"_s, u"výsledek"_s},
                   {}};
    for (int s = 0; s < bracket.stages.size(); ++s) {
        const StageState& stage = bracket.stages[s];
        if (!stage.known) {
            view.rows.append({playoff.stages[s].name, u"čeká na předchozí fáze"_s, {}, {}, {}, {}});
            continue;
        }
        for (const Series& x : stage.series) {
            QStringList games;
            for (int g : x.games)
                games << (playoff.games[g].home == x.better ? u""_s : u"@"_s) + playoff.games[g].result;
            // An open series' last column: its next game, where its day is known.
            const QString state = !x.planned ? seriesOutcome(playoff, s, x, season)
                                             : u"další zápas %1: %2 - %3"_s.arg(plannedText(*x.planned),
                                                                                season.TymPodleCisla(x.planned->home),
                                                                                season.TymPodleCisla(x.planned->away));
            view.rows.append({playoff.stages[s].name, seededName(season, x.better, x.betterPlace),
                              seededName(season, x.worse, x.worsePlace), seriesScore(x), games.join(u' '), state});
        }
    }
    return view;
}

QStringList bracketLines(const Playoff& playoff, const Bracket& bracket, const SeasonStore& season)
{
    QStringList lines;
    QString stage;
    for (const QStringList& row : bracketView(playoff, bracket, season).rows) {
        if (row[0] != stage) {
            if (!lines.isEmpty())
                lines << QString();
            lines << (stage = row[0]);
        }
        if (row[2].isEmpty()) { // a stage that waits for earlier ones
            lines << u"  "_s + row[1];
            continue;
        }
        lines << u"  %1 – %2  %3"_s.arg(row[1], row[2], row[3]);
        QStringList more; // the games, the outcome
        for (const QString& text : {row[4], row[5]})
            if (!text.isEmpty())
                more << text;
        if (!more.isEmpty())
            lines << u"      "_s + more.join(u"   "_s);
    }
    return lines;
}

QString bracketNote(const Bracket& bracket, const SeasonStore& season)
{
    if (bracket.seeded)
        return {};
    QStringList missing;
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m)
            if (const Match& match = season.match(m, r); match.result.isEmpty() && match.home > 0)
                missing << u"%1. kolo %2 - %3"_s.arg(r).arg(season.TymPodleCisla(match.home),
                                                            season.TymPodleCisla(match.away));
    return u"Kdyby sezóna skončila dnes, podle konečného pořadí (při rovnosti bodů rozhodují vzájemné zápasy). "
           "Zápasy play-off lze zapisovat, až budou mít výsledek všechny zápasy základní části; chybí %1: %2"_s
               .arg(missing.size())
               .arg(missing.mid(0, 5).join(u", ") + (missing.size() > 5 ? u", …"_s : QString()));
}

int gameNumber(const Playoff& playoff, int game)
{
    const PlayoffGame& g = playoff.games[game];
    int number = 1;
    for (int i = 0; i < game; ++i) {
        const PlayoffGame& e = playoff.games[i];
        number += e.stage == g.stage && std::minmax(e.home, e.away) == std::minmax(g.home, g.away);
    }
    return number;
}

QStringList teamPlayoffLines(const Playoff& playoff, const SeasonStore& season, int team)
{
    QStringList lines;
    for (int i = 0; i < playoff.games.size(); ++i) {
        const PlayoffGame& g = playoff.games[i];
        if (team != 0 && g.home != team && g.away != team)
            continue;
        lines << u"%1, %2. zápas  %3%4 - %5 %6"_s.arg(playoff.stages[g.stage].name)
                     .arg(gameNumber(playoff, i))
                     .arg(g.date.isValid() ? g.date.toString(u"d.M.  "_s) : QString())
                     .arg(season.TymPodleCisla(g.home), season.TymPodleCisla(g.away), g.result);
    }
    return lines;
}

namespace {

// A game's event keeps its identity from planned to played, whoever hosts it.
QString gameUid(int stage, int a, int b, int game)
{
    return u"po-%1-%2-%3-%4"_s.arg(stage + 1).arg(std::min(a, b)).arg(std::max(a, b)).arg(game);
}

} // namespace

QList<CalendarGame> playoffCalendar(const Playoff& playoff, const SeasonStore& season, int team)
{
    QList<CalendarGame> events;
    for (int i = 0; i < playoff.games.size(); ++i) {
        const PlayoffGame& g = playoff.games[i];
        if ((team != 0 && g.home != team && g.away != team) || !g.date.isValid())
            continue;
        events.append({g.date, gameUid(g.stage, g.home, g.away, gameNumber(playoff, i)),
                       season.TymPodleCisla(g.home) + u" - " + season.TymPodleCisla(g.away) + u"  "_s + g.result,
                       u"play-off: %1, %2. zápas\n"_s.arg(playoff.stages[g.stage].name).arg(gameNumber(playoff, i)) +
                           season.caption,
                       u"play-off"_s, QTime()});
    }
    // Each open series' next game where its day is known, at its time.
    const Result<Bracket> bracket = playoffBracket(playoff, season);
    for (int s = 0; bracket.ok() && s < bracket.value().stages.size(); ++s)
        for (const Series& x : bracket.value().stages[s].series) {
            if (!x.planned || (team != 0 && x.better != team && x.worse != team))
                continue;
            const PlannedGame& g = *x.planned;
            events.append(
                {g.date, gameUid(s, x.better, x.worse, x.nextGame()),
                 season.TymPodleCisla(g.home) + u" - " + season.TymPodleCisla(g.away),
                 u"play-off: %1, %2. zápas\n"_s.arg(playoff.stages[s].name).arg(x.nextGame()) + season.caption,
                 u"play-off"_s, g.time});
        }
    return events;
}

std::array<QString, 3> playoffBalance(const Playoff& playoff, int team)
{
    std::array<std::array<int, 4>, 3> sum{}; // wins, losses, goals for, goals against; home, away, all
    bool any = false;
    for (const PlayoffGame& g : playoff.games) {
        if (g.home != team && g.away != team)
            continue;
        any = true;
        const ParsedResult r = ZkoumatVysledek(g.result);
        const bool home = g.home == team;
        const int scored = home ? r.HomeGoals : r.AwayGoals, conceded = home ? r.AwayGoals : r.HomeGoals;
        for (std::size_t v : {home ? std::size_t{0} : std::size_t{1}, std::size_t{2}}) {
            sum[v][scored > conceded ? 0 : 1] += 1;
            sum[v][2] += scored, sum[v][3] += conceded;
        }
    }
    std::array<QString, 3> texts;
    for (std::size_t v = 0; any && v < 3; ++v)
        texts[v] = u"%1:%2 (%3:%4)"_s.arg(sum[v][0]).arg(sum[v][1]).arg(sum[v][2]).arg(sum[v][3]);
    return texts;
}

namespace {

// The games of each series by stage name and pair, in playing order.
using SeriesKey = std::tuple<QString, int, int>;
std::map<SeriesKey, QList<PlayoffGame>> seriesGames(const Playoff& playoff)
{
    std::map<SeriesKey, QList<PlayoffGame>> series;
    for (const PlayoffGame& g : playoff.games)
        series[{playoff.stages[g.stage].name, std::min(g.home, g.away), std::max(g.home, g.away)}].append(g);
    return series;
}

bool sameGame(const PlayoffGame& a, const PlayoffGame& b)
{
    return a.home == b.home && a.away == b.away && a.result == b.result;
}

// Whether the shorter list of games begins the longer one.
bool oneGoesOn(const QList<PlayoffGame>& a, const QList<PlayoffGame>& b)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (!sameGame(a[i], b[i]))
            return false;
    return true;
}

QString resultsOf(const QList<PlayoffGame>& games)
{
    QStringList results;
    for (const PlayoffGame& g : games)
        results << g.result;
    return results.isEmpty() ? u"žádné"_s : results.join(u' ');
}

} // namespace

QStringList playoffConflicts(const Playoff& local, const Playoff& downloaded, const SeasonStore& season)
{
    QStringList conflicts;
    const auto theirs = seriesGames(downloaded);
    for (const auto& [key, mine] : seriesGames(local)) {
        const auto it = theirs.find(key);
        if (it != theirs.end() && !oneGoesOn(mine, it->second))
            conflicts << u"%1  %2 - %3: vaše %4, server %5"_s.arg(std::get<0>(key))
                             .arg(season.TymPodleCisla(std::get<1>(key)), season.TymPodleCisla(std::get<2>(key)),
                                  resultsOf(mine), resultsOf(it->second));
    }
    return conflicts;
}

QStringList lostPlayoffGames(const Playoff& local, const Playoff& downloaded, const SeasonStore& season)
{
    QStringList lost;
    for (const auto& [key, mine] : seriesGames(local))
        if (downloaded.stageIndex(std::get<0>(key)) < 0)
            lost << u"%1  %2 - %3: vaše %4, server fázi „%1“ nemá"_s.arg(std::get<0>(key))
                        .arg(season.TymPodleCisla(std::get<1>(key)), season.TymPodleCisla(std::get<2>(key)),
                             resultsOf(mine));
    return lost;
}

Playoff mergePlayoffs(const Playoff& local, const Playoff& downloaded, bool takeServer)
{
    Playoff merged = downloaded;
    const auto theirs = seriesGames(downloaded);
    for (const auto& [key, mine] : seriesGames(local)) {
        const int stage = merged.stageIndex(std::get<0>(key));
        if (stage < 0)
            continue; // the server's play-off has no such stage any more
        const auto it = theirs.find(key);
        const QList<PlayoffGame> server = it == theirs.end() ? QList<PlayoffGame>() : it->second;
        const bool apart = !oneGoesOn(mine, server);
        if ((apart && takeServer) || (!apart && mine.size() <= server.size()))
            continue;
        merged.games.removeIf([&](const PlayoffGame& g) {
            return g.stage == stage && std::min(g.home, g.away) == std::get<1>(key) &&
                   std::max(g.home, g.away) == std::get<2>(key);
        });
        for (PlayoffGame g : mine) {
            g.stage = stage;
            merged.games.append(g);
        }
    }
    // The server's days are taken; the fan's stay for the series the server has none for.
    const auto samePair = [](const PlannedGame& a, const PlannedGame& b) {
        return std::minmax(a.home, a.away) == std::minmax(b.home, b.away);
    };
    for (PlannedGame mine : local.planned) {
        mine.stage = merged.stageIndex(local.stages[mine.stage].name);
        if (mine.stage >= 0 &&
            std::none_of(downloaded.planned.begin(), downloaded.planned.end(),
                         [&](const PlannedGame& p) { return p.stage == mine.stage && samePair(p, mine); }))
            merged.planned.append(mine);
    }
    return merged;
}

QList<PlayoffFormat> titleFormats(int teams)
{
    const StageRow semi{u"Semifinále"_s, u"vitezove Čtvrtfinále"_s, 4, {}},
        final{u"Finále"_s, u"vitezove Semifinále"_s, 4, {}};
    QList<PlayoffFormat> formats;
    if (teams >= 8)
        formats.append(
            {u"čtvrtfinále 1.–8., série na 4 vítězství"_s, {{u"Čtvrtfinále"_s, u"1-8"_s, 4, {}}, semi, final}});
    if (teams >= 10)
        formats.append(
            {u"předkolo 7.–10. na 3 vítězství, čtvrtfinále s 1.–6."_s,
             {{u"Předkolo"_s, u"7-10"_s, 3, {}}, {u"Čtvrtfinále"_s, u"1-6, vitezove Předkolo"_s, 4, {}}, semi, final}});
    if (teams >= 4)
        formats.append({u"semifinále 1.–4."_s, {{u"Semifinále"_s, u"1-4"_s, 4, {}}, final}});
    formats.append({u"finále 1.–2."_s, {{u"Finále"_s, u"1-2"_s, 4, {}}}});
    return formats;
}

QList<PlayoffFormat> bottomFormats(int teams)
{
    QList<PlayoffFormat> formats{{u"bez play-down"_s, {}}};
    if (teams >= 8)
        formats.append({u"play-down posledních čtyř, poražení o udržení"_s,
                        {{u"Play-down"_s, u"%1-%2"_s.arg(teams - 3).arg(teams), 4, {}},
                         {u"O udržení"_s, u"porazeni Play-down"_s, 4, {}}}});
    if (teams >= 4)
        formats.append(
            {u"série o udržení posledních dvou"_s, {{u"O udržení"_s, u"%1-%2"_s.arg(teams - 1).arg(teams), 4, {}}}});
    // The play-down first where a league of its size usually plays one.
    if (teams >= 12)
        formats.swapItemsAt(0, 1);
    return formats;
}

namespace {

// Two stages that take teams by the same place: one team would play in both.
Refusal placesTwice(const Playoff& playoff)
{
    const auto byPlace = [&](const Stage& stage) {
        quint32 places = 0;
        for (const StageItem& item : stage.items)
            if (item.kind == StageItem::Kind::Places)
                places |= possiblePlaces(playoff.stages, item);
        return places;
    };
    for (qsizetype j = 1; j < playoff.stages.size(); ++j)
        for (qsizetype i = 0; i < j; ++i)
            if (const quint32 both = byPlace(playoff.stages[i]) & byPlace(playoff.stages[j]))
                return u"Fáze %1: místo %2 hraje už ve fázi „%3“"_s.arg(j + 1)
                    .arg(std::countr_zero(both))
                    .arg(playoff.stages[i].name);
    return std::nullopt;
}

} // namespace

Result<QStringList> playoffFileLines(const QList<StageRow>& stages, int teams)
{
    if (stages.isEmpty())
        return Result<QStringList>::failure(u"Play-off potřebuje aspoň jednu fázi."_s);
    QStringList lines;
    for (const StageRow& s : stages) {
        QString line = u"faze=%1;%2;%3"_s.arg(s.name.simplified(), s.participants.simplified()).arg(s.wins);
        if (!s.homeGames.trimmed().isEmpty())
            line += u';' + s.homeGames.simplified();
        lines << line;
    }
    // Read as the program will read the file: a stage the reader refuses is refused here, by its row.
    const Result<Playoff> read = readPlayoff(lines.join(u'\n').toUtf8(), u"Fáze"_s, teams);
    if (!read.ok()) {
        static const QRegularExpression where(u"^Fáze, řádek (\\d+): "_s);
        QString why = read.error();
        return Result<QStringList>::failure(why.replace(where, u"Fáze \\1: "_s));
    }
    if (const Refusal twice = placesTwice(read.value()))
        return Result<QStringList>::failure(*twice);
    return QStringList{u"; play-off: faze=NÁZEV;ÚČASTNÍCI;VÝHRY[;DOMA]"_s,
                       u";   účastníci: místa (7) či rozsahy (7-10) konečné tabulky, vitezove FÁZE, porazeni FÁZE"_s,
                       u";   výhry: kolik vítězství postupuje (1 až 4); doma: zápasy, které hostí lépe nasazený"_s,
                       u"; zapas=FÁZE;DOMÁCÍ-HOSTÉ;VÝSLEDEK[;DATUM] zapisuje program, stejně jako"_s,
                       u";   termin=FÁZE;DOMÁCÍ-HOSTÉ;DATUM[;ČAS] příštího zápasu série"_s} +
           lines;
}

QVarLengthArray<int, kMaxTeams> finalOrder(const SeasonStore& season)
{
    Tallies tallies(season.teams());
    std::vector<MatchScore> scores;
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            if (match.result.isEmpty() || match.home < 1 || match.away < 1)
                continue;
            const MatchScore s = scoreOf(match, season.rules);
            scores.push_back(s);
            Tally &home = tallies[s.home - 1], &away = tallies[s.away - 1];
            home.points += s.homePoints, home.goalsFor += s.homeGoals, home.goalsAgainst += s.awayGoals;
            away.points += s.awayPoints, away.goalsFor += s.awayGoals, away.goalsAgainst += s.homeGoals;
        }
    for (const PointsAdjustment& a : season.adjustments)
        if (a.team >= 1 && a.team <= season.teams())
            tallies[a.team - 1].points += a.points;
    Ranking ranking;
    rankByPoints(tallies, scores, RankingRules::Final, ranking);
    QVarLengthArray<int, kMaxTeams> order;
    for (const Ranked& r : ranking)
        order.append(r.team);
    return order;
}

namespace {

// A stage's series, the best of its teams against the worst, once every stage it draws on is over.
StageState seededStage(const Stage& stage, const Bracket& bracket, const QVarLengthArray<int, kMaxTeams>& order,
                       const QList<int>& placeOf)
{
    StageState state;
    QList<int> teams;
    state.known = true;
    for (const StageItem& item : stage.items) {
        if (item.kind == StageItem::Kind::Places) {
            for (int p = item.first; p <= item.last; ++p)
                teams << order[p - 1];
            continue;
        }
        const StageState& from = bracket.stages[item.stage];
        state.known = state.known && from.known &&
                      std::all_of(from.series.begin(), from.series.end(), [](const Series& x) { return x.winner; });
        if (state.known)
            for (const Series& x : from.series)
                teams << (item.kind == StageItem::Kind::Winners ? x.winner : x.loser());
    }
    if (!state.known)
        return state;
    std::sort(teams.begin(), teams.end(), [&](int a, int b) { return placeOf[a] < placeOf[b]; });
    for (qsizetype i = 0; i < teams.size() / 2; ++i) {
        const int better = teams[i], worse = teams[teams.size() - 1 - i];
        state.series.append({better, worse, placeOf[better], placeOf[worse], {}, 0, 0, 0, std::nullopt});
    }
    return state;
}

} // namespace

namespace {

// Each open series' next game: the earliest planned after the last game it has a day for.
void planSeries(const Playoff& playoff, int stage, StageState& state)
{
    for (Series& x : state.series) {
        if (x.winner)
            continue;
        QDate last;
        for (const int g : x.games)
            last = std::max(last, playoff.games[g].date);
        for (const PlannedGame& p : playoff.planned)
            if (p.stage == stage && std::minmax(p.home, p.away) == std::minmax(x.better, x.worse) && p.date > last &&
                (!x.planned || std::pair(p.date, p.time) < std::pair(x.planned->date, x.planned->time)))
                x.planned = p;
    }
}

} // namespace

Result<Bracket> playoffBracket(const Playoff& playoff, const SeasonStore& season)
{
    const QVarLengthArray<int, kMaxTeams> order = finalOrder(season);
    QList<int> placeOf(season.teams() + 1);
    for (qsizetype i = 0; i < order.size(); ++i)
        placeOf[order[i]] = static_cast<int>(i) + 1;
    Bracket bracket;
    bracket.seeded = regularSeasonOver(season);
    for (int s = 0; s < playoff.stages.size(); ++s) {
        const Stage& stage = playoff.stages[s];
        StageState state = seededStage(stage, bracket, order, placeOf);
        for (int g = 0; bracket.seeded && g < playoff.games.size(); ++g) {
            const PlayoffGame& game = playoff.games[g];
            if (game.stage != s)
                continue;
            const QString where = game.line ? u"řádek %1: "_s.arg(game.line) : QString();
            const QString names = season.TymPodleCisla(game.home) + u" - " + season.TymPodleCisla(game.away);
            if (!state.known)
                return Result<Bracket>::failure(
                    u"%1%2 ve fázi „%3“, jejíž účastníci ještě nejsou známi"_s.arg(where, names, stage.name));
            const auto x = std::find_if(state.series.begin(), state.series.end(), [&](const Series& c) {
                return (c.better == game.home && c.worse == game.away) ||
                       (c.better == game.away && c.worse == game.home);
            });
            if (x == state.series.end())
                return Result<Bracket>::failure(u"%1%2 není dvojice fáze „%3“"_s.arg(where, names, stage.name));
            if (x->winner)
                return Result<Bracket>::failure(
                    u"%1%2: série fáze „%3“ už je rozhodnuta (%4:%5)"_s.arg(where, names, stage.name)
                        .arg(x->betterWins)
                        .arg(x->worseWins));
            const int won = homeWon(game.result) ? game.home : game.away;
            x->games << g;
            (won == x->better ? x->betterWins : x->worseWins) += 1;
            if (x->betterWins == stage.wins || x->worseWins == stage.wins)
                x->winner = won;
        }
        if (bracket.seeded)
            planSeries(playoff, s, state);
        bracket.stages.append(state);
    }
    return bracket;
}

QString plannedText(const PlannedGame& game)
{
    return shortDate(game.date) + (game.time.isValid() ? game.time.toString(u" H:mm"_s) : QString());
}

Result<Playoff> withPlannedGame(const Playoff& playoff, const SeasonStore& season, const PlannedGame& game)
{
    const Result<Bracket> bracket = playoffBracket(playoff, season);
    if (!bracket.ok())
        return Result<Playoff>::failure(bracket.error());
    if (game.stage < 0 || game.stage >= playoff.stages.size())
        return Result<Playoff>::failure(u"Play-off takovou fázi nemá."_s);
    const QList<Series>& all = bracket.value().stages[game.stage].series;
    const auto x = std::find_if(all.begin(), all.end(), [&](const Series& c) {
        return std::minmax(c.better, c.worse) == std::minmax(game.home, game.away);
    });
    if (!bracket.value().seeded || x == all.end() || x->winner)
        return Result<Playoff>::failure(u"%1 - %2 není rozehraná série fáze „%3“."_s.arg(
            season.TymPodleCisla(game.home), season.TymPodleCisla(game.away), playoff.stages[game.stage].name));
    for (const int g : x->games)
        if (playoff.games[g].date >= game.date)
            return Result<Playoff>::failure(
                u"Série už má zápas z %1, další zápas musí být později."_s.arg(shortDate(playoff.games[g].date)));
    Playoff with = playoff;
    if (x->planned)
        with.planned.removeIf([&](const PlannedGame& p) {
            return p.stage == game.stage && std::minmax(p.home, p.away) == std::minmax(game.home, game.away) &&
                   p.date == x->planned->date && p.time == x->planned->time;
        });
    with.planned.append(game);
    with.planned.last().line = 0;
    return with;
}

Result<void> checkNewGame(const Playoff& playoff, const SeasonStore& season, const PlayoffGame& game)
{
    if (game.home < 1 || game.home > season.teams() || game.away < 1 || game.away > season.teams() ||
        game.home == game.away)
        return Result<void>::failure(
            u"%1-%2 nejsou dvě různá čísla týmů od 1 do %3."_s.arg(game.home).arg(game.away).arg(season.teams()));
    if (game.stage < 0 || game.stage >= playoff.stages.size())
        return Result<void>::failure(u"Play-off takovou fázi nemá."_s);
    if (!regularSeasonOver(season))
        return Result<void>::failure(
            u"Zápasy play-off lze zapisovat, až bude mít každý zápas základní části výsledek."_s);
    const QString result = normaliseResult(game.result);
    if (result.isEmpty())
        return Result<void>::failure(u"„%1“ není výsledek."_s.arg(game.result.left(20)));
    const ParsedResult r = ZkoumatVysledek(result);
    if (r.HomeGoals == r.AwayGoals)
        return Result<void>::failure(
            u"Zápas play-off nekončí remízou: napište výsledek po prodloužení nebo nájezdech."_s);
    Playoff with = playoff;
    with.games.append(game);
    with.games.last().result = result;
    const Result<Bracket> bracket = playoffBracket(with, season);
    return bracket.ok() ? Result<void>() : Result<void>::failure(bracket.error());
}

Result<Playoff> withoutLastGame(const Playoff& playoff, const SeasonStore& season, int stage, int home, int away)
{
    int last = -1;
    for (int g = 0; g < playoff.games.size(); ++g) {
        const PlayoffGame& game = playoff.games[g];
        if (game.stage == stage && std::minmax(game.home, game.away) == std::minmax(home, away))
            last = g;
    }
    if (last < 0)
        return Result<Playoff>::failure(u"Série %1 - %2 nemá žádný zápas k odebrání."_s.arg(
            season.TymPodleCisla(std::clamp(home, 1, season.teams())),
            season.TymPodleCisla(std::clamp(away, 1, season.teams()))));
    Playoff without = playoff;
    without.games.removeAt(last);
    // A later stage seeded by this series' winner would lose its pairs.
    if (const Result<Bracket> bracket = playoffBracket(without, season); !bracket.ok())
        return Result<Playoff>::failure(
            u"Zápas nelze odebrat: na výsledku série už stojí další fáze (%1). Odeberte nejprve její zápasy."_s.arg(
                bracket.error()));
    return without;
}
