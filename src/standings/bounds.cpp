// SPDX-License-Identifier: MIT
#include "bounds.h"

#include "season/notation.h"
#include "standings/aggregation.h"
#include "standings/tiebreak.h"

#include <QThread>
#include <glpk.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>
#include <thread>
#include <vector>

namespace {

// A match's points as one number: the home team's 0..3, the away team's the rest (1:1 a draw).
static_assert(bodovani == std::array<int, 5>{3, 2, 1, 1, 0}, "the programs below count 3:0, 2:1, 1:1");

// The matches two teams have still to play against each other, home or away alike: points are all
// that count here.
struct Pairing {
    int a, b, matches;
};

// The season as the questions see it: points so far and the meetings still to play.
struct Remaining {
    int teams = 0;
    std::array<int, kMaxTeams + 1> points{};
    std::array<int, kMaxTeams + 1> left{};
    std::vector<Pairing> pairings;
    std::array<std::array<int, kMaxTeams + 1>, kMaxTeams + 1> meetings{};
    bool draws = false;
    int perMatch = 3; // every match hands out this many points, split in any whole way; or the most a team takes
    // Rules whose matches hand out different totals: each match ends in one of these (the first team's
    // points, the second's), the first a win of the first team that leaves the other nothing, the last
    // the reverse; the programs then count the matches of each outcome per pairing.
    std::vector<std::pair<int, int>> outcomes;
    bool exact = true; // false: the rules score a better result lower, which none of the methods below counts
    // Where the totals differ the programs are no networks and may take long: past this moment a question
    // gets the answer counting proves instead.
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    BoundsBudget budget;

    // Where a season stands for one team's matches that hand out differing totals: the most its opponents
    // can take from them while it takes at least k points (-1 where it cannot), for every k.
    std::vector<int> theirsFromTeam;

    bool general() const { return !outcomes.empty(); }
    bool pastDeadline() const { return std::chrono::steady_clock::now() >= deadline; }
    // The most points the team's opponents can take from its matches while it takes `own` of them.
    int theirsAt(int team, int own) const
    {
        if (theirsFromTeam.empty())
            return perMatch * left[team] - own;
        return own < static_cast<int>(theirsFromTeam.size()) ? theirsFromTeam[static_cast<std::size_t>(own)] : -1;
    }

