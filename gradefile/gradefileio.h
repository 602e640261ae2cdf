#pragma once

#include "gradefile/fileerror.h"
#include "gradefile/safefilewrite.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace gradefile {

struct GradeFileRead {
    std::optional<QStringList> lines;
    FileError error;        // set when lines is empty
    QByteArray contentHash; // contentHashOf the bytes read, when they were read
};

// The hash by which the program knows a grade file's content again (hexadecimal SHA-256):
// a journal of unsaved changes applies only to the content it began on.
QByteArray contentHashOf(const QByteArray& bytes);

// Reads the lines of the grade file at path. A missing folder (no disk) is NoDisk, a
// missing file Other; bytes that are not a rowset, or a file larger than kMaxRowsetBytes
// (refused without reading it all), are Malformed; other failures take their kind from
// the system's error.
GradeFileRead readGradeFile(const QString& path);

// Writes lines as the grade file at path, through replaceFileSafely. Lines that cannot
// be written are refused (Malformed, naming the line, failedStep None) before anything
// touches the disk.
SafeWriteResult writeGradeFile(const QString& path, const QStringList& lines,
                               const WriteFaultInjector* faults = nullptr);

} // namespace gradefile
