#pragma once

#include "core/sheet/gradesheet.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The teacher's own copy of a grade sheet as a CSV file, for a spreadsheet.
namespace sheet {

// The shown columns in the order an Arabic reader meets them on the screen, from the
// right: order number, identifier, name, then the exams from the first one.
QList<int> readingOrderColumns(const GradeSheet& sheet);

// One field of a CSV line: quoted when it holds a comma, a quote or a line break, with
// its quotes doubled.
QString csvField(const QString& text);

// The sheet as CSV: UTF-8 with a byte order mark (so that spreadsheets read the Arabic),
// one line of the headers as the sheet shows them, then one line per pupil with the
// texts of its cells as shown; lines end with CR LF.
QByteArray sheetCsv(const GradeSheet& sheet);

} // namespace sheet
