// SPDX-License-Identifier: MIT
#include "update.h"

#include "playoff/playoff.h"

#include "common/programinfo.h"
#include "lookups/lookups.h"
#include "season/datafiles.h"
#include "season/matchdates.h"
#include "season/seasonfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QPointer>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kUpdatePath = u"/velmor/update/"_s;
const QString kStagingPrefix = u".aktualizace-"_s;
const QString kInvalidData = u"Server vrátil neplatná data!"_s;
const QString kUnchanged = u"\r\n\r\nData programu zůstávají beze změny."_s;

bool allDigits(const QString& s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// By name and suffix: never a lock, a journal or a save's temporary file, whatever the list calls it.
bool isCompetition(const QString& name)
{
    return leagueFileKind(name) == LeagueFile::Competition;
}
bool isSchedule(const QString& name)
{
    return leagueFileKind(name) == LeagueFile::Schedule;
}
bool isPlayoff(const QString& name)
{
    return leagueFileKind(name) == LeagueFile::Playoff;
}
bool isDates(const QString& name)
{
    return leagueFileKind(name) == LeagueFile::Dates;
}
// The files whose league's lock guards them, as the schedule's: what the fan types goes into them too.
bool isGuarded(const QString& name)
{
    return isSchedule(name) || isPlayoff(name) || isDates(name);
}
bool isCalendar(const QString& name)
{
    return name.startsWith(u"kalendar_") && name.endsWith(u".dat");
}
QString scheduleOf(const QString& competition)
{
    return leagueFileName(competition, LeagueFile::Schedule);
}
QString competitionOf(const QString& name)
{
    return competitionNameOf(name);
}

void tellFetchError(UpdateSurroundings& with, const FetchResult& r, const QString& name = {})
{
    if (r.status == FetchResult::Status::Unreachable)
        return with.tellError(u"Nelze navázat spojení!"_s, u"update"_s);
    const QString where = name.isEmpty() ? QString() : u", soubor "_s + name;
    with.tellError(u"Došlo k chybě!\r\n\r\n("_s + r.reason + where + u')', u"update"_s);
}

// The files of "souteze" as the update would leave them: the downloaded ones over the local ones.
class Delivery final {
public:
    explicit Delivery(const QDir& souteze) : m_souteze(souteze) {}

    std::map<QString, QByteArray> downloaded;

    Result<QByteArray> bytes(const QString& name) const
    {
        const auto it = downloaded.find(name);
        return it != downloaded.end() ? Result<QByteArray>(it->second) : readDataFile(m_souteze.filePath(name));
    }

    // Reads a league as the program would after the update.
    Result<SeasonStore> league(const QString& competition) const
    {
        const Result<QByteArray> c = bytes(competition), s = bytes(scheduleOf(competition));
        if (!c.ok() || !s.ok())
            return Result<SeasonStore>::failure(c.ok() ? s.error() : c.error());
        Result<SeasonStore> teams = readCompetition(c.value(), competition);
        if (!teams.ok())
            return teams;
        return readSchedule(s.value(), scheduleOf(competition), std::move(teams).value());
    }

    // The local league as it is now, before anything is replaced.
    std::optional<SeasonStore> localLeague(const QString& competition) const
    {
        Result<SeasonStore> s =
            loadSeason(m_souteze.filePath(competition), m_souteze.filePath(scheduleOf(competition)));
        if (!s.ok())
            return std::nullopt;
        return std::move(s).value();
    }

private:
    QDir m_souteze;
};

// Held while an update works in "souteze".
const QString kRunningLock = u".aktualizace.lock"_s;

// Names the files of a staging folder that are complete and checked, in the order they are installed.
const QString kInstallList = u"instalovat.txt"_s;

// Replaces every target by its staged file, or none: a failure puts back what was replaced. A crash
// on the way is completed by finishInterruptedUpdate, guided by the install list written first.
Result<void> installAll(const QDir& souteze, const QDir& staging, const QStringList& names)
{
    namespace fs = std::filesystem;
    if (Result<void> listed = writeFileAtomically(staging.filePath(kInstallList), names.join(u'\n').toUtf8());
        !listed.ok())
        return listed;
    std::error_code ec;
    QStringList replaced;
    const auto path = [](const QDir& dir, const QString& name) {
        return fs::path(QFile::encodeName(dir.filePath(name)).toStdString());
    };
    for (const QString& name : names) {
        const fs::path target = path(souteze, name), original = path(staging, name + u".puvodni");
        const bool existed = fs::exists(target, ec);
        if (existed) {
            fs::create_hard_link(target, original, ec);
            if (ec)
                fs::copy_file(target, original, ec);
        }
        if (!ec)
            fs::rename(path(staging, name), target, ec);
        if (ec) {
            const QString reason = czechFileReason(ec.value());
            std::error_code ignored;
            for (const QString& done : replaced) {
                if (fs::exists(path(staging, done + u".puvodni"), ignored))
                    fs::rename(path(staging, done + u".puvodni"), path(souteze, done), ignored);
                else
                    fs::remove(path(souteze, done), ignored);
            }
            fs::remove(path(staging, kInstallList), ignored);
            return Result<void>::failure(u"Soubor „%1“ nelze nahradit: %2."_s.arg(name, reason));
        }
        replaced << name;
    }
    return {};
}

// Inside every staging folder the program makes: a folder under such a name without it is not ours.
const QString kStagingMarker = u".rinkomat-aktualizace"_s;

bool isOurStaging(const QFileInfo& entry)
{
    const QFileInfo marker(QDir(entry.filePath()).filePath(kStagingMarker));
    return entry.isDir() && !entry.isSymLink() && marker.isFile() && !marker.isSymLink();
}

// What an interruption may have left under the staging name: our own folders, and links, which are
// never followed.
QFileInfoList stagingLeftovers(const QDir& souteze)
{
    QFileInfoList found = souteze.entryInfoList({kStagingPrefix + u'*'},
                                                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    found.removeIf([](const QFileInfo& entry) { return !entry.isSymLink() && !isOurStaging(entry); });
    return found;
}

QStringList finishStaging(const QDir& souteze)
{
    QStringList installed;
    for (const QFileInfo& entry : stagingLeftovers(souteze)) {
        if (entry.isSymLink()) {
            QFile::remove(entry.filePath()); // the link itself, never what it points to
            continue;
        }
        QDir staging(entry.filePath());
        // Without its list the staging was never complete and nothing in "souteze" was touched.
        const Result<QByteArray> list = readDataFile(staging.filePath(kInstallList));
        for (const QString& name : list.ok() ? QString::fromUtf8(list.value()).split(u'\n') : QStringList()) {
            if (!isPlainFileName(name) || !QFileInfo::exists(staging.filePath(name)))
                continue; // installed before the interruption
            const QByteArray from = QFile::encodeName(staging.filePath(name)),
                             to = QFile::encodeName(souteze.filePath(name));
            if (std::rename(from.constData(), to.constData()) == 0)
                installed << name;
        }
        staging.removeRecursively();
    }
    return installed;
}

} // namespace

QStringList finishInterruptedUpdate(const QDir& souteze)
{
    if (stagingLeftovers(souteze).isEmpty())
        return {}; // nothing to finish, and a command that only reads writes nothing
    // A staging folder of an update that still runs is not a crash's.
    QLockFile running(souteze.filePath(kRunningLock));
    running.setStaleLockTime(0);
    if (!running.tryLock(0))
        return {};
    return finishStaging(souteze);
}

QString compactVersion(const QString& version)
{
    return QString(version).remove(u'.');
}

bool isNewerVersion(const QString& serverVersion, const QString& localVersion)
{
    return compactVersion(serverVersion) > compactVersion(localVersion);
}

std::optional<UpdateList> parseUpdateList(const QByteArray& body)
{
    if (!body.startsWith("VELMOR_UPDATE"))
        return std::nullopt;
    const QStringList lines = decodeLines(body);
    UpdateList list;
    list.dataDate = lines.value(1);
    for (const QString& line : lines.mid(2)) {
        if (line.isEmpty())
            break;
        list.files << line;
    }
    return list;
}

bool isPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name.contains(u".."))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control;
    });
}

