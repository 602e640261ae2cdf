#include "sheet/gradeentry.h"

#include "gradefile/leadingnumber.h"

namespace sheet {

GradeEntry::GradeEntry(SheetKind kind, GradeSheet& sheet, EntryCursor& cursor, QObject* parent)
    : QObject(parent), m_kind(kind), m_sheet(sheet), m_cursor(cursor)
{}

bool GradeEntry::keyDown(Qt::Key key, Qt::KeyboardModifiers)
{
    return keyPressed(entryKeyOf(key));
}

EntryKey GradeEntry::entryKeyOf(Qt::Key key)
{
    switch (key) {
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
    if (m_readOnly)
        return mark;
    return m_kind == SheetKind::Subject ? gradeSheetKey(key) : plainSheetKey(key);
}

bool GradeEntry::gradeSheetKey(EntryKey key)
{
    switch (key) {
    case EntryKey::Enter:
        enterPressed();
        break;
    case EntryKey::AbsentMark:
        writeMark(m_cursor.activeCell().column, kAbsentMark);
        break;
    case EntryKey::ExemptMark:
        for (int column : exemptionColumns(m_gradeSpan))
            writeMark(column, kExemptMark);
        break;
    case EntryKey::NoGradeMark:
        writeMark(m_cursor.activeCell().column, kNoGradeMark);
        break;
    case EntryKey::SheetCommand:
        break;
    case EntryKey::Other:
        return false;
    }
    return true;
}

bool GradeEntry::plainSheetKey(EntryKey key)
{
    QStringView mark;
    if (key == EntryKey::AbsentMark)
        mark = kAbsentMark;
    else if (key == EntryKey::ExemptMark)
        mark = kExemptMark;
    else if (key == EntryKey::NoGradeMark)
        mark = kNoGradeMark;
    else
        return false;
    const Cell cell = m_cursor.activeCell();
    writeCell(cell, mark.toString());
    emit cellChanged(cell, CellChange::Marked);
    m_cursor.queueEnter();
    return true;
}

void GradeEntry::writeMark(int column, QStringView mark)
{
    const Cell cell{column, m_cursor.activeCell().row};
    m_cursor.setActiveCell(cell);
    writeCell(cell, mark.toString());
    emit cellChanged(cell, CellChange::Marked);
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
    const KeyDecision decision = filterKey(m_kind, int(character), m_cursor.activeText());
    if (m_kind == SheetKind::Subject)
        noteEntry(decision.accepted);
    else if (!decision.accepted && decision.beep)
        m_cursor.beep();
    return decision.accepted;
}

// Enter checks the cell left and puts the cursor on the next cell itself: the grid could not
// make a wrap's move, round to the next column or row.
void GradeEntry::enterPressed()
{
    if (m_sheet.pupilCount() < 1)
        return;
    // Like any key typed, Enter makes the save command available, though it writes nothing.
    noteEntry(false);
    const Cell from = m_cursor.activeCell();
    const EnterMove move = enterMove(m_mode, from, m_sheet.pupilCount(), m_gradeSpan);
    // What is being typed is committed first: it is the teacher's change, the check's rewrite
    // comes after it.
    m_cursor.setActiveCell(from);
    if (!passesCheck(from, move.wraps) || !move.next)
        return;
    m_refused.reset();
    // Undoing an observation leaves the cursor on a name: Enter brings it back to the grades.
    m_cursor.setActiveCell(clickTarget(m_kind, *move.next).value_or(*move.next));
    // A horizontal wrap checks the first grade of the row it starts as well: an empty one
    // shows "--.--" as soon as the teacher reaches the row.
    if (move.wraps && m_mode == EntryMode::Horizontal)
        passesCheck(*move.next);
}

bool GradeEntry::leavingCell(Cell from, Cell to)
{
    if (m_readOnly)
        return true;
    if (!passesCheck(from))
        return false;
    m_refused.reset();
    clicked(to);
    return true;
}

// Checks a grade cell the cursor leaves (other cells are never rewritten); a refused one keeps
// the cursor.
bool GradeEntry::passesCheck(Cell cell, bool leftByWrap)
{
    if (cell.row < 1 || cell.column < 1 || cell.column > firstGradeColumn(m_kind))
        return true;
    const QString text = m_sheet.text(cell);
    CellCheck check = leftByWrap ? checkCellLeftByWrap(text) : checkCell(m_kind, text);
    // A word brought from outside stays refused until typed over: the typing check, which
    // reads only leading digits, would take it for a grade of nought.
    if (cell == m_refused && m_kind == SheetKind::Subject)
        check = checkBroughtValue(text).value_or(check);
    applyCheck(cell, check);
    if (check.refused)
        m_refused = cell;
    return !check.refused;
}

void GradeEntry::clicked(Cell cell)
{
    if (cell.row < 1 || m_refused == m_cursor.activeCell())
        return;
    if (const std::optional<Cell> target = clickTarget(m_kind, cell))
        m_cursor.setActiveCell(*target);
}

void GradeEntry::activated()
{
    Q_ASSERT(m_kind == SheetKind::Subject);
    // The unsaved grades stay unsaved: only a successful save clears the modified flag.
    const Cell first{kFirstGradeColumn, 1};
    const Cell from = m_cursor.activeCell();
    // What was being typed is committed, then checked as on any move.
    m_cursor.setActiveCell(from);
    if (m_cursorPlaced && from != first && !leavingCell(from, first)) {
        m_cursor.setActiveCell(m_cursor.activeCell());
        return;
    }
    m_cursorPlaced = true;
    m_cursor.setActiveCell(first);
}

bool GradeEntry::isCellUnderCursorAboveTwenty() const
{
    const QString text = m_cursor.activeText();
    return m_cursor.activeCell().column <= kFirstGradeColumn && text != kNoGradeMark &&
           gradefile::leadingNumber(text).value_or(0) > kGradeMax;
}

bool GradeEntry::checkCellUnderCursor()
{
    const Cell active = m_cursor.activeCell();
    m_cursor.setActiveCell(active);
    return m_sheet.text(active).isEmpty() || passesCheck(active);
}

void GradeEntry::applyCheck(Cell cell, const CellCheck& check)
{
    if (m_sheet.text(cell) != check.text)
        writeCell(cell, check.text);
    if (check.look)
        m_sheet.setLook(cell, *check.look);
    emit cellChanged(cell, CellChange::Checked);
}

void GradeEntry::writeCell(Cell cell, const QString& text)
{
    m_sheet.setText(cell, text);
}

void GradeEntry::cellEdited(Cell cell)
{
    emit cellChanged(cell, CellChange::Typed);
}

void GradeEntry::putBack(Cell cell, const QString& text)
{
    writeCell(cell, text);
    noteEntry(true);
}

void GradeEntry::placeCursor(Cell cell)
{
    m_refused.reset();
    m_cursor.setActiveCell(cell);
}

void GradeEntry::restoreCells(const QList<std::pair<Cell, QString>>& cells)
{
    std::optional<Cell> refused;
    for (const auto& [cell, text] : cells) {
        m_sheet.restoreText(cell, text);
        if (cell.column < 1 || cell.column > kFirstGradeColumn || text.isEmpty())
            continue;
        // A grade is coloured as its check colours it; the text stays as it was kept. A word
        // a paste refused is refused again.
        const CellCheck check = checkBroughtValue(text).value_or(checkCell(m_kind, text));
        if (check.refused && !refused)
            refused = cell;
        if (check.look && (check.refused || check.text == text))
            m_sheet.setLook(cell, *check.look);
    }
    if (refused)
        keepCursorOnRefused(*refused);
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
    QList<Cell> written;
    CellCheck firstRefused;
    for (const auto& [cell, text] : writes) {
        const std::optional<CellCheck> check = checkBroughtValue(text);
        if (!check || m_sheet.isLocked(cell))
            continue;
        if (check->refused && outcome.refused++ == 0) {
            outcome.firstRefused = cell;
            firstRefused = *check;
        } else if (!check->refused) {
            ++outcome.filled;
            written.append(cell);
            m_sheet.setText(cell, check->text);
            m_sheet.setLook(cell, check->look.value_or(GradeLook::Plain));
        }
    }
    // Only the first refused value is placed: the teacher corrects it before going on.
    if (const std::optional<Cell> refused = outcome.firstRefused) {
        written.prepend(*refused);
        m_sheet.setText(*refused, firstRefused.text);
        m_sheet.setLook(*refused, GradeLook::Refused);
        keepCursorOnRefused(*refused);
    }
    if (!written.isEmpty()) {
        noteEntry(true);
        emit cellsBrought(written);
    }
    return outcome;
}

} // namespace sheet
