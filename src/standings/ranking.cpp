// SPDX-License-Identifier: MIT
#include "ranking.h"

#include "season/adjustments.h"
#include "season/notation.h"
#include "standings/bounds.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The key of a criterion, made so that a larger key always ranks higher.
std::array<int, 3> key(const TeamStats& s, int venue, Criterion criterion, int team)
{
    const auto v = [&](Stat stat) { return s(stat, venue, team); };
    switch (criterion) {
    case Criterion::Points:
        return orderKey({v(Stat::PTS), v(Stat::GF), v(Stat::GA)});
    case Criterion::GoalDifference:
        return {s.goalDifference(venue, team), v(Stat::GF), 0};
    case Criterion::GoalsFor:
        return {v(Stat::GF), 0, 0};
    case Criterion::GoalsAgainst:
        return {-v(Stat::GA), 0, 0};
    case Criterion::Wins:
        return {v(Stat::W), 0, 0};
    case Criterion::AllWins:
        return {v(Stat::W) + v(Stat::W_OT), 0, 0};
    case Criterion::ExtraTimeWins:
        return {v(Stat::W_OT), 0, 0};
    case Criterion::Draws:
        return {v(Stat::T), 0, 0};
    case Criterion::ExtraTimeLosses:
        return {-v(Stat::L_OT), 0, 0};
    case Criterion::Losses:
        return {-v(Stat::L), 0, 0};
    case Criterion::AllLosses:
        return {-(v(Stat::L) + v(Stat::L_OT)), 0, 0};
    case Criterion::ExtraTimeMatches:
        return {v(Stat::W_OT) + v(Stat::T) + v(Stat::L_OT), 0, 0};
    case Criterion::ExtraTimeSuccess:
        return {overtimeSuccess(v(Stat::W_OT), v(Stat::T), v(Stat::L_OT), s.rules()), 0, 0};
    }
    return {0, 0, 0};
}

// The team numbers in the order of the table, with the places by points when the criterion is points.
struct TableOrder {
    TeamOrder teams;
    QList<PlacedTeam> placed;
};

TableOrder tableOrder(const SeasonStore& season, const TeamStats& stats, int venue, Criterion criterion,
                      RankingRules rules, int firstRound, int lastRound)
{
    TableOrder o{rankTeams(stats, venue, criterion), {}};
    if (criterion == Criterion::Points) {
        o.placed = orderByPoints(season, stats, venue, rules, firstRound, lastRound);
        for (int r = 0; r < o.teams.size(); ++r)
            o.teams[r] = o.placed[r].team;
    }
    return o;
}

bool anyResult(const SeasonStore& season, int round)
{
    for (int m = 1; m <= season.slots(); ++m)
        if (!season.VYSLEDEK(m, round).isEmpty())
            return true;
    return false;
}

// Each team's row in the table as it stood after the previous round with a result; empty without one.
std::optional<std::array<int, kMaxTeams + 1>> previousRows(const SeasonStore& season, Criterion criterion,
                                                           RankingRules rules, int firstRound, int lastRound)
{
    int latest = lastRound;
    while (latest >= firstRound && !anyResult(season, latest))
        --latest;
    int previous = latest - 1;
    while (previous >= firstRound && !anyResult(season, previous))
        --previous;
    if (previous < firstRound)
        return std::nullopt;
    TeamStats stats = DataProTabulku(season, firstRound, previous);
    if (countsAdjustments(season, firstRound, lastRound) && !countsAdjustments(season, firstRound, previous))
        addAdjustments(stats, season); // compared as the table it is now
    const TableOrder before = tableOrder(season, stats, venue::Total, criterion, rules, firstRound, previous);
    std::array<int, kMaxTeams + 1> rowOf{};
    for (int r = 0; r < before.teams.size(); ++r)
        rowOf[static_cast<std::size_t>(before.teams[r])] = r;
    return rowOf;
}

// The dividing lines each team of the whole season's table is sure of or can no longer reach.
void markLines(const SeasonStore& season, const TeamOrder& order, Standings& out)
{
    const QList<LineMarks> marks = lineMarks(season);
    for (int r = 0; r < order.size(); ++r) {
        const LineMarks& m = marks[order[r] - 1];
        for (int k = 1; k <= 3; ++k) {
            if (m.clinched[static_cast<std::size_t>(k - 1)])
                out.rows[r].clinched.append(k);
            if (m.out[static_cast<std::size_t>(k - 1)])
                out.rows[r].out.append(k);
        }
    }
}

} // namespace

