// SPDX-License-Identifier: MIT
// The command line's arguments, checked in-process: every value outside its range or form is refused
// with exit 64 before anything is read or written. (The update's run in the sibling: tst_cli.)
#include "cli/commands.h"
#include "fixture/league.h"

#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs the command line with its output thrown away.
int quietly(const QStringList& args)
{
    const int out = dup(1), err = dup(2), null = open("/dev/null", O_WRONLY);
    dup2(null, 1), dup2(null, 2);
    const int code = cli::run(QStringList{u"rinkomat-cli"_s} + args);
    std::fflush(stdout), std::fflush(stderr), dup2(out, 1), dup2(err, 2);
    close(out), close(err), close(null);
    return code;
}

} // namespace

class tst_cliArguments final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hostileValues_data()
    {
        QTest::addColumn<QStringList>("args"); // @ marks the value
        QTest::addColumn<QString>("onePast");
        QTest::addColumn<QStringList>("valid"); // the hostile values this place takes
        const auto row = [](const QString& name, const QStringList& args, const QString& onePast,
                            const QStringList& valid = {}) {
            QTest::addRow("%s", qPrintable(name)) << args << onePast << valid;
        };
        row(u"enter round"_s, {u"enter"_s, u"LEAGUE"_s, u"@"_s, u"1"_s, u"1:0"_s}, u"53"_s);
        row(u"enter slot"_s, {u"enter"_s, u"LEAGUE"_s, u"1"_s, u"@"_s, u"1:0"_s}, u"8"_s);
        row(u"enter result"_s, {u"enter"_s, u"LEAGUE"_s, u"1"_s, u"1"_s, u"@"_s}, u"100:1"_s, {QString()});
        row(u"swap round"_s, {u"swap"_s, u"LEAGUE"_s, u"@"_s, u"1"_s}, u"53"_s);
        row(u"swap slot"_s, {u"swap"_s, u"LEAGUE"_s, u"1"_s, u"@"_s}, u"8"_s);
        row(u"table --from"_s, {u"table"_s, u"LEAGUE"_s, u"--from"_s, u"@"_s}, u"53"_s);
        row(u"table --to"_s, {u"table"_s, u"LEAGUE"_s, u"--to=@"_s}, u"53"_s);
        row(u"table --venue"_s, {u"table"_s, u"LEAGUE"_s, u"--venue"_s, u"@"_s}, u"4"_s);
        row(u"table --sort"_s, {u"table"_s, u"LEAGUE"_s, u"--sort"_s, u"@"_s}, u"13"_s, {u"0"_s});
        row(u"table --rules"_s, {u"table"_s, u"LEAGUE"_s, u"--rules"_s, u"@"_s}, u"finale"_s);
        row(u"table --assume"_s, {u"table"_s, u"LEAGUE"_s, u"--assume"_s, u"@"_s}, u"53:1=1:0"_s);
        row(u"streaks --venue"_s, {u"streaks"_s, u"LEAGUE"_s, u"--venue"_s, u"@"_s}, u"4"_s);
        row(u"streaks --type"_s, {u"streaks"_s, u"LEAGUE"_s, u"--type"_s, u"@"_s}, u"16"_s, {u"0"_s});
        row(u"streaks --overtime"_s, {u"streaks"_s, u"LEAGUE"_s, u"--overtime"_s, u"@"_s}, u"drew"_s);
        row(u"streaks --order"_s, {u"streaks"_s, u"LEAGUE"_s, u"--order"_s, u"@"_s}, u"3"_s, {u"0"_s});
        row(u"balance team"_s, {u"balance"_s, u"LEAGUE"_s, u"@"_s}, u"15"_s);
        row(u"matches team"_s, {u"matches"_s, u"LEAGUE"_s, u"@"_s}, u"15"_s);
        row(u"h2h first"_s, {u"h2h"_s, u"LEAGUE"_s, u"@"_s, u"1"_s}, u"15"_s, {u"0"_s});
        row(u"h2h second"_s, {u"h2h"_s, u"LEAGUE"_s, u"1"_s, u"@"_s}, u"15"_s, {u"0"_s});
        row(u"missing --today"_s, {u"missing"_s, u"LEAGUE"_s, u"--today"_s, u"@"_s}, u"32.1.2008"_s);
        row(u"ics --team"_s, {u"ics"_s, u"LEAGUE"_s, u"--team"_s, u"@"_s}, u"15"_s);
        row(u"forecast --sims"_s, {u"forecast"_s, u"LEAGUE"_s, u"--sims"_s, u"@"_s}, u"1000001"_s);
        row(u"forecast --seed"_s, {u"forecast"_s, u"LEAGUE"_s, u"--seed"_s, u"@"_s}, u"9223372036854775808"_s,
            {u"0"_s, u"123456789012"_s});
        row(u"forecast --team"_s, {u"forecast"_s, u"LEAGUE"_s, u"--team"_s, u"@"_s}, u"15"_s);
        row(u"forecast --line"_s, {u"forecast"_s, u"LEAGUE"_s, u"--team"_s, u"1"_s, u"--line"_s, u"@"_s}, u"4"_s);
    }

    void hostileValues()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, onePast);
        QFETCH(QStringList, valid);
        const QTemporaryDir dir;
        const QString league = fixture::writeLeague(QDir(dir.path()));
        args.replaceInStrings(u"LEAGUE"_s, league).replaceInStrings(u"FOLDER"_s, dir.path());
        const QMap<QString, QByteArray> before = fixture::snapshot(dir.path());
        for (const QString& value : {QString(), u"0"_s, u"-1"_s, onePast, u"123456789012"_s, u"abc"_s, u"1.5"_s,
                                     u"--"_s, QString(300, u'x'), u"../x"_s, u"1\n2"_s}) {
            if (valid.contains(value))
                continue;
            QStringList typed = args;
            for (QString& a : typed)
                a.replace(u"@"_s, value);
            QVERIFY2(quietly(typed) == 64, qPrintable(typed.join(u' ')));
        }
        QCOMPARE(fixture::snapshot(dir.path()), before);
    }
};

QTEST_GUILESS_MAIN(tst_cliArguments)
#include "tst_cliArguments.moc"
