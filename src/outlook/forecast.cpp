// SPDX-License-Identifier: MIT
#include "forecast.h"

#include "season/notation.h"
#include "standings/aggregation.h"
#include "standings/tiebreak.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

namespace {

// Goals beyond this are so unlikely that the table's last entry takes them all.
constexpr int kMaxGoals = 20;

// The cumulative Poisson distribution of one side's goals, computed once per match.
struct GoalTable {
    std::array<double, kMaxGoals + 1> cumulative{};

    explicit GoalTable(double mean)
    {
        double p = std::exp(-mean), sum = 0;
        for (int k = 0; k <= kMaxGoals; ++k) {
            sum += p;
            cumulative[static_cast<std::size_t>(k)] = sum;
            p *= mean / (k + 1);
        }
        cumulative.back() = 1.0;
    }
    int draw(double u) const
    {
        return static_cast<int>(std::upper_bound(cumulative.begin(), cumulative.end(), u) - cumulative.begin());
    }
};

struct Unplayed {
    int round;
    int slot;
    GoalTable home;
    GoalTable away;
};

// SplitMix64: a well-mixed start for the season's own generator.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

void addSeason(Forecast& into, SeasonStore& season, const std::vector<Unplayed>& unplayed, double q, std::uint64_t seed,
               int index)
{
    std::mt19937_64 random(mix(seed ^ mix(static_cast<std::uint64_t>(index))));
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (const Unplayed& u : unplayed) {
        int x = u.home.draw(uniform(random)), y = u.away.draw(uniform(random));
        QString suffix;
        if (x == y) { // no draws: extra time decides
            (uniform(random) < q ? x : y) += 1;
            suffix = u"p"_qs;
        }
        season.match(u.slot, u.round).result = QString::number(x) + u':' + QString::number(y) + suffix;
    }
    const TeamStats stats = DataProTabulku(season, 1, kRounds);
    const QList<PlacedTeam> order = orderByPoints(season, stats, venue::Total, RankingRules::Final, 1, kRounds);
    for (qsizetype first = 0; first < order.size();) {
        qsizetype last = first + 1;
        while (last < order.size() && order[last].sharesPlace)
            ++last;
        const std::uint64_t share = kShareUnit / static_cast<std::uint64_t>(last - first);
        for (qsizetype i = first; i < last; ++i) {
            const int team = order[i].team;
            for (qsizetype place = first; place < last; ++place)
                into.places[static_cast<std::size_t>(team - 1)][static_cast<std::size_t>(place)] += share;
        }
        first = last;
    }
    for (int team = 1; team <= kTeams; ++team)
        into.points[static_cast<std::size_t>(team - 1)] +=
            static_cast<std::uint64_t>(stats(Stat::PTS, venue::Total, team));
}

} // namespace

GoalModel fitGoalModel(const SeasonStore& season)
{
    int played = 0, homeGoals = 0, awayGoals = 0, extraTime = 0, homeExtraTime = 0;
    std::array<int, kTeams> matches{}, scored{}, conceded{};
    for (int r = 1; r <= kRounds; ++r) {
        for (int m = 1; m <= kSlots; ++m) {
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
    model.home = (homeGoals + kSlots * 3.0) / (played + kSlots);
    model.away = (awayGoals + kSlots * 2.5) / (played + kSlots);
    model.overtimeHomeWins = (homeExtraTime + 5 * 0.55) / (extraTime + 5);
    const double g = (model.home + model.away) / 2;
    for (std::size_t t = 0; t < kTeams; ++t) {
        model.attack[t] = (scored[t] + 5 * g) / ((matches[t] + 5) * g);
        model.defence[t] = (conceded[t] + 5 * g) / ((matches[t] + 5) * g);
    }
    return model;
}

Forecast simulateSeason(const SeasonStore& season, int seasons, std::uint64_t seed, int threads,
                        const std::atomic<bool>* stop)
{
    const GoalModel model = fitGoalModel(season);
    std::vector<Unplayed> unplayed;
    for (int r = 1; r <= kRounds; ++r) {
        for (int m = 1; m <= kSlots; ++m) {
            const Match& match = season.match(m, r);
            if (!match.result.isEmpty() || match.home < 1 || match.away < 1)
                continue;
            const auto i = static_cast<std::size_t>(match.home - 1), j = static_cast<std::size_t>(match.away - 1);
            unplayed.push_back({r, m, GoalTable(model.home * model.attack[i] * model.defence[j]),
                                GoalTable(model.away * model.attack[j] * model.defence[i])});
        }
    }
    threads = std::clamp(threads, 1, std::max(1, seasons));
    std::vector<Forecast> parts(static_cast<std::size_t>(threads));
    std::vector<std::thread> workers;
    for (int w = 0; w < threads; ++w) {
        workers.emplace_back([&, w] {
            SeasonStore copy = season;
            for (int k = w; k < seasons && !(stop && *stop); k += threads)
                addSeason(parts[static_cast<std::size_t>(w)], copy, unplayed, model.overtimeHomeWins, seed, k);
        });
    }
    for (std::thread& t : workers)
        t.join();
    Forecast total;
    total.seasons = seasons;
    total.seed = seed;
    for (const Forecast& part : parts) {
        for (std::size_t t = 0; t < kTeams; ++t) {
            total.points[t] += part.points[t];
            for (std::size_t p = 0; p < kTeams; ++p)
                total.places[t][p] += part.places[t][p];
        }
    }
    return total;
}

QString shareText(double share)
{
    if (share <= 0)
        return {};
    if (share < 0.01)
        return u"<1"_qs;
    return QString::number(std::lround(share * 100));
}

QList<OutlookRow> outlookRows(const SeasonStore& season, const Forecast& forecast)
{
    const TeamStats stats = DataProTabulku(season, 1, kRounds);
    QList<OutlookRow> rows;
    for (const PlacedTeam& p : orderByPoints(season, stats, venue::Total, RankingRules::Running, 1, kRounds)) {
        OutlookRow row{p.team, stats(Stat::PTS, venue::Total, p.team), forecast.expectedPoints(p.team), {}};
        for (int place = 1; place <= kTeams; ++place)
            row.places[static_cast<std::size_t>(place - 1)] = forecast.placeShare(p.team, place);
        rows.append(row);
    }
    return rows;
}

ViewTable outlookView(const SeasonStore& season, const QList<OutlookRow>& rows)
{
    ViewTable v{viewCaption(season, u"výhled sezóny"_qs), {u"tým"_qs, u"body"_qs, u"očekávané body"_qs}, {}};
    for (int place = 1; place <= kTeams; ++place)
        v.header << QString::number(place) + u'.';
    for (const OutlookRow& r : rows) {
        QStringList cells{season.TymPodleCisla(r.team), QString::number(r.points),
                          QString::number(r.expectedPoints, 'f', 1)};
        for (double share : r.places)
            cells << shareText(share);
        v.rows.append(cells);
    }
    return v;
}

QString outlookNote(const Forecast& forecast)
{
    return u"Podíly míst v %1 simulovaných dokončeních sezóny (v %): góly zbývajících zápasů podle dosavadního "
           "útoku a obrany každého týmu, pořadí podle konečných pravidel."_qs.arg(forecast.seasons);
}
