// SPDX-License-Identifier: MIT
#include "season/seasonfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Result<SeasonStore> read =
        readCompetition(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                        QStringLiteral("sezona_fuzz.txt"));
    // Whatever was accepted must name every team at most once.
    if (read.ok()) {
        const SeasonStore& store = read.value();
        for (int t = 1; t <= kTeams; ++t) {
            const QString name = store.TymPodleCisla(t);
            if (!name.isEmpty() && store.CisloPodleTymu(name) != t)
                __builtin_trap();
        }
    }
    return 0;
}
