// SPDX-License-Identifier: MIT
// Fixtures and results a fan already has elsewhere: a spreadsheet's CSV, a calendar, or text pasted from
// a web page, read into lines of two team names, a date or round, and a result.
#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// One match the source names, its teams as written there.
struct ImportLine {
    int line = 0; // the source's line, or a calendar's event, from 1
    QDate date;   // invalid when the source has none
    int round = 0;
    QString home;
    QString away;
    QString result; // in the program's notation; empty when not played
};

struct ImportSource {
    QList<ImportLine> lines;
    bool hasRounds = false; // a round column: lines go to their rounds, not by date
    int skipped = 0;        // lines of pasted text without two teams and a score
};

// No fixture list of a season comes near this.
inline constexpr qint64 kMaxImportBytes = 10 * 1024 * 1024;

// A calendar, a CSV (separator, header and encoding found by themselves) or plain text; `name` is what the
// messages call the source. A fault is said in Czech with the line and the reason.
Result<ImportSource> readImportSource(const QByteArray& bytes, const QString& name);

// "5:4", "5-4", "5:4 pp", "3:2OT", "2:1 sn", "4:3p": the result in the program's notation; nothing when the
// text is no score.
std::optional<QString> parseScore(const QString& text);
// "14.3.2008", "2008-03-14" (a time may follow), "14/03/2008" or "14/03/08"; invalid when none of them.
QDate parseImportDate(const QString& text);
