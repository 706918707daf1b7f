// SPDX-License-Identifier: MIT
// rinkomat-cli's commands of the league files: the catalogue, a league, the notation, entering and swapping results,
// points adjustments.
#include "support.h"

#include "season/matchdates.h"

#include "export/viewtable.h"
#include "league/openleague.h"
#include "lookups/lookups.h"
#include "season/adjustments.h"
#include "season/catalogue.h"
#include "season/datafiles.h"
#include "season/newleague.h"
#include "season/notation.h"
#include "season/seasonfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

Output catalogue(const Context& c)
{
    CommandOutput out;
    QJsonArray entries;
    for (const CatalogueEntry& e : orderCatalogue(readCatalogue(c.args[0]))) {
        entries.append(QJsonObject{{u"text"_s, e.text}, {u"file"_s, e.file}});
        out.rows.append({e.text, e.file});
    }
    out.json[u"entries"_s] = entries;
    return out;
}

Output league(const Context& c)
{
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& s = read.value();
    CommandOutput out;
    QJsonArray rounds;
    out.rows.append({s.caption});
    for (int r = 1; r <= s.rounds(); ++r) {
        QJsonArray matches;
        const QString entry = roundEntryText(r, s.DATUM_KOLA(r));
        for (int m = 1; m <= s.slots(); ++m) {
            const Match& match = s.match(m, r);
            const QString home = s.TymPodleCisla(match.home), away = s.TymPodleCisla(match.away);
            matches.append(QJsonObject{{u"home"_s, home}, {u"away"_s, away}, {u"result"_s, match.result}});
            out.rows.append({entry, home, away, match.result});
        }
        rounds.append(QJsonObject{{u"entry"_s, entry}, {u"matches"_s, matches}});
    }
    out.json = QJsonObject{{u"caption"_s, s.caption},
                           {u"teams"_s, toJsonArray(s.teamNames())},
                           {u"HR"_s, QJsonArray{s.HR1, s.HR2, s.HR3}},
                           {u"shown_round"_s, roundShownOnOpening(s, c.today)},
                           {u"rounds"_s, rounds}};
    return out;
}

Output notation(const Context& c)
{
    CommandOutput out;
    QJsonArray results;
    for (const QString& typed : c.args) {
        const QString shown = convertKeypadInput(typed);
        const QString stored = normaliseResult(shown);
        const ParsedResult r = ZkoumatVysledek(stored);
        std::optional<OutcomeClass> home, away;
        if (!stored.isEmpty())
            std::tie(home, away) = classify(r);
        results.append(QJsonObject{{u"typed"_s, typed},
                                   {u"shown"_s, shown},
                                   {u"stored"_s, stored},
                                   {u"home_goals"_s, r.HomeGoals},
                                   {u"away_goals"_s, r.AwayGoals},
                                   {u"extra_time"_s, r.ExtraTimeFlag},
                                   {u"home_class"_s, className(home)},
                                   {u"away_class"_s, className(away)}});
        out.rows.append({typed, shown, stored, QString::number(r.HomeGoals), QString::number(r.AwayGoals),
                         r.ExtraTimeFlag ? u"ano"_s : u"ne"_s, className(home), className(away)});
    }
    out.json[u"results"_s] = results;
    return out;
}

Output enter(const Context& c)
{
    const int round = c.number(1), slot = c.number(2);
    const QString typed = convertKeypadInput(c.args[3]);
    // The window empties a mistyped field in front of the user; a script would not see it happen.
    if (normaliseResult(typed).isEmpty() && !c.args[3].trimmed().isEmpty())
        return refused(u"„%1“ není platný výsledek; výsledek smažete prázdným textem \"\"."_s.arg(c.args[3].left(80)));
    QString stored;
    if (const Result<SeasonStore> changed = changeLeague(
            c,
            [&](OpenLeague& open) {
                const LeagueRules& rules = open.season().rules;
                if (const QString refusal = rulesRefusal(typed, rules); !refusal.isEmpty())
                    return Result<void>::failure(refusal.left(1).toUpper() + refusal.mid(1) + u'.', kUsageExit);
                const Match& m = open.season().match(slot, round);
                stored = normaliseResult(typed, rules);
                return open.setMatch(round, slot, {m.home, m.away, stored});
            });
        !changed.ok())
        return Output::failureOf(changed);
    return plain({{u"stored"_s, stored}}, {{stored}});
}

