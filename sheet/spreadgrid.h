#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QTableWidget>

#include "sheet/cellrules.h"

#include <optional>

class QLineEdit;

namespace sheet {

class FrozenColumns;
class GridDelegate;

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

// The spreadsheet grid every grid of the program is built on. Cells are addressed by
// (column, row): row 0 holds the column headers and column 0 the row headers; rows 1 to
// maxRows() and columns 1 to maxCols() are the cells. The active cell is the one with
// the cursor. Widths are in grid units of 90 twips (6 pixels at 96 dpi).
//
// Its input handler is asked, for the keyboard and the mouse alike, with a cell editor open
// or not:
// - keyDown: every key pressed while the grid (or its editor) has the focus.
// - characterTyped: every character typed into a cell, before it reaches the cell. Pasted
//   and dropped text comes one character at a time; control characters (CR, LF, TAB ...)
//   are dropped before and never enter a cell, whatever the handler answers. Nothing is
//   asked while the active cell is locked or the cursor is on a header.
// - leavingCell: an open editor has committed before (cellEdited first), and stays
//   committed when the move is refused.
// Its signals tell what happened:
// - cellClickedAt / cellDoubleClickedAt: a cell (or header) was clicked, after any move. A
//   double click gives one click, then the double click; it opens no editor.
// - cellEditedAt: the text of a cell was changed by the user (not by setText), when the
//   editor commits: on a move, Enter, setActiveCell or the grid losing the focus.
//
// Typing on a cell that is not being edited opens an editor whose text the first
// accepted character replaces. Enter commits and moves one cell in the EnterAction
// direction, skipping hidden columns; at the last row (Down) or the first shown column
// (Next) it commits and stays, without asking leavingCell. The grid keeps every key it gets but
// Escape without an editor: in a dialog, Enter never reaches the default button.
//
// The grid stays left to right inside a right-to-left window (column 1 at the left);
// each cell's text reads in its own direction, Arabic from the right. An alignment set
// on a cell is physical (AlignLeft is the left edge); without one, text starts on the
// side it reads from.
class SpreadGrid : public QTableWidget {
    Q_OBJECT

public:
    enum class EnterAction { Down, Next /* towards lower column numbers */ };

    explicit SpreadGrid(QWidget* parent = nullptr);
    ~SpreadGrid() override;

    int maxCols() const;
    void setMaxCols(int columns);
    int maxRows() const;
    void setMaxRows(int rows);

    // While a cell is being edited its text is the editor's. setText on that cell closes
    // the editor: the program's text replaces what was being typed, with no Change.
    QString text(int col, int row) const;
    void setText(int col, int row, const QString& text);

    int activeCol() const;
    int activeRow() const;
    // Puts the cursor on (col, row) without asking leavingCell; closes an open editor,
    // keeping what was typed in it. A header cell (row 0 or column 0) is allowed: the
    // cursor waits there, takes no typing, and the next move starts from it (Enter Down
    // from (c, 0) asks leavingCell((c, 0), (c, 1))), as the grade rules' vertical wrap needs.
    void setActiveCell(int col, int row);

    void setColumnHiddenAt(int col, bool hidden);
    bool isColumnHiddenAt(int col) const;
    void setColWidth(int col, double units);
    double colWidth(int col) const;
    void setRowHeightAt(int row, int pixels);
    int rowHeightAt(int row) const;

    // Columns 1 to count stay in place when the grid scrolls sideways. Typing into a
    // frozen column scrolls the grid back to its left edge so that the editor shows.
    void setFrozenCols(int count);
    int frozenCols() const;

    void setCellBackColor(int col, int row, const QColor& colour);
    QColor cellBackColor(int col, int row) const;
    void setCellForeColor(int col, int row, const QColor& colour);
    QColor cellForeColor(int col, int row) const;
    void setCellFont(int col, int row, const QFont& font);
    // The cell's own font, else the grid's.
    QFont cellFont(int col, int row) const;
    void setCellAlignment(int col, int row, Qt::Alignment alignment);
    // The alignment set on the cell; none when it was never set.
    Qt::Alignment cellAlignment(int col, int row) const;
    // A locked cell takes no typing, no paste and no drop; the cursor still visits it.
    // Headers count as locked.
    void setCellLocked(int col, int row, bool locked);
    bool isCellLocked(int col, int row) const;

