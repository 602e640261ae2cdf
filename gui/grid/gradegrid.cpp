#include "gui/grid/gradegrid.h"

#include "core/sheet/gradesheet.h"
#include "gui/grid/frozencolumns.h"
#include "gui/grid/griddelegate.h"
#include "gui/grid/gridkeys.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

// One width unit is 90 twips; 15 twips make a pixel at 96 dpi.
constexpr double kPixelsPerWidthUnit = 6.0;
constexpr double kDefaultColumnUnits = 12.0;
constexpr int kDefaultRowHeight = 22;

int unitsToPixels(double units)
{
    return qMax(0, qRound(units * kPixelsPerWidthUnit));
}

// The active cell is framed by the delegate; a selection fill would hide the colour the
// cell rules give it.
void hideSelectionFill(QWidget* view)
{
    QPalette look = view->palette();
    look.setColor(QPalette::Highlight, Qt::transparent);
    view->setPalette(look);
}

} // namespace

GradeGrid::GradeGrid(GradeSheet& sheet, QWidget* parent) : QTableView(parent), m_sheet(sheet)
{
    setModel(&m_sheet);
    connect(&m_sheet, &GradeSheet::cellChanged, this, &GradeGrid::sheetChanged);
    connect(&m_sheet, &QAbstractItemModel::modelReset, this, [this] {
        m_editor = nullptr;
        keepCursorOnCells();
        m_frozen->refresh();
    });
    // The columns stand in increasing order from left to right even inside a window that
    // reads right to left; the cells' texts keep their own reading direction.
    setLayoutDirection(Qt::LeftToRight);
    setUpHeaders();
    m_delegate = new GridDelegate(
        this, [this](QObject* editor, QEvent* event) { return editorEvent(editor, event); });
    setItemDelegate(m_delegate);
    // The grid opens its editor itself: typing overwrites, a double click is the window's.
    setEditTriggers(NoEditTriggers);
    // One item at a time: Qt then ignores header presses, which would otherwise select a
    // whole column or row behind the input handler's back.
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(true);
    setCornerButtonEnabled(false);
    // A column at a time: the left edge never cuts a grade.
    setHorizontalScrollMode(ScrollPerItem);
    setWordWrap(false);
    hideSelectionFill(this);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setUpFrozenColumns();
}

GradeGrid::~GradeGrid()
{
    m_delegate->dropHandler();
}

void GradeGrid::setUpHeaders()
{
    setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
    setVerticalHeader(new GridHeader(Qt::Vertical, this));
    // Qt's minimum section size follows the font's widest glyph (83 pixels for an Arabic
    // font): narrow columns such as the order number would be refused.
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(unitsToPixels(kDefaultColumnUnits));
    // As designed, or as tall as a larger font needs.
    verticalHeader()->setDefaultSectionSize(qMax(kDefaultRowHeight, fontMetrics().height() + 4));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { emit cellClickedAt(column + 1, 0); });
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int column) { emit cellDoubleClickedAt(column + 1, 0); });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int row) { emit cellClickedAt(0, row + 1); });
    connect(verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int row) { emit cellDoubleClickedAt(0, row + 1); });
}

void GradeGrid::setUpFrozenColumns()
{
    m_frozen = new FrozenColumns(*this);
    connect(m_frozen, &FrozenColumns::cellPressed, this, &GradeGrid::pressCell);
    connect(m_frozen, &FrozenColumns::cellReleased, this, &GradeGrid::releaseCell);
    connect(m_frozen, &FrozenColumns::cellDoubleClicked, this, &GradeGrid::doubleClickCell);
    connect(m_frozen, &FrozenColumns::headerClicked, this,
            [this](int column) { emit cellClickedAt(column + 1, 0); });
    connect(m_frozen, &FrozenColumns::headerDoubleClicked, this,
            [this](int column) { emit cellDoubleClickedAt(column + 1, 0); });
}

// ---- Size and addressing ----

int GradeGrid::maxCols() const
{
    return m_sheet.columns();
}

int GradeGrid::maxRows() const
{
    return m_sheet.pupilCount();
}

bool GradeGrid::contains(Cell cell) const
{
    return cell.column >= 0 && cell.row >= 0 && cell.column <= maxCols() && cell.row <= maxRows();
}

