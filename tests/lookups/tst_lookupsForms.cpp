// SPDX-License-Identifier: MIT
#include "fixture/openleague.h"
#include "lookups/fixedfont.h"
#include "lookups/frmBilance.h"
#include "lookups/frmKalendar.h"
#include "lookups/frmMissing.h"
#include "lookups/frmVzaj.h"
#include "lookups/frmZapasy.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using fixture::visibleWindow;

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
        m_main->result[0]->setFocus();
        QTest::keyClicks(m_main->result[0], u"2:1"_qs); // typed, the field not left yet
        QTest::mouseDClick(m_main->Hteam[0], Qt::LeftButton);
        auto* balance = visibleWindow<frmBilance>(u"frmBilance"_qs);
        QVERIFY(balance);
        QVERIFY(!balance->isModal());
        QCOMPARE(balance->cboBil->currentIndex(), 0);
        QCOMPARE(balance->values[0][0]->text(), u"2"_qs); // rounds 1 and 3 at home
        QCOMPARE(balance->values[7][2]->text(), u"6"_qs);
        QCOMPARE(m_main->shownRound(), 3);
        QTest::keyClick(balance, Qt::Key_Escape);
        QTRY_VERIFY(!visibleWindow<frmBilance>(u"frmBilance"_qs));
    }

    void headToHeadByDoubleClick()
    {
        QTest::mouseDClick(m_main->dash[0], Qt::LeftButton);
        auto* h2h = visibleWindow<frmVzaj>(u"frmVzaj"_qs);
        QVERIFY(h2h);
        QCOMPARE(h2h->cbo1->currentIndex(), 1);
        QCOMPARE(h2h->cbo2->currentIndex(), 2);
        QCOMPARE(h2h->lstVz->count(), kRounds);
        QCOMPARE(h2h->lstVz->item(0)->text(), u" 1. kolo  Tým 1 - Tým 2  3:0"_qs);
        QCOMPARE(h2h->lstVz->item(1)->text(), u" 2. kolo  Tým 2 - Tým 1  (15.9.)"_qs);
        QTest::mouseClick(h2h->lstVz->viewport(), Qt::LeftButton, {},
                          h2h->lstVz->visualItemRect(h2h->lstVz->item(1)).center());
        QCOMPARE(h2h->lstVz->toolTip(), h2h->lstVz->item(1)->text());
        h2h->cbo2->setCurrentIndex(1);
        QTest::mouseClick(h2h->Command1, Qt::LeftButton);
        QCOMPARE(h2h->lstVz->item(0)->text(), u"nesprávné zadání"_qs);
    }

    void missingResults()
    {
        QTest::keyClick(m_main->result[0], Qt::Key_F7);
        auto* missing = visibleWindow<frmMissing>(u"frmMissing"_qs);
        QVERIFY(missing);
        QCOMPARE(missing->list->item(0)->text(), u">>  1. kolo  <<"_qs);
        QCOMPARE(missing->list->item(1)->text(), u"Č. Budějovice - Tým 4"_qs);
        QCOMPARE(missing->list->count(), (1 + 6 + 1) + (1 + 7 + 1));
        QTest::keyClick(missing->Command1, Qt::Key_Return);
        QTRY_VERIFY(!visibleWindow<frmMissing>(u"frmMissing"_qs));

        m_desktop->clock = QDateTime(fixture::roundDate(1), QTime(20, 0));
        QTest::keyClick(m_main->result[0], Qt::Key_F7);
        QVERIFY(!visibleWindow<frmMissing>(u"frmMissing"_qs));
        QCOMPARE(m_desktop->messages.value(0).text, u"Nenalezeny žádné chybějící výsledky."_qs);
        QCOMPARE(m_desktop->messages.value(0).title, u"info"_qs);
    }

    void calendar()
    {
        QAction* item = m_main->findChild<QAction*>(u"mnuKalendar"_qs);
        item->trigger();
        QCOMPARE(m_desktop->messages.value(0).text, u"není definován"_qs);
        QFile file(m_league->dir.filePath(u"souteze/kalendar_0708.dat"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(encodeLines({u"a2=1.10. - 3.10.=Dlouhý název akce, která se nevejde"_qs}));
        file.close();
        item->trigger();
        auto* calendar = visibleWindow<frmKalendar>(u"frmKalendar"_qs);
        QVERIFY(calendar);
        QCOMPARE(calendar->windowTitle(), u"kalendář akcí 2007/2008"_qs);
        QCOMPARE(calendar->lblTermin[1]->text(), u"1.10. - 3.10."_qs);
        QVERIFY(calendar->width() >= calendar->lblAkce[1]->geometry().right());
        QTest::keyClick(calendar, Qt::Key_Escape);
        QTRY_VERIFY(!visibleWindow<frmKalendar>(u"frmKalendar"_qs));
    }

    void printMatches()
    {
        m_main->findChild<QAction*>(u"mnuZap"_qs)->trigger();
        auto* zapasy = visibleWindow<frmZapasy>(u"frmZapasy"_qs);
        QVERIFY(zapasy);
        QVERIFY(!zapasy->Command2->isEnabled());
        zapasy->cboTym->setCurrentIndex(2);
        QTest::mouseClick(zapasy->Command1, Qt::LeftButton);
        QCOMPARE(zapasy->lstZ->count(), kRounds);
        QVERIFY(isMonospaced(zapasy->lstZ->font()));
        QVERIFY(zapasy->Command2->isEnabled());

        // The team's fixtures for a phone's calendar.
        m_desktop->savePath = m_league->dir.filePath(u"zapasy.ics"_qs);
        QTest::mouseClick(zapasy->findChild<QPushButton*>(u"cmdKalendar"_qs), Qt::LeftButton);
        QFile ics(m_desktop->savePath);
        QVERIFY(ics.open(QIODevice::ReadOnly));
        const QByteArray calendar = ics.readAll();
        QVERIFY(calendar.startsWith("BEGIN:VCALENDAR\r\n"));
        QCOMPARE(calendar.count("BEGIN:VEVENT"), kRounds);
        QCOMPARE(m_desktop->suggestedNames.value(0), u"zápasy Č. Budějovice 2007-2008.ics"_qs);

        m_desktop->savePath = m_league->dir.filePath(u"zapasy.pdf"_qs);
        m_desktop->answers = {Desktop::Answer::Cancel};
        QTest::mouseClick(zapasy->Command2, Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].title, u"tisk"_qs);
        QVERIFY(!QFile::exists(m_desktop->savePath));

        m_desktop->answers = {Desktop::Answer::Ok, Desktop::Answer::Yes};
        QTest::mouseClick(zapasy->Command2, Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 4); // the question, no printer: save as PDF?, where it is saved
        QVERIFY(m_desktop->messages[3].text.endsWith(m_desktop->savePath));
        QVERIFY(QFile::exists(m_desktop->savePath));
        QVERIFY(run(u"pdfinfo"_qs, {m_desktop->savePath}).contains(QRegularExpression(u"Pages:\\s+1\\n"_qs)));
        // Text extraction does not keep every run of blanks.
        const QString text = run(u"pdftotext"_qs, {u"-layout"_qs, m_desktop->savePath, u"-"_qs}).simplified();
        QVERIFY2(text.contains(u"Č. BUDĚJOVICE - Liga 2007/2008"_qs), qPrintable(text));
        for (int i = 0; i < zapasy->lstZ->count(); ++i)
            QVERIFY2(text.contains(zapasy->lstZ->item(i)->text().simplified()),
                     qPrintable(zapasy->lstZ->item(i)->text()));
        QVERIFY2(text.contains(u"vytisknuto 18.09.2007 v 20:00"_qs), qPrintable(text.right(120)));
        QVERIFY(text.contains(u"(verze 3.4.1)"_qs));
    }

private:
    std::unique_ptr<fixture::OpenLeague> m_league;
    RecordingDesktop* m_desktop = nullptr;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_lookupsForms)
#include "tst_lookupsForms.moc"
