// SPDX-License-Identifier: MIT
// Fixtures and results a fan already has elsewhere: a spreadsheet's CSV, a calendar, or text pasted from
// a web page, read into lines of two team names, a date or round, and a result.
#pragma once

#include "import/importfields.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// One match the source names, its teams as written there.
struct ImportLine {
    ImportLine(int number = 0, QDate day = {}, int inRound = 0, QString homeTeam = {}, QString awayTeam = {},
               QString played = {})
        : line(number), date(day), round(inRound), home(std::move(homeTeam)), away(std::move(awayTeam)),
          result(std::move(played))
    {
    }
    int line = 0; // the source's line, or a calendar's event, from 1
    QDate date;   // invalid when the source has none
    int round = 0;
    QString home;
    QString away;
    QString result; // in the program's notation; empty when not played
    QTime time;     // the kick-off, when the source gives it
    bool postponed = false;
    QString stage;  // a play-off stage's name as the source writes it; empty in the regular season
    QString season; // the season and the division of a file that holds several
    QString division;
    YearGiven year = YearGiven::Full;
};

struct ImportSource {
    QList<ImportLine> lines;
    bool hasRounds = false;   // a round column: lines go to their rounds, not by date
    int skipped = 0;          // lines of pasted text without two teams and a score
    int merged = 0;           // the same game named again (a headline and its subheading)
    bool resultsKnown = true; // false when no column of the source holds results
    bool events = false;      // a calendar's: the lines are its events
    QStringList seasons;      // the seasons and divisions of a file that holds more than one
    QStringList divisions;
};

// The column roles a fan may give where a header cannot tell them.
enum class ColumnRole {
    Ignore,
    Date,
    Time,
    Round,
    Home,
    Away,
    Score,
    HomeGoals,
    AwayGoals,
    Extra,
    Note,
    Season,
    Division
};
// "home", "domácí", …: the role a word names; nothing for an unknown word.
std::optional<ColumnRole> columnRoleNamed(const QString& word);
// The roles offered to the fan, in the order shown, with their Czech names.
QList<std::pair<ColumnRole, QString>> columnRoles();

struct ImportOptions {
    QDate near;                // a league's first date: years not given go nearest it
    QList<ColumnRole> columns; // the roles of a CSV's columns, when given
    QString season;            // the season and division read from a file of several
    QString division;
};

// The code of a refusal the fan can mend by saying what the columns hold.
inline constexpr int kColumnsUnknown = 3;

// The first lines of a CSV in their fields, for the fan to say what each column holds; nothing for another source.
QList<QStringList> csvPreview(const QByteArray& bytes, qsizetype lines);

// No fixture list of a season comes near this.
inline constexpr qint64 kMaxImportBytes = 10 * 1024 * 1024;

// A calendar, a CSV (separator, header and encoding found by themselves) or plain text; `name` is what the
// messages call the source. A fault is said in Czech with the line and the reason.
Result<ImportSource> readImportSource(const QByteArray& bytes, const QString& name, const ImportOptions& options = {});

// What the fan must still choose before a file of several seasons or divisions is read as one: the message,
// or nothing.
QString choiceNeeded(const ImportSource& source, const ImportOptions& options);
