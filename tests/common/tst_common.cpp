// SPDX-License-Identifier: MIT
#include "common/pacing.h"

#include <QTest>

class tst_common final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The designed pace unless the environment asks for a positive factor.
    void pace()
    {
        QCOMPARE(pacing::factorFrom(u"0.01"_qs), 0.01);
        for (const QString& other : {QString(), u"x"_qs, u"0"_qs, u"-1"_qs})
            QCOMPARE(pacing::factorFrom(other), 1.0);
    }
};

QTEST_APPLESS_MAIN(tst_common)
#include "tst_common.moc"