Output swap(const Context& c)
{
    const int round = c.number(1), slot = c.number(2);
    const Result<SeasonStore> changed =
        changeLeague(c, [&](OpenLeague& open) { return open.swapPairing(round, slot); });
    if (!changed.ok())
        return Output::failureOf(changed);
    const SeasonStore& l = changed.value();
    const Match& m = l.match(slot, round);
    const QString pairing = QString::number(m.home) + u'-' + QString::number(m.away);
    const QString home = l.TymPodleCisla(m.home), away = l.TymPodleCisla(m.away);
    return plain({{u"pairing"_s, pairing}, {u"home"_s, home}, {u"away"_s, away}}, {{home + u" – "_s + away}});
}

CommandOutput adjustmentsOutput(const SeasonStore& league)
{
    CommandOutput out;
    QJsonArray list;
    for (qsizetype i = 0; i < league.adjustments.size(); ++i) {
        const PointsAdjustment& a = league.adjustments[i];
        list.append(QJsonObject{{u"n"_s, i + 1},
                                {u"team"_s, a.team},
                                {u"name"_s, league.TymPodleCisla(a.team)},
                                {u"points"_s, a.points},
                                {u"reason"_s, a.reason}});
        out.rows.append({QString::number(i + 1), league.TymPodleCisla(a.team), signedPoints(a.points), a.reason});
    }
    out.json[u"adjustments"_s] = list;
    return out;
}

// Lists, adds or removes one; a change is written under the league's lock, the file's faults refused first.
Output adjust(const Context& c)
{
    const bool list = c.parser->isSet(u"list"_s), remove = c.parser->isSet(u"remove"_s);
    const bool adding = c.args.size() == 4 && !list && !remove;
    if (!adding && !(c.args.size() == 1 && list != remove))
        return refused(u"Zadejte buď TÝM BODY DŮVOD, nebo --list, nebo --remove N."_s);
    const QString competition = c.args[0];
    std::optional<PointsAdjustment> added;
    if (adding)
        added = PointsAdjustment{c.number(1), c.number(2), c.args[3].trimmed()};
    const int removed = remove ? c.option(u"remove"_s, 0) : 0;
    if (list) {
        // Reading needs no lock: the window may have the league open meanwhile.
        Result<ReadLeague> read = readLeague(competition);
        if (!read.ok() || !read.value().warning.isEmpty())
            return fileFault(read.ok() ? read.value().warning : read.error());
        return adjustmentsOutput(read.value().store);
    }
    OpenLeague open(competition);
    const Result<ReadLeague> opened = openForChange(open);
    if (!opened.ok())
        return Output::failureOf(opened);
    if (!opened.value().warning.isEmpty()) // the file is the user's to mend, never to overwrite
        return fileFault(opened.value().warning);
    SeasonStore league = opened.value().store;
    if (added) {
        if (const Result<void> fits = checkAdjustment(league, *added); !fits.ok())
            return refused(fits.error());
        league.adjustments.append(*added);
    } else if (removed > league.adjustments.size()) {
        return refused(u"--remove: úprava č. %1 není, liga jich má %2."_s.arg(removed).arg(league.adjustments.size()));
    } else {
        league.adjustments.removeAt(removed - 1);
    }
    if (const Result<void> saved = open.saveAdjustments(league.adjustments, QDateTime::currentDateTime()); !saved.ok())
        return fileFault(saved.error());
    return adjustmentsOutput(league);
}

Output move(const Context& c)
{
    const int round = c.number(1), slot = c.number(2);
    if (!c.parser->isSet(u"to"_s))
        return refused(u"Chybí volba --to KOLO."_s);
    const int to = c.option(u"to"_s, 0);
    const Result<SeasonStore> changed =
        changeLeague(c, [&](OpenLeague& open) { return open.moveMatch(round, slot, to); });
    if (!changed.ok())
        return Output::failureOf(changed);
    QJsonArray rounds;
    QList<QStringList> rows;
    for (int r : {round, to}) {
        QJsonArray matches;
        for (int m = 1; m <= changed.value().slots(); ++m) {
            const Match& match = changed.value().match(m, r);
            const QString home = changed.value().TymPodleCisla(match.home),
                          away = changed.value().TymPodleCisla(match.away);
            matches.append(QJsonObject{{u"home"_s, home}, {u"away"_s, away}});
            rows.append({QString::number(r), home, away});
        }
        rounds.append(QJsonObject{{u"round"_s, r}, {u"matches"_s, matches}});
    }
    return plain({{u"rounds"_s, rounds}}, rows);
}

