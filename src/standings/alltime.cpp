// SPDX-License-Identifier: MIT
#include "alltime.h"

#include <QSet>

#include "season/adjustments.h"
#include "season/catalogue.h"
#include "standings/tiebreak.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The catalogue's "name season" text of a file that could not be read names this competition.
bool namesCompetition(const QString& catalogueText, const QString& competition)
{
    return catalogueText == competition ||
           (catalogueText.startsWith(competition + u' ') && !catalogueText.mid(competition.size() + 1).contains(u' '));
}

bool anyMatchLeft(const SeasonStore& league)
{
    for (int r = 1; r <= league.rounds(); ++r)
        for (int m = 1; m <= league.slots(); ++m)
            if (league.match(m, r).home > 0 && league.VYSLEDEK(m, r).isEmpty())
                return true;
    return false;
}

void addSeason(AllTime& table, const SeasonStore& league, bool whatIf)
{
    const TeamStats stats = DataProTabulku(league, 1, league.rounds());
    AllTimeSeason season{league.season, anyMatchLeft(league), whatIf, {}};
    const QList<PlacedTeam> order = orderByPoints(league, stats, venue::Total, RankingRules::Final, 1, league.rounds());
    int place = 0;
    for (int i = 0; i < order.size(); ++i) {
        if (!order[i].sharesPlace)
            place = i + 1;
        season.place.insert(league.TymPodleCisla(order[i].team), place);
    }
    table.seasons.append(season);
    for (int t = 1; t <= league.teams(); ++t) {
        const QString name = league.TymPodleCisla(t);
        if (name.isEmpty())
            continue;
        auto row =
            std::find_if(table.rows.begin(), table.rows.end(), [&](const AllTimeRow& r) { return r.team == name; });
        if (row == table.rows.end())
            row = table.rows.insert(table.rows.end(), AllTimeRow{name});
        const auto v = [&](Stat s) { return stats(s, venue::Total, t); };
        row->seasons += 1;
        row->gp += v(Stat::GP), row->w += v(Stat::W), row->w_ot += v(Stat::W_OT), row->t += v(Stat::T);
        row->l_ot += v(Stat::L_OT), row->l += v(Stat::L), row->gf += v(Stat::GF), row->ga += v(Stat::GA);
        row->pts += v(Stat::PTS);
    }
}

} // namespace

QString competitionName(const SeasonStore& league)
{
    const QString tail = u"  "_s + league.season;
    return !league.season.isEmpty() && league.caption.endsWith(tail) ? league.caption.chopped(tail.size())
                                                                     : league.caption;
}

QStringList competitionNames(const QString& folder)
{
    QStringList names;
    for (const CatalogueEntry& e : readCatalogue(folder)) {
        const Result<ReadLeague> league = readLeague(QDir(folder).filePath(e.file));
        if (league.ok() && !names.contains(competitionName(league.value().store)))
            names << competitionName(league.value().store);
    }
    return names;
}

