// SPDX-License-Identifier: MIT
// rinkomat-cli: the program's views without a window, for posting tables, scripting and checking. The
// commands live with their subsystem (season_commands.cpp, …); this is their register and the checks of
// numeric arguments.
#include "commands.h"
#include "support.h"

#include "season/newleague.h"
#include "season/seasonstore.h"
#include "standings/ranking.h"

using namespace Qt::StringLiterals;

namespace cli {

namespace {

// The numeric options, each with one range for every command that takes it.
struct OptionRange {
    int low, high;
    Within within = Within::Range;
};
const std::map<QString, OptionRange> kNumberOptions = {{u"from"_s, {1, kMaxRounds, Within::Rounds}},
                                                       {u"to"_s, {1, kMaxRounds, Within::Rounds}},
                                                       {u"venue"_s, {1, 3}},
                                                       {u"sort"_s, {0, kCriteria - 1}},
                                                       {u"type"_s, {0, 15}},
                                                       {u"order"_s, {0, 2}},
                                                       {u"remove"_s, {1, 1000}},
                                                       {u"team"_s, {1, kMaxTeams, Within::Teams}},
                                                       {u"sims"_s, {1, 1'000'000}},
                                                       {u"line"_s, {1, 3}},
                                                       {u"meetings"_s, {1, kMaxMeetings}}};

bool within(const QString& text, int low, int high)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= low && n <= high;
}

int sizeOf(const SeasonStore& league, Within within, int high)
{
    switch (within) {
    case Within::Rounds:
        return league.rounds();
    case Within::Slots:
        return league.slots();
    case Within::Teams:
        return league.teams();
    case Within::Range:
        break;
    }
    return high;
}

} // namespace

Result<void> checkNumbers(const Command& chosen, const Context& context)
{
    for (const NumberArgument& a : chosen.numbers) {
        const QString text = context.args.value(a.index);
        if (a.index < context.args.size() && !within(text, a.low, a.high))
            return Result<void>::failure(u"„%1“ není číslo od %2 do %3"_s.arg(text).arg(a.low).arg(a.high), kUsageExit);
    }
    for (const auto& [name, range] : kNumberOptions) {
        const QString text = context.parser->value(name);
        if (context.parser->isSet(name) && !chosen.textOptions.contains(name) && !within(text, range.low, range.high))
            return Result<void>::failure(
                u"--%1: „%2“ není číslo od %3 do %4"_s.arg(name, text).arg(range.low).arg(range.high), kUsageExit);
    }
    return {};
}

Result<void> checkAgainstLeague(const Context& context, const SeasonStore& league)
{
    if (context.command) {
        for (const NumberArgument& a : context.command->numbers) {
            const QString text = context.args.value(a.index);
            const int high = sizeOf(league, a.within, a.high);
            if (a.index < context.args.size() && !within(text, a.low, high))
                return Result<void>::failure(
                    u"„%1“ není číslo od %2 do %3 (tolik jich liga má)"_s.arg(text).arg(a.low).arg(high), kUsageExit);
        }
    }
    for (const auto& [name, range] : kNumberOptions) {
        const QString text = context.parser ? context.parser->value(name) : QString();
        const int high = sizeOf(league, range.within, range.high);
        if (context.parser && context.parser->isSet(name) &&
            !(context.command && context.command->textOptions.contains(name)) && !within(text, range.low, high))
            return Result<void>::failure(
                u"--%1: „%2“ není číslo od %3 do %4 (tolik jich liga má)"_s.arg(name, text).arg(range.low).arg(high),
                kUsageExit);
    }
    return {};
}

const std::map<QString, Command>& commands()
{
    static const std::map<QString, Command> all = [] {
        std::map<QString, Command> c;
        for (const auto add : {addSeasonCommands, addImportCommands, addPlayoffCommands, addStandingsCommands,
                               addStatsCommands, addLookupsCommands, addOutlookCommands, addUpdateCommands})
            add(c);
        return c;
    }();
    return all;
}

} // namespace cli
