// SPDX-License-Identifier: MIT
#include "forecast.h"

#include "playoff/playoff.h"
#include "season/notation.h"
#include "standings/aggregation.h"
#include "standings/tiebreak.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <numeric>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Goals beyond this are so unlikely that the table's last entry takes them all.
constexpr int kMaxGoals = 20;

// The cumulative Poisson distribution of one side's goals: `below[k]` the share of fewer than k goals.
template <typename Share> struct GoalTable {
    std::array<Share, kMaxGoals + 2> below{};

    explicit GoalTable(double mean)
    {
        double p = std::exp(-mean), sum = 0;
        for (int k = 0; k <= kMaxGoals; ++k) {
            sum += p;
            below[static_cast<std::size_t>(k) + 1] = static_cast<Share>(sum);
            p *= mean / (k + 1);
        }
        below.back() = 1;
    }
    // The first count whose cumulative share exceeds u: the shares are ordered, so it is how many do not.
    // Counted without a branch, as the vector unit does it, because where a search stops is a coin toss
    // the processor mispredicts (it was most of a simulated season's time).
    int draw(Share u) const
    {
        int goals = 0;
        for (std::size_t k = 0; k < kMaxGoals; ++k)
            goals += below[k + 1] <= u ? 1 : 0;
        return goals;
    }
};

// Every simulated season has its own means, so the tables are made once for a grid of means, in floats
// so that the whole grid stays in the fastest cache. A mean between two steps takes the upper one with
// the share of the way it has gone: the mean of the goals is exact, their variance a thousandth of a goal
// wider at most.
constexpr double kGridSteps = 32;
constexpr int kGridMax = 12 * 32; // means above twelve goals take twelve

using GoalGrid = std::vector<GoalTable<float>>;

const GoalGrid& goalGrid()
{
    static const GoalGrid grid = [] {
        GoalGrid tables;
        tables.reserve(kGridMax + 1);
        for (int k = 0; k <= kGridMax; ++k)
            tables.emplace_back(k / kGridSteps);
        return tables;
    }();
    return grid;
}

// A mean comes in 64ths of a grid step, so that the step is whole-number arithmetic; which of its two steps it
// takes is 6 bits of the draw of strengths. A game's own draw gives its goals and who takes extra time (the last
// 12 bits, see drawnGame).
constexpr double kStepFraction = 64;
constexpr int kExtraTimeBits = 12;
// The grid's table for a mean: the upper of its two steps with the share of the way the mean has gone,
// `fraction` (0..63) being the draw.
inline std::size_t gridTable(double scaledMean, std::uint64_t fraction)
{
    const std::int64_t step = (static_cast<std::int64_t>(scaledMean) + static_cast<std::int64_t>(fraction)) >> 6;
    return static_cast<std::size_t>(std::min<std::int64_t>(step, kGridMax));
}

// The shares of a game's results the home side leads and that end level, from the two sides' goal tables.
template <typename Share> std::pair<double, double> leadAndLevel(const GoalTable<Share>& x, const GoalTable<Share>& y)
{
    double lead = 0, level = 0;
    for (std::size_t i = 0; i <= kMaxGoals; ++i) {
        const double px = x.below[i + 1] - x.below[i];
        lead += px * y.below[i];
        level += px * (y.below[i + 1] - y.below[i]);
    }
    return {lead, level};
}

// A play-off series counts only for who wins it. For every two means on a grid of eighths of a goal, the chance
// that the home side wins a game: it leads, or the game is level and it takes the extra time. Made for each
// simulation's share of extra time, small enough to stay in the cache; means between grid points are read
// between the four nearest.
constexpr int kOutcomeSteps = 8; // a goal
constexpr int kOutcomeMax = 12 * kOutcomeSteps;
using OutcomeGrid = std::vector<float>; // [home mean * (kOutcomeMax + 1) + away mean]

OutcomeGrid outcomeGrid(double overtimeHome)
{
    static const std::vector<std::pair<double, double>> leadAndLevels = [] {
        std::vector<GoalTable<double>> tables;
        for (int k = 0; k <= kOutcomeMax; ++k)
            tables.emplace_back(static_cast<double>(k) / kOutcomeSteps);
        std::vector<std::pair<double, double>> shares;
        for (const GoalTable<double>& x : tables)
            for (const GoalTable<double>& y : tables)
                shares.push_back(leadAndLevel(x, y));
        return shares;
    }();
    OutcomeGrid grid;
    for (const auto& [lead, level] : leadAndLevels)
        grid.push_back(static_cast<float>(lead + level * overtimeHome));
    return grid;
}

struct Unplayed {
    std::uint8_t home, away; // team - 1
    int round;
    int slot;
};

// A team's points and goals in one word, so that a game adds to each side once: the points (which an
// adjustment may make negative) in the top bits, the goals for and against in 20 bits each below them.
using PackedTally = std::int64_t;
constexpr PackedTally packTally(std::int64_t points, std::int64_t goalsFor, std::int64_t goalsAgainst)
{
    return points * (std::int64_t{1} << 40) + goalsFor * (std::int64_t{1} << 20) + goalsAgainst;
}
using PackedTallies = std::array<PackedTally, kMaxTeams>;

// The attack and defence one simulated season plays with, its goal means in 64ths of the grid's steps.
struct Strengths {
    std::array<double, kMaxTeams> home{}, away{}, defence{};
};

// Each team's posterior, made ready once for every season's draws.
struct Posteriors {
    std::array<GammaDraw, kMaxTeams> attack, defence;
    std::array<double, kMaxTeams> perRate{}; // 1 / rate
    double home = 0, away = 0;               // the league's means, in the grid's steps and their fractions
};