// --date D.M.YYYY [--time HH:MM], --postponed or --clear: the match's own date as the command line gives it.
Result<std::optional<MatchDate>> rescheduleOption(const Context& c)
{
    using Given = Result<std::optional<MatchDate>>;
    const QCommandLineParser& p = *c.parser;
    const int ways = p.isSet(u"date"_s) + p.isSet(u"postponed"_s) + p.isSet(u"clear"_s);
    if (ways != 1 || (p.isSet(u"time"_s) && !p.isSet(u"date"_s)))
        return Given::failure(u"Zadejte právě jedno z --date D.M.RRRR [--time HH:MM], --postponed, --clear."_s,
                              kUsageExit);
    if (p.isSet(u"clear"_s))
        return Given(std::nullopt);
    MatchDate date;
    date.postponed = p.isSet(u"postponed"_s);
    if (p.isSet(u"date"_s) && !(date.date = parseShortDate(p.value(u"date"_s))).isValid())
        return Given::failure(u"--date: „%1“ není datum D.M.RRRR"_s.arg(p.value(u"date"_s).left(20)), kUsageExit);
    if (p.isSet(u"time"_s)) {
        date.time = QTime::fromString(p.value(u"time"_s), u"H:mm"_s);
        if (!date.time.isValid())
            return Given::failure(u"--time: „%1“ není čas HH:MM"_s.arg(p.value(u"time"_s).left(20)), kUsageExit);
    }
    return Given(date);
}

Output reschedule(const Context& c)
{
    const int round = c.number(1), slot = c.number(2);
    const Result<std::optional<MatchDate>> date = rescheduleOption(c);
    if (!date.ok())
        return Output::failureOf(date);
    const Result<SeasonStore> changed = changeLeague(c, [&](OpenLeague& open) -> Result<void> {
        if (Result<void> fits =
                date.value() ? checkMatchDate(open.season(), round, slot, *date.value()) : Result<void>();
            !fits.ok())
            return Result<void>::failure(fits.error(), kUsageExit);
        const Result<void> saved = open.setMatchDate(round, slot, date.value(), QDateTime::currentDateTime());
        return saved.ok() ? saved : Result<void>::failure(saved.error(), kFileExit);
    });
    if (!changed.ok())
        return Output::failureOf(changed);
    const SeasonStore& s = changed.value();
    const Match& m = s.match(slot, round);
    const QDate day = s.matchDay(slot, round);
    const QString shown =
        s.postponed(slot, round)
            ? u"odloženo"_s
            : shortDate(day) +
                  (s.matchTime(slot, round).isValid() ? s.matchTime(slot, round).toString(u" H:mm"_s) : QString());
    return plain(
        {{u"round"_s, round},
         {u"home"_s, s.TymPodleCisla(m.home)},
         {u"away"_s, s.TymPodleCisla(m.away)},
         {u"date"_s, day.isValid() ? shortDate(day) : QString()},
         {u"time"_s, s.matchTime(slot, round).isValid() ? s.matchTime(slot, round).toString(u"H:mm"_s) : QString()},
         {u"postponed"_s, s.postponed(slot, round)}},
        {{QString::number(round), s.TymPodleCisla(m.home), s.TymPodleCisla(m.away), shown}});
}

// The team names, a line each, from a file or standard input; blank lines and comments left out.
Result<QStringList> teamList(const QString& source)
{
    const Result<QByteArray> bytes = readInput(source, kMaxDataFileBytes, u"Seznam týmů"_s);
    if (!bytes.ok())
        return Result<QStringList>::failureOf(bytes);
    QStringList teams;
    for (const QString& line : decodeLines(bytes.value()))
        if (!line.isEmpty() && !line.startsWith(u';'))
            teams << line;
    return teams;
}

