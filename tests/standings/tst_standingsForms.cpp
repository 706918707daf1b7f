// SPDX-License-Identifier: MIT
#include "fixture/openleague.h"
#include "standings/frmGraf.h"
#include "standings/frmTable.h"
#include "standings/frmTable_Interval.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using fixture::visibleWindow;

class tst_standingsForms final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QStringList comp = fixture::competitionLines(), los = fixture::scheduleLines();
        comp[4] = u"; no HR2"_qs;
        los[fixture::resultLine(1, 1)] = u"1:4"_qs; // team 2 wins round 1 at team 1
        los[fixture::resultLine(2, 1)] = u"2:0"_qs;
        los[fixture::resultLine(2, 2)] = u"3:2p"_qs;
        m_league = std::make_unique<fixture::OpenLeague>(los, fixture::roundDate(10).addDays(-1), comp);
        m_desktop = &m_league->desktop;
        m_main = m_league->main;
    }

    void cleanup() { fixture::closeAllWindows(); }
    void runningTableFromF2()
    {
        m_main->cboKolo->setCurrentIndex(16);
        m_main->result[0]->setFocus();
        QTest::keyClicks(m_main->result[0], u"0:5"_qs);
        QTest::keyClick(m_main->result[0], Qt::Key_F2);
        auto* table = visibleWindow<frmTable>(u"frmTable"_qs);
        QVERIFY(table);
        QApplication::setActiveWindow(table); // the window manager's part
        QVERIFY(QTest::qWaitForWindowActive(table));
        QCOMPARE(table->windowTitle(), u"průběžná tabulka"_qs);
        QCOMPARE(table->cbo1->currentText(), u"CELKEM"_qs);
        QCOMPARE(table->cbo2->currentText(), u"BODY"_qs);
        QCOMPARE(table->cells[0][1]->text(), u"Tým 2"_qs); // three wins, the typed 0:5 included
        QCOMPARE(table->cells[0][9]->text(), u"9"_qs);
        QVERIFY(table->cells[0][9]->font().bold());
        QCOMPARE(table->cells[3][0]->text(), u"4."_qs);
        QCOMPARE(table->cells[12][0]->text(), QString()); // level teams share a hidden position
        QCOMPARE(table->cells[13][1]->text(), u"Tým 1"_qs);
        // HR1 = 8: under row 8; HR2 missing: at its designed 6000 twips; HR3 = 12.
        const auto near = [](const QFrame* line, int twips) {
            return qAbs(line->geometry().center().y() - twips / 15) <= 1;
        };
        QVERIFY(near(table->lines[0], 1050 + 315 * 7 + 275));
        QVERIFY(near(table->lines[1], 6000));
        for (QFrame* line : table->lines)
            QVERIFY(line->isVisible());

        table->cbo1->setCurrentIndex(0);
        Q_EMIT table->cbo1->activated(0);
        QVERIFY(!table->lines[2]->isVisible());
        QVERIFY(table->foclost->hasFocus());
        table->cbo1->setCurrentIndex(2);
        Q_EMIT table->cbo1->activated(2);
        QVERIFY(table->lines[2]->isVisible());
        table->cbo2->setCurrentIndex(11);
        Q_EMIT table->cbo2->activated(11);
        QCOMPARE(table->cells[0][8]->text(), u"(=1)  "_qs);
        QVERIFY(!table->lines[0]->isVisible());

        QTest::keyClick(table, Qt::Key_Escape);
        QTRY_VERIFY(!visibleWindow<frmTable>(u"frmTable"_qs));
        QCOMPARE(m_main->shownRound(), 17);
    }

    void periodTable()
    {
        m_main->findChild<QAction*>(u"mnuObdobi"_qs)->trigger();
        auto* dialog = visibleWindow<frmTable_Interval>(u"frmTable_Interval"_qs);
        QVERIFY(dialog);
        QCOMPARE(dialog->cboKolo1->currentIndex(), -1);
        dialog->cbo->setCurrentIndex(2);
        Q_EMIT dialog->cbo->activated(2);
        QCOMPARE(dialog->cboKolo1->currentIndex(), 26);
        QCOMPARE(dialog->cboKolo2->currentIndex(), 38);
        QCOMPARE(dialog->cbo->currentIndex(), 2);
        dialog->cbo->setCurrentIndex(4);
        Q_EMIT dialog->cbo->activated(4); // the separator changes nothing
        QCOMPARE(dialog->cboKolo1->currentIndex(), 26);

        dialog->cbo->setCurrentIndex(0);
        Q_EMIT dialog->cbo->activated(0);
        dialog->cboKolo1->setCurrentIndex(1); // round 2 by hand, past the end of the range
        dialog->cboKolo2->setCurrentIndex(0);
        QCOMPARE(dialog->cbo->currentIndex(), -1);
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        QCOMPARE(dialog->cboKolo1->currentIndex(), 0);
        QCOMPARE(dialog->cboKolo2->currentIndex(), 1);
        QTRY_VERIFY(!visibleWindow<frmTable_Interval>(u"frmTable_Interval"_qs));
        auto* table = visibleWindow<frmTable>(u"frmTable"_qs);
        QVERIFY(table);
        QCOMPARE(table->windowTitle(), u"tabulka za období   (kola 1 - 2)"_qs);
        QCOMPARE(table->cells[0][1]->text(), u"Tým 2"_qs);
        QCOMPARE(table->cells[1][1]->text(), u"Tým 4"_qs);
    }

    void periodNeedsBothRounds()
    {
        m_main->findChild<QAction*>(u"mnuObdobi"_qs)->trigger();
        auto* dialog = visibleWindow<frmTable_Interval>(u"frmTable_Interval"_qs);
        dialog->cboKolo1->setCurrentIndex(5);
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY(dialog->isVisible());
        QVERIFY(!visibleWindow<frmTable>(u"frmTable"_qs));
    }

    void graph()
    {
        m_main->findChild<QAction*>(u"mnuGraf"_qs)->trigger();
        auto* graf = visibleWindow<frmGraf>(u"frmGraf"_qs);
        QVERIFY(graf);
        QTRY_COMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].text, u"1. kolo nebylo odehráno celé.\r\nGraf může být zkreslen!"_qs);
        QCOMPARE(m_desktop->messages[0].title, u"klx"_qs);
        QVERIFY(graf->segments().isEmpty());
        graf->lists[0]->setCurrentIndex(3); // team 3 played once: no segment
        QVERIFY(graf->segments().isEmpty());
        graf->lists[2]->setCurrentIndex(2); // team 2 played twice: one segment from round 1 to 2
        QCOMPARE(graf->segments().size(), 1);
        QCOMPARE(graf->segments()[0].first,
                 QLine((500 + 160) / 15, (190 + 200) / 15, (500 + 320) / 15, (190 + 200) / 15));
        QCOMPARE(graf->segments()[0].second, QColor(0, 192, 0));
        QTest::keyClick(graf, Qt::Key_Escape);
        QTRY_VERIFY(!visibleWindow<frmGraf>(u"frmGraf"_qs));
    }

    void finalOrderAndMarks()
    {
        const SeasonStore season = fixture::load(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_prvniliga0708.txt"));
        frmTable table(season, 1, kRounds, u"průběžná tabulka"_qs, nullptr);
        table.show();
        auto* rules = table.findChild<QComboBox*>(u"cboRules"_qs);
        QCOMPARE(rules->currentIndex(), 0); // opens as it always did
        QCOMPARE(table.cells[12][1]->text(), u"Šumperk"_qs);
        rules->setCurrentIndex(1);
        Q_EMIT rules->activated(1);
        QCOMPARE(table.cells[12][1]->text(), u"Jihlava"_qs);
        QCOMPARE(table.cells[13][1]->toolTip(), u"o pořadí s týmem nad ním rozhodlo: vzájemné zápasy – body 3:0"_qs);
        QCOMPARE(table.cells[13][0]->toolTip(), table.cells[13][1]->toolTip());
    }

    void savedAsTheCommandLinePrints()
    {
        QTest::keyClick(m_main->result[0], Qt::Key_F2);
        auto* table = visibleWindow<frmTable>(u"frmTable"_qs);
        QVERIFY(table);
        QApplication::setActiveWindow(table); // the window manager's part
        QVERIFY(QTest::qWaitForWindowActive(table));
        table->cbo1->setCurrentIndex(0); // DOMA
        Q_EMIT table->cbo1->activated(0);
        for (const QString& name : {u"tabulka.csv"_qs, u"tabulka.html"_qs}) {
            m_desktop->savePath = m_league->dir.filePath(name);
            QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier);
            QFile saved(m_desktop->savePath);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QProcess cli;
            cli.start(QStringLiteral(RINKOMAT_CLI), {u"table"_qs, m_league->path, u"--venue"_qs, u"1"_qs,
                                                     name.endsWith(u"csv") ? u"--csv"_qs : u"--html"_qs});
            QVERIFY(cli.waitForFinished(30000));
            QCOMPARE(saved.readAll(), cli.readAllStandardOutput());
        }
        QCOMPARE(m_desktop->suggestedNames.value(0), u"Liga 2007-2008 – průběžná tabulka.csv"_qs);
    }

private:
    std::unique_ptr<fixture::OpenLeague> m_league;
    RecordingDesktop* m_desktop = nullptr;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_standingsForms)
#include "tst_standingsForms.moc"
