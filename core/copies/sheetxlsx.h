#pragma once

#include "core/disk/safefilewrite.h"
#include "core/gradefile/gradefilelines.h"
#include "core/sheet/gradesheet.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The teacher's own copy of a grade sheet as an Excel workbook: where the CSV copy reaches a
// spreadsheet as texts, the workbook holds the grades as numbers that average.
namespace sheet {

struct XlsxWorkbook {
    std::optional<QByteArray> bytes; // none when the workbook could not be made
    gradefile::FileError error;
};

// The workbook of the sheet, right to left. Its first sheet holds the shown columns in the
// CSV copy's order under a frozen row of headers: the grades as numbers shown "00.00", the
// marks and any other text as texts, identifiers as texts, empty cells empty. Its second
// sheet holds the class statistics, one column per exam from the first one: the counts, then
// the mean, median, lowest and highest grade as numbers shown "00.00" ("--.--" with no grade);
// below them the count of grades in each band of two points, and a column chart of that table.
XlsxWorkbook sheetXlsx(const GradeSheet& sheet);

// Why no workbook is made where the program has no means of making one.
XlsxWorkbook excelCopyUnavailable();

// The workbook put in place of path as safely as a grade file: the old file stays whole
// until the new one is on the disk.
gradefile::SafeWriteResult writeSheetXlsx(const QString& path, const GradeSheet& sheet);

} // namespace sheet
