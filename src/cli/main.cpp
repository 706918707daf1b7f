// SPDX-License-Identifier: MIT
// rinkomat-cli: the views without a window, for posting tables, scripting and checking.
#include "commands.h"
#include "desktopside.h"

#include "season/datafiles.h"
#include "season/seasonfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace cli;

namespace {

void printError(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

QString usage()
{
    QStringList lines{u"usage: rinkomat-cli COMMAND [OPTIONS] ARGS...  (--json, --csv, --html, --today D.M.YYYY)"_qs};
    for (const auto& [name, command] : commands())
        lines << u"  rinkomat-cli "_qs + command.usage;
    return lines.join(u'\n');
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

int main(int argc, char* argv[])
{
    // A file-size limit must fail the write that meets it, which then exits 2 with a message.
    std::signal(SIGXFSZ, SIG_IGN);
    std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication& app = *application;
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({{u"json"_qs, u"JSON output"_qs},
                       {u"csv"_qs, u"CSV output, as the window saves it"_qs},
                       {u"html"_qs, u"HTML output, as the window saves it"_qs},
                       {u"team"_qs, u"one team's matches"_qs, u"N"_qs},
                       {u"today"_qs, u"the date taken as today"_qs, u"D.M.YYYY"_qs},
                       {u"from"_qs, u"first round"_qs, u"R"_qs},
                       {u"to"_qs, u"last round"_qs, u"R"_qs},
                       {u"venue"_qs, u"1 home, 2 away, 3 total"_qs, u"V"_qs},
                       {u"sort"_qs, u"criterion 0..12"_qs, u"C"_qs},
                       {u"rules"_qs, u"order on equal points: running or final"_qs, u"RULES"_qs},
                       {u"type"_qs, u"streak type 0..15"_qs, u"T"_qs},
                       {u"overtime"_qs, u"draw or final"_qs, u"MODE"_qs},
                       {u"order"_qs, u"streak order 0..2"_qs, u"O"_qs},
                       {u"pdf"_qs, u"also print to this PDF file"_qs, u"OUT"_qs},
                       {u"assume"_qs, u"a result taken as typed, never written"_qs, u"ROUND:SLOT=RESULT"_qs},
                       {u"sims"_qs, u"simulated seasons 1..1000000"_qs, u"N"_qs},
                       {u"seed"_qs, u"seed of the simulation"_qs, u"S"_qs},
                       {u"line"_qs, u"dividing line 1..3 of the key matches"_qs, u"K"_qs},
                       {u"yes"_qs, u"answer every question Yes"_qs},
                       {u"no"_qs, u"answer every question No"_qs},
                       {u"conflicts"_qs, u"results that differ from the server's: mine or server"_qs, u"KEEP"_qs}});
    if (!parser.parse(app.arguments()) || parser.positionalArguments().isEmpty()) {
        printError(parser.errorText().isEmpty() ? usage() : parser.errorText() + u'\n' + usage());
        return 64;
    }
    Context context;
    context.parser = &parser;
    context.args = parser.positionalArguments();
    const QString name = context.args.takeFirst();
    const auto command = commands().find(name);
    if (command == commands().end() || context.args.size() < command->second.minArgs ||
        context.args.size() > command->second.maxArgs) {
        printError(usage());
        return 64;
    }
    if (!hasDesktop() && (name == u"update" || parser.isSet(u"pdf"_qs)))
        return runSibling(app.arguments().mid(1));
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
        printError(e.text + u'\n' + u"usage: rinkomat-cli "_qs + command->second.usage);
        return 64;
    } catch (const FileError& e) {
        printError(e.text);
        return 2;
    }
}
