// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"
#include "season/adjustments.h"
#include "season/datafiles.h"
#include "season/journal.h"

#include <QDateTime>
#include <memory>

// One league opened for writing, by the window or by a command: its lock, what was read from disk, and
// every save, with one backup rule — the first save of each file in each opening keeps a copy of the
// file as it was.
class OpenLeague final {
public:
    explicit OpenLeague(const QString& competitionPath);

    const QString& competitionPath() const { return m_competitionPath; }
    const QString& schedulePath() const { return m_schedulePath; }

    // Takes the league's lock, waiting up to waitMs, and clears what an interrupted save left behind.
    Result<void> lock(int waitMs = 0);
    // After a refused lock: the other computer named in it, whose program nobody here can see; else empty.
    const QString& otherComputer() const;
    // Takes the lock from that computer, which the user has confirmed runs no program on it.
    Result<void> takeOver();
    bool locked() const { return m_locked; }
    // Lets another window or command open the league.
    void unlock();

    // Both files and the adjustments, as readLeague reads them; remembers the schedule as it is on disk.
    Result<ReadLeague> read();
    // Whether another program has changed the schedule since it was read or saved here.
    bool changedOnDisk() const;
    Result<void> save(const SeasonStore& season, const QDateTime& when);

    // Journals a change as it is typed, with what the file holds in the slot, so that a crash loses nothing
    // and a recovery can tell a change from one another program made meanwhile.
    Result<void> journal(int round, int slot, const Match& typed);
    // What a crash left unsaved in the journal, against the league as read.
    QList<JournalEntry> unsavedChanges() const { return m_journal.unsaved(m_onDisk); }
    // After a save, or when the user gives up what was not saved.
    void clearJournal() const { m_journal.clear(); }
    Result<void> saveAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when);

private:
    Result<void> afterLocking(Result<void> locked);

    QString m_competitionPath;
    QString m_schedulePath;
    std::unique_ptr<LeagueLock> m_lock;
    bool m_locked = false;
    QByteArray m_fingerprint; // of the schedule as last read or written here
    SeasonStore m_onDisk;     // the same, read
    RecoveryJournal m_journal;
    bool m_scheduleBackedUp = false;
    bool m_adjustmentsBackedUp = false;
};
