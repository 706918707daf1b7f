// SPDX-License-Identifier: MIT
// How long the user waits from a command to the shown window (offscreen platform).
#include "entry/frmMain.h"
#include "season/seasonfile.h"

#include <QAction>
#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class bench_gui final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runningTableOnF2();
};

void bench_gui::runningTableOnF2()
{
    const QString competition = QStringLiteral(RINKOMAT_DIST_DIR "/souteze/sezona_extraliga0708.txt");
    frmMain main(competition, scheduleFileFor(competition));
    QVERIFY(main.Form_Load().ok());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QAction* command = main.findChild<QAction*>(u"mnuPrubezna"_s);
    QBENCHMARK
    {
        command->trigger();
        QWidget* table = QApplication::activeModalWidget();
        QVERIFY(table && QTest::qWaitForWindowExposed(table));
        table->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QTEST_MAIN(bench_gui)
#include "bench_gui.moc"
