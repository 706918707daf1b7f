// SPDX-License-Identifier: MIT
#include "importfields.h"

#include "season/newleague.h"
#include "season/notation.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

int monthOf(const QString& folded)
{
    static const QList<QStringList> months{{u"jan"_s, u"january"_s, u"leden"_s, u"ledna"_s},
                                           {u"feb"_s, u"february"_s, u"unor"_s, u"unora"_s},
                                           {u"mar"_s, u"march"_s, u"brezen"_s, u"brezna"_s},
                                           {u"apr"_s, u"april"_s, u"duben"_s, u"dubna"_s},
                                           {u"may"_s, u"kveten"_s, u"kvetna"_s},
                                           {u"jun"_s, u"june"_s, u"cerven"_s, u"cervna"_s},
                                           {u"jul"_s, u"july"_s, u"cervenec"_s, u"cervence"_s},
                                           {u"aug"_s, u"august"_s, u"srpen"_s, u"srpna"_s},
                                           {u"sep"_s, u"sept"_s, u"september"_s, u"zari"_s},
                                           {u"oct"_s, u"october"_s, u"rijen"_s, u"rijna"_s},
                                           {u"nov"_s, u"november"_s, u"listopad"_s, u"listopadu"_s},
                                           {u"dec"_s, u"december"_s, u"prosinec"_s, u"prosince"_s}};
    for (qsizetype m = 0; m < months.size(); ++m)
        if (months[m].contains(folded))
            return static_cast<int>(m) + 1;
    return 0;
}

bool isWeekday(const QString& folded)
{
    static const QSet<QString> days{
        u"po"_s,       u"ut"_s,     u"st"_s,       u"ct"_s,     u"pa"_s,     u"so"_s,     u"ne"_s,      u"pondeli"_s,
        u"utery"_s,    u"streda"_s, u"ctvrtek"_s,  u"patek"_s,  u"sobota"_s, u"nedele"_s, u"mon"_s,     u"tue"_s,
        u"wed"_s,      u"thu"_s,    u"fri"_s,      u"sat"_s,    u"sun"_s,    u"monday"_s, u"tuesday"_s, u"wednesday"_s,
        u"thursday"_s, u"friday"_s, u"saturday"_s, u"sunday"_s, u"tues"_s,   u"thur"_s};
    return days.contains(folded);
}

// The date and year as given; an invalid date when the day does not exist in it.
ImportDate dated(int year, int month, int day, const QString& yearText)
{
    ImportDate d;
    d.year = yearText.isEmpty() ? YearGiven::None : yearText.size() <= 2 ? YearGiven::TwoDigits : YearGiven::Full;
    const int y = d.year == YearGiven::None ? 2000 : d.year == YearGiven::TwoDigits ? 2000 + year : year;
    d.date = QDate(y, month, day);
    return d;
}

std::optional<ImportDate> numericDate(const QString& t)
{
    static const QRegularExpression iso(
        u"^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ]\\s*(\\d{1,2}):(\\d{2})(?::\\d{2})?(?:Z|[+-]\\d{2}:?\\d{2})?)?$"_s);
    static const QRegularExpression dotted(
        u"^(\\d{1,2})\\.\\s?(\\d{1,2})\\.\\s?(\\d{4}|\\d{2})?(?:,?\\s+(\\d{1,2})[:.](\\d{2}))?$"_s);
    static const QRegularExpression slashed(u"^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})(?:\\s+(\\d{1,2}):(\\d{2}))?$"_s);
    QRegularExpressionMatch m = iso.match(t);
    int y = 1, mo = 2, d = 3;
    if (!m.hasMatch()) {
        m = dotted.match(t);
        if (!m.hasMatch())
            m = slashed.match(t);
        if (!m.hasMatch())
            return std::nullopt;
        y = 3, d = 1;
    }
    ImportDate date = dated(m.captured(y).toInt(), m.captured(mo).toInt(), m.captured(d).toInt(), m.captured(y));
    if (m.hasCaptured(4))
        date.time = QTime(m.captured(4).toInt(), m.captured(5).toInt());
    if (m.hasCaptured(4) && !date.time.isValid())
        date.date = QDate();
    return date;
}

