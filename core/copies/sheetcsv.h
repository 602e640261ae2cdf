#pragma once

#include "core/sheet/gradesheet.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The teacher's own copy of a grade sheet as a CSV file, for a spreadsheet.
namespace sheet {

// As an Arabic reader meets them on the screen, from the right.
QList<int> readingOrderColumns(const GradeSheet& sheet);

QString csvField(const QString& text);

// With a byte order mark, so that spreadsheets read the Arabic.
QByteArray sheetCsv(const GradeSheet& sheet);

} // namespace sheet
