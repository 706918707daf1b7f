// SPDX-License-Identifier: MIT
// The outlook's cost on the bundled leagues of 14 teams (52 rounds) and 16 teams (60 rounds), cut back to
// the half of the season and to seven eighths: simulated seasons on every core, and the exact bounds with
// points needed for every team and line; then the bounds of 14-team seasons that have had draws, cut at
// rounds 10, 20, 30 and 40, and the worst of them; last the calibration of the shares against 2,000 seasons
// played from the model's own prior (`bench_outlook calibration` for that alone); between them the slowest bounds
// of leagues of 14 and 20 teams under every usual points system (`bench_outlook bounds` for that alone).
// `bench_outlook floor`: the simulation against the same work in its tightest form; `bench_outlook playoff`: the
// play-off against the regular season alone.
#include "fixture/calibration.h"
#include "outlook/forecast.h"
#include "playoff/playoff.h"
#include "season/newleague.h"
#include "season/rules.h"
#include "season/seasonfile.h"
#include "standings/tiebreak.h"

#include <QElapsedTimer>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <random>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

SeasonStore playedUpTo(int last, const QString& league = u"extraliga0708"_s)
{
    const QString competition = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_") + league + u".txt"_s;
    SeasonStore s = loadSeason(competition, scheduleFileFor(competition)).value();
    for (int r = 1; r <= s.rounds(); ++r) {
        for (int m = 1; m <= s.slots(); ++m) {
            Match& match = s.match(m, r);
            if (r > last)
                match.result.clear();
            else if (match.result.isEmpty())
                match.result = (match.home + r) % 3 ? u"3:2"_s : u"1:2p"_s;
        }
    }
    return s;
}

// Random results up to round `last` with about one draw in twenty, six earlier matches still without a
// result, dividing lines 6 and 12: the seasons whose bounds once took minutes.
SeasonStore withDraws(int last, unsigned seed)
{
    SeasonStore s = playedUpTo(kMaxRounds);
    s.HR1 = 6, s.HR2 = 12, s.HR3 = 0;
    std::mt19937 random(seed);
    static const QString results[] = {u"3:1"_s, u"4:2"_s, u"1:3"_s, u"0:2"_s, u"3:2p"_s, u"2:3n"_s, u"2:2"_s};
    static const std::discrete_distribution<int> odds{30, 15, 25, 10, 7, 8, 5};
    std::discrete_distribution<int> pick = odds;
    for (int r = 1; r <= s.rounds(); ++r)
        for (int m = 1; m <= s.slots(); ++m)
            s.match(m, r).result = r <= last ? results[pick(random)] : QString();
    for (int i = 0; i < 6; ++i)
        s.match(1 + static_cast<int>(random() % static_cast<unsigned>(s.slots())),
                1 + static_cast<int>(random() % last))
            .result.clear();
    return s;
}

// A league of `teams` in a double round robin under the rules, results up to round `last` drawn from what the
// rules allow (the stronger team, by number, a little likelier to win), dividing lines at a third, a half and
// four fifths of the table.
SeasonStore ruledSeason(int teams, const LeagueRules& rules, int last, unsigned seed)
{
    const QList<RoundPairings> pairs = roundRobinSchedule(teams, 2);
    SeasonStore s(teams, static_cast<int>(pairs.size()));
    s.rules = rules;
    s.HR1 = teams / 3, s.HR2 = teams / 2, s.HR3 = teams * 4 / 5;
    std::mt19937 random(seed);
    for (int r = 1; r <= s.rounds(); ++r)
        for (int m = 1; m <= s.slots(); ++m) {
            const auto [home, away] = pairs[r - 1][m - 1];
            static const QString results[] = {u"3:1"_s, u"1:3"_s, u"2:2"_s, u"3:2p"_s};
            const int pick = static_cast<int>(random() % 20) + (home < away ? 2 : -2);
            int k = pick < 8 ? 0 : pick < 15 ? 1 : pick < 17 ? 2 : 3;
            k = k == 2 && !rules.draws ? 3 : k;
            k = k == 3 && !rules.overtime ? 2 : k; // a league without overtime has draws
            s.match(m, r) = {home, away, r <= last ? normaliseResult(results[k], rules) : QString()};
        }
    return s;
}

// The slowest exact bounds with points needed over every fourth round of a season, per points system and size.
void printBoundsBySystem()
{
    for (const NamedRules& system : usualRules())
        for (int teams : {14, 20}) {
            double slowest = 0;
            int at = 0, counted = 0, all = 0;
            for (int last = 2; last < 2 * (teams - 1); last += 4) {
                const SeasonStore s = ruledSeason(teams, system.rules, last, 7);
                QElapsedTimer t;
                t.start();
                const SeasonBounds bounds = placeBounds(s, true);
                if (const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6; ms > slowest)
                    slowest = ms, at = last;
                for (const PlaceBounds& b : bounds)
                    for (const int needed : b.needed)
                        counted += needed == kNotCounted, ++all;
            }
            // Points needed the programs did not settle in time are only counted ("?").
            std::printf("%-36s %d teams: bounds and points needed, slowest %8.1f ms (round %d), not settled %d of %d\n",
                        qPrintable(system.name), teams, slowest, at, counted, all);
        }
}

