// SPDX-License-Identifier: MIT
// rinkomat-cli's command line: help, options and the one rule for what they may be, then the command.
#include "commands.h"
#include "desktopside.h"

#include "common/programinfo.h"
#include "season/datafiles.h"
#include "season/seasonfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>
#include <cstring>

using namespace cli;

namespace {

void printError(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

void printHelp(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

const QString kHint = u"Nápověda: rinkomat-cli --help"_qs;
constexpr QChar kNegativeMark = u'\x1f';

QString usage()
{
    QStringList lines{u"Použití: rinkomat-cli PŘÍKAZ [VOLBY] ARGUMENTY…"_qs, QString(), u"Příkazy:"_qs};
    for (const auto& [name, command] : commands())
        lines << u"  %1  %2"_qs.arg(name.leftJustified(10), command.summary);
    lines << QString()
          << u"Volby výstupu: --json (JSON), --csv a --html (jako „Uložit…“ v okně); bez nich text "
             "s poli oddělenými tabulátorem."_qs
          << u"Příkazy, které ukazují ligu, berou i --assume KOLO:ZÁPAS=VÝSLEDEK (opakovaně): výsledek se započte, "
             "ale nezapíše."_qs
          << u"Volba se píše „--volba hodnota“ i „--volba=hodnota“. Nápověda k příkazu: rinkomat-cli PŘÍKAZ --help; "
             "verze: rinkomat-cli --version"_qs
          << QString() << u"Návratové kódy:"_qs << u"  0   úspěch"_qs << u"  1   aktualizace dat se nezdařila"_qs
          << u"  2   soubor nebo ligu nelze přečíst, zapsat či otevřít"_qs << u"  64  chybné argumenty"_qs;
    return lines.join(u'\n');
}

QString commandHelp(const Command& command)
{
    return u"Použití: rinkomat-cli "_qs + command.usage + u"\n"_qs + command.summary + u"\n\n"_qs + command.details;
}

// A refusal of what was typed: the reason, the right usage, exit 64.
int refuse(const QString& text, const QString& usageLine)
{
    printError(text + u'\n' + usageLine);
    return 64;
}

// The sibling linked against the desktop libraries: beside this program, or in ../libexec/rinkomat.
int runSibling(const QStringList& arguments)
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& path :
         {here.filePath(u"rinkomat-cli-desktop"_qs), here.filePath(u"../libexec/rinkomat/rinkomat-cli-desktop"_qs)}) {
        if (!QFileInfo(path).isExecutable())
            continue;
        QProcess sibling;
        sibling.setProcessChannelMode(QProcess::ForwardedChannels);
        sibling.setInputChannelMode(QProcess::ForwardedInputChannel);
        sibling.start(path, arguments);
        sibling.waitForFinished(-1);
        return sibling.exitStatus() == QProcess::NormalExit ? sibling.exitCode() : 2;
    }
    printError(u"Tento příkaz potřebuje program rinkomat-cli-desktop, který nebyl nalezen."_qs);
    return 2;
}

} // namespace

