#pragma once

#include "print/printedsheet.h"

#include <QFont>
#include <QString>

namespace print {

// The family that prints a requested one: the family itself where the system has it,
// else a packaged family that shapes Arabic well (Tahoma is rarely there off Windows).
QString printableFamily(const QString& requested);

QFont fontOf(const PrintedFont& font);

} // namespace print