QList<ResultConflict> mergeResults(const SeasonStore& local, SeasonStore& downloaded)
{
    QList<ResultConflict> conflicts;
    // A download of another shape keeps what this league typed for the rounds both have.
    for (int r = 1; r <= std::min(local.rounds(), downloaded.rounds()); ++r) {
        for (int m = 1; m <= downloaded.slots(); ++m) {
            Match& theirs = downloaded.match(m, r);
            for (int k = 1; k <= local.slots(); ++k) {
                const Match& mine = local.match(k, r);
                if (mine.home != theirs.home || mine.away != theirs.away || mine.result.isEmpty())
                    continue;
                if (theirs.result.isEmpty())
                    theirs.result = mine.result;
                else if (theirs.result != mine.result)
                    conflicts.append({r, m, mine.result, theirs.result});
            }
        }
    }
    return conflicts;
}

QString conflictText(const ResultConflict& c, const SeasonStore& season)
{
    const Match& m = season.match(c.slot, c.round);
    return u"%1. kolo  %2 - %3: vaše %4, server %5"_s.arg(c.round).arg(season.TymPodleCisla(m.home),
                                                                       season.TymPodleCisla(m.away), c.mine, c.server);
}

QList<DateConflict> mergeMatchDates(const SeasonStore& local, SeasonStore& downloaded)
{
    QList<DateConflict> conflicts;
    for (auto it = local.matchDates.cbegin(); it != local.matchDates.cend(); ++it) {
        const auto [round, slot] = it.key();
        if (round > local.rounds() || slot > local.slots() || round > downloaded.rounds())
            continue;
        const Match& m = local.match(slot, round);
        int there = 0;
        for (int k = 1; k <= downloaded.slots() && there == 0; ++k)
            if (downloaded.match(k, round).home == m.home && downloaded.match(k, round).away == m.away)
                there = k;
        if (there == 0)
            continue;
        const auto server = downloaded.matchDates.constFind({round, there});
        if (server == downloaded.matchDates.cend())
            downloaded.matchDates.insert({round, there}, it.value());
        else if (server.value() != it.value())
            conflicts.append({round, there, it.value(), server.value()});
    }
    return conflicts;
}

