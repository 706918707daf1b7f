// SPDX-License-Identifier: MIT
#include "season/catalogue.h"

#include <QTest>

using Entries = QList<CatalogueEntry>;

class tst_catalogue final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void order_data();
    void order();
};

void tst_catalogue::order_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("expected");
    const QString sep = kCatalogueSeparator;
    QTest::addRow("older first in the folder")
        << QStringList{"A 2006/2007", "B 2007/2008", "C 2006/2007", "D 2007/2008"}
        << QStringList{"B 2007/2008", "D 2007/2008", sep, "A 2006/2007", "C 2006/2007"};
    QTest::addRow("one year, no separator")
        << QStringList{"B 2007/2008", "A 2007/2008"} << QStringList{"B 2007/2008", "A 2007/2008"};
    QTest::addRow("texts without a year go last and the ordering ends")
        << QStringList{"bez roku", "jiná", "A 2006/2007", "B 2007/2008", "x 1999"}
        << QStringList{"B 2007/2008", sep, "A 2006/2007", "x 1999", "bez roku", "jiná"};
    QTest::addRow("empty") << QStringList{} << QStringList{};
}

void tst_catalogue::order()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, expected);
    Entries entries;
    for (const QString& t : texts)
        entries.append({t, u"sezona_"_qs + t + u".txt"_qs});
    const Entries ordered = orderCatalogue(entries);
    QStringList got;
    for (const CatalogueEntry& e : ordered) {
        got << e.text;
        // the file stays with its text
        QCOMPARE(e.file, e.text == kCatalogueSeparator ? QString() : u"sezona_"_qs + e.text + u".txt"_qs);
    }
    QCOMPARE(got, expected);
}

QTEST_APPLESS_MAIN(tst_catalogue)
#include "tst_catalogue.moc"
