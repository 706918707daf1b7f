// SPDX-License-Identifier: MIT
#include "season/seasonfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SeasonStore store;
    for (int t = 1; t <= kTeams; ++t)
        store.setTeamName(t, QStringLiteral("T%1").arg(t));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Result<SeasonStore> read = readSchedule(bytes, QStringLiteral("los_fuzz.txt"), store);
    if (!read.ok())
        return 0;
    // An accepted schedule must survive writing and reading back unchanged.
    const Result<SeasonStore> again = readSchedule(scheduleBytes(read.value()), QStringLiteral("los_fuzz.txt"), store);
    if (!again.ok() || !(again.value() == read.value()))
        __builtin_trap();
    return 0;
}
