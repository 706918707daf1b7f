// SPDX-License-Identifier: MIT
#include "openleague.h"

#include "season/seasonfile.h"

#include <QCryptographicHash>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QByteArray fingerprint(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

OpenLeague::OpenLeague(const QString& competitionPath, Journalling journalling)
    : m_competitionPath(competitionPath), m_schedulePath(scheduleFileFor(competitionPath)),
      m_lock(std::make_unique<LeagueLock>(m_schedulePath)), m_journal(m_schedulePath), m_journalling(journalling)
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
        m_onDisk = m_season = league.value().store;
        m_real.reset();
        Q_EMIT seasonChanged();
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

Result<void> OpenLeague::save(const QDateTime& when, Changes otherProgram)
{
    if (otherProgram == Changes::Keep && changedOnDisk())
        return Result<void>::failure(
            u"Soubor „%1“ se od načtení změnil, upravil jej jiný program."_s.arg(QFileInfo(m_schedulePath).fileName()),
            kChangedOnDisk);
    return save(m_season, when);
}

Result<void> OpenLeague::journal(int round, int slot, const Match& typed)
{
    const auto known = m_journalled.find({round, slot});
    if (m_journalling == Journalling::Off || whatIf() ||
        typed == (known != m_journalled.end() ? known->second : m_season.match(slot, round)))
        return {};
    m_journalled[{round, slot}] = typed;
    return m_journal.record({round, slot, typed, m_onDisk.match(slot, round)});
}

void OpenLeague::clearJournal()
{
    m_journal.clear();
    m_journalled.clear();
}

Result<void> OpenLeague::setMatch(int round, int slot, const Match& match)
{
    return apply({{round, slot, match}});
}

Result<void> OpenLeague::swapPairing(int round, int slot)
{
    const Match& m = m_season.match(slot, round);
    return setMatch(round, slot, {m.away, m.home, m.result});
}

Result<void> OpenLeague::apply(const QList<MatchChange>& changes)
{
    Result<void> journalled;
    bool changed = false;
    for (const MatchChange& c : changes) {
        if (m_season.match(c.slot, c.round) == c.match)
            continue;
        if (Result<void> recorded = journal(c.round, c.slot, c.match); journalled.ok())
            journalled = std::move(recorded); // the first failure says why; later records are still tried
        m_season.match(c.slot, c.round) = c.match;
        changed = true;
    }
    if (changed)
        Q_EMIT seasonChanged();
    return journalled;
}

void OpenLeague::restore(const QList<JournalEntry>& entries)
{
    RecoveryJournal::restore(m_season, entries);
    if (!entries.isEmpty())
        Q_EMIT seasonChanged();
}

Result<void> OpenLeague::setAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when)
{
    if (whatIf())
        return Result<void>::failure(u"V režimu „Co kdyby“ se nic neukládá, ani úpravy bodů."_s);
    Result<void> saved = saveAdjustments(adjustments, when);
    if (saved.ok()) {
        m_season.adjustments = adjustments;
        Q_EMIT seasonChanged();
    }
    return saved;
}

void OpenLeague::setWhatIf(bool on)
{
    if (on == whatIf())
        return;
    if (on) {
        m_real = m_season;
        m_season.hypothetical = true;
    } else {
        m_season = *std::exchange(m_real, std::nullopt);
    }
    Q_EMIT seasonChanged();
}

bool OpenLeague::hypotheticalChanges() const
{
    if (!m_real)
        return false;
    SeasonStore asReal = m_season;
    asReal.hypothetical = false;
    return asReal != *m_real;
}

Result<void> OpenLeague::saveAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when)
{
    const Result<void> saved = saveDataFile(adjustmentsFileFor(m_competitionPath), adjustmentsBytes(adjustments), when,
                                            !m_adjustmentsBackedUp);
    m_adjustmentsBackedUp = m_adjustmentsBackedUp || saved.ok();
    return saved;
}
