#pragma once

#include "gradefile/sheetcolumns.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The rules that keep a grade cell to its four forms (a grade text such as "07.25", or one of
// the three marks) while the teacher types, and where the cursor goes on Enter. Everything here
// is a pure decision; the window handlers read the grid, call these, and apply the answer.
namespace sheet {

// The three marks that stand instead of a grade. They come only from F1 to F3.
inline constexpr QStringView kNoGradeMark = u"--.--"; // F3; also an empty cell left
inline constexpr QStringView kExemptMark = u"معفى";   // F2
inline constexpr QStringView kAbsentMark = u"غ.ش.";   // F1
bool isMark(QStringView text);

// The grade sheet window's rules in full, or the plain grade sheet's reduced form of them.
enum class SheetKind { Grade, Plain };

// Grade sheet geometry: grade columns 1 to 6, filled from column 6 downwards. GradeSpan is
// 6 minus the number of hidden columns; the shown grade columns are 6 - GradeSpan to 6.
using gradefile::kFirstGradeColumn;
// The plain grade sheet's only grade column.
inline constexpr int kPlainGradeColumn = 1;
inline constexpr int kGradeMin = 0;
inline constexpr int kGradeMax = 20;

int firstGradeColumn(SheetKind kind);
// 6 - gradeSpan, kept within 1 to 6: a sheet whose row-header column holds text (GradeSpan 6)
// or whose grade columns are all hidden (GradeSpan below 0) would otherwise send marks and the
// cursor into column 0 or into the pupil information.
int lastGradeColumn(int gradeSpan);

// A grid cell, row 0 and column 0 being the headers.
struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(Cell a, Cell b) { return a.column == b.column && a.row == b.row; }
    friend bool operator!=(Cell a, Cell b) { return !(a == b); }
};

// ---- Key filter (a character typed into the active cell) ----

struct KeyDecision {
    bool accepted = false;
    bool beep = false; // the plain grade sheet beeps on a discarded character
};

// Digits and Backspace (8) are accepted; "." only when currentText (the text being typed in
// the active cell) is not empty and holds no "." yet; everything else (letters, "-", spaces,
// Enter 13, Arabic letters ...) is discarded. The rule admits more than two decimals and more
// than two integer digits: the cell check deals with them.
KeyDecision filterKey(SheetKind kind, int characterCode, QStringView currentText);

// The character a cell takes for one typed on an Arabic keyboard: the Arabic-Indic digits
// (both forms) as 0 to 9 and the Arabic decimal separator as "."; any other as it is.
char32_t plainCharacter(char32_t character);

// ---- Numeric value and the "00.00" rewrite ----

// The number formed by the text's leading ASCII digits and at most one ".", read as a decimal
// number. Nothing is skipped and nothing else is read: " 12" and "-3" are 0, "1e5" is 1, ".5" is
// 0.5, "5." is 5, "." and every mark are 0. nullopt when the number is too large for a double
// (a run-time failure for the cell check). A number too small for a double reads as 0.
std::optional<double> cellValue(QStringView text);

// Digits with at most one "." and at least one digit, nothing else: exactly the texts whose
// whole content cellValue() reads.
bool isPlainNumber(QStringView text);

// The text rewritten with the pattern "00.00": at least two integer digits, exactly two
// decimals. Only a text made wholly of digits with at most one "." (at least one digit) is a
// number; any other text (a mark, " 12", "12abc", "-3", "1e5") comes back unchanged, so the
// rewrite never shows a value other than the one cellValue() read.
// Rounding of a third decimal: half away from zero, done exactly on the decimal digits (never
// through a binary double): 12.345 -> 12.35, 12.3449 -> 12.34, 19.995 -> 20.00.
QString toGradeText(const QString& text);

// ---- Cell check (the cursor is about to leave a cell) ----

enum class CellColour {
    Unchanged, // leave the cell's background as it is
    White,     // 255, 255, 255: any other text that passed
    Yellow,    // 255, 255, 0: the zero grade "00.00"
    Red,       // 255, 0, 0: refused
};

struct CellCheck {
    QString text;                              // the cell's new text
    CellColour colour = CellColour::Unchanged; // the cell's new background
    bool refused = false;                      // set the cancel flag: the cursor stays
    bool tooLarge = false;                     // run-time failure: the handler stops here
};

// The check of a cell's text as the cursor leaves it:
// - an empty text becomes "--.--"; in the grade sheet, a text that is "." once spaces are
//   trimmed becomes "--.--" too (the plain sheet keeps such a "." unchanged);
// - a value in range (grade sheet 0 to 20, plain sheet up to 20) is rewritten with toGradeText()
//   and coloured yellow when the text is then "00.00", white otherwise (plain sheet: no colour);
// - a value out of range is refused: red in the grade sheet, no colour in the plain sheet;
// - a number too large for a double sets tooLarge and is refused (red in the grade sheet; a mark
//   is never such a number). After tooLarge the handler stops: no wrap completion, no click rule.
// A pasted text that is not a number but has a value in range passes unchanged: "-3" has the
// value 0 (it does not start with a digit), so it stays "-3", white.
CellCheck checkCell(SheetKind kind, const QString& text);

// ---- Click rule ----

