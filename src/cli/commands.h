// SPDX-License-Identifier: MIT
// The commands of rinkomat-cli: each loads a league as the program does and returns what a view shows.
#pragma once

#include "output.h"

#include <QCommandLineParser>
#include <QDate>
#include <functional>
#include <map>

namespace cli {

struct UsageError {
    QString text;
};
struct FileError {
    QString text;
};

struct Context {
    QStringList args; // after the command name
    QCommandLineParser* parser = nullptr;
    QDate today;

    int number(int index, int low, int high) const
    {
        bool ok = false;
        const int n = args.value(index).toInt(&ok);
        if (!ok || n < low || n > high)
            throw UsageError{QStringLiteral("„%1“ není číslo od %2 do %3").arg(args.value(index)).arg(low).arg(high)};
        return n;
    }

    int option(const QString& name, int low, int high, int fallback) const
    {
        if (!parser->isSet(name))
            return fallback;
        bool ok = false;
        const int n = parser->value(name).toInt(&ok);
        if (!ok || n < low || n > high)
            throw UsageError{
                QStringLiteral("--%1: „%2“ není číslo od %3 do %4").arg(name, parser->value(name)).arg(low).arg(high)};
        return n;
    }
};

// Which output formats a command can give besides its text.
enum Format : unsigned { NoFormat = 0, JsonFormat = 1, TableFormats = 2 }; // TableFormats: --csv, --html

struct Command {
    QString usage;   // its syntax, as help prints it after "rinkomat-cli "
    QString summary; // one line of what it does
    QString details; // the arguments and options with their ranges and defaults, and an example
    qsizetype minArgs;
    qsizetype maxArgs;
    unsigned formats;
    QStringList options; // the options it takes besides the formats
    std::function<CommandOutput(const Context&)> run;
};

// Every command by name.
const std::map<QString, Command>& commands();

// The whole command line (the program's name first): prints what it asks for, returns the exit code.
int run(const QStringList& arguments);

} // namespace cli
