// SPDX-License-Identifier: MIT
// rinkomat-cli's commands of the lookups: balance, a team's matches, head-to-head, missing results, the calendar and
// its .ics.
#include "desktopside.h"
#include "support.h"

#include "export/formats.h"
#include "lookups/lookups.h"
#include "playoff/playoff.h"
#include "season/datafiles.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

Output balance(const Context& c)
{
    const int team = c.number(1);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    ViewTable view = balanceView(l, team);
    const std::optional<Playoff> playoff = readLeaguePlayoff(c.args[0], l).valueOr(std::nullopt);
    if (const std::array<QString, 3> games = playoff ? playoffBalance(*playoff, team) : std::array<QString, 3>{};
        !games[2].isEmpty())
        view.rows.append({u"play-off:"_s, games[0], games[1], games[2]});
    CommandOutput out = fromView(view);
    out.json = {{u"team"_s, l.TymPodleCisla(team)},
                {u"rows"_s, jsonRows(out.view->rows, {u"caption"_s, u"home"_s, u"away"_s, u"total"_s})}};
    return out;
}

Output matches(const Context& c)
{
    const int team = c.number(1);
    if (c.parser->isSet(u"pdf"_s) && c.parser->value(u"pdf"_s).trimmed().isEmpty())
        return refused(u"--pdf: chybí název souboru PDF"_s);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    QStringList texts = teamMatchLines(l, team);
    const std::optional<Playoff> playoff = readLeaguePlayoff(c.args[0], l).valueOr(std::nullopt);
    const QStringList playoffLines = playoff ? teamPlayoffLines(*playoff, l, team) : QStringList();
    if (!playoffLines.isEmpty())
        texts << QString() << u"play-off:"_s << playoffLines;
    if (c.parser->isSet(u"pdf"_s)) {
        const QString page = matchesPage(l, team, texts, QDateTime(c.today, QTime::currentTime()));
        if (const Result<void> printed = printPdf(c.parser->value(u"pdf"_s), page); !printed.ok())
            return fileFault(printed.error());
    }
    ViewTable view = matchesView(l, team);
    if (!playoffLines.isEmpty())
        view.rows << QStringList{} << QStringList{u"play-off:"_s} << oneColumnView({}, {}, playoffLines).rows;
    return lines(view);
}

Output h2h(const Context& c)
{
    const int first = c.number(1), second = c.number(2);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    return lines(headToHeadView(l, first, second));
}

Output missing(const Context& c)
{
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    CommandOutput out = lines(missingView(l, c.today));
    const QString message = out.rows.isEmpty() ? kNothingMissing : QString();
    out.json[u"message"_s] = message;
    if (!message.isEmpty())
        out.rows.append({message});
    return out;
}

Output calendar(const Context& c)
{
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    const Result<QByteArray> file = readDataFile(QFileInfo(c.args[0]).dir().filePath(calendarFileName(l.caption)));
    if (!file.ok())
        return plain({{u"message"_s, kNoCalendar}}, {{kNoCalendar}});
    const QString caption = calendarCaption(l.season).toLower();
    CommandOutput out = fromView(calendarView(l, readCalendar(file.value())), {{caption}});
    out.json = {{u"caption"_s, caption}, {u"events"_s, jsonRows(out.view->rows, {u"dates"_s, u"name"_s})}};
    return out;
}

Output ics(const Context& c)
{
    const int team = c.option(u"team"_s, 0);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    CommandOutput out;
    const std::optional<Playoff> playoff = readLeaguePlayoff(c.args[0], l).valueOr(std::nullopt);
    out.raw = toICalendar(l, c.args[0], team, QDateTime::currentDateTimeUtc(),
                          playoff ? playoffCalendar(*playoff, l, team) : QList<CalendarGame>());
    return out;
}

} // namespace

namespace {

// The league's matches as a calendar file.
void addCalendarCommands(std::map<QString, Command>& commands)
{
    commands.insert({
        {u"ics"_s,
         {.usage = u"ics SOUBOR [--team TÝM]"_s,
          .summary = u"zápasy ligy nebo jednoho týmu jako kalendář iCalendar"_s,
          .details = u"  --team  číslo týmu 1 až počet týmů ligy (výchozí všechny zápasy)\n\n"
                     "Příklad: rinkomat-cli ics souteze/sezona_extraliga0708.txt --team 3 > zapasy.ics"_s,
          .formats = NoFormat,
          .options = {u"team"_s, kAssume},
          .run = ics}},
    });
}

} // namespace

void addLookupsCommands(std::map<QString, Command>& commands)
{
    addCalendarCommands(commands);
    commands.insert({
        {u"balance"_s,
         {.usage = u"balance SOUBOR TÝM"_s,
          .summary = u"dosavadní bilance týmu"_s,
          .details =
              u"  TÝM  číslo týmu 1 až počet týmů ligy\n\nPříklad: rinkomat-cli balance souteze/sezona_extraliga0708.txt 3"_s,
          .minArgs = 2,
          .maxArgs = 2,
          .formats = JsonFormat | TableFormats,
          .options = {kAssume},
          .run = balance,
          .numbers = {{1, 1, kMaxTeams, Within::Teams}}}},
        {u"matches"_s,
         {.usage = u"matches SOUBOR TÝM [--pdf VÝSTUP]"_s,
          .summary = u"všechny zápasy týmu, s --pdf i vytištěná stránka"_s,
          .details =
              u"  TÝM    číslo týmu 1 až počet týmů ligy\n  --pdf  soubor PDF, do kterého se stránka vytiskne\n\n"
              "Příklad: rinkomat-cli matches souteze/sezona_extraliga0708.txt 3 --pdf zapasy.pdf"_s,
          .minArgs = 2,
          .maxArgs = 2,
          .formats = JsonFormat | TableFormats,
          .options = {u"pdf"_s, u"today"_s, kAssume},
          .run = matches,
          .numbers = {{1, 1, kMaxTeams, Within::Teams}}}},
        {u"h2h"_s,
         {.usage = u"h2h SOUBOR TÝM1 TÝM2"_s,
          .summary = u"vzájemné zápasy dvou týmů"_s,
          .details = u"  TÝM1, TÝM2  čísla týmů 0 až počet týmů ligy; 0 je prázdná volba jako v okně\n\n"
                     "Příklad: rinkomat-cli h2h souteze/sezona_extraliga0708.txt 3 8"_s,
          .minArgs = 3,
          .maxArgs = 3,
          .formats = JsonFormat | TableFormats,
          .options = {kAssume},
          .run = h2h,
          .numbers = {{1, 0, kMaxTeams, Within::Teams}, {2, 0, kMaxTeams, Within::Teams}}}},
        {u"missing"_s,
         {.usage = u"missing SOUBOR"_s,
          .summary = u"zápasy minulých kol bez výsledku"_s,
          .details = u"  --today D.M.RRRR  den, který se bere jako dnešek\n\n"
                     "Příklad: rinkomat-cli missing souteze/sezona_extraliga0708.txt"_s,
          .formats = JsonFormat | TableFormats,
          .options = {u"today"_s, kAssume},
          .run = missing}},
        {u"calendar"_s,
         {.usage = u"calendar SOUBOR"_s,
          .summary = u"kalendář akcí sezóny"_s,
          .details = u"\nPříklad: rinkomat-cli calendar souteze/sezona_extraliga0708.txt"_s,
          .formats = JsonFormat | TableFormats,
          .run = calendar}},
    });
}

} // namespace cli
