// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

// The named fixed-pitch font, or the system's fixed-pitch font where it is not installed: the columns
// of the match lists must align either way.
QFont fixedFont(const QString& family, int pointSize, bool bold = false);
bool isMonospaced(const QFont& font);
