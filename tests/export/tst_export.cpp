// SPDX-License-Identifier: MIT
#include "export/formats.h"
#include "fixture/league.h"
#include "lookups/lookups.h"
#include "standings/graph.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"
#include "stats/streaks.h"

#include <QTest>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

using namespace Qt::StringLiterals;

namespace {

// The unfolded content lines of an iCalendar text.
QStringList unfold(const QByteArray& bytes)
{
    QByteArray joined = bytes;
    joined.replace("\r\n ", "");
    QStringList lines = QString::fromUtf8(joined).split(u"\r\n"_s);
    lines.removeLast();
    return lines;
}

const QString kOddName = u"Tým; \"A\" <b>&amp"_s;

ViewTable oddView()
{
    return {u"Liga <1> & \"spol\""_s,
            {u"tým"_s, u"poznámka"_s},
            {{kOddName, u"1:0\r\n2:2p\r\n"_s}, {u"Tým 2"_s, QString()}}};
}

} // namespace

class tst_export final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void csv()
    {
        // RFC 4180 with ";": a field holding the separator, a quote or a line break is quoted, quotes doubled.
        QCOMPARE(toCsv(oddView()),
                 QByteArray("\xEF\xBB\xBFtým;poznámka\r\n\"Tým; \"\"A\"\" <b>&amp\";\"1:0\r\n2:2p\r\n\"\r\n"
                            "Tým 2;\r\n"));
        // A cell a spreadsheet would run as a formula is text; a signed number stays a number.
        const ViewTable hostile{{},
                                {u"tým"_s, u"body"_s},
                                {{u"=HYPERLINK(\"x\")"_s, u"-3"_s},
                                 {u"+cmd|' /C calc'!A0"_s, u"+2"_s},
                                 {u"-2+3"_s, u"@SUM(A1)"_s},
                                 {u"\tTAB"_s, u"-1,5"_s}}};
        QCOMPARE(toCsv(hostile), QByteArray("\xEF\xBB\xBFtým;body\r\n\"'=HYPERLINK(\"\"x\"\")\";-3\r\n"
                                            "'+cmd|' /C calc'!A0;+2\r\n'-2+3;'@SUM(A1)\r\n'\tTAB;-1,5\r\n"));
    }

    void htmlReadsBack()
    {
        const ViewTable v = oddView();
        const QByteArray html = toHtml(v);
        QVERIFY(html.contains("<html lang=\"cs\">"));
        QVERIFY(html.contains("<meta charset=\"utf-8\">")); // a browser reads the Czech letters right
        QVERIFY(!html.contains("<script") && !html.contains("http"));
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(html));
        QCOMPARE(doc.metaInformation(QTextDocument::DocumentTitle), v.caption);
        QTextTable* table = nullptr;
        for (QTextFrame* f : doc.rootFrame()->childFrames())
            table = table ? table : qobject_cast<QTextTable*>(f);
        QVERIFY(table);
        QCOMPARE(table->rows(), 3);
        QCOMPARE(table->columns(), 2);
        const auto cell = [&](int r, int c) {
            QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
            cursor.setPosition(table->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
            return cursor.selectedText();
        };
        QCOMPARE(cell(0, 1), u"poznámka"_s);
        QCOMPARE(cell(1, 0), kOddName);
        QCOMPARE(cell(1, 1), u"1:0\u2028"
                             "2:2p"_s); // a line break within the cell
    }

    void viewsKeepTheirColumns()
    {
        const SeasonStore s = fixture::season({{1, 1, u"2:1"_s}, {2, 7, u"0:3"_s}});
        const QList<ViewTable> views{
            standingsView(s, 1, kRounds, venue::Total, Criterion::Points, RankingRules::Final, u"t"_s),
            standingsView(s, 1, kRounds, venue::Home, Criterion::ExtraTimeMatches, RankingRules::Running, u"t"_s),
            graphView(s),
            streaksView(s, venue::Total, 0, OvertimeMode::Draw, streakorder::ByCurrent),
            crossView(s),
            balanceView(s, 14),
            matchesView(s, 14),
            headToHeadView(s, 13, 14),
            missingView(s, QDate(2008, 1, 1)),
            calendarView(s, readCalendar("a3=1.1. - 2.1.=Turnaj"))};
        const QList<int> rows{kTeams, kTeams, kRounds, kTeams, kTeams, 10, kRounds, kRounds, 0, 1};
        for (qsizetype i = 0; i < views.size(); ++i) {
            QVERIFY2(views[i].caption.startsWith(u"Liga  2007/2008 – "_s), qPrintable(views[i].caption));
            if (i != 8) // every match of the season is missing, under round headers
                QCOMPARE(views[i].rows.size(), rows[i]);
            for (const QStringList& row : views[i].rows)
                QCOMPARE(row.size(), views[i].header.size());
        }
        QCOMPARE(views[1].header[8], u"prodlužovaná utkání"_s); // the value column of criterion 11
        QCOMPARE(views[0].header[8], u"skóre"_s);
        QCOMPARE(views[2].rows[0].value(0), u"1"_s); // the graph's rows start with the round
        QCOMPARE(views[2].rows[51].value(0), u"52"_s);
        QCOMPARE(views[4].rows[13].value(0), u"Tým 14"_s);
        QVERIFY(views[4].rows[13].value(13).startsWith(u"0:3\r\n\r\n"_s)); // 14 at home to 13 in round 2
    }

    void iCalendar_data()
    {
        QTest::addColumn<int>("team");
        QTest::addColumn<int>("events");
        QTest::addRow("whole league") << 0 << kRounds * kSlots;
        QTest::addRow("one team") << 3 << kRounds;
    }

    void iCalendar()
    {
        QFETCH(int, team);
        QFETCH(int, events);
        SeasonStore s = fixture::season({{12, 2, u"3:2p"_s}});
        s.setTeamName(4, u"Tým; s čárkou, a \\ dlouhým názvem, který se do 75 bajtů nevejde"_s);
        const QDateTime stamp(QDate(2007, 10, 20), QTime(18, 5), Qt::UTC);
        const QByteArray ics = toICalendar(s, u"/x/sezona_test.txt"_s, team, stamp);
        for (const QByteArray& line : ics.split('\n')) {
            QVERIFY(line.isEmpty() || line.endsWith('\r'));
            QVERIFY2(line.size() <= 76, line.constData());     // 75 octets and the CR
            QVERIFY(QString::fromUtf8(line).toUtf8() == line); // never cut inside a letter
        }
        const QStringList lines = unfold(ics);
        QCOMPARE(lines.first(), u"BEGIN:VCALENDAR"_s);
        QCOMPARE(lines.last(), u"END:VCALENDAR"_s);
        QCOMPARE(lines.count(u"BEGIN:VEVENT"_s), events);
        QStringList uids = lines.filter(QRegularExpression(u"^UID:"_s));
        QCOMPARE(uids.size(), events);
        uids.removeDuplicates();
        QCOMPARE(uids.size(), events);
        // Another export later: the same events, so that a calendar updates them.
        QCOMPARE(unfold(toICalendar(s, u"/y/sezona_test.txt"_s, team, stamp.addDays(3))).filter(u"UID:"_s),
                 lines.filter(u"UID:"_s));
        QVERIFY(lines.contains(u"DTSTAMP:20071020T180500Z"_s));
        // Round 12, slot 2: team 4 at home against team 3, played.
        const qsizetype at = lines.indexOf(u"UID:sezona_test-12-2@rinkomat"_s);
        QVERIFY(at > 0);
        QCOMPARE(lines[at + 2], u"DTSTART;VALUE=DATE:"_s + fixture::roundDate(12).toString(u"yyyyMMdd"_s));
        QCOMPARE(
            lines[at + 4],
            u"SUMMARY:Tým\\; s čárkou\\, a \\\\ dlouhým názvem\\, který se do 75 bajtů nevejde - Č. Budějovice  3:2p"_s);
        QCOMPARE(lines[at + 5], u"DESCRIPTION:12. kolo\\nLiga  2007/2008"_s);
        // A line of exactly 75 octets stays whole.
        s.setTeamName(4, QString(43, u'A'));
        QVERIFY(
            toICalendar(s, u"/x/sezona_test.txt"_s, team, stamp)
                .contains(QByteArray("\r\nSUMMARY:" + QByteArray(43, 'A') + " - Č. Budějovice  3:2p\r\nDESCRIPTION:")));
    }
};

QTEST_MAIN(tst_export)
#include "tst_export.moc"
