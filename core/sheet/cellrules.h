#pragma once

#include "core/gradefile/sheetcolumns.h"

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

using gradefile::kFirstGradeColumn;
inline constexpr int kGradeMin = 0;
inline constexpr int kGradeMax = 20;

// A grid cell, row 0 and column 0 being the headers.
struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(Cell a, Cell b) { return a.column == b.column && a.row == b.row; }
    friend bool operator!=(Cell a, Cell b) { return !(a == b); }
};

// A pupil's grade in one exam: pupils count from 1, exams from 0 (the first exam). Exam -1
// stands for the pupil's information, right of the first exam.
struct PupilExam {
    int pupil = 1;
    int exam = 0;
    friend bool operator==(PupilExam a, PupilExam b)
    {
        return a.pupil == b.pupil && a.exam == b.exam;
    }
};

// ---- Key filter (a character typed into the active cell) ----

// Digits and Backspace (8) are accepted; "." only when currentText (the text being typed in
// the active cell) is not empty and holds no "." yet; everything else (letters, "-", spaces,
// Enter 13, Arabic letters ...) is discarded. The rule admits more than two decimals and more
// than two integer digits: the cell check deals with them.
bool filterKey(int characterCode, QStringView currentText);

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

// The verdict of a grade cell's check; a cell never checked is Unchecked.
enum class CheckResult { Unchecked, Accepted, Zero, Refused };

struct CellCheck {
    QString text;                  // the cell's new text
    std::optional<CheckResult> result; // none: the cell keeps its own
    bool refused = false;          // the cursor stays on the cell
};

// The check of a cell's text as the cursor leaves it:
// - an empty text, or one that is "." once spaces are trimmed, becomes "--.--";
// - a value from 0 to 20 is rewritten with toGradeText() and is Zero when the text is then
//   "00.00", Accepted otherwise;
// - a value out of range, or too large for a double, is refused.
// A pasted text that is not a number but has a value in range passes unchanged: "-3" has the
// value 0 (it does not start with a digit), so it stays "-3", Accepted.
CellCheck checkCell(const QString& text);
// The check of the grade cell an Enter wrap leaves: checkCell's without its first step, so that
// an empty cell the teacher went past at the end of a column or row stays empty.
CellCheck checkCellLeftByWrap(const QString& text);

// ---- Enter rule ----

enum class EntryMode { Vertical, Horizontal }; // the check box "الرقن العمودي" checked: Vertical

struct EnterMove {
    std::optional<PupilExam> next; // none: the end of the sheet, the cursor stays
    bool wraps =
        false; // next is the first pupil of the next exam or the first exam of the next pupil
};

// Where Enter takes the cursor from a pupil's cell: the next pupil (vertical) or the next exam
// (horizontal); past the last pupil or the last exam, round to the first pupil of the next
// exam or the first exam of the next pupil. An exam beyond the last counts as the last; from
// the pupil's information the move lands on a first exam. With one exam, horizontal entry goes
// down without a wrap.
EnterMove enterMove(EntryMode mode, PupilExam active, int pupilCount, int examCount);

} // namespace sheet
