// SPDX-License-Identifier: MIT
// A league the fan starts himself: its schedule made by the circle method, its match days from a
// calendar of playing weekdays and breaks, and its two files.
#pragma once

#include "common/result.h"
#include "season/leaguefiles.h"
#include "season/seasonstore.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QTime>
#include <array>
#include <utility>

// One round's pairings, home team first.
using RoundPairings = QList<std::pair<int, int>>;

// K blocks of one meeting of every pair of N teams (team numbers 1..N). Each block is a single round
// robin of the canonical circle method, every second block mirrored and in reverse order: homes per pair
// balanced, no team three times at home or away in a row, and K (N − 2) breaks for an even N, none for an
// odd one, whose teams rest once a block.
QList<RoundPairings> roundRobinSchedule(int teams, int meetings);

// Two home or two away games of a team in a row (a rest between them does not part them), over all teams.
int countBreaks(const QList<RoundPairings>& rounds, int teams);

inline constexpr int kMaxMeetings = 8;

struct NewLeague {
    QString name;
    QString season; // e.g. "2026/2027"
    QStringList teams;
    std::array<int, 3> lines{};
    int meetings = 4;
    QDate start;
    QList<int> weekdays;                   // Qt::DayOfWeek, 1 Monday .. 7 Sunday
    QList<std::pair<QDate, QDate>> breaks; // first and last day, both without matches
    LeagueRules rules;
    QMap<int, QTime> kickOffs; // by weekday: the time every match of a round on that day starts
};

// "út,pá,ne" (also without diacritics, any case) as weekdays; an error naming the unknown one.
Result<QList<int>> parseWeekdays(const QString& text);
// "st=18:00,so=17:00": the kick-off of each weekday named; an error naming what is wrong.
Result<QMap<int, QTime>> parseKickOffs(const QString& text);
// "D.M.YYYY-D.M.YYYY".
Result<std::pair<QDate, QDate>> parseDateRange(const QString& text);

// Lower-case letters and digits of the text, without diacritics: names compared as a fan reads them.
QString plainLetters(const QString& text);

// The request's name, season, teams and lines as a season of `rounds` undated, unpaired rounds, or why they
// make no league.
Result<SeasonStore> leagueFrame(const NewLeague& request, int rounds);
// The season the request describes, every round dated, or why it cannot be made, in Czech.
Result<SeasonStore> makeLeague(const NewLeague& request);

// The file name stem a league gets: its name in lower-case letters and digits without diacritics, and
// the two-digit years of its season ("Extraliga", "2026/2027" → "extraliga2627").
QString leagueCode(const QString& name, const QString& season);

// The competition file's lines of a season.
QStringList competitionLines(const SeasonStore& season);

// The competition file's bytes, or why a name cannot stand in it: they read back as exactly this league.
Result<QByteArray> competitionBytes(const SeasonStore& season, TextEncoding encoding);

// Writes sezona_<code>.txt and los_<code>.txt into the folder, never over an existing league; returns the
// competition file's path. A code that makes no file name, or names a league that is there, fails with
// kNameRefused: the fan is to choose another.
inline constexpr int kNameRefused = 1;
Result<QString> writeNewLeague(const QString& folder, const QString& code, const SeasonStore& season);