    int most(int team) const { return points[team] + perMatch * left[team]; }
    bool over() const { return pairings.empty(); }
};

// The points every match hands out where the rules make that one number split in every whole way (3-2-1-0
// without draws, 2-1-0 without overtime); 0 where a match may hand out more or fewer than another.
int constantTotal(const LeagueRules& rules)
{
    using enum OutcomeClass;
    std::vector<OutcomeClass> allowed{A, E};
    if (rules.overtime)
        allowed.insert(allowed.end(), {B, D});
    if (rules.draws)
        allowed.push_back(C);
    int total = -1;
    unsigned values = 0;
    for (const OutcomeClass c : allowed) {
        const int sum = rules.pointsOf(c) + rules.pointsOf(static_cast<OutcomeClass>(4 - static_cast<int>(c)));
        if (total >= 0 && sum != total)
            return 0;
        total = sum;
        values |= 1U << rules.pointsOf(c);
    }
    return values == (1U << (total + 1)) - 1 ? total : 0;
}

// The outcomes a match may end in, for the first team the best first. A regulation win must be worth the
// most and a regulation loss nothing, each result no more than a better one: then a team that wins all
// it has left does best against everyone, and one that loses all does worst.
std::vector<std::pair<int, int>> outcomesOf(const LeagueRules& rules, bool& ordered)
{
    using enum OutcomeClass;
    std::vector<std::pair<int, int>> outcomes;
    ordered = rules.pointsOf(E) == 0;
    for (const OutcomeClass c : {A, B, C, D, E}) {
        if ((c == B || c == D) && !rules.overtime)
            continue;
        if (c == C && !rules.draws)
            continue;
        const int mine = rules.pointsOf(c), theirs = rules.pointsOf(static_cast<OutcomeClass>(4 - static_cast<int>(c)));
        ordered = ordered && (outcomes.empty() || mine <= outcomes.back().first);
        outcomes.push_back({mine, theirs});
    }
    return outcomes;
}

// The groups the wins-only seasons may ask the networks for one question: a few milliseconds.
constexpr long kWinsWork = 2000;

Remaining remainingOf(const SeasonStore& season, const BoundsBudget& budget)
{
    Remaining r;
    r.budget = budget;
    r.teams = season.teams();
    const TeamStats stats = DataProTabulku(season, 1, season.rounds());
    const bool usual = season.rules == LeagueRules{};
    for (int t = 1; t <= r.teams; ++t) {
        r.points[t] = stats(Stat::PTS, venue::Total, t);
        r.draws = usual && (r.draws || stats(Stat::T, venue::Total, t) > 0);
    }
    if (!usual) {
        r.perMatch = constantTotal(season.rules);
        if (r.perMatch == 0) {
            r.outcomes = outcomesOf(season.rules, r.exact);
            r.deadline = std::chrono::steady_clock::now() + budget.programs;
            for (const auto& [mine, theirs] : r.outcomes)
                r.perMatch = std::max(r.perMatch, mine);
        }
    }
    for (int round = 1; round <= season.rounds(); ++round) {
        for (int slot = 1; slot <= season.slots(); ++slot) {
            const Match& m = season.match(slot, round);
            if (m.result.isEmpty() && m.home > 0 && m.away > 0 && m.home != m.away) {
                ++r.meetings[m.home][m.away], ++r.meetings[m.away][m.home];
                ++r.left[m.home], ++r.left[m.away];
            }
        }
    }
    for (int a = 1; a <= r.teams; ++a)
        for (int b = a + 1; b <= r.teams; ++b)
            if (r.meetings[a][b] > 0)
                r.pairings.push_back({a, b, r.meetings[a][b]});
    return r;
}

// One integer program over the remaining meetings: column x_p (1-based p) is the points team a of
// pairing p takes from its matches with b, 0..perMatch per match, b taking the rest; with draws, d_p counts
// the 1:1 draws among them; then one yes/no column per team. A question whose teams all want more
// points leaves draws out: a 1:1 is beaten for both sides by 2:1 for either, and without them the
// rows form a network, which the solver settles at once. Where the totals differ, pairing p has a
// column per outcome instead, counting its matches that end so.
class Program {
public:
    Program(const Remaining& r, int objectiveDirection, bool draws)
        : m_r(r), m_n(static_cast<int>(r.pairings.size())), m_draws(!r.general() && r.draws && draws),
          m_perPairing(r.general() ? static_cast<int>(r.outcomes.size())
                       : m_draws   ? 2
                                   : 1)
    {
        glp_term_out(GLP_OFF);
        m_p = glp_create_prob();
        glp_set_obj_dir(m_p, objectiveDirection);
        glp_add_cols(m_p, teamColumn(r.teams));
        for (int t = 1; t <= r.teams; ++t)
            m_points[static_cast<std::size_t>(t)].constant = r.points[t];
        for (int p = 1; p <= m_n; ++p) {
            if (r.general())
                addOutcomes(p);
            else
                addSplit(p);
        }
        for (int t = 1; t <= r.teams; ++t)
            glp_set_col_kind(m_p, teamColumn(t), GLP_BV);
    }
    ~Program() { glp_delete_prob(m_p); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    int teamColumn(int team) const { return m_perPairing * m_n + team; }
    int teams() const { return m_r.teams; }
    // Whether the program needs whole numbers declared: its rows are no network.
    bool integral() const { return m_draws || m_r.general(); }

    // The team's final points as a constant and terms.
    struct Expression {
        double constant = 0;
        std::vector<std::pair<int, double>> terms;
    };
    const Expression& pointsOf(int team) const { return m_points[static_cast<std::size_t>(team)]; }

    // Gives the team `points` from each of its matches.
    void fixTeam(int team, int points)
    {
        for (int p = 1; p <= m_n; ++p) {
            const Pairing& pairing = m_r.pairings[static_cast<std::size_t>(p - 1)];
            if (pairing.a != team && pairing.b != team)
                continue;
            if (m_r.general()) {
                settle(p, (points > 0) == (pairing.a == team) ? pairing.a : pairing.b);
                continue;
            }
            const int mine = points * pairing.matches;
            fixColumn(p, pairing.a == team ? mine : m_r.perMatch * pairing.matches - mine);
            if (m_draws)
                fixColumn(drawColumn(p), 0);
        }
    }
    void fixColumn(int column, double value) { glp_set_col_bnds(m_p, column, GLP_FX, value, value); }
    // Every match of pairing p (1-based) won outright by `winner`.
    void settle(int p, int winner)
    {
        const Pairing& pairing = m_r.pairings[static_cast<std::size_t>(p - 1)];
        // A win that leaves the other nothing is the first outcome, the loss the last.
        const std::size_t won = pairing.a == winner ? 0 : m_r.outcomes.size() - 1;
        for (std::size_t k = 0; k < m_r.outcomes.size(); ++k)
            fixColumn(outcomeColumn(p, k), k == won ? pairing.matches : 0);
    }
    void setObjective(int column, double coefficient) { glp_set_obj_coef(m_p, column, coefficient); }

    // A row over distinct columns.
    void addRow(const std::vector<std::pair<int, double>>& terms, int type, double bound)
    {
        std::vector<int> index{0};
        std::vector<double> value{0};
        for (const auto& [column, coefficient] : terms) {
            index.push_back(column);
            value.push_back(coefficient);
        }
        const int row = glp_add_rows(m_p, 1);
        glp_set_row_bnds(m_p, row, type, type == GLP_UP ? 0 : bound, type == GLP_LO ? 0 : bound);
        glp_set_mat_row(m_p, row, static_cast<int>(index.size()) - 1, index.data(), value.data());
    }

    // The optimum, or nothing when no completion meets the rows or the time ran out (timedOut()): the
    // season's deadline or, sooner, `cap`. With `cuts` the solver adds its own rows where rounding proves them
    // (mixed-integer rounding and Gomory's) and branches on the most fractional column: what lets it show that
    // a group's program has no whole solution, which branching alone does not in the time.
    std::optional<double> solve(std::chrono::milliseconds cap = std::chrono::milliseconds::max(), bool cuts = false)
    {
        glp_iocp parm;
        glp_init_iocp(&parm);
        parm.presolve = GLP_ON;
        parm.msg_lev = GLP_MSG_OFF;
        if (cuts) {
            parm.mir_cuts = parm.gmi_cuts = GLP_ON;
            parm.br_tech = GLP_BR_MFV;
        }
        if (m_r.deadline != std::chrono::steady_clock::time_point::max()) {
            using namespace std::chrono;
            const auto left = duration_cast<milliseconds>(m_r.deadline - steady_clock::now()).count();
            if (left <= 0) {
                m_timedOut = true;
                return std::nullopt;
            }
            parm.tm_lim = static_cast<int>(std::min<long long>({left, cap.count(), std::numeric_limits<int>::max()}));
        }
        const int code = glp_intopt(m_p, &parm);
        m_timedOut = code == GLP_ETMLIM;
        if (code == 0 && glp_mip_status(m_p) == GLP_OPT)
            return glp_mip_obj_val(m_p);
        return std::nullopt;
    }
    bool timedOut() const { return m_timedOut; }

    // Whether the rows can be met at all, asked of the relaxation alone: enough where the rows form a
    // network, whose corners are whole numbers.
    bool feasibleRelaxed()
    {
        glp_smcp parm;
        glp_init_smcp(&parm);
        parm.presolve = GLP_ON;
        parm.msg_lev = GLP_MSG_OFF;
        return glp_simplex(m_p, &parm) == 0 && glp_get_status(m_p) == GLP_OPT;
    }

private:
    int drawColumn(int p) const { return m_n + p; }
    int outcomeColumn(int p, std::size_t k) const { return (p - 1) * m_perPairing + 1 + static_cast<int>(k); }

    Expression& expressionOf(int team) { return m_points[static_cast<std::size_t>(team)]; }

    void addSplit(int p)
    {
        const Pairing& pairing = m_r.pairings[static_cast<std::size_t>(p - 1)];
        // Without draws the rows of fixed yes/no columns form a network, whose corners are whole
        // numbers: the points need not be declared whole.
        glp_set_col_kind(m_p, p, m_draws ? GLP_IV : GLP_CV);
        glp_set_col_bnds(m_p, p, GLP_DB, 0, m_r.perMatch * pairing.matches);
        Expression &a = expressionOf(pairing.a), &b = expressionOf(pairing.b);
        a.terms.push_back({p, 1.0});
        b.constant += m_r.perMatch * pairing.matches;
        b.terms.push_back({p, -1.0});
        if (m_draws) {
            // Each draw gives both one point: d_p <= x_p <= 3 matches - 2 d_p.
            glp_set_col_kind(m_p, drawColumn(p), GLP_IV);
            glp_set_col_bnds(m_p, drawColumn(p), GLP_DB, 0, pairing.matches);
            addRow({{p, 1.0}, {drawColumn(p), -1.0}}, GLP_LO, 0);
            addRow({{p, 1.0}, {drawColumn(p), 2.0}}, GLP_UP, m_r.perMatch * pairing.matches);
            b.terms.push_back({drawColumn(p), -1.0});
        }
    }

    void addOutcomes(int p)
    {
        const Pairing& pairing = m_r.pairings[static_cast<std::size_t>(p - 1)];
        std::vector<std::pair<int, double>> all;
        for (std::size_t k = 0; k < m_r.outcomes.size(); ++k) {
            const int column = outcomeColumn(p, k);
            glp_set_col_kind(m_p, column, GLP_IV);
            glp_set_col_bnds(m_p, column, GLP_DB, 0, pairing.matches);
            const auto [a, b] = m_r.outcomes[k];
            if (a > 0)
                expressionOf(pairing.a).terms.push_back({column, a});
            if (b > 0)
                expressionOf(pairing.b).terms.push_back({column, b});
            all.push_back({column, 1.0});
        }
        addRow(all, GLP_FX, pairing.matches);
    }

    const Remaining& m_r;
    int m_n;
    bool m_draws;
    int m_perPairing; // columns per pairing before the teams' yes/no columns
    bool m_timedOut = false;
    glp_prob* m_p = nullptr;
    std::array<Expression, kMaxTeams + 1> m_points;
};

std::vector<std::pair<int, double>> plus(std::vector<std::pair<int, double>> terms, int column, double coefficient)
{
    terms.push_back({column, coefficient});
    return terms;
}

// Whether one completion, with `team` taking `points` from each of its matches, brings every team of
// `others` to at least `bound` points (or, with GLP_UP, keeps each at most there). The rows form a
// network, so the solver settles it at its first relaxation; it is the quick answer tried before
// the question with a yes/no column per team.
bool allOf(const Remaining& r, int team, int points, const std::vector<int>& others, int type, int bound)
{
    Program p(r, GLP_MAX, type == GLP_UP); // a draw can keep two teams below a bound, never lift one
    p.fixTeam(team, points);
    for (int u = 1; u <= r.teams; ++u)
        p.fixColumn(p.teamColumn(u), 0);
    for (int u : others) {
        const Program::Expression e = p.pointsOf(u);
        p.addRow(e.terms, type, bound - e.constant);
    }
    return p.integral() ? p.solve().has_value() : p.feasibleRelaxed();
}

// One completion, the team taking `points` from each of its matches: a pairing of a favoured team with
// one that is not goes wholly to the favoured, any other is shared as evenly as points allow. Where it
// already gives the answer asked for, no program need be solved.
std::array<int, kMaxTeams + 1> evenCompletion(const Remaining& r, int team, int points,
                                              const std::array<bool, kMaxTeams + 1>& favoured)
{
    std::array<int, kMaxTeams + 1> final = r.points;
    for (const Pairing& p : r.pairings) {
        const int all = r.perMatch * p.matches;
        const int a = p.a == team                      ? points * p.matches
                      : p.b == team                    ? all - points * p.matches
                      : favoured[p.a] != favoured[p.b] ? (favoured[p.a] ? all : 0)
                                                       : all / 2;
        final[p.a] += a;
        final[p.b] += all - a;
    }
    return final;
}

// The team wins every match left; the fewest other teams above its points, plus one.
int bestPlace(const Remaining& r, int team)
{
    const int target = r.most(team);
    std::vector<int> below;
    std::array<bool, kMaxTeams + 1> passed{};
    int alreadyAbove = 0;
    for (int u = 1; u <= r.teams; ++u) {
        passed[u] = u != team && r.points[u] > target;
        if (u != team && !passed[u])
            below.push_back(u);
        alreadyAbove += passed[u];
    }
    const std::array<int, kMaxTeams + 1> even = evenCompletion(r, team, r.perMatch, passed);
    if ((!r.general() && std::all_of(below.begin(), below.end(), [&](int u) { return even[u] <= target; })) ||
        allOf(r, team, r.perMatch, below, GLP_UP, target))
        return 1 + alreadyAbove;
    Program p(r, GLP_MIN, true);
    p.fixTeam(team, r.perMatch);
    int above = 0;
    for (int u = 1; u <= r.teams; ++u) {
        const int most = r.most(u) - r.perMatch * r.meetings[u][team];
        if (u == team || most <= target) {
            p.fixColumn(p.teamColumn(u), 0);
        } else if (r.points[u] > target) {
            p.fixColumn(p.teamColumn(u), 0);
            ++above;
        } else {
            // points - (most - target) * above_u <= target
            p.setObjective(p.teamColumn(u), 1);
            const Program::Expression e = p.pointsOf(u);
            p.addRow(plus(e.terms, p.teamColumn(u), -(most - target)), GLP_UP, target - e.constant);
        }
    }
    // Out of time, the teams above it whatever happens are all that is sure; one team's program may not take
    // the time the league's other questions need.
    return 1 + above + static_cast<int>(std::lround(p.solve(r.budget.place).value_or(0)));
}

// Rows that let column z_u be 1 only where team u ends with at least `target` points, `least` being
// the fewest it can end with. With `atLeast` above 0 they ask for that many such teams, else the
// objective counts them.
void reachingTarget(Program& p, int team, int target, const std::function<int(int)>& least, int atLeast)
{
    std::vector<std::pair<int, double>> count;
    for (int u = 1; u <= p.teams(); ++u) {
        if (u == team) {
            p.fixColumn(p.teamColumn(u), 0);
            continue;
        }
        count.push_back({p.teamColumn(u), 1});
        const int gap = target - least(u);
        if (gap <= 0)
            continue; // u gets there whatever happens
        // points_u >= target - gap (1 - z_u)
        const Program::Expression e = p.pointsOf(u);
        p.addRow(plus(e.terms, p.teamColumn(u), -gap), GLP_LO, target - gap - e.constant);
    }
    if (atLeast > 0) {
        p.addRow(count, GLP_LO, atLeast);
        return;
    }
    for (const auto& [column, coefficient] : count)
        p.setObjective(column, coefficient);
}

int mostPassingByGroups(const Remaining& r, int team, int most);

// The team loses every match left; the most other teams at or above its points, plus one.
int worstPlace(const Remaining& r, int team)
{
    std::vector<int> reach;
    std::array<bool, kMaxTeams + 1> reaching{};
    for (int u = 1; u <= r.teams; ++u)
        if (u != team && r.most(u) >= r.points[team])
            reach.push_back(u), reaching[u] = true;
    if (r.general())
        return 1 + mostPassingByGroups(r, team, static_cast<int>(reach.size()));
    const std::array<int, kMaxTeams + 1> even = evenCompletion(r, team, 0, reaching);
    if (std::all_of(reach.begin(), reach.end(), [&](int u) { return even[u] >= r.points[team]; }) ||
        allOf(r, team, 0, reach, GLP_LO, r.points[team]))
        return 1 + static_cast<int>(reach.size());
    Program p(r, GLP_MAX, false);
    p.fixTeam(team, 0);
    reachingTarget(
        p, team, r.points[team], [&](int u) { return r.points[u] + r.perMatch * r.meetings[u][team]; }, 0);
    const std::optional<double> most = p.solve(); // out of time: every team that can reach it may
    return 1 + (most ? static_cast<int>(std::lround(*most)) : static_cast<int>(reach.size()));
}

// Maximum flow by Dinic's method, for networks of a few dozen nodes.
class FlowNetwork {
public:
    explicit FlowNetwork(int nodes) : m_first(static_cast<std::size_t>(nodes), -1), m_level(m_first.size()) {}