// A cell proper, neither header.
bool GradeGrid::isCell(Cell cell) const
{
    return contains(cell) && cell.column >= 1 && cell.row >= 1;
}

QModelIndex GradeGrid::indexOf(Cell cell) const
{
    return m_sheet.indexOf(cell);
}

// While a cell is being edited its text is the editor's: the cell rules read it as the
// teacher types.
QString GradeGrid::text(Cell cell) const
{
    if (isEditing() && m_editCell == cell)
        return m_editor->text();
    return m_sheet.text(cell);
}

// The program's text replaces whatever was being typed into the cell.
void GradeGrid::sheetChanged(Cell cell)
{
    if (isEditing() && m_editCell == cell && !m_committing)
        cancelEditor();
}

// ---- The cursor ----

Cell GradeGrid::activeCell() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? GradeSheet::cellOf(current) : Cell{};
}

// A sheet without pupils has no cell to put the cursor on: nothing happens.
void GradeGrid::setActiveCell(Cell cell)
{
    if (!isCell(cell))
        return;
    commitEditor();
    ++m_placements;
    placeCursor(cell);
}

void GradeGrid::placeCursor(Cell cell)
{
    selectionModel()->setCurrentIndex(indexOf(cell), QItemSelectionModel::ClearAndSelect);
}

// After the size changes the cursor stays on a cell that exists, (1, 1) by default.
void GradeGrid::keepCursorOnCells()
{
    if (!currentIndex().isValid() && maxRows() > 0 && maxCols() > 0)
        placeCursor({1, 1});
}

// A move asked for by the user: the editor commits, the input handler may refuse it, and a
// handler that places the cursor itself (setActiveCell) has the last word.
void GradeGrid::leaveTo(Cell target)
{
    commitEditor();
    const Cell from = activeCell();
    target = clampedToCells(target);
    if (target == from || !isCell(target))
        return;
    const quint64 placements = m_placements;
    const bool cancel =
        m_input && !m_input->leavingCell(from, target);
    if (m_placements != placements)
        return;
    placeCursor(cancel ? from : target);
}

// Moves never end on a header or in a hidden column.
Cell GradeGrid::clampedToCells(Cell cell) const
{
    cell.row = qBound(1, cell.row, qMax(1, maxRows()));
    if (cell.column < 1 || cell.column > maxCols() || isSheetColumnHidden(cell.column))
        cell.column = shownColumnFrom(0, +1);
    return cell;
}

// The next shown column after col in the direction step, or col when there is none.
int GradeGrid::shownColumnFrom(int col, int step) const
{
    for (int next = col + step; next >= 1 && next <= maxCols(); next += step) {
        if (!isSheetColumnHidden(next))
            return next;
    }
    return col;
}

std::optional<Cell> GradeGrid::navigationTarget(const QKeyEvent& event) const
{
    const Cell from = activeCell();
    const bool control = event.modifiers().testFlag(Qt::ControlModifier);
    switch (event.key()) {
    case Qt::Key_Left:
        return Cell{shownColumnFrom(from.column, -1), from.row};
    case Qt::Key_Right:
        return Cell{shownColumnFrom(from.column, +1), from.row};
    case Qt::Key_Up:
        return Cell{from.column, from.row - 1};
    case Qt::Key_Down:
        return Cell{from.column, from.row + 1};
    case Qt::Key_PageUp:
        return Cell{from.column, from.row - pageRows()};
    case Qt::Key_PageDown:
        return Cell{from.column, from.row + pageRows()};
    case Qt::Key_Home:
        return Cell{shownColumnFrom(0, +1), control ? 1 : from.row};
    case Qt::Key_End:
        return Cell{shownColumnFrom(maxCols() + 1, -1), control ? maxRows() : from.row};
    case Qt::Key_Tab:
        return tabTarget(from, event.modifiers().testFlag(Qt::ShiftModifier) ? -1 : +1);
    case Qt::Key_Backtab:
        return tabTarget(from, -1);
    default:
        return std::nullopt;
    }
}

// Tab goes on to the next shown column, and past the last one to the next row.
Cell GradeGrid::tabTarget(Cell from, int step) const
{
    const int next = shownColumnFrom(from.column, step);
    if (next != from.column)
        return {next, from.row};
    const int row = from.row + step;
    if (row < 1 || row > maxRows())
        return from;
    return {shownColumnFrom(step > 0 ? 0 : maxCols() + 1, step), row};
}

