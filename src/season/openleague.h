// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"
#include "season/adjustments.h"
#include "season/datafiles.h"

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
    Result<void> saveAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when);

private:
    Result<void> afterLocking(Result<void> locked);

    QString m_competitionPath;
    QString m_schedulePath;
    std::unique_ptr<LeagueLock> m_lock;
    bool m_locked = false;
    QByteArray m_fingerprint; // of the schedule as last read or written here
    bool m_scheduleBackedUp = false;
    bool m_adjustmentsBackedUp = false;
};
