#pragma once

#include "gradefile/gradedocument.h"

#include "gradefile/sheetcolumns.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace gradefile {

// Columns of the grade grid: 0 row headers, 1 to 6 grades (6 is the first exam),
// 7 name, 8 identifier, 9 order number, 10 level and observation.

// The texts of a grade grid; index 0 is the header row, then one row per pupil.
using SheetTable = std::vector<std::array<QString, kSheetColumns>>;

// For each column, whether the sheet window hides it as empty: no text in any pupil row.
// A grade column with an exam name in its header is never empty, and a sheet without
// pupils keeps its pupil information columns, and an exam column that comes before a kept
// one is kept too, so saving a sheet keeps all its exams.
std::array<bool, kSheetColumns> emptyColumnsOf(const SheetTable& table);

// How many grade fields a pupil's line gets: the columns from 6 down that are not empty.
int gradeFieldsOf(const SheetTable& table);

// What the save writes into the end line besides the key.
struct EndLineTexts {
    QString region;
    QString establishment;
    QString teacher;
};

struct SaveLinesBuilt {
    QStringList lines;
    qint16 saveNumber = 0;        // the raised counter written into the end line
    bool counterOverflow = false; // the save counter cannot be raised any further
};

// The lines of a subject grade file rebuilt from its sheet: gradeFields columns are
// written, from column 6 down. The save counter is first raised to the
// print counter when below it, then by one.
SaveLinesBuilt buildGradeFileLines(const QString& key, const QString& caption,
                                   const SheetTable& table, int gradeFields,
                                   const EndLineTexts& texts, qint16 saveNumber,
                                   qint16 printNumber);

// Caption without leading and trailing blanks (spaces only: a TAB is kept).
QString trimBlanks(const QString& text);

} // namespace gradefile
