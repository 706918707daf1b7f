// SPDX-License-Identifier: MIT
#include "graph.h"

#include "standings/ranking.h"

#include <map>

using namespace Qt::StringLiterals;

namespace {

// The teams' places in the total table of the matches counted so far, team 1 first.
QList<int> placesNow(const TeamStats& running, const SeasonStore& season)
{
    TeamStats ranked = running;
    finishTotals(ranked, season.rules);
    addAdjustments(ranked, season);
    const TeamOrder order = rankTeams(ranked, venue::Total, Criterion::Points);
    QList<int> places(season.teams());
    for (int p = 0; p < order.size(); ++p)
        places[order[p] - 1] = p + 1;
    return places;
}

} // namespace

GraphData computeGraph(const SeasonStore& season)
{
    GraphData graph;
    TeamStats running(season.teams());
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m)
            countMatch(running, season.match(m, r));
        graph.positions.append(placesNow(running, season));
    }
    finishTotals(running, season.rules);
    for (int t = 1; t <= season.teams(); ++t)
        graph.played.append(running(Stat::GP, venue::Total, t));
    return graph;
}

GraphData computeGraphByDate(const SeasonStore& season)
{
    std::map<QDate, QList<const Match*>> byDay;
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m)
            if (const QDate day = season.matchDay(m, r); day.isValid() && !season.VYSLEDEK(m, r).isEmpty())
                byDay[day].append(&season.match(m, r));
    GraphData graph;
    graph.played = QList<int>(season.teams());
    TeamStats running(season.teams());
    for (const auto& [day, matches] : byDay) {
        graph.days.append(day);
        for (const Match* match : matches) {
            countMatch(running, *match);
            for (const int team : {match->home, match->away})
                if (team >= 1 && team <= season.teams())
                    graph.played[team - 1] = static_cast<int>(graph.days.size());
        }
        graph.positions.append(placesNow(running, season));
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
