// SPDX-License-Identifier: MIT
// rinkomat-cli: QtCore only; printing and the network are left to rinkomat-cli-desktop.
#include "desktopside.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace cli {

bool hasDesktop()
{
    return false;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
    return std::make_unique<QCoreApplication>(argc, argv);
}

void fetchUrl(const QUrl&, int, std::function<void(const FetchResult&)> done)
{
    QTimer::singleShot(0, QCoreApplication::instance(), [done = std::move(done)] {
        done({FetchResult::Status::Failed, {}, u"síť je k dispozici jen v rinkomat-cli-desktop"_s});
    });
}

Result<void> printPdf(const QString&, const QString&)
{
    return Result<void>::failure(u"tisk je k dispozici jen v rinkomat-cli-desktop"_s);
}

} // namespace cli
