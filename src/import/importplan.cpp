// SPDX-License-Identifier: MIT
#include "importplan.h"

#include "season/datafiles.h"
#include "season/seasonfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace {

QString pairText(const ImportLine& line)
{
    return line.home + u" - " + line.away;
}

QString where(const ImportLine& line)
{
    return u"řádek %1 (%2)"_s.arg(line.line).arg(pairText(line));
}

// The unique team whose name one of the folded names holds within it, at least four letters long.
int containedTeam(const QString& folded, const QStringList& foldedTeams)
{
    int found = 0;
    for (int t = 1; t <= foldedTeams.size(); ++t) {
        const QString& team = foldedTeams[t - 1];
        if (std::min(team.size(), folded.size()) >= 4 && (folded.contains(team) || team.contains(folded))) {
            if (found)
                return 0;
            found = t;
        }
    }
    return found;
}

} // namespace

QString foldedTeamName(const QString& name)
{
    static const QSet<QString> prefixes{u"hc"_s,  u"hk"_s,  u"sk"_s,  u"bk"_s,  u"tj"_s, u"hcm"_s, u"hkm"_s,
                                        u"klh"_s, u"shk"_s, u"mhk"_s, u"ihc"_s, u"sc"_s, u"ehc"_s, u"ks"_s};
    static const QRegularExpression words(u"[\\s.]+"_s);
    QStringList kept;
    for (const QString& word : name.split(words, Qt::SkipEmptyParts))
        if (!prefixes.contains(plainLetters(word)))
            kept << word;
    return plainLetters(kept.isEmpty() ? name : kept.join(u' '));
}

TeamMatching matchTeams(const ImportSource& source, const QStringList& teams, const QMap<QString, int>& mapping)
{
    QStringList folded;
    for (const QString& team : teams)
        folded << foldedTeamName(team);
    TeamMatching matching;
    for (const ImportLine& line : source.lines) {
        for (const QString& name : {line.home, line.away}) {
            if (matching.teamOf.contains(name) || matching.unresolved.contains(name))
                continue;
            // A name that is exactly a team of the league is that team, whatever an old mapping says.
            int team = static_cast<int>(teams.lastIndexOf(name)) + 1;
            if (team == 0 && mapping.value(name) >= 1 && mapping.value(name) <= teams.size())
                team = mapping.value(name);
            if (team == 0 && folded.count(foldedTeamName(name)) == 1)
                team = static_cast<int>(folded.indexOf(foldedTeamName(name))) + 1;
            if (team == 0 && !folded.contains(foldedTeamName(name)))
                team = containedTeam(foldedTeamName(name), folded);
            if (team > 0)
                matching.teamOf.insert(name, team);
            else
                matching.unresolved << name;
        }
    }
    return matching;
}

Result<ImportPlan> planImport(const SeasonStore& season, const ImportSource& source, const QMap<QString, int>& teamOf)
{
    ImportPlan plan;
    std::map<std::pair<int, int>, const ImportLine*> used; // slots given a result by a line
    for (const ImportLine& line : source.lines) {
        const int home = teamOf.value(line.home), away = teamOf.value(line.away);
        if (home == away)
            return Result<ImportPlan>::failure(u"%1: tým nemůže hrát sám se sebou."_s.arg(where(line)));
        QList<std::pair<int, int>> meetings;
        for (int r = 1; r <= season.rounds(); ++r)
            for (int m = 1; m <= season.slots(); ++m)
                if (season.match(m, r).home == home && season.match(m, r).away == away &&
                    (!line.round || line.round == r))
                    meetings.append({r, m});
        const auto free = [&](const std::pair<int, int>& at) { return !used.count(at); };
        std::optional<std::pair<int, int>> chosen;
        if (line.round || (line.date.isValid() && !source.hasRounds)) {
            qint64 nearest = 8;
            for (const auto& at : meetings) {
                const qint64 off = line.round ? 0 : std::abs(season.DATUM_KOLA(at.first).daysTo(line.date));
                if (off < nearest)
                    nearest = off, chosen = at;
            }
        } else {
            const auto take = [&](auto wanted) {
                const auto it = std::find_if(meetings.begin(), meetings.end(), wanted);
                if (!chosen && it != meetings.end())
                    chosen = *it;
            };
            take([&](const auto& at) { return free(at) && season.match(at.second, at.first).result == line.result; });
            take([&](const auto& at) { return free(at) && season.match(at.second, at.first).result.isEmpty(); });
            if (meetings.size() == 1)
                chosen = meetings.first();
        }
        if (!chosen) {
            plan.unmatched.append(line);
            continue;
        }
        const QString& mine = season.match(chosen->second, chosen->first).result;
        if (line.result.isEmpty() || line.result == mine) {
            ++plan.unchanged;
            continue;
        }
        if (!free(*chosen))
            return Result<ImportPlan>::failure(
                u"%1 a řádek %2 dávají jednomu zápasu dva výsledky."_s.arg(where(line)).arg(used[*chosen]->line));
        used[*chosen] = &line;
        if (mine.isEmpty())
            plan.entered.append({chosen->first, chosen->second, line.result});
        else
            plan.conflicts.append({chosen->first, chosen->second, mine, line.result});
    }
    return plan;
}