// "Sat Aug/12", "20 Jan 18", "Sat Sep 12 2020", "sobota 14. března 2008": a day before or after the month's
// name, then the year.
std::optional<ImportDate> namedDate(const QString& t)
{
    static const QRegularExpression parts(u"[\\s/,\\[\\]]+"_s);
    int month = 0, day = 0, year = 0;
    QString yearText;
    QTime time;
    for (const QString& part : t.split(parts, Qt::SkipEmptyParts)) {
        const QString word = part.endsWith(u'.') ? part.chopped(1) : part;
        bool number = false;
        const int n = word.toInt(&number);
        if (number && !day && word.size() <= 2 && (month || n <= 31))
            day = n;
        else if (number && month && day && yearText.isEmpty() && (word.size() == 2 || word.size() == 4))
            year = n, yearText = word;
        else if (!number && !month && monthOf(plainLetters(word)))
            month = monthOf(plainLetters(word));
        else if (!number && !month && !day && isWeekday(plainLetters(word)))
            continue;
        else if (const std::optional<QTime> kickOff = kickOffTime(word); kickOff && month && day && !time.isValid())
            time = *kickOff;
        else
            return std::nullopt;
    }
    if (!month || !day)
        return std::nullopt;
    ImportDate date = dated(year, month, day, yearText);
    date.time = time;
    return date;
}

// A score as "5:4", "5-4" or "0–3"; the goals, nothing when the text is none.
std::optional<std::pair<int, int>> bareScore(const QString& text)
{
    static const QRegularExpression form(u"^(\\d{1,2})\\s*[:\\-–—]\\s*(\\d{1,2})$"_s);
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return std::pair{m.captured(1).toInt(), m.captured(2).toInt()};
}

bool isPostponed(const QString& text)
{
    static const QSet<QString> words{u"odlozeno"_s,  u"odlozen"_s,   u"postponed"_s, u"postp"_s,      u"ppd"_s,
                                     u"abandoned"_s, u"cancelled"_s, u"canceled"_s,  u"zruseno"_s,    u"preruseno"_s,
                                     u"suspended"_s, u"tbd"_s,       u"tba"_s,       u"verschoben"_s, u"abgesagt"_s};
    return words.contains(plainLetters(text));
}

// Period or half-time scores: "(1:2, 2:1, 1:1)", "(2-2)".
bool onlyScores(const QString& text)
{
    static const QRegularExpression scores(u"^\\s*(?:\\d{1,2}\\s*[:\\-–—]\\s*\\d{1,2}[\\s,;]*)+$"_s);
    return scores.match(text).hasMatch();
}

