// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <utility>

// Result strings: "4:2", "3:2p" (overtime), "2:1n" (shoot-out); empty means not played.

struct ParsedResult {
    int HomeGoals = 0;
    int AwayGoals = 0;
    bool ExtraTimeFlag = false;
};

enum class OutcomeClass { A, B, C, D, E };

// Points of the classes A..E.
inline constexpr std::array<int, 5> bodovani = {3, 2, 1, 1, 0};

inline int pointsOf(OutcomeClass c)
{
    return bodovani[static_cast<std::size_t>(c)];
}
inline QChar letterOf(OutcomeClass c)
{
    return QChar(u'A' + static_cast<char16_t>(c));
}

// True for the empty string and the twelve masks #:#, #:##, ##:#, ##:## with an optional p or n.
bool isAcceptedResult(const QString& text);

// Splits a non-empty result string; a suffix on a margin other than one goal is ignored and a draw
// always counts as extra time. The empty string gives a default ParsedResult.
ParsedResult ZkoumatVysledek(const QString& result);

// Home and away class of a parsed result.
std::pair<OutcomeClass, OutcomeClass> classify(const ParsedResult& r);

// The conversions applied while typing: "/" -> "n", "+" -> ":", and "-" -> ":" right after the home goals
// ("3-2" is 3:2), "p" anywhere else (the keypad's "5+4-" is 5:4p).
QString convertKeypadInput(const QString& text);

// What leaving a result field makes of its text: trimmed, emptied when not accepted, and normalised
// (a suffix only on a one-goal margin or a draw, a draw always with "p").
QString normaliseResult(const QString& text);
