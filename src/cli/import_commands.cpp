// SPDX-License-Identifier: MIT
// rinkomat-cli's import: fixtures and results of a CSV, a calendar or pasted text, into a league or as a new one.
#include "support.h"

#include "import/importplan.h"
#include "league/openleague.h"
#include "season/seasonfile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

// The names --map gives ("NAME=TEAM", the team by number or its name in the league) over the ones kept.
Result<QMap<QString, int>> mappingOf(const Context& c, const SeasonStore& league)
{
    QMap<QString, int> mapping = readNameMapping(c.parser->value(u"into"_s));
    for (const QString& pair : c.parser->values(u"map"_s)) {
        const qsizetype eq = pair.lastIndexOf(u'=');
        const QString team = pair.mid(eq + 1).trimmed();
        bool number = false;
        int t = team.toInt(&number);
        if (!number)
            t = league.CisloPodleTymu(team);
        if (eq <= 0 || t < 1 || t > league.teams())
            return Result<QMap<QString, int>>::failure(
                u"--map: „%1“ nepřiřazuje jménu tým ligy (JMÉNO=TÝM, tým číslem 1 až %2 nebo názvem)"_s
                    .arg(pair.left(60))
                    .arg(league.teams()),
                kUsageExit);
        mapping.insert(pair.left(eq).trimmed(), t);
    }
    return mapping;
}

QJsonObject conflictJson(const ImportConflict& k, const SeasonStore& s, bool taken)
{
    const Match& m = s.match(k.slot, k.round);
    return {{u"round"_s, k.round},
            {u"home"_s, s.TymPodleCisla(m.home)},
            {u"away"_s, s.TymPodleCisla(m.away)},
            {u"mine"_s, k.mine},
            {u"theirs"_s, k.theirs},
            {u"taken"_s, taken}};
}

// What an import into a league did (or, dry, would do): the summary, each conflict and each line without a fixture.
Output planReport(const ImportPlan& plan, const SeasonStore& before, bool theirs, bool dryRun, int skipped,
                  const QString& competition)
{
    QJsonArray conflicts, unmatched;
    QList<QStringList> rows{{planSummary(plan)}};
    for (const ImportConflict& k : plan.conflicts) {
        conflicts.append(conflictJson(k, before, theirs));
        rows.append({conflictLine(k, before) + (theirs ? u"  → soubor"_s : u"  → vaše"_s)});
    }
    for (const ImportLine& line : plan.unmatched) {
        unmatched.append(QJsonObject{
            {u"line"_s, line.line}, {u"home"_s, line.home}, {u"away"_s, line.away}, {u"date"_s, shortDate(line.date)}});
        rows.append({u"bez zápasu: "_s + unmatchedLine(line)});
    }
    if (dryRun)
        rows.append({u"Zkouška nanečisto: nic nebylo zapsáno."_s});
    return plain({{u"entered"_s, plan.entered.size()},
                  {u"conflicts"_s, conflicts},
                  {u"unmatched"_s, unmatched},
                  {u"unchanged"_s, plan.unchanged},
                  {u"skipped"_s, skipped},
                  {u"dry_run"_s, dryRun},
                  {u"competition"_s, competition}},
                 rows);
}

Output intoLeague(const Context& c, const ImportSource& source)
{
    const QString competition = c.parser->value(u"into"_s);
    const QString keep = c.parser->value(u"conflicts"_s);
    if (!keep.isEmpty() && keep != u"mine" && keep != u"theirs")
        return refused(u"--conflicts: mine (ponechat moje výsledky) nebo theirs (převzít výsledky souboru)"_s);
    const bool theirs = keep == u"theirs";
    const bool dryRun = c.parser->isSet(u"dry-run"_s);
    std::optional<ImportPlan> plan;
    SeasonStore before;
    QMap<QString, int> mapped;
    const auto change = [&](const SeasonStore& league) -> Result<QList<SlotResult>> {
        using Changes = Result<QList<SlotResult>>;
        const Result<QMap<QString, int>> mapping = mappingOf(c, league);
        if (!mapping.ok())
            return Changes::failureOf(mapping);
        const TeamMatching teams = matchTeams(source, league.teamNames(), mapping.value());
        if (!teams.unresolved.isEmpty())
            return Changes::failure(
                u"Tato jména nejsou jednoznačně týmy ligy: %1\nPřiřaďte je volbou --map \"JMÉNO=TÝM\"."_s.arg(
                    teams.unresolved.join(u", ")),
                kUsageExit);
        Result<ImportPlan> planned = planImport(league, source, teams.teamOf);
        if (!planned.ok())
            return Changes::failure(planned.error(), kUsageExit);
        plan = std::move(planned).value();
        before = league;
        mapped = mapping.value();
        return resultsToWrite(*plan, theirs);
    };
    if (dryRun) {
        const Result<SeasonStore> league = loadLeague(competition);
        if (!league.ok())
            return Output::failureOf(league);
        if (const auto planned = change(league.value()); !planned.ok())
            return Output::failureOf(planned);
    } else {
        const Result<SeasonStore> changed = changeLeague(
            c,
            [&](OpenLeague& open) -> Result<void> {
                const auto changes = change(open.season());
                if (!changes.ok())
                    return Result<void>::failureOf(changes);
                // What --map said is kept for the next import, as the window keeps what the fan chose.
                if (Result<void> kept = writeNameMapping(competition, mapped); !kept.ok())
                    return Result<void>::failure(kept.error(), kFileExit);
                return open.applyResults(changes.value());
            },
            competition);
        if (!changed.ok())
            return Output::failureOf(changed);
    }
    return planReport(*plan, before, theirs, dryRun, source.skipped, competition);
}

