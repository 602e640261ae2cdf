#include "gradefile/fileerror.h"

namespace gradefile {

int defaultErrorNumber(FileErrorKind kind)
{
    switch (kind) {
    case FileErrorKind::None:
        return 0;
    case FileErrorKind::NoDisk:
        return 52;
    case FileErrorKind::AccessDenied:
        return -2147024891;
    case FileErrorKind::DeviceNotReady:
        return -2147024875;
    case FileErrorKind::FileExists:
        return 58;
    case FileErrorKind::PermissionDenied:
        return 70;
    case FileErrorKind::PathAccess:
        return 75;
    case FileErrorKind::DiskFull:
        return 61;
    case FileErrorKind::Malformed:
        return 3001;
    case FileErrorKind::Other:
        return 51;
    }
    return 51;
}

FileError makeFileError(FileErrorKind kind, const QString& description)
{
    return FileError{kind, defaultErrorNumber(kind), description};
}

} // namespace gradefile
