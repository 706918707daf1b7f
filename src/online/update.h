// SPDX-License-Identifier: MIT
#pragma once

#include "common/fetch.h"
#include "season/seasonstore.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

// What the data update needs from the window (or the command line) that runs it.
class UpdateSurroundings {
public:
    virtual ~UpdateSurroundings() = default;
    // GET of a path under the update site, e.g. "/velmor/update/newest.dat", given up after deadlineMs;
    // `done` gets the result later, from the event loop, never before fetch returns.
    virtual void fetch(const QString& path, int deadlineMs, std::function<void(const FetchResult&)> done) = 0;
    virtual void status(const QString& text) = 0;
    virtual void progress(int done, int total) = 0;
    // Calls `done` after the pause, from the event loop (at once where nobody watches).
    virtual void pause(int milliseconds, std::function<void()> done) = 0;
    virtual bool askYesNo(const QString& text, bool questionIcon, const QString& title) = 0;
    virtual void tellError(const QString& text, const QString& title) = 0;
    // The server has other results than the user for these matches: true takes the server's.
    virtual bool takeServerResults(const QStringList& conflicts) = 0;
    virtual void openHomePage() = 0;
    virtual void beep() = 0;
    // The time the backups of the replaced files are named after.
    virtual QDateTime now() const = 0;
    // The user asked to stop; nothing is installed after that.
    virtual bool cancelled() const { return false; }
};

// The address of a file of the update site: the site's own path, then the file's ("/velmor/update/…").
QUrl updateAddress(const QUrl& site, const QString& path);

enum class UpdateOutcome { Finished, NothingToDo, Failed, Cancelled };

// Version text without its dots, e.g. "341".
QString compactVersion(const QString& version);
// Textual comparison, as the program has always made it: 3.10.0 is not newer than 3.9.0.
bool isNewerVersion(const QString& serverVersion, const QString& localVersion);

struct UpdateList {
    QString dataDate;
    QStringList files;
};
// The update list, or nothing when it lacks the "VELMOR_UPDATE" marker.
std::optional<UpdateList> parseUpdateList(const QByteArray& body);

// A bare file name: no folder, drive, "..", or control character may lead a write out of "souteze".
bool isPlainFileName(const QString& name);

// A match for which the user and the server have different results.
struct ResultConflict {
    int round = 0;
    int slot = 0; // in the downloaded schedule
    QString mine;
    QString server;
};
// Puts into `downloaded` the results that only `local` has (same round, home and away) and returns
// the matches where both have different ones; `downloaded` keeps the server's there.
QList<ResultConflict> mergeResults(const SeasonStore& local, SeasonStore& downloaded);
// "19. kolo  Mladá Boleslav - Ústí: vaše 3:1, server 2:1"
QString conflictText(const ResultConflict& conflict, const SeasonStore& season);

// A match the user and the server date differently.
struct DateConflict {
    int round = 0;
    int slot = 0; // in the downloaded schedule
    MatchDate mine, server;
};
// Puts into `downloaded` the own dates that only `local` has (same round, home and away) and returns the
// matches both date differently; `downloaded` keeps the server's there.
QList<DateConflict> mergeMatchDates(const SeasonStore& local, SeasonStore& downloaded);
// "19. kolo  Mladá Boleslav - Ústí: vaše 12.2.2008 18:00, server odloženo"
QString conflictText(const DateConflict& conflict, const SeasonStore& season);

// Completes an update that was interrupted while it replaced the files of "souteze", or clears away one
// that was interrupted before; returns the names it installed now.
QStringList finishInterruptedUpdate(const QDir& souteze);

// The league open in the window while the update runs.
class UpdatedLeague {
public:
    virtual ~UpdatedLeague() = default;
    // Stores the displayed round and writes the season, so that no typed result is lost; false to stop.
    virtual bool saveBeforeUpdate() = 0;
    virtual void reloadAfterUpdate() = 0;
    // The schedule file whose lock the window holds already.
    virtual QString schedulePath() const = 0;
};

class UpdateRun;

// The data update, from the version check to the reload of the season, as a job of the event loop: start()
// returns at once, and finished() says how it ended. Every listed file is downloaded and checked first;
// the files in "souteze" are replaced all together or not at all.
class UpdateJob final : public QObject {
    Q_OBJECT
public:
    // `league` is the one open while the update runs, or nullptr.
    UpdateJob(UpdateSurroundings& with, UpdatedLeague* league, const QString& programFolder, const QString& serverName,
              int deadlineMs = kUpdateDeadlineMs, QObject* parent = nullptr);
    ~UpdateJob() override;
    void start();

Q_SIGNALS:
    void finished(UpdateOutcome outcome);

private:
    std::unique_ptr<UpdateRun> m_run;
    QString m_serverName;
};
