// SPDX-License-Identifier: MIT
#include "importsource.h"

#include "season/leaguefiles.h"

#include "season/newleague.h"
#include "season/notation.h"
#include "season/seasonfile.h"
#include "season/seasonstore.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

Result<ImportSource> refuse(const QString& name, int line, const QString& why)
{
    return Result<ImportSource>::failure(line > 0 ? u"%1, řádek %2: %3"_s.arg(name).arg(line).arg(why)
                                                  : u"%1: %2"_s.arg(name, why));
}

QString quoted(const QString& text)
{
    return u"„"_s + text.left(40) + u"“"_s;
}

// "Sparta – Kladno 5:4 pp": the teams and what follows them; a leading date and time are the line's date.
struct TextMatch {
    QDate date;
    QString home, away, result;
};
std::optional<TextMatch> textMatch(const QString& text, bool scoreRequired)
{
    static const QRegularExpression pair(u"\\s+(?:-|–|—|vs\\.?|v\\.)\\s+|\\s*[–—]\\s*"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression score(
        u"(?<![\\d:.])(\\d{1,2})\\s*[:-]\\s*(\\d{1,2})(?![\\d:.])(?:\\s*(pp|p|ot|sn|so|n)\\b\\.?)?"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression lead(
        u"^(\\d{1,2}\\.\\s?\\d{1,2}\\.\\s?(?:\\d{4})?|\\d{4}-\\d{2}-\\d{2}|\\d{1,2}/\\d{1,2}/\\d{2,4})?\\s*(?:\\d{1,2}:\\d{2}\\s+)?"_s);
    const QRegularExpressionMatch split = pair.match(text);
    if (!split.hasMatch())
        return std::nullopt;
    TextMatch m;
    QString left = text.left(split.capturedStart()).trimmed();
    const QRegularExpressionMatch leading = lead.match(left);
    if (!leading.captured(1).isEmpty()) {
        QString day = leading.captured(1).remove(u' ');
        static const QRegularExpression noYear(u"^\\d{1,2}\\.\\d{1,2}\\.$"_s);
        if (!noYear.match(day).hasMatch())
            m.date = parseImportDate(day);
    }
    m.home = left.mid(leading.capturedLength()).trimmed();
    const QString right = text.mid(split.capturedEnd());
    const QRegularExpressionMatch goals = score.match(right);
    if (goals.hasMatch()) {
        m.away = right.left(goals.capturedStart()).trimmed();
        m.result = parseScore(goals.captured(0)).value_or(QString());
    } else {
        m.away = right.trimmed();
    }
    if (m.home.isEmpty() || m.away.isEmpty() || (scoreRequired && m.result.isEmpty()))
        return std::nullopt;
    return m;
}

// Fields of a CSV line: quotes around a field keep its separators, "" inside them is one quote.
QStringList csvFields(const QString& line, QChar separator)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"' && quoted && i + 1 < line.size() && line[i + 1] == u'"')
            fields.last() += c, ++i;
        else if (c == u'"')
            quoted = !quoted;
        else if (c == separator && !quoted)
            fields.append(QString());
        else
            fields.last() += c;
    }
    for (QString& f : fields)
        f = f.trimmed();
    return fields;
}

enum Column { Date, Round, Home, Away, Score, HomeGoals, AwayGoals, Extra, Columns };

// The column a header names, in Czech or English; -1 for any other.
int headerColumn(const QString& header)
{
    static const QList<QStringList> names{{u"datum"_s, u"date"_s, u"den"_s},
                                          {u"kolo"_s, u"round"_s},
                                          {u"domaci"_s, u"home"_s, u"hometeam"_s, u"domacitym"_s},
                                          {u"hoste"_s, u"away"_s, u"awayteam"_s, u"hostujici"_s, u"hostetym"_s},
                                          {u"vysledek"_s, u"score"_s, u"result"_s, u"skore"_s},
                                          {u"fthg"_s, u"hg"_s, u"homegoals"_s, u"golydomacich"_s},
                                          {u"ftag"_s, u"ag"_s, u"awaygoals"_s, u"golyhostu"_s},
                                          {u"prodlouzeni"_s, u"pozn"_s, u"poznamka"_s, u"note"_s, u"ot"_s, u"extra"_s}};
    const QString folded = plainLetters(header);
    for (qsizetype c = 0; c < names.size(); ++c)
        if (names[c].contains(folded))
            return static_cast<int>(c);
    return -1;
}

