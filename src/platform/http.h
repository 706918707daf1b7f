// SPDX-License-Identifier: MIT
#pragma once

#include "common/fetch.h"

#include <functional>

class QUrl;

struct HttpLimits {
    int idleMs = kIdleTimeoutMs;         // without any data arriving: the server is unreachable
    int deadlineMs = kFileDeadlineMs;    // the whole transfer
    qint64 maxBytes = kMaxResponseBytes; // larger bodies are refused
};

// A plain GET that returns at once; `done` gets what came, from the event loop, once. Redirects are
// followed only on the same host; `cancelled` is asked now and then and stops the transfer when it says so.
void httpGet(const QUrl& url, const HttpLimits& limits, std::function<bool()> cancelled,
             std::function<void(const FetchResult&)> done);
