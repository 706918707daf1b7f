// SPDX-License-Identifier: MIT
#include "fixture/filesizelimit.h"
#include "fixture/league.h"
#include "season/adjustments.h"
#include "season/newleague.h"
#include "season/seasonfile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

NewLeague request(int teams, int meetings = 2)
{
    NewLeague r{u"Krajská liga"_s, u"2026/2027"_s, {}, {2, 0, 0}, meetings, QDate(2026, 9, 1), {2, 5, 7}, {}, {}, {}};
    for (int t = 1; t <= teams; ++t)
        r.teams << u"Klub %1"_s.arg(t);
    return r;
}

} // namespace

class tst_newleague final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every rule of a generated season, for every size and up to four meetings: no pair meets in two rounds
    // running.
    void scheduleRules()
    {
        for (int n = 2; n <= kMaxTeams; ++n) {
            for (int k = 1; k <= 4; ++k) {
                const QString shape = u"%1 teams, %2 meetings: "_s.arg(n).arg(k);
                const QList<RoundPairings> rounds = roundRobinSchedule(n, k);
                const int perBlock = n % 2 ? n : n - 1;
                QCOMPARE(rounds.size(), k * perBlock);
                QMap<std::pair<int, int>, int> homes; // (home, away) → meetings
                QList<QString> pattern(n + 1);        // H and A of each team, rests left out
                QList<int> rests(n + 1);
                for (int r = 0; r < rounds.size(); ++r) {
                    QCOMPARE(rounds[r].size(), n / 2);
                    QSet<int> playing;
                    for (const auto& [home, away] : rounds[r]) {
                        QVERIFY(home >= 1 && home <= n && away >= 1 && away <= n && home != away);
                        playing << home << away;
                        ++homes[{home, away}];
                        pattern[home] += u'H', pattern[away] += u'A';
                    }
                    QCOMPARE(playing.size(), 2 * (n / 2));
                    for (int t = 1; t <= n; ++t)
                        rests[t] += !playing.contains(t);
                    if ((r + 1) % perBlock == 0) { // a block: every pair once
                        QMap<std::pair<int, int>, int> met;
                        for (int b = r + 1 - perBlock; b <= r; ++b)
                            for (const auto& [home, away] : rounds[b])
                                ++met[{std::min(home, away), std::max(home, away)}];
                        QVERIFY2(met.size() == n * (n - 1) / 2 &&
                                     std::all_of(met.begin(), met.end(), [](int c) { return c == 1; }),
                                 qPrintable(shape + u"block ending in round %1"_s.arg(r + 1)));
                    }
                }
                for (int a = 1; a <= n; ++a) {
                    QVERIFY2(!pattern[a].contains(u"HHH"_s) && !pattern[a].contains(u"AAA"_s),
                             qPrintable(shape + pattern[a]));
                    QCOMPARE(rests[a], n % 2 ? k : 0);
                    for (int b = a + 1; b <= n; ++b) {
                        const int ab = homes.value({a, b}), ba = homes.value({b, a});
                        QVERIFY2(ab + ba == k && std::abs(ab - ba) == k % 2, qPrintable(shape));
                    }
                }
                // As few breaks as rounds without a rematch allow: none inside a block of an odd league, the fewest
                // a single round robin can have in an even one, and any two blocks within 3n - 6.
                if (n % 2)
                    QVERIFY2(countBreaks(rounds, n) <= k - 1, qPrintable(shape));
                for (int b = 0; b < k && n % 2 == 0; ++b) {
                    QCOMPARE(countBreaks(rounds.mid(b * perBlock, perBlock), n), n - 2);
                    if (b + 1 < k)
                        QVERIFY2(countBreaks(rounds.mid(b * perBlock, 2 * perBlock), n) <= 3 * n - 6,
                                 qPrintable(shape));
                }
                for (int r = 1; r < rounds.size() && n > 2; ++r)
                    for (const auto& [home, away] : rounds[r])
                        QVERIFY2(!rounds[r - 1].contains({home, away}) && !rounds[r - 1].contains({away, home}),
                                 qPrintable(shape + u"round %1"_s.arg(r + 1)));
            }
        }
    }

    // Round r on the r-th playing weekday from the first day on, breaks left out.
    void matchDays()
    {
        NewLeague r = request(4, 1); // 3 rounds
        r.breaks = {{QDate(2026, 9, 2), QDate(2026, 9, 5)}};
        const SeasonStore s = makeLeague(r).value();
        QCOMPARE(QList<QDate>({s.DATUM_KOLA(1), s.DATUM_KOLA(2), s.DATUM_KOLA(3)}),
                 QList<QDate>({QDate(2026, 9, 1), QDate(2026, 9, 6), QDate(2026, 9, 8)})); // út; ne; út
        QCOMPARE(s.caption, u"Krajská liga  2026/2027"_s);
        QCOMPARE(s.HR1, 2);
        QCOMPARE(parseWeekdays(u"Út, PA,ne"_s).value(), QList<int>({2, 5, 7}));
        QVERIFY(parseWeekdays(u"út,xx"_s).error().contains(u"„xx“"_s));
        QCOMPARE(parseDateRange(u"1.1.2027-6.1.2027"_s).value(), std::pair(QDate(2027, 1, 1), QDate(2027, 1, 6)));
        QVERIFY(!parseDateRange(u"6.1.2027-1.1.2027"_s).ok());
        QCOMPARE(leagueCode(u"Krajská liga Č. 1"_s, u"2026/2027"_s), u"krajskaligac12627"_s);
    }

    // A kick-off per weekday: every match of a round on that day starts then, written beside the schedule and
    // read back; refused with what is wrong; a dates file that cannot be written leaves no league behind.
    void kickOffsByWeekday()
    {
        NewLeague r = request(20, 4);
        r.kickOffs = parseKickOffs(u"út=18:00, NE=17:30,pá=19:05"_s).value();
        const SeasonStore made = makeLeague(r).value();
        const QMap<int, QTime> expected{{2, QTime(18, 0)}, {5, QTime(19, 5)}, {7, QTime(17, 30)}};
        for (int round = 1; round <= made.rounds(); ++round)
            for (int slot = 1; slot <= made.slots(); slot += 9) {
                QCOMPARE(made.matchTime(slot, round), expected.value(made.DATUM_KOLA(round).dayOfWeek()));
                QCOMPARE(made.matchDay(slot, round), made.DATUM_KOLA(round));
            }
        const QTemporaryDir dir;
        const QByteArray schedule = scheduleBytes(made, TextEncoding::Windows1250);
        {
            const fixture::FileSizeLimit limit(schedule.size() + 10); // the schedule fits, its dates do not
            QVERIFY(limit.set());
            QVERIFY(!writeNewLeague(dir.path(), u"casy"_s, made).ok());
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        const QString path = writeNewLeague(dir.path(), u"casy"_s, made).value();
        QCOMPARE(readLeague(path).value().store.matchDates, made.matchDates);
        for (const QString& wrong : {u"st=25:00"_s, u"xx=18:00"_s, u"st18:00"_s, u"st,so=17:00"_s, u"st=18"_s})
            QVERIFY2(parseKickOffs(wrong).error().contains(u"není den a čas začátku"_s), qPrintable(wrong));
        QVERIFY(parseKickOffs(QString()).value().isEmpty());
    }

    void refusals_data()
    {
        QTest::addColumn<int>("teams");
        QTest::addColumn<int>("meetings");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("noDays");
        QTest::addColumn<QString>("fault");
        QTest::addRow("one team") << 1 << 2 << 0 << false << "2 až 20 týmů";
        QTest::addRow("21 teams") << 21 << 2 << 0 << false << "2 až 20 týmů";
        QTest::addRow("no meeting") << 4 << 0 << 0 << false << "1× až 8×";
        QTest::addRow("nine meetings") << 4 << 9 << 0 << false << "1× až 8×";
        QTest::addRow("a line below the last team") << 4 << 2 << 5 << false << "čára 2 musí být od 0 do 4";
        QTest::addRow("no match day") << 4 << 2 << 0 << true << "nenechávají žádný hrací den";
    }

    void refusals()
    {
        QFETCH(int, teams);
        QFETCH(int, meetings);
        QFETCH(int, line);
        QFETCH(bool, noDays);
        QFETCH(QString, fault);
        NewLeague r = request(teams, meetings);
        r.lines[1] = line;
        if (noDays)
            r.breaks = {{QDate(2026, 1, 1), QDate(2030, 1, 1)}};
        const QString error = makeLeague(r).error();
        QVERIFY2(error.contains(fault), qPrintable(error));
    }

    // The limits themselves make leagues: two teams meeting the most times, twenty meeting once.
    void limitsAccepted()
    {
        const Result<SeasonStore> most = makeLeague(request(2, kMaxMeetings));
        QVERIFY2(most.ok(), qPrintable(most.error()));
        QCOMPARE(most.value().rounds(), kMaxMeetings);
        QVERIFY(makeLeague(request(20, 1)).ok());
    }

    // Written as the program reads it, and never over a league that is there.
    void writtenFiles()
    {
        const QTemporaryDir dir;
        NewLeague r = request(15, 4);
        r.teams[2] = u"Č. Budějovice"_s;
        const SeasonStore made = makeLeague(r).value();
        const QString path = writeNewLeague(dir.path(), leagueCode(r.name, r.season), made).value();
        QCOMPARE(QFileInfo(path).fileName(), u"sezona_krajskaliga2627.txt"_s);
        SeasonStore read = fixture::load(path);
        QCOMPARE(read, made);
        QCOMPARE(read.rounds(), 60);
        const QByteArray before = fixture::contents(path);
        QVERIFY(writeNewLeague(dir.path(), u"krajskaliga2627"_s, made).error().contains(u"už ve složce je"_s));
        QVERIFY(writeNewLeague(dir.path(), u"../ven"_s, made).error().contains(u"nejde použít"_s));
        QCOMPARE(fixture::contents(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
        r.teams[3] = r.teams[2];
        QVERIFY(makeLeague(r).error().contains(u"dvakrát"_s));
    }
};

QTEST_GUILESS_MAIN(tst_newleague)
#include "tst_newleague.moc"
