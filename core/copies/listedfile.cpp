#include "core/copies/listedfile.h"

#include "core/copies/classstatistics.h"
#include "core/gradefile/gradefileio.h"
#include "core/sheet/openedsheet.h"

namespace sheet {

ListedFile listedFile(const gradefile::GradeDisk& disk, const QString& fileName)
{
    const gradefile::GradeFileRead read = gradefile::readGradeFile(disk.pathOf(fileName));
    if (!read.lines)
        return {gradefile::kInvalidGradeFileText, {}};
    ListedFile listed{gradefile::listDescription(fileName, *read.lines), {}};
    const gradefile::DocumentRead opened = gradefile::readGradeDocument(fileName, *read.lines);
    if (!opened.document || opened.document->kind != gradefile::SheetKind::Subject)
        return listed;
    GradeSheet grades;
    grades.reset(openedSheetTable(*opened.document));
    int typed = 0, cells = 0;
    for (const ExamStatistics& exam : classStatistics(grades)) {
        typed += exam.graded + exam.absent + exam.exempt;
        cells += exam.pupils();
    }
    listed.typed = QStringLiteral("%1 / %2").arg(typed).arg(cells);
    return listed;
}

} // namespace sheet