Output asNewLeague(const Context& c, const ImportSource& source)
{
    const QCommandLineParser& p = *c.parser;
    for (const QString& required : {u"name"_s, u"season"_s})
        if (!p.isSet(required))
            return refused(u"Chybí volba --%1."_s.arg(required));
    const Result<std::array<int, 3>> lines = linesOption(c);
    if (!lines.ok())
        return Output::failureOf(lines);
    const Result<SeasonStore> made =
        arrangeLeague(source, {p.value(u"name"_s), p.value(u"season"_s), {}, lines.value(), 1, {}, {}, {}});
    if (!made.ok())
        return refused(made.error());
    const SeasonStore& s = made.value();
    int results = 0;
    for (int r = 1; r <= s.rounds(); ++r)
        for (int m = 1; m <= s.slots(); ++m)
            results += !s.match(m, r).result.isEmpty();
    const QString code = p.isSet(u"code"_s) ? p.value(u"code"_s) : leagueCode(p.value(u"name"_s), p.value(u"season"_s));
    QString competition = QDir(p.value(u"new"_s)).filePath(u"sezona_"_s + code + u".txt"_s);
    if (!p.isSet(u"dry-run"_s)) {
        const Result<QString> written = writeNewLeague(p.value(u"new"_s), code, s);
        if (!written.ok())
            return written.code() == kNameRefused ? refused(written.error()) : fileFault(written.error());
        competition = written.value();
    }
    return plain({{u"entered"_s, results},
                  {u"conflicts"_s, QJsonArray()},
                  {u"unmatched"_s, QJsonArray()},
                  {u"teams"_s, s.teams()},
                  {u"rounds"_s, s.rounds()},
                  {u"skipped"_s, source.skipped},
                  {u"dry_run"_s, p.isSet(u"dry-run"_s)},
                  {u"competition"_s, competition}},
                 {{competition}, {u"%1 týmů, %2 kol, %3 výsledků"_s.arg(s.teams()).arg(s.rounds()).arg(results)}});
}

Output importMatches(const Context& c)
{
    const bool into = c.parser->isSet(u"into"_s), asNew = c.parser->isSet(u"new"_s);
    if (into == asNew)
        return refused(u"Zadejte buď --into SOUBOR_SOUTĚŽE, nebo --new SLOŽKA."_s);
    const Result<QByteArray> bytes = readInput(c.args[0], kMaxImportBytes, u"Importovaný soubor"_s);
    if (!bytes.ok())
        return Output::failureOf(bytes);
    const Result<ImportSource> source =
        readImportSource(bytes.value(), c.args[0] == u"-" ? u"standardní vstup"_s : QFileInfo(c.args[0]).fileName());
    if (!source.ok())
        return refused(source.error());
    return into ? intoLeague(c, source.value()) : asNewLeague(c, source.value());
}

} // namespace

void addImportCommands(std::map<QString, Command>& commands)
{
    commands.insert(
        {u"import"_s,
         {.usage =
              u"import ZDROJ --into SOUBOR [--map JMÉNO=TÝM]… | import ZDROJ --new SLOŽKA --name NÁZEV --season TEXT"_s,
          .summary = u"zápasy a výsledky z CSV, kalendáře .ics nebo textu: do ligy, nebo jako nová liga"_s,
          .details =
              u"  ZDROJ        soubor CSV (; , nebo tabulátor), .ics nebo text, - je standardní vstup\n"
              "  --into       soubor soutěže sezona_….txt, do jejíhož rozpisu výsledky jdou\n"
              "  --map        jméno ze zdroje a tým ligy (číslo nebo název), i vícekrát\n"
              "  --conflicts  mine ponechá vaše výsledky (výchozí), theirs převezme výsledky zdroje\n"
              "  --dry-run    jen vypíše, co by se stalo\n"
              "  --new        složka lig, kam přijde nová liga ze zápasů zdroje\n"
              "  --name, --season, --lines, --code  jako u příkazu new\n\n"
              "Příklad: rinkomat-cli import vysledky.csv --into souteze/sezona_extraliga0708.txt --map \"Kometa=Brno\""_s,
          .formats = JsonFormat,
          .options = {u"into"_s, u"new"_s, u"map"_s, u"conflicts"_s, u"dry-run"_s, u"name"_s, u"season"_s, u"lines"_s,
                      u"code"_s},
          .run = importMatches}});
}

} // namespace cli