    void addEdge(int from, int to, int capacity)
    {
        m_edges.push_back({to, capacity, m_first[static_cast<std::size_t>(from)]});
        m_first[static_cast<std::size_t>(from)] = static_cast<int>(m_edges.size()) - 1;
        m_edges.push_back({from, 0, m_first[static_cast<std::size_t>(to)]});
        m_first[static_cast<std::size_t>(to)] = static_cast<int>(m_edges.size()) - 1;
    }

    int maxFlow(int source, int sink)
    {
        int flow = 0;
        while (levelled(source, sink)) {
            m_next = m_first;
            while (const int pushed = push(source, sink, std::numeric_limits<int>::max()))
                flow += pushed;
        }
        return flow;
    }

private:
    struct Edge {
        int to, capacity, next;
    };

    bool levelled(int source, int sink)
    {
        std::fill(m_level.begin(), m_level.end(), -1);
        std::vector<int> queue{source};
        m_level[static_cast<std::size_t>(source)] = 0;
        for (std::size_t i = 0; i < queue.size(); ++i)
            for (int e = m_first[static_cast<std::size_t>(queue[i])]; e >= 0; e = edge(e).next)
                if (edge(e).capacity > 0 && m_level[static_cast<std::size_t>(edge(e).to)] < 0) {
                    m_level[static_cast<std::size_t>(edge(e).to)] = m_level[static_cast<std::size_t>(queue[i])] + 1;
                    queue.push_back(edge(e).to);
                }
        return m_level[static_cast<std::size_t>(sink)] >= 0;
    }

