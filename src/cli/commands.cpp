// SPDX-License-Identifier: MIT
// rinkomat-cli: the program's views without a window, for posting tables, scripting and checking.
#include "commands.h"
#include "desktopside.h"

#include "common/pacing.h"
#include "common/programinfo.h"
#include "export/formats.h"
#include "export/viewtable.h"
#include "lookups/lookups.h"
#include "online/update.h"
#include "outlook/forecast.h"
#include "season/catalogue.h"
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
#include <QRegularExpression>
#include <QUrl>
#include <cmath>
#include <cstdio>
#include <thread>

namespace cli {

namespace {
struct League {
    QString schedulePath;
    SeasonStore store;
};

League loadLeague(const QString& competitionPath)
{
    const QString schedulePath = scheduleFileFor(competitionPath);
    finishInterruptedUpdate(QFileInfo(competitionPath).dir());
    Result<SeasonStore> loaded = loadSeason(competitionPath, schedulePath);
    if (!loaded.ok())
        throw FileError{loaded.error()};
    return {schedulePath, std::move(loaded).value()};
}

struct Assumption {
    int round;
    int slot;
    QString result;
};

// --assume ROUND:SLOT=RESULT, each read as the result field reads a typed text; checked before any file is read.
QList<Assumption> assumptions(const Context& c)
{
    static const QRegularExpression form(u"^(\\d{1,2}):(\\d)=(.*)$"_qs);
    QList<Assumption> list;
    for (const QString& text : c.parser->values(u"assume"_qs)) {
        const QRegularExpressionMatch m = form.match(text);
        const int round = m.hasMatch() ? m.captured(1).toInt() : 0, slot = m.hasMatch() ? m.captured(2).toInt() : 0;
        const QString stored = m.hasMatch() ? normaliseResult(convertKeypadInput(m.captured(3))) : QString();
        if (round < 1 || round > kRounds || slot < 1 || slot > kSlots ||
            (stored.isEmpty() && !m.captured(3).trimmed().isEmpty()))
            throw UsageError{
                u"--assume: „%1“ není KOLO:ZÁPAS=VÝSLEDEK (kolo 1 až 52, zápas 1 až 7, platný výsledek)"_qs.arg(
                    text.left(80))};
        list.append({round, slot, stored});
    }
    return list;
}

// A league for a view: as read, with the assumed results in place of the stored ones; never written.
League loadLeague(const Context& c)
{
    const QList<Assumption> assumed = assumptions(c);
    League league = loadLeague(c.args[0]);
    for (const Assumption& a : assumed)
        league.store.match(a.slot, a.round).result = a.result;
    return league;
}

// Reads the league, lets `change` alter it and writes it back, all under the league's lock, with a
// copy of the file as it was.
League changeLeague(const QString& competitionPath, const std::function<void(SeasonStore&)>& change)
{
    LeagueLock lock(scheduleFileFor(competitionPath));
    QString error = lock.acquire(pacing::ms(3000)); // another script's write takes milliseconds
    if (!error.isEmpty())
        throw FileError{error};
    League league = loadLeague(competitionPath);
    removeLeftoverTemporaries(league.schedulePath);
    change(league.store);
    error = saveSchedule(league.store, league.schedulePath, QDateTime::currentDateTime(), true);
    if (!error.isEmpty())
        throw FileError{error};
    return league;
}

QString className(const std::optional<OutcomeClass>& c)
{
    return c ? QString(letterOf(*c)) : QString();
}

CommandOutput plain(const QJsonObject& json, const QList<QStringList>& rows)
{
    CommandOutput out;
    out.json = json;
    out.rows = rows;
    return out;
}

// The view's rows as the text output, after the lines that stand above them.
CommandOutput fromView(const ViewTable& view, const QList<QStringList>& above = {})
{
    CommandOutput out;
    out.rows = above + view.rows;
    out.view = view;
    return out;
}

QJsonArray jsonRows(const QList<QStringList>& rows, const QStringList& keys)
{
    QJsonArray out;
    for (const QStringList& row : rows) {
        QJsonObject o;
        for (qsizetype i = 0; i < keys.size(); ++i)
            o[keys[i]] = row.value(i);
        out.append(o);
    }
    return out;
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
    const League l = loadLeague(c);
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
    // The window empties a mistyped field in front of the user; a script would not see it happen.
    if (stored.isEmpty() && !c.args[3].trimmed().isEmpty())
        throw UsageError{
            u"„%1“ není platný výsledek; výsledek smažete prázdným textem \"\"."_qs.arg(c.args[3].left(80))};
    changeLeague(c.args[0], [&](SeasonStore& s) { s.match(slot, round).result = stored; });
    return plain({{u"stored"_qs, stored}}, {{stored}});
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
    return plain({{u"pairing"_qs, pairing}}, {{pairing}});
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
    const QString caption = period ? periodCaption(first, last) : runningTableCaption();
    const League l = loadLeague(c);
    const Standings st =
        SpocitatPoradi(l.store, DataProTabulku(l.store, first, last), venue, criterion, rules, first, last);
    CommandOutput out = fromView(standingsView(l.store, first, last, venue, criterion, rules, caption), {{caption}});
    static const QStringList keys{u"pos"_qs,  u"team"_qs, u"gp"_qs,  u"w"_qs,   u"w_ot"_qs,        u"t"_qs,
                                  u"l_ot"_qs, u"l"_qs,    u"sco"_qs, u"pts"_qs, u"sco_tooltip"_qs, u"decided_by"_qs};
    const auto numbers = [](const QList<int>& lines) {
        QJsonArray a;
        for (int k : lines)
            a.append(k);
        return a;
    };
    QJsonArray rows;
    for (int r = 0; r < kTeams; ++r) {
        QJsonObject row;
        for (int i = 0; i < keys.size(); ++i)
            row[keys[i]] = out.view->rows[r][i];
        row[u"clinched"_qs] = numbers(st.rows[r].clinched);
        row[u"out"_qs] = numbers(st.rows[r].out);
        rows.append(row);
    }
    out.json = {{u"caption"_qs, caption}, {u"lines_shown"_qs, st.linesShown}, {u"rows"_qs, rows}};
    return out;
}

CommandOutput graph(const Context& c)
{
    const League l = loadLeague(c);
    const GraphData g = computeGraph(l.store);
    CommandOutput out = fromView(graphView(l.store));
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
    const int order = c.option(u"order"_qs, 0, 2, streakorder::ByCurrent);
    const League l = loadLeague(c);
    CommandOutput out = fromView(streaksView(l.store, venue, type, mode, order));
    out.json[u"rows"_qs] = jsonRows(out.view->rows, {u"pos"_qs, u"team"_qs, u"current"_qs, u"longest"_qs});
    return out;
}

CommandOutput cross(const Context& c)
{
    const League l = loadLeague(c);
    CommandOutput out = fromView(crossView(l.store));
    QJsonArray json;
    for (const QStringList& row : out.view->rows)
        json.append(toJsonArray(row.mid(1)));
    out.json[u"cells"_qs] = json;
    return out;
}

// A view of one column: {"lines":[…]}.
CommandOutput lines(const ViewTable& view)
{
    CommandOutput out = fromView(view);
    QStringList texts;
    for (const QStringList& row : view.rows)
        texts << row.value(0);
    out.json[u"lines"_qs] = toJsonArray(texts);
    return out;
}

CommandOutput balance(const Context& c)
{
    const int team = c.number(1, 1, kTeams);
    const League l = loadLeague(c);
    CommandOutput out = fromView(balanceView(l.store, team));
    out.json = {{u"team"_qs, l.store.TymPodleCisla(team)},
                {u"rows"_qs, jsonRows(out.view->rows, {u"caption"_qs, u"home"_qs, u"away"_qs, u"total"_qs})}};
    return out;
}

CommandOutput matches(const Context& c)
{
    const int team = c.number(1, 1, kTeams);
    const League l = loadLeague(c);
    const QStringList texts = teamMatchLines(l.store, team);
    if (c.parser->isSet(u"pdf"_qs)) {
        const QString page = matchesPage(l.store, team, texts, QDateTime(c.today, QTime::currentTime()));
        if (const QString error = printPdf(c.parser->value(u"pdf"_qs), page); !error.isEmpty())
            throw FileError{error};
    }
    return lines(matchesView(l.store, team));
}

CommandOutput h2h(const Context& c)
{
    const int first = c.number(1, 0, kTeams), second = c.number(2, 0, kTeams);
    const League l = loadLeague(c);
    return lines(headToHeadView(l.store, first, second));
}

CommandOutput missing(const Context& c)
{
    const League l = loadLeague(c);
    CommandOutput out = lines(missingView(l.store, c.today));
    const QString message = out.rows.isEmpty() ? kNothingMissing : QString();
    out.json[u"message"_qs] = message;
    if (!message.isEmpty())
        out.rows.append({message});
    return out;
}

CommandOutput calendar(const Context& c)
{
    const League l = loadLeague(c);
    const Result<QByteArray> file =
        readDataFile(QFileInfo(c.args[0]).dir().filePath(calendarFileName(l.store.caption)));
    if (!file.ok())
        return plain({{u"message"_qs, kNoCalendar}}, {{kNoCalendar}});
    const QString caption = calendarCaption(l.store.season).toLower();
    CommandOutput out = fromView(calendarView(l.store, readCalendar(file.value())), {{caption}});
    out.json = {{u"caption"_qs, caption}, {u"events"_qs, jsonRows(out.view->rows, {u"dates"_qs, u"name"_qs})}};
    return out;
}

CommandOutput ics(const Context& c)
{
    const int team = c.parser->isSet(u"team"_qs) ? c.option(u"team"_qs, 1, kTeams, 0) : 0;
    const League l = loadLeague(c);
    CommandOutput out;
    out.raw = toICalendar(l.store, c.args[0], team, QDateTime::currentDateTimeUtc());
    return out;
}

CommandOutput forecast(const Context& c)
{
    const int seasons = c.option(u"sims"_qs, 1, 1'000'000, 10'000);
    bool ok = true;
    const QString seedText = c.parser->value(u"seed"_qs);
    const qint64 seed = seedText.isEmpty() ? static_cast<qint64>(kDefaultSeed) : seedText.toLongLong(&ok);
    if (!ok || seed < 0)
        throw UsageError{u"--seed: „%1“ není celé nezáporné číslo"_qs.arg(seedText.left(80))};
    const int team = c.option(u"team"_qs, 1, kTeams, 0);
    if (c.parser->isSet(u"line"_qs) && team == 0)
        throw UsageError{u"--line patří ke --team: klíčové zápasy jsou vždy jednoho týmu"_qs};
    const League l = loadLeague(c);
    const std::array<int, 3> lines = dividingLines(l.store);
    const auto firstLine = std::find_if(lines.begin(), lines.end(), [](int line) { return line > 0; });
    const int line = c.option(u"line"_qs, 1, 3, static_cast<int>(firstLine - lines.begin()) + 1);
    if (team > 0 && (line > 3 || lines[static_cast<std::size_t>(line - 1)] <= 0))
        throw UsageError{u"--line: soutěž %1. dělicí čáru nemá"_qs.arg(line)};
    const Outlook outlook = computeOutlook(l.store, seasons, static_cast<std::uint64_t>(seed),
                                           static_cast<int>(std::max(1U, std::thread::hardware_concurrency())));
    const Forecast& f = outlook.forecast;
    const QList<OutlookRow> rows = outlookRows(l.store, outlook);
    CommandOutput out = fromView(outlookView(l.store, rows));
    QJsonArray teams;
    const auto percent = [](double share) { return std::round(share * 1000) / 10; };
    for (const OutlookRow& r : rows) {
        QJsonArray places, lineShares;
        for (double share : r.places)
            places.append(percent(share));
        for (const OutlookLine& k : r.lines)
            lineShares.append(QJsonObject{{u"line"_qs, k.line},
                                          {u"share"_qs, percent(k.share)},
                                          {u"clinched"_qs, k.clinched},
                                          {u"out"_qs, k.out},
                                          {u"needed"_qs, k.needed == kNeverSure ? QJsonValue() : k.needed}});
        teams.append(QJsonObject{{u"team"_qs, l.store.TymPodleCisla(r.team)},
                                 {u"points"_qs, r.points},
                                 {u"expected_points"_qs, std::round(r.expectedPoints * 10) / 10},
                                 {u"best"_qs, r.best},
                                 {u"worst"_qs, r.worst},
                                 {u"places"_qs, places},
                                 {u"lines"_qs, lineShares}});
    }
    out.json = {{u"seasons"_qs, seasons}, {u"seed"_qs, static_cast<qint64>(seed)}, {u"teams"_qs, teams}};
    if (team > 0) {
        const auto k = static_cast<std::size_t>(line - 1);
        QJsonArray key;
        for (const KeyMatch& m : keyMatches(f, team, k))
            key.append(QJsonObject{{u"round"_qs, m.round},
                                   {u"slot"_qs, m.slot},
                                   {u"home"_qs, l.store.TymPodleCisla(m.home)},
                                   {u"away"_qs, l.store.TymPodleCisla(m.away)},
                                   {u"if_home_wins"_qs, percent(m.ifHomeWins)},
                                   {u"if_away_wins"_qs, percent(m.ifAwayWins)}});
        out.json[u"key_matches"_qs] = key;
        const ViewTable keyView = keyMatchesView(l.store, f, team, k);
        out.rows << QStringList() << QStringList{keyView.caption} << keyView.header << keyView.rows;
    }
    return out;
}

// The data update answered from the command line: every status text and message becomes a step.
class CliUpdate final : public UpdateSurroundings {
public:
    CliUpdate(const QUrl& site, bool yes, bool takeServer) : m_site(site), m_yes(yes), m_takeServer(takeServer) {}
    QStringList steps;

private:
    FetchResult fetch(const QString& path, int deadlineMs) override
    {
        QUrl url = m_site;
        url.setPath(m_site.path() + path);
        return fetchUrl(url, deadlineMs);
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
    QList<QStringList> rows;
    for (const QString& step : run.steps)
        rows.append({step});
    CommandOutput out = plain({{u"steps"_qs, toJsonArray(run.steps)}}, rows);
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
        {u"ics"_qs, {u"ics FILE [--team N]"_qs, 1, 1, ics}},
        {u"forecast"_qs, {u"forecast FILE [--sims N] [--seed S] [--team T [--line K]]"_qs, 1, 1, forecast}},
        {u"update"_qs, {u"update URL FOLDER [--yes|--no] [--conflicts mine|server]"_qs, 2, 2, update}},
    };
    return all;
}

} // namespace cli
