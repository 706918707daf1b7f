// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "fixture/loopbackserver.h"
#include "fixture/programfolder.h"
#include "online/update.h"
#include "platform/http.h"

#include <QTest>

namespace {

// Runs the update against the loopback server and records every step, answering from a queue.
class Recorder final : public UpdateSurroundings {
public:
    explicit Recorder(const QUrl& site) : m_site(site) {}

    QStringList steps;
    QList<bool> answers;
    int reloads = 0, beeps = 0, saves = 0, homePages = 0;
    int timeoutMs = 3000;

private:
    FetchResult fetch(const QString& path) override
    {
        QUrl url = m_site;
        url.setPath(path);
        return httpGet(url, timeoutMs);
    }
    void status(const QString& text) override { steps << text; }
    void progress(int, int) override {}
    void pause(int) override {}
    bool askYesNo(const QString& text, bool, const QString&) override
    {
        steps << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void tellError(const QString& text, const QString& title) override { steps << title + u": " + text; }
    void openHomePage() override { ++homePages; }
    void beep() override { ++beeps; }
    bool saveSeason() override { return ++saves > 0; }
    void reloadSeason() override { ++reloads; }

    QUrl m_site;
};

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class tst_update final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void versionComparison_data();
    void versionComparison();
    void fileNames_data();
    void fileNames();
    void happyPathKeepsTypedResults();
    void newerVersion_data();
    void newerVersion();
    void invalidData_data();
    void invalidData();
    void declinedLeavesListFile();
    void emptyListStillReloads();
    void unsafeNameRefused();
    void transferFailures_data();
    void transferFailures();

private:
    QString site(const QString& file) const { return m_site->filePath(u"velmor/update/"_qs + file); }
    QString program(const QString& file) const { return m_program->filePath(file); }

    std::unique_ptr<QTemporaryDir> m_site, m_program;
    std::unique_ptr<LoopbackServer> m_server;
};

void tst_update::init()
{
    m_site = std::make_unique<QTemporaryDir>();
    m_program = std::make_unique<QTemporaryDir>();
    fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR "/../update-site"), m_site->path());
    fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR), m_program->path());
    m_server = std::make_unique<LoopbackServer>(m_site->path());
}

void tst_update::versionComparison_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("local");
    QTest::addColumn<bool>("newer");
    QTest::addRow("3.4.2 over 3.4.1") << "3.4.2"
                                      << "3.4.1" << true;
    QTest::addRow("same") << "3.4.1"
                          << "3.4.1" << false;
    QTest::addRow("3.10.0 is not over 3.9.0") << "3.10.0"
                                              << "3.9.0" << false;
    QTest::addRow("4.0.0") << "4.0.0"
                           << "3.4.1" << true;
}

void tst_update::versionComparison()
{
    QFETCH(QString, server);
    QFETCH(QString, local);
    QFETCH(bool, newer);
    QCOMPARE(isNewerVersion(server, local), newer);
}

void tst_update::fileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");
    QTest::addRow("schedule") << "los_extraliga0708.txt" << true;
    QTest::addRow("parent") << "../1.st" << false;
    QTest::addRow("dots inside") << "a..b" << false;
    QTest::addRow("absolute") << "/etc/passwd" << false;
    QTest::addRow("subfolder") << "ad/1.jpg" << false;
    QTest::addRow("backslash") << "..\\x" << false;
    QTest::addRow("drive") << "C:x.txt" << false;
    QTest::addRow("control") << "a\tb" << false;
}

void tst_update::fileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, plain);
    QCOMPARE(isPlainFileName(name), plain);
}

void tst_update::happyPathKeepsTypedResults()
{
    // The user typed a result for round 40 that the downloaded file does not have yet, and another one
    // for round 2 where the download has its own.
    const QString competition = program(u"souteze/sezona_extraliga0708.txt"_qs);
    SeasonStore mine = fixture::load(competition);
    mine.match(3, 40).result = u"7:6n"_qs;
    mine.match(1, 2).result = u"9:9p"_qs;
    QCOMPARE(writeSchedule(mine, scheduleFileFor(competition)), QString());

    Recorder r(m_server->url());
    r.answers = {true};
    runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
    QCOMPARE(r.steps.value(0), u"navazuji spojení se serverem 127.0.0.1..."_qs);
    QCOMPARE(r.steps.value(1), u"spojení úspěšně navázáno"_qs);
    QCOMPARE(r.steps.value(2), u"Dostupná data jsou z 28.10.2007.\r\n\r\nPřejete si pokračovat?"_qs);
    QCOMPARE(r.steps.value(3), u"stahuji data...  (sezona_extraliga0708.txt)"_qs);
    QCOMPARE(r.steps.last(), u"stahování dat dokončeno"_qs);
    QCOMPARE(r.saves, 1);
    QCOMPARE(r.beeps, 1);
    QCOMPARE(r.reloads, 1);
    QVERIFY(!QFile::exists(program(u"update.dat"_qs)));

    const SeasonStore updated = fixture::load(competition);
    const SeasonStore served = fixture::load(site(u"sezona_extraliga0708.txt"_qs));
    QCOMPARE(updated.VYSLEDEK(3, 40), u"7:6n"_qs);
    QCOMPARE(updated.VYSLEDEK(1, 2), served.VYSLEDEK(1, 2));
    QCOMPARE(updated.VYSLEDEK(5, 25), served.VYSLEDEK(5, 25)); // newer results arrived
    QVERIFY(!updated.VYSLEDEK(5, 25).isEmpty());
    QCOMPARE(contents(program(u"souteze/sezona_prvniliga0708.txt"_qs)),
             contents(site(u"sezona_prvniliga0708.txt"_qs)) + "\r\n");
}

