// SPDX-License-Identifier: MIT
#include "lookups.h"

#include "common/programinfo.h"
#include "season/notation.h"
#include "season/seasonfile.h"
#include "standings/ranking.h"

#include <QRegularExpression>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// One venue's column of the balance, from the standings' own counters.
QStringList column(const TeamStats& s, int venue, int team)
{
    const auto v = [&](Stat stat) { return s(stat, venue, team); };
    const auto n = [](int value) { return QString::number(value); };
    // Quotient first, then the hundred: 87 points of 50 games shows 57, as it always has.
    const int overall = v(Stat::GP) * s.rules().pointsOf(OutcomeClass::A) == 0
                            ? 0
                            : static_cast<int>(std::floor(static_cast<double>(v(Stat::PTS)) /
                                                          (v(Stat::GP) * s.rules().pointsOf(OutcomeClass::A)) * 100));
    const int overtime = std::max(overtimeSuccess(v(Stat::W_OT), v(Stat::T), v(Stat::L_OT), s.rules()), 0);
    return {n(v(Stat::GP)),
            n(v(Stat::W)),
            n(v(Stat::W_OT)),
            n(v(Stat::T)),
            n(v(Stat::L_OT)),
            n(v(Stat::L)),
            n(v(Stat::GF)) + u':' + n(v(Stat::GA)),
            n(v(Stat::PTS)),
            n(overtime) + u" %",
            n(overall) + u" %"};
}

// Round-list entry text up to its dash, trimmed: "12. kolo".
QString roundLabel(int round, const SeasonStore& season)
{
    const QString entry = roundEntryText(round, season.DATUM_KOLA(round));
    return entry.left(entry.indexOf(u'-')).trimmed();
}

// The round date's day and month as the round list shows them: "14.9.".
QString dayAndMonth(const QDate& date)
{
    const QString d = shortDate(date);
    return d.left(d.lastIndexOf(u'.') + 1);
}

} // namespace

std::array<BalanceRow, 10> teamBalance(const SeasonStore& season, int team)
{
    const TeamStats stats = DataProTabulku(season, 1, season.rounds());
    static const QStringList captions = {u"počet utkání:"_s,
                                         u"výher:"_s,
                                         u"výher v prodl.:"_s,
                                         u"remíz:"_s,
                                         u"proher v prodl.:"_s,
                                         u"proher:"_s,
                                         u"skóre:"_s,
                                         u"body:"_s,
                                         u"úspěšnost v prodl.:"_s,
                                         u"úspěšnost celková:"_s};
    const QStringList h = column(stats, venue::Home, team), a = column(stats, venue::Away, team),
                      t = column(stats, venue::Total, team);
    std::array<BalanceRow, 10> rows;
    for (int i = 0; i < 10; ++i)
        rows[static_cast<std::size_t>(i)] = {captions[i], h[i], a[i], t[i]};
    return rows;
}

QStringList teamMatchLines(const SeasonStore& season, int team)
{
    const QString name = season.TymPodleCisla(team);
    const qsizetype roundDigits = std::max<qsizetype>(2, QString::number(season.rounds()).size());
    QStringList lines;
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            if (match.home != team && match.away != team)
                continue;
            const QString date = season.postponed(m, r) ? u"odloženo"_s : dayAndMonth(season.matchDay(m, r));
            const QString pairing = season.TymPodleCisla(match.home) + u" - " + season.TymPodleCisla(match.away);
            // The result column starts at the same place on every line, unless a long name pushes it.
            const qsizetype padding = name.trimmed().size() + 18 - pairing.size();
            lines << QString::number(r).rightJustified(roundDigits) + u". kolo   " + date.leftJustified(9) + pairing +
                         QString(std::max<qsizetype>(padding, match.result.isEmpty() ? 0 : 1), u' ') + match.result;
        }
    }
    return lines;
}

