// SPDX-License-Identifier: MIT
#include "journal.h"

#include "datafiles.h"
#include "notation.h"

#include <QFile>
#include <map>
#include <unistd.h>

using namespace Qt::StringLiterals;

RecoveryJournal::RecoveryJournal(const QString& schedulePath) : m_path(schedulePath + u".obnova"_s) {}

bool RecoveryJournal::record(const JournalEntry& e) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = QStringLiteral("%1;%2;%3;%4;%5\n")
                                .arg(e.round)
                                .arg(e.slot)
                                .arg(e.match.home)
                                .arg(e.match.away)
                                .arg(e.match.result)
                                .toUtf8();
    return file.write(line) == line.size() && file.flush() && ::fdatasync(file.handle()) == 0;
}

QList<JournalEntry> RecoveryJournal::unsaved(const SeasonStore& store) const
{
    const Result<QByteArray> bytes = readDataFile(m_path);
    if (!bytes.ok())
        return {};
    std::map<std::pair<int, int>, JournalEntry> last;
    QList<QByteArray> lines = bytes.value().split('\n');
    lines.removeLast(); // empty, or a line the crash cut short
    for (const QByteArray& line : lines) {
        const QStringList f = QString::fromUtf8(line).split(u';');
        if (f.size() != 5)
            continue;
        const auto inRange = [](const QString& text, int high) {
            const int n = text.toInt();
            return n >= 1 && n <= high ? n : 0;
        };
        const JournalEntry e{inRange(f[0], kRounds), inRange(f[1], kSlots),
                             Match{inRange(f[2], kTeams), inRange(f[3], kTeams), f[4]}};
        if (e.round == 0 || e.slot == 0 || e.match.home == 0 || e.match.away == 0 || !isAcceptedResult(e.match.result))
            continue;
        last[{e.round, e.slot}] = e;
    }
    QList<JournalEntry> differing;
    for (const auto& [where, e] : last) {
        const Match& now = store.match(e.slot, e.round);
        // A schedule replaced meanwhile (an update) may pair other teams in the slot now.
        const bool samePairing = (now.home == e.match.home && now.away == e.match.away) ||
                                 (now.home == e.match.away && now.away == e.match.home);
        if (samePairing && now != e.match)
            differing << e;
    }
    return differing;
}

void RecoveryJournal::restore(SeasonStore& store, const QList<JournalEntry>& entries)
{
    for (const JournalEntry& e : entries)
        store.match(e.slot, e.round) = e.match;
}

void RecoveryJournal::clear() const
{
    QFile::remove(m_path);
}
