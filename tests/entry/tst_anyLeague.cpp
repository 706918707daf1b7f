// SPDX-License-Identifier: MIT
// The windows on the bundled leagues of 16 teams (60 rounds) and of 15 (one rests each round).
#include "fixture/filesizelimit.h"
#include "fixture/openleague.h"
#include "fixture/wait.h"
#include "import/importplan.h"
#include "lookups/frmBilance.h"
#include "lookups/frmVzaj.h"
#include "outlook/frmVyhled.h"
#include "playoff/playoff.h"
#include "season/adjustments.h"
#include "standings/aggregation.h"
#include "standings/frmGraf.h"
#include "standings/frmTable.h"
#include "standings/frmTable_Interval.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"
#include "stats/frmKriz.h"
#include "stats/frmSerie.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

using fixture::child, fixture::visibleWindow;

namespace {

QStringList bundled(const QString& file)
{
    return decodeLines(fixture::contents(QStringLiteral(RINKOMAT_DIST_DIR "/souteze/") + file));
}

// The window a menu command opens.
template <typename Window> Window* open(const QWidget* main, const QString& command, const QString& name)
{
    main->findChild<QAction*>(command)->trigger();
    return visibleWindow<Window>(name);
}

} // namespace

class tst_anyLeague final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        fixture::closeAllWindows(); // before the league's folder goes
        m_league.reset();
    }

    void sixteenTeams()
    {
        m_league = std::make_unique<fixture::OpenLeague>(bundled(u"los_druhaliga0708.txt"_s), QDate(2007, 12, 1),
                                                         bundled(u"sezona_druhaliga0708.txt"_s));
        frmMain* main = m_league->main;
        const SeasonStore& s = main->season();
        // Eight rows, sixty rounds; Enter from the eighth row goes on to the next round.
        QCOMPARE(fixture::roundList(main)->count(), 60);
        QVERIFY(fixture::resultField(main, 7)->isVisible() && !fixture::resultField(main, 8)->isVisible());
        QVERIFY(!child<QLabel>(main, u"lblVolno"_s)->isVisible());
        fixture::roundList(main)->setCurrentIndex(59);
        fixture::type(main, 7, u"4:2"_s);
        fixture::roundList(main)->setCurrentIndex(40);
        QCOMPARE(s.VYSLEDEK(8, 60), u"4:2"_s);
        fixture::type(main, 7, u"1:0"_s);
        QTest::keyClick(fixture::resultField(main, 7), Qt::Key_Return);
        QCOMPARE(fixture::roundList(main)->currentIndex(), 41);
        QCOMPARE(s.VYSLEDEK(8, 41), u"1:0"_s);

        auto* table = open<frmTable>(main, u"mnuPrubezna"_s, u"frmTable"_s);
        QVERIFY(table);
        QCOMPARE(child<QLabel>(table, u"cell15_1"_s)->text(),
                 standingsView(s, 1, 60, venue::Total, Criterion::Points, RankingRules::Running, {}).rows[15][1]);
        // The third line under the fourteenth of sixteen rows.
        const int lineY = child<QFrame>(table, u"line2"_s)->geometry().center().y();
        QVERIFY(child<QLabel>(table, u"cell13_1"_s)->geometry().bottom() <= lineY &&
                lineY <= child<QLabel>(table, u"cell14_1"_s)->geometry().top());
        table->close();

        auto* period = open<frmTable_Interval>(main, u"mnuObdobi"_s, u"frmTable_Interval"_s);
        auto* quick = child<QComboBox>(period, u"cbo"_s);
        quick->setCurrentIndex(1);
        Q_EMIT quick->activated(1);
        QCOMPARE(child<QComboBox>(period, u"cboKolo1"_s)->currentIndex(), 15); // rounds 16–30
        QCOMPARE(child<QComboBox>(period, u"cboKolo2"_s)->currentIndex(), 29);
        period->close();

        auto* cross = open<frmKriz>(main, u"mnuKriz"_s, u"frmKriz"_s);
        QCOMPARE(child<QLabel>(cross, u"cell15_0"_s)->text(), crossTable(s)[15][0]);
        QVERIFY(child<QLabel>(cross, u"cell15_15"_s)->styleSheet().contains(u"128, 128, 128"_s));
        cross->close();

        auto* graph = open<frmGraf>(main, u"mnuGraf"_s, u"frmGraf"_s);
        QVERIFY(graph->findChild<QLabel*>(u"round60"_s) && graph->findChild<QLabel*>(u"round5"_s));
        QVERIFY(!graph->findChild<QLabel*>(u"round4"_s));
        graph->close();

        auto* streaks = open<frmSerie>(main, u"mnuSerie"_s, u"frmSerie"_s);
        QVERIFY(!child<QLabel>(streaks, u"cell15_1"_s)->text().isEmpty());
        streaks->close();

        for (const auto& [command, name, box] : {std::tuple{u"mnuBil"_s, u"frmBilance"_s, u"cboBil"_s},
                                                 std::tuple{u"mnuVzaj"_s, u"frmVzaj"_s, u"cbo1"_s}}) {
            main->findChild<QAction*>(command)->trigger();
            QWidget* window = nullptr;
            WAIT_FOR(window = visibleWindow<QDialog>(name));
            QVERIFY(child<QComboBox>(window, box)->findText(s.TymPodleCisla(16)) >= 0);
            window->close();
        }

        auto* outlook = new frmVyhled(s, 200, main);
        outlook->open();
        WAIT_FOR(!outlook->computing());
        auto* grid = child<QTableWidget>(outlook, u"grid"_s);
        QCOMPARE(grid->rowCount(), 16);
        QCOMPARE(grid->horizontalHeaderItem(4 + 15)->text(), u"16."_s);
    }

    // The team a round rests is named under its seven matches, round by round.
    void fifteenTeams()
    {
        m_league = std::make_unique<fixture::OpenLeague>(bundled(u"los_extraliga9900.txt"_s), QDate(1999, 12, 1),
                                                         bundled(u"sezona_extraliga9900.txt"_s));
        frmMain* main = m_league->main;
        const SeasonStore& s = main->season();
        QVERIFY(fixture::resultField(main, 6)->isVisible() && !fixture::resultField(main, 7)->isVisible());
        for (int round : {1, 2, 60}) {
            fixture::roundList(main)->setCurrentIndex(round - 1);
            QCOMPARE(child<QLabel>(main, u"lblVolno"_s)->text(), u"volno: "_s + s.TymPodleCisla(s.restingTeam(round)));
        }
        QVERIFY(s.restingTeam(1) != s.restingTeam(2));
    }

    // An update brought another shape: what was typed is saved first, then the league is read as it is now.
    void shapeChangedOnDisk()
    {
        m_league = std::make_unique<fixture::OpenLeague>();
        frmMain* main = m_league->main;
        fixture::roundList(main)->setCurrentIndex(51);
        fixture::type(main, 6, u"5:1"_s);
        QSignalSpy changed(main, &frmMain::seasonChanged);
        QVERIFY(main->saveBeforeUpdate());
        QCOMPARE(fixture::load(m_league->path).VYSLEDEK(7, 52), u"5:1"_s);
        fixture::writeLeague(QDir(QFileInfo(m_league->path).path()), fixture::competitionLines(16),
                             fixture::scheduleLines(16, 30, 10));
        main->reloadAfterUpdate();
        QCOMPARE(main->season().teams(), 16);
        QCOMPARE(fixture::roundList(main)->count(), 30);
        QCOMPARE(main->shownRound(), 30);
        QVERIFY(fixture::resultField(main, 7)->isVisible());
        QCOMPARE(fixture::rowLabel(main, "Hteam", 7)->text(),
                 main->season().TymPodleCisla(main->season().match(8, 30).home));
        QVERIFY(!changed.isEmpty());
    }

    // A row's "Přesunout zápas…" and the menu's "Přejmenovat tým…", through their dialogs.
    void moveAndRename()
    {
        m_league = std::make_unique<fixture::OpenLeague>();
        frmMain* main = m_league->main;
        fixture::roundList(main)->setCurrentIndex(2);
        const Match third = main->season().match(1, 3), fourth = main->season().match(1, 4);
        // Modal: answered from the event loop the dialog runs.
        const auto answer = [](const QString& name, const std::function<void(QDialog*)>& act) {
            QTimer::singleShot(0, [name, act] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog && dialog->objectName() == name);
                act(dialog);
            });
        };
        const SeasonStore& s = main->season();
        answer(u"dlgPresunout"_s, [&](QDialog* d) {
            child<QComboBox>(d, u"cboKam"_s)->setCurrentIndex(3); // a round chosen: the swap, said before it is done
            QVERIFY(child<QRadioButton>(d, u"optVymenit"_s)->isChecked());
            QCOMPARE(child<QLabel>(d, u"lblVymena"_s)->text(),
                     u"Vymění se se zápasem %1 – %2 z 4. kola."_s.arg(s.TymPodleCisla(fourth.home),
                                                                      s.TymPodleCisla(fourth.away)));
            QTest::keyClick(d, Qt::Key_Return);
        });
        main->findChild<QAction*>(u"mnuPresunout0"_s)->trigger();
        QCOMPARE(main->season().match(1, 4), third);
        QCOMPARE(main->season().match(1, 3), fourth);
        QCOMPARE(fixture::rowLabel(main, "Hteam", 0)->text(), main->season().TymPodleCisla(fourth.home));
        // A date and time of its own, kept in the league's dates file; then postponed; then its round's date again.
        answer(u"dlgPresunout"_s, [](QDialog* d) {
            QTest::keyClicks(child<QLineEdit>(d, u"txtCas"_s), u"18:00"_s);
            QLineEdit* day = child<QLineEdit>(d, u"txtDatum"_s);
            day->selectAll();
            QTest::keyClicks(day, u"12.2.2008"_s);
            QTest::keyClick(d, Qt::Key_Return);
        });
        main->findChild<QAction*>(u"mnuPresunout0"_s)->trigger();
        QCOMPARE(s.matchDates.value({3, 1}), (MatchDate{QDate(2008, 2, 12), QTime(18, 0), false}));
        QCOMPARE(readLeague(m_league->path).value().store.matchDates.value({3, 1}), s.matchDates.value({3, 1}));
        answer(u"dlgPresunout"_s, [](QDialog* d) {
            QCOMPARE(child<QLineEdit>(d, u"txtDatum"_s)->text(), u"12.2.2008"_s);
            child<QRadioButton>(d, u"optOdlozeno"_s)->setChecked(true);
            QTest::keyClick(d, Qt::Key_Return);
        });
        main->findChild<QAction*>(u"mnuPresunout0"_s)->trigger();
        QVERIFY(s.matchDates.value({3, 1}).postponed);
        answer(u"dlgPresunout"_s, [](QDialog* d) {
            child<QRadioButton>(d, u"optKolo"_s)->setChecked(true);
            QTest::keyClick(d, Qt::Key_Return);
        });
        main->findChild<QAction*>(u"mnuPresunout0"_s)->trigger();
        QVERIFY(!s.matchDates.contains({3, 1}));

        answer(u"dlgPrejmenovat"_s, [fourth](QDialog* d) {
            child<QComboBox>(d, u"cboTym"_s)->setCurrentIndex(fourth.home - 1);
            child<QLineEdit>(d, u"txtNazev"_s)->setText(u"Motor"_s);
            QTest::keyClick(d, Qt::Key_Return);
        });
        main->findChild<QAction*>(u"mnuPrejmenovat"_s)->trigger();
        QCOMPARE(fixture::rowLabel(main, "Hteam", 0)->text(), u"Motor"_s);
        QCOMPARE(fixture::load(m_league->path).TymPodleCisla(fourth.home), u"Motor"_s);
    }

    // "Nová liga…" from the menu: the open league's teams for a new season, which the window then opens.
    void newSeasonFromMenu()
    {
        m_league = std::make_unique<fixture::OpenLeague>();
        frmMain* main = m_league->main;
        QSignalSpy chosen(main, &frmMain::leagueChosen);
        const SeasonStore open = main->season(); // the window closes for the new league
        main->findChild<QAction*>(u"mnuNovaLiga"_s)->trigger();
        auto* dialog = visibleWindow<QDialog>(u"frmNovaLiga"_s);
        QVERIFY(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdJako"_s), Qt::LeftButton);
        child<QLineEdit>(dialog, u"txtNazev"_s)->setText(u"Liga"_s);
        child<QLineEdit>(dialog, u"txtSezona"_s)->setText(u"2008/2009"_s);
        auto* scoring = child<QComboBox>(dialog, u"cboBodovani"_s);
        QCOMPARE(scoring->currentText(), usualRules()[0].name); // as the open league scores
        QTest::keyClick(scoring, Qt::Key_Down);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdVytvorit"_s), Qt::LeftButton);
        QCOMPARE(chosen.size(), 1);
        const SeasonStore made = readCompetition(fixture::contents(chosen[0][0].toString()), {}).value();
        QCOMPARE(made.teamNames(), open.teamNames());
        QCOMPARE(made.HR1, open.HR1);
        QCOMPARE(made.rules, usualRules()[1].rules);
        QCOMPARE(fixture::load(chosen[0][0].toString()).rounds(), 52);
    }

    // A league without draws: a draw stored before is named on opening and kept; a draw typed is refused in the
    // field like a typo, an overtime win taken and counted by the league's points.
    void leagueWithoutDraws()
    {
        QStringList comp = fixture::competitionLines(), los = fixture::scheduleLines();
        comp << u"body=3,2,0,1,0"_s << u"remizy=ne"_s;
        los[fixture::resultLine(1, 1)] = u"2:2p"_s;
        m_league = std::make_unique<fixture::OpenLeague>(los, fixture::roundDate(10).addDays(-1), comp);
        frmMain* main = m_league->main;
        QVERIFY2(m_league->desktop.messages.value(0).text.contains(u"nepovolují 1 uložených výsledků: 1. kolo"_s),
                 qPrintable(m_league->desktop.messages.value(0).text));
        QCOMPARE(main->season().VYSLEDEK(1, 1), u"2:2p"_s);
        fixture::type(main, 0, u"2+2"_s);
        fixture::resultField(main, 1)->setFocus();
        QVERIFY2(child<QLabel>(main, u"lblTypo"_s)->text().contains(u"nezná remízy"_s),
                 qPrintable(child<QLabel>(main, u"lblTypo"_s)->text()));
        QVERIFY(fixture::resultField(main, 0)->toolTip().contains(u"nezná remízy"_s));
        QCOMPARE(main->season().VYSLEDEK(1, 10), QString());
        fixture::resultField(main, 0)->selectAll();
        fixture::type(main, 0, u"3+2-"_s);
        fixture::resultField(main, 1)->setFocus();
        QCOMPARE(main->season().VYSLEDEK(1, 10), u"3:2p"_s);
        const Match& m = main->season().match(1, 10);
        const TeamStats stats = DataProTabulku(main->season(), 10, 10);
        QCOMPARE(stats(Stat::PTS, venue::Total, m.home), 2);
        QCOMPARE(stats(Stat::PTS, venue::Total, m.away), 1);
    }

    // "Import…" with a name to map, a conflict with a result typed but not yet stored, then Ctrl+Shift+V.
    void importWithMapping()
    {
        m_league = std::make_unique<fixture::OpenLeague>();
        frmMain* main = m_league->main;
        const SeasonStore& s = main->season();
        fixture::roundList(main)->setCurrentIndex(2);
        fixture::type(main, 0, u"2:1"_s);
        const Match third = s.match(1, 3), fifth = s.match(1, 5);
        m_league->desktop.openPath = m_league->dir.filePath(u"vysledky.csv"_s);
        fixture::put(m_league->desktop.openPath,
                     u"Datum;Domácí;Hosté;Výsledek\n%1;%2;%3;0:5\n%4;%5;Neznámí;4:4 pp\n"_s
                         .arg(shortDate(s.DATUM_KOLA(3)), s.TymPodleCisla(third.home), s.TymPodleCisla(third.away),
                              shortDate(s.DATUM_KOLA(5)), s.TymPodleCisla(fifth.home))
                         .toUtf8());
        main->findChild<QAction*>(u"mnuImport"_s)->trigger();
        auto* dialog = visibleWindow<QDialog>(u"frmImport"_s);
        QVERIFY(dialog);
        auto* write = child<QPushButton>(dialog, u"cmdZapsat"_s);
        QVERIFY(!write->isEnabled()); // nothing until every name is a team
        child<QComboBox>(dialog, u"cboTym1"_s)->setCurrentIndex(fifth.away);
        QVERIFY(write->isEnabled());
        const QString summary = child<QLabel>(dialog, u"lblShrnuti"_s)->text();
        QVERIFY2(summary.contains(u"Výsledků k zapsání: 1"_s) && summary.contains(u"Sporů s vašimi výsledky: 1"_s),
                 qPrintable(summary));
        QTest::mouseClick(write, Qt::LeftButton); // the conflict: mine kept, the safe last choice
        QVERIFY(m_league->desktop.messages.last().text.contains(u"vaše 2:1, soubor 0:5"_s));
        QCOMPARE(s.match(1, 5).result, u"4:4p"_s);
        QCOMPARE(s.match(1, 3).result, u"2:1"_s);
        QCOMPARE(fixture::resultField(main, 0)->text(), u"2:1"_s);
        QCOMPARE(readNameMapping(m_league->path).value(u"Neznámí"_s), fifth.away);

        const Match first = s.match(1, 1);
        QGuiApplication::clipboard()->setText(
            u"%1 – %2 3:2 sn\nreklama\n"_s.arg(s.TymPodleCisla(first.home), s.TymPodleCisla(first.away)));
        QTest::keyClick(main, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        dialog = visibleWindow<QDialog>(u"frmImport"_s);
        QVERIFY(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdZapsat"_s), Qt::LeftButton);
        QCOMPARE(s.match(1, 1).result, u"3:2n"_s);

        // "Načíst soubor znovu" gives the import up as a whole, once the fan says so.
        m_league->desktop.answers = {Desktop::Answer::No, Desktop::Answer::Yes};
        main->findChild<QAction*>(u"mnuZnovu"_s)->trigger();
        QCOMPARE(s.match(1, 5).result, u"4:4p"_s);
        main->findChild<QAction*>(u"mnuZnovu"_s)->trigger();
        QVERIFY(s.match(1, 5).result.isEmpty() && s.match(1, 1).result.isEmpty());
        QCOMPARE(m_league->desktop.messages.last().buttons, Desktop::Buttons::YesNo); // no recovery offered after it
    }

    // A file whose columns the reader cannot tell: the fan says them over its first lines; a guessed name shown in
    // its box, a team from outside skipped, and only then anything written.
    void importColumnsGuessesAndStrangers()
    {
        m_league = std::make_unique<fixture::OpenLeague>();
        frmMain* main = m_league->main;
        const SeasonStore& s = main->season();
        const Match first = s.match(1, 1), second = s.match(2, 1);
        m_league->desktop.openPath = m_league->dir.filePath(u"vysledky.csv"_s);
        fixture::put(m_league->desktop.openPath,
                     u"kdy;kdo;s kým;jak\n%1;%2;%3;3:2 (OT)\n%1;%4 B;%5;1:0\n%1;Cizinci;%5;2:0\n"_s
                         .arg(shortDate(s.DATUM_KOLA(1)), s.TymPodleCisla(first.home), s.TymPodleCisla(first.away),
                              s.TymPodleCisla(second.home), s.TymPodleCisla(second.away))
                         .toUtf8());
        main->findChild<QAction*>(u"mnuImport"_s)->trigger();
        auto* dialog = visibleWindow<QDialog>(u"frmImport"_s);
        QVERIFY(dialog);
        QTimer::singleShot(0, this, [] {
            auto* columns = visibleWindow<QDialog>(u"frmSloupce"_s);
            QVERIFY(columns);
            const QList<int> roles{6, 1, 2, 3}; // datum, domácí, hosté, výsledek as the boxes offer them
            for (int c = 0; c < roles.size(); ++c)
                child<QComboBox>(columns, u"cboSloupec%1"_s.arg(c + 1))->setCurrentIndex(roles[c]);
            QTest::mouseClick(child<QPushButton>(columns, u"cmdPouzit"_s), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdSloupce"_s), Qt::LeftButton);
        auto* write = child<QPushButton>(dialog, u"cmdZapsat"_s);
        QVERIFY(!write->isEnabled()); // "Cizinci" is no team yet
        QCOMPARE(child<QComboBox>(dialog, u"cboTym2"_s)->currentData().toInt(), second.home); // the guess, shown
        child<QCheckBox>(dialog, u"chkPreskocit"_s)->setChecked(true);
        QVERIFY(write->isEnabled());
        const QString details = child<QPlainTextEdit>(dialog, u"txtPodrobnosti"_s)->toPlainText();
        QVERIFY2(details.contains(u"řádek 2 → 1. kolo"_s) && details.contains(u"cizí tým: řádek 4"_s),
                 qPrintable(details));
        QTest::mouseClick(write, Qt::LeftButton);
        QCOMPARE(s.match(1, 1).result, u"3:2p"_s);
        QCOMPARE(s.match(2, 1).result, u"1:0"_s);
        QCOMPARE(readNameMapping(m_league->path).value(u"%1 B"_s.arg(s.TymPodleCisla(second.home))), second.home);

        // A file of two seasons, neither the league's: the fan picks one.
        const Match third = s.match(3, 1);
        fixture::put(m_league->desktop.openPath, u"Season;Home;Away;HG;AG\n2005/2006;%1;%2;1;1\n2006/2007;%1;%2;4;0\n"_s
                                                     .arg(s.TymPodleCisla(third.home), s.TymPodleCisla(third.away))
                                                     .toUtf8());
        m_league->desktop.choices = {1};
        main->findChild<QAction*>(u"mnuImport"_s)->trigger();
        QVERIFY(m_league->desktop.messages.last().text.contains(u"2005/2006, 2006/2007"_s));
        dialog = visibleWindow<QDialog>(u"frmImport"_s);
        QVERIFY(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, u"cmdZapsat"_s), Qt::LeftButton);
        QCOMPARE(s.match(3, 1).result, u"4:0"_s);
    }

    // The bracket: a game typed in a box (keypad notation), a draw refused, the next game's rink swapped, a
    // "Co kdyby" game counted but never written, and what was saved read back as the next start reads it.
    // "Nový play-off…": a usual format of the league's size, edited in the table, refused by its row while the
    // reader would refuse it; a write that fails keeps the dialog and its stages; the file written reads back.
    void newPlayoffFromTheMenu()
    {
        m_league = std::make_unique<fixture::OpenLeague>(); // 14 teams
        auto* dialog = open<QDialog>(m_league->main, u"mnuNovyPlayoff"_s, u"frmNovyPlayoff"_s);
        QVERIFY(dialog);
        auto* stages = child<QTableWidget>(dialog, u"grdFaze"_s);
        auto* create = child<QPushButton>(dialog, u"cmdOK"_s);
        QCOMPARE(stages->rowCount(), 5); // the quarter-finals and the play-down of the last four
        child<QComboBox>(dialog, u"cboNahore"_s)->setCurrentIndex(1);
        QCOMPARE(stages->item(1, 1)->text(), u"1-6, vitezove Předkolo"_s);
        QVERIFY(create->isEnabled());
        stages->item(0, 1)->setText(u"7-16"_s);
        QVERIFY2(child<QLabel>(dialog, u"lblChyba"_s)->text().startsWith(u"Fáze 1: místa „7-16“ nejsou od 1 do 14"_s),
                 qPrintable(child<QLabel>(dialog, u"lblChyba"_s)->text()));
        QVERIFY(!create->isEnabled());
        stages->item(0, 1)->setText(u"7-10"_s);
        stages->item(5, 0)->setText(u"Baráž"_s);
        const QString file = playoffFileFor(m_league->path);
        {
            const fixture::FileSizeLimit limit(16);
            QVERIFY(limit.set());
            QTest::mouseClick(create, Qt::LeftButton);
        }
        QVERIFY(dialog->isVisible());
        QVERIFY(child<QLabel>(dialog, u"lblChyba"_s)->text().startsWith(u"Play-off nelze vytvořit."_s));
        QCOMPARE(stages->item(5, 0)->text(), u"Baráž"_s);
        QVERIFY(!QFileInfo::exists(file));
        QTest::mouseClick(create, Qt::LeftButton);
        QTRY_VERIFY(!dialog->isVisible());
        const std::optional<Playoff> p = readLeaguePlayoff(m_league->path, fixture::load(m_league->path)).value();
        QVERIFY(p);
        QStringList names;
        for (const Stage& stage : p->stages)
            names << stage.name;
        QCOMPARE(names, (QStringList{u"Předkolo"_s, u"Čtvrtfinále"_s, u"Semifinále"_s, u"Finále"_s, u"Play-down"_s,
                                     u"Baráž"_s}));
        QCOMPARE(p->stages[0].wins, 3);
        QCOMPARE(p->relegationStage(), 5);
        QVERIFY(visibleWindow<QDialog>(u"frmPlayoff"_s));
    }

    void playoffBracket()
    {
        m_league = std::make_unique<fixture::OpenLeague>(fixture::scheduleLines(8, 14, 14), fixture::roundDate(15),
                                                         fixture::competitionLines(8));
        frmMain* main = m_league->main;
        const QString file = playoffFileFor(m_league->path);
        fixture::put(file, "faze=Semifin\xe1le;1-4;2\r\nfaze=Fin\xe1le;vitezove Semifin\xe1le;1\r\n");
        QVERIFY(main->Form_Load().ok());
        QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
        auto* bracket = visibleWindow<QDialog>(u"frmPlayoff"_s);
        QVERIFY(bracket);
        // The main window's shortcuts work there too; Ctrl+P again shows the same window.
        QApplication::setActiveWindow(bracket);
        QVERIFY(QTest::qWaitForWindowActive(bracket));
        QTest::keyClick(bracket, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(main->findChildren<QDialog*>(u"frmPlayoff"_s).size(), 1);
        QTest::keyClick(bracket, Qt::Key_F2);
        QWidget* table = QApplication::activeModalWidget();
        QVERIFY(table && table->objectName() == u"frmTable");
        table->close();
        QVERIFY(bracket->findChild<QPushButton*>(u"cmdUlozit"_s));
        // "Tisk…" where no printer is installed: the bracket as a PDF page, said where.
        m_league->desktop.savePath = m_league->dir.filePath(u"pavouk.pdf"_s);
        m_league->desktop.answers = {Desktop::Answer::Ok, Desktop::Answer::Yes};
        QTest::mouseClick(child<QPushButton>(bracket, u"cmdTisk"_s), Qt::LeftButton);
        QVERIFY(m_league->desktop.messages.last().text.endsWith(m_league->desktop.savePath));
        QVERIFY(QFileInfo(m_league->desktop.savePath).size() > 500);
        QCOMPARE(m_league->desktop.suggestedNames.last(), u"Liga 8 2007-2008 – play-off.pdf"_s);
        const QByteArray good = fixture::contents(file);
        fixture::put(file, good + "zapas=Fin\xe1le;1-2;3:2\r\n"); // before the semi-finals are decided
        QVERIFY(main->Form_Load().ok());
        QVERIFY2(m_league->desktop.messages.last().text.contains(u"bez play-off"_s) &&
                     m_league->desktop.messages.last().text.contains(u"řádek 3"_s),
                 qPrintable(m_league->desktop.messages.last().text));
        QVERIFY(child<QLabel>(bracket, u"lblNote"_s)->text().contains(u"Play-off nelze ukázat"_s));
        fixture::put(file, good);
        QVERIFY(main->Form_Load().ok());
        const QVarLengthArray<int, kMaxTeams> order = finalOrder(main->season());
        const auto field = [&](const char* id) { return child<QLineEdit>(bracket, u"txtZapas"_s + QLatin1String(id)); };
        // The day beside the result: today unless the fan says otherwise; one that is no date is refused.
        auto* day = child<QLineEdit>(bracket, u"txtDatum0_0"_s);
        QCOMPARE(day->text(), shortDate(fixture::roundDate(15)));
        day->setText(u"31.2.2008"_s);
        QTest::keyClicks(field("0_0"), u"4+2"_s);
        QTest::keyClick(field("0_0"), Qt::Key_Return);
        QVERIFY(m_league->desktop.messages.last().text.contains(u"„31.2.2008“ není datum"_s));
        QCOMPARE(field("0_0")->text(), u"4:2"_s);
        day->setText(u"2.3.2008"_s);
        QTest::keyClick(day, Qt::Key_Return);
        QVERIFY(decodeText(fixture::contents(file))
                    .contains(u"zapas=Semifinále;%1-%2;4:2;2.3.2008"_s.arg(order[0]).arg(order[3])));
        QTest::keyClicks(field("0_0"), u"3:3"_s);
        QTest::keyClick(field("0_0"), Qt::Key_Return);
        QVERIFY(m_league->desktop.messages.last().text.contains(u"remízou"_s));
        field("0_0")->clear();
        QTest::mouseClick(child<QToolButton>(bracket, u"cmdProhodit0_0"_s), Qt::LeftButton);
        QTest::keyClicks(field("0_0"), u"2:1"_s);
        QTest::keyClick(field("0_0"), Qt::Key_Return);
        QVERIFY(
            decodeText(fixture::contents(file)).contains(u"zapas=Semifinále;%1-%2;2:1"_s.arg(order[3]).arg(order[0])));
        QVERIFY(child<QLabel>(bracket, u"lblZapasy0_0"_s)->text().contains(u"\n2. "_s));
        QVERIFY(bracket->focusWidget() == field("0_0") &&
                field("0_0")->text().isEmpty()); // 1:1 in a best of three: game 3
        // A day without a result plans the next game, shown in its box until it is played.
        day = child<QLineEdit>(bracket, u"txtDatum0_0"_s);
        day->setText(u"5.3.2008 24:00"_s);
        QTest::keyClick(day, Qt::Key_Return);
        QVERIFY(m_league->desktop.messages.last().text.contains(u"„5.3.2008 24:00“ není datum"_s));
        day->setText(u" 5.3.2008  18:30"_s);
        QTest::keyClick(day, Qt::Key_Return);
        QVERIFY(decodeText(fixture::contents(file)).contains(u";5.3.2008;18:30\r\n"_s));
        QCOMPARE(child<QLabel>(bracket, u"lblTermin0_0"_s)->text(), u"hraje se 5.3.2008 18:30"_s);
        QCOMPARE(child<QLineEdit>(bracket, u"txtDatum0_0"_s)->text(), u"5.3.2008 18:30"_s);
        const QByteArray saved = fixture::contents(file);

        main->findChild<QAction*>(u"mnuCoKdyby"_s)->trigger();
        QTest::keyClicks(field("0_1"), u"1:0"_s);
        QTest::keyClick(field("0_1"), Qt::Key_Return);
        QVERIFY(child<QLabel>(bracket, u"lblZapasy0_1"_s)->text().contains(u"1:0"_s));
        QCOMPARE(fixture::contents(file), saved);
        main->findChild<QAction*>(u"mnuCoKdyby"_s)->trigger();
        QVERIFY(!bracket->findChild<QLabel*>(u"lblZapasy0_1"_s));

        // The round list's entry of the third semi-final games: one series plays it; typed as a round is.
        QComboBox* rounds = fixture::roundList(main);
        const int third = rounds->findText(u"Semifinále – zápas 3"_s);
        QCOMPARE(third, 14 + 2);
        QCOMPARE(rounds->count(), 14 + 3 + 1);
        rounds->setCurrentIndex(third);
        QVERIFY(fixture::resultField(main, 0)->isVisible() && !fixture::resultField(main, 1)->isVisible());
        QCOMPARE(fixture::rowLabel(main, "Hteam", 0)->text(),
                 main->season().TymPodleCisla(order[3])); // 1,2 at the better
        fixture::type(main, 0, u"3:3"_s);
        const qsizetype said = m_league->desktop.messages.size();
        QTest::keyClick(fixture::resultField(main, 0), Qt::Key_Return); // a draw is refused, once, and kept typed
        QTRY_COMPARE(m_league->desktop.messages.size(), said + 1);
        QVERIFY(m_league->desktop.messages.last().text.contains(u"remízou"_s));
        QCOMPARE(fixture::resultField(main, 0)->text(), u"3:3"_s);
        rounds->setCurrentIndex(third - 1); // leaving with the same text says nothing new
        QTest::qWait(10);
        QCOMPARE(m_league->desktop.messages.size(), said + 1);
        rounds->setCurrentIndex(third);
        fixture::type(main, 0, u"4+3-"_s);                                                 // 4:3p on the keypad
        QTest::keyClick(fixture::resultField(main, 0), Qt::Key_Enter, Qt::KeypadModifier); // Enter commits it
        const std::optional<Playoff> again = readLeaguePlayoff(m_league->path, fixture::load(m_league->path)).value();
        QCOMPARE(again->games.size(), 3);
        QCOMPARE(again->games[2].date, fixture::roundDate(15)); // typed in the round list: played today
        // The final's entry has no game to type yet: the keypad's digits do not jump to a round.
        rounds->setCurrentIndex(third + 1);
        rounds->setFocus();
        const int beeps = m_league->desktop.beeps;
        QTest::keyClick(rounds, Qt::Key_5, Qt::KeypadModifier);
        QCOMPARE(rounds->currentIndex(), third + 1);
        QCOMPARE(m_league->desktop.beeps, beeps + 1);
        QVERIFY(main->Form_Load().ok()); // as the next start reads it
        QVERIFY(child<QLabel>(bracket, u"lblZapasy0_0"_s)->text().contains(u"\n3. "_s));
        rounds = fixture::roundList(main);
        QCOMPARE(again->games.last().result, u"4:3p"_s);
        rounds->setCurrentIndex(third);
        QVERIFY(fixture::resultField(main, 0)->isReadOnly());
        QCOMPARE(fixture::resultField(main, 0)->text(), u"4:3p"_s);

        // A mistyped game taken back from the box's menu, after the fan says so; the series goes on from 1:1.
        m_league->desktop.choices = {1, 0};
        bracket->findChild<QAction*>(u"mnuOdebrat0_0"_s)->trigger(); // "Ponechat"
        QCOMPARE(readLeaguePlayoff(m_league->path, fixture::load(m_league->path)).value()->games.size(), 3);
        bracket->findChild<QAction*>(u"mnuOdebrat0_0"_s)->trigger();
        QVERIFY(!decodeText(fixture::contents(file)).contains(u"4:3p"_s));
        WAIT_FOR(bracket->findChild<QLineEdit*>(u"txtZapas0_0"_s));
        QVERIFY(child<QLabel>(bracket, u"lblZapasy0_0"_s)->text().contains(u"\n2. "_s));
    }

private:
    std::unique_ptr<fixture::OpenLeague> m_league;
};

QTEST_MAIN(tst_anyLeague)
#include "tst_anyLeague.moc"
