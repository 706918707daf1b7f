// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"
#include "leaguefiles.h"
#include "seasonstore.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

// "d.m.yyyy", leading zeros accepted; an invalid date when the text is not one.
QDate parseShortDate(const QString& text);

// Windows-1250 text, or UTF-8 when it starts with a byte order mark or is valid UTF-8 beyond ASCII.
QString decodeText(const QByteArray& bytes);
// No data file of the program comes near this many lines; the readers refuse a file with more.
inline constexpr qsizetype kMaxDataLines = 100000;
// Decoded text, CR LF or LF line ends; every line trimmed; at most the first kMaxDataLines lines.
QStringList decodeLines(const QByteArray& bytes);

// The league a competition file describes, or one Czech message naming the file, the line and the fault.
Result<SeasonStore> readCompetition(const QByteArray& bytes, const QString& fileName);
// The league with its schedule read in; `league` names the teams every pairing must use.
Result<SeasonStore> readSchedule(const QByteArray& bytes, const QString& fileName, SeasonStore league);

// The season of both files, or the Czech message of the first fault.
Result<SeasonStore> loadSeason(const QString& competitionPath, const QString& schedulePath);

QByteArray scheduleBytes(const SeasonStore& store, TextEncoding encoding = TextEncoding::Windows1250);
// Replaces the file atomically, else says why in Czech.
Result<void> writeSchedule(const SeasonStore& store, const QString& path);
