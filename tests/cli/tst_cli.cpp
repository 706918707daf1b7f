// SPDX-License-Identifier: MIT
#include "fixture/league.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QJsonObject json;
    QString err;
};

Run cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(RINKOMAT_CLI), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), QJsonDocument::fromJson(p.readAllStandardOutput()).object(),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class tst_cli final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enterAndSwapOnBundledLeague();
    void leagueShownRound();
    void tableOfPeriod();
    void exitStatus_data();
    void exitStatus();

private:
    QTemporaryDir m_dir;
};

void tst_cli::enterAndSwapOnBundledLeague()
{
    const QString source = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");
    const QString copy = m_dir.filePath(u"sezona_extraliga0708.txt"_qs);
    QVERIFY(QFile::copy(source, copy) && QFile::copy(scheduleFileFor(source), scheduleFileFor(copy)));
    SeasonStore expected = fixture::load(copy);

    Run r = cli({u"enter"_qs, copy, u"40"_qs, u"3"_qs, u"5+4-"_qs, u"--json"_qs});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.json.value(u"stored"_qs).toString(), u"5:4p"_qs);
    expected.match(3, 40).result = u"5:4p"_qs;
    QVERIFY(fixture::load(copy) == expected);

    r = cli({u"swap"_qs, copy, u"40"_qs, u"3"_qs, u"--json"_qs});
    QCOMPARE(r.exitCode, 0);
    Match& m = expected.match(3, 40);
    std::swap(m.home, m.away);
    QCOMPARE(r.json.value(u"pairing"_qs).toString(), expected.ZAPAS(3, 40));
    QVERIFY(fixture::load(copy) == expected);
}

void tst_cli::leagueShownRound()
{
    const QString path = fixture::writeLeague(QDir(m_dir.path()));
    const Run r = cli({u"league"_qs, path, u"--today"_qs, shortDate(fixture::roundDate(10)), u"--json"_qs});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.json.value(u"shown_round"_qs).toInt(), 10);
    QCOMPARE(r.json.value(u"caption"_qs).toString(), u"Liga  2007/2008"_qs);
}

void tst_cli::tableOfPeriod()
{
    QStringList los = fixture::scheduleLines();
    los[fixture::resultLine(3, 1)] = u"2:3p"_qs;
    const QString path = fixture::writeLeague(QDir(m_dir.path()), fixture::competitionLines(), los);
    const Run r = cli({u"table"_qs, path, u"--from"_qs, u"4"_qs, u"--to"_qs, u"3"_qs, u"--json"_qs});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.json.value(u"caption"_qs).toString(), u"tabulka za období   (kola 3 - 4)"_qs);
    const QJsonObject first = r.json.value(u"rows"_qs).toArray().at(0).toObject();
    QCOMPARE(first.value(u"team"_qs).toString(), u"Tým 2"_qs);
    QCOMPARE(first.value(u"pts"_qs).toString(), u"2"_qs);
    QCOMPARE(first.value(u"sco_tooltip"_qs).toString(), u" 1 "_qs);
    QVERIFY(r.json.value(u"lines_shown"_qs).toBool());
}

void tst_cli::exitStatus_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addRow("no command") << QStringList{} << 64;
    QTest::addRow("unknown command") << QStringList{u"tabulka"_qs} << 64;
    QTest::addRow("round out of range") << QStringList{u"enter"_qs, u"LEAGUE"_qs, u"53"_qs, u"1"_qs, u"1:0"_qs} << 64;
    QTest::addRow("bad option before a missing file")
        << QStringList{u"table"_qs, u"/nonexistent/sezona_x.txt"_qs, u"--sort"_qs, u"13"_qs} << 64;
    QTest::addRow("missing file") << QStringList{u"league"_qs, u"/nonexistent/sezona_x.txt"_qs} << 2;
    QTest::addRow("broken file") << QStringList{u"league"_qs, u"BROKEN"_qs} << 2;
}

void tst_cli::exitStatus()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QStringList broken = fixture::competitionLines();
    broken[3] = u"HR1=x"_qs;
    args.replaceInStrings(u"LEAGUE"_qs, fixture::writeLeague(QDir(m_dir.path())));
    args.replaceInStrings(u"BROKEN"_qs,
                          fixture::writeLeague(QDir(m_dir.path()), broken, fixture::scheduleLines(), u"broken"_qs));
    const Run r = cli(args);
    QCOMPARE(r.exitCode, code);
    QVERIFY(!r.err.isEmpty());
}

QTEST_GUILESS_MAIN(tst_cli)
#include "tst_cli.moc"
