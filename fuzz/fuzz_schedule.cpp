// SPDX-License-Identifier: MIT
#include "season/seasonfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SeasonStore store;
    for (int t = 1; t <= kTeams; ++t)
        store.setTeamName(t, QStringLiteral("T%1").arg(t));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!readSchedule(bytes, QStringLiteral("los_fuzz.txt"), store).isEmpty())
        return 0;
    // An accepted schedule must survive writing and reading back unchanged.
    SeasonStore again;
    for (int t = 1; t <= kTeams; ++t)
        again.setTeamName(t, store.TymPodleCisla(t));
    if (!readSchedule(scheduleBytes(store), QStringLiteral("los_fuzz.txt"), again).isEmpty() || !(again == store))
        __builtin_trap();
    return 0;
}
