// SPDX-License-Identifier: MIT
#include "crosstable.h"

using namespace Qt::StringLiterals;

CrossTable crossTable(const SeasonStore& season)
{
    CrossTable cells;
    for (int r = 1; r <= kRounds; ++r) {
        for (int m = 1; m <= kSlots; ++m) {
            const Match& match = season.match(m, r);
            QString& cell = cells[static_cast<std::size_t>(match.home - 1)][static_cast<std::size_t>(match.away - 1)];
            cell = cell.isEmpty() ? match.result : cell + u"\r\n" + match.result;
        }
    }
    for (int t = 0; t < kTeams; ++t)
        cells[static_cast<std::size_t>(t)][static_cast<std::size_t>(t)].clear();
    return cells;
}

ViewTable crossView(const SeasonStore& season)
{
    ViewTable v{viewCaption(season, u"křížová tabulka"_s), QStringList{u"domácí \\ hosté"_s} + season.teamNames(), {}};
    const CrossTable table = crossTable(season);
    for (int h = 1; h <= kTeams; ++h)
        v.rows.append(QStringList{season.TymPodleCisla(h)} + QStringList(table[h - 1].begin(), table[h - 1].end()));
    return v;
}
