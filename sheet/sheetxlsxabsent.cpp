// The Excel copy in a build without libxlsxwriter (a Windows build without the library that
// scripts/windows-deps builds): the menu item stays, and asking for the copy says why none is made.
#include "sheet/sheetxlsx.h"

namespace sheet {

XlsxWorkbook sheetXlsx(const gradefile::SheetTable&, const ShownColumns&)
{
    const QString absent = QStringLiteral("نسخة Excel غير متوفّرة في هذه النسخة من البرنامج : "
                                          "استعمل نسخة CSV.\nLa copie Excel n'est pas disponible "
                                          "dans cette version : copie CSV.");
    return {std::nullopt, gradefile::makeFileError(gradefile::FileErrorKind::Other, absent)};
}

gradefile::SafeWriteResult writeSheetXlsx(const QString&, const gradefile::SheetTable& table,
                                          const ShownColumns& shown)
{
    return {false, gradefile::WriteStep::None, sheetXlsx(table, shown).error};
}

} // namespace sheet
