// SPDX-License-Identifier: MIT
#include "seasonfile.h"

#include "datafiles.h"
#include "notation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QStringTokenizer>

using namespace Qt::StringLiterals;

namespace {

Result<SeasonStore> fault(const QString& fileName, int line, const QString& what)
{
    return Result<SeasonStore>::failure(u"Soubor „%1“, řádek %2: %3"_s.arg(fileName).arg(line).arg(what));
}

// A line as a message quotes it: a huge one would freeze the message box.
QString quoted(const QString& line)
{
    return line.size() <= 80 ? line : line.left(80) + u'…';
}

bool tooManyLines(const QByteArray& bytes)
{
    return bytes.count('\n') >= kMaxDataLines;
}

Result<SeasonStore> tooManyLinesIn(const QString& fileName)
{
    return Result<SeasonStore>::failure(
        u"Soubor „%1“ má přes %2 řádků, nejde o data programu."_s.arg(fileName).arg(kMaxDataLines));
}

// A number made of 1..max digits and nothing else, or -1.
int parseCount(const QString& text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return -1;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
    }
    return text.toInt();
}

// "home-away" into the match, each team playing once in the round; else why not.
QString readPairing(const QString& line, int teams, int round, std::array<bool, kMaxTeams + 1>& playing, Match& m)
{
    const qsizetype dash = line.indexOf(u'-');
    if (dash < 0)
        return u"dvojice týmů „%1“ neobsahuje „-“."_s.arg(quoted(line));
    m.home = parseCount(line.left(dash), 2);
    m.away = parseCount(line.mid(dash + 1), 2);
    for (int team : {m.home, m.away}) {
        if (team < 1 || team > teams)
            return u"dvojice „%1“ neobsahuje čísla týmů od 1 do %2."_s.arg(quoted(line)).arg(teams);
        if (playing[static_cast<std::size_t>(team)])
            return m.home == m.away ? u"tým č. %1 nemůže hrát sám se sebou."_s.arg(team)
                                    : u"tým č. %1 hraje v kole %2 dvakrát."_s.arg(team).arg(round);
        playing[static_cast<std::size_t>(team)] = true;
    }
    return {};
}

// The league once every line is read: as many teams as the highest key names, none missing below it, lines
// within the league, no two teams of one name.
Result<SeasonStore> withTeamsChecked(SeasonStore into, const std::array<int, kMaxTeams>& teamLine,
                                     const std::array<int, 3>& hrLine, const QString& fileName)
{
    // The highest key is the number of teams; a gap below it would leave a team without a name.
    int teams = kMaxTeams;
    while (teams > 0 && teamLine[static_cast<std::size_t>(teams - 1)] == 0)
        --teams;
    if (teams == 0)
        return Result<SeasonStore>::failure(
            u"Soubor „%1“ nepojmenovává žádný tým (t1= až t%2=)."_s.arg(fileName).arg(kMaxTeams));
    if (teams < 2)
        return fault(fileName, teamLine[0], u"soutěž musí mít alespoň 2 týmy."_s);
    for (int t = 1; t < teams; ++t) {
        if (teamLine[static_cast<std::size_t>(t - 1)] == 0)
            return fault(fileName, teamLine[static_cast<std::size_t>(teams - 1)],
                         u"chybí tým t%1= (týmy musí být očíslovány 1 až %2 bez mezer)."_s.arg(t).arg(teams));
    }
    into.setShape(teams, 0);
    const int hrs[] = {into.HR1, into.HR2, into.HR3};
    for (int k = 0; k < 3; ++k) {
        if (hrs[k] > teams)
            return fault(fileName, hrLine[static_cast<std::size_t>(k)],
                         u"HR%1= musí být následováno číslem od 0 do %2."_s.arg(k + 1).arg(teams));
    }
    // Equal names would make saving rewrite the pairings of both teams to one number.
    QHash<QString, int> firstNamed;
    for (int t = 1; t <= teams; ++t) {
        const QString name = into.TymPodleCisla(t);
        if (const int other = firstNamed.value(name); other != 0) {
            return fault(fileName, std::max(teamLine[other - 1], teamLine[t - 1]),
                         u"týmy č. %1 a %2 mají stejný název „%3“."_s.arg(other).arg(t).arg(name));
        }
        firstNamed.insert(name, t);
    }
    return into;
}

} // namespace

QDate parseShortDate(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 3)
        return {};
    const int d = parseCount(parts[0], 2), m = parseCount(parts[1], 2), y = parseCount(parts[2], 4);
    return parts[2].size() == 4 && y >= 1000 ? QDate(y, m, d) : QDate(); // four-digit years only
}

