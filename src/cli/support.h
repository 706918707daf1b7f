// SPDX-License-Identifier: MIT
// What rinkomat-cli's commands share: how they read and change a league, refuse, and shape their output.
#pragma once

#include "commands.h"

#include "export/viewtable.h"
#include "season/adjustments.h"
#include "season/notation.h"

#include <QJsonArray>
#include <QJsonObject>
#include <array>
#include <functional>
#include <optional>

class OpenLeague;

namespace cli {

using Output = Result<CommandOutput>;

// The option of the views that take results as if typed.
inline const QString kAssume = QStringLiteral("assume");

// A refused command line (exit 64), a file that cannot be read or written (exit 2).
Output refused(const QString& text);
Output fileFault(const QString& text);

// A league for a view: as read, with the --assume results in place of the stored ones; never written.
Result<SeasonStore> loadLeague(const Context& c);
// The league read as opening it reads it; a bad adjustments file is said on stderr.
Result<SeasonStore> loadLeague(const QString& competitionPath);
// The league locked and read for a change; another script's write takes milliseconds, so it is waited for.
Result<ReadLeague> openForChange(OpenLeague& open);
// Reads the league named first on the command line (or the one given), lets `change` alter it through the open league
// and writes it back, all under the league's lock, with a copy of the file as it was; a round, match or team it lacks
// is refused.
Result<SeasonStore> changeLeague(const Context& c, const std::function<Result<void>(OpenLeague&)>& change,
                                 const QString& competitionPath = {});

// A file's bytes, or standard input's for "-", up to `limit` (one byte more tells it was larger); `what`
// names it in the message of input that cannot be read.
Result<QByteArray> readInput(const QString& source, qint64 limit, const QString& what);
// --lines A,B,C: up to three dividing lines, 0 where none is given.
Result<std::array<int, 3>> linesOption(const Context& c);

// "A".."E", or empty.
QString className(const std::optional<OutcomeClass>& c);
CommandOutput plain(const QJsonObject& json, const QList<QStringList>& rows);
// The view's rows as the text output, after the lines that stand above them.
CommandOutput fromView(const ViewTable& view, const QList<QStringList>& above = {});
QJsonArray jsonRows(const QList<QStringList>& rows, const QStringList& keys);
// A view of one column: {"lines":[…]}.
CommandOutput lines(const ViewTable& view);

// Each subsystem's commands with their usage and help.
void addSeasonCommands(std::map<QString, Command>& commands);
void addStandingsCommands(std::map<QString, Command>& commands);
void addStatsCommands(std::map<QString, Command>& commands);
void addLookupsCommands(std::map<QString, Command>& commands);
void addOutlookCommands(std::map<QString, Command>& commands);
void addUpdateCommands(std::map<QString, Command>& commands);
void addImportCommands(std::map<QString, Command>& commands);
void addPlayoffCommands(std::map<QString, Command>& commands);

} // namespace cli