// The new league's rules from --points, --draws and --overtime; today's where they are not given.
Result<LeagueRules> rulesOptions(const Context& c)
{
    const QCommandLineParser& p = *c.parser;
    LeagueRules rules;
    if (p.isSet(u"points"_s)) {
        const Result<std::array<int, 5>> points = parsePoints(p.value(u"points"_s));
        if (!points.ok())
            return Result<LeagueRules>::failure(u"--points: "_s + points.error(), kUsageExit);
        rules.points = points.value();
    }
    for (const auto& [option, flag] :
         {std::pair{u"draws"_s, &rules.draws}, std::pair{u"overtime"_s, &rules.overtime}}) {
        if (!p.isSet(option))
            continue;
        const std::optional<bool> value = parseYesNo(p.value(option));
        if (!value)
            return Result<LeagueRules>::failure(u"--%1: „%2“ není yes ani no"_s.arg(option, p.value(option).left(20)),
                                                kUsageExit);
        *flag = *value;
    }
    if (const QString problem = rulesProblem(rules); !problem.isEmpty())
        return Result<LeagueRules>::failure(u"--draws no --overtime no: "_s + problem, kUsageExit);
    return rules;
}

// A league made from the options: its schedule generated, its two files written beside the others.
Output newLeague(const Context& c)
{
    const QCommandLineParser& p = *c.parser;
    for (const QString& required : {u"name"_s, u"season"_s, u"teams"_s, u"start"_s, u"days"_s})
        if (!p.isSet(required))
            return refused(u"Chybí volba --%1."_s.arg(required));
    NewLeague request{p.value(u"name"_s), p.value(u"season"_s), {}, {}, c.option(u"meetings"_s, 4), {}, {}, {}, {}, {}};
    const Result<QStringList> teams = teamList(p.value(u"teams"_s));
    if (!teams.ok())
        return Output::failureOf(teams);
    request.teams = teams.value();
    const Result<std::array<int, 3>> lines = linesOption(c);
    if (!lines.ok())
        return Output::failureOf(lines);
    request.lines = lines.value();
    request.start = parseShortDate(p.value(u"start"_s));
    if (!request.start.isValid())
        return refused(u"--start: „%1“ není datum D.M.RRRR"_s.arg(p.value(u"start"_s).left(40)));
    const Result<QList<int>> days = parseWeekdays(p.value(u"days"_s));
    if (!days.ok())
        return refused(u"--days: "_s + days.error());
    request.weekdays = days.value();
    const Result<QMap<int, QTime>> kickOffs = parseKickOffs(p.value(u"time"_s));
    if (!kickOffs.ok())
        return refused(u"--time: "_s + kickOffs.error());
    request.kickOffs = kickOffs.value();
    for (const QString& range : p.values(u"skip"_s)) {
        const Result<std::pair<QDate, QDate>> skip = parseDateRange(range);
        if (!skip.ok())
            return refused(u"--skip: "_s + skip.error());
        request.breaks.append(skip.value());
    }
    const Result<LeagueRules> rules = rulesOptions(c);
    if (!rules.ok())
        return Output::failureOf(rules);
    request.rules = rules.value();
    const Result<SeasonStore> made = makeLeague(request);
    if (!made.ok())
        return refused(made.error());
    const QString code = p.isSet(u"code"_s) ? p.value(u"code"_s) : leagueCode(request.name, request.season);
    const Result<QString> written = writeNewLeague(c.args[0], code, made.value());
    if (!written.ok())
        return written.code() == kNameRefused ? refused(written.error()) : fileFault(written.error());
    const SeasonStore& s = made.value();
    QList<RoundPairings> rounds;
    for (int r = 1; r <= s.rounds(); ++r) {
        RoundPairings round;
        for (int m = 1; m <= s.slots(); ++m)
            round.append({s.match(m, r).home, s.match(m, r).away});
        rounds.append(round);
    }
    const int breaks = countBreaks(rounds, s.teams());
    return plain(
        {{u"competition"_s, written.value()},
         {u"schedule"_s, scheduleFileFor(written.value())},
         {u"rounds"_s, s.rounds()},
         {u"breaks"_s, breaks}},
        {{written.value()}, {u"%1 kol, %2 zlomů (dva zápasy doma či venku po sobě)"_s.arg(s.rounds()).arg(breaks)}});
}

} // namespace

