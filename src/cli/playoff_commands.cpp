// SPDX-License-Identifier: MIT
// rinkomat-cli's play-off: the bracket, and a game entered into it.
#include "support.h"

#include "league/openleague.h"
#include "playoff/playoff.h"
#include "season/leaguefiles.h"
#include "season/matchdates.h"
#include "season/seasonfile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

QJsonObject plannedJson(const PlannedGame& game)
{
    return {{u"home"_s, game.home},
            {u"away"_s, game.away},
            {u"date"_s, game.date.toString(Qt::ISODate)},
            {u"time"_s, game.time.isValid() ? QJsonValue(game.time.toString(u"HH:mm"_s)) : QJsonValue()}};
}

QJsonObject bracketJson(const Playoff& playoff, const Bracket& bracket)
{
    QJsonArray stages;
    for (int s = 0; s < bracket.stages.size(); ++s) {
        QJsonArray series;
        for (const Series& x : bracket.stages[s].series) {
            QJsonArray games;
            for (int g : x.games)
                games.append(QJsonObject{{u"home"_s, playoff.games[g].home},
                                         {u"away"_s, playoff.games[g].away},
                                         {u"result"_s, playoff.games[g].result}});
            series.append(QJsonObject{{u"better"_s, x.better},
                                      {u"worse"_s, x.worse},
                                      {u"better_place"_s, x.betterPlace},
                                      {u"worse_place"_s, x.worsePlace},
                                      {u"games"_s, games},
                                      {u"wins"_s, QJsonArray{x.betterWins, x.worseWins}},
                                      {u"winner"_s, x.winner ? QJsonValue(x.winner) : QJsonValue()},
                                      {u"next"_s, x.planned ? plannedJson(*x.planned) : QJsonValue()}});
        }
        stages.append(QJsonObject{{u"name"_s, playoff.stages[s].name},
                                  {u"wins"_s, playoff.stages[s].wins},
                                  {u"known"_s, bracket.stages[s].known},
                                  {u"series"_s, series}});
    }
    return {{u"seeded"_s, bracket.seeded}, {u"stages"_s, stages}};
}

// "3-8" as two team numbers.
std::optional<std::pair<int, int>> teamPair(const QString& text)
{
    const QStringList teams = text.split(u'-');
    bool homeOk = false, awayOk = false;
    const int home = teams.value(0).toInt(&homeOk), away = teams.value(1).toInt(&awayOk);
    if (teams.size() != 2 || !homeOk || !awayOk)
        return std::nullopt;
    return std::pair{home, away};
}

// The league's play-off changed through the open league and saved; the play-off as it then stands.
Result<std::pair<SeasonStore, Playoff>> changePlayoff(const Context& c, const QString& stageName,
                                                      const std::function<Result<void>(OpenLeague&, int)>& change)
{
    std::optional<Playoff> played;
    const Result<SeasonStore> changed = changeLeague(c, [&](OpenLeague& open) -> Result<void> {
        if (!open.playoff())
            return Result<void>::failure(open.playoffProblem().isEmpty()
                                             ? u"Liga nemá play-off (soubor playoff_….txt)."_s
                                             : open.playoffProblem());
        const int stage = open.playoff()->stageIndex(stageName);
        if (stage < 0)
            return Result<void>::failure(u"Play-off nemá fázi „%1“."_s.arg(stageName.left(40)));
        if (const Result<void> done = change(open, stage); !done.ok())
            return done;
        played = open.playoff();
        return {};
    });
    if (!changed.ok())
        return Result<std::pair<SeasonStore, Playoff>>::failureOf(changed);
    return std::pair{changed.value(), *played};
}

