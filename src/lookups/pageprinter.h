// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QPagedPaintDevice;

// Prints the text on one A4 sheet in Courier 10 pt bold; false when the printer cannot be started.
bool printTextPage(QPagedPaintDevice& printer, const QString& text);
// The same page as a PDF file, written whole or not at all: empty on success, else the Czech reason.
QString printTextPageToPdf(const QString& path, const QString& text);
