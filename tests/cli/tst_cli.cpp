// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "fixture/loopbackserver.h"
#include "fixture/programfolder.h"
#include "fixture/wait.h"
#include "outlook/forecast.h"
#include "playoff/playoff.h"
#include "season/adjustments.h"
#include "season/datafiles.h"
#include "season/journal.h"
#include "season/seasonfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <cmath>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int exitCode = -1;
    QJsonObject json;
    QString err;
    QString out;
};

// The program runs with this limit on the files it writes (RLIMIT_FSIZE); 0 for none.
void limitFileSize(QProcess& p, rlim_t bytes)
{
    if (bytes == 0)
        return;
    p.setChildProcessModifier([bytes] {
        // The program must ignore SIGXFSZ itself: the default would kill it without a word.
        signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
}

// Runs the program and keeps this process's event loop going, for the loopback server's sake.
// `stdoutFile` takes the output instead of a pipe.
Run cli(const QStringList& args, rlim_t fileSizeLimit = 0, const QString& stdoutFile = {})
{
    QProcess p;
    limitFileSize(p, fileSizeLimit);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(RINKOMAT_CLI), args);
    if (!fixture::waitFor([&] { return p.state() == QProcess::NotRunning; }))
        return {};
    if (p.exitStatus() != QProcess::NormalExit)
        return {128 + p.exitCode(), {}, u"killed"_s, {}};
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitCode(), QJsonDocument::fromJson(out).object(), QString::fromUtf8(p.readAllStandardError()),
            QString::fromUtf8(out)};
}

} // namespace

