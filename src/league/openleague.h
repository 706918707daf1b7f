// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"
#include "playoff/playoff.h"
#include "season/adjustments.h"
#include "season/datafiles.h"
#include "season/journal.h"

#include <QDateTime>
#include <QObject>
#include <map>
#include <memory>
#include <optional>

// One league opened for writing, by the window or by a command: its lock, what was read from disk, the
// season as it stands, its recovery journal and "Co kdyby", and every save, with one backup rule — the
// first save of each file in each opening keeps a copy of the file as it was. Its rules: every change
// of the real season is journalled at once; a hypothetical season is never written.
class OpenLeague final : public QObject {
    Q_OBJECT
public:
    // A command that saves at once keeps no journal; a window, where typing goes on for long, does.
    enum class Journalling { On, Off };
    explicit OpenLeague(const QString& competitionPath, Journalling journalling = Journalling::On);

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

    // Both files and the adjustments, as readLeague reads them, into season(); remembers the schedule as
    // it is on disk, and leaves "Co kdyby".
    Result<ReadLeague> read();

    // The season as it stands: as read, changed since, or hypothetical in "Co kdyby".
    const SeasonStore& season() const { return m_season; }
    // Sets a slot's match, as typed or swapped; the journal's failure is returned, the change stands.
    Result<void> setMatch(int round, int slot, const Match& match);
    // Home and away of a slot change places, its result with them as typed.
    Result<void> swapPairing(int round, int slot);
    // Several matches at once (a round left, an import, an update): journalled each, one seasonChanged.
    struct MatchChange {
        int round = 0, slot = 0;
        Match match;
    };
    Result<void> apply(const QList<MatchChange>& changes);
    // Results into their slots, the pairings as they stand.
    Result<void> applyResults(const QList<SlotResult>& results);
    // A match without a result to round `toRound`: it changes places with the match of that round whose
    // teams then play no team twice in either round (for an even league, the same pair's other meeting).
    Result<void> moveMatch(int round, int slot, int toRound);
    // The slot of `toRound` whose match moveMatch would swap in, or why there is none.
    Result<int> swapPartner(int round, int slot, int toRound) const;
    // The team's new name, written at once into the competition file (a copy of it kept first).
    Result<void> renameTeam(int team, const QString& name, const QDateTime& when);
    // Puts changes a crash left unsaved back into the season.
    void restore(const QList<JournalEntry>& entries);
    // The match's own date and time, or postponed, or (nothing given) back on its round's date; saved at once
    // into the league's dates file (the file as it was kept first).
    Result<void> setMatchDate(int round, int slot, const std::optional<MatchDate>& date, const QDateTime& when);
    // Several at once, in one write (an import's).
    Result<void> setMatchDates(const QMap<std::pair<int, int>, std::optional<MatchDate>>& dates, const QDateTime& when);
    // Saved: the season counts them at once.
    Result<void> setAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when);

    // The league's play-off as read and entered since (with "Co kdyby" games in that mode); none without a
    // play-off file, or when its file was refused: playoffProblem() then says why, in Czech.
    const std::optional<Playoff>& playoff() const { return m_playoff; }
    const QString& playoffProblem() const { return m_playoffProblem; }
    // A game of a series, checked against the bracket and saved at once (the file as it was kept first); in
    // "Co kdyby" it counts and is never written.
    Result<void> addPlayoffGame(const PlayoffGame& game, const QDateTime& when);
    // Removes the last game of a series, saved at once like a game added.
    Result<void> removePlayoffGame(int stage, int home, int away, const QDateTime& when);
    // The day (and time) of a series' next game, in place of the one it had; saved at once like a game.
    Result<void> planPlayoffGame(const PlannedGame& game, const QDateTime& when);
    // Writes the play-off of these stages, where the league has none yet; a stage the reader would refuse
    // is refused by its row, and nothing written.
    Result<void> createPlayoff(const QList<StageRow>& stages, const QDateTime& when);

    // "Co kdyby": changes meanwhile count in the season but are neither journalled nor written; leaving
    // the mode brings the real season back.
    bool whatIf() const { return m_real.has_value(); }
    void setWhatIf(bool on);
    // Whether "Co kdyby" holds results the real season does not.
    bool hypotheticalChanges() const;
    // Whether another program has changed the schedule since it was read or saved here.
    bool changedOnDisk() const;
    // The season as it stands, never a hypothetical one. A file another program changed since it was read
    // or saved here is not overwritten unless told: the failure then has the code kChangedOnDisk.
    static constexpr int kChangedOnDisk = 3;
    enum class Changes { Keep, Overwrite };
    Result<void> save(const QDateTime& when, Changes otherProgram = Changes::Keep);
    // A season a command read, changed and saves in one go; the adjustments alone.
    Result<void> save(const SeasonStore& season, const QDateTime& when);
    Result<void> saveAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when);

    // Journals a change as it is typed, with what the file holds in the slot, so that a crash loses nothing
    // and a recovery can tell a change from one another program made meanwhile. Nothing is written for a
    // match the journal or the season holds already, nor in "Co kdyby".
    Result<void> journal(int round, int slot, const Match& typed);
    // What a crash left unsaved in the journal, against the league as read.
    QList<JournalEntry> unsavedChanges() const { return m_journal.unsaved(m_onDisk); }
    // After a save, or when the user gives up what was not saved.
    void clearJournal();

Q_SIGNALS:
    // The season counts other results or points now: read again, changed, restored, in or out of "Co kdyby".
    void seasonChanged();

private:
    Result<void> afterLocking(Result<void> locked);
    void readPlayoffFile();
    Result<void> setPlayoff(Playoff with, const QDateTime& when);

    QString m_competitionPath;
    QString m_schedulePath;
    std::unique_ptr<LeagueLock> m_lock;
    bool m_locked = false;
    QByteArray m_fingerprint; // of the schedule as last read or written here
    SeasonStore m_onDisk;     // the same, read
    SeasonStore m_season;
    std::optional<SeasonStore> m_real; // while "Co kdyby" holds hypothetical results in m_season
    RecoveryJournal m_journal;
    Journalling m_journalling;
    std::map<std::pair<int, int>, Match> m_journalled; // the last record of each slot since it was cleared
    bool m_scheduleBackedUp = false;
    bool m_adjustmentsBackedUp = false;
    bool m_datesBackedUp = false;
    bool m_competitionBackedUp = false;
    std::optional<Playoff> m_playoff;
    std::optional<Playoff> m_realPlayoff; // while "Co kdyby" may hold hypothetical games
    QString m_playoffProblem;
    bool m_playoffBackedUp = false;
};
