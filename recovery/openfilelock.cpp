#include "recovery/openfilelock.h"

#include "recovery/datafolder.h"

#include <QDir>

namespace recovery {

OpenFileLock lockOpenFile(const QString& dataFolder, const QString& key)
{
    OpenFileLock result;
    const QString folder = QDir(dataFolder).filePath(QStringLiteral("locks"));
    if (!makePrivateFolder(dataFolder, folder))
        return result;
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(key + QStringLiteral(".lock")));
    // A sheet stays open for hours: only a copy of the program that died leaves a stale lock.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        result.lock = std::move(lock);
    else
        result.heldElsewhere = lock->error() == QLockFile::LockFailedError;
    return result;
}

} // namespace recovery
