// SPDX-License-Identifier: MIT
// An import at the size limit: a results CSV, pasted text and a calendar of 10 MB each, read and planned into
// a league of 20 teams; the time and the peak memory of each (run each format in a process of its own:
// bench_import csv|text|ics).
#include "import/importplan.h"

#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

template <typename Line> QByteArray sized(const QByteArray& head, const Line& line, const QByteArray& tail)
{
    QByteArray bytes = head;
    for (int i = 0; bytes.size() + tail.size() < kMaxImportBytes - 200; ++i)
        bytes += QByteArray(line(i));
    return bytes + tail;
}

QByteArray source(const QString& kind)
{
    // Two different teams of twenty, every pair in turn.
    const auto pair = [](int i, const char* between) -> QByteArray {
        const int home = i % 20 + 1, away = (home + i / 20 % 19) % 20 + 1;
        return QByteArray("Team ") + QByteArray::number(home) + between + QByteArray::number(away);
    };
    if (kind == u"text")
        return sized({}, [&](int i) -> QByteArray { return pair(i, " - Team ") + " 3:2 pp\n"; }, {});
    if (kind == u"ics")
        return sized(
            "BEGIN:VCALENDAR\r\n",
            [&](int i) -> QByteArray {
                return "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20250901\r\nSUMMARY:" + pair(i, " - Team ") +
                       " 3:2\r\nEND:VEVENT\r\n";
            },
            "END:VCALENDAR\r\n");
    return sized("Date,HomeTeam,AwayTeam,FTHG,FTAG\n",
                 [&](int i) -> QByteArray {
                     return QDate(1950, 1, 1).addDays(i / 10).toString(u"dd/MM/yyyy"_s).toLatin1() + ',' +
                            pair(i, ",Team ") + ",3,2\n";
                 },
                 {});
}

} // namespace

int main(int argc, char** argv)
{
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"csv"_s;
    const QByteArray bytes = source(kind);
    QStringList teams;
    for (int t = 1; t <= 20; ++t)
        teams << u"Team %1"_s.arg(t);
    const Result<SeasonStore> made =
        makeLeague({u"Liga"_s, u"2025/2026"_s, teams, {}, 2, QDate(2025, 9, 1), {2, 6}, {}, {}, {}});
    if (!made.ok()) {
        std::printf("league refused: %s\n", qPrintable(made.error()));
        return 1;
    }
    const SeasonStore& league = made.value();
    QElapsedTimer clock;
    clock.start();
    const Result<ImportSource> read = readImportSource(bytes, u"bench"_s);
    const qint64 reading = clock.elapsed();
    rusage afterReading{};
    getrusage(RUSAGE_SELF, &afterReading);
    std::printf("%s: peak memory after reading %ld MB, %zu bytes a line\n", qPrintable(kind),
                afterReading.ru_maxrss / 1024, sizeof(ImportLine));
    qint64 planning = 0;
    if (read.ok()) {
        const Result<ImportPlan> plan =
            planImport(league, read.value(), matchTeams(read.value(), league.teamNames(), {}));
        planning = clock.elapsed() - reading;
        std::printf("%s: %lld lines, plan %s\n", qPrintable(kind), static_cast<long long>(read.value().lines.size()),
                    plan.ok() ? "made" : qPrintable(plan.error().left(80)));
    } else {
        std::printf("%s refused: %s\n", qPrintable(kind), qPrintable(read.error()));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s, %.1f MB: read %lld ms, planned %lld ms, peak memory %ld MB\n", qPrintable(kind),
                static_cast<double>(bytes.size()) / 1048576, static_cast<long long>(reading),
                static_cast<long long>(planning), usage.ru_maxrss / 1024);
    return 0;
}