    void setEnterAction(EnterAction action);
    EnterAction enterAction() const;

    // The last row holding text in any cell, 0 when none does.
    int lastRowWithData() const;

    // The text being typed in the open cell editor, or the active cell's text.
    QString activeText() const;
    bool isEditing() const;

    // Queues one Enter keystroke, handled after the current handler returns exactly as
    // if the user had pressed Enter (the "{ENTER}" the mark keys send). A QKeyEvent for
    // Enter posted to the grid or to its editor behaves the same.
    void queueEnter();

    // Keeps a cell that scrolls sideways out from under the frozen columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The handler asked about keys, characters and moves; none (the default) lets
    // everything through. It must outlive the grid or be removed first.
    void setInputHandler(GridInputHandler* handler) { m_input = handler; }

signals:
    void cellClickedAt(int col, int row);
    void cellDoubleClickedAt(int col, int row);
    void cellEditedAt(int col, int row);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void updateGeometries() override;

protected slots:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    struct Cell {
        int col = 0;
        int row = 0;
        bool operator==(const Cell& other) const { return col == other.col && row == other.row; }
        bool operator!=(const Cell& other) const { return !(*this == other); }
    };

    void setUpHeaders();
    void setUpFrozenColumns();
    bool contains(Cell cell) const;
    bool isCell(Cell cell) const;
    static Cell cellOf(const QModelIndex& index);
    QModelIndex indexOf(Cell cell) const;
    QTableWidgetItem* itemOf(Cell cell) const;
    QTableWidgetItem* ensureItem(Cell cell);
    QString storedText(Cell cell) const;

    Cell activeCell() const;
    void placeCursor(Cell cell);
    void keepCursorOnCells();
    void leaveTo(Cell target);
    Cell clampedToCells(Cell cell) const;
    int shownColumnFrom(int col, int step) const;
    std::optional<Cell> navigationTarget(const QKeyEvent& event) const;
    Cell tabTarget(Cell from, int step) const;
    int pageRows() const;
    Cell enterTarget() const;

    bool handleKey(QKeyEvent* event, bool inEditor);
    static bool isEditorKey(const QKeyEvent& event);
    // Whether one of the grid's enabled actions has this key as its shortcut.
    bool isActionKey(const QKeyEvent& event) const;
    bool raiseKeyDown(const QKeyEvent& event);
    void pressEnter();
    bool editorEvent(QObject* editor, QEvent* event);
    void editorInputMethod(QInputMethodEvent* event);
    void typeText(const QString& text);
    void pasteText(const QString& text);
    void offerCharacter(char32_t character);
    bool activeCellTakesText() const;
    void insertText(const QString& text);
    void eraseBackward();

    void openEditor(const QString& text);
    void commitEditor();
    void cancelEditor();

    void pressCell(const QModelIndex& index);
    void releaseCell(const QModelIndex& index);
    void doubleClickCell(const QModelIndex& index);
    void followHorizontalScroll();

    GridInputHandler* m_input = nullptr;
    GridDelegate* m_delegate = nullptr;
    FrozenColumns* m_frozen = nullptr;
    QPointer<QLineEdit> m_editor;
    Cell m_editCell;
    EnterAction m_enterAction = EnterAction::Down;
    // The cursor parked on a header cell by setActiveCell (row 0 or column 0), which no
    // selection can show.
    std::optional<Cell> m_headerCursor;
    // Counts setActiveCell calls, so that a move finds out whether its LeaveCell handler
    // placed the cursor itself.
    quint64 m_placements = 0;
    std::optional<Cell> m_pressedCell;
    QHash<int, double> m_colUnits;
};

} // namespace sheet