int GradeGrid::pageRows() const
{
    const int height = qMax(1, rowHeight(qMax(0, activeCell().row - 1)));
    return qMax(1, viewport()->height() / height - 1);
}

// Enter goes one row down; at the last row it stays.
Cell GradeGrid::enterTarget() const
{
    const Cell from = activeCell();
    return {from.column, qMin(from.row + 1, maxRows())};
}

void GradeGrid::beep()
{
    QApplication::beep();
}

void GradeGrid::queueEnter()
{
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                    Qt::NoModifier, QStringLiteral("\r")));
}

// ---- Keys ----

bool GradeGrid::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plainTab = (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                              !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        // Qt would move the focus out of the grid before keyPressEvent sees the Tab.
        if (plainTab) {
            keyPressEvent(key);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (keys::isEnterKey(key->key()) || key->matches(QKeySequence::Paste)) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
}

void GradeGrid::keyPressEvent(QKeyEvent* event)
{
    event->setAccepted(handleKey(event, false));
}

// Every key of the grid and of its editor comes here; returns whether it was used up.
// The editor gets only its own editing keys (Delete, Ctrl+A ...): a key it ignored would
// climb back to the grid and reach the input handler twice. Without an editor the grid keeps every
// key but Escape, so that a dialog's Enter never reaches its default button.
bool GradeGrid::handleKey(QKeyEvent* event, bool inEditor)
{
    if (!raiseKeyDown(*event))
        return true;
    const int key = event->key();
    if (keys::isEnterKey(key)) {
        pressEnter();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        if (isEditing())
            pasteText(QGuiApplication::clipboard()->text());
        else
            emit pasteRequested();
        return true;
    }
    if (key == Qt::Key_Escape) {
        if (!isEditing())
            return false;
        cancelEditor();
        return true;
    }
    if (const std::optional<Cell> target = navigationTarget(*event)) {
        leaveTo(*target);
        return true;
    }
    if (key == Qt::Key_Backspace) {
        offerCharacter(U'\b');
        return true;
    }
    const bool control = event->modifiers().testFlag(Qt::ControlModifier) &&
                         !event->modifiers().testFlag(Qt::AltModifier);
    if (!control && !event->text().isEmpty() &&
        keys::withoutControlCharacters(event->text()) == event->text()) {
        typeText(event->text());
        return true;
    }
    if (!isEditing() && event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(activeText());
        return true;
    }
    return !(inEditor && isEditorKey(*event));
}

bool GradeGrid::isEditorKey(const QKeyEvent& event)
{
    const int key = event.key();
    return key == Qt::Key_Delete || key == Qt::Key_Insert ||
           event.modifiers().testFlag(Qt::ControlModifier);
}

bool GradeGrid::isActionKey(const QKeyEvent& event) const
{
    const QKeySequence typed(event.keyCombination());
    const QList<QAction*> gridActions = actions();
    return std::any_of(gridActions.cbegin(), gridActions.cend(), [&typed](const QAction* action) {
        const QList<QKeySequence> shortcuts = action->shortcuts();
        return action->isEnabled() &&
               std::any_of(shortcuts.cbegin(), shortcuts.cend(), [&typed](const QKeySequence& key) {
                   return key.matches(typed) == QKeySequence::ExactMatch;
               });
    });
}

bool GradeGrid::raiseKeyDown(const QKeyEvent& event)
{
    return !m_input || !m_input->keyDown(Qt::Key(event.key()), event.modifiers());
}

// As Windows does: the key goes down and the grid moves, then the character comes.
void GradeGrid::pressEnter()
{
    leaveTo(enterTarget());
    offerCharacter(U'\r');
}

void GradeGrid::typeText(const QString& text)
{
    for (const char32_t character : text.toUcs4()) {
        if (!keys::isControlCharacter(character))
            offerCharacter(character);
    }
}

// A paste into a cell that is not being edited replaces its text at once. A spreadsheet's
// decimal comma is a point; a text with a character the cell refuses goes in not at all, rather
// than as another number.
void GradeGrid::pasteText(const QString& text)
{
    const bool wasEditing = isEditing();
    const QString before = wasEditing ? m_editor->text() : QString();
    bool whole = true;
    for (const char32_t character : keys::withoutControlCharacters(text).trimmed().toUcs4())
        whole = offerCharacter(character == U',' ? U'.' : character) && whole;
    if (whole && !wasEditing)
        commitEditor();
    if (whole)
        return;
    beep();
    if (wasEditing && m_editor)
        m_editor->setText(before);
    else
        cancelEditor();
}

// The input handler decides on each character; what it lets through goes into the cell,
// except control characters, which never do. False when the character was refused.
bool GradeGrid::offerCharacter(char32_t typed)
{
    if (!activeCellTakesText())
        return false;
    // The Arabic keyboard's digits and decimal separator stand for the plain ones the
    // grade file holds.
    char32_t character = plainCharacter(typed);
    if (m_input && !m_input->characterTyped(character))
        return false;
    if (character == U'\b')
        eraseBackward();
    else if (!keys::isControlCharacter(character) && activeCellTakesText())
        insertText(QString::fromUcs4(&character, 1));
    return true;
}

// A locked cell and a header take no text: the handler is not asked about it.
bool GradeGrid::activeCellTakesText() const
{
    const Cell cell = activeCell();
    return isCell(cell) && !m_sheet.isLocked(cell) && !m_frozen->covers(cell.column - 1);
}

// The first character typed on a cell replaces its text.
void GradeGrid::insertText(const QString& text)
{
    if (isEditing())
        m_editor->insert(text);
    else
        openEditor(text);
}

// Backspace on a cell not being edited empties it, as typing over it would.
void GradeGrid::eraseBackward()
{
    if (isEditing())
        m_editor->backspace();
    else
        openEditor(QString());
}

void GradeGrid::inputMethodEvent(QInputMethodEvent* event)
{
    typeText(event->commitString());
    event->accept();
}

// ---- The editor ----

bool GradeGrid::isEditing() const
{
    return !m_editor.isNull();
}

QString GradeGrid::activeText() const
{
    const Cell cell = activeCell();
    return text(cell);
}

void GradeGrid::openEditor(const QString& text)
{
    const Cell cell = activeCell();
    const QModelIndex index = indexOf(cell);
    scrollTo(index);
    edit(index);
    m_editor = qobject_cast<QLineEdit*>(indexWidget(index));
    if (!m_editor)
        return;
    m_editCell = cell;
    m_editor->setText(text);
}

void GradeGrid::commitEditor()
{
    QLineEdit* editor = m_editor;
    if (!editor)
        return;
    commitData(editor);
    // The sheet's setData may have written the cell, which closes the editor already.
    if (m_editor == editor)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void GradeGrid::cancelEditor()
{
    if (m_editor)
        closeEditor(m_editor, QAbstractItemDelegate::RevertModelCache);
}

// Every way the editor commits comes here, its losing the focus included.
void GradeGrid::commitData(QWidget* editor)
{
    if (!m_editor || editor != m_editor)
        return;
    if (keys::withoutControlCharacters(m_editor->text()) == m_sheet.text(m_editCell))
        return;
    m_committing = true;
    QTableView::commitData(editor);
    m_committing = false;
}

// Qt's hints would move the cursor without asking the input handler: the grid moves it itself.
void GradeGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor)
        m_editor = nullptr;
    const bool revert = hint == QAbstractItemDelegate::RevertModelCache;
    QTableView::closeEditor(editor, revert ? hint : QAbstractItemDelegate::NoHint);
}