QString matchesPage(const SeasonStore& season, int team, const QStringList& lines, const QDateTime& printed)
{
    return printedPage(season.TymPodleCisla(team).toUpper() + u"  -  " + season.caption, lines, printed);
}

QString printedPage(const QString& title, const QStringList& lines, const QDateTime& printed)
{
    const QString indent(6, u' ');
    QStringList page{QString(), QString(), QString(), title, QString(title.size(), u'='), QString()};
    page << lines << QString()
         << u"vytisknuto "_s + printed.toString(u"dd.MM.yyyy"_s) + u" v " + printed.toString(u"HH:mm"_s)
         << program::homePage.mid(7) + u"   (verze " + program::version + u')';
    for (QString& line : page)
        line.prepend(indent);
    return page.join(u"\r\n"_s);
}

QStringList headToHeadLines(const SeasonStore& season, int first, int second)
{
    if (first == second || first < 1 || second < 1 || first > season.teams() || second > season.teams())
        return {u"nesprávné zadání"_s};
    QStringList lines;
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            if (!((match.home == first && match.away == second) || (match.home == second && match.away == first)))
                continue;
            const QString day = season.postponed(m, r) ? u"odloženo"_s : dayAndMonth(season.matchDay(m, r));
            const QString result = match.result.isEmpty() ? u'(' + day + u')' : match.result;
            lines << roundLabel(r, season).rightJustified(8) + u"  " + season.TymPodleCisla(match.home) + u" - " +
                         season.TymPodleCisla(match.away) + u"  " + result;
        }
    }
    return lines;
}

MissingResults missingResults(const SeasonStore& season, const QDate& today)
{
    MissingResults out;
    for (int r = 1; r <= season.rounds(); ++r) {
        bool header = false;
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            // Missing once its own day is over; a game postponed without a date is not missing yet.
            if (!match.result.isEmpty() || !season.matchDay(m, r).isValid() || !(today > season.matchDay(m, r)))
                continue;
            if (!header)
                out.lines << u">>  "_s + roundLabel(r, season) + u"  <<";
            header = true;
            out.lines << season.TymPodleCisla(match.home) + u" - " + season.TymPodleCisla(match.away);
        }
        if (header) {
            out.rounds.resize(out.lines.size(), r);
            out.lines << QString();
            out.rounds << 0;
        }
    }
    return out;
}

namespace {

// "12.2.2008 18:00  Sparta - Kladno  (21. kolo)", or "odloženo  …" for a game without a day.
QString datedMatchLine(const SeasonStore& season, int slot, int round)
{
    const Match& m = season.match(slot, round);
    const QDate day = season.matchDay(slot, round);
    QString when = day.isValid() ? shortDate(day) : u"odloženo"_s;
    if (const QTime time = season.matchTime(slot, round); time.isValid())
        when += time.toString(u" H:mm"_s);
    return when + u"  "_s + season.TymPodleCisla(m.home) + u" - " + season.TymPodleCisla(m.away) +
           u"  (%1. kolo)"_s.arg(round);
}

} // namespace

QString ownDateText(const SeasonStore& season, int slot, int round)
{
    if (season.postponed(slot, round))
        return u"odloženo"_s;
    const QDate day = season.matchDay(slot, round);
    const QTime time = season.matchTime(slot, round);
    const QString clock = time.isValid() ? time.toString(u"H:mm"_s) : QString();
    if (day != season.DATUM_KOLA(round))
        return QString(u"hraje se "_s + shortDate(day) + u' ' + clock).trimmed();
    return clock.isEmpty() ? QString() : u"výkop "_s + clock;
}

MissingResults nextMatches(const SeasonStore& season, const QDate& today, int days)
{
    QList<std::tuple<QDate, QTime, int, int>> found; // day, kick-off, round, slot
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m)
            if (const QDate day = season.matchDay(m, r);
                day.isValid() && day >= today && day < today.addDays(days) && season.match(m, r).home > 0)
                found.append({day, season.matchTime(m, r), r, m});
    std::sort(found.begin(), found.end());
    MissingResults out;
    for (const auto& [day, time, round, slot] : found)
        out.lines << datedMatchLine(season, slot, round), out.rounds << round;
    return out;
}

