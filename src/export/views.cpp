// SPDX-License-Identifier: MIT
#include "views.h"

#include "standings/graph.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"

namespace {

QString withLeague(const SeasonStore& season, const QString& caption)
{
    return season.caption + u" – "_qs + caption;
}

ViewTable oneColumn(const QString& caption, const QString& column, const QStringList& lines)
{
    ViewTable v{caption, {column}, {}};
    for (const QString& line : lines)
        v.rows.append({line});
    return v;
}

} // namespace

ViewTable standingsView(const SeasonStore& season, int firstRound, int lastRound, int venue, int criterion,
                        RankingRules rules, const QString& caption)
{
    const Standings st = SpocitatPoradi(season, DataProTabulku(season, firstRound, lastRound), venue, criterion, rules,
                                        firstRound, lastRound);
    ViewTable v{withLeague(season, caption),
                {u"pořadí"_qs, u"tým"_qs, u"zápasy"_qs, u"výhry"_qs, u"výhry v prodl."_qs, u"remízy"_qs,
                 u"prohry v prodl."_qs, u"prohry"_qs, criterionCaptions().value(criterion, u"skóre"_qs).toLower(),
                 u"body"_qs, u"rozdíl skóre"_qs, u"rozhodlo"_qs},
                {}};
    if (criterion != ExtraTimeMatches && criterion != ExtraTimeSuccess)
        v.header[8] = u"skóre"_qs;
    for (const StandingsRow& r : st.rows)
        v.rows.append({r.pos, r.name, r.gp, r.w, r.w_ot, r.t, r.l_ot, r.l, r.sco, r.pts, r.scoTooltip, r.decidedBy});
    return v;
}

ViewTable graphView(const SeasonStore& season)
{
    const GraphData g = computeGraph(season);
    ViewTable v{withLeague(season, u"graf vývoje umístění"_qs), QStringList{u"kolo"_qs} + season.teamNames(), {}};
    for (const auto& round : g.positions) {
        QStringList row{QString::number(v.rows.size() + 1)};
        for (int p : round)
            row << QString::number(p);
        v.rows.append(row);
    }
    return v;
}

ViewTable streaksView(const SeasonStore& season, int venue, int type, OvertimeMode mode, int order)
{
    ViewTable v{withLeague(season, u"série výsledků – "_qs + streakTypeCaptions().value(type).toLower()),
                {u"pořadí"_qs, u"tým"_qs, u"aktuální série"_qs, u"nejdelší série"_qs},
                {}};
    for (const StreakRow& r : computeStreaks(season, buildSerie(season), venue, type, mode, order))
        v.rows.append({r.pos, r.team, r.current, r.longest});
    return v;
}

ViewTable crossView(const SeasonStore& season)
{
    ViewTable v{withLeague(season, u"křížová tabulka"_qs), QStringList{u"domácí \\ hosté"_qs} + season.teamNames(), {}};
    const CrossTable table = crossTable(season);
    for (int h = 1; h <= kTeams; ++h)
        v.rows.append(QStringList{season.TymPodleCisla(h)} + QStringList(table[h - 1].begin(), table[h - 1].end()));
    return v;
}

ViewTable balanceView(const SeasonStore& season, int team)
{
    ViewTable v{withLeague(season, u"dosavadní bilance – "_qs + season.TymPodleCisla(team)),
                {QString(), u"doma"_qs, u"venku"_qs, u"celkem"_qs},
                {}};
    for (const BalanceRow& r : teamBalance(season, team))
        v.rows.append({r.caption, r.home, r.away, r.total});
    return v;
}

ViewTable matchesView(const SeasonStore& season, int team)
{
    return oneColumn(withLeague(season, u"zápasy – "_qs + season.TymPodleCisla(team)), u"zápas"_qs,
                     teamMatchLines(season, team));
}

ViewTable headToHeadView(const SeasonStore& season, int first, int second)
{
    const QString pair = season.TymPodleCisla(first) + u" a " + season.TymPodleCisla(second);
    return oneColumn(withLeague(season, u"vzájemné zápasy – "_qs + pair), u"zápas"_qs,
                     headToHeadLines(season, first, second));
}

ViewTable missingView(const SeasonStore& season, const QDate& today)
{
    return oneColumn(withLeague(season, u"chybějící výsledky"_qs), u"zápas"_qs, missingResults(season, today));
}

ViewTable calendarView(const SeasonStore& season, const std::array<CalendarEvent, 10>& events)
{
    ViewTable v{withLeague(season, (u"Kalendář akcí "_qs + season.season).toLower()), {u"termín"_qs, u"akce"_qs}, {}};
    for (const CalendarEvent& e : events)
        v.rows.append({e.dates, e.name});
    return v;
}
