// SPDX-License-Identifier: MIT
// The outlook's cost on the bundled Extraliga 2007/2008, cut back to round 26 and to round 45: simulated
// seasons on every core, and the exact bounds with points needed for every team and line.
#include "outlook/forecast.h"
#include "season/seasonfile.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

SeasonStore playedUpTo(int last)
{
    const QString competition = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");
    SeasonStore s = loadSeason(competition, scheduleFileFor(competition)).value();
    for (int r = 1; r <= kRounds; ++r) {
        for (int m = 1; m <= kSlots; ++m) {
            Match& match = s.match(m, r);
            if (r > last)
                match.result.clear();
            else if (match.result.isEmpty())
                match.result = (match.home + r) % 3 ? u"3:2"_s : u"1:2p"_s;
        }
    }
    return s;
}

// The best of five runs, in milliseconds.
template <typename Work> double bestOf(Work work)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    const int threads = std::max(1, QThread::idealThreadCount());
    for (int round : {26, 45}) {
        const SeasonStore s = playedUpTo(round);
        for (int seasons : {10'000, 100'000}) {
            const double ms = bestOf([&] { (void)simulateSeason(s, seasons, kDefaultSeed, threads); });
            std::printf("round %d: %7d seasons on %d threads  %8.1f ms\n", round, seasons, threads, ms);
        }
        const double ms = bestOf([&] { (void)placeBounds(s, true); });
        std::printf("round %d: bounds and points needed      %8.1f ms\n", round, ms);
    }
    return 0;
}
