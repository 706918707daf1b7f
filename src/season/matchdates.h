// SPDX-License-Identifier: MIT
// The league's dates file ("terminy_CODE.txt"): the matches played on a day or at a time of their own, or
// postponed without a date yet. The schedule file stays as it always was; a league without the file has every
// match on its round's date.
#pragma once

#include "common/result.h"
#include "seasonstore.h"

// "12;3;12.2.2008;18:00", "12;3;;18:00" (a time on the round's date), "12;3;odloženo": round, slot, date, time.
Result<QMap<std::pair<int, int>, MatchDate>> readMatchDates(const QByteArray& bytes, const QString& fileName,
                                                            const SeasonStore& season);
// The file's lines, a comment first, in round and slot order.
QStringList matchDatesLines(const QMap<std::pair<int, int>, MatchDate>& dates);
// Whether the match may take the date; if not, why, in Czech.
Result<void> checkMatchDate(const SeasonStore& season, int round, int slot, const MatchDate& date);
// "18:00", "9:30": a kick-off time; none for anything else.
std::optional<QTime> clockTime(const QString& text);
// "12.2.2008 18:00", "odloženo", "" for a match on its round's date without a time.
QString matchDateText(const MatchDate& date);
