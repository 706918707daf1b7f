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
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <sys/prctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace cli;

namespace {

void printHelp(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

const QString kHint = u"Nápověda: rinkomat-cli --help"_s;
constexpr QChar kNegativeMark = u'\x1f';

QString usage()
{
    QStringList lines{u"Použití: rinkomat-cli PŘÍKAZ [VOLBY] ARGUMENTY…"_s, QString(), u"Příkazy:"_s};
    for (const auto& [name, command] : commands())
        lines << u"  %1  %2"_s.arg(name.leftJustified(10), command.summary);
    lines << QString()
          << u"Volby výstupu: --json (JSON), --csv a --html (jako „Uložit…“ v okně); bez nich text "
             "s poli oddělenými tabulátorem."_s
          << u"Příkazy, které ukazují ligu, berou i --assume KOLO:ZÁPAS=VÝSLEDEK (opakovaně): výsledek se započte, "
             "ale nezapíše."_s
          << u"Volba se píše „--volba hodnota“ i „--volba=hodnota“. Nápověda k příkazu: rinkomat-cli PŘÍKAZ --help; "
             "verze: rinkomat-cli --version"_s
          << QString() << u"Návratové kódy:"_s << u"  0   úspěch"_s << u"  1   aktualizace dat se nezdařila"_s
          << u"  2   soubor nebo ligu nelze přečíst, zapsat či otevřít"_s << u"  64  chybné argumenty"_s
          << u"  70  vnitřní chyba programu"_s;
    return lines.join(u'\n');
}

QString commandHelp(const Command& command)
{
    return u"Použití: rinkomat-cli "_s + command.usage + u"\n"_s + command.summary + u"\n\n"_s + command.details;
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
         {here.filePath(u"rinkomat-cli-desktop"_s), here.filePath(u"../libexec/rinkomat/rinkomat-cli-desktop"_s)}) {
        if (!QFileInfo(path).isExecutable())
            continue;
        QProcess sibling;
        sibling.setProcessChannelMode(QProcess::ForwardedChannels);
        sibling.setInputChannelMode(QProcess::ForwardedInputChannel);
        // Killing this program must not leave the sibling writing on.
        const pid_t parent = ::getpid();
        sibling.setChildProcessModifier([parent] {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent) // already gone before the line above
                ::_exit(2);
        });
        sibling.start(path, arguments);
        sibling.waitForFinished(-1);
        return sibling.exitStatus() == QProcess::NormalExit ? sibling.exitCode() : 2;
    }
    printError(u"Tento příkaz potřebuje program rinkomat-cli-desktop, který nebyl nalezen."_s);
    return 2;
}

