// SPDX-License-Identifier: MIT
#include "ranking.h"

#include "season/notation.h"
#include "standings/bounds.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The key of a criterion, made so that a larger key always ranks higher.
std::array<int, 3> key(const TeamStats& s, int venue, int criterion, int team)
{
    const auto v = [&](Stat stat) { return s(stat, venue, team); };
    switch (criterion) {
    case criterion::Points:
        return orderKey({v(Stat::PTS), v(Stat::GF), v(Stat::GA)});
    case criterion::GoalDifference:
        return {s.goalDifference(venue, team), v(Stat::GF), 0};
    case 2:
        return {v(Stat::GF), 0, 0};
    case 3:
        return {-v(Stat::GA), 0, 0};
    case 4:
        return {v(Stat::W), 0, 0};
    case 5:
        return {v(Stat::W) + v(Stat::W_OT), 0, 0};
    case 6:
        return {v(Stat::W_OT), 0, 0};
    case 7:
        return {v(Stat::T), 0, 0};
    case 8:
        return {-v(Stat::L_OT), 0, 0};
    case 9:
        return {-v(Stat::L), 0, 0};
    case 10:
        return {-(v(Stat::L) + v(Stat::L_OT)), 0, 0};
    case criterion::ExtraTimeMatches:
        return {v(Stat::W_OT) + v(Stat::T) + v(Stat::L_OT), 0, 0};
    case criterion::ExtraTimeSuccess:
        return {overtimeSuccess(v(Stat::W_OT), v(Stat::T), v(Stat::L_OT)), 0, 0};
    default:
        return {0, 0, 0};
    }
}

} // namespace

QStringList criterionCaptions()
{
    return {u"BODY"_qs,
            u"SKÓRE"_qs,
            u"VSTŘELENÉ BRANKY"_qs,
            u"OBDRŽENÉ BRANKY"_qs,
            u"VÝHRY"_qs,
            u"VÝHRY (VČETNĚ PRODL.)"_qs,
            u"VÝHRY V PRODLOUŽENÍ"_qs,
            u"REMÍZY"_qs,
            u"PROHRY V PRODLOUŽENÍ"_qs,
            u"PROHRY"_qs,
            u"PROHRY (VČETNĚ PRODL.)"_qs,
            u"PRODLUŽOVANÁ UTKÁNÍ"_qs,
            u"ÚSPĚŠNOST V PRODLOUŽENÍ"_qs};
}

QStringList venueCaptions()
{
    return {u"DOMA"_qs, u"VENKU"_qs, u"CELKEM"_qs};
}

QString periodCaption(int firstRound, int lastRound)
{
    return u"tabulka za období   (kola %1 - %2)"_qs.arg(firstRound).arg(lastRound);
}

int overtimeSuccess(int wonInOvertime, int draws, int lostInOvertime)
{
    const int matches = wonInOvertime + draws + lostInOvertime;
    if (matches * bodovani[1] == 0)
        return -1;
    const double share =
        100.0 * (wonInOvertime * bodovani[1] + draws * bodovani[2]) / static_cast<double>(matches * bodovani[1]);
    return static_cast<int>(std::nearbyint(share)); // the default rounding mode sends halves to even
}

std::array<int, kTeams> rankTeams(const TeamStats& stats, int venue, int criterion)
{
    std::array<int, kTeams> order{};
    std::iota(order.begin(), order.end(), 1);
    if (criterion < 0 || criterion > criterion::ExtraTimeSuccess)
        return order;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return key(stats, venue, criterion, a) > key(stats, venue, criterion, b); });
    return order;
}

Standings SpocitatPoradi(const SeasonStore& season, const TeamStats& stats, int venue, int criterion,
                         RankingRules rules, int firstRound, int lastRound)
{
    Standings out;
    out.linesShown = venue == venue::Total && criterion == criterion::Points;
    std::array<int, kTeams> order = rankTeams(stats, venue, criterion);
    QList<PlacedTeam> placed;
    if (criterion == criterion::Points) {
        placed = orderByPoints(season, stats, venue, rules, firstRound, lastRound);
        for (int r = 0; r < kTeams; ++r)
            order[r] = placed[r].team;
    }
    if (out.linesShown && firstRound == 1 && lastRound == kRounds) {
        const SeasonBounds bounds = placeBounds(season, false);
        for (int r = 0; r < kTeams; ++r) {
            const PlaceBounds& b = bounds[static_cast<std::size_t>(order[r] - 1)];
            const std::array<int, 3> lines = dividingLines(season);
            for (int k = 1; k <= 3; ++k) {
                if (b.clinched(lines[k - 1]))
                    out.rows[r].clinched.append(k);
                if (b.out(lines[k - 1]))
                    out.rows[r].out.append(k);
            }
        }
    }
    for (int r = 0; r < kTeams; ++r) {
        const int t = order[r];
        const auto v = [&](Stat stat) { return QString::number(stats(stat, venue, t)); };
        StandingsRow& row = out.rows[r];
        row.team = t;
        row.name = season.TymPodleCisla(t);
        row.gp = v(Stat::GP), row.w = v(Stat::W), row.w_ot = v(Stat::W_OT), row.t = v(Stat::T),
        row.l_ot = v(Stat::L_OT), row.l = v(Stat::L);
        row.pts = v(Stat::PTS);
        row.sco = v(Stat::GF) + u':' + v(Stat::GA);
        const bool shared = criterion == criterion::Points
                                ? placed[r].sharesPlace
                                : r > 0 && criterion != criterion::GoalDifference &&
                                      key(stats, venue, criterion, t) == key(stats, venue, criterion, order[r - 1]);
        if (criterion == criterion::Points)
            row.decidedBy = placed[r].decidedBy;
        row.pos = shared ? QString() : QString::number(r + 1) + u'.';
        if (criterion == criterion::ExtraTimeMatches) {
            row.sco = u"(="_qs + QString::number(key(stats, venue, criterion, t)[0]) + u")  "_qs;
        } else if (criterion == criterion::ExtraTimeSuccess) {
            const int success = key(stats, venue, criterion, t)[0];
            row.sco = success < 0 ? u"--  "_qs : u"(="_qs + QString::number(success) + u"%)"_qs;
        } else {
            row.scoTooltip = u' ' + QString::number(stats.goalDifference(venue, t)) + u' ';
        }
    }
    return out;
}

ViewTable standingsView(const SeasonStore& season, int firstRound, int lastRound, int venue, int criterion,
                        RankingRules rules, const QString& caption)
{
    const Standings st = SpocitatPoradi(season, DataProTabulku(season, firstRound, lastRound), venue, criterion, rules,
                                        firstRound, lastRound);
    ViewTable v{viewCaption(season, caption),
                {u"pořadí"_qs, u"tým"_qs, u"zápasy"_qs, u"výhry"_qs, u"výhry v prodl."_qs, u"remízy"_qs,
                 u"prohry v prodl."_qs, u"prohry"_qs, criterionCaptions().value(criterion, u"skóre"_qs).toLower(),
                 u"body"_qs, u"rozdíl skóre"_qs, u"rozhodlo"_qs},
                {}};
    if (criterion != criterion::ExtraTimeMatches && criterion != criterion::ExtraTimeSuccess)
        v.header[8] = u"skóre"_qs;
    for (const StandingsRow& r : st.rows)
        v.rows.append({r.pos, r.name, r.gp, r.w, r.w_ot, r.t, r.l_ot, r.l, r.sco, r.pts, r.scoTooltip, r.decidedBy});
    return v;
}
