// SPDX-License-Identifier: MIT
#include "common/twips.h"
#include "fixture/filesizelimit.h"
#include "fixture/openleague.h"
#include "lookups/fixedfont.h"
#include "lookups/frmBilance.h"
#include "lookups/frmKalendar.h"
#include "lookups/frmMissing.h"
#include "lookups/frmVzaj.h"
#include "lookups/frmZapasy.h"
#include "lookups/lookups.h"
#include "lookups/pageprinter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

using fixture::child, fixture::visibleWindow;

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class tst_lookupsForms final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QStringList los = fixture::scheduleLines();
        los[fixture::resultLine(1, 1)] = u"3:0"_s;
        m_league = std::make_unique<fixture::OpenLeague>(los, fixture::roundDate(3)); // rounds 1 and 2 are past
        m_desktop = &m_league->desktop;
        m_main = m_league->main;
    }

    void cleanup() { fixture::closeAllWindows(); }

    void balanceByDoubleClick()
    {
        QCOMPARE(m_main->shownRound(), 3);
        fixture::type(m_main, 0, u"2:1"_s); // typed, the field not left yet
        QTest::mouseDClick(fixture::rowLabel(m_main, "Hteam", 0), Qt::LeftButton);
        auto* balance = visibleWindow<frmBilance>(u"frmBilance"_s);
        QVERIFY(balance);
        QVERIFY(!balance->isModal());
        QCOMPARE(child<QComboBox>(balance, u"cboBil"_s)->currentIndex(), 0);
        QCOMPARE(child<QLabel>(balance, u"cell0_0"_s)->text(), u"2"_s); // rounds 1 and 3 at home
        QCOMPARE(child<QLabel>(balance, u"cell7_2"_s)->text(), u"6"_s);
        QCOMPARE(m_main->shownRound(), 3);
        // It stays beside the round and follows what is typed there.
        QApplication::setActiveWindow(m_main);
        fixture::resultField(m_main, 0)->selectAll();
        fixture::type(m_main, 0, u"1:2"_s);
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_Tab);
        QCOMPARE(child<QLabel>(balance, u"cell7_2"_s)->text(), u"3"_s);
        QTest::keyClick(balance, Qt::Key_Escape);
        WAIT_FOR(!visibleWindow<frmBilance>(u"frmBilance"_s));
    }

    void headToHeadByDoubleClick()
    {
        QTest::mouseDClick(fixture::rowLabel(m_main, "dash", 0), Qt::LeftButton);
        auto* h2h = visibleWindow<frmVzaj>(u"frmVzaj"_s);
        QVERIFY(h2h);
        auto* list = child<QListWidget>(h2h, u"lstVz"_s);
        QCOMPARE(child<QComboBox>(h2h, u"cbo1"_s)->currentIndex(), 1);
        QCOMPARE(child<QComboBox>(h2h, u"cbo2"_s)->currentIndex(), 2);
        QCOMPARE(fixture::items(list), headToHeadLines(m_main->season(), 1, 2));
        QCOMPARE(list->item(0)->text(), u" 1. kolo  Tým 1 - Tým 2  3:0"_s);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->toolTip(), list->item(1)->text());
        child<QComboBox>(h2h, u"cbo2"_s)->setCurrentIndex(1);
        QTest::mouseClick(child<QPushButton>(h2h, u"Command1"_s), Qt::LeftButton);
        QCOMPARE(list->item(0)->text(), u"nesprávné zadání"_s);
        // Both boxes start empty in a window opened from the menu; saving then says what the list says.
        child<QComboBox>(h2h, u"cbo1"_s)->setCurrentIndex(0);
        m_desktop->savePath = m_league->dir.filePath(u"vzajemne.csv"_s);
        QTest::mouseClick(child<QPushButton>(h2h, u"cmdUlozit"_s), Qt::LeftButton);
        QVERIFY(QString::fromUtf8(fixture::contents(m_desktop->savePath)).contains(u"nesprávné zadání"_s));
    }

    // "Příští zápasy" lists the week's matches by day; Enter on one goes to its round. "Odložené zápasy" says when
    // there are none.
    void nextAndPostponed()
    {
        m_main->findChild<QAction*>(u"mnuPristi"_s)->trigger();
        auto* next = visibleWindow<frmMissing>(u"frmMissing"_s);
        QVERIFY(next);
        QCOMPARE(next->windowTitle(), u"příští zápasy"_s);
        auto* list = child<QListWidget>(next, u"list"_s);
        QCOMPARE(fixture::items(list), ::nextMatches(m_main->season(), m_desktop->clock.date()).lines);
        QCOMPARE(list->count(), 3 * kSlots); // rounds 3, 4 and 5 fall in the week
        list->setCurrentRow(list->count() - 1);
        QTest::keyClick(list, Qt::Key_Return);
        WAIT_FOR(!visibleWindow<frmMissing>(u"frmMissing"_s));
        QCOMPARE(m_main->shownRound(), 5);
        m_main->findChild<QAction*>(u"mnuOdlozene"_s)->trigger();
        QCOMPARE(m_desktop->messages.last().text, u"Žádný zápas není odložen."_s);
    }

    void missingResults()
    {
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F7);
        auto* missing = visibleWindow<frmMissing>(u"frmMissing"_s);
        QVERIFY(missing);
        QCOMPARE(fixture::items(child<QListWidget>(missing, u"list"_s)),
                 ::missingResults(m_main->season(), m_desktop->clock.date()).lines);
        QCOMPARE(fixture::items(child<QListWidget>(missing, u"list"_s)).value(1), u"Č. Budějovice - Tým 4"_s);
        QTest::keyClick(child<QPushButton>(missing, u"Command1"_s), Qt::Key_Return);
        WAIT_FOR(!visibleWindow<frmMissing>(u"frmMissing"_s));

        // A double-click on a match (the last one listed) goes to its round.
        const MissingResults listed = ::missingResults(m_main->season(), m_desktop->clock.date());
        const int round = listed.rounds.value(listed.lines.size() - 2);
        QVERIFY(round != m_main->shownRound());
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F7);
        auto* list = child<QListWidget>(visibleWindow<frmMissing>(u"frmMissing"_s), u"list"_s);
        QVERIFY(QTest::qWaitForWindowExposed(list));
        list->scrollToBottom();
        QCoreApplication::processEvents();
        // As the mouse does it: the press picks the line that the double-click then opens.
        const QPoint at = list->visualItemRect(list->item(list->count() - 2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        WAIT_FOR(!visibleWindow<frmMissing>(u"frmMissing"_s));
        QCOMPARE(m_main->shownRound(), round);
        QTRY_COMPARE(QApplication::focusWidget(), fixture::resultField(m_main, 0)); // typing goes on there

        m_desktop->clock = QDateTime(fixture::roundDate(1), QTime(20, 0));
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F7);
        QVERIFY(!visibleWindow<frmMissing>(u"frmMissing"_s));
        QCOMPARE(m_desktop->messages.value(0).text, u"Nenalezeny žádné chybějící výsledky."_s);
        QCOMPARE(m_desktop->messages.value(0).title, u"info"_s);
    }

    void calendar()
    {
        QAction* item = m_main->findChild<QAction*>(u"mnuKalendar"_s);
        item->trigger();
        QCOMPARE(m_desktop->messages.value(0).text, u"není definován"_s);
        fixture::put(m_league->dir.filePath(u"souteze/kalendar_0708.dat"_s),
                     encodeLines({u"a2=1.10. - 3.10.=Dlouhý název akce, která se nevejde"_s}));
        item->trigger();
        auto* calendar = visibleWindow<frmKalendar>(u"frmKalendar"_s);
        QVERIFY(calendar);
        QCOMPARE(calendar->windowTitle(), u"kalendář akcí 2007/2008"_s);
        QCOMPARE(child<QLabel>(calendar, u"lblTermin1"_s)->text(), u"1.10. - 3.10."_s);
        QVERIFY(calendar->width() >= child<QLabel>(calendar, u"lblAkce1"_s)->geometry().right());
        // Events the file does not announce leave no placeholder row and no gap.
        QVERIFY(child<QLabel>(calendar, u"lblTermin0"_s)->isHidden());
        QCOMPARE(child<QLabel>(calendar, u"lblTermin1"_s)->y(), tw(150));
        QVERIFY(child<QPushButton>(calendar, u"cmdUlozit"_s)->y() < tw(150 + 330 * 2));
        QTest::keyClick(calendar, Qt::Key_Escape);
        WAIT_FOR(!visibleWindow<frmKalendar>(u"frmKalendar"_s));
    }

    void printMatches()
    {
        m_main->findChild<QAction*>(u"mnuZap"_s)->trigger();
        auto* zapasy = visibleWindow<frmZapasy>(u"frmZapasy"_s);
        QVERIFY(zapasy);
        auto* matches = child<QListWidget>(zapasy, u"lstZ"_s);
        QVERIFY(!child<QPushButton>(zapasy, u"Command2"_s)->isEnabled());
        // No team yet: nothing to save, and the window says so.
        QTest::mouseClick(child<QPushButton>(zapasy, u"cmdUlozit"_s), Qt::LeftButton);
        QVERIFY(m_desktop->messages.takeFirst().text.contains(u"vyberte tým"_s));
        child<QComboBox>(zapasy, u"cboTym"_s)->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>(zapasy, u"Command1"_s), Qt::LeftButton);
        QCOMPARE(matches->count(), kRounds);
        QVERIFY(isMonospaced(matches->font()));
        QVERIFY(child<QPushButton>(zapasy, u"Command2"_s)->isEnabled());

        // The team's fixtures for a phone's calendar.
        m_desktop->savePath = m_league->dir.filePath(u"zapasy.ics"_s);
        QTest::mouseClick(child<QPushButton>(zapasy, u"cmdKalendar"_s), Qt::LeftButton);
        const QByteArray calendar = fixture::contents(m_desktop->savePath);
        QVERIFY(calendar.startsWith("BEGIN:VCALENDAR\r\n"));
        QCOMPARE(calendar.count("BEGIN:VEVENT"), kRounds);
        QCOMPARE(m_desktop->suggestedNames.value(0), u"zápasy Č. Budějovice 2007-2008.ics"_s);

        m_desktop->savePath = m_league->dir.filePath(u"zapasy.pdf"_s);
        m_desktop->answers = {Desktop::Answer::Cancel};
        QTest::mouseClick(child<QPushButton>(zapasy, u"Command2"_s), Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].title, u"tisk"_s);
        QVERIFY(!QFile::exists(m_desktop->savePath));

        m_desktop->answers = {Desktop::Answer::Ok, Desktop::Answer::Yes};
        QTest::mouseClick(child<QPushButton>(zapasy, u"Command2"_s), Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 4); // the question, no printer: save as PDF?, where it is saved
        QVERIFY(m_desktop->messages[3].text.endsWith(m_desktop->savePath));
        QVERIFY(QFile::exists(m_desktop->savePath));
        QVERIFY(run(u"pdfinfo"_s, {m_desktop->savePath}).contains(QRegularExpression(u"Pages:\\s+1\\n"_s)));
        // Text extraction does not keep every run of blanks.
        const QString text = run(u"pdftotext"_s, {u"-layout"_s, m_desktop->savePath, u"-"_s}).simplified();
        QVERIFY2(text.contains(u"Č. BUDĚJOVICE - Liga 2007/2008"_s), qPrintable(text));
        for (int i = 0; i < matches->count(); ++i)
            QVERIFY2(text.contains(matches->item(i)->text().simplified()), qPrintable(matches->item(i)->text()));
        QVERIFY2(text.contains(u"vytisknuto 18.09.2007 v 20:00"_s), qPrintable(text.right(120)));
        QVERIFY(text.contains(u"(verze 3.4.1)"_s));

        // A disk that takes only part of the page: told so, and no half PDF is left.
        m_desktop->messages.clear();
        m_desktop->answers = {Desktop::Answer::Ok, Desktop::Answer::Yes};
        m_desktop->savePath = m_league->dir.filePath(u"plny.pdf"_s);
        {
            const fixture::FileSizeLimit full(2000);
            QTest::mouseClick(child<QPushButton>(zapasy, u"Command2"_s), Qt::LeftButton);
        }
        QVERIFY2(m_desktop->messages.value(2).text.contains(u"povolenou velikost"_s),
                 qPrintable(m_desktop->messages.value(2).text));
        QCOMPARE(m_desktop->messages.value(2).icon, Desktop::Icon::Critical);
        QVERIFY(QDir(m_league->dir.path()).entryList({u"plny.pdf*"_s}).isEmpty());
        // The calendar file and "Uložit…" on that disk: told so, and no file is left.
        for (const char* button : {"cmdKalendar", "cmdUlozit"}) {
            m_desktop->messages.clear();
            m_desktop->savePath = m_league->dir.filePath(u"plny.%1"_s.arg(button[3] == 'K' ? u"ics" : u"csv"));
            {
                const fixture::FileSizeLimit full(100);
                QTest::mouseClick(child<QPushButton>(zapasy, QString::fromLatin1(button)), Qt::LeftButton);
            }
            QVERIFY2(m_desktop->messages.value(0).text.contains(u"povolenou velikost"_s), button);
            QCOMPARE(m_desktop->messages.value(0).icon, Desktop::Icon::Critical);
            QVERIFY(QDir(m_league->dir.path()).entryList({u"plny.[ic]*"_s}).isEmpty());
        }
    }

    // 60 matches share one sheet, in a smaller font; 200 go on over more sheets, every line printed.
    void printLongSeasons_data()
    {
        QTest::addColumn<int>("teams");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("sheets");
        QTest::addRow("60 matches") << 16 << 60 << 1;
        QTest::addRow("200 matches") << 20 << 200 << 0; // as many as the fonts installed need
    }

    void printLongSeasons()
    {
        QFETCH(int, teams);
        QFETCH(int, rounds);
        QFETCH(int, sheets);
        const QTemporaryDir dir;
        const SeasonStore s = fixture::load(fixture::writeLeague(QDir(dir.path()), fixture::competitionLines(teams),
                                                                 fixture::scheduleLines(teams, rounds, rounds / 2)));
        const QStringList lines = teamMatchLines(s, 1);
        QCOMPARE(lines.size(), rounds);
        const QString pdf = dir.filePath(u"zapasy.pdf"_s);
        QVERIFY(printTextPageToPdf(pdf, matchesPage(s, 1, lines, QDateTime(QDate(2008, 1, 2), QTime(3, 4)))).ok());
        const QString info = run(u"pdfinfo"_s, {pdf});
        const int pages = QRegularExpression(u"Pages:\\s+(\\d+)\\n"_s).match(info).captured(1).toInt();
        QVERIFY2(sheets ? pages == sheets : pages > 1, qPrintable(info));
        const QString text = run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}).simplified();
        for (const QString& line : {lines.first(), lines.last()})
            QVERIFY2(text.contains(line.simplified()), qPrintable(line));
        QVERIFY(text.contains(u"vytisknuto 02.01.2008 v 03:04"_s));
    }

private:
    std::unique_ptr<fixture::OpenLeague> m_league;
    RecordingDesktop* m_desktop = nullptr;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_lookupsForms)
#include "tst_lookupsForms.moc"
