// SPDX-License-Identifier: MIT
// Text pasted from a results page, an article or a fixture list: match lines under date and round headings.
#include "importreaders.h"

#include "season/newleague.h"

#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// A leading date, a time, or both: "14.3.2008 18:00 ", "2008-03-14 ", "20.30 ".
std::pair<std::optional<ImportDate>, qsizetype> leadingDate(const QString& text)
{
    static const QRegularExpression lead(u"^(\\d{1,2}\\.\\s?\\d{1,2}\\.\\s?(?:\\d{4}|\\d{2}(?!\\d))?|\\d{4}-\\d{2}-\\d{"
                                         u"2}|\\d{1,2}/\\d{1,2}/(?:\\d{4}|\\d{2}))?"
                                         "[\\s,]*(?:(\\d{1,2})[:.](\\d{2})(?![\\d:.]))?\\s+"_s);
    const QRegularExpressionMatch m = lead.match(text);
    if (!m.hasMatch() || (!m.hasCaptured(1) && !m.hasCaptured(2)))
        return {std::nullopt, 0};
    std::optional<ImportDate> date;
    if (m.hasCaptured(1)) {
        date = readImportDate(m.captured(1).remove(u' '));
        if (!date)
            return {std::nullopt, 0};
    }
    if (m.hasCaptured(2)) {
        const QTime time(m.captured(2).toInt(), m.captured(3).toInt());
        if (!time.isValid())
            return {std::nullopt, 0};
        if (!date)
            date = ImportDate{QDate(), YearGiven::Full, time};
        date->time = time;
    }
    return {date, m.capturedLength()};
}

// Where what follows the away team starts: a score, a time, a parenthesis or "odloženo" after a blank.
qsizetype tailStart(const QString& text)
{
    static const QRegularExpression start(
        u"\\s(?=\\d{1,2}\\s*[:\\-–—]\\s*\\d{1,2}(?![\\d:])|[(\\[]|(?:odlo|postp|abandon|cancel|zru)\\w*\\s*$)"_s,
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = start.match(text);
    return m.hasMatch() ? m.capturedStart() : text.size();
}

std::optional<TextMatch> named(const QString& home, const QString& away, const MatchTail& tail)
{
    TextMatch m{std::nullopt, cleanTeamName(home), cleanTeamName(away), tail};
    if (!standsAsName(m.home) || !standsAsName(m.away) || m.home.compare(m.away, Qt::CaseInsensitive) == 0)
        return std::nullopt;
    return m;
}

// "Arsenal 4-3 Leicester", "Latvia 5 - 2 France", "Home  4-3 (2-2)  Away": the score stands between the names.
Result<std::optional<TextMatch>> scoreBetween(const QString& text)
{
    using Found = Result<std::optional<TextMatch>>;
    static const QRegularExpression form(
        u"^(.*\\S)\\s+(\\d{1,2}\\s*[:\\-–—]\\s*\\d{1,2})((?:\\s*[(\\[][^()\\[\\]]*[)\\]])*)\\s+([^\\d\\s].*)$"_s);
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return Found(std::optional<TextMatch>());
    const QString away = m.captured(4);
    const qsizetype end = tailStart(away);
    const Result<MatchTail> tail = readMatchTail(m.captured(2) + m.captured(3) + u' ' + away.mid(end));
    const std::optional<TextMatch> match = named(m.captured(1), away.left(end), tail.ok() ? tail.value() : MatchTail{});
    if (match && !tail.ok())
        return Found::failureOf(tail);
    return Found(match);
}

} // namespace

