// SPDX-License-Identifier: MIT
// rinkomat-cli: the program's views without a window, for posting tables, scripting and checking.
#include "commands.h"

#include "app/catalogue.h"
#include "app/programinfo.h"
#include "lookups/lookups.h"
#include "lookups/pageprinter.h"
#include "online/update.h"
#include "platform/http.h"
#include "season/datafiles.h"
#include "season/notation.h"
#include "season/seasonfile.h"
#include "standings/graph.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>

namespace cli {

namespace {
struct League {
    QString schedulePath;
    SeasonStore store;
};

League loadLeague(const QString& competitionPath)
{
    League league{scheduleFileFor(competitionPath), {}};
    const QString error = loadSeason(competitionPath, league.schedulePath, league.store);
    if (!error.isEmpty())
        throw FileError{error};
    return league;
}

// Reads the league, lets `change` alter it and writes it back, all under the league's lock, with a
// copy of the file as it was.
League changeLeague(const QString& competitionPath, const std::function<void(SeasonStore&)>& change)
{
    LeagueLock lock(scheduleFileFor(competitionPath));
    QString error = lock.acquire(3000); // another script's write takes milliseconds
    if (!error.isEmpty())
        throw FileError{error};
    League league = loadLeague(competitionPath);
    removeLeftoverTemporaries(league.schedulePath);
    change(league.store);
    error = backupFile(league.schedulePath, QDateTime::currentDateTime());
    if (error.isEmpty())
        error = writeSchedule(league.store, league.schedulePath);
    if (!error.isEmpty())
        throw FileError{error};
    return league;
}

QString className(const std::optional<OutcomeClass>& c)
{
    return c ? QString(letterOf(*c)) : QString();
}

CommandOutput catalogue(const Context& c)
{
    CommandOutput out;
    QJsonArray entries;
    for (const CatalogueEntry& e : orderCatalogue(readCatalogue(c.args[0]))) {
        entries.append(QJsonObject{{u"text"_qs, e.text}, {u"file"_qs, e.file}});
        out.rows.append({e.text, e.file});
    }
    out.json[u"entries"_qs] = entries;
    return out;
}

CommandOutput league(const Context& c)
{
    const League l = loadLeague(c.args[0]);
    const SeasonStore& s = l.store;
    CommandOutput out;
    QJsonArray rounds;
    out.rows.append({s.caption});
    for (int r = 1; r <= kRounds; ++r) {
        QJsonArray matches;
        const QString entry = roundEntryText(r, s.DATUM_KOLA(r));
        for (int m = 1; m <= kSlots; ++m) {
            const Match& match = s.match(m, r);
            const QString home = s.TymPodleCisla(match.home), away = s.TymPodleCisla(match.away);
            matches.append(QJsonObject{{u"home"_qs, home}, {u"away"_qs, away}, {u"result"_qs, match.result}});
            out.rows.append({entry, home, away, match.result});
        }
        rounds.append(QJsonObject{{u"entry"_qs, entry}, {u"matches"_qs, matches}});
    }
    out.json = QJsonObject{{u"caption"_qs, s.caption},
                           {u"teams"_qs, toJsonArray(s.teamNames())},
                           {u"HR"_qs, QJsonArray{s.HR1, s.HR2, s.HR3}},
                           {u"shown_round"_qs, roundShownOnOpening(s, c.today)},
                           {u"rounds"_qs, rounds}};
    return out;
}

CommandOutput notation(const Context& c)
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
        results.append(QJsonObject{{u"typed"_qs, typed},
                                   {u"shown"_qs, shown},
                                   {u"stored"_qs, stored},
                                   {u"home_goals"_qs, r.HomeGoals},
                                   {u"away_goals"_qs, r.AwayGoals},
                                   {u"extra_time"_qs, r.ExtraTimeFlag},
                                   {u"home_class"_qs, className(home)},
                                   {u"away_class"_qs, className(away)}});
        out.rows.append({typed, shown, stored, QString::number(r.HomeGoals), QString::number(r.AwayGoals),
                         r.ExtraTimeFlag ? u"true"_qs : u"false"_qs, className(home), className(away)});
    }
    out.json[u"results"_qs] = results;
    return out;
}

