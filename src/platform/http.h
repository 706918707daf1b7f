// SPDX-License-Identifier: MIT
#pragma once

#include "online/update.h"

class QUrl;

// A plain GET that waits in its own event loop, so the windows keep repainting. It gives up after
// `timeoutMs` without any data arriving (error kTimeoutError) and refuses bodies over kMaxResponseBytes.
FetchResult httpGet(const QUrl& url, int timeoutMs);