QString teamForm(const SeasonStore& season, int team, int venue, int firstRound, int lastRound)
{
    static constexpr char16_t letters[] = u"VvRpP"; // by outcome class A..E
    QString form;
    for (int r = lastRound; r >= firstRound && form.size() < 5; --r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            const bool home = match.home == team && venue != venue::Away;
            if (match.result.isEmpty() || !(home || (match.away == team && venue != venue::Home)))
                continue;
            const auto [homeClass, awayClass] = classify(ZkoumatVysledek(match.result));
            form.prepend(QChar(letters[static_cast<int>(home ? homeClass : awayClass)]));
        }
    }
    return form;
}

QStringList adjustmentNotes(const SeasonStore& season, int venue, int firstRound, int lastRound)
{
    if (!season.adjustmentsIgnored.isEmpty())
        return {u"Úpravy bodů nejsou započteny: "_s + season.adjustmentsIgnored};
    if (season.adjustments.isEmpty())
        return {};
    if (venue != venue::Total)
        return {u"Úpravy bodů se v tabulkách doma a venku nepočítají."_s};
    if (!countsAdjustments(season, firstRound, lastRound))
        return {u"Úpravy bodů patří celé sezóně, v tabulce za část sezóny se nepočítají."_s};
    QStringList notes;
    for (const PointsAdjustment& a : season.adjustments)
        notes << u"* "_s + adjustmentText(season, a);
    return notes;
}

QString movedText(const std::optional<int>& moved)
{
    if (!moved)
        return {};
    return *moved > 0 ? u"▲"_s + QString::number(*moved) : *moved < 0 ? u"▼"_s + QString::number(-*moved) : u"•"_s;
}

QStringList criterionCaptions()
{
    return {u"BODY"_s,
            u"SKÓRE"_s,
            u"VSTŘELENÉ BRANKY"_s,
            u"OBDRŽENÉ BRANKY"_s,
            u"VÝHRY"_s,
            u"VÝHRY (VČETNĚ PRODL.)"_s,
            u"VÝHRY V PRODLOUŽENÍ"_s,
            u"REMÍZY"_s,
            u"PROHRY V PRODLOUŽENÍ"_s,
            u"PROHRY"_s,
            u"PROHRY (VČETNĚ PRODL.)"_s,
            u"PRODLUŽOVANÁ UTKÁNÍ"_s,
            u"ÚSPĚŠNOST V PRODLOUŽENÍ"_s};
}

QStringList venueCaptions()
{
    return {u"DOMA"_s, u"VENKU"_s, u"CELKEM"_s};
}

QString periodCaption(int firstRound, int lastRound)
{
    return u"tabulka za období   (kola %1 - %2)"_s.arg(firstRound).arg(lastRound);
}

int overtimeSuccess(int wonInOvertime, int draws, int lostInOvertime, const LeagueRules& rules)
{
    const int matches = wonInOvertime + draws + lostInOvertime;
    const int win = rules.pointsOf(OutcomeClass::B), draw = rules.pointsOf(OutcomeClass::C);
    if (matches * win == 0)
        return -1;
    const double share = 100.0 * (wonInOvertime * win + draws * draw) / static_cast<double>(matches * win);
    return static_cast<int>(std::nearbyint(share)); // the default rounding mode sends halves to even
}

TeamOrder rankTeams(const TeamStats& stats, int venue, Criterion criterion)
{
    TeamOrder order(stats.teams());
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return key(stats, venue, criterion, a) > key(stats, venue, criterion, b); });
    return order;
}

