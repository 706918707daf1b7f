// SPDX-License-Identifier: MIT
#include "datafiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// What a write is called until it replaces the file; QSaveFile adds its own ".XXXXXX" while writing.
const QString kLockSuffix = u".lock"_s;
const QString kFreshSuffix = u".rinkomat-novy"_s;

Result<void> cannotSave(const QString& path, const QString& reason)
{
    return Result<void>::failure(u"Soubor „%1“ nelze uložit: %2."_s.arg(nameOf(path), reason));
}

// A rename is on the disk only once its folder is.
int syncFolderOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return errno;
    const int reason = syncError(::fsync(fd));
    ::close(fd);
    return reason;
}

} // namespace

int syncError(int syncResult)
{
    return syncResult == 0 || errno == EINVAL || errno == ENOTSUP ? 0 : errno;
}

QString czechFileReason(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
        return u"na disku není dost místa"_s;
    case EFBIG:
        return u"soubor by překročil povolenou velikost"_s;
    case EACCES:
    case EPERM:
        return u"chybí oprávnění"_s;
    case EROFS:
        return u"disk je připojen jen pro čtení"_s;
    case ENOENT:
    case ENOTDIR:
        return u"složka nebo soubor neexistuje"_s;
    case EISDIR:
        return u"na místě souboru je složka"_s;
    case EIO:
        return u"chyba čtení nebo zápisu na disk"_s;
    case EINVAL:
    case ENAMETOOLONG:
        return u"název souboru nebo jeho místo není pro tento disk přípustné"_s;
    case EBUSY:
    case ETXTBSY:
        return u"soubor právě používá jiný program"_s;
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return u"systému došly prostředky, zavřete jiné programy"_s;
    case EXDEV:
        return u"soubor nelze přesunout na jiný disk"_s;
    case ELOOP:
        return u"symbolický odkaz vede sám na sebe"_s;
    case 0:
        return u"příčinu systém neuvedl"_s;
    default:
        return u"systém odmítl operaci (%1)"_s.arg(QString::fromLocal8Bit(std::strerror(errnoValue)));
    }
}

Result<QByteArray> readDataFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Result<QByteArray>::failure(u"Soubor „%1“ neexistuje."_s.arg(nameOf(path)));
    if (!info.isFile())
        return Result<QByteArray>::failure(
            u"„%1“ není obyčejný soubor (je to složka, roura nebo zařízení)."_s.arg(nameOf(path)));
    if (info.size() > kMaxDataFileBytes)
        return Result<QByteArray>::failure(
            u"Soubor „%1“ je větší než 16 MiB, nejde o data programu."_s.arg(nameOf(path)));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return Result<QByteArray>::failure(
            u"Soubor „%1“ nelze otevřít: %2."_s.arg(nameOf(path), czechFileReason(errno)));
    QByteArray read = file.read(kMaxDataFileBytes + 1);
    if (read.size() > kMaxDataFileBytes) // it grew since it was looked at
        return Result<QByteArray>::failure(
            u"Soubor „%1“ je větší než 16 MiB, nejde o data programu."_s.arg(nameOf(path)));
    if (file.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(
            u"Soubor „%1“ nelze přečíst: %2."_s.arg(nameOf(path), czechFileReason(errno)));
    return read;
}

Result<void> writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    // Renaming over a write-protected file would succeed; the user protected it for a reason.
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner))
        return cannotSave(path, u"soubor je jen pro čtení"_s);
    // Written under a name of our own first, so that clearing up after a crash never touches a file of the user's.
    const QString fresh = path + kFreshSuffix;
    QSaveFile file(fresh);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return cannotSave(path, czechFileReason(errno));
    errno = 0;
    // QSaveFile syncs too, but does not say when the disk refused; a write the disk did not take is no save.
    if (file.write(bytes) != bytes.size() || !file.flush() || syncError(::fdatasync(file.handle())) != 0) {
        const int reason = errno;
        file.cancelWriting();
        return cannotSave(path, czechFileReason(reason));
    }
    errno = 0;
    if (!file.commit())
        return cannotSave(path, czechFileReason(errno));
    if (info.exists())
        QFile::setPermissions(fresh, info.permissions());
    errno = 0;
    if (std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) != 0) {
        const int reason = errno;
        QFile::remove(fresh);
        return cannotSave(path, czechFileReason(reason));
    }
    if (const int reason = syncFolderOf(path); reason != 0)
        return cannotSave(path, czechFileReason(reason));
    return {};
}