QString conflictText(const DateConflict& c, const SeasonStore& season)
{
    const Match& m = season.match(c.slot, c.round);
    const auto text = [&](const MatchDate& d) {
        const QString shown = matchDateText(d);
        return shown.isEmpty() ? shortDate(season.DATUM_KOLA(c.round)) : shown;
    };
    return u"%1. kolo  %2 - %3: vaše %4, server %5"_s.arg(c.round).arg(
        season.TymPodleCisla(m.home), season.TymPodleCisla(m.away), text(c.mine), text(c.server));
}

// One update, step by step: each step that waits for a file or a pause hands on to the next when it comes;
// a step that ends the update calls finish().
class UpdateRun final {
public:
    UpdateRun(UpdateJob& job, UpdateSurroundings& with, UpdatedLeague* league, const QString& programFolder,
              int deadlineMs)
        : m_job(&job), m_with(with), m_league(league), m_folder(programFolder),
          m_souteze(m_folder.filePath(u"souteze"_s)), m_delivery(m_souteze), m_overall(deadlineMs),
          m_deadlineMs(deadlineMs)
    {
    }

    void begin(const QString& serverName);

private:
    void versionArrived(const FetchResult& r);
    void listArrived(const FetchResult& r);
    void nextFile(int index);
    void fileArrived(int index, const FetchResult& r);
    std::optional<UpdateOutcome> startDownload();
    // What the downloaded files and the fan's make together, before anything is staged.
    struct PlayoffMerge {
        Playoff fresh;
        std::optional<Playoff> local;
        QStringList lost; // the fan's games the server's file has no stage for
    };
    struct Merge {
        std::map<QString, std::pair<SeasonStore, QList<ResultConflict>>> schedules; // by competition file
        std::map<QString, PlayoffMerge> playoffs;                                   // by file
        std::map<QString, std::pair<SeasonStore, QList<DateConflict>>> dates;       // by file
        QStringList conflicts;
    };
    std::optional<UpdateOutcome> lockLeagues();
    // Reads one downloaded file into the merge; the reason it cannot be used, or empty.
    QString mergeOne(const QString& name, Merge& merge);
    QString mergeDates(const QString& name, Merge& merge);
    std::optional<UpdateOutcome> mergeAndStage();
    std::optional<UpdateOutcome> install();

