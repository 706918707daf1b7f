// SPDX-License-Identifier: MIT
#include "importplan.h"

#include "season/datafiles.h"
#include "season/notation.h"
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

QString nameMatchText(NameMatch how)
{
    switch (how) {
    case NameMatch::Exact:
        return u"exact"_s;
    case NameMatch::Folded:
        return u"folded"_s;
    case NameMatch::Mapped:
        return u"mapped"_s;
    case NameMatch::Guessed:
        break;
    }
    return u"guessed"_s;
}

TeamMatching matchTeams(const ImportSource& source, const QStringList& teams, const QMap<QString, int>& mapping)
{
    QStringList folded;
    for (const QString& team : teams)
        folded << foldedTeamName(team);
    TeamMatching matching;
    QSet<QString> seen;
    for (const ImportLine& line : source.lines) {
        for (const QString& name : {line.home, line.away}) {
            if (seen.contains(name))
                continue;
            seen.insert(name);
            // A name that is exactly a team of the league is that team, whatever an old mapping says.
            int team = static_cast<int>(teams.lastIndexOf(name)) + 1;
            NameMatch how = NameMatch::Exact;
            const int mapped = mapping.value(name);
            if (team == 0 && mapped == kForeignTeam) {
                matching.foreign << name;
                continue;
            }
            if (team == 0 && mapped >= 1 && mapped <= teams.size())
                team = mapped, how = NameMatch::Mapped;
            const QString own = foldedTeamName(name);
            if (team == 0 && folded.count(own) == 1)
                team = static_cast<int>(folded.indexOf(own)) + 1, how = NameMatch::Folded;
            if (team == 0 && !folded.contains(own))
                team = containedTeam(own, folded), how = NameMatch::Guessed;
            if (team > 0) {
                matching.teamOf.insert(name, team);
                matching.how.insert(name, how);
                if (how == NameMatch::Guessed)
                    matching.guessed << name;
            } else {
                matching.unresolved << name;
            }
        }
    }
    return matching;
}

QStringList guessedNames(const TeamMatching& teams, const QStringList& leagueTeams)
{
    QStringList lines;
    for (const QString& name : teams.guessed)
        lines << name + u" → "_s + leagueTeams.value(teams.teamOf.value(name) - 1);
    return lines;
}

namespace {

bool sameResult(const QString& a, const QString& b)
{
    return normaliseResult(a) == normaliseResult(b);
}

using Slot = std::pair<int, int>; // round, slot

// The fixture a line goes to: in its round; else, dated, a meeting whose result it repeats near its date, the
// meeting of that weekend, the open meeting nearest its date (a postponed game lands on its fixture weeks later),
// or a played one near it;
// else one whose result it repeats, or the first still open, or the only one.
std::optional<Slot> fixtureOf(const SeasonStore& season, const ImportSource& source, const ImportLine& line,
                              const QList<Slot>& meetings, const std::map<Slot, const ImportLine*>& used)
{
    const auto open = [&](const Slot& at) { return !used.count(at); };
    const auto repeats = [&](const Slot& at) {
        return open(at) && !line.result.isEmpty() && sameResult(season.match(at.second, at.first).result, line.result);
    };
    const auto unplayed = [&](const Slot& at) {
        return open(at) && season.match(at.second, at.first).result.isEmpty();
    };
    std::optional<Slot> chosen;
    if (line.round) {
        for (const Slot& at : meetings)
            if (at.first == line.round)
                chosen = at;
        return chosen;
    }
    if (line.date.isValid() && !source.hasRounds) {
        const auto nearest = [&](auto fits, qint64 within) {
            std::optional<Slot> best;
            qint64 off = within;
            for (const Slot& at : meetings)
                if (const qint64 d = std::abs(season.DATUM_KOLA(at.first).daysTo(line.date)); fits(at) && d < off)
                    off = d, best = at;
            return best;
        };
        // A game on its round's weekend is that round's, played or not; one weeks away is a moved game's.
        chosen = nearest(repeats, 8);
        if (!chosen)
            chosen = nearest([](const Slot&) { return true; }, 4);
        if (!chosen)
            chosen = nearest(unplayed, std::numeric_limits<qint64>::max());
        if (!chosen)
            chosen = nearest([](const Slot&) { return true; }, 8);
        return chosen;
    }
    for (const Slot& at : meetings)
        if (!chosen && repeats(at))
            chosen = at;
    for (const Slot& at : meetings)
        if (!chosen && unplayed(at))
            chosen = at;
    if (!chosen && meetings.size() == 1)
        chosen = meetings.first();
    return chosen;
}

// Every meeting of each pairing, home team first: a line finds its fixtures at once, not by a search of the season.
QHash<std::pair<int, int>, QList<Slot>> meetingsByPair(const SeasonStore& season)
{
    QHash<std::pair<int, int>, QList<Slot>> meetings;
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m)
            meetings[{season.match(m, r).home, season.match(m, r).away}].append({r, m});
    return meetings;
}