bool isNumber(const QString& text)
{
    static const QRegularExpression digits(u"^\\d{1,3}$"_s);
    return digits.match(text).hasMatch();
}

// Columns of a CSV without a header, told by the first line's contents: a date, a score, numbers, and
// the first two texts as home and away.
std::array<int, Columns> guessColumns(const QStringList& first)
{
    std::array<int, Columns> at;
    at.fill(-1);
    QList<int> numbers;
    for (int i = 0; i < first.size(); ++i) {
        const QString& f = first[i];
        if (f.isEmpty())
            continue;
        if (at[Date] < 0 && parseImportDate(f).isValid())
            at[Date] = i;
        else if (at[Score] < 0 && !isNumber(f) && parseScore(f))
            at[Score] = i;
        else if (isNumber(f))
            numbers.append(i);
        else if (at[Home] < 0)
            at[Home] = i;
        else if (at[Away] < 0)
            at[Away] = i;
    }
    for (int i : numbers) {
        if (i < at[Home] && at[Round] < 0)
            at[Round] = i;
        else if (i > at[Away] && at[Score] < 0 && at[HomeGoals] < 0)
            at[HomeGoals] = i;
        else if (i > at[Away] && at[Score] < 0 && at[AwayGoals] < 0)
            at[AwayGoals] = i;
    }
    if (at[AwayGoals] < 0)
        at[HomeGoals] = -1;
    return at;
}

// The separator that parts the first lines into the most fields, three at least; none for plain text.
std::optional<QChar> csvSeparator(const QStringList& lines)
{
    std::optional<QChar> best;
    qsizetype bestCount = 2;
    for (QChar separator : {u';', u'\t', u','}) {
        qsizetype fewest = std::numeric_limits<qsizetype>::max();
        for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), 5); ++i)
            fewest = std::min(fewest, csvFields(lines[i], separator).size());
        if (fewest > bestCount)
            best = separator, bestCount = fewest;
    }
    return best;
}

Result<ImportSource> readCsv(const QStringList& lines, const QList<int>& numbers, QChar separator, const QString& name)
{
    std::array<int, Columns> at;
    at.fill(-1);
    const QStringList first = csvFields(lines[0], separator);
    int recognised = 0;
    for (int i = 0; i < first.size(); ++i)
        if (const int c = headerColumn(first[i]); c >= 0 && at[c] < 0)
            at[c] = i, ++recognised;
    const bool header = recognised >= 2;
    if (!header)
        at = guessColumns(first);
    if (at[Home] < 0 || at[Away] < 0)
        return refuse(
            name, numbers[0],
            header ? u"v záhlaví chybí sloupec domácích nebo hostů (domácí/home, hosté/away)"_s
                   : u"sloupce nelze rozpoznat; dejte na první řádek záhlaví (datum, kolo, domácí, hosté, výsledek)"_s);
    ImportSource source;
    source.hasRounds = at[Round] >= 0;
    for (qsizetype i = header ? 1 : 0; i < lines.size(); ++i) {
        const QStringList f = csvFields(lines[i], separator);
        const auto cell = [&](Column c) { return at[c] >= 0 ? f.value(at[c]) : QString(); };
        const int n = numbers[i];
        if (cell(Home).isEmpty() && cell(Away).isEmpty())
            continue; // a spreadsheet's empty row
        ImportLine line{n, {}, 0, cell(Home), cell(Away), {}};
        if (line.home.isEmpty() || line.away.isEmpty())
            return refuse(name, n, u"chybí domácí nebo hosté"_s);
        if (!cell(Date).isEmpty()) {
            line.date = parseImportDate(cell(Date));
            if (!line.date.isValid())
                return refuse(
                    name, n,
                    u"datum %1 nelze přečíst (D.M.RRRR, RRRR-MM-DD nebo DD/MM/RRRR)"_s.arg(quoted(cell(Date))));
        }
        if (source.hasRounds) {
            bool ok = false;
            line.round = cell(Round).toInt(&ok);
            if (!ok || line.round < 1 || line.round > kMaxRounds)
                return refuse(name, n, u"kolo %1 není číslo od 1 do %2"_s.arg(quoted(cell(Round))).arg(kMaxRounds));
        }
        QString score = cell(Score);
        if (at[HomeGoals] >= 0 && !cell(HomeGoals).isEmpty())
            score = cell(HomeGoals) + u':' + cell(AwayGoals);
        if (!score.isEmpty() && score != u"-" && score != u"–") {
            const std::optional<QString> result = parseScore(score + u' ' + cell(Extra));
            if (!result)
                return refuse(name, n, u"výsledek %1 nelze přečíst (např. 5:4, 3:2 pp, 2:1 sn)"_s.arg(quoted(score)));
            line.result = *result;
        }
        source.lines.append(line);
    }
    return source;
}