void tst_update::newerVersion_data()
{
    QTest::addColumn<bool>("openPage");
    QTest::addRow("Yes opens the home page") << true;
    QTest::addRow("No goes on with the data") << false;
}

void tst_update::newerVersion()
{
    QFETCH(bool, openPage);
    write(site(u"newest.dat"_qs), "3.4.2");
    Recorder r(m_server->url());
    r.answers = {openPage, false};
    runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
    QCOMPARE(r.steps.value(2), u"Byla zjištěna novější verze programu!\r\n\r\nVaše verze: 3.4.1\r\nDostupná verze: "
                               "3.4.2\r\n\r\nPřejete si otevřít www stránku programu?"_qs);
    QCOMPARE(r.homePages, openPage ? 1 : 0);
    QCOMPARE(m_server->requested.contains(u"/velmor/update/update_v3.dat"_qs), !openPage);
}

void tst_update::invalidData_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("body");
    QTest::addRow("version not a number") << "newest.dat" << QByteArray("3.4.x");
    QTest::addRow("list without the marker") << "update_v3.dat" << QByteArray("velmor_update\r\n1.1.2008\r\nx.txt\r\n");
}

void tst_update::invalidData()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, body);
    write(site(file), body);
    Recorder r(m_server->url());
    r.answers = {true};
    runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
    QCOMPARE(r.steps.last(), u"KLX: Server vrátil neplatná data!"_qs);
    QVERIFY(!QFile::exists(program(u"update.dat"_qs)));
    QCOMPARE(r.reloads, 0);
}

void tst_update::declinedLeavesListFile()
{
    const QByteArray before = contents(program(u"souteze/los_extraliga0708.txt"_qs));
    Recorder r(m_server->url());
    r.answers = {false};
    runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
    QVERIFY(QFile::exists(program(u"update.dat"_qs)));
    QCOMPARE(contents(program(u"souteze/los_extraliga0708.txt"_qs)), before);
    QCOMPARE(r.saves, 0);
    QCOMPARE(r.reloads, 0);
}

void tst_update::emptyListStillReloads()
{
    write(site(u"update_v3.dat"_qs), "VELMOR_UPDATE\r\n1.11.2007\r\n\r\nlos_extraliga0708.txt\r\n");
    Recorder r(m_server->url());
    r.answers = {true};
    runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
    QVERIFY(!m_server->requested.contains(u"/velmor/update/los_extraliga0708.txt"_qs));
    QCOMPARE(r.reloads, 1);
}

void tst_update::unsafeNameRefused()
{
    write(site(u"update_v3.dat"_qs),
          "VELMOR_UPDATE\r\n1.11.2007\r\n../1.st\r\n..\\evil.txt\r\nsezona_extraliga0708.txt\r\n");
    write(m_site->filePath(u"velmor/1.st"_qs), "overwritten");
    const QByteArray marker = contents(program(u"1.st"_qs));
    Recorder r(m_server->url());
    r.answers = {true};
    runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
    QCOMPARE(contents(program(u"1.st"_qs)), marker);
    QCOMPARE(r.steps.filter(u"není přípustný"_qs).size(), 2);
    QVERIFY(!m_server->requested.contains(u"/velmor/update/../1.st"_qs));
    QCOMPARE(r.reloads, 1); // the good file still came
}

void tst_update::transferFailures_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("message");
    QTest::addRow("never answers") << static_cast<int>(LoopbackServer::Mode::NeverAnswer)
                                   << "update: Nelze navázat spojení!";
    QTest::addRow("closes the connection")
        << static_cast<int>(LoopbackServer::Mode::CloseConnection) << "update: Došlo k chybě!\r\n\r\n(2 - ";
    QTest::addRow("cut off halfway") << static_cast<int>(LoopbackServer::Mode::Serve) << "update: Došlo k chybě!";
}

void tst_update::transferFailures()
{
    QFETCH(int, mode);
    QFETCH(QString, message);
    m_server->mode = static_cast<LoopbackServer::Mode>(mode);
    m_server->truncated = u"/velmor/update/los_extraliga0708.txt"_qs;
    const QByteArray before = contents(program(u"souteze/los_extraliga0708.txt"_qs));
    Recorder r(m_server->url());
    r.timeoutMs = 500;
    r.answers = {true};
    runUpdate(r, m_program->path(), u"127.0.0.1"_qs);
    QVERIFY2(r.steps.last().startsWith(message), qPrintable(r.steps.last()));
    QCOMPARE(contents(program(u"souteze/los_extraliga0708.txt"_qs)), before);
    QCOMPARE(r.reloads, 0);
}

QTEST_GUILESS_MAIN(tst_update)
#include "tst_update.moc"
