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

// At most this many changes are printed as text; the rest are counted.
constexpr qsizetype kListedChanges = 1000;

// A source refused: the reason on stderr and, for a script, in the JSON; exit 2 like any file that breaks its format.
Output sourceRefused(const QString& reason, QJsonObject details = {})
{
    details.insert(u"error"_s, reason);
    CommandOutput out;
    out.json = details;
    out.exitCode = kFileExit;
    out.error = reason;
    return out;
}

// A source refused, or one of several seasons or divisions still to be chosen: the refusal; nothing for a source
// to go on with.
std::optional<Output> unreadSource(const Result<ImportSource>& source, const ImportOptions& options)
{
    if (!source.ok())
        return source.code() == kUsageExit ? Output::failureOf(source) : sourceRefused(source.error());
    if (const QString choose = choiceNeeded(source.value(), options); !choose.isEmpty())
        return sourceRefused(choose + u" (--season, --division)"_s,
                             {{u"seasons"_s, toJsonArray(source.value().seasons)},
                              {u"divisions"_s, toJsonArray(source.value().divisions)}});
    return std::nullopt;
}

// The names --map gives ("NAME=TEAM", the team by number or its name in the league, "-" for a team outside it)
// over the ones kept.
Result<QMap<QString, int>> mappingOf(const Context& c, const SeasonStore& league)
{
    QMap<QString, int> mapping = readNameMapping(c.parser->value(u"into"_s));
    for (const QString& pair : c.parser->values(u"map"_s)) {
        const qsizetype eq = pair.lastIndexOf(u'=');
        const QString team = pair.mid(eq + 1).trimmed();
        bool number = false;
        int t = team.toInt(&number);
        if (!number)
            t = team == u"-" ? kForeignTeam : league.CisloPodleTymu(team);
        if (eq <= 0 || (t != kForeignTeam && (t < 1 || t > league.teams())))
            return Result<QMap<QString, int>>::failure(
                u"--map: „%1“ nepřiřazuje jménu tým ligy (JMÉNO=TÝM, tým číslem 1 až %2 nebo názvem, - pro cizí tým)"_s
                    .arg(pair.left(60))
                    .arg(league.teams()),
                kUsageExit);
        mapping.insert(pair.left(eq).trimmed(), t);
    }
    return mapping;
}

// --columns date,time,home,away,score and --season, --division: how the source is read.
Result<ImportOptions> optionsOf(const Context& c)
{
    ImportOptions options;
    if (c.parser->isSet(u"columns"_s))
        for (const QString& word : c.parser->value(u"columns"_s).split(u',')) {
            const std::optional<ColumnRole> role = columnRoleNamed(word);
            if (!role)
                return Result<ImportOptions>::failure(
                    u"--columns: „%1“ není sloupec (date, time, home, away, score, homegoals, awaygoals, round, note, "
                    "season, division, ignore)"_s.arg(word.left(30)),
                    kUsageExit);
            options.columns << *role;
        }
    options.season = c.parser->value(u"season"_s);
    options.division = c.parser->value(u"division"_s);
    return options;
}

// The source read as the options say; a file of several seasons read for the league's own when it has one of them.
Result<ImportSource> sourceOf(const Context& c, ImportOptions& options, const QString& leagueSeason)
{
    const Result<QByteArray> bytes = readInput(c.args[0], kMaxImportBytes, u"Importovaný soubor"_s);
    if (!bytes.ok())
        return Result<ImportSource>::failureOf(bytes);
    const QString name = c.args[0] == u"-" ? u"standardní vstup"_s : QFileInfo(c.args[0]).fileName();
    Result<ImportSource> source = readImportSource(bytes.value(), name, options);
    if (source.ok() && options.season.isEmpty() && source.value().seasons.size() > 1 &&
        std::any_of(source.value().seasons.begin(), source.value().seasons.end(),
                    [&](const QString& s) { return sameSeason(s, leagueSeason); })) {
        options.season = leagueSeason;
        source = readImportSource(bytes.value(), name, options);
    }
    return source;
}