// Every option of every command; which command takes which is the commands' table's.
void addOptions(QCommandLineParser& parser)
{
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions(
        {{{u"h"_s, u"help"_s}, u"nápověda"_s},
         {u"version"_s, u"verze programu"_s},
         {u"json"_s, u"výstup JSON"_s},
         {u"csv"_s, u"výstup CSV, jak jej uloží okno"_s},
         {u"html"_s, u"výstup HTML, jak jej uloží okno"_s},
         {u"team"_s, u"tým 1 až počet týmů ligy"_s, u"TÝM"_s},
         {u"season"_s, u"sezóna nové ligy"_s, u"TEXT"_s},
         {u"teams"_s, u"soubor s týmy nové ligy"_s, u"SOUBOR"_s},
         {u"lines"_s, u"dělicí čáry nové ligy"_s, u"A,B,C"_s},
         {u"meetings"_s, u"vzájemných zápasů každé dvojice 1 až 8"_s, u"K"_s},
         {u"start"_s, u"první hrací den"_s, u"D.M.RRRR"_s},
         {u"days"_s, u"dny hraní"_s, u"DNY"_s},
         {u"skip"_s, u"přestávka bez zápasů"_s, u"D.M.RRRR-D.M.RRRR"_s},
         {u"code"_s, u"název souborů nové ligy"_s, u"KÓD"_s},
         {u"today"_s, u"den, který se bere jako dnešek"_s, u"D.M.RRRR"_s},
         {u"from"_s, u"první kolo"_s, u"KOLO"_s},
         {u"to"_s, u"poslední kolo"_s, u"KOLO"_s},
         {u"venue"_s, u"1 doma, 2 venku, 3 celkem"_s, u"M"_s},
         {u"sort"_s, u"kritérium 0 až 12"_s, u"K"_s},
         {u"rules"_s, u"pořadí při rovnosti bodů: running nebo final"_s, u"PRAVIDLA"_s},
         {u"type"_s, u"druh série 0 až 15"_s, u"T"_s},
         {u"overtime"_s, u"draw nebo final (série), yes nebo no (nová liga)"_s, u"REŽIM"_s},
         {u"points"_s, u"body nové ligy: výhra, výhra po prodloužení, remíza, prohra po prodloužení, prohra"_s,
          u"V,VP,R,PP,P"_s},
         {u"draws"_s, u"remízy v nové lize: yes nebo no"_s, u"yes|no"_s},
         {u"order"_s, u"řazení sérií 0 až 2"_s, u"P"_s},
         {u"pdf"_s, u"také vytisknout do tohoto souboru PDF"_s, u"VÝSTUP"_s},
         {u"assume"_s, u"výsledek brán jako napsaný, nikdy nezapsaný"_s, u"KOLO:ZÁPAS=VÝSLEDEK"_s},
         {u"sims"_s, u"simulovaných sezón 1 až 1000000"_s, u"N"_s},
         {u"seed"_s, u"semínko simulace"_s, u"S"_s},
         {u"line"_s, u"dělicí čára klíčových zápasů 1 až 3"_s, u"K"_s},
         {u"yes"_s, u"na každou otázku odpovědět ano"_s},
         {u"list"_s, u"vypsat úpravy bodů"_s},
         {u"name"_s, u"název soutěže"_s, u"TEXT"_s},
         {u"places"_s, u"konečná umístění po sezónách"_s},
         {u"remove"_s, u"odebrat N-tou úpravu bodů"_s, u"N"_s},
         {u"conflicts"_s, u"odlišné výsledky: mine, server (aktualizace), theirs (import)"_s, u"PONECHAT"_s},
         {u"into"_s, u"liga, do níž jde import"_s, u"SOUBOR"_s},
         {u"new"_s, u"složka nové ligy z importu"_s, u"SLOŽKA"_s},
         {u"map"_s, u"jméno ze zdroje a tým ligy"_s, u"JMÉNO=TÝM"_s},
         {u"dry-run"_s, u"nic nezapsat, jen vypsat"_s},
         {u"columns"_s, u"role sloupců importovaného CSV"_s, u"ROLE,…"_s},
         {u"division"_s, u"soutěž importovaného souboru"_s, u"TEXT"_s},
         {u"skip-unknown"_s, u"přeskočit řádky s týmy mimo ligu"_s},
         {u"accept-guesses"_s, u"zapsat i odhadnutá jména týmů"_s},
         {u"game"_s, u"zapsat zápas play-off"_s},
         {u"plan"_s, u"termín příštího zápasu série play-off"_s, u"FÁZE"_s},
         {u"date"_s, u"den zápasu"_s, u"D.M.RRRR"_s},
         {u"time"_s, u"čas začátku zápasu; nová liga: den=čas, např. st=18:00,so=17:00"_s, u"HH:MM"_s},
         {u"postponed"_s, u"zápas odložen bez data"_s},
         {u"clear"_s, u"zápas zpět na datum kola"_s}});
}

// Empty when the options fit the command: no option it does not take, at most one output format.
QString optionFault(const QCommandLineParser& parser, const QString& name, const Command& chosen)
{
    QStringList formats;
    for (const QString& option : parser.optionNames()) {
        const QString longName = option == u"h" ? u"help"_s : option;
        const bool isFormat = longName == u"json" || longName == u"csv" || longName == u"html";
        if (isFormat)
            formats << longName;
        const bool fits = isFormat ? (chosen.formats & (longName == u"json" ? JsonFormat : TableFormats)) != 0
                                   : chosen.options.contains(longName);
        if (!fits)
            return u"Volba --%1 k příkazu %2 nepatří."_s.arg(longName, name);
    }
    formats.removeDuplicates();
    if (formats.size() > 1)
        return u"Volby --%1 se vylučují: vyberte jeden výstup."_s.arg(formats.join(u" a --"_s));
    return {};
}