AllTime allTimeTable(const QString& folder, const QString& competition, const LeagueInMemory* open)
{
    AllTime table{competition, {}, {}, {}, {}};
    QList<CatalogueEntry> entries = readCatalogue(folder);
    const auto isOpen = [&](const CatalogueEntry& e) {
        return open && QFileInfo(QDir(folder).filePath(e.file)).canonicalFilePath() ==
                           QFileInfo(open->competitionPath).canonicalFilePath();
    };
    // The open league first: a copy of its season in another file is the one left out.
    std::stable_partition(entries.begin(), entries.end(), isOpen);
    QHash<QString, QString> fileOfSeason;
    for (const CatalogueEntry& e : entries) {
        const bool inMemory = isOpen(e);
        const Result<ReadLeague> read =
            inMemory ? Result<ReadLeague>(ReadLeague{open->season, {}, {}}) : readLeague(QDir(folder).filePath(e.file));
        if (!read.ok()) {
            if (namesCompetition(e.text, competition))
                table.problems << u"Liga „%1“ se nedala přečíst: %2"_s.arg(e.text, read.error());
            continue;
        }
        const SeasonStore& league = read.value().store;
        if (competitionName(league) != competition)
            continue;
        if (fileOfSeason.contains(league.season)) {
            table.problems << u"Soubor „%1“ je další kopií sezóny %2 (jako „%3“) a nesčítá se."_s.arg(
                e.file, league.season, fileOfSeason.value(league.season));
            continue;
        }
        fileOfSeason.insert(league.season, e.file);
        if (!league.adjustmentsIgnored.isEmpty())
            table.problems << u"Liga „%1“ je sečtena bez úprav bodů: %2"_s.arg(e.text, league.adjustmentsIgnored);
        if (inMemory && open->season.hypothetical)
            table.problems << u"Sezóna %1 je sečtena s výsledky režimu „Co kdyby“."_s.arg(league.season);
        table.scoring.insert(league.season, rulesName(league.rules));
        addSeason(table, league, inMemory && open->season.hypothetical);
    }
    std::stable_sort(table.seasons.begin(), table.seasons.end(),
                     [](const AllTimeSeason& a, const AllTimeSeason& b) { return a.season > b.season; });
    std::stable_sort(table.rows.begin(), table.rows.end(), [](const AllTimeRow& a, const AllTimeRow& b) {
        return a.pts != b.pts ? a.pts > b.pts : a.pointsPerMatch() > b.pointsPerMatch();
    });
    return table;
}

QString seasonHeader(const AllTimeSeason& season)
{
    QStringList marks;
    if (season.running)
        marks << u"hraje se"_s;
    if (season.whatIf)
        marks << u"co kdyby"_s;
    return marks.isEmpty() ? season.season : season.season + u" ("_s + marks.join(u", "_s) + u')';
}

ViewTable allTimeView(const AllTime& table)
{
    ViewTable v{u"Historická tabulka – "_s + table.competition,
                {u"pořadí"_s, u"tým"_s, u"sezóny"_s, u"zápasy"_s, u"výhry"_s, u"výhry v prodl."_s, u"remízy"_s,
                 u"prohry v prodl."_s, u"prohry"_s, u"skóre"_s, u"body"_s, u"body na zápas"_s},
                {}};
    for (const AllTimeRow& r : table.rows) {
        const auto n = [](int value) { return QString::number(value); };
        v.rows.append({n(static_cast<int>(v.rows.size()) + 1) + u'.', r.team, n(r.seasons), n(r.gp), n(r.w), n(r.w_ot),
                       n(r.t), n(r.l_ot), n(r.l), n(r.gf) + u':' + n(r.ga), n(r.pts),
                       QString::number(r.pointsPerMatch(), 'f', 2).replace(u'.', u',')});
    }
    return v;
}

ViewTable placesView(const AllTime& table)
{
    ViewTable v{u"Historická tabulka – "_s + table.competition + u" – umístění"_s, {u"tým"_s}, {}};
    for (const AllTimeSeason& s : table.seasons)
        v.header << seasonHeader(s);
    for (const AllTimeRow& r : table.rows) {
        QStringList row{r.team};
        for (const AllTimeSeason& s : table.seasons)
            row << (s.place.contains(r.team) ? QString::number(s.place.value(r.team)) + u'.' : QString());
        v.rows.append(row);
    }
    return v;
}

QStringList allTimeNotes(const AllTime& table)
{
    QStringList notes = table.problems;
    const QStringList systems = table.scoring.values();
    if (QSet<QString>(systems.begin(), systems.end()).size() > 1) {
        QStringList each;
        for (auto it = table.scoring.begin(); it != table.scoring.end(); ++it)
            each << it.key() + u' ' + it.value();
        notes << u"Každá sezóna je sečtena se svým bodováním: "_s + each.join(u"; "_s) + u'.';
    }
    return notes << u"Body se sčítají i s úpravami bodů; pořadí sezón je konečné (při rovnosti bodů "
                    "rozhodují vzájemné zápasy). Tým, který mezi sezónami změnil název, má dva řádky."_s;
}