Posteriors posteriorsOf(const GoalModel& model)
{
    Posteriors p;
    for (std::size_t t = 0; t < kMaxTeams; ++t)
        p.attack[t] = GammaDraw(model.attackShape[t]), p.defence[t] = GammaDraw(model.defenceShape[t]),
        p.perRate[t] = model.rate[t] > 0 ? 1 / model.rate[t] : 0;
    p.home = model.home * kGridSteps * kStepFraction, p.away = model.away * kGridSteps * kStepFraction;
    return p;
}

void drawStrengths(Strengths& s, const Posteriors& p, int teams, RandomStream& random, double mirror)
{
    for (std::size_t t = 0; t < static_cast<std::size_t>(teams); ++t) {
        const double attack = p.attack[t](random, mirror) * p.perRate[t];
        s.home[t] = p.home * attack, s.away[t] = p.away * attack;
        s.defence[t] = p.defence[t](random, mirror) * p.perRate[t];
    }
}

// What a game's result adds, by its key: whether the home side trails, whether the game is level, whether the
// home side takes the extra time (a level game goes to extra time unless it may end level). Looked up, so that
// nothing branches on a score: where a game ends is a coin toss the processor mispredicts.
struct Outcome {
    PackedTally home = 0, away = 0; // points and extra time's goal
    std::int8_t homePoints = 0, awayPoints = 0;
    std::uint8_t homeGoal = 0, awayGoal = 0; // of extra time
    std::uint8_t homeWon = 0;                // on goals, extra time's included
};
using GameOutcomes = std::array<Outcome, 8>;

inline unsigned outcomeKey(int x, int y, bool homeTakes)
{
    return static_cast<unsigned>(x < y) | static_cast<unsigned>(x == y) << 1 | static_cast<unsigned>(homeTakes) << 2;
}

GameOutcomes outcomesOf(const std::array<int, 5>& points, bool levelStands)
{
    GameOutcomes table;
    for (unsigned key = 0; key < table.size(); ++key) {
        const bool trails = key & 1U, level = key & 2U, homeTakes = key & 4U;
        if (trails && level)
            continue; // no such game
        const int extraHome = level && !levelStands && homeTakes, extraAway = level && !levelStands && !homeTakes;
        const int result = trails ? 4 : !level ? 0 : levelStands ? 2 : homeTakes ? 1 : 3;
        const auto hp = points[static_cast<std::size_t>(result)], ap = points[static_cast<std::size_t>(4 - result)];
        table[key] = {packTally(hp, extraHome, extraAway),
                      packTally(ap, extraAway, extraHome),
                      static_cast<std::int8_t>(hp),
                      static_cast<std::int8_t>(ap),
                      static_cast<std::uint8_t>(extraHome),
                      static_cast<std::uint8_t>(extraAway),
                      static_cast<std::uint8_t>(!trails && (!level || extraHome))};
    }
    return table;
}

// A stage as each simulated season plays it: who takes part, and the series the real play-off has begun.
struct SimStage {
    std::uint32_t places = 0; // bit p - 1: the stage takes place p from the table
    struct From {
        std::size_t stage;
        bool winners; // or losers
    };
    std::vector<From> from; // the earlier stages it takes the winners or losers of
    int participants = 0;
    int wins = 0;
    unsigned betterHosts = 0; // bit g: the better seed hosts game g
    std::size_t format = 0;   // the grid of fresh series' chances, shared by the stages whose series are alike
    struct Begun {
        int better, worse, betterWins, worseWins, games;
    };
    std::vector<Begun> begun;
};

// Everything a season needs that does not change from one season to the next.
struct Setup {
    PackedTallies played{};         // points and goals of the played matches
    std::vector<MatchScore> scores; // the played matches and room for the unplayed ones, by pair
    PairRanges byPair;
    std::vector<Unplayed> unplayed;
    std::vector<int> unplayedAt; // for each of the scores, its unplayed game or -1
    GoalModel model;
    std::uint64_t homeTakesBelow = 0; // that share in the draw's last bits
    GameOutcomes results;             // by outcomeKey
    int teams = 0;
    Posteriors posteriors;
    std::array<int, 3> lines{};
    bool tallyKeyMatches{}; // set for each simulation
    std::vector<SimStage> stages;
    const GoalTable<float>* grid = goalGrid().data();
    OutcomeGrid outcomes; // where there is a play-off
    std::size_t formats = 0;
};

using GameTables = std::array<const GoalTable<float>*, 2>; // a game's home side's goals, its away side's

// One thread's counts and its own room to work in; a season allocates nothing.
struct Worker {
    Forecast part;
    std::vector<MatchScore> scores;
    std::vector<std::uint64_t> homeWins; // every season's, kept apart from the matches' tallies for the cache
    std::vector<std::array<int, kMaxTeams / 2>> winners, losers; // of each stage's series, as places
    std::atomic<float>* series = nullptr; // each format's grid of fresh series' chances in turn, shared
    Strengths strengths;
    int draw = -1;                    // the strengths' draw
    std::vector<GameTables> tables;   // each unplayed game's two goal tables under them
    std::vector<std::uint64_t> drawn; // this season's draw of each unplayed game
};

// The play-off of one simulated season, seeded from its final table; counts who plays and wins each stage.
void playPlayoff(Worker& w, const Setup& setup, const Ranking& ranking, RandomStream& random);

// A game from its draw: the top 20 bits the home side's goals, the next 20 the away side's, the last 12 who
// takes extra time.
struct DrawnGame {
    int x, y;
    unsigned key; // of its outcome
};
inline DrawnGame drawnGame(const GameTables& tables, std::uint64_t bits, std::uint64_t homeTakesBelow)
{
    const int x = tables[0]->draw(static_cast<float>(bits >> 44) * 0x1.0p-20F),
              y = tables[1]->draw(static_cast<float>((bits >> 24) & 0xFFFFF) * 0x1.0p-20F);
    return {x, y, outcomeKey(x, y, (bits & ((1U << kExtraTimeBits) - 1)) < homeTakesBelow)};
}