bool GradeGrid::editorEvent(QObject* editor, QEvent* event)
{
    if (editor != m_editor)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The editor would keep its own undo and redo keys: the grid's actions have them.
        return isActionKey(*static_cast<QKeyEvent*>(event));
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent*>(event), true);
    case QEvent::InputMethod:
        editorInputMethod(static_cast<QInputMethodEvent*>(event));
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // The middle button would paste the selection behind the input handler's back.
        if (mouse->button() == Qt::MiddleButton)
            return true;
        if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
            emit cellClickedAt(m_editCell.column, m_editCell.row);
        return false;
    }
    case QEvent::MouseButtonDblClick:
        emit cellDoubleClickedAt(m_editCell.column, m_editCell.row);
        return false;
    default:
        return false;
    }
}

// A composed character goes to the input handler like a typed one; the composition under way
// is left to the editor to show.
void GradeGrid::editorInputMethod(QInputMethodEvent* event)
{
    typeText(event->commitString());
    if (m_editor && !event->preeditString().isEmpty()) {
        QInputMethodEvent composing(event->preeditString(), event->attributes());
        QCoreApplication::sendEvent(m_editor, &composing);
    }
}

// ---- The mouse ----

// A right click moves the cursor as a left one does, before its menu opens: the menu's paste
// then starts from the cell the teacher pointed at. It gives no click.
void GradeGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        pressCell(indexAt(event->position().toPoint()));
}

void GradeGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        releaseCell(indexAt(event->position().toPoint()));
}

void GradeGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        doubleClickCell(indexAt(event->position().toPoint()));
}

// Dragging selects nothing: the grid has one active cell and no range.
void GradeGrid::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void GradeGrid::pressCell(const QModelIndex& index)
{
    m_pressedCell.reset();
    if (!index.isValid())
        return;
    leaveTo(GradeSheet::cellOf(index));
    m_pressedCell = GradeSheet::cellOf(index);
}

// Click comes when the button is released on the cell it was pressed on, after the move
// or the cancelled move.
void GradeGrid::releaseCell(const QModelIndex& index)
{
    const std::optional<Cell> pressed = m_pressedCell;
    m_pressedCell.reset();
    if (pressed && index.isValid() && GradeSheet::cellOf(index) == *pressed)
        emit cellClickedAt(pressed->column, pressed->row);
}

// The window answers a double click with its own dialog: no editor opens.
void GradeGrid::doubleClickCell(const QModelIndex& index)
{
    m_pressedCell.reset();
    if (!index.isValid())
        return;
    const Cell cell = GradeSheet::cellOf(index);
    leaveTo(cell);
    emit cellDoubleClickedAt(cell.column, cell.row);
}

// ---- Dropped text ----

void GradeGrid::dragEnterEvent(QDragEnterEvent* event)
{
    event->setAccepted(event->mimeData()->hasText());
}