Result<std::pair<SeasonStore, Playoff>> enterGame(const Context& c)
{
    using Changed = Result<std::pair<SeasonStore, Playoff>>;
    PlayoffGame entered;
    entered.result = c.args[3];
    const std::optional<std::pair<int, int>> teams = teamPair(c.args[2]);
    if (!teams)
        return Changed::failure(u"„%1“ nejsou čísla týmů DOMÁCÍ-HOSTÉ"_s.arg(c.args[2].left(20)), kUsageExit);
    std::tie(entered.home, entered.away) = *teams;
    if (c.parser->isSet(u"date"_s)) {
        entered.date = parseShortDate(c.parser->value(u"date"_s));
        if (!entered.date.isValid())
            return Changed::failure(u"--date: „%1“ není datum D.M.RRRR"_s.arg(c.parser->value(u"date"_s).left(20)),
                                    kUsageExit);
    }
    return changePlayoff(c, c.args[1], [&](OpenLeague& open, int stage) -> Result<void> {
        entered.stage = stage;
        if (const Result<void> fits = checkNewGame(*open.playoff(), open.season(), entered); !fits.ok())
            return fits;
        if (const Result<void> added = open.addPlayoffGame(entered, QDateTime::currentDateTime()); !added.ok())
            return Result<void>::failure(added.error(), kFileExit); // checked: only the write can fail
        return {};
    });
}

Result<std::pair<SeasonStore, Playoff>> removeGame(const Context& c)
{
    const std::optional<std::pair<int, int>> teams = teamPair(c.args[1]);
    if (!teams)
        return Result<std::pair<SeasonStore, Playoff>>::failure(
            u"„%1“ nejsou čísla týmů DOMÁCÍ-HOSTÉ"_s.arg(c.args[1].left(20)), kUsageExit);
    return changePlayoff(c, c.parser->value(u"remove"_s), [&](OpenLeague& open, int stage) -> Result<void> {
        if (teams->first < 1 || teams->first > open.season().teams() || teams->second < 1 ||
            teams->second > open.season().teams())
            return Result<void>::failure(u"Čísla týmů jsou od 1 do %1."_s.arg(open.season().teams()));
        const Result<Playoff> without =
            withoutLastGame(*open.playoff(), open.season(), stage, teams->first, teams->second);
        if (!without.ok())
            return Result<void>::failureOf(without);
        // checked: only the write can fail
        const Result<void> removed =
            open.removePlayoffGame(stage, teams->first, teams->second, QDateTime::currentDateTime());
        return removed.ok() ? removed : Result<void>::failure(removed.error(), kFileExit);
    });
}

// `--plan STAGE HOME-AWAY --date D.M.YYYY [--time HH:MM]`: the day of the series' next game.
Result<std::pair<SeasonStore, Playoff>> planGame(const Context& c)
{
    using Changed = Result<std::pair<SeasonStore, Playoff>>;
    PlannedGame planned;
    const std::optional<std::pair<int, int>> teams = teamPair(c.args[1]);
    if (!teams)
        return Changed::failure(u"„%1“ nejsou čísla týmů DOMÁCÍ-HOSTÉ"_s.arg(c.args[1].left(20)), kUsageExit);
    std::tie(planned.home, planned.away) = *teams;
    planned.date = parseShortDate(c.parser->value(u"date"_s));
    if (!isSeasonDate(planned.date))
        return Changed::failure(u"--date: „%1“ není datum D.M.RRRR"_s.arg(c.parser->value(u"date"_s).left(20)),
                                kUsageExit);
    if (c.parser->isSet(u"time"_s)) {
        const std::optional<QTime> time = clockTime(c.parser->value(u"time"_s));
        if (!time)
            return Changed::failure(u"--time: „%1“ není čas HH:MM"_s.arg(c.parser->value(u"time"_s).left(20)),
                                    kUsageExit);
        planned.time = *time;
    }
    return changePlayoff(c, c.parser->value(u"plan"_s), [&](OpenLeague& open, int stage) -> Result<void> {
        planned.stage = stage;
        if (const Result<Playoff> fits = withPlannedGame(*open.playoff(), open.season(), planned); !fits.ok())
            return Result<void>::failureOf(fits);
        const Result<void> saved = open.planPlayoffGame(planned, QDateTime::currentDateTime());
        return saved.ok() ? saved : Result<void>::failure(saved.error(), kFileExit); // checked: only the write fails
    });
}

