#pragma once

#include "core/sheet/cellrules.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Grades pasted or imported pass the same check as a grade typed and left.
namespace sheet {

// One value from outside for one pupil's exam (the first exam 0), as it came.
struct GradeWrite {
    int pupil = 0;
    int exam = 0;
    QString text;
};

// The cursor goes to the first refused cell.
struct BlockOutcome {
    int filled = 0;
    int refused = 0;
    std::optional<Cell> firstRefused;
};

// A spreadsheet writes "12,5" under French settings and Arabic-Indic digits under Arabic ones:
// either decimal sign ("," "." or "٫") and either digits are read. Anything else is refused as
// it came, so the teacher sees it. nullopt for an empty value: the cell keeps what it holds.
std::optional<CellCheck> checkBroughtValue(const QString& value);

// A tab in what a spreadsheet copies, a comma or semicolon in a CSV file; the last line break
// is ignored. nullopt beyond maxCells cells (a hostile file).
std::optional<std::vector<QStringList>>
spreadsheetRows(const QString& text, QChar separator = u'\t', qsizetype maxCells = -1);

// Across the shown exams in reading order (right to left on the screen). A block that does not
// fit is refused whole, nothing written.
struct BlockPlacement {
    std::vector<GradeWrite> writes; // row by row, each row in the block's order
    int rowsOver = 0;
    int columnsOver = 0;
};
// nullopt when the place is no shown exam of a pupil, or the block is empty.
std::optional<BlockPlacement> placeBlock(const std::vector<QStringList>& rows, int pupil, int exam,
                                         int pupilCount, int examCount);

// Why a sheet shown for reading takes no paste.
inline const QString kViewOnlyPaste = QStringLiteral("هذه البطاقة للإطّلاع فقط: لا يُلصق فيها شيء.");

// What the teacher reads after a paste, and about a block that does not fit.
QString pasteOutcomeText(const BlockOutcome& outcome);
QString blockTooLargeText(const BlockPlacement& placement);

} // namespace sheet
