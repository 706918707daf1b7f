// SPDX-License-Identifier: MIT
#include "crosstable.h"

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