    int push(int node, int sink, int limit)
    {
        if (node == sink)
            return limit;
        for (int& e = m_next[static_cast<std::size_t>(node)]; e >= 0; e = edge(e).next) {
            const int to = edge(e).to;
            if (edge(e).capacity <= 0 ||
                m_level[static_cast<std::size_t>(to)] != m_level[static_cast<std::size_t>(node)] + 1)
                continue;
            if (const int pushed = push(to, sink, std::min(limit, edge(e).capacity)); pushed > 0) {
                edge(e).capacity -= pushed;
                edge(e ^ 1).capacity += pushed;
                return pushed;
            }
        }
        return 0;
    }

    Edge& edge(int e) { return m_edges[static_cast<std::size_t>(e)]; }

    std::vector<Edge> m_edges;
    std::vector<int> m_first, m_level, m_next;
};

// Whether every team of `chasers` can end with at least `target` points while the team takes exactly
// `own` points from its remaining matches. Without draws each pairing's points split in any whole
// way, so this is a transport of the remaining points to the chasers: a flow that meets every need.
bool allCanReach(const Remaining& r, int team, int own, const std::vector<int>& chasers, int target)
{
    enum : int { Source, Sink, TeamsOpponents, FirstNode };
    std::array<int, kMaxTeams + 1> node{};
    int nodes = FirstNode, needed = 0;
    for (int u : chasers)
        node[static_cast<std::size_t>(u)] = nodes++;
    FlowNetwork net(nodes + static_cast<int>(r.pairings.size()));
    for (int u : chasers) {
        const int need = target - r.points[u];
        needed += std::max(0, need);
        if (need > 0)
            net.addEdge(node[static_cast<std::size_t>(u)], Sink, need);
        // The team's opponents share what it leaves of its matches, each at most all of their meetings.
        if (r.meetings[u][team] > 0)
            net.addEdge(TeamsOpponents, node[static_cast<std::size_t>(u)], r.perMatch * r.meetings[u][team]);
    }
    if (needed == 0)
        return true;
    const int theirs = r.theirsAt(team, own);
    if (theirs < 0)
        return false;
    net.addEdge(Source, TeamsOpponents, theirs);
    for (const Pairing& p : r.pairings) {
        const int a = node[static_cast<std::size_t>(p.a)], b = node[static_cast<std::size_t>(p.b)];
        if (p.a == team || p.b == team || (a == 0 && b == 0))
            continue;
        net.addEdge(Source, nodes, r.perMatch * p.matches);
        if (a != 0)
            net.addEdge(nodes, a, r.perMatch * p.matches);
        if (b != 0)
            net.addEdge(nodes, b, r.perMatch * p.matches);
        ++nodes;
    }
    return net.maxFlow(Source, Sink) == needed;
}

// The groups of `line` candidates to pass the team, searched depth first. A group is first counted (the points
// its members can take together, in microseconds), and only a group that passes the count is asked the exact
// question. A branch is dropped once even the best of what is left cannot pass the count: the group's points so
// far, the most that many more could add less what each shares with the group, less for each pair of them
// at least the least any two candidates share.
class GroupSearch {
public:
    // Where the question's rules are not those of `r` but one that `r` relaxes, `exact` asks a group that
    // passes `r` the exact question within `cap`; nothing from it means the time ran out: the search goes on,
    // and the groups left unanswered are asked again at its end with what time the league has left.
    using Exact = std::function<std::optional<bool>(const std::vector<int>& group, std::chrono::milliseconds cap)>;

    // With `work`, the search counts the groups it asks the networks and gives up once none are left.
    GroupSearch(const Remaining& r, int team, int own, int line, int target, std::vector<int> candidates,
                Exact exact = {}, long* work = nullptr)
        : m_r(r), m_team(team), m_own(own), m_line(line), m_target(target), m_candidates(std::move(candidates)),
          m_n(static_cast<int>(m_candidates.size())), m_theirs(r.theirsAt(team, own)), m_exact(std::move(exact)),
          m_work(work)
    {
        const auto n = static_cast<std::size_t>(m_n);
        m_shared.resize(n * n);
        m_against.resize(n);
        m_contribution.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const int u = m_candidates[i];
            // What it can end with from all but its matches with the team.
            m_contribution[i] = r.most(u) - r.perMatch * r.meetings[u][team];
            m_against[i] = r.perMatch * r.meetings[u][team];
            for (std::size_t j = 0; j < n; ++j) {
                if (j == i)
                    continue;
                m_shared[i * n + j] = r.perMatch * r.meetings[u][m_candidates[j]];
                m_leastShared = std::min(m_leastShared, m_shared[i * n + j]);
            }
        }
    }
    // Whether some group passes; nothing when the time or the work ran out before every group was answered.
    std::optional<bool> found()
    {
        if (search(0, 0, 0))
            return true;
        if (m_work && *m_work < 0)
            return std::nullopt;
        if (!m_exact)
            return false;
        return askGroups();
    }

private:
    // The sum of the `k` largest of values[from..].
    static int bestOf(const std::vector<int>& values, int from, int k)
    {
        std::array<int, kMaxTeams> rest{};
        const auto end = std::copy(values.begin() + from, values.end(), rest.begin());
        std::nth_element(rest.begin(), rest.begin() + k - 1, end, std::greater<>());
        return std::accumulate(rest.begin(), rest.begin() + k, 0);
    }
    bool search(int from, int points, int againstTeam)
    {
        const int k = m_line - static_cast<int>(m_group.size());
        if (k == 0) {
            const int slack = points + std::min(againstTeam, m_theirs) - m_line * m_target;
            if (slack >= 0 && m_exact)
                m_passCount.push_back({slack, m_members});
            if (slack < 0 || m_exact || (m_work && --*m_work < 0))
                return false;
            return allCanReach(m_r, m_team, m_own, m_group, m_target);
        }
        if (m_n - from < k)
            return false;
        const int best = points + bestOf(m_contribution, from, k) - m_leastShared * k * (k - 1) / 2 +
                         std::min(againstTeam + bestOf(m_against, from, k), m_theirs);
        if (best < m_line * m_target)
            return false;
        const auto n = static_cast<std::size_t>(m_n);
        for (int j = from; j <= m_n - k; ++j) {
            const auto i = static_cast<std::size_t>(j);
            m_group.push_back(m_candidates[i]);
            m_members ^= 1U << i;
            for (std::size_t l = i + 1; l < n; ++l)
                m_contribution[l] -= m_shared[i * n + l];
            const bool passes = search(j + 1, points + m_contribution[i], againstTeam + m_against[i]);
            for (std::size_t l = i + 1; l < n; ++l)
                m_contribution[l] += m_shared[i * n + l];
            m_group.pop_back();
            m_members ^= 1U << i;
            if (passes || (m_work && *m_work < 0))
                return passes;
        }
        return false;
    }

