// SPDX-License-Identifier: MIT
#include "export/formats.h"
#include "fixture/filesizelimit.h"
#include "import/importfields.h"
#include "import/importplan.h"
#include "season/datafiles.h"
#include "season/notation.h"
#include "season/seasonfile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Each line as "date|round|home|away|result"; a time after the date, "|odloženo" and "|stage" where given.
QString shown(const ImportSource& source, bool withTimes = false)
{
    QStringList out;
    for (const ImportLine& l : source.lines) {
        QString date = l.date.isValid() ? shortDate(l.date) : QString();
        if (withTimes && l.time.isValid())
            date += l.time.toString(u" H:mm"_s);
        out << u"%1|%2|%3|%4|%5"_s.arg(date).arg(l.round).arg(l.home, l.away, l.result) +
                   (l.postponed ? u"|odloženo"_s : QString()) + (l.stage.isEmpty() ? QString() : u'|' + l.stage);
    }
    return out.join(u'\n');
}

// Four teams meeting twice: six rounds from 1.9.2026 every Tuesday, Friday and Sunday.
SeasonStore fourTeams(int roundRobins = 2)
{
    NewLeague r{u"Okresní přebor"_s,
                u"2026/2027"_s,
                {u"HC Sparta Praha"_s, u"Rytíři Kladno"_s, u"Slavia Praha"_s, u"Škoda Plzeň"_s},
                {},
                roundRobins,
                QDate(2026, 9, 1),
                {2, 5, 7},
                {},
                {},
                {}};
    return makeLeague(r).value();
}

QByteArray windows1250(const QString& text)
{
    return encodeLines(text.split(u'\n'));
}

} // namespace