// A click on a cell beyond the first grade column (the pupil information) sends the cursor to
// the first grade column of that row; clicks on grade columns and on column 0 are left alone
// (nullopt). Also applied to the new cell after every cell check that lets the cursor go.
std::optional<Cell> clickTarget(SheetKind kind, Cell clicked);

// ---- F2 in the grade sheet ----

// The columns that receive the exemption mark, in this order, each followed by one queued
// Enter: from the last grade column up to column 6.
QList<int> exemptionColumns(int gradeSpan);

// ---- Enter rule (grade sheet only; the plain sheet leaves Enter to the grid) ----
//
// How grade entry (sheet/gradeentry) uses it:
//  Enter key down:  step = enterPressed(state); apply step.direction to the grid, then by action:
//                  Move: nothing more, the grid moves and the leaving move checks the cell;
//                  PrepareWrap: make step.prePosition active, wrapFlag := true; the grid's own
//                  move from there leaves the pre-positioned cell;
//                  CheckInPlace: checkCell() the active cell, write text and colour, wrapFlag :=
//                  false, keep the cell active; the grid must not move.
//  Leaving (c, r) for (nc, nr):
//    1. if r >= 1: check = checkCell(Grade, text of (c, r)); write its text and colour;
//       cancel |= refused; if check.tooLarge, stop here. (Row 0 is the vertical wrap's
//       pre-positioned header cell: an exam name is no grade and must not be rewritten.)
//    2. if wrapFlag: cells = wrapCells(mode, {c, r}, rows, gradeSpan);
//       done = completeWrap(mode, cells, text of cells.reallyLeft); write done.check's text and
//       colour into cells.reallyLeft; make done.active active; wrapFlag := false;
//       cancel |= done.check.refused; give the grid done.direction.
//    3. if cancel is set, stop: a refused cell keeps the cursor, and the Click that follows
//       the refused move is not obeyed either. Otherwise, if clickTarget(Grade, {nc, nr})
//       gives a cell, make it active.
//  F1 to F8 clear the wrap flag (they are ignored while it is set).

enum class EntryMode { Vertical, Horizontal }; // the check box "الرقن العمودي" checked: Vertical

// The direction the grid moves the cursor on Enter.
enum class EnterDirection { Down, NextColumn /* towards lower column numbers */ };

struct EnterState {
    EntryMode mode = EntryMode::Vertical;
    Cell active;       // a grade cell of a pupil row
    int rowCount = 0;  // pupil rows are 1 to rowCount; the last row is rowCount
    int gradeSpan = 0; // GradeSpan: grade columns 6 - gradeSpan to 6 are shown
    bool wrapFlag = false;
};

enum class EnterAction {
    Ignore,       // the wrap flag is set, or the sheet has no pupil row: nothing happens
    Move,         // the grid moves one cell in the direction; leaving checks the cell
    PrepareWrap,  // make prePosition active and set the wrap flag, then the grid moves
    CheckInPlace, // check the active cell where it is and keep the cursor on it
};

struct EnterStep {
    EnterAction action = EnterAction::Ignore;
    EnterDirection direction = EnterDirection::Down;
    Cell prePosition;      // PrepareWrap only
    bool wrapFlag = false; // the flag after the step
};

// Phase 1, at the key-down of Enter:
//  vertical, not the last row                      -> Move down
//  vertical, last row, not the last grade column   -> PrepareWrap at (column - 1, row 0), down
//  vertical, last row, last grade column           -> CheckInPlace (the end of the sheet)
//  horizontal, not the last grade column           -> Move to the next column
//  horizontal, last grade column, one column shown -> Move down
//  horizontal, last grade column, not the last row -> PrepareWrap at (6, row + 1)
//  horizontal, last grade column, last row         -> CheckInPlace: the wrap target would lie
//                                                     below the last row, so, as at the end of
//                                                     vertical entry, the cell is checked and
//                                                     the cursor does not leave it.
// The horizontal wrap also sets the direction to the next column, so that the grid's own move
// from the pre-positioned first grade column always exists (with the direction left at down, a
// wrap into the last row would find no move and stay pending).
EnterStep enterPressed(const EnterState& state);

// Phase 2: the cells of a pending wrap, from the cell the grid reported as left (the
// pre-positioned cell (c, r)).
struct WrapCells {
    Cell reallyLeft; // vertical (c + 1, last row); horizontal (last grade column, r - 1)
    Cell target;     // vertical (c, 1); horizontal (6, r)
};
WrapCells wrapCells(EntryMode mode, Cell prePositioned, int rowCount, int gradeSpan);

struct WrapCompletion {
    CellCheck check; // new text and colour of the really-left cell; refused: set the cancel flag
    Cell active;     // the wrap target, or the really-left cell again when it was refused
    EnterDirection direction = EnterDirection::Down; // what phase 1 sets at the target
    // The wrap flag is cleared in every outcome.
};

// The really-left cell is checked without the empty and lone-"." steps (an empty cell stays
// empty): in range it is rewritten and coloured as by checkCell(); out of range it is refused
// red and stays active. A number too large for a double counts as out of range here, so the
// wrap always ends with the flag cleared.
WrapCompletion completeWrap(EntryMode mode, const WrapCells& cells, const QString& reallyLeftText);

} // namespace sheet