namespace {

// The commands that make a league or change its calendar and points.
// A match's own date: a command of the dates, not of the schedule.
void addRescheduleCommand(std::map<QString, Command>& commands)
{
    commands.insert(
        {{u"reschedule"_s,
          {.usage = u"reschedule SOUBOR KOLO ZÁPAS (--date D.M.RRRR [--time HH:MM] | --postponed | --clear)"_s,
           .summary = u"vlastní termín zápasu: datum a čas, odloženo, nebo zpět na datum kola"_s,
           .details =
               u"  KOLO   1 až počet kol ligy\n  ZÁPAS  1 až počet zápasů kola\n"
               "  --date, --time  den a čas výkopu\n  --postponed  odložen bez nového data\n"
               "  --clear  zpět na datum kola\n\n"
               "Zápas zůstává ve svém kole.\n"
               "Příklad: rinkomat-cli reschedule souteze/sezona_extraliga0708.txt 21 3 --date 12.2.2008 --time 18:00"_s,
           .minArgs = 3,
           .maxArgs = 3,
           .formats = JsonFormat,
           .options = {u"date"_s, u"time"_s, u"postponed"_s, u"clear"_s},
           .run = reschedule,
           .numbers = {{1, 1, kMaxRounds, Within::Rounds}, {2, 1, kMaxSlots, Within::Slots}}}}});
}

void addLeagueMakingCommands(std::map<QString, Command>& commands)
{
    commands.insert({
        {u"new"_s,
         {.usage = u"new SLOŽKA --name NÁZEV --season TEXT --teams SOUBOR --start D.M.RRRR --days DNY"_s,
          .summary = u"nová liga: rozpis zápasů vytvořený programem, oba soubory ligy ve složce"_s,
          .details = u"  SLOŽKA      složka lig (souteze)\n  --name      název soutěže\n  --season    sezóna, např. "
                     u"2026/2027\n"
                     "  --teams     soubor s názvy týmů, jeden na řádek (2 až 20); - je standardní vstup\n"
                     "  --lines     dělicí čáry, např. 8,10,13 (výchozí žádné)\n"
                     "  --meetings  kolikrát se utká každá dvojice, 1 až 8 (výchozí 4)\n"
                     "  --start     první hrací den\n  --days      dny hraní, např. út,pá,ne\n"
                     "  --skip      přestávka D.M.RRRR-D.M.RRRR, i vícekrát\n"
                     "  --time      začátky zápasů podle dne, např. st=18:00,so=17:00 (výchozí žádné)\n"
                     "  --code      název souborů sezona_KÓD.txt (výchozí z názvu a sezóny)\n"
                     "  --points    body za výhru, výhru po prodloužení, remízu, prohru po prodloužení a prohru\n"
                     "              (výchozí 3,2,1,1,0)\n"
                     "  --draws     yes nebo no: smí zápas skončit nerozhodně (výchozí yes)\n"
                     "  --overtime  yes nebo no: hraje se prodloužení a nájezdy (výchozí yes)\n\n"
                     "Příklad: rinkomat-cli new souteze --name Extraliga --season 2026/2027 --teams tymy.txt "
                     "--lines 6,10,14 --start 11.9.2026 --days út,pá,ne --skip 9.11.2026-15.11.2026"_s,
          .formats = JsonFormat,
          .options = {u"name"_s, u"season"_s, u"teams"_s, u"lines"_s, u"meetings"_s, u"start"_s, u"days"_s, u"skip"_s,
                      u"time"_s, u"code"_s, u"points"_s, u"draws"_s, u"overtime"_s},
          .run = newLeague}},
        {u"move"_s,
         {.usage = u"move SOUBOR KOLO ZÁPAS --to KOLO"_s,
          .summary = u"přesune zápas bez výsledku do jiného kola (vymění jej se zápasem, který tam lze dát)"_s,
          .details = u"  KOLO   1 až počet kol ligy\n  ZÁPAS  1 až počet zápasů kola\n  --to   kolo, kam zápas jde\n\n"
                     "Příklad: rinkomat-cli move souteze/sezona_extraliga0708.txt 21 3 --to 40"_s,
          .minArgs = 3,
          .maxArgs = 3,
          .formats = JsonFormat,
          .options = {u"to"_s},
          .run = move,
          .numbers = {{1, 1, kMaxRounds, Within::Rounds}, {2, 1, kMaxSlots, Within::Slots}}}},
        {u"adjust"_s,
         {.usage = u"adjust SOUBOR TÝM BODY DŮVOD | adjust SOUBOR --list | adjust SOUBOR --remove N"_s,
          .summary = u"úpravy bodů ligy: přidá, vypíše nebo odebere (se zálohou souboru úprav)"_s,
          .details =
              u"  TÝM     číslo týmu 1 až počet týmů ligy\n  BODY    celé číslo od -99 do 99 (záporné body odebírá)\n"
              "  DŮVOD   text do 80 znaků\n  --list  vypíše úpravy s jejich pořadovými čísly\n"
              "  --remove N  odebere N-tou úpravu\n\n"
              "Příklad: rinkomat-cli adjust souteze/sezona_extraliga0708.txt 11 -3 \"neoprávněný start hráče\""_s,
          .maxArgs = 4,
          .formats = JsonFormat,
          .options = {u"list"_s, u"remove"_s},
          .run = adjust,
          .numbers = {{1, 1, kMaxTeams, Within::Teams}, {2, -kMaxAdjustment, kMaxAdjustment}}}},
    });
}

} // namespace

