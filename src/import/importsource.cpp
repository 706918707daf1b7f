// SPDX-License-Identifier: MIT
#include "importsource.h"

#include "importreaders.h"

#include "season/leaguefiles.h"
#include "season/seasonfile.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

// Windows-1252 and Windows-1250 differ in the letters of western and of central Europe: where a byte reads as a
// Czech or Slovak letter in one and as a letter in the other, the program's own code page wins; a byte that is
// a letter only in the western one ("ñ", "ã", "å") votes for it.
QString decodeSingleByte(const QByteArray& bytes)
{
    static const QString home = u"ČčĎďĚěŇňŘřŤťŮůĽľŠšŽž"_s;
    QStringDecoder central("windows-1250"), western("windows-1252");
    const QString asCentral = central.decode(bytes), asWestern = western.decode(bytes);
    if (asCentral.size() != asWestern.size())
        return asCentral;
    int vote = 0;
    for (qsizetype i = 0; i < asCentral.size(); ++i)
        if (asCentral[i] != asWestern[i])
            vote += home.contains(asCentral[i]) ? 1 : asWestern[i].isLetter() ? -1 : 0;
    return vote >= 0 ? asCentral : asWestern;
}

QString decodeImport(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return utf16.decode(bytes.mid(2));
    }
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; }))
        return QString::fromLatin1(bytes);
    const TextEncoding encoding = encodingOf(bytes);
    return encoding == TextEncoding::Windows1250 ? decodeSingleByte(bytes) : decodeText(bytes);
}

// Two-digit years and dates without a year, each in the century or year that puts it nearest the dates before
// it (the first nearest the league's date, or the file's first full date, or today).
Result<void> settleYears(QList<ImportLine>& lines, const QDate& near, const QString& name)
{
    QDate reference = near;
    for (const ImportLine& line : lines)
        if (!reference.isValid() && line.date.isValid() && line.year == YearGiven::Full)
            reference = line.date;
    if (!reference.isValid())
        reference = QDate::currentDate();
    for (ImportLine& line : lines) {
        if (!line.date.isValid() || line.year == YearGiven::Full) {
            if (line.date.isValid())
                reference = line.date;
            continue;
        }
        const int y = line.date.year();
        const QList<int> years = line.year == YearGiven::TwoDigits
                                     ? QList<int>{y - 100, y, y + 100}
                                     : QList<int>{reference.year() - 1, reference.year(), reference.year() + 1};
        QDate best;
        for (int year : years)
            if (const QDate d(year, line.date.month(), line.date.day());
                d.isValid() && (!best.isValid() || std::abs(d.daysTo(reference)) < std::abs(best.daysTo(reference))))
                best = d;
        if (!best.isValid())
            return Result<void>::failure(u"%1, řádek %2: den %3.%4. v tom roce není"_s.arg(name)
                                             .arg(line.line)
                                             .arg(line.date.day())
                                             .arg(line.date.month()));
        line.date = best, line.year = YearGiven::Full, reference = best;
    }
    return {};
}

// The values of a season or division column, in the order first seen.
QStringList valuesOf(const QList<ImportLine>& lines, QString ImportLine::*field)
{
    QStringList values;
    for (const ImportLine& line : lines)
        if (!(line.*field).isEmpty() && !values.contains(line.*field))
            values << line.*field;
    return values;
}

// The lines of the season and division chosen, when the file holds several.
Result<void> keepChosen(ImportSource& source, const ImportOptions& options, const QString& name)
{
    source.seasons = valuesOf(source.lines, &ImportLine::season);
    source.divisions = valuesOf(source.lines, &ImportLine::division);
    const auto keep = [&](const QString& chosen, const QStringList& values, QString ImportLine::*field,
                          const QString& what) -> Result<void> {
        if (chosen.isEmpty() || values.size() < 2)
            return {}; // one season in the file: the league's own season may be named otherwise
        const auto same = [&](const QString& v) {
            return field == &ImportLine::season ? sameSeason(v, chosen) : v.compare(chosen, Qt::CaseInsensitive) == 0;
        };
        if (std::none_of(values.begin(), values.end(), same))
            return Result<void>::failure(
                u"%1: %2 „%3“ v souboru není; jsou v něm: %4"_s.arg(name, what, chosen, values.mid(0, 20).join(u", ")));
        source.lines.removeIf([&](const ImportLine& line) { return !same(line.*field); });
        return {};
    };
    if (Result<void> r = keep(options.season, source.seasons, &ImportLine::season, u"sezóna"_s); !r.ok())
        return r;
    return keep(options.division, source.divisions, &ImportLine::division, u"soutěž"_s);
}

// A headline and its subheading about one game, or a page pasted twice: the game is one.
void mergeRepeats(ImportSource& source)
{
    const auto key = [](const ImportLine& l) {
        return std::tie(l.home, l.away, l.result, l.date, l.round, l.stage, l.season, l.division);
    };
    QHash<size_t, QList<qsizetype>> seen; // earlier lines by the hash of what makes them one game
    QList<bool> repeated(source.lines.size(), false);
    for (qsizetype i = 0; i < source.lines.size(); ++i) {
        const ImportLine& l = source.lines[i];
        const size_t hash = qHashMulti(0, l.home, l.away, l.result, l.date, l.round, l.stage, l.season, l.division);
        QList<qsizetype>& same = seen[hash];
        repeated[i] =
            std::any_of(same.begin(), same.end(), [&](qsizetype k) { return key(source.lines[k]) == key(l); });
        if (!repeated[i])
            same.append(i);
    }
    qsizetype at = 0;
    source.merged = static_cast<int>(source.lines.removeIf([&](const ImportLine&) { return repeated[at++]; }));
}

