#include "core/disk/mountedvolumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace app {

namespace {

#ifdef Q_OS_LINUX
// The kernel says whether the disk under a block device is removable; a partition asks
// its disk.
bool isRemovableBlockDevice(const QByteArray& device)
{
    if (!device.startsWith("/dev/"))
        return false;
    const QString name = QFileInfo(QString::fromLocal8Bit(device)).fileName();
    QString folder = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (folder.isEmpty())
        return false;
    if (QFileInfo::exists(folder + QStringLiteral("/partition")))
        folder = QFileInfo(folder).path();
    QFile removable(folder + QStringLiteral("/removable"));
    return removable.open(QIODevice::ReadOnly) && removable.readAll().trimmed() == "1";
}
#endif

bool isRemovable(const QStorageInfo& volume)
{
#if defined(Q_OS_WIN)
    const QString root = QDir::toNativeSeparators(volume.rootPath());
    return GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_REMOVABLE;
#elif defined(Q_OS_LINUX)
    // The desktop mounts what is plugged in under /media or /run/media, whatever the
    // kernel says of the stick.
    const QString root = volume.rootPath();
    if (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/")))
        return true;
    return isRemovableBlockDevice(volume.device());
#elif defined(Q_OS_MACOS)
    return volume.rootPath().startsWith(QLatin1String("/Volumes/"));
#else
    (void)volume;
    return false;
#endif
}

} // namespace

QList<MountedVolume> mountedVolumes()
{
    QList<MountedVolume> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            volumes.append({volume.rootPath(), isRemovable(volume)});
    }
    return volumes;
}

} // namespace app