// The season's unplayed games onto the played matches' tallies; each game's draw is kept, for the few scores a
// ranking reads. What the loop reads is held in locals: the setup would be read again after each store.
Tallies playGames(Worker& w, const Setup& setup, RandomStream& random)
{
    RandomStream stream = random;
    PackedTallies packed = setup.played;
    const GameTables* tables = w.tables.data();
    const std::uint64_t homeTakesBelow = setup.homeTakesBelow;
    const GameOutcomes results = setup.results;
    const Unplayed* games = setup.unplayed.data();
    std::uint64_t* drawn = w.drawn.data();
    std::uint64_t* homeWins = w.homeWins.data();
    for (std::size_t i = 0, n = setup.unplayed.size(); i < n; ++i) {
        const Unplayed u = games[i];
        const std::uint64_t bits = stream.next();
        const auto [x, y, key] = drawnGame(tables[i], bits, homeTakesBelow);
        const Outcome& o = results[key];
        drawn[i] = bits;
        homeWins[i] += o.homeWon;
        packed[u.home] += o.home + packTally(0, x, y);
        packed[u.away] += o.away + packTally(0, y, x);
    }
    random = stream;
    Tallies tallies(setup.teams);
    for (int t = 0; t < setup.teams; ++t) {
        const PackedTally v = packed[static_cast<std::size_t>(t)];
        tallies[t] = {static_cast<int>(v >> 40), static_cast<int>((v >> 20) & 0xFFFFF), static_cast<int>(v & 0xFFFFF)};
    }
    return tallies;
}

// The scores of this season's games between teams level on points: the only ones a ranking reads. Level teams
// are found by their points' last six bits, so that the pairs that are not level cost nothing.
void scoreLevelPairs(Worker& w, const Setup& setup, const Tallies& tallies)
{
    std::array<std::uint32_t, 64> teamsAt{}; // bit t: team t + 1
    const auto bucket = [&](int t) { return static_cast<std::size_t>(tallies[t].points) & 63U; };
    for (int t = 0; t < setup.teams; ++t)
        teamsAt[bucket(t)] |= 1U << t;
    for (int a = 0; a < setup.teams; ++a)
        for (std::uint32_t later = teamsAt[bucket(a)] >> a >> 1; later != 0; later &= later - 1) {
            const int b = a + 1 + std::countr_zero(later);
            if (tallies[a].points != tallies[b].points)
                continue;
            const auto first = static_cast<std::size_t>(a + 1), second = static_cast<std::size_t>(b + 1);
            for (std::size_t k = setup.byPair.begin[first][second]; k < setup.byPair.end[first][second]; ++k) {
                const int i = setup.unplayedAt[k];
                if (i < 0)
                    continue;
                const auto game = static_cast<std::size_t>(i);
                const auto [x, y, key] = drawnGame(w.tables[game], w.drawn[game], setup.homeTakesBelow);
                const Outcome& o = setup.results[key];
                MatchScore& score = w.scores[k];
                score.homePoints = o.homePoints, score.awayPoints = o.awayPoints;
                score.homeGoals = x + o.homeGoal, score.awayGoals = y + o.awayGoal;
            }
        }
}

// A simulated season's strengths are drawn once for four seasons in a row: choosing each game's two goal tables
// from them was most of a season's time. Each season still draws all its games, and each draw is a fair draw
// of the posterior, so the shares stay unbiased. Two draws in turn are mirror images (antithetic): shared
// strengths alone would scatter the shares more, the mirrored pairs keep them as close as a draw a season did
// (the same spread over forty seeds). A season's draw follows from its number, whichever thread plays it.
constexpr int kSeasonsPerDraw = 4;

void drawStrengthsOf(Worker& w, const Setup& setup, std::uint64_t seed, int draw)
{
    RandomStream random(mixBits(~seed ^ mixBits(static_cast<std::uint64_t>(draw / 2) + kGolden)));
    drawStrengths(w.strengths, setup.posteriors, setup.teams, random, draw % 2 == 0 ? 1 : -1);
    const Strengths& s = w.strengths;
    for (std::size_t i = 0; i < setup.unplayed.size(); ++i) {
        const Unplayed u = setup.unplayed[i];
        const std::uint64_t bits = random.next();
        w.tables[i] = {&setup.grid[gridTable(s.home[u.home] * s.defence[u.away], bits & 0x3F)],
                       &setup.grid[gridTable(s.away[u.away] * s.defence[u.home], (bits >> 6) & 0x3F)]};
    }
    w.draw = draw;
}

void addSeason(Worker& w, const Setup& setup, std::uint64_t seed, int index)
{
    RandomStream random(mixBits(seed ^ mixBits(static_cast<std::uint64_t>(index) + kGolden)));
    const int teams = setup.teams;
    if (index / kSeasonsPerDraw != w.draw)
        drawStrengthsOf(w, setup, seed, index / kSeasonsPerDraw);
    const Tallies tallies = playGames(w, setup, random);
    scoreLevelPairs(w, setup, tallies);
    Ranking ranking;
    rankByPoints(tallies, w.scores, RankingRules::Final, ranking, &setup.byPair);
    std::array<std::array<std::uint64_t, 3>, kMaxTeams> above; // where key matches are tallied
    const bool tallyKeyMatches = setup.tallyKeyMatches;        // read once: the counts' stores may alias it
    for (int top = 0; top < teams;) {
        int end = top + 1;
        while (end < teams && ranking[static_cast<std::size_t>(end)].by == Decider::Shared)
            ++end;
        // Nearly every place is one team's: no division for it.
        const std::uint64_t share = end - top == 1 ? kShareUnit : kShareUnit / static_cast<std::uint64_t>(end - top);
        for (int i = top; i < end; ++i) {
            const auto team = static_cast<std::size_t>(ranking[static_cast<std::size_t>(i)].team - 1);
            for (int place = top; place < end; ++place)
                w.part.places[team][static_cast<std::size_t>(place)] += share;
            if (tallyKeyMatches)
                for (std::size_t k = 0; k < 3; ++k)
                    above[team][k] = share * static_cast<std::uint64_t>(std::clamp(setup.lines[k] - top, 0, end - top));
        }
        top = end;
    }
    for (int t = 0; t < teams; ++t)
        w.part.points[static_cast<std::size_t>(t)] += tallies[t].points;
    if (!setup.stages.empty())
        playPlayoff(w, setup, ranking, random);
    for (std::size_t i = 0; tallyKeyMatches && i < setup.unplayed.size(); ++i) {
        if (!setup.results[drawnGame(w.tables[i], w.drawn[i], setup.homeTakesBelow).key].homeWon)
            continue;
        SimulatedMatch& m = w.part.matches[i];
        for (std::size_t t = 0; t < static_cast<std::size_t>(teams); ++t)
            for (std::size_t k = 0; k < 3; ++k)
                m.aboveIfHomeWins[t][k] += above[t][k];
    }
}