Result<MatchTail> tailOf(const QString& text, bool timesAllowed)
{
    static const QRegularExpression token(
        u"\\G[\\s,]*(?:(\\(([^()]*)\\)|\\[([^\\[\\]]*)\\])|(\\d{1,2}\\s*[:\\-–—]\\s*\\d{1,2})(?![\\d:])|([^\\s(\\[,]+))"_s);
    MatchTail tail;
    std::optional<std::pair<int, int>> goals;
    QChar mark;
    qsizetype at = 0;
    const auto unknown = [&](const QString& what) {
        return Result<MatchTail>::failure(
            u"„%1“ za zápasem není výsledek, čas ani značka prodloužení"_s.arg(what.left(40)));
    };
    while (at < text.size()) {
        const QRegularExpressionMatch m = token.match(text, at);
        if (!m.hasMatch() || m.capturedLength() == 0)
            break;
        at = m.capturedEnd();
        if (m.hasCaptured(1)) {
            const QString inside = m.hasCaptured(2) ? m.captured(2) : m.captured(3);
            if (const std::optional<QChar> e = extraTimeMark(inside); e && goals && mark.isNull())
                mark = *e;
            else if (isPostponed(inside))
                tail.postponed = true;
            else if (!(goals && onlyScores(inside)))
                return unknown(m.captured(1));
        } else if (m.hasCaptured(4)) {
            const QString rest = text.mid(at).trimmed();
            const bool markFollows = !rest.isEmpty() && extraTimeMark(rest.section(u' ', 0, 0)).has_value();
            const std::optional<QTime> time = timesAllowed ? kickOffTime(m.captured(4)) : std::nullopt;
            if (time && !goals && !tail.time.isValid() && !markFollows)
                tail.time = *time;
            else if (!goals)
                goals = bareScore(m.captured(4).simplified());
            else
                return unknown(m.captured(4));
        } else if (const std::optional<QChar> e = extraTimeMark(m.captured(5)); e && goals && mark.isNull()) {
            mark = *e;
        } else if (!isPostponed(m.captured(5))) {
            return unknown(m.captured(5));
        } else {
            tail.postponed = true;
        }
    }
    if (text.mid(at).trimmed().size())
        return unknown(text.mid(at).trimmed());
    if (goals && tail.postponed)
        return Result<MatchTail>::failure(u"zápas má výsledek a zároveň je odložen"_s);
    if (goals) {
        const QString suffix = mark.isNull() ? QString() : QString(mark);
        tail.result = normaliseResult(u"%1:%2%3"_s.arg(goals->first).arg(goals->second).arg(suffix));
    }
    return tail;
}

} // namespace

std::optional<ImportDate> readImportDate(const QString& text)
{
    QString t = text.trimmed();
    static const QRegularExpression weekday(u"^([^\\d\\s,.]+)[.,]?\\s+(?=\\d)"_s);
    if (const QRegularExpressionMatch w = weekday.match(t); w.hasMatch() && isWeekday(plainLetters(w.captured(1))))
        t = t.mid(w.capturedLength());
    if (t.startsWith(u'[') && t.endsWith(u']'))
        t = t.mid(1, t.size() - 2).trimmed();
    std::optional<ImportDate> date = numericDate(t);
    if (!date)
        date = namedDate(t);
    return date;
}

std::optional<QChar> extraTimeMark(const QString& text)
{
    static const QSet<QString> overtime{
        u"p"_s,  u"pp"_s,  u"ot"_s,  u"otl"_s, u"otw"_s, u"ap"_s,    u"nv"_s,          u"aet"_s,      u"dts"_s, u"pr"_s,
        u"et"_s, u"2ot"_s, u"3ot"_s, u"4ot"_s, u"5ot"_s, u"prodl"_s, u"prodlouzeni"_s, u"overtime"_s, u"ppr"_s};
    static const QSet<QString> shootout{u"n"_s,    u"sn"_s,  u"so"_s,      u"sol"_s,      u"sow"_s,      u"pen"_s,
                                        u"pens"_s, u"pso"_s, u"np"_s,      u"ss"_s,       u"dcr"_s,      u"tab"_s,
                                        u"ps"_s,   u"pk"_s,  u"najezdy"_s, u"shootout"_s, u"penalties"_s};
    const QString folded = plainLetters(text);
    if (overtime.contains(folded))
        return u'p';
    if (shootout.contains(folded))
        return u'n';
    return std::nullopt;
}

std::optional<QTime> kickOffTime(const QString& text)
{
    static const QRegularExpression form(u"^(\\d{1,2}):(\\d{2})$"_s);
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int hour = m.captured(1).toInt();
    const QTime time(hour, m.captured(2).toInt());
    const bool leadingZero = m.captured(1).size() == 2 && m.captured(1)[0] == u'0';
    if (!time.isValid() || !(leadingZero || (hour >= 9 && hour <= 23)))
        return std::nullopt;
    return time;
}

Result<MatchTail> readMatchTail(const QString& text)
{
    return tailOf(text, true);
}

Result<MatchTail> readScoreText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t == u"-" || t == u"–" || t == u"v" || t.compare(u"P-P"_s, Qt::CaseInsensitive) == 0)
        return MatchTail{};
    if (const std::optional<std::pair<int, int>> goals = bareScore(t)) // the common case, without the tokenizer
        return MatchTail{normaliseResult(u"%1:%2"_s.arg(goals->first).arg(goals->second)), {}, false};
    return tailOf(t, false);
}

