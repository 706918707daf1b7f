// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"

#include <functional>

class QDialog;
class QWidget;

// "Uložit…" of a view window: a button at the window's foot and Ctrl+S. `view` gives what the window
// shows at that moment; while it gives no rows, the user is told `nothingShown` instead.
void addSaveCommand(QDialog* window, std::function<ViewTable()> view,
                    const QString& nothingShown = QStringLiteral("Není co uložit: nejdřív vyberte tým."));
// Asks for the file (CSV or HTML) and writes the view; tells the user when it cannot be written.
void saveView(QWidget* parent, const ViewTable& view);
// "Tisk…": the page on the printer after the fan has said the paper is in, or as a PDF file where no printer is
// installed; a failure is said, never passed over.
void printPage(QWidget* parent, const QString& page, const QString& pdfName);
// Asks for the file and writes the iCalendar bytes.
void saveICalendar(QWidget* parent, const QByteArray& bytes, const QString& suggestedName);
// The caption as a file name: no folder separators or colons.
QString fileNameFor(const QString& caption);
