// The program's side of the workbook module: found in lib/saisie-notes/modules/ beside the
// program's bin/ as it is installed, and beside each program's folder in the build folder;
// loaded once, on first use. (Not straight in lib/saisie-notes/: the package would then run
// ldconfig for a library no other program links.)
#include "core/copies/workbookmodule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace sheet {

namespace {

QString programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // A program without an application object (a test of the core) is still a Linux process.
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
}

const WorkbookFunctions* workbookFunctions()
{
    static const WorkbookFunctions* const functions = []() -> const WorkbookFunctions* {
        // Never unloaded: the functions stay valid until the program ends.
        QLibrary module(programFolder() +
                        QStringLiteral("/../lib/saisie-notes/modules/saisie-workbooks.so"));
        const auto entry =
            reinterpret_cast<WorkbookModuleEntry>(module.resolve(kWorkbookModuleEntry));
        if (!entry)
            qWarning("saisie-notes: no workbook module: %s", qPrintable(module.errorString()));
        return entry ? entry() : nullptr;
    }();
    return functions;
}

} // namespace

XlsxWorkbook sheetXlsx(const GradeSheet& sheet)
{
    const WorkbookFunctions* functions = workbookFunctions();
    return functions ? functions->sheetXlsx(sheet) : excelCopyUnavailable();
}

SourceRead readXlsxSource(const QString& path)
{
    const WorkbookFunctions* functions = workbookFunctions();
    return functions ? functions->readXlsxSource(path)
                     : SourceRead{{}, SourceError::NoWorkbookReader, {}};
}

} // namespace sheet
