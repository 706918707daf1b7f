// SPDX-License-Identifier: MIT
// How a league scores: the points of the five outcome classes, whether a game may end level, whether it
// goes to overtime. Leagues that do not say so score as they always have: 3, 2, 1, 1, 0 with draws.
#pragma once

#include "common/result.h"
#include "season/notation.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct LeagueRules {
    // A regulation win, a win after overtime or a shoot-out, a draw, a loss after them, a regulation loss.
    std::array<int, 5> points = bodovani;
    bool draws = true;
    bool overtime = true;

    bool operator==(const LeagueRules&) const = default;
    int pointsOf(OutcomeClass c) const { return points[static_cast<std::size_t>(c)]; }
};

// The competition file's keys of the rules: "body=3,2,1,1,0", "remizy=ano|ne", "prodlouzeni=ano|ne".
inline constexpr char16_t kPointsKey[] = u"body=";
inline constexpr char16_t kDrawsKey[] = u"remizy=";
inline constexpr char16_t kOvertimeKey[] = u"prodlouzeni=";

// "3,2,1,1,0": five whole numbers 0..9; why not, in Czech.
Result<std::array<int, 5>> parsePoints(const QString& text);
// "ano"/"ne", also "yes"/"no"; nothing for anything else.
std::optional<bool> parseYesNo(const QString& text);
// The rules' lines of a competition file: none for the rules every league had before it could say.
QStringList rulesLines(const LeagueRules& rules);
// Rules that cannot be played: a league without draws and without overtime has games that end with no
// result it allows.
QString rulesProblem(const LeagueRules& rules);

// The result as the league stores it: a draw with "p" where it has overtime (so it always was), without
// it where it has none.
QString normaliseResult(const QString& text, const LeagueRules& rules);
// Why the rules exclude a result as typed or stored, in Czech; empty when they allow it: a level result
// where there are no draws, a mark of overtime or a shoot-out where there is no overtime.
QString rulesRefusal(const QString& text, const LeagueRules& rules);

// The systems a new league is offered, by name.
struct NamedRules {
    QString name;
    LeagueRules rules;
};
QList<NamedRules> usualRules();
// What the rules are called where they have a name; else their points and marks.
QString rulesName(const LeagueRules& rules);