// A date no league can hold ("1.1.999") would make a league its own reader refuses.
Result<void> seasonDates(const ImportSource& source, const QString& name, const QString& where)
{
    for (const ImportLine& line : source.lines)
        if (line.date.isValid() && !isSeasonDate(line.date))
            return Result<void>::failure(
                u"%1, %2 %3: %4"_s.arg(name, where).arg(line.line).arg(seasonDateProblem(line.date)));
    return {};
}

// The text's lines without empty ones, as views into `plain` (the text with its line ends made LF), each with its
// number; CR LF, LF, or CR alone (an old spreadsheet's) each end a line.
Result<SourceLines> splitLines(const QString& text, QString& plain, QList<int>& numbers, const QString& name)
{
    plain = text.contains(u'\r') ? QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n') : text;
    SourceLines lines;
    int number = 0;
    for (QStringView whole : QStringView(plain).split(u'\n')) {
        QStringView line = whole.trimmed();
        if (++number == 1 && line.startsWith(u'\uFEFF'))
            line = line.mid(1);
        if (std::any_of(line.begin(), line.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control && c != u'\t'; }))
            return Result<SourceLines>::failure(
                refuseSource(name, number, u"řádek obsahuje řídicí znaky, soubor není text"_s).error());
        if (!line.isEmpty())
            lines << line, numbers << number;
    }
    return lines;
}

// The lines of a CSV or of pasted text, without empty ones, each with its number in the file.
Result<ImportSource> readLines(const QString& text, const QString& name, const ImportOptions& options)
{
    QString plain;
    QList<int> numbers;
    const Result<SourceLines> split = splitLines(text, plain, numbers, name);
    if (!split.ok())
        return Result<ImportSource>::failureOf(split);
    const SourceLines& lines = split.value();
    const std::optional<QChar> separator = csvSeparator(lines);
    const Result<std::optional<TextMatch>> firstMatch = textMatch(lines[0].toString());
    const bool csv = separator && (!options.columns.isEmpty() || isCsvHeader(lines[0], *separator) ||
                                   !(firstMatch.ok() && firstMatch.value()));
    return csv ? readCsv(lines, numbers, *separator, name, options) : readText(lines, numbers, name);
}

// The bytes as text, then as a calendar or as lines; the text is gone once they are read.
Result<ImportSource> readDecoded(const QByteArray& bytes, const QString& name, const ImportOptions& options)
{
    const QString text = decodeImport(bytes);
    if (text.trimmed().isEmpty() || text.trimmed() == u"\uFEFF")
        return refuseSource(name, 0, u"soubor je prázdný"_s);
    if (text.left(64 * 1024).contains(QChar(0)))
        return refuseSource(name, 0, u"soubor není text (obsahuje binární data)"_s);
    const bool calendar = QStringView(text).trimmed().startsWith(u"BEGIN:VCALENDAR"_s, Qt::CaseInsensitive) ||
                          QStringView(text).trimmed().startsWith(u"\uFEFFBEGIN:VCALENDAR"_s, Qt::CaseInsensitive);
    return calendar ? readCalendar(text, name) : readLines(text, name, options);
}

} // namespace

Result<ImportSource> refuseSource(const QString& name, int line, const QString& why, const QString& where)
{
    const QString at = where.isEmpty() ? u"řádek"_s : where;
    return Result<ImportSource>::failure(line > 0 ? u"%1, %2 %3: %4"_s.arg(name, at).arg(line).arg(why)
                                                  : u"%1: %2"_s.arg(name, why));
}

Result<ImportSource> readImportSource(const QByteArray& bytes, const QString& name, const ImportOptions& options)
{
    if (bytes.size() > kMaxImportBytes)
        return refuseSource(name, 0, u"soubor je větší než 10 MB, takový seznam zápasů to není"_s);
    Result<ImportSource> read = readDecoded(bytes, name, options);
    if (!read.ok())
        return read;
    ImportSource source = std::move(read).value();
    if (source.lines.isEmpty())
        return refuseSource(name, 0, u"není v něm žádný zápas (dva týmy a výsledek na řádku)"_s);
    if (Result<void> r = settleYears(source.lines, options.near, name); !r.ok())
        return Result<ImportSource>::failureOf(r);
    if (Result<void> r = keepChosen(source, options, name); !r.ok())
        return Result<ImportSource>::failureOf(r);
    mergeRepeats(source);
    if (Result<void> r = seasonDates(source, name, source.events ? u"událost"_s : u"řádek"_s); !r.ok())
        return Result<ImportSource>::failureOf(r);
    return source;
}

QList<QStringList> csvPreview(const QByteArray& bytes, qsizetype count)
{
    const QString text = decodeImport(bytes.left(kMaxImportBytes));
    QString plain;
    QList<int> numbers;
    const Result<SourceLines> lines = splitLines(text, plain, numbers, {});
    if (!lines.ok() || lines.value().isEmpty() || text.trimmed().startsWith(u"BEGIN:VCALENDAR"_s, Qt::CaseInsensitive))
        return {};
    const std::optional<QChar> separator = csvSeparator(lines.value());
    return separator ? csvFieldsOf(lines.value(), *separator, count) : QList<QStringList>{};
}

QString choiceNeeded(const ImportSource& source, const ImportOptions& options)
{
    if (source.seasons.size() > 1 && options.season.isEmpty())
        return u"Soubor obsahuje zápasy několika sezón (%1); vyberte jednu."_s.arg(
            source.seasons.mid(0, 20).join(u", "));
    if (source.divisions.size() > 1 && options.division.isEmpty())
        return u"Soubor obsahuje zápasy několika soutěží (%1); vyberte jednu."_s.arg(
            source.divisions.mid(0, 20).join(u", "));
    return {};
}
