// SPDX-License-Identifier: MIT
// Where each team may finish: the unplayed matches simulated many times over by a fixed goal model.
#pragma once

#include "export/viewtable.h"
#include "season/seasonstore.h"
#include "standings/bounds.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

// The goal model fitted to the played matches, with one round of prior for the league and five
// matches of prior for each team, so that an early season is not read too much into. A team's attack and
// defence are not known, only how likely each value is: with goals Poisson and a Gamma prior, a Gamma of
// shape = prior goals + goals and rate = (prior matches + matches) · the league's goals per side. Its mean is
// the estimate; every simulated season draws its own value, so that what ten games cannot tell widens the
// shares.
struct GoalModel {
    double home = 0;                        // h: the league's home goals per match
    double away = 0;                        // a: its away goals per match
    double overtimeHomeWins = 0;            // q: the share of extra-time decisions won by the home team
    std::array<double, kMaxTeams> attack{}; // the means
    std::array<double, kMaxTeams> defence{};
    std::array<double, kMaxTeams> attackShape{}, defenceShape{}, rate{};
};
GoalModel fitGoalModel(const SeasonStore& season);
// The chance that the home team wins a game that cannot end level: it leads after regulation, or the game
// is level and the home team takes the extra time (the model's q).
double homeWinChance(const GoalModel& model, int home, int away);

