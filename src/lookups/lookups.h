// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"
#include "export/viewtable.h"
#include "season/seasonstore.h"

#include <QStringList>
#include <array>

// The texts of the team and match lookups, exactly as their windows show them.

// Balance of one team: ten rows (games … overall success) with the home, away and total texts.
struct BalanceRow {
    QString caption, home, away, total;
};
std::array<BalanceRow, 10> teamBalance(const SeasonStore& season, int team);

// Every match of the team over the season, one aligned line each.
QStringList teamMatchLines(const SeasonStore& season, int team);
// The printed page: title, underline, the lines and the footer with the print time.
QString printedPage(const QString& title, const QStringList& lines, const QDateTime& printed);
// The team's page: its name and the league as the title.
QString matchesPage(const SeasonStore& season, int team, const QStringList& lines, const QDateTime& printed);

// Meetings of two teams (0 = the empty entry of the lists) in round order, or "nesprávné zadání".
QStringList headToHeadLines(const SeasonStore& season, int first, int second);

// Past rounds' matches without a result, grouped under round headers; a round dated today is not past.
struct MissingResults {
    QStringList lines;
    QList<int> rounds; // the round of each line, 0 for the blank line after a round
};
MissingResults missingResults(const SeasonStore& season, const QDate& today);
// How the round list tells a match off its round's day: "odloženo", "hraje se 12.2.2008 18:00", "výkop 17:30";
// empty for a match on its round's day without a time.
QString ownDateText(const SeasonStore& season, int slot, int round);
// "Příští zápasy": the matches of the `days` days from today by their own dates, every round, in order of day and
// kick-off: "12.2.2008 18:00  Sparta - Kladno  (21. kolo)".
MissingResults nextMatches(const SeasonStore& season, const QDate& today, int days = 7);
// "Odložené zápasy": the matches without a result postponed without a date or moved off their round's date.
MissingResults postponedMatches(const SeasonStore& season);

struct CalendarEvent {
    QString dates;
    QString name;
    bool announced() const { return !dates.isEmpty() || !name.isEmpty(); }
};
// The ten events of a calendar file; those the file leaves out stay empty, never shown as events.
std::array<CalendarEvent, 10> readCalendar(const QByteArray& bytes);
// Whether the bytes are a calendar file (comments and "aN=dates=name" lines, at least one event); if not,
// the Czech fault naming the file and the line.
Result<void> checkCalendar(const QByteArray& bytes, const QString& fileName);
// The menu item and, in lower case, the window's caption: "Kalendář akcí 2007/2008".
inline QString calendarCaption(const QString& season)
{
    return QStringLiteral("Kalendář akcí ") + season;
}
// What the program says when the season has no calendar file, or nothing is missing.
inline const QString kNoCalendar = QStringLiteral("není definován");
inline const QString kNothingMissing = QStringLiteral("Nenalezeny žádné chybějící výsledky.");
// "kalendar_" + season code + ".dat": 2007/2008 gives kalendar_0708.dat.
QString calendarFileName(const QString& season);

ViewTable balanceView(const SeasonStore& season, int team);
ViewTable matchesView(const SeasonStore& season, int team);
ViewTable headToHeadView(const SeasonStore& season, int first, int second);
ViewTable missingView(const SeasonStore& season, const QDate& today);
ViewTable calendarView(const SeasonStore& season, const std::array<CalendarEvent, 10>& events);
