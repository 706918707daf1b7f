// SPDX-License-Identifier: MIT
// Timings of the work behind every view, on the bundled Extraliga 2007/2008.
#include "export/formats.h"
#include "lookups/lookups.h"
#include "season/newleague.h"
#include "season/notation.h"
#include "season/seasonfile.h"
#include "standings/graph.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString competition = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");

SeasonStore bundled()
{
    Result<SeasonStore> s = loadSeason(competition, scheduleFileFor(competition));
    if (!s.ok())
        qFatal("bundled league unreadable");
    return std::move(s).value();
}

// 20 teams, 200 rounds, every match on a day and at a time of its own (a round spread over two days), results up
// to round 150.
SeasonStore datedSeason()
{
    const QList<RoundPairings> pairs = roundRobinSchedule(20, 11);
    SeasonStore s(20, 200);
    for (int t = 1; t <= 20; ++t)
        s.setTeamName(t, u"Tým %1"_s.arg(t));
    for (int r = 1; r <= 200; ++r) {
        s.setDate(r, QDate(2026, 9, 1).addDays(r));
        for (int m = 1; m <= s.slots(); ++m) {
            const auto [home, away] = pairs[r - 1][m - 1];
            s.match(m, r) = {home, away, r <= 150 ? QString::number((r + m) % 5) + u":2"_s : QString()};
            s.matchDates.insert({r, m}, {s.DATUM_KOLA(r).addDays(m % 2), QTime(17 + m % 3, 30), false});
        }
    }
    return s;
}

} // namespace

class bench_season final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadSeason_();
    void storeRound();
    void writeSchedule_();
    void runningTable();
    void finalTable();
    void leagueCalendar();
    void graph();
    void tableOnADate();
    void graphByDate();
    void outcomeHistory();
    void allStreaks();
    void crossTable_();
    void lookups_data();
    void lookups();
};

void bench_season::loadSeason_()
{
    SeasonStore s;
    QBENCHMARK
    {
        s = loadSeason(competition, scheduleFileFor(competition)).valueOr({});
    }
    QCOMPARE(s.TymPodleCisla(1), u"Sparta Praha"_s);
}

void bench_season::storeRound()
{
    SeasonStore s = bundled();
    const QStringList typed = {u"5:4p"_s, u"2:2"_s, u"3:1p"_s, u"0:1"_s, u"12:11n"_s, QString(), u"4:2"_s};
    QBENCHMARK
    {
        for (int i = 0; i < s.slots(); ++i)
            s.match(i + 1, 30).result = normaliseResult(typed[i]);
    }
    QCOMPARE(s.VYSLEDEK(2, 30), u"2:2p"_s);
}

void bench_season::writeSchedule_()
{
    const SeasonStore s = bundled();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"los_bench.txt"_s);
    QBENCHMARK
    {
        if (!writeSchedule(s, path).ok())
            QFAIL("write failed");
    }
}

void bench_season::runningTable()
{
    const SeasonStore s = bundled();
    Standings st;
    QBENCHMARK
    {
        st = SpocitatPoradi(s, DataProTabulku(s, 1, s.rounds()), venue::Total, Criterion::Points);
    }
    QCOMPARE(st.rows[0].name, u"Slavia Praha"_s);
}

void bench_season::finalTable()
{
    const SeasonStore s = bundled();
    Standings st;
    QBENCHMARK
    {
        st = SpocitatPoradi(s, DataProTabulku(s, 1, s.rounds()), venue::Total, Criterion::Points, RankingRules::Final);
    }
    QCOMPARE(st.rows[0].name, u"Slavia Praha"_s);
}

void bench_season::leagueCalendar()
{
    const SeasonStore s = bundled();
    QByteArray ics;
    QBENCHMARK
    {
        ics = toICalendar(s, u"sezona_extraliga0708.txt"_s, 0, QDateTime::currentDateTimeUtc());
    }
    QCOMPARE(ics.count("BEGIN:VEVENT"), s.rounds() * s.slots());
}

void bench_season::graph()
{
    const SeasonStore s = bundled();
    GraphData g;
    QBENCHMARK
    {
        g = computeGraph(s);
    }
    QCOMPARE(g.played[0], 19);
}

// "Tabulka k datu…" on the largest league with a date on every match: the season cut on the day, then its table.
void bench_season::tableOnADate()
{
    const SeasonStore s = datedSeason();
    Standings st;
    QBENCHMARK
    {
        const SeasonStore then = playedBy(s, s.DATUM_KOLA(120));
        st = SpocitatPoradi(then, DataProTabulku(then, 1, then.rounds()), venue::Total, Criterion::Points);
    }
    QCOMPARE(st.rows.size(), 20);
}

void bench_season::graphByDate()
{
    const SeasonStore s = datedSeason();
    GraphData g;
    QBENCHMARK
    {
        g = computeGraphByDate(s);
    }
    QCOMPARE(g.days.size(), 151);
}

void bench_season::outcomeHistory()
{
    const SeasonStore s = bundled();
    OutcomeHistory serie;
    QBENCHMARK
    {
        serie = buildSerie(s);
    }
    QCOMPARE(serie[2][0].size(), 19);
}

// Every type, overtime treatment, venue and order: 16 × 2 × 3 × 3 = 288 computations per iteration.
void bench_season::allStreaks()
{
    const SeasonStore s = bundled();
    const OutcomeHistory serie = buildSerie(s);
    int rows = 0;
    QBENCHMARK
    {
        for (int type = 0; type < 16; ++type)
            for (OvertimeMode mode : {OvertimeMode::Draw, OvertimeMode::FinalResult})
                for (int venue = 1; venue <= 3; ++venue)
                    for (int order = 0; order < 3; ++order)
                        rows += static_cast<int>(computeStreaks(s, serie, venue, type, mode, order).size());
    }
    QVERIFY(rows > 0);
}

void bench_season::crossTable_()
{
    const SeasonStore s = bundled();
    CrossTable cells;
    QBENCHMARK
    {
        cells = crossTable(s);
    }
    QVERIFY(!cells[0][1].isEmpty());
}

void bench_season::lookups_data()
{
    QTest::addColumn<int>("which");
    QTest::addRow("balance") << 0;
    QTest::addRow("team's matches") << 1;
    QTest::addRow("head-to-head") << 2;
    QTest::addRow("missing results") << 3;
}

void bench_season::lookups()
{
    QFETCH(int, which);
    const SeasonStore s = bundled();
    qsizetype size = 0;
    QBENCHMARK
    {
        switch (which) {
        case 0:
            size += teamBalance(s, 3).size();
            break;
        case 1:
            size += teamMatchLines(s, 3).size();
            break;
        case 2:
            size += headToHeadLines(s, 1, 2).size();
            break;
        default:
            size += missingResults(s, QDate(2008, 1, 1)).lines.size();
        }
    }
    QVERIFY(size > 0);
}

QTEST_APPLESS_MAIN(bench_season)
#include "bench_season.moc"