QJsonArray linesJson(const QList<ImportLine>& lines)
{
    QJsonArray out;
    for (const ImportLine& line : lines)
        out.append(QJsonObject{{u"line"_s, line.line},
                               {u"home"_s, line.home},
                               {u"away"_s, line.away},
                               {u"date"_s, shortDate(line.date)},
                               {u"result"_s, line.result},
                               {u"stage"_s, line.stage}});
    return out;
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

QJsonArray guessedJson(const TeamMatching& teams, const SeasonStore& league)
{
    QJsonArray out;
    for (const QString& name : teams.guessed)
        out.append(QJsonObject{{u"name"_s, name}, {u"team"_s, league.TymPodleCisla(teams.teamOf.value(name))}});
    return out;
}

// Every change as the dry run lists it: the source's line, the fixture, the result and how the names were found.
void listChanges(const ImportPlan& plan, const SeasonStore& before, QJsonArray& json, QList<QStringList>& rows)
{
    for (qsizetype i = 0; i < plan.changes.size(); ++i) {
        const ImportChange& change = plan.changes[i];
        const Match& m = before.match(change.slot, change.round);
        json.append(QJsonObject{{u"line"_s, change.line},
                                {u"round"_s, change.round},
                                {u"home"_s, before.TymPodleCisla(m.home)},
                                {u"away"_s, before.TymPodleCisla(m.away)},
                                {u"result"_s, change.result},
                                {u"match"_s, nameMatchText(change.how)}});
        if (i < kListedChanges)
            rows.append({changeLine(change, before)});
    }
    if (plan.changes.size() > kListedChanges)
        rows.append({u"… a dalších %1 změn"_s.arg(plan.changes.size() - kListedChanges)});
}

struct Planned {
    ImportPlan plan;
    TeamMatching teams;
    SeasonStore before;
    PlayoffImport playoff;
};

// What an import into a league did (or, dry, would do): the summary, each change, conflict and skipped line.
Output planReport(const Planned& p, const ImportSource& source, bool theirs, bool dryRun, const QString& competition)
{
    QJsonArray conflicts, changes;
    QList<QStringList> rows{{planSummary(p.plan)}};
    for (const QString& guess : guessedNames(p.teams, p.before.teamNames()))
        rows.append({u"odhad jména: "_s + guess});
    listChanges(p.plan, p.before, changes, rows);
    for (const ImportConflict& k : p.plan.conflicts) {
        conflicts.append(conflictJson(k, p.before, theirs));
        rows.append({conflictLine(k, p.before) + (theirs ? u"  → soubor"_s : u"  → vaše"_s)});
    }
    for (const ImportLine& line : p.plan.unmatched)
        rows.append({u"bez zápasu: "_s + unmatchedLine(line)});
    for (const ImportLine& line : p.plan.foreign)
        rows.append({u"cizí tým: "_s + unmatchedLine(line)});
    for (const QString& line : playoffSummary(p.playoff, kListedChanges))
        rows.append({line});
    if (dryRun)
        rows.append({u"Zkouška nanečisto: nic nebylo zapsáno."_s});
    return plain({{u"entered"_s, p.plan.entered.size()},
                  {u"conflicts"_s, conflicts},
                  {u"changes"_s, changes},
                  {u"unmatched"_s, linesJson(p.plan.unmatched)},
                  {u"foreign"_s, linesJson(p.plan.foreign)},
                  {u"playoff"_s, linesJson(p.plan.playoff)},
                  {u"playoff_entered"_s, p.playoff.games.size()},
                  {u"playoff_refused"_s, toJsonArray(p.playoff.refused)},
                  {u"guessed"_s, guessedJson(p.teams, p.before)},
                  {u"dates"_s, p.plan.dates.size()},
                  {u"unchanged"_s, p.plan.unchanged},
                  {u"skipped"_s, source.skipped},
                  {u"merged"_s, source.merged},
                  {u"dry_run"_s, dryRun},
                  {u"competition"_s, competition}},
                 rows);
}

// The plan of the source against the league, or the refusal with what the fan must decide.
Result<Planned> planFor(const Context& c, const ImportSource& source, const SeasonStore& league, QJsonObject& details)
{
    using Failure = Result<Planned>;
    const Result<QMap<QString, int>> mapping = mappingOf(c, league);
    if (!mapping.ok())
        return Failure::failureOf(mapping);
    Planned p{{}, matchTeams(source, league.teamNames(), mapping.value()), league, {}};
    const bool skipUnknown = c.parser->isSet(u"skip-unknown"_s);
    if (!p.teams.unresolved.isEmpty() && !skipUnknown) {
        details.insert(u"unresolved"_s, toJsonArray(p.teams.unresolved));
        return Failure::failure(
            u"Tato jména nejsou jednoznačně týmy ligy: %1\nPřiřaďte je volbou --map \"JMÉNO=TÝM\", "
            "nebo jejich řádky přeskočte volbou --skip-unknown."_s.arg(p.teams.unresolved.join(u", ")),
            kFileExit);
    }
    if (!p.teams.guessed.isEmpty() && !c.parser->isSet(u"accept-guesses"_s) && !c.parser->isSet(u"dry-run"_s)) {
        details.insert(u"guessed"_s, guessedJson(p.teams, league));
        return Failure::failure(u"Tato jména program jen odhadl: %1\nPotvrďte je volbou --accept-guesses, nebo je "
                                "přiřaďte volbou --map (JMÉNO=- pro cizí tým)."_s.arg(
                                    guessedNames(p.teams, league.teamNames()).join(u", ")),
                                kFileExit);
    }
    Result<ImportPlan> planned = planImport(league, source, p.teams, skipUnknown);
    if (!planned.ok())
        return Failure::failure(planned.error(), kFileExit);
    p.plan = std::move(planned).value();
    return p;
}

// The play-off games a dry run would enter: checked against the season as its results would make it.
PlayoffImport playoffAfter(const QString& competition, SeasonStore season, const QList<SlotResult>& results,
                           const Planned& planned)
{
    for (const SlotResult& r : results)
        season.match(r.slot, r.round).result = r.result;
    const Result<std::optional<Playoff>> bracket = readLeaguePlayoff(competition, season);
    return planPlayoff(bracket.valueOr(std::nullopt), season, planned.plan.playoff, planned.teams);
}

Output intoLeague(const Context& c, ImportOptions options)
{
    const QString competition = c.parser->value(u"into"_s);
    const QString keep = c.parser->value(u"conflicts"_s);
    if (!keep.isEmpty() && keep != u"mine" && keep != u"theirs")
        return refused(u"--conflicts: mine (ponechat moje výsledky) nebo theirs (převzít výsledky souboru)"_s);
    const bool theirs = keep == u"theirs";
    const bool dryRun = c.parser->isSet(u"dry-run"_s);
    const Result<SeasonStore> league = loadLeague(competition);
    if (!league.ok())
        return Output::failureOf(league);
    options.near = league.value().DATUM_KOLA(1);
    const Result<ImportSource> source = sourceOf(c, options, league.value().season);
    if (std::optional<Output> refusal = unreadSource(source, options))
        return std::move(*refusal);
    std::optional<Planned> planned;
    QJsonObject details;
    const auto change = [&](const SeasonStore& current) -> Result<QList<SlotResult>> {
        Result<Planned> p = planFor(c, source.value(), current, details);
        if (!p.ok())
            return Result<QList<SlotResult>>::failureOf(p);
        planned = std::move(p).value();
        return resultsToWrite(planned->plan, theirs);
    };
    Result<void> done;
    if (dryRun) {
        const auto p = change(league.value());
        done = p.ok() ? Result<void>() : Result<void>::failureOf(p);
        if (p.ok())
            planned->playoff = playoffAfter(competition, league.value(), p.value(), *planned);
    } else {
        const Result<SeasonStore> changed = changeLeague(
            c,
            [&](OpenLeague& open) -> Result<void> {
                const auto changes = change(open.season());
                if (!changes.ok())
                    return Result<void>::failureOf(changes);
                // What --map said is kept for the next import, as the window keeps what the fan chose.
                const Result<QMap<QString, int>> mapping = mappingOf(c, open.season());
                if (Result<void> kept = writeNameMapping(competition, mapping.value()); !kept.ok())
                    return Result<void>::failure(kept.error(), kFileExit);
                if (Result<void> applied = open.applyResults(changes.value()); !applied.ok())
                    return applied;
                if (Result<void> dated = open.setMatchDates(ownDates(planned->plan), QDateTime::currentDateTime());
                    !dated.ok())
                    return Result<void>::failure(dated.error(), kFileExit);
                planned->playoff = planPlayoff(open.playoff(), open.season(), planned->plan.playoff, planned->teams);
                for (const PlayoffGame& game : planned->playoff.games)
                    if (Result<void> added = open.addPlayoffGame(game, QDateTime::currentDateTime()); !added.ok())
                        return Result<void>::failure(added.error(), kFileExit);
                return {};
            },
            competition);
        done = changed.ok() ? Result<void>() : Result<void>::failureOf(changed);
    }
    if (!done.ok())
        return done.code() == kFileExit && !details.isEmpty() ? sourceRefused(done.error(), details)
                                                              : Output::failureOf(done);
    return planReport(*planned, source.value(), theirs, dryRun, competition);
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
        arrangeLeague(source, {p.value(u"name"_s), p.value(u"season"_s), {}, lines.value(), 1, {}, {}, {}, {}, {}});
    if (!made.ok())
        return sourceRefused(made.error());
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
    Result<ImportOptions> options = optionsOf(c);
    if (!options.ok())
        return Output::failureOf(options);
    if (into)
        return intoLeague(c, std::move(options).value());
    ImportOptions chosen = std::move(options).value();
    const Result<ImportSource> source = sourceOf(c, chosen, {});
    if (std::optional<Output> refusal = unreadSource(source, chosen))
        return std::move(*refusal);
    return asNewLeague(c, source.value());
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
              "  --map        jméno ze zdroje a tým ligy (číslo, název, nebo - pro cizí tým), i vícekrát\n"
              "  --columns    role sloupců CSV bez záhlaví, např. date,time,home,away,score\n"
              "  --season, --division  sezóna a soutěž souboru, který jich obsahuje víc\n"
              "  --skip-unknown  řádky s týmy mimo ligu vypíše a přeskočí\n"
              "  --accept-guesses  zapíše i zápasy týmů, jejichž jména program jen odhadl\n"
              "  --conflicts  mine ponechá vaše výsledky (výchozí), theirs převezme výsledky zdroje\n"
              "  --dry-run    jen vypíše, co by se stalo\n"
              "  --new        složka lig, kam přijde nová liga ze zápasů zdroje\n"
              "  --name, --season, --lines, --code  jako u příkazu new\n\n"
              "Příklad: rinkomat-cli import vysledky.csv --into souteze/sezona_extraliga0708.txt --map \"Kometa=Brno\""_s,
          .formats = JsonFormat,
          .options = {u"into"_s, u"new"_s, u"map"_s, u"conflicts"_s, u"dry-run"_s, u"name"_s, u"season"_s, u"lines"_s,
                      u"code"_s, u"columns"_s, u"division"_s, u"skip-unknown"_s, u"accept-guesses"_s},
          .run = importMatches}});
}

} // namespace cli
