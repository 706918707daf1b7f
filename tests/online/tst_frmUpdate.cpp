// SPDX-License-Identifier: MIT
#include "entry/frmMain.h"
#include "fixture/league.h"
#include "fixture/loopbackserver.h"
#include "fixture/openleague.h"
#include "fixture/programfolder.h"
#include "online/frmUpdate.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_frmUpdate final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void updateReloadsInPlace()
    {
        QTemporaryDir site, program;
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR "/../update-site"), site.path());
        fixture::copyTree(QStringLiteral(RINKOMAT_DIST_DIR), program.path());
        LoopbackServer server(site.path());
        RecordingDesktop desktop;
        desktop.folder = program.path();
        desktop.answers = {Desktop::Answer::Yes};
        const QString competition = program.filePath(u"souteze/sezona_extraliga0708.txt"_s);
        auto* main = new frmMain(competition, scheduleFileFor(competition));
        QVERIFY(main->Form_Load().ok());
        main->show();
        fixture::roundList(main)->setCurrentIndex(39);
        fixture::type(main, 2, u"7:6n"_s); // typed, not yet left

        QPointer<frmUpdate> update = new frmUpdate(main, *main, server.url(), {3000, 10000, kMaxResponseBytes});
        update->open();
        WAIT_FOR(!update); // the window closes itself at the end
        QCOMPARE(desktop.messages.size(), 1);
        QCOMPARE(desktop.beeps, 1);
        QCOMPARE(main->shownRound(), 40);
        QCOMPARE(fixture::resultField(main, 2)->text(), u"7:6n"_s);
        // The season in memory is the downloaded one: round 25 has its results now.
        QVERIFY(!main->season().VYSLEDEK(1, 25).isEmpty());
        main->close();
    }
};

QTEST_MAIN(tst_frmUpdate)
#include "tst_frmUpdate.moc"
