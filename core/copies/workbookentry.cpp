// The entry the program looks up in the workbook module.
#include "core/copies/workbookmodule.h"

extern "C" Q_DECL_EXPORT const sheet::WorkbookFunctions* saisieWorkbookFunctions()
{
    static const sheet::WorkbookFunctions functions{&sheet::sheetXlsx, &sheet::readXlsxSource};
    return &functions;
}