QList<SlotResult> resultsToWrite(const ImportPlan& plan, bool takeSource)
{
    QList<SlotResult> results = plan.entered;
    if (takeSource)
        for (const ImportConflict& k : plan.conflicts)
            results.append({k.round, k.slot, k.theirs});
    return results;
}

QString planSummary(const ImportPlan& plan)
{
    return u"Výsledků k zapsání: %1\nSporů s vašimi výsledky: %2\nŘádků bez zápasu v rozpisu: %3"_s
        .arg(plan.entered.size())
        .arg(plan.conflicts.size())
        .arg(plan.unmatched.size());
}

QString conflictLine(const ImportConflict& conflict, const SeasonStore& season)
{
    const Match& m = season.match(conflict.slot, conflict.round);
    return u"%1. kolo  %2 - %3: vaše %4, soubor %5"_s.arg(conflict.round)
        .arg(season.TymPodleCisla(m.home), season.TymPodleCisla(m.away), conflict.mine, conflict.theirs);
}

QString unmatchedLine(const ImportLine& line)
{
    QString text = u"řádek %1: %2"_s.arg(line.line).arg(pairText(line));
    if (line.date.isValid())
        text += u", "_s + shortDate(line.date);
    if (line.round)
        text += u", %1. kolo"_s.arg(line.round);
    return text;
}

namespace {

// The source's teams in the order first named, at most a league's worth.
Result<QStringList> sourceTeams(const ImportSource& source)
{
    QStringList teams;
    for (const ImportLine& line : source.lines) {
        if (line.home == line.away)
            return Result<QStringList>::failure(u"%1: tým nemůže hrát sám se sebou."_s.arg(where(line)));
        for (const QString& name : {line.home, line.away})
            if (!teams.contains(name))
                teams << name;
    }
    if (teams.size() > kMaxTeams)
        return Result<QStringList>::failure(
            u"V souboru je %1 týmů, liga jich může mít nejvýš %2."_s.arg(teams.size()).arg(kMaxTeams));
    return teams;
}

// Lines in their rounds: as the source numbers them, or in date order a round filled after another.
Result<QList<QList<const ImportLine*>>> linesInRounds(const ImportSource& source, int slots)
{
    using Rounds = Result<QList<QList<const ImportLine*>>>;
    QList<QList<const ImportLine*>> rounds;
    if (source.hasRounds) {
        for (const ImportLine& line : source.lines) {
            if (rounds.size() < line.round)
                rounds.resize(line.round);
            rounds[line.round - 1].append(&line);
        }
    } else {
        QList<const ImportLine*> ordered;
        for (const ImportLine& line : source.lines) {
            if (!line.date.isValid())
                return Rounds::failure(
                    u"%1 nemá datum; bez sloupce kola se zápasy řadí do kol podle data."_s.arg(where(line)));
            ordered.append(&line);
        }
        std::stable_sort(ordered.begin(), ordered.end(), [](auto a, auto b) { return a->date < b->date; });
        for (const ImportLine* line : ordered) {
            if (rounds.isEmpty() || rounds.last().size() == slots)
                rounds.append(QList<const ImportLine*>());
            for (const ImportLine* other : rounds.last())
                for (const QString& name : {line->home, line->away})
                    if (name == other->home || name == other->away)
                        return Rounds::failure(
                            u"%1 se nevejde do %2. kola: %3 v něm už hraje (%4), a kolo má teprve %5 z %6 zápasů."_s
                                .arg(where(*line))
                                .arg(rounds.size())
                                .arg(name, pairText(*other))
                                .arg(rounds.last().size())
                                .arg(slots));
            rounds.last().append(line);
        }
    }
    return rounds;
}

} // namespace

