#pragma once

#include "core/sheet/cellrules.h"

#include <QString>

namespace sheet {

// Each committed change is recorded before the sheet goes on, so that it survives a crash.
class CellJournal {
public:
    virtual ~CellJournal() = default;
    // The cell's whole text after the change.
    virtual void cellCommitted(Cell cell, const QString& text) = 0;
};

} // namespace sheet
