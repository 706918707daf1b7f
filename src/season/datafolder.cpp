// SPDX-License-Identifier: MIT
#include "datafolder.h"

#include "season/datafiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

bool copyFile(const QString& from, const QString& to)
{
    const Result<QByteArray> shipped = readDataFile(from);
    return shipped.ok() && QDir().mkpath(QFileInfo(to).path()) && writeFileAtomically(to, shipped.value()).ok();
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
    if (QFileInfo(program.filePath(u"souteze"_s)).isDir())
        return {programFolder, {}};
    const QString shipped = QDir::cleanPath(program.filePath(u"../share/rinkomat"_s));
    if (!QFileInfo(QDir(shipped).filePath(u"souteze"_s)).isDir())
        return {programFolder, {}}; // neither layout: the program says the data are missing
    const QDir user(userDataFolder);
    const bool firstStart = !QFileInfo(user.filePath(u"souteze"_s)).isDir();
    // The notice first: a first start whose copy fails half way still shows it when the next one completes.
    const bool copied = (!firstStart || copyFile(QDir(shipped).filePath(u"1.st"_s), user.filePath(u"1.st"_s))) &&
                        copyMissing(QDir(shipped).filePath(u"souteze"_s), user.filePath(u"souteze"_s), false) &&
                        copyMissing(QDir(shipped).filePath(u"ad"_s), user.filePath(u"ad"_s), true);
    if (copied)
        return {userDataFolder, {}};
    return {shipped,
            u"Složku pro vaše data „%1“ nelze vytvořit ani doplnit.\r\n"
            "Ligy se otevřou ze sdílené složky „%2“, kam nelze zapisovat: zadané výsledky "
            "nepůjde uložit. Uvolněte místo na disku nebo opravte oprávnění složky a program "
            "spusťte znovu."_s.arg(QDir::toNativeSeparators(userDataFolder), QDir::toNativeSeparators(shipped))};
}
