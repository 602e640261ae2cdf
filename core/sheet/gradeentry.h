#pragma once

#include "core/sheet/cellrules.h"
#include "core/sheet/gradeblock.h"
#include "core/sheet/gradesheet.h"

#include <QObject>

#include <optional>

namespace sheet {

// What a grid asks before it acts on the user's keys, characters and moves.
class GridInputHandler {
public:
    virtual ~GridInputHandler() = default;
    // True takes the key: no character, move or edit follows from it.
    virtual bool keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    // '\b' for Backspace, '\r' for Enter (after Enter's move, and never entered). False
    // discards it.
    virtual bool characterTyped(char32_t character) = 0;
    // False keeps the cursor. A handler that calls setActiveCell decides where the cursor
    // ends, whatever it answers.
    virtual bool leavingCell(Cell from, Cell to) = 0;
};

class EntryCursor {
public:
    virtual ~EntryCursor() = default;
    virtual Cell activeCell() const = 0;
    // The text being typed in the active cell, or its text when nothing is being typed.
    virtual QString activeText() const = 0;
    // Without raising leavingCell, keeping what was being typed.
    virtual void setActiveCell(Cell cell) = 0;
    // Handled after the current event as if the teacher pressed Enter.
    virtual void queueEnter() = 0;
    virtual void beep() = 0;
};

// The sheet's commands (save, quit, print) are the window's own.
enum class EntryKey { Enter, AbsentMark, ExemptMark, NoGradeMark, SheetCommand, FirstGrade, Other };

// Grade entry on one sheet: the key filter, the Enter rule, the marks, and a refused cell
// kept under the cursor.
class GradeEntry : public QObject, public GridInputHandler {
    Q_OBJECT

public:
    GradeEntry(GradeSheet& sheet, EntryCursor& cursor, QObject* parent = nullptr);

    void setEntryMode(EntryMode mode) { m_mode = mode; }
    EntryMode entryMode() const { return m_mode; }
    // Each grade checked; the sheet is marked modified and the cursor goes to the first
    // refused grade.
    void recoverCells(const QList<std::pair<Cell, CellState>>& cells);
    // A paste or an import, as one change, each value checked as a grade typed and left; a
    // refused one is not written, but the first refused cell holds its text, red, under the cursor.
    BlockOutcome writeBrought(const std::vector<GradeWrite>& writes);

    // True: the grid must not act on the key.
    bool keyPressed(EntryKey key);
    bool keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    bool characterTyped(char32_t character) override;
    bool leavingCell(Cell from, Cell to) override;
    // The marks F1 to F3 take any modifier.
    static EntryKey entryKeyOf(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    // After any move the click made.
    void clicked(Cell cell);
    // The sheet came back to the front: the cursor goes to the first grade, the cell it
    // leaves checked as on any move.
    void activated();

    // Without a check: the cell left was checked already.
    void placeCursor(Cell cell);

    // Before a save: a grade above twenty under the cursor is not written.
    bool isCellUnderCursorAboveTwenty() const;
    // Rewritten as leaving the cell would ("7" as "07.00"); false when it is refused.
    bool checkCellUnderCursor();

signals:
    void entryMade();

private:
    bool gradeSheetKey(EntryKey key);
    void writeMark(Cell cell, QStringView mark);
    std::optional<PupilExam> pupilExamAt(Cell cell) const;
    void noteEntry(bool accepted);
    void enterPressed();
    bool checkLeavingCell(Cell cell, bool leftByWrap = false);
    void writeCell(Cell cell, const QString& text);
    void keepCursorOnRefused(Cell cell);
    void goToFirstGrade(bool checkLeft);

    GradeSheet& m_sheet;
    EntryCursor& m_cursor;
    EntryMode m_mode = EntryMode::Vertical;
    // Neither the click rule after the refusal nor the click the refused move came from may
    // take the cursor elsewhere.
    std::optional<Cell> m_refused;
    bool m_cursorPlaced = false;
};

} // namespace sheet
