// SPDX-License-Identifier: MIT
// A calendar (.ics) of fixtures: one event a match, its teams in the summary, its result there or in the
// description.
#include "importreaders.h"

#include <QRegularExpression>
#include <QStringView>
#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kMaxCalendarLine = 10000;
constexpr int kMaxParameters = 100;

// The parser's time grows with the square of one property's parameters: what no calendar needs is refused
// before it sees it.
QString tooMuchForParser(const QString& unfolded)
{
    qsizetype i = 0;
    for (QStringView line : QStringView(unfolded).split(u'\n')) {
        if (++i, line.size() > kMaxCalendarLine)
            return u"vlastnost č. %1 je delší než 10 000 znaků"_s.arg(i);
        int parameters = 0;
        bool quoted = false;
        for (const QChar c : line) {
            if (c == u'"')
                quoted = !quoted;
            else if (c == u':' && !quoted)
                break;
            else if (c == u';' && !quoted && ++parameters > kMaxParameters)
                return u"vlastnost č. %1 má víc než 100 parametrů"_s.arg(i);
        }
    }
    return {};
}

// "Výsledek: 3:2 pp", "Final score 3-2 (OT)": a description's line that holds the result.
std::optional<MatchTail> resultInDescription(const QString& description)
{
    static const QRegularExpression label(u"^[^\\d:]{0,30}:\\s*"_s);
    for (const QString& line : description.split(u'\n')) {
        QString text = line.simplified();
        text.remove(label);
        if (const Result<MatchTail> tail = readScoreText(text); tail.ok() && !tail.value().result.isEmpty())
            return tail.value();
    }
    return std::nullopt;
}

struct EventReader {
    const QString& name;
    ImportSource source;
    int event = 0;

    Result<void> failure(const QString& why) const
    {
        return Result<void>::failure(u"%1, událost %2: %3"_s.arg(name).arg(event).arg(why));
    }

    QString stageOf(icalcomponent* c) const
    {
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY))
            if (const QString text = QString::fromUtf8(icalproperty_get_categories(p));
                text.contains(u"play-off"_s, Qt::CaseInsensitive) || text.contains(u"playoff"_s, Qt::CaseInsensitive))
                return text;
        return {};
    }

    Result<void> when(icalcomponent* c, ImportLine& line) const
    {
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY))
            return failure(
                u"vlastnost nelze přečíst (%1)"_s.arg(QString::fromUtf8(icalproperty_get_xlicerror(p)).left(80)));
        if (!icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY))
            return {};
        const icaltimetype start = icalcomponent_get_dtstart(c);
        line.date = QDate(start.year, start.month, start.day);
        if (icaltime_is_null_time(start) || !line.date.isValid())
            return failure(u"začátek (DTSTART) není platné datum"_s);
        if (!start.is_date) {
            QDateTime at(line.date, QTime(start.hour, start.minute));
            if (icaltime_is_utc(start)) // a match late in the evening is on the local day
                at = QDateTime(line.date, at.time(), Qt::UTC).toTimeZone(QTimeZone("Europe/Prague"));
            line.date = at.date(), line.time = at.time();
        }
        return {};
    }

    Result<void> take(icalcomponent* c)
    {
        ++event;
        const char* summary = icalcomponent_get_summary(c);
        const QString text = QString::fromUtf8(summary ? summary : "").simplified();
        const Result<std::optional<TextMatch>> m = textMatch(text);
        if (!m.ok())
            return failure(m.error());
        if (!m.value())
            return failure(u"„%1“ nejsou dva týmy (Domácí - Hosté)"_s.arg(text.left(60)));
        ImportLine line{event, {}, 0, m.value()->home, m.value()->away, m.value()->tail.result};
        line.postponed = m.value()->tail.postponed || icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED;
        if (const char* description = icalcomponent_get_description(c); description && line.result.isEmpty())
            if (const std::optional<MatchTail> tail = resultInDescription(QString::fromUtf8(description)))
                line.result = tail->result;
        line.stage = stageOf(c);
        if (Result<void> dated = when(c, line); !dated.ok())
            return dated;
        source.lines.append(line);
        return {};
    }

    // Events wherever they stand: in the calendar, or inside a component the reader does not know.
    Result<void> walk(icalcomponent* c)
    {
        if (icalcomponent_isa(c) == ICAL_VEVENT_COMPONENT)
            return take(c);
        for (icalcomponent* inner = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); inner;
             inner = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
            if (Result<void> r = walk(inner); !r.ok())
                return r;
        return {};
    }
};

} // namespace

Result<ImportSource> readCalendar(const QString& text, const QString& name)
{
    static const QRegularExpression fold(u"\\r?\\n[ \\t]"_s);
    QString unfolded = text;
    unfolded.remove(fold).remove(u'\r');
    if (const QString fault = tooMuchForParser(unfolded); !fault.isEmpty())
        return refuseSource(name, 0, u"kalendář nelze přečíst: "_s + fault);
    // Each component of each calendar (two calendars one after the other are both read) parsed on its own:
    // the parser holds one event at a time, not the tree of a whole season.
    EventReader reader{name, {}, 0};
    reader.source.events = true;
    int depth = 0;
    qsizetype start = 0, at = 0;
    for (QStringView line : QStringView(unfolded).split(u'\n')) {
        const qsizetype next = at + line.size() + 1;
        if (line.startsWith(u"BEGIN:"_s, Qt::CaseInsensitive) && depth++ == 1)
            start = at;
        else if (line.startsWith(u"END:"_s, Qt::CaseInsensitive) && depth > 0 && --depth == 1) {
            const QByteArray block = QStringView(unfolded).mid(start, next - start).toUtf8();
            const std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> component(
                icalparser_parse_string(block.constData()), icalcomponent_free);
            if (!component)
                return refuseSource(name, reader.event + 1, u"událost nelze přečíst"_s, u"událost"_s);
            if (Result<void> r = reader.walk(component.get()); !r.ok())
                return Result<ImportSource>::failureOf(r);
        }
        at = next;
    }
    return reader.source;
}