Result<void> checkSource(const ImportSource& source, const TeamMatching& teams, bool skipUnknown)
{
    if (!teams.unresolved.isEmpty() && !skipUnknown)
        return Result<void>::failure(
            u"Tato jména nejsou jednoznačně týmy ligy: %1"_s.arg(teams.unresolved.join(u", ")));
    if (!source.resultsKnown &&
        std::none_of(source.lines.begin(), source.lines.end(), [](const ImportLine& l) { return !l.result.isEmpty(); }))
        return Result<void>::failure(u"V souboru není žádný výsledek, který by program našel: žádný sloupec nebyl "
                                     "rozpoznán jako výsledek nebo góly (určete sloupce)."_s);
    return {};
}

// The line's own date, time or postponement where it differs from its fixture's as the league has it.
void noteOwnDate(ImportPlan& plan, const SeasonStore& season, const ImportLine& line, const Slot& slot)
{
    const MatchDate own{line.date == season.DATUM_KOLA(slot.first) ? QDate() : line.date, line.time,
                        line.postponed && !line.date.isValid()};
    if ((own.date.isValid() || own.time.isValid() || own.postponed) &&
        season.matchDates.value({slot.first, slot.second}) != own)
        plan.dates.insert({slot.first, slot.second}, own);
}

} // namespace

Result<ImportPlan> planImport(const SeasonStore& season, const ImportSource& source, const TeamMatching& teams,
                              bool skipUnknown)
{
    if (Result<void> fine = checkSource(source, teams, skipUnknown); !fine.ok())
        return Result<ImportPlan>::failureOf(fine);
    const QHash<std::pair<int, int>, QList<Slot>> meetingsOf = meetingsByPair(season);
    ImportPlan plan;
    std::map<Slot, const ImportLine*> used; // slots given a result by a line
    for (const ImportLine& line : source.lines) {
        if (!teams.teamOf.contains(line.home) || !teams.teamOf.contains(line.away)) {
            plan.foreign.append(line);
            continue;
        }
        if (!line.stage.isEmpty()) {
            plan.playoff.append(line);
            continue;
        }
        const int home = teams.teamOf.value(line.home), away = teams.teamOf.value(line.away);
        if (home == away)
            return Result<ImportPlan>::failure(u"%1: tým nemůže hrát sám se sebou."_s.arg(where(line)));
        const std::optional<Slot> chosen = fixtureOf(season, source, line, meetingsOf.value({home, away}), used);
        if (!chosen) {
            plan.unmatched.append(line);
            continue;
        }
        noteOwnDate(plan, season, line, *chosen);
        if (line.result.isEmpty()) {
            ++plan.unchanged;
            continue;
        }
        if (const auto earlier = used.find(*chosen); earlier != used.end()) {
            if (!sameResult(earlier->second->result, line.result))
                return Result<ImportPlan>::failure(
                    u"%1 a řádek %2 dávají jednomu zápasu dva výsledky."_s.arg(where(line)).arg(earlier->second->line));
            continue; // the same game named twice
        }
        // A result the league's rules exclude is no result of this league: refused, never bent to fit.
        const QString theirs = normaliseResult(line.result, season.rules);
        if (const QString refusal = rulesRefusal(theirs, season.rules); !refusal.isEmpty())
            return Result<ImportPlan>::failure(u"%1: %2."_s.arg(where(line), refusal));
        used[*chosen] = &line;
        const QString& mine = season.match(chosen->second, chosen->first).result;
        if (sameResult(mine, line.result)) {
            ++plan.unchanged;
            continue;
        }
        const NameMatch how = std::max(teams.how.value(line.home), teams.how.value(line.away));
        plan.changes.append({line.line, chosen->first, chosen->second, theirs, how, !mine.isEmpty()});
        if (mine.isEmpty())
            plan.entered.append({chosen->first, chosen->second, theirs});
        else
            plan.conflicts.append({chosen->first, chosen->second, mine, theirs});
    }
    if (plan.dates.isEmpty() &&
        std::none_of(source.lines.begin(), source.lines.end(), [](const ImportLine& l) { return !l.result.isEmpty(); }))
        return Result<ImportPlan>::failure(u"V souboru není žádný výsledek ani termín, který by program našel."_s);
    return plan;
}

