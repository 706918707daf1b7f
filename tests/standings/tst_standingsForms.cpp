// SPDX-License-Identifier: MIT
#include "fixture/openleague.h"
#include "season/adjustments.h"
#include "standings/frmGraf.h"
#include "standings/frmHistorie.h"
#include "standings/frmTable.h"
#include "standings/frmTable_Interval.h"
#include "standings/ranking.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

using fixture::child, fixture::visibleWindow;

namespace {

QLabel* cell(const QWidget* table, int row, int column)
{
    return child<QLabel>(table, u"cell%1_%2"_s.arg(row).arg(column));
}

QFrame* line(const QWidget* table, int i)
{
    return child<QFrame>(table, u"line"_s + QString::number(i));
}

// Chooses an entry of a box as the user does.
void choose(const QWidget* window, const QString& box, int index)
{
    auto* b = child<QComboBox>(window, box);
    b->setCurrentIndex(index);
    Q_EMIT b->activated(index);
}

frmTable* tableFromF2(const QWidget* main)
{
    QTest::keyClick(fixture::resultField(main, 0), Qt::Key_F2);
    auto* table = visibleWindow<frmTable>(u"frmTable"_s);
    QApplication::setActiveWindow(table); // the window manager's part
    if (!table || !QTest::qWaitForWindowActive(table))
        qFatal("F2 shows no table");
    return table;
}

} // namespace

