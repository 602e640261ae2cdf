#pragma once

#include "core/gradefile/fileerror.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gradefile {

// In the order they run.
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

// Tests make a step fail as a pulled disk, a full disk or a bad medium would.
class WriteFaultInjector {
public:
    virtual ~WriteFaultInjector() = default;
    // nullopt runs the step.
    virtual std::optional<FileError> failAt(WriteStep step) const = 0;
    // Before the bytes read back are compared.
    virtual void alterReadBack(QByteArray& bytes) const { (void)bytes; }
};

struct SafeWriteResult {
    bool ok = false;
    WriteStep failedStep = WriteStep::None;
    FileError error;
};

// The old file is replaced in one rename only once the new bytes are on the device and read
// back the same: on any failure it is left exactly as it was.
SafeWriteResult replaceFileSafely(const QString& path, const QByteArray& content,
                                  const WriteFaultInjector* faults = nullptr);

// A write interrupted before its rename (a disk pulled out, a crash) leaves one behind.
bool isTemporaryFileName(const QString& fileName, QLatin1String targetSuffix);

} // namespace gradefile