    // `then`, but only while the job lives: a window closed meanwhile takes its update with it.
    template <typename... Args> std::function<void(Args...)> guarded(std::function<void(Args...)> then)
    {
        return [job = m_job, then](Args... args) {
            if (job)
                then(args...);
        };
    }
    // However slowly each file arrives, the whole update ends in time.
    void fetch(const QString& path, std::function<void(const FetchResult&)> then)
    {
        if (m_overall.hasExpired()) {
            FetchResult late;
            late.reason = u"aktualizace trvala déle než %1 s"_s.arg(m_deadlineMs / 1000);
            return then(late);
        }
        m_with.fetch(path, static_cast<int>(std::min<qint64>(kFileDeadlineMs, m_overall.remainingTime())),
                     guarded<const FetchResult&>(std::move(then)));
    }
    void pause(int milliseconds, std::function<void()> then) { m_with.pause(milliseconds, guarded<>(std::move(then))); }
    void finish(UpdateOutcome outcome) { Q_EMIT m_job->finished(outcome); }
    // Ends the update when a step says so; true then.
    bool ended(const std::optional<UpdateOutcome>& outcome)
    {
        if (outcome)
            finish(*outcome);
        return outcome.has_value();
    }
    // The outcome of a fetch that did not bring the file.
    std::optional<UpdateOutcome> fetchFailure(const FetchResult& r, const QString& name = {})
    {
        if (r.status == FetchResult::Status::Cancelled)
            return UpdateOutcome::Cancelled;
        if (r.ok())
            return std::nullopt;
        tellFetchError(m_with, r, name);
        return UpdateOutcome::Failed;
    }
    UpdateOutcome fail(const QString& text)
    {
        m_with.tellError(text, u"update"_s);
        return UpdateOutcome::Failed;
    }

    QPointer<UpdateJob> m_job;
    UpdateSurroundings& m_with;
    UpdatedLeague* const m_league;
    const QDir m_folder;
    const QDir m_souteze;
    Delivery m_delivery;
    const QDeadlineTimer m_overall;
    const int m_deadlineMs;
    UpdateList m_list;
    std::unique_ptr<QLockFile> m_running;
    std::unique_ptr<QTemporaryDir> m_staging;
    std::vector<std::unique_ptr<LeagueLock>> m_locks;
    qint64 m_received = 0;
};

void UpdateRun::begin(const QString& serverName)
{
    m_with.status(u"navazuji spojení se serverem "_s + serverName + u"...");
    pause(500, [this] { fetch(kUpdatePath + u"newest.dat", [this](const FetchResult& r) { versionArrived(r); }); });
}

void UpdateRun::versionArrived(const FetchResult& r)
{
    if (ended(fetchFailure(r)))
        return;
    m_with.status(u"spojení úspěšně navázáno"_s);
    pause(250, [this, r] {
        const QString version = QString::fromLatin1(r.body).trimmed();
        if (!allDigits(compactVersion(version))) {
            m_with.tellError(kInvalidData, program::title);
            return finish(UpdateOutcome::Failed);
        }
        const QString question = u"Byla zjištěna novější verze programu!\r\n\r\nVaše verze: "_s + program::version +
                                 u"\r\nDostupná verze: " + version +
                                 u"\r\n\r\nPřejete si otevřít www stránku programu?";
        if (isNewerVersion(version, program::version) && m_with.askYesNo(question, false, program::title)) {
            m_with.openHomePage();
            return finish(UpdateOutcome::NothingToDo);
        }
        fetch(kUpdatePath + u"update_v3.dat", [this](const FetchResult& list) { listArrived(list); });
    });
}