class tst_standingsForms final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QStringList comp = fixture::competitionLines(), los = fixture::scheduleLines();
        comp[4] = u"; no HR2"_s;
        los[fixture::resultLine(1, 1)] = u"1:4"_s; // team 2 wins round 1 at team 1
        los[fixture::resultLine(2, 1)] = u"2:0"_s;
        los[fixture::resultLine(2, 2)] = u"3:2p"_s;
        m_league = std::make_unique<fixture::OpenLeague>(los, fixture::roundDate(10).addDays(-1), comp);
        m_main = m_league->main;
    }

    void cleanup() { fixture::closeAllWindows(); }

    void runningTableFromF2()
    {
        fixture::roundList(m_main)->setCurrentIndex(16);
        fixture::type(m_main, 0, u"0:5"_s);
        frmTable* table = tableFromF2(m_main);
        QCOMPARE(table->windowTitle(), u"průběžná tabulka"_s);
        QCOMPARE(child<QComboBox>(table, u"cbo1"_s)->currentText(), u"CELKEM"_s);
        QCOMPARE(child<QComboBox>(table, u"cbo2"_s)->currentText(), u"BODY"_s);
        QCOMPARE(cell(table, 0, 1)->text(), u"Tým 2"_s); // three wins, the typed 0:5 included
        QCOMPARE(cell(table, 0, 9)->text(), u"9"_s);
        QVERIFY(cell(table, 0, 9)->font().bold());
        QCOMPARE(cell(table, 3, 0)->text(), u"4."_s);
        QCOMPARE(cell(table, 12, 0)->text(), QString()); // level teams share a hidden position
        QCOMPARE(cell(table, 13, 1)->text(), u"Tým 1"_s);
        // HR1 = 8: between rows 8 and 9; HR2 missing: below the last row; all three across every column.
        const int y0 = line(table, 0)->geometry().center().y(), y1 = line(table, 1)->geometry().center().y();
        QVERIFY(cell(table, 7, 0)->geometry().bottom() < y0 && y0 < cell(table, 8, 0)->y());
        QVERIFY(cell(table, 13, 0)->geometry().bottom() < y1);
        for (int i = 0; i < 3; ++i)
            QVERIFY(line(table, i)->isVisible() &&
                    line(table, i)->width() >= cell(table, 0, 9)->geometry().right() - cell(table, 0, 0)->x());
        // A band per zone (rows 1–8, 9–12, 13–14), none across a line, shown with the lines.
        const auto zone = [&](int k) { return child<QFrame>(table, u"zone"_s + QString::number(k)); };
        QVERIFY(zone(1)->y() > y0 && zone(1)->y() < cell(table, 8, 0)->y());
        QVERIFY(!table->findChild<QFrame*>(u"zone3"_s));
        QVERIFY(zone(1)->geometry().bottom() < zone(2)->y() &&
                zone(2)->geometry().contains(cell(table, 13, 0)->geometry()));
        // The arrows browse the venues; the box keeps the keyboard.
        auto* venue = child<QComboBox>(table, u"cbo1"_s);
        venue->setFocus();
        QTest::keyClick(venue, Qt::Key_Up);
        QTest::keyClick(venue, Qt::Key_Up);
        QCOMPARE(venue->currentIndex(), 0);
        QVERIFY(!line(table, 2)->isVisible() && !zone(0)->isVisible());
        QVERIFY(venue->hasFocus());
        choose(table, u"cbo1"_s, 2);
        QVERIFY(line(table, 2)->isVisible());
        choose(table, u"cbo2"_s, 11);
        QCOMPARE(cell(table, 0, 8)->text(), u"(=1)  "_s);
        QVERIFY(!line(table, 0)->isVisible());
        QCOMPARE(child<QLabel>(table, u"header8"_s)->text(), u"Prodl."_s); // not "Skóre" over the sort's value
        choose(table, u"cbo2"_s, static_cast<int>(Criterion::ExtraTimeSuccess));
        QVERIFY(child<QLabel>(table, u"header8"_s)->toolTip().startsWith(u"úspěšnost v prodloužení"_s));
        choose(table, u"cbo2"_s, 0);
        QCOMPARE(child<QLabel>(table, u"header8"_s)->text(), u"Skóre"_s);

        QTest::keyClick(table, Qt::Key_Escape);
        WAIT_FOR(!visibleWindow<frmTable>(u"frmTable"_s));
        QCOMPARE(m_main->shownRound(), 17);
    }

    // Beside the points: the adjustment's mark, the places moved, the coloured form; the reasons below,
    // and under a home table that it leaves them out.
    void formAndAdjustments()
    {
        SeasonStore season = m_main->season();
        season.adjustments = {{2, -9, u"licence"_s}};
        frmTable table(season, 1, kRounds, u"průběžná tabulka"_s, m_main);
        const auto rowOf = [&](const QString& team) {
            for (int r = 0; r < kTeams; ++r)
                if (cell(&table, r, 1)->text() == team)
                    return r;
            return -1;
        };
        const int two = rowOf(u"Tým 2"_s);
        QCOMPARE(cell(&table, two, 9)->text(), u"-3"_s);
        QCOMPARE(child<QLabel>(&table, u"mark%1"_s.arg(two))->text(), u"*"_s);
        QCOMPARE(child<QLabel>(&table, u"moved%1"_s.arg(two))->text(), u"•"_s); // last after both rounds
        QCOMPARE(child<QLabel>(&table, u"form%1"_s.arg(two))->text(),
                 u"<span style=\"color:#1a7f1a\">V</span>"_s.repeated(2));
        QCOMPARE(child<QLabel>(&table, u"form%1"_s.arg(rowOf(u"Tým 1"_s)))->text(),
                 u"<span style=\"color:#c00000\">P</span>"_s.repeated(2));
        QVERIFY(child<QLabel>(&table, u"form%1"_s.arg(two))->geometry().right() < table.width());
        auto* note = child<QLabel>(&table, u"lblPoznamka"_s);
        QCOMPARE(note->text(), u"* Tým 2 -9: licence"_s);
        QVERIFY(note->geometry().bottom() < child<QPushButton>(&table, u"cmdUlozit"_s)->y());
        choose(&table, u"cbo1"_s, 0);
        QCOMPARE(note->text(), u"Úpravy bodů se v tabulkách doma a venku nepočítají."_s);
        QCOMPARE(child<QLabel>(&table, u"mark%1"_s.arg(rowOf(u"Tým 2"_s)))->text(), QString());
    }

    // The competition's leagues of the program folder summed; Ctrl+S saves the tab shown.
    void allTimeWindow()
    {
        m_main->findChild<QAction*>(u"mnuHistorie"_s)->trigger();
        auto* window = visibleWindow<frmHistorie>(u"frmHistorie"_s);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"Historická tabulka – Liga"_s);
        QCOMPARE(child<QTableWidget>(window, u"tblSoucty"_s)->item(0, 1)->text(), u"Tým 2"_s);
        QVERIFY(child<QLabel>(window, u"lblPoznamky"_s)->text().contains(u"dva řádky"_s));
        child<QTabWidget>(window, u"tabs"_s)->setCurrentIndex(1);
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        m_league->desktop.savePath = m_league->dir.filePath(u"mista.csv"_s);
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(fixture::contents(m_league->desktop.savePath).contains("2007/2008 (hraje se)"));
    }

    void periodTable()
    {
        m_main->findChild<QAction*>(u"mnuObdobi"_s)->trigger();
        auto* dialog = visibleWindow<frmTable_Interval>(u"frmTable_Interval"_s);
        QVERIFY(dialog);
        auto* first = child<QComboBox>(dialog, u"cboKolo1"_s);
        auto* last = child<QComboBox>(dialog, u"cboKolo2"_s);
        auto* quick = child<QComboBox>(dialog, u"cbo"_s);
        QCOMPARE(first->currentIndex(), -1);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdOK"_s), Qt::LeftButton); // one round box empty
        QCOMPARE(m_league->desktop.messages.size(), 1);
        QVERIFY(dialog->isVisible() && !visibleWindow<frmTable>(u"frmTable"_s));

        choose(dialog, u"cbo"_s, 2);
        QCOMPARE(QList<int>({first->currentIndex(), last->currentIndex(), quick->currentIndex()}),
                 QList<int>({26, 38, 2}));
        choose(dialog, u"cbo"_s, 4); // the separator changes nothing
        QCOMPARE(first->currentIndex(), 26);

        choose(dialog, u"cbo"_s, 0);
        first->setCurrentIndex(1); // round 2 by hand, past the end of the range
        last->setCurrentIndex(0);
        QCOMPARE(quick->currentIndex(), -1);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdOK"_s), Qt::LeftButton);
        QCOMPARE(QList<int>({first->currentIndex(), last->currentIndex()}), QList<int>({0, 1}));
        WAIT_FOR(!visibleWindow<frmTable_Interval>(u"frmTable_Interval"_s));
        auto* table = visibleWindow<frmTable>(u"frmTable"_s);
        QVERIFY(table);
        QCOMPARE(table->windowTitle(), u"tabulka za období   (kola 1 - 2)"_s);
        QCOMPARE(cell(table, 0, 1)->text(), u"Tým 2"_s);
        QCOMPARE(cell(table, 1, 1)->text(), u"Tým 4"_s);
    }

    // "K datu…": the matches played by that day count, and only they.
    void tableOnDate()
    {
        m_main->findChild<QAction*>(u"mnuKDatu"_s)->trigger();
        auto* dialog = visibleWindow<QDialog>(u"frmTable_Datum"_s);
        QVERIFY(dialog);
        auto* day = child<QLineEdit>(dialog, u"txtDatum"_s);
        day->setText(u"31.2.2008"_s);
        QVERIFY(!child<QPushButton>(dialog, u"cmdOK"_s)->isEnabled());
        day->setText(shortDate(fixture::roundDate(1)));
        QTest::keyClick(day, Qt::Key_Return);
        auto* table = visibleWindow<frmTable>(u"frmTable"_s);
        QVERIFY(table);
        QCOMPARE(table->windowTitle(), u"tabulka k "_s + shortDate(fixture::roundDate(1)));
        QCOMPARE(cell(table, 0, 1)->text(), u"Tým 2"_s);
        QCOMPARE(cell(table, 0, 2)->text(), u"1"_s); // round 2's games are not yet played that day
    }

    void graph()
    {
        m_main->findChild<QAction*>(u"mnuGraf"_s)->trigger();
        auto* graf = visibleWindow<frmGraf>(u"frmGraf"_s);
        QVERIFY(graf);
        const auto& messages = m_league->desktop.messages;
        WAIT_FOR(messages.size() == 1);
        QCOMPARE(messages[0].text, u"1. kolo nebylo odehráno celé.\r\nGraf může být zkreslen!"_s);
        QCOMPARE(messages[0].title, u"klx"_s);
        QVERIFY(graf->segments().isEmpty());
        child<QComboBox>(graf, u"cboGraf_R"_s)->setCurrentIndex(3); // team 3 played once: no segment
        QVERIFY(graf->segments().isEmpty());
        child<QComboBox>(graf, u"cboGraf_G"_s)->setCurrentIndex(2); // team 2 played twice: round 1 to 2
        QCOMPARE(graf->segments().size(), 1);
        const QLine first = graf->segments()[0].first; // first place in both rounds
        QVERIFY(first.y1() == first.y2() && first.x1() < first.x2());
        QCOMPARE(graf->segments()[0].second, QColor(0, 192, 0));
        // By date: a label a match day; team 3, which played on the second day only, has its place on the first.
        QTest::mouseClick(child<QCheckBox>(graf, u"chkDatum"_s), Qt::LeftButton);
        QCOMPARE(child<QLabel>(graf, u"round1"_s)->text(), fixture::roundDate(1).toString(u"d.M."_s));
        QCOMPARE(graf->segments().size(), 2);
        QCOMPARE(graf->segments()[0].second, QColor(255, 0, 0));
        QCOMPARE(graf->segments()[1].first.y1(), first.y1()); // team 2 first on both days
        QTest::keyClick(child<QCheckBox>(graf, u"chkDatum"_s), Qt::Key_Space);
        QVERIFY(!graf->findChild<QLabel*>(u"round1"_s));
        QCOMPARE(child<QLabel>(graf, u"round4"_s)->text(), u"4"_s);
    }

    void finalOrderAndMarks()
    {
        const SeasonStore season = fixture::load(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_prvniliga0708.txt"));
        frmTable table(season, 1, kRounds, u"průběžná tabulka"_s, nullptr);
        table.show();
        QCOMPARE(child<QComboBox>(&table, u"cboRules"_s)->currentIndex(), 0); // opens as it always did
        QCOMPARE(cell(&table, 12, 1)->text(), u"Šumperk"_s);
        choose(&table, u"cboRules"_s, 1);
        QCOMPARE(cell(&table, 12, 1)->text(), u"Jihlava"_s);
        QCOMPARE(cell(&table, 13, 1)->toolTip(), u"o pořadí s týmem nad ním rozhodlo: vzájemné zápasy – body 3:0"_s);
        QCOMPARE(cell(&table, 13, 0)->toolTip(), cell(&table, 13, 1)->toolTip());
    }

    void savedAsTheCommandLinePrints()
    {
        frmTable* table = tableFromF2(m_main);
        choose(table, u"cbo1"_s, 0); // DOMA
        for (const QString& name : {u"tabulka.csv"_s, u"tabulka.html"_s}) {
            m_league->desktop.savePath = m_league->dir.filePath(name);
            QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier);
            QProcess cli;
            cli.start(QStringLiteral(RINKOMAT_CLI), {u"table"_s, m_league->path, u"--venue"_s, u"1"_s,
                                                     name.endsWith(u"csv") ? u"--csv"_s : u"--html"_s});
            QVERIFY(cli.waitForFinished(30000));
            QCOMPARE(fixture::contents(m_league->desktop.savePath), cli.readAllStandardOutput());
        }
        QCOMPARE(m_league->desktop.suggestedNames.value(0), u"Liga 2007-2008 – průběžná tabulka.csv"_s);
    }

private:
    std::unique_ptr<fixture::OpenLeague> m_league;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_standingsForms)
#include "tst_standingsForms.moc"
