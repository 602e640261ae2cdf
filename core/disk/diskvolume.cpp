#include "core/disk/diskvolume.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace gradefile {

std::optional<DiskVolume> volumeOf(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return std::nullopt;
    const QStorageInfo storage(QDir(folder).absolutePath());
    if (!storage.isValid())
        return std::nullopt;
    return DiskVolume{QString::fromUtf8(storage.device()), QDir::cleanPath(storage.rootPath()),
                      QString::fromUtf8(storage.fileSystemType())};
}

bool volumeHasGone(const DiskVolume& seen, const DiskVolume& now)
{
    if (now.rootPath == seen.rootPath)
        return false;
    // The folder's mount is now further up the tree than the one it was seen on.
    const QString above = now.rootPath.endsWith(u'/') ? now.rootPath : now.rootPath + u'/';
    return seen.rootPath.startsWith(above);
}

} // namespace gradefile
