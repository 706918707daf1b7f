// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"
#include <QJsonArray>
#include <QJsonObject>

#include <QStringList>
#include <optional>

// What a command prints: one JSON document, or rows of TAB-separated fields.
struct CommandOutput {
    QJsonObject json;
    QList<QStringList> rows;
    int exitCode = 0;
    // The view behind the rows, for --csv and --html.
    std::optional<ViewTable> view;
    // Printed as it is instead of rows or JSON (iCalendar).
    QByteArray raw;
    // A refusal said on stderr while the JSON still tells a script what was refused.
    QString error;
};

QJsonArray toJsonArray(const QStringList& texts);
enum class OutputFormat { Text, Json, Csv, Html };
// Prints the output as UTF-8 on stdout; false when not every byte reached it.
[[nodiscard]] bool printOutput(const CommandOutput& out, OutputFormat format);
// A message for the user on stderr, its Windows line ends as the terminal's.
void printError(const QString& text);
