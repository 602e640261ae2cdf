#include "core/recovery/openfilelock.h"

#include "core/recovery/datafolder.h"

#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace recovery {

namespace {

struct LockInfo {
    qint64 pid = 0;
    QString host;
};

std::optional<LockInfo> infoOf(const QLockFile& lock)
{
    LockInfo info;
    QString program;
    return lock.getLockInfo(&info.pid, &info.host, &program) ? std::optional(info) : std::nullopt;
}

// A lock under this very process's id, on this machine, was left by a copy that died: the
// restarted program got its id again (Wine gives the same ids, Windows reuses them), and it
// opens one file at a time, so it holds no lock it does not know of. The machine is named as a
// lock of this process names it (Windows writes its short computer name there).
bool leftByThisProcessId(const QLockFile& lock, const QString& folder)
{
    const std::optional<LockInfo> left = infoOf(lock);
    if (lock.error() != QLockFile::LockFailedError || !left ||
        left->pid != QCoreApplication::applicationPid())
        return false;
    QLockFile probe(QDir(folder).filePath(QStringLiteral("this-machine.probe")));
    const std::optional<LockInfo> here = probe.tryLock(0) ? infoOf(probe) : std::nullopt;
    return here && here->host == left->host;
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
    if (!lock->tryLock(0) && leftByThisProcessId(*lock, folder) && lock->removeStaleLockFile())
        lock->tryLock(0);
    if (lock->isLocked())
        result.lock = std::move(lock);
    else
        result.heldElsewhere = lock->error() == QLockFile::LockFailedError;
    return result;
}

} // namespace recovery
