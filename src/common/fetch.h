// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// One HTTP transfer: the body, or why there is none.
struct FetchResult {
    enum class Status { Ok, Unreachable, Failed, Cancelled };
    Status status = Status::Failed;
    QByteArray body;
    // Czech, for Failed: "HTTP 404", "server předčasně ukončil spojení", …
    QString reason;
    bool ok() const { return status == Status::Ok; }
};

// Limits of one data update: no data file of the program comes near them.
inline constexpr qint64 kMaxResponseBytes = 1024 * 1024;
inline constexpr qint64 kMaxUpdateBytes = 16 * 1024 * 1024;
inline constexpr int kMaxUpdateFiles = 64;
inline constexpr int kIdleTimeoutMs = 10000;
inline constexpr int kFileDeadlineMs = 60000;
inline constexpr int kUpdateDeadlineMs = 120000;
