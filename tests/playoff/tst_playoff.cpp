// SPDX-License-Identifier: MIT
#include "export/formats.h"
#include "fixture/league.h"
#include "import/importplan.h"
#include "import/importsource.h"
#include "outlook/forecast.h"
#include "playoff/playoff.h"

#include <QRegularExpression>
#include <functional>

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(StageRow)

namespace {

Playoff read(const QString& text, int teams = kTeams)
{
    Result<Playoff> p = readPlayoff(encodeLines(text.split(u'\n')), u"playoff_x.txt"_s, teams);
    if (!p.ok())
        qFatal("%s", qPrintable(p.error()));
    return std::move(p).value();
}

// Each stage's series as "better-worse b:w winner", by the places of the final table.
QString shown(const Bracket& b, const QVarLengthArray<int, kMaxTeams>& order)
{
    const auto place = [&](int team) { return static_cast<int>(order.indexOf(team)) + 1; };
    QStringList stages;
    for (const StageState& s : b.stages) {
        QStringList series;
        for (const Series& x : s.series)
            series << u"%1-%2 %3:%4 %5"_s.arg(place(x.better))
                          .arg(place(x.worse))
                          .arg(x.betterWins)
                          .arg(x.worseWins)
                          .arg(x.winner ? place(x.winner) : 0);
        stages << (s.known ? series.join(u", ") : u"?"_s);
    }
    return stages.join(u" | ");
}

} // namespace

