// SPDX-License-Identifier: MIT
// Every window on the fullest season: no text may be cut, at the scale the test runs with.
#include "entry/frmMain.h"
#include "fixture/league.h"
#include "fixture/programfolder.h"
#include "fixture/wait.h"
#include "lookups/frmZapasy.h"
#include "online/frmUpdate.h"
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
#include <QStyleOptionComboBox>
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
            QStringList competition = fixture::competitionLines(teams);
            competition.replaceInStrings(u"t1=Tým 1"_s, u"t1=Valašské Meziříčí"_s)
                .replaceInStrings(u"t2=Tým 2"_s, u"t2=Frýdek-Místek"_s);
            const QString path = fixture::writeLeague(QDir(m_dir.filePath(u"souteze"_s)), competition,
                                                      fixture::scheduleLines(teams, 200, 150), u"velka"_s);
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
    QTemporaryDir m_dir;
    RecordingDesktop m_desktop;
    frmMain* m_main = nullptr;
};

QTEST_MAIN(tst_textfit)
#include "tst_textfit.moc"