Result<std::optional<TextMatch>> textMatch(const QString& line)
{
    using Found = Result<std::optional<TextMatch>>;
    static const QRegularExpression pair(u"\\s+(-|–|—|vs\\.?|v\\.?|at|@)\\s+|(?<=\\S)([–—])(?=\\S)"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QString text = line.simplified().left(300);
    const auto lead = leadingDate(text);
    const qsizetype skip = lead.second;
    const QString rest = text.mid(skip);
    // "Latvia 5 - 2 France": a dash between two numbers is a score's, not the one between the teams.
    QRegularExpressionMatch split;
    for (QRegularExpressionMatchIterator it = pair.globalMatch(rest); it.hasNext() && !split.hasMatch();) {
        const QRegularExpressionMatch m = it.next();
        const QString before = rest.left(m.capturedStart()).trimmed(), after = rest.mid(m.capturedEnd()).trimmed();
        if (!before.isEmpty() && !after.isEmpty() && !(before.back().isDigit() && after.front().isDigit()))
            split = m;
    }
    std::optional<TextMatch> m;
    if (!split.hasMatch()) {
        const Found between = scoreBetween(rest);
        if (!between.ok())
            return between;
        m = between.value();
    } else {
        const QString right = rest.mid(split.capturedEnd());
        const qsizetype end = tailStart(right);
        const Result<MatchTail> tail = readMatchTail(right.mid(end));
        const bool visitorFirst =
            split.captured(1).compare(u"at"_s, Qt::CaseInsensitive) == 0 || split.captured(1) == u"@";
        const QString left = rest.left(split.capturedStart());
        m = visitorFirst ? named(right.left(end), left, MatchTail{}) : named(left, right.left(end), MatchTail{});
        if (m && !tail.ok())
            return Found::failureOf(tail);
        if (m)
            m->tail = tail.value();
        if (m && visitorFirst && !m->tail.result.isEmpty()) { // "Boston at Toronto 2-5": the goals in the teams' order
            const qsizetype colon = m->tail.result.indexOf(u':');
            const QString away = m->tail.result.left(colon), after = m->tail.result.mid(colon + 1);
            const qsizetype digits =
                std::find_if(after.begin(), after.end(), [](QChar c) { return !c.isDigit(); }) - after.begin();
            m->tail.result = after.left(digits) + u':' + away + after.mid(digits);
        }
    }
    if (m)
        m->date = lead.first;
    return Found(m);
}

Result<ImportSource> readText(const SourceLines& lines, const QList<int>& numbers, const QString& name)
{
    ImportSource source;
    QSet<QString> names; // one copy of each name, however often it is named
    source.lines.reserve(lines.size());
    std::optional<ImportDate> day;
    int round = 0;
    bool undatedRounds = false; // a round heading makes its lines fixtures, whether a result is given or not
    QString stage;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = lines[i].toString();
        const Result<std::optional<TextMatch>> m = textMatch(text);
        if (!m.ok())
            return refuseSource(name, numbers[i], m.error() + u": " + text.simplified().left(60));
        const QString heading =
            m.value() ? QString() : text.simplified().remove(u'[').remove(u']').remove(u'*').remove(u'=').trimmed();
        if (!m.value() && heading.size() <= 40) {
            if (const std::optional<RoundText> r = readRoundText(heading)) {
                round = r->round, stage = r->stage, undatedRounds = true;
                continue;
            }
            if (const std::optional<ImportDate> d = readImportDate(heading); d && d->date.isValid()) {
                day = d;
                continue;
            }
        }
        const bool fixture = m.value() && (!m.value()->tail.result.isEmpty() || m.value()->tail.time.isValid() ||
                                           m.value()->tail.postponed || undatedRounds || day || m.value()->date);
        if (!fixture) {
            ++source.skipped;
            continue;
        }
        const TextMatch& t = *m.value();
        const std::optional<ImportDate> when = t.date && t.date->date.isValid() ? t.date : day;
        ImportLine line{numbers[i],   when ? when->date : QDate(), round, *names.insert(t.home), *names.insert(t.away),
                        t.tail.result};
        line.time = t.tail.time.isValid() ? t.tail.time : t.date ? t.date->time : QTime();
        line.postponed = t.tail.postponed;
        line.stage = stage;
        line.year = when ? when->year : YearGiven::Full;
        source.lines.append(line);
    }
    source.hasRounds =
        !source.lines.isEmpty() && std::all_of(source.lines.begin(), source.lines.end(),
                                               [](const auto& l) { return l.round > 0 || !l.stage.isEmpty(); });
    return source;
}