Standings SpocitatPoradi(const SeasonStore& season, const TeamStats& stats, int venue, Criterion criterion,
                         RankingRules rules, int firstRound, int lastRound)
{
    if (lastRound == 0)
        lastRound = season.rounds();
    Standings out;
    out.rows.resize(season.teams());
    out.linesShown = venue == venue::Total && criterion == Criterion::Points;
    const TableOrder o = tableOrder(season, stats, venue, criterion, rules, firstRound, lastRound);
    const TeamOrder& order = o.teams;
    const QList<PlacedTeam>& placed = o.placed;
    const auto before =
        venue == venue::Total ? previousRows(season, criterion, rules, firstRound, lastRound) : std::nullopt;
    if (out.linesShown && firstRound == 1 && lastRound == season.rounds())
        markLines(season, order, out);
    for (int r = 0; r < order.size(); ++r) {
        const int t = order[r];
        const auto v = [&](Stat stat) { return QString::number(stats(stat, venue, t)); };
        StandingsRow& row = out.rows[r];
        row.team = t;
        row.name = season.TymPodleCisla(t);
        row.gp = v(Stat::GP), row.w = v(Stat::W), row.w_ot = v(Stat::W_OT), row.t = v(Stat::T),
        row.l_ot = v(Stat::L_OT), row.l = v(Stat::L);
        row.pts = v(Stat::PTS);
        row.sco = v(Stat::GF) + u':' + v(Stat::GA);
        const bool shared = criterion == Criterion::Points
                                ? placed[r].sharesPlace
                                : r > 0 && criterion != Criterion::GoalDifference &&
                                      key(stats, venue, criterion, t) == key(stats, venue, criterion, order[r - 1]);
        if (criterion == Criterion::Points)
            row.decidedBy = placed[r].decidedBy;
        row.form = teamForm(season, t, venue, firstRound, lastRound);
        if (before)
            row.moved = (*before)[static_cast<std::size_t>(t)] - r;
        if (venue == venue::Total && countsAdjustments(season, firstRound, lastRound)) {
            row.adjustment = season.adjustmentOf(t);
            for (const PointsAdjustment& a : season.adjustments)
                if (a.team == t)
                    row.reasons << adjustmentText(season, a);
        }
        row.pos = shared ? QString() : QString::number(r + 1) + u'.';
        if (criterion == Criterion::ExtraTimeMatches) {
            row.sco = u"(="_s + QString::number(key(stats, venue, criterion, t)[0]) + u")  "_s;
        } else if (criterion == Criterion::ExtraTimeSuccess) {
            const int success = key(stats, venue, criterion, t)[0];
            row.sco = success < 0 ? u"--  "_s : u"(="_s + QString::number(success) + u"%)"_s;
        } else {
            row.scoTooltip = u' ' + QString::number(stats.goalDifference(venue, t)) + u' ';
        }
    }
    return out;
}

ViewTable standingsView(const SeasonStore& season, int firstRound, int lastRound, int venue, Criterion criterion,
                        RankingRules rules, const QString& caption)
{
    return standingsView(season,
                         SpocitatPoradi(season, DataProTabulku(season, firstRound, lastRound), venue, criterion, rules,
                                        firstRound, lastRound),
                         criterion, caption);
}

ViewTable standingsView(const SeasonStore& season, const Standings& st, Criterion criterion, const QString& caption)
{
    ViewTable v{viewCaption(season, caption),
                {u"pořadí"_s, u"tým"_s, u"zápasy"_s, u"výhry"_s, u"výhry v prodl."_s, u"remízy"_s, u"prohry v prodl."_s,
                 u"prohry"_s, criterionCaptions().value(static_cast<int>(criterion), u"skóre"_s).toLower(), u"body"_s,
                 u"rozdíl skóre"_s, u"rozhodlo"_s, u"úprava bodů"_s, u"posun"_s, u"forma"_s},
                {}};
    if (criterion != Criterion::ExtraTimeMatches && criterion != Criterion::ExtraTimeSuccess)
        v.header[8] = u"skóre"_s;
    for (const StandingsRow& r : st.rows)
        v.rows.append({r.pos, r.name, r.gp, r.w, r.w_ot, r.t, r.l_ot, r.l, r.sco, r.pts, r.scoTooltip, r.decidedBy,
                       r.reasons.isEmpty() ? QString() : signedPoints(r.adjustment), movedText(r.moved), r.form});
    return v;
}

bool regularSeasonOver(const SeasonStore& season)
{
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m)
            if (season.match(m, r).result.isEmpty() && season.match(m, r).home > 0)
                return false;
    return true;
}

RankingRules shownRankingRules(const SeasonStore& season)
{
    return regularSeasonOver(season) ? RankingRules::Final : RankingRules::Running;
}

QString seasonTableCaption(const SeasonStore& season)
{
    return regularSeasonOver(season) ? u"konečné pořadí"_s : runningTableCaption();
}
