// SPDX-License-Identifier: MIT
#include "leaguefiles.h"

#include "datafiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace {

const QString kCompetitionPrefix = u"sezona_"_s;

} // namespace

QString leagueFilePrefix(LeagueFile kind)
{
    switch (kind) {
    case LeagueFile::Competition:
        return kCompetitionPrefix;
    case LeagueFile::Schedule:
        return u"los_"_s;
    case LeagueFile::Adjustments:
        return u"upravy_"_s;
    case LeagueFile::Playoff:
        return u"playoff_"_s;
    case LeagueFile::Names:
        return u"jmena_"_s;
    case LeagueFile::Dates:
        return u"terminy_"_s;
    }
    return {};
}

QString leagueFileName(const QString& competitionName, LeagueFile kind)
{
    // The rule of the oldest files: whatever the competition file is called, its first seven characters go.
    return leagueFilePrefix(kind) + competitionName.mid(kCompetitionPrefix.size());
}

QString leagueFilePath(const QString& competitionPath, LeagueFile kind)
{
    const QFileInfo info(competitionPath);
    return info.dir().filePath(leagueFileName(info.fileName(), kind));
}

QString journalFileFor(const QString& schedulePath)
{
    return schedulePath + u".obnova"_s;
}

std::optional<LeagueFile> leagueFileKind(const QString& fileName)
{
    if (!fileName.endsWith(u".txt"_s))
        return std::nullopt;
    for (const LeagueFile kind : kLeagueFiles)
        if (fileName.startsWith(leagueFilePrefix(kind)) && fileName.size() > leagueFilePrefix(kind).size() + 4)
            return kind;
    return std::nullopt;
}

QString competitionNameOf(const QString& fileName)
{
    const std::optional<LeagueFile> kind = leagueFileKind(fileName);
    return kind ? kCompetitionPrefix + fileName.mid(leagueFilePrefix(*kind).size()) : QString();
}

QStringList existingCompanions(const QString& competitionPath)
{
    QStringList found;
    QStringList paths{journalFileFor(scheduleFileFor(competitionPath))};
    for (const LeagueFile kind : kLeagueFiles)
        if (kind != LeagueFile::Competition)
            paths << leagueFilePath(competitionPath, kind);
    for (const QString& path : paths)
        if (QFileInfo::exists(path))
            found << QFileInfo(path).fileName();
    return found;
}

TextEncoding encodingOf(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8Bom;
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; }))
        return TextEncoding::Windows1250;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes); // decoded only when it is made a string
    return utf8.hasError() || text.isEmpty() ? TextEncoding::Windows1250 : TextEncoding::Utf8;
}

bool fitsWindows1250(const QString& text)
{
    // A letter the encoding lacks comes back as a substitute or its nearest look-alike, never as itself.
    QStringEncoder encoder("windows-1250");
    QStringDecoder decoder("windows-1250");
    const QByteArray bytes = encoder.encode(text);
    return decoder.decode(bytes) == text;
}

QByteArray encodeText(const QString& text, TextEncoding encoding)
{
    QStringEncoder encoder(encoding == TextEncoding::Windows1250 ? "windows-1250" : "UTF-8");
    const QByteArray bytes = encoder.encode(text);
    return encoding == TextEncoding::Utf8Bom ? "\xEF\xBB\xBF" + bytes : bytes;
}

QByteArray encodeLines(const QStringList& lines, TextEncoding encoding)
{
    return encodeText(lines.isEmpty() ? QString() : lines.join(u"\r\n"_s) + u"\r\n"_s, encoding);
}

TextEncoding encodingToWrite(const QStringList& lines, std::optional<TextEncoding> fileHas, TextEncoding leagueHas)
{
    const TextEncoding wanted = fileHas.value_or(leagueHas);
    if (wanted != TextEncoding::Windows1250)
        return wanted;
    return fitsWindows1250(lines.join(u'\n')) ? TextEncoding::Windows1250 : TextEncoding::Utf8Bom;
}

std::optional<TextEncoding> encodingOfFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return encodingOf(readDataFile(path).valueOr({}));
}

TextEncoding leagueFileEncoding(const QString& competitionPath, LeagueFile kind, const QStringList& lines)
{
    const TextEncoding league = encodingOfFile(competitionPath).value_or(TextEncoding::Windows1250);
    return encodingToWrite(lines, encodingOfFile(leagueFilePath(competitionPath, kind)), league);
}

QByteArray leagueFileBytes(const QString& competitionPath, LeagueFile kind, const QStringList& lines)
{
    return encodeLines(lines, leagueFileEncoding(competitionPath, kind, lines));
}

bool isSeasonDate(const QDate& date)
{
    return date.isValid() && date.year() >= kFirstSeasonYear && date.year() <= kLastSeasonYear;
}

QString seasonDateProblem(const QDate& date)
{
    if (isSeasonDate(date))
        return {};
    if (!date.isValid())
        return u"Datum není platné."_s;
    return u"Datum %1.%2.%3 leží mimo roky %4 až %5."_s.arg(date.day())
        .arg(date.month())
        .arg(date.year())
        .arg(kFirstSeasonYear)
        .arg(kLastSeasonYear);
}

QString leagueTextProblem(const QString& text)
{
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return u"„%1“ obsahuje řídicí znak, který soubor neuloží."_s.arg(text.simplified().left(40));
    // The competition file's reader finds these keys anywhere in a line.
    for (const QString& key : {u"nazev="_s, u"sezona="_s, u"HR1="_s, u"HR2="_s, u"HR3="_s})
        if (text.contains(key))
            return u"„%1“ obsahuje „%2“, což soubor soutěže čte jako klíč; napište to jinak."_s.arg(text.left(40), key);
    return {};
}