namespace {

// The stage a source's text names: by its name, or by the same stage's name in English ("Quarterfinal").
int stageNamed(const Playoff& playoff, const QString& text)
{
    static const QList<QStringList> same{{u"ctvrtfinale"_s, u"quarterfinal"_s, u"quarterfinals"_s},
                                         {u"semifinale"_s, u"semifinal"_s, u"semifinals"_s},
                                         {u"finale"_s, u"final"_s, u"finals"_s},
                                         {u"predkolo"_s, u"preliminaryround"_s, u"firstround"_s}};
    const QString folded = plainLetters(text);
    for (int s = 0; s < playoff.stages.size(); ++s) {
        const QString name = plainLetters(playoff.stages[s].name);
        if (name == folded || std::any_of(same.begin(), same.end(),
                                          [&](const QStringList& g) { return g.contains(name) && g.contains(folded); }))
            return s;
    }
    return -1;
}

} // namespace

PlayoffImport planPlayoff(const std::optional<Playoff>& playoff, const SeasonStore& season,
                          const QList<ImportLine>& lines, const TeamMatching& teams)
{
    PlayoffImport plan;
    if (!playoff) {
        for (const ImportLine& line : lines)
            plan.refused << u"%1: liga nemá play-off"_s.arg(where(line));
        return plan;
    }
    Playoff with = *playoff;
    for (const ImportLine& line : lines) {
        PlayoffGame game{0, teams.teamOf.value(line.home), teams.teamOf.value(line.away), line.result, line.date, 0};
        const auto known = [&](const PlayoffGame& g) {
            return g.home == game.home && g.away == game.away && (g.date == game.date || !game.date.isValid()) &&
                   sameResult(g.result, game.result);
        };
        if (line.result.isEmpty() || std::any_of(with.games.begin(), with.games.end(), known)) {
            ++plan.unchanged;
            continue;
        }
        // A stage the source names; a calendar's "play-off" is the stage where the two teams' series is.
        const int named = stageNamed(with, line.stage);
        Result<void> fits = Result<void>::failure(u"play-off takovou fázi nemá"_s);
        for (int s = named >= 0 ? named : 0; s < (named >= 0 ? named + 1 : with.stages.size()) && !fits.ok(); ++s) {
            game.stage = s;
            fits = checkNewGame(with, season, game);
        }
        if (!fits.ok()) {
            plan.refused << u"%1: %2"_s.arg(where(line), fits.error());
            continue;
        }
        game.result = normaliseResult(game.result);
        with.games.append(game);
        plan.games.append(game);
    }
    return plan;
}

