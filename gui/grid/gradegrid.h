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

// The spreadsheet grid every grid of the program is built on, a view of a GradeSheet.
// Widths are in grid units of 90 twips (6 pixels at 96 dpi).
// Pasted and dropped text reaches characterTyped one character at a time; control characters
// never enter a cell, whatever the handler answers. leavingCell comes after an open editor
// committed, and the commit stands when the move is refused.
// The grid keeps every key but Escape without an editor: in a dialog, Enter never reaches the
// default button. It stays left to right inside a right-to-left window (column 1 at the left).
class GradeGrid : public QTableView, public EntryCursor {
    Q_OBJECT

public:
    explicit GradeGrid(GradeSheet& sheet, QWidget* parent = nullptr);
    ~GradeGrid() override;

    GradeSheet& sheet() const { return m_sheet; }
    int maxCols() const;
    int maxRows() const;

    // While a cell is being edited its text is the editor's. A text the program writes into
    // that cell closes the editor, with no edit told.
    QString text(Cell cell) const;

    Cell activeCell() const override;
    // Never on a header.
    void setActiveCell(Cell cell) override;

    void setSheetColumnHidden(int col, bool hidden);
    bool isSheetColumnHidden(int col) const;
    void setSheetColumnUnits(int col, double units);
    double sheetColumnUnits(int col) const;
    int sheetRowHeight(int row) const;
    // The designed widths were chosen for Tahoma: a wider font standing in for it must not cut
    // an identifier or an exam's name.
    void fitColumnsToTexts();
    // Frame and scroll bar included.
    int fullWidth() const;
    QSize sizeHint() const override;

    // The last count shown columns stay at the grid's right edge; they take no typing.
    void setFrozenCols(int count);


    QString activeText() const override;
    bool isEditing() const;
    void beep() override;

    // The "{ENTER}" the mark keys send: handled after the current handler returns.
    void queueEnter() override;

    // Keeps a cell that scrolls sideways out from under the frozen columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // None lets everything through. It must outlive the grid or be removed first.
    void setInputHandler(GridInputHandler* handler) { m_input = handler; }
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
    // Tells a move whether its leavingCell handler placed the cursor itself.
    quint64 m_placements = 0;
    std::optional<Cell> m_pressedCell;
    QHash<int, double> m_colUnits;
};

} // namespace sheet
