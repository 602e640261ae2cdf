#pragma once

#include "sheet/cellrules.h"

#include <QString>

#include <optional>
#include <vector>

// Grades brought into the grade sheet from outside it: a block pasted from a spreadsheet, a
// class's grades imported from a file. They pass the same check as a grade typed and left.
namespace sheet {

// One value from outside for one grade cell, as it came.
struct GradeWrite {
    Cell cell;
    QString text;
};

// What writing a block of values did: the cells written, the values refused (not written), and
// the first refused cell in the block's order, where the cursor goes.
struct BlockOutcome {
    int filled = 0;
    int refused = 0;
    std::optional<Cell> firstRefused;
};

// The check of a value from outside as a grade cell takes it. A spreadsheet writes "12,5" under
// French settings and Arabic-Indic digits under Arabic ones: the value is read with either
// decimal sign ("," "." or "٫") and either digits, and the three marks by their texts. Anything
// else is no grade: refused (the text kept as it came, so the teacher sees what was refused),
// like a value above twenty. nullopt for an empty value: the cell keeps what it holds.
std::optional<CellCheck> checkBroughtValue(const QString& value);

} // namespace sheet
