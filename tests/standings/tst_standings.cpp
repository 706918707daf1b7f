// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "league/openleague.h"
#include "standings/alltime.h"
#include "standings/graph.h"
#include "standings/ranking.h"
#include "standings/tiebreak.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// One field of the first `n` rows, joined by "|": pos, team, sco …
template <typename Field> QString column(const Standings& st, Field field, int n = kTeams)
{
    QStringList out;
    for (int i = 0; i < n; ++i) {
        if constexpr (std::is_same_v<Field, int StandingsRow::*>)
            out << QString::number(st.rows[static_cast<std::size_t>(i)].*field);
        else
            out << st.rows[static_cast<std::size_t>(i)].*field;
    }
    return out.join(u'|');
}

// The fixture league with these matches put in: "round slot home-away result".
SeasonStore withMatches(const QStringList& matches)
{
    SeasonStore s = fixture::season();
    for (const QString& m : matches) {
        const QStringList f = m.split(u' ');
        const QStringList teams = f[2].split(u'-');
        s.match(f[1].toInt(), f[0].toInt()) = Match{teams[0].toInt(), teams[1].toInt(), f[3]};
    }
    return s;
}

Standings byPoints(const SeasonStore& s, int venue = venue::Total, RankingRules rules = RankingRules::Running)
{
    return SpocitatPoradi(s, DataProTabulku(s, 1, kRounds), venue, Criterion::Points, rules);
}

} // namespace