QStringList playoffSummary(const PlayoffImport& playoff, qsizetype listed)
{
    if (playoff.games.isEmpty() && playoff.refused.isEmpty() && !playoff.unchanged)
        return {};
    QStringList lines{
        u"Zápasů play-off k zapsání: %1, odmítnutých: %2"_s.arg(playoff.games.size()).arg(playoff.refused.size())};
    for (const QString& why : playoff.refused.mid(0, listed))
        lines << u"play-off odmítnut: "_s + why;
    return lines;
}

QMap<std::pair<int, int>, std::optional<MatchDate>> ownDates(const ImportPlan& plan)
{
    QMap<std::pair<int, int>, std::optional<MatchDate>> dates;
    for (auto it = plan.dates.begin(); it != plan.dates.end(); ++it)
        dates.insert(it.key(), it.value());
    return dates;
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
    QString text = u"Výsledků k zapsání: %1\nSporů s vašimi výsledky: %2\nŘádků bez zápasu v rozpisu: %3"_s
                       .arg(plan.entered.size())
                       .arg(plan.conflicts.size())
                       .arg(plan.unmatched.size());
    if (!plan.foreign.isEmpty())
        text += u"\nPřeskočeno řádků s cizími týmy: %1"_s.arg(plan.foreign.size());
    if (!plan.playoff.isEmpty())
        text += u"\nZápasů play-off (nejsou v rozpisu sezóny): %1"_s.arg(plan.playoff.size());
    if (!plan.dates.isEmpty())
        text += u"\nZápasů s vlastním datem nebo časem: %1"_s.arg(plan.dates.size());
    return text;
}

