// SPDX-License-Identifier: MIT
// rinkomat-cli's commands of the tables: running, period and by venue, the all-time table, the position graph.
#include "support.h"

#include "season/seasonfile.h"

#include "export/viewtable.h"
#include "standings/alltime.h"
#include "standings/graph.h"
#include "standings/ranking.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

// --date D.M.YYYY: the day of the table on a date, never with a range of rounds; invalid without the option.
Result<QDate> dateOption(const Context& c, bool period)
{
    if (!c.parser->isSet(u"date"_s))
        return QDate();
    const QDate day = parseShortDate(c.parser->value(u"date"_s));
    if (!day.isValid() || period)
        return Result<QDate>::failure(
            period ? u"--date se nekombinuje s --from a --to."_s
                   : u"--date: „%1“ není datum D.M.RRRR"_s.arg(c.parser->value(u"date"_s).left(20)),
            kUsageExit);
    return day;
}

// --rules running|final: the order on equal points.
Result<RankingRules> rulesOption(const Context& c)
{
    const QString text = c.parser->value(u"rules"_s);
    if (c.parser->isSet(u"rules"_s) && text != u"running" && text != u"final")
        return Result<RankingRules>::failure(u"--rules: running nebo final"_s, kUsageExit);
    return text == u"final" ? RankingRules::Final : RankingRules::Running;
}

QString tableCaption(const QDate& day, bool period, int first, int last)
{
    return day.isValid() ? tableOnDateCaption(day) : period ? periodCaption(first, last) : runningTableCaption();
}

// The table's rows as JSON: the cells by their keys, and what the window shows beside them.
QJsonArray tableJsonRows(const ViewTable& view, const Standings& st)
{
    static const QStringList keys{u"pos"_s,  u"team"_s, u"gp"_s,  u"w"_s,   u"w_ot"_s,        u"t"_s,
                                  u"l_ot"_s, u"l"_s,    u"sco"_s, u"pts"_s, u"sco_tooltip"_s, u"decided_by"_s};
    const auto numbers = [](const QList<int>& lines) {
        QJsonArray a;
        for (int k : lines)
            a.append(k);
        return a;
    };
    QJsonArray rows;
    for (qsizetype r = 0; r < st.rows.size(); ++r) {
        QJsonObject row;
        for (int i = 0; i < keys.size(); ++i)
            row[keys[i]] = view.rows[r][i];
        const StandingsRow& standing = st.rows[r];
        row[u"clinched"_s] = numbers(standing.clinched);
        row[u"out"_s] = numbers(standing.out);
        row[u"adjustment"_s] = standing.adjustment;
        row[u"reasons"_s] = toJsonArray(standing.reasons);
        row[u"moved"_s] = standing.moved ? QJsonValue(*standing.moved) : QJsonValue(QJsonValue::Null);
        row[u"form"_s] = standing.form;
        rows.append(row);
    }
    return rows;
}

Output table(const Context& c)
{
    // Wrong arguments are reported before any file is read.
    int first = c.option(u"from"_s, 1), last = c.option(u"to"_s, kMaxRounds);
    const int venue = c.option(u"venue"_s, 3);
    const auto criterion = static_cast<Criterion>(c.option(u"sort"_s, 0));
    if (first > last)
        std::swap(first, last);
    const Result<RankingRules> ruled = rulesOption(c);
    if (!ruled.ok())
        return Output::failureOf(ruled);
    const bool period = c.parser->isSet(u"from"_s) || c.parser->isSet(u"to"_s);
    const Result<QDate> onDate = dateOption(c, period);
    if (!onDate.ok())
        return Output::failureOf(onDate);
    const QDate day = onDate.value();
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = day.isValid() ? playedBy(read.value(), day) : read.value();
    // Unasked, the whole season's table is in the order the window shows: the final one once it is over.
    const bool whole = !day.isValid() && !period && !c.parser->isSet(u"rules"_s);
    const RankingRules rules = whole ? shownRankingRules(l) : ruled.value();
    const QString caption = whole ? seasonTableCaption(l) : tableCaption(day, period, first, last);
    last = std::min(last, l.rounds()); // without --to: the season's last
    const Standings st = SpocitatPoradi(l, DataProTabulku(l, first, last), venue, criterion, rules, first, last);
    CommandOutput out = fromView(standingsView(l, st, criterion, caption), {{caption}});
    // Under the table, as the window has them: the reasons, or why they are left out.
    const QStringList notes = adjustmentNotes(l, venue, first, last);
    if (!c.parser->isSet(u"json"_s)) {
        for (const QString& note : notes)
            out.rows.append({note});
        return out; // its rows cost as much as the table; a script reading text does not wait for them
    }
    out.json = {{u"caption"_s, caption},
                {u"lines_shown"_s, st.linesShown},
                {u"rows"_s, tableJsonRows(*out.view, st)},
                {u"adjustments_ignored"_s,
                 l.adjustmentsIgnored.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(l.adjustmentsIgnored)}};
    for (const QString& note : notes)
        out.rows.append({note});
    return out;
}

