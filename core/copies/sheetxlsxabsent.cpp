// The Excel copy in a build without libxlsxwriter (a Windows build without the library that
// scripts/windows-deps builds): the menu item stays, and asking for the copy says why none is made.
#include "core/copies/sheetxlsx.h"

namespace sheet {

XlsxWorkbook sheetXlsx(const GradeSheet&)
{
    return excelCopyUnavailable();
}

} // namespace sheet
