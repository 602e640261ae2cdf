#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QTableView>

#include "core/sheet/gradeentry.h"

#include <optional>

class QLineEdit;

namespace sheet {

class FrozenColumns;
class GradeSheet;
class GridDelegate;

// The spreadsheet grid every grid of the program is built on: a view of a GradeSheet, which
// holds every text and look it shows. Cells are addressed as the sheet addresses them
// (column, row): row 0 holds the column headers and column 0 the row headers. The active
// cell is the one with the cursor. Widths are in grid units of 90 twips (6 pixels at 96 dpi).
//
// Its input handler is asked, for the keyboard and the mouse alike, with a cell editor open
// or not:
// - keyDown: every key pressed while the grid (or its editor) has the focus.
// - characterTyped: every character typed into a cell, before it reaches the cell. Pasted
//   and dropped text comes one character at a time; control characters (CR, LF, TAB ...)
//   are dropped before and never enter a cell, whatever the handler answers. Nothing is
//   asked while the active cell is locked or the cursor is on a header.
// - leavingCell: an open editor has committed before (through the sheet's setData), and stays
//   committed when the move is refused.
// Its signals tell what happened:
// - cellClickedAt / cellDoubleClickedAt: a cell (or header) was clicked, after any move. A
//   double click gives one click, then the double click; it opens no editor.
// - pasteRequested: Ctrl+V with no editor open; the window pastes a block of cells from the
//   clipboard. In an open editor, Ctrl+V types the clipboard's text into it.
//
// Typing on a cell that is not being edited opens an editor whose text the first
// accepted character replaces. Enter commits and moves one row down; at the last row it
// commits and stays, without asking leavingCell. The grid keeps every key it gets but
// Escape without an editor: in a dialog, Enter never reaches the default button.
//
// The grid stays left to right inside a right-to-left window (column 1 at the left);
// each cell's text reads in its own direction, Arabic from the right. The sheet's
// alignments are physical (AlignLeft is the left edge); without one, text starts on the
// side it reads from.
class GradeGrid : public QTableView, public EntryCursor {
    Q_OBJECT

public:
    explicit GradeGrid(GradeSheet& sheet, QWidget* parent = nullptr);
    ~GradeGrid() override;

    GradeSheet& sheet() const { return m_sheet; }
    int maxCols() const;
    int maxRows() const;

    // While a cell is being edited its text is the editor's. A text the program writes
    // into that cell closes the editor: it replaces what was being typed, with no edit told.
    QString text(Cell cell) const;

    Cell activeCell() const override;
    // Puts the cursor on a cell (never a header) without asking leavingCell; closes an open
    // editor, keeping what was typed in it.
    void setActiveCell(Cell cell) override;

    void setSheetColumnHidden(int col, bool hidden);
    bool isSheetColumnHidden(int col) const;
    void setSheetColumnUnits(int col, double units);
    double sheetColumnUnits(int col) const;
    int sheetRowHeight(int row) const;
    // Widens each shown column too narrow for its texts in the grid's font (a header on its
    // two lines): the designed widths were chosen for Tahoma, and a wider font standing in
    // for it must not cut an identifier or an exam's name.
    void fitColumnsToTexts();
    // The width that shows every shown column whole, frame and scroll bar included.
    int fullWidth() const;
    QSize sizeHint() const override;

    // The last count shown columns stay in place at the grid's right edge when it scrolls
    // sideways; they take no typing.
    void setFrozenCols(int count);


    // The text being typed in the open cell editor, or the active cell's text.
    QString activeText() const override;
    bool isEditing() const;
    void beep() override;

    // Queues one Enter keystroke, handled after the current handler returns exactly as
    // if the user had pressed Enter (the "{ENTER}" the mark keys send). A QKeyEvent for
    // Enter posted to the grid or to its editor behaves the same.
    void queueEnter() override;

    // Keeps a cell that scrolls sideways out from under the frozen columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The handler asked about keys, characters and moves; none (the default) lets
    // everything through. It must outlive the grid or be removed first.
    void setInputHandler(GridInputHandler* handler) { m_input = handler; }
    // Whether one of the grid's enabled actions has this key as its shortcut.
    bool isActionKey(const QKeyEvent& event) const;

signals:
    void cellClickedAt(int col, int row);
    void cellDoubleClickedAt(int col, int row);
    void pasteRequested();

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
    void setUpHeaders();
    void setUpFrozenColumns();
    bool contains(Cell cell) const;
    bool isCell(Cell cell) const;
    QModelIndex indexOf(Cell cell) const;
    void sheetChanged(Cell cell);
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
    bool raiseKeyDown(const QKeyEvent& event);
    void pressEnter();
    bool editorEvent(QObject* editor, QEvent* event);
    void editorInputMethod(QInputMethodEvent* event);
    void typeText(const QString& text);
    void pasteText(const QString& text);
    bool offerCharacter(char32_t character);
    bool activeCellTakesText() const;
    void insertText(const QString& text);
    void eraseBackward();

    void openEditor(const QString& text);
    void commitEditor();
    void cancelEditor();

    void pressCell(const QModelIndex& index);
    void releaseCell(const QModelIndex& index);
    void doubleClickCell(const QModelIndex& index);

    GradeSheet& m_sheet;
    GridInputHandler* m_input = nullptr;
    GridDelegate* m_delegate = nullptr;
    FrozenColumns* m_frozen = nullptr;
    QPointer<QLineEdit> m_editor;
    Cell m_editCell;
    // The editor's own text is being written into the sheet: it stays open for it.
    bool m_committing = false;
    // Counts setActiveCell calls, so that a move finds out whether its leavingCell handler
    // placed the cursor itself.
    quint64 m_placements = 0;
    std::optional<Cell> m_pressedCell;
    QHash<int, double> m_colUnits;
};

} // namespace sheet