void UpdateRun::listArrived(const FetchResult& r)
{
    if (ended(fetchFailure(r)))
        return;
    const std::optional<UpdateList> parsed = parseUpdateList(r.body);
    if (!parsed) {
        m_with.tellError(kInvalidData, program::title);
        return finish(UpdateOutcome::Failed);
    }
    m_list = *parsed;
    if (m_list.files.size() > kMaxUpdateFiles)
        return finish(fail(u"Server nabízí %1 souborů, víc než %2; aktualizace se neprovede."_s.arg(m_list.files.size())
                               .arg(kMaxUpdateFiles) +
                           kUnchanged));
    for (const QString& name : m_list.files) {
        if (!isPlainFileName(name) || m_list.files.count(name) > 1)
            return finish(
                fail(u"Název souboru „%1“ není přípustný; aktualizace se neprovede."_s.arg(name) + kUnchanged));
        // Only files the program reads are installed, and each is checked in its format first.
        if (!isCompetition(name) && !isGuarded(name) && !isCalendar(name))
            return finish(fail(
                u"Soubor „%1“ není soubor soutěže, rozpisu zápasů, termínů, play-off ani kalendáře; aktualizace se "
                "neprovede."_s.arg(name) +
                kUnchanged));
    }
    const QString listPath = m_folder.filePath(u"update.dat"_s);
    if (const Result<void> written = writeFileAtomically(listPath, r.body + "\r\n"); !written.ok())
        return finish(fail(written.error()));
    const bool go = m_with.askYesNo(u"Dostupná data jsou z "_s + m_list.dataDate + u".\r\n\r\nPřejete si pokračovat?",
                                    true, program::title);
    QFile::remove(listPath); // whatever the answer
    if (!go)
        return finish(UpdateOutcome::NothingToDo);
    if (m_league && !m_league->saveBeforeUpdate())
        return finish(UpdateOutcome::Failed);
    if (!ended(startDownload()))
        nextFile(0);
}

// Everything is downloaded and checked in a folder of its own before any file is replaced.
std::optional<UpdateOutcome> UpdateRun::startDownload()
{
    m_running = std::make_unique<QLockFile>(m_souteze.filePath(kRunningLock));
    m_running->setStaleLockTime(0);
    if (!m_running->tryLock(0))
        return fail(u"Jiná aktualizace dat právě probíhá; počkejte, až skončí."_s + kUnchanged);
    finishStaging(m_souteze);
    m_staging = std::make_unique<QTemporaryDir>(m_souteze.filePath(kStagingPrefix + u"XXXXXX"));
    if (!m_staging->isValid() ||
        !writeFileAtomically(QDir(m_staging->path()).filePath(kStagingMarker), QByteArrayLiteral("Rinkomat\n")).ok())
        return fail(u"Ve složce „souteze“ nelze vytvořit dočasnou složku."_s + kUnchanged);
    m_with.progress(0, static_cast<int>(m_list.files.size()));
    return std::nullopt;
}

void UpdateRun::nextFile(int index)
{
    if (index == m_list.files.size()) {
        if (ended(mergeAndStage()) || ended(install()))
            return;
        m_with.status(u"stahování dat dokončeno"_s);
        m_with.beep();
        return pause(1500, [this] {
            if (m_league)
                m_league->reloadAfterUpdate();
            finish(UpdateOutcome::Finished);
        });
    }
    const QString name = m_list.files[index];
    m_with.status(u"stahuji data...  ("_s + name + u')');
    pause(150, [this, index, name] {
        fetch(kUpdatePath + name, [this, index](const FetchResult& r) { fileArrived(index, r); });
    });
}

void UpdateRun::fileArrived(int index, const FetchResult& r)
{
    const QString& name = m_list.files[index];
    if (m_with.cancelled())
        return finish(UpdateOutcome::Cancelled);
    if (ended(fetchFailure(r, name)))
        return;
    m_received += r.body.size();
    if (m_received > kMaxUpdateBytes)
        return finish(fail(u"Server posílá víc než 16 MiB dat; aktualizace se neprovede."_s + kUnchanged));
    m_delivery.downloaded[name] = r.body + "\r\n";
    m_with.progress(static_cast<int>(m_delivery.downloaded.size()), static_cast<int>(m_list.files.size()));
    nextFile(index + 1);
}