    // The groups that pass the count, those with most to spare first: where a group passes exactly it is
    // usually one of them, and where none does every one is asked anyway.
    std::optional<bool> askGroups()
    {
        std::stable_sort(m_passCount.begin(), m_passCount.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<std::vector<int>> unanswered;
        for (const auto& [slack, members] : m_passCount) {
            if (!unanswered.empty() && m_r.pastDeadline())
                return std::nullopt;
            std::vector<int> group;
            for (std::size_t i = 0; i < m_candidates.size(); ++i)
                if (members >> i & 1U)
                    group.push_back(m_candidates[i]);
            if (!allCanReach(m_r, m_team, m_own, group, m_target))
                continue;
            const std::optional<bool> reaches = m_exact(group, m_r.budget.group);
            if (reaches.value_or(false))
                return true;
            if (!reaches)
                unanswered.push_back(group);
        }
        bool open = false;
        for (const std::vector<int>& group : unanswered) {
            const std::optional<bool> reaches = m_exact(group, std::chrono::milliseconds::max());
            if (reaches.value_or(false))
                return true;
            open = open || !reaches;
        }
        return open ? std::nullopt : std::optional(false);
    }

    const Remaining& m_r;
    int m_team, m_own, m_line, m_target;
    std::vector<int> m_candidates;
    int m_n, m_theirs;
    Exact m_exact;
    std::vector<std::pair<int, std::uint32_t>> m_passCount; // points to spare and group, where programs answer
    std::uint32_t m_members = 0;                            // m_group's places among the candidates
    long* m_work;
    int m_leastShared = std::numeric_limits<int>::max();
    std::vector<int> m_shared, m_against, m_contribution, m_group;
};

// The most points a win W and a draw D (to each) may hand the team's opponents of `group` while it takes exactly
// `own` from its matches, for each number of its draws with them: its own points come from the others' matches
// first. Below zero where it cannot take `own` so.
std::vector<int> mostFromTeam(int win, int draw, int own, int withGroup, int withOthers)
{
    const auto fromOthers = [&](int points) {
        for (int drawn = 0; drawn <= withOthers && drawn * draw <= points; ++drawn)
            if ((points - drawn * draw) % win == 0 && (points - drawn * draw) / win + drawn <= withOthers)
                return true;
        return false;
    };
    std::vector<int> most(static_cast<std::size_t>(withGroup) + 1, -1);
    for (int drawn = 0; drawn <= withGroup; ++drawn)
        for (int won = 0; won + drawn <= withGroup && own - drawn * draw - won * win >= 0; ++won)
            if (fromOthers(own - drawn * draw - won * win)) {
                most[static_cast<std::size_t>(drawn)] = win * (withGroup - won - drawn) + draw * drawn;
                break;
            }
    return most;
}

using Members = std::array<bool, kMaxTeams + 1>; // a group's teams, by number

// One group's question where a match ends W:0, D:D or 0:W (as in 3-1-0): the team's matches with the group and
// with the rest, the group's matches among themselves, and each member's points with its matches against the rest
// won. Nothing under other rules.
struct GroupMatches {
    int win = 0, draw = 0;
    int withGroup = 0, withOthers = 0;                 // the team's matches
    std::array<int, kMaxTeams + 1> withTeam{}, base{}; // by member
    std::vector<Pairing> internal;
};

std::optional<GroupMatches> groupMatchesOf(const Remaining& r, int team, const Members& in)
{
    const auto& o = r.outcomes;
    if (o.size() != 3 || o[0].second != 0 || o[1].first != o[1].second || o[2] != std::pair{0, o[0].first} ||
        o[1].first <= 0)
        return std::nullopt;
    GroupMatches g;
    g.win = o[0].first, g.draw = o[1].first, g.base = r.points;
    for (const Pairing& q : r.pairings) {
        const int other = q.a == team ? q.b : q.b == team ? q.a : 0;
        if (other != 0) {
            (in[other] ? g.withTeam[other] : g.withOthers) += q.matches;
            g.withGroup += in[other] ? q.matches : 0;
        } else if (in[q.a] && in[q.b]) {
            g.internal.push_back(q);
        } else if (in[q.a] || in[q.b]) {
            g.base[in[q.a] ? q.a : q.b] += g.win * q.matches;
        }
    }
    return g;
}

// Whether `group` can reach `target` as far as draws allow, where a match ends W:0, D:D or 0:W with W > 2D. A
// team's points from its matches are W a + D b for b draws, so unless its draws make up the rest of its need in
// wins it overshoots; each draw within the group hands out W - 2D less; a draw with the team costs what its fixed
// points then keep from the group. What the group has to spare must cover the least of that over every way of
// drawing. A group that passes this may still fail; one that fails it cannot pass.
bool drawsAllow(const GroupMatches& g, int own, const std::vector<int>& group, int target)
{
    const int win = g.win, draw = g.draw;
    if (win <= 2 * draw)
        return true;
    std::array<int, kMaxTeams + 1> internal{};
    int spare = 0;
    for (const Pairing& q : g.internal)
        internal[q.a] += q.matches, internal[q.b] += q.matches, spare += win * q.matches;
    const std::vector<int> fromTeam = mostFromTeam(win, draw, own, g.withGroup, g.withOthers);
    // In half points: the least overshoot and lost points of the group's members with y draws with the team.
    constexpr int kNever = std::numeric_limits<int>::max() / 4;
    std::vector<int> least(fromTeam.size(), kNever);
    least[0] = 0;
    for (const int u : group) {
        const int need = target - g.base[u];
        spare += g.base[u] - std::max(target, g.base[u]);
        const auto overshoot = [&](int drawn) {
            const int rest = need - draw * drawn;
            return need <= 0 ? 0 : rest <= 0 ? -rest : (win - rest % win) % win;
        };
        std::vector<int> cost(static_cast<std::size_t>(g.withTeam[u]) + 1, kNever); // by its draws with the team
        for (std::size_t t = 0; t < cost.size(); ++t)
            for (int i = 0; i <= internal[u]; ++i)
                cost[t] = std::min(cost[t], 2 * overshoot(static_cast<int>(t) + i) + (win - 2 * draw) * i);
        std::vector<int> next(least.size(), kNever);
        for (std::size_t y = 0; y < least.size(); ++y)
            for (std::size_t t = 0; t < cost.size() && y + t < least.size() && least[y] < kNever; ++t)
                next[y + t] = std::min(next[y + t], least[y] + cost[t]);
        least = std::move(next);
    }
    for (std::size_t y = 0; y < least.size(); ++y)
        if (fromTeam[y] >= 0 && least[y] < kNever && least[y] <= 2 * (spare + fromTeam[y]))
            return true;
    return false;
}

// A group's completion tried before its program, in two ways of drawing: none, or where two members who meet are
// each a draw short of a whole number of wins. The team's draws with the group go to the members they spare a
// win; every other match is a win, shared out as a flow that gives the team exactly the wins its `own` points
// leave it against the group and each member the wins its need still asks. A completion found settles the
// question in microseconds where the program may take many milliseconds to find one.
class DrawsWitness {
public:
    DrawsWitness(const GroupMatches& g, const std::vector<int>& group, int target)
        : m_g(g), m_group(group), m_target(target)
    {
    }

    bool found(int own)
    {
        const std::vector<int> fromTeam = mostFromTeam(m_g.win, m_g.draw, own, m_g.withGroup, m_g.withOthers);
        for (std::size_t y = 0; y < fromTeam.size() && y <= kTeamDraws; ++y) {
            if (fromTeam[y] < 0)
                continue;
            const int drawn = static_cast<int>(y), lost = (fromTeam[y] - m_g.draw * drawn) / m_g.win;
            const int won = m_g.withGroup - lost - drawn;
            if (!drawWithTeam(drawn))
                continue;
            if (winsSuffice(won))
                return true;
            if (drawAmongMembers() && winsSuffice(won))
                return true;
        }
        return false;
    }

private:
    static constexpr std::size_t kTeamDraws = 4; // more rarely help, and each costs two flows

    // The points short of a whole number of wins, for a member still short of its target.
    int residue(int u) const { return m_need[u] <= 0 ? 0 : m_need[u] % m_g.win; }

    bool drawWithTeam(int drawn)
    {
        for (const int u : m_group)
            m_need[u] = m_target - m_g.base[u], m_teamDraws[u] = 0;
        m_drawn.assign(m_g.internal.size(), 0);
        for (const int wanted : {m_g.draw, 2 * m_g.draw, -1})
            for (const int u : m_group)
                if (drawn > 0 && m_teamDraws[u] < m_g.withTeam[u] && (wanted < 0 || residue(u) == wanted))
                    ++m_teamDraws[u], --drawn, m_need[u] -= m_g.draw;
        return drawn == 0;
    }

