// SPDX-License-Identifier: MIT
// A spreadsheet's or a results site's CSV: columns found by their header, by the fan, or by what the first
// lines hold.
#include "importreaders.h"

#include "season/newleague.h"
#include "season/seasonfile.h"

#include <QRegularExpression>
#include <QSet>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// Fields of a CSV line: quotes around a field keep its separators, "" inside them is one quote.
QStringList csvFields(QStringView line, QChar separator)
{
    if (!line.contains(u'"')) {
        QStringList fields;
        for (QStringView f : line.split(separator))
            fields << f.trimmed().toString();
        return fields;
    }
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

// The role a header names, in Czech or English; a plain "G" is the goals of the team column before it.
std::optional<ColumnRole> headerRole(const QString& header)
{
    static const QList<std::pair<ColumnRole, QStringList>> names{
        {ColumnRole::Date, {u"datum"_s, u"date"_s, u"den"_s, u"matchdate"_s, u"gamedate"_s}},
        {ColumnRole::Time, {u"time"_s, u"cas"_s, u"start"_s, u"starttime"_s, u"startet"_s, u"kickoff"_s, u"zacatek"_s}},
        {ColumnRole::Round, {u"kolo"_s, u"round"_s, u"matchday"_s, u"wk"_s, u"week"_s, u"gameweek"_s, u"spieltag"_s}},
        {ColumnRole::Home, {u"domaci"_s, u"home"_s, u"hometeam"_s, u"domacitym"_s, u"team1"_s}},
        {ColumnRole::Away,
         {u"hoste"_s, u"away"_s, u"awayteam"_s, u"hostujici"_s, u"hostetym"_s, u"team2"_s, u"visitor"_s,
          u"visitors"_s}},
        {ColumnRole::Score, {u"vysledek"_s, u"score"_s, u"result"_s, u"skore"_s, u"ft"_s, u"fulltime"_s}},
        {ColumnRole::HomeGoals, {u"fthg"_s, u"hg"_s, u"homegoals"_s, u"golydomacich"_s, u"homescore"_s}},
        {ColumnRole::AwayGoals, {u"ftag"_s, u"ag"_s, u"awaygoals"_s, u"golyhostu"_s, u"awayscore"_s}},
        {ColumnRole::Extra, {u"prodlouzeni"_s, u"ot"_s, u"so"_s, u"otso"_s, u"extra"_s}},
        {ColumnRole::Note, {u"pozn"_s, u"poznamka"_s, u"note"_s, u"notes"_s}},
        {ColumnRole::Season, {u"season"_s, u"sezona"_s, u"rocnik"_s}},
        {ColumnRole::Division, {u"div"_s, u"division"_s, u"league"_s, u"soutez"_s}}};
    const QString folded = plainLetters(header);
    for (const auto& [role, words] : names)
        if (words.contains(folded))
            return role;
    return std::nullopt;
}

QList<ColumnRole> headerRoles(const QStringList& header)
{
    QList<ColumnRole> roles;
    ColumnRole lastTeam = ColumnRole::Ignore;
    for (const QString& h : header) {
        std::optional<ColumnRole> role = headerRole(h);
        const QString folded = plainLetters(h);
        if (!role && (folded == u"g" || folded == u"goals") && lastTeam != ColumnRole::Ignore)
            role = lastTeam == ColumnRole::Home ? ColumnRole::HomeGoals : ColumnRole::AwayGoals;
        if (!role && h.isEmpty() && !roles.isEmpty() &&
            (roles.contains(ColumnRole::AwayGoals) || roles.contains(ColumnRole::Score)) &&
            !roles.contains(ColumnRole::Extra))
            role = ColumnRole::Extra; // an unnamed column after the goals holds "OT" and "SO"
        if (role && roles.contains(*role))
            role = ColumnRole::Ignore;
        roles << role.value_or(ColumnRole::Ignore);
        if (role == ColumnRole::Home || role == ColumnRole::Away)
            lastTeam = *role;
    }
    return roles;
}

enum class Cell { Empty, Date, Time, Score, Number, Text };

Cell cellKind(const QString& f)
{
    static const QRegularExpression number(u"^\\d{1,3}$"_s);
    if (f.isEmpty())
        return Cell::Empty;
    if (const std::optional<ImportDate> d = readImportDate(f); d && d->date.isValid())
        return Cell::Date;
    if (kickOffTime(f))
        return Cell::Time;
    if (number.match(f).hasMatch())
        return Cell::Number;
    return parseScore(f) ? Cell::Score : Cell::Text;
}

// Columns of a CSV without a header, told by what the first lines hold: a date, a kick-off time, a score,
// numbers, and the first two texts as home and away. A column of times beside another of scores is times.
QList<ColumnRole> guessRoles(const QList<QStringList>& first)
{
    qsizetype width = 0;
    for (const QStringList& f : first)
        width = std::max(width, f.size());
    QList<Cell> kinds(width, Cell::Empty);
    for (const QStringList& fields : first)
        for (qsizetype i = 0; i < fields.size(); ++i)
            if (const Cell k = cellKind(fields[i]); k != Cell::Empty)
                kinds[i] =
                    kinds[i] == Cell::Empty || kinds[i] == k ? k
                    : (kinds[i] == Cell::Time || kinds[i] == Cell::Score) && (k == Cell::Time || k == Cell::Score)
                        ? Cell::Score
                        : Cell::Text;
    QList<ColumnRole> roles(width, ColumnRole::Ignore);
    const auto first_of = [&](Cell k) { return static_cast<qsizetype>(kinds.indexOf(k)); };
    const auto assign = [&](qsizetype i, ColumnRole role) {
        if (i >= 0 && !roles.contains(role))
            roles[i] = role;
    };
    assign(first_of(Cell::Date), ColumnRole::Date);
    assign(first_of(Cell::Score), ColumnRole::Score);
    if (const qsizetype time = first_of(Cell::Time); time >= 0)
        assign(time, roles.contains(ColumnRole::Score) || time == first_of(Cell::Date) + 1 ? ColumnRole::Time
                                                                                           : ColumnRole::Score);
    for (qsizetype i = 0; i < width; ++i)
        if (kinds[i] == Cell::Text && !roles.contains(ColumnRole::Away))
            roles[i] = roles.contains(ColumnRole::Home) ? ColumnRole::Away : ColumnRole::Home;
    const qsizetype home = roles.indexOf(ColumnRole::Home), away = roles.indexOf(ColumnRole::Away);
    QList<qsizetype> goals;
    for (qsizetype i = 0; i < width; ++i) {
        if (kinds[i] == Cell::Number && i < home)
            assign(i, ColumnRole::Round);
        else if (kinds[i] == Cell::Number && i > away && away >= 0 && !roles.contains(ColumnRole::Score))
            goals << i;
    }
    if (goals.size() >= 2)
        roles[goals[0]] = ColumnRole::HomeGoals, roles[goals[1]] = ColumnRole::AwayGoals;
    return roles;
}

struct CsvReader {
    const QString& name;
    QList<ColumnRole> roles;
    ImportSource source;
    QSet<QString> names; // one copy of each name, however often it is named

    QString cell(const QStringList& f, ColumnRole role) const
    {
        const qsizetype at = roles.indexOf(role);
        return at >= 0 ? f.value(at) : QString();
    }

    static QString quoted(const QString& text) { return u"„"_s + text.left(40) + u"“"_s; }

    // The result of the score or goal columns with the marks of the extra-time and note columns.
    Result<void> score(const QStringList& f, ImportLine& line) const
    {
        QString score = cell(f, ColumnRole::Score);
        if (!cell(f, ColumnRole::HomeGoals).isEmpty() || !cell(f, ColumnRole::AwayGoals).isEmpty())
            score = cell(f, ColumnRole::HomeGoals) + u':' + cell(f, ColumnRole::AwayGoals);
        const QString extra = cell(f, ColumnRole::Extra), note = cell(f, ColumnRole::Note);
        const bool noteMarks = extraTimeMark(note).has_value();
        Result<MatchTail> tail = readScoreText(score + u' ' + extra + (noteMarks ? u' ' + note : QString()));
        if (!tail.ok())
            return Result<void>::failure(u"výsledek %1 nelze přečíst (např. 5:4, 3:2 pp, 2:1 sn): %2"_s.arg(
                quoted(QString(score + u' ' + extra).trimmed()), tail.error()));
        line.result = tail.value().result;
        line.postponed = tail.value().postponed ||
                         (!note.isEmpty() && readScoreText(note).ok() && readScoreText(note).value().postponed);
        return {};
    }

    Result<void> when(const QStringList& f, ImportLine& line) const
    {
        if (const QString date = cell(f, ColumnRole::Date); !date.isEmpty()) {
            const std::optional<ImportDate> d = readImportDate(date);
            if (!d || !d->date.isValid())
                return Result<void>::failure(
                    u"datum %1 nelze přečíst (D.M.RRRR, RRRR-MM-DD nebo DD/MM/RRRR)"_s.arg(quoted(date)));
            line.date = d->date, line.year = d->year, line.time = d->time;
        }
        if (const QString time = cell(f, ColumnRole::Time); !time.isEmpty()) {
            static const QRegularExpression clock(u"^(\\d{1,2})[:.](\\d{2})(?::\\d{2})?\\s*(am|pm|AM|PM)?"_s);
            const QRegularExpressionMatch m = clock.match(time);
            const int pm =
                m.captured(3).compare(u"pm"_s, Qt::CaseInsensitive) == 0 && m.captured(1).toInt() < 12 ? 12 : 0;
            line.time = QTime(m.captured(1).toInt() + pm, m.captured(2).toInt());
            if (!m.hasMatch() || !line.time.isValid())
                return Result<void>::failure(u"čas %1 nelze přečíst (HH:MM)"_s.arg(quoted(time)));
        }
        if (const QString round = cell(f, ColumnRole::Round); !round.isEmpty()) {
            const std::optional<RoundText> r = readRoundText(round);
            if (!r || r->round > kMaxRounds)
                return Result<void>::failure(
                    u"kolo %1 není číslo od 1 do %2 ani fáze play-off"_s.arg(quoted(round)).arg(kMaxRounds));
            line.round = r->round, line.stage = r->stage;
        }
        return {};
    }

    Result<void> read(const QStringList& f, int number)
    {
        const auto refuse = [&](const QString& why) {
            return Result<void>::failure(u"%1, řádek %2: %3"_s.arg(name).arg(number).arg(why));
        };
        const QString home = cleanTeamName(cell(f, ColumnRole::Home)), away = cleanTeamName(cell(f, ColumnRole::Away));
        if (home.isEmpty() && away.isEmpty())
            return {}; // a spreadsheet's empty row
        if (home.isEmpty() || away.isEmpty())
            return refuse(u"chybí domácí nebo hosté"_s);
        ImportLine line{number, {}, 0, *names.insert(home), *names.insert(away), {}};
        line.season = cell(f, ColumnRole::Season), line.division = cell(f, ColumnRole::Division);
        if (Result<void> r = when(f, line); !r.ok())
            return refuse(r.error());
        if (Result<void> r = score(f, line); !r.ok())
            return refuse(r.error());
        line.result = *names.insert(line.result);
        source.lines.append(line);
        return {};
    }
};

} // namespace

