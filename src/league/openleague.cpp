// SPDX-License-Identifier: MIT
#include "openleague.h"

#include "season/matchdates.h"

#include "season/notation.h"
#include "season/seasonfile.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QByteArray fingerprint(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

OpenLeague::OpenLeague(const QString& competitionPath, Journalling journalling)
    : m_competitionPath(competitionPath), m_schedulePath(scheduleFileFor(competitionPath)),
      m_lock(std::make_unique<LeagueLock>(m_schedulePath)), m_journal(m_schedulePath), m_journalling(journalling)
{
}

Result<void> OpenLeague::lock(int waitMs)
{
    return afterLocking(m_lock->acquire(waitMs));
}

const QString& OpenLeague::otherComputer() const
{
    return m_lock->otherComputer();
}

Result<void> OpenLeague::takeOver()
{
    return afterLocking(m_lock->takeOver());
}

Result<void> OpenLeague::afterLocking(Result<void> locked)
{
    m_locked = locked.ok();
    if (m_locked)
        removeLeftoverTemporaries(m_schedulePath);
    return locked;
}

void OpenLeague::unlock()
{
    m_lock = std::make_unique<LeagueLock>(m_schedulePath);
    m_locked = false;
}

Result<ReadLeague> OpenLeague::read()
{
    Result<ReadLeague> league = readLeague(m_competitionPath);
    if (league.ok()) {
        m_fingerprint = fingerprint(readDataFile(m_schedulePath).valueOr({}));
        m_onDisk = m_season = league.value().store;
        m_real.reset();
        m_realPlayoff.reset();
        readPlayoffFile();
        Q_EMIT seasonChanged();
    }
    return league;
}

bool OpenLeague::changedOnDisk() const
{
    const Result<QByteArray> onDisk = readDataFile(m_schedulePath);
    return onDisk.ok() && fingerprint(onDisk.value()) != m_fingerprint;
}

Result<void> OpenLeague::save(const SeasonStore& season, const QDateTime& when)
{
    if (season.hypothetical)
        return Result<void>::failure(u"Výsledky režimu „Co kdyby“ se neukládají."_s);
    const QByteArray bytes = scheduleBytes(season, leagueFileEncoding(m_competitionPath, LeagueFile::Schedule));
    const Result<void> saved = saveDataFile(m_schedulePath, bytes, when, !m_scheduleBackedUp);
    // A save that failed only after the rename has still put the file there: it is no other program's change.
    if (saved.ok() || readDataFile(m_schedulePath).valueOr({}) == bytes) {
        m_scheduleBackedUp = true;
        m_fingerprint = fingerprint(bytes);
        m_onDisk = season;
    }
    return saved;
}

Result<void> OpenLeague::save(const QDateTime& when, Changes otherProgram)
{
    if (otherProgram == Changes::Keep && changedOnDisk())
        return Result<void>::failure(
            u"Soubor „%1“ se od načtení změnil, upravil jej jiný program."_s.arg(QFileInfo(m_schedulePath).fileName()),
            kChangedOnDisk);
    return save(m_season, when);
}

Result<void> OpenLeague::journal(int round, int slot, const Match& typed)
{
    const auto known = m_journalled.find({round, slot});
    if (m_journalling == Journalling::Off || whatIf() ||
        typed == (known != m_journalled.end() ? known->second : m_season.match(slot, round)))
        return {};
    m_journalled[{round, slot}] = typed;
    return m_journal.record({round, slot, typed, m_onDisk.match(slot, round)});
}

void OpenLeague::clearJournal()
{
    m_journal.clear();
    m_journalled.clear();
}

Result<void> OpenLeague::setMatch(int round, int slot, const Match& match)
{
    return apply({{round, slot, match}});
}

Result<void> OpenLeague::swapPairing(int round, int slot)
{
    const Match& m = m_season.match(slot, round);
    return setMatch(round, slot, {m.away, m.home, m.result});
}