    // Draws between members who meet, each a draw short of a whole number of wins; whether there were any.
    bool drawAmongMembers()
    {
        bool any = false;
        for (std::size_t k = 0; k < m_g.internal.size(); ++k) {
            const Pairing& q = m_g.internal[k];
            if (q.matches > 0 && residue(q.a) == m_g.draw && residue(q.b) == m_g.draw)
                m_drawn[k] = 1, m_need[q.a] -= m_g.draw, m_need[q.b] -= m_g.draw, any = true;
        }
        return any;
    }

    // Whether the matches not drawn can be won so that the team wins exactly `won` of its own with the group and
    // every member reaches its need: what a flow leaves unused goes to a member.
    bool winsSuffice(int won) const
    {
        enum : int { Source, Sink, Team, FirstNode };
        std::array<int, kMaxTeams + 1> node{};
        int nodes = FirstNode, needed = won;
        for (const int u : m_group)
            node[u] = nodes++;
        FlowNetwork net(nodes + static_cast<int>(m_g.internal.size() + m_group.size()));
        net.addEdge(Team, Sink, won);
        const auto addMatches = [&](int count, int a, int b) {
            if (count <= 0)
                return;
            net.addEdge(Source, nodes, count);
            net.addEdge(nodes, a, count);
            net.addEdge(nodes, b, count);
            ++nodes;
        };
        for (const int u : m_group) {
            const int wins = m_need[u] <= 0 ? 0 : (m_need[u] + m_g.win - 1) / m_g.win;
            needed += wins;
            net.addEdge(node[u], Sink, wins);
            addMatches(m_g.withTeam[u] - m_teamDraws[u], node[u], Team);
        }
        for (std::size_t k = 0; k < m_g.internal.size(); ++k)
            addMatches(m_g.internal[k].matches - m_drawn[k], node[m_g.internal[k].a], node[m_g.internal[k].b]);
        return net.maxFlow(Source, Sink) == needed;
    }

