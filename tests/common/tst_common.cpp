// SPDX-License-Identifier: MIT
#include "common/pacing.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_common final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The designed pace unless the environment asks for a positive factor.
    void pace()
    {
        QCOMPARE(pacing::factorFrom(u"0.01"_s), 0.01);
        for (const QString& other : {QString(), u"x"_s, u"0"_s, u"-1"_s})
            QCOMPARE(pacing::factorFrom(other), 1.0);
    }
};

QTEST_APPLESS_MAIN(tst_common)
#include "tst_common.moc"
