// SPDX-License-Identifier: MIT
// Every window on the fullest season: no text may be cut, at the scale the test runs with.
#include "entry/frmMain.h"
#include "fixture/league.h"
#include "fixture/programfolder.h"
#include "fixture/wait.h"
#include "lookups/frmZapasy.h"
#include "online/frmUpdate.h"
#include "playoff/playoff.h"
#include "season/leaguefiles.h"
#include "season/seasonfile.h"
#include "startup/frmSUB.h"
#include "startup/frmUvod.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

// The texts a widget shows that do not fit its width or height, with what they need.
QStringList cutTexts(QWidget* window)
{
    QStringList cut;
    const auto report = [&](QWidget* w, const QString& text, const QSize& need, const QSize& have) {
        if (need.width() > have.width() || need.height() > have.height())
            cut << u"%1 %2 „%3“: potřebuje %4×%5, má %6×%7"_s.arg(window->objectName(), w->objectName(), text)
                       .arg(need.width())
                       .arg(need.height())
                       .arg(have.width())
                       .arg(have.height());
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->y() < 0) // a focus catcher above the window
            continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty() && !l->wordWrap()) {
            const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
            QSize need = fm.size(l->buddy() ? Qt::TextShowMnemonic : 0, l->text()); // "&N" shows as an underlined N
            if (Qt::mightBeRichText(l->text())) {
                QTextDocument doc;
                doc.setDefaultFont(l->font());
                doc.setDocumentMargin(0);
                doc.setHtml(l->text());
                need = QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
            }
            report(l, l->text(), need, room.size());
        } else if (auto* wrapped = qobject_cast<QLabel*>(w); wrapped && !wrapped->text().isEmpty()) {
            const int lines = wrapped->heightForWidth(wrapped->width()); // the lines it wraps into, all of them
            report(wrapped, wrapped->text(), QSize(0, lines), wrapped->size());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            QString text = b->text();
            report(b, text.remove(u'&'), b->sizeHint().boundedTo(QSize(fm.horizontalAdvance(text) + 16, 1000)),
                   b->size());
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(c);
            const QRect field =
                c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, c);
            for (int i = 0; i < c->count(); ++i)
                report(c, c->itemText(i), QSize(fm.horizontalAdvance(c->itemText(i)), fm.height()), field.size());
        }
        // Nothing may stand beyond the window's edge.
        const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
        if (w->parentWidget() == window && !window->rect().contains(inWindow) && inWindow.top() >= 0)
            cut << u"%1 %2 leží mimo okno"_s.arg(window->objectName(), w->objectName());
        // A button's frame on the window's edge is cut by it.
        if (qobject_cast<QPushButton*>(w) && w->parentWidget() == window &&
            !window->rect().adjusted(2, 2, -2, -2).contains(inWindow))
            cut << u"%1 %2 leží na okraji okna"_s.arg(window->objectName(), w->objectName());
    }
    return cut;
}

} // namespace

