// SPDX-License-Identifier: MIT
#include "entry/frmMain.h"
#include "fixture/league.h"
#include "fixture/programfolder.h"
#include "newseason/frmNovaLiga.h"
#include "startup/frm1ST.h"
#include "startup/frmSUB.h"
#include "startup/frmUvod.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

using fixture::child, fixture::visibleWindow;

class tst_startup final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR), m_dir->path());
        m_desktop = std::make_unique<RecordingDesktop>();
        m_desktop->folder = m_dir->path();
    }

    void cleanup() { fixture::closeAllWindows(); }

    void noticeThenSplashThenPicker()
    {
        QVERIFY(QFile::exists(path(u"1.st"_s)));
        frm1ST::start();
        auto* notice = visibleWindow<frm1ST>(u"frm1ST"_s);
        QVERIFY(notice);
        QCOMPARE(child<QLabel>(notice, u"Label4"_s)->text(), u"Současné údaje:  20. 10. 2007  18:05"_s);
        QTest::mouseClick(child<QPushButton>(notice, u"Command1"_s), Qt::LeftButton);
        QVERIFY(!QFile::exists(path(u"1.st"_s)));
        auto* splash = visibleWindow<frmSUB>(u"frmSUB"_s);
        QVERIFY(splash);
        QCOMPARE(child<QLabel>(splash, u"Label2"_s)->text(), u"verze 3.4.1"_s);
        QCOMPARE(splash->geometry().center(), splash->screen()->availableGeometry().center());
        WAIT_FOR(!visibleWindow<frm1ST>(u"frm1ST"_s));
        WAIT_FOR(splash->animation() >= 0);
        QTest::mouseClick(child<QLabel>(splash, u"PIC"_s), Qt::LeftButton);
        QCOMPARE(m_desktop->urls.size(), 1);
        WAIT_FOR(visibleWindow<frmUvod>(u"frmUvod"_s));
        QVERIFY(!visibleWindow<frmSUB>(u"frmSUB"_s));

        auto* picker = visibleWindow<frmUvod>(u"frmUvod"_s);
        QCOMPARE(fixture::items(child<QListWidget>(picker, u"LSTsouteze"_s)),
                 (QStringList{u"2. liga 2007/2008"_s, u"Extraliga 2007/2008"_s, u"1. liga 2007/2008"_s,
                              QString(31, u'-'), u"Extraliga 2006/2007"_s, u"Extraliga 1999/2000"_s}));
        const QString firstTag = child<QLabel>(picker, u"L2"_s)->text();
        WAIT_FOR(child<QLabel>(picker, u"L2"_s)->text() != firstTag);
    }

    void noticeSkippedWithoutMarker()
    {
        QVERIFY(QFile::remove(path(u"1.st"_s)));
        frm1ST::start();
        QVERIFY(!visibleWindow<frm1ST>(u"frm1ST"_s));
        QVERIFY(visibleWindow<frmSUB>(u"frmSUB"_s));
    }

    void damagedPictureEndsProgram_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("remove");
        QTest::addRow("2.jpg resized") << "ad/2.jpg" << false;
        QTest::addRow("3.jpg missing") << "ad/3.jpg" << true;
    }

    void damagedPictureEndsProgram()
    {
        QFETCH(QString, picture);
        QFETCH(bool, remove);
        QFile f(path(picture));
        QVERIFY(remove ? f.remove() : (f.open(QIODevice::Append) && f.write("x") == 1));
        f.close();
        QVERIFY(QFile::remove(path(u"1.st"_s)));
        frm1ST::start();
        QVERIFY(!visibleWindow<frmSUB>(u"frmSUB"_s));
        QCOMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(m_desktop->messages[0].text, u"Chybějící nebo poškozená data!"_s);
        QCOMPARE(m_desktop->messages[0].icon, Desktop::Icon::Critical);
    }

    void pickerRefusals()
    {
        // A competition without its schedule, and one whose schedule is broken.
        QVERIFY(QFile::copy(path(u"souteze/sezona_extraliga0708.txt"_s), path(u"souteze/sezona_zzbezlosu.txt"_s)));
        fixture::writeLeague(QDir(path(u"souteze"_s)), fixture::competitionLines(),
                             fixture::scheduleLines().mid(0, 100), u"zzvadna"_s);
        frmUvod* picker = openPicker();
        QListWidget* list = child<QListWidget>(picker, u"LSTsouteze"_s);
        const auto open = [&](int row) {
            list->setCurrentRow(row);
            QTest::mouseClick(child<QPushButton>(picker, u"Command1"_s), Qt::LeftButton);
        };
        // The separator or no choice: nothing happens.
        open(fixture::items(list).indexOf(QString(31, u'-')));
        open(-1);
        QVERIFY(m_desktop->messages.isEmpty());
        // Both copies of Extraliga 2007/2008 stand above the separator in file order: the copy is fourth.
        open(3);
        open(fixture::items(list).indexOf(u"Liga 2007/2008"_s));
        QCOMPARE(m_desktop->messages.size(), 2);
        QCOMPARE(m_desktop->messages[0].text, u"Nenalezeno!"_s);
        QCOMPARE(m_desktop->messages[0].icon, Desktop::Icon::Critical);
        QVERIFY2(m_desktop->messages[1].text.contains(u"los_zzvadna.txt"_s), qPrintable(m_desktop->messages[1].text));
        QVERIFY(picker->isVisible() && !visibleWindow<frmMain>(u"frmMain"_s));
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!picker->isVisible());
    }

    void pickerOpensLeague()
    {
        frmUvod::rememberLeague(QString()); // as on the first start: the newest, not the separator's empty file
        QCOMPARE(child<QListWidget>(openPicker(), u"LSTsouteze"_s)->currentRow(), 0);
        fixture::closeAllWindows();
        frmUvod* picker = openPicker();
        QVERIFY(QTest::qWaitForWindowExposed(picker));
        QListWidget* list = child<QListWidget>(picker, u"LSTsouteze"_s);
        const int row = static_cast<int>(fixture::items(list).indexOf(u"Extraliga 2006/2007"_s));
        list->setCurrentRow(row);
        const QPoint item = list->visualItemRect(list->item(row)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, item); // a real double-click starts with a press
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
        auto* main = visibleWindow<frmMain>(u"frmMain"_s);
        QVERIFY(main);
        QCOMPARE(main->windowTitle(), u"Extraliga  2006/2007"_s);
        QCOMPARE(frmUvod::otvirany_los, path(u"souteze/los_extraliga0607.txt"_s));
        WAIT_FOR(!visibleWindow<frmUvod>(u"frmUvod"_s));
        const auto windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<frmMain*>(w); }),
                 1);
        // The picker offers the league used last first, once it is back; a league since gone leaves the newest.
        fixture::closeAllWindows();
        QListWidget* again = child<QListWidget>(openPicker(), u"LSTsouteze"_s);
        QCOMPARE(again->currentItem()->text(), u"Extraliga 2006/2007"_s);
        fixture::closeAllWindows();
        QVERIFY(QFile::remove(path(u"souteze/sezona_extraliga0607.txt"_s)));
        QCOMPARE(child<QListWidget>(openPicker(), u"LSTsouteze"_s)->currentRow(), 0);
    }

    // "Nová liga…" from the picker: the chosen league's teams, a name already taken refused, then opened at once.
    void newLeagueFromPicker()
    {
        frmUvod* picker = openPicker();
        QListWidget* list = child<QListWidget>(picker, u"LSTsouteze"_s);
        list->setCurrentRow(static_cast<int>(fixture::items(list).indexOf(u"Extraliga 2007/2008"_s)));
        QTest::mouseClick(child<QPushButton>(picker, u"cmdNova"_s), Qt::LeftButton);
        auto* dialog = visibleWindow<frmNovaLiga>(u"frmNovaLiga"_s);
        QVERIFY(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdJako"_s), Qt::LeftButton);
        QCOMPARE(child<QPlainTextEdit>(dialog, u"txtTymy"_s)->toPlainText().split(u'\n').size(), 14);
        QCOMPARE(child<QSpinBox>(dialog, u"spnCara1"_s)->value(), 8);
        QTest::keyClicks(child<QLineEdit>(dialog, u"txtNazev"_s), u"Extraliga"_s);
        child<QLineEdit>(dialog, u"txtSezona"_s)->setText(u"2007/2008"_s);
        QCOMPARE(child<QLineEdit>(dialog, u"txtKod"_s)->text(), u"extraliga0708"_s);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdVytvorit"_s), Qt::LeftButton);
        QCOMPARE(m_desktop->messages.size(), 1); // taken: the bundled league stays as it is
        QVERIFY(m_desktop->messages[0].text.contains(u"už ve složce je"_s));
        QVERIFY(dialog->isVisible());
        child<QLineEdit>(dialog, u"txtSezona"_s)->setText(u"2026/2027"_s);
        child<QSpinBox>(dialog, u"spnZapasy"_s)->setValue(2);
        // The first match day as typed over the whole field, or refused in red, never spliced into the old one.
        auto* start = child<QLineEdit>(dialog, u"datStart"_s);
        start->selectAll();
        QTest::keyClicks(start, u"15.9.20266"_s);
        QVERIFY(start->toolTip().contains(u"není datum"_s));
        QCOMPARE(start->palette().color(QPalette::Text), QColor(0xC00000));
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdVytvorit"_s), Qt::LeftButton);
        QVERIFY(m_desktop->messages.value(1).text.contains(u"„15.9.20266“ není datum"_s));
        QTest::keyClick(start, Qt::Key_Backspace);
        QCOMPARE(start->toolTip(), QString());
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdVytvorit"_s), Qt::LeftButton);
        auto* main = visibleWindow<frmMain>(u"frmMain"_s);
        QVERIFY(main);
        QCOMPARE(main->windowTitle(), u"Extraliga  2026/2027"_s);
        QCOMPARE(main->season().rounds(), 26);
        QCOMPARE(main->season().TymPodleCisla(14), u"Znojmo"_s);
        QVERIFY(QFileInfo::exists(path(u"souteze/los_extraliga2627.txt"_s)));
        QCOMPARE(main->season().DATUM_KOLA(1), QDate(2026, 9, 15)); // a Tuesday, as typed
        WAIT_FOR(!visibleWindow<frmUvod>(u"frmUvod"_s));
    }

    // "Import…" in the picker: a calendar's matches as a new league, which then opens.
    void importFromPicker()
    {
        frmUvod* picker = openPicker();
        m_desktop->openPath = path(u"pohar.ics"_s);
        fixture::put(m_desktop->openPath,
                     "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20080105T170000\r\nSUMMARY:Kladno - "
                     "Zl\xc3\xadn 2:1 pp\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20080112T170000\r\n"
                     "SUMMARY:Zl\xc3\xadn - Kladno\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        QTest::mouseClick(child<QPushButton>(picker, u"cmdImport"_s), Qt::LeftButton);
        auto* dialog = visibleWindow<QDialog>(u"frmImportLiga"_s);
        QVERIFY(dialog);
        QCOMPARE(child<QLabel>(dialog, u"lblShrnuti"_s)->text(), u"V souboru je 2 týmů, 2 zápasů a 1 výsledků."_s);
        QCOMPARE(child<QLineEdit>(dialog, u"txtSezona"_s)->text(), u"2007/2008"_s);
        child<QLineEdit>(dialog, u"txtNazev"_s)->setText(u"Pohár"_s);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdVytvorit"_s), Qt::LeftButton);
        auto* main = visibleWindow<frmMain>(u"frmMain"_s);
        QVERIFY(main);
        QCOMPARE(main->season().match(1, 1).result, u"2:1p"_s);
        QVERIFY(QFileInfo::exists(path(u"souteze/los_pohar0708.txt"_s)));
    }

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }
    frmUvod* openPicker()
    {
        auto* picker = new frmUvod;
        picker->show();
        return picker;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RecordingDesktop> m_desktop;
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