Result<ImportSource> readText(const QStringList& lines, const QList<int>& numbers)
{
    static const QRegularExpression dayLine(u"(\\d{1,2})\\.\\s?(\\d{1,2})\\.\\s?(\\d{4})\\s*$"_s);
    ImportSource source;
    QDate day;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const std::optional<TextMatch> m = textMatch(lines[i], true)) {
            source.lines.append({numbers[i], m->date.isValid() ? m->date : day, 0, m->home, m->away, m->result});
        } else if (const QRegularExpressionMatch d = dayLine.match(lines[i]); d.hasMatch() && lines[i].size() < 40) {
            day = QDate(d.captured(3).toInt(), d.captured(2).toInt(), d.captured(1).toInt()); // "Pátek 14.3.2008"
        } else {
            ++source.skipped;
        }
    }
    return source;
}

Result<ImportSource> readCalendar(const QByteArray& bytes, const QString& name)
{
    const std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> root(
        icalparser_parse_string(QByteArray(bytes).append('\0').constData()), icalcomponent_free);
    if (!root)
        return refuse(name, 0, u"kalendář nelze přečíst"_s);
    ImportSource source;
    int event = 0;
    const auto take = [&](icalcomponent* c) -> Result<void> {
        ++event;
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY))
            if (QString::fromUtf8(icalproperty_get_categories(p)).contains(u"play-off"_s, Qt::CaseInsensitive))
                return {}; // a series game is no fixture of the regular season
        const icaltimetype start = icalcomponent_get_dtstart(c);
        const char* summary = icalcomponent_get_summary(c);
        const QString text = QString::fromUtf8(summary ? summary : "").simplified();
        const std::optional<TextMatch> m = textMatch(text, false);
        if (!m)
            return Result<void>::failure(
                u"%1, událost %2: „%3“ nejsou dva týmy (Domácí - Hosté)"_s.arg(name).arg(event).arg(text.left(60)));
        QDate date;
        if (!icaltime_is_null_time(start)) {
            date = QDate(start.year, start.month, start.day);
            if (!start.is_date && icaltime_is_utc(start)) // a match late in the evening is on the local day
                date = QDateTime(date, QTime(start.hour, start.minute), Qt::UTC)
                           .toTimeZone(QTimeZone("Europe/Prague"))
                           .date();
        }
        source.lines.append({event, date, 0, m->home, m->away, m->result});
        return {};
    };
    if (icalcomponent_isa(root.get()) == ICAL_VEVENT_COMPONENT) {
        if (Result<void> r = take(root.get()); !r.ok())
            return Result<ImportSource>::failureOf(r);
    }
    for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT))
        if (Result<void> r = take(c); !r.ok())
            return Result<ImportSource>::failureOf(r);
    return source;
}