void GradeGrid::dragMoveEvent(QDragMoveEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const Cell cell = GradeSheet::cellOf(index);
    const bool takes =
        event->mimeData()->hasText() && index.isValid() && !m_sheet.isLocked(cell);
    if (!takes) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

// Text dropped on a cell is typed into it as a paste; the cursor first moves there, and
// a cancelled move refuses the drop.
void GradeGrid::dropEvent(QDropEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    const Cell target = GradeSheet::cellOf(index);
    if (!(isEditing() && m_editCell == target)) {
        leaveTo(target);
        if (activeCell() != target) {
            event->ignore();
            return;
        }
    }
    pasteText(event->mimeData()->text());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

// ---- Columns and rows ----

void GradeGrid::setSheetColumnHidden(int col, bool hidden)
{
    if (col == 0)
        verticalHeader()->setVisible(!hidden);
    else if (col <= maxCols())
        setColumnHidden(col - 1, hidden);
    m_frozen->refresh();
}

bool GradeGrid::isSheetColumnHidden(int col) const
{
    if (col == 0)
        return verticalHeader()->isHidden();
    return col <= maxCols() && isColumnHidden(col - 1);
}

void GradeGrid::setSheetColumnUnits(int col, double units)
{
    if (col < 0 || col > maxCols())
        return;
    m_colUnits.insert(col, units);
    if (col == 0)
        verticalHeader()->setFixedWidth(unitsToPixels(units));
    else
        setColumnWidth(col - 1, unitsToPixels(units));
}

// The width as it was set, unless it was changed since (by the user's mouse).
double GradeGrid::sheetColumnUnits(int col) const
{
    if (col < 0 || col > maxCols())
        return 0;
    const int pixels =
        col == 0 ? verticalHeader()->sizeHint().width() : horizontalHeader()->sectionSize(col - 1);
    const auto set = m_colUnits.constFind(col);
    if (set != m_colUnits.constEnd() && unitsToPixels(*set) == pixels)
        return *set;
    return pixels / kPixelsPerWidthUnit;
}

int GradeGrid::sheetRowHeight(int row) const
{
    if (row == 0)
        return horizontalHeader()->height();
    return row <= maxRows() ? rowHeight(row - 1) : 0;
}

namespace {

// The room a cell's frame and margins take besides its text.
constexpr int kCellPadding = 10;

// The width a header needs on at most two lines, broken at a blank.
int headerWidth(const QString& text, const QFontMetrics& metrics)
{
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    int best = metrics.horizontalAdvance(words.join(u' '));
    for (qsizetype split = 1; split < words.size(); ++split) {
        const int first = metrics.horizontalAdvance(words.mid(0, split).join(u' '));
        const int second = metrics.horizontalAdvance(words.mid(split).join(u' '));
        best = qMin(best, qMax(first, second));
    }
    return best;
}

// A class's texts share most of their words (first names, family names, grades): each word
// is measured once. Arabic letters join only within a word, and digits, points and Latin
// letters do not change shape, so a text is as wide as its words and blanks, and a word
// without Arabic as wide as its characters.
class TextWidths {
public:
    explicit TextWidths(const QFont& font) : m_metrics(font) {}
    qreal of(const QString& text)
    {
        qreal width = 0;
        for (const QStringView word : QStringView(text).split(u' '))
            width += wordWidth(word);
        return width + text.count(u' ') * characterWidth(u' ');
    }

private:
    qreal wordWidth(QStringView word)
    {
        const bool plain = std::all_of(word.begin(), word.end(),
                                       [](QChar c) { return c.unicode() < 0x0590; });
        if (!plain) {
            auto known = m_words.constFind(word.toString());
            if (known == m_words.constEnd())
                known = m_words.insert(word.toString(), m_metrics.horizontalAdvance(word.toString()));
            return *known;
        }
        qreal width = 0;
        for (const QChar c : word)
            width += characterWidth(c);
        return width;
    }
    qreal characterWidth(QChar c)
    {
        auto known = m_characters.constFind(c.unicode());
        if (known == m_characters.constEnd())
            known = m_characters.insert(c.unicode(), m_metrics.horizontalAdvance(c));
        return *known;
    }

    QFontMetricsF m_metrics;
    QHash<QString, qreal> m_words;
    QHash<char16_t, qreal> m_characters;
};

} // namespace

void GradeGrid::fitColumnsToTexts()
{
    QFont bold = font();
    bold.setBold(true); // the active cell's header is drawn bold, and so are validated names
    const QFontMetrics boldMetrics(bold);
    for (int col = 1; col <= maxCols(); ++col) {
        if (isSheetColumnHidden(col))
            continue;
        int needed = headerWidth(m_sheet.text({col, 0}), boldMetrics);
        TextWidths cells(col == gradefile::kNameColumn ? bold : font());
        for (int row = 1; row <= maxRows(); ++row)
            needed = qMax(needed, qCeil(cells.of(m_sheet.text({col, row}))));
        const double units = std::ceil((needed + kCellPadding) / kPixelsPerWidthUnit);
        if (units > sheetColumnUnits(col))
            setSheetColumnUnits(col, units);
    }
}

int GradeGrid::fullWidth() const
{
    // Not isVisible(): the window is fitted to its grid before it is first shown.
    int width = 2 * frameWidth() + (verticalHeader()->isHidden() ? 0 : verticalHeader()->width());
    for (int col = 1; col <= maxCols(); ++col)
        width += isSheetColumnHidden(col) ? 0 : columnWidth(col - 1);
    return width + verticalScrollBar()->sizeHint().width();
}

QSize GradeGrid::sizeHint() const
{
    return {fullWidth(), QTableView::sizeHint().height()};
}

void GradeGrid::setFrozenCols(int count)
{
    m_frozen->setCount(count);
}

void GradeGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (m_frozen)
        m_frozen->refresh();
}

// Frozen cells are always in sight; a scrolling cell is brought out whole beside them.
void GradeGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int sideways = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (!m_frozen || m_frozen->count() == 0 || !index.isValid() ||
        horizontalScrollBar()->maximum() == 0)
        return;
    if (m_frozen->covers(index.column())) {
        horizontalScrollBar()->setValue(sideways);
        return;
    }
    const int room = viewport()->width() - m_frozen->coveredWidth();
    QScrollBar* bar = horizontalScrollBar();
    while (visualRect(index).right() >= room && bar->value() < bar->maximum())
        bar->setValue(bar->value() + 1);
}

} // namespace sheet
