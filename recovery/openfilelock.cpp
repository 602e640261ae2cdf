#include "recovery/openfilelock.h"

#include "recovery/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>

namespace recovery {

namespace {

// A lock under this very process's id was left by a copy that died: the restarted program got
// its id again (Wine gives the same ids, Windows reuses them), and it opens one file at a time,
// so it holds no lock it does not know of.
bool leftByThisProcessId(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString program;
    return lock.error() == QLockFile::LockFailedError && lock.getLockInfo(&pid, &host, &program) &&
           pid == QCoreApplication::applicationPid() && host == QSysInfo::machineHostName();
}

} // namespace

OpenFileLock lockOpenFile(const QString& dataFolder, const QString& key)
{
    OpenFileLock result;
    const QString folder = QDir(dataFolder).filePath(QStringLiteral("locks"));
    if (!makePrivateFolder(dataFolder, folder))
        return result;
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(key + QStringLiteral(".lock")));
    // A sheet stays open for hours: only a copy of the program that died leaves a stale lock.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0) && leftByThisProcessId(*lock) && lock->removeStaleLockFile())
        lock->tryLock(0);
    if (lock->isLocked())
        result.lock = std::move(lock);
    else
        result.heldElsewhere = lock->error() == QLockFile::LockFailedError;
    return result;
}

} // namespace recovery
