// SPDX-License-Identifier: MIT
#include "notation.h"

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool hasSuffix(const QString& s)
{
    return s.endsWith(u'p') || s.endsWith(u'n');
}

} // namespace

bool isAcceptedResult(const QString& text)
{
    if (text.isEmpty())
        return true;
    QStringView s(text);
    if (hasSuffix(text))
        s.chop(1);
    const qsizetype colon = s.indexOf(u':');
    if (colon < 1 || colon > 2)
        return false;
    const QStringView away = s.mid(colon + 1);
    if (away.isEmpty() || away.size() > 2)
        return false;
    const auto allDigits = [](QStringView v) { return std::all_of(v.begin(), v.end(), isDigit); };
    return allDigits(s.left(colon)) && allDigits(away);
}

ParsedResult ZkoumatVysledek(const QString& result)
{
    ParsedResult r;
    if (result.isEmpty())
        return r;
    const qsizetype colon = result.indexOf(u':');
    const bool suffix = hasSuffix(result);
    r.HomeGoals = QStringView(result).left(colon).toInt();
    QStringView away = QStringView(result).mid(colon + 1);
    if (suffix)
        away.chop(1);
    r.AwayGoals = away.toInt();
    r.ExtraTimeFlag = suffix && std::abs(r.HomeGoals - r.AwayGoals) == 1;
    if (r.HomeGoals == r.AwayGoals)
        r.ExtraTimeFlag = true;
    return r;
}

std::pair<OutcomeClass, OutcomeClass> classify(const ParsedResult& r)
{
    using enum OutcomeClass;
    if (r.HomeGoals == r.AwayGoals)
        return {C, C};
    if (r.HomeGoals > r.AwayGoals)
        return r.ExtraTimeFlag ? std::pair{B, D} : std::pair{A, E};
    return r.ExtraTimeFlag ? std::pair{D, B} : std::pair{E, A};
}

QString convertKeypadInput(const QString& text)
{
    QString s = text;
    bool separated = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        QChar& c = s[i];
        if (c == u'/')
            c = u'n';
        else if (c == u'+')
            c = u':';
        else if (c == u'-')
            c = !separated && i > 0 && s[i - 1].isDigit() ? u':' : u'p';
        separated = separated || c == u':';
    }
    return s;
}

QString normaliseResult(const QString& text)
{
    QString s = text.trimmed();
    if (!isAcceptedResult(s) || s.isEmpty())
        return {};
    const ParsedResult r = ZkoumatVysledek(s);
    if (!hasSuffix(s) && r.ExtraTimeFlag)
        s += u'p';
    if (s.endsWith(u'n') && r.HomeGoals == r.AwayGoals)
        s.back() = u'p';
    if (!r.ExtraTimeFlag && hasSuffix(s))
        s.chop(1);
    return s;
}
