// SPDX-License-Identifier: MIT
#include "newleague.h"

#include "season/datafiles.h"
#include "season/matchdates.h"
#include "season/seasonfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// A single round robin of an even number of teams, team n fixed: round r pairs n with r and r + k with
// r − k around the circle; the orientation of de Werra's canonical factorisation, n − 2 breaks in all.
QList<RoundPairings> singleRoundRobin(int n)
{
    const int m = n - 1;
    const auto around = [m](int i) { return ((i - 1) % m + m) % m + 1; };
    QList<RoundPairings> rounds;
    for (int r = 1; r <= m; ++r) {
        RoundPairings round{r % 2 ? std::pair{n, r} : std::pair{r, n}};
        for (int k = 1; k < n / 2; ++k) {
            const int a = around(r + k), b = around(r - k);
            round.append(k % 2 ? std::pair{a, b} : std::pair{b, a});
        }
        rounds.append(round);
    }
    return rounds;
}

} // namespace

QString plainLetters(const QString& text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber() && c.unicode() < 128)
            out += c.toLower();
    return out;
}

namespace {

// Breaks of the season, or -1 where a team would play three times running at home or away.
int breaksOrThreeInARow(const QList<RoundPairings>& rounds, int teams)
{
    QList<int> last(teams + 1), run(teams + 1); // +1 home, −1 away; matches in a row at that venue
    int breaks = 0;
    for (const RoundPairings& round : rounds)
        for (const auto& [home, away] : round)
            for (const auto& [team, venue] : {std::pair{home, 1}, std::pair{away, -1}}) {
                run[team] = last[team] == venue ? run[team] + 1 : 1;
                breaks += run[team] > 1;
                if (run[team] >= 3)
                    return -1;
                last[team] = venue;
            }
    return breaks;
}

bool meetAgain(const RoundPairings& first, const RoundPairings& second)
{
    return std::any_of(first.begin(), first.end(), [&](const auto& a) {
        return std::any_of(second.begin(), second.end(), [&](const auto& b) {
            return (a.first == b.first && a.second == b.second) || (a.first == b.second && a.second == b.first);
        });
    });
}

} // namespace

QList<RoundPairings> roundRobinSchedule(int teams, int meetings)
{
    const int n = teams + teams % 2; // an odd league's team n is nobody: its opponent rests
    const QList<RoundPairings> single = singleRoundRobin(n);
    const auto m = static_cast<int>(single.size());
    const auto block = [&](int start, int step, bool mirrored) {
        QList<RoundPairings> rounds;
        for (int i = 0; i < m; ++i) {
            RoundPairings round;
            for (auto [home, away] : single[((start + step * i) % m + m) % m])
                if (home <= teams && away <= teams)
                    round.append(mirrored ? std::pair{away, home} : std::pair{home, away});
            rounds.append(round);
        }
        return rounds;
    };
    QList<RoundPairings> season = block(0, 1, false);
    // Each further block, homes swapped every other time, starts where its rounds neither bring a pair
    // together again in the next round nor put a team three times running at one venue, with the fewest
    // breaks; two teams alone cannot but meet again.
    for (int b = 1; b < meetings; ++b) {
        QList<RoundPairings> best;
        int fewest = -1;
        for (int start = 0; start < m; ++start)
            for (int step : {1, -1}) {
                const QList<RoundPairings> next = block(start, step, b % 2 == 1);
                const int breaks = breaksOrThreeInARow(season + next, teams);
                if (breaks >= 0 && (fewest < 0 || breaks < fewest) &&
                    (!meetAgain(season.last(), next.first()) || teams <= 2))
                    best = next, fewest = breaks;
            }
        season += best.isEmpty() ? block(m - 1, -1, b % 2 == 1) : best;
    }
    return season;
}

