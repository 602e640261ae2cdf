#pragma once

#include <QString>

#include <optional>

namespace gradefile {

// The volume a disk folder belongs to: a USB stick, a memory card, a floppy, or the
// computer's own disk. A stick pulled out of a folder it was mounted on leaves that
// folder behind as a plain, empty folder of the computer's own disk; only the volume
// tells the two apart.
struct DiskVolume {
    QString device;     // the device, or the volume's own name on Windows
    QString rootPath;   // where the volume is mounted (a drive's root on Windows)
    QString fileSystem; // its file system type

    bool operator==(const DiskVolume& other) const
    {
        return device == other.device && rootPath == other.rootPath &&
               fileSystem == other.fileSystem;
    }
    bool operator!=(const DiskVolume& other) const { return !(*this == other); }
};

// The volume folder lies on now; nullopt when the folder does not exist.
std::optional<DiskVolume> volumeOf(const QString& folder);

// Whether the volume a folder was seen on has gone from under it: the folder now belongs
// to a volume mounted higher up (the stick was pulled and its mount folder stayed). A
// volume mounted in its place, or over it, has not gone: the teacher put a disk in.
bool volumeHasGone(const DiskVolume& seen, const DiskVolume& now);

} // namespace gradefile
