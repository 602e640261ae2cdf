#include "core/gradefile/fileerror.h"

namespace gradefile {

int defaultErrorNumber(FileErrorKind kind)
{
    switch (kind) {
    case FileErrorKind::None:
        return 0;
    case FileErrorKind::NoDisk:
    case FileErrorKind::NameTooLong:
        return errorNumber::kBadFileName;
    case FileErrorKind::AccessDenied:
        return errorNumber::kAccessDenied;
    case FileErrorKind::DeviceNotReady:
        return errorNumber::kDeviceNotReady;
    case FileErrorKind::FileExists:
        return errorNumber::kFileExists;
    case FileErrorKind::PermissionDenied:
    case FileErrorKind::InUse:
        return errorNumber::kPermissionDenied;
    case FileErrorKind::PathAccess:
        return errorNumber::kPathAccess;
    case FileErrorKind::DiskFull:
        return errorNumber::kDiskFull;
    case FileErrorKind::Malformed:
        return errorNumber::kInvalidArguments;
    case FileErrorKind::NotAGradeFile:
    case FileErrorKind::OtherVersion:
    case FileErrorKind::OtherFile:
    case FileErrorKind::ChangedOnDisk:
    case FileErrorKind::NoFile:
    case FileErrorKind::NotAFile:
        return 0;
    case FileErrorKind::Other:
        return errorNumber::kInternal;
    }
    return errorNumber::kInternal;
}

FileError makeFileError(FileErrorKind kind, const QString& description)
{
    return FileError{kind, defaultErrorNumber(kind), description, QString()};
}

FileError malformedFile(int number, const QString& description)
{
    return FileError{FileErrorKind::Malformed, number, description, QString()};
}

} // namespace gradefile