// "-3" and the like: digits after one dash.
bool isNegativeNumber(const QString& a)
{
    return a.size() > 1 && a[0] == u'-' &&
           std::all_of(a.begin() + 1, a.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Runs the command and prints what it gives; every refusal and fault becomes a message and an exit code.
int runCommand(const Command& chosen, Context& context, const QString& usageLine)
{
    const QCommandLineParser& parser = *context.parser;
    context.today = QDate::currentDate();
    if (parser.isSet(u"today"_s)) {
        context.today = parseShortDate(parser.value(u"today"_s));
        if (!context.today.isValid())
            return refuse(u"--today: „%1“ není datum D.M.YYYY"_s.arg(parser.value(u"today"_s)), usageLine);
    }
    if (const Result<void> numbers = checkNumbers(chosen, context); !numbers.ok())
        return refuse(numbers.error(), usageLine);
    const bool csv = parser.isSet(u"csv"_s), html = parser.isSet(u"html"_s);
    try {
        const Result<CommandOutput> output = chosen.run(context);
        if (!output.ok() && output.code() == kUsageExit)
            return refuse(output.error(), usageLine);
        if (!output.ok()) {
            printError(output.error());
            return output.code();
        }
        if (!output.value().error.isEmpty())
            printError(output.value().error);
        if ((csv || html) && !output.value().view)
            return refuse(u"--csv a --html patří jen k příkazům, které ukazují pohled"_s, usageLine);
        if (!printOutput(output.value(), csv                       ? OutputFormat::Csv
                                         : html                    ? OutputFormat::Html
                                         : parser.isSet(u"json"_s) ? OutputFormat::Json
                                                                   : OutputFormat::Text)) {
            printError(u"Výstup se nepodařilo celý zapsat: %1."_s.arg(czechFileReason(errno)));
            return kFileExit;
        }
        return output.value().exitCode;
    } catch (const std::exception& e) {
        // A fault of the program's own: said in Czech with an exit code, never an abort.
        printError(u"Vnitřní chyba programu (%1); nic nebylo zapsáno napůl."_s.arg(QString::fromLocal8Bit(e.what())));
        return 70;
    }
}

} // namespace

int cli::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    // A negative number ("-3" points) is an argument, not a cluster of short options.
    QStringList marked = arguments;
    for (qsizetype i = 1; i < marked.size(); ++i)
        if (isNegativeNumber(marked[i]))
            marked[i].prepend(kNegativeMark);
    if (!parser.parse(marked)) {
        const QStringList unknown = parser.unknownOptionNames();
        return refuse(unknown.isEmpty() ? u"Volbě chybí hodnota: %1"_s.arg(parser.errorText().section(u'\'', 1, 1))
                                        : u"Neznámá volba „%1%2“."_s.arg(unknown.first().size() > 1 ? u"--"_s : u"-"_s,
                                                                         unknown.first().left(80)),
                      kHint);
    }
    Context context;
    context.parser = &parser;
    context.args = parser.positionalArguments();
    for (QString& arg : context.args)
        if (arg.startsWith(kNegativeMark))
            arg.remove(0, 1);
    const bool help = parser.isSet(u"help"_s);
    if (parser.isSet(u"version"_s) && context.args.isEmpty() && !help) {
        printHelp(u"rinkomat-cli "_s + program::version);
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
        return refuse(u"Neznámý příkaz „%1“."_s.arg(name.left(80)), kHint);
    const Command& chosen = command->second;
    context.command = &chosen;
    if (help) {
        printHelp(commandHelp(chosen));
        return 0;
    }
    const QString usageLine =
        u"Použití: rinkomat-cli "_s + chosen.usage + u"\nNápověda: rinkomat-cli "_s + name + u" --help"_s;
    if (context.args.size() < chosen.minArgs || context.args.size() > chosen.maxArgs)
        return refuse(u"Příkaz %1: počet argumentů má být %2, zadáno %3."_s.arg(name)
                          .arg(chosen.minArgs == chosen.maxArgs ? QString::number(chosen.minArgs)
                                                                : u"aspoň %1"_s.arg(chosen.minArgs))
                          .arg(context.args.size()),
                      usageLine);
    if (const QString fault = optionFault(parser, name, chosen); !fault.isEmpty())
        return refuse(fault, usageLine);
    if (!hasDesktop() && (name == u"update" || parser.isSet(u"pdf"_s)))
        return runSibling(arguments.mid(1));
    return runCommand(chosen, context, usageLine);
}
