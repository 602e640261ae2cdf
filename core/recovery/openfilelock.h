#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace recovery {

// One grade file is open in one grade sheet at a time, whichever copy of the program shows
// it: two sheets of one file would each write their grades over the other's.
struct OpenFileLock {
    // Held while the sheet is open; none when the file is open elsewhere, or when the data
    // folder cannot hold a lock (the program then goes on without one, as without a journal).
    std::unique_ptr<QLockFile> lock;
    bool heldElsewhere = false;
};

// Locks the grade file of key, at once or not at all, in the data folder's locks/. The
// lock is the key's, whatever disk or folder the file is on: the unsaved changes of a file
// are found by its key and content wherever its disk is mounted, and one sheet alone may
// journal them. A lock left by a copy of the program that is no longer running is taken over.
OpenFileLock lockOpenFile(const QString& dataFolder, const QString& key);

} // namespace recovery
