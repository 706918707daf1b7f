// SPDX-License-Identifier: MIT
#pragma once

#include "common/result.h"

#include <QString>

class QPagedPaintDevice;

// Prints the text on one A4 sheet in Courier 10 pt bold; false when the printer cannot be started.
bool printTextPage(QPagedPaintDevice& printer, const QString& text);
// The same page as a PDF file, written whole or not at all.
Result<void> printTextPageToPdf(const QString& path, const QString& text);