inline std::uint64_t mixBits(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
inline constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

// SplitMix64: cheap to seed for every simulated season, and well mixed.
class RandomStream {
public:
    explicit RandomStream(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() { return mixBits(m_state += kGolden); }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; } // [0, 1)
    double normal(); // by the inverse of the normal distribution, one draw for one number

private:
    std::uint64_t m_state;
};
// Draws of Gamma(shape, 1); divided by a rate, of Gamma(shape, rate). From a shape of three the cube of
// a normal (Wilson and Hilferty), as good as exact there and cheap; below it Marsaglia and Tsang's method.
class GammaDraw {
public:
    explicit GammaDraw(double shape = 1);
    // Inline where the cube serves: a simulated season draws two for every team. A `mirror` of -1 makes the
    // antithetic draw of what 1 draws from the same stream, where the cube serves.
    double operator()(RandomStream& random, double mirror = 1) const
    {
        if (m_shape < 3)
            return bySmallShape(random);
        const double root = m_centre + mirror * random.normal() * m_spread;
        return root > 0 ? m_shape * root * root * root : 0;
    }

private:
    double bySmallShape(RandomStream& random) const;
    double m_shape, m_centre, m_spread;
};
inline double gammaDraw(double shape, RandomStream& random)
{
    return GammaDraw(shape)(random);
}

// Which model made the shares, for a reader comparing two versions' numbers.
inline constexpr char kOutlookModel[] = "poisson-gamma-posterior";

struct Playoff;

// Shares are counted exactly: a season adds kShareUnit to one place, or kShareUnit / m to each of m
// places that m teams share, so the sums do not depend on the order in which seasons are added.
inline constexpr std::uint64_t kShareUnit = 232792560; // divisible by 1..20

// An unplayed match and how the seasons in which its home team won ended.
struct SimulatedMatch {
    int round = 0, slot = 0, home = 0, away = 0;
    std::uint64_t homeWins = 0;
    // [team - 1][line 0..2]: the team's share at or above the line in those seasons, in kShareUnit
    std::array<std::array<std::uint64_t, 3>, kMaxTeams> aboveIfHomeWins{};
};

// How often a team played a play-off stage and won its series there, in seasons.
struct StageOdds {
    QString name;
    std::array<std::uint64_t, kMaxTeams> plays{}, wins{}; // by team - 1
};

struct Forecast {
    int teams = 0;
    int seasons = 0;
    std::uint64_t seed = 0;
    std::array<int, 3> lines{}; // HR1..HR3 of the season
    // [team - 1][place - 1], in kShareUnit per season
    std::array<std::array<std::uint64_t, kMaxTeams>, kMaxTeams> places{};
    // The sum of final points over all seasons, per team - 1.
    std::array<std::int64_t, kMaxTeams> points{}; // signed: a deduction can leave a team below zero
    std::vector<SimulatedMatch> matches;
    // Every stage of the league's play-off, in its order; none without a play-off.
    std::vector<StageOdds> playoff;
    int finalStage = -1;      // the title's stage
    int relegationStage = -1; // the stage whose losers go down
    double playsShare(std::size_t stage, int team) const
    {
        return static_cast<double>(playoff[stage].plays[static_cast<std::size_t>(team - 1)]) / seasons;
    }
    double winsShare(std::size_t stage, int team) const
    {
        return static_cast<double>(playoff[stage].wins[static_cast<std::size_t>(team - 1)]) / seasons;
    }

    double placeShare(int team, int place) const
    {
        return static_cast<double>(places[team - 1][place - 1]) / (static_cast<double>(kShareUnit) * seasons);
    }
    double expectedPoints(int team) const { return static_cast<double>(points[team - 1]) / seasons; }
    // The share of seasons in which the team ends at or above line k (0..2).
    double lineShare(int team, std::size_t k) const;
};

// Whether the simulation tallies what each remaining match means for each team (keyMatches): a good
// part of its time, wasted where nobody asks.
enum class KeyMatchTallies { Counted, Skipped };

// `seasons` completions of the season, each ordered by the final rules, and with a play-off its every
// stage seeded from that table and its games not yet entered played by the same model. Season k draws
// from a stream derived from `seed` and k alone, so the numbers are the same whatever `threads` is.
// Setting `stop` ends the work early, with a forecast of no use.
Forecast simulateSeason(const SeasonStore& season, int seasons, std::uint64_t seed, int threads,
                        const std::atomic<bool>* stop = nullptr, KeyMatchTallies tallies = KeyMatchTallies::Counted,
                        const Playoff* playoff = nullptr);

// The remaining matches that move the team's share at or above line k (0..2) the most, most first.
struct KeyMatch {
    int round = 0, slot = 0, home = 0, away = 0;
    double ifHomeWins = 0, ifAwayWins = 0;
};
QList<KeyMatch> keyMatches(const Forecast& forecast, int team, std::size_t k, int count = 5);

// The outlook of one moment of the season: the simulated shares and the exact bounds.
inline constexpr std::uint64_t kDefaultSeed = 2007;
struct Outlook {
    Forecast forecast;
    SeasonBounds bounds{};
};
Outlook computeOutlook(const SeasonStore& season, int seasons, std::uint64_t seed, int threads,
                       const std::atomic<bool>* stop = nullptr, KeyMatchTallies tallies = KeyMatchTallies::Counted,
                       const Playoff* playoff = nullptr);
// The threads worth starting: the cores this process may run on.
int usableCores();

// A share as the outlook shows it: "" for none, "<1" for under one per cent, ">99" for short of all
// but over 99.5 per cent, else whole per cent.
QString shareText(double share);

// The outlook as rows in the current order, with the exact bounds beside the simulated shares.
struct OutlookLine {
    int line = 0; // places at or above it
    double share = 0;
    bool clinched = false, out = false;
    int needed = 0; // kNeverSure when no number of points makes the team sure
};
struct OutlookRow {
    int team = 0;
    int points = 0;
    double expectedPoints = 0;
    int best = 0, worst = 0;
    QList<double> places; // by place - 1
    QList<OutlookLine> lines;
    QList<double> stagePlays;         // the share of seasons the team plays each play-off stage
    std::optional<double> title;      // and wins the final's series, where the play-off has one
    std::optional<double> relegation; // and loses the relegation series, where the play-off has one
};
QList<OutlookRow> outlookRows(const SeasonStore& season, const Outlook& outlook);
// The play-off's stages, in the order of the outlook's columns of them.
QStringList stageNames(const Forecast& forecast);
// The places, the lines, and with a play-off the share of playing each of its `stages` and of the title.
ViewTable outlookView(const SeasonStore& season, const QList<OutlookRow>& rows, const QStringList& stages = {});
inline ViewTable outlookView(const SeasonStore& season, const Outlook& outlook)
{
    return outlookView(season, outlookRows(season, outlook), stageNames(outlook.forecast));
}
// The team's key matches for line k as a table.
ViewTable keyMatchesView(const SeasonStore& season, const Forecast& forecast, int team, std::size_t k);
// The line under the grid: how the numbers are made.
QString outlookNote(const Forecast& forecast);
