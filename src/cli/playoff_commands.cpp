// SPDX-License-Identifier: MIT
// rinkomat-cli's play-off: the bracket, and a game entered into it.
#include "support.h"

#include "league/openleague.h"
#include "playoff/playoff.h"
#include "season/seasonfile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

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
                                      {u"winner"_s, x.winner ? QJsonValue(x.winner) : QJsonValue()}});
        }
        stages.append(QJsonObject{{u"name"_s, playoff.stages[s].name},
                                  {u"wins"_s, playoff.stages[s].wins},
                                  {u"known"_s, bracket.stages[s].known},
                                  {u"series"_s, series}});
    }
    return {{u"seeded"_s, bracket.seeded}, {u"stages"_s, stages}};
}

Output playoff(const Context& c)
{
    const bool game = c.parser->isSet(u"game"_s);
    if (game != (c.args.size() == 4))
        return refused(
            u"Zápas se zapisuje takto: playoff SOUBOR --game FÁZE DOMÁCÍ-HOSTÉ VÝSLEDEK [--date D.M.RRRR]"_s);
    if (c.parser->isSet(u"date"_s) && !game)
        return refused(u"--date patří k --game"_s);
    std::optional<Playoff> played;
    SeasonStore season;
    if (game) {
        PlayoffGame entered;
        entered.result = c.args[3];
        const QStringList teams = c.args[2].split(u'-');
        bool homeOk = false, awayOk = false;
        entered.home = teams.value(0).toInt(&homeOk), entered.away = teams.value(1).toInt(&awayOk);
        if (teams.size() != 2 || !homeOk || !awayOk)
            return refused(u"„%1“ nejsou čísla týmů DOMÁCÍ-HOSTÉ"_s.arg(c.args[2].left(20)));
        if (c.parser->isSet(u"date"_s)) {
            entered.date = parseShortDate(c.parser->value(u"date"_s));
            if (!entered.date.isValid())
                return refused(u"--date: „%1“ není datum D.M.RRRR"_s.arg(c.parser->value(u"date"_s).left(20)));
        }
        const Result<SeasonStore> changed = changeLeague(c, [&](OpenLeague& open) -> Result<void> {
            if (!open.playoff())
                return Result<void>::failure(open.playoffProblem().isEmpty()
                                                 ? u"Liga nemá play-off (soubor playoff_….txt)."_s
                                                 : open.playoffProblem());
            entered.stage = open.playoff()->stageIndex(c.args[1]);
            if (entered.stage < 0)
                return Result<void>::failure(u"Play-off nemá fázi „%1“."_s.arg(c.args[1].left(40)));
            if (const Result<void> fits = checkNewGame(*open.playoff(), open.season(), entered); !fits.ok())
                return fits;
            if (const Result<void> added = open.addPlayoffGame(entered, QDateTime::currentDateTime()); !added.ok())
                return Result<void>::failure(added.error(), kFileExit); // checked: only the write can fail
            played = open.playoff();
            return {};
        });
        if (!changed.ok())
            return Output::failureOf(changed);
        season = changed.value();
    } else {
        const Result<SeasonStore> read = loadLeague(c);
        if (!read.ok())
            return Output::failureOf(read);
        season = read.value();
        const Result<std::optional<Playoff>> file = readLeaguePlayoff(c.args[0], season);
        if (!file.ok())
            return refused(file.error());
        if (!file.value())
            return refused(
                u"Liga nemá play-off: soubor %1 vedle ní není."_s.arg(QFileInfo(playoffFileFor(c.args[0])).fileName()));
        played = file.value();
    }
    const Bracket bracket = playoffBracket(*played, season).value();
    const QString note = bracketNote(bracket, season);
    CommandOutput out = fromView(bracketView(*played, bracket, season),
                                 note.isEmpty() ? QList<QStringList>() : QList<QStringList>{{note}});
    out.json = bracketJson(*played, bracket);
    return out;
}

} // namespace

void addPlayoffCommands(std::map<QString, Command>& commands)
{
    commands.insert(
        {u"playoff"_s,
         {u"playoff SOUBOR [--game FÁZE DOMÁCÍ-HOSTÉ VÝSLEDEK [--date D.M.RRRR]]"_s,
          u"pavouk play-off (série, jejich zápasy a postupující), nebo zápis zápasu série"_s,
          u"  --game  zapíše zápas: název fáze, čísla týmů domácí-hosté, výsledek (4:3p, 2:1n; nikdy remíza)\n"
          "  --date  den zápasu\n\n"
          "Příklad: rinkomat-cli playoff souteze/sezona_extraliga0607.txt --game Čtvrtfinále 1-8 4:2"_s,
          1,
          4,
          JsonFormat | TableFormats,
          {u"game"_s, u"date"_s, kAssume},
          playoff}});
}

} // namespace cli
