#pragma once

#include "core/gradefile/fileerror.h"

#include <QString>

namespace sheet {

// The system's own description comes last, for the support team.
QString copyFailureText(const QString& path, const gradefile::FileError& error);

// text embedded to read left to right inside an Arabic line: a path, a system message.
QString leftToRight(const QString& text);

} // namespace sheet
