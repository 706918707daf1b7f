// SPDX-License-Identifier: MIT
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

// What a command prints: one JSON document, or rows of TAB-separated fields.
struct CommandOutput {
    QJsonObject json;
    QList<QStringList> rows;
    int exitCode = 0;
};

QJsonArray toJsonArray(const QStringList& texts);
// Prints the output as UTF-8 on stdout.
void printOutput(const CommandOutput& out, bool asJson);
