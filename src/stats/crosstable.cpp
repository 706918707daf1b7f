// SPDX-License-Identifier: MIT
#include "crosstable.h"

#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

CrossTable crossTable(const SeasonStore& season)
{
    CrossTable cells(season.teams(), QStringList(season.teams()));
    for (int r = 1; r <= season.rounds(); ++r) {
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            QString& cell = cells[match.home - 1][match.away - 1];
            cell = cell.isEmpty() ? match.result : cell + u"\r\n" + match.result;
        }
    }
    for (int t = 0; t < season.teams(); ++t)
        cells[t][t].clear();
    return cells;
}

ViewTable crossView(const SeasonStore& season)
{
    ViewTable v{viewCaption(season, u"křížová tabulka"_s), QStringList{u"domácí \\ hosté"_s} + season.teamNames(), {}};
    const CrossTable table = crossTable(season);
    for (int h = 1; h <= season.teams(); ++h)
        v.rows.append(QStringList{season.TymPodleCisla(h)} + table[h - 1]);
    return v;
}

namespace {

// The first `count` letters of the text (digits too where `digits`), in capitals.
QString firstLetters(const QString& text, int count, bool digits = false)
{
    QString letters;
    for (const QChar c : text)
        if ((c.isLetter() || (digits && c.isDigit())) && letters.size() < count)
            letters += c.toUpper();
    return letters;
}

// The first letter and the start of the first word in which the name differs from every other in `group`.
QString toldApart(const QString& name, const QStringList& group)
{
    static const QRegularExpression between(u"[^\\p{L}\\p{N}]+"_s);
    const QStringList words = name.split(between, Qt::SkipEmptyParts);
    for (qsizetype w = 0; w < words.size(); ++w) {
        const bool differs = std::all_of(group.begin(), group.end(), [&](const QString& other) {
            return other == name || other.split(between, Qt::SkipEmptyParts).value(w) != words[w];
        });
        if (differs && w > 0)
            return firstLetters(name, 1) + firstLetters(words[w], 2, true);
    }
    return {};
}

} // namespace

QStringList shortNames(const QStringList& names)
{
    QStringList shortened;
    for (const QString& name : names)
        shortened << firstLetters(name, 3);
    for (qsizetype i = 0; i < names.size(); ++i) {
        QStringList group;
        for (qsizetype j = 0; j < names.size(); ++j)
            if (firstLetters(names[j], 3) == firstLetters(names[i], 3))
                group << names[j];
        if (group.size() > 1)
            shortened[i] = toldApart(names[i], group);
    }
    // Whatever is still shared (or empty) takes the team's number, which no other team has.
    for (qsizetype i = 0; i < shortened.size(); ++i)
        if (shortened[i].isEmpty() || shortened.count(shortened[i]) > 1)
            shortened[i] = firstLetters(names[i], 1, true) + QString::number(i + 1);
    return shortened;
}
