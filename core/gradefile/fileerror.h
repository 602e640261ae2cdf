#pragma once

#include <QString>

namespace gradefile {

// The number and description are what the "unforeseen error" messages show to the teacher
// and to the support team.
enum class FileErrorKind {
    None,
    NoDisk,           // the disk folder cannot be read: no disk in the drive
    AccessDenied,     // the system refused access to the folder or file
    DeviceNotReady,   // the drive is there but does not answer
    FileExists,       // the target name is taken and cannot be replaced
    PermissionDenied, // write-protected disk
    PathAccess,       // the path cannot be used (read-only file system and the like)
    DiskFull,         // no room left for the new content
    Malformed,        // the bytes are not a grade file, or its lines cannot be read
    NotAGradeFile,    // a rowset whose start line does not name the file
    OtherVersion,     // a journal or kept copy written by another version of the program
    OtherFile,        // a journal or kept copy that belongs to another grade file
    ChangedOnDisk,    // the grade file changed on the disk since the journal began
    NoFile,           // the file is not there, though its folder is
    NotAFile,         // a folder, a pipe or a device where a file was expected
    NameTooLong,      // the path is longer than the system takes
    InUse,            // another program holds the file open (Windows)
    Other,
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    int number = 0;
    QString description;
    // Where the message names it (a journal, a kept copy).
    QString path;

    bool isError() const { return kind != FileErrorKind::None; }
};

// As the administration's support team knows them.
namespace errorNumber {
inline constexpr int kInvalidCall = 5;   // a line lacks fields it must have
inline constexpr int kOverflow = 6;      // a counter or year out of its range
inline constexpr int kTypeMismatch = 13; // a year that is no number
inline constexpr int kInternal = 51;     // anything else
inline constexpr int kBadFileName = 52;  // no disk in the drive
inline constexpr int kFileExists = 58;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70; // write-protected disk
inline constexpr int kPathAccess = 75;
inline constexpr int kInvalidArguments = 3001; // bytes that are no grade file
inline constexpr int kNoCurrentRecord = 3021;  // the file ends before a line it needs
inline constexpr int kAccessDenied = -2147024891;
inline constexpr int kDeviceNotReady = -2147024875;
} // namespace errorNumber

int defaultErrorNumber(FileErrorKind kind);

FileError makeFileError(FileErrorKind kind, const QString& description);
FileError malformedFile(int number, const QString& description);

} // namespace gradefile
