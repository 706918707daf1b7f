// SPDX-License-Identifier: MIT
#include "formats.h"

#include "common/programinfo.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isNumber(const QString& text)
{
    static const QRegularExpression number(u"^[+-]?\\d+([.,]\\d+)?$"_s);
    return number.match(text).hasMatch();
}

QString csvField(QString text)
{
    // A spreadsheet runs a cell that starts so as a formula: a team named "=HYPERLINK(…)" stays a name.
    static const QString formulaStarts = u"=+-@\t\r"_s;
    if (!text.isEmpty() && formulaStarts.contains(text.front()) && !isNumber(text))
        text.prepend(u'\'');
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', u"\"\""_s) + u'"';
}

QString htmlCell(const QString& tag, const QString& text)
{
    QString shown = text.toHtmlEscaped();
    while (shown.endsWith(u"\r\n"))
        shown.chop(2); // an unplayed later meeting
    return u'<' + tag + u'>' + shown.replace(u"\r\n"_s, u"<br>"_s) + u"</" + tag + u'>';
}

// TEXT of RFC 5545: backslash, semicolon, comma and line breaks escaped.
QString icsText(QString text)
{
    return text.replace(u'\\', u"\\\\"_s)
        .replace(u';', u"\\;"_s)
        .replace(u',', u"\\,"_s)
        .replace(u"\r\n"_s, u"\\n"_s)
        .replace(u'\n', u"\\n"_s);
}

// A content line folded after 75 octets, never inside a UTF-8 sequence; continuation lines start with a blank.
QByteArray folded(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    QByteArray out;
    qsizetype start = 0, limit = 75;
    while (bytes.size() - start > limit) {
        qsizetype cut = start + limit;
        while ((static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) // a continuation byte
            --cut;
        out += bytes.mid(start, cut - start) + "\r\n ";
        start = cut;
        limit = 74; // the leading blank counts
    }
    return out + bytes.mid(start) + "\r\n";
}

} // namespace

QByteArray toCsv(const ViewTable& view)
{
    QByteArray out = "\xEF\xBB\xBF";
    for (const QStringList& row : QList<QStringList>{view.header} + view.rows) {
        QStringList fields;
        for (const QString& f : row)
            fields << csvField(f);
        out += fields.join(u';').toUtf8() + "\r\n";
    }
    return out;
}

QByteArray toHtml(const ViewTable& view)
{
    QString page = u"<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n<title>"_s +
                   view.caption.toHtmlEscaped() +
                   u"</title>\n<style>\n"
                   "body { font-family: sans-serif; margin: 2em; }\n"
                   "table { border-collapse: collapse; }\n"
                   "th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; white-space: pre; }\n"
                   "th { background: #eee; }\n"
                   "tr:nth-child(even) td { background: #f7f7f7; }\n"
                   "@media print { body { margin: 0; } }\n"
                   "</style>\n</head>\n<body>\n<h1>"_s +
                   view.caption.toHtmlEscaped() + u"</h1>\n<table>\n<tr>";
    for (const QString& h : view.header)
        page += htmlCell(u"th"_s, h);
    page += u"</tr>\n"_s;
    for (const QStringList& row : view.rows) {
        page += u"<tr>"_s;
        for (const QString& f : row)
            page += htmlCell(u"td"_s, f);
        page += u"</tr>\n"_s;
    }
    return (page + u"</table>\n</body>\n</html>\n"_s).toUtf8();
}

namespace {

// A game with its breaks, as a calendar blocks it.
constexpr qint64 kGameSeconds = 2 * 3600 + 30 * 60;

// Central European time with its summer time, as every calendar program knows it.
QStringList pragueZone()
{
    return {u"BEGIN:VTIMEZONE"_s,
            u"TZID:Europe/Prague"_s,
            u"BEGIN:DAYLIGHT"_s,
            u"TZOFFSETFROM:+0100"_s,
            u"TZOFFSETTO:+0200"_s,
            u"TZNAME:CEST"_s,
            u"DTSTART:19700329T020000"_s,
            u"RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"_s,
            u"END:DAYLIGHT"_s,
            u"BEGIN:STANDARD"_s,
            u"TZOFFSETFROM:+0200"_s,
            u"TZOFFSETTO:+0100"_s,
            u"TZNAME:CET"_s,
            u"DTSTART:19701025T030000"_s,
            u"RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU"_s,
            u"END:STANDARD"_s,
            u"END:VTIMEZONE"_s};
}

} // namespace