std::optional<UpdateOutcome> UpdateRun::lockLeagues()
{
    // Locked before the local results are read for the merge: a result saved meanwhile would be lost.
    QStringList guarded;
    for (const QString& name : m_list.files) {
        // A play-off's games are the league's as much as its schedule's results: the same lock guards both.
        const QString target = m_souteze.filePath(isSchedule(name) ? name : scheduleOf(competitionOf(name)));
        if (!isGuarded(name) || (m_league && target == m_league->schedulePath()) || !QFileInfo::exists(target) ||
            guarded.contains(target))
            continue;
        guarded << target;
        m_locks.push_back(std::make_unique<LeagueLock>(target));
        if (const Result<void> locked = m_locks.back()->acquire(); !locked.ok())
            return fail(locked.error() + kUnchanged);
    }
    return std::nullopt;
}

QString UpdateRun::mergeOne(const QString& name, Merge& merge)
{
    if (isCompetition(name) || isSchedule(name)) {
        const QString competition = isCompetition(name) ? name : competitionOf(name);
        Result<SeasonStore> read = m_delivery.league(competition);
        if (read.ok() && isSchedule(name)) {
            SeasonStore fresh = std::move(read).value();
            const std::optional<SeasonStore> local = m_delivery.localLeague(competition);
            const QList<ResultConflict> found = local ? mergeResults(*local, fresh) : QList<ResultConflict>();
            for (const ResultConflict& c : found)
                merge.conflicts << conflictText(c, fresh);
            merge.schedules[competition] = {fresh, found};
        }
        return read.error();
    }
    if (isCalendar(name))
        return checkCalendar(m_delivery.downloaded[name], name).error();
    if (isDates(name))
        return mergeDates(name, merge);
    if (!isPlayoff(name))
        return {};
    const Result<SeasonStore> league = m_delivery.league(competitionOf(name));
    const Result<Playoff> fresh = league.ok() ? readPlayoff(m_delivery.downloaded[name], name, league.value().teams())
                                              : Result<Playoff>::failureOf(league);
    if (!fresh.ok())
        return fresh.error();
    const Result<QByteArray> mine = readDataFile(m_souteze.filePath(name));
    const Result<Playoff> local =
        mine.ok() ? readPlayoff(mine.value(), name, league.value().teams()) : Result<Playoff>::failure(QString());
    PlayoffMerge& p = merge.playoffs[name];
    p.fresh = fresh.value();
    if (local.ok()) {
        p.local = local.value();
        merge.conflicts << playoffConflicts(local.value(), fresh.value(), league.value());
        p.lost = lostPlayoffGames(local.value(), fresh.value(), league.value());
        merge.conflicts << p.lost;
    }
    return {};
}

// The server's dates, with the fan's own where only he has one; where both have one, both are listed.
QString UpdateRun::mergeDates(const QString& name, Merge& merge)
{
    const QString competition = competitionOf(name);
    Result<SeasonStore> fresh = m_delivery.league(competition);
    if (!fresh.ok())
        return fresh.error();
    SeasonStore server = std::move(fresh).value();
    const auto serverDates = readMatchDates(m_delivery.downloaded[name], name, server);
    if (!serverDates.ok())
        return serverDates.error();
    server.matchDates = serverDates.value();
    QList<DateConflict> found;
    std::optional<SeasonStore> local = m_delivery.localLeague(competition);
    const Result<QByteArray> mine = readDataFile(m_souteze.filePath(name));
    if (local && mine.ok()) {
        // A file of the fan's that no longer reads gives way to the server's, as the league would ignore it.
        if (const auto own = readMatchDates(mine.value(), name, *local); own.ok()) {
            local->matchDates = own.value();
            found = mergeMatchDates(*local, server);
        }
    }
    for (const DateConflict& c : found)
        merge.conflicts << conflictText(c, server);
    merge.dates[name] = {server, found};
    return {};
}

