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

// A plain GET that waits in its own event loop, so the windows keep repainting. Redirects are followed
// only on the same host; `cancelled` is asked now and then and stops the transfer when it says so.
FetchResult httpGet(const QUrl& url, const HttpLimits& limits = {}, const std::function<bool()>& cancelled = {});