void addSeasonCommands(std::map<QString, Command>& commands)
{
    addLeagueMakingCommands(commands);
    addRescheduleCommand(commands);
    commands.insert({
        {u"catalogue"_s,
         {.usage = u"catalogue SLOŽKA"_s,
          .summary = u"seznam lig ve složce souteze/, jak jej ukazuje výběr ligy"_s,
          .details = u"  SLOŽKA  složka se soubory lig\n\nPříklad: rinkomat-cli catalogue souteze"_s,
          .formats = JsonFormat,
          .run = catalogue}},
        {u"league"_s,
         {.usage = u"league SOUBOR"_s,
          .summary = u"týmy, dělicí čáry a všechna kola ligy"_s,
          .details = u"  SOUBOR  soubor soutěže sezona_….txt\n  --today D.M.RRRR  den, který se bere jako dnešek\n\n"
                     "Příklad: rinkomat-cli league souteze/sezona_extraliga0708.txt --json"_s,
          .formats = JsonFormat,
          .options = {u"today"_s, kAssume},
          .run = league}},
        {u"notation"_s,
         {.usage = u"notation TEXT…"_s,
          .summary = u"jak pole výsledku přečte napsané texty"_s,
          .details = u"  TEXT  jeden nebo více textů, jak by je uživatel napsal (i klávesami numerické klávesnice)\n\n"
                     "Příklad: rinkomat-cli notation 3+2- 4:4n"_s,
          .maxArgs = 1000,
          .formats = JsonFormat,
          .run = notation}},
        {u"enter"_s,
         {.usage = u"enter SOUBOR KOLO ZÁPAS TEXT"_s,
          .summary = u"zapíše výsledek do rozpisu (se zálohou původního souboru)"_s,
          .details = u"  KOLO   1 až počet kol ligy\n  ZÁPAS  1 až počet zápasů kola (polovina týmů)\n  TEXT   "
                     u"výsledek, jak se "
                     u"píše do pole; \"\" výsledek smaže\n\n"
                     "Příklad: rinkomat-cli enter souteze/sezona_extraliga0708.txt 21 3 4:2p"_s,
          .minArgs = 4,
          .maxArgs = 4,
          .formats = JsonFormat,
          .run = enter,
          .numbers = {{1, 1, kMaxRounds, Within::Rounds}, {2, 1, kMaxSlots, Within::Slots}}}},
        {u"swap"_s,
         {.usage = u"swap SOUBOR KOLO ZÁPAS"_s,
          .summary = u"prohodí domácí a hosty zápasu a uloží rozpis"_s,
          .details =
              u"  KOLO   1 až počet kol ligy\n  ZÁPAS  1 až počet zápasů kola (polovina týmů)\n\nPříklad: rinkomat-cli swap souteze/sezona_extraliga0708.txt 21 3"_s,
          .minArgs = 3,
          .maxArgs = 3,
          .formats = JsonFormat,
          .run = swap,
          .numbers = {{1, 1, kMaxRounds, Within::Rounds}, {2, 1, kMaxSlots, Within::Slots}}}},
    });
}

} // namespace cli
