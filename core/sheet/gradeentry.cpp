#include "core/sheet/gradeentry.h"

#include "core/gradefile/leadingnumber.h"

namespace sheet {

GradeEntry::GradeEntry(GradeSheet& sheet, EntryCursor& cursor, QObject* parent)
    : QObject(parent), m_sheet(sheet), m_cursor(cursor)
{}

bool GradeEntry::keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    return keyPressed(entryKeyOf(key, modifiers));
}

EntryKey GradeEntry::entryKeyOf(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Home:
        return modifiers & Qt::ControlModifier ? EntryKey::FirstGrade : EntryKey::Other;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EntryKey::Enter;
    case Qt::Key_F1:
        return EntryKey::AbsentMark;
    case Qt::Key_F2:
        return EntryKey::ExemptMark;
    case Qt::Key_F3:
        return EntryKey::NoGradeMark;
    case Qt::Key_F4:
    case Qt::Key_F5:
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8:
        return EntryKey::SheetCommand;
    default:
        return EntryKey::Other;
    }
}

bool GradeEntry::keyPressed(EntryKey key)
{
    const bool mark =
        key == EntryKey::AbsentMark || key == EntryKey::ExemptMark || key == EntryKey::NoGradeMark;
    // Nothing is written in a sheet shown for reading, not even a check's rewrite: Enter
    // only moves.
    if (m_sheet.isReadOnly())
        return mark;
    return gradeSheetKey(key);
}

bool GradeEntry::gradeSheetKey(EntryKey key)
{
    switch (key) {
    case EntryKey::Enter:
        enterPressed();
        break;
    case EntryKey::AbsentMark:
        writeMark(m_cursor.activeCell(), kAbsentMark);
        break;
    case EntryKey::ExemptMark:
        // Every exam of the pupil, the last first, each followed by an Enter.
        for (int exam = m_sheet.examCount() - 1; exam >= 0; --exam)
            writeMark(GradeSheet::gradeCell(m_cursor.activeCell().row, exam), kExemptMark);
        break;
    case EntryKey::NoGradeMark:
        writeMark(m_cursor.activeCell(), kNoGradeMark);
        break;
    case EntryKey::SheetCommand:
        break;
    case EntryKey::FirstGrade:
        goToFirstGrade(true);
        break;
    case EntryKey::Other:
        return false;
    }
    return true;
}

void GradeEntry::writeMark(Cell cell, QStringView mark)
{
    m_cursor.setActiveCell(cell);
    writeCell(cell, mark.toString());
    // A mark is an entry like a typed grade: the sheet now has something to save.
    noteEntry(true);
    m_cursor.queueEnter();
}

void GradeEntry::noteEntry(bool accepted)
{
    if (accepted)
        m_sheet.setModified(true);
    emit entryMade();
}

bool GradeEntry::characterTyped(char32_t character)
{
    const bool accepted = filterKey(int(character), m_cursor.activeText());
    noteEntry(accepted);
    return accepted;
}

// Enter checks the cell left and puts the cursor on the next cell itself: the grid could not
// make a wrap's move, round to the next column or row.
void GradeEntry::enterPressed()
{
    const Cell from = m_cursor.activeCell();
    const std::optional<PupilExam> place = pupilExamAt(from);
    if (!place)
        return;
    // Like any key typed, Enter makes the save command available, though it writes nothing.
    noteEntry(false);
    const EnterMove move = enterMove(m_mode, *place, m_sheet.pupilCount(), m_sheet.examCount());
    // What is being typed is committed first: it is the teacher's change, the check's rewrite
    // comes after it.
    m_cursor.setActiveCell(from);
    if (!checkLeavingCell(from, move.wraps) || !move.next)
        return;
    m_refused.reset();
    const Cell next = GradeSheet::gradeCell(move.next->pupil, move.next->exam);
    m_cursor.setActiveCell(next);
    // A horizontal wrap checks the first grade of the row it starts as well: an empty one
    // shows "--.--" as soon as the teacher reaches the row.
    if (move.wraps && m_mode == EntryMode::Horizontal)
        checkLeavingCell(next);
}

// Undoing an observation leaves the cursor on a name: Enter brings it back to the grades.
std::optional<PupilExam> GradeEntry::pupilExamAt(Cell cell) const
{
    if (cell.row < 1 || cell.row > m_sheet.pupilCount() || cell.column < 1)
        return std::nullopt;
    return PupilExam{cell.row, GradeSheet::examAt(cell.column).value_or(-1)};
}

