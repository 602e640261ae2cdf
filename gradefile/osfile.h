#pragma once

#include "gradefile/fileerror.h"

#include <QByteArray>
#include <QString>

// The few system calls behind reading and writing grade files. They report failure as an
// errno value (0 for success) so that both platforms turn a failure into an error kind the
// same way, and so that the caller can say which step failed.
namespace gradefile::os {

// An open file descriptor, closed when it goes out of scope.
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

// 0 when folder is an existing folder; ENOTDIR when it is something else.
int checkFolder(const QString& folder);
// Creates path, which must not exist yet, open for reading and writing.
int createNewFile(const QString& path, FileHandle& handle);
int writeAll(const FileHandle& handle, const QByteArray& bytes);
// Waits until the bytes are on the device itself, not only in the system's cache.
int flushToDevice(const FileHandle& handle);
// Asks the system to forget its cached copy, so that the next read comes from the device.
void dropCachedCopy(const FileHandle& handle);
// EACCES when path is a file marked read-only (no write right for its owner, or Windows'
// read-only attribute), whoever asks; 0 when it is not, or is not there.
int checkNotReadOnly(const QString& path);
// What readAtMost gives for a path that is no regular file (a folder, a pipe, a device):
// those are never opened, as a pipe's opening or reading would wait for ever.
inline constexpr int kNotRegularFile = 0x10000;
// Reads the first maxBytes bytes of path (fewer when the file is shorter).
int readAtMost(const QString& path, qint64 maxBytes, QByteArray& bytes);
// Puts from in place of to in one step; to may exist and is then replaced.
int replaceFile(const QString& from, const QString& to);
// Makes a rename in folder durable; some file systems cannot, which is no failure.
void syncFolder(const QString& folder);
void removeFile(const QString& path);
// Gives the new file the access rights of the one it replaces, when there is one.
void copyPermissions(const QString& from, const FileHandle& to);

FileErrorKind errorKindOf(int error);
QString errorText(int error);

} // namespace gradefile::os
