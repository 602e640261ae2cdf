#pragma once

#include "core/copies/gradesource.h"
#include "core/copies/sheetxlsx.h"

// The Excel side of the program (the workbook copy, a workbook read for an import) is a module
// of its own, loaded the first time a workbook is written or read: its libraries
// (libxlsxwriter, minizip and OpenSSL's under them) would otherwise load with every start of
// the program, for the few times a teacher asks for a workbook.
namespace sheet {

struct WorkbookFunctions {
    XlsxWorkbook (*sheetXlsx)(const GradeSheet& sheet);
    SourceRead (*readXlsxSource)(const QString& path);
};

// The module's one entry, by name: it gives its functions.
inline constexpr char kWorkbookModuleEntry[] = "saisieWorkbookFunctions";
using WorkbookModuleEntry = const WorkbookFunctions* (*)();

} // namespace sheet