int countBreaks(const QList<RoundPairings>& rounds, int teams)
{
    QList<int> last(teams + 1); // +1 home, −1 away, 0 none yet
    int breaks = 0;
    for (const RoundPairings& round : rounds) {
        for (const auto& [home, away] : round) {
            breaks += (last[home] == 1) + (last[away] == -1);
            last[home] = 1, last[away] = -1;
        }
    }
    return breaks;
}

Result<QList<int>> parseWeekdays(const QString& text)
{
    static const QStringList names{u"po"_s, u"ut"_s, u"st"_s, u"ct"_s, u"pa"_s, u"so"_s, u"ne"_s};
    QList<int> days;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const auto day = static_cast<int>(names.indexOf(plainLetters(part)));
        if (day < 0)
            return Result<QList<int>>::failure(
                u"„%1“ není den v týdnu (po, út, st, čt, pá, so, ne)."_s.arg(part.trimmed().left(20)));
        if (!days.contains(day + 1))
            days.append(day + 1);
    }
    if (days.isEmpty())
        return Result<QList<int>>::failure(u"Zadejte dny, kdy se hraje, např. út,pá,ne."_s);
    return days;
}

Result<QMap<int, QTime>> parseKickOffs(const QString& text)
{
    QMap<int, QTime> times;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList dayAndTime = part.split(u'=');
        // Split at the commas already: a day that reads is one day.
        const Result<QList<int>> day = parseWeekdays(dayAndTime.value(0));
        const QTime time = QTime::fromString(dayAndTime.value(1).trimmed(), u"H:mm"_s);
        if (dayAndTime.size() != 2 || !day.ok() || !time.isValid())
            return Result<QMap<int, QTime>>::failure(
                u"„%1“ není den a čas začátku ve tvaru st=18:00."_s.arg(part.trimmed().left(20)));
        times.insert(day.value().first(), time);
    }
    return times;
}

Result<std::pair<QDate, QDate>> parseDateRange(const QString& text)
{
    const QStringList parts = text.split(u'-');
    const QDate first = parseShortDate(parts.value(0).trimmed()), last = parseShortDate(parts.value(1).trimmed());
    if (parts.size() != 2 || !first.isValid() || !last.isValid() || last < first)
        return Result<std::pair<QDate, QDate>>::failure(
            u"„%1“ není přestávka ve tvaru D.M.RRRR-D.M.RRRR."_s.arg(text.left(40)));
    return std::pair{first, last};
}

Result<SeasonStore> leagueFrame(const NewLeague& r, int rounds)
{
    const auto refuse = [](const QString& why) { return Result<SeasonStore>::failure(why); };
    const auto teams = static_cast<int>(r.teams.size());
    if (r.name.trimmed().isEmpty())
        return refuse(u"Zadejte název soutěže."_s);
    if (r.season.trimmed().isEmpty())
        return refuse(u"Zadejte sezónu, např. 2026/2027."_s);
    for (const QString& text : QStringList{r.name, r.season} + r.teams)
        if (const QString problem = leagueTextProblem(text.trimmed()); !problem.isEmpty())
            return refuse(problem);
    if (teams < 2 || teams > kMaxTeams)
        return refuse(u"Soutěž musí mít 2 až %1 týmů, zadáno %2."_s.arg(kMaxTeams).arg(teams));
    QSet<QString> seen;
    for (const QString& team : r.teams) {
        if (team.trimmed().isEmpty())
            return refuse(u"Každý tým musí mít název."_s);
        if (seen.contains(team.trimmed()))
            return refuse(u"Tým „%1“ je zadán dvakrát."_s.arg(team.trimmed()));
        seen.insert(team.trimmed());
    }
    for (std::size_t k = 0; k < r.lines.size(); ++k)
        if (r.lines[k] < 0 || r.lines[k] > teams)
            return refuse(u"Dělicí čára %1 musí být od 0 do %2."_s.arg(k + 1).arg(teams));
    SeasonStore s(teams, rounds);
    s.caption = r.name.trimmed() + u"  " + r.season.trimmed();
    s.season = r.season.trimmed();
    s.HR1 = r.lines[0], s.HR2 = r.lines[1], s.HR3 = r.lines[2];
    if (const QString problem = rulesProblem(r.rules); !problem.isEmpty())
        return refuse(problem.left(1).toUpper() + problem.mid(1) + u'.');
    s.rules = r.rules;
    for (int t = 1; t <= teams; ++t)
        s.setTeamName(t, r.teams[t - 1].trimmed());
    return s;
}