namespace {

// A game from its kick-off in Prague's time for as long as a game lasts, or all day where no time is known.
QByteArray eventTimes(const QDate& day, const QTime& time)
{
    if (!time.isValid())
        return folded(u"DTSTART;VALUE=DATE:"_s + day.toString(u"yyyyMMdd"_s)) +
               folded(u"DTEND;VALUE=DATE:"_s + day.addDays(1).toString(u"yyyyMMdd"_s));
    const QDateTime start(day, time), end = start.addSecs(kGameSeconds);
    return folded(u"DTSTART;TZID=Europe/Prague:"_s + start.toString(u"yyyyMMdd'T'HHmmss"_s)) +
           folded(u"DTEND;TZID=Europe/Prague:"_s + end.toString(u"yyyyMMdd'T'HHmmss"_s));
}

} // namespace

QByteArray toICalendar(const SeasonStore& season, const QString& leagueFile, int team, const QDateTime& stamp,
                       const QList<CalendarGame>& more)
{
    const QString dtstamp = stamp.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'"_s);
    const QString uidBase = QFileInfo(leagueFile).completeBaseName();
    QByteArray out = folded(u"BEGIN:VCALENDAR"_s) + folded(u"VERSION:2.0"_s) +
                     folded(u"PRODID:-//Rinkomat//Rinkomat "_s + program::version + u"//CS") +
                     folded(u"CALSCALE:GREGORIAN"_s) + folded(u"METHOD:PUBLISH"_s) +
                     folded(u"X-WR-CALNAME:"_s + icsText(season.caption));
    // A timed event names its zone, which the calendar then defines.
    if (!season.matchDates.isEmpty() ||
        std::any_of(more.begin(), more.end(), [](const CalendarGame& g) { return g.time.isValid(); }))
        for (const QString& line : pragueZone())
            out += folded(line);
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            const QDate day = season.matchDay(m, r);
            if ((team != 0 && match.home != team && match.away != team) || !day.isValid())
                continue; // a game postponed without a date has no place in a calendar yet
            QString summary = season.TymPodleCisla(match.home) + u" - " + season.TymPodleCisla(match.away);
            if (!match.result.isEmpty())
                summary += u"  "_s + match.result;
            out += folded(u"BEGIN:VEVENT"_s);
            out += folded(u"UID:%1-%2-%3@rinkomat"_s.arg(uidBase).arg(r).arg(m));
            out += folded(u"DTSTAMP:"_s + dtstamp);
            out += eventTimes(day, season.matchTime(m, r));
            out += folded(u"SUMMARY:"_s + icsText(summary));
            out += folded(u"DESCRIPTION:"_s + icsText(u"%1. kolo\n"_s.arg(r) + season.caption));
            out += folded(u"END:VEVENT"_s);
        }
    }
    for (const CalendarGame& g : more) {
        out += folded(u"BEGIN:VEVENT"_s);
        out += folded(u"UID:%1-%2@rinkomat"_s.arg(uidBase, g.uid));
        out += folded(u"DTSTAMP:"_s + dtstamp);
        out += eventTimes(g.day, g.time);
        out += folded(u"SUMMARY:"_s + icsText(g.summary));
        if (!g.category.isEmpty())
            out += folded(u"CATEGORIES:"_s + icsText(g.category));
        out += folded(u"DESCRIPTION:"_s + icsText(g.description));
        out += folded(u"END:VEVENT"_s);
    }
    return out + folded(u"END:VCALENDAR"_s);
}
