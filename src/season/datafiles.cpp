// SPDX-License-Identifier: MIT
#include "datafiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>
#include <cerrno>

namespace {

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString cannotSave(const QString& path, const QString& reason)
{
    return u"Soubor „%1“ nelze uložit: %2."_qs.arg(nameOf(path), reason);
}

} // namespace

QString czechFileReason(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
        return u"na disku není dost místa"_qs;
    case EFBIG:
        return u"soubor by překročil povolenou velikost"_qs;
    case EACCES:
    case EPERM:
        return u"chybí oprávnění"_qs;
    case EROFS:
        return u"disk je připojen jen pro čtení"_qs;
    case ENOENT:
    case ENOTDIR:
        return u"složka nebo soubor neexistuje"_qs;
    case EISDIR:
        return u"na místě souboru je složka"_qs;
    case EIO:
        return u"chyba čtení nebo zápisu na disk"_qs;
    default:
        return u"chyba systému č. %1"_qs.arg(errnoValue);
    }
}

Result<QByteArray> readDataFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Result<QByteArray>::failure(u"Soubor „%1“ neexistuje."_qs.arg(nameOf(path)));
    if (!info.isFile())
        return Result<QByteArray>::failure(
            u"„%1“ není obyčejný soubor (je to složka, roura nebo zařízení)."_qs.arg(nameOf(path)));
    if (info.size() > kMaxDataFileBytes)
        return Result<QByteArray>::failure(
            u"Soubor „%1“ je větší než 16 MiB, nejde o data programu."_qs.arg(nameOf(path)));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return Result<QByteArray>::failure(
            u"Soubor „%1“ nelze otevřít: %2."_qs.arg(nameOf(path), czechFileReason(errno)));
    QByteArray read = file.read(kMaxDataFileBytes + 1);
    if (read.size() > kMaxDataFileBytes) // it grew since it was looked at
        return Result<QByteArray>::failure(
            u"Soubor „%1“ je větší než 16 MiB, nejde o data programu."_qs.arg(nameOf(path)));
    if (file.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(
            u"Soubor „%1“ nelze přečíst: %2."_qs.arg(nameOf(path), czechFileReason(errno)));
    return read;
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    // Renaming over a write-protected file would succeed; the user protected it for a reason.
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner))
        return cannotSave(path, u"soubor je jen pro čtení"_qs);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return cannotSave(path, czechFileReason(errno));
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int reason = errno;
        file.cancelWriting();
        return cannotSave(path, czechFileReason(reason));
    }
    errno = 0;
    if (!file.commit())
        return cannotSave(path, czechFileReason(errno));
    return {};
}

QString backupFolderOf(const QString& path)
{
    return QFileInfo(path).dir().filePath(u"zaloha"_qs);
}

QString backupFile(const QString& path, const QDateTime& when)
{
    if (!QFileInfo::exists(path))
        return {};
    const Result<QByteArray> old = readDataFile(path);
    if (!old.ok())
        return old.error();
    const QFileInfo info(path);
    const QDir folder(backupFolderOf(path));
    if (!QDir().mkpath(folder.path()))
        return u"Složku pro zálohy „%1“ nelze vytvořit."_qs.arg(folder.path());
    const QString stem = info.completeBaseName() + u'_' + when.toString(u"yyyy-MM-dd_HHmmss"_qs);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString target = folder.filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = folder.filePath(stem + u'_' + QString::number(n) + suffix);
    const QString error = writeFileAtomically(target, old.value());
    if (!error.isEmpty())
        return u"Zálohu souboru „%1“ nelze vytvořit. %2"_qs.arg(info.fileName(), error);

    const QRegularExpression copyOfIt(u'^' + QRegularExpression::escape(info.completeBaseName()) +
                                      u"_\\d{4}-\\d\\d-\\d\\d_\\d{6}(_\\d+)?"_qs + QRegularExpression::escape(suffix) +
                                      u'$');
    QStringList copies = folder.entryList(QDir::Files, QDir::Name | QDir::Reversed);
    copies.removeIf([&](const QString& name) { return !copyOfIt.match(name).hasMatch(); });
    for (qsizetype i = kKeptBackups; i < copies.size(); ++i)
        QFile::remove(folder.filePath(copies[i]));
    return {};
}

void removeLeftoverTemporaries(const QString& path)
{
    const QFileInfo info(path);
    const QRegularExpression temporary(u'^' + QRegularExpression::escape(info.fileName()) + u"\\.[A-Za-z0-9]{6}$"_qs);
    for (const QString& name : info.dir().entryList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(name).hasMatch())
            QFile::remove(info.dir().filePath(name));
    }
}

LeagueLock::LeagueLock(const QString& schedulePath)
    : m_schedulePath(schedulePath), m_lock(std::make_unique<QLockFile>(schedulePath + u".lock"))
{
    m_lock->setStaleLockTime(0); // only a lock whose program has ended is stale
}

LeagueLock::~LeagueLock() = default;

QString LeagueLock::acquire(int waitMs)
{
    // Short steps rather than QLockFile's growing sleeps: another writer holds it for milliseconds.
    QDeadlineTimer deadline(waitMs);
    while (!m_lock->isLocked() && !m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError &&
           !deadline.hasExpired())
        QThread::msleep(10);
    if (m_lock->isLocked())
        return {};
    // Where no lock file can be made (a read-only folder, a full disk) the save itself fails and says why.
    if (m_lock->error() != QLockFile::LockFailedError)
        return {};
    return u"Ligu „%1“ má právě otevřenou jiné okno nebo jiný program, který do ní zapisuje.\r\n"
           "Zavřete ji tam a zkuste to znovu."_qs.arg(nameOf(m_schedulePath));
}