class tst_cli final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enterAndSwapOnBundledLeague()
    {
        const QString source = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");
        const QString copy = m_dir.filePath(u"sezona_extraliga0708.txt"_s);
        QVERIFY(QFile::copy(source, copy) && QFile::copy(scheduleFileFor(source), scheduleFileFor(copy)));
        SeasonStore expected = fixture::load(copy);

        Run r = cli({u"enter"_s, copy, u"40"_s, u"3"_s, u"5+4-"_s, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value(u"stored"_s).toString(), u"5:4p"_s);
        expected.match(3, 40).result = u"5:4p"_s;
        QVERIFY(fixture::load(copy) == expected);

        r = cli({u"swap"_s, copy, u"40"_s, u"3"_s, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        Match& m = expected.match(3, 40);
        std::swap(m.home, m.away);
        QCOMPARE(r.json.value(u"pairing"_s).toString(), expected.ZAPAS(3, 40));
        QCOMPARE(r.json.value(u"home"_s).toString(), expected.TymPodleCisla(m.home));
        QVERIFY(fixture::load(copy) == expected);
    }

    // The options reach the standings: Jihlava and Šumperk end level; Jihlava won their one meeting.
    void tableOptions()
    {
        const QString league = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_prvniliga0708.txt");
        for (const auto& [rules, thirteenth] : {std::pair{u"running"_s, u"Šumperk"_s}, {u"final"_s, u"Jihlava"_s}}) {
            const Run r =
                cli({u"table"_s, league, u"--rules"_s, rules, u"--from"_s, u"52"_s, u"--to"_s, u"1"_s, u"--json"_s});
            QCOMPARE(r.json.value(u"rows"_s).toArray()[12].toObject().value(u"team"_s).toString(), thirteenth);
            QCOMPARE(r.json.value(u"caption"_s).toString(), u"tabulka za období   (kola 1 - 52)"_s);
        }
    }

    // The same call prints the same numbers; a team's shares add up to 100 %.
    void forecastIsRepeatable()
    {
        const QString league = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");
        const QStringList args{u"forecast"_s, league,      u"--sims"_s, u"300"_s, u"--seed"_s,
                               u"5"_s,        u"--json"_s, u"--team"_s, u"3"_s,   u"--line=2"_s};
        const Run first = cli(args), second = cli(args);
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.out, second.out);
        QCOMPARE(first.json.value(u"seasons"_s).toInt(), 300);
        QCOMPARE(first.json.value(u"model"_s).toString(), QLatin1StringView(kOutlookModel));
        const QJsonArray teams = first.json.value(u"teams"_s).toArray();
        QCOMPARE(teams.size(), kTeams);
        for (const QJsonValue& team : teams) {
            double sum = 0;
            for (const QJsonValue& share : team.toObject().value(u"places"_s).toArray()) {
                sum += share.toDouble();
                const double seasons = share.toDouble() * 3; // of 300: a whole number, however rare
                QVERIFY2(qAbs(seasons - std::round(seasons)) < 1e-3, qPrintable(QString::number(share.toDouble())));
            }
            QVERIFY2(qAbs(sum - 100) < 1e-3, qPrintable(QString::number(sum)));
            QVERIFY(team.toObject().value(u"expected_points"_s).toDouble() >=
                    team.toObject().value(u"points"_s).toDouble());
            const QJsonObject t = team.toObject(), line = t.value(u"lines"_s).toArray().at(0).toObject();
            QVERIFY(t.value(u"best"_s).toInt() >= 1 && t.value(u"best"_s).toInt() <= t.value(u"worst"_s).toInt());
            QVERIFY(line.value(u"line"_s).toInt() == 8 && line.contains(u"needed"_s));
        }
        // The team's key matches: five, each with the share if either side wins.
        const QJsonArray matches = first.json.value(u"key_matches"_s).toArray();
        QCOMPARE(matches.size(), 5);
        for (const QJsonValue& m : matches)
            QVERIFY(m.toObject().contains(u"if_home_wins"_s) && !m.toObject().value(u"home"_s).toString().isEmpty());
    }

    // An assumed result counts in every view as if typed with enter, and never reaches the file.
    void assumeCountsButIsNeverWritten()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path())),
                      copy = fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(),
                                                  fixture::scheduleLines(), u"kopie"_s);
        const QByteArray before = fixture::contents(scheduleFileFor(path));
        QCOMPARE(cli({u"enter"_s, copy, u"3"_s, u"2"_s, u"5+4-"_s}).exitCode, 0);
        QCOMPARE(cli({u"enter"_s, copy, u"7"_s, u"1"_s, u"2:0"_s}).exitCode, 0);
        for (const QString& view : {u"table"_s, u"cross"_s, u"graph"_s, u"forecast"_s}) {
            const QStringList options{u"--json"_s, u"--sims"_s, u"50"_s};
            const Run assumed = cli(QStringList{view, path, u"--assume"_s, u"3:2=5+4-"_s, u"--assume=7:1=2:0"_s} +
                                    (view == u"forecast" ? options : QStringList{u"--json"_s}));
            const Run typed = cli(QStringList{view, copy} + (view == u"forecast" ? options : QStringList{u"--json"_s}));
            QCOMPARE(assumed.exitCode, 0);
            QVERIFY2(assumed.out == typed.out && !assumed.out.isEmpty(), qPrintable(view));
        }
        QCOMPARE(fixture::contents(scheduleFileFor(path)), before);
    }

    // Help and version on stdout with exit 0; what was not understood is named, with the hint.
    void helpAndVersion()
    {
        QCOMPARE(cli({u"--version"_s}).out, u"rinkomat-cli " RINKOMAT_VERSION "\n"_s);
        const Run help = cli({u"--help"_s});
        QCOMPARE(help.exitCode, 0);
        QCOMPARE(cli({u"-h"_s}).out, help.out);
        for (const QString& said : {u"Návratové kódy"_s, u"64  chybné argumenty"_s, u"forecast"_s, u"update"_s})
            QVERIFY2(help.out.contains(said), qPrintable(said));
        const Run table = cli({u"table"_s, u"--help"_s});
        QVERIFY(table.exitCode == 0 && table.out.contains(u"--rules"_s) && table.out.contains(u"Příklad"_s));
        const Run unknown = cli({u"tabulka"_s});
        QVERIFY(unknown.err.contains(u"„tabulka“"_s) && unknown.err.contains(u"rinkomat-cli --help"_s));
        QVERIFY(cli({u"table"_s, u"x"_s, u"--bogus"_s}).err.contains(u"„--bogus“"_s));
    }

    // A cell of two meetings reads "2:1 / 1:3", and a cell of one has no separator left hanging.
    void crossTextSeparators()
    {
        const Run r = cli({u"cross"_s, QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0607.txt")});
        QVERIFY(r.out.contains(u"\t2:1 / 1:3\t"_s));
        for (const QString& cell : r.out.split(QRegularExpression(u"[\t\n]"_s)))
            QVERIFY2(!cell.startsWith(u' ') && !cell.endsWith(u' ') && !cell.contains(u"/  /"_s), qPrintable(cell));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addRow("no command") << QStringList{} << 64;
        QTest::addRow("unknown command") << QStringList{u"tabulka"_s} << 64;
        QTest::addRow("round out of range") << QStringList{u"enter"_s, u"LEAGUE"_s, u"53"_s, u"1"_s, u"1:0"_s} << 64;
        QTest::addRow("bad option before a missing file")
            << QStringList{u"table"_s, u"/nonexistent/sezona_x.txt"_s, u"--sort"_s, u"13"_s} << 64;
        QTest::addRow("missing file") << QStringList{u"league"_s, u"/nonexistent/sezona_x.txt"_s} << 2;
        for (const QString& bad : {u"53:1=1:0"_s, u"1:8=1:0"_s, u"1:1=100:1"_s, u"1:1"_s, u"x"_s})
            QTest::addRow("%s", qPrintable(u"--assume "_s + bad))
                << QStringList{u"table"_s, u"LEAGUE"_s, u"--assume"_s, bad} << 64;
        QTest::addRow("no simulated season") << QStringList{u"forecast"_s, u"LEAGUE"_s, u"--sims"_s, u"0"_s} << 64;
        QTest::addRow("too many simulated seasons")
            << QStringList{u"forecast"_s, u"LEAGUE"_s, u"--sims"_s, u"1000001"_s} << 64;
        QTest::addRow("seed not a whole number")
            << QStringList{u"forecast"_s, u"LEAGUE"_s, u"--seed"_s, u"1.5"_s} << 64;
        for (const QStringList& bad : {QStringList{u"--team"_s, u"0"_s},
                                       {u"--team"_s, u"15"_s},
                                       {u"--team"_s, u"1"_s, u"--line"_s, u"0"_s},
                                       {u"--team"_s, u"1"_s, u"--line"_s, u"4"_s},
                                       {u"--line"_s, u"1"_s}})
            QTest::addRow("forecast %s", qPrintable(bad.join(u' ')))
                << QStringList{u"forecast"_s, u"LEAGUE"_s} + bad << 64;
        for (const QString& bad : {QString(), u"theirs"_s})
            QTest::addRow("update --conflicts '%s'", qPrintable(bad))
                << QStringList{u"update"_s, u"http://127.0.0.1:9/"_s, u"/nonexistent"_s, u"--conflicts"_s, bad} << 64;
        QTest::addRow("update, no folder") << QStringList{u"update"_s, u"http://127.0.0.1:9/"_s, u"/x"_s} << 2;
        QTest::addRow("option of another command") << QStringList{u"table"_s, u"LEAGUE"_s, u"--sims=5"_s} << 64;
        QTest::addRow("two formats") << QStringList{u"table"_s, u"LEAGUE"_s, u"--json"_s, u"--csv"_s} << 64;
        QTest::addRow("a format a command has not") << QStringList{u"ics"_s, u"LEAGUE"_s, u"--json"_s} << 64;
        QTest::addRow("broken file") << QStringList{u"league"_s, u"BROKEN"_s} << 2;
        const QStringList adjust{u"adjust"_s, u"LEAGUE"_s};
        QTest::addRow("adjust team 0") << adjust + QStringList{u"0"_s, u"-3"_s, u"x"_s} << 64;
        QTest::addRow("adjust -100") << adjust + QStringList{u"1"_s, u"-100"_s, u"x"_s} << 64;
        QTest::addRow("adjust, no reason") << adjust + QStringList{u"1"_s, u"-3"_s, u" "_s} << 64;
        QTest::addRow("adjust, two at once") << adjust + QStringList{u"1"_s, u"-3"_s, u"x"_s, u"--list"_s} << 64;
        QTest::addRow("adjust, nothing") << adjust << 64;
        QTest::addRow("adjust, remove beyond") << adjust + QStringList{u"--remove"_s, u"1"_s} << 64;
        QTest::addRow("adjust, broken file") << QStringList{u"adjust"_s, u"BROKEN"_s, u"--list"_s} << 2;
    }

    void exitStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QStringList broken = fixture::competitionLines();
        broken[3] = u"HR1=x"_s;
        args.replaceInStrings(u"LEAGUE"_s, fixture::writeLeague(QDir(m_dir.path())));
        args.replaceInStrings(u"BROKEN"_s,
                              fixture::writeLeague(QDir(m_dir.path()), broken, fixture::scheduleLines(), u"broken"_s));
        const Run r = cli(args);
        QCOMPARE(r.exitCode, code);
        QVERIFY(!r.err.isEmpty());
    }

    // Added, listed, counted in the table, removed; a failed write leaves the file as it was.
    void adjustments()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        const QString file = dir.filePath(u"upravy_test.txt"_s);
        QCOMPARE(cli({u"enter"_s, path, u"1"_s, u"1"_s, u"2:0"_s}).exitCode, 0);
        QCOMPARE(cli({u"enter"_s, path, u"1"_s, u"2"_s, u"2:0"_s}).exitCode, 0);
        Run r = cli({u"adjust"_s, path, u"1"_s, u"-4"_s, u"licence"_s, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(cli({u"adjust"_s, path, u"5"_s, u"+1"_s, u"odvolání"_s}).exitCode, 0);
        r = cli({u"table"_s, path, u"--json"_s});
        const QJsonArray rows = r.json.value(u"rows"_s).toArray();
        QCOMPARE(rows[0].toObject().value(u"team"_s).toString(), u"Č. Budějovice"_s);
        const QJsonObject last = rows[13].toObject();
        QCOMPARE(last.value(u"team"_s).toString(), u"Tým 1"_s);
        QCOMPARE(last.value(u"pts"_s).toString(), u"-1"_s);
        QCOMPARE(last.value(u"adjustment"_s).toInt(), -4);
        QCOMPARE(last.value(u"reasons"_s).toArray().first().toString(), u"Tým 1 -4: licence"_s);
        QCOMPARE(last.value(u"form"_s).toString(), u"V"_s);
        QVERIFY(last.value(u"moved"_s).isNull());
        r = cli({u"adjust"_s, path, u"--remove"_s, u"1"_s, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        const QJsonArray left = r.json.value(u"adjustments"_s).toArray();
        QCOMPARE(left.size(), 1);
        QCOMPARE(left[0].toObject().value(u"points"_s).toInt(), 1);
        const QByteArray before = fixture::contents(file);
        r = cli({u"adjust"_s, path, u"2"_s, u"-1"_s, u"x"_s}, 20);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(u"povolenou velikost"_s), qPrintable(r.err));
        QCOMPARE(fixture::contents(file), before);
        // A bad file: the views say so and count nothing; adjust refuses to touch it.
        fixture::put(file, "1;-3\r\n");
        r = cli({u"table"_s, path, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.contains(u"„upravy_test.txt“, řádek 1"_s), qPrintable(r.err));
        QCOMPARE(r.json.value(u"rows"_s).toArray()[0].toObject().value(u"adjustment"_s).toInt(), 0);
        QVERIFY(r.json.value(u"adjustments_ignored"_s).toString().contains(u"řádek 1"_s));
        r = cli({u"table"_s, path}); // the output itself says the table is without them
        QVERIFY2(r.out.contains(u"Úpravy bodů nejsou započteny: Soubor „upravy_test.txt“, řádek 1"_s),
                 qPrintable(r.out));
        QCOMPARE(cli({u"adjust"_s, path, u"2"_s, u"-1"_s, u"x"_s}).exitCode, 2);
        QCOMPARE(fixture::contents(file), QByteArray("1;-3\r\n"));
    }

    // A league of 16 teams and 60 rounds: its own numbers in the output and in every refusal.
    void anyShape()
    {
        const QString league = fixture::writeLeague(QDir(m_dir.path()), fixture::competitionLines(16),
                                                    fixture::scheduleLines(16, 60, 20), u"sestnact"_s);
        Run r = cli({u"league"_s, league, u"--json"_s});
        QCOMPARE(r.json.value(u"teams"_s).toArray().size(), 16);
        const QJsonArray rounds = r.json.value(u"rounds"_s).toArray();
        QCOMPARE(rounds.size(), 60);
        QCOMPARE(rounds.last().toObject().value(u"matches"_s).toArray().size(), 8);
        QCOMPARE(cli({u"enter"_s, league, u"60"_s, u"8"_s, u"4:1"_s}).exitCode, 0);
        QCOMPARE(fixture::load(league).VYSLEDEK(8, 60), u"4:1"_s);
        QVERIFY(!QFileInfo::exists(RecoveryJournal(scheduleFileFor(league)).path()));
        QCOMPARE(cli({u"swap"_s, league, u"60"_s, u"8"_s}).exitCode, 0);
        QCOMPARE(fixture::load(league).VYSLEDEK(8, 60), u"4:1"_s);
        const QByteArray before = fixture::contents(scheduleFileFor(league));
        for (const auto& [args, fault] :
             {std::pair{QStringList{u"enter"_s, league, u"61"_s, u"1"_s, u"1:0"_s}, u"od 1 do 60"_s},
              std::pair{QStringList{u"enter"_s, league, u"1"_s, u"9"_s, u"1:0"_s}, u"od 1 do 8"_s},
              std::pair{QStringList{u"table"_s, league, u"--to"_s, u"61"_s}, u"--to: „61“ není číslo od 1 do 60"_s},
              std::pair{QStringList{u"h2h"_s, league, u"1"_s, u"17"_s}, u"od 0 do 16"_s},
              std::pair{QStringList{u"table"_s, league, u"--assume"_s, u"60:9=1:0"_s}, u"zápasy 1 až 8"_s}}) {
            r = cli(args);
            QCOMPARE(r.exitCode, 64);
            QVERIFY2(r.err.contains(fault), qPrintable(r.err));
        }
        QCOMPARE(fixture::contents(scheduleFileFor(league)), before);
        // A postponed match to the round of the pair's next meeting; a round where it cannot stand refused.
        const Match postponed = fixture::load(league).match(1, 30);
        r = cli({u"move"_s, league, u"30"_s, u"1"_s, u"--to"_s, u"45"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(fixture::load(league).match(1, 45), postponed);
        const QByteArray moved = fixture::contents(scheduleFileFor(league));
        r = cli({u"move"_s, league, u"31"_s, u"1"_s, u"--to"_s, u"32"_s});
        QCOMPARE(r.exitCode, 64);
        QVERIFY2(r.err.contains(u"nemají oba týmy volno"_s), qPrintable(r.err));
        QCOMPARE(fixture::contents(scheduleFileFor(league)), moved);
        r = cli({u"table"_s, league, u"--json"_s, u"--assume"_s, u"60:7=1:0"_s});
        QCOMPARE(r.json.value(u"rows"_s).toArray().size(), 16);
    }

    // A new league from a list of teams: its files written once, refused over one that is there or on a full disk.
    void newLeague()
    {
        const QString folder = m_dir.filePath(u"nove"_s);
        QDir().mkpath(folder);
        const QString teams = m_dir.filePath(u"tymy.txt"_s);
        fixture::put(teams, "; tymy\r\nSparta\r\n\r\nSlavia\r\nKladno\r\nZl\xedn\r\n");
        const QStringList args{u"new"_s,     folder, u"--name"_s,  u"Krajská liga"_s, u"--season"_s, u"2026/2027"_s,
                               u"--teams"_s, teams,  u"--start"_s, u"1.9.2026"_s,     u"--days"_s,   u"út,pá"_s,
                               u"--lines"_s, u"2"_s, u"--json"_s};
        Run r = cli(args, 200); // a disk that takes the competition file, not the schedule
        QCOMPARE(r.exitCode, 2);
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        r = cli(args);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value(u"rounds"_s).toInt(), 12);
        QCOMPARE(r.json.value(u"breaks"_s).toInt(), 14); // two a block, two where blocks meet: no rematch next round
        const SeasonStore s = fixture::load(r.json.value(u"competition"_s).toString());
        QCOMPARE(s.TymPodleCisla(4), u"Zlín"_s);
        QCOMPARE(s.DATUM_KOLA(2), QDate(2026, 9, 4));
        const QByteArray before = fixture::contents(r.json.value(u"schedule"_s).toString());
        r = cli(args);
        QCOMPARE(r.exitCode, 64);
        QVERIFY2(r.err.contains(u"už ve složce je"_s), qPrintable(r.err));
        QCOMPARE(fixture::contents(folder + u"/los_krajskaliga2627.txt"_s), before);
        r = cli(QStringList(args) << u"--code"_s << u"k2"_s << u"--days"_s << u"xx"_s);
        QCOMPARE(r.exitCode, 64);
        QVERIFY2(r.err.contains(u"„xx“ není den"_s), qPrintable(r.err));
    }

    // A league with its own rules: 2-1-0 with draws and no overtime. A mark of overtime is refused like a typo,
    // a level game is a draw worth a point each; rules that leave a level game without a result are refused.
    void leagueWithItsOwnRules()
    {
        const QString folder = m_dir.filePath(u"pravidla"_s);
        QDir().mkpath(folder);
        const QString teams = m_dir.filePath(u"tymy4.txt"_s);
        fixture::put(teams, "Sparta\nSlavia\nKladno\nPlzen\n");
        const QStringList args{u"new"_s,       folder,       u"--name"_s, u"Stará liga"_s, u"--season"_s,
                               u"1990/1991"_s, u"--teams"_s, teams,       u"--start"_s,    u"1.9.1990"_s,
                               u"--days"_s,    u"so"_s,      u"--json"_s};
        for (const QStringList& bad : {QStringList{u"--points"_s, u"3,2,1"_s},
                                       {u"--draws"_s, u"snad"_s},
                                       {u"--draws"_s, u"no"_s, u"--overtime"_s, u"no"_s}}) {
            const Run r = cli(args + bad);
            QCOMPARE(r.exitCode, 64);
            QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        }
        Run r = cli(args + QStringList{u"--points"_s, u"2,0,1,0,0"_s, u"--overtime"_s, u"no"_s});
        QCOMPARE(r.exitCode, 0);
        const QString league = r.json.value(u"competition"_s).toString();
        QVERIFY(fixture::contents(league).contains("body=2,0,1,0,0"));
        const QByteArray before = fixture::contents(scheduleFileFor(league));
        r = cli({u"enter"_s, league, u"1"_s, u"1"_s, u"3:2p"_s});
        QCOMPARE(r.exitCode, 64);
        QVERIFY2(r.err.contains(u"prodloužení"_s), qPrintable(r.err));
        QCOMPARE(fixture::contents(scheduleFileFor(league)), before);
        r = cli({u"enter"_s, league, u"1"_s, u"1"_s, u"2:2"_s, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value(u"stored"_s).toString(), u"2:2"_s);
        QCOMPARE(cli({u"enter"_s, league, u"1"_s, u"2"_s, u"3:1"_s}).exitCode, 0);
        r = cli({u"table"_s, league, u"--json"_s});
        QList<int> points;
        for (const QJsonValue& row : r.json.value(u"rows"_s).toArray())
            points << row.toObject().value(u"pts"_s).toString().toInt();
        QCOMPARE(points, (QList<int>{2, 1, 1, 0}));
    }

    // Results into a league: names mapped or refused, a dry run writes nothing, a full disk loses nothing,
    // a conflict decided by --conflicts; then the same lines as a new league.
    void importMatches()
    {
        const QTemporaryDir dir;
        const QString path =
            fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(12), fixture::scheduleLines(12, 22, 11));
        const SeasonStore s = fixture::load(path);
        const int last = s.rounds();
        const Match& open = s.match(2, last);
        const Match& played = s.match(1, 1);
        QVERIFY(open.result.isEmpty() && !played.result.isEmpty());
        const QString csv = dir.filePath(u"vysledky.csv"_s);
        fixture::put(csv,
                     u"Datum;Domácí;Hosté;Výsledek\n%1;HC %2;%3;7:6 sn\n%4;%5;%6;0:9\n"_s
                         .arg(shortDate(s.DATUM_KOLA(last)), s.TymPodleCisla(open.home), u"Hosté B"_s,
                              shortDate(s.DATUM_KOLA(1)), s.TymPodleCisla(played.home), s.TymPodleCisla(played.away))
                         .toUtf8());
        const QByteArray before = fixture::contents(scheduleFileFor(path));
        const QStringList into{u"import"_s, csv, u"--into"_s, path, u"--json"_s};
        Run r = cli(into);
        QCOMPARE(r.exitCode, 2); // the file names a team the league lacks: a file's fault, said to a script too
        QVERIFY2(r.err.contains(u"Hosté B"_s), qPrintable(r.err));
        QCOMPARE(r.json.value(u"unresolved"_s).toArray(), QJsonArray{u"Hosté B"_s});
        QVERIFY(r.json.value(u"error"_s).toString().contains(u"Hosté B"_s));
        const QStringList mapped = QStringList(into) << u"--map"_s << u"Hosté B=%1"_s.arg(open.away);
        r = cli(QStringList(mapped) << u"--dry-run"_s);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value(u"entered"_s).toInt(), 1);
        QCOMPARE(r.json.value(u"conflicts"_s).toArray().size(), 1);
        QCOMPARE(fixture::contents(scheduleFileFor(path)), before);
        const QStringList theirs = QStringList(mapped) << u"--conflicts"_s << u"theirs"_s;
        QCOMPARE(cli(theirs, 1000).exitCode, 2);
        QCOMPARE(fixture::contents(scheduleFileFor(path)), before);
        r = cli(theirs);
        QCOMPARE(r.exitCode, 0);
        const SeasonStore after = fixture::load(path);
        QCOMPARE(after.match(2, last).result, u"7:6n"_s);
        QCOMPARE(after.match(1, 1).result, u"0:9"_s);

        const QString ics = dir.filePath(u"pohar.ics"_s);
        fixture::put(ics, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20080105\r\nSUMMARY:A - B 2:1\r\n"
                          "END:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20080112\r\nSUMMARY:B - A\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n");
        const QStringList asNew{u"import"_s, ics,           u"--new"_s,     dir.path(), u"--name"_s,
                                u"Pohár"_s,  u"--season"_s, u"2007/2008"_s, u"--json"_s};
        r = cli(asNew);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value(u"entered"_s).toInt(), 1);
        const SeasonStore cup = fixture::load(r.json.value(u"competition"_s).toString());
        QCOMPARE(cup.rounds(), 2);
        QCOMPARE(cup.DATUM_KOLA(2), QDate(2008, 1, 12));
        QCOMPARE(cli(asNew).exitCode, 64); // never over a league that is there
    }

    // Real files into a league of 20 teams: every change listed (the text at most a thousand), guesses and other
    // teams' lines confirmed or skipped, a file of two seasons read for one, and refusals that tell a script why.
    void importRealFiles()
    {
        const QTemporaryDir dir;
        const QString path =
            fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(20), fixture::scheduleLines(20, 120, 0));
        const SeasonStore s = fixture::load(path);
        QStringList all{u"kolo;domaci;hoste;vysledek"_s};
        for (int r = 1; r <= s.rounds(); ++r)
            for (int m = 1; m <= s.slots(); ++m)
                all << u"%1;%2;%3;%4:1"_s.arg(r)
                           .arg(s.TymPodleCisla(s.match(m, r).home), s.TymPodleCisla(s.match(m, r).away))
                           .arg(r % 7);
        const QString csv = dir.filePath(u"vse.csv"_s);
        fixture::put(csv, all.join(u'\n').toUtf8());
        const QStringList dry{u"import"_s, csv, u"--into"_s, path, u"--dry-run"_s};
        Run r = cli(dry);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.count(u"\nřádek "_s), 1000);
        QVERIFY2(r.out.contains(u"… a dalších 200 změn"_s), qPrintable(r.out.right(300)));
        r = cli(QStringList(dry) << u"--json"_s);
        const QJsonArray changes = r.json.value(u"changes"_s).toArray();
        QCOMPARE(changes.size(), 1200);
        const Match& last = s.match(s.slots(), s.rounds());
        QCOMPARE(changes.last().toObject(), (QJsonObject{{u"line"_s, 1201},
                                                         {u"round"_s, 120},
                                                         {u"home"_s, s.TymPodleCisla(last.home)},
                                                         {u"away"_s, s.TymPodleCisla(last.away)},
                                                         {u"result"_s, u"1:1p"_s},
                                                         {u"match"_s, u"exact"_s}}));

        const Match& first = s.match(1, 1);
        const QString guess = u"%1 B"_s.arg(s.TymPodleCisla(first.home));
        fixture::put(csv, u"kolo;domaci;hoste;vysledek\n1;%1;%2;3:2 (OT)\n1;Cizinci;%2;1:0\n"_s
                              .arg(guess, s.TymPodleCisla(first.away))
                              .toUtf8());
        const QStringList into{u"import"_s, csv, u"--into"_s, path, u"--json"_s};
        r = cli(into);
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.json.value(u"unresolved"_s).toArray(), QJsonArray{u"Cizinci"_s});
        r = cli(QStringList(into) << u"--skip-unknown"_s);
        QCOMPARE(r.exitCode, 2); // a guessed name is not written unseen
        QCOMPARE(r.json[u"guessed"_s][0][u"team"_s].toString(), s.TymPodleCisla(first.home));
        r = cli(QStringList(into) << u"--skip-unknown"_s << u"--accept-guesses"_s);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json[u"changes"_s][0][u"match"_s].toString(), u"guessed"_s);
        QCOMPARE(r.json[u"foreign"_s][0][u"line"_s].toInt(), 3);
        QCOMPARE(fixture::load(path).match(1, 1).result, u"3:2p"_s);

        fixture::put(csv, u"Season;Date;Home;Away;HG;AG\n2006/2007;1.3.2007;%1;%2;1;0\n2007/2008;%3;%1;%2;2;0\n"_s
                              .arg(s.TymPodleCisla(s.match(2, 1).home), s.TymPodleCisla(s.match(2, 1).away),
                                   shortDate(s.DATUM_KOLA(1)))
                              .toUtf8());
        r = cli(into);
        QCOMPARE(r.exitCode, 0); // the league's own season is read
        QCOMPARE(r.json[u"changes"_s][0][u"result"_s].toString(), u"2:0"_s);
        const QStringList asNew{u"import"_s, csv, u"--new"_s, dir.path(), u"--name"_s, u"Liga"_s, u"--json"_s};
        r = cli(QStringList(asNew) << u"--season"_s << u"2005/2006"_s);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.json.value(u"error"_s).toString().contains(u"2006/2007, 2007/2008"_s));

        fixture::put(csv, "1;2;3\n4;5;6\n");
        r = cli(into);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.json.value(u"error"_s).toString().contains(u"sloupce nelze rozpoznat"_s), qPrintable(r.err));
        QCOMPARE(cli(QStringList(into) << u"--columns"_s << u"home,away,goals"_s).exitCode, 64);
    }

    // A match rescheduled keeps its round; the table on a date counts what was played by then by the matches'
    // own dates, against a count of its own.
    void rescheduleAndTableOnDate()
    {
        const QTemporaryDir dir;
        const QString path =
            fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(), fixture::scheduleLines());
        QDir().mkpath(dir.path());
        const auto withDates = [&] { return readLeague(path).value().store; };
        SeasonStore s = fixture::load(path);
        QRandomGenerator random(4711);
        QStringList dates;
        for (int r = 1; r <= 20; ++r)
            for (int m = 1; m <= s.slots(); ++m) {
                s.match(m, r).result = u"%1:%2"_s.arg(random.bounded(6)).arg(random.bounded(6) + 6);
                if (random.bounded(4) == 0)
                    dates << u"%1;%2;%3"_s.arg(r).arg(m).arg(
                        shortDate(s.DATUM_KOLA(r).addDays(random.bounded(-10, 40))));
            }
        fixture::put(scheduleFileFor(path), scheduleBytes(s));
        fixture::put(matchDatesFileFor(path), encodeLines(dates));
        s = withDates();
        QCOMPARE(s.matchDates.size(), dates.size());
        for (const QDate day : {s.DATUM_KOLA(5), s.DATUM_KOLA(12).addDays(1), s.DATUM_KOLA(20).addDays(30)}) {
            const Run r = cli({u"table"_s, path, u"--date"_s, shortDate(day), u"--json"_s});
            QCOMPARE(r.json.value(u"caption"_s).toString(), u"tabulka k "_s + shortDate(day));
            for (const QJsonValue row : r.json.value(u"rows"_s).toArray()) {
                const int team = s.CisloPodleTymu(row[u"team"_s].toString());
                int played = 0;
                for (int round = 1; round <= s.rounds(); ++round)
                    for (int m = 1; m <= s.slots(); ++m)
                        played += !s.match(m, round).result.isEmpty() && s.matchDay(m, round) <= day &&
                                  (s.match(m, round).home == team || s.match(m, round).away == team);
                QCOMPARE(row[u"gp"_s].toString().toInt(), played);
            }
        }
        QCOMPARE(cli({u"table"_s, path, u"--date"_s, u"1.1.2008"_s, u"--to"_s, u"3"_s}).exitCode, 64);

        Run r = cli({u"reschedule"_s, path, u"30"_s, u"2"_s, u"--date"_s, u"12.2.2008"_s, u"--time"_s, u"18:00"_s,
                     u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value(u"date"_s).toString(), u"12.2.2008"_s);
        QCOMPARE(withDates().matchDates.value({30, 2}).time, QTime(18, 0));
        r = cli({u"reschedule"_s, path, u"30"_s, u"3"_s, u"--postponed"_s, u"--json"_s});
        QVERIFY(r.json.value(u"postponed"_s).toBool());
        QVERIFY(withDates().postponed(3, 30));
        QCOMPARE(cli({u"reschedule"_s, path, u"30"_s, u"3"_s, u"--clear"_s}).exitCode, 0);
        QVERIFY(!withDates().matchDates.contains({30, 3}));
        for (const QStringList& wrong :
             {QStringList{u"--postponed"_s, u"--clear"_s}, QStringList{u"--time"_s, u"18:00"_s},
              QStringList{u"--date"_s, u"31.2.2008"_s}, QStringList{u"--date"_s, u"1.1.2500"_s}})
            QCOMPARE(cli(QStringList{u"reschedule"_s, path, u"30"_s, u"2"_s} + wrong).exitCode, 64);
        const QByteArray kept = fixture::contents(matchDatesFileFor(path));
        QCOMPARE(cli({u"reschedule"_s, path, u"31"_s, u"2"_s, u"--date"_s, u"1.3.2008"_s}, 40).exitCode,
                 2); // a full disk
        QCOMPARE(fixture::contents(matchDatesFileFor(path)), kept);
        fixture::put(matchDatesFileFor(path), "1;1;x\r\n");
        r = cli({u"reschedule"_s, path, u"31"_s, u"2"_s, u"--postponed"_s});
        QCOMPARE(r.exitCode, 2); // a broken file is the fan's to mend, not overwritten
        QVERIFY2(r.err.contains(u"terminy_"_s), qPrintable(r.err));
    }

    // Play-off games of a results file go into the bracket as its series' games, checked like typed ones.
    void importPlayoffGames()
    {
        const QTemporaryDir dir;
        const QString path =
            fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(8), fixture::scheduleLines(8, 14, 14));
        fixture::put(playoffFileFor(path), "faze=Semifin\xe1le;1-4;2\r\nfaze=Fin\xe1le;vitezove Semifin\xe1le;1\r\n");
        const SeasonStore s = fixture::load(path);
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(s);
        const auto name = [&](int place) { return s.TymPodleCisla(order[place - 1]); };
        const QString csv = dir.filePath(u"playoff.csv"_s);
        fixture::put(csv,
                     u"Round;Date;Home;Away;Score\nSemifinal;1.3.2008;%1;%2;3:2 (OT)\nSemifinal;1.3.2008;%1;%3;1:0\n"_s
                         .arg(name(1), name(4), name(2))
                         .toUtf8());
        const QStringList into{u"import"_s, csv, u"--into"_s, path, u"--json"_s};
        Run r = cli(QStringList(into) << u"--dry-run"_s);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value(u"playoff_entered"_s).toInt(), 1);
        QCOMPARE(r.json.value(u"playoff_refused"_s).toArray().size(), 1); // 1st and 2nd meet in no semifinal
        r = cli(into);
        QCOMPARE(r.exitCode, 0);
        const QString file = decodeText(fixture::contents(playoffFileFor(path)));
        QVERIFY2(file.contains(u"zapas=Semifinále;%1-%2;3:2p;1.3.2008"_s.arg(order[0]).arg(order[3])),
                 qPrintable(file));
        QCOMPARE(cli(into).json.value(u"playoff_entered"_s).toInt(), 0); // a game the file has is not added again
        fixture::put(csv,
                     u"Round;Date;Home;Away;Score\nSemifinal;1.3.2008;%1;%2;1:0\n"_s.arg(name(1), name(4)).toUtf8());
        QCOMPARE(cli(into).json.value(u"playoff_entered"_s).toInt(), 1); // that day's other result is another game
    }

    // The bracket of a finished season, a game entered, refused as a draw or on a full disk, and the odds.
    void playoff()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"sezona_x.txt"_s);
        QVERIFY(QFile::copy(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt"), path));
        const SeasonStore season = fixture::playedUpTo(kRounds);
        fixture::put(scheduleFileFor(path), scheduleBytes(season));
        fixture::put(dir.filePath(u"playoff_x.txt"_s),
                     "faze=Semifin\xe1le;1-4;2\r\nfaze=Fin\xe1le;vitezove Semifin\xe1le;1\r\n");
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(season);
        const QString pair = u"%1-%2"_s.arg(order[0]).arg(order[3]);
        Run r = cli({u"playoff"_s, path, u"--game"_s, u"Semifinále"_s, pair, u"3:3"_s});
        QCOMPARE(r.exitCode, 64);
        QVERIFY2(r.err.contains(u"remízou"_s), qPrintable(r.err));
        const QByteArray before = fixture::contents(dir.filePath(u"playoff_x.txt"_s));
        QCOMPARE(cli({u"playoff"_s, path, u"--game"_s, u"Semifinále"_s, pair, u"3:2p"_s}, 60).exitCode, 2);
        QCOMPARE(fixture::contents(dir.filePath(u"playoff_x.txt"_s)), before);
        r = cli({u"playoff"_s, path, u"--game"_s, u"Semifinále"_s, pair, u"3:2p"_s, u"--date"_s, u"1.3.2008"_s,
                 u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject first = r.json[u"stages"_s][0][u"series"_s][0].toObject();
        QCOMPARE(first[u"better_place"_s].toInt(), 1);
        QCOMPARE(first[u"wins"_s].toArray(), (QJsonArray{1, 0}));
        QVERIFY(r.json[u"seeded"_s].toBool());
        QCOMPARE(cli({u"playoff"_s, path, u"--game"_s, u"Semifinále"_s, u"0-14"_s, u"3:1"_s}).exitCode, 64);
        // A disk with room for the play-off file alone: only what changed is written, and said to be.
        const QString reversed = u"%1-%2"_s.arg(order[3]).arg(order[0]);
        QCOMPARE(cli({u"playoff"_s, path, u"--game"_s, u"Semifinále"_s, reversed, u"4:1"_s}, 400).exitCode, 0);
        QCOMPARE(decodeText(fixture::contents(dir.filePath(u"playoff_x.txt"_s))).count(u"4:1"_s), 1);
        r = cli({u"playoff"_s, path, u"--remove"_s, u"Semifinále"_s, pair, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json[u"stages"_s][0][u"series"_s][0][u"wins"_s].toArray(), (QJsonArray{1, 0}));
        QVERIFY(!decodeText(fixture::contents(dir.filePath(u"playoff_x.txt"_s))).contains(u"4:1"_s));
        QCOMPARE(cli({u"playoff"_s, path, u"--remove"_s, u"Finále"_s, pair}).exitCode, 64);
        // The series' next game planned: its day and time in the bracket; one without a day, a time that is none or
        // a series that is not one of the stage's is refused.
        const QStringList plan{u"playoff"_s, path, u"--plan"_s, u"Semifinále"_s, reversed, u"--date"_s, u"5.3.2008"_s};
        QCOMPARE(cli(plan.mid(0, 5)).exitCode, 64);
        QCOMPARE(cli(plan + QStringList{u"--time"_s, u"24:00"_s}).exitCode, 64);
        QCOMPARE(cli({u"playoff"_s, path, u"--plan"_s, u"Semifinále"_s, u"%1-%2"_s.arg(order[0]).arg(order[1]),
                      u"--date"_s, u"5.3.2008"_s})
                     .exitCode,
                 64);
        r = cli(plan + QStringList{u"--time"_s, u"18:30"_s, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(
            r.json[u"stages"_s][0][u"series"_s][0][u"next"_s].toObject(),
            (QJsonObject{
                {u"home"_s, order[3]}, {u"away"_s, order[0]}, {u"date"_s, u"2008-03-05"_s}, {u"time"_s, u"18:30"_s}}));
        QVERIFY(decodeText(fixture::contents(dir.filePath(u"playoff_x.txt"_s))).contains(u"termin=Semifinále;"_s));
        r = cli({u"forecast"_s, path, u"--sims"_s, u"400"_s, u"--json"_s});
        const QJsonObject odds = r.json[u"teams"_s][0][u"playoff"_s].toObject();
        QCOMPARE(odds[u"Semifinále"_s][u"plays"_s].toDouble() + odds[u"Finále"_s][u"plays"_s].toDouble() > 100, true);
    }

    // Two programs making one league at once: one makes it whole, the other is refused; never a mixed league.
    void sameLeagueTwiceAtOnce()
    {
        const QString teams = m_dir.filePath(u"sest.txt"_s);
        fixture::put(teams, "A\nB\nC\nD\nE\nF\n");
        for (int attempt = 0; attempt < 5; ++attempt) {
            const QString folder = m_dir.filePath(u"souběh%1"_s.arg(attempt));
            QDir().mkpath(folder);
            std::array<QProcess, 2> runs;
            for (QProcess& p : runs)
                p.start(QStringLiteral(RINKOMAT_CLI),
                        {u"new"_s, folder, u"--name"_s, u"Souběh"_s, u"--season"_s, u"2026/2027"_s, u"--teams"_s, teams,
                         u"--start"_s, u"1.9.2026"_s, u"--days"_s, u"út,pá"_s});
            QVERIFY(fixture::waitFor(
                [&] { return runs[0].state() == QProcess::NotRunning && runs[1].state() == QProcess::NotRunning; }));
            QCOMPARE(QList<int>({runs[0].exitCode(), runs[1].exitCode()}).count(0), 1);
            QCOMPARE(fixture::load(folder + u"/sezona_soubeh2627.txt"_s).teams(), 6);
        }
    }

    // A pipe gives its text in pieces: all of them are read.
    void standardInputToItsEnd()
    {
        const QString folder = m_dir.filePath(u"roura"_s);
        QDir().mkpath(folder);
        QProcess p;
        p.start(QStringLiteral(RINKOMAT_CLI),
                {u"new"_s, folder, u"--name"_s, u"Roura"_s, u"--season"_s, u"2026/2027"_s, u"--teams"_s, u"-"_s,
                 u"--start"_s, u"1.9.2026"_s, u"--days"_s, u"út,pá"_s, u"--json"_s});
        QVERIFY(p.waitForStarted());
        p.write("Alfa\nBeta\nGama\n");
        QVERIFY(p.waitForBytesWritten());
        QTest::qWait(300);
        p.write("Delta\nEpsilon\nZeta\n");
        p.closeWriteChannel();
        QVERIFY(fixture::waitFor([&] { return p.state() == QProcess::NotRunning; }));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(fixture::load(folder + u"/sezona_roura2627.txt"_s).teams(), 6);
    }

    // The sibling that does the printing and the network ends with the program that started it.
    void siblingEndsWithItsParent()
    {
        QTcpServer silent; // takes the connection and never answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        QDir().mkpath(m_dir.filePath(u"program/souteze"_s));
        QProcess p;
        p.start(QStringLiteral(RINKOMAT_CLI), {u"update"_s, u"http://127.0.0.1:%1/"_s.arg(silent.serverPort()),
                                               m_dir.filePath(u"program"_s), u"--yes"_s});
        QVERIFY(p.waitForStarted());
        const QString children = u"/proc/%1/task/%1/children"_s.arg(p.processId());
        qint64 child = 0;
        QVERIFY(fixture::waitFor([&] {
            child = fixture::contents(children).trimmed().split(' ').value(0).toLongLong();
            return child > 0;
        }));
        ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
        QVERIFY(fixture::waitFor([&] { return p.state() == QProcess::NotRunning; }));
        const QString childStat = u"/proc/%1/stat"_s.arg(child);
        // Gone at once, not when its own transfer gives up seconds later.
        QVERIFY(QTest::qWaitFor(
            [&] { return !QFileInfo::exists(childStat) || fixture::contents(childStat).contains(") Z "); }, 2000));
    }

    void allTime()
    {
        const QString folder = QStringLiteral(RINKOMAT_DIST_DIR "/souteze");
        Run r = cli({u"alltime"_s, folder, u"--name"_s, u"Extraliga"_s, u"--json"_s});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject first = r.json.value(u"rows"_s).toArray().first().toObject();
        QCOMPARE(first.value(u"seasons"_s).toInt(), 3); // of 14, 14 and 15 teams
        QVERIFY(first.value(u"ppm"_s).toDouble() > 1 && first.value(u"sco"_s).toString().contains(u':'));
        r = cli({u"alltime"_s, folder, u"--name"_s, u"Extraliga"_s, u"--places"_s, u"--csv"_s});
        QVERIFY2(r.out.startsWith(u"tým;2007/2008 (hraje se);2006/2007"_s), qPrintable(r.out.left(80)));
        r = cli({u"alltime"_s, folder});
        QCOMPARE(r.exitCode, 64);
        QVERIFY2(r.err.contains(u"„1. liga“"_s), qPrintable(r.err));
        QCOMPARE(cli({u"alltime"_s, folder, u"--name"_s, u"Žádná"_s}).exitCode, 64);
    }

    void failedWriteExits2_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::addRow("enter, size limit")
            << QStringList{u"enter"_s, u"LEAGUE"_s, u"3"_s, u"1"_s, u"5:4"_s} << "povolenou velikost";
        QTest::addRow("swap, size limit")
            << QStringList{u"swap"_s, u"LEAGUE"_s, u"3"_s, u"1"_s} << "povolenou velikost";
        QTest::addRow("enter, league open elsewhere")
            << QStringList{u"enter"_s, u"LEAGUE"_s, u"3"_s, u"1"_s, u"5:4"_s} << "zkuste to znovu";
    }

    void failedWriteExits2()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        const QByteArray before = scheduleBytes(fixture::load(path));
        args.replaceInStrings(u"LEAGUE"_s, path);
        const bool locked = message == u"zkuste to znovu";
        LeagueLock lock(scheduleFileFor(path));
        if (locked)
            QVERIFY(lock.acquire().ok());
        const Run r = cli(args, locked ? 0 : 1000);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(fixture::contents(scheduleFileFor(path)), before);
    }

    // Whatever a script gives, the program answers with an exit code and a message, never by aborting.
    void scriptsAreTold_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said"); // on stdout for 0, else on stderr
        QTest::addColumn<bool>("changed");
        QTest::addRow("h2h, no first team")
            << QStringList{u"h2h"_s, u"LEAGUE"_s, u"0"_s, u"5"_s} << 0 << "nesprávné zadání" << false;
        QTest::addRow("h2h, no teams") << QStringList{u"h2h"_s, u"LEAGUE"_s, u"0"_s, u"0"_s} << 0 << "nesprávné zadání"
                                       << false;
        QTest::addRow("enter, a text the field would empty")
            << QStringList{u"enter"_s, u"LEAGUE"_s, u"1"_s, u"1"_s, u"3;2"_s} << 64 << "„3;2“ není platný výsledek"
            << false;
        QTest::addRow("enter, too many goals")
            << QStringList{u"enter"_s, u"LEAGUE"_s, u"1"_s, u"1"_s, u"100:1"_s} << 64 << "není platný" << false;
        QTest::addRow("enter, empty clears on purpose")
            << QStringList{u"enter"_s, u"LEAGUE"_s, u"1"_s, u"1"_s, QString()} << 0 << "" << true;
        QTest::addRow("enter, keypad text")
            << QStringList{u"enter"_s, u"LEAGUE"_s, u"1"_s, u"1"_s, u"3+2-"_s} << 0 << "3:2p" << true;
    }

    void scriptsAreTold()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, said);
        QFETCH(bool, changed);
        const QTemporaryDir dir;
        QStringList los = fixture::scheduleLines();
        los[fixture::resultLine(1, 1)] = u"4:1"_s;
        const QString path = fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(), los);
        const QByteArray before = fixture::contents(scheduleFileFor(path));
        const Run r = cli(args.replaceInStrings(u"LEAGUE"_s, path));
        QCOMPARE(r.exitCode, code);
        QVERIFY2((code == 0 ? r.out : r.err).contains(said), qPrintable(r.out + r.err));
        QCOMPARE(fixture::contents(scheduleFileFor(path)) != before, changed);
    }

    // Output that does not reach its file whole is a failure: exit 2, a Czech message, no half file.
    void failedOutputExits2()
    {
        const QString league = fixture::writeLeague(QDir(m_dir.path()));
        Run r = cli({u"table"_s, league}, 0, u"/dev/full"_s);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(u"na disku není dost místa"_s), qPrintable(r.err));
        const QString out = m_dir.filePath(u"league.txt"_s);
        r = cli({u"league"_s, league}, 1000, out);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(u"povolenou velikost"_s), qPrintable(r.err));
        const QString pdf = m_dir.filePath(u"page.pdf"_s);
        r = cli({u"matches"_s, league, u"3"_s, u"--pdf"_s, pdf}, 2000);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(u"page.pdf"_s) && r.err.contains(u"povolenou velikost"_s), qPrintable(r.err));
        QVERIFY(QDir(m_dir.path()).entryList({u"page.pdf*"_s}).isEmpty());
        QCOMPARE(cli({u"matches"_s, league, u"3"_s, u"--pdf"_s, pdf}).exitCode, 0);
        QVERIFY(fixture::contents(pdf).startsWith("%PDF"));
    }

    void twoWritersLoseNothing()
    {
        const QTemporaryDir dir;
        const QString path = fixture::writeLeague(QDir(dir.path()));
        QList<QProcess*> writers;
        for (int slot = 1; slot <= kSlots; ++slot) {
            auto* p = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            // Each waits its turn for the lock; ten times the designed wait, so that a loaded machine
            // (seven sanitized programs at once) cannot make the last one give up.
            env.insert(u"RINKOMAT_PACE"_s, u"10"_s);
            p->setProcessEnvironment(env);
            p->start(QStringLiteral(RINKOMAT_CLI),
                     {u"enter"_s, path, u"5"_s, QString::number(slot), u"%1:0"_s.arg(slot)});
            writers << p;
        }
        for (QProcess* p : writers) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitCode(), 0);
            delete p;
        }
        const SeasonStore s = fixture::load(path);
        for (int slot = 1; slot <= kSlots; ++slot)
            QCOMPARE(s.VYSLEDEK(slot, 5), u"%1:0"_s.arg(slot));
    }

    void updateExitCodes()
    {
        QTemporaryDir site, program;
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR "/../update-site"), site.path());
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR), program.path());
        LoopbackServer server(site.path());
        const auto run = [&](const QString& answer, rlim_t limit = 0) {
            QStringList args{u"update"_s, server.url().toString(), program.path(), u"--json"_s};
            return cli(answer.isEmpty() ? args : args << answer, limit);
        };
        const QString schedule = program.filePath(u"souteze/los_extraliga0708.txt"_s);
        const QByteArray before = fixture::contents(schedule);
        QCOMPARE(run(QString()).exitCode, 0); // declined by default: nothing to do
        const Run failed = run(u"--yes"_s, 2000);
        QCOMPARE(failed.exitCode, 1);
        QVERIFY(failed.json.value(u"steps"_s).toArray().last().toString().contains(u"povolenou velikost"_s));
        QCOMPARE(fixture::contents(schedule), before);
        QCOMPARE(run(u"--yes"_s).exitCode, 0);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_cli)
#include "tst_cli.moc"