CommandOutput enter(const Context& c)
{
    const int round = c.number(1, 1, kRounds), slot = c.number(2, 1, kSlots);
    const QString stored = normaliseResult(convertKeypadInput(c.args[3]));
    changeLeague(c.args[0], [&](SeasonStore& s) { s.match(slot, round).result = stored; });
    return {{{u"stored"_qs, stored}}, {{stored}}};
}

CommandOutput swap(const Context& c)
{
    const int round = c.number(1, 1, kRounds), slot = c.number(2, 1, kSlots);
    const League l = changeLeague(c.args[0], [&](SeasonStore& s) {
        Match& m = s.match(slot, round);
        std::swap(m.home, m.away);
    });
    const Match& m = l.store.match(slot, round);
    const QString pairing = QString::number(m.home) + u'-' + QString::number(m.away);
    return {{{u"pairing"_qs, pairing}}, {{pairing}}};
}

CommandOutput table(const Context& c)
{
    // Wrong arguments are reported before any file is read.
    int first = c.option(u"from"_qs, 1, kRounds, 1), last = c.option(u"to"_qs, 1, kRounds, kRounds);
    const int venue = c.option(u"venue"_qs, 1, 3, 3), criterion = c.option(u"sort"_qs, 0, 12, 0);
    if (first > last)
        std::swap(first, last);
    const QString rulesText = c.parser->value(u"rules"_qs);
    if (!rulesText.isEmpty() && rulesText != u"running" && rulesText != u"final")
        throw UsageError{u"--rules: running nebo final"_qs};
    const RankingRules rules = rulesText == u"final" ? RankingRules::Final : RankingRules::Running;
    const bool period = c.parser->isSet(u"from"_qs) || c.parser->isSet(u"to"_qs);
    const QString caption = period ? periodCaption(first, last) : u"průběžná tabulka"_qs;
    const League l = loadLeague(c.args[0]);
    const Standings st =
        SpocitatPoradi(l.store, DataProTabulku(l.store, first, last), venue, criterion, rules, first, last);
    CommandOutput out;
    out.rows.append({caption});
    QJsonArray rows;
    for (const StandingsRow& r : st.rows) {
        const QStringList fields{r.pos, r.name, r.gp, r.w, r.w_ot, r.t, r.l_ot, r.l, r.sco, r.pts, r.scoTooltip};
        static const QStringList keys{u"pos"_qs,  u"team"_qs, u"gp"_qs,  u"w"_qs,   u"w_ot"_qs,       u"t"_qs,
                                      u"l_ot"_qs, u"l"_qs,    u"sco"_qs, u"pts"_qs, u"sco_tooltip"_qs};
        QJsonObject row;
        for (int i = 0; i < keys.size(); ++i)
            row[keys[i]] = fields[i];
        const auto numbers = [](const QList<int>& lines) {
            QJsonArray a;
            for (int k : lines)
                a.append(k);
            return a;
        };
        row[u"decided_by"_qs] = r.decidedBy;
        row[u"clinched"_qs] = numbers(r.clinched);
        row[u"out"_qs] = numbers(r.out);
        rows.append(row);
        out.rows.append(fields + QStringList{r.decidedBy});
    }
    out.json = {{u"caption"_qs, caption}, {u"lines_shown"_qs, st.linesShown}, {u"rows"_qs, rows}};
    return out;
}

CommandOutput graph(const Context& c)
{
    const League l = loadLeague(c.args[0]);
    const GraphData g = computeGraph(l.store);
    CommandOutput out;
    QJsonArray positions;
    for (const auto& round : g.positions) {
        QJsonArray a;
        QStringList row;
        for (int p : round)
            a.append(p), row << QString::number(p);
        positions.append(a);
        out.rows.append(row);
    }
    QJsonArray played;
    QStringList playedRow;
    for (int n : g.played)
        played.append(n), playedRow << QString::number(n);
    out.rows.append(playedRow);
    const QString warning = graphWarning(l.store);
    if (!warning.isEmpty())
        out.rows.append({warning});
    out.json = {{u"positions"_qs, positions}, {u"played"_qs, played}, {u"warning"_qs, warning}};
    return out;
}