    const GroupMatches& m_g;
    const std::vector<int>& m_group;
    int m_target;
    std::array<int, kMaxTeams + 1> m_need{}, m_teamDraws{};
    std::vector<int> m_drawn;
};

// Whether every team of `group` can end with at least `target` points while the team takes exactly `own` points
// from its matches, where the totals differ: a program over the matches of the group and of the team alone, the
// group's matches with anyone else won by the group. A row's points are multiples of the outcomes' points, so
// with it go the rows that scaling by j/win and rounding up leave valid (Gomory's), which settle at once most
// of what branching alone would not. Nothing when the time ran out (`cap`, or the league's).
std::optional<bool> groupReaches(const Remaining& r, int team, int own, const std::vector<int>& group, int target,
                                 std::chrono::milliseconds cap)
{
    Members in{};
    for (const int u : group)
        in[static_cast<std::size_t>(u)] = true;
    if (const std::optional<GroupMatches> g = groupMatchesOf(r, team, in)) {
        if (!drawsAllow(*g, own, group, target))
            return false;
        if (DrawsWitness(*g, group, target).found(own))
            return true;
    }
    Remaining inside = r;
    inside.pairings.clear();
    const int win = std::max(1, r.outcomes.front().first); // the last row of each team's is its own
    for (const Pairing& q : r.pairings) {
        if (q.a == team || q.b == team || (in[q.a] && in[q.b]))
            inside.pairings.push_back(q);
        else if (in[q.a] || in[q.b])
            inside.points[in[q.a] ? q.a : q.b] += win * q.matches;
    }
    Program p(inside, GLP_MAX, true);
    for (int u = 1; u <= r.teams; ++u)
        p.fixColumn(p.teamColumn(u), 0);
    p.addRow(p.pointsOf(team).terms, GLP_FX, own);
    for (const int u : group) {
        const Program::Expression& e = p.pointsOf(u);
        const int need = target - static_cast<int>(e.constant);
        for (int j = 1; j <= win && need > 0; ++j) {
            std::vector<std::pair<int, double>> rounded;
            for (const auto& [column, coefficient] : e.terms)
                rounded.push_back({column, std::ceil(j * coefficient / win)});
            p.addRow(rounded, GLP_LO, std::ceil(static_cast<double>(j * need) / win));
        }
    }
    const bool solved = p.solve(cap, true).has_value();
    return solved || !p.timedOut() ? std::optional(solved) : std::nullopt;
}

// Whether some `line` other teams can end level with or above the team when it takes exactly `own`
// points from its remaining matches. With `exact`, the season under rules whose totals differ that `r`
// relaxes: a group that passes `r` is then asked its program. Nothing when the time ran out.
std::optional<bool> someCanPass(const Remaining& r, int team, int line, int own, const Remaining* exact = nullptr,
                                long* work = nullptr)
{
    const int target = r.points[team] + own;
    std::vector<int> candidates;
    for (int u = 1; u <= r.teams; ++u) {
        if (u != team && r.points[u] >= target)
            --line; // at the target already: one of any group that passes, needing nothing
        else if (u != team && r.most(u) >= target)
            candidates.push_back(u);
    }
    if (static_cast<int>(candidates.size()) < line || line <= 0)
        return line <= 0;
    GroupSearch::Exact ask;
    if (exact) {
        ask = [&](const std::vector<int>& group, std::chrono::milliseconds cap) {
            return groupReaches(*exact, team, own, group, target, cap);
        };
        // The likeliest groups first: where the programs' time runs out, a group that passes may still be found.
        std::stable_sort(candidates.begin(), candidates.end(), [&](int a, int b) { return r.most(a) > r.most(b); });
    }
    return GroupSearch(r, team, own, line, target, std::move(candidates), std::move(ask), work).found();
}

// Whether `line` other teams can end level with or above the team when it takes exactly `own` points
// from its remaining matches: all of `likely` together (quick), or any `line` of them (thorough).
bool canBePassed(const Remaining& r, int team, int line, int own, const std::vector<int>* likely)
{
    return likely ? allCanReach(r, team, own, *likely, r.points[team] + own) : *someCanPass(r, team, line, own);
}

// The largest of first..last (first passing, known) for which `passes` holds; fewer points never make
// the team safer (each point less goes to an opponent or nowhere), so halving finds it.
int lastPassing(int first, int last, const std::function<bool(int)>& passes)
{
    while (first < last) {
        const int middle = (first + last + 1) / 2;
        if (passes(middle))
            first = middle;
        else
            last = middle - 1;
    }
    return first;
}

int pointsNeeded(const Remaining& r, int team, int line);

// The most own points with which the team can still be passed in `r` when a match hands out any split of
// `r.perMatch`; -1 when not even none.
int mostPassableBySplits(const Remaining& r, int team, int line)
{
    if (!canBePassed(r, team, line, 0, nullptr))
        return -1;
    const int needed = pointsNeeded(r, team, line);
    return needed == kNeverSure ? r.perMatch * r.left[team] : needed - 1;
}

// The season where every match of others is won by one side and the team takes, besides wins and losses,
// `drawn` matches worth `drawnPoints` to it (what they give its opponents left out): a team's points as the
// wins it is worth against the team's now, each match a unit to either side.
Remaining winsOnlySeason(const Remaining& r, int team, int drawn, int drawnPoints)
{
    Remaining units = r;
    const int win = r.outcomes.front().first;
    units.outcomes.clear();
    units.draws = false;
    units.perMatch = 1;
    for (int u = 1; u <= r.teams; ++u)
        units.points[u] =
            u == team ? 0
                      : static_cast<int>(
                            std::floor(static_cast<double>(r.points[u] - r.points[team] - drawn * drawnPoints) / win));
    units.theirsFromTeam.clear();
    for (int won = 0; won <= r.left[team]; ++won)
        units.theirsFromTeam.push_back(std::max(-1, r.left[team] - won - drawn));
    return units;
}

// The most own points, at most `most`, with which wins and losses alone, and a few of the team's matches
// ending otherwise, let it be passed; -1 when none. Each such completion is tried first at the most it can
// give, which usually settles the question at once.
int mostPassableByWins(const Remaining& r, int team, int line, int most)
{
    struct Mix {
        Remaining units;
        int drawn, drawnPoints, wins;
    };
    std::vector<Mix> mixes;
    const int win = r.outcomes.front().first;
    for (const auto& [mine, theirs] : r.outcomes)
        for (int drawn = 0; drawn <= (mine > 0 && mine < win ? 2 : 0) && drawn <= r.left[team]; ++drawn)
            if (const int wins = std::min(r.left[team] - drawn, (most - drawn * mine) / win); wins >= 0)
                mixes.push_back({winsOnlySeason(r, team, drawn, mine), drawn, mine, wins});
    const auto own = [&](const Mix& m, int wins) { return wins * win + m.drawn * m.drawnPoints; };
    std::sort(mixes.begin(), mixes.end(), [&](const Mix& a, const Mix& b) { return own(a, a.wins) > own(b, b.wins); });
    // The answer only bounds the question from below, so an unsettled search counts as no: the groups it may
    // ask are limited, lest the networks of many groups out of twenty take longer than the programs would.
    long work = kWinsWork;
    const auto passes = [&](const Mix& m, int w) {
        return someCanPass(m.units, team, line, w, nullptr, &work).value_or(false);
    };
    for (const Mix& m : mixes)
        if (own(m, m.wins) == own(mixes.front(), mixes.front().wins) && passes(m, m.wins))
            return own(m, m.wins);
    int known = -1;
    for (const Mix& m : mixes) {
        if (own(m, m.wins) <= known || !passes(m, 0))
            continue;
        const int wins = lastPassing(0, m.wins, [&](int w) { return passes(m, w); });
        known = std::max(known, own(m, wins));
    }
    return known;
}

// For each k, the most points opponents can take from the team's matches while it takes at least k points
// from them, -1 where it cannot take so many.
std::vector<int> mostForOpponents(const Remaining& r, int team)
{
    std::vector<int> most{0}; // with exactly k points from the matches counted so far, -1 where none
    for (int match = 0; match < r.left[team]; ++match) {
        std::vector<int> next(most.size() + static_cast<std::size_t>(r.perMatch), -1);
        for (std::size_t k = 0; k < most.size(); ++k)
            for (const auto& [mine, theirs] : r.outcomes)
                if (most[k] >= 0)
                    next[k + static_cast<std::size_t>(mine)] =
                        std::max(next[k + static_cast<std::size_t>(mine)], most[k] + theirs);
        most = std::move(next);
    }
    for (std::size_t k = most.size() - 1; k-- > 0;)
        most[k] = std::max(most[k], most[k + 1]);
    return most;
}

// The season where the totals differ relaxed for the team's questions: a match hands out any split of the most
// it can, the team's opponents at most what its own points leave them.
Remaining splitsSeason(const Remaining& r, int team)
{
    Remaining splits = r;
    splits.outcomes.clear();
    splits.draws = false;
    for (const auto& [mine, theirs] : r.outcomes)
        splits.perMatch = std::max(splits.perMatch, mine + theirs);
    splits.theirsFromTeam = mostForOpponents(r, team);
    return splits;
}

// Where the totals differ, the most other teams, at most `most`, that can end level with or above the team when it
// loses every match left: each number asked of the groups that pass with any split, from the most down. Out of
// time, the number last asked: as many as counting allows.
int mostPassingByGroups(const Remaining& r, int team, int most)
{
    const Remaining splits = splitsSeason(r, team);
    for (int line = most; line > 0; --line)
        if (someCanPass(splits, team, line, 0, &r).value_or(true))
            return line;
    return 0;
}

// pointsNeeded where the totals differ: what wins alone allow (3:0 or 0:3) and what any split of a match's
// most points allows bound the answer from both sides, two networks; a program is asked only between them.
int pointsNeededByOutcomes(const Remaining& r, int team, int line)
{
    const int all = r.perMatch * r.left[team];
    const Remaining splits = splitsSeason(r, team);
    const int most = std::min(mostPassableBySplits(splits, team, line), all);
    const int known = most < 0 ? -1 : mostPassableByWins(r, team, line, most);
    // Each number of points between is asked of the groups that pass with any split; a number the team cannot
    // take from its matches (3-1-0: 2 from one) passes none, so the numbers are tried from the most down.
    int passable = known;
    for (int own = most; own > known; --own) {
        const std::optional<bool> passed = someCanPass(splits, team, line, own, &r);
        if (!passed)
            return kNotCounted;
        if (*passed) {
            passable = own;
            break;
        }
    }
    return passable >= all ? kNeverSure : passable + 1;
}

bool unitSplits(const Remaining& r);
int pointsNeededByUnits(const Remaining& r, int team, int line);

// One more than the most points the team may take from its own matches and still have `line` other
// teams level or above, for a team that can still end below the line (its worst place is below it);
// kNeverSure when even winning all may end so.
int pointsNeeded(const Remaining& r, int team, int line)
{
    if (unitSplits(r))
        return pointsNeededByUnits(r, team, line);
    if (r.general())
        return pointsNeededByOutcomes(r, team, line);
    const int all = r.perMatch * r.left[team];
    // The `line` teams that can get most, all passing together, answer most questions at once; the
    // thorough question then only has to show that one point more is safe.
    std::vector<int> chasers;
    for (int u = 1; u <= r.teams; ++u)
        if (u != team)
            chasers.push_back(u);
    const auto mostAgainst = [&](int u) { return r.most(u) - r.perMatch * r.meetings[u][team]; };
    std::stable_sort(chasers.begin(), chasers.end(), [&](int a, int b) { return mostAgainst(a) > mostAgainst(b); });
    chasers.resize(static_cast<std::size_t>(std::min(line, r.teams - 1)));
    int passable = canBePassed(r, team, line, 0, &chasers)
                       ? lastPassing(0, all, [&](int own) { return canBePassed(r, team, line, own, &chasers); })
                       : 0;
    if (passable < all && canBePassed(r, team, line, passable + 1, nullptr))
        passable = lastPassing(passable + 1, all, [&](int own) { return canBePassed(r, team, line, own, nullptr); });
    return passable >= all ? kNeverSure : passable + 1;
}

// 2-2-1-0 without draws: a regulation game hands out 2, an overtime game 3. Asked whether teams can get
// points, every other game goes to overtime (2:1 and 1:2 give either side more than 2:0 and 0:2): a point to
// each side up front and one more to either, all whole splits of one. Asked whether they can be kept below,
// every other game ends in regulation (2:0 or 0:2): twice a split of one. Either way the network methods
// above answer exactly.
bool unitSplits(const Remaining& r)
{
    return r.outcomes == std::vector<std::pair<int, int>>{{2, 0}, {2, 1}, {1, 2}, {0, 2}};
}

// The season for questions of reaching: a point a remaining match given up front, one left to split; the
// team that loses all its matches in regulation gets none of its own.
Remaining reachingSeason(const Remaining& r, int team, bool teamLosesAll)
{
    Remaining units = r;
    units.outcomes.clear();
    units.perMatch = 1;
    units.deadline = std::chrono::steady_clock::time_point::max();
    for (int u = 1; u <= r.teams; ++u)
        units.points[u] += u == team && teamLosesAll ? 0 : r.left[u];
    return units;
}

// The season for the team's best place, which wins all it has left: each other team's points as the units
// of two it may still take before passing the team's most, counted from that most down.
Remaining keptBelowSeason(const Remaining& r, int team)
{
    Remaining units = r;
    units.outcomes.clear();
    units.perMatch = 1;
    units.deadline = std::chrono::steady_clock::time_point::max();
    const int target = r.most(team);
    for (int u = 1; u <= r.teams; ++u)
        units.points[u] =
            u == team ? target - r.left[team] : target - static_cast<int>(std::floor((target - r.points[u]) / 2.0));
    return units;
}

int exactBestPlace(const Remaining& r, int team)
{
    return unitSplits(r) ? bestPlace(keptBelowSeason(r, team), team) : bestPlace(r, team);
}

int exactWorstPlace(const Remaining& r, int team)
{
    return unitSplits(r) ? worstPlace(reachingSeason(r, team, true), team) : worstPlace(r, team);
}

// Points needed under 2-2-1-0: from its own matches the team takes a point up front each (overtime losses)
// and as many more as it wins; fewer than that only by losing in regulation, which gives an opponent no more
// than an overtime loss does, so the fewest points are the case of overtime losses with a lower target.
int pointsNeededByUnits(const Remaining& r, int team, int line)
{
    const Remaining units = reachingSeason(r, team, false);
    const int left = r.left[team];
    if (canBePassed(units, team, line, 0, nullptr)) {
        const int needed = pointsNeeded(units, team, line);
        return needed == kNeverSure ? kNeverSure : needed + left;
    }
    const auto passes = [&](int own) { return canBePassed(units, team, line, own, nullptr); };
    return lastPassing(-left, -1, passes) + left + 1;
}

// Places counting alone proves: teams above the team's most points stay above it, teams whose most points
// stay below its points stay below.
SeasonBounds countedBounds(const Remaining& r, const std::array<int, 3>& lines, bool withNeeded)
{
    SeasonBounds bounds(r.teams);
    for (int t = 1; t <= r.teams; ++t) {
        PlaceBounds& b = bounds[t - 1];
        b = {1, r.teams, {}};
        for (int u = 1; u <= r.teams; ++u) {
            b.best += u != t && r.points[u] > r.most(t);
            b.worst -= u != t && r.most(u) < r.points[t];
        }
        for (std::size_t k = 0; k < lines.size() && withNeeded; ++k)
            b.needed[k] = lines[k] <= 0 || b.clinched(lines[k]) ? 0 : b.out(lines[k]) ? kNeverSure : kNotCounted;
    }
    return bounds;
}

// The teams' questions are independent: they are shared out among the cores this process may use, each
// thread with its own solver state.
void forEachTeam(int teams, const std::atomic<bool>* stop, const std::function<void(int)>& ask)
{
    std::atomic<int> next{1};
    std::vector<std::thread> workers;
    for (int w = 0; w < std::clamp(QThread::idealThreadCount(), 1, 4); ++w) {
        workers.emplace_back([&] {
            for (int t = next++; t <= teams && !(stop && *stop); t = next++)
                ask(t);
            glp_free_env(); // the solver keeps a state per thread
        });
    }
    for (std::thread& w : workers)
        w.join();
}

} // namespace

SeasonBounds placeBounds(const SeasonStore& season, bool withNeeded, const std::atomic<bool>* stop,
                         const BoundsBudget& budget)
{
    const Remaining r = remainingOf(season, budget);
    SeasonBounds bounds(r.teams);
    const std::array<int, 3> lines = dividingLines(season);
    if (r.over()) {
        // The final table has settled every place; teams it cannot part share the range of their rows, and
        // no points can be taken any more: a team the line leaves out stays out.
        const QList<PlacedTeam> order = orderByPoints(season, DataProTabulku(season, 1, season.rounds()), venue::Total,
                                                      RankingRules::Final, 1, season.rounds());
        for (int first = 0, last = 0; first < r.teams; first = last + 1) {
            for (last = first; last + 1 < r.teams && order[last + 1].sharesPlace;)
                ++last;
            for (int row = first; row <= last; ++row) {
                PlaceBounds& b = bounds[order[row].team - 1];
                b = {first + 1, last + 1, {}};
                for (std::size_t k = 0; k < lines.size() && withNeeded; ++k)
                    b.needed[k] = lines[k] <= 0 || b.clinched(lines[k]) ? 0 : kNeverSure;
            }
        }
        return bounds;
    }
    if (!r.exact)
        return countedBounds(r, lines, withNeeded);
    const auto places = [&](int t) { bounds[t - 1] = {exactBestPlace(r, t), exactWorstPlace(r, t), {}}; };
    const auto needed = [&](int t) {
        PlaceBounds& b = bounds[t - 1];
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (stop && *stop)
                return;
            b.needed[k] = lines[k] <= 0 || b.clinched(lines[k]) ? 0
                          : b.out(lines[k])                     ? kNeverSure
                                                                : pointsNeeded(r, t, lines[k]);
        }
    };
    // Every team's places before anyone's points needed: where the time is shared, the places come first.
    forEachTeam(r.teams, stop, places);
    if (withNeeded)
        forEachTeam(r.teams, stop, needed);
    return bounds;
}

