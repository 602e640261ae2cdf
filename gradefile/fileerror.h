#pragma once

#include <QString>

namespace gradefile {

// What went wrong with a grade file on the disk. The windows choose their message
// from the kind; the number and description are what the "unforeseen error"
// messages show to the teacher and to our support team.
enum class FileErrorKind {
    None,
    NoDisk,           // the disk folder cannot be read: no disk in the drive
    AccessDenied,     // the system refused access to the folder or file
    DeviceNotReady,   // the drive is there but does not answer
    FileExists,       // the target name is taken and cannot be replaced
    PermissionDenied, // write-protected disk
    PathAccess,       // the path cannot be used (read-only file system and the like)
    DiskFull,         // no room left for the new content
    Malformed,        // the bytes are not a grade file
    Other,
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    int number = 0;
    QString description;

    bool isError() const { return kind != FileErrorKind::None; }
};

// The error numbers the messages have always shown for each kind.
int defaultErrorNumber(FileErrorKind kind);

FileError makeFileError(FileErrorKind kind, const QString& description);

} // namespace gradefile