std::optional<ColumnRole> columnRoleNamed(const QString& word)
{
    static const QList<std::pair<ColumnRole, QStringList>> names{
        {ColumnRole::Ignore, {u"ignore"_s, u"ignorovat"_s, u"nic"_s, u"x"_s}},
        {ColumnRole::Date, {u"date"_s, u"datum"_s}},
        {ColumnRole::Time, {u"time"_s, u"cas"_s}},
        {ColumnRole::Round, {u"round"_s, u"kolo"_s}},
        {ColumnRole::Home, {u"home"_s, u"domaci"_s}},
        {ColumnRole::Away, {u"away"_s, u"hoste"_s}},
        {ColumnRole::Score, {u"score"_s, u"vysledek"_s}},
        {ColumnRole::HomeGoals, {u"homegoals"_s, u"golydomacich"_s}},
        {ColumnRole::AwayGoals, {u"awaygoals"_s, u"golyhostu"_s}},
        {ColumnRole::Extra, {u"extra"_s, u"prodlouzeni"_s}},
        {ColumnRole::Note, {u"note"_s, u"poznamka"_s}},
        {ColumnRole::Season, {u"season"_s, u"sezona"_s}},
        {ColumnRole::Division, {u"division"_s, u"soutez"_s}}};
    const QString folded = plainLetters(word);
    for (const auto& [role, words] : names)
        if (words.contains(folded))
            return role;
    return std::nullopt;
}

