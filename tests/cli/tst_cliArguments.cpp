// SPDX-License-Identifier: MIT
// The command line's arguments, checked in-process: every value outside its range or form is refused
// with exit 64 before anything is read or written. (The update's run in the sibling: tst_cli.)
#include "cli/commands.h"
#include "fixture/league.h"

#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Runs the command line with its output thrown away.
int quietly(const QStringList& args)
{
    const int out = dup(1), err = dup(2), null = open("/dev/null", O_WRONLY);
    dup2(null, 1), dup2(null, 2);
    const int code = cli::run(QStringList{u"rinkomat-cli"_qs} + args);
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
        row(u"enter round"_qs, {u"enter"_qs, u"LEAGUE"_qs, u"@"_qs, u"1"_qs, u"1:0"_qs}, u"53"_qs);
        row(u"enter slot"_qs, {u"enter"_qs, u"LEAGUE"_qs, u"1"_qs, u"@"_qs, u"1:0"_qs}, u"8"_qs);
        row(u"enter result"_qs, {u"enter"_qs, u"LEAGUE"_qs, u"1"_qs, u"1"_qs, u"@"_qs}, u"100:1"_qs, {QString()});
        row(u"swap round"_qs, {u"swap"_qs, u"LEAGUE"_qs, u"@"_qs, u"1"_qs}, u"53"_qs);
        row(u"swap slot"_qs, {u"swap"_qs, u"LEAGUE"_qs, u"1"_qs, u"@"_qs}, u"8"_qs);
        row(u"table --from"_qs, {u"table"_qs, u"LEAGUE"_qs, u"--from"_qs, u"@"_qs}, u"53"_qs);
        row(u"table --to"_qs, {u"table"_qs, u"LEAGUE"_qs, u"--to=@"_qs}, u"53"_qs);
        row(u"table --venue"_qs, {u"table"_qs, u"LEAGUE"_qs, u"--venue"_qs, u"@"_qs}, u"4"_qs);
        row(u"table --sort"_qs, {u"table"_qs, u"LEAGUE"_qs, u"--sort"_qs, u"@"_qs}, u"13"_qs, {u"0"_qs});
        row(u"table --rules"_qs, {u"table"_qs, u"LEAGUE"_qs, u"--rules"_qs, u"@"_qs}, u"finale"_qs);
        row(u"table --assume"_qs, {u"table"_qs, u"LEAGUE"_qs, u"--assume"_qs, u"@"_qs}, u"53:1=1:0"_qs);
        row(u"streaks --venue"_qs, {u"streaks"_qs, u"LEAGUE"_qs, u"--venue"_qs, u"@"_qs}, u"4"_qs);
        row(u"streaks --type"_qs, {u"streaks"_qs, u"LEAGUE"_qs, u"--type"_qs, u"@"_qs}, u"16"_qs, {u"0"_qs});
        row(u"streaks --overtime"_qs, {u"streaks"_qs, u"LEAGUE"_qs, u"--overtime"_qs, u"@"_qs}, u"drew"_qs);
        row(u"streaks --order"_qs, {u"streaks"_qs, u"LEAGUE"_qs, u"--order"_qs, u"@"_qs}, u"3"_qs, {u"0"_qs});
        row(u"balance team"_qs, {u"balance"_qs, u"LEAGUE"_qs, u"@"_qs}, u"15"_qs);
        row(u"matches team"_qs, {u"matches"_qs, u"LEAGUE"_qs, u"@"_qs}, u"15"_qs);
        row(u"h2h first"_qs, {u"h2h"_qs, u"LEAGUE"_qs, u"@"_qs, u"1"_qs}, u"15"_qs, {u"0"_qs});
        row(u"h2h second"_qs, {u"h2h"_qs, u"LEAGUE"_qs, u"1"_qs, u"@"_qs}, u"15"_qs, {u"0"_qs});
        row(u"missing --today"_qs, {u"missing"_qs, u"LEAGUE"_qs, u"--today"_qs, u"@"_qs}, u"32.1.2008"_qs);
        row(u"ics --team"_qs, {u"ics"_qs, u"LEAGUE"_qs, u"--team"_qs, u"@"_qs}, u"15"_qs);
        row(u"forecast --sims"_qs, {u"forecast"_qs, u"LEAGUE"_qs, u"--sims"_qs, u"@"_qs}, u"1000001"_qs);
        row(u"forecast --seed"_qs, {u"forecast"_qs, u"LEAGUE"_qs, u"--seed"_qs, u"@"_qs}, u"9223372036854775808"_qs,
            {u"0"_qs, u"123456789012"_qs});
        row(u"forecast --team"_qs, {u"forecast"_qs, u"LEAGUE"_qs, u"--team"_qs, u"@"_qs}, u"15"_qs);
        row(u"forecast --line"_qs, {u"forecast"_qs, u"LEAGUE"_qs, u"--team"_qs, u"1"_qs, u"--line"_qs, u"@"_qs},
            u"4"_qs);
    }

    void hostileValues()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, onePast);
        QFETCH(QStringList, valid);
        const QTemporaryDir dir;
        const QString league = fixture::writeLeague(QDir(dir.path()));
        args.replaceInStrings(u"LEAGUE"_qs, league).replaceInStrings(u"FOLDER"_qs, dir.path());
        const QMap<QString, QByteArray> before = fixture::snapshot(dir.path());
        for (const QString& value : {QString(), u"0"_qs, u"-1"_qs, onePast, u"123456789012"_qs, u"abc"_qs, u"1.5"_qs,
                                     u"--"_qs, QString(300, u'x'), u"../x"_qs, u"1\n2"_qs}) {
            if (valid.contains(value))
                continue;
            QStringList typed = args;
            for (QString& a : typed)
                a.replace(u"@"_qs, value);
            QVERIFY2(quietly(typed) == 64, qPrintable(typed.join(u' ')));
        }
        QCOMPARE(fixture::snapshot(dir.path()), before);
    }
};

QTEST_GUILESS_MAIN(tst_cliArguments)
#include "tst_cliArguments.moc"