QString backupFolderOf(const QString& path)
{
    return QFileInfo(path).dir().filePath(u"zaloha"_s);
}

Result<QString> backupFile(const QString& path, const QDateTime& when)
{
    using R = Result<QString>;
    if (!QFileInfo::exists(path))
        return QString();
    const Result<QByteArray> old = readDataFile(path);
    if (!old.ok())
        return R::failureOf(old);
    const QFileInfo info(path);
    const QDir folder(backupFolderOf(path));
    // Pruning deletes files there: a link could point it at anything.
    if (QFileInfo(folder.path()).isSymLink())
        return R::failure(u"Složka pro zálohy „%1“ je symbolický odkaz; zálohy se ukládají jen do složky dat. "
                          "Odkaz odstraňte, program si složku vytvoří."_s.arg(folder.path()));
    if (!QDir().mkpath(folder.path()))
        return R::failure(u"Složku pro zálohy „%1“ nelze vytvořit."_s.arg(folder.path()));
    const QString stem = info.completeBaseName() + u'_' + when.toString(u"yyyy-MM-dd_HHmmss"_s);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString target = folder.filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = folder.filePath(stem + u'_' + QString::number(n) + suffix);
    if (const Result<void> written = writeFileAtomically(target, old.value()); !written.ok())
        return R::failure(u"Zálohu souboru „%1“ nelze vytvořit. %2"_s.arg(info.fileName(), written.error()));
    return target;
}

void pruneBackups(const QString& path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QDir folder(backupFolderOf(path));
    if (QFileInfo(folder.path()).isSymLink())
        return;
    const QRegularExpression copyOfIt(u'^' + QRegularExpression::escape(info.completeBaseName()) +
                                      u"_\\d{4}-\\d\\d-\\d\\d_\\d{6}(_\\d+)?"_s + QRegularExpression::escape(suffix) +
                                      u'$');
    QStringList copies = folder.entryList(QDir::Files, QDir::Name | QDir::Reversed);
    copies.removeIf([&](const QString& name) { return !copyOfIt.match(name).hasMatch(); });
    for (qsizetype i = kKeptBackups; i < copies.size(); ++i)
        QFile::remove(folder.filePath(copies[i]));
}

void removeLeftoverTemporaries(const QString& path)
{
    const QFileInfo info(path);
    const QRegularExpression temporary(u'^' + QRegularExpression::escape(info.fileName() + kFreshSuffix) +
                                       u"(\\.[A-Za-z0-9]{6})?$"_s);
    for (const QString& name : info.dir().entryList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(name).hasMatch())
            QFile::remove(info.dir().filePath(name));
    }
}

LeagueLock::LeagueLock(const QString& schedulePath)
    : m_schedulePath(schedulePath), m_lock(std::make_unique<QLockFile>(schedulePath + kLockSuffix))
{
    m_lock->setStaleLockTime(0); // only a lock whose program has ended is stale
}

LeagueLock::~LeagueLock() = default;