// Every league of the folder with one competition name, summed by team name.
Output alltime(const Context& c)
{
    const QString folder = c.args[0];
    if (!QFileInfo(folder).isDir())
        return fileFault(u"Složka „%1“ neexistuje."_s.arg(folder));
    QString name = c.parser->value(u"name"_s);
    if (!c.parser->isSet(u"name"_s)) {
        const QStringList names = competitionNames(folder);
        if (names.size() != 1)
            return refused(names.isEmpty() ? u"Ve složce „%1“ není žádná liga."_s.arg(folder)
                                           : u"Ve složce jsou soutěže %1; vyberte jednu volbou --name."_s.arg(
                                                 u"„"_s + names.join(u"“, „"_s) + u"“"_s));
        name = names.first();
    }
    const AllTime table = allTimeTable(folder, name);
    if (table.seasons.isEmpty() && table.problems.isEmpty())
        return refused(u"Ve složce „%1“ není žádná liga soutěže „%2“."_s.arg(folder, name));
    QList<QStringList> notes;
    for (const QString& note : allTimeNotes(table))
        notes.append({note});
    const bool places = c.parser->isSet(u"places"_s);
    CommandOutput out = fromView(places ? placesView(table) : allTimeView(table));
    out.rows += notes;
    QJsonArray rows;
    if (places) {
        QJsonArray seasons;
        for (const AllTimeSeason& s : table.seasons)
            seasons.append(QJsonObject{{u"season"_s, s.season}, {u"running"_s, s.running}});
        for (const AllTimeRow& r : table.rows) {
            QJsonArray placed;
            for (const AllTimeSeason& s : table.seasons)
                placed.append(s.place.contains(r.team) ? QJsonValue(s.place.value(r.team)) : QJsonValue());
            rows.append(QJsonObject{{u"team"_s, r.team}, {u"places"_s, placed}});
        }
        out.json[u"seasons"_s] = seasons;
    } else {
        rows = jsonRows(out.view->rows, {u"pos"_s, u"team"_s, u"seasons"_s, u"gp"_s, u"w"_s, u"w_ot"_s, u"t"_s,
                                         u"l_ot"_s, u"l"_s, u"sco"_s, u"pts"_s});
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QJsonObject row = rows[i].toObject();
            row[u"seasons"_s] = table.rows[i].seasons;
            row[u"ppm"_s] = table.rows[i].pointsPerMatch();
            rows[i] = row;
        }
    }
    out.json[u"competition"_s] = name;
    out.json[u"rows"_s] = rows;
    out.json[u"notes"_s] = toJsonArray(allTimeNotes(table));
    return out;
}

Output graph(const Context& c)
{
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    const GraphData g = computeGraph(l);
    CommandOutput out = fromView(graphView(l));
    QJsonArray positions, played;
    for (const auto& round : g.positions) {
        QJsonArray a;
        for (int p : round)
            a.append(p);
        positions.append(a);
    }
    QStringList playedRow;
    for (int n : g.played)
        played.append(n), playedRow << QString::number(n);
    out.rows.append(playedRow);
    const QString warning = graphWarning(l);
    if (!warning.isEmpty())
        out.rows.append({warning});
    out.json = {{u"positions"_s, positions}, {u"played"_s, played}, {u"warning"_s, warning}};
    return out;
}

} // namespace

void addStandingsCommands(std::map<QString, Command>& commands)
{
    commands.insert({
        {u"table"_s,
         {.usage = u"table SOUBOR [--from KOLO] [--to KOLO] [--date D.M.RRRR] [--venue M] [--sort K] "
                   "[--rules running|final]"_s,
          .summary = u"tabulka: průběžná, za období, doma, venku, podle kritéria"_s,
          .details = u"  --from, --to  kola 1 až počet kol ligy (výchozí celá sezóna)\n  --venue       1 doma, 2 "
                     u"venku, 3 celkem "
                     u"(výchozí 3)\n"
                     "  --sort        kritérium 0 až 12 jako v okně (výchozí 0, body)\n"
                     "  --date        tabulka k datu: zápasy odehrané do toho dne podle jejich vlastních dat\n"
                     "  --rules       pořadí při rovnosti bodů: running průběžné (výchozí), final konečné\n\n"
                     "Příklad: rinkomat-cli table souteze/sezona_extraliga0708.txt --rules final --json"_s,
          .formats = JsonFormat | TableFormats,
          .options = {u"from"_s, u"to"_s, u"date"_s, u"venue"_s, u"sort"_s, u"rules"_s, kAssume},
          .run = table}},
        {u"alltime"_s,
         {.usage = u"alltime SLOŽKA [--name TEXT] [--places]"_s,
          .summary = u"historická tabulka: všechny sezóny jedné soutěže sečtené podle názvů týmů"_s,
          .details = u"  SLOŽKA    složka se soubory lig (souteze)\n"
                     "  --name    název soutěže, jak jej uvádí „nazev=“ (výchozí jediná soutěž složky)\n"
                     "  --places  místo součtů konečná umístění, sloupec za každou sezónu, nejnovější první\n\n"
                     "Příklad: rinkomat-cli alltime souteze --name Extraliga --places"_s,
          .formats = JsonFormat | TableFormats,
          .options = {u"name"_s, u"places"_s},
          .run = alltime}},
        {u"graph"_s,
         {.usage = u"graph SOUBOR"_s,
          .summary = u"umístění každého týmu po každém kole"_s,
          .details = u"\nPříklad: rinkomat-cli graph souteze/sezona_extraliga0708.txt --csv"_s,
          .formats = JsonFormat | TableFormats,
          .options = {kAssume},
          .run = graph}},
    });
}

} // namespace cli
