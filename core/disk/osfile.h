#pragma once

#include "core/gradefile/fileerror.h"

#include <QByteArray>
#include <QString>

#include <functional>

// errno values (0 for success), so that both platforms turn a failure into an error kind the
// same way and the caller can say which step failed.
namespace gradefile::os {

class FileHandle {
public:
    FileHandle() = default;
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int descriptor() const { return m_fd; }
    void adopt(int fd);
    // A late write error (a network or removable disk) may surface only here, so a caller
    // that cares gets the error; the destructor ignores it.
    int close();

private:
    int m_fd = -1;
};

int checkFolder(const QString& folder);
// path must not exist yet.
int createNewFile(const QString& path, FileHandle& handle);
int writeAll(const FileHandle& handle, const QByteArray& bytes);
// Tests follow the order of the writes and the flushes to the device, by descriptor.
enum class DurableCall { Write, Flush };
using DurableCallWatcher = std::function<void(DurableCall, int descriptor)>;
void watchDurableCalls(DurableCallWatcher watcher);
// Until the bytes are on the device itself, not only in the system's cache.
int flushToDevice(const FileHandle& handle);
// So that the next read comes from the device.
void dropCachedCopy(const FileHandle& handle);
// No write right for its owner, or Windows' read-only attribute, whoever asks.
int checkNotReadOnly(const QString& path);
// readAtMost's answer for a folder, a pipe or a device, never opened: a pipe's opening or
// reading would wait for ever.
inline constexpr int kNotRegularFile = 0x10000;
int readAtMost(const QString& path, qint64 maxBytes, QByteArray& bytes);
// In one step; to may exist.
int replaceFile(const QString& from, const QString& to);
// Makes a rename in folder durable; some file systems cannot, which is no failure.
void syncFolder(const QString& folder);
void removeFile(const QString& path);
// Gives the new file the access rights of the one it replaces, when there is one.
void copyPermissions(const QString& from, const FileHandle& to);

FileErrorKind errorKindOf(int error);
QString errorText(int error);

} // namespace gradefile::os
