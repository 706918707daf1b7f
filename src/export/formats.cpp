// SPDX-License-Identifier: MIT
#include "formats.h"

#include "common/programinfo.h"

#include <QFileInfo>

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', u"\"\""_qs) + u'"';
}

QString htmlCell(const QString& tag, const QString& text)
{
    QString shown = text.toHtmlEscaped();
    while (shown.endsWith(u"\r\n"))
        shown.chop(2); // an unplayed later meeting
    return u'<' + tag + u'>' + shown.replace(u"\r\n"_qs, u"<br>"_qs) + u"</" + tag + u'>';
}

// TEXT of RFC 5545: backslash, semicolon, comma and line breaks escaped.
QString icsText(QString text)
{
    return text.replace(u'\\', u"\\\\"_qs)
        .replace(u';', u"\\;"_qs)
        .replace(u',', u"\\,"_qs)
        .replace(u"\r\n"_qs, u"\\n"_qs)
        .replace(u'\n', u"\\n"_qs);
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
    QString page = u"<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n<title>"_qs +
                   view.caption.toHtmlEscaped() +
                   u"</title>\n<style>\n"
                   "body { font-family: sans-serif; margin: 2em; }\n"
                   "table { border-collapse: collapse; }\n"
                   "th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; white-space: pre; }\n"
                   "th { background: #eee; }\n"
                   "tr:nth-child(even) td { background: #f7f7f7; }\n"
                   "@media print { body { margin: 0; } }\n"
                   "</style>\n</head>\n<body>\n<h1>"_qs +
                   view.caption.toHtmlEscaped() + u"</h1>\n<table>\n<tr>";
    for (const QString& h : view.header)
        page += htmlCell(u"th"_qs, h);
    page += u"</tr>\n"_qs;
    for (const QStringList& row : view.rows) {
        page += u"<tr>"_qs;
        for (const QString& f : row)
            page += htmlCell(u"td"_qs, f);
        page += u"</tr>\n"_qs;
    }
    return (page + u"</table>\n</body>\n</html>\n"_qs).toUtf8();
}

QByteArray toICalendar(const SeasonStore& season, const QString& leagueFile, int team, const QDateTime& stamp)
{
    const QString dtstamp = stamp.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'"_qs);
    const QString uidBase = QFileInfo(leagueFile).completeBaseName();
    QByteArray out = folded(u"BEGIN:VCALENDAR"_qs) + folded(u"VERSION:2.0"_qs) +
                     folded(u"PRODID:-//Rinkomat//Rinkomat "_qs + program::version + u"//CS") +
                     folded(u"CALSCALE:GREGORIAN"_qs) + folded(u"METHOD:PUBLISH"_qs) +
                     folded(u"X-WR-CALNAME:"_qs + icsText(season.caption));
    for (int r = 1; r <= kRounds; ++r) {
        const QDate day = season.DATUM_KOLA(r);
        for (int m = 1; m <= kSlots; ++m) {
            const Match& match = season.match(m, r);
            if (team != 0 && match.home != team && match.away != team)
                continue;
            QString summary = season.TymPodleCisla(match.home) + u" - " + season.TymPodleCisla(match.away);
            if (!match.result.isEmpty())
                summary += u"  "_qs + match.result;
            out += folded(u"BEGIN:VEVENT"_qs);
            out += folded(u"UID:%1-%2-%3@rinkomat"_qs.arg(uidBase).arg(r).arg(m));
            out += folded(u"DTSTAMP:"_qs + dtstamp);
            out += folded(u"DTSTART;VALUE=DATE:"_qs + day.toString(u"yyyyMMdd"_qs));
            out += folded(u"DTEND;VALUE=DATE:"_qs + day.addDays(1).toString(u"yyyyMMdd"_qs));
            out += folded(u"SUMMARY:"_qs + icsText(summary));
            out += folded(u"DESCRIPTION:"_qs + icsText(u"%1. kolo\n"_qs.arg(r) + season.caption));
            out += folded(u"END:VEVENT"_qs);
        }
    }
    return out + folded(u"END:VCALENDAR"_qs);
}