class tst_playoff final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The seeding of every stage from the final table, series by series, games by place numbers.
    void bracket_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("games"); // "stage:better place-worse place:result" played at the first's home
        QTest::addColumn<QString>("expected");
        QTest::newRow("quarter-finals of 1-8, nothing played")
            << u"faze=Čtvrtfinále;1-8;4"_s << QString() << u"1-8 0:0 0, 2-7 0:0 0, 3-6 0:0 0, 4-5 0:0 0"_s;
        QTest::newRow("pre-round winners join 1-6")
            << u"faze=Předkolo;7-10;2\nfaze=Čtvrtfinále;1-6,vitezove Předkolo;4"_s
            << u"0:7-10:3:1|0:10-7:3:4p|0:8-9:2:1|0:8-9:1:2n|0:9-8:3:0"_s
            << u"7-10 2:0 7, 8-9 1:2 9 | 1-9 0:0 0, 2-7 0:0 0, 3-6 0:0 0, 4-5 0:0 0"_s;
        QTest::newRow("a stage waits for the one before")
            << u"faze=Předkolo;7-10;2\nfaze=Čtvrtfinále;1-6,vitezove Předkolo;4"_s << u"0:7-10:3:1"_s
            << u"7-10 1:0 0, 8-9 0:0 0 | ?"_s;
        QTest::newRow("the losers of a play-down play on")
            << u"faze=Play-down;11-14;1\nfaze=Baráž;porazeni Play-down;1;1"_s << u"0:11-14:1:2p|0:12-13:4:0"_s
            << u"11-14 0:1 14, 12-13 1:0 12 | 11-13 0:0 0"_s;
    }
    void bracket()
    {
        QFETCH(QString, file);
        QFETCH(QString, games);
        QFETCH(QString, expected);
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(season);
        Playoff p = read(file);
        for (const QString& g : games.split(u'|', Qt::SkipEmptyParts)) {
            const QStringList f = g.split(u':');
            const QStringList places = f[1].split(u'-');
            p.games.append(
                {f[0].toInt(), order[places[0].toInt() - 1], order[places[1].toInt() - 1], f[2] + u':' + f[3], {}, 0});
        }
        const Result<Bracket> b = playoffBracket(p, season);
        QVERIFY2(b.ok(), qPrintable(b.error()));
        QVERIFY(b.value().seeded);
        QCOMPARE(shown(b.value(), order), expected);
    }

    // Before the last round: today's table, in team-number order where nothing parts the teams.
    void seededFromToday()
    {
        const SeasonStore empty = fixture::season();
        const Result<Bracket> b = playoffBracket(read(u"faze=Finále;1-2;4"_s), empty);
        QVERIFY(!b.value().seeded);
        QCOMPARE(b.value().stages[0].series[0].better, 1);
        QCOMPARE(b.value().stages[0].series[0].worse, 2);
        const PlayoffGame game{0, 1, 2, u"3:1"_s, {}, 0};
        QVERIFY(
            checkNewGame(read(u"faze=Finále;1-2;4"_s), empty, game).error().contains(u"každý zápas základní části"_s));
        // Matches still to play give no one a point: three level on three points, not all of whom have met, by goals.
        SeasonStore early = fixture::season();
        early.match(1, 1).result = u"5:0"_s; // 1-2
        early.match(1, 2).result = u"1:0"_s; // 2-1
        early.match(2, 1).result = u"1:0"_s; // 3-4
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(early);
        QCOMPARE((QList<int>{order[0], order[1], order[2]}), (QList<int>{1, 3, 2}));
    }

    // The seeding counts the league's point adjustments; an unpaired slot is no match still to play.
    void seedingWithAdjustmentsAndUnpairedSlots()
    {
        SeasonStore season = fixture::playedUpTo(kRounds);
        const int leader = finalOrder(season)[0], second = finalOrder(season)[1];
        season.adjustments = {{leader, -99, u"licence"_s}, {second, 99, u"bonus"_s}};
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(season);
        QCOMPARE(order[0], second);
        QCOMPARE(order[kTeams - 1], leader);
        season.adjustments = {{kTeams, 999, u"bonus"_s}, {0, 999, QString()}, {kTeams + 1, 999, QString()}};
        QCOMPARE(finalOrder(season)[0], kTeams); // the last team's adjustment counts, no number outside the league
        QCOMPARE(finalOrder(season)[1], leader == kTeams ? second : leader);
        season.adjustments = {{1, 999, u"bonus"_s}};
        QCOMPARE(finalOrder(season)[0], 1); // and so does the first team's
        QVERIFY(regularSeasonOver(season));
        season.match(1, kRounds) = Match{};
        QVERIFY(regularSeasonOver(season));
        season.match(2, kRounds).result.clear();
        QVERIFY(!regularSeasonOver(season));
    }

    void gamesRefused_data()
    {
        QTest::addColumn<QString>("game"); // better place-worse place:result, in the best-of-3 final of 1-2
        QTest::addColumn<QString>("message");
        QTest::newRow("a draw") << u"1-2:3:3"_s << u"nekončí remízou"_s;
        QTest::newRow("not a pair") << u"1-3:3:1"_s << u"není dvojice fáze „Finále“"_s;
        QTest::newRow("after the series") << u"2-1:1:4"_s << u"už je rozhodnuta (2:0)"_s;
        QTest::newRow("no result") << u"1-2:x:y"_s << u"není výsledek"_s;
        QTest::newRow("team 0") << u"0-2:3:1"_s << u"nejsou dvě různá čísla týmů od 1 do 14"_s;
        QTest::newRow("team past the league") << u"1-15:3:1"_s << u"nejsou dvě různá čísla týmů od 1 do 14"_s;
    }
    void gamesRefused()
    {
        QFETCH(QString, game);
        QFETCH(QString, message);
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(season);
        const Playoff p =
            read(u"faze=Finále;1-2;2\nzapas=Finále;%1-%2;4:3p\nzapas=Finále;%2-%1;1:2"_s.arg(order[0]).arg(order[1]));
        const QStringList f = game.split(u':'), places = f[0].split(u'-');
        const auto team = [&](const QString& place) { return order.value(place.toInt() - 1, place.toInt()); };
        const PlayoffGame g{0, team(places[0]), team(places[1]), f[1] + u':' + f[2], {}, 0};
        const Result<void> checked = checkNewGame(p, season, g);
        QVERIFY(!checked.ok());
        QVERIFY2(checked.error().contains(message), qPrintable(checked.error()));
        QCOMPARE(playoffBracket(p, season).value().stages[0].series[0].winner, order[0]);
    }

    void fileRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("later stage") << u"faze=A;1-6,vitezove B;4\nfaze=B;7-10;2"_s
                                     << u"řádek 1: „B“ není žádná dřívější fáze"_s;
        QTest::newRow("odd") << u"faze=A;1-7;4"_s << u"řádek 1: fáze „A“ má 7 účastníků"_s;
        QTest::newRow("place") << u"faze=A;1-16;4"_s << u"místa „1-16“ nejsou od 1 do 14"_s;
        QTest::newRow("twice") << u"faze=A;1-4,4-5;4"_s << u"mohl jeden tým hrát dvakrát"_s;
        QTest::newRow("winners twice") << u"faze=P;7-10;2\nfaze=A;1-5,8,vitezove P;4"_s
                                       << u"řádek 2: ve fázi „A“ by mohl jeden tým hrát dvakrát"_s;
        QTest::newRow("wins") << u"faze=A;1-8;5"_s << u"výhry „5“ nejsou číslo od 1 do 4"_s;
        QTest::newRow("no wins") << u"faze=A;1-8;0"_s << u"výhry „0“ nejsou číslo od 1 do 4"_s;
        QTest::newRow("home team past the league")
            << u"faze=A;1-8;4\nzapas=A;15-1;3:2"_s << u"řádek 2: „15-1“ nejsou dvě různá čísla týmů od 1 do 14"_s;
        QTest::newRow("planned home team past the league")
            << u"faze=A;1-8;4\ntermin=A;15-1;1.3.2008"_s << u"řádek 2: „15-1“ nejsou"_s;
        QTest::newRow("home game") << u"faze=A;1-8;2;1,4"_s << u"zápas „4“ série na 2 výhry neexistuje (1 až 3)"_s;
        QTest::newRow("home game 0") << u"faze=A;1-8;2;0,1"_s << u"zápas „0“ série na 2 výhry neexistuje (1 až 3)"_s;
        QTest::newRow("unknown team") << u"faze=A;1-8;4\nzapas=A;1-15;3:2"_s << u"řádek 2: „1-15“ nejsou"_s;
        QTest::newRow("draw") << u"faze=A;1-8;4\nzapas=A;1-8;2:2"_s << u"nekončí remízou"_s;
        QTest::newRow("unknown stage") << u"faze=A;1-8;4\nzapas=B;1-8;2:1"_s << u"fáze „B“ v souboru výše není"_s;
        QTest::newRow("same name") << u"faze=A;1-8;4\nfaze=A;1-2;4"_s << u"řádek 2: fáze „A“ je v souboru dvakrát"_s;
        QTest::newRow("no stage") << u"; nic"_s << u"soubor nemá žádnou fázi"_s;
        QTest::newRow("game result") << u"faze=A;1-8;4\nzapas=A;1-8;x:y"_s << u"řádek 2: „x:y“ není výsledek"_s;
        QTest::newRow("game short") << u"faze=A;1-8;4\nzapas=A;1-8"_s << u"řádek 2: zápas má tvar"_s;
        QTest::newRow("game long") << u"faze=A;1-8;4\nzapas=A;1-8;2:1;1.3.2008;x"_s << u"řádek 2: zápas má tvar"_s;
        QTest::newRow("stage short") << u"faze=A;1-8"_s << u"řádek 1: fáze má tvar"_s;
        QTest::newRow("stage long") << u"faze=A;1-8;4;1,2;x"_s << u"řádek 1: fáze má tvar"_s;
        QTest::newRow("game date") << u"faze=A;1-8;4\nzapas=A;1-8;2:1;31.2.2008"_s << u"„31.2.2008“ není datum"_s;
        QTest::newRow("planned date") << u"faze=A;1-8;4\ntermin=A;1-8;31.2.2008"_s << u"„31.2.2008“ není datum"_s;
        QTest::newRow("planned date with a time")
            << u"faze=A;1-8;4\ntermin=A;1-8;31.2.2008;18:00"_s << u"„31.2.2008“ není datum"_s;
        QTest::newRow("planned time") << u"faze=A;1-8;4\ntermin=A;1-8;1.3.2008;24:00"_s << u"„24:00“ není čas"_s;
        QTest::newRow("planned short") << u"faze=A;1-8;4\ntermin=A;1-8"_s << u"řádek 2: termín má tvar"_s;
        QTest::newRow("planned pair") << u"faze=A;1-8;4\ntermin=A;3-3;1.3.2008"_s << u"„3-3“ nejsou dvě"_s;
        QTest::newRow("stage after planned")
            << u"faze=A;1-8;4\ntermin=A;1-8;1.3.2008\nfaze=B;1-2;1"_s << u"řádek 3: fáze musí v souboru stát"_s;
        QTest::newRow("stage after games")
            << u"faze=A;1-8;4\nzapas=A;1-8;2:1\nfaze=B;1-2;1"_s << u"řádek 3: fáze musí v souboru stát před zápasy"_s;
    }
    void fileRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        const Result<Playoff> p = readPlayoff(encodeLines(text.split(u'\n')), u"playoff_x.txt"_s, kTeams);
        QVERIFY(!p.ok());
        QVERIFY2(p.error().contains(message), qPrintable(p.error()));
    }

    // A mistyped game is taken back from the end of its series, unless a later stage already stands on it.
    void lastGameRemoved()
    {
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> o = finalOrder(season);
        const Playoff p = read(u"faze=SF;1-4;1\nfaze=F;vitezove SF;1\nzapas=SF;%1-%4;3:1\nzapas=SF;%2-%3;1:2\n"
                               "zapas=F;%1-%3;2:0"_s.arg(o[0])
                                   .arg(o[1])
                                   .arg(o[2])
                                   .arg(o[3]));
        QVERIFY(withoutLastGame(p, season, 0, o[0], o[3]).error().contains(u"další fáze"_s));
        const Result<Playoff> final = withoutLastGame(p, season, 1, o[2], o[0]);
        QCOMPARE(final.value().games.size(), 2);
        const Result<Playoff> semifinal = withoutLastGame(final.value(), season, 0, o[3], o[0]);
        QCOMPARE(semifinal.value().games.size(), 1);
        QCOMPARE(semifinal.value().games[0].home, o[1]);
        QVERIFY(withoutLastGame(semifinal.value(), season, 0, o[0], o[3]).error().contains(u"nemá žádný zápas"_s));
    }

    // Read only in part, the next game entered would cut the file.
    void overLongFileRefused()
    {
        const QByteArray bytes = "faze=A;1-8;4\r\n" + QByteArray("zapas=A;1-8;2:1\r\n").repeated(100000);
        const Result<Playoff> p = readPlayoff(bytes, u"playoff_x.txt"_s, kTeams);
        QVERIFY2(p.error().contains(u"přes 100000 řádků"_s), qPrintable(p.error()));
    }

    // Each stage of winners and losers of the one before doubles the ways a team may come in: read, seeded and
    // played in time linear in the file, however deep the chain.
    void longChainsOfStages()
    {
        QString text = u"faze=S0;1-12;1"_s;
        for (int k = 1; k <= 40; ++k)
            text += u"\nfaze=S%1;vitezove S%2,porazeni S%2;1"_s.arg(k).arg(k - 1);
        text += u"\nfaze=Z;vitezove S40,13-14;1"_s;
        const Playoff p = read(text);
        QCOMPARE(p.stages.size(), 42);
        QCOMPARE(p.finalStage(), 41); // not of winners alone, but the last the first may play
        QCOMPARE(p.stages.last().places, 0x7FFEu);
        const Bracket b = playoffBracket(p, fixture::playedUpTo(kRounds)).value();
        QCOMPARE(b.stages[0].series.size(), 6);
        QVERIFY(!b.stages[1].known && !b.stages.last().known);
    }

    // A best-of-7 final between two fixed teams, one game in and three: the simulated title odds against the exact
    // sum over the outcomes of the games to come, the home team of each by the series' pattern (after three the
    // better seed hosts two of the four left).
    void bestOfSevenOdds_data()
    {
        QTest::addColumn<QStringList>("games"); // the results, the better seed's first
        QTest::newRow("not begun") << QStringList{};
        QTest::newRow("one game in") << QStringList{u"1:2"_s};
        QTest::newRow("three games in") << QStringList{u"1:2"_s, u"3:1"_s, u"1:2"_s};
    }
    void bestOfSevenOdds()
    {
        QFETCH(QStringList, games);
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(season);
        const int better = order[0], worse = order[1];
        Playoff p = read(u"faze=Finále;1-2;4"_s);
        int b0 = 0, w0 = 0;
        for (int g = 1; g <= games.size(); ++g) {
            const bool hosts = p.stages[0].betterHosts(g);
            const QStringList goals = games[g - 1].split(u':');
            (goals[0].toInt() > goals[1].toInt() ? b0 : w0) += 1;
            p.games.append({0,
                            hosts ? better : worse,
                            hosts ? worse : better,
                            hosts ? games[g - 1] : goals[1] + u':' + goals[0],
                            {},
                            0});
        }
        const GoalModel model = fitGoalModel(season);
        double atHome = 0, away = 0;
        const std::function<double(int, int, int)> exact = [&](int b, int w, int game) -> double {
            if (b == 4 || w == 4)
                return b == 4;
            const double win = p.stages[0].betterHosts(game) ? atHome : away;
            return win * exact(b + 1, w, game + 1) + (1 - win) * exact(b, w + 1, game + 1);
        };
        // Each simulated season plays with its own draw of the two teams' strengths: the exact odds averaged
        // over draws of them.
        double expected = 0;
        RandomStream random(1);
        const int draws = 20000;
        for (int i = 0; i < draws; ++i) {
            GoalModel drawn = model;
            for (const int team : {better, worse}) {
                const auto t = static_cast<std::size_t>(team - 1);
                drawn.attack[t] = gammaDraw(model.attackShape[t], random) / model.rate[t];
                drawn.defence[t] = gammaDraw(model.defenceShape[t], random) / model.rate[t];
            }
            atHome = homeWinChance(drawn, better, worse), away = 1 - homeWinChance(drawn, worse, better);
            expected += exact(b0, w0, static_cast<int>(games.size()) + 1) / draws;
        }
        const Forecast f = simulateSeason(season, 200000, 7, 2, nullptr, KeyMatchTallies::Skipped, &p);
        QVERIFY2(std::abs(f.winsShare(0, better) - expected) < 0.005,
                 qPrintable(u"%1 simulated, %2 exact"_s.arg(f.winsShare(0, better)).arg(expected)));
        QCOMPARE(f.winsShare(0, better) + f.winsShare(0, worse), 1.0);
        const Forecast one = simulateSeason(season, 20000, 7, 1, nullptr, KeyMatchTallies::Skipped, &p);
        const Forecast two = simulateSeason(season, 20000, 7, 2, nullptr, KeyMatchTallies::Skipped, &p);
        QCOMPARE(one.playoff[0].wins, two.playoff[0].wins);
    }

    // The same two teams over three, four and again three wins, the better one hosting the same games: the
    // longer series favours it more, and two stages alike give it the same odds.
    void longerSeriesFavoursTheBetter()
    {
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const int best = finalOrder(season)[0];
        const Playoff p = read(u"faze=A;1,14;3;1,2,5\nfaze=B;1,14;4;1,2,5\nfaze=C;1,14;3;1,2,5"_s);
        const Forecast f = simulateSeason(season, 40000, 3, 2, nullptr, KeyMatchTallies::Skipped, &p);
        QVERIFY(f.winsShare(1, best) > f.winsShare(0, best) + 0.015);
        QVERIFY(std::abs(f.winsShare(2, best) - f.winsShare(0, best)) < 0.01);
    }

    // What a decided series means: the final's winner is the champion, the loser of the relegation series goes
    // down, everyone else goes on; the semi-finals' losers play on for bronze and stay up.
    void seriesOutcomes()
    {
        const Playoff p = read(u"faze=Semifinále;1-4;1\nfaze=Finále;vitezove Semifinále;1\n"
                               "faze=O 3. místo;porazeni Semifinále;1\nfaze=Play-down;11-14;1\n"
                               "faze=Baráž;porazeni Play-down;1"_s);
        QCOMPARE(p.finalStage(), 1);
        QCOMPARE(p.relegationStage(), 4);
        QCOMPARE(read(u"faze=Finále;1-2;1"_s).relegationStage(), -1);
        const Playoff firstIsFinal = read(u"faze=Finále;1-2;1\nfaze=Play-down;11-14;1"_s);
        QCOMPARE(firstIsFinal.finalStage(), 0); // the first stage may be the title's
        QCOMPARE(firstIsFinal.relegationStage(), 1);
        const SeasonStore season = fixture::playedUpTo(kRounds);
        Series x;
        x.better = 1, x.worse = 2, x.winner = 2;
        const QString first = season.TymPodleCisla(1), second = season.TymPodleCisla(2);
        QCOMPARE(seriesOutcome(p, 1, x, season), u"mistr "_s + second);
        QCOMPARE(seriesOutcome(p, 4, x, season), u"sestupuje "_s + first);
        for (int stage : {0, 2, 3})
            QCOMPARE(seriesOutcome(p, stage, x, season), u"postupuje "_s + second);
        // A play-off of the table's bottom alone has no title; its last series' loser goes down.
        const Playoff bottom = read(u"faze=Play-down;11-14;1\nfaze=Baráž;porazeni Play-down;1"_s);
        QCOMPARE(bottom.finalStage(), -1);
        QCOMPARE(bottom.relegationStage(), 1);
        QCOMPARE(seriesOutcome(bottom, 1, x, season), u"sestupuje "_s + first);
        x.winner = 0;
        QCOMPARE(seriesOutcome(p, 1, x, season), QString());
    }

    // A play-off of one stage is the title's: the outlook's title column shares out the whole title.
    void titleOfOneStage()
    {
        const Playoff p = read(u"faze=Finále;1-2;4"_s);
        const SeasonStore season = fixture::playedUpTo(40);
        const Outlook o{simulateSeason(season, 2000, 1, 2, nullptr, KeyMatchTallies::Skipped, &p),
                        placeBounds(season, false)};
        double title = 0;
        for (const OutlookRow& row : outlookRows(season, o))
            title += row.title.value();
        QVERIFY2(std::abs(title - 1) < 1e-9, qPrintable(QString::number(title)));
        // One of the bottom alone has a relegation column and no title's.
        const Playoff bottom = read(u"faze=Play-down;11-14;4\nfaze=Baráž;porazeni Play-down;4"_s);
        const Outlook down{simulateSeason(season, 200, 1, 2, nullptr, KeyMatchTallies::Skipped, &bottom),
                           placeBounds(season, false)};
        const ViewTable v = outlookView(season, outlookRows(season, down), stageNames(down.forecast));
        QVERIFY2(!v.header.contains(u"titul"_s) && v.header.contains(u"sestup"_s), qPrintable(v.header.join(u"|")));
    }

    // Mid-season: every stage's plays sum to its participants, its wins to half; a finished play-off is certain.
    void oddsSum()
    {
        const Playoff p = read(u"faze=Předkolo;7-10;2\nfaze=Čtvrtfinále;1-6,vitezove Předkolo;4\n"
                               "faze=Play-down;11-14;3\nfaze=Baráž;porazeni Play-down;1"_s);
        const Forecast f = simulateSeason(fixture::playedUpTo(40), 3000, 1, 2, nullptr, KeyMatchTallies::Skipped, &p);
        QCOMPARE(f.finalStage, 1);
        for (std::size_t s = 0; s < f.playoff.size(); ++s) {
            std::uint64_t plays = 0, wins = 0;
            for (int t = 0; t < kTeams; ++t)
                plays += f.playoff[s].plays[static_cast<std::size_t>(t)],
                    wins += f.playoff[s].wins[static_cast<std::size_t>(t)];
            QCOMPARE(plays, static_cast<std::uint64_t>(p.stages[static_cast<qsizetype>(s)].participants) * 3000);
            QCOMPARE(wins * 2, plays);
        }
        // The quarter-finals take the pre-round's winners: a team plays them as often as it ends in the top six or
        // wins its pre-round series.
        std::uint64_t topSix = 0;
        for (int t = 0; t < kTeams; ++t) {
            const auto team = static_cast<std::size_t>(t);
            QVERIFY(f.playoff[1].plays[team] >= f.playoff[0].wins[team]);
            topSix += f.playoff[1].plays[team] - f.playoff[0].wins[team];
        }
        QCOMPARE(topSix, std::uint64_t{6 * 3000});
        // The relegation series takes the play-down's losers: a team plays it as often as it loses there.
        for (std::size_t team = 0; team < kTeams; ++team)
            QCOMPARE(f.playoff[3].plays[team], f.playoff[2].plays[team] - f.playoff[2].wins[team]);
        // One team goes down a season: the outlook's relegation column adds up to one, and only the bottom's.
        const SeasonStore mid = fixture::playedUpTo(40);
        const QList<OutlookRow> rows =
            outlookRows(mid, computeOutlook(mid, 3000, 1, 2, nullptr, KeyMatchTallies::Skipped, &p));
        double down = 0;
        for (const OutlookRow& r : rows)
            down += r.relegation.value_or(-1);
        QVERIFY2(std::abs(down - 1) < 1e-9, qPrintable(QString::number(down)));
        QCOMPARE(rows.first().relegation.value_or(-1), 0.0);
        QCOMPARE(outlookView(mid, rows, stageNames(f)).header.last(), u"sestup"_s);
        QVERIFY(!outlookRows(mid, computeOutlook(mid, 50, 1, 2)).first().relegation);
        const SeasonStore over = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(over);
        Playoff done = read(u"faze=Finále;1-2;1"_s);
        done.games.append({0, order[0], order[1], u"2:3n"_s, {}, 0});
        const Forecast certain = simulateSeason(over, 500, 1, 2, nullptr, KeyMatchTallies::Skipped, &done);
        for (int t = 1; t <= kTeams; ++t) {
            QCOMPARE(certain.winsShare(0, t), t == order[1] ? 1.0 : 0.0);
            QCOMPARE(certain.playsShare(0, t), t == order[0] || t == order[1] ? 1.0 : 0.0);
        }
    }

    // The team's games, numbered within the series, and the calendar: the dated ones as play-off events, which
    // an import of the calendar into the regular season leaves out.
    void teamGamesAndCalendar()
    {
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(season);
        const int a = order[0], b = order[7], c = order[1];
        const Playoff p = read(u"faze=Čtvrtfinále;1-8;4\nzapas=Čtvrtfinále;%1-%2;4:2;14.3.2008\n"
                               "zapas=Čtvrtfinále;%3-%4;1:0\nzapas=Čtvrtfinále;%2-%1;2:3p;16.3.2008"_s.arg(a)
                                   .arg(b)
                                   .arg(c)
                                   .arg(order[6]));
        QCOMPARE(teamPlayoffLines(p, season, a), (QStringList{u"Čtvrtfinále, 1. zápas  14.3.  %1 - %2 4:2"_s.arg(
                                                                  season.TymPodleCisla(a), season.TymPodleCisla(b)),
                                                              u"Čtvrtfinále, 2. zápas  16.3.  %1 - %2 2:3p"_s.arg(
                                                                  season.TymPodleCisla(b), season.TymPodleCisla(a))}));
        QCOMPARE(playoffBalance(p, a), (std::array<QString, 3>{u"1:0 (4:2)"_s, u"1:0 (3:2)"_s, u"2:0 (7:4)"_s}));
        QCOMPARE(playoffBalance(p, order[6]), (std::array<QString, 3>{u"0:0 (0:0)"_s, u"0:1 (0:1)"_s, u"0:1 (0:1)"_s}));
        QCOMPARE(playoffBalance(p, order[2])[2], QString());
        QCOMPARE(playoffCalendar(p, season, 0).size(), 2); // a game without its date has no place in a calendar
        const QByteArray ics = toICalendar(season, u"sezona_x.txt"_s, a, QDateTime(QDate(2008, 3, 1), QTime(8, 0)),
                                           playoffCalendar(p, season, a));
        QCOMPARE(ics.count("CATEGORIES:play-off"), 2);
        const Result<ImportSource> back = readImportSource(ics, u"x.ics"_s);
        const auto inStage = [](const ImportLine& l) { return !l.stage.isEmpty(); };
        QCOMPARE(std::count_if(back.value().lines.begin(), back.value().lines.end(), inStage), 2); // read as play-off
        QCOMPARE(back.value().lines.size(), (kTeams - 1) * 4 + 2);
    }

    void usualFormats_data()
    {
        QTest::addColumn<int>("teams");
        for (int teams : {2, 4, 8, 10, 12, 14, 16, 20})
            QTest::addRow("%d", teams) << teams;
    }

    // Every format offered for the top and the bottom of a league's table writes a file the reader takes and
    // writes back as it was, unless the two would take one place twice: then the second stage says which.
    void usualFormats()
    {
        QFETCH(int, teams);
        static const QRegularExpression range(u"(\\d+)-(\\d+)"_s);
        const QList<PlayoffFormat> tops = titleFormats(teams), bottoms = bottomFormats(teams);
        QCOMPARE(tops.first().stages.first().participants, teams >= 8 ? u"1-8"_s : teams >= 4 ? u"1-4"_s : u"1-2"_s);
        QCOMPARE(bottoms.first().stages.isEmpty(), teams < 12);
        for (const PlayoffFormat& top : tops) {
            for (const PlayoffFormat& bottom : bottoms) {
                const QList<StageRow> stages = top.stages + bottom.stages;
                int lowestTop = 0, highestBottom = teams + 1;
                for (const StageRow& row : stages) {
                    const QRegularExpressionMatch m = range.match(row.participants);
                    if (m.hasMatch() && bottom.stages.contains(row))
                        highestBottom = std::min(highestBottom, m.captured(1).toInt());
                    else if (m.hasMatch())
                        lowestTop = std::max(lowestTop, m.captured(2).toInt());
                }
                const Result<QStringList> lines = playoffFileLines(stages, teams);
                QCOMPARE(lines.ok(), lowestTop < highestBottom);
                if (!lines.ok()) {
                    QVERIFY2(lines.error().contains(u"místo %1 hraje už ve fázi"_s.arg(highestBottom)),
                             qPrintable(lines.error()));
                    continue;
                }
                const Playoff p = readPlayoff(encodeLines(lines.value()), u"x"_s, teams).value();
                QCOMPARE(playoffLines(p), lines.value());
                QCOMPARE(p.stages.size(), stages.size());
                QCOMPARE(p.stages[p.finalStage()].name, u"Finále"_s);
                QCOMPARE(p.relegationStage() >= 0 ? p.stages[p.relegationStage()].name : QString(),
                         bottom.stages.isEmpty() ? QString() : u"O udržení"_s);
            }
        }
    }

    void stagesRefusedByRow_data()
    {
        QTest::addColumn<QList<StageRow>>("stages");
        QTest::addColumn<QString>("message");
        const StageRow final{u"Finále"_s, u"vitezove A"_s, 4, {}};
        QTest::newRow("places") << QList<StageRow>{{u"A"_s, u"1-4"_s, 4, {}}, {u"B"_s, u"13-16"_s, 4, {}}}
                                << u"Fáze 2: místa „13-16“ nejsou od 1 do 14"_s;
        QTest::newRow("no name") << QList<StageRow>{{u" "_s, u"1-4"_s, 4, {}}} << u"Fáze 1: fáze nemá název"_s;
        QTest::newRow("unknown stage") << QList<StageRow>{final} << u"Fáze 1: „A“ není žádná dřívější fáze"_s;
        QTest::newRow("home games") << QList<StageRow>{{u"A"_s, u"1-4"_s, 2, u"1, 4"_s}}
                                    << u"Fáze 1: zápas „4“ série na 2 výhry neexistuje"_s;
        QTest::newRow("a place twice") << QList<StageRow>{{u"A"_s, u"1-8"_s, 4, {}},
                                                          final,
                                                          {u"Dole"_s, u"7-10"_s, 4, {}}}
                                       << u"Fáze 3: místo 7 hraje už ve fázi „A“"_s;
        QTest::newRow("none") << QList<StageRow>{} << u"Play-off potřebuje aspoň jednu fázi."_s;
    }

    // The editor's rows refused as the file would be, named by their row, nothing written.
    void stagesRefusedByRow()
    {
        QFETCH(QList<StageRow>, stages);
        QFETCH(QString, message);
        const Result<QStringList> lines = playoffFileLines(stages, kTeams);
        QVERIFY(!lines.ok());
        QVERIFY2(lines.error().contains(message), qPrintable(lines.error()));
    }

    // The printed bracket: a stage's series one a line, its games and outcome under it, a later stage waiting.
    void bracketPage()
    {
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> o = finalOrder(season);
        const Playoff p =
            read(u"faze=SF;1-4;2\nfaze=F;vitezove SF;1\nzapas=SF;%1-%2;3:1\nzapas=SF;%2-%1;2:3p"_s.arg(o[0]).arg(o[3]));
        const QString first = seededName(season, o[0], 1);
        QCOMPARE(bracketLines(p, playoffBracket(p, season).value(), season),
                 (QStringList{u"SF"_s, u"  %1 – %2  2:0"_s.arg(first, seededName(season, o[3], 4)),
                              u"      3:1 @2:3p   postupuje "_s + season.TymPodleCisla(o[0]),
                              u"  %1 – %2  0:0"_s.arg(seededName(season, o[1], 2), seededName(season, o[2], 3)),
                              QString(), u"F"_s, u"  čeká na předchozí fáze"_s}));
    }

    // A series shows its next game's day: the earliest planned after its last game played; typed, the day takes
    // the place of the one shown. The server's days win over the fan's, whose others stay.
    void plannedGames()
    {
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> o = finalOrder(season);
        const QString games = u"faze=SF;1-4;2\nfaze=F;vitezove SF;1\nzapas=SF;%1-%4;3:1;2.3.2008\n"_s,
                      plans =
                          u"termin=SF;%4-%1;5.3.2008;18:00\ntermin=SF;%1-%4;1.3.2008\ntermin=SF;%1-%4;2.3.2008;12:00\n"
                          "termin=SF;%4-%1;3.3.2008;17:30\n"
                          "termin=SF;%2-%3;4.3.2008"_s;
        const auto filled = [&](const QString& text) { return text.arg(o[0]).arg(o[1]).arg(o[2]).arg(o[3]); };
        const Playoff p = read(filled(games + plans));
        const Bracket b = playoffBracket(p, season).value();
        const Series &top = b.stages[0].series[0], &other = b.stages[0].series[1];
        QCOMPARE(plannedText(*top.planned) + u' ' + QString::number(top.planned->home),
                 u"3.3.2008 17:30 "_s + QString::number(o[3]));
        QCOMPARE(plannedText(*other.planned), u"4.3.2008"_s);
        // In the calendar at its time, the next game of a series; the other series' one all day.
        const QList<CalendarGame> events = playoffCalendar(p, season, o[3]);
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[1].time, QTime(17, 30));
        // Played, a game keeps the event it had while planned: a calendar updates it rather than adding one.
        const QList<CalendarGame> after =
            playoffCalendar(read(filled(games + u"zapas=SF;%4-%1;2:1;3.3.2008\n"_s + plans)), season, o[3]);
        QCOMPARE(after.size(), 3);
        QCOMPARE(after[1].summary.right(3), u"2:1"_s);
        QCOMPARE(after[1].uid, events[1].uid);
        QVERIFY(after[0].uid != after[1].uid && after[1].uid != after[2].uid);
        const QByteArray ics = toICalendar(season, u"sezona_x.txt"_s, 0, QDateTime(QDate(2008, 3, 1), QTime(8, 0)),
                                           playoffCalendar(p, season, 0));
        QVERIFY(ics.contains("DTSTART;TZID=Europe/Prague:20080303T173000\r\nDTEND;TZID=Europe/Prague:20080303T200000"));
        QVERIFY(ics.contains("BEGIN:VTIMEZONE"));
        QVERIFY(ics.contains("DTSTART;VALUE=DATE:20080304"));
        QCOMPARE(bracketView(p, b, season).rows[0][5],
                 u"další zápas 3.3.2008 17:30: %1 - %2"_s.arg(season.TymPodleCisla(o[3]), season.TymPodleCisla(o[0])));

        const Result<Playoff> moved = withPlannedGame(p, season, {0, o[0], o[3], QDate(2008, 3, 6), {}, 0});
        QCOMPARE(moved.value().planned.size(), p.planned.size());
        QCOMPARE(plannedText(*playoffBracket(moved.value(), season).value().stages[0].series[0].planned),
                 u"5.3.2008 18:00"_s);
        QVERIFY(withPlannedGame(p, season, {0, o[0], o[3], QDate(2008, 3, 2), {}, 0})
                    .error()
                    .contains(u"zápas z 2.3.2008"_s));
        QVERIFY(withPlannedGame(p, season, {static_cast<int>(p.stages.size()), o[0], o[3], QDate(2008, 3, 6), {}, 0})
                    .error()
                    .contains(u"takovou fázi"_s));
        QVERIFY(withPlannedGame(p, season, {0, o[0], o[1], QDate(2008, 3, 6), {}, 0})
                    .error()
                    .contains(u"není rozehraná série"_s));
        const Playoff won = read(playoffLines(p).join(u'\n') + u"\nzapas=SF;%1-%2;4:0"_s.arg(o[0]).arg(o[3]));
        QVERIFY(!playoffBracket(won, season).value().stages[0].series[0].planned);
        QVERIFY(withPlannedGame(won, season, {0, o[0], o[3], QDate(2008, 3, 9), {}, 0})
                    .error()
                    .contains(u"není rozehraná série"_s));

        Playoff server = read(u"faze=SF;1-4;2\nfaze=F;vitezove SF;1\ntermin=SF;%1-%2;8.3.2008"_s.arg(o[2]).arg(o[1]));
        const Playoff merged = mergePlayoffs(p, server, false);
        const Bracket m = playoffBracket(merged, season).value();
        QCOMPARE(plannedText(*m.stages[0].series[0].planned), u"3.3.2008 17:30"_s);
        QCOMPARE(plannedText(*m.stages[0].series[1].planned), u"8.3.2008"_s);
    }

    // Play-off games an import brings: a stage named in English, or not named at all, goes to the two teams' series,
    // a game no series of theirs takes is refused with its line, and a league without a play-off refuses them all.
    void importedGames()
    {
        const SeasonStore season = fixture::playedUpTo(kRounds);
        const QVarLengthArray<int, kMaxTeams> o = finalOrder(season);
        const Playoff p = read(u"faze=Semifinále;1-4;4\nfaze=Finále;vitezove Semifinále;4"_s);
        TeamMatching teams;
        for (int t = 1; t <= kTeams; ++t)
            teams.teamOf.insert(season.TymPodleCisla(t), t);
        const auto line = [&](int n, int home, int away, const QString& stage) {
            ImportLine l(n, QDate(2008, 3, n), 0, season.TymPodleCisla(home), season.TymPodleCisla(away), u"3:1"_s);
            l.stage = stage;
            return l;
        };
        const PlayoffImport plan = planPlayoff(p, season,
                                               {line(1, o[0], o[3], u"Semifinal"_s), line(2, o[1], o[2], u"play-off"_s),
                                                line(3, o[0], o[1], u"Finále"_s), line(4, o[0], o[5], u"play-off"_s)},
                                               teams);
        QCOMPARE(plan.games.size(), 2);
        QCOMPARE(plan.games[0].stage, 0);
        QCOMPARE(plan.games[1].stage, 0);
        QCOMPARE(plan.refused.size(), 2);
        QVERIFY2(plan.refused[0].startsWith(u"řádek 3 ("_s), qPrintable(plan.refused[0]));
        // A game no stage takes is refused with what its last stage says, not for a stage there is not.
        QVERIFY2(plan.refused[1].startsWith(u"řádek 4 ("_s) && !plan.refused[1].contains(u"takovou fázi"_s),
                 qPrintable(plan.refused[1]));
        QVERIFY(planPlayoff(std::nullopt, season, {line(1, o[0], o[3], {})}, teams)
                    .refused.value(0)
                    .endsWith(u"liga nemá play-off"_s));
    }

    // Before the season's end the bracket says which matches are missing, the last of a round among them, and
    // not an empty slot.
    void missingMatchesNamed()
    {
        SeasonStore season = fixture::playedUpTo(kRounds);
        Match& last = season.match(season.slots(), kRounds);
        last.result.clear();
        season.match(1, kRounds) = {0, 0, QString()}; // a slot without a match misses nothing
        const Playoff p = read(u"faze=F;1-2;1"_s);
        const QString note = bracketNote(playoffBracket(p, season).value(), season);
        QVERIFY2(note.endsWith(u"chybí 1: %1. kolo %2 - %3"_s.arg(kRounds).arg(season.TymPodleCisla(last.home),
                                                                               season.TymPodleCisla(last.away))),
                 qPrintable(note));
        // Five are named; more are marked as more.
        for (const int open : {5, 6}) {
            const SeasonStore some = fixture::playedUpTo(kRounds, open);
            const QString listed = bracketNote(playoffBracket(p, some).value(), some);
            QVERIFY2(listed.contains(u"chybí %1: "_s.arg(open)) && listed.count(u". kolo "_s) == 5 &&
                         listed.endsWith(u", …"_s) == (open > 5),
                     qPrintable(listed));
        }
    }

    // The fan's games of a series replace the server's of that series alone, not those two teams' games of
    // another stage.
    void mergeKeepsOtherStages()
    {
        const QString stages = u"faze=A;1-2;1\nfaze=B;1-2;1\n"_s;
        const Playoff fan = read(stages + u"zapas=A;1-2;1:3"_s);
        const Playoff server = read(stages + u"zapas=A;1-2;3:1\nzapas=B;2-1;2:0"_s);
        QCOMPARE(playoffLines(mergePlayoffs(fan, server, false)).filter(u"zapas="_s),
                 (QStringList{u"zapas=B;2-1;2:0"_s, u"zapas=A;1-2;1:3"_s}));
        QCOMPARE(playoffLines(mergePlayoffs(fan, server, true)).filter(u"zapas="_s),
                 (QStringList{u"zapas=A;1-2;3:1"_s, u"zapas=B;2-1;2:0"_s}));
    }

    // A series the server has carried on from the fan's games is no conflict, and its longer list stays; one whose
    // games differ is named with both.
    void conflictsOfASeries()
    {
        const QString stage = u"faze=C;1-2;2\n"_s;
        const SeasonStore season = fixture::season();
        const Playoff server = read(stage + u"zapas=C;1-2;1:3\nzapas=C;2-1;2:0"_s);
        QVERIFY(playoffConflicts(read(stage + u"zapas=C;1-2;1:3"_s), server, season).isEmpty());
        QCOMPARE(mergePlayoffs(read(stage + u"zapas=C;1-2;1:3"_s), server, false).games.size(), 2);
        const QStringList apart = playoffConflicts(read(stage + u"zapas=C;1-2;3:1"_s), server, season);
        QCOMPARE(apart.size(), 1);
        QVERIFY2(apart[0].endsWith(u"vaše 3:1, server 1:3 2:0"_s), qPrintable(apart[0]));
    }

    void roundTripAndHome()
    {
        const QString text = u"; play-off 2008\nfaze=Předkolo;7-10;2;1,3\nfaze=Finále;1-6,vitezove Předkolo;1\n"
                             "zapas=Předkolo;7-10;3:2p;5.3.2008\ntermin=Předkolo;10-7;7.3.2008;18:30\n"
                             "termin=Finále;1-2;9.3.2008"_s;
        const Playoff p = read(text);
        QCOMPARE(playoffLines(p), text.split(u'\n'));
        QCOMPARE(p.stages[0].homeGames, (QList<int>{1, 3}));
        QCOMPARE(p.stages[1].homeGames, (QList<int>{1}));
        QCOMPARE(p.finalStage(), 1);
        QCOMPARE(read(u"faze=A;1-8;4"_s).stages[0].homeGames, (QList<int>{1, 2, 5, 7}));
    }
};

QTEST_GUILESS_MAIN(tst_playoff)
#include "tst_playoff.moc"