Result<SeasonStore> arrangeLeague(const ImportSource& source, const NewLeague& request)
{
    using Failure = Result<SeasonStore>;
    NewLeague named = request;
    const Result<QStringList> names = sourceTeams(source);
    if (!names.ok())
        return Failure::failureOf(names);
    named.teams = names.value();
    const int teams = static_cast<int>(named.teams.size()), slots = teams / 2;
    const auto team = [&](const QString& name) { return static_cast<int>(named.teams.indexOf(name)) + 1; };

    const Result<QList<QList<const ImportLine*>>> grouped = linesInRounds(source, slots);
    if (!grouped.ok())
        return Failure::failureOf(grouped);
    const QList<QList<const ImportLine*>>& rounds = grouped.value();
    if (rounds.size() > kMaxRounds)
        return Failure::failure(
            u"Zápasy dávají %1 kol, liga jich může mít nejvýš %2."_s.arg(rounds.size()).arg(kMaxRounds));
    Result<SeasonStore> framed = leagueFrame(named, static_cast<int>(rounds.size()));
    if (!framed.ok())
        return framed;
    SeasonStore s = std::move(framed).value();
    QDate previous;
    for (int r = 1; r <= s.rounds(); ++r) {
        const QList<const ImportLine*>& lines = rounds[r - 1];
        if (lines.size() != slots)
            return Failure::failure(u"%1. kolo má %2 z %3 zápasů, které v něm %4 týmů hraje."_s.arg(r)
                                        .arg(lines.size())
                                        .arg(slots)
                                        .arg(teams));
        QSet<int> playing;
        QDate date;
        for (int m = 1; m <= slots; ++m) {
            const ImportLine& line = *lines[m - 1];
            for (int t : {team(line.home), team(line.away)})
                if (playing.contains(t))
                    return Failure::failure(
                        u"%1: %2 hraje v %3. kole dvakrát."_s.arg(where(line), s.TymPodleCisla(t)).arg(r));
            playing << team(line.home) << team(line.away);
            s.match(m, r) = {team(line.home), team(line.away), line.result};
            if (line.date.isValid() && (!date.isValid() || line.date < date))
                date = line.date;
        }
        if (!date.isValid() && !previous.isValid())
            for (const auto& later : rounds)
                for (const ImportLine* line : later)
                    if (!previous.isValid() && line->date.isValid())
                        previous = line->date;
        if (!date.isValid() && !previous.isValid())
            return Failure::failure(u"Soubor neuvádí data zápasů; nová liga potřebuje datum každého kola."_s);
        s.setDate(r, date.isValid() ? date : previous); // a round without a date takes the one before
        previous = s.DATUM_KOLA(r);
    }
    return s;
}

QMap<QString, int> readNameMapping(const QString& competitionPath)
{
    QMap<QString, int> mapping;
    const Result<QByteArray> bytes = readDataFile(nameMappingFileFor(competitionPath));
    if (!bytes.ok())
        return mapping; // none yet: nothing was mapped
    for (const QString& line : decodeLines(bytes.value())) {
        const qsizetype eq = line.lastIndexOf(u'=');
        bool ok = false;
        const int team = line.mid(eq + 1).toInt(&ok);
        if (eq > 0 && ok && !line.startsWith(u';'))
            mapping.insert(line.left(eq).trimmed(), team);
    }
    return mapping;
}

Result<void> writeNameMapping(const QString& competitionPath, const QMap<QString, int>& mapping)
{
    QStringList lines{u"; jména týmů z importovaných souborů: jméno=číslo týmu"_s};
    for (auto it = mapping.begin(); it != mapping.end(); ++it)
        if (!it.key().startsWith(u';') && leagueTextProblem(it.key()).isEmpty()) // else it would read back as another
            lines << it.key() + u'=' + QString::number(it.value());
    return saveDataFile(nameMappingFileFor(competitionPath), leagueFileBytes(competitionPath, LeagueFile::Names, lines),
                        QDateTime::currentDateTime(), false);
}