Result<void> OpenLeague::apply(const QList<MatchChange>& changes)
{
    Result<void> journalled;
    bool changed = false;
    for (const MatchChange& c : changes) {
        if (m_season.match(c.slot, c.round) == c.match)
            continue;
        if (Result<void> recorded = journal(c.round, c.slot, c.match); journalled.ok())
            journalled = std::move(recorded); // the first failure says why; later records are still tried
        m_season.match(c.slot, c.round) = c.match;
        changed = true;
    }
    if (changed)
        Q_EMIT seasonChanged();
    return journalled;
}

Result<void> OpenLeague::applyResults(const QList<SlotResult>& results)
{
    QList<MatchChange> changes;
    for (const SlotResult& r : results) {
        const Match& m = m_season.match(r.slot, r.round);
        changes.append({r.round, r.slot, {m.home, m.away, r.result}});
    }
    return apply(changes);
}

Result<void> OpenLeague::moveMatch(int round, int slot, int toRound)
{
    const Result<int> partner = swapPartner(round, slot, toRound);
    if (!partner.ok())
        return Result<void>::failureOf(partner);
    const Match moved = m_season.match(slot, round), there = m_season.match(partner.value(), toRound);
    return apply({{round, slot, there}, {toRound, partner.value(), moved}});
}

Result<int> OpenLeague::swapPartner(int round, int slot, int toRound) const
{
    const SeasonStore& s = m_season;
    const auto fail = [](const QString& why) { return Result<int>::failure(why); };
    if (round < 1 || round > s.rounds() || toRound < 1 || toRound > s.rounds() || slot < 1 || slot > s.slots())
        return fail(u"Kolo nebo zápas v lize není."_s);
    const Match moved = s.match(slot, round);
    if (!moved.result.isEmpty())
        return fail(u"Zápas už má výsledek; přesunout lze jen zápas bez výsledku."_s);
    if (toRound == round)
        return fail(u"Zápas už v %1. kole je."_s.arg(round));
    // Whether `m` can stand in `r` once the match in `freed` has left it.
    const auto fits = [&](const Match& m, int r, int freed) {
        for (int k = 1; k <= s.slots(); ++k) {
            const Match& other = s.match(k, r);
            if (k != freed &&
                (other.home == m.home || other.home == m.away || other.away == m.home || other.away == m.away))
                return false;
        }
        return true;
    };
    // At most one match fits: its teams are the moved pair, or one of them and the team resting in `round`.
    int partner = 0;
    for (int k = 1; k <= s.slots() && partner == 0; ++k) {
        const Match& there = s.match(k, toRound);
        if (there.result.isEmpty() && fits(moved, toRound, k) && fits(there, round, slot))
            partner = k;
    }
    if (partner == 0)
        return fail(
            u"V %1. kole nemají oba týmy volno a žádný jeho zápas bez výsledku se nedá vyměnit."_s.arg(toRound));
    return partner;
}

namespace {

// The competition file with the team's line renamed and nothing else changed: comments, blanks and the
// order of the keys stay as the file has them, and so does its encoding unless the name needs UTF-8.
Result<QByteArray> renamedInFile(const QByteArray& bytes, int team, const QString& name)
{
    const TextEncoding had = encodingOf(bytes);
    QStringList lines = decodeText(bytes).split(u'\n');
    const bool endsWithNewline = lines.size() > 1 && lines.last().isEmpty();
    if (endsWithNewline)
        lines.removeLast();
    static const QRegularExpression key(u"^\\s*t0?(\\d{1,2})="_s);
    bool found = false;
    for (QString& line : lines) {
        const QRegularExpressionMatch m = key.match(line);
        if (m.hasMatch() && m.captured(1).toInt() == team) {
            // the last of repeated keys counts, so each is renamed
            line = m.captured(0) + name + (line.endsWith(u'\r') ? u"\r"_s : QString());
            found = true;
        }
    }
    if (!found)
        return Result<QByteArray>::failure(u"Tým č. %1 v souboru soutěže chybí."_s.arg(team));
    return encodeText(lines.join(u'\n') + (endsWithNewline ? u"\n"_s : QString()), encodingToWrite({name}, had, had));
}

} // namespace