MissingResults postponedMatches(const SeasonStore& season)
{
    MissingResults out;
    for (auto it = season.matchDates.begin(); it != season.matchDates.end(); ++it) {
        const auto [round, slot] = it.key();
        if (season.match(slot, round).result.isEmpty() && (it->postponed || it->date.isValid()))
            out.lines << datedMatchLine(season, slot, round), out.rounds << round;
    }
    return out;
}

namespace {
const QRegularExpression calendarEvent(u"^a([0-9]{1,2})=([^=]*)=(.*)$"_s);
}

std::array<CalendarEvent, 10> readCalendar(const QByteArray& bytes)
{
    std::array<CalendarEvent, 10> events;
    for (const QString& line : decodeLines(bytes)) {
        const QRegularExpressionMatch m = calendarEvent.match(line);
        const int k = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (k >= 1 && k <= 10)
            events[static_cast<std::size_t>(k - 1)] = {m.captured(2), m.captured(3)};
    }
    return events;
}

Result<void> checkCalendar(const QByteArray& bytes, const QString& fileName)
{
    const QStringList lines = decodeLines(bytes);
    bool anyEvent = false;
    int lineNo = 0;
    for (const QString& line : lines) {
        ++lineNo;
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const QRegularExpressionMatch m = calendarEvent.match(line);
        const int k = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (k < 1 || k > 10)
            return Result<void>::failure(
                u"Soubor „%1“, řádek %2: není to akce kalendáře (a1= až a10=)."_s.arg(fileName).arg(lineNo));
        anyEvent = true;
    }
    if (!anyEvent)
        return Result<void>::failure(u"Soubor „%1“ neobsahuje žádnou akci kalendáře."_s.arg(fileName));
    return {};
}

QString calendarFileName(const QString& season)
{
    return u"kalendar_"_s + season.mid(season.size() - 7, 2) + season.right(2) + u".dat";
}

ViewTable balanceView(const SeasonStore& season, int team)
{
    ViewTable v{viewCaption(season, u"dosavadní bilance – "_s + season.TymPodleCisla(team)),
                {QString(), u"doma"_s, u"venku"_s, u"celkem"_s},
                {}};
    for (const BalanceRow& r : teamBalance(season, team))
        v.rows.append({r.caption, r.home, r.away, r.total});
    return v;
}

ViewTable matchesView(const SeasonStore& season, int team)
{
    return oneColumnView(viewCaption(season, u"zápasy – "_s + season.TymPodleCisla(team)), u"zápas"_s,
                         teamMatchLines(season, team));
}

ViewTable headToHeadView(const SeasonStore& season, int first, int second)
{
    // An empty team box is a choice the user can make; it names no team.
    const auto name = [&](int team) {
        return team >= 1 && team <= season.teams() ? season.TymPodleCisla(team) : QString();
    };
    const QString pair = name(first) + u" a " + name(second);
    return oneColumnView(viewCaption(season, u"vzájemné zápasy – "_s + pair), u"zápas"_s,
                         headToHeadLines(season, first, second));
}

ViewTable missingView(const SeasonStore& season, const QDate& today)
{
    return oneColumnView(viewCaption(season, u"chybějící výsledky"_s), u"zápas"_s, missingResults(season, today).lines);
}

ViewTable calendarView(const SeasonStore& season, const std::array<CalendarEvent, 10>& events)
{
    ViewTable v{viewCaption(season, calendarCaption(season.season).toLower()), {u"termín"_s, u"akce"_s}, {}};
    for (const CalendarEvent& e : events)
        if (e.announced())
            v.rows.append({e.dates, e.name});
    return v;
}