QString decodeText(const QByteArray& bytes)
{
    // Files saved by a modern editor are UTF-8; the program's own stay Windows-1250 where their names fit.
    switch (encodingOf(bytes)) {
    case TextEncoding::Utf8Bom:
        return QString::fromUtf8(bytes.mid(3));
    case TextEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case TextEncoding::Windows1250:
        break;
    }
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

QStringList decodeLines(const QByteArray& bytes)
{
    // Each line costs far more memory than its newline; beyond the limit nothing is a data file anyway.
    qsizetype end = -1;
    for (qsizetype n = 0; n < kMaxDataLines && end < bytes.size(); ++n) {
        end = bytes.indexOf('\n', end + 1);
        if (end < 0)
            end = bytes.size();
    }
    const QString text = decodeText(bytes.left(end));
    QStringList lines;
    for (const QStringView line : QStringTokenizer(text, u'\n'))
        lines << line.trimmed().toString();                           // one copy a line, its "\r" already gone
    if (!lines.isEmpty() && (text.isEmpty() || text.endsWith(u'\n'))) // no line after the last newline
        lines.removeLast();
    return lines;
}

namespace {

// A line of the league's rules read into them; why it cannot be, in Czech. Other lines are left alone.
QString readRule(const QString& line, LeagueRules& rules)
{
    if (line.startsWith(kPointsKey)) {
        const Result<std::array<int, 5>> points = parsePoints(line.mid(QStringView(kPointsKey).size()));
        if (!points.ok())
            return points.error() + u'.';
        rules.points = points.value();
        return {};
    }
    for (const auto& [key, flag] : {std::pair{kDrawsKey, &rules.draws}, std::pair{kOvertimeKey, &rules.overtime}}) {
        if (!line.startsWith(key))
            continue;
        const std::optional<bool> value = parseYesNo(line.mid(QStringView(key).size()));
        if (!value)
            return QStringView(key) + u" musí být následováno slovem ano nebo ne."_s;
        *flag = *value;
    }
    return {};
}

} // namespace

Result<SeasonStore> readCompetition(const QByteArray& bytes, const QString& fileName)
{
    if (tooManyLines(bytes))
        return tooManyLinesIn(fileName);
    SeasonStore into(kMaxTeams, 0);
    const QStringList lines = decodeLines(bytes);
    std::array<int, kMaxTeams> teamLine{};
    std::array<int, 3> hrLine{};
    int rulesLine = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const int lineNo = i + 1;
        if (line.startsWith(u';'))
            continue;
        if (line.startsWith(kPointsKey) || line.startsWith(kDrawsKey) || line.startsWith(kOvertimeKey))
            rulesLine = lineNo;
        // The keys are found anywhere in a line, but their values stand at a fixed place.
        if (line.contains(u"nazev="))
            into.caption = line.mid(6);
        if (line.contains(u"sezona=")) {
            into.season = line.mid(7);
            into.caption += u"  " + into.season;
        }
        int* const hr[] = {&into.HR1, &into.HR2, &into.HR3};
        for (int k = 0; k < 3; ++k) {
            const QString key = u"HR"_s + QString::number(k + 1) + u'=';
            if (!line.contains(key))
                continue;
            const int value = parseCount(line.mid(4), 2);
            if (value < 0 || value > kMaxTeams)
                return fault(fileName, lineNo, key + u" musí být následováno číslem od 0 do %1."_s.arg(kMaxTeams));
            *hr[k] = value;
            hrLine[static_cast<std::size_t>(k)] = lineNo;
        }
        if (const QString problem = readRule(line, into.rules); !problem.isEmpty())
            return fault(fileName, lineNo, problem);
        // "tNN=name", one or two digits
        const qsizetype equals = line.indexOf(u'=');
        const int number = line.startsWith(u't') && equals > 0 ? parseCount(line.mid(1, equals - 1), 2) : -1;
        if (number < 0)
            continue;
        if (number < 1 || number > kMaxTeams)
            return fault(fileName, lineNo, u"číslo týmu musí být od 1 do %1."_s.arg(kMaxTeams));
        const QString name = line.mid(equals + 1);
        if (name.isEmpty())
            return fault(fileName, lineNo, u"tým č. %1 nemá název."_s.arg(number));
        if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
            return fault(fileName, lineNo, u"název týmu č. %1 obsahuje řídicí znak."_s.arg(number));
        into.setTeamName(number, name);
        teamLine[static_cast<std::size_t>(number - 1)] = lineNo;
    }
    if (const QString problem = rulesProblem(into.rules); !problem.isEmpty())
        return fault(fileName, rulesLine, problem + u'.');
    return withTeamsChecked(std::move(into), teamLine, hrLine, fileName);
}

