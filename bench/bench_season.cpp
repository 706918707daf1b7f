// SPDX-License-Identifier: MIT
// Timings of the work behind every view, on the bundled Extraliga 2007/2008.
#include "season/notation.h"
#include "season/seasonfile.h"
#include "standings/graph.h"
#include "standings/ranking.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString competition = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");

SeasonStore bundled()
{
    SeasonStore s;
    if (!loadSeason(competition, scheduleFileFor(competition), s).isEmpty())
        qFatal("bundled league unreadable");
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
    void graph();
};

void bench_season::loadSeason_()
{
    SeasonStore s;
    QBENCHMARK
    {
        s = SeasonStore();
        loadSeason(competition, scheduleFileFor(competition), s);
    }
    QCOMPARE(s.TymPodleCisla(1), u"Sparta Praha"_qs);
}

void bench_season::storeRound()
{
    SeasonStore s = bundled();
    const QStringList typed = {u"5:4p"_qs, u"2:2"_qs, u"3:1p"_qs, u"0:1"_qs, u"12:11n"_qs, QString(), u"4:2"_qs};
    QBENCHMARK
    {
        for (int i = 0; i < kSlots; ++i)
            s.match(i + 1, 30).result = normaliseResult(typed[i]);
    }
    QCOMPARE(s.VYSLEDEK(2, 30), u"2:2p"_qs);
}

void bench_season::writeSchedule_()
{
    const SeasonStore s = bundled();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"los_bench.txt"_qs);
    QBENCHMARK
    {
        if (!writeSchedule(s, path).isEmpty())
            QFAIL("write failed");
    }
}

void bench_season::runningTable()
{
    const SeasonStore s = bundled();
    Standings st;
    QBENCHMARK
    {
        st = SpocitatPoradi(s, DataProTabulku(s, 1, kRounds), Total, Body);
    }
    QCOMPARE(st.rows[0].name, u"Slavia Praha"_qs);
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

QTEST_APPLESS_MAIN(bench_season)
#include "bench_season.moc"
