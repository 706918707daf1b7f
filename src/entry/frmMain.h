// SPDX-License-Identifier: MIT
#pragma once

#include "league/openleague.h"
#include "lookups/lookups.h"
#include "online/frmUpdate.h"
#include "season/journal.h"
#include "season/seasonstore.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QDialog;
class QFormLayout;
class QRadioButton;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class LeagueLock;
class frmPlayoff;

// The round entry screen: one round in a row for each of its matches, the main menu, and the season while the league is
// open.
class frmMain final : public QMainWindow, public UpdatedLeague {
    Q_OBJECT
public:
    frmMain(const QString& otvirany_sezona, const QString& otvirany_los);
    ~frmMain() override;

    // Locks the league and reads both files (again); fails with the Czech message of a refused file or of
    // a league another program writes, the season untouched then.
    Result<void> Form_Load();
    const SeasonStore& season() const { return m_league.season(); }
    const QString& competitionPath() const { return m_competitionPath; }
    int shownRound() const { return m_shownRound; }

    // Reads the files again after a data update and shows the same round.
    void reloadSeason();
    // Stores what the rows show, typed input normalised, into the season.
    void storeDisplayedRound();
    // Writes the schedule file; tells the user and returns false when it cannot be written.
    bool writeSeason();

    // UpdatedLeague
    bool saveBeforeUpdate() override;
    void reloadAfterUpdate() override { reloadSeason(); }
    QString schedulePath() const override { return m_schedulePath; }

    // "Co kdyby": results typed meanwhile count in every view but are never written; leaving the mode
    // drops them.
    bool whatIf() const { return m_league.whatIf(); }
    void toggleWhatIf();

Q_SIGNALS:
    // The league is saved and left ("Jiná liga"): the picker is to be shown.
    void otherLeagueRequested();
    // The league is left for this one, made meanwhile.
    void leagueChosen(const QString& competitionPath);
    // A result or a pairing of the season changed (typed, swapped, read again, or the mode left).
    void seasonChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // What a result field does with a key, a focus change or a shortcut; true when it took the event.
    bool resultFieldEvent(int row, QEvent* event);
    void closeEvent(QCloseEvent* event) override;

private:
    void buildRows();
    void buildSlot(QGridLayout* grid, QWidget* frame, int i);
    void buildMenu();
    void createPlayoff();
    // "Přesunout zápas…": a date and time of its own, postponed, back on its round's date, or a swap of rounds.
    struct MoveChoices {
        QRadioButton *day = nullptr, *postponed = nullptr, *roundDay = nullptr, *swap = nullptr;
        QLineEdit *date = nullptr, *time = nullptr;
        QComboBox* rounds = nullptr;
    };
    MoveChoices addMoveChoices(QDialog* dialog, QFormLayout* form, int round, int slot);
    // The bracket's window, one for the league, with the main window's shortcuts.
    void showPlayoff();
    void saveLeagueCalendar();
    // "Nová liga…", which then opens the league it writes.
    void newLeague();
    void buildTableMenu(QMenu* parent);
    void buildSearchMenu(QMenu* parent);
    void openAdjustments();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                        std::function<void()> run);
    void onRoundSelected(int index);
    void cboKolo_Click();
    void onResultEdited(int row);
    // Tells the user once that typing goes on without crash protection, and why.
    void reportJournal(const Result<void>& recorded);
    // A text that makes no result stays in the field, marked, and says why in its tooltip.
    void markTypo(int row, bool typo, const QString& refusal = {});
    void swapRow(int row);
    void colourDashes();
    bool swapMode() const { return m_shiftHeld && m_ctrlHeld; }
    void pageBy(int delta);

    // A view opened from the window: marked while "Co kdyby" holds, and when it is gone the keyboard is
    // back in the first result field.
    void followView(QWidget* view);
    void openBalance(int team);
    void openHeadToHead(int row);
    void showMissingResults();
    void showMatchList(const MissingResults& lines, const QString& title, const QString& none);
    void showCalendar();
    void showTips();
    void showAbout();
    // Leaves the league for the picker, or for the league `to`.
    void switchLeague(const QString& to = {});
    // "Přesunout zápas…" of a row, "Přejmenovat tým…".
    void moveMatch(int row);
    void renameTeam();
    void importMatches(bool fromClipboard);
    // The league as saved, what was typed or imported since given up.
    void readAgain();
    void endProgram();

    // Why a save did not happen: a write that failed (with the reason) or the user's own choice.
    struct SaveAttempt {
        bool saved = false;
        QString error;
    };
    SaveAttempt trySave();
    enum class Leaving { Saved, WithoutSaving, Stay };
    // Saves before the league is left; when that fails the user may try again, stay, or leave without saving.
    Leaving saveForLeaving();
    // The lock, taken over from another computer when the user confirms nobody works there; else the message.
    Result<void> lockLeague();
    // Offers the results a crash left unsaved in the journal.
    void offerRecovery();
    // Leaves "Co kdyby" before the season is saved or read again.
    void dropWhatIf();
    void showWhatIfState();

    // Controls, found by their object names in the tests.
    QComboBox* cboKolo = nullptr;
    // Rows for the largest league; a round of the open one shows its first slots().
    std::array<QLabel*, kMaxSlots> Hteam{};
    std::array<QLabel*, kMaxSlots> dash{};
    std::array<QLabel*, kMaxSlots> Ateam{};
    std::array<QLineEdit*, kMaxSlots> result{};
    QLabel* lblVolno = nullptr; // the team an odd league rests in the round
    QLabel* PIC = nullptr;
    QLabel* lblTypo = nullptr;
    QTimer m_typoTimer;

    QString m_competitionPath;
    QString m_schedulePath;
    std::array<int, kMaxSlots> m_home{};
    std::array<int, kMaxSlots> m_away{};
    int m_shownRound = 0;
    // After the regular season's rounds, the round list's play-off entries: a stage and its game number each.
    struct PlayoffEntry {
        int stage = 0;
        int game = 0;
    };
    QList<PlayoffEntry> m_playoffEntries;
    std::array<int, kMaxSlots> m_playoffRow{};       // the series whose game a row takes; -1 for a row shown only
    std::array<QString, kMaxSlots> m_playoffRefused; // the text a row's game was last refused for, said once
    bool showingPlayoff() const { return m_shownRound > m_season.rounds(); }
    void addPlayoffEntries();
    void showPlayoffEntry();
    void storePlayoffEntry();
    bool m_shiftHeld = false;
    bool m_ctrlHeld = false;
    bool m_switching = false;
    QAction* m_calendar = nullptr;
    // The league shown: its lock, season, journal, "Co kdyby" and saves; the window changes it only
    // through it.
    OpenLeague m_league;
    const SeasonStore& m_season = m_league.season();
    bool m_journalWarned = false;
    QPointer<frmPlayoff> m_playoffWindow;
};