// The chance that the home side wins a game with these two means (in the grid's steps), read between the four
// grid points nearest them.
double gridChance(const OutcomeGrid& grid, double home, double away)
{
    const auto step = [](double c) {
        c = std::clamp(c, 0.0, double{kOutcomeMax});
        const int k = std::min(static_cast<int>(c), kOutcomeMax - 1);
        return std::pair{static_cast<std::size_t>(k), c - k};
    };
    const auto [h, hPart] = step(home);
    const auto [a, aPart] = step(away);
    const std::size_t near = h * (kOutcomeMax + 1) + a, far = near + kOutcomeMax + 1;
    const double low = grid[near] + aPart * (grid[near + 1] - grid[near]),
                 high = grid[far] + aPart * (grid[far + 1] - grid[far]);
    return low + hPart * (high - low);
}

constexpr double kOutcomeScale = kOutcomeSteps / (kGridSteps * kStepFraction); // a season's means to the grid's

// The chances, in 32768ths, that the better seed `h` wins a game against `a` at home and away.
std::pair<std::uint64_t, std::uint64_t> gameChances(const OutcomeGrid& grid, const Strengths& s, std::size_t h,
                                                    std::size_t a)
{
    const double atHome = gridChance(grid, s.home[h] * s.defence[a] * kOutcomeScale,
                                     s.away[a] * s.defence[h] * kOutcomeScale),
                 away = 1 - gridChance(grid, s.home[a] * s.defence[h] * kOutcomeScale,
                                       s.away[h] * s.defence[a] * kOutcomeScale);
    return {static_cast<std::uint64_t>(atHome * 32768 + 0.5), static_cast<std::uint64_t>(away * 32768 + 0.5)};
}

// The chance that the better seed takes a series of `stage` from its first game, winning at home with `atHome`
// and away with `away`. Played out to its last game a series goes to whoever wins most of its games.
double seriesChance(const SimStage& stage, double atHome, double away)
{
    std::array<double, 2 * kMaxWins> won{1}; // the better seed's wins so far
    for (int g = 1; g < 2 * stage.wins; ++g) {
        const double p = (stage.betterHosts >> g) & 1U ? atHome : away;
        for (auto k = static_cast<std::size_t>(g); k > 0; --k)
            won[k] = won[k] * (1 - p) + won[k - 1] * p;
        won[0] *= 1 - p;
    }
    return std::accumulate(won.begin() + stage.wins, won.end(), 0.0);
}

// A fresh series' chance for the better seed at a point of the outcome grid, its home game's two means: the
// means of its away games follow from them, the league's home and away means standing in the same ratio for
// every team. A grid point is worked out the first time a season needs it, by whichever thread plays that season, so
// that two threads do not each work out the whole grid; should both work out one point, they store the same number.
constexpr float kNotYet = -1;

[[gnu::noinline]] float seriesGridPoint(const Setup& setup, const SimStage& stage, std::atomic<float>& point,
                                        std::size_t at)
{
    const auto home = static_cast<double>(at / (kOutcomeMax + 1)), away = static_cast<double>(at % (kOutcomeMax + 1));
    const double ratio = setup.posteriors.home / setup.posteriors.away;
    const double atHome = setup.outcomes[at], awayGame = 1 - gridChance(setup.outcomes, away * ratio, home / ratio);
    const auto chance = static_cast<float>(seriesChance(stage, atHome, awayGame));
    point.store(chance, std::memory_order_relaxed);
    return chance;
}

// The grid step of a mean: the lower one, or the upper with the share of the way the mean has gone to it
// (`bits`, 16 of a draw), which over many seasons is reading between the two.
inline std::size_t gridStep(double c, std::uint64_t bits)
{
    return static_cast<std::size_t>(std::min(c, double{kOutcomeMax}) + static_cast<double>(bits) * 0x1.0p-16);
}

// Whether the better seed takes a series the real play-off has begun. Every game still to come is drawn, from 15
// bits of a draw each against the chance of its venue, without a branch.
bool betterTakesBegun(const Strengths& s, const Setup& setup, const SimStage& stage, const SimStage::Begun& begun,
                      RandomStream& random)
{
    const auto [atHome, away] = gameChances(setup.outcomes, s, static_cast<std::size_t>(begun.better - 1),
                                            static_cast<std::size_t>(begun.worse - 1));
    int won = 0;
    std::uint64_t bits = 0;
    for (int g = 0; g < 2 * stage.wins - 1 - begun.betterWins - begun.worseWins; ++g) {
        if (g % 4 == 0)
            bits = random.next();
        const unsigned game = static_cast<unsigned>(begun.games + 1 + g);
        won += (bits & 0x7FFF) < ((stage.betterHosts >> game) & 1U ? atHome : away) ? 1 : 0;
        bits >>= 16;
    }
    return begun.betterWins + won >= stage.wins;
}