// A date no league can hold ("1.1.999") would make a league its own reader refuses.
Result<ImportSource> withSeasonDates(Result<ImportSource> read, const QString& name, const QString& where)
{
    if (read.ok())
        for (const ImportLine& line : read.value().lines)
            if (line.date.isValid() && !isSeasonDate(line.date))
                return Result<ImportSource>::failure(
                    u"%1, %2 %3: %4"_s.arg(name, where).arg(line.line).arg(seasonDateProblem(line.date)));
    return read;
}

} // namespace

std::optional<QString> parseScore(const QString& text)
{
    static const QRegularExpression form(u"^(\\d{1,2})\\s*[:-]\\s*(\\d{1,2})\\s*(pp|p|ot|sn|so|n)?\\.?$"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString extra = m.captured(3).toLower();
    const QString suffix = extra.isEmpty()                                     ? QString()
                           : extra == u"sn" || extra == u"so" || extra == u"n" ? u"n"_s
                                                                               : u"p"_s;
    return normaliseResult(u"%1:%2%3"_s.arg(m.captured(1).toInt()).arg(m.captured(2).toInt()).arg(suffix));
}

QDate parseImportDate(const QString& text)
{
    static const QRegularExpression iso(u"^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ].*)?$"_s);
    static const QRegularExpression slashed(u"^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})(?: .*)?$"_s);
    const QString t = text.trimmed();
    if (const QRegularExpressionMatch m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (const QRegularExpressionMatch m = slashed.match(t); m.hasMatch()) {
        const int year = m.captured(3).toInt();
        return QDate(year < 100 ? 2000 + year : year, m.captured(2).toInt(), m.captured(1).toInt());
    }
    return parseShortDate(QString(t).remove(u' ').section(u' ', 0, 0));
}

Result<ImportSource> readImportSource(const QByteArray& bytes, const QString& name)
{
    if (bytes.size() > kMaxImportBytes)
        return refuse(name, 0, u"soubor je větší než 10 MB, takový seznam zápasů to není"_s);
    if (bytes.trimmed().isEmpty())
        return refuse(name, 0, u"soubor je prázdný"_s);
    if (bytes.left(64 * 1024).contains('\0'))
        return refuse(name, 0, u"soubor není text (obsahuje binární data)"_s);
    const QString text = decodeText(bytes);
    if (text.trimmed().startsWith(u"BEGIN:VCALENDAR"_s, Qt::CaseInsensitive) ||
        text.trimmed().startsWith(u"\uFEFFBEGIN:VCALENDAR"_s, Qt::CaseInsensitive))
        return withSeasonDates(readCalendar(text.toUtf8(), name), name, u"událost"_s);
    QStringList lines;
    QList<int> numbers;
    const QStringList all = text.split(u'\n');
    for (qsizetype i = 0; i < all.size(); ++i) {
        QString line = all[i].trimmed();
        if (i == 0 && line.startsWith(u'\uFEFF'))
            line.remove(0, 1);
        if (std::any_of(line.begin(), line.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control && c != u'\t'; }))
            return refuse(name, static_cast<int>(i + 1), u"řádek obsahuje řídicí znaky, soubor není text"_s);
        if (!line.isEmpty())
            lines << line, numbers << static_cast<int>(i + 1);
    }
    const std::optional<QChar> separator = csvSeparator(lines);
    Result<ImportSource> read =
        separator && (!textMatch(lines[0], true) || headerColumn(csvFields(lines[0], *separator).value(0)) >= 0)
            ? readCsv(lines, numbers, *separator, name)
            : readText(lines, numbers);
    if (read.ok() && read.value().lines.isEmpty())
        return refuse(name, 0, u"není v něm žádný zápas (dva týmy a výsledek na řádku)"_s);
    return withSeasonDates(std::move(read), name, u"řádek"_s);
}