class tst_import final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sources_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<bool>("rounds");
        QTest::addColumn<int>("skipped");
        QTest::newRow("semicolons, Czech header, Windows-1250")
            << windows1250(
                   u"Kolo;Datum;Domácí;Hosté;Výsledek\n1;14.3.2008;Sparta;Kladno;5:4 pp\n2;16.3.2008;Plzeň;Slavia;"_s)
            << u"14.3.2008|1|Sparta|Kladno|5:4p\n16.3.2008|2|Plzeň|Slavia|"_s << true << 0;
        QTest::newRow("commas, English header, goal columns, UTF-8 with a mark")
            << (QByteArray("\xEF\xBB\xBF") +
                u"Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,Note\r\nE0,14/03/08,Plzeň,Sparta,2,1,SO\r\nE0,15/03/2008,\"Kladno, a.s.\",Zlín,0,3,\r\n"_s
                    .toUtf8())
            << u"14.3.2008|0|Plzeň|Sparta|2:1n\n15.3.2008|0|Kladno, a.s.|Zlín|0:3"_s << false << 0;
        QTest::newRow("tabs without a header")
            << u"2008-03-14 18:00\tSparta\tKladno\t3-2OT\n2008-03-15\tZlín\tSlavia\t4 - 1\n"_s.toUtf8()
            << u"14.3.2008|0|Sparta|Kladno|3:2p\n15.3.2008|0|Zlín|Slavia|4:1"_s << false << 0;
        QTest::newRow("scores without a header, the first like a time")
            << u"14.3.2008;Sparta;Kladno;10:11\n15.3.2008;Zlín;Slavia;3:2\n"_s.toUtf8()
            << u"14.3.2008|0|Sparta|Kladno|10:11\n15.3.2008|0|Zlín|Slavia|3:2"_s << false << 0;
        QTest::newRow("pasted text")
            << u"Plzeň - Zlín\nPátek 14.3.2008\nSparta – Kladno 5:4 pp (1:2, 2:1, 1:1)\nReklama: vstupenky zde\n"
               "15.3.2008 Frýdek-Místek - Zlín 2:1 sn\nLiberec vs Slavia 3-0\n"_s.toUtf8()
            << u"14.3.2008|0|Sparta|Kladno|5:4p\n15.3.2008|0|Frýdek-Místek|Zlín|2:1n\n14.3.2008|0|Liberec|Slavia|3:0"_s
            << false << 2; // a pairing with no day, round or result is no match: a headline
        QTest::newRow("calendar: folded, escaped, all-day, time zone, UTC late evening, a long organiser")
            << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//CS\r\n"
               "BEGIN:VEVENT\r\nUID:1\r\nORGANIZER;CN=Svaz ledního hokeje oddělení soutěží řízení druhé ligy "
               "skupina západ kancelář sekretáře soutěže:mailto:souteze@example.org\r\n"
               "DTSTART;VALUE=DATE:20080314\r\nSUMMARY:Sparta\\, a.s. - Kla\r\n dno  "
               "5:4p\r\nEND:VEVENT\r\n"
               "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;TZID=Europe/Prague:20080316T173000\r\nSUMMARY:Zlín – "
               "Slavia\r\nEND:VEVENT\r\n"
               "BEGIN:VEVENT\r\nUID:3\r\nDTSTART:20080318T230000Z\r\nSUMMARY:Plzeň vs Kladno 2:3 OT\r\nEND:VEVENT\r\n"
               "END:VCALENDAR\r\n"_ba
            << u"14.3.2008|0|Sparta, a.s.|Kladno|5:4p\n16.3.2008|0|Zlín|Slavia|\n19.3.2008|0|Plzeň|Kladno|2:3p"_s
            << false << 0;
    }
    void sources()
    {
        QFETCH(QByteArray, bytes);
        const Result<ImportSource> read = readImportSource(bytes, u"zapasy.csv"_s);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QFETCH(QString, lines);
        QFETCH(bool, rounds);
        QFETCH(int, skipped);
        QCOMPARE(shown(read.value()), lines);
        QCOMPARE(read.value().hasRounds, rounds);
        QCOMPARE(read.value().skipped, skipped);
    }

    // Team names as pages print them: marks, quotes and dashes around the name go, a bracket or a full stop
    // that belongs to it stays.
    void cleanedNames_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << u"Sparta Praha"_s << u"Sparta Praha"_s;
        QTest::newRow("blanks inside and around") << u"  Sparta   Praha "_s << u"Sparta Praha"_s;
        QTest::newRow("a mark before") << u"* Kladno"_s << u"Kladno"_s;
        QTest::newRow("quotes") << u"„Slavia“"_s << u"Slavia"_s;
        QTest::newRow("a stray full stop before") << u"– .Zlín"_s << u"Zlín"_s;
        QTest::newRow("a bracket opening the name") << u"(B) Plzeň"_s << u"(B) Plzeň"_s;
        QTest::newRow("a bracket closing the name") << u"Dukla (B) "_s << u"Dukla (B)"_s;
        QTest::newRow("an abbreviation's stop") << u" Kladno, a.s."_s << u"Kladno, a.s."_s;
        QTest::newRow("an opened bracket left over") << u"Zlín ("_s << u"Zlín"_s;
        QTest::newRow("nothing but marks") << u" - * "_s << QString();
    }
    void cleanedNames()
    {
        QFETCH(QString, cell);
        QFETCH(QString, name);
        QCOMPARE(cleanTeamName(cell), name);
    }

    // A name of fifty characters is still a team's; one longer is a sentence of the text around the results.
    void longestName()
    {
        const QString fifty = u"HC "_s + QString(47, u'X');
        QVERIFY(standsAsName(fifty));
        QVERIFY(!standsAsName(fifty + u'X'));
    }

    // The columns window shows the first lines of a file: as many as asked for, or as the file has.
    // A calendar's property of exactly the longest length taken is read.
    void calendarLineAtTheLimit()
    {
        const QByteArray ics = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20080314\r\nSUMMARY:A - B\r\n"
                               "DESCRIPTION:" +
                               QByteArray(10000 - 12, 'x') + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        const Result<ImportSource> read = readImportSource(ics, u"x.ics"_s);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read.value().lines.size(), 1);
    }

    void csvPreviewCounts()
    {
        const QByteArray csv = "1.9.2026;A;B;2:1\n2.9.2026;B;A;0:3\n3.9.2026;A;B;\n";
        QCOMPARE(csvPreview(csv, 2).size(), 2);
        QCOMPARE(csvPreview(csv, 3).size(), 3);
        QCOMPARE(csvPreview(csv, 10).size(), 3);
        QCOMPARE(csvPreview(csv, 1).value(0), (QStringList{u"1.9.2026"_s, u"A"_s, u"B"_s, u"2:1"_s}));
        QVERIFY(csvPreview("BEGIN:VCALENDAR\nVERSION:2.0\nSUMMARY:A;B\nSUMMARY:B;A\nEND:VCALENDAR\n", 5).isEmpty());
        // As many fields either way: the semicolon; two fields are no results.
        QCOMPARE(csvPreview("Brno, sever;Zlín, jih;2:1\n", 1).value(0),
                 (QStringList{u"Brno, sever"_s, u"Zlín, jih"_s, u"2:1"_s}));
        QVERIFY(csvPreview("A;B\nB;A\n", 5).isEmpty());
    }

    // Files shaped as real ones, each with what it must read as ("NAME.expected": the lines, "refused: TEXT" or
    // "choice: TEXT"; a first line "options: season=…" reads it so).
    void realFiles_data()
    {
        QTest::addColumn<QString>("path");
        const QDir data(QStringLiteral(RINKOMAT_TEST_DATA "/import"));
        for (const QFileInfo& f : data.entryInfoList(QDir::Files, QDir::Name))
            if (f.suffix() != u"expected")
                QTest::newRow(qPrintable(f.fileName())) << f.filePath();
    }
    void realFiles()
    {
        QFETCH(QString, path);
        QFile file(path),
            expectedFile(QFileInfo(path).path() + u'/' + QFileInfo(path).completeBaseName() + u".expected");
        QVERIFY(file.open(QIODevice::ReadOnly) && expectedFile.open(QIODevice::ReadOnly));
        QStringList expected = QString::fromUtf8(expectedFile.readAll()).trimmed().split(u'\n');
        ImportOptions options;
        if (expected[0].startsWith(u"options: season="_s))
            options.season = expected.takeFirst().section(u'=', 1);
        const Result<ImportSource> read = readImportSource(file.readAll(), QFileInfo(path).fileName(), options);
        if (expected[0].startsWith(u"refused: "_s)) {
            QVERIFY2(!read.ok(), qPrintable(shown(read.valueOr({}))));
            QVERIFY2(read.error().contains(expected[0].mid(9)), qPrintable(read.error()));
            return;
        }
        QVERIFY2(read.ok(), qPrintable(read.error()));
        if (expected[0].startsWith(u"choice: "_s)) {
            QVERIFY2(choiceNeeded(read.value(), options).contains(expected[0].mid(8)),
                     qPrintable(choiceNeeded(read.value(), options)));
            return;
        }
        QCOMPARE(choiceNeeded(read.value(), options), QString());
        QCOMPARE(shown(read.value(), true), expected.join(u'\n'));
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // "date year time" (year F, 2 or -), or empty for no date
        const QList<std::pair<QString, QString>> rows{{u"14.3.2008"_s, u"14.3.2008 F"_s},
                                                      {u"14. 3. 2008 18:30"_s, u"14.3.2008 F 18:30"_s},
                                                      {u"2008-03-14T18:00:00Z"_s, u"14.3.2008 F 18:00"_s},
                                                      {u"07/08/99"_s, u"7.8.2099 2"_s},
                                                      {u"14.3."_s, u"14.3.2000 -"_s},
                                                      {u"Sat Aug/12"_s, u"12.8.2000 -"_s},
                                                      {u"[Fri Aug/11]"_s, u"11.8.2000 -"_s},
                                                      {u"20 Jan 18"_s, u"20.1.2018 2"_s},
                                                      {u"Sat Sep 12 2020"_s, u"12.9.2020 F"_s},
                                                      {u"Sat Sep 12 2020 08:30"_s, u"12.9.2020 F 8:30"_s},
                                                      {u"5 June 2021"_s, u"5.6.2021 F"_s},
                                                      {u"sobota 14. března 2008"_s, u"14.3.2008 F"_s},
                                                      {u"Pátek 1.10.2008"_s, u"1.10.2008 F"_s},
                                                      {u"1. července 2026"_s, u"1.7.2026 F"_s},
                                                      {u"31.2.2008"_s, u"invalid"_s},
                                                      {u"Sparta 12 2020"_s, QString()},
                                                      {u"Aug 123"_s, QString()},
                                                      {u"1. FC Köln"_s, QString()},
                                                      {u"12:30"_s, QString()},
                                                      {u"14. 3. 2008 18:30 19:00"_s, QString()},
                                                      {u"14. března 2008 hala"_s, QString()},
                                                      {u"Aug"_s, QString()}};
        for (const auto& [text, read] : rows)
            QTest::newRow(qPrintable(text)) << text << read;
    }
    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const std::optional<ImportDate> d = readImportDate(text);
        QString shownDate;
        if (d)
            shownDate = !d->date.isValid() ? u"invalid"_s
                                           : shortDate(d->date) +
                                                 (d->year == YearGiven::Full        ? u" F"_s
                                                  : d->year == YearGiven::TwoDigits ? u" 2"_s
                                                                                    : u" -"_s) +
                                                 (d->time.isValid() ? d->time.toString(u" H:mm"_s) : QString());
        QCOMPARE(shownDate, read);
    }

    // Two-digit years and dates without one, each nearest the dates around it or the league's.
    void centuries()
    {
        const QByteArray csv = "datum;domaci;hoste\n28.12.99;A;B\n3.1.00;B;A\n";
        QCOMPARE(shown(readImportSource(csv, u"x.csv"_s).value()), u"28.12.1999|0|A|B|\n3.1.2000|0|B|A|"_s);
        ImportOptions near;
        near.near = QDate(2017, 8, 5);
        QCOMPARE(shown(readImportSource("[Sat Dec/30]\nA - B 1:0\n[Mon Jan/1]\nB - A 2:0\n", u"x.txt"_s, near).value()),
                 u"30.12.2017|0|A|B|1:0\n1.1.2018|0|B|A|2:0"_s);
        near.near = QDate(1961, 1, 1);
        QCOMPARE(readImportSource(csv, u"x.csv"_s, near).value().lines[0].date, QDate(1999, 12, 28));
        near.near = QDate(2022, 6, 1); // 2021 to 2023: no leap year
        QVERIFY(readImportSource("[Thu Feb/29]\nA - B 1:0\n", u"x.txt"_s, near).error().contains(u"29.2."_s));
    }

    // With the fan's columns, a first line whose date cannot be read names them, even with the score's name left
    // empty; a first line whose date can is a match.
    void fansColumns()
    {
        ImportOptions o;
        o.columns = {ColumnRole::Date, ColumnRole::Home, ColumnRole::Away, ColumnRole::Score};
        QCOMPARE(shown(readImportSource("Den;Tým 1;Tým 2;\n14.3.2008;A;B;3:1\n", u"x.csv"_s, o).value()),
                 u"14.3.2008|0|A|B|3:1"_s);
        QCOMPARE(shown(readImportSource("13.3.2008;B;A;2:1\n14.3.2008;A;B;3:1\n", u"x.csv"_s, o).value()),
                 u"13.3.2008|0|B|A|2:1\n14.3.2008|0|A|B|3:1"_s);
        QVERIFY(readImportSource("13.3.2008;B;A;2:1\n", u"x.csv"_s, o).value().resultsKnown);
        o.columns = {ColumnRole::Date, ColumnRole::Home, ColumnRole::Away}; // a fixture list
        QVERIFY(!readImportSource("13.3.2008;B;A\n", u"x.csv"_s, o).value().resultsKnown);
    }

    void scores()
    {
        const QStringList forms{u"5:4"_s,    u"5-4"_s,   u"5:4p"_s,    u"5:4 pp"_s,   u"5:4OT"_s,
                                u"5:4 sn"_s, u"5:4SO"_s, u"5 : 4 n"_s, u"2:2"_s,      u"5:2 pp"_s,
                                u"5:4x"_s,   u"545"_s,   u"5:"_s,      u"5:4 19:30"_s}; // a score and a time is no
                                                                                        // score's cell
        const QStringList notation{u"5:4"_s,  u"5:4"_s,  u"5:4p"_s, u"5:4p"_s, u"5:4p"_s, u"5:4n"_s, u"5:4n"_s,
                                   u"5:4n"_s, u"2:2p"_s, u"5:2"_s,  {},        {},        {},        {}};
        for (qsizetype i = 0; i < forms.size(); ++i)
            QCOMPARE(parseScore(forms[i]).value_or(QString()), notation[i]);
        // A score column's marks of a game not played: no result, and no refusal.
        for (const QString& none : {u" "_s, u"-"_s, u"–"_s, u"v"_s, u"p-p"_s})
            QVERIFY2(readScoreText(none).ok() && readScoreText(none).value().result.isEmpty(), qPrintable(none));
        // Nor is a score there a kick-off time, even where its goals would read as one.
        const Result<MatchTail> high = readScoreText(u"10:12 (3:4, 4:4, 3:4)"_s);
        QVERIFY(high.ok() && high.value().result == u"10:12"_s && !high.value().time.isValid());
        // Seasons named as files name them: the years decide, a missing end year fits any.
        QVERIFY(sameSeason(u"2015/2016"_s, u"2015/16"_s) && sameSeason(u"1999/2000"_s, u"1999-00"_s));
        QVERIFY(sameSeason(u"2015"_s, u"Extraliga 2015/2016"_s) && sameSeason(u"E0"_s, u"e0"_s));
        QVERIFY(!sameSeason(u"1999/2000"_s, u"1999/01"_s) && !sameSeason(u"2015/16"_s, u"2016/17"_s));
        QVERIFY(!readImportDate(u"29/02/2009"_s)->date.isValid());
        QCOMPARE(readImportDate(u"1.10.2008"_s)->date, QDate(2008, 10, 1));
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "\r\n  \r\n"_ba << u"zapasy.csv: soubor je prázdný"_s;
        QTest::newRow("binary") << "PK\x03\x04\0\0xl/sheet"_ba
                                << u"zapasy.csv: soubor není text (obsahuje binární data)"_s;
        QTest::newRow("over 10 MB") << QByteArray(kMaxImportBytes + 1, 'a') << u"větší než 10 MB"_s;
        QTest::newRow("columns unknown") << "1;14.3.2008;5:4\n"_ba << u"řádek 1: sloupce nelze rozpoznat"_s;
        QTest::newRow("header without teams")
            << "datum;kolo;výsledek\n1.1.2008;1;2:1\n"_ba << u"řádek 1: v záhlaví chybí sloupec domácích nebo hostů"_s;
        QTest::newRow("date") << "datum;domaci;hoste\n1.1.2008;A;B\n31.2.2008;A;B\n"_ba
                              << u"řádek 3: datum „31.2.2008“ nelze přečíst"_s;
        QTest::newRow("year 999") << "datum;domaci;hoste\n1.1.2008;A;B\n0999-01-01;B;A\n"_ba
                                  << u"řádek 3: Datum 1.1.999 leží mimo roky 1900 až 2200."_s;
        QTest::newRow("year 9999") << "datum;domaci;hoste\n9999-12-31;A;B\n"_ba
                                   << u"řádek 2: Datum 31.12.9999 leží mimo roky 1900 až 2200."_s;
        QTest::newRow("calendar year 2500")
            << "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:25000101\r\nSUMMARY:A - B\r\nEND:VEVENT\r\n"
               "END:VCALENDAR\r\n"_ba
            << u"událost 1: Datum 1.1.2500 leží mimo roky 1900 až 2200."_s;
        QTest::newRow("score") << "domaci;hoste;vysledek\nA;B;5:4x\n"_ba << u"řádek 2: výsledek „5:4x“ nelze přečíst"_s;
        QTest::newRow("round") << "kolo;domaci;hoste\n201;A;B\n"_ba << u"řádek 2: kolo „201“ není číslo od 1 do 200"_s;
        QTest::newRow("team missing") << "domaci;hoste;vysledek\n;B;5:4\n"_ba << u"řádek 2: chybí domácí nebo hosté"_s;
        QTest::newRow("a second score after the match")
            << "Sparta - Kladno 5:4 3:2\n"_ba << u"řádek 1: „3:2“ za zápasem není výsledek"_s;
        QTest::newRow("no match in text") << "Dobrý den,\nposílám výsledky zítra.\n"_ba << u"není v něm žádný zápas"_s;
        QTest::newRow("control characters")
            << "domaci;hoste\nA\x01;B\n"_ba << u"řádek 2: řádek obsahuje řídicí znaky"_s;
        const QByteArray calendar = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:A - B\r\n";
        QTest::newRow("calendar line over 10,000 characters")
            << calendar + "DESCRIPTION:" + QByteArray(10000, 'x') + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
            << u"vlastnost č. 4 je delší než 10 000 znaků"_s;
        QTest::newRow("a property of 101 parameters")
            << calendar + "X-A" + QByteArray(";P=1").repeated(101) + ":x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
            << u"vlastnost č. 4 má víc než 100 parametrů"_s;
        QTest::newRow("calendar event without teams")
            << "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:Trénink\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_ba
            << u"událost 1: „Trénink“ nejsou dva týmy"_s;
    }
    void refusals()
    {
        QFETCH(QByteArray, bytes);
        const Result<ImportSource> read = readImportSource(bytes, u"zapasy.csv"_s);
        QFETCH(QString, message);
        QVERIFY(!read.ok());
        QVERIFY2(read.error().contains(message), qPrintable(read.error()));
    }

    void teamNames()
    {
        const QStringList teams{u"HC Sparta Praha"_s, u"Rytíři Kladno"_s, u"Slavia Praha"_s, u"Škoda Plzeň"_s,
                                u"Zlín"_s};
        ImportSource source;
        for (const QString& name : {u"HC Sparta Praha"_s, u"sparta praha"_s, u"RYTIRI  KLADNO"_s, u"HC Škoda Plzeň"_s,
                                    u"Plzeň"_s, u"Praha"_s, u"Kometa"_s, u"Plzen B"_s, u"PSG Berani Zlín"_s})
            source.lines.append({1, {}, 0, name, u"Slavia Praha"_s, {}});
        const TeamMatching m = matchTeams(source, teams, {{u"Plzen B"_s, 4}, {u"Kometa"_s, 9}});
        const QMap<QString, int> expected{{u"HC Sparta Praha"_s, 1}, {u"sparta praha"_s, 1},   {u"RYTIRI  KLADNO"_s, 2},
                                          {u"HC Škoda Plzeň"_s, 4},  {u"Plzeň"_s, 4},          {u"Slavia Praha"_s, 3},
                                          {u"Plzen B"_s, 4},         {u"PSG Berani Zlín"_s, 5}};
        QCOMPARE(m.teamOf, expected);
        QCOMPARE(m.unresolved, (QStringList{u"Praha"_s, u"Kometa"_s})); // two teams of Prague; 9 is no team
    }

    // Lines to fixtures: by round, by the nearest date within a week, else the first meeting still open.
    void plan()
    {
        SeasonStore s = fourTeams();
        // Round 1 (1.9.) pairs 4-1 and 3-2, round 4 the return; round 1's first match has 3:1 already.
        const Match& first = s.match(1, 1);
        s.match(1, 1).result = u"3:1"_s;
        const QString home = s.TymPodleCisla(first.home), away = s.TymPodleCisla(first.away);
        const Match& second = s.match(2, 1);
        const QString home2 = s.TymPodleCisla(second.home), away2 = s.TymPodleCisla(second.away);
        ImportSource source;
        source.lines = {{1, QDate(2026, 9, 2), 0, home, away, u"3:1"_s},    // the same: unchanged
                        {2, QDate(2026, 9, 3), 0, home2, away2, u"2:2p"_s}, // entered
                        {3, QDate(2026, 8, 1), 0, home, away, u"1:0"_s},    // a month off: unmatched
                        {4, {}, 0, away, home, u"4:0"_s},                   // the return, first open
                        {5, {}, 0, away, home, u"5:0"_s}};                  // no open meeting: a conflict
        TeamMatching teamOf;
        for (int t = 1; t <= 4; ++t)
            teamOf.teamOf.insert(s.TymPodleCisla(t), t);
        Result<ImportPlan> p = planImport(s, source, teamOf);
        QVERIFY2(!p.ok(), "two results for the return match"); // lines 4 and 5 both take it
        QVERIFY2(p.error().contains(u"řádek 5"_s) && p.error().contains(u"řádek 4"_s), qPrintable(p.error()));
        source.lines.removeLast();
        p = planImport(s, source, teamOf);
        QVERIFY2(p.ok(), qPrintable(p.error()));
        QCOMPARE(p.value().unchanged, 1);
        QCOMPARE(p.value().entered.size(), 2);
        QCOMPARE(p.value().entered[0].round, 1);
        QCOMPARE(p.value().entered[0].slot, 2);
        QCOMPARE(p.value().entered[0].result, u"2:2p"_s);
        const int back = p.value().entered[1].round;
        QCOMPARE(s.match(p.value().entered[1].slot, back).home, first.away);
        QCOMPARE(p.value().unmatched.size(), 1);
        QCOMPARE(p.value().unmatched[0].line, 3);
        // A different result is a conflict; in the round the source names.
        source.lines = {{7, {}, 1, home, away, u"0:1"_s}, {8, {}, 2, home, away, u"0:1"_s}};
        source.hasRounds = true;
        p = planImport(s, source, teamOf);
        QCOMPARE(p.value().conflicts.size(), 1);
        QCOMPARE(conflictLine(p.value().conflicts[0], s), u"1. kolo  %1 - %2: vaše 3:1, soubor 0:1"_s.arg(home, away));
        QCOMPARE(p.value().unmatched.size(), 1); // not in round 2
        teamOf.teamOf[away] = teamOf.teamOf[home];
        QVERIFY(planImport(s, source, teamOf).error().contains(u"sám se sebou"_s));
    }

    // The league's rules hold for what comes in: a level game where there are no draws, a game after overtime
    // where there is none, refused with the line; a level game where draws stand is a plain draw.
    void planByTheLeaguesRules()
    {
        SeasonStore s = fourTeams();
        const Match& m = s.match(2, 1);
        ImportSource source;
        source.lines = {{6, {}, 0, s.TymPodleCisla(m.home), s.TymPodleCisla(m.away), u"2:2p"_s}};
        TeamMatching teamOf;
        for (int t = 1; t <= 4; ++t)
            teamOf.teamOf.insert(s.TymPodleCisla(t), t);
        s.rules = usualRules()[1].rules; // no draws
        QVERIFY2(planImport(s, source, teamOf).error().contains(u"řádek 6"_s) &&
                     planImport(s, source, teamOf).error().contains(u"soutěž nezná remízy"_s),
                 qPrintable(planImport(s, source, teamOf).error()));
        s.rules = usualRules()[3].rules; // draws, no overtime
        QCOMPARE(planImport(s, source, teamOf).value().entered.value(0).result, u"2:2"_s);
        source.lines[0].result = u"3:2p"_s;
        QVERIFY(planImport(s, source, teamOf).error().contains(u"nehraje prodloužení"_s));
    }

    // A line without a round or a date goes to the meeting whose result it repeats, not to the first one played.
    void lineFindsTheMeetingItRepeats()
    {
        SeasonStore s = fourTeams(4);
        const Match first = s.match(1, 1);
        QList<int> rounds; // of the same home team against the same away team
        for (int r = 1; r <= s.rounds(); ++r)
            for (int m = 1; m <= s.slots(); ++m)
                if (s.match(m, r).home == first.home && s.match(m, r).away == first.away)
                    rounds << r, s.match(m, r).result = rounds.size() == 1 ? u"2:1"_s : u"4:0"_s;
        QCOMPARE(rounds.size(), 2);
        ImportSource source;
        source.lines = {{1, {}, 0, s.TymPodleCisla(first.home), s.TymPodleCisla(first.away), u"4:0"_s}};
        const Result<ImportPlan> p = planImport(s, source, matchTeams(source, s.teamNames(), {}));
        QVERIFY2(p.ok(), qPrintable(p.error()));
        QCOMPARE(p.value().unchanged, 1);
        QVERIFY(p.value().conflicts.isEmpty());
    }

    // Results compared as the notation reads them, one match given two results refused even where one is stored,
    // guessed and foreign names told apart, and a file without results said to be one.
    void planOfRealLines()
    {
        SeasonStore s = fourTeams();
        const Match first = s.match(1, 1), second = s.match(2, 1);
        s.match(1, 1).result = u"2:3p"_s;
        s.match(2, 1).result = u"2:2"_s;
        const QString h = s.TymPodleCisla(first.home), a = s.TymPodleCisla(first.away);
        const QString h2 = s.TymPodleCisla(second.home), a2 = s.TymPodleCisla(second.away);
        ImportSource source;
        source.lines = {{1, {}, 1, h, a, u"2:3p"_s}, {2, {}, 1, h, a, u"5:0"_s}};
        const TeamMatching exact = matchTeams(source, s.teamNames(), {});
        Result<ImportPlan> p = planImport(s, source, exact);
        QVERIFY2(!p.ok() && p.error().contains(u"řádek 2"_s) && p.error().contains(u"řádek 1"_s),
                 qPrintable(p.error()));
        source.lines = {{3, {}, 1, h2, a2, u"2:2p"_s}, {4, {}, 1, h, a, u"2:3p"_s}, {5, {}, 1, h, a, u"2:3p"_s}};
        p = planImport(s, source, matchTeams(source, s.teamNames(), {}));
        QVERIFY2(p.ok(), qPrintable(p.error()));
        QCOMPARE(p.value().conflicts.size(), 0); // 2:2 is 2:2p; the same game twice is one
        QCOMPARE(p.value().changes.size(), 0);
        QCOMPARE(p.value().unchanged, 2);

        // "HC Škoda Plzeň B" holds a team's name: a guess, listed; mapped to no team, its lines are skipped.
        source.lines = {{7, {}, 0, u"HC Škoda Plzeň B"_s, u"HC Sparta Praha"_s, u"1:0"_s},
                        {8, {}, 0, u"Kometa"_s, u"HC Sparta Praha"_s, u"4:0"_s}};
        TeamMatching teams = matchTeams(source, s.teamNames(), {});
        QCOMPARE(teams.guessed, QStringList{u"HC Škoda Plzeň B"_s});
        QCOMPARE(guessedNames(teams, s.teamNames()), QStringList{u"HC Škoda Plzeň B → Škoda Plzeň"_s});
        QCOMPARE(teams.how.value(u"HC Sparta Praha"_s), NameMatch::Exact);
        QVERIFY(planImport(s, source, teams).error().contains(u"Kometa"_s));
        p = planImport(s, source, teams, true);
        QVERIFY2(p.ok(), qPrintable(p.error()));
        QCOMPARE(p.value().foreign.size(), 1);
        QCOMPARE(p.value().changes.size(), 1);
        QCOMPARE(p.value().changes[0].line, 7);
        QCOMPARE(p.value().changes[0].how, NameMatch::Guessed);
        QVERIFY(changeLine(p.value().changes[0], s).contains(u"(odhad jména)"_s));
        teams = matchTeams(source, s.teamNames(), {{u"HC Škoda Plzeň B"_s, kForeignTeam}, {u"Kometa"_s, 2}});
        QCOMPARE(teams.foreign, QStringList{u"HC Škoda Plzeň B"_s});
        QCOMPARE(teams.how.value(u"Kometa"_s), NameMatch::Mapped);
        QCOMPARE(matchTeams(source, s.teamNames(), {{u"Kometa"_s, 1}}).teamOf.value(u"Kometa"_s), 1); // the first too

        for (ImportLine& line : source.lines)
            line.result.clear();
        source.resultsKnown = false;
        p = planImport(s, source, teams);
        QVERIFY2(!p.ok() && p.error().contains(u"žádný výsledek"_s), qPrintable(p.error()));
    }

    // Games played weeks after their round land on their own fixtures and keep their dates and kick-offs; the
    // calendar gives them back as timed events.
    void postponedGamesKeepTheirDates()
    {
        SeasonStore s = fourTeams();
        const Match& first = s.match(1, 1);
        const QString h = s.TymPodleCisla(first.home), a = s.TymPodleCisla(first.away);
        const QDate late = s.DATUM_KOLA(6).addDays(10);
        ImportSource source;
        source.lines = {{1, late, 0, h, a, u"2:1"_s},
                        {2, s.DATUM_KOLA(1), 0, s.TymPodleCisla(s.match(2, 1).home),
                         s.TymPodleCisla(s.match(2, 1).away), u"0:3"_s}};
        source.lines[0].time = QTime(19, 30);
        const Result<ImportPlan> p = planImport(s, source, matchTeams(source, s.teamNames(), {}));
        QVERIFY2(p.ok(), qPrintable(p.error()));
        QCOMPARE(p.value().entered.size(), 2);
        QCOMPARE(p.value().entered[0].round, 1); // not the return game, though nearer by date
        QCOMPARE(p.value().dates.size(), 1);
        QCOMPARE(p.value().dates.value({1, 1}), (MatchDate{late, QTime(19, 30), false}));

        s.matchDates = p.value().dates;
        s.matchDates.insert({2, 2}, MatchDate{{}, {}, true});
        const QByteArray ics = toICalendar(s, u"sezona_x.txt"_s, 0, QDateTime(QDate(2026, 9, 1), QTime(8, 0)));
        QVERIFY(ics.contains("BEGIN:VTIMEZONE"));
        QVERIFY(ics.contains(
            QByteArray("DTSTART;TZID=Europe/Prague:" + late.toString(u"yyyyMMdd"_s).toLatin1() + "T193000")));
        QVERIFY(ics.contains("T220000\r\n")); // two and a half hours
        const Result<ImportSource> back = readImportSource(ics, u"x.ics"_s);
        QCOMPARE(back.value().lines.size(), s.rounds() * s.slots() - 1); // the postponed game has no day yet
        QCOMPARE(back.value().lines[0].time, QTime(19, 30));
        QCOMPARE(back.value().lines[0].date, late);
    }

    // The program's own calendar brings back its fixtures, dates and results.
    void calendarRoundTrip()
    {
        SeasonStore s = fourTeams();
        s.match(2, 3).result = u"4:3n"_s;
        s.match(1, 1).result = u"10:0"_s;
        const QByteArray ics = toICalendar(s, u"sezona_okres2627.txt"_s, 0, QDateTime(QDate(2026, 9, 1), QTime(8, 0)));
        const Result<ImportSource> read = readImportSource(ics, u"okres.ics"_s);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        NewLeague request{u"Okresní přebor"_s, u"2026/2027"_s, {}, {}, 2, {}, {}, {}, {}, {}};
        const Result<SeasonStore> again = arrangeLeague(read.value(), request);
        QVERIFY2(again.ok(), qPrintable(again.error()));
        QCOMPARE(again.value().rounds(), s.rounds());
        for (int r = 1; r <= s.rounds(); ++r) {
            QCOMPARE(again.value().DATUM_KOLA(r), s.DATUM_KOLA(r));
            for (int m = 1; m <= s.slots(); ++m) {
                const Match& a = again.value().match(m, r);
                QCOMPARE(again.value().TymPodleCisla(a.home), s.TymPodleCisla(s.match(m, r).home));
                QCOMPARE(again.value().TymPodleCisla(a.away), s.TymPodleCisla(s.match(m, r).away));
                QCOMPARE(a.result, s.match(m, r).result);
            }
        }
        // Into the league itself: each event finds its own fixture.
        SeasonStore empty = s;
        empty.match(2, 3).result.clear();
        empty.match(1, 1).result.clear();
        const TeamMatching teamOf = matchTeams(read.value(), s.teamNames(), {});
        const Result<ImportPlan> p = planImport(empty, read.value(), teamOf);
        QCOMPARE(p.value().entered.size(), 2);
        QCOMPARE(p.value().unmatched.size(), 0);
    }

    void newLeague_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("outcome"); // the rounds "home-away" by team number, or the refusal
        QTest::newRow("date order, three teams rest in turn")
            << u"datum;domaci;hoste;vysledek\n5.9.2026;C;A;\n1.9.2026;A;B;2:1\n3.9.2026;B;C;\n"_s
            << u"2-3|3-1|1-2"_s; // teams numbered as the file names them
        QTest::newRow("rounds as given")
            << u"kolo;datum;domaci;hoste\n2;8.9.2026;A;C\n1;1.9.2026;A;B\n1;2.9.2026;C;D\n2;9.9.2026;D;B\n"_s
            << u"1-3 2-4|1-2 4-3"_s;
        QTest::newRow("a team twice in a round")
            << u"datum;domaci;hoste\n1.9.2026;A;B\n2.9.2026;A;C\n3.9.2026;B;D\n"_s
            << u"1. kolo má 1 z 2 zápasů, které v něm 4 týmů hraje; bez zápasu: C, D."_s;
        QTest::newRow("a round short") << u"kolo;datum;domaci;hoste\n1;1.9.2026;A;B\n1;1.9.2026;C;D\n2;;A;C\n"_s
                                       << u"2. kolo má 1 z 2 zápasů"_s;
        QTest::newRow("no dates") << u"kolo;domaci;hoste\n1;A;B\n"_s << u"Soubor neuvádí data zápasů"_s;
        QTest::newRow("team against itself") << u"datum;domaci;hoste\n1.9.2026;A;A\n"_s << u"sám se sebou"_s;
        QString many = u"datum;domaci;hoste\n"_s;
        for (int t = 1; t <= 11; ++t)
            many += u"1.9.2026;T%1;U%1\n"_s.arg(t);
        QTest::newRow("22 teams") << many << u"V souboru je 22 týmů, liga jich může mít nejvýš 20."_s;
        QString twenty = u"datum;domaci;hoste\n"_s;
        QStringList round;
        for (int t = 1; t <= 10; ++t) {
            twenty += u"1.9.2026;T%1;U%1\n"_s.arg(t);
            round << u"%1-%2"_s.arg(2 * t - 1).arg(2 * t);
        }
        QTest::newRow("20 teams") << twenty << round.join(u' ');
    }
    void newLeague()
    {
        QFETCH(QString, text);
        QFETCH(QString, outcome);
        const Result<ImportSource> read = readImportSource(text.toUtf8(), u"x.csv"_s);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        const Result<SeasonStore> made =
            arrangeLeague(read.value(), {u"Liga"_s, u"2026/2027"_s, {}, {1, 0, 0}, 1, {}, {}, {}, {}, {}});
        if (!made.ok()) {
            QVERIFY2(made.error().contains(outcome), qPrintable(made.error()));
            return;
        }
        QStringList rounds;
        for (int r = 1; r <= made.value().rounds(); ++r) {
            QStringList pairs;
            for (int m = 1; m <= made.value().slots(); ++m)
                pairs << made.value().ZAPAS(m, r);
            rounds << pairs.join(u' ');
        }
        QCOMPARE(rounds.join(u'|'), outcome);
        QCOMPARE(made.value().DATUM_KOLA(1), QDate(2026, 9, 1));
    }

    // A round spread over a long weekend is on its first day; a game played four days before the round's others
    // does not move it.
    void roundOnItsFirstDay()
    {
        for (const auto& [early, day] :
             {std::pair{u"29.8.2026"_s, QDate(2026, 8, 29)}, std::pair{u"28.8.2026"_s, QDate(2026, 9, 1)}}) {
            const QString text = u"kolo;datum;domaci;hoste\n1;%1;A;B\n1;1.9.2026;C;D\n1;2.9.2026;E;F\n"_s.arg(early);
            const Result<SeasonStore> made =
                arrangeLeague(readImportSource(text.toUtf8(), u"x.csv"_s).value(),
                              {u"Liga"_s, u"2026/2027"_s, {}, {1, 0, 0}, 1, {}, {}, {}, {}, {}});
            QVERIFY2(made.ok(), qPrintable(made.error()));
            QCOMPARE(made.value().DATUM_KOLA(1), day);
        }
    }

    // A real season of 20 teams with games postponed for weeks and one played early, its lines in no order:
    // every game on a fixture of its own, every round whole, so the table is the file's.
    void newLeagueFromMovedSeason()
    {
        const QList<RoundPairings> rounds = roundRobinSchedule(20, 2);
        QStringList lines{u"Date,HomeTeam,AwayTeam,FTHG,FTAG"_s};
        QMap<QString, int> games; // "home|away|result" → how often
        const QDate start(2025, 8, 9);
        for (qsizetype r = 0; r < rounds.size(); ++r)
            for (qsizetype m = 0; m < rounds[r].size(); ++m) {
                const auto [h, a] = rounds[r][m];
                QDate day = start.addDays(7 * r + m % 2); // Saturday and Sunday
                if ((r == 3 && m == 2) || (r == 3 && m == 7) || (r == 10 && m == 0) || (r == 20 && m == 4))
                    day = day.addDays(7 * (5 + m % 3) + 3); // postponed to a Wednesday weeks later
                if (r == 30 && m == 5)
                    day = day.addDays(-7 * 4 + 3); // played a month early
                const int hg = (h * 7 + r) % 5, ag = (a * 3 + m) % 4;
                lines << u"%1,Team %2,Team %3,%4,%5"_s.arg(day.toString(u"dd/MM/yyyy"_s)).arg(h).arg(a).arg(hg).arg(ag);
                ++games[u"Team %1|Team %2|%3"_s.arg(h).arg(a).arg(normaliseResult(u"%1:%2"_s.arg(hg).arg(ag)))];
            }
        std::reverse(lines.begin() + 1, lines.end());
        const Result<ImportSource> read = readImportSource(lines.join(u'\n').toUtf8(), u"season.csv"_s);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        const Result<SeasonStore> made =
            arrangeLeague(read.value(), {u"Liga"_s, u"2025/2026"_s, {}, {}, 1, {}, {}, {}, {}, {}});
        QVERIFY2(made.ok(), qPrintable(made.error()));
        const SeasonStore& s = made.value();
        QCOMPARE(s.rounds(), 38);
        for (int r = 1; r <= s.rounds(); ++r) {
            QCOMPARE(s.DATUM_KOLA(r), start.addDays(7 * (r - 1)));
            for (int m = 1; m <= s.slots(); ++m)
                --games[u"%1|%2|%3"_s.arg(s.TymPodleCisla(s.match(m, r).home), s.TymPodleCisla(s.match(m, r).away),
                                          s.match(m, r).result)];
        }
        QCOMPARE(games.values(), QList<int>(380, 0));
    }

    // A round of its own numbers is on the day most of its games are, however many were played early.
    void roundDayOfNumberedRounds()
    {
        const QList<RoundPairings> rounds = roundRobinSchedule(8, 1);
        QStringList lines{u"Kolo;Datum;Domácí;Hosté;Výsledek"_s};
        const QDate start(2025, 9, 6);
        for (qsizetype r = 0; r < rounds.size(); ++r)
            for (qsizetype m = 0; m < rounds[r].size(); ++m) {
                const QDate day = start.addDays(7 * r - (r == 2 && m < 2 ? 14 : 0)); // two of four a fortnight early
                lines << u"%1;%2;T%3;T%4;2:1"_s.arg(r + 1)
                             .arg(shortDate(day))
                             .arg(rounds[r][m].first)
                             .arg(rounds[r][m].second);
            }
        const Result<ImportSource> read = readImportSource(lines.join(u'\n').toUtf8(), u"kola.csv"_s);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        const Result<SeasonStore> made =
            arrangeLeague(read.value(), {u"Liga"_s, u"2025/2026"_s, {}, {}, 1, {}, {}, {}, {}, {}});
        QVERIFY2(made.ok(), qPrintable(made.error()));
        for (int r = 1; r <= 7; ++r)
            QCOMPARE(made.value().DATUM_KOLA(r), start.addDays(7 * (r - 1)));
    }

    void mapping()
    {
        QTemporaryDir dir;
        const QString league = dir.filePath(u"sezona_okres2627.txt"_s);
        const QMap<QString, int> mapping{{u"Plzeň B"_s, 4}, {u"HC=Kladno"_s, 2}};
        // A name the league's files would read as a key or a comment is left out, not read back as another.
        QMap<QString, int> odd = mapping;
        odd.insert(u"Tým nazev=Praha"_s, 3);
        odd.insert(u"; Kladno"_s, 1);
        QVERIFY(writeNameMapping(league, odd).ok());
        QCOMPARE(readNameMapping(league), mapping);
        QVERIFY(writeNameMapping(league, mapping).ok());
        QCOMPARE(readNameMapping(league), mapping);
        QMap<QString, int> longer = mapping;
        for (int i = 0; i < 200; ++i)
            longer.insert(u"Tým s dlouhým jménem %1"_s.arg(i), 1);
        {
            const fixture::FileSizeLimit limit(1024);
            QVERIFY(limit.set());
            QVERIFY(!writeNameMapping(league, longer).ok());
        }
        QCOMPARE(readNameMapping(league), mapping); // the mapping kept is the whole old one
        // Made again from every import, it fills no backups.
        QVERIFY(writeNameMapping(league, {{u"Plzeň B"_s, 4}}).ok());
        QVERIFY(QDir(backupFolderOf(league)).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_import)
#include "tst_import.moc"
