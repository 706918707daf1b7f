// SPDX-License-Identifier: MIT
#include "update.h"

#include "app/programinfo.h"
#include "season/seasonfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

const QString kUpdatePath = u"/velmor/update/"_qs;
const QString kInvalidData = u"Server vrátil neplatná data!"_qs;

bool allDigits(const QString& s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A schedule read with every team named, so that only the schedule's own faults count.
std::optional<SeasonStore> readAnySchedule(const QByteArray& bytes)
{
    SeasonStore s;
    for (int t = 1; t <= kTeams; ++t)
        s.setTeamName(t, QString::number(t));
    if (!readSchedule(bytes, {}, s).isEmpty())
        return std::nullopt;
    return s;
}

bool replaceFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

void tellFetchError(UpdateSurroundings& with, const FetchResult& r)
{
    if (r.error == kTimeoutError)
        with.tellError(u"Nelze navázat spojení!"_qs, u"update"_qs);
    else
        with.tellError(u"Došlo k chybě!\r\n\r\n(%1 - %2)"_qs.arg(r.error).arg(r.description), u"update"_qs);
}

} // namespace

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
    for (qsizetype i = 2; i < lines.size() && !lines[i].isEmpty(); ++i)
        list.files << lines[i];
    return list;
}

bool isPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u".."))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control;
    });
}

QByteArray mergeSchedule(const QByteArray& downloaded, const QByteArray& old)
{
    std::optional<SeasonStore> fresh = readAnySchedule(downloaded);
    if (!fresh)
        return {};
    const std::optional<SeasonStore> kept = readAnySchedule(old);
    if (kept) {
        for (int r = 1; r <= kRounds; ++r) {
            for (int m = 1; m <= kSlots; ++m) {
                Match& target = fresh->match(m, r);
                if (!target.result.isEmpty())
                    continue;
                for (int k = 1; k <= kSlots; ++k) {
                    const Match& mine = kept->match(k, r);
                    if (mine.home == target.home && mine.away == target.away && !mine.result.isEmpty())
                        target.result = mine.result;
                }
            }
        }
    }
    return scheduleBytes(*fresh);
}

void runUpdate(UpdateSurroundings& with, const QString& programFolder, const QString& serverName)
{
    const QDir folder(programFolder);
    with.status(u"navazuji spojení se serverem "_qs + serverName + u"...");
    with.pause(500);
    FetchResult r = with.fetch(kUpdatePath + u"newest.dat");
    if (!r.ok)
        return tellFetchError(with, r);
    with.status(u"spojení úspěšně navázáno"_qs);
    with.pause(250);
    const QString version = QString::fromLatin1(r.body).trimmed();
    if (!allDigits(compactVersion(version)))
        return with.tellError(kInvalidData, program::title);
    if (isNewerVersion(version, program::version)) {
        const QString question = u"Byla zjištěna novější verze programu!\r\n\r\nVaše verze: "_qs + program::version +
                                 u"\r\nDostupná verze: " + version +
                                 u"\r\n\r\nPřejete si otevřít www stránku programu?";
        if (with.askYesNo(question, false, program::title))
            return with.openHomePage();
    }

    r = with.fetch(kUpdatePath + u"update_v3.dat");
    if (!r.ok)
        return tellFetchError(with, r);
    const std::optional<UpdateList> list = parseUpdateList(r.body);
    if (!list)
        return with.tellError(kInvalidData, program::title);
    const QString listPath = folder.filePath(u"update.dat"_qs);
    if (!replaceFile(listPath, r.body + "\r\n"))
        return with.tellError(u"Soubor update.dat nelze zapsat."_qs, u"update"_qs);
    if (!with.askYesNo(u"Dostupná data jsou z "_qs + list->dataDate + u".\r\n\r\nPřejete si pokračovat?", true,
                       program::title))
        return;
    if (!with.saveSeason())
        return;

    const QDir souteze(folder.filePath(u"souteze"_qs));
    int done = 0;
    with.progress(0, static_cast<int>(list->files.size()));
    for (const QString& name : list->files) {
        if (!isPlainFileName(name)) {
            with.tellError(u"Název souboru „%1“ není přípustný, soubor nebyl stažen."_qs.arg(name), u"update"_qs);
            continue;
        }
        with.status(u"stahuji data...  ("_qs + name + u')');
        with.pause(150);
        r = with.fetch(kUpdatePath + name);
        if (!r.ok)
            return tellFetchError(with, r);
        QByteArray bytes = r.body + "\r\n";
        const QString target = souteze.filePath(name);
        QFile current(target);
        if (name.startsWith(u"los_") && current.open(QIODevice::ReadOnly)) {
            bytes = mergeSchedule(bytes, current.readAll());
            if (bytes.isEmpty()) {
                with.tellError(u"Stažený soubor „%1“ je poškozený, ponechávám původní."_qs.arg(name), u"update"_qs);
                continue;
            }
        }
        if (!replaceFile(target, bytes))
            return with.tellError(u"Soubor „%1“ nelze zapsat."_qs.arg(name), u"update"_qs);
        with.progress(++done, static_cast<int>(list->files.size()));
    }
    with.status(u"stahování dat dokončeno"_qs);
    with.beep();
    QFile::remove(listPath);
    with.pause(1500);
    with.reloadSeason();
}
