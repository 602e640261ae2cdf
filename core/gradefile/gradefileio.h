#pragma once

#include "core/disk/safefilewrite.h"
#include "core/gradefile/fileerror.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace gradefile {

struct GradeFileRead {
    std::optional<QStringList> lines;
    FileError error;        // set when lines is empty
    QByteArray contentHash; // contentHashOf the bytes read, when they were read
};

// Hexadecimal SHA-256: a journal of unsaved changes applies only to the content it began on.
QByteArray contentHashOf(const QByteArray& bytes);

// A file larger than kMaxRowsetBytes is refused as Malformed without being read whole.
GradeFileRead readGradeFile(const QString& path);

// Lines that cannot be written are refused (Malformed) before anything touches the disk.
SafeWriteResult writeGradeFile(const QString& path, const QStringList& lines,
                               const WriteFaultInjector* faults = nullptr);

} // namespace gradefile
