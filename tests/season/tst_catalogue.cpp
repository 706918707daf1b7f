// SPDX-License-Identifier: MIT
#include "season/catalogue.h"

#include <QTest>

using Entries = QList<CatalogueEntry>;

class tst_catalogue final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void order_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("expected");
        const QString sep = kCatalogueSeparator;
        QTest::addRow("older first in the folder")
            << QStringList{u"A 2006/2007"_qs, u"B 2007/2008"_qs, u"C 2006/2007"_qs, u"D 2007/2008"_qs}
            << QStringList{u"B 2007/2008"_qs, u"D 2007/2008"_qs, sep, u"A 2006/2007"_qs, u"C 2006/2007"_qs};
        QTest::addRow("one year, no separator")
            << QStringList{u"B 2007/2008"_qs, u"A 2007/2008"_qs} << QStringList{u"B 2007/2008"_qs, u"A 2007/2008"_qs};
        QTest::addRow("texts without a year go last and the ordering ends")
            << QStringList{u"bez roku"_qs, u"jiná"_qs, u"A 2006/2007"_qs, u"B 2007/2008"_qs, u"x 1999"_qs}
            << QStringList{u"B 2007/2008"_qs, sep, u"A 2006/2007"_qs, u"x 1999"_qs, u"bez roku"_qs, u"jiná"_qs};
        QTest::addRow("empty") << QStringList{} << QStringList{};
    }

    void order()
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
};

QTEST_APPLESS_MAIN(tst_catalogue)
#include "tst_catalogue.moc"
