// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QPrinter;

// Prints the text on one A4 sheet in Courier 10 pt bold; false when the printer cannot be started.
bool printTextPage(QPrinter& printer, const QString& text);
// The same page as a PDF file.
bool printTextPageToPdf(const QString& path, const QString& text);
