// SPDX-License-Identifier: MIT
// rinkomat-cli's commands of the statistics: streaks and the cross table.
#include "support.h"

#include "export/viewtable.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

Output streaks(const Context& c)
{
    OvertimeMode mode = OvertimeMode::Draw;
    if (c.parser->isSet(u"overtime"_s)) {
        const QString v = c.parser->value(u"overtime"_s);
        if (v != u"draw" && v != u"final")
            return refused(u"--overtime: draw nebo final"_s);
        mode = v == u"final" ? OvertimeMode::FinalResult : OvertimeMode::Draw;
    }
    const int venue = c.option(u"venue"_s, 3), type = c.option(u"type"_s, 0);
    const int order = c.option(u"order"_s, streakorder::ByCurrent);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    CommandOutput out = fromView(streaksView(l, venue, type, mode, order));
    out.json[u"rows"_s] = jsonRows(out.view->rows, {u"pos"_s, u"team"_s, u"current"_s, u"longest"_s});
    return out;
}

Output cross(const Context& c)
{
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    CommandOutput out = fromView(crossView(l));
    QJsonArray json;
    for (const QStringList& row : out.view->rows)
        json.append(toJsonArray(row.mid(1)));
    out.json[u"cells"_s] = json;
    return out;
}

} // namespace

void addStatsCommands(std::map<QString, Command>& commands)
{
    commands.insert({
        {u"streaks"_s,
         {.usage = u"streaks SOUBOR [--venue M] [--type T] [--overtime draw|final] [--order P]"_s,
          .summary = u"současné a nejdelší série"_s,
          .details =
              u"  --venue     1 doma, 2 venku, 3 celkem (výchozí 3)\n  --type      druh série 0 až 15 (výchozí 0)\n"
              "  --overtime  prodloužení jako remíza (draw, výchozí) nebo podle konečného výsledku (final)\n"
              "  --order     řazení 0 až 2 (výchozí podle současné série)\n\n"
              "Příklad: rinkomat-cli streaks souteze/sezona_extraliga0708.txt --type 1"_s,
          .formats = JsonFormat | TableFormats,
          .options = {u"venue"_s, u"type"_s, u"overtime"_s, u"order"_s, kAssume},
          .run = streaks}},
        {u"cross"_s,
         {.usage = u"cross SOUBOR"_s,
          .summary = u"křížová tabulka"_s,
          .details = u"\nPříklad: rinkomat-cli cross souteze/sezona_extraliga0708.txt"_s,
          .formats = JsonFormat | TableFormats,
          .options = {kAssume},
          .run = cross}},
    });
}

} // namespace cli
