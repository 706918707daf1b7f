// SPDX-License-Identifier: MIT
#include "graph.h"

#include "standings/ranking.h"

using namespace Qt::StringLiterals;

GraphData computeGraph(const SeasonStore& season)
{
    GraphData graph;
    TeamStats running;
    for (int r = 1; r <= kRounds; ++r) {
        for (int m = 1; m <= kSlots; ++m)
            countMatch(running, season.match(m, r));
        TeamStats ranked = running;
        finishTotals(ranked);
        addAdjustments(ranked, season);
        const std::array<int, kTeams> order = rankTeams(ranked, venue::Total, Criterion::Points);
        for (int p = 0; p < kTeams; ++p)
            graph.positions[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(order[p] - 1)] = p + 1;
        if (r == kRounds) {
            for (int t = 1; t <= kTeams; ++t)
                graph.played[static_cast<std::size_t>(t - 1)] = ranked(Stat::GP, venue::Total, t);
        }
    }
    return graph;
}

QString graphWarning(const SeasonStore& season)
{
    for (int m = 1; m <= kSlots; ++m) {
        if (season.VYSLEDEK(m, 1).isEmpty())
            return u"1. kolo nebylo odehráno celé.\r\nGraf může být zkreslen!"_s;
    }
    return {};
}

ViewTable graphView(const SeasonStore& season)
{
    const GraphData g = computeGraph(season);
    ViewTable v{viewCaption(season, u"graf vývoje umístění"_s), QStringList{u"kolo"_s} + season.teamNames(), {}};
    for (const auto& round : g.positions) {
        QStringList row{QString::number(v.rows.size() + 1)};
        for (int p : round)
            row << QString::number(p);
        v.rows.append(row);
    }
    return v;
}