QList<std::pair<ColumnRole, QString>> columnRoles()
{
    return {{ColumnRole::Ignore, u"nečíst"_s},
            {ColumnRole::Home, u"domácí"_s},
            {ColumnRole::Away, u"hosté"_s},
            {ColumnRole::Score, u"výsledek"_s},
            {ColumnRole::HomeGoals, u"góly domácích"_s},
            {ColumnRole::AwayGoals, u"góly hostů"_s},
            {ColumnRole::Date, u"datum"_s},
            {ColumnRole::Time, u"čas"_s},
            {ColumnRole::Round, u"kolo"_s},
            {ColumnRole::Extra, u"prodloužení"_s},
            {ColumnRole::Note, u"poznámka"_s},
            {ColumnRole::Season, u"sezóna"_s},
            {ColumnRole::Division, u"soutěž"_s}};
}

std::optional<QChar> csvSeparator(const SourceLines& lines)
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

QList<QStringList> csvFieldsOf(const SourceLines& lines, QChar separator, qsizetype count)
{
    QList<QStringList> rows;
    for (qsizetype i = 0; i < std::min(count, lines.size()); ++i)
        rows << csvFields(lines[i], separator);
    return rows;
}

bool isCsvHeader(QStringView line, QChar separator)
{
    const QList<ColumnRole> roles = headerRoles(csvFields(line, separator));
    return roles.contains(ColumnRole::Home) && roles.contains(ColumnRole::Away);
}

