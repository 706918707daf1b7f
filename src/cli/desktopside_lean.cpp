// SPDX-License-Identifier: MIT
// rinkomat-cli: QtCore only; printing and the network are left to rinkomat-cli-desktop.
#include "desktopside.h"

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

FetchResult fetchUrl(const QUrl&, int)
{
    return {FetchResult::Status::Failed, {}, u"síť je k dispozici jen v rinkomat-cli-desktop"_s};
}

QString printPdf(const QString&, const QString&)
{
    return u"tisk je k dispozici jen v rinkomat-cli-desktop"_s;
}

} // namespace cli
