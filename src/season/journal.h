// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"
#include "seasonstore.h"

#include <QList>
#include <QString>
#include <optional>

// A match as the user left it: round, slot and what the slot holds.
struct JournalEntry {
    int round = 0;
    int slot = 0;
    Match match;
    // What the file held in the slot when the change was typed; unknown in an older program's journal.
    std::optional<Match> base;
    bool operator==(const JournalEntry&) const = default;
};

// Every change the user makes to the open league, appended at once beside the schedule until the
// league is saved, so that a crash or a power cut loses no typed result.
class RecoveryJournal final {
public:
    explicit RecoveryJournal(const QString& schedulePath);
    const QString& path() const { return m_path; }

    // Appends one line, flushed and synced to the disk, or says why in Czech. A journal that is a link
    // is never written through.
    Result<void> record(const JournalEntry& entry) const;
    // The last record of each slot that still differs from the store and fits its pairing (either way
    // round); lines a crash cut short are skipped, and so is a journal that is a link.
    QList<JournalEntry> unsaved(const SeasonStore& store) const;
    // Whether the slot changed in the file since the entry was typed: another program wrote it meanwhile.
    static bool conflicts(const JournalEntry& entry, const SeasonStore& store);
    // Puts the entries into the store exactly as they were typed.
    static void restore(SeasonStore& store, const QList<JournalEntry>& entries);
    // After a save, or when the user gives up what was not saved.
    void clear() const;

private:
    QString m_path;
};
