#pragma once

#include "core/sheet/cellrules.h"

#include <QString>

namespace sheet {

// Where a sheet records every change the teacher commits to a cell (a typed grade, its
// rewrite, a mark, a validated observation), before the sheet goes on, so that the change
// survives a crash until it reaches the disk.
class CellJournal {
public:
    virtual ~CellJournal() = default;
    // The cell's whole text after the change.
    virtual void cellCommitted(Cell cell, const QString& text) = 0;
};

} // namespace sheet