CommandOutput streaks(const Context& c)
{
    OvertimeMode mode = OvertimeMode::Draw;
    if (c.parser->isSet(u"overtime"_qs)) {
        const QString v = c.parser->value(u"overtime"_qs);
        if (v != u"draw" && v != u"final")
            throw UsageError{u"--overtime: draw nebo final"_qs};
        mode = v == u"final" ? OvertimeMode::FinalResult : OvertimeMode::Draw;
    }
    const int venue = c.option(u"venue"_qs, 1, 3, 3), type = c.option(u"type"_qs, 0, 15, 0);
    const int order = c.option(u"order"_qs, 0, 2, ByCurrent);
    const League l = loadLeague(c.args[0]);
    const auto rows = computeStreaks(l.store, buildSerie(l.store), venue, type, mode, order);
    CommandOutput out;
    QJsonArray json;
    for (const StreakRow& r : rows) {
        json.append(QJsonObject{
            {u"pos"_qs, r.pos}, {u"team"_qs, r.team}, {u"current"_qs, r.current}, {u"longest"_qs, r.longest}});
        out.rows.append({r.pos, r.team, r.current, r.longest});
    }
    out.json[u"rows"_qs] = json;
    return out;
}

CommandOutput cross(const Context& c)
{
    const League l = loadLeague(c.args[0]);
    CommandOutput out;
    QJsonArray json;
    for (const auto& home : crossTable(l.store)) {
        const QStringList cells(home.begin(), home.end());
        json.append(toJsonArray(cells));
        out.rows.append(cells);
    }
    out.json[u"cells"_qs] = json;
    return out;
}

CommandOutput lines(const QStringList& texts)
{
    CommandOutput out;
    out.json[u"lines"_qs] = toJsonArray(texts);
    for (const QString& t : texts)
        out.rows.append({t});
    return out;
}

CommandOutput balance(const Context& c)
{
    const int team = c.number(1, 1, kTeams);
    const League l = loadLeague(c.args[0]);
    CommandOutput out;
    QJsonArray rows;
    for (const BalanceRow& r : teamBalance(l.store, team)) {
        rows.append(QJsonObject{
            {u"caption"_qs, r.caption}, {u"home"_qs, r.home}, {u"away"_qs, r.away}, {u"total"_qs, r.total}});
        out.rows.append({r.caption, r.home, r.away, r.total});
    }
    out.json = {{u"team"_qs, l.store.TymPodleCisla(team)}, {u"rows"_qs, rows}};
    return out;
}

CommandOutput matches(const Context& c)
{
    const int team = c.number(1, 1, kTeams);
    const League l = loadLeague(c.args[0]);
    const QStringList texts = teamMatchLines(l.store, team);
    if (c.parser->isSet(u"pdf"_qs)) {
        const QString page = matchesPage(l.store, team, texts, QDateTime(c.today, QTime::currentTime()));
        if (!printTextPageToPdf(c.parser->value(u"pdf"_qs), page))
            throw FileError{u"Soubor „%1“ nelze vytvořit."_qs.arg(c.parser->value(u"pdf"_qs))};
    }
    return lines(texts);
}

CommandOutput h2h(const Context& c)
{
    const int first = c.number(1, 0, kTeams), second = c.number(2, 0, kTeams);
    const League l = loadLeague(c.args[0]);
    return lines(headToHeadLines(l.store, first, second));
}

CommandOutput missing(const Context& c)
{
    const League l = loadLeague(c.args[0]);
    CommandOutput out = lines(missingResults(l.store, c.today));
    const QString message = out.rows.isEmpty() ? u"Nenalezeny žádné chybějící výsledky."_qs : QString();
    out.json[u"message"_qs] = message;
    if (!message.isEmpty())
        out.rows.append({message});
    return out;
}

CommandOutput calendar(const Context& c)
{
    const League l = loadLeague(c.args[0]);
    const FileBytes file = readDataFile(QFileInfo(c.args[0]).dir().filePath(calendarFileName(l.store.caption)));
    if (!file.ok())
        return {{{u"message"_qs, u"není definován"_qs}}, {{u"není definován"_qs}}};
    const QString caption = (u"Kalendář akcí "_qs + l.store.season).toLower();
    CommandOutput out;
    out.rows.append({caption});
    QJsonArray events;
    for (const CalendarEvent& e : readCalendar(file.bytes)) {
        events.append(QJsonObject{{u"dates"_qs, e.dates}, {u"name"_qs, e.name}});
        out.rows.append({e.dates, e.name});
    }
    out.json = {{u"caption"_qs, caption}, {u"events"_qs, events}};
    return out;
}