// The best of five runs, in milliseconds.
template <typename Work> double bestOf(Work work)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

// Each cut of 2,000 seasons of 14 teams in four round robins: how far the final place lay from the expected
// one against the variance the shares gave, the log-loss of the actual place, how often it lay within the
// shares' central 80 %, and whether the probability-integral transform is uniform.
void printCalibration()
{
    const std::array<calibration::Tally, 3> cuts = calibration::calibrate(14, 4, 2000, 1000, kDefaultSeed);
    std::printf("calibration, 2000 seasons of 14 teams, 1000 simulated completions each, model %s\n", kOutlookModel);
    std::printf("cut   variance ratio  log-loss  central 80 %% holds (shares put there)  PIT chi2 (9 df, 0.1 %% at "
                "27.9)\n");
    const char* names[] = {"1/4", "1/2", "3/4"};
    for (std::size_t c = 0; c < 3; ++c)
        std::printf("%-5s %14.3f %9.3f %17.1f %% (%5.1f %%)  %20.1f\n", names[c], cuts[c].varianceRatio(),
                    cuts[c].meanLogLoss(), 100 * cuts[c].coverage(), 100 * cuts[c].statedCoverage(),
                    cuts[c].chiSquared());
}

// The floor of a simulated season: the same work in its tightest form, each game's goals from one 64-bit draw
// split into two uniforms, counted by branch-free compares against the game's two cumulative tables (the
// model's means, no strengths drawn), a level game decided by a further bit, the table ordered by points alone,
// all of it without a branch on a score.
// Microseconds a season on one core, as `simulateSeason` is measured beside it.
// The cumulative Poisson shares of 0..20 goals.
std::array<float, 21> goalTable(double mean)
{
    std::array<float, 21> c{};
    double p = std::exp(-mean), sum = 0;
    for (std::size_t k = 0; k < c.size(); ++k)
        sum += p, c[k] = static_cast<float>(sum), p *= mean / static_cast<double>(k + 1);
    return c;
}

double floorMicros(const SeasonStore& s, int seasons)
{
    const GoalModel model = fitGoalModel(s);
    struct Game {
        int home, away;
        std::array<float, 21> x, y;
    };
    std::vector<Game> games;
    std::array<int, kMaxTeams> base{};
    for (int r = 1; r <= s.rounds(); ++r)
        for (int m = 1; m <= s.slots(); ++m) {
            const Match& g = s.match(m, r);
            if (g.home < 1)
                continue;
            const auto h = static_cast<std::size_t>(g.home - 1), a = static_cast<std::size_t>(g.away - 1);
            if (!g.result.isEmpty()) {
                const MatchScore score = scoreOf(g, s.rules);
                base[h] += score.homePoints, base[a] += score.awayPoints;
                continue;
            }
            games.push_back({g.home - 1, g.away - 1, goalTable(model.home * model.attack[h] * model.defence[a]),
                             goalTable(model.away * model.attack[a] * model.defence[h])});
        }
    const auto teams = static_cast<std::size_t>(s.teams());
    std::vector<std::array<std::uint64_t, kMaxTeams>> places(teams);
    std::uint64_t state = kDefaultSeed;
    QElapsedTimer t;
    t.start();
    for (int season = 0; season < seasons; ++season) {
        std::array<int, kMaxTeams> points = base;
        for (const Game& g : games) {
            const std::uint64_t bits = mixBits(state += kGolden);
            const float ux = static_cast<float>(bits >> 40) * 0x1.0p-24F;
            const float uy = static_cast<float>((bits >> 16) & 0xFFFFFF) * 0x1.0p-24F;
            int x = 0, y = 0;
            for (std::size_t k = 0; k < 20; ++k)
                x += g.x[k] <= ux ? 1 : 0, y += g.y[k] <= uy ? 1 : 0;
            const int level = x == y, homeWins = (x > y) | (level & static_cast<int>(bits & 1U));
            const int home = 3 * homeWins + level * (1 - 2 * homeWins); // 3, 2, 1 or 0
            points[static_cast<std::size_t>(g.home)] += home;
            points[static_cast<std::size_t>(g.away)] += 3 - home;
        }
        for (std::size_t team = 0; team < teams; ++team) {
            std::size_t place = 0;
            for (std::size_t u = 0; u < teams; ++u)
                place += (points[u] > points[team]) + (u < team && points[u] == points[team]);
            ++places[team][place];
        }
    }
    const double micros = static_cast<double>(t.nsecsElapsed()) / 1e3 / seasons;
    if (places[0][0] == 42) // keeps the counts from being optimised away
        std::printf(" ");
    return micros;
}

