#pragma once

#include "core/disk/safefilewrite.h"
#include "core/gradefile/gradefilelines.h"
#include "core/sheet/gradesheet.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Unlike the CSV copy's texts, the workbook holds the grades as numbers that average.
namespace sheet {

struct XlsxWorkbook {
    std::optional<QByteArray> bytes; // none when the workbook could not be made
    gradefile::FileError error;
};

// Identifiers as texts; the class statistics on a second sheet.
XlsxWorkbook sheetXlsx(const GradeSheet& sheet);

// Why no workbook is made where the program has no means of making one.
XlsxWorkbook excelCopyUnavailable();

// As safely as a grade file: the old file stays whole until the new one is on the disk.
gradefile::SafeWriteResult writeSheetXlsx(const QString& path, const GradeSheet& sheet);

} // namespace sheet
