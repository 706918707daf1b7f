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
#include "season/adjustments.h"
#include "season/catalogue.h"
#include "season/datafiles.h"
#include "season/notation.h"
#include "season/openleague.h"
#include "season/seasonfile.h"
#include "standings/alltime.h"
#include "standings/graph.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <cstdio>
#include <thread>

using namespace Qt::StringLiterals;

namespace cli {

namespace {
using Output = Result<CommandOutput>;

Output refused(const QString& text)
{
    return Output::failure(text, kUsageExit);
}

Output fileFault(const QString& text)
{
    return Output::failure(text, kFileExit);
}

Result<SeasonStore> loadLeague(const QString& competitionPath)
{
    finishInterruptedUpdate(QFileInfo(competitionPath).dir());
    Result<ReadLeague> loaded = readLeague(competitionPath);
    if (!loaded.ok())
        return Result<SeasonStore>::failure(loaded.error(), kFileExit);
    if (!loaded.value().warning.isEmpty())
        printError(openedWithoutAdjustments(loaded.value().warning));
    return std::move(loaded).value().store;
}

struct Assumption {
    int round;
    int slot;
    QString result;
};

// --assume ROUND:SLOT=RESULT, each read as the result field reads a typed text; checked before any file is read.
Result<QList<Assumption>> assumptions(const Context& c)
{
    static const QRegularExpression form(u"^(\\d{1,2}):(\\d)=(.*)$"_s);
    QList<Assumption> list;
    for (const QString& text : c.parser->values(u"assume"_s)) {
        const QRegularExpressionMatch m = form.match(text);
        const int round = m.hasMatch() ? m.captured(1).toInt() : 0, slot = m.hasMatch() ? m.captured(2).toInt() : 0;
        const QString stored = m.hasMatch() ? normaliseResult(convertKeypadInput(m.captured(3))) : QString();
        if (round < 1 || round > kRounds || slot < 1 || slot > kSlots ||
            (stored.isEmpty() && !m.captured(3).trimmed().isEmpty()))
            return Result<QList<Assumption>>::failure(
                u"--assume: „%1“ není KOLO:ZÁPAS=VÝSLEDEK (kolo 1 až 52, zápas 1 až 7, platný výsledek)"_s.arg(
                    text.left(80)),
                kUsageExit);
        list.append({round, slot, stored});
    }
    return list;
}

// A league for a view: as read, with the assumed results in place of the stored ones; never written.
Result<SeasonStore> loadLeague(const Context& c)
{
    const Result<QList<Assumption>> assumed = assumptions(c);
    if (!assumed.ok())
        return Result<SeasonStore>::failureOf(assumed);
    Result<SeasonStore> read = loadLeague(c.args[0]);
    if (!read.ok())
        return read;
    SeasonStore league = std::move(read).value();
    for (const Assumption& a : assumed.value())
        league.match(a.slot, a.round).result = a.result;
    return league;
}

// The league locked and read for a change; another script's write takes milliseconds, so it is waited for.
Result<ReadLeague> openForChange(OpenLeague& open)
{
    finishInterruptedUpdate(QFileInfo(open.competitionPath()).dir());
    if (const Result<void> locked = open.lock(pacing::ms(3000)); !locked.ok())
        return Result<ReadLeague>::failure(locked.error(), kFileExit);
    Result<ReadLeague> read = open.read();
    return read.ok() ? read : Result<ReadLeague>::failure(read.error(), kFileExit);
}

// Reads the league, lets `change` alter it and writes it back, all under the league's lock, with a
// copy of the file as it was.
Result<SeasonStore> changeLeague(const QString& competitionPath, const std::function<void(SeasonStore&)>& change)
{
    OpenLeague open(competitionPath);
    Result<ReadLeague> read = openForChange(open);
    if (!read.ok())
        return Result<SeasonStore>::failureOf(read);
    ReadLeague league = std::move(read).value();
    if (!league.warning.isEmpty())
        printError(openedWithoutAdjustments(league.warning));
    change(league.store);
    if (const Result<void> saved = open.save(league.store, QDateTime::currentDateTime()); !saved.ok())
        return Result<SeasonStore>::failure(saved.error(), kFileExit);
    return std::move(league.store);
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
    for (int r = 1; r <= kRounds; ++r) {
        QJsonArray matches;
        const QString entry = roundEntryText(r, s.DATUM_KOLA(r));
        for (int m = 1; m <= kSlots; ++m) {
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
    const QString stored = normaliseResult(convertKeypadInput(c.args[3]));
    // The window empties a mistyped field in front of the user; a script would not see it happen.
    if (stored.isEmpty() && !c.args[3].trimmed().isEmpty())
        return refused(u"„%1“ není platný výsledek; výsledek smažete prázdným textem \"\"."_s.arg(c.args[3].left(80)));
    if (const Result<SeasonStore> changed =
            changeLeague(c.args[0], [&](SeasonStore& s) { s.match(slot, round).result = stored; });
        !changed.ok())
        return Output::failureOf(changed);
    return plain({{u"stored"_s, stored}}, {{stored}});
}

Output swap(const Context& c)
{
    const int round = c.number(1), slot = c.number(2);
    const Result<SeasonStore> changed = changeLeague(c.args[0], [&](SeasonStore& s) {
        Match& m = s.match(slot, round);
        std::swap(m.home, m.away);
    });
    if (!changed.ok())
        return Output::failureOf(changed);
    const SeasonStore& l = changed.value();
    const Match& m = l.match(slot, round);
    const QString pairing = QString::number(m.home) + u'-' + QString::number(m.away);
    const QString home = l.TymPodleCisla(m.home), away = l.TymPodleCisla(m.away);
    return plain({{u"pairing"_s, pairing}, {u"home"_s, home}, {u"away"_s, away}}, {{home + u" – "_s + away}});
}

Output table(const Context& c)
{
    // Wrong arguments are reported before any file is read.
    int first = c.option(u"from"_s, 1), last = c.option(u"to"_s, kRounds);
    const int venue = c.option(u"venue"_s, 3);
    const auto criterion = static_cast<Criterion>(c.option(u"sort"_s, 0));
    if (first > last)
        std::swap(first, last);
    const QString rulesText = c.parser->value(u"rules"_s);
    if (c.parser->isSet(u"rules"_s) && rulesText != u"running" && rulesText != u"final")
        return refused(u"--rules: running nebo final"_s);
    const RankingRules rules = rulesText == u"final" ? RankingRules::Final : RankingRules::Running;
    const bool period = c.parser->isSet(u"from"_s) || c.parser->isSet(u"to"_s);
    const QString caption = period ? periodCaption(first, last) : runningTableCaption();
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    const Standings st = SpocitatPoradi(l, DataProTabulku(l, first, last), venue, criterion, rules, first, last);
    CommandOutput out = fromView(standingsView(l, st, criterion, caption), {{caption}});
    // Under the table, as the window has them: the reasons, or why they are left out.
    const QStringList notes = adjustmentNotes(l, venue, first, last);
    if (!c.parser->isSet(u"json"_s)) {
        for (const QString& note : notes)
            out.rows.append({note});
        return out; // its rows cost as much as the table; a script reading text does not wait for them
    }
    static const QStringList keys{u"pos"_s,  u"team"_s, u"gp"_s,  u"w"_s,   u"w_ot"_s,        u"t"_s,
                                  u"l_ot"_s, u"l"_s,    u"sco"_s, u"pts"_s, u"sco_tooltip"_s, u"decided_by"_s};
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
        const StandingsRow& standing = st.rows[r];
        row[u"clinched"_s] = numbers(standing.clinched);
        row[u"out"_s] = numbers(standing.out);
        row[u"adjustment"_s] = standing.adjustment;
        row[u"reasons"_s] = toJsonArray(standing.reasons);
        row[u"moved"_s] = standing.moved ? QJsonValue(*standing.moved) : QJsonValue(QJsonValue::Null);
        row[u"form"_s] = standing.form;
        rows.append(row);
    }
    out.json = {{u"caption"_s, caption},
                {u"lines_shown"_s, st.linesShown},
                {u"rows"_s, rows},
                {u"adjustments_ignored"_s,
                 l.adjustmentsIgnored.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(l.adjustmentsIgnored)}};
    for (const QString& note : notes)
        out.rows.append({note});
    return out;
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

// A view of one column: {"lines":[…]}.
CommandOutput lines(const ViewTable& view)
{
    CommandOutput out = fromView(view);
    QStringList texts;
    for (const QStringList& row : view.rows)
        texts << row.value(0);
    out.json[u"lines"_s] = toJsonArray(texts);
    return out;
}

Output balance(const Context& c)
{
    const int team = c.number(1);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    CommandOutput out = fromView(balanceView(l, team));
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
    const QStringList texts = teamMatchLines(l, team);
    if (c.parser->isSet(u"pdf"_s)) {
        const QString page = matchesPage(l, team, texts, QDateTime(c.today, QTime::currentTime()));
        if (const Result<void> printed = printPdf(c.parser->value(u"pdf"_s), page); !printed.ok())
            return fileFault(printed.error());
    }
    return lines(matchesView(l, team));
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
    out.raw = toICalendar(l, c.args[0], team, QDateTime::currentDateTimeUtc());
    return out;
}

// To a ten-thousandth of a per cent: a share of at most a million seasons is exact, and a place that
// came up once is never printed as 0, which means never.
double percent(double share)
{
    return std::round(share * 1'000'000) / 10'000;
}

// Each team's row of the outlook, its shares in per cent.
QJsonArray outlookJson(const SeasonStore& season, const QList<OutlookRow>& rows)
{
    QJsonArray teams;
    for (const OutlookRow& r : rows) {
        QJsonArray places, lineShares;
        for (double share : r.places)
            places.append(percent(share));
        for (const OutlookLine& k : r.lines)
            lineShares.append(QJsonObject{{u"line"_s, k.line},
                                          {u"share"_s, percent(k.share)},
                                          {u"clinched"_s, k.clinched},
                                          {u"out"_s, k.out},
                                          {u"needed"_s, k.needed == kNeverSure ? QJsonValue() : k.needed}});
        teams.append(QJsonObject{{u"team"_s, season.TymPodleCisla(r.team)},
                                 {u"points"_s, r.points},
                                 {u"expected_points"_s, std::round(r.expectedPoints * 10) / 10},
                                 {u"best"_s, r.best},
                                 {u"worst"_s, r.worst},
                                 {u"places"_s, places},
                                 {u"lines"_s, lineShares}});
    }
    return teams;
}

Output forecast(const Context& c)
{
    const int seasons = c.option(u"sims"_s, 10'000);
    bool ok = true;
    const QString seedText = c.parser->value(u"seed"_s);
    const qint64 seed = c.parser->isSet(u"seed"_s) ? seedText.toLongLong(&ok) : static_cast<qint64>(kDefaultSeed);
    if (!ok || seed < 0)
        return refused(u"--seed: „%1“ není celé nezáporné číslo"_s.arg(seedText.left(80)));
    const int team = c.option(u"team"_s, 0);
    if (c.parser->isSet(u"line"_s) && team == 0)
        return refused(u"--line patří ke --team: klíčové zápasy jsou vždy jednoho týmu"_s);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    const std::array<int, 3> lines = dividingLines(l);
    const auto firstLine = std::find_if(lines.begin(), lines.end(), [](int line) { return line > 0; });
    const int line = c.option(u"line"_s, static_cast<int>(firstLine - lines.begin()) + 1);
    if (team > 0 && (line > 3 || lines[static_cast<std::size_t>(line - 1)] <= 0))
        return refused(u"--line: soutěž %1. dělicí čáru nemá"_s.arg(line));
    const Outlook outlook = computeOutlook(l, seasons, static_cast<std::uint64_t>(seed),
                                           static_cast<int>(std::max(1U, std::thread::hardware_concurrency())));
    const Forecast& f = outlook.forecast;
    const QList<OutlookRow> rows = outlookRows(l, outlook);
    CommandOutput out = fromView(outlookView(l, rows));
    const QJsonArray teams = outlookJson(l, rows);
    out.json = {{u"seasons"_s, seasons}, {u"seed"_s, static_cast<qint64>(seed)}, {u"teams"_s, teams}};
    if (team > 0) {
        const auto k = static_cast<std::size_t>(line - 1);
        QJsonArray key;
        for (const KeyMatch& m : keyMatches(f, team, k))
            key.append(QJsonObject{{u"round"_s, m.round},
                                   {u"slot"_s, m.slot},
                                   {u"home"_s, l.TymPodleCisla(m.home)},
                                   {u"away"_s, l.TymPodleCisla(m.away)},
                                   {u"if_home_wins"_s, percent(m.ifHomeWins)},
                                   {u"if_away_wins"_s, percent(m.ifAwayWins)}});
        out.json[u"key_matches"_s] = key;
        const ViewTable keyView = keyMatchesView(l, f, team, k);
        out.rows << QStringList() << QStringList{keyView.caption} << keyView.header << keyView.rows;
    }
    return out;
}

// The data update answered from the command line: every status text and message becomes a step.
class CliUpdate final : public UpdateSurroundings {
public:
    CliUpdate(const QUrl& site, bool yes, bool takeServer, const QDateTime& now)
        : m_site(site), m_yes(yes), m_takeServer(takeServer), m_now(now)
    {
    }
    QStringList steps;

private:
    void fetch(const QString& path, int deadlineMs, std::function<void(const FetchResult&)> done) override
    {
        fetchUrl(updateAddress(m_site, path), deadlineMs, std::move(done));
    }
    void status(const QString& text) override { steps << text; }
    void progress(int, int) override {}
    void pause(int, std::function<void()> done) override // nobody watches the steps here
    {
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(done));
    }
    bool askYesNo(const QString& text, bool, const QString&) override
    {
        steps << text;
        return m_yes;
    }
    void tellError(const QString& text, const QString&) override { steps << text; }
    bool takeServerResults(const QStringList& conflicts) override
    {
        steps << conflicts;
        steps << (m_takeServer ? u"převzaty výsledky serveru"_s : u"ponechány vaše výsledky"_s);
        return m_takeServer;
    }
    void openHomePage() override { steps << program::homePage; }
    void beep() override {}
    QDateTime now() const override { return m_now; }

    QUrl m_site;
    bool m_yes;
    bool m_takeServer;
    QDateTime m_now;
};

Output update(const Context& c)
{
    const QUrl site(c.args[0]);
    if (!site.isValid() || site.scheme() != u"http")
        return refused(u"„%1“ není adresa http://…"_s.arg(c.args[0]));
    const QString keep = c.parser->value(u"conflicts"_s);
    if (c.parser->isSet(u"conflicts"_s) && keep != u"mine" && keep != u"server")
        return refused(u"--conflicts: mine nebo server"_s);
    // The folder is checked before the server is asked anything.
    if (!QFileInfo(QDir(c.args[1]).filePath(u"souteze"_s)).isDir())
        return fileFault(
            u"Ve složce „%1“ není složka souteze s ligami; aktualizace nezačala."_s.arg(c.args[1].left(80)));
    // --today names the backups of the replaced files too.
    CliUpdate run(site, c.parser->isSet(u"yes"_s), keep == u"server", QDateTime(c.today, QTime::currentTime()));
    // The update is a job of the event loop, the only one this program runs.
    UpdateJob job(run, nullptr, c.args[1], site.host()); // no league is open here
    std::optional<UpdateOutcome> ended;
    QObject::connect(&job, &UpdateJob::finished, &job, [&ended](UpdateOutcome outcome) {
        ended = outcome;
        QCoreApplication::quit();
    });
    job.start();
    if (!ended)
        QCoreApplication::exec();
    const UpdateOutcome outcome = ended.value_or(UpdateOutcome::Failed);
    QList<QStringList> rows;
    for (const QString& step : run.steps)
        rows.append({step});
    CommandOutput out = plain({{u"steps"_s, toJsonArray(run.steps)}}, rows);
    out.exitCode = outcome == UpdateOutcome::Finished || outcome == UpdateOutcome::NothingToDo ? 0 : 1;
    return out;
}

} // namespace

namespace {
const QString kAssume = u"assume"_s;

// Each command with its usage, help and options, by name.
const std::map<QString, Command> kCommands = {
    {u"catalogue"_s,
     {u"catalogue SLOŽKA"_s,
      u"seznam lig ve složce souteze/, jak jej ukazuje výběr ligy"_s,
      u"  SLOŽKA  složka se soubory lig\n\nPříklad: rinkomat-cli catalogue souteze"_s,
      1,
      1,
      JsonFormat,
      {},
      catalogue}},
    {u"league"_s,
     {u"league SOUBOR"_s,
      u"týmy, dělicí čáry a všechna kola ligy"_s,
      u"  SOUBOR  soubor soutěže sezona_….txt\n  --today D.M.RRRR  den, který se bere jako dnešek\n\n"
      "Příklad: rinkomat-cli league souteze/sezona_extraliga0708.txt --json"_s,
      1,
      1,
      JsonFormat,
      {u"today"_s, kAssume},
      league}},
    {u"notation"_s,
     {u"notation TEXT…"_s,
      u"jak pole výsledku přečte napsané texty"_s,
      u"  TEXT  jeden nebo více textů, jak by je uživatel napsal (i klávesami numerické klávesnice)\n\n"
      "Příklad: rinkomat-cli notation 3+2- 4:4n"_s,
      1,
      1000,
      JsonFormat,
      {},
      notation}},
    {u"enter"_s,
     {u"enter SOUBOR KOLO ZÁPAS TEXT"_s,
      u"zapíše výsledek do rozpisu (se zálohou původního souboru)"_s,
      u"  KOLO   1 až 52\n  ZÁPAS  1 až 7\n  TEXT   výsledek, jak se píše do pole; \"\" výsledek smaže\n\n"
      "Příklad: rinkomat-cli enter souteze/sezona_extraliga0708.txt 21 3 4:2p"_s,
      4,
      4,
      JsonFormat,
      {},
      enter,
      {{1, 1, kRounds}, {2, 1, kSlots}}}},
    {u"swap"_s,
     {u"swap SOUBOR KOLO ZÁPAS"_s,
      u"prohodí domácí a hosty zápasu a uloží rozpis"_s,
      u"  KOLO   1 až 52\n  ZÁPAS  1 až 7\n\nPříklad: rinkomat-cli swap souteze/sezona_extraliga0708.txt 21 3"_s,
      3,
      3,
      JsonFormat,
      {},
      swap,
      {{1, 1, kRounds}, {2, 1, kSlots}}}},
    {u"table"_s,
     {u"table SOUBOR [--from KOLO] [--to KOLO] [--venue M] [--sort K] [--rules running|final]"_s,
      u"tabulka: průběžná, za období, doma, venku, podle kritéria"_s,
      u"  --from, --to  kola 1 až 52 (výchozí celá sezóna)\n  --venue       1 doma, 2 venku, 3 celkem (výchozí 3)\n"
      "  --sort        kritérium 0 až 12 jako v okně (výchozí 0, body)\n"
      "  --rules       pořadí při rovnosti bodů: running průběžné (výchozí), final konečné\n\n"
      "Příklad: rinkomat-cli table souteze/sezona_extraliga0708.txt --rules final --json"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {u"from"_s, u"to"_s, u"venue"_s, u"sort"_s, u"rules"_s, kAssume},
      table}},
    {u"adjust"_s,
     {u"adjust SOUBOR TÝM BODY DŮVOD | adjust SOUBOR --list | adjust SOUBOR --remove N"_s,
      u"úpravy bodů ligy: přidá, vypíše nebo odebere (se zálohou souboru úprav)"_s,
      u"  TÝM     číslo týmu 1 až 14\n  BODY    celé číslo od -99 do 99 (záporné body odebírá)\n"
      "  DŮVOD   text do 80 znaků\n  --list  vypíše úpravy s jejich pořadovými čísly\n"
      "  --remove N  odebere N-tou úpravu\n\n"
      "Příklad: rinkomat-cli adjust souteze/sezona_extraliga0708.txt 11 -3 \"neoprávněný start hráče\""_s,
      1,
      4,
      JsonFormat,
      {u"list"_s, u"remove"_s},
      adjust,
      {{1, 1, kTeams}, {2, -kMaxAdjustment, kMaxAdjustment}}}},
    {u"alltime"_s,
     {u"alltime SLOŽKA [--name TEXT] [--places]"_s,
      u"historická tabulka: všechny sezóny jedné soutěže sečtené podle názvů týmů"_s,
      u"  SLOŽKA    složka se soubory lig (souteze)\n"
      "  --name    název soutěže, jak jej uvádí „nazev=“ (výchozí jediná soutěž složky)\n"
      "  --places  místo součtů konečná umístění, sloupec za každou sezónu, nejnovější první\n\n"
      "Příklad: rinkomat-cli alltime souteze --name Extraliga --places"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {u"name"_s, u"places"_s},
      alltime}},
    {u"graph"_s,
     {u"graph SOUBOR"_s,
      u"umístění každého týmu po každém kole"_s,
      u"\nPříklad: rinkomat-cli graph souteze/sezona_extraliga0708.txt --csv"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {kAssume},
      graph}},
    {u"streaks"_s,
     {u"streaks SOUBOR [--venue M] [--type T] [--overtime draw|final] [--order P]"_s,
      u"současné a nejdelší série"_s,
      u"  --venue     1 doma, 2 venku, 3 celkem (výchozí 3)\n  --type      druh série 0 až 15 (výchozí 0)\n"
      "  --overtime  prodloužení jako remíza (draw, výchozí) nebo podle konečného výsledku (final)\n"
      "  --order     řazení 0 až 2 (výchozí podle současné série)\n\n"
      "Příklad: rinkomat-cli streaks souteze/sezona_extraliga0708.txt --type 1"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {u"venue"_s, u"type"_s, u"overtime"_s, u"order"_s, kAssume},
      streaks}},
    {u"cross"_s,
     {u"cross SOUBOR"_s,
      u"křížová tabulka"_s,
      u"\nPříklad: rinkomat-cli cross souteze/sezona_extraliga0708.txt"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {kAssume},
      cross}},
    {u"balance"_s,
     {u"balance SOUBOR TÝM"_s,
      u"dosavadní bilance týmu"_s,
      u"  TÝM  číslo týmu 1 až 14\n\nPříklad: rinkomat-cli balance souteze/sezona_extraliga0708.txt 3"_s,
      2,
      2,
      JsonFormat | TableFormats,
      {kAssume},
      balance,
      {{1, 1, kTeams}}}},
    {u"matches"_s,
     {u"matches SOUBOR TÝM [--pdf VÝSTUP]"_s,
      u"všechny zápasy týmu, s --pdf i vytištěná stránka"_s,
      u"  TÝM    číslo týmu 1 až 14\n  --pdf  soubor PDF, do kterého se stránka vytiskne\n\n"
      "Příklad: rinkomat-cli matches souteze/sezona_extraliga0708.txt 3 --pdf zapasy.pdf"_s,
      2,
      2,
      JsonFormat | TableFormats,
      {u"pdf"_s, u"today"_s, kAssume},
      matches,
      {{1, 1, kTeams}}}},
    {u"h2h"_s,
     {u"h2h SOUBOR TÝM1 TÝM2"_s,
      u"vzájemné zápasy dvou týmů"_s,
      u"  TÝM1, TÝM2  čísla týmů 0 až 14; 0 je prázdná volba jako v okně\n\n"
      "Příklad: rinkomat-cli h2h souteze/sezona_extraliga0708.txt 3 8"_s,
      3,
      3,
      JsonFormat | TableFormats,
      {kAssume},
      h2h,
      {{1, 0, kTeams}, {2, 0, kTeams}}}},
    {u"missing"_s,
     {u"missing SOUBOR"_s,
      u"zápasy minulých kol bez výsledku"_s,
      u"  --today D.M.RRRR  den, který se bere jako dnešek\n\n"
      "Příklad: rinkomat-cli missing souteze/sezona_extraliga0708.txt"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {u"today"_s, kAssume},
      missing}},
    {u"calendar"_s,
     {u"calendar SOUBOR"_s,
      u"kalendář akcí sezóny"_s,
      u"\nPříklad: rinkomat-cli calendar souteze/sezona_extraliga0708.txt"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {},
      calendar}},
    {u"ics"_s,
     {u"ics SOUBOR [--team TÝM]"_s,
      u"zápasy ligy nebo jednoho týmu jako kalendář iCalendar"_s,
      u"  --team  číslo týmu 1 až 14 (výchozí všechny zápasy)\n\n"
      "Příklad: rinkomat-cli ics souteze/sezona_extraliga0708.txt --team 3 > zapasy.ics"_s,
      1,
      1,
      NoFormat,
      {u"team"_s, kAssume},
      ics}},
    {u"forecast"_s,
     {u"forecast SOUBOR [--sims N] [--seed S] [--team TÝM [--line K]]"_s,
      u"výhled sezóny: podíly míst, jistá a nemožná umístění, potřebné body, klíčové zápasy"_s,
      u"  --sims  simulovaných sezón 1 až 1000000 (výchozí 10000)\n"
      "  --seed  celé nezáporné číslo, stejné číslo dá stejná čísla (výchozí 2007)\n"
      "  --team  tým 1 až 14, jehož klíčové zápasy se vypíší\n"
      "  --line  dělicí čára 1 až 3, kterou soutěž má (výchozí první)\n\n"
      "Příklad: rinkomat-cli forecast souteze/sezona_extraliga0708.txt --team 3 --line 1"_s,
      1,
      1,
      JsonFormat | TableFormats,
      {u"sims"_s, u"seed"_s, u"team"_s, u"line"_s, kAssume},
      forecast}},
    {u"update"_s,
     {u"update ADRESA SLOŽKA [--yes] [--conflicts mine|server] [--today D.M.RRRR]"_s,
      u"aktualizace dat programové složky ze serveru"_s,
      u"  ADRESA       http://… stránky s aktualizacemi\n  SLOŽKA       programová složka (se složkou souteze/)\n"
      "  --yes        na otázky odpovědět ano (bez ní ne)\n"
      "  --conflicts  výsledky, které se liší od serveru: mine ponechá vaše (výchozí), server převezme\n"
      "  --today      den, podle kterého se pojmenují zálohy nahrazených souborů\n\n"
      "Příklad: rinkomat-cli update http://www.rinkomat.example/ . --yes"_s,
      2,
      2,
      JsonFormat,
      {u"yes"_s, u"conflicts"_s, u"today"_s},
      update}},
};

// The numeric options, each with one range for every command that takes it.
const std::map<QString, std::pair<int, int>> kNumberOptions = {
    {u"from"_s, {1, kRounds}},   {u"to"_s, {1, kRounds}}, {u"venue"_s, {1, 3}},     {u"sort"_s, {0, kCriteria - 1}},
    {u"type"_s, {0, 15}},        {u"order"_s, {0, 2}},    {u"remove"_s, {1, 1000}}, {u"team"_s, {1, kTeams}},
    {u"sims"_s, {1, 1'000'000}}, {u"line"_s, {1, 3}}};

} // namespace

Result<void> checkNumbers(const Command& chosen, const Context& context)
{
    const auto within = [](const QString& text, int low, int high) {
        bool ok = false;
        const int n = text.toInt(&ok);
        return ok && n >= low && n <= high;
    };
    for (const NumberArgument& a : chosen.numbers) {
        const QString text = context.args.value(a.index);
        if (a.index < context.args.size() && !within(text, a.low, a.high))
            return Result<void>::failure(u"„%1“ není číslo od %2 do %3"_s.arg(text).arg(a.low).arg(a.high), kUsageExit);
    }
    for (const auto& [name, range] : kNumberOptions) {
        const QString text = context.parser->value(name);
        if (context.parser->isSet(name) && !within(text, range.first, range.second))
            return Result<void>::failure(
                u"--%1: „%2“ není číslo od %3 do %4"_s.arg(name, text).arg(range.first).arg(range.second), kUsageExit);
    }
    return {};
}

const std::map<QString, Command>& commands()
{
    return kCommands;
}

} // namespace cli