bool GradeEntry::leavingCell(Cell from, Cell to)
{
    if (m_sheet.isReadOnly())
        return true;
    if (!checkLeavingCell(from))
        return false;
    m_refused.reset();
    clicked(to);
    return true;
}

// Checks a grade cell the cursor leaves (other cells are never rewritten); a refused one keeps
// the cursor. What was typed was checked as it went in: the sheet knows it refused it.
bool GradeEntry::checkLeavingCell(Cell cell, bool leftByWrap)
{
    if (cell.row < 1 || !GradeSheet::examAt(cell.column))
        return true;
    const QString text = m_sheet.text(cell);
    const CellCheck check = leftByWrap ? checkCellLeftByWrap(text) : checkCell(text);
    const bool refused = m_sheet.checkResult(cell) == CheckResult::Refused || check.refused;
    if (refused)
        m_refused = cell;
    else
        m_sheet.setData(m_sheet.indexOf(cell), check.text, GradeSheet::CheckRole);
    return !refused;
}

void GradeEntry::clicked(Cell cell)
{
    if (m_refused == m_cursor.activeCell())
        return;
    // A click on a pupil's information goes to the pupil's first grade.
    if (const std::optional<PupilExam> place = pupilExamAt(cell); place && place->exam < 0)
        m_cursor.setActiveCell(GradeSheet::gradeCell(place->pupil, 0));
}

void GradeEntry::activated()
{
    goToFirstGrade(m_cursorPlaced);
}

// The first grade of the first pupil; the cell left is checked as on any move. The unsaved
// grades stay unsaved: only a successful save clears the modified flag.
void GradeEntry::goToFirstGrade(bool checkLeft)
{
    const Cell first = GradeSheet::gradeCell(1, 0);
    const Cell from = m_cursor.activeCell();
    // What was being typed is committed, then checked as on any move.
    m_cursor.setActiveCell(from);
    if (checkLeft && from != first && !leavingCell(from, first)) {
        m_cursor.setActiveCell(m_cursor.activeCell());
        return;
    }
    m_cursorPlaced = true;
    m_cursor.setActiveCell(first);
}

bool GradeEntry::isCellUnderCursorAboveTwenty() const
{
    const QString text = m_cursor.activeText();
    return GradeSheet::examAt(m_cursor.activeCell().column) && text != kNoGradeMark &&
           gradefile::leadingNumber(text).value_or(0) > kGradeMax;
}

bool GradeEntry::checkCellUnderCursor()
{
    const Cell active = m_cursor.activeCell();
    m_cursor.setActiveCell(active);
    return m_sheet.text(active).isEmpty() || checkLeavingCell(active);
}

void GradeEntry::writeCell(Cell cell, const QString& text)
{
    m_sheet.setData(m_sheet.indexOf(cell), text);
}

void GradeEntry::placeCursor(Cell cell)
{
    m_refused.reset();
    m_cursor.setActiveCell(cell);
}

void GradeEntry::recoverCells(const QList<std::pair<Cell, CellState>>& cells)
{
    m_sheet.change(cells);
    for (const auto& [cell, state] : cells) {
        if (m_sheet.checkResult(cell) == CheckResult::Refused) {
            keepCursorOnRefused(cell);
            break;
        }
    }
    if (!cells.isEmpty())
        noteEntry(true);
}

void GradeEntry::keepCursorOnRefused(Cell cell)
{
    m_cursor.setActiveCell(cell);
    m_refused = cell;
    // Coming back to the sheet checks the refused cell before the cursor may leave it.
    m_cursorPlaced = true;
}

BlockOutcome GradeEntry::writeBrought(const std::vector<GradeWrite>& writes)
{
    BlockOutcome outcome;
    QList<std::pair<Cell, CellState>> written;
    for (const auto& [pupil, exam, text] : writes) {
        const Cell cell = GradeSheet::gradeCell(pupil, exam);
        const std::optional<CellCheck> check = checkBroughtValue(text);
        if (!check || m_sheet.isLocked(cell))
            continue;
        // Only the first refused value is placed, first: the teacher corrects it before going
        // on, and the correction belongs to the block's step.
        if (check->refused && outcome.refused++ == 0) {
            outcome.firstRefused = cell;
            written.prepend({cell, m_sheet.withText(cell, text)});
        } else if (!check->refused) {
            ++outcome.filled;
            written.append({cell, m_sheet.withText(cell, text)});
        }
    }
    m_sheet.change(written);
    if (outcome.firstRefused)
        keepCursorOnRefused(*outcome.firstRefused);
    if (!written.isEmpty())
        noteEntry(true);
    return outcome;
}

} // namespace sheet