Result<void> LeagueLock::acquire(int waitMs)
{
    const QString lockPath = m_schedulePath + kLockSuffix;
    if (const QFileInfo lockInfo(lockPath); lockInfo.isDir() && !lockInfo.isSymLink())
        return Result<void>::failure(
            u"Na místě zámku „%1“ je složka, takže ligu „%2“ nelze otevřít pro zápis.\r\n"
            "Složku přesuňte nebo přejmenujte a zkuste to znovu."_s.arg(nameOf(lockPath), nameOf(m_schedulePath)));
    // Short steps rather than QLockFile's growing sleeps: another writer holds it for milliseconds.
    QDeadlineTimer deadline(waitMs);
    m_otherComputer.clear();
    while (!m_lock->isLocked() && !m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError) {
        if (removeUnreadableLock())
            continue;
        if (deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    if (m_lock->isLocked())
        return {};
    // Where no lock file can be made (a read-only folder, a full disk) the save itself fails and says why.
    if (m_lock->error() != QLockFile::LockFailedError)
        return {};
    qint64 pid = 0;
    QString host, application;
    const QString lockName = nameOf(m_schedulePath + kLockSuffix);
    if (m_lock->getLockInfo(&pid, &host, &application) && !host.isEmpty() && host != QSysInfo::machineHostName()) {
        m_otherComputer = host.size() <= 64 ? host : host.left(64) + u'…'; // a lock file may say anything
        return Result<void>::failure(u"Ligu „%1“ má otevřenou program na počítači „%2“ (zámek „%3“).\r\n"
                                     "Pokud tam program už neběží, například po pádu, lze ligu převzít."_s.arg(
                                         nameOf(m_schedulePath), m_otherComputer, lockName));
    }
    return Result<void>::failure(
        u"Ligu „%1“ má právě otevřenou jiné okno nebo jiný program, který do ní zapisuje "
        "(proces č. %2, zámek „%3“).\r\nZavřete ji tam a zkuste to znovu."_s.arg(nameOf(m_schedulePath))
            .arg(pid)
            .arg(lockName));
}

Result<void> LeagueLock::takeOver()
{
    if (m_otherComputer.isEmpty())
        return acquire();
    m_lock->removeStaleLockFile();
    return acquire();
}

bool LeagueLock::removeDeadRemovalLock()
{
    // QLockFile guards the removal of a stale lock with a lock of its own, which it honours for 30 s even when
    // the program that took it was killed half way.
    const QString path = m_schedulePath + kLockSuffix + u".rmlock"_s;
    if (!QFileInfo::exists(path))
        return false;
    // One naming a process QLockFile checks itself; an unreadable one was left by a removal killed before it
    // wrote a word. A live one writes at once, and at worst two programs clear one stale lock, of which only one
    // then takes it.
    qint64 pid = 0;
    QString host, application;
    return !QLockFile(path).getLockInfo(&pid, &host, &application) && QFile::remove(path);
}

bool LeagueLock::removeUnreadableLock()
{
    if (removeDeadRemovalLock())
        return true;
    qint64 pid = 0;
    QString host, application;
    if (m_lock->getLockInfo(&pid, &host, &application))
        return false;
    // A lock file is empty for a moment while its writer fills it in; one left empty for longer is a crash's.
    const QFileInfo info(m_schedulePath + kLockSuffix);
    if (info.exists() && info.lastModified().msecsTo(QDateTime::currentDateTime()) < 2000)
        return false;
    return m_lock->removeStaleLockFile();
}

Result<void> saveDataFile(const QString& path, const QByteArray& bytes, const QDateTime& when, bool backUp)
{
    // A save that changes nothing would only push an older backup out.
    if (const Result<QByteArray> now = readDataFile(path); now.ok() && now.value() == bytes)
        return {};
    const Result<QString> copy = backUp ? backupFile(path, when) : Result<QString>(QString());
    if (!copy.ok())
        return Result<void>::failureOf(copy);
    Result<void> written = writeFileAtomically(path, bytes);
    if (!written.ok()) {
        if (!copy.value().isEmpty()) // the file is as it was; its copy would only push out an older one
            QFile::remove(copy.value());
        return written;
    }
    pruneBackups(path);
    return {};
}