Result<std::pair<SeasonStore, Playoff>> readBracket(const Context& c)
{
    using Read = Result<std::pair<SeasonStore, Playoff>>;
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Read::failureOf(read);
    const Result<std::optional<Playoff>> file = readLeaguePlayoff(c.args[0], read.value());
    if (!file.ok())
        return Read::failure(file.error(), kFileExit);
    if (!file.value())
        return Read::failure(
            u"Liga nemá play-off: soubor %1 vedle ní není."_s.arg(QFileInfo(playoffFileFor(c.args[0])).fileName()),
            kUsageExit);
    return std::pair{read.value(), *file.value()};
}

Output playoff(const Context& c)
{
    const bool game = c.parser->isSet(u"game"_s), remove = c.parser->isSet(u"remove"_s),
               plan = c.parser->isSet(u"plan"_s);
    if (static_cast<int>(game) + static_cast<int>(remove) + static_cast<int>(plan) > 1)
        return refused(u"Zápas se buď zapisuje (--game), nebo odebírá (--remove), nebo se plánuje (--plan)."_s);
    if (game != (c.args.size() == 4) || ((remove || plan) && c.args.size() != 2) ||
        (!game && !remove && !plan && c.args.size() != 1))
        return refused(u"Zápas se zapisuje takto: playoff SOUBOR --game FÁZE DOMÁCÍ-HOSTÉ VÝSLEDEK [--date D.M.RRRR], "
                       "odebírá takto: playoff SOUBOR --remove FÁZE DOMÁCÍ-HOSTÉ, plánuje takto: playoff SOUBOR "
                       "--plan FÁZE DOMÁCÍ-HOSTÉ --date D.M.RRRR [--time HH:MM]"_s);
    if (c.parser->isSet(u"date"_s) && !game && !plan)
        return refused(u"--date patří k --game nebo --plan"_s);
    if ((plan && !c.parser->isSet(u"date"_s)) || (c.parser->isSet(u"time"_s) && !plan))
        return refused(u"--plan potřebuje --date, --time patří k --plan"_s);
    const Result<std::pair<SeasonStore, Playoff>> now = game     ? enterGame(c)
                                                        : remove ? removeGame(c)
                                                        : plan   ? planGame(c)
                                                                 : readBracket(c);
    if (!now.ok())
        return Output::failureOf(now);
    const auto& [season, played] = now.value();
    const Bracket bracket = playoffBracket(played, season).value();
    const QString note = bracketNote(bracket, season);
    CommandOutput out = fromView(bracketView(played, bracket, season),
                                 note.isEmpty() ? QList<QStringList>() : QList<QStringList>{{note}});
    out.json = bracketJson(played, bracket);
    return out;
}

} // namespace

void addPlayoffCommands(std::map<QString, Command>& commands)
{
    commands.insert(
        {u"playoff"_s,
         {.usage =
              u"playoff SOUBOR [--game FÁZE DOMÁCÍ-HOSTÉ VÝSLEDEK [--date D.M.RRRR] | --remove FÁZE DOMÁCÍ-HOSTÉ | "
              "--plan FÁZE DOMÁCÍ-HOSTÉ --date D.M.RRRR [--time HH:MM]]"_s,
          .summary = u"pavouk play-off (série, jejich zápasy a postupující), nebo zápis zápasu série"_s,
          .details =
              u"  --game    zapíše zápas: název fáze, čísla týmů domácí-hosté, výsledek (4:3p, 2:1n; nikdy remíza)\n"
              "  --date    den zápasu\n"
              "  --remove  odebere poslední zápas série (oprava překlepu): název fáze, čísla týmů\n"
              "  --plan    termín příštího zápasu série: název fáze, čísla týmů domácí-hosté, --date a --time\n\n"
              "Příklad: rinkomat-cli playoff souteze/sezona_extraliga0607.txt --game Čtvrtfinále 1-8 4:2"_s,
          .maxArgs = 4,
          .formats = JsonFormat | TableFormats,
          .options = {u"game"_s, u"date"_s, u"time"_s, u"remove"_s, u"plan"_s, kAssume},
          .run = playoff,
          .textOptions = {u"remove"_s, u"plan"_s}}});
}

} // namespace cli
