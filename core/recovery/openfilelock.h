#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace recovery {

// Two sheets of one file, in any copy of the program, would write their grades over each other's.
struct OpenFileLock {
    // None when the data folder cannot hold a lock: the program goes on without one.
    std::unique_ptr<QLockFile> lock;
    bool heldElsewhere = false;
};

// The key's lock, whatever disk the file is on: its unsaved changes are found by key and
// content wherever the disk is mounted, and one sheet alone may journal them. A lock left by a
// copy of the program no longer running is taken over.
OpenFileLock lockOpenFile(const QString& dataFolder, const QString& key);

} // namespace recovery