Result<void> OpenLeague::renameTeam(int team, const QString& name, const QDateTime& when)
{
    const QString newName = name.trimmed();
    if (whatIf())
        return Result<void>::failure(u"V režimu „Co kdyby“ se nic neukládá, ani názvy týmů."_s);
    if (team < 1 || team > m_season.teams())
        return Result<void>::failure(u"Tým č. %1 v lize není."_s.arg(team));
    if (newName.isEmpty())
        return Result<void>::failure(u"Zadejte nový název týmu."_s);
    if (const QString problem = leagueTextProblem(newName); !problem.isEmpty())
        return Result<void>::failure(problem);
    if (const int other = m_season.CisloPodleTymu(newName); other != 0 && other != team)
        return Result<void>::failure(u"Název „%1“ už má tým č. %2."_s.arg(newName).arg(other));
    const Result<QByteArray> bytes = readDataFile(m_competitionPath);
    if (!bytes.ok())
        return Result<void>::failureOf(bytes);
    const Result<QByteArray> renamed = renamedInFile(bytes.value(), team, newName);
    if (!renamed.ok())
        return Result<void>::failureOf(renamed);
    const Result<SeasonStore> back = readCompetition(renamed.value(), QFileInfo(m_competitionPath).fileName());
    if (!back.ok() || back.value().TymPodleCisla(team) != newName)
        return Result<void>::failure(
            u"Název „%1“ by se ze souboru soutěže nepřečetl tak, jak je zadán."_s.arg(newName));
    const Result<void> saved = saveDataFile(m_competitionPath, renamed.value(), when, !m_competitionBackedUp);
    if (!saved.ok())
        return saved;
    m_competitionBackedUp = true;
    m_season.setTeamName(team, newName);
    m_onDisk.setTeamName(team, newName);
    Q_EMIT seasonChanged();
    return {};
}

void OpenLeague::restore(const QList<JournalEntry>& entries)
{
    RecoveryJournal::restore(m_season, entries);
    if (!entries.isEmpty())
        Q_EMIT seasonChanged();
}

Result<void> OpenLeague::setMatchDate(int round, int slot, const std::optional<MatchDate>& date, const QDateTime& when)
{
    return setMatchDates({{{round, slot}, date}}, when);
}

Result<void> OpenLeague::setMatchDates(const QMap<std::pair<int, int>, std::optional<MatchDate>>& changes,
                                       const QDateTime& when)
{
    if (whatIf())
        return Result<void>::failure(u"V režimu „Co kdyby“ se nic neukládá, ani termíny zápasů."_s);
    if (!m_season.matchDatesIgnored.isEmpty()) // the broken file is the user's to mend, never to overwrite
        return Result<void>::failure(m_season.matchDatesIgnored);
    QMap<std::pair<int, int>, MatchDate> dates = m_season.matchDates;
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const auto [round, slot] = it.key();
        const std::optional<MatchDate>& date = it.value();
        if (date)
            if (Result<void> fits = checkMatchDate(m_season, round, slot, *date); !fits.ok())
                return fits;
        if (date && (date->postponed || date->time.isValid() ||
                     (date->date.isValid() && date->date != m_season.DATUM_KOLA(round))))
            dates.insert({round, slot}, *date);
        else
            dates.remove({round, slot}); // its round's date is no date of its own
    }
    const QString path = matchDatesFileFor(m_competitionPath);
    if (dates == m_season.matchDates || (dates.isEmpty() && !QFileInfo::exists(path)))
        return {};
    const Result<void> saved = saveDataFile(
        path, leagueFileBytes(m_competitionPath, LeagueFile::Dates, matchDatesLines(dates)), when, !m_datesBackedUp);
    if (!saved.ok())
        return saved;
    m_datesBackedUp = true;
    m_season.matchDates = dates;
    Q_EMIT seasonChanged();
    return {};
}

Result<void> OpenLeague::setAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when)
{
    if (whatIf())
        return Result<void>::failure(u"V režimu „Co kdyby“ se nic neukládá, ani úpravy bodů."_s);
    Result<void> saved = saveAdjustments(adjustments, when);
    if (saved.ok()) {
        m_season.adjustments = adjustments;
        Q_EMIT seasonChanged();
    }
    return saved;
}