// The simulation against its floor, 14 teams from the half of the season and from round 45, one core.
void printFloor()
{
    for (int round : {26, 45}) {
        const SeasonStore s = playedUpTo(round);
        const int seasons = 100'000;
        double floor = 1e9, ours = 1e9;
        for (int i = 0; i < 5; ++i) {
            floor = std::min(floor, floorMicros(s, seasons));
            ours = std::min(
                ours,
                bestOf([&] { (void)simulateSeason(s, seasons, kDefaultSeed, 1, nullptr, KeyMatchTallies::Skipped); }) *
                    1e3 / seasons);
        }
        std::printf("14 teams from round %d, one core: %.2f µs a season, the floor %.2f µs (%.2f×)\n", round, ours,
                    floor, ours / floor);
    }
}

// The same seasons on through the league's play-off, every stage of it, against the regular season alone.
void printPlayoffRatio(const SeasonStore& s, const QString& league, int round, int seasons, int threads)
{
    const QString competition = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_") + league + u".txt"_s;
    const std::optional<Playoff> playoff = readLeaguePlayoff(competition, s).value();
    // Taken in turns, so that a busy spell of the machine slows both alike.
    double regular = 1e9, withPlayoff = 1e9;
    for (int i = 0; i < 4; ++i) {
        regular =
            std::min(regular, bestOf([&] {
                         (void)simulateSeason(s, seasons, kDefaultSeed, threads, nullptr, KeyMatchTallies::Skipped);
                     }));
        withPlayoff = std::min(withPlayoff, bestOf([&] {
                                   (void)simulateSeason(s, seasons, kDefaultSeed, threads, nullptr,
                                                        KeyMatchTallies::Skipped, &*playoff);
                               }));
    }
    std::printf("%d teams, round %d: %7d seasons, regular season %8.1f ms, with the play-off %8.1f ms (%.2f×)\n",
                s.teams(), round, seasons, regular, withPlayoff, withPlayoff / regular);
}

const std::array<std::pair<QString, int>, 2> kLeagues{std::pair{u"extraliga0708"_s, 52},
                                                      std::pair{u"druhaliga0708"_s, 60}};

// Simulated seasons on every core with and without the key matches tallied and the play-off, and the exact
// bounds with points needed, for each bundled league at the half of its season and at seven eighths; with
// `playoffOnly` the play-off against the regular season alone.
void printSimulationAndBounds(bool playoffOnly = false)
{
    const int threads = usableCores();
    for (const auto& [league, rounds] : kLeagues) {
        for (int round : {rounds / 2, rounds * 7 / 8}) {
            const SeasonStore s = playedUpTo(round, league);
            for (int seasons : {10'000, 100'000}) {
                for (const KeyMatchTallies tallies : {KeyMatchTallies::Skipped, KeyMatchTallies::Counted}) {
                    if (playoffOnly)
                        break;
                    const double ms =
                        bestOf([&] { (void)simulateSeason(s, seasons, kDefaultSeed, threads, nullptr, tallies); });
                    std::printf("%d teams, round %d: %7d seasons on %d threads%s  %8.1f ms\n", s.teams(), round,
                                seasons, threads, tallies == KeyMatchTallies::Counted ? ", key matches tallied" : "",
                                ms);
                }
                printPlayoffRatio(s, league, round, seasons, threads);
            }
            if (playoffOnly)
                continue;
            const double ms = bestOf([&] { (void)placeBounds(s, true); });
            std::printf("%d teams, round %d: bounds and points needed      %8.1f ms\n", s.teams(), round, ms);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "calibration") {
        printCalibration();
        return 0;
    }
    if (argc > 1 && std::string_view(argv[1]) == "floor") {
        printFloor();
        return 0;
    }
    if (argc > 1 && std::string_view(argv[1]) == "playoff") {
        printSimulationAndBounds(true);
        return 0;
    }
    if (argc > 1 && std::string_view(argv[1]) == "bounds") {
        printBoundsBySystem();
        return 0;
    }
    printSimulationAndBounds();
    double worst = 0;
    for (int round : {10, 20, 30, 40}) {
        double slowest = 0;
        for (unsigned seed = 1; seed <= 10; ++seed) {
            const SeasonStore s = withDraws(round, seed);
            QElapsedTimer t;
            t.start();
            (void)placeBounds(s, true);
            slowest = std::max(slowest, static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        std::printf("round %d with draws, 10 seasons: bounds and points needed, slowest %8.1f ms\n", round, slowest);
        worst = std::max(worst, slowest);
    }
    std::printf("worst bounds and points needed of a season with draws: %.1f ms\n", worst);
    printBoundsBySystem();
    printCalibration();
    return 0;
}
