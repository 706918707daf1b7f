// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"

#include <QString>

class QPagedPaintDevice;

// The lines a sheet always takes: a team's page of 60 matches with its head and foot.
inline constexpr int kLinesOnOneSheet = 69;

// Prints the text on A4 in Courier 10 pt bold, smaller where kLinesOnOneSheet lines need it to share one
// sheet; more lines go on to further sheets. False when the printer cannot be started.
bool printTextPage(QPagedPaintDevice& printer, const QString& text);
// The same page as a PDF file, written whole or not at all.
Result<void> printTextPageToPdf(const QString& path, const QString& text);
