// SPDX-License-Identifier: MIT
// What only some commands need: the printer (matches --pdf) and the network (update). rinkomat-cli is
// a QtCore-only program and hands those commands to its sibling rinkomat-cli-desktop, which is linked
// against the desktop libraries; both are built from the same commands.
#pragma once

#include "common/fetch.h"
#include "common/result.h"

#include <QCoreApplication>
#include <functional>
#include <memory>

class QUrl;

namespace cli {

// False in rinkomat-cli itself: a command that needs the desktop is run by the sibling.
bool hasDesktop();
// The application object; a GUI one (without a display) when a page is printed.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);
// The GET of the update; `done` gets the result from the event loop.
void fetchUrl(const QUrl& url, int deadlineMs, std::function<void(const FetchResult&)> done);
// The page as a PDF file.
Result<void> printPdf(const QString& path, const QString& page);

} // namespace cli
