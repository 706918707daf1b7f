// SPDX-License-Identifier: MIT
// The readers of each kind of source, for the import's dispatcher; each says its faults with the line.
#pragma once

#include "import/importsource.h"

// "zapasy.csv, řádek 7: why" (no line: "zapasy.csv: why").
Result<ImportSource> refuseSource(const QString& name, int line, const QString& why, const QString& where = {});

// A source's lines as views into its text, which outlives them: no copy of a 10 MB file line by line.
using SourceLines = QList<QStringView>;

// Lines of a CSV without its empty ones, each with its line number in the file.
Result<ImportSource> readCsv(const SourceLines& lines, const QList<int>& numbers, QChar separator, const QString& name,
                             const ImportOptions& options);
// The separator that parts the first lines into the most fields, three at least; none for plain text.
std::optional<QChar> csvSeparator(const SourceLines& lines);
// The fields of the first `count` lines.
QList<QStringList> csvFieldsOf(const SourceLines& lines, QChar separator, qsizetype count);
// True when the line's fields name columns the reader knows (a header).
bool isCsvHeader(QStringView line, QChar separator);

Result<ImportSource> readText(const SourceLines& lines, const QList<int>& numbers, const QString& name);

// "Sparta – Kladno 5:4 pp", "Arsenal 4-3 (2-2) Leicester", "18:00 Liberec vs Slavia", "Boston @ Toronto": the teams
// (home first), a leading date, and what follows them. Nothing when the line holds no two names; an error when
// it does but what follows them is not understood.
struct TextMatch {
    std::optional<ImportDate> date;
    QString home, away;
    MatchTail tail;
};
Result<std::optional<TextMatch>> textMatch(const QString& text);

Result<ImportSource> readCalendar(const QString& text, const QString& name);