class tst_standings final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void classCounting_data()
    {
        // W, W_OT, T, L, L_OT, GP, GF, GA, PTS of the home team (3) and of the away team (4).
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("away");
        QTest::addRow("3:2p") << "3:2p"
                              << "0 1 0 0 0 1 3 2 2"
                              << "0 0 0 0 1 1 2 3 1";
        QTest::addRow("2:2p") << "2:2p"
                              << "0 0 1 0 0 1 2 2 1"
                              << "0 0 1 0 0 1 2 2 1";
        QTest::addRow("1:4") << "1:4"
                             << "0 0 0 1 0 1 1 4 0"
                             << "1 0 0 0 0 1 4 1 3";
        QTest::addRow("5:2p") << "5:2p"
                              << "1 0 0 0 0 1 5 2 3"
                              << "0 0 0 1 0 1 2 5 0";
    }

    void classCounting()
    {
        QFETCH(QString, result);
        QFETCH(QString, home);
        QFETCH(QString, away);
        const TeamStats s = DataProTabulku(fixture::season({{3, 2, result}}), 1, kRounds);
        // Home, away and total of both teams; the home team has nothing away and the away team nothing at home.
        QStringList got[6];
        for (int i = 1; i <= kStats; ++i) {
            const auto stat = static_cast<Stat>(i);
            for (int v = 0; v < 3; ++v) {
                got[v] << QString::number(s(stat, v + 1, 3));
                got[3 + v] << QString::number(s(stat, v + 1, 4));
            }
        }
        const QString zero = u"0 0 0 0 0 0 0 0 0"_s;
        QCOMPARE(QStringList({got[0].join(u' '), got[1].join(u' '), got[2].join(u' ')}),
                 QStringList({home, zero, home}));
        QCOMPARE(QStringList({got[3].join(u' '), got[4].join(u' '), got[5].join(u' ')}),
                 QStringList({zero, away, away}));
    }

    void range()
    {
        const SeasonStore season = fixture::season({{1, 1, u"2:0"_s}, {2, 1, u"3:0"_s}, {3, 1, u"1:0"_s}});
        QCOMPARE(DataProTabulku(season, 2, 2)(Stat::GP, venue::Total, 1), 1);
        QCOMPARE(DataProTabulku(season, 2, 2)(Stat::PTS, venue::Total, 2), 3);
        QCOMPARE(DataProTabulku(season, 1, 3)(Stat::PTS, venue::Total, 1), 6);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, DataProTabulku(season, 1, 3)(Stat::PTS, venue::Total, 15));
        // Every slot of a round counts, the last one too.
        SeasonStore full = fixture::season();
        for (int m = 1; m <= kSlots; ++m)
            full.match(m, 52).result = u"1:0"_s;
        for (int t = 1; t <= kTeams; ++t)
            QCOMPARE(DataProTabulku(full, 52, 52)(Stat::GP, venue::Total, t), 1);
    }

    void criterionDirection()
    {
        const Stat stats[] = {Stat::PTS, Stat::GF,   Stat::GF, Stat::GA, Stat::W,    Stat::W,   Stat::W_OT,
                              Stat::T,   Stat::L_OT, Stat::L,  Stat::L,  Stat::W_OT, Stat::W_OT};
        for (int c = 0; c <= static_cast<int>(Criterion::ExtraTimeMatches); ++c) {
            TeamStats s(kTeams);
            // Team t has t of the statistic; team 5 is level with team 4 and must stay behind it.
            for (int t = 1; t <= kTeams; ++t)
                s.at(stats[c], venue::Home, t) = t == 5 ? 4 : t;
            const auto order = rankTeams(s, venue::Home, static_cast<Criterion>(c));
            const bool smallestFirst = c == 3 || (c >= 8 && c <= 10);
            QCOMPARE(QList<int>({order.front(), order.back()}),
                     smallestFirst ? QList<int>({1, 14}) : QList<int>({14, 1}));
            QCOMPARE(*(std::find(order.begin(), order.end(), 4) + 1), 5);
        }
    }

    void threeTeamTie()
    {
        // Teams 2, 3 and 9 on 10 points; 2 and 3 level on GD and goals scored; 9 has the better GD. 12 on 10
        // points with GD +3 and more goals ranks below a +5 team.
        TeamStats s(kTeams);
        for (int t : {2, 3, 9, 12}) {
            s.at(Stat::PTS, venue::Total, t) = 10;
            s.at(Stat::GF, venue::Total, t) = 20;
            s.at(Stat::GA, venue::Total, t) = 18;
        }
        s.at(Stat::GA, venue::Total, 9) = 15;
        s.at(Stat::GF, venue::Total, 12) = 30;
        s.at(Stat::GA, venue::Total, 12) = 27;
        const Standings st = SpocitatPoradi(fixture::season(), s, venue::Total, Criterion::Points);
        QCOMPARE(column(st, &StandingsRow::team, 5), u"9|12|2|3|1"_s);
        QCOMPARE(column(st, &StandingsRow::pos, 5), u"1.|2.|3.||5."_s);
        QVERIFY(st.linesShown);
        QVERIFY(!SpocitatPoradi(fixture::season(), s, venue::Home, Criterion::Points).linesShown);
        QVERIFY(!SpocitatPoradi(fixture::season(), s, venue::Total, Criterion::GoalDifference).linesShown);
    }

    void overtimeSuccessColumn()
    {
        TeamStats s(kTeams);
        for (const auto& [team, wot, t, lot] : {std::tuple{1, 1, 0, 7},
                                                {2, 3, 0, 1},
                                                {4, 0, 2, 0},
                                                {6, 1, 0, 3},
                                                {8, 3, 0, 1}}) { // 12.5 goes to the even 12
            s.at(Stat::W_OT, venue::Home, team) = wot;
            s.at(Stat::T, venue::Home, team) = t;
            s.at(Stat::L_OT, venue::Home, team) = lot;
        }
        QCOMPARE(overtimeSuccess(3, 1, 0), 88); // 87.5 goes to the even 88
        const Standings st = SpocitatPoradi(fixture::season(), s, venue::Home, Criterion::ExtraTimeSuccess);
        QCOMPARE(column(st, &StandingsRow::sco, 6), u"(=75%)|(=75%)|(=50%)|(=25%)|(=12%)|--  "_s);
        QCOMPARE(column(st, &StandingsRow::team, 7), u"2|8|4|6|1|3|5"_s);
        QCOMPARE(column(st, &StandingsRow::pos, 8), u"1.||3.|4.|5.|6.||"_s);
        QCOMPARE(st.rows[0].scoTooltip, QString());
        QCOMPARE(SpocitatPoradi(fixture::season(), s, venue::Home, Criterion::ExtraTimeMatches).rows[0].sco,
                 u"(=8)  "_s);
    }

    void allZeroSeason()
    {
        const TeamStats s = DataProTabulku(fixture::season(), 1, kRounds);
        for (int c = 0; c < kCriteria; ++c) {
            const auto criterion = static_cast<Criterion>(c);
            const QString pos =
                column(SpocitatPoradi(fixture::season(), s, venue::Total, criterion), &StandingsRow::pos);
            // Level teams share the first place, except by goal difference, which never shares one.
            QCOMPARE(pos, criterion == Criterion::GoalDifference ? u"1.|2.|3.|4.|5.|6.|7.|8.|9.|10.|11.|12.|13.|14."_s
                                                                 : u"1.|||||||||||||"_s);
        }
        QCOMPARE(byPoints(fixture::season()).rows[13].name, u"Tým 14"_s);
    }

    void goalDifferenceTooltip()
    {
        const Standings st = byPoints(fixture::season({{1, 1, u"1:5"_s}, {1, 2, u"2:2p"_s}}));
        QCOMPARE(st.rows[13].team, 1);
        QCOMPARE(st.rows[13].scoTooltip, u" -4 "_s);
        QCOMPARE(st.rows[13].sco, u"1:5"_s);
        QCOMPARE(st.rows[1].scoTooltip, u" 0 "_s);
    }

    void graphPositions()
    {
        // Round 1: team 2 wins. Round 2 has no result. Round 3: team 1 beats team 2 twice over (slot 1 of
        // rounds 3 and 4); team 14 never plays after round 1 (postponed matches).
        SeasonStore season = fixture::season({{1, 1, u"0:2"_s}, {1, 7, u"1:0"_s}, {3, 1, u"5:0"_s}, {4, 1, u"0:1"_s}});
        const GraphData g = computeGraph(season);
        // Round 2 has no result: it repeats the positions.
        QCOMPARE(
            QList<int>({g.position(1, 2), g.position(1, 13), g.position(2, 2), g.position(3, 1), g.position(52, 1)}),
            QList<int>({1, 2, 1, 1, 1}));
        QCOMPARE(QList<int>({g.played[0], g.played[13], g.played[2]}), QList<int>({3, 1, 0}));
        QVERIFY(!graphWarning(season).isEmpty());
        for (int m = 2; m <= 6; ++m)
            season.match(m, 1).result = u"1:1p"_s;
        QCOMPARE(graphWarning(season), QString());
        season.match(kSlots, 1).result.clear(); // the last match of the round counts too
        QVERIFY(!graphWarning(season).isEmpty());
    }

    // By date: one point a match day, each the table of the matches played by that evening (against the table of
    // the season cut on that day); a match moved weeks on counts on its own day, one postponed without a date never.
    void graphByDate()
    {
        SeasonStore s = fixture::playedUpTo(12);
        const QDate later = s.DATUM_KOLA(12).addDays(5), spread = s.DATUM_KOLA(12).addDays(2);
        s.matchDates = {{{3, 1}, {later, QTime(18, 0), false}},
                        {{5, 2}, {spread, {}, false}},
                        {{5, 3}, {spread, {}, false}},
                        {{7, 4}, {{}, {}, true}}};
        const GraphData g = computeGraphByDate(s);
        QSet<QDate> days;
        for (int r = 1; r <= 12; ++r)
            for (int m = 1; m <= s.slots(); ++m)
                if (!s.postponed(m, r))
                    days << s.matchDay(m, r);
        QCOMPARE(g.days.size(), days.size());
        QVERIFY(std::is_sorted(g.days.begin(), g.days.end()) && g.days.contains(later) && g.days.contains(spread));
        for (qsizetype d = 0; d < g.days.size(); ++d)
            QCOMPARE(g.positions[d], computeGraph(playedBy(s, g.days[d])).positions.last());
        const Match& moved = s.match(1, 3);
        QCOMPARE(g.played[moved.home - 1], static_cast<int>(g.days.size())); // its last game the moved one
        for (int t = 1; t <= s.teams(); ++t) { // every team's last day, the last-numbered one's too
            qsizetype last = 0;
            for (int r = 1; r <= 12; ++r)
                for (int m = 1; m <= s.slots(); ++m)
                    if (!s.postponed(m, r) && (s.match(m, r).home == t || s.match(m, r).away == t))
                        last = std::max(last, g.days.indexOf(s.matchDay(m, r)) + 1);
            QCOMPARE(g.played[t - 1], static_cast<int>(last));
        }
        QCOMPARE(computeGraphByDate(fixture::season()).days.size(), 0);
    }

    // Reaching a team's points exactly is not passing it, nor is it being passed: both places stay open.
    // Lines 1 and 3 (13 and 12 places) are sure for team 1: at most seven teams can pass it.
    void levelReachIsNotCertain()
    {
        SeasonStore s = fixture::season();
        s.HR1 = 13;
        s.HR2 = 1;
        for (int r = 1; r < kRounds; ++r) {
            for (int m = 1; m <= kSlots; ++m)
                s.match(m, r).result = u"1:1p"_s;
        }
        s.match(1, 1).result = u"1:0"_s; // team 1 three points ahead of team 2, with one match left each
        const Standings st = byPoints(s);
        QCOMPARE(st.rows[0].team, 1);
        QCOMPARE(st.rows[0].clinched, (QList<int>{1, 3}));
        QCOMPARE(st.rows[13].team, 2);
        QCOMPARE(st.rows[13].out, QList<int>());
    }

    void levelOnPoints_data()
    {
        QTest::addColumn<QStringList>("matches");
        QTest::addColumn<bool>("final");
        QTest::addColumn<QString>("top"); // "team position reason" of the first rows
        // Team 1 beat team 2, who has the better goal difference.
        const QStringList two{u"1 1 2-1 0:1"_s, u"2 1 2-3 9:0"_s};
        QTest::addRow("two, running") << two << false << "2 1. |1 2. brankový rozdíl";
        QTest::addRow("two, mutual") << two << true << "1 1. |2 2. vzájemné zápasy – body 3:0";
        QTest::addRow("two, mutual in the last round")
            << QStringList{u"52 1 2-1 0:1"_s, u"2 1 2-3 9:0"_s} << true << "1 1. |2 2. vzájemné zápasy – body 3:0";
        QTest::addRow("two, mutual, slot 7")
            << QStringList{u"1 7 14-13 0:1"_s, u"2 6 14-12 9:0"_s} << true << "13 1. |14 2. vzájemné zápasy – body 3:0";
        // Three level on 12: team 1 won all four mutual matches; 2 and 3 stay level in the three's mini-table
        // and are then parted by their own two matches.
        const QStringList three{u"1 1 1-2 3:0"_s, u"2 1 2-1 0:3"_s, u"3 1 1-3 2:1"_s, u"4 1 3-1 1:2"_s,
                                u"5 1 2-3 3:0"_s, u"6 1 3-2 1:0"_s, u"7 1 2-4 1:0"_s, u"8 1 2-5 1:0"_s,
                                u"9 1 2-6 1:0"_s, u"7 2 3-7 1:0"_s, u"8 2 3-8 1:0"_s, u"9 2 3-9 1:0"_s};
        QTest::addRow("three, running, shared") << three << false << "1 1. |2 2. brankový rozdíl|3  ";
        QTest::addRow("three, mutual twice")
            << three << true << "1 1. |2 2. vzájemné zápasy – body 12:3|3 3. vzájemné zápasy – skóre";
        // Teams 2 and 3 never met: the mutual matches are not equal in number.
        QTest::addRow("unequal meetings") << QStringList{u"1 1 1-2 1:0"_s, u"2 1 3-1 1:0"_s, u"3 1 2-4 5:0"_s} << true
                                          << "2 1. |3 2. brankový rozdíl|1 3. brankový rozdíl";
        QTest::addRow("goals scored") << QStringList{u"1 1 1-4 3:2"_s, u"1 2 3-2 1:0"_s} << false
                                      << "1 1. |3 2. vstřelené branky";
    }

    void levelOnPoints()
    {
        QFETCH(QStringList, matches);
        QFETCH(bool, final);
        QFETCH(QString, top);
        const Standings st =
            byPoints(withMatches(matches), venue::Total, final ? RankingRules::Final : RankingRules::Running);
        QStringList got;
        for (int i = 0; i < top.count(u'|') + 1; ++i) {
            const StandingsRow& r = st.rows[static_cast<std::size_t>(i)];
            got << QString::number(r.team) + u' ' + r.pos + u' ' + r.decidedBy;
        }
        QCOMPARE(got.join(u'|'), top);
    }

    // A deduction drops a team below one it was level with in the season's total table; tables at home or
    // away, and of a part of the season, leave it out and say so.
    void adjustedOrder_data()
    {
        QTest::addColumn<int>("venue");
        QTest::addColumn<int>("first"); // rounds of the table
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("placed"); // team 1's row: "place points adjustment"
        QTest::addColumn<QString>("note");
        QTest::addRow("total") << venue::Total << 1 << kRounds << "2. 2 -1"
                               << "* Tým 1 -2: licence";
        QTest::addRow("from round 2") << venue::Total << 2 << kRounds << "1. 0 0"
                                      << "za část sezóny se nepočítají";
        QTest::addRow("a last quarter, none played") << venue::Total << 40 << kRounds << "1. 0 0"
                                                     << "za část sezóny se nepočítají";
        QTest::addRow("first quarter") << venue::Total << 1 << 13 << "1. 3 0"
                                       << "za část sezóny se nepočítají";
        QTest::addRow("home") << venue::Home << 1 << kRounds << "1. 3 0"
                              << "doma a venku nepočítají";
    }

    void adjustedOrder()
    {
        QFETCH(int, venue);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, placed);
        QFETCH(QString, note);
        SeasonStore s = withMatches({u"1 1 1-2 2:0"_s, u"1 2 3-4 2:0"_s});
        s.adjustments = {{1, -2, u"licence"_s}, {1, 1, u"odvolání"_s}};
        const Standings st = SpocitatPoradi(s, DataProTabulku(s, first, last), venue, Criterion::Points,
                                            RankingRules::Running, first, last);
        const auto row = std::find_if(st.rows.begin(), st.rows.end(), [](const auto& r) { return r.team == 1; });
        QCOMPARE(u"%1 %2 %3"_s.arg(row->pos, row->pts).arg(row->adjustment), placed);
        QCOMPARE(row->reasons.size(), venue == venue::Total && first == 1 && last == kRounds ? 2 : 0);
        QVERIFY(adjustmentNotes(s, venue, first, last).value(0).contains(note));
        if (venue == venue::Total && first == 1 && last == kRounds) {
            QCOMPARE(row->reasons.value(0), u"Tým 1 -2: licence"_s);
            QCOMPARE(computeGraph(s).positions[0][0], 2); // the graph counts them too
        }
    }

    void formAndMovement_data()
    {
        QTest::addColumn<int>("team");
        QTest::addColumn<int>("venue");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("moved");
        QTest::addRow("last five, oldest first") << 1 << venue::Total << kRounds << "PRvpV"
                                                 << "•";
        QTest::addRow("fallen") << 3 << venue::Total << kRounds << ""
                                << "▼1";
        QTest::addRow("the table's rounds") << 1 << venue::Total << 3 << "VPR"
                                            << "•";
        QTest::addRow("away of a home team") << 1 << venue::Away << kRounds << ""
                                             << "";
        QTest::addRow("climbed") << 13 << venue::Total << kRounds << "V"
                                 << "▲10";
        QTest::addRow("first round: no movement") << 13 << venue::Total << 1 << ""
                                                  << "";
    }

    // A round whose only result stands in its last slot is a round with a result: the table moves by it.
    void movementByALastSlot()
    {
        const SeasonStore s = withMatches({u"1 1 1-2 1:0"_s, u"2 7 13-14 1:0"_s});
        const Standings st = byPoints(s);
        const auto row = std::find_if(st.rows.begin(), st.rows.end(), [](const auto& r) { return r.team == 13; });
        QCOMPARE(movedText(row->moved), u"▲10"_s); // from 12th, among the teams without a match, to 2nd
        // Before the first round with a result there is no table to move from, were it the league's first round.
        for (const auto& r : byPoints(withMatches({u"2 1 1-2 1:0"_s})).rows)
            QCOMPARE(movedText(r.moved), QString());
    }

    void formAndMovement()
    {
        QFETCH(int, team);
        QFETCH(int, venue);
        QFETCH(int, last);
        QFETCH(QString, form);
        QFETCH(QString, moved);
        const SeasonStore s = withMatches({u"1 1 1-2 1:0"_s, u"2 1 1-2 2:3"_s, u"3 1 1-2 3:3"_s, u"4 1 1-2 4:3p"_s,
                                           u"5 1 1-2 2:3n"_s, u"6 1 1-2 5:4"_s, u"6 7 13-14 9:0"_s});
        const Standings st =
            SpocitatPoradi(s, DataProTabulku(s, 1, last), venue, Criterion::Points, RankingRules::Running, 1, last);
        const auto row = std::find_if(st.rows.begin(), st.rows.end(), [&](const auto& r) { return r.team == team; });
        QCOMPARE(row->form, form);
        QCOMPARE(movedText(row->moved), moved);
    }

    // Two seasons of "Liga", one renamed team, one league that cannot be read, one of another competition.
    // The name without its season, however the competition file ordered its keys.
    void competitionNameOfCaption()
    {
        SeasonStore s;
        for (const auto& [caption, season, name] :
             {std::tuple{u"Liga  2007/2008"_s, u"2007/2008"_s, u"Liga"_s},
              std::tuple{u"Liga"_s, u"2007/2008"_s, u"Liga"_s}, // "sezona=" before "nazev=": no season in the caption
              std::tuple{u"Liga B  "_s, QString(), u"Liga B  "_s}}) {
            s.caption = caption, s.season = season;
            QCOMPARE(competitionName(s), name);
        }
    }

    void allTimeTable()
    {
        const QTemporaryDir dir;
        QStringList older = fixture::competitionLines(), other = fixture::competitionLines();
        older.replaceInStrings(u"2007/2008"_s, u"2006/2007"_s).replaceInStrings(u"t14=Tým 14"_s, u"t14=Starý"_s);
        other.replaceInStrings(u"nazev=Liga"_s, u"nazev=Liga juniorů"_s);
        QStringList played = fixture::scheduleLines(), broken = fixture::scheduleLines();
        for (int r = 1; r <= kRounds; ++r)
            for (int m = 1; m <= kSlots; ++m)
                played[fixture::resultLine(r, m)] = r == 1 && m == 7 ? u"0:9"_s : u"1:0"_s;
        broken[fixture::resultLine(1, 1)] = u"x"_s;
        QStringList newer = fixture::scheduleLines();
        newer[fixture::resultLine(1, 1)] = u"2:1p"_s;
        const QString newest =
            fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(), newer, u"liga0708"_s);
        fixture::writeLeague(QDir(dir.path()), older, played, u"liga0607"_s);
        fixture::writeLeague(QDir(dir.path()), older, broken, u"liga0506"_s);
        fixture::writeLeague(QDir(dir.path()), other, played, u"junior0708"_s);
        fixture::writeLeague(QDir(dir.path()), other, broken, u"junior0708b"_s);   // another competition's fault
        fixture::writeLeague(QDir(dir.path()), older, played, u"liga0607kopie"_s); // a copied season
        QVERIFY(OpenLeague(newest).saveAdjustments({{2, -5, u"licence"_s}, {1, 1, u"odvolání"_s}}, {}).ok());

        const AllTime t = ::allTimeTable(dir.path(), u"Liga"_s);
        QCOMPARE(competitionNames(dir.path()), (QStringList{u"Liga juniorů"_s, u"Liga"_s}));
        QStringList seasons;
        for (const AllTimeSeason& s : t.seasons)
            seasons << seasonHeader(s);
        QCOMPARE(seasons, (QStringList{u"2007/2008 (hraje se)"_s, u"2006/2007"_s}));
        const ViewTable v = allTimeView(t);
        QCOMPARE(v.rows.size(), 15); // Tým 14 and Starý are two rows
        // Every team wins its 26 home matches but 13, whose 9-goal loss makes Starý first on points per match
        // over Tým 1, level on points with one extra-time win and +1 in one more match.
        QCOMPARE(v.rows[0].mid(0, 4), (QStringList{u"1."_s, u"Starý"_s, u"1"_s, u"52"_s}));
        QCOMPARE(v.rows[0].mid(9), (QStringList{u"35:25"_s, u"81"_s, u"1,56"_s}));
        QCOMPARE(v.rows[2][1] + v.rows[3][1], u"Č. BudějoviceTým 4"_s); // level in everything: as first read
        QCOMPARE(v.rows[1].mid(1, 3) + v.rows[1].mid(10),
                 (QStringList{u"Tým 1"_s, u"2"_s, u"53"_s, u"81"_s, u"1,53"_s}));
        const auto row = [&](const QString& team) {
            return *std::find_if(v.rows.begin(), v.rows.end(), [&](const QStringList& r) { return r[1] == team; });
        };
        QCOMPARE(row(u"Tým 2"_s).value(10), u"74"_s); // 26 wins, an extra-time loss, -5
        QCOMPARE(row(u"Tým 14"_s).mid(2, 2), (QStringList{u"1"_s, u"0"_s}));
        QCOMPARE(placesView(t).rows.last(), (QStringList{u"Tým 14"_s, u"2."_s, QString()}));
        QCOMPARE(t.problems.size(), 2);
        QVERIFY2(t.problems[0].contains(u"Liga 2006/2007"_s) && t.problems[0].contains(u"los_liga0506.txt"_s),
                 qPrintable(t.problems[0]));
        QVERIFY2(t.problems[1].contains(u"„sezona_liga0607kopie.txt“ je další kopií sezóny 2006/2007"_s),
                 qPrintable(t.problems[1]));

        // The open league counts as it stands in memory, "Co kdyby" marked.
        SeasonStore typed = fixture::load(newest);
        typed.match(2, 1).result = u"3:0"_s;
        typed.hypothetical = true;
        const LeagueInMemory open{newest, typed};
        const AllTime withOpen = ::allTimeTable(dir.path(), u"Liga"_s, &open);
        QCOMPARE(seasonHeader(withOpen.seasons[0]), u"2007/2008 (hraje se, co kdyby)"_s);
        const ViewTable w = allTimeView(withOpen);
        const auto matchesOf = [&](const ViewTable& view, const QString& team) {
            return std::find_if(view.rows.begin(), view.rows.end(), [&](const QStringList& r) { return r[1] == team; })
                ->value(3);
        };
        const QString home = typed.TymPodleCisla(typed.match(2, 1).home);
        QCOMPARE(matchesOf(w, home).toInt(), matchesOf(v, home).toInt() + 1);
        QVERIFY(withOpen.problems.first().contains(u"Sezóna 2007/2008 je sečtena s výsledky režimu „Co kdyby“"_s));

        // A season of another scoring counts by its own points, and the table says so: Tým 1's 26 home wins
        // are worth two points each there.
        QStringList twoPoints = older;
        twoPoints.replaceInStrings(u"2006/2007"_s, u"2005/2006"_s) << u"body=2,0,1,0,0"_s << u"prodlouzeni=ne"_s;
        QStringList lastOpen = played; // the season's very last match still to play: the season goes on
        lastOpen[fixture::resultLine(kRounds, kSlots)].clear();
        fixture::writeLeague(QDir(dir.path()), twoPoints, lastOpen, u"liga0506b"_s);
        const AllTime both = ::allTimeTable(dir.path(), u"Liga"_s);
        QCOMPARE(seasonHeader(both.seasons.last()), u"2005/2006 (hraje se)"_s);
        const auto pointsOf = [](const AllTime& table, const QString& team) {
            return std::find_if(table.rows.begin(), table.rows.end(),
                                [&](const AllTimeRow& r) { return r.team == team; })
                ->pts;
        };
        QCOMPARE(pointsOf(both, u"Tým 1"_s) - pointsOf(t, u"Tým 1"_s), 52);
        QVERIFY2(allTimeNotes(both).join(u'|').contains(u"2005/2006 2-1-0 s remízami, bez prodloužení; 2006/2007 "
                                                        "3-2-1-1-0"_s),
                 qPrintable(allTimeNotes(both).join(u'|')));
        QVERIFY(!allTimeNotes(t).join(u'|').contains(u"se svým bodováním"_s));
    }

    // The mutual matches belong to the total table: a home table compares goals even under the final rules.
    // Breaking ties from each pair's own matches, as simulated seasons do, orders every table as a pass over all
    // the matches does: random seasons of six teams, level on points often, with two or three groups at once, some
    // with points in the hundreds of millions.
    void pairIndexOrdersAsEveryMatch()
    {
        std::mt19937 random(2027);
        for (int season = 0; season < 300; ++season) {
            const int teams = 6;
            Tallies tallies(teams);
            std::vector<MatchScore> scores;
            for (std::int8_t a = 1; a <= teams; ++a)
                for (std::int8_t b = 1; b <= teams; ++b) {
                    if (a == b || (season % 3 == 0 && a + b == 7)) // some pairs met once only
                        continue;
                    const int x = static_cast<int>(random() % 3), y = static_cast<int>(random() % 3);
                    const std::int8_t home = x > y ? 3 : x == y ? 1 : 0, away = x < y ? 3 : x == y ? 1 : 0;
                    scores.push_back({a, b, home, away, x, y});
                }
            std::shuffle(scores.begin(), scores.end(), random);
            for (Tally& t : tallies) {
                t = {static_cast<int>(random() % 4), static_cast<int>(random() % 3), static_cast<int>(random() % 3)};
                if (season % 4 == 1) // points an adjustment can give, far beyond any season's
                    t.points = t.points * (1 << 27) - (1 << 28);
            }
            Ranking everyMatch, byPair;
            rankByPoints(tallies, scores, RankingRules::Final, everyMatch);
            std::vector<std::size_t> movedTo;
            const PairRanges ranges = sortByPair(scores, movedTo);
            rankByPoints(tallies, scores, RankingRules::Final, byPair, &ranges);
            for (int i = 0; i < teams; ++i) {
                QCOMPARE(byPair[i].team, everyMatch[i].team);
                QCOMPARE(byPair[i].by, everyMatch[i].by);
                QVERIFY(i == 0 || tallies[byPair[i - 1].team - 1].points >= tallies[byPair[i].team - 1].points);
            }
        }
    }

    void homeTableIgnoresMutualMatches()
    {
        const Standings st =
            byPoints(withMatches({u"1 1 1-2 1:0"_s, u"2 1 2-3 5:0"_s}), venue::Home, RankingRules::Final);
        QCOMPARE(st.rows[0].team, 2);
        QCOMPARE(st.rows[1].decidedBy, u"brankový rozdíl"_s);
    }

    void certainPlaces_data()
    {
        QTest::addColumn<int>("played"); // rounds in which every odd team beats its even partner
        QTest::addColumn<int>("hr1");
        QTest::addColumn<int>("team");
        QTest::addColumn<QList<int>>("clinched");
        QTest::addColumn<QList<int>>("out");
        QTest::addRow("early") << 0 << 8 << 1 << QList<int>{} << QList<int>{};
        QTest::addRow("late, sure of every line") << 50 << 7 << 1 << QList<int>{1, 2, 3} << QList<int>{};
        QTest::addRow("late, out of line 1 only") << 50 << 7 << 2 << QList<int>{} << QList<int>{1};
        QTest::addRow("late, 8th place still open") << 50 << 8 << 2 << QList<int>{} << QList<int>{};
        // Ended with every team level in everything: they share every place, and no line is certain.
        QTest::addRow("ended, all level, first row") << 52 << 8 << 2 << QList<int>{} << QList<int>{};
        QTest::addRow("ended, all level, last row") << 52 << 8 << 14 << QList<int>{} << QList<int>{};
        QTest::addRow("ended, line 1 at 0") << 52 << 0 << 4 << QList<int>{} << QList<int>{};
    }

    void certainPlaces()
    {
        QFETCH(int, played);
        QFETCH(int, hr1);
        QFETCH(int, team);
        QFETCH(QList<int>, clinched);
        QFETCH(QList<int>, out);
        SeasonStore s = fixture::season();
        s.HR1 = hr1;
        for (int r = 1; r <= played; ++r) {
            for (int m = 1; m <= kSlots; ++m)
                s.match(m, r).result = r % 2 ? u"1:0"_s : u"0:1"_s;
        }
        const Standings st = byPoints(s);
        const auto row = std::find_if(st.rows.begin(), st.rows.end(), [&](const auto& r) { return r.team == team; });
        QCOMPARE(row->clinched, clinched);
        QCOMPARE(row->out, out);
        // One match left, in the round's last slot: the bounds count it, and not every place is settled.
        if (played == kRounds && hr1 == 8) {
            s.match(kSlots, kRounds).result.clear();
            const Standings open = byPoints(s);
            QVERIFY(std::any_of(open.rows.begin(), open.rows.end(),
                                [](const StandingsRow& r) { return r.clinched.size() + r.out.size() < 3; }));
            s.match(kSlots, kRounds).result = u"0:1"_s;
        }
        // Only the whole season's table by points shows them.
        for (const Standings& other : {SpocitatPoradi(s, DataProTabulku(s, 1, 51), venue::Total, Criterion::Points,
                                                      RankingRules::Running, 1, 51),
                                       byPoints(s, venue::Home)}) {
            for (const StandingsRow& r : other.rows)
                QVERIFY(r.clinched.isEmpty() && r.out.isEmpty());
        }
    }
};

QTEST_APPLESS_MAIN(tst_standings)
#include "tst_standings.moc"