int cli::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({{{u"h"_qs, u"help"_qs}, u"nápověda"_qs},
                       {u"version"_qs, u"verze programu"_qs},
                       {u"json"_qs, u"výstup JSON"_qs},
                       {u"csv"_qs, u"výstup CSV, jak jej uloží okno"_qs},
                       {u"html"_qs, u"výstup HTML, jak jej uloží okno"_qs},
                       {u"team"_qs, u"tým 1 až 14"_qs, u"TÝM"_qs},
                       {u"today"_qs, u"den, který se bere jako dnešek"_qs, u"D.M.RRRR"_qs},
                       {u"from"_qs, u"první kolo"_qs, u"KOLO"_qs},
                       {u"to"_qs, u"poslední kolo"_qs, u"KOLO"_qs},
                       {u"venue"_qs, u"1 doma, 2 venku, 3 celkem"_qs, u"M"_qs},
                       {u"sort"_qs, u"kritérium 0 až 12"_qs, u"K"_qs},
                       {u"rules"_qs, u"pořadí při rovnosti bodů: running nebo final"_qs, u"PRAVIDLA"_qs},
                       {u"type"_qs, u"druh série 0 až 15"_qs, u"T"_qs},
                       {u"overtime"_qs, u"draw nebo final"_qs, u"REŽIM"_qs},
                       {u"order"_qs, u"řazení sérií 0 až 2"_qs, u"P"_qs},
                       {u"pdf"_qs, u"také vytisknout do tohoto souboru PDF"_qs, u"VÝSTUP"_qs},
                       {u"assume"_qs, u"výsledek brán jako napsaný, nikdy nezapsaný"_qs, u"KOLO:ZÁPAS=VÝSLEDEK"_qs},
                       {u"sims"_qs, u"simulovaných sezón 1 až 1000000"_qs, u"N"_qs},
                       {u"seed"_qs, u"semínko simulace"_qs, u"S"_qs},
                       {u"line"_qs, u"dělicí čára klíčových zápasů 1 až 3"_qs, u"K"_qs},
                       {u"yes"_qs, u"na každou otázku odpovědět ano"_qs},
                       {u"no"_qs, u"na každou otázku odpovědět ne"_qs},
                       {u"list"_qs, u"vypsat úpravy bodů"_qs},
                       {u"name"_qs, u"název soutěže"_qs, u"TEXT"_qs},
                       {u"places"_qs, u"konečná umístění po sezónách"_qs},
                       {u"remove"_qs, u"odebrat N-tou úpravu bodů"_qs, u"N"_qs},
                       {u"conflicts"_qs, u"výsledky odlišné od serveru: mine nebo server"_qs, u"PONECHAT"_qs}});
    // A negative number ("-3" points) is an argument, not a cluster of short options.
    static const QRegularExpression negative(u"^-\\d+$"_qs);
    QStringList marked = arguments;
    for (qsizetype i = 1; i < marked.size(); ++i)
        if (negative.match(marked[i]).hasMatch())
            marked[i].prepend(kNegativeMark);
    if (!parser.parse(marked)) {
        const QStringList unknown = parser.unknownOptionNames();
        return refuse(unknown.isEmpty()
                          ? u"Volbě chybí hodnota: %1"_qs.arg(parser.errorText().section(u'\'', 1, 1))
                          : u"Neznámá volba „%1%2“."_qs.arg(unknown.first().size() > 1 ? u"--"_qs : u"-"_qs,
                                                            unknown.first().left(80)),
                      kHint);
    }
    Context context;
    context.parser = &parser;
    context.args = parser.positionalArguments();
    for (QString& arg : context.args)
        if (arg.startsWith(kNegativeMark))
            arg.remove(0, 1);
    const bool help = parser.isSet(u"help"_qs);
    if (parser.isSet(u"version"_qs) && context.args.isEmpty() && !help) {
        printHelp(u"rinkomat-cli "_qs + program::version);
        return 0;
    }
    if (context.args.isEmpty()) {
        if (help) {
            printHelp(usage());
            return 0;
        }
        printError(usage());
        return 64;
    }
    const QString name = context.args.takeFirst();
    const auto command = commands().find(name);
    if (command == commands().end())
        return refuse(u"Neznámý příkaz „%1“."_qs.arg(name.left(80)), kHint);
    const Command& chosen = command->second;
    if (help) {
        printHelp(commandHelp(chosen));
        return 0;
    }
    const QString usageLine =
        u"Použití: rinkomat-cli "_qs + chosen.usage + u"\nNápověda: rinkomat-cli "_qs + name + u" --help"_qs;
    if (context.args.size() < chosen.minArgs || context.args.size() > chosen.maxArgs)
        return refuse(u"Příkaz %1: počet argumentů má být %2, zadáno %3."_qs.arg(name)
                          .arg(chosen.minArgs == chosen.maxArgs ? QString::number(chosen.minArgs)
                                                                : u"aspoň %1"_qs.arg(chosen.minArgs))
                          .arg(context.args.size()),
                      usageLine);
    // One rule for options: an option the command does not take, or two output formats, are refused.
    QStringList formats;
    for (const QString& option : parser.optionNames()) {
        const QString longName = option == u"h" ? u"help"_qs : option;
        const bool isFormat = longName == u"json" || longName == u"csv" || longName == u"html";
        if (isFormat)
            formats << longName;
        const bool fits = isFormat ? (chosen.formats & (longName == u"json" ? JsonFormat : TableFormats)) != 0
                                   : chosen.options.contains(longName);
        if (!fits)
            return refuse(u"Volba --%1 k příkazu %2 nepatří."_qs.arg(longName, name), usageLine);
    }
    formats.removeDuplicates();
    if (formats.size() > 1)
        return refuse(u"Volby --%1 se vylučují: vyberte jeden výstup."_qs.arg(formats.join(u" a --"_qs)), usageLine);
    if (!hasDesktop() && (name == u"update" || parser.isSet(u"pdf"_qs)))
        return runSibling(arguments.mid(1));
    try {
        context.today = QDate::currentDate();
        if (parser.isSet(u"today"_qs)) {
            context.today = parseShortDate(parser.value(u"today"_qs));
            if (!context.today.isValid())
                throw UsageError{u"--today: „%1“ není datum D.M.YYYY"_qs.arg(parser.value(u"today"_qs))};
        }
        const bool csv = parser.isSet(u"csv"_qs), html = parser.isSet(u"html"_qs);
        const CommandOutput output = command->second.run(context);
        if ((csv || html) && !output.view)
            throw UsageError{u"--csv a --html patří jen k příkazům, které ukazují pohled"_qs};
        if (!printOutput(output, csv                        ? OutputFormat::Csv
                                 : html                     ? OutputFormat::Html
                                 : parser.isSet(u"json"_qs) ? OutputFormat::Json
                                                            : OutputFormat::Text))
            throw FileError{u"Výstup se nepodařilo celý zapsat: %1."_qs.arg(czechFileReason(errno))};
        return output.exitCode;
    } catch (const UsageError& e) {
        return refuse(e.text, usageLine);
    } catch (const FileError& e) {
        printError(e.text);
        return 2;
    }
}
