// SPDX-License-Identifier: MIT
// Where each team may finish: the unplayed matches simulated many times over by a fixed goal model.
#pragma once

#include "export/viewtable.h"
#include "season/seasonstore.h"

#include <array>
#include <atomic>
#include <cstdint>

// The goal model fitted to the played matches, with one round of prior for the league and five
// matches of prior for each team, so that an early season is not read too much into.
struct GoalModel {
    double home = 0;             // h: the league's home goals per match
    double away = 0;             // a: its away goals per match
    double overtimeHomeWins = 0; // q: the share of extra-time decisions won by the home team
    std::array<double, kTeams> attack{};
    std::array<double, kTeams> defence{};
};
GoalModel fitGoalModel(const SeasonStore& season);

// Shares are counted exactly: a season adds kShareUnit to one place, or kShareUnit / m to each of m
// places that m teams share, so the sums do not depend on the order in which seasons are added.
inline constexpr std::uint64_t kShareUnit = 360360; // divisible by 1..14

struct Forecast {
    int seasons = 0;
    std::uint64_t seed = 0;
    // [team - 1][place - 1], in kShareUnit per season
    std::array<std::array<std::uint64_t, kTeams>, kTeams> places{};
    // The sum of final points over all seasons, per team - 1.
    std::array<std::uint64_t, kTeams> points{};

    double placeShare(int team, int place) const
    {
        return static_cast<double>(places[team - 1][place - 1]) / (static_cast<double>(kShareUnit) * seasons);
    }
    double expectedPoints(int team) const { return static_cast<double>(points[team - 1]) / seasons; }
};

// `seasons` completions of the season, each ordered by the final rules. Season k draws from a stream
// derived from `seed` and k alone, so the numbers are the same whatever `threads` is. Setting `stop`
// ends the work early, with a forecast of no use.
Forecast simulateSeason(const SeasonStore& season, int seasons, std::uint64_t seed, int threads,
                        const std::atomic<bool>* stop = nullptr);

// A share as the outlook shows it: "" for none, "<1" for under one per cent, else whole per cent.
QString shareText(double share);

// The outlook as rows in the current order: team, points, expected points, the 14 place shares.
struct OutlookRow {
    int team = 0;
    int points = 0;
    double expectedPoints = 0;
    std::array<double, kTeams> places{};
};
QList<OutlookRow> outlookRows(const SeasonStore& season, const Forecast& forecast);
ViewTable outlookView(const SeasonStore& season, const QList<OutlookRow>& rows);
inline ViewTable outlookView(const SeasonStore& season, const Forecast& forecast)
{
    return outlookView(season, outlookRows(season, forecast));
}
// The line under the grid: how the numbers are made.
QString outlookNote(const Forecast& forecast);
