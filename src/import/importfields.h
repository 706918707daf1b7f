// SPDX-License-Identifier: MIT
// The pieces a source's line is made of, as real files write them: scores with their marks of extra time,
// kick-off times, dates with or without a year or with month names, and team names around them.
#pragma once

#include "common/result.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

// How much of the year a source's date gave: a two-digit year or none is settled by the dates around it.
enum class YearGiven { Full, TwoDigits, None };

struct ImportDate {
    QDate date; // with YearGiven::None the year is 2000, a leap year, until settled
    YearGiven year = YearGiven::Full;
    QTime time;
};

// "14.3.2008", "2008-03-14", "14/03/08", "14.3.", "Sat Aug/12", "20 Jan 18", "Sat Sep 12 2020", "sobota 14. března
// 2008"; a time may follow ("18:00", "2008-03-14T18:00"). Nothing when the whole text is no date.
std::optional<ImportDate> readImportDate(const QString& text);

// A mark of extra time ("pp", "(OT)", "OTL", "n.V.", "a.p.", "SN", "pen", …): 'p' for overtime, 'n' for a
// shoot-out; nothing when the text is no mark the reader knows.
std::optional<QChar> extraTimeMark(const QString& text);

// "18:00", "9:30", "08:15": a kick-off time, not a score — minutes of two digits and an hour a game starts at
// (9 to 23, or written with a leading zero). "2:10" stays a score.
std::optional<QTime> kickOffTime(const QString& text);

// What stands after a match's teams: a score with its marks, period scores in parentheses (ignored), a
// kick-off time, "odloženo"/"[postponed]". Text the reader does not understand is an error saying it.
struct MatchTail {
    QString result; // the program's notation; empty when not played
    QTime time;
    bool postponed = false;
};
Result<MatchTail> readMatchTail(const QString& text);
// "5:4", "5-4", "0–3", "5:4 pp", "3:2 (OT)", "2:1 sn", "6-5 pen": the result in the program's notation;
// nothing when the text is no score.
std::optional<QString> parseScore(const QString& text);
// A score column's text: as above, but "17:30" is a score there; "-", "P-P", "odloženo" are no result.
Result<MatchTail> readScoreText(const QString& text);

// "9. kolo", "Matchday 9", "Round 9", "9": a round; "Čtvrtfinále", "Quarterfinal", "Play-off": a play-off stage;
// "Základní část", "Regular Season": neither. Nothing when the text is none of them.
struct RoundText {
    int round = 0;
    QString stage;
};
std::optional<RoundText> readRoundText(const QString& text);

// "2015/2016", "2015/16", "2015-2016" and "2015" name one season; other texts must be equal but for case.
bool sameSeason(const QString& a, const QString& b);

// "👨 🇫🇮 Finsko" → "Finsko": symbols and flags around a name are no part of the team.
QString cleanTeamName(const QString& name);
// A team's name rather than words of a sentence: short, without a sentence's punctuation, and not more than
// one long word in small letters ("Č. Budějovice juniors" is a name, "zvítězily v Litvínově" is not).
bool standsAsName(const QString& text);
