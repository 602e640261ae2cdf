#pragma once

#include "core/sheet/cellrules.h"
#include "core/sheet/gradeblock.h"
#include "core/sheet/gradesheet.h"

#include <QObject>

#include <optional>

namespace sheet {

// What a grid asks of the code that enters data into it, before it acts on the user's
// keys, characters and moves.
class GridInputHandler {
public:
    virtual ~GridInputHandler() = default;
    // A key pressed while the grid (or its cell editor) has the focus, before the grid acts
    // on it. True takes the key: no character, move or edit follows from it.
    virtual bool keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    // A character about to enter the active cell: '\b' for Backspace, '\r' for Enter
    // (after Enter's move, and never entered). False discards it.
    virtual bool characterTyped(char32_t character) = 0;
    // The cursor is about to move from one cell to another, by a key or a click. False
    // keeps it where it is. A handler that calls setActiveCell decides where the cursor
    // ends, whatever it answers.
    virtual bool leavingCell(Cell from, Cell to) = 0;
};

// The teacher's cursor in the grid that shows a sheet: what grade entry moves and reads
// besides the sheet's own texts.
class EntryCursor {
public:
    virtual ~EntryCursor() = default;
    virtual Cell activeCell() const = 0;
    // The text being typed in the active cell, or its text when nothing is being typed.
    virtual QString activeText() const = 0;
    // Puts the cursor on cell without raising a leaving move, keeping what was being typed.
    virtual void setActiveCell(Cell cell) = 0;
    // One Enter keystroke, handled after the current event as if the teacher pressed it.
    virtual void queueEnter() = 0;
    virtual void beep() = 0;
};

// The keys grade entry answers in the grid; the sheet's commands (save, quit, print) are
// the window's own.
enum class EntryKey { Enter, AbsentMark, ExemptMark, NoGradeMark, SheetCommand, FirstGrade, Other };

// Grade entry on one sheet: it keeps every grade cell to its four forms while the teacher
// types, moves the cursor on Enter (round to the next column or row at the end of one), enters
// the marks, keeps a refused cell under the cursor, and knows whether the sheet holds unsaved
// changes. Its cells change through the sheet's setData, which checks every grade.
class GradeEntry : public QObject, public GridInputHandler {
    Q_OBJECT

public:
    GradeEntry(GradeSheet& sheet, EntryCursor& cursor, QObject* parent = nullptr);

    void setEntryMode(EntryMode mode) { m_mode = mode; }
    EntryMode entryMode() const { return m_mode; }
    // Puts texts a journal kept back into their cells after a crash, each grade checked, and
    // marks the sheet modified. The cursor goes to the first refused grade among them.
    void recoverCells(const QList<std::pair<Cell, CellState>>& cells);
    // Writes values brought from outside (a paste, an import) as one change, each checked as a
    // grade typed and left; a refused one is not written, and a locked cell takes nothing.
    // The first refused cell then holds its text, red, with the cursor kept on it as after
    // typing.
    BlockOutcome writeBrought(const std::vector<GradeWrite>& writes);

    // Whether the sheet holds changes the disk has not.

    // A key pressed in the grid, before the grid acts on it. True: the grid must not act
    // on it (no move, no typing).
    bool keyPressed(EntryKey key);
    bool keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    // A character about to enter the active cell ('\b' for Backspace, '\r' after Enter's
    // move). False: it is discarded.
    bool characterTyped(char32_t character) override;
    // The cursor is about to leave from for to. False: it stays (or goes where this
    // put it).
    bool leavingCell(Cell from, Cell to) override;
    // What a key means to grade entry: Enter, the marks F1 to F3 (with any modifier), the
    // sheet's commands F4 to F8, Ctrl+Home, or nothing.
    static EntryKey entryKeyOf(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    // A cell was clicked, after any move the click made.
    void clicked(Cell cell);
    // The grade sheet came back to the front: the cursor goes to the first grade of the
    // first pupil, and the cell it leaves is checked as on any move.
    void activated();

    // Puts the cursor on cell without a check: the cell left was checked already.
    void placeCursor(Cell cell);

    // Before a save. A grade above twenty under the cursor is not written.
    bool isCellUnderCursorAboveTwenty() const;
    // The grade under the cursor written as leaving the cell would leave it ("7" as
    // "07.00"); false when it is refused.
    bool checkCellUnderCursor();

signals:
    // The teacher typed or marked something: there is now something to save, and the
    // sheet is no longer blank.
    void entryMade();

private:
    bool gradeSheetKey(EntryKey key);
    void writeMark(Cell cell, QStringView mark);
    // The pupil and exam of a pupil's cell (exam -1: the pupil's information).
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
    // The cell a refused check keeps the cursor on: neither the click rule after the
    // refusal nor the click the refused move came from may take the cursor elsewhere.
    std::optional<Cell> m_refused;
    // False until the first activation has put the cursor on the first grade.
    bool m_cursorPlaced = false;
};

} // namespace sheet