// Whether the better seed takes its series: a fresh one is one draw against its chance on the stage's grid.
bool betterTakesSeries(Worker& w, const Setup& setup, std::size_t stageIndex, int better, int worse,
                       RandomStream& random)
{
    const SimStage& stage = setup.stages[stageIndex];
    for (const SimStage::Begun& begun : stage.begun)
        if (begun.better == better && begun.worse == worse)
            return betterTakesBegun(w.strengths, setup, stage, begun, random);
    const Strengths& s = w.strengths;
    const auto h = static_cast<std::size_t>(better - 1), a = static_cast<std::size_t>(worse - 1);
    const std::uint64_t bits = random.next();
    const std::size_t at = gridStep(s.home[h] * s.defence[a] * kOutcomeScale, bits & 0xFFFF) * (kOutcomeMax + 1) +
                           gridStep(s.away[a] * s.defence[h] * kOutcomeScale, (bits >> 16) & 0xFFFF);
    std::atomic<float>& point = w.series[stage.format * setup.outcomes.size() + at];
    float chance = point.load(std::memory_order_relaxed);
    if (chance == kNotYet)
        chance = seriesGridPoint(setup, stage, point, at);
    return static_cast<double>(bits >> 32) < chance * 0x1.0p32;
}

void playPlayoff(Worker& w, const Setup& setup, const Ranking& ranking, RandomStream& random)
{
    // A stage pairs its teams by their places, so the teams are kept as places.
    auto &winners = w.winners, &losers = w.losers;
    for (std::size_t s = 0; s < setup.stages.size(); ++s) {
        const SimStage& stage = setup.stages[s];
        // The stage's places in order, as bits.
        std::uint32_t taking = stage.places;
        for (const SimStage::From& from : stage.from)
            for (int i = 0; i < setup.stages[from.stage].participants / 2; ++i)
                taking |= 1U << ((from.winners ? winners : losers)[from.stage][static_cast<std::size_t>(i)] - 1);
        std::array<int, kMaxTeams> places; // filled up to n
        int n = 0;
        for (; taking != 0; taking &= taking - 1)
            places[static_cast<std::size_t>(n++)] = std::countr_zero(taking) + 1;
        StageOdds& odds = w.part.playoff[s];
        for (int i = 0; i < n / 2; ++i) {
            const int better = places[static_cast<std::size_t>(i)], worse = places[static_cast<std::size_t>(n - 1 - i)];
            const int betterTeam = ranking[better - 1].team, worseTeam = ranking[worse - 1].team;
            // Who goes on by arithmetic, not a branch: who takes a series is a coin toss the processor mispredicts.
            const int won = betterTakesSeries(w, setup, s, betterTeam, worseTeam, random) ? 1 : 0;
            const int winner = worse + won * (better - worse);
            winners[s][static_cast<std::size_t>(i)] = winner;
            losers[s][static_cast<std::size_t>(i)] = better + worse - winner;
            ++odds.plays[static_cast<std::size_t>(betterTeam - 1)];
            ++odds.plays[static_cast<std::size_t>(worseTeam - 1)];
            ++odds.wins[static_cast<std::size_t>(worseTeam + won * (betterTeam - worseTeam) - 1)];
        }
    }
}

// The stages to simulate; the series the real play-off has begun, once its seeding is known.
void addPlayoff(Setup& setup, const SeasonStore& season, const Playoff& playoff)
{
    setup.outcomes = outcomeGrid(setup.model.overtimeHomeWins);
    // Only a finished regular season seeds the real play-off: before that, no series has begun.
    const Result<Bracket> bracket =
        setup.unplayed.empty() ? playoffBracket(playoff, season) : Result<Bracket>(Bracket{});
    for (int s = 0; s < playoff.stages.size(); ++s) {
        const Stage& stage = playoff.stages[s];
        SimStage sim{0, {}, stage.participants, stage.wins, 0, setup.formats, {}};
        for (const StageItem& item : stage.items) {
            if (item.kind == StageItem::Kind::Places)
                for (int p = item.first; p <= item.last; ++p)
                    sim.places |= 1U << (p - 1);
            else
                sim.from.push_back({static_cast<std::size_t>(item.stage), item.kind == StageItem::Kind::Winners});
        }
        for (int g : stage.homeGames)
            sim.betterHosts |= 1U << g;
        const auto alike = std::find_if(setup.stages.begin(), setup.stages.end(), [&](const SimStage& other) {
            return other.wins == sim.wins && other.betterHosts == sim.betterHosts;
        });
        if (alike != setup.stages.end())
            sim.format = alike->format;
        else
            ++setup.formats;
        if (bracket.ok() && bracket.value().seeded)
            for (const Series& x : bracket.value().stages[s].series)
                if (x.nextGame() > 1)
                    sim.begun.push_back({x.better, x.worse, x.betterWins, x.worseWins, x.nextGame() - 1});
        setup.stages.push_back(sim);
    }
}

Setup setupOf(const SeasonStore& season, const GoalModel& model)
{
    Setup setup;
    setup.model = model;
    setup.homeTakesBelow = static_cast<std::uint64_t>(std::lround(model.overtimeHomeWins * (1 << kExtraTimeBits)));
    // A league with draws and no extra time lets a level game stand.
    setup.results = outcomesOf(season.rules.points, season.rules.draws && !season.rules.overtime);
    setup.posteriors = posteriorsOf(model);
    setup.lines = dividingLines(season);
    setup.teams = season.teams();
    std::vector<MatchScore> open;
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            if (match.home < 1 || match.away < 1)
                continue;
            if (!match.result.isEmpty()) {
                const MatchScore s = scoreOf(match, season.rules);
                setup.scores.push_back(s);
                setup.played[static_cast<std::size_t>(s.home - 1)] += packTally(s.homePoints, s.homeGoals, s.awayGoals);
                setup.played[static_cast<std::size_t>(s.away - 1)] += packTally(s.awayPoints, s.awayGoals, s.homeGoals);
                continue;
            }
            setup.unplayed.push_back(
                {static_cast<std::uint8_t>(match.home - 1), static_cast<std::uint8_t>(match.away - 1), r, m});
            open.push_back({static_cast<std::int8_t>(match.home), static_cast<std::int8_t>(match.away), 0, 0, 0, 0});
        }
    }
    const std::size_t first = setup.scores.size();
    setup.scores.insert(setup.scores.end(), open.begin(), open.end());
    std::vector<std::size_t> movedTo;
    setup.byPair = sortByPair(setup.scores, movedTo);
    setup.unplayedAt.assign(setup.scores.size(), -1);
    for (std::size_t i = 0; i < setup.unplayed.size(); ++i)
        setup.unplayedAt[movedTo[first + i]] = static_cast<int>(i);
    for (const PointsAdjustment& a : season.adjustments)
        setup.played[static_cast<std::size_t>(a.team - 1)] += packTally(a.points, 0, 0);
    return setup;
}

} // namespace

