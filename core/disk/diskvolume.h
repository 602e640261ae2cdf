#pragma once

#include <QString>

#include <optional>

namespace gradefile {

// A stick pulled out leaves its mount folder behind as a plain, empty folder of the computer's
// own disk; only the volume tells the two apart.
struct DiskVolume {
    QString device;     // the device, or the volume's own name on Windows
    QString rootPath;   // where the volume is mounted (a drive's root on Windows)
    QString fileSystem;

    bool operator==(const DiskVolume& other) const
    {
        return device == other.device && rootPath == other.rootPath &&
               fileSystem == other.fileSystem;
    }
    bool operator!=(const DiskVolume& other) const { return !(*this == other); }
};

// nullopt when the folder does not exist.
std::optional<DiskVolume> volumeOf(const QString& folder);

// The folder now belongs to a volume mounted higher up. A volume mounted in its place, or over
// it, has not gone: the teacher put a disk in.
bool volumeHasGone(const DiskVolume& seen, const DiskVolume& now);

} // namespace gradefile