Result<ImportSource> readCsv(const SourceLines& lines, const QList<int>& numbers, QChar separator, const QString& name,
                             const ImportOptions& options)
{
    const QStringList first = csvFields(lines[0], separator);
    const QList<ColumnRole> named = headerRoles(first);
    // With the fan's columns, a first line whose date or score is none is their names.
    const auto unreadable = [&](ColumnRole role, auto read) {
        const QString cell = first.value(options.columns.indexOf(role));
        return options.columns.contains(role) && !cell.isEmpty() && !read(cell);
    };
    const bool header =
        named.count(ColumnRole::Ignore) <= named.size() - 2 ||
        unreadable(ColumnRole::Date, [](const QString& c) { return readImportDate(c).has_value(); }) ||
        unreadable(ColumnRole::Score, [](const QString& c) { return readScoreText(c).ok(); }) ||
        unreadable(ColumnRole::HomeGoals, [](const QString& c) { return readScoreText(c + u":0").ok(); });
    QList<QStringList> sample;
    for (qsizetype i = header ? 1 : 0; i < std::min<qsizetype>(lines.size(), 6); ++i)
        sample << csvFields(lines[i], separator);
    CsvReader reader{name, !options.columns.isEmpty() ? options.columns : header ? named : guessRoles(sample), {}, {}};
    if (!reader.roles.contains(ColumnRole::Home) || !reader.roles.contains(ColumnRole::Away))
        return Result<ImportSource>::failure(
            refuseSource(name, numbers[0],
                         header ? u"v záhlaví chybí sloupec domácích nebo hostů (domácí/home, hosté/away)"_s
                                : u"sloupce nelze rozpoznat; určete je (domácí, hosté, výsledek, datum…)"_s)
                .error(),
            kColumnsUnknown);
    const bool goals = reader.roles.contains(ColumnRole::HomeGoals) || reader.roles.contains(ColumnRole::AwayGoals);
    if (goals && !(reader.roles.contains(ColumnRole::HomeGoals) && reader.roles.contains(ColumnRole::AwayGoals)))
        return Result<ImportSource>::failure(
            refuseSource(name, numbers[0], u"je určen sloupec gólů jen jednoho z týmů"_s).error(), kColumnsUnknown);
    reader.source.resultsKnown = goals || reader.roles.contains(ColumnRole::Score);
    reader.source.hasRounds = reader.roles.contains(ColumnRole::Round);
    reader.source.lines.reserve(lines.size());
    for (qsizetype i = header ? 1 : 0; i < lines.size(); ++i)
        if (Result<void> r = reader.read(csvFields(lines[i], separator), numbers[i]); !r.ok())
            return Result<ImportSource>::failureOf(r);
    if (reader.source.hasRounds)
        for (const ImportLine& line : reader.source.lines)
            if (line.round == 0 && line.stage.isEmpty())
                reader.source.hasRounds = false; // a "Regular Season" column: no rounds to follow
    return reader.source;
}