QString changeLine(const ImportChange& change, const SeasonStore& season)
{
    static const QStringList how{
        {}, u" (jméno bez diakritiky a předpon)"_s, u" (přiřazené jméno)"_s, u" (odhad jména)"_s};
    const Match& m = season.match(change.slot, change.round);
    return u"řádek %1 → %2. kolo  %3 - %4 %5%6%7"_s.arg(change.line)
        .arg(change.round)
        .arg(season.TymPodleCisla(m.home), season.TymPodleCisla(m.away), change.result,
             change.conflict ? u" (spor)"_s : QString(), how[static_cast<int>(change.how)]);
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
        if (!line.stage.isEmpty())
            continue; // a play-off game: its teams play the season too
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

using Rounds = QList<QList<const ImportLine*>>;

// The round each line's date falls in: the lines in date order cut into rounds of `slots`, each round's date its
// middle line's, and a line in the round whose date is nearest its own.
QList<int> dateRounds(const QList<const ImportLine*>& ordered, int slots)
{
    const qsizetype count = (ordered.size() + slots - 1) / slots;
    QList<QDate> middle;
    for (qsizetype r = 0; r < count; ++r)
        middle << ordered[std::min(ordered.size() - 1, r * slots + slots / 2)]->date;
    QList<int> rounds;
    for (const ImportLine* line : ordered) {
        qsizetype best = 0;
        for (qsizetype r = 1; r < count; ++r)
            if (std::abs(middle[r].daysTo(line->date)) < std::abs(middle[best].daysTo(line->date)))
                best = r;
        rounds << static_cast<int>(best);
    }
    return rounds;
}

// Rounds of a file that does not number them: every team plays once a round. A line goes to the round its date
// falls in, lines whose teams play once there first; a line that does not fit there (a postponed or an early
// game) goes to the first round where both its teams have no game.
Result<Rounds> inferredRounds(const ImportSource& source, int slots)
{
    QList<const ImportLine*> ordered, undated;
    for (const ImportLine& line : source.lines) {
        if (!line.stage.isEmpty())
            continue;
        if (!line.date.isValid() && !line.postponed)
            return Result<Rounds>::failure(
                u"%1 nemá datum; bez sloupce kola se zápasy řadí do kol podle data."_s.arg(where(line)));
        (line.date.isValid() ? ordered : undated).append(&line);
    }
    const qsizetype count = (ordered.size() + undated.size() + slots - 1) / slots;
    if (count > kMaxRounds)
        return Result<Rounds>::failure(
            u"Zápasy dávají %1 kol, liga jich může mít nejvýš %2."_s.arg(count).arg(kMaxRounds));
    std::stable_sort(ordered.begin(), ordered.end(), [](auto a, auto b) { return a->date < b->date; });
    const QList<int> dated = dateRounds(ordered, slots);
    QList<QHash<QString, int>> games(count); // each team's lines dated in a round
    for (qsizetype i = 0; i < ordered.size(); ++i)
        ++games[dated[i]][ordered[i]->home], ++games[dated[i]][ordered[i]->away];
    Rounds rounds(count);
    QList<QSet<QString>> playing(count);
    QList<const ImportLine*> later = undated;
    for (int pass = 0; pass < 3; ++pass) // lines with no team twice in their round first, then one, then two
        for (qsizetype i = 0; i < ordered.size(); ++i) {
            const ImportLine& line = *ordered[i];
            const int r = dated[i];
            if (std::min(games[r][line.home] - 1, 1) + std::min(games[r][line.away] - 1, 1) != pass)
                continue;
            if (!playing[r].contains(line.home) && !playing[r].contains(line.away))
                rounds[r].append(&line), playing[r] << line.home << line.away;
            else
                later.append(&line);
        }
    for (const ImportLine* line : later) {
        qsizetype r = 0;
        while (r < count && (playing[r].contains(line->home) || playing[r].contains(line->away)))
            ++r;
        if (r == count)
            return Result<Rounds>::failure(
                u"%1 se nevejde do žádného kola: oba týmy mají zápas v každém kole, kde by jeden z nich mohl hrát."_s
                    .arg(where(*line)));
        rounds[r].append(line), playing[r] << line->home << line->away;
    }
    return rounds;
}

// Lines in their rounds: as the source numbers them, or as their dates and the teams' gaps put them.
Result<Rounds> linesInRounds(const ImportSource& source, int slots)
{
    if (!source.hasRounds)
        return inferredRounds(source, slots);
    Rounds rounds;
    for (const ImportLine& line : source.lines) {
        if (!line.stage.isEmpty())
            continue;
        if (rounds.size() < line.round)
            rounds.resize(line.round);
        rounds[line.round - 1].append(&line);
    }
    return rounds;
}

// A round spread over a weekend is on its first day; a game played weeks apart does not move it.
QDate roundDay(const QList<const ImportLine*>& lines)
{
    QList<QDate> days;
    for (const ImportLine* line : lines)
        if (line->date.isValid())
            days << line->date;
    std::sort(days.begin(), days.end());
    const auto first = std::find_if(days.begin(), days.end(),
                                    [&](const QDate& d) { return std::abs(d.daysTo(days[days.size() / 2])) <= 3; });
    return first == days.end() ? QDate() : *first;
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
        if (lines.size() != slots) {
            QStringList idle = named.teams;
            for (const ImportLine* line : lines)
                idle.removeOne(line->home), idle.removeOne(line->away);
            return Failure::failure(u"%1. kolo má %2 z %3 zápasů, které v něm %4 týmů hraje; bez zápasu: %5."_s.arg(r)
                                        .arg(lines.size())
                                        .arg(slots)
                                        .arg(teams)
                                        .arg(idle.mid(0, 10).join(u", ")));
        }
        QSet<int> playing;
        for (int m = 1; m <= slots; ++m) {
            const ImportLine& line = *lines[m - 1];
            for (int t : {team(line.home), team(line.away)})
                if (playing.contains(t))
                    return Failure::failure(
                        u"%1: %2 hraje v %3. kole dvakrát."_s.arg(where(line), s.TymPodleCisla(t)).arg(r));
            playing << team(line.home) << team(line.away);
            s.match(m, r) = {team(line.home), team(line.away), line.result};
        }
        const QDate date = roundDay(lines);
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
