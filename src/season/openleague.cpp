// SPDX-License-Identifier: MIT
#include "openleague.h"

#include "season/seasonfile.h"

#include <QCryptographicHash>

using namespace Qt::StringLiterals;

namespace {

QByteArray fingerprint(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

OpenLeague::OpenLeague(const QString& competitionPath)
    : m_competitionPath(competitionPath), m_schedulePath(scheduleFileFor(competitionPath)),
      m_lock(std::make_unique<LeagueLock>(m_schedulePath)), m_journal(m_schedulePath)
{
}

Result<void> OpenLeague::lock(int waitMs)
{
    return afterLocking(m_lock->acquire(waitMs));
}

const QString& OpenLeague::otherComputer() const
{
    return m_lock->otherComputer();
}

Result<void> OpenLeague::takeOver()
{
    return afterLocking(m_lock->takeOver());
}

Result<void> OpenLeague::afterLocking(Result<void> locked)
{
    m_locked = locked.ok();
    if (m_locked)
        removeLeftoverTemporaries(m_schedulePath);
    return locked;
}

void OpenLeague::unlock()
{
    m_lock = std::make_unique<LeagueLock>(m_schedulePath);
    m_locked = false;
}

Result<ReadLeague> OpenLeague::read()
{
    Result<ReadLeague> league = readLeague(m_competitionPath);
    if (league.ok()) {
        m_fingerprint = fingerprint(readDataFile(m_schedulePath).valueOr({}));
        m_onDisk = league.value().store;
    }
    return league;
}

bool OpenLeague::changedOnDisk() const
{
    const Result<QByteArray> onDisk = readDataFile(m_schedulePath);
    return onDisk.ok() && fingerprint(onDisk.value()) != m_fingerprint;
}

Result<void> OpenLeague::save(const SeasonStore& season, const QDateTime& when)
{
    if (season.hypothetical)
        return Result<void>::failure(u"Výsledky režimu „Co kdyby“ se neukládají."_s);
    const QByteArray bytes = scheduleBytes(season);
    const Result<void> saved = saveDataFile(m_schedulePath, bytes, when, !m_scheduleBackedUp);
    // A save that failed only after the rename has still put the file there: it is no other program's change.
    if (saved.ok() || readDataFile(m_schedulePath).valueOr({}) == bytes) {
        m_scheduleBackedUp = true;
        m_fingerprint = fingerprint(bytes);
        m_onDisk = season;
    }
    return saved;
}

Result<void> OpenLeague::journal(int round, int slot, const Match& typed)
{
    return m_journal.record({round, slot, typed, m_onDisk.match(slot, round)});
}

Result<void> OpenLeague::saveAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when)
{
    const Result<void> saved = saveDataFile(adjustmentsFileFor(m_competitionPath), adjustmentsBytes(adjustments), when,
                                            !m_adjustmentsBackedUp);
    m_adjustmentsBackedUp = m_adjustmentsBackedUp || saved.ok();
    return saved;
}
