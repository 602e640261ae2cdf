#pragma once

#include "core/gradefile/gradedocument.h"
#include "core/gradefile/gradefilelines.h"

#include <QString>

#include <array>

// The grade sheet as the window shows it right after a subject grade file is opened: the
// texts of its cells and which columns it shows. The gradefile tool reads a file through
// these, so that its copies and statistics are those of the window.
namespace sheet {

// The headers the window writes itself above the pupil information.
extern const QString kIdentifierHeader;
extern const QString kOrderNumberHeader;
extern const QString kLevelHeader;
// The name column's header: centred sheets ("C") have it plain, the others padded.
QString nameHeaderOf(const QString& nameLayout);

// Whether each grid column is shown (true) or hidden.
using ShownColumns = std::array<bool, gradefile::kSheetColumns>;

// The cells of the freshly opened sheet: the file's headers and pupil rows, and the
// window's own headers.
gradefile::SheetTable openedSheetTable(const gradefile::GradeDocument& document);

// The columns the window shows for these texts: every column that is not empty (the row
// headers, column 0, included), but never the level and observation column.
ShownColumns shownColumnsOf(const gradefile::SheetTable& table);

// A header as the teacher reads it: the blanks that pad it in its cell left out.
QString shownHeader(const QString& header);

} // namespace sheet
