// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Who the program is and where it points the browser.
namespace program {

inline const QString title = QStringLiteral("KLX");
inline const QString version = QStringLiteral(RINKOMAT_VERSION);
// The update site also serves the program's home page.
inline const QString updateHost = QStringLiteral(RINKOMAT_UPDATE_HOST);
inline const QString updateSite = QStringLiteral("http://" RINKOMAT_UPDATE_HOST);
inline const QString homePage = QStringLiteral("http://" RINKOMAT_UPDATE_HOST "/velmor");
inline const QString liveResults = QStringLiteral("http://live.rinkomat.example/hokej.php");
inline const QString partnerSite = QStringLiteral("http://www.sazkovy-radce.example");

} // namespace program
