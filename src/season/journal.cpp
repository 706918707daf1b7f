// SPDX-License-Identifier: MIT
#include "journal.h"

#include "datafiles.h"
#include "leaguefiles.h"
#include "notation.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <unistd.h>

using namespace Qt::StringLiterals;

RecoveryJournal::RecoveryJournal(const QString& schedulePath) : m_path(journalFileFor(schedulePath)) {}

Result<void> RecoveryJournal::record(const JournalEntry& e) const
{
    const auto cannot = [this](int reason) {
        return Result<void>::failure(
            u"Záznam „%1“ nelze zapsat: %2."_s.arg(QFileInfo(m_path).fileName(), czechFileReason(reason)));
    };
    const Match base = e.base.value_or(Match{});
    const QByteArray line = QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8\n")
                                .arg(e.round)
                                .arg(e.slot)
                                .arg(e.match.home)
                                .arg(e.match.away)
                                .arg(e.match.result)
                                .arg(base.home)
                                .arg(base.away)
                                .arg(base.result)
                                .toUtf8();
    // Never through a link: the journal is the program's own file, not whatever a link points to.
    const int fd =
        ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return cannot(errno);
    const off_t before = ::lseek(fd, 0, SEEK_END);
    qsizetype done = 0;
    ssize_t n = 0;
    while (done < line.size() && (n = ::write(fd, line.constData() + done, line.size() - done)) > 0)
        done += n; // a short write is followed by the one that says why
    const bool written = done == line.size() && syncError(::fdatasync(fd)) == 0;
    const int reason = errno;
    if (!written && before >= 0 && ::ftruncate(fd, before) != 0) {
        // Half a line stays; the next record starts a line of its own all the same.
        const char newline = '\n';
        [[maybe_unused]] const ssize_t ignored = ::write(fd, &newline, 1);
    }
    ::close(fd);
    return written ? Result<void>() : cannot(reason);
}

QList<JournalEntry> RecoveryJournal::unsaved(const SeasonStore& store) const
{
    if (QFileInfo(m_path).isSymLink())
        return {};
    const Result<QByteArray> bytes = readDataFile(m_path);
    if (!bytes.ok())
        return {};
    std::map<std::pair<int, int>, JournalEntry> last;
    QList<QByteArray> lines = bytes.value().split('\n');
    lines.removeLast(); // empty, or a line the crash cut short
    for (const QByteArray& line : lines) {
        const QStringList f = QString::fromUtf8(line).split(u';');
        if (f.size() != 5 && f.size() != 8) // 5: written before the file's result was kept beside it
            continue;
        const auto inRange = [](const QString& text, int high) {
            const int n = text.toInt();
            return n >= 1 && n <= high ? n : 0;
        };
        // A league whose shape changed since (an update) has no place for a record beyond it.
        JournalEntry e{inRange(f[0], store.rounds()), inRange(f[1], store.slots()),
                       Match{inRange(f[2], store.teams()), inRange(f[3], store.teams()), f[4]}, std::nullopt};
        if (e.round == 0 || e.slot == 0 || e.match.home == 0 || e.match.away == 0 || !isAcceptedResult(e.match.result))
            continue;
        if (f.size() == 8) {
            const Match base{inRange(f[5], store.teams()), inRange(f[6], store.teams()), f[7]};
            if (!isAcceptedResult(base.result))
                continue;
            if (base.home != 0 && base.away != 0)
                e.base = base;
        }
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

bool RecoveryJournal::conflicts(const JournalEntry& e, const SeasonStore& store)
{
    return e.base && *e.base != store.match(e.slot, e.round);
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