Result<SeasonStore> makeLeague(const NewLeague& r)
{
    const auto refuse = [](const QString& why) { return Result<SeasonStore>::failure(why); };
    if (Result<SeasonStore> frame = leagueFrame(r, 0); !frame.ok())
        return frame;
    const auto teams = static_cast<int>(r.teams.size());
    if (r.meetings < 1 || r.meetings > kMaxMeetings)
        return refuse(u"Každá dvojice se utká 1× až %1×, zadáno %2×."_s.arg(kMaxMeetings).arg(r.meetings));
    const QList<RoundPairings> rounds = roundRobinSchedule(teams, r.meetings);
    if (!r.start.isValid())
        return refuse(u"Zadejte první hrací den."_s);
    if (!isSeasonDate(r.start))
        return refuse(u"První hrací den: "_s + seasonDateProblem(r.start));
    if (r.weekdays.isEmpty())
        return refuse(u"Zadejte dny, kdy se hraje, např. út,pá,ne."_s);

    SeasonStore s = leagueFrame(r, static_cast<int>(rounds.size())).value();
    QDate day = r.start;
    const QDate giveUp = r.start.addYears(3);
    for (int round = 1; round <= s.rounds(); ++round) {
        const auto playing = [&](const QDate& d) {
            if (!r.weekdays.contains(d.dayOfWeek()))
                return false;
            return std::none_of(r.breaks.begin(), r.breaks.end(),
                                [&](const auto& b) { return b.first <= d && d <= b.second; });
        };
        while (day <= giveUp && !playing(day))
            day = day.addDays(1);
        if (day > giveUp)
            return refuse(round == 1 ? u"Dny hraní a přestávky nenechávají žádný hrací den."_s
                                     : u"Dny hraní a přestávky nechávají do tří let jen %1 hracích dnů, sezóna "
                                       "jich potřebuje %2."_s.arg(round - 1)
                                           .arg(s.rounds()));
        s.setDate(round, day);
        day = day.addDays(1);
        const RoundPairings& pairs = rounds[round - 1];
        for (int slot = 1; slot <= s.slots(); ++slot) {
            s.match(slot, round) = {pairs[slot - 1].first, pairs[slot - 1].second, {}};
            if (const QTime kickOff = r.kickOffs.value(s.DATUM_KOLA(round).dayOfWeek()); kickOff.isValid())
                s.matchDates.insert({round, slot}, {QDate(), kickOff, false});
        }
    }
    return s;
}

QString leagueCode(const QString& name, const QString& season)
{
    static const QRegularExpression years(u"(\\d{2})(\\d{2})\\D+\\d{2}(\\d{2})"_s);
    const QRegularExpressionMatch m = years.match(season);
    return plainLetters(name) + (m.hasMatch() ? m.captured(2) + m.captured(3) : plainLetters(season));
}

QStringList competitionLines(const SeasonStore& season)
{
    const QString name = season.caption.endsWith(u"  " + season.season)
                             ? season.caption.chopped(season.season.size() + 2)
                             : season.caption;
    QStringList lines{u"; soutěž a její týmy"_s, u"nazev="_s + name, u"sezona="_s + season.season};
    const int hr[] = {season.HR1, season.HR2, season.HR3};
    for (int k = 0; k < 3; ++k)
        lines << u"HR%1=%2"_s.arg(k + 1).arg(hr[k]);
    lines << rulesLines(season.rules);
    for (int t = 1; t <= season.teams(); ++t)
        lines << u"t%1=%2"_s.arg(t, 2, 10, QChar(u'0')).arg(season.TymPodleCisla(t));
    return lines;
}

