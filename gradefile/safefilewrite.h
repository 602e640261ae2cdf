#pragma once

#include "gradefile/fileerror.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gradefile {

// The steps of replacing a file on the disk, in the order they run.
enum class WriteStep {
    None,
    CheckFolder,
    CreateTemporary,
    WriteTemporary,
    FlushTemporary,
    ReadBack,
    Compare,
    Replace,
};

QString writeStepName(WriteStep step);

// Lets tests make a step fail as a pulled disk, a full disk or a bad medium would,
// where the machine cannot produce the fault for real.
class WriteFaultInjector {
public:
    virtual ~WriteFaultInjector() = default;
    // An error to report instead of running the step, or nullopt to run it.
    virtual std::optional<FileError> failAt(WriteStep step) const = 0;
    // Called with the bytes read back from the temporary file before they are compared.
    virtual void alterReadBack(QByteArray& bytes) const { (void)bytes; }
};

struct SafeWriteResult {
    bool ok = false;
    WriteStep failedStep = WriteStep::None;
    FileError error;
};

// Writes content to a temporary file beside path, flushes it to the device, reads it
// back and compares it, and only then puts it in place of path in one rename. The old
// file is never deleted or truncated first: on any failure it is left exactly as it
// was, and the temporary file is removed.
SafeWriteResult replaceFileSafely(const QString& path, const QByteArray& content,
                                  const WriteFaultInjector* faults = nullptr);

// Whether fileName is the name replaceFileSafely gives the temporary file of a target
// whose name ends in targetSuffix (".xml": any letter case): a write interrupted between
// its temporary file and the rename (a disk pulled out, a crash) leaves one behind.
bool isTemporaryFileName(const QString& fileName, QLatin1String targetSuffix);

} // namespace gradefile
