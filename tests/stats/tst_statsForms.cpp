// SPDX-License-Identifier: MIT
#include "fixture/openleague.h"
#include "outlook/frmVyhled.h"
#include "stats/frmKriz.h"
#include "stats/frmSerie.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

using fixture::child, fixture::visibleWindow;

namespace {

QStringList shown(const frmSerie* s)
{
    QStringList out;
    for (int r = 0; r < kTeams; ++r) {
        QStringList row;
        for (int c = 0; c < 4; ++c)
            row << child<QLabel>(s, u"cell%1_%2"_s.arg(r).arg(c))->text();
        out << row.join(u'|');
    }
    return out;
}

} // namespace

class tst_statsForms final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QStringList los = fixture::scheduleLines();
        // Team 1 at home to team 2 in odd rounds: a regulation win, then an overtime win.
        los[fixture::resultLine(1, 1)] = u"3:0"_s;
        los[fixture::resultLine(3, 1)] = u"3:2p"_s;
        m_league = std::make_unique<fixture::OpenLeague>(los);
        m_main = m_league->main;
    }

    void cleanup() { fixture::closeAllWindows(); }

    // F12: the outlook is worked out beside the window, which shows what the core computed.
    void outlookWindow()
    {
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F12);
        QPointer<frmVyhled> busy = visibleWindow<frmVyhled>(u"frmVyhled"_s);
        QVERIFY(busy && busy->computing());
        busy->close(); // at once, though it is still at work
        WAIT_FOR(!busy);
        auto* outlook = new frmVyhled(m_main->season(), 300, m_main);
        outlook->open();
        WAIT_FOR(!outlook->computing());
        const ViewTable expected =
            outlookView(m_main->season(), computeOutlook(m_main->season(), 300, kDefaultSeed, 1));
        QCOMPARE(outlook->view().rows, expected.rows);
        auto* grid = child<QTableWidget>(outlook, u"grid"_s);
        QCOMPARE(grid->rowCount(), kTeams);
        QCOMPARE(grid->verticalHeaderItem(0)->text(), expected.rows[0][0]); // the name stays as the shares scroll
        QVERIFY(grid->isColumnHidden(0));
        QCOMPARE(grid->horizontalHeaderItem(4)->text(), u"1."_s);
        const QString note = child<QLabel>(outlook, u"lblNote"_s)->text();
        QVERIFY(note.contains(u"300 simulovaných"_s) && note.contains(QLatin1StringView(kOutlookModel)));
        // A click on a team lists its key matches for the first line; until then their table takes no room.
        auto* keys = child<QTableWidget>(outlook, u"keyGrid"_s);
        QVERIFY(keys->rowCount() == 0 && !keys->isVisible());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());
        QVERIFY(keys->rowCount() == 5 && keys->isVisible());
        QVERIFY(child<QLabel>(outlook, u"lblKey"_s)->text().contains(expected.rows[0][0]));
        // A result typed meanwhile starts it again; the grid then counts it.
        SeasonStore changed = m_main->season();
        changed.match(1, 1).result = u"9:0"_s;
        outlook->restart(changed);
        QVERIFY(outlook->computing());
        WAIT_FOR(!outlook->computing());
        QCOMPARE(outlook->view().rows, outlookView(changed, computeOutlook(changed, 300, kDefaultSeed, 2)).rows);
        outlook->close();
    }

    void streaksScreen()
    {
        fixture::roundList(m_main)->setCurrentIndex(6);
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F4);
        auto* serie = visibleWindow<frmSerie>(u"frmSerie"_s);
        QVERIFY(serie);
        QCOMPARE(child<QComboBox>(serie, u"cbo1"_s)->currentText(), u"CELKEM"_s);
        QCOMPARE(child<QComboBox>(serie, u"cbo2"_s)->currentText(), u"VÝHRY"_s);
        QCOMPARE(child<QComboBox>(serie, u"cbo3"_s)->currentText(), u"PODLE AKTUÁLNÍ"_s);
        QVERIFY(child<QRadioButton>(serie, u"OPT1"_s)->isChecked());
        QCOMPARE(shown(serie)[0], u"1.|Tým 1|0|1"_s);         // the overtime win counts as a draw
        QCOMPARE(shown(serie)[2], u"3.|Č. Budějovice|-|-"_s); // no matches: below 0, level with each other
        QCOMPARE(shown(serie)[3], u"|Tým 4|-|-"_s);

        QApplication::setActiveWindow(serie);
        QTest::mouseClick(child<QRadioButton>(serie, u"OPT2"_s), Qt::LeftButton);
        QCOMPARE(shown(serie)[0], u"1.|Tým 1|2|2"_s);
        QVERIFY(child<QPushButton>(serie, u"foclost"_s)->hasFocus());
        auto* type = child<QComboBox>(serie, u"cbo2"_s);
        type->setFocus(), QTest::keyClick(type, Qt::Key_Down); // the arrows browse; the box keeps the keyboard
        QVERIFY(type->currentIndex() == 1 && type->hasFocus());
        type->setCurrentIndex(0);
        // From the seventh type on the overtime option changes nothing.
        child<QComboBox>(serie, u"cbo2"_s)->setCurrentIndex(6);
        const QStringList finalMode = shown(serie);
        QTest::mouseClick(child<QRadioButton>(serie, u"OPT1"_s), Qt::LeftButton);
        QCOMPARE(shown(serie), finalMode);
        QCOMPARE(finalMode[0], u"1.|Tým 1|1|1"_s);

        child<QComboBox>(serie, u"cbo3"_s)->setCurrentIndex(0);
        QCOMPARE(shown(serie)[13], u"-.|Tým 14|-|-"_s);
        QTest::keyClick(serie, Qt::Key_Escape);
        WAIT_FOR(!visibleWindow<frmSerie>(u"frmSerie"_s));
        QCOMPARE(m_main->shownRound(), 7);
    }

    void crossTableScreen()
    {
        QTest::keyClick(fixture::resultField(m_main, 0), Qt::Key_F3);
        auto* kriz = visibleWindow<frmKriz>(u"frmKriz"_s);
        QVERIFY(kriz);
        QCOMPARE(child<QLabel>(kriz, u"cell0_1"_s)->text(), u"3:0\r\n3:2p"_s + QString(u"\r\n"_s).repeated(24));
        QCOMPARE(child<QLabel>(kriz, u"cell4_4"_s)->text(), QString());
        QVERIFY(child<QLabel>(kriz, u"cell4_4"_s)->styleSheet().contains(u"128, 128, 128"_s));
        QTest::keyClick(kriz, Qt::Key_Escape);
        WAIT_FOR(!visibleWindow<frmKriz>(u"frmKriz"_s));
    }

private:
    std::unique_ptr<fixture::OpenLeague> m_league;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_statsForms)
#include "tst_statsForms.moc"