GoalModel fitGoalModel(const SeasonStore& season)
{
    int played = 0, homeGoals = 0, awayGoals = 0, extraTime = 0, homeExtraTime = 0;
    std::array<int, kMaxTeams> matches{}, scored{}, conceded{};
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            if (match.result.isEmpty() || match.home < 1 || match.away < 1)
                continue;
            const ParsedResult p = ZkoumatVysledek(match.result);
            ++played;
            homeGoals += p.HomeGoals;
            awayGoals += p.AwayGoals;
            const auto home = static_cast<std::size_t>(match.home - 1), away = static_cast<std::size_t>(match.away - 1);
            ++matches[home];
            ++matches[away];
            scored[home] += p.HomeGoals;
            conceded[home] += p.AwayGoals;
            scored[away] += p.AwayGoals;
            conceded[away] += p.HomeGoals;
            const OutcomeClass homeClass = classify(p).first;
            if (homeClass == OutcomeClass::B || homeClass == OutcomeClass::D) {
                ++extraTime;
                homeExtraTime += homeClass == OutcomeClass::B ? 1 : 0;
            }
        }
    }
    GoalModel model;
    const int round = season.slots(); // one round of prior
    model.home = (homeGoals + round * 3.0) / (played + round);
    model.away = (awayGoals + round * 2.5) / (played + round);
    model.overtimeHomeWins = (homeExtraTime + 5 * 0.55) / (extraTime + 5);
    const double g = (model.home + model.away) / 2;
    for (std::size_t t = 0; t < static_cast<std::size_t>(season.teams()); ++t) {
        model.attackShape[t] = scored[t] + 5 * g;
        model.defenceShape[t] = conceded[t] + 5 * g;
        model.rate[t] = (matches[t] + 5) * g;
        model.attack[t] = model.attackShape[t] / model.rate[t];
        model.defence[t] = model.defenceShape[t] / model.rate[t];
    }
    return model;
}

double homeWinChance(const GoalModel& model, int home, int away)
{
    const auto h = static_cast<std::size_t>(home - 1), a = static_cast<std::size_t>(away - 1);
    const auto [lead, level] = leadAndLevel(GoalTable<double>(model.home * model.attack[h] * model.defence[a]),
                                            GoalTable<double>(model.away * model.attack[a] * model.defence[h]));
    return lead + level * model.overtimeHomeWins;
}

namespace {

// The inverse of the normal distribution by Acklam's rational approximation (relative error 1.2e-9).
double inverseNormal(double p)
{
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                                   1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                                   6.680131188771972e+01, -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                                   -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                                   3.754408661907416e+00};
    const auto tail = [&](double x) {
        const double r = std::sqrt(-2 * std::log(x));
        return (((((c[0] * r + c[1]) * r + c[2]) * r + c[3]) * r + c[4]) * r + c[5]) /
               ((((d[0] * r + d[1]) * r + d[2]) * r + d[3]) * r + 1);
    };
    if (p < 0.02425)
        return tail(p);
    if (p > 1 - 0.02425)
        return -tail(1 - p);
    const double q = p - 0.5, r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
}

} // namespace

// The inverse from a table of 1024 steps, straight between them; the two outer steps, where it bends
// most, computed.
double RandomStream::normal()
{
    constexpr int kSteps = 1024;
    static const std::array<double, kSteps + 1> table = [] {
        std::array<double, kSteps + 1> t{};
        for (int k = 1; k < kSteps; ++k)
            t[static_cast<std::size_t>(k)] = inverseNormal(static_cast<double>(k) / kSteps);
        return t;
    }();
    const std::uint64_t bits = next();
    const auto k = static_cast<std::size_t>(bits >> 54);
    if (k == 0 || k == kSteps - 1)
        return inverseNormal((static_cast<double>(bits >> 11) + 0.5) * 0x1.0p-53);
    const double within = static_cast<double>(bits & ((std::uint64_t{1} << 54) - 1)) * 0x1.0p-54;
    return table[k] + within * (table[k + 1] - table[k]);
}

GammaDraw::GammaDraw(double shape)
    : m_shape(shape), m_centre(1 - 1 / (9 * std::max(shape, 1.0))), m_spread(1 / std::sqrt(9 * std::max(shape, 1.0)))
{
}

double GammaDraw::bySmallShape(RandomStream& random) const
{
    if (m_shape < 1) // a shape below one from one above it (Marsaglia and Tsang's boost)
        return GammaDraw(m_shape + 1)(random) * std::pow(random.uniform(), 1 / m_shape);
    const double d = m_shape - 1.0 / 3, c = 1 / std::sqrt(9 * d);
    for (;;) {
        const double x = random.normal(), root = 1 + c * x;
        if (root <= 0)
            continue;
        const double v = root * root * root, u = random.uniform(), x2 = x * x;
        if (u < 1 - 0.0331 * x2 * x2 || std::log(u) < 0.5 * x2 + d * (1 - v + std::log(v)))
            return d * v;
    }
}

