// SPDX-License-Identifier: MIT
// A league is its competition file "sezona_CODE.txt" and the files beside it that share its code. Their
// names, and the encoding a league writes its texts in, are decided here and nowhere else.
#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>
#include <optional>

enum class LeagueFile { Competition, Schedule, Adjustments, Playoff, Names, Dates };
inline constexpr LeagueFile kLeagueFiles[] = {LeagueFile::Competition, LeagueFile::Schedule, LeagueFile::Adjustments,
                                              LeagueFile::Playoff,     LeagueFile::Names,    LeagueFile::Dates};

// "sezona_", "los_", "upravy_", "playoff_", "jmena_", "terminy_".
QString leagueFilePrefix(LeagueFile kind);
// The name of the file of that kind of the league whose competition file has that name.
QString leagueFileName(const QString& competitionName, LeagueFile kind);
// The file of that kind beside a competition file: the prefix and the competition file's name less its own.
QString leagueFilePath(const QString& competitionPath, LeagueFile kind);
// The kind of a league's file by its name; none for anything else (a lock, a journal, a save's temporary).
std::optional<LeagueFile> leagueFileKind(const QString& fileName);
// The competition file's name for any file of its league ("playoff_x.txt" → "sezona_x.txt").
QString competitionNameOf(const QString& fileName);
// The league's files other than its competition file that exist beside it, its journal among them.
QStringList existingCompanions(const QString& competitionPath);

inline QString scheduleFileFor(const QString& competitionPath)
{
    return leagueFilePath(competitionPath, LeagueFile::Schedule);
}
inline QString adjustmentsFileFor(const QString& competitionPath)
{
    return leagueFilePath(competitionPath, LeagueFile::Adjustments);
}
inline QString playoffFileFor(const QString& competitionPath)
{
    return leagueFilePath(competitionPath, LeagueFile::Playoff);
}
inline QString nameMappingFileFor(const QString& competitionPath)
{
    return leagueFilePath(competitionPath, LeagueFile::Names);
}
inline QString matchDatesFileFor(const QString& competitionPath)
{
    return leagueFilePath(competitionPath, LeagueFile::Dates);
}

// The recovery journal of what was typed and not yet saved, beside the schedule.
QString journalFileFor(const QString& schedulePath);

// Windows-1250 is what the program always wrote; UTF-8 carries every name it cannot.
enum class TextEncoding { Windows1250, Utf8, Utf8Bom };
// What the reader takes the bytes for: UTF-8 with a byte order mark, valid UTF-8 beyond ASCII, else Windows-1250.
TextEncoding encodingOf(const QByteArray& bytes);
bool fitsWindows1250(const QString& text);
// The text in the encoding, a byte order mark first for Utf8Bom.
QByteArray encodeText(const QString& text, TextEncoding encoding);
// Each line followed by CR LF.
QByteArray encodeLines(const QStringList& lines, TextEncoding encoding = TextEncoding::Windows1250);
// The encoding of lines as the league writes them into a file: the one the file has, unless its text needs more
// than Windows-1250; for a new file the league's. A file made UTF-8 gets a byte order mark; a league of
// Czech names stays byte for byte as it was.
TextEncoding encodingToWrite(const QStringList& lines, std::optional<TextEncoding> fileHas, TextEncoding leagueHas);
// The encoding of a file on disk; none when there is no file.
std::optional<TextEncoding> encodingOfFile(const QString& path);
// The encoding the league's file of that kind takes for the lines: the league's encoding is its competition file's.
TextEncoding leagueFileEncoding(const QString& competitionPath, LeagueFile kind, const QStringList& lines = {});
// The lines as the league's file of that kind is to hold them.
QByteArray leagueFileBytes(const QString& competitionPath, LeagueFile kind, const QStringList& lines);

// Dates a league's files hold: the reader takes four-digit years, and no season lies outside these.
inline constexpr int kFirstSeasonYear = 1900;
inline constexpr int kLastSeasonYear = 2200;
bool isSeasonDate(const QDate& date);
// "Datum 1.1.999 leží mimo roky 1900 až 2200." — empty for a date a league can hold.
QString seasonDateProblem(const QDate& date);

// Why a text cannot stand as a league's caption, season or team name (a control character, or a key of the
// competition file the reader would take for one), in Czech; empty when it can.
QString leagueTextProblem(const QString& text);
