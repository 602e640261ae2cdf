// Reading a workbook in a build without minizip (a Windows build without the library that
// scripts/windows-deps builds): a CSV file imports, a workbook says why it does not.
#include "core/copies/gradesource.h"

namespace sheet {

SourceRead readXlsxSource(const QString&)
{
    return {{}, SourceError::NoWorkbookReader, {}};
}

} // namespace sheet
