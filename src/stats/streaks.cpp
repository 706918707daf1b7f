// SPDX-License-Identifier: MIT
#include "streaks.h"

#include "season/notation.h"

#include <algorithm>
#include <cstring>

namespace {

// Counted letters of the sixteen types in draw mode and in final-result mode.
constexpr const char* counted[16][2] = {{"A", "AB"},     {"ABCD", "ABC"}, {"BCD", "C"},     {"AE", "ABDE"},
                                        {"BCDE", "CDE"}, {"E", "DE"},     {"BCD", "BCD"},   {"AE", "AE"},
                                        {"B", "B"},      {"BC", "BC"},    {"C", "C"},       {"CD", "CD"},
                                        {"D", "D"},      {"A", "A"},      {"ABCD", "ABCD"}, {"E", "E"}};

constexpr int firstOvertimeType = 8;
constexpr int lastOvertimeType = 12;

} // namespace

OutcomeHistory buildSerie(const SeasonStore& season)
{
    OutcomeHistory serie;
    for (int r = 1; r <= kRounds; ++r) {
        for (int m = 1; m <= kSlots; ++m) {
            const Match& match = season.match(m, r);
            if (match.result.isEmpty())
                continue;
            const auto [home, away] = classify(ZkoumatVysledek(match.result));
            const auto h = static_cast<std::size_t>(match.home - 1), a = static_cast<std::size_t>(match.away - 1);
            serie[0][h] += letterOf(home);
            serie[1][a] += letterOf(away);
            serie[2][h] += letterOf(home);
            serie[2][a] += letterOf(away);
        }
    }
    return serie;
}

QStringList streakTypeCaptions()
{
    return {u"VÝHRY"_qs,
            u"NEPROHRY"_qs,
            u"REMÍZY"_qs,
            u"NEREMÍZY"_qs,
            u"NEVÝHRY"_qs,
            u"PROHRY"_qs,
            u"PRODLUŽOVANÁ UTKÁNÍ"_qs,
            u"NEPRODLUŽOVANÁ UTKÁNÍ"_qs,
            u"VYHRANÁ PRODLOUŽENÍ"_qs,
            u"NEPROHRANÁ PRODLOUŽENÍ"_qs,
            u"NEROZHODNUTÁ PRODLOUŽENÍ"_qs,
            u"NEVYHRANÁ PRODLOUŽENÍ"_qs,
            u"PROHRANÁ PRODLOUŽENÍ"_qs,
            u"BEZ ZTRÁTY BODU"_qs,
            u"S BODOVÝM ZISKEM"_qs,
            u"BEZ BODOVÉHO ZISKU"_qs};
}

QStringList streakOrderCaptions()
{
    return {u"ABECEDNĚ"_qs, u"PODLE AKTUÁLNÍ"_qs, u"PODLE NEJDELŠÍ"_qs};
}

QString markStreak(const QString& letters, int type, OvertimeMode mode)
{
    QString s = letters;
    if (type < 0 || type > 15)
        return s;
    if (type >= firstOvertimeType && type <= lastOvertimeType)
        s.remove(u'A').remove(u'E');
    const char* marks = counted[type][mode == OvertimeMode::Draw ? 0 : 1];
    for (QChar& c : s) {
        if (c.toLatin1() != 0 && std::strchr(marks, c.toLatin1()))
            c = u'X';
    }
    return s;
}

std::array<StreakRow, kTeams> computeStreaks(const SeasonStore& season, const OutcomeHistory& serie, int venue,
                                             int type, OvertimeMode mode, int order)
{
    struct Unit {
        QString team;
        int current = -1; // -1: no matches of that kind
        int longest = -1;
    };
    std::array<Unit, kTeams> units;
    for (int t = 1; t <= kTeams; ++t) {
        Unit& u = units[static_cast<std::size_t>(t - 1)];
        u.team = season.TymPodleCisla(t);
        const QString s =
            markStreak(serie.at(static_cast<std::size_t>(venue - 1))[static_cast<std::size_t>(t - 1)], type, mode);
        if (s.isEmpty())
            continue;
        // The run still going at the end is the current streak.
        u.current = u.longest = 0;
        for (QChar c : s) {
            u.current = c == u'X' ? u.current + 1 : 0;
            u.longest = std::max(u.longest, u.current);
        }
    }
    if (order == ByCurrent || order == ByLongest) {
        std::stable_sort(units.begin(), units.end(),
                         [](const Unit& a, const Unit& b) { return a.longest > b.longest; });
        if (order == ByCurrent)
            std::stable_sort(units.begin(), units.end(),
                             [](const Unit& a, const Unit& b) { return a.current > b.current; });
    }
    const auto text = [](int value) { return value < 0 ? u"-"_qs : QString::number(value); };
    std::array<StreakRow, kTeams> rows;
    for (int i = 0; i < kTeams; ++i) {
        const Unit& u = units[static_cast<std::size_t>(i)];
        StreakRow& row = rows[static_cast<std::size_t>(i)];
        row = {QString::number(i + 1) + u'.', u.team, text(u.current), text(u.longest)};
        if (order == Alphabetical) {
            row.pos = u"-."_qs;
        } else if (i > 0) {
            const Unit& above = units[static_cast<std::size_t>(i - 1)];
            if ((order == ByCurrent ? u.current == above.current : u.longest == above.longest))
                row.pos.clear();
        }
    }
    return rows;
}

ViewTable streaksView(const SeasonStore& season, int venue, int type, OvertimeMode mode, int order)
{
    ViewTable v{viewCaption(season, u"série výsledků – "_qs + streakTypeCaptions().value(type).toLower()),
                {u"pořadí"_qs, u"tým"_qs, u"aktuální série"_qs, u"nejdelší série"_qs},
                {}};
    for (const StreakRow& r : computeStreaks(season, buildSerie(season), venue, type, mode, order))
        v.rows.append({r.pos, r.team, r.current, r.longest});
    return v;
}
