// SPDX-License-Identifier: MIT
#include "season/notation.h"

#include <QTest>

class tst_notation final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typing_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("classes"); // home and away letter, empty when nothing is stored

        QTest::addRow("keypad overtime") << "5+4-" << "5:4p" << "5:4p" << "BD";
        QTest::addRow("keypad shoot-out") << "2+1/" << "2:1n" << "2:1n" << "BD";
        QTest::addRow("regulation") << "4:2" << "4:2" << "4:2" << "AE";
        QTest::addRow("away regulation") << "1+4" << "1:4" << "1:4" << "EA";
        QTest::addRow("away overtime") << "3:4n" << "3:4n" << "3:4n" << "DB";
        QTest::addRow("suffix on two-goal margin dropped") << "3:1p" << "3:1p" << "3:1" << "AE";
        QTest::addRow("draw gets p") << "2:2" << "2:2" << "2:2p" << "CC";
        QTest::addRow("draw shoot-out becomes p") << "2:2n" << "2:2n" << "2:2p" << "CC";
        QTest::addRow("goalless draw") << "0+0" << "0:0" << "0:0p" << "CC";
        QTest::addRow("two digits each") << "12:11n" << "12:11n" << "12:11n" << "BD";
        QTest::addRow("two-digit draw") << "10:10p" << "10:10p" << "10:10p" << "CC";
        QTest::addRow("blanks trimmed") << " 3:2 " << " 3:2 " << "3:2" << "AE";
        QTest::addRow("blanks around suffix form") << "10:10p " << "10:10p " << "10:10p" << "CC";
        QTest::addRow("capital P") << "3:2P" << "3:2P" << "" << "";
        QTest::addRow("three digits") << "100:1" << "100:1" << "" << "";
        QTest::addRow("three away digits") << "1:100" << "1:100" << "" << "";
        QTest::addRow("semicolon") << "3;2"
                                   << "3;2"
                                   << ""
                                   << "";
        QTest::addRow("dash between goals") << "3-2" << "3p2" << "" << "";
        QTest::addRow("missing away goals") << "3:" << "3:" << "" << "";
        QTest::addRow("two suffixes") << "3:2pn" << "3:2pn" << "" << "";
        QTest::addRow("empty") << "" << "" << "" << "";
        QTest::addRow("blank only") << "  " << "  " << "" << "";
        // clang-format on
    }

    void typing()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, classes);

        QCOMPARE(convertKeypadInput(typed), shown);
        QCOMPARE(normaliseResult(shown), stored);
        // Leaving the field again must not change what was stored.
        QCOMPARE(normaliseResult(stored), stored);
        if (stored.isEmpty()) {
            QVERIFY(classes.isEmpty());
            return;
        }
        const auto [home, away] = classify(ZkoumatVysledek(stored));
        QCOMPARE(QString(letterOf(home)) + letterOf(away), classes);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("home");
        QTest::addColumn<int>("away");
        QTest::addColumn<bool>("extra");
        QTest::addColumn<int>("homePoints");

        QTest::addRow("4:3n") << "4:3n" << 4 << 3 << true << 2;
        QTest::addRow("4:2n from a file") << "4:2n" << 4 << 2 << false << 3;
        QTest::addRow("1:1") << "1:1" << 1 << 1 << true << 1;
        QTest::addRow("5:2p") << "5:2p" << 5 << 2 << false << 3;
        QTest::addRow("2:3p") << "2:3p" << 2 << 3 << true << 1;
        QTest::addRow("0:7") << "0:7" << 0 << 7 << false << 0;
    }

    void parse()
    {
        QFETCH(QString, result);
        QFETCH(int, home);
        QFETCH(int, away);
        QFETCH(bool, extra);
        QFETCH(int, homePoints);
        const ParsedResult r = ZkoumatVysledek(result);
        QCOMPARE(r.HomeGoals, home);
        QCOMPARE(r.AwayGoals, away);
        QCOMPARE(r.ExtraTimeFlag, extra);
        QCOMPARE(pointsOf(classify(r).first), homePoints);
    }
};

QTEST_APPLESS_MAIN(tst_notation)
#include "tst_notation.moc"