std::optional<RoundText> readRoundText(const QString& text)
{
    static const QRegularExpression numbered(
        u"^(?:(\\d{1,3})\\.?\\s*(?:kolo|spieltag|runde|round)?|(?:matchday|round|kolo|spieltag|week|gameweek|"
        "jornada|giornata|md|wk|rd)\\.?\\s*(\\d{1,3}))$"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QStringList stages{u"predkolo"_s,  u"osmifinale"_s,   u"ctvrtfinale"_s, u"semifinale"_s,
                                    u"finale"_s,    u"playoff"_s,      u"playdown"_s,    u"playout"_s,
                                    u"baraz"_s,     u"quarterfinal"_s, u"semifinal"_s,   u"final"_s,
                                    u"roundof16"_s, u"wildcard"_s,     u"conference"_s,  u"division"_s};
    static const QStringList regular{u"zakladnicast"_s, u"regularseason"_s, u"regular"_s};
    const QString t = text.trimmed();
    if (const QRegularExpressionMatch m = numbered.match(t); m.hasMatch())
        return RoundText{(m.hasCaptured(1) ? m.captured(1) : m.captured(2)).toInt(), {}};
    const QString folded = plainLetters(t);
    if (regular.contains(folded))
        return RoundText{};
    if (t.size() <= 40 &&
        std::any_of(stages.begin(), stages.end(), [&](const QString& s) { return folded.startsWith(s); }))
        return RoundText{0, t};
    return std::nullopt;
}

bool sameSeason(const QString& a, const QString& b)
{
    static const QRegularExpression years(u"(\\d{4})(?:\\s*[/\\-–]\\s*(\\d{4}|\\d{2}))?"_s);
    const QRegularExpressionMatch x = years.match(a), y = years.match(b);
    if (!x.hasMatch() || !y.hasMatch())
        return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
    const auto end = [](const QRegularExpressionMatch& m) {
        return m.hasCaptured(2) ? m.captured(2).right(2).toInt() : -1;
    };
    return x.captured(1) == y.captured(1) && (end(x) < 0 || end(y) < 0 || end(x) == end(y));
}

std::optional<QString> parseScore(const QString& text)
{
    const Result<MatchTail> tail = tailOf(text, false);
    if (!tail.ok() || tail.value().result.isEmpty() || tail.value().postponed) // times are not read here
        return std::nullopt;
    return tail.value().result;
}

QString cleanTeamName(const QString& name)
{
    const auto plain = [](QChar c) { return c.isLetterOrNumber() && !c.isSurrogate(); };
    if (!name.isEmpty() && plain(name.front()) && (plain(name.back()) || name.back() == u'.' || name.back() == u')') &&
        !name.contains(u"  "_s))
        return name;
    const QList<uint> points = name.toUcs4();
    const auto kept = [](uint c, bool end) {
        return QChar::isLetterOrNumber(c) || (end && (c == u'.' || c == u')')) || (!end && c == u'(');
    };
    qsizetype first = 0, last = points.size();
    while (first < last && !kept(points[first], false))
        ++first;
    while (last > first && !kept(points[last - 1], true))
        --last;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()) + first, last - first).simplified();
}

bool standsAsName(const QString& text)
{
    static const QSet<QString> smallWords{u"upon"_s,     u"juniors"_s, u"junior"_s, u"juniori"_s,
                                          u"reserves"_s, u"women"_s,   u"zeny"_s,   u"dorost"_s};
    static const QRegularExpression sentence(u"[…!?;\"„“”]|:$|,$"_s);
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    if (text.isEmpty() || text.size() > 50 || words.size() > 6 || sentence.match(text).hasMatch())
        return false;
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }))
        return false;
    return std::none_of(words.begin(), words.end(), [](const QString& w) {
        return w[0].isLower() && w.size() > 3 && !w.contains(u'.') && !smallWords.contains(plainLetters(w));
    });
}
