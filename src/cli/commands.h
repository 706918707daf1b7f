// SPDX-License-Identifier: MIT
// The commands of rinkomat-cli: each loads a league as the program does and returns what a view shows.
#pragma once

#include "common/result.h"
#include "output.h"

#include <QCommandLineParser>
#include <QDate>
#include <functional>
#include <map>

class SeasonStore;

namespace cli {

// The exit codes of a refused command line and of a file that cannot be read or written; a command's
// failed result carries one of them as its code.
inline constexpr int kUsageExit = 64;
inline constexpr int kFileExit = 2;

struct Command;

struct Context {
    const Command* command = nullptr;
    QStringList args; // after the command name
    QCommandLineParser* parser = nullptr;
    QDate today;

    // A numeric argument or option, its range checked before the command runs (checkNumbers).
    int number(int index) const { return args.value(index).toInt(); }
    int option(const QString& name, int fallback) const
    {
        return parser->isSet(name) ? parser->value(name).toInt() : fallback;
    }
};

// What bounds a number besides its range: the size of the league it is about, known once it is read.
enum class Within { Range, Rounds, Slots, Teams };

// An argument that is a number within its range, when the command line has it.
struct NumberArgument {
    int index; // after the command name
    int low;
    int high; // for a league's size, the most any league has
    Within within = Within::Range;
};

// Which output formats a command can give besides its text.
enum Format : unsigned { NoFormat = 0, JsonFormat = 1, TableFormats = 2 }; // TableFormats: --csv, --html

struct Command {
    QString usage;   // its syntax, as help prints it after "rinkomat-cli "
    QString summary; // one line of what it does
    QString details; // the arguments and options with their ranges and defaults, and an example
    qsizetype minArgs = 1;
    qsizetype maxArgs = 1;
    unsigned formats = NoFormat;
    QStringList options = {}; // the options it takes besides the formats
    std::function<Result<CommandOutput>(const Context&)> run = {};
    QList<NumberArgument> numbers = {};
    QStringList textOptions = {}; // options whose value is text here though a number for other commands
};

// Every command by name.
const std::map<QString, Command>& commands();

// Refuses a numeric argument or option outside its range, before anything is read.
Result<void> checkNumbers(const Command& chosen, const Context& context);
// Refuses a round, match or team number the league read does not have, naming its own numbers.
Result<void> checkAgainstLeague(const Context& context, const SeasonStore& league);

// The whole command line (the program's name first): prints what it asks for, returns the exit code.
int run(const QStringList& arguments);

} // namespace cli
