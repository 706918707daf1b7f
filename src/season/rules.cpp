// SPDX-License-Identifier: MIT
#include "rules.h"

using namespace Qt::StringLiterals;

Result<std::array<int, 5>> parsePoints(const QString& text)
{
    const QStringList parts = text.split(u',');
    std::array<int, 5> points{};
    bool ok = parts.size() == 5;
    for (qsizetype i = 0; ok && i < 5; ++i) {
        const QString part = parts[i].trimmed();
        ok = part.size() == 1 && part[0].isDigit();
        points[static_cast<std::size_t>(i)] = ok ? part[0].digitValue() : 0;
    }
    if (!ok)
        return Result<std::array<int, 5>>::failure(
            u"body musí být pět čísel 0 až 9 oddělených čárkou: výhra, výhra po prodloužení, remíza, "
            "prohra po prodloužení, prohra (např. 3,2,1,1,0)"_s);
    return points;
}

std::optional<bool> parseYesNo(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"ano" || t == u"yes")
        return true;
    if (t == u"ne" || t == u"no")
        return false;
    return std::nullopt;
}

QStringList rulesLines(const LeagueRules& rules)
{
    if (rules == LeagueRules{})
        return {};
    QStringList points;
    for (int p : rules.points)
        points << QString::number(p);
    const auto yesNo = [](bool b) { return b ? u"ano"_s : u"ne"_s; };
    return {QStringView(kPointsKey) + points.join(u','), QStringView(kDrawsKey) + yesNo(rules.draws),
            QStringView(kOvertimeKey) + yesNo(rules.overtime)};
}

QString rulesProblem(const LeagueRules& rules)
{
    if (!rules.draws && !rules.overtime)
        return u"soutěž bez remíz musí hrát prodloužení: jinak nerozhodný zápas nemá povolený výsledek"_s;
    return {};
}

QString normaliseResult(const QString& text, const LeagueRules& rules)
{
    const QString normalised = normaliseResult(text);
    if (rules.overtime || !normalised.endsWith(u'p'))
        return normalised;
    const ParsedResult p = ZkoumatVysledek(normalised);
    return p.HomeGoals == p.AwayGoals ? normalised.chopped(1) : normalised; // a plain draw
}

QString rulesRefusal(const QString& text, const LeagueRules& rules)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || !isAcceptedResult(t))
        return {};
    const ParsedResult p = ZkoumatVysledek(t);
    if (!rules.overtime && (t.endsWith(u'p') || t.endsWith(u'n')))
        return u"soutěž nehraje prodloužení ani nájezdy: výsledek nemůže mít „p“ ani „n“ (%1)"_s.arg(t);
    if (p.HomeGoals == p.AwayGoals && !rules.draws)
        return u"soutěž nezná remízy: zápas musí mít vítěze (%1)"_s.arg(t);
    return {};
}

QList<NamedRules> usualRules()
{
    return {{u"3-2-1-1-0 s remízami"_s, LeagueRules{}},
            {u"3-2-1-0 bez remíz"_s, LeagueRules{{3, 2, 0, 1, 0}, false, true}},
            {u"2-2-1-0 bez remíz"_s, LeagueRules{{2, 2, 0, 1, 0}, false, true}},
            {u"2-1-0 s remízami, bez prodloužení"_s, LeagueRules{{2, 0, 1, 0, 0}, true, false}},
            {u"3-1-0 s remízami, bez prodloužení"_s, LeagueRules{{3, 0, 1, 0, 0}, true, false}}};
}

QString rulesName(const LeagueRules& rules)
{
    for (const NamedRules& named : usualRules())
        if (named.rules == rules)
            return named.name;
    return rulesLines(rules).join(u", ");
}
