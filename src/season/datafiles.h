// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>

class QLockFile;

// No data file of the program comes near this; anything larger is not one.
inline constexpr qint64 kMaxDataFileBytes = 16 * 1024 * 1024;

// The bytes of a data file, or the Czech reason it cannot be read. Only regular files up to
// kMaxDataFileBytes are read, so a FIFO or a device never hangs the program or fills its memory.
Result<QByteArray> readDataFile(const QString& path);

// Replaces the file completely or leaves it as it was, else says why in Czech. The last buffered write is
// flushed before the commit, so a full disk or a size limit is never missed.
Result<void> writeFileAtomically(const QString& path, const QByteArray& bytes);

// Copies the file into "zaloha" beside it, named after it with the time: the copy's path, empty when
// there is no file to copy, or the Czech reason.
Result<QString> backupFile(const QString& path, const QDateTime& when);
// Keeps the newest kKeptBackups copies of the file, once the save they guard has succeeded.
inline constexpr int kKeptBackups = 20;
void pruneBackups(const QString& path);
QString backupFolderOf(const QString& path);

// writeFileAtomically, with `backUp` after a copy of the file as it was; the copy is kept only when the
// write succeeds.
Result<void> saveDataFile(const QString& path, const QByteArray& bytes, const QDateTime& when, bool backUp);

// Temporary files an interrupted save of this program left beside the file; never a file of the user's.
void removeLeftoverTemporaries(const QString& path);

// 0, or the errno of a sync (fsync, fdatasync) the disk refused; a file system that cannot sync at all
// (EINVAL, ENOTSUP) is no failure.
int syncError(int syncResult);

// The Czech text for an errno value of a failed file operation.
QString czechFileReason(int errnoValue);

// One writer per league: the lock file beside the schedule. Held while the league is open in the
// desktop program or while the CLI writes; a lock left by a program that died is taken over.
class LeagueLock final {
public:
    explicit LeagueLock(const QString& schedulePath);
    ~LeagueLock();
    LeagueLock(const LeagueLock&) = delete;
    LeagueLock& operator=(const LeagueLock&) = delete;

    // Held now, or the Czech message for the user. An empty or unreadable lock
    // file, or one whose program has ended on this computer, is taken over.
    Result<void> acquire(int waitMs = 0);
    // After a refusal: the computer named in the lock when it is another one, whose process nobody
    // here can see; empty otherwise.
    const QString& otherComputer() const { return m_otherComputer; }
    // Takes the lock from that other computer, which the user has confirmed runs no program on it.
    Result<void> takeOver();

private:
    bool removeUnreadableLock();
    bool removeDeadRemovalLock();

    QString m_otherComputer;
    QString m_schedulePath;
    std::unique_ptr<QLockFile> m_lock;
};
