#include "core/copies/sheetxlsx.h"

namespace sheet {

XlsxWorkbook excelCopyUnavailable()
{
    const QString absent = QStringLiteral("نسخة Excel غير متوفّرة في هذه النسخة من البرنامج : "
                                          "استعمل نسخة CSV.\nLa copie Excel n'est pas disponible "
                                          "dans cette version : copie CSV.");
    return {std::nullopt, gradefile::makeFileError(gradefile::FileErrorKind::Other, absent)};
}

gradefile::SafeWriteResult writeSheetXlsx(const QString& path, const GradeSheet& sheet)
{
    const XlsxWorkbook workbook = sheetXlsx(sheet);
    if (!workbook.bytes)
        return {false, gradefile::WriteStep::None, workbook.error};
    return gradefile::replaceFileSafely(path, *workbook.bytes);
}

} // namespace sheet
