// SPDX-License-Identifier: MIT
#include "fixture/openleague.h"
#include "season/datafiles.h"
#include "startup/frmUvod.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>

class tst_frmMain final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QStringList los = fixture::scheduleLines();
        los[fixture::resultLine(1, 1)] = u"3:1"_qs;
        m_league = std::make_unique<fixture::OpenLeague>(los);
        m_desktop = &m_league->desktop;
        m_competition = m_league->path;
        m_main = m_league->main;
    }

    void cleanup() { fixture::closeAllWindows(); }
    void opensOnFirstRoundFromToday()
    {
        QCOMPARE(m_main->windowTitle(), u"Liga  2007/2008"_qs);
        QCOMPARE(m_main->cboKolo->count(), kRounds);
        QCOMPARE(m_main->cboKolo->itemText(0), u"1. kolo  -  12.9.2007"_qs);
        QCOMPARE(m_main->shownRound(), 10);
        QCOMPARE(m_main->Hteam[1]->text(), u"Tým 4"_qs); // even rounds play 4-3 in slot 2
        QCOMPARE(m_main->Ateam[1]->text(), u"Č. Budějovice"_qs);
        m_main->cboKolo->setCurrentIndex(0);
        QCOMPARE(m_main->result[0]->text(), u"3:1"_qs);
        // The window keeps its size, and the round list shows 20 rounds, not a screen of them.
        QCOMPARE(m_main->minimumSize(), m_main->maximumSize());
        m_main->cboKolo->showPopup();
        QAbstractItemView* list = m_main->cboKolo->view();
        QTRY_VERIFY(list->isVisible());
        QVERIFY2(list->height() <= 21 * list->sizeHintForRow(0), qPrintable(QString::number(list->height())));
        m_main->cboKolo->hidePopup();
    }

    void typingAndLeaving_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::addRow("overtime by keypad") << "5+4-" << "5:4p" << "5:4p";
        QTest::addRow("two-goal margin loses p") << "3:1p" << "3:1p" << "3:1";
        QTest::addRow("draw") << "2+2" << "2:2" << "2:2p";
        QTest::addRow("invalid emptied silently") << "3;2"
                                                  << "3;2"
                                                  << "";
        // clang-format on
    }

    void typingAndLeaving()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QLineEdit* field = m_main->result[2];
        field->setFocus();
        QTest::keyClicks(field, typed);
        QCOMPARE(field->text(), shown);
        QCOMPARE(field->cursorPosition(), shown.size());
        m_main->result[3]->setFocus(); // leaving the field
        QCOMPARE(field->text(), stored);
        QCOMPARE(m_main->season().VYSLEDEK(3, 10), stored);
        QVERIFY(m_desktop->messages.isEmpty());
    }

    void keypadKeysAndEnter()
    {
        QLineEdit* field = m_main->result[0];
        field->setFocus();
        for (auto [key, text] :
             {std::pair{Qt::Key_2, "2"}, {Qt::Key_Plus, "+"}, {Qt::Key_1, "1"}, {Qt::Key_Slash, "/"}})
            QTest::keyClick(field, key, Qt::KeypadModifier, 0);
        QCOMPARE(field->text(), u"2:1n"_qs);
        for (int i = 0; i < kSlots - 1; ++i) {
            QTest::keyClick(m_main->result[i], Qt::Key_Enter, Qt::KeypadModifier);
            QVERIFY(m_main->result[i + 1]->hasFocus());
        }
        QTest::keyClick(m_main->result[6], Qt::Key_Return);
        QVERIFY(m_main->result[6]->hasFocus());
        QCOMPARE(m_main->season().VYSLEDEK(1, 10), u"2:1n"_qs);
    }

    void paging()
    {
        QLineEdit* field = m_main->result[4];
        field->setFocus();
        QTest::keyClicks(field, u"4+0"_qs);
        QTest::keyClick(field, Qt::Key_PageDown);
        QCOMPARE(m_main->shownRound(), 11);
        QVERIFY(m_main->result[0]->hasFocus());
        QCOMPARE(m_main->season().VYSLEDEK(5, 10), u"4:0"_qs);
        QTest::keyClick(m_main->result[0], Qt::Key_PageUp);
        QCOMPARE(m_main->result[4]->text(), u"4:0"_qs);

        m_main->cboKolo->setCurrentIndex(0);
        m_main->result[6]->setFocus();
        QTest::keyClicks(m_main->result[6], u"1:0"_qs);
        QTest::keyClick(m_main->result[6], Qt::Key_PageUp);
        QCOMPARE(m_main->shownRound(), 1);
        QVERIFY(m_main->result[0]->hasFocus());
        QCOMPARE(m_main->season().VYSLEDEK(7, 1), u"1:0"_qs);

        m_main->cboKolo->setCurrentIndex(kRounds - 1);
        QTest::keyClick(m_main->result[0], Qt::Key_PageDown);
        QCOMPARE(m_main->shownRound(), kRounds);
    }

    void swapWithCtrlShift()
    {
        QLabel* dash = m_main->dash[1];
        QVERIFY(!dash->autoFillBackground());
        QTest::keyPress(m_main->result[0], Qt::Key_Control);
        QVERIFY(!dash->autoFillBackground());
        QTest::keyPress(m_main->result[0], Qt::Key_Shift, Qt::ControlModifier);
        QVERIFY(dash->autoFillBackground());
        QCOMPARE(dash->palette().color(QPalette::Window), QColor(0xE0E0E0));
        QTest::mouseClick(dash, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_main->Hteam[1]->text(), u"Č. Budějovice"_qs);
        QCOMPARE(m_main->Ateam[1]->text(), u"Tým 4"_qs);
        QTest::keyRelease(m_main->result[0], Qt::Key_Shift, Qt::ControlModifier);
        QVERIFY(!m_main->dash[6]->autoFillBackground());
        QTest::keyRelease(m_main->result[0], Qt::Key_Control);

        m_main->result[1]->setFocus();
        m_main->result[2]->setFocus();
        QCOMPARE(m_main->season().ZAPAS(2, 10), u"3-4"_qs);
        m_main->cboKolo->setCurrentIndex(3);
        m_main->cboKolo->setCurrentIndex(9);
        QCOMPARE(m_main->Hteam[1]->text(), u"Č. Budějovice"_qs);
    }

    void menuStoresPendingInput()
    {
        m_main->result[5]->setFocus();
        QTest::keyClicks(m_main->result[5], u"2:2"_qs);
        auto* menu = m_main->menuBar()->findChild<QMenu*>(u"mnuMenu"_qs);
        menu->popup(m_main->mapToGlobal(QPoint(0, 0)));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(m_main->season().VYSLEDEK(6, 10), u"2:2p"_qs);
        menu->close();

        // A shortcut stores first too.
        m_main->result[4]->setFocus();
        QTest::keyClicks(m_main->result[4], u"6:5n"_qs);
        QTest::keyClick(m_main->result[4], Qt::Key_F9);
        QCOMPARE(m_main->season().VYSLEDEK(5, 10), u"6:5n"_qs);
        QCOMPARE(m_desktop->urls.value(0).path(), u"/hokej.php"_qs);
    }

    void smallCommands()
    {
        m_main->findChild<QAction*>(u"mnuHelp"_qs)->trigger();
        m_main->findChild<QAction*>(u"mnuOpr"_qs)->trigger();
        QCOMPARE(m_desktop->messages.size(), 2);
        QVERIFY(m_desktop->messages[0].text.startsWith(
            u"SNADNÉ ZADÁVÁNÍ VÝSLEDKŮ NA NUMERICKÉ KLÁVESNICI - dvojtečka = klávesa +, prodl. = klávesa -, \r\n"_qs));
        QVERIFY(m_desktop->messages[0].text.endsWith(u"\r\n\r\nDOSAVADNÍ BILANCE - dvakrát klikněte na tým"_qs));
        QVERIFY(m_desktop->messages[1].text.startsWith(u"RINKOMAT\r\nverze 3.4.1\r\n\r\n"_qs));
        for (const auto& m : m_desktop->messages) {
            QCOMPARE(m.title, u"KLX"_qs);
            QCOMPARE(m.icon, Desktop::Icon::Information);
        }
        QCOMPARE(m_main->findChild<QAction*>(u"mnuKonec"_qs)->shortcut(), QKeySequence(u"Ctrl+X"_qs));
        QCOMPARE(m_main->findChild<QAction*>(u"mnuKalendar"_qs)->text(), u"Kalendář akcí 2007/2008"_qs);
    }

    void closeBoxWritesFile()
    {
        m_main->result[3]->setFocus();
        QTest::keyClicks(m_main->result[3], u"4:2"_qs);
        QVERIFY(m_main->close());
        QTRY_VERIFY(!m_main);
        QCOMPARE(reloaded().VYSLEDEK(4, 10), u"4:2"_qs);
        QCOMPARE(reloaded().VYSLEDEK(1, 1), u"3:1"_qs);
    }

    void ctrlXInFieldEndsAndWrites()
    {
        m_main->result[0]->setFocus();
        QTest::keyClicks(m_main->result[0], u"1:0"_qs);
        QTest::keyClick(m_main->result[0], Qt::Key_X, Qt::ControlModifier);
        QTRY_VERIFY(!m_main);
        QCOMPARE(reloaded().VYSLEDEK(1, 10), u"1:0"_qs);
    }

    void failedWriteKeepsWindow()
    {
        // The schedule file cannot be replaced while a folder stands in its place.
        const QString schedule = scheduleFileFor(m_competition);
        QVERIFY(QFile::remove(schedule) && QDir().mkdir(schedule));
        m_main->result[0]->setFocus();
        QTest::keyClicks(m_main->result[0], u"1:0"_qs);
        QVERIFY(!m_main->close());
        QVERIFY(m_main && m_main->isVisible());
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].icon, Desktop::Icon::Critical);
        QVERIFY(m_desktop->messages[0].text.contains(u"los_test.txt"_qs));
        QCOMPARE(m_main->season().VYSLEDEK(1, 10), u"1:0"_qs);

        m_main->findChild<QAction*>(u"mnuJinaLiga"_qs)->trigger();
        QVERIFY(m_main && m_main->isVisible());
        QVERIFY(!fixture::visibleWindow<frmUvod>(u"frmUvod"_qs));

        QVERIFY(QDir().rmdir(schedule)); // the user mends it and tries again
        QVERIFY(m_main->close());
        QCOMPARE(reloaded().VYSLEDEK(1, 10), u"1:0"_qs);
    }

    void otherLeagueWritesAndReturnsToPicker()
    {
        m_main->result[2]->setFocus();
        QTest::keyClicks(m_main->result[2], u"0:3"_qs);
        m_main->findChild<QAction*>(u"mnuJinaLiga"_qs)->trigger();
        QTRY_VERIFY(!m_main);
        auto* picker = fixture::visibleWindow<frmUvod>(u"frmUvod"_qs);
        QVERIFY(picker);
        QCOMPARE(picker->LSTsouteze->currentItem()->text(), u"Liga 2007/2008"_qs);
        QTest::mouseClick(picker->Command1, Qt::LeftButton);
        auto* again = fixture::visibleWindow<frmMain>(u"frmMain"_qs);
        QVERIFY(again);
        QCOMPARE(again->result[2]->text(), u"0:3"_qs);
    }

    void leavingWithoutSaving()
    {
        const QString schedule = scheduleFileFor(m_competition);
        QVERIFY(QFile::remove(schedule) && QDir().mkdir(schedule));
        m_main->result[0]->setFocus();
        QTest::keyClicks(m_main->result[0], u"1:0"_qs);
        m_desktop->choices = {1, 2}; // leave without saving, then stay
        m_desktop->answers = {Desktop::Answer::No};
        QVERIFY(!m_main->close()); // the warning answered No: back to the choice
        QCOMPARE(m_desktop->messages.size(), 3);
        QVERIFY(m_desktop->messages[0].text.endsWith(u"[Zkusit znovu | Odejít bez uložení | Zůstat v programu]"_qs));
        QVERIFY(m_desktop->messages[1].text.contains(u"budou ztraceny"_qs));
        QVERIFY(m_main->isVisible());
        m_desktop->choices = {1};
        m_desktop->answers = {Desktop::Answer::Yes};
        QVERIFY(m_main->close());
        QTRY_VERIFY(!m_main);
        QVERIFY(QFileInfo(schedule).isDir());
    }

    void typingAtOnce()
    {
        // Keypad typing right after the league opens fills the first result, not the round list.
        QCOMPARE(QApplication::focusWidget(), m_main->result[0]);
        QTest::keyClicks(QApplication::focusWidget(), u"5+4-"_qs);
        QCOMPARE(m_main->result[0]->text(), u"5:4p"_qs);
        QCOMPARE(m_main->shownRound(), 10);

        // A click into a filled field selects it, so typing replaces the old result.
        QTest::keyClick(m_main->result[0], Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), m_main->result[1]);
        QTest::mouseClick(m_main->result[0], Qt::LeftButton, {}, QPoint(m_main->result[0]->width() - 3, 5));
        QTRY_COMPARE(m_main->result[0]->selectedText(), u"5:4p"_qs);
        QTest::keyClicks(m_main->result[0], u"2:1"_qs);
        QCOMPARE(m_main->result[0]->text(), u"2:1"_qs);

        // Back from a view, the keyboard is in the first field again.
        m_main->result[3]->setFocus();
        QTest::keyClick(m_main, Qt::Key_F2);
        QWidget* table = QApplication::activeModalWidget();
        QVERIFY(table);
        QTest::keyClick(table, Qt::Key_Escape);
        QTRY_COMPARE(m_main->focusWidget(), m_main->result[0]);
    }

    void changedOnDisk_data()
    {
        // clang-format off
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("round1");
        QTest::addColumn<QString>("round10");
        QTest::addColumn<bool>("closed");
        QTest::addRow("reload") << 0 << "9:9" << "" << false;
        QTest::addRow("overwrite") << 1 << "3:1" << "1:0" << true;
        QTest::addRow("cancel") << 2 << "9:9" << "" << false;
        // clang-format on
    }

    void changedOnDisk()
    {
        QFETCH(int, choice);
        QFETCH(QString, round1);
        QFETCH(QString, round10);
        QFETCH(bool, closed);
        SeasonStore other = reloaded();
        other.match(1, 1).result = u"9:9"_qs; // another program wrote the file meanwhile
        QCOMPARE(writeSchedule(other, scheduleFileFor(m_competition)), QString());
        m_main->result[0]->setFocus();
        QTest::keyClicks(m_main->result[0], u"1:0"_qs);
        m_desktop->choices = {choice};
        QCOMPARE(m_main->close(), closed);
        QVERIFY(m_desktop->messages.value(0).text.contains(u"se od načtení změnil"_qs));
        QCOMPARE(reloaded().VYSLEDEK(1, 1), round1);
        QCOMPARE(reloaded().VYSLEDEK(1, 10), round10);
        if (choice == 0)
            QCOMPARE(m_main->season().VYSLEDEK(1, 1), u"9:9"_qs);
    }

    void oneWindowPerLeague()
    {
        frmMain second(m_competition, scheduleFileFor(m_competition));
        QVERIFY(second.Form_Load().contains(u"zkuste to znovu"_qs));
        QVERIFY(m_main->close());
        QTRY_VERIFY(!m_main);
        QCOMPARE(second.Form_Load(), QString());
        // The first save of an opening keeps the file as it was.
        const QStringList copies = QDir(backupFolderOf(scheduleFileFor(m_competition))).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
    }

private:
    SeasonStore reloaded() const { return fixture::load(m_competition); }

    std::unique_ptr<fixture::OpenLeague> m_league;
    RecordingDesktop* m_desktop = nullptr;
    QString m_competition;
    QPointer<frmMain> m_main;
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