namespace {

// A thread's room, its counts empty.
Worker workerFor(const Setup& setup, const Forecast& empty, std::atomic<float>* series)
{
    Worker w{empty, setup.scores, {}, {}, {}, series, {}, -1, {}, {}};
    w.homeWins.assign(setup.unplayed.size(), 0);
    w.winners.resize(setup.stages.size());
    w.losers.resize(setup.stages.size());
    w.tables.resize(setup.unplayed.size());
    w.drawn.resize(setup.unplayed.size());
    return w;
}

// A thread's counts into the total.
void addPart(Forecast& total, const Worker& w)
{
    const auto teams = static_cast<std::size_t>(total.teams);
    for (std::size_t t = 0; t < teams; ++t) {
        total.points[t] += w.part.points[t];
        for (std::size_t p = 0; p < teams; ++p)
            total.places[t][p] += w.part.places[t][p];
    }
    for (std::size_t s = 0; s < total.playoff.size(); ++s)
        for (std::size_t t = 0; t < teams; ++t) {
            total.playoff[s].plays[t] += w.part.playoff[s].plays[t];
            total.playoff[s].wins[t] += w.part.playoff[s].wins[t];
        }
    for (std::size_t i = 0; i < total.matches.size(); ++i) {
        total.matches[i].homeWins += w.homeWins[i];
        for (std::size_t t = 0; t < teams; ++t)
            for (std::size_t k = 0; k < 3; ++k)
                total.matches[i].aboveIfHomeWins[t][k] += w.part.matches[i].aboveIfHomeWins[t][k];
    }
}

} // namespace

Forecast simulateSeason(const SeasonStore& season, int seasons, std::uint64_t seed, int threads,
                        const std::atomic<bool>* stop, KeyMatchTallies tallies, const Playoff* playoff)
{
    const GoalModel model = fitGoalModel(season);
    Setup setup = setupOf(season, model);
    if (playoff)
        addPlayoff(setup, season, *playoff);
    setup.tallyKeyMatches = tallies == KeyMatchTallies::Counted;
    Forecast total;
    total.teams = season.teams();
    total.seasons = seasons;
    total.seed = seed;
    total.lines = setup.lines;
    if (playoff) {
        for (const Stage& stage : playoff->stages)
            total.playoff.push_back({stage.name, {}, {}});
        total.finalStage = playoff->finalStage();
        total.relegationStage = playoff->relegationStage();
    }
    for (const Unplayed& u : setup.unplayed)
        total.matches.push_back(
            {u.round, u.slot, season.match(u.slot, u.round).home, season.match(u.slot, u.round).away, 0, {}});
    threads = std::clamp(threads, 1, std::max(1, seasons));
    std::vector<std::atomic<float>> series(setup.formats * setup.outcomes.size());
    for (std::atomic<float>& point : series)
        point.store(kNotYet, std::memory_order_relaxed);
    std::vector<Worker> parts(static_cast<std::size_t>(threads), workerFor(setup, total, series.data()));
    std::vector<std::thread> workers;
    for (int w = 0; w < threads; ++w) {
        workers.emplace_back([&, w] {
            // The seasons of one draw of strengths go to one thread.
            for (int d = w * kSeasonsPerDraw; d < seasons && !(stop && *stop); d += threads * kSeasonsPerDraw)
                for (int k = d; k < std::min(seasons, d + kSeasonsPerDraw); ++k)
                    addSeason(parts[static_cast<std::size_t>(w)], setup, seed, k);
        });
    }
    for (std::thread& t : workers)
        t.join();
    for (const Worker& w : parts)
        addPart(total, w);
    return total;
}

double Forecast::lineShare(int team, std::size_t k) const
{
    double share = 0;
    for (int place = 1; place <= lines[k]; ++place)
        share += placeShare(team, place);
    return share;
}

QList<KeyMatch> keyMatches(const Forecast& forecast, int team, std::size_t k, int count)
{
    const auto unit = static_cast<double>(kShareUnit);
    std::uint64_t above = 0;
    for (int place = 0; place < forecast.lines[k]; ++place)
        above += forecast.places[static_cast<std::size_t>(team - 1)][static_cast<std::size_t>(place)];
    QList<KeyMatch> all;
    for (const SimulatedMatch& m : forecast.matches) {
        const std::uint64_t wins = m.homeWins, losses = static_cast<std::uint64_t>(forecast.seasons) - wins;
        if (wins == 0 || losses == 0)
            continue; // one outcome never came up: the match's weight cannot be told
        const std::uint64_t ifHome = m.aboveIfHomeWins[static_cast<std::size_t>(team - 1)][k];
        all.append({m.round, m.slot, m.home, m.away, static_cast<double>(ifHome) / (unit * static_cast<double>(wins)),
                    static_cast<double>(above - ifHome) / (unit * static_cast<double>(losses))});
    }
    std::stable_sort(all.begin(), all.end(), [](const KeyMatch& a, const KeyMatch& b) {
        return std::abs(a.ifHomeWins - a.ifAwayWins) > std::abs(b.ifHomeWins - b.ifAwayWins);
    });
    return all.mid(0, count);
}

QString shareText(double share)
{
    if (share <= 0)
        return {};
    if (share < 0.01)
        return u"<1"_s;
    if (share < 1 && std::lround(share * 100) == 100)
        return u">99"_s; // not certain, and never shown as if it were
    return QString::number(std::lround(share * 100));
}

Outlook computeOutlook(const SeasonStore& season, int seasons, std::uint64_t seed, int threads,
                       const std::atomic<bool>* stop, KeyMatchTallies tallies, const Playoff* playoff)
{
    return {simulateSeason(season, seasons, seed, threads, stop, tallies, playoff), placeBounds(season, true, stop)};
}

int usableCores()
{
    return std::max(1, QThread::idealThreadCount()); // the CPUs of the process's affinity, not the machine's
}

QStringList stageNames(const Forecast& forecast)
{
    QStringList names;
    for (const StageOdds& s : forecast.playoff)
        names << s.name;
    return names;
}

