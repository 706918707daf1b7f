// SPDX-License-Identifier: MIT
// rinkomat-cli-desktop: the same commands with the printer and the network.
#include "desktopside.h"

#include "lookups/pageprinter.h"
#include "platform/http.h"

#include <QGuiApplication>
#include <cstring>

namespace cli {

bool hasDesktop()
{
    return true;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
    // Printing a page needs fonts, so --pdf runs a GUI application without a display.
    const bool printing = std::any_of(argv, argv + argc, [](const char* a) { return std::strcmp(a, "--pdf") == 0; });
    if (!printing)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

void fetchUrl(const QUrl& url, int deadlineMs, std::function<void(const FetchResult&)> done)
{
    HttpLimits limits;
    limits.deadlineMs = deadlineMs;
    httpGet(url, limits, {}, std::move(done));
}

Result<void> printPdf(const QString& path, const QString& page)
{
    return printTextPageToPdf(path, page);
}

} // namespace cli
