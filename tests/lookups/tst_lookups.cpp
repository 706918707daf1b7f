// SPDX-License-Identifier: MIT
#include "fixture/league.h"
#include "lookups/lookups.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_lookups final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void balance()
    {
        // Results as "round slot result"; team 1's home, away and total columns, "|" between the rows.
        const QString none = u"0|0|0|0|0|0|0:0|0|0 %|0 %"_s;
        for (const auto& [results, home, away, total] :
             {std::tuple{QString(), none, none, none},
              {u"1 1 3:2p|2 1 5:2p|3 1 2:2"_s, u"2|0|1|1|0|0|5:4|3|75 %|50 %"_s, u"1|0|0|0|0|1|2:5|0|0 %|0 %"_s,
               u"3|0|1|1|0|1|7:9|3|75 %|33 %"_s},
              // One overtime win and seven overtime losses: 12.5 % goes to 12.
              {u"1 1 3:2p|3 1 2:3p|5 1 2:3n|7 1 1:2n|9 1 0:1p|11 1 3:4p|13 1 4:5n|15 1 5:6p"_s,
               u"8|0|1|0|7|0|20:26|9|12 %|37 %"_s, none, u"8|0|1|0|7|0|20:26|9|12 %|37 %"_s}}) {
            QStringList got[3];
            for (const BalanceRow& r : teamBalance(fixture::season(results), 1))
                got[0] << r.home, got[1] << r.away, got[2] << r.total;
            QCOMPARE(QStringList({got[0].join(u'|'), got[1].join(u'|'), got[2].join(u'|')}),
                     QStringList({home, away, total}));
        }
        QCOMPARE(teamBalance(fixture::season(), 1)[6].caption, u"skóre:"_s);
    }

    void overallSuccessRoundsDown()
    {
        // 29 home wins and 21 home losses: 87 points of 50 games is 57.999… per cent.
        SeasonStore s = fixture::season();
        int played = 0;
        for (int r = 1; r <= kRounds; ++r) {
            for (int m = 1; m <= kSlots && played < 50; ++m, ++played)
                s.match(m, r) = {1, 2, played < 29 ? u"1:0"_s : u"0:1"_s};
        }
        const auto rows = teamBalance(s, 1);
        QCOMPARE(rows[0].home + u'|' + rows[7].home + u'|' + rows[8].home + u'|' + rows[9].home, u"50|87|0 %|57 %"_s);
    }

    void matchLines()
    {
        SeasonStore s = fixture::season({{3, 2, u"3:2p"_s}});
        s.setDate(3, QDate(2007, 9, 14));
        s.setDate(12, QDate(2007, 10, 7));
        s.setTeamName(4, u"Velmi dlouhý název klubu"_s);
        const QStringList lines = teamMatchLines(s, 3);
        QCOMPARE(lines.size(), kRounds);
        QCOMPARE(lines[2], u" 3. kolo   14.9.    Č. Budějovice - Velmi dlouhý název klubu 3:2p"_s); // pushed, not glued
        QCOMPARE(lines[11], u"12. kolo   7.10.    Velmi dlouhý název klubu - Č. Budějovice"_s);
        s.setTeamName(4, u"Tým 4"_s);
        const QStringList aligned = teamMatchLines(s, 3);
        QCOMPARE(aligned[2], u" 3. kolo   14.9.    Č. Budějovice - Tým 4"_s + QString(10, u' ') + u"3:2p");
        QCOMPARE(aligned[2].indexOf(u"3:2p"_s), aligned[11].size());
        QCOMPARE(teamMatchLines(s, 14).size(), kRounds); // team 14 plays in the round's last slot
    }

    void printedPage()
    {
        const SeasonStore s = fixture::season();
        const QString page = matchesPage(s, 3, {u"a"_s, u"b"_s}, QDateTime(QDate(2007, 11, 5), QTime(9, 7)));
        const QString m = u"      "_s; // the left margin
        QCOMPARE(page, QStringList({m, m, m, m + u"Č. BUDĚJOVICE  -  Liga  2007/2008", m + QString(33, u'='), m,
                                    m + u'a', m + u'b', m, m + u"vytisknuto 05.11.2007 v 09:07",
                                    m + u"www.rinkomat.example/velmor   (verze 3.4.1)"})
                           .join(u"\r\n"_s));
    }

    void headToHead()
    {
        // The same team twice, an empty entry, a number beyond 14.
        for (const auto& [first, second] : {std::pair{5, 5}, {0, 6}, {0, 0}, {15, 3}, {3, 15}}) {
            QCOMPARE(headToHeadLines(fixture::season(), first, second), QStringList{u"nesprávné zadání"_s});
            QCOMPARE(headToHeadView(fixture::season(), first, second).rows,
                     QList<QStringList>{{u"nesprávné zadání"_s}});
        }
        QCOMPARE(headToHeadLines(fixture::season(), 1, 3), QStringList()); // they never meet
        // The fixture pairs 1 with 2 and 13 with 14 in every round, the last in the round's last slot.
        const SeasonStore s = fixture::season({{3, 1, u"2:1"_s}, {3, 7, u"2:1"_s}});
        for (const auto& [first, second] : {std::pair{2, 1}, {14, 13}}) {
            const QStringList lines = headToHeadLines(s, first, second);
            QCOMPARE(lines.size(), kRounds);
            QVERIFY2(lines[2].contains(u"2:1"_s) && lines[2].contains(u"Tým %1"_s.arg(second)), qPrintable(lines[2]));
        }
    }

    void missing()
    {
        SeasonStore s = fixture::season();
        for (int r = 1; r <= kRounds; ++r) {
            for (int m = 1; m <= kSlots; ++m)
                s.match(m, r).result = u"1:0"_s;
        }
        QVERIFY(missingResults(s, QDate(2030, 1, 1)).lines.isEmpty());
        for (int r = 1; r <= 3; ++r)
            s.match(4, r).result.clear();
        s.match(6, 2).result.clear();
        s.match(7, 52).result.clear();
        // Rounds of today and later are not listed yet.
        const QStringList round1{u">>  1. kolo  <<"_s, u"Tým 7 - Tým 8"_s, QString()};
        const QStringList round2{u">>  2. kolo  <<"_s, u"Tým 8 - Tým 7"_s, u"Tým 12 - Tým 11"_s, QString()};
        QCOMPARE(missingResults(s, fixture::roundDate(3)).lines, round1 + round2);
        QCOMPARE(missingResults(s, fixture::roundDate(3)).rounds, QList<int>({1, 1, 0, 2, 2, 2, 0}));
        QCOMPARE(missingResults(s, fixture::roundDate(3).addDays(1)).lines.size(), 10);
        QCOMPARE(missingResults(s, QDate(2030, 1, 1)).lines.mid(10),
                 QStringList({u">>  52. kolo  <<"_s, u"Tým 14 - Tým 13"_s, QString()}));
    }

    // Matches on days of their own: missing once that day is over, listed among the next ones by day and kick-off,
    // and among the postponed.
    void ownDates()
    {
        SeasonStore s = fixture::season();
        const QDate later = fixture::roundDate(5).addDays(1);
        s.matchDates.insert({2, 4}, MatchDate{later, QTime(18, 0), false}); // Tým 8 - Tým 7, played late
        s.matchDates.insert({1, 3}, MatchDate{{}, {}, true});               // Tým 5 - Tým 6, no day yet
        s.matchDates.insert({3, 5}, MatchDate{{}, QTime(17, 30), false});   // its round's day, a kick-off
        const MissingResults missing = missingResults(s, fixture::roundDate(3));
        QVERIFY(!missing.lines.contains(u"Tým 8 - Tým 7"_s) && !missing.lines.contains(u"Tým 5 - Tým 6"_s));
        QVERIFY(missingResults(s, later.addDays(1)).lines.contains(u"Tým 8 - Tým 7"_s));
        QCOMPARE(teamMatchLines(s, 5)[0].mid(10, 9).trimmed(), u"odloženo"_s);

        const MissingResults next = nextMatches(s, fixture::roundDate(5), 2);
        QCOMPARE(next.lines.size(), kSlots + 1);
        QCOMPARE(next.lines.last(), u"%1 18:00  Tým 8 - Tým 7  (2. kolo)"_s.arg(shortDate(later)));
        QCOMPARE(next.rounds.last(), 2);
        QCOMPARE(nextMatches(s, fixture::roundDate(5), 1).lines.size(), kSlots); // the day after is the next day's
        const MissingResults third = nextMatches(s, fixture::roundDate(3), 1);
        QCOMPARE(third.lines.size(), kSlots);
        QCOMPARE(third.lines[0], u"%1  Tým 1 - Tým 2  (3. kolo)"_s.arg(shortDate(fixture::roundDate(3))));
        QVERIFY(third.lines.contains(u"%1 17:30  Tým 9 - Tým 10  (3. kolo)"_s.arg(shortDate(fixture::roundDate(3)))));
        QVERIFY(third.lines.last().contains(u"17:30"_s)); // a kick-off after the games without one
        QCOMPARE(postponedMatches(s).lines,
                 (QStringList{u"odloženo  Tým 5 - Tým 6  (1. kolo)"_s,
                              u"%1 18:00  Tým 8 - Tým 7  (2. kolo)"_s.arg(shortDate(later))}));
        s.match(3, 1).result = u"2:1"_s;               // slot 3 of round 1
        QCOMPARE(postponedMatches(s).lines.size(), 1); // played since
    }

    void calendar()
    {
        const QStringList file{u"; komentář"_s,
                               u"a1=12.8. - 17.8.=Turnaj"_s,
                               u"b1=1.1. - 2.1.=Jiné"_s,
                               u"a07=1.9. - 2.9.=Sedmá"_s,
                               u"a11=1.1. - 1.1.=Mimo"_s,
                               u"a10=5.5. - 6.5.=Desátá"_s,
                               u"a3=bez druhého rovnítka"_s,
                               QString(),
                               u"a1=13.8. - 18.8.=Turnaj = finále"_s};
        const auto events = readCalendar(encodeLines(file));
        QCOMPARE(events[0].dates, u"13.8. - 18.8."_s);
        QCOMPARE(events[0].name, u"Turnaj = finále"_s);
        QCOMPARE(events[6].name, u"Sedmá"_s);
        QCOMPARE(events[9].name, u"Desátá"_s);
        // What the update accepts as a calendar.
        QVERIFY(checkCalendar(encodeLines(file.mid(0, 2) + file.mid(3, 1)), u"k.dat"_s).ok());
        QVERIFY(checkCalendar(encodeLines(file), u"k.dat"_s).error().startsWith(u"Soubor „k.dat“, řádek 3:"_s));
        QVERIFY(checkCalendar(encodeLines({u"a10=x=y"_s, u"a11=x=y"_s}), u"k.dat"_s).error().contains(u"řádek 2"_s));
        QVERIFY(checkCalendar(encodeLines({u"; jen komentář"_s}), u"k.dat"_s).error().contains(u"žádnou akci"_s));
        QVERIFY(!events[2].announced());
        QCOMPARE(calendarFileName(u"2007/2008"_s), u"kalendar_0708.dat"_s);
    }
};

QTEST_APPLESS_MAIN(tst_lookups)
#include "tst_lookups.moc"
