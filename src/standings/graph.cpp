// SPDX-License-Identifier: MIT
#include "graph.h"

#include "standings/ranking.h"

using namespace Qt::StringLiterals;

GraphData computeGraph(const SeasonStore& season)
{
    GraphData graph;
    TeamStats running(season.teams());
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m)
            countMatch(running, season.match(m, r));
        TeamStats ranked = running;
        finishTotals(ranked, season.rules);
        addAdjustments(ranked, season);
        const TeamOrder order = rankTeams(ranked, venue::Total, Criterion::Points);
        QList<int>& positions = graph.positions.emplace_back(season.teams());
        for (int p = 0; p < order.size(); ++p)
            positions[order[p] - 1] = p + 1;
        if (r == season.rounds()) {
            for (int t = 1; t <= season.teams(); ++t)
                graph.played.append(ranked(Stat::GP, venue::Total, t));
        }
    }
    return graph;
}

QString graphWarning(const SeasonStore& season)
{
    for (int m = 1; m <= season.slots(); ++m) {
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