QList<LineMarks> lineMarks(const SeasonStore& season)
{
    const std::array<int, 3> lines = dividingLines(season);
    const Remaining r = remainingOf(season, {});
    QList<LineMarks> marks(r.teams);
    if (r.over() || !r.exact) {
        const SeasonBounds bounds = placeBounds(season, false);
        for (int t = 1; t <= r.teams; ++t)
            for (std::size_t k = 0; k < lines.size(); ++k) {
                marks[t - 1].clinched[k] = bounds[t - 1].clinched(lines[k]);
                marks[t - 1].out[k] = bounds[t - 1].out(lines[k]);
            }
        return marks;
    }
    for (int t = 1; t <= r.teams; ++t) {
        // The best place lies within [bestLeast, bestMost], the worst within [worstLeast, worstMost]:
        // teams above the team's most points whatever happens, teams that can pass it at all.
        int bestLeast = 1, bestMost = 1, worstLeast = 1, worstMost = 1;
        for (int u = 1; u <= r.teams; ++u) {
            if (u == t)
                continue;
            bestLeast += r.points[u] > r.most(t);
            bestMost += r.most(u) - r.perMatch * r.meetings[u][t] > r.most(t);
            worstLeast += r.points[u] + r.perMatch * r.meetings[u][t] >= r.points[t];
            worstMost += r.most(u) >= r.points[t];
        }
        std::optional<int> best, worst; // exact, once a line needs them
        const auto exactBest = [&] { return best ? *best : *(best = exactBestPlace(r, t)); };
        const auto exactWorst = [&] { return worst ? *worst : *(worst = exactWorstPlace(r, t)); };
        LineMarks& m = marks[t - 1];
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const int line = lines[k];
            if (line <= 0)
                continue;
            m.clinched[k] = worstMost <= line || (worstLeast <= line && exactWorst() <= line);
            m.out[k] = bestLeast > line || (bestMost > line && exactBest() > line);
        }
    }
    glp_free_env();
    return marks;
}
