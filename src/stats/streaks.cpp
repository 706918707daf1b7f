// SPDX-License-Identifier: MIT
#include "streaks.h"

#include "season/notation.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The sixteen streak types: caption, letters counted when an overtime counts as a draw and when the
// final result counts, and whether wins and losses in regular time are left out (the overtime types).
struct StreakType {
    const char16_t* caption;
    const char* draw;
    const char* final;
    bool overtimeOnly;
};
constexpr StreakType streakTypes[16] = {
    {u"VÝHRY", "A", "AB", false},
    {u"NEPROHRY", "ABCD", "ABC", false},
    {u"REMÍZY", "BCD", "C", false},
    {u"NEREMÍZY", "AE", "ABDE", false},
    {u"NEVÝHRY", "BCDE", "CDE", false},
    {u"PROHRY", "E", "DE", false},
    {u"PRODLUŽOVANÁ UTKÁNÍ", "BCD", "BCD", false},
    {u"NEPRODLUŽOVANÁ UTKÁNÍ", "AE", "AE", false},
    {u"VYHRANÁ PRODLOUŽENÍ", "B", "B", true},
    {u"NEPROHRANÁ PRODLOUŽENÍ", "BC", "BC", true},
    {u"NEROZHODNUTÁ PRODLOUŽENÍ", "C", "C", true},
    {u"NEVYHRANÁ PRODLOUŽENÍ", "CD", "CD", true},
    {u"PROHRANÁ PRODLOUŽENÍ", "D", "D", true},
    {u"BEZ ZTRÁTY BODU", "A", "A", false},
    {u"S BODOVÝM ZISKEM", "ABCD", "ABCD", false},
    {u"BEZ BODOVÉHO ZISKU", "E", "E", false},
};

// The last three types count by the league's points: all it gives, some, none.
constexpr int kFirstPointsType = 13;

QByteArray pointsMarks(int type, const LeagueRules& rules)
{
    const int most = *std::max_element(rules.points.begin(), rules.points.end());
    QByteArray marks;
    for (const OutcomeClass c : {OutcomeClass::A, OutcomeClass::B, OutcomeClass::C, OutcomeClass::D, OutcomeClass::E}) {
        const int points = rules.pointsOf(c);
        if (type == kFirstPointsType ? points == most : type == kFirstPointsType + 1 ? points > 0 : points == 0)
            marks += letterOf(c).toLatin1();
    }
    return marks;
}

} // namespace

OutcomeHistory buildSerie(const SeasonStore& season)
{
    OutcomeHistory serie;
    serie.fill(QStringList(season.teams()));
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            if (match.result.isEmpty())
                continue;
            const auto [home, away] = classify(ZkoumatVysledek(match.result));
            const int h = match.home - 1, a = match.away - 1;
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
    QStringList captions;
    for (const StreakType& t : streakTypes)
        captions << QString::fromUtf16(t.caption);
    return captions;
}

QStringList streakOrderCaptions()
{
    return {u"ABECEDNĚ"_s, u"PODLE AKTUÁLNÍ"_s, u"PODLE NEJDELŠÍ"_s};
}

QString markStreak(const QString& letters, int type, OvertimeMode mode, const LeagueRules& rules)
{
    QString s = letters;
    if (type < 0 || type > 15)
        return s;
    const StreakType& t = streakTypes[type];
    if (t.overtimeOnly)
        s.remove(u'A').remove(u'E');
    const QByteArray marks = type >= kFirstPointsType     ? pointsMarks(type, rules)
                             : mode == OvertimeMode::Draw ? QByteArray(t.draw)
                                                          : QByteArray(t.final);
    for (QChar& c : s) {
        if (c.toLatin1() != 0 && marks.contains(c.toLatin1()))
            c = u'X';
    }
    return s;
}

QList<StreakRow> computeStreaks(const SeasonStore& season, const OutcomeHistory& serie, int venue, int type,
                                OvertimeMode mode, int order)
{
    struct Unit {
        QString team;
        int current = -1; // -1: no matches of that kind
        int longest = -1;
    };
    QList<Unit> units(season.teams());
    for (int t = 1; t <= season.teams(); ++t) {
        Unit& u = units[t - 1];
        u.team = season.TymPodleCisla(t);
        const QString s =
            markStreak(serie.at(static_cast<std::size_t>(venue - 1)).value(t - 1), type, mode, season.rules);
        if (s.isEmpty())
            continue;
        // The run still going at the end is the current streak.
        u.current = u.longest = 0;
        for (QChar c : s) {
            u.current = c == u'X' ? u.current + 1 : 0;
            u.longest = std::max(u.longest, u.current);
        }
    }
    if (order == streakorder::ByCurrent || order == streakorder::ByLongest) {
        std::stable_sort(units.begin(), units.end(),
                         [](const Unit& a, const Unit& b) { return a.longest > b.longest; });
        if (order == streakorder::ByCurrent)
            std::stable_sort(units.begin(), units.end(),
                             [](const Unit& a, const Unit& b) { return a.current > b.current; });
    }
    const auto text = [](int value) { return value < 0 ? u"-"_s : QString::number(value); };
    QList<StreakRow> rows(units.size());
    for (int i = 0; i < units.size(); ++i) {
        const Unit& u = units[i];
        StreakRow& row = rows[i];
        row = {QString::number(i + 1) + u'.', u.team, text(u.current), text(u.longest)};
        if (order == streakorder::Alphabetical) {
            row.pos = u"-."_s;
        } else if (i > 0) {
            const Unit& above = units[i - 1];
            if ((order == streakorder::ByCurrent ? u.current == above.current : u.longest == above.longest))
                row.pos.clear();
        }
    }
    return rows;
}

ViewTable streaksView(const SeasonStore& season, int venue, int type, OvertimeMode mode, int order)
{
    ViewTable v{viewCaption(season, u"série výsledků – "_s + streakTypeCaptions().value(type).toLower()),
                {u"pořadí"_s, u"tým"_s, u"aktuální série"_s, u"nejdelší série"_s},
                {}};
    for (const StreakRow& r : computeStreaks(season, buildSerie(season), venue, type, mode, order))
        v.rows.append({r.pos, r.team, r.current, r.longest});
    return v;
}
