#pragma once

#include "core/sheet/cellrules.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Grades brought into the grade sheet from outside it: a block pasted from a spreadsheet, a
// class's grades imported from a file. They pass the same check as a grade typed and left.
namespace sheet {

// One value from outside for one pupil's exam (the first exam 0), as it came.
struct GradeWrite {
    int pupil = 0;
    int exam = 0;
    QString text;
};

// What writing a block of values did: the cells written, the values refused (not written), and
// the first refused cell in the block's order, where the cursor goes.
struct BlockOutcome {
    int filled = 0;
    int refused = 0;
    std::optional<Cell> firstRefused;
};

// The check of a value from outside as a grade cell takes it. A spreadsheet writes "12,5" under
// French settings and Arabic-Indic digits under Arabic ones: the value is read with either
// decimal sign ("," "." or "٫") and either digits, and the three marks by their texts. Anything
// else is no grade: refused (the text kept as it came, so the teacher sees what was refused),
// like a value above twenty. nullopt for an empty value: the cell keeps what it holds.
std::optional<CellCheck> checkBroughtValue(const QString& value);

// The cells of a text a spreadsheet wrote: a separator between cells (a tab in what it copies,
// a comma or semicolon in a CSV file), line breaks (LF, CR LF or CR) between rows, the last
// line break ignored. A cell that starts with a quote runs to its closing quote, separators and
// line breaks included, a doubled quote standing for one. Rows may differ in length; a blank
// line is a row of one empty cell. Reading stops once the text holds more than maxCells cells
// (a hostile file): then nullopt.
std::optional<std::vector<QStringList>>
spreadsheetRows(const QString& text, QChar separator = u'\t', qsizetype maxCells = -1);

// Where a block pasted at a pupil's exam goes: down the pupils, and across the shown exams in
// reading order (on the screen, right to left). A block that does not fit is refused whole: it
// says by how many rows and exams it is too large, and writes nothing.
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
