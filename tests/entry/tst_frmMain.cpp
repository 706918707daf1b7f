// SPDX-License-Identifier: MIT
#include "entry/frmUpravy.h"
#include "fixture/filesizelimit.h"
#include "fixture/openleague.h"
#include "season/adjustments.h"
#include "season/datafiles.h"
#include "season/notation.h"
#include "startup/frmUvod.h"

#include <QAbstractItemView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

using fixture::child, fixture::resultField, fixture::roundList, fixture::rowLabel, fixture::type;
using fixture::put;

class tst_frmMain final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QStringList los = fixture::scheduleLines();
        los[fixture::resultLine(1, 1)] = u"3:1"_s;
        m_league = std::make_unique<fixture::OpenLeague>(los);
        m_desktop = &m_league->desktop;
        m_main = m_league->main;
    }

    void cleanup() { fixture::closeAllWindows(); }

    void opensOnFirstRoundFromToday()
    {
        QCOMPARE(m_main->windowTitle(), u"Liga  2007/2008"_s);
        QCOMPARE(roundList(m_main)->count(), kRounds);
        QCOMPARE(roundList(m_main)->itemText(0), u"1. kolo  -  12.9.2007"_s);
        QCOMPARE(m_main->shownRound(), 10);
        QCOMPARE(rowLabel(m_main, "Hteam", 1)->text(), u"Tým 4"_s); // even rounds play 4-3 in slot 2
        QCOMPARE(rowLabel(m_main, "Ateam", 1)->text(), u"Č. Budějovice"_s);
        roundList(m_main)->setCurrentIndex(0);
        QCOMPARE(resultField(m_main, 0)->text(), u"3:1"_s);
        QCOMPARE(m_main->findChild<QAction*>(u"mnuKalendar"_s)->text(), u"Kalendář akcí 2007/2008"_s);
        // The window keeps its size, and the round list shows 20 rounds, not a screen of them.
        QCOMPARE(m_main->minimumSize(), m_main->maximumSize());
        roundList(m_main)->showPopup();
        QAbstractItemView* list = roundList(m_main)->view();
        WAIT_FOR(list->isVisible());
        QVERIFY2(list->height() <= 21 * list->sizeHintForRow(0), qPrintable(QString::number(list->height())));
        roundList(m_main)->hidePopup();
    }

    void typing()
    {
        // Keypad typing right after the league opens fills the first result, not the round list.
        QLineEdit* first = resultField(m_main, 0);
        QCOMPARE(QApplication::focusWidget(), first);
        for (auto key : {Qt::Key_2, Qt::Key_Plus, Qt::Key_1, Qt::Key_Slash})
            QTest::keyClick(first, key, Qt::KeypadModifier, 0);
        QCOMPARE(first->text(), u"2:1n"_s);
        QCOMPARE(first->cursorPosition(), 4);
        QCOMPARE(m_main->shownRound(), 10);
        // Enter moves down the rows and stores; from the last row on to the next round's first.
        for (int i = 0; i < kSlots - 1; ++i) {
            QTest::keyClick(resultField(m_main, i), Qt::Key_Enter, Qt::KeypadModifier);
            QVERIFY(resultField(m_main, i + 1)->hasFocus());
        }
        QTest::keyClick(resultField(m_main, 6), Qt::Key_Return);
        QVERIFY(m_main->shownRound() == 11 && first->hasFocus());
        QCOMPARE(m_main->season().VYSLEDEK(1, 10), u"2:1n"_s);
        QTest::keyClick(first, Qt::Key_PageUp);
        QCOMPARE(m_main->shownRound(), 10);

        // A click into a filled field selects it, so typing replaces the old result.
        QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(first->width() - 3, 5));
        WAIT_FOR(first->selectedText() == u"2:1n"_s);
        QTest::keyClicks(first, u"2+2"_s);
        QCOMPARE(first->text(), u"2:2"_s);
        // Leaving the field stores the result as the notation writes it; an invalid one is not stored but stays
        // in the field, marked, with a beep and a note, and what was stored before is kept.
        type(m_main, 2, u"3;2"_s);
        QCOMPARE(QList<QString>({first->text(), resultField(m_main, 2)->text()}),
                 QList<QString>({u"2:2p"_s, u"3;2"_s}));
        resultField(m_main, 3)->setFocus();
        QCOMPARE(resultField(m_main, 2)->text(), u"3;2"_s);
        QVERIFY(resultField(m_main, 2)->toolTip().contains(u"„3;2“ není platný výsledek"_s));
        QCOMPARE(m_main->season().VYSLEDEK(1, 10) + u'|' + m_main->season().VYSLEDEK(3, 10), u"2:2p|"_s);
        QVERIFY(m_desktop->messages.isEmpty());
        for (const QString& typo : {u"ab"_s, u"100+1"_s, u"4+"_s}) {
            first->setFocus();
            first->selectAll();
            QTest::keyClicks(first, typo);
            resultField(m_main, 3)->setFocus();
            QCOMPARE(first->text(), convertKeypadInput(typo));
            QCOMPARE(m_main->season().VYSLEDEK(1, 10), u"2:2p"_s);
        }
        resultField(m_main, 2)->setFocus(); // left again, the same typo is not announced twice
        resultField(m_main, 3)->setFocus();
        QCOMPARE(m_desktop->beeps, 4);
        QCOMPARE(child<QLabel>(m_main, u"lblTypo"_s)->text(), u"„4:“ není platný výsledek — ponechán 2:2p"_s);
        first->selectAll();
        QTest::keyClicks(first, u"4-1"_s); // the main keyboard's minus parts the score
        QCOMPARE(first->text() + first->toolTip(), u"4:1"_s);
        first->selectAll();
        for (auto key : {Qt::Key_3, Qt::Key_Minus}) // the keypad's is extra time, wherever it is typed
            QTest::keyClick(first, key, Qt::KeypadModifier);
        QCOMPARE(first->text(), u"3p"_s);

        // Back from a view, the keyboard is in the first field again.
        QTest::keyClick(m_main, Qt::Key_F2);
        QWidget* table = QApplication::activeModalWidget();
        QVERIFY(table);
        QTest::keyClick(table, Qt::Key_Escape);
        WAIT_FOR(m_main->focusWidget() == first);
    }

    // Added with the keyboard, removed with Delete; a full disk keeps the window and every line; Escape
    // asks before dropping changes; saved, the main window counts them at once.
    void adjustmentsWindow()
    {
        m_main->findChild<QAction*>(u"mnuUpravy"_s)->trigger();
        auto* window = fixture::visibleWindow<frmUpravy>(u"frmUpravy"_s);
        QVERIFY(window);
        auto* table = child<QTableWidget>(window, u"tblUpravy"_s);
        for (const char* reason : {"licence", "odvolani", "kontumace"}) {
            child<QSpinBox>(window, u"spnBody"_s)->setValue(-3);
            QTest::keyClicks(child<QLineEdit>(window, u"txtDuvod"_s), QString::fromLatin1(reason));
            QTest::keyClick(child<QLineEdit>(window, u"txtDuvod"_s), Qt::Key_Return);
        }
        QTest::keyClick(child<QLineEdit>(window, u"txtDuvod"_s), Qt::Key_Return); // no reason: refused
        QVERIFY(m_desktop->messages.value(0).text.contains(u"chybí důvod"_s));
        table->setFocus();
        table->selectRow(1);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 2)->text(), u"kontumace"_s);
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(window->isVisible()); // the safe answer: back to the changes

        {
            const fixture::FileSizeLimit full(20);
            QTest::mouseClick(child<QPushButton>(window, u"cmdUlozitUpravy"_s), Qt::LeftButton);
        }
        QVERIFY2(m_desktop->messages.last().text.contains(u"povolenou velikost"_s),
                 qPrintable(m_desktop->messages.last().text));
        QVERIFY(window->isVisible() && table->rowCount() == 2);
        QVERIFY(m_main->season().adjustments.isEmpty());

        QTest::mouseClick(child<QPushButton>(window, u"cmdUlozitUpravy"_s), Qt::LeftButton);
        WAIT_FOR(!fixture::visibleWindow<frmUpravy>(u"frmUpravy"_s));
        QCOMPARE(m_main->season().adjustmentOf(1), -6);
        QCOMPARE(readLeague(m_league->path).value().store.adjustments, m_main->season().adjustments);
    }

    void paging()
    {
        type(m_main, 4, u"4+0"_s);
        QTest::keyClick(resultField(m_main, 4), Qt::Key_PageDown);
        QCOMPARE(m_main->shownRound(), 11);
        QVERIFY(resultField(m_main, 0)->hasFocus());
        QCOMPARE(m_main->season().VYSLEDEK(5, 10), u"4:0"_s);
        QTest::keyClick(resultField(m_main, 0), Qt::Key_PageUp);
        QCOMPARE(resultField(m_main, 4)->text(), u"4:0"_s);

        roundList(m_main)->setCurrentIndex(0);
        type(m_main, 6, u"1:0"_s);
        QTest::keyClick(resultField(m_main, 6), Qt::Key_PageUp);
        QCOMPARE(m_main->shownRound(), 1);
        QVERIFY(resultField(m_main, 0)->hasFocus());
        QCOMPARE(m_main->season().VYSLEDEK(7, 1), u"1:0"_s);

        roundList(m_main)->setCurrentIndex(kRounds - 1);
        QTest::keyClick(resultField(m_main, 0), Qt::Key_PageDown);
        QCOMPARE(m_main->shownRound(), kRounds);
    }

    void swapWithCtrlShift()
    {
        QLabel* dash = rowLabel(m_main, "dash", 1);
        QTest::keyPress(resultField(m_main, 0), Qt::Key_Control);
        QVERIFY(!dash->autoFillBackground());
        QTest::keyPress(resultField(m_main, 0), Qt::Key_Shift, Qt::ControlModifier);
        QVERIFY(dash->autoFillBackground());
        QCOMPARE(dash->palette().color(QPalette::Window), QColor(0xE0E0E0));
        QTest::mouseClick(dash, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(rowLabel(m_main, "Hteam", 1)->text(), u"Č. Budějovice"_s);
        QCOMPARE(rowLabel(m_main, "Ateam", 1)->text(), u"Tým 4"_s);
        QTest::keyRelease(resultField(m_main, 0), Qt::Key_Shift, Qt::ControlModifier);
        QVERIFY(!rowLabel(m_main, "dash", 6)->autoFillBackground());
        QTest::keyRelease(resultField(m_main, 0), Qt::Key_Control);

        resultField(m_main, 1)->setFocus();
        resultField(m_main, 2)->setFocus();
        QCOMPARE(m_main->season().ZAPAS(2, 10), u"3-4"_s);
        roundList(m_main)->setCurrentIndex(3);
        roundList(m_main)->setCurrentIndex(9);
        QCOMPARE(rowLabel(m_main, "Hteam", 1)->text(), u"Č. Budějovice"_s);
    }

    // Alt+M and F10 open the menu from a result field, which keeps its text; opening it stores the field.
    void menuStoresPendingInput()
    {
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        auto* menu = m_main->menuBar()->findChild<QMenu*>(u"mnuMenu"_s);
        for (const QKeyCombination key : {QKeyCombination(Qt::ALT, Qt::Key_M), QKeyCombination(Qt::Key_F10)}) {
            resultField(m_main, 5)->clear();
            type(m_main, 5, u"2:2"_s);
            QTest::keyClick(resultField(m_main, 5), key.key(), key.keyboardModifiers());
            WAIT_FOR(menu->isVisible());
            QCOMPARE(resultField(m_main, 5)->text() + m_main->season().VYSLEDEK(6, 10), u"2:2p2:2p"_s);
            menu->close();
        }

        // A shortcut stores first too.
        type(m_main, 4, u"6:5n"_s);
        QTest::keyClick(resultField(m_main, 4), Qt::Key_F9);
        QCOMPARE(m_main->season().VYSLEDEK(5, 10), u"6:5n"_s);
        QCOMPARE(m_desktop->urls.value(0).path(), u"/hokej.php"_s);
        m_desktop->browser = false; // and without a browser the user is told
        QTest::keyClick(resultField(m_main, 4), Qt::Key_F9);
        QVERIFY(m_desktop->messages.value(0).text.contains(u"není nastaven webový prohlížeč"_s));
    }

    // The close box, Ctrl+X in a result field: what was typed is in the file.
    void leavingWrites()
    {
        type(m_main, 3, u"4:2"_s);
        QVERIFY(m_main->close());
        WAIT_FOR(!m_main);
        QCOMPARE(reloaded().VYSLEDEK(4, 10), u"4:2"_s);
        QCOMPARE(reloaded().VYSLEDEK(1, 1), u"3:1"_s);

        init(); // opened anew
        type(m_main, 0, u"1:0"_s);
        QTest::keyClick(resultField(m_main, 0), Qt::Key_X, Qt::ControlModifier);
        WAIT_FOR(!m_main);
        QCOMPARE(reloaded().VYSLEDEK(1, 10), u"1:0"_s);
    }

    // The schedule file cannot be replaced while a folder stands in its place.
    void failedWrite()
    {
        const QString schedule = scheduleFileFor(m_league->path);
        QVERIFY(QFile::remove(schedule) && QDir().mkdir(schedule));
        type(m_main, 0, u"1:0"_s);
        m_desktop->choices = {2, 2}; // stay in the program, twice
        QVERIFY(!m_main->close());
        m_main->findChild<QAction*>(u"mnuJinaLiga"_s)->trigger();
        QVERIFY(m_main && m_main->isVisible() && !fixture::visibleWindow<frmUvod>(u"frmUvod"_s));
        QCOMPARE(m_desktop->messages.size(), 2);
        QCOMPARE(m_desktop->messages[0].icon, Desktop::Icon::Critical);
        QVERIFY(m_desktop->messages[0].text.contains(u"los_test.txt"_s));
        QVERIFY(m_desktop->messages[0].text.endsWith(u"[Zkusit znovu | Odejít bez uložení | Zůstat v programu]"_s));
        QCOMPARE(m_main->season().VYSLEDEK(1, 10), u"1:0"_s);

        // Leaving without saving is asked once more; No goes back to the choice.
        m_desktop->choices = {1, 2};
        m_desktop->answers = {Desktop::Answer::No};
        QVERIFY(!m_main->close());
        QVERIFY(m_desktop->messages.value(3).text.contains(u"budou ztraceny"_s));
        QCOMPARE(m_desktop->messages.size(), 5);

        QVERIFY(QDir().rmdir(schedule)); // the user mends it and tries again
        QVERIFY(m_main->close());
        QCOMPARE(reloaded().VYSLEDEK(1, 10), u"1:0"_s);

        // Opened anew with the same fault: leaving without saving, answered Yes, closes it and writes nothing.
        init();
        QVERIFY(QFile::remove(scheduleFileFor(m_league->path)) && QDir().mkdir(scheduleFileFor(m_league->path)));
        type(m_main, 0, u"1:0"_s);
        m_desktop->choices = {1};
        m_desktop->answers = {Desktop::Answer::Yes};
        QVERIFY(m_main->close());
        WAIT_FOR(!m_main);
        QVERIFY(QFileInfo(scheduleFileFor(m_league->path)).isDir());
    }

    void otherLeagueWritesAndReturnsToPicker()
    {
        type(m_main, 2, u"0:3"_s);
        m_main->findChild<QAction*>(u"mnuJinaLiga"_s)->trigger();
        WAIT_FOR(!m_main);
        auto* picker = fixture::visibleWindow<frmUvod>(u"frmUvod"_s);
        QVERIFY(picker);
        QCOMPARE(child<QListWidget>(picker, u"LSTsouteze"_s)->currentItem()->text(), u"Liga 2007/2008"_s);
        QTest::mouseClick(child<QPushButton>(picker, u"Command1"_s), Qt::LeftButton);
        auto* again = fixture::visibleWindow<frmMain>(u"frmMain"_s);
        QVERIFY(again);
        QCOMPARE(resultField(again, 2)->text(), u"0:3"_s);
    }

    void changedOnDisk_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("round1");
        QTest::addColumn<QString>("round10");
        QTest::addRow("reload") << 0 << "9:9"
                                << "";
        QTest::addRow("overwrite") << 1 << "3:1"
                                   << "1:0";
        QTest::addRow("cancel") << 2 << "9:9"
                                << "";
    }

    // A view that ended on a message of its own (a failed update) leaves the keyboard in the main window.
    void keyboardBackAfterAView()
    {
        QTest::keyClick(m_main, Qt::Key_F2);
        QWidget* view = QApplication::activeModalWidget();
        QVERIFY(view);
        QWidget other; // the message's window, gone before the view closes
        other.show();
        QApplication::setActiveWindow(&other);
        view->close();
        other.close();
        WAIT_FOR(QApplication::activeWindow() == m_main.data() && m_main->focusWidget() == resultField(m_main, 0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(m_main->shownRound(), 9);
    }

    // The window never saves a list it could not read whole, nor a hypothetical one.
    void adjustmentsThatMustNotBeSaved()
    {
        const QString file = adjustmentsFileFor(m_league->path);
        const QByteArray broken = "1;-3;a\r\n2;-3;b\r\n3;-3;c\r\n4;-3;d\r\n5;-3;e\r\n6;-3\r\n";
        put(file, broken);
        m_main->reloadSeason();
        QVERIFY(m_desktop->messages.value(0).text.contains(u"řádek 6"_s));
        m_main->findChild<QAction*>(u"mnuUpravy"_s)->trigger();
        QVERIFY(!fixture::visibleWindow<frmUpravy>(u"frmUpravy"_s));
        QVERIFY2(m_desktop->messages.value(1).text.contains(u"nelze upravovat"_s) &&
                     m_desktop->messages.value(1).text.contains(QDir::toNativeSeparators(file)),
                 qPrintable(m_desktop->messages.value(1).text));
        QVERIFY(m_main->close());
        QCOMPARE(fixture::contents(file), broken);
    }

    void adjustmentsInWhatIf()
    {
        QTest::keyClick(resultField(m_main, 0), Qt::Key_K, Qt::ControlModifier);
        m_main->findChild<QAction*>(u"mnuUpravy"_s)->trigger();
        QVERIFY(!fixture::visibleWindow<frmUpravy>(u"frmUpravy"_s));
        QVERIFY(m_desktop->messages.value(0).text.contains(u"„Co kdyby“ se nic neukládá"_s));
    }

    void changedOnDisk()
    {
        QFETCH(int, choice);
        QFETCH(QString, round1);
        QFETCH(QString, round10);
        SeasonStore other = reloaded();
        other.match(1, 1).result = u"9:9"_s; // another program wrote the file meanwhile
        QVERIFY(writeSchedule(other, scheduleFileFor(m_league->path)).ok());
        type(m_main, 0, u"1:0"_s);
        m_desktop->choices = {choice};
        QCOMPARE(m_main->close(), choice == 1);
        QVERIFY(m_desktop->messages.value(0).text.contains(u"se od načtení změnil"_s));
        QCOMPARE(reloaded().VYSLEDEK(1, 1), round1);
        QCOMPARE(reloaded().VYSLEDEK(1, 10), round10);
        if (choice == 0)
            QCOMPARE(m_main->season().VYSLEDEK(1, 1), u"9:9"_s);
    }

    void oneWindowPerLeague()
    {
        frmMain second(m_league->path, scheduleFileFor(m_league->path));
        QVERIFY(second.Form_Load().error().contains(u"zkuste to znovu"_s));
        QVERIFY(m_main->close());
        WAIT_FOR(!m_main);
        QVERIFY(second.Form_Load().ok());
        // Leaving without a change writes nothing, so no backup pushes out an older one.
        QCOMPARE(QDir(backupFolderOf(scheduleFileFor(m_league->path))).entryList(QDir::Files).size(), 0);
    }

    void typedResultsSurviveACrash_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addRow("restored") << true;
        QTest::addRow("given up") << false;
    }

    void typedResultsSurviveACrash()
    {
        QFETCH(bool, restore);
        const QString schedule = scheduleFileFor(m_league->path);
        type(m_main, 0, u"5:4"_s); // still in the field when the program dies
        delete m_main.data();      // the window vanishes without a save
        QCOMPARE(reloaded().VYSLEDEK(1, 10), QString());

        m_desktop->answers = {restore ? Desktop::Answer::Yes : Desktop::Answer::No};
        auto* again = new frmMain(m_league->path, schedule);
        QVERIFY(again->Form_Load().ok());
        const QString& offer = m_desktop->messages.value(0).text;
        QVERIFY2(offer.contains(u"1 zadaná změna v lize „Liga  2007/2008“ nebyla uložena"_s) &&
                     offer.contains(u"10. kolo: Tým 2 – Tým 1 5:4, v souboru bez výsledku"_s),
                 qPrintable(offer));
        QCOMPARE(m_desktop->messages.value(0).buttons, Desktop::Buttons::YesNo);
        QCOMPARE(again->season().VYSLEDEK(1, 10), restore ? u"5:4"_s : QString());
        again->show();
        QVERIFY(again->close());
        QCOMPARE(reloaded().VYSLEDEK(1, 10), restore ? u"5:4"_s : QString());
        QVERIFY(!QFileInfo::exists(RecoveryJournal(schedule).path())); // saved: nothing left to recover
    }

    // Another program wrote a slot after the window typed it and died: the offer names the conflict, and
    // the file's result is kept unless the user restores everything.
    void recoveryAgainstANewerFile_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("slot1");
        QTest::addColumn<QString>("slot2");
        QTest::addRow("the default keeps the file's") << -1 << "5:0"
                                                      << "2:1";
        QTest::addRow("restore everything") << 0 << "4:2"
                                            << "2:1";
        QTest::addRow("restore nothing") << 1 << "5:0"
                                         << "";
    }

    void recoveryAgainstANewerFile()
    {
        QFETCH(int, choice);
        QFETCH(QString, slot1);
        QFETCH(QString, slot2);
        const QString schedule = scheduleFileFor(m_league->path);
        type(m_main, 0, u"4:2"_s);
        type(m_main, 1, u"2:1"_s);
        delete m_main.data();
        SeasonStore other = reloaded();
        other.match(1, 10).result = u"5:0"_s; // rinkomat-cli enter, meanwhile
        QVERIFY(writeSchedule(other, schedule).ok());

        if (choice >= 0)
            m_desktop->choices = {choice};
        auto* again = new frmMain(m_league->path, schedule);
        QVERIFY(again->Form_Load().ok());
        const QString& offer = m_desktop->messages.value(0).text;
        QVERIFY2(offer.contains(u"2 zadané změny"_s) && offer.contains(u"nebyly uloženy"_s) &&
                     offer.contains(u"Tým 2 – Tým 1 4:2, v souboru 5:0 (soubor se mezitím změnil)"_s) &&
                     offer.contains(u"[Obnovit vše | Neobnovit nic | Obnovit jen nesporné]"_s),
                 qPrintable(offer));
        QCOMPARE(again->season().VYSLEDEK(1, 10) + u'|' + again->season().VYSLEDEK(2, 10), slot1 + u'|' + slot2);
        delete again; // what was given up is not offered again
        m_desktop->messages.clear();
        frmMain third(m_league->path, schedule);
        QVERIFY(third.Form_Load().ok());
        QCOMPARE(m_desktop->messages.size(), choice == 1 ? 0 : 1);
    }

    // A journal that cannot be written is said once; typing goes on and the results are saved on leaving.
    void journalThatCannotBeWritten()
    {
        const QString journal = RecoveryJournal(scheduleFileFor(m_league->path)).path();
        QVERIFY(QDir().mkpath(journal)); // a folder in its place
        type(m_main, 0, u"3:0"_s);
        type(m_main, 1, u"2:0"_s);
        WAIT_FOR(!m_desktop->messages.isEmpty());
        QTest::qWait(20);
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY2(m_desktop->messages[0].text.contains(u"se nedaří průběžně zapisovat"_s) &&
                     m_desktop->messages[0].text.contains(u"na místě souboru je složka"_s),
                 qPrintable(m_desktop->messages[0].text));
        QVERIFY(m_main->close());
        QCOMPARE(reloaded().VYSLEDEK(1, 10) + reloaded().VYSLEDEK(2, 10), u"3:02:0"_s);
    }

    // "Co kdyby": typed results count in every view but reach neither the file nor the journal, and
    // leaving the mode, or the league, drops them.
    void whatIfIsNeverWritten()
    {
        const QString schedule = scheduleFileFor(m_league->path);
        type(m_main, 3, u"4:2"_s); // real, typed before the mode
        QTest::keyClick(resultField(m_main, 3), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(m_main->whatIf() && m_main->windowTitle().contains(u"Co kdyby"_s));
        QCOMPARE(resultField(m_main, 3)->text(), u"4:2"_s); // Ctrl+K did not delete to the end
        type(m_main, 0, u"9:0"_s);
        resultField(m_main, 3)->clear();
        type(m_main, 3, u"0:5"_s); // a hypothetical result may replace a real one
        QTest::keyClick(resultField(m_main, 3), Qt::Key_Tab);
        QCOMPARE(m_main->season().VYSLEDEK(1, 10) + m_main->season().VYSLEDEK(4, 10), u"9:00:5"_s);
        QCOMPARE(RecoveryJournal(schedule).unsaved(reloaded()).size(), 1); // only the real 4:2

        QTest::keyClick(resultField(m_main, 0), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(!m_main->whatIf() && !m_main->windowTitle().contains(u"Co kdyby"_s));
        QCOMPARE(resultField(m_main, 0)->text() + m_main->season().VYSLEDEK(4, 10), u"4:2"_s);

        QTest::keyClick(resultField(m_main, 0), Qt::Key_K, Qt::ControlModifier);
        type(m_main, 1, u"7:6"_s);
        // Every view says what it shows, down to the name of a saved file.
        QTest::keyClick(m_main, Qt::Key_F3);
        QWidget* view = QApplication::activeModalWidget();
        QVERIFY(view && view->windowTitle().endsWith(u" – Co kdyby"_s));
        child<QPushButton>(view, u"cmdUlozit"_s)->click();
        QVERIFY2(m_desktop->suggestedNames.value(0).contains(u"Co kdyby"_s),
                 qPrintable(m_desktop->suggestedNames.value(0)));
        QTest::keyClick(view, Qt::Key_Escape);
        // Leaving asks first, the safe answer staying; then the real results are saved, the hypothetical dropped.
        QVERIFY(!m_main->close());
        QVERIFY(m_desktop->messages.last().text.contains(u"vymyšlené výsledky se neuloží"_s));
        m_desktop->answers = {Desktop::Answer::Yes};
        QVERIFY(m_main->close());
        WAIT_FOR(!m_main);
        QCOMPARE(reloaded().VYSLEDEK(2, 10) + reloaded().VYSLEDEK(4, 10), u"4:2"_s);
    }

    void leagueLockedOnAnotherComputer()
    {
        const QString schedule = scheduleFileFor(m_league->path);
        QVERIFY(m_main->close());
        WAIT_FOR(!m_main);
        for (const bool takeOver : {false, true}) {
            put(schedule + u".lock", "4242\nrinkomat\nstick-pc\n");
            m_desktop->messages.clear();
            m_desktop->answers = {takeOver ? Desktop::Answer::Yes : Desktop::Answer::No};
            frmMain other(m_league->path, schedule);
            const Result<void> loaded = other.Form_Load();
            const QString& error = loaded.error();
            QVERIFY2(m_desktop->messages.value(0).text.contains(u"Převzít ligu?"_s), qPrintable(error));
            QCOMPARE(loaded.ok(), takeOver);
            if (!takeOver)
                QVERIFY(error.contains(u"„stick-pc“"_s) && error.contains(u"los_test.txt.lock"_s));
        }
    }

private:
    SeasonStore reloaded() const { return fixture::load(m_league->path); }

    std::unique_ptr<fixture::OpenLeague> m_league;
    RecordingDesktop* m_desktop = nullptr;
    QPointer<frmMain> m_main;
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
