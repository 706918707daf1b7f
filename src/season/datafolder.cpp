// SPDX-License-Identifier: MIT
#include "datafolder.h"

#include "season/datafiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

bool copyFile(const QString& from, const QString& to)
{
    const Result<QByteArray> shipped = readDataFile(from);
    return shipped.ok() && QDir().mkpath(QFileInfo(to).path()) && writeFileAtomically(to, shipped.value()).isEmpty();
}

// Copies `from` into `to` without replacing what is there, except where `renew` says so.
bool copyMissing(const QString& from, const QString& to, bool renew)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (QFileInfo::exists(target) &&
            (!renew || readDataFile(target).valueOr({}) == readDataFile(source).valueOr({})))
            continue;
        if (!copyFile(source, target))
            return false;
    }
    return true;
}

} // namespace

DataFolder prepareDataFolder(const QString& programFolder, const QString& userDataFolder)
{
    const QDir program(programFolder);
    if (QFileInfo(program.filePath(u"souteze"_qs)).isDir())
        return {programFolder, {}};
    const QString shipped = QDir::cleanPath(program.filePath(u"../share/rinkomat"_qs));
    if (!QFileInfo(QDir(shipped).filePath(u"souteze"_qs)).isDir())
        return {programFolder, {}}; // neither layout: the program says the data are missing
    const QDir user(userDataFolder);
    const bool firstStart = !QFileInfo(user.filePath(u"souteze"_qs)).isDir();
    const bool copied = copyMissing(QDir(shipped).filePath(u"souteze"_qs), user.filePath(u"souteze"_qs), false) &&
                        copyMissing(QDir(shipped).filePath(u"ad"_qs), user.filePath(u"ad"_qs), true) &&
                        (!firstStart || copyFile(QDir(shipped).filePath(u"1.st"_qs), user.filePath(u"1.st"_qs)));
    if (copied)
        return {userDataFolder, {}};
    return {shipped,
            u"Složku pro vaše data „%1“ nelze vytvořit ani doplnit.\r\n"
            "Ligy se otevřou ze sdílené složky „%2“, kam nelze zapisovat: zadané výsledky "
            "nepůjde uložit. Uvolněte místo na disku nebo opravte oprávnění složky a program "
            "spusťte znovu."_qs.arg(QDir::toNativeSeparators(userDataFolder), QDir::toNativeSeparators(shipped))};
}
