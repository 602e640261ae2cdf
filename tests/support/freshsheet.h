#pragma once

#include "gradefile/gradedocument.h"
#include "gradefile/gradefilelines.h"

// The grid of a freshly opened subject sheet: every cell empty but those the file sets.
inline gradefile::SheetTable freshSheetOf(const gradefile::GradeDocument& document)
{
    gradefile::SheetTable table(size_t(document.rowCount) + 1);
    for (auto it = document.headers.cbegin(); it != document.headers.cend(); ++it)
        table[0][size_t(it.key())] = it.value();
    for (int r = 0; r < document.rowCount; ++r) {
        const gradefile::RowCells& cells = document.rows[size_t(r)];
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            table[size_t(r) + 1][size_t(it.key())] = it.value();
    }
    return table;
}
