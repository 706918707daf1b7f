// SPDX-License-Identifier: MIT
#include "common/twips.h"
#include "fixture/openleague.h"
#include "lookups/fixedfont.h"
#include "lookups/frmBilance.h"
#include "lookups/frmKalendar.h"
#include "lookups/frmMissing.h"
#include "lookups/frmVzaj.h"
#include "lookups/frmZapasy.h"
#include "lookups/lookups.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

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
        los[fixture::resultLine(1, 1)] = u"3:0"_qs;
        m_league = std::make_unique<fixture::OpenLeague>(los, fixture::roundDate(3)); // rounds 1 and 2 are past
        m_desktop = &m_league->desktop;
        m_main = m_league->main;
    }

    void cleanup() { fixture::closeAllWindows(); }

    void balanceByDoubleClick()
    {
        QCOMPARE(m_main->shownRound(), 3);
        fixture::type(m_main, 0, u"2:1"_qs); // typed, the field not left yet
        QTest::mouseDClick(fixture::rowLabel(m_main, "Hteam", 0), Qt::LeftButton);
        auto* balance = visibleWindow<frmBilance>(u"frmBilance"_qs);
        QVERIFY(balance);
        QVERIFY(!balance->isModal());
        QCOMPARE(child<QComboBox>(balance, u"cboBil"_qs)->currentIndex(), 0);
        QCOMPARE(child<QLabel>(balance, u"cell0_0"_qs)->text(), u"2"_qs); // rounds 1 and 3 at home
        QCOMPARE(child<QLabel>(balance, u"cell7_2"_qs)->text(), u"6"_qs);
        QCOMPARE(m_main->shownRound(), 3);
        // It stays beside the round and follows what is typed there.
        QApplication::setActiveWindow(m_main);
        fixture::resultField(m_main, 0)->selectAll();
        fixture::type(m_main, 0, u"1:2"_qs);
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_Tab);
        QCOMPARE(child<QLabel>(balance, u"cell7_2"_qs)->text(), u"3"_qs);
        QTest::keyClick(balance, Qt::Key_Escape);
        WAIT_FOR(!visibleWindow<frmBilance>(u"frmBilance"_qs));
    }

    void headToHeadByDoubleClick()
    {
        QTest::mouseDClick(fixture::rowLabel(m_main, "dash", 0), Qt::LeftButton);
        auto* h2h = visibleWindow<frmVzaj>(u"frmVzaj"_qs);
        QVERIFY(h2h);
        auto* list = child<QListWidget>(h2h, u"lstVz"_qs);
        QCOMPARE(child<QComboBox>(h2h, u"cbo1"_qs)->currentIndex(), 1);
        QCOMPARE(child<QComboBox>(h2h, u"cbo2"_qs)->currentIndex(), 2);
        QCOMPARE(fixture::items(list), headToHeadLines(m_main->season(), 1, 2));
        QCOMPARE(list->item(0)->text(), u" 1. kolo  Tým 1 - Tým 2  3:0"_qs);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->toolTip(), list->item(1)->text());
        child<QComboBox>(h2h, u"cbo2"_qs)->setCurrentIndex(1);
        QTest::mouseClick(child<QPushButton>(h2h, u"Command1"_qs), Qt::LeftButton);
        QCOMPARE(list->item(0)->text(), u"nesprávné zadání"_qs);
        // Both boxes start empty in a window opened from the menu; saving then says what the list says.
        child<QComboBox>(h2h, u"cbo1"_qs)->setCurrentIndex(0);
        m_desktop->savePath = m_league->dir.filePath(u"vzajemne.csv"_qs);
        QTest::mouseClick(child<QPushButton>(h2h, u"cmdUlozit"_qs), Qt::LeftButton);
        QVERIFY(QString::fromUtf8(fixture::contents(m_desktop->savePath)).contains(u"nesprávné zadání"_qs));
    }

    void missingResults()
    {
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F7);
        auto* missing = visibleWindow<frmMissing>(u"frmMissing"_qs);
        QVERIFY(missing);
        QCOMPARE(fixture::items(child<QListWidget>(missing, u"list"_qs)),
                 ::missingResults(m_main->season(), m_desktop->clock.date()).lines);
        QCOMPARE(fixture::items(child<QListWidget>(missing, u"list"_qs)).value(1), u"Č. Budějovice - Tým 4"_qs);
        QTest::keyClick(child<QPushButton>(missing, u"Command1"_qs), Qt::Key_Return);
        WAIT_FOR(!visibleWindow<frmMissing>(u"frmMissing"_qs));

        // A double-click on a match (the last one listed) goes to its round.
        const MissingResults listed = ::missingResults(m_main->season(), m_desktop->clock.date());
        const int round = listed.rounds.value(listed.lines.size() - 2);
        QVERIFY(round != m_main->shownRound());
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F7);
        auto* list = child<QListWidget>(visibleWindow<frmMissing>(u"frmMissing"_qs), u"list"_qs);
        QVERIFY(QTest::qWaitForWindowExposed(list));
        list->scrollToBottom();
        QCoreApplication::processEvents();
        // As the mouse does it: the press picks the line that the double-click then opens.
        const QPoint at = list->visualItemRect(list->item(list->count() - 2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        WAIT_FOR(!visibleWindow<frmMissing>(u"frmMissing"_qs));
        QCOMPARE(m_main->shownRound(), round);
        QTRY_COMPARE(QApplication::focusWidget(), fixture::resultField(m_main, 0)); // typing goes on there

        m_desktop->clock = QDateTime(fixture::roundDate(1), QTime(20, 0));
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F7);
        QVERIFY(!visibleWindow<frmMissing>(u"frmMissing"_qs));
        QCOMPARE(m_desktop->messages.value(0).text, u"Nenalezeny žádné chybějící výsledky."_qs);
        QCOMPARE(m_desktop->messages.value(0).title, u"info"_qs);
    }

    void calendar()
    {
        QAction* item = m_main->findChild<QAction*>(u"mnuKalendar"_qs);
        item->trigger();
        QCOMPARE(m_desktop->messages.value(0).text, u"není definován"_qs);
        fixture::put(m_league->dir.filePath(u"souteze/kalendar_0708.dat"_qs),
                     encodeLines({u"a2=1.10. - 3.10.=Dlouhý název akce, která se nevejde"_qs}));
        item->trigger();
        auto* calendar = visibleWindow<frmKalendar>(u"frmKalendar"_qs);
        QVERIFY(calendar);
        QCOMPARE(calendar->windowTitle(), u"kalendář akcí 2007/2008"_qs);
        QCOMPARE(child<QLabel>(calendar, u"lblTermin1"_qs)->text(), u"1.10. - 3.10."_qs);
        QVERIFY(calendar->width() >= child<QLabel>(calendar, u"lblAkce1"_qs)->geometry().right());
        // Events the file does not announce leave no placeholder row and no gap.
        QVERIFY(child<QLabel>(calendar, u"lblTermin0"_qs)->isHidden());
        QCOMPARE(child<QLabel>(calendar, u"lblTermin1"_qs)->y(), tw(150));
        QVERIFY(child<QPushButton>(calendar, u"cmdUlozit"_qs)->y() < tw(150 + 330 * 2));
        QTest::keyClick(calendar, Qt::Key_Escape);
        WAIT_FOR(!visibleWindow<frmKalendar>(u"frmKalendar"_qs));
    }

    void printMatches()
    {
        m_main->findChild<QAction*>(u"mnuZap"_qs)->trigger();
        auto* zapasy = visibleWindow<frmZapasy>(u"frmZapasy"_qs);
        QVERIFY(zapasy);
        auto* matches = child<QListWidget>(zapasy, u"lstZ"_qs);
        QVERIFY(!child<QPushButton>(zapasy, u"Command2"_qs)->isEnabled());
        // No team yet: nothing to save, and the window says so.
        QTest::mouseClick(child<QPushButton>(zapasy, u"cmdUlozit"_qs), Qt::LeftButton);
        QVERIFY(m_desktop->messages.takeFirst().text.contains(u"vyberte tým"_qs));
        child<QComboBox>(zapasy, u"cboTym"_qs)->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>(zapasy, u"Command1"_qs), Qt::LeftButton);
        QCOMPARE(matches->count(), kRounds);
        QVERIFY(isMonospaced(matches->font()));
        QVERIFY(child<QPushButton>(zapasy, u"Command2"_qs)->isEnabled());

        // The team's fixtures for a phone's calendar.
        m_desktop->savePath = m_league->dir.filePath(u"zapasy.ics"_qs);
        QTest::mouseClick(child<QPushButton>(zapasy, u"cmdKalendar"_qs), Qt::LeftButton);
        const QByteArray calendar = fixture::contents(m_desktop->savePath);
        QVERIFY(calendar.startsWith("BEGIN:VCALENDAR\r\n"));
        QCOMPARE(calendar.count("BEGIN:VEVENT"), kRounds);
        QCOMPARE(m_desktop->suggestedNames.value(0), u"zápasy Č. Budějovice 2007-2008.ics"_qs);

        m_desktop->savePath = m_league->dir.filePath(u"zapasy.pdf"_qs);
        m_desktop->answers = {Desktop::Answer::Cancel};
        QTest::mouseClick(child<QPushButton>(zapasy, u"Command2"_qs), Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].title, u"tisk"_qs);
        QVERIFY(!QFile::exists(m_desktop->savePath));

        m_desktop->answers = {Desktop::Answer::Ok, Desktop::Answer::Yes};
        QTest::mouseClick(child<QPushButton>(zapasy, u"Command2"_qs), Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 4); // the question, no printer: save as PDF?, where it is saved
        QVERIFY(m_desktop->messages[3].text.endsWith(m_desktop->savePath));
        QVERIFY(QFile::exists(m_desktop->savePath));
        QVERIFY(run(u"pdfinfo"_qs, {m_desktop->savePath}).contains(QRegularExpression(u"Pages:\\s+1\\n"_qs)));
        // Text extraction does not keep every run of blanks.
        const QString text = run(u"pdftotext"_qs, {u"-layout"_qs, m_desktop->savePath, u"-"_qs}).simplified();
        QVERIFY2(text.contains(u"Č. BUDĚJOVICE - Liga 2007/2008"_qs), qPrintable(text));
        for (int i = 0; i < matches->count(); ++i)
            QVERIFY2(text.contains(matches->item(i)->text().simplified()), qPrintable(matches->item(i)->text()));
        QVERIFY2(text.contains(u"vytisknuto 18.09.2007 v 20:00"_qs), qPrintable(text.right(120)));
        QVERIFY(text.contains(u"(verze 3.4.1)"_qs));

        // A disk that takes only part of the page: told so, and no half PDF is left.
        m_desktop->messages.clear();
        m_desktop->answers = {Desktop::Answer::Ok, Desktop::Answer::Yes};
        m_desktop->savePath = m_league->dir.filePath(u"plny.pdf"_qs);
        signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{2000, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        QTest::mouseClick(child<QPushButton>(zapasy, u"Command2"_qs), Qt::LeftButton);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(m_desktop->messages.value(2).text.contains(u"povolenou velikost"_qs),
                 qPrintable(m_desktop->messages.value(2).text));
        QCOMPARE(m_desktop->messages.value(2).icon, Desktop::Icon::Critical);
        QVERIFY(QDir(m_league->dir.path()).entryList({u"plny.pdf*"_qs}).isEmpty());
    }

private:
    std::unique_ptr<fixture::OpenLeague> m_league;
    RecordingDesktop* m_desktop = nullptr;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_lookupsForms)
#include "tst_lookupsForms.moc"
