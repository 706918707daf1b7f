// SPDX-License-Identifier: MIT
#pragma once

#include "seasonstore.h"

#include <QList>
#include <QString>

// A match as the user left it: round, slot and what the slot holds.
struct JournalEntry {
    int round = 0;
    int slot = 0;
    Match match;
    bool operator==(const JournalEntry&) const = default;
};

// Every change the user makes to the open league, appended at once beside the schedule until the
// league is saved, so that a crash or a power cut loses no typed result.
class RecoveryJournal final {
public:
    explicit RecoveryJournal(const QString& schedulePath);
    const QString& path() const { return m_path; }

    // Appends one line, flushed and synced to the disk; false when it could not be written.
    bool record(const JournalEntry& entry) const;
    // The last record of each slot that still differs from the store and fits its pairing (either way
    // round); lines a crash cut short are skipped.
    QList<JournalEntry> unsaved(const SeasonStore& store) const;
    // Puts the entries into the store exactly as they were typed.
    static void restore(SeasonStore& store, const QList<JournalEntry>& entries);
    // After a save, or when the user gives up what was not saved.
    void clear() const;

private:
    QString m_path;
};
