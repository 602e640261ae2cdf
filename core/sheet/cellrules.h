#pragma once

#include "core/gradefile/sheetcolumns.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Pure decisions that keep a grade cell to its four forms ("07.25" or one of the three marks)
// and move the cursor on Enter.
namespace sheet {

// The marks come only from F1 to F3.
inline constexpr QStringView kNoGradeMark = u"--.--"; // F3; also an empty cell left
inline constexpr QStringView kExemptMark = u"معفى";   // F2
inline constexpr QStringView kAbsentMark = u"غ.ش.";   // F1
bool isMark(QStringView text);

using gradefile::kFirstGradeColumn;
inline constexpr int kGradeMin = 0;
inline constexpr int kGradeMax = 20;

// Row 0 and column 0 are the headers.
struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(Cell a, Cell b) { return a.column == b.column && a.row == b.row; }
    friend bool operator!=(Cell a, Cell b) { return !(a == b); }
};

// Pupils count from 1, exams from 0; exam -1 is the pupil's information, right of the first exam.
struct PupilExam {
    int pupil = 1;
    int exam = 0;
    friend bool operator==(PupilExam a, PupilExam b)
    {
        return a.pupil == b.pupil && a.exam == b.exam;
    }
};

// ---- Key filter (a character typed into the active cell) ----

// Digits, Backspace (8), and "." in a text not empty that holds none yet. More than two
// decimals or integer digits pass: the cell check deals with them.
bool filterKey(int characterCode, QStringView currentText);

// For an Arabic keyboard: both forms of Arabic-Indic digits as 0 to 9, the Arabic decimal
// separator as ".".
char32_t plainCharacter(char32_t character);

// ---- Numeric value and the "00.00" rewrite ----

// The leading ASCII digits and at most one ".", nothing skipped: " 12" and "-3" are 0, "1e5" is
// 1, ".5" is 0.5, "." and every mark are 0. nullopt when too large for a double (the cell check
// refuses it).
std::optional<double> cellValue(QStringView text);

// Exactly the texts whose whole content cellValue() reads.
bool isPlainNumber(QStringView text);

// "00.00"; a text that is not isPlainNumber comes back unchanged, so the rewrite never shows a
// value other than the one cellValue() read. A third decimal rounds half away from zero on the
// decimal digits, never through a double: 12.345 -> 12.35, 19.995 -> 20.00.
QString toGradeText(const QString& text);

// ---- Cell check (the cursor is about to leave a cell) ----

enum class CheckResult { Unchecked, Accepted, Zero, Refused };

struct CellCheck {
    QString text;                  // the cell's new text
    std::optional<CheckResult> result; // none: the cell keeps its own
    bool refused = false;          // the cursor stays on the cell
};

// As the cursor leaves the cell: empty or "." becomes "--.--"; a value from 0 to 20 is
// rewritten with toGradeText(); any other is refused. A pasted text that is not a number but has
// a value in range passes unchanged: "-3" has the value 0, so it stays "-3", Accepted.
CellCheck checkCell(const QString& text);
// An empty cell the teacher went past at the end of a column or row stays empty.
CellCheck checkCellLeftByWrap(const QString& text);

// ---- Enter rule ----

enum class EntryMode { Vertical, Horizontal }; // the check box "الرقن العمودي" checked: Vertical

struct EnterMove {
    std::optional<PupilExam> next; // none: the end of the sheet, the cursor stays
    bool wraps =
        false; // next is the first pupil of the next exam or the first exam of the next pupil
};

// Past the last pupil or exam, round to the next exam or pupil. An exam beyond the last counts
// as the last; from the pupil's information the move lands on a first exam. With one exam,
// horizontal entry goes down without a wrap.
EnterMove enterMove(EntryMode mode, PupilExam active, int pupilCount, int examCount);

} // namespace sheet
