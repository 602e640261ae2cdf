#pragma once

#include "core/copies/gradesource.h"
#include "core/copies/sheetxlsx.h"

// A module loaded on first use: its libraries (libxlsxwriter, minizip, OpenSSL's) would
// otherwise load with every start, for the few times a teacher asks for a workbook.
namespace sheet {

struct WorkbookFunctions {
    XlsxWorkbook (*sheetXlsx)(const GradeSheet& sheet);
    SourceRead (*readXlsxSource)(const QString& path);
};

// The module's one entry, by name: it gives its functions.
inline constexpr char kWorkbookModuleEntry[] = "saisieWorkbookFunctions";
using WorkbookModuleEntry = const WorkbookFunctions* (*)();

} // namespace sheet