// The data update answered from the command line: every status text and message becomes a step.
class CliUpdate final : public UpdateSurroundings {
public:
    CliUpdate(const QUrl& site, bool yes, bool takeServer) : m_site(site), m_yes(yes), m_takeServer(takeServer) {}
    QStringList steps;

private:
    FetchResult fetch(const QString& path) override
    {
        QUrl url = m_site;
        url.setPath(m_site.path() + path);
        return httpGet(url);
    }
    void status(const QString& text) override { steps << text; }
    void progress(int, int) override {}
    void pause(int) override {}
    bool askYesNo(const QString& text, bool, const QString&) override
    {
        steps << text;
        return m_yes;
    }
    void tellError(const QString& text, const QString&) override { steps << text; }
    bool takeServerResults(const QStringList& conflicts) override
    {
        steps << conflicts;
        steps << (m_takeServer ? u"převzaty výsledky serveru"_qs : u"ponechány vaše výsledky"_qs);
        return m_takeServer;
    }
    void openHomePage() override { steps << program::homePage; }
    void beep() override {}
    bool saveSeason() override { return true; } // no league is open here
    void reloadSeason() override {}

    QUrl m_site;
    bool m_yes;
    bool m_takeServer;
};

CommandOutput update(const Context& c)
{
    const QUrl site(c.args[0]);
    if (!site.isValid() || site.scheme() != u"http")
        throw UsageError{u"„%1“ není adresa http://…"_qs.arg(c.args[0])};
    const QString keep = c.parser->value(u"conflicts"_qs);
    if (!keep.isEmpty() && keep != u"mine" && keep != u"server")
        throw UsageError{u"--conflicts: mine nebo server"_qs};
    CliUpdate run(site, c.parser->isSet(u"yes"_qs), keep == u"server");
    const UpdateOutcome outcome = runUpdate(run, c.args[1], site.host());
    CommandOutput out = lines(run.steps);
    out.json = {{u"steps"_qs, toJsonArray(run.steps)}};
    out.exitCode = outcome == UpdateOutcome::Finished || outcome == UpdateOutcome::NothingToDo ? 0 : 1;
    return out;
}

} // namespace

const std::map<QString, Command>& commands()
{
    static const std::map<QString, Command> all = {
        {u"catalogue"_qs, {u"catalogue FOLDER"_qs, 1, 1, catalogue}},
        {u"league"_qs, {u"league FILE"_qs, 1, 1, league}},
        {u"notation"_qs, {u"notation TEXT..."_qs, 1, 1000, notation}},
        {u"enter"_qs, {u"enter FILE ROUND SLOT TEXT"_qs, 4, 4, enter}},
        {u"swap"_qs, {u"swap FILE ROUND SLOT"_qs, 3, 3, swap}},
        {u"table"_qs,
         {u"table FILE [--from R] [--to R] [--venue V] [--sort C] [--rules running|final]"_qs, 1, 1, table}},
        {u"graph"_qs, {u"graph FILE"_qs, 1, 1, graph}},
        {u"streaks"_qs, {u"streaks FILE [--venue V] [--type T] [--overtime draw|final] [--order O]"_qs, 1, 1, streaks}},
        {u"cross"_qs, {u"cross FILE"_qs, 1, 1, cross}},
        {u"balance"_qs, {u"balance FILE TEAM"_qs, 2, 2, balance}},
        {u"matches"_qs, {u"matches FILE TEAM [--pdf OUT]"_qs, 2, 2, matches}},
        {u"h2h"_qs, {u"h2h FILE TEAM1 TEAM2"_qs, 3, 3, h2h}},
        {u"missing"_qs, {u"missing FILE"_qs, 1, 1, missing}},
        {u"calendar"_qs, {u"calendar FILE"_qs, 1, 1, calendar}},
        {u"update"_qs, {u"update URL FOLDER [--yes|--no] [--conflicts mine|server]"_qs, 2, 2, update}},
    };
    return all;
}

} // namespace cli
