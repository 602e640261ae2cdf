// Reading a workbook in a build without minizip (the Windows build, until the library is built
// for mingw-w64): a CSV file imports, a workbook says why it does not.
#include "sheet/gradesource.h"

namespace sheet {

SourceRead readXlsxSource(const QString&)
{
    return {{}, SourceError::NoWorkbookReader};
}

} // namespace sheet
