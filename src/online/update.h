// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// One HTTP transfer: the body, or the error number and its description.
struct FetchResult {
    bool ok = false;
    QByteArray body;
    int error = 0;
    QString description;
};

// The transfer component's number for a time-out.
inline constexpr int kTimeoutError = 35761;
// Larger responses are refused: no data file of the program comes near it.
inline constexpr qint64 kMaxResponseBytes = 1024 * 1024;

// What the data update needs from the window (or the command line) that runs it.
class UpdateSurroundings {
public:
    virtual ~UpdateSurroundings() = default;
    // GET of a path under the update site, e.g. "/velmor/update/newest.dat".
    virtual FetchResult fetch(const QString& path) = 0;
    virtual void status(const QString& text) = 0;
    virtual void progress(int done, int total) = 0;
    // Waits while the window keeps repainting.
    virtual void pause(int milliseconds) = 0;
    virtual bool askYesNo(const QString& text, bool questionIcon, const QString& title) = 0;
    virtual void tellError(const QString& text, const QString& title) = 0;
    virtual void openHomePage() = 0;
    virtual void beep() = 0;
    // Stores the displayed round and writes the season, so that no typed result is lost; false to stop.
    virtual bool saveSeason() = 0;
    virtual void reloadSeason() = 0;
};

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

// The downloaded schedule with the results that only the old file has (same round, home and away)
// put back; where both have a result the download wins. Empty when the download is no valid schedule.
QByteArray mergeSchedule(const QByteArray& downloaded, const QByteArray& old);

// The data update, from the version check to the reload of the season.
void runUpdate(UpdateSurroundings& with, const QString& programFolder, const QString& serverName);
