#pragma once

#include "core/card/printedsheet.h"

#include <QFont>
#include <QString>

namespace print {

// A packaged family that shapes Arabic well where the system lacks the requested one (Tahoma
// is rarely there off Windows).
QString printableFamily(const QString& requested);

QFont fontOf(const PrintedFont& font);

} // namespace print
