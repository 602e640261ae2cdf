#pragma once

// A disk broken while a file is replaced: a step fails with the kind given, an action runs as a
// step begins, or the bytes read back are spoilt.

#include "core/disk/safefilewrite.h"

#include <functional>

struct WriteFaults : gradefile::WriteFaultInjector {
    explicit WriteFaults(gradefile::WriteStep failing = gradefile::WriteStep::None,
                         gradefile::FileErrorKind kind = gradefile::FileErrorKind::DiskFull)
        : failingStep(failing), kind(kind)
    {}
    std::optional<gradefile::FileError> failAt(gradefile::WriteStep step) const override
    {
        if (step == actionStep)
            action();
        if (step != failingStep)
            return std::nullopt;
        return gradefile::makeFileError(kind, QStringLiteral("injected"));
    }
    void alterReadBack(QByteArray& bytes) const override
    {
        if (spoilReadBack)
            bytes[bytes.size() / 2] = '?';
    }

    gradefile::WriteStep failingStep;
    gradefile::FileErrorKind kind;
    gradefile::WriteStep actionStep = gradefile::WriteStep::None;
    std::function<void()> action;
    bool spoilReadBack = false;
};