Result<SeasonStore> readSchedule(const QByteArray& bytes, const QString& fileName, SeasonStore into)
{
    if (tooManyLines(bytes))
        return tooManyLinesIn(fileName);
    const QStringList lines = decodeLines(bytes);
    into.setShape(into.teams(), 0);
    std::array<bool, kMaxRounds> seen{};
    int i = 0;
    // Next line of the current block, or nullptr at the end of the file.
    const auto next = [&]() -> const QString* { return i < lines.size() ? &lines[i++] : nullptr; };
    while (i < lines.size()) {
        if (lines[i++] != u"**")
            continue;
        const QString* line = next();
        const int round = line ? parseCount(*line, 3) : -1;
        if (!line)
            return fault(fileName, i + 1, u"neúplný blok kola."_s);
        if (round < 1 || round > kMaxRounds)
            return fault(fileName, i, u"číslo kola „%1“ není číslo od 1 do %2."_s.arg(quoted(*line)).arg(kMaxRounds));
        if (round > into.rounds())
            into.setShape(into.teams(), round);
        if (!(line = next()))
            return fault(fileName, i + 1, u"neúplný blok kola %1: chybí datum."_s.arg(round));
        const QDate date = parseShortDate(*line);
        if (!date.isValid())
            return fault(fileName, i, u"datum kola „%1“ není ve tvaru den.měsíc.rok."_s.arg(quoted(*line)));
        into.setDate(round, date);
        std::array<bool, kMaxTeams + 1> playing{};
        for (int slot = 1; slot <= into.slots(); ++slot) {
            if (!(line = next()))
                return fault(fileName, i + 1, u"neúplný blok kola %1: chybí zápas %2."_s.arg(round).arg(slot));
            if (line->isEmpty() || *line == u"**")
                return fault(fileName, i,
                             u"blok kola %1 má jen %2 z %3 zápasů."_s.arg(round).arg(slot - 1).arg(into.slots()));
            Match& m = into.match(slot, round);
            if (const QString problem = readPairing(*line, into.teams(), round, playing, m); !problem.isEmpty())
                return fault(fileName, i, problem);
            if (!(line = next()))
                return fault(fileName, i + 1, u"neúplný blok kola %1: chybí výsledek."_s.arg(round));
            if (!isAcceptedResult(*line))
                return fault(fileName, i, u"„%1“ není platný výsledek."_s.arg(quoted(*line)));
            m.result = *line;
        }
        // A pairing beyond the league's matches would be dropped by the next save: the files do not fit.
        if (i < lines.size() && !lines[i].isEmpty() && lines[i] != u"**" && lines[i].contains(u'-'))
            return fault(fileName, i + 1,
                         u"blok kola %1 má víc než %2 zápasů, které %3 týmů v kole hraje."_s.arg(round)
                             .arg(into.slots())
                             .arg(into.teams()));
        seen[static_cast<std::size_t>(round - 1)] = true;
    }
    for (int r = 1; r <= std::max(into.rounds(), 1); ++r) {
        if (!seen[static_cast<std::size_t>(r - 1)])
            return fault(fileName, static_cast<int>(lines.size()), u"chybí kolo %1."_s.arg(r));
    }
    return into;
}

Result<SeasonStore> loadSeason(const QString& competitionPath, const QString& schedulePath)
{
    const Result<QByteArray> competition = readDataFile(competitionPath);
    if (!competition.ok())
        return Result<SeasonStore>::failureOf(competition);
    Result<SeasonStore> teams = readCompetition(competition.value(), QFileInfo(competitionPath).fileName());
    if (!teams.ok())
        return teams;
    const Result<QByteArray> schedule = readDataFile(schedulePath);
    if (!schedule.ok())
        return Result<SeasonStore>::failureOf(schedule);
    return readSchedule(schedule.value(), QFileInfo(schedulePath).fileName(), std::move(teams).value());
}

QByteArray scheduleBytes(const SeasonStore& store, TextEncoding encoding)
{
    QStringList lines;
    lines.reserve(store.rounds() * (4 + 2 * store.slots()));
    for (int r = 1; r <= store.rounds(); ++r) {
        lines << u"**"_s << QString::number(r) << shortDate(store.DATUM_KOLA(r));
        for (int m = 1; m <= store.slots(); ++m)
            lines << store.ZAPAS(m, r) << store.VYSLEDEK(m, r);
        lines << QString();
    }
    return encodeLines(lines, encoding);
}

Result<void> writeSchedule(const SeasonStore& store, const QString& path)
{
    return writeFileAtomically(path, scheduleBytes(store));
}