void OpenLeague::setWhatIf(bool on)
{
    if (on == whatIf())
        return;
    if (on) {
        m_real = m_season;
        m_realPlayoff = m_playoff;
        m_season.hypothetical = true;
    } else {
        m_season = *std::exchange(m_real, std::nullopt);
        m_playoff = std::exchange(m_realPlayoff, std::nullopt);
    }
    Q_EMIT seasonChanged();
}

bool OpenLeague::hypotheticalChanges() const
{
    if (!m_real)
        return false;
    SeasonStore asReal = m_season;
    asReal.hypothetical = false;
    return asReal != *m_real;
}

void OpenLeague::readPlayoffFile()
{
    Result<std::optional<Playoff>> read = readLeaguePlayoff(m_competitionPath, m_season);
    m_playoff = read.valueOr(std::nullopt);
    m_playoffProblem = read.error();
}

Result<void> OpenLeague::setPlayoff(Playoff with, const QDateTime& when)
{
    if (!whatIf()) {
        const Result<void> saved = saveDataFile(
            playoffFileFor(m_competitionPath),
            leagueFileBytes(m_competitionPath, LeagueFile::Playoff, playoffLines(with)), when, !m_playoffBackedUp);
        if (!saved.ok())
            return saved;
        m_playoffBackedUp = true;
    }
    m_playoff = std::move(with);
    Q_EMIT seasonChanged();
    return {};
}

Result<void> OpenLeague::addPlayoffGame(const PlayoffGame& game, const QDateTime& when)
{
    if (!m_playoff)
        return Result<void>::failure(u"Liga nemá play-off."_s);
    if (const Result<void> fits = checkNewGame(*m_playoff, m_season, game); !fits.ok())
        return fits;
    Playoff with = *m_playoff;
    with.games.append(game);
    with.games.last().result = normaliseResult(game.result);
    with.games.last().line = 0;
    return setPlayoff(std::move(with), when);
}

Result<void> OpenLeague::removePlayoffGame(int stage, int home, int away, const QDateTime& when)
{
    if (!m_playoff)
        return Result<void>::failure(u"Liga nemá play-off."_s);
    Result<Playoff> without = withoutLastGame(*m_playoff, m_season, stage, home, away);
    if (!without.ok())
        return Result<void>::failureOf(without);
    return setPlayoff(std::move(without).value(), when);
}

Result<void> OpenLeague::planPlayoffGame(const PlannedGame& game, const QDateTime& when)
{
    if (!m_playoff)
        return Result<void>::failure(u"Liga nemá play-off."_s);
    Result<Playoff> with = withPlannedGame(*m_playoff, m_season, game);
    if (!with.ok())
        return Result<void>::failureOf(with);
    return setPlayoff(std::move(with).value(), when);
}

Result<void> OpenLeague::createPlayoff(const QList<StageRow>& stages, const QDateTime& when)
{
    const QString path = playoffFileFor(m_competitionPath);
    if (m_playoff || QFileInfo::exists(path))
        return Result<void>::failure(u"Liga už play-off má (%1)."_s.arg(QFileInfo(path).fileName()));
    const Result<QStringList> lines = playoffFileLines(stages, m_season.teams());
    if (!lines.ok())
        return Result<void>::failure(lines.error());
    if (const Result<void> saved =
            saveDataFile(path, leagueFileBytes(m_competitionPath, LeagueFile::Playoff, lines.value()), when, false);
        !saved.ok())
        return saved;
    readPlayoffFile();
    Q_EMIT seasonChanged();
    return m_playoff ? Result<void>() : Result<void>::failure(m_playoffProblem);
}

Result<void> OpenLeague::saveAdjustments(const QList<PointsAdjustment>& adjustments, const QDateTime& when)
{
    const Result<void> saved =
        saveDataFile(adjustmentsFileFor(m_competitionPath),
                     leagueFileBytes(m_competitionPath, LeagueFile::Adjustments, adjustmentsLines(adjustments)), when,
                     !m_adjustmentsBackedUp);
    m_adjustmentsBackedUp = m_adjustmentsBackedUp || saved.ok();
    return saved;
}