QList<OutlookRow> outlookRows(const SeasonStore& season, const Outlook& outlook)
{
    const Forecast& forecast = outlook.forecast;
    const TeamStats stats = DataProTabulku(season, 1, season.rounds());
    QList<OutlookRow> rows;
    // The same order as the table: once the season is over, the final one.
    for (const PlacedTeam& p :
         orderByPoints(season, stats, venue::Total, shownRankingRules(season), 1, season.rounds())) {
        const PlaceBounds& b = outlook.bounds[p.team - 1];
        OutlookRow row{p.team,
                       stats(Stat::PTS, venue::Total, p.team),
                       forecast.expectedPoints(p.team),
                       b.best,
                       b.worst,
                       {},
                       {},
                       {},
                       std::nullopt,
                       std::nullopt};
        for (int place = 1; place <= season.teams(); ++place)
            row.places.append(forecast.placeShare(p.team, place));
        for (std::size_t k = 0; k < 3; ++k) {
            const int line = forecast.lines[k];
            if (line > 0)
                row.lines.append({line, forecast.lineShare(p.team, k), b.clinched(line), b.out(line), b.needed[k]});
        }
        for (std::size_t s = 0; s < forecast.playoff.size(); ++s)
            row.stagePlays.append(forecast.playsShare(s, p.team));
        if (forecast.finalStage >= 0)
            row.title = forecast.winsShare(static_cast<std::size_t>(forecast.finalStage), p.team);
        if (forecast.relegationStage >= 0) {
            const auto down = static_cast<std::size_t>(forecast.relegationStage);
            row.relegation = forecast.playsShare(down, p.team) - forecast.winsShare(down, p.team);
        }
        rows.append(row);
    }
    return rows;
}

namespace {

QString placeRange(int best, int worst)
{
    return best == worst ? QString::number(best) + u'.' : u"%1.–%2."_s.arg(best).arg(worst);
}

} // namespace

ViewTable outlookView(const SeasonStore& season, const QList<OutlookRow>& rows, const QStringList& stages)
{
    ViewTable v{viewCaption(season, u"výhled sezóny"_s), {u"tým"_s, u"body"_s, u"očekávané body"_s, u"místo"_s}, {}};
    for (int place = 1; place <= season.teams(); ++place)
        v.header << QString::number(place) + u'.';
    if (!rows.isEmpty()) {
        for (const OutlookLine& l : rows.front().lines)
            v.header << u"do %1."_s.arg(l.line) << u"body do %1."_s.arg(l.line);
    }
    for (const QString& stage : stages)
        v.header << stage;
    const bool title = !rows.isEmpty() && rows.first().title.has_value();
    if (title)
        v.header << u"titul"_s;
    const bool relegation = !rows.isEmpty() && rows.first().relegation.has_value();
    if (relegation)
        v.header << u"sestup"_s;
    for (const OutlookRow& r : rows) {
        QStringList cells{season.TymPodleCisla(r.team), QString::number(r.points),
                          QString::number(r.expectedPoints, 'f', 1), placeRange(r.best, r.worst)};
        // "jistě" only where the bounds prove it: a share that came up in every simulated season is not.
        const auto cell = [](double share, bool certain) {
            return certain ? u"jistě"_s : share >= 0.995 ? u">99"_s : shareText(share);
        };
        for (int place = 1; place <= r.places.size(); ++place)
            cells << cell(r.places[place - 1], r.best == place && r.worst == place);
        for (const OutlookLine& l : r.lines) {
            cells << (l.out ? u"nelze"_s : cell(l.share, l.clinched));
            cells << (l.clinched                ? QString()
                      : l.needed == kNeverSure  ? u"–"_s
                      : l.needed == kNotCounted ? u"?"_s
                                                : QString::number(l.needed));
        }
        for (double share : r.stagePlays)
            cells << shareText(share);
        if (title)
            cells << shareText(*r.title);
        if (relegation)
            cells << shareText(*r.relegation);
        v.rows.append(cells);
    }
    return v;
}

ViewTable keyMatchesView(const SeasonStore& season, const Forecast& forecast, int team, std::size_t k)
{
    const auto percent = [](double share) { return share > 0 ? shareText(share) : u"0"_s; };
    ViewTable v{
        viewCaption(season,
                    u"klíčové zápasy – %1, do %2. místa"_s.arg(season.TymPodleCisla(team)).arg(forecast.lines[k])),
        {u"kolo"_s, u"zápas"_s, u"výhra domácích"_s, u"výhra hostí"_s},
        {}};
    for (const KeyMatch& m : keyMatches(forecast, team, k))
        v.rows.append({QString::number(m.round), season.TymPodleCisla(m.home) + u" – "_s + season.TymPodleCisla(m.away),
                       percent(m.ifHomeWins), percent(m.ifAwayWins)});
    return v;
}

QString outlookNote(const Forecast& forecast)
{
    if (forecast.matches.empty() && forecast.playoff.empty())
        return u"Základní část je dohraná: místa jsou konečná, v pořadí podle konečných pravidel."_s;
    if (forecast.matches.empty())
        return u"Základní část je dohraná, místa jsou konečná. Podíly play-off v %1 simulovaných dokončeních "
               "(v %), model %2: síla útoku a obrany se v každém dokončení losuje z toho, jak jistě ji odehrané "
               "zápasy určují."_s.arg(forecast.seasons)
                   .arg(QLatin1StringView(kOutlookModel));
    return u"Podíly míst v %1 simulovaných dokončeních sezóny (v %): góly zbývajících zápasů podle dosavadního "
           "útoku a obrany každého týmu, pořadí podle konečných pravidel.\nModel %2: síla útoku a obrany se "
           "v každém dokončení losuje z toho, jak jistě ji dosavadní zápasy určují, proto jsou podíly na "
           "začátku sezóny široké."_s.arg(forecast.seasons)
               .arg(QLatin1StringView(kOutlookModel));
}