std::optional<UpdateOutcome> UpdateRun::mergeAndStage()
{
    if (const std::optional<UpdateOutcome> outcome = lockLeagues())
        return outcome;
    Merge merge;
    for (const QString& name : m_list.files)
        if (const QString error = mergeOne(name, merge); !error.isEmpty())
            return fail(u"Stažený soubor „%1“ nelze použít:\r\n%2"_s.arg(name, error) + kUnchanged);
    const bool takeServer = !merge.conflicts.isEmpty() && m_with.takeServerResults(merge.conflicts);
    for (auto& [competition, schedule] : merge.schedules)
        for (const ResultConflict& c : schedule.second)
            schedule.first.match(c.slot, c.round).result = takeServer ? c.server : c.mine;
    for (auto& [file, dates] : merge.dates)
        for (const DateConflict& c : dates.second)
            dates.first.matchDates[{c.round, c.slot}] = takeServer ? c.server : c.mine;
    for (const QString& name : m_list.files) {
        QByteArray bytes = m_delivery.downloaded[name];
        if (isSchedule(name)) {
            bytes = scheduleBytes(merge.schedules[competitionOf(name)].first, encodingOf(bytes));
        } else if (isDates(name)) {
            bytes = encodeLines(matchDatesLines(merge.dates[name].first.matchDates), encodingOf(bytes));
        } else if (isPlayoff(name)) {
            const PlayoffMerge& p = merge.playoffs[name];
            // Games of the fan's that the server's file has no place for stay with his file, unless he takes the
            // server's.
            const Playoff kept = !p.local                           ? p.fresh
                                 : !p.lost.isEmpty() && !takeServer ? *p.local
                                                                    : mergePlayoffs(*p.local, p.fresh, takeServer);
            // Checked against the league as it will be installed, merged results and all.
            const auto schedule = merge.schedules.find(competitionOf(name));
            const Result<SeasonStore> league = schedule != merge.schedules.end()
                                                   ? Result<SeasonStore>(schedule->second.first)
                                                   : m_delivery.league(competitionOf(name));
            const Result<Bracket> checked =
                league.ok() ? playoffBracket(kept, league.value()) : Result<Bracket>::failureOf(league);
            if (!checked.ok())
                return fail(u"Stažený soubor „%1“ nelze použít:\r\n%2"_s.arg(name, checked.error()) + kUnchanged);
            bytes = encodeLines(playoffLines(kept), encodingOf(bytes));
        }
        if (const Result<void> staged = writeFileAtomically(QDir(m_staging->path()).filePath(name), bytes);
            !staged.ok())
            return fail(staged.error() + kUnchanged);
    }
    return m_with.cancelled() ? std::optional(UpdateOutcome::Cancelled) : std::nullopt;
}

std::optional<UpdateOutcome> UpdateRun::install()
{
    const QDateTime now = m_with.now();
    for (const QString& name : m_list.files) {
        if (!isCompetition(name) && !isGuarded(name))
            continue;
        const Result<QString> copy = backupFile(m_souteze.filePath(name), now);
        if (!copy.ok())
            return fail(copy.error() + kUnchanged);
    }
    if (const Result<void> installed = installAll(m_souteze, QDir(m_staging->path()), m_list.files); !installed.ok())
        return fail(installed.error() + kUnchanged);
    for (const QString& name : m_list.files)
        pruneBackups(m_souteze.filePath(name));
    return std::nullopt;
}

QUrl updateAddress(const QUrl& site, const QString& path)
{
    QUrl url = site;
    QString base = site.path();
    while (base.endsWith(u'/'))
        base.chop(1);
    url.setPath(base + path);
    return url;
}

UpdateJob::UpdateJob(UpdateSurroundings& with, UpdatedLeague* league, const QString& programFolder,
                     const QString& serverName, int deadlineMs, QObject* parent)
    : QObject(parent), m_run(std::make_unique<UpdateRun>(*this, with, league, programFolder, deadlineMs)),
      m_serverName(serverName)
{
}

UpdateJob::~UpdateJob() = default;

void UpdateJob::start()
{
    m_run->begin(m_serverName);
}
