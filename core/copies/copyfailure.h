#pragma once

#include "core/gradefile/fileerror.h"

#include <QString>

namespace sheet {

// What the teacher is told when a copy of the sheet (CSV, Excel or PDF) cannot be written to
// path: that nothing was written, and why in words of the teacher's, the system's own
// description last for the support team.
QString copyFailureText(const QString& path, const gradefile::FileError& error);

// text embedded to read left to right inside an Arabic line: a path, a system message.
QString leftToRight(const QString& text);

} // namespace sheet