Result<QByteArray> competitionBytes(const SeasonStore& season, TextEncoding encoding)
{
    QStringList texts{season.caption, season.season};
    for (int t = 1; t <= season.teams(); ++t)
        texts << season.TymPodleCisla(t);
    for (const QString& text : texts)
        if (const QString problem = leagueTextProblem(text); !problem.isEmpty())
            return Result<QByteArray>::failure(problem);
    const QByteArray bytes = encodeLines(competitionLines(season), encoding);
    // Whatever the checks above miss, a file that reads back as another league is never written.
    const Result<SeasonStore> back = readCompetition(bytes, u"sezona_.txt"_s);
    bool same = back.ok() && back.value().caption == season.caption && back.value().season == season.season &&
                back.value().teams() == season.teams() && back.value().HR1 == season.HR1 &&
                back.value().HR2 == season.HR2 && back.value().HR3 == season.HR3 && back.value().rules == season.rules;
    for (int t = 1; same && t <= season.teams(); ++t)
        same = back.value().TymPodleCisla(t) == season.TymPodleCisla(t);
    if (!same)
        return Result<QByteArray>::failure(u"Názvy soutěže a týmů by se ze souboru nepřečetly tak, jak jsou zadány."_s);
    return bytes;
}

Result<QString> writeNewLeague(const QString& folder, const QString& code, const SeasonStore& season)
{
    static const QRegularExpression fileCode(u"^[A-Za-z0-9_-]{1,40}$"_s);
    if (!fileCode.match(code).hasMatch())
        return Result<QString>::failure(
            u"„%1“ nejde použít v názvu souboru: jen písmena bez diakritiky, číslice, - a _, nejvýš 40 znaků."_s.arg(
                code.left(60)),
            kNameRefused);
    for (int r = 1; r <= season.rounds(); ++r)
        if (const QString problem = seasonDateProblem(season.DATUM_KOLA(r)); !problem.isEmpty())
            return Result<QString>::failure(u"%1. kolo: %2"_s.arg(r).arg(problem));
    const QString competition = QDir(folder).filePath(leagueFilePrefix(LeagueFile::Competition) + code + u".txt"_s);
    const TextEncoding encoding = encodingToWrite(competitionLines(season), std::nullopt, TextEncoding::Windows1250);
    const Result<QByteArray> bytes = competitionBytes(season, encoding);
    if (!bytes.ok())
        return Result<QString>::failureOf(bytes);
    // Two programs making the same league at once: the second finds the first's files.
    LeagueLock lock(scheduleFileFor(competition));
    if (const Result<void> locked = lock.acquire(3000); !locked.ok())
        return Result<QString>::failureOf(locked);
    if (QFileInfo::exists(competition))
        return Result<QString>::failure(
            u"Liga „%1“ už ve složce je (%2); zvolte jiný název."_s.arg(code, QFileInfo(competition).fileName()),
            kNameRefused);
    if (const QStringList left = existingCompanions(competition); !left.isEmpty())
        return Result<QString>::failure(
            u"Ve složce zůstaly soubory ligy „%1“ (%2); nová liga by je převzala. "
            "Zvolte jiný název, nebo soubory nejprve přesuňte."_s.arg(code, left.join(u", ")),
            kNameRefused);
    // The competition file last: the league is listed only once it is whole.
    QList<std::pair<QString, QByteArray>> files{{scheduleFileFor(competition), scheduleBytes(season, encoding)}};
    if (!season.matchDates.isEmpty())
        files.append({matchDatesFileFor(competition), encodeLines(matchDatesLines(season.matchDates), encoding)});
    files.append({competition, bytes.value()});
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (Result<void> written = writeFileAtomically(files[i].first, files[i].second); !written.ok()) {
            for (qsizetype k = 0; k < i; ++k)
                QFile::remove(files[k].first);
            return Result<QString>::failureOf(written);
        }
    }
    return competition;
}