class tst_textfit final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR), m_dir.path());
        m_desktop.folder = m_dir.path();
        m_desktop.clock = QDateTime(QDate(2007, 3, 1), QTime(12, 0));
        // The nearly complete season, with the longest names of the bundled leagues.
        const QString competition = m_dir.filePath(u"souteze/sezona_extraliga0607.txt"_s);
        const QString text = decodeText(fixture::contents(competition))
                                 .replace(QRegularExpression(u"t01=[^\r\n]*"_s), u"t01=Hradec Králové"_s)
                                 .replace(QRegularExpression(u"t02=[^\r\n]*"_s), u"t02=Frýdek-Místek"_s);
        fixture::put(competition, text.toUtf8());
        QVERIFY(QFile::copy(m_dir.filePath(u"souteze/kalendar_0708.dat"_s),
                            m_dir.filePath(u"souteze/kalendar_0607.dat"_s)));
        // An import with the longest names: to map, in conflict with results there, and without a fixture.
        m_desktop.openPath = m_dir.filePath(u"import.csv"_s);
        fixture::put(m_desktop.openPath,
                     u"Datum;Domácí;Hosté;Výsledek\n1.9.2006;Hradec Králové;Frýdek-Místek;10:10 pp\n"
                     "1.10.2006;Hokejový klub Valašské Meziříčí;Frýdek-Místek;12:11 sn\n"_s.toUtf8());
        m_main = new frmMain(competition, scheduleFileFor(competition));
        QVERIFY(m_main->Form_Load().ok());
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main));
    }

    void everyWindow_data()
    {
        QTest::addColumn<int>("teams");
        QTest::newRow("14 teams, nearly complete") << 0;
        QTest::newRow("20 teams, 200 rounds") << 20;
    }

    void everyWindow()
    {
        QFETCH(int, teams);
        frmMain* main = m_main;
        std::unique_ptr<frmMain> large;
        if (teams > 0) {
            // The largest league, with long names and three-digit goal totals.
            const QString path = writeLongNamedLeague(teams, 200, 150, u"velka"_s);
            large = std::make_unique<frmMain>(path, scheduleFileFor(path));
            QVERIFY(large->Form_Load().ok());
            large->show();
            QVERIFY(QTest::qWaitForWindowExposed(large.get()));
            main = large.get();
            m_desktop.clock = QDateTime(QDate(2009, 1, 15), QTime(12, 0)); // results missing from round 151 on
        }
        const auto restoreClock = qScopeGuard([&] { m_desktop.clock = QDateTime(QDate(2007, 3, 1), QTime(12, 0)); });
        QStringList cut = cutTexts(main);
        const QStringList commands{u"mnuPrubezna"_s, u"mnuObdobi"_s,   u"mnuKriz"_s,   u"mnuGraf"_s,   u"mnuSerie"_s,
                                   u"mnuBil"_s,      u"mnuVzaj"_s,     u"mnuChyb"_s,   u"mnuZap"_s,    u"mnuKalendar"_s,
                                   u"mnuNovaLiga"_s, u"mnuHistorie"_s, u"mnuUpravy"_s, u"mnuVyhled"_s, u"mnuImport"_s};
        for (const QString& name : commands) {
            const QList<QWidget*> before = QApplication::topLevelWidgets();
            main->findChild<QAction*>(name)->trigger();
            QWidget* window = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->isVisible() && !before.contains(w))
                    window = w;
            }
            QVERIFY2(window, qPrintable(name));
            QVERIFY(QTest::qWaitForWindowExposed(window));
            // Every choice of every box, so that every text the window can show is measured.
            const QList<QComboBox*> boxes = window->findChildren<QComboBox*>();
            for (QComboBox* box : boxes) {
                for (int i = box->count() - 1; i >= 0; --i) {
                    box->setCurrentIndex(i);
                    Q_EMIT box->activated(i);
                    cut << cutTexts(window);
                }
            }
            cut << cutTexts(window);
            // At 200 % on a 1600×1000 screen too: what is larger scrolls inside the window.
            const QSize screen = window->screen()->availableGeometry().size();
            if (window->frameGeometry().width() > screen.width() || window->frameGeometry().height() > screen.height())
                cut << u"%1 je větší než obrazovka"_s.arg(window->objectName());
            window->close();
            QApplication::processEvents();
        }
        const QSize screen = main->screen()->availableGeometry().size();
        if (main->frameGeometry().width() > screen.width() || main->frameGeometry().height() > screen.height())
            cut << u"hlavní okno je větší než obrazovka"_s;
        cut.removeDuplicates();
        for (const QString& line : cut)
            qInfo("%s", qPrintable(line));
        QVERIFY2(cut.isEmpty(), qPrintable(u"%1 textů se nevejde"_s.arg(cut.size())));
    }

    // A finished season of a large league: the bracket with the final on and the play-down played fits, its
    // stages' names stay above their columns however it scrolls; every row of the outlook fits at 100 %.
    void largeLeagueBracketAndOutlook_data()
    {
        QTest::addColumn<int>("teams");
        QTest::newRow("16 teams") << 16;
        QTest::newRow("20 teams") << 20;
    }
    void largeLeagueBracketAndOutlook()
    {
        QFETCH(int, teams);
        const int rounds = 2 * (teams - 1);
        const QString path = writeLongNamedLeague(teams, rounds, rounds, u"konec%1"_s.arg(teams));
        const QVarLengthArray<int, kMaxTeams> o = finalOrder(fixture::load(path));
        QStringList lines{u"faze=Čtvrtfinále;1-8;4"_s, u"faze=Semifinále;vitezove Čtvrtfinále;4"_s,
                          u"faze=Finále;vitezove Semifinále;4"_s, u"faze=Play-down;%1-%2;4"_s.arg(teams - 3).arg(teams),
                          u"faze=O udržení;porazeni Play-down;4"_s};
        const auto series = [&](const QString& stage, int better, int worse, int games) {
            for (int g = 0; g < games; ++g)
                lines << u"zapas=%1;%2-%3;%4"_s.arg(stage).arg(o[better - 1]).arg(o[worse - 1]).arg(u"12:11p"_s);
        };
        for (int p = 1; p <= 4; ++p)
            series(u"Čtvrtfinále"_s, p, 9 - p, 4);
        series(u"Semifinále"_s, 1, 4, 4);
        series(u"Semifinále"_s, 2, 3, 4);
        series(u"Finále"_s, 1, 2, 1);
        series(u"Play-down"_s, teams - 3, teams, 2);
        lines << u"termin=Finále;%1-%2;14.4.2027;18:30"_s.arg(o[0]).arg(o[1]);
        fixture::put(playoffFileFor(path), encodeLines(lines, TextEncoding::Utf8Bom));
        frmMain main(path, scheduleFileFor(path));
        QVERIFY(main.Form_Load().ok());
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        // 1600×1000 at 100 % or 2560×1600 at 200 %: every column of the bracket fits; at 100 % every row of the
        // outlook does.
        const QSize logical = main.screen()->availableGeometry().size();
        const bool roomy = logical.width() >= 1280 && logical.height() >= 800;
        const bool full = roomy && main.devicePixelRatio() < 1.5;

        main.findChild<QAction*>(u"mnuPlayoff"_s)->trigger();
        QDialog* bracket = nullptr;
        WAIT_FOR((bracket = main.findChild<QDialog*>(u"frmPlayoff"_s)) && bracket->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(bracket));
        QStringList cut = cutTexts(bracket);
        const QSize screen = bracket->screen()->availableGeometry().size();
        QVERIFY(bracket->frameGeometry().width() <= screen.width() &&
                bracket->frameGeometry().height() <= screen.height());
        auto* area = bracket->findChildren<QScrollArea*>().last();
        if (roomy)
            QVERIFY(!area->horizontalScrollBar()->isVisible());
        QVERIFY(fixture::child<QLabel>(bracket, u"lblTermin2_0"_s)->isVisible());
        for (const int at : {area->horizontalScrollBar()->maximum(), 0}) {
            area->horizontalScrollBar()->setValue(at);
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
            QApplication::processEvents();
            for (int s = 0; s < 5; ++s) {
                QLabel* title = fixture::child<QLabel>(bracket, u"lblFaze%1"_s.arg(s));
                QWidget* column = fixture::child<QWidget>(bracket, u"sloupecFaze%1"_s.arg(s));
                QCOMPARE(title->mapTo(bracket, QPoint()).x(), column->mapTo(bracket, QPoint()).x());
                QVERIFY(title->mapTo(bracket, QPoint()).y() >= 0 &&
                        title->mapTo(bracket, QPoint()).y() < area->mapTo(bracket, QPoint()).y());
            }
        }
        bracket->close();

        main.findChild<QAction*>(u"mnuVyhled"_s)->trigger();
        QWidget* outlook = nullptr;
        WAIT_FOR((outlook = main.findChild<QDialog*>(u"frmVyhled"_s)) && outlook->isVisible() &&
                 !fixture::child<QLabel>(outlook, u"lblNote"_s)->text().contains(u"počítám"_s));
        cut << cutTexts(outlook);
        auto* grid = fixture::child<QTableWidget>(outlook, u"grid"_s);
        QCOMPARE(grid->rowCount(), teams);
        QVERIFY(!fixture::child<QTableWidget>(outlook, u"keyGrid"_s)->isVisible());
        if (full)
            QVERIFY(!grid->verticalScrollBar()->isVisible());
        outlook->close();
        for (const QString& line : cut)
            qInfo("%s", qPrintable(line));
        QVERIFY2(cut.isEmpty(), qPrintable(u"%1 textů se nevejde"_s.arg(cut.size())));
    }

    void startAndUpdateWindows()
    {
        frmSUB splash;
        frmUvod picker;
        frmUpdate update(m_main, *m_main, QUrl(u"http://www.rinkomat.example"_s));
        // The update's longest status texts; the window is not shown, as showing it starts the update.
        auto* status = update.findChild<QLabel*>(u"lblUpdate"_s);
        update.layout()->activate();
        QStringList cut;
        for (const QString& text : {u"navazuji spojení se serverem www.rinkomat.example..."_s,
                                    u"stahuji data...  (sezona_extraliga0708.txt)"_s}) {
            status->setText(text);
            cut << cutTexts(&update);
        }
        for (QWidget* window : {static_cast<QWidget*>(&splash), static_cast<QWidget*>(&picker)}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            cut << cutTexts(window);
        }
        const int pickerWidth = picker.width();
        const auto* tagLine = picker.findChild<QLabel*>(u"L2"_s);
        const QString first = tagLine->text();
        WAIT_FOR(tagLine->text() != first); // the next tag line
        QCOMPARE(picker.width(), pickerWidth);
        for (const QString& line : cut)
            qInfo("%s", qPrintable(line));
        QVERIFY(cut.isEmpty());
    }

    void cleanupTestCase() { fixture::closeAllWindows(); }

private:
    // A league of `teams` with the longest names of the bundled leagues, `played` of its `rounds` with results.
    QString writeLongNamedLeague(int teams, int rounds, int played, const QString& stem) const
    {
        QStringList competition = fixture::competitionLines(teams);
        competition.replaceInStrings(u"t1=Tým 1"_s, u"t1=Valašské Meziříčí"_s)
            .replaceInStrings(u"t2=Tým 2"_s, u"t2=Frýdek-Místek"_s);
        return fixture::writeLeague(QDir(m_dir.filePath(u"souteze"_s)), competition,
                                    fixture::scheduleLines(teams, rounds, played), stem);
    }

    QTemporaryDir m_dir;
    RecordingDesktop m_desktop;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_textfit)
#include "tst_textfit.moc"
