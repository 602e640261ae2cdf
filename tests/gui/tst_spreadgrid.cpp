#include "sheet/spreadgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>

using sheet::SpreadGrid;

namespace {

struct Cell {
    int col;
    int row;
};

QString leave(Cell from, Cell to)
{
    return QStringLiteral("Leave %1 %2 %3 %4").arg(from.col).arg(from.row).arg(to.col).arg(to.row);
}

QString change(Cell cell)
{
    return QStringLiteral("Change %1 %2").arg(cell.col).arg(cell.row);
}

QString keyDownLine(int key, int modifiers = 0)
{
    return QStringLiteral("KeyDown %1 %2").arg(key).arg(modifiers);
}

// A grid as the windows hold it: in a window reading right to left, beside a button that
// Tab would otherwise reach. Everything the grid asks or tells is written to `log`; handlers
// may be set to discard (code set to 0), take a key (code set to 0), refuse a move or move.
struct Fixture : sheet::GridInputHandler {
    QWidget window;
    SpreadGrid* grid;
    QPushButton* button;
    QStringList log;
    std::function<void(int*)> onKeyPress;
    std::function<void(int*)> onKeyDown;
    std::function<void(Cell from, Cell to, bool* cancel)> onLeave;

    explicit Fixture(int cols = 6, int rows = 5)
    {
        window.setLayoutDirection(Qt::RightToLeft);
        window.resize(640, 300);
        grid = new SpreadGrid(&window);
        grid->setGeometry(10, 10, 500, 200);
        button = new QPushButton(QStringLiteral("خروج"), &window);
        button->setGeometry(520, 10, 100, 30);
        grid->setMaxCols(cols);
        grid->setMaxRows(rows);
        connectEvents();
    }

    // The grid goes first: closing it commits an open editor, whose edit is logged.
    ~Fixture() override { delete grid; }

    bool keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        // The modifier keys QTest presses before a shortcut are noise here.
        if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt)
            return false;
        int code = int(key);
        log << keyDownLine(key, modifiers);
        if (onKeyDown)
            onKeyDown(&code);
        return code == 0;
    }

    bool characterTyped(char32_t character) override
    {
        int code = int(character);
        log << QStringLiteral("KeyPress %1").arg(code);
        if (onKeyPress)
            onKeyPress(&code);
        return code != 0;
    }

    bool leavingCell(sheet::Cell from, sheet::Cell to) override
    {
        log << leave({from.column, from.row}, {to.column, to.row});
        bool cancel = false;
        if (onLeave)
            onLeave({from.column, from.row}, {to.column, to.row}, &cancel);
        return !cancel;
    }

    void connectEvents()
    {
        grid->setInputHandler(this);
        QObject::connect(grid, &SpreadGrid::cellClickedAt, grid, [this](int col, int row) {
            log << QStringLiteral("Click %1 %2").arg(col).arg(row);
        });
        QObject::connect(grid, &SpreadGrid::cellDoubleClickedAt, grid, [this](int col, int row) {
            log << QStringLiteral("DblClick %1 %2").arg(col).arg(row);
        });
        QObject::connect(grid, &SpreadGrid::cellEditedAt, grid, [this](int col, int row) {
            log << QStringLiteral("Change %1 %2").arg(col).arg(row);
        });
    }

    bool show()
    {
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        grid->setFocus();
        return grid->hasFocus();
    }

    // Keys go where the user's keys go: the editor when one is open, else the grid.
    QWidget* focused() const
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : grid;
    }

    QPoint centre(Cell cell) const
    {
        return grid->visualRect(grid->model()->index(cell.row - 1, cell.col - 1)).center();
    }

    void click(Cell cell) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(cell)); }

    void typeOver(Cell cell, const QString& text)
    {
        grid->setActiveCell(cell.col, cell.row);
        QTest::keyClicks(focused(), text);
    }

    bool isAt(Cell cell) const
    {
        return grid->activeCol() == cell.col && grid->activeRow() == cell.row;
    }
};

// The horizontal extent of the dark pixels drawn in a cell, as fractions of its width.
QPair<double, double> inkExtent(SpreadGrid* grid, Cell cell)
{
    const QRect rect = grid->visualRect(grid->model()->index(cell.row - 1, cell.col - 1));
    const QImage image = grid->viewport()->grab(rect.adjusted(3, 3, -3, -3)).toImage();
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 110) {
                first = qMin(first, x);
                last = qMax(last, x);
            }
        }
    }
    return {double(first) / image.width(), double(last) / image.width()};
}

} // namespace

Q_DECLARE_METATYPE(Cell)

class TestSpreadGrid : public QObject {
    Q_OBJECT

private slots:
    void cellsAndHeadersAreAddressedByColumnAndRow();
    void columnsStandLeftToRightInRightToLeftWindow();
    void cellTextStartsOnItsReadingSide_data();
    void cellTextStartsOnItsReadingSide();
    void activeCellIsFramedNotFilled();
    void keysMoveTheCursor_data();
    void keysMoveTheCursor();
    void cancelledMoveKeepsCursorAndSelection_data();
    void cancelledMoveKeepsCursorAndSelection();
    void clicksMoveTheCursor_data();
    void clicksMoveTheCursor();
    void handlerPlacingTheCursorDuringLeaveCellHasTheLastWord();
    void cursorParkedOnHeaderMovesDownOnEnter();
    void typingOvertypesThroughKeyPress();
    void discardedCharactersAreDropped_data();
    void discardedCharactersAreDropped();
    void backspaceGoesThroughKeyPress();
    void keyDownReportsEveryKey_data();
    void keyDownReportsEveryKey();
    void keyDownCancelStopsTheKey_data();
    void keyDownCancelStopsTheKey();
    void enterMovesInEnterActionDirection_data();
    void enterMovesInEnterActionDirection();
    void queuedEnterBehavesLikeRealEnter_data();
    void queuedEnterBehavesLikeRealEnter();
    void markWrittenOverTypingWinsAndMovesOn();
    void lockedCellsTakeNoTyping();
    void pasteGoesThroughKeyPress_data();
    void pasteGoesThroughKeyPress();
    void droppedTextGoesThroughKeyPress();
    void controlCharactersNeverEnterACell();
    void doubleClickOpensNoEditor();
    void changeFiresOnlyForUserEdits_data();
    void changeFiresOnlyForUserEdits();
    void enterInDialogNeverReachesDefaultButton_data();
    void enterInDialogNeverReachesDefaultButton();
    void frozenColumnsStayInPlaceWhenScrolledSideways();
    void widthsAndHiddenColumns();
};

void TestSpreadGrid::cellsAndHeadersAreAddressedByColumnAndRow()
{
    Fixture f(4, 3);
    QCOMPARE(f.grid->maxCols(), 4);
    QCOMPARE(f.grid->maxRows(), 3);
    f.grid->setText(2, 0, QStringLiteral("فرض 1"));
    f.grid->setText(0, 3, QStringLiteral("ب"));
    f.grid->setText(4, 1, QStringLiteral("12.50"));
    QCOMPARE(f.grid->horizontalHeaderItem(1)->text(), QStringLiteral("فرض 1"));
    QCOMPARE(f.grid->verticalHeaderItem(2)->text(), QStringLiteral("ب"));
    QCOMPARE(f.grid->item(0, 3)->text(), QStringLiteral("12.50"));
    QCOMPARE(f.grid->text(2, 0), QStringLiteral("فرض 1"));
    QCOMPARE(f.grid->text(0, 3), QStringLiteral("ب"));
    QCOMPARE(f.grid->text(4, 1), QStringLiteral("12.50"));
    // No text is not the row number Qt shows in an empty row header.
    QCOMPARE(f.grid->text(0, 1), QString());
    f.grid->setText(5, 1, QStringLiteral("outside"));
    QCOMPARE(f.grid->text(5, 1), QString());

    QCOMPARE(f.grid->lastRowWithData(), 3);
    f.grid->setText(0, 3, QString());
    QCOMPARE(f.grid->lastRowWithData(), 1);
    f.grid->setText(4, 1, QString());
    QCOMPARE(f.grid->lastRowWithData(), 0);
    QVERIFY(f.log.isEmpty());
}

void TestSpreadGrid::columnsStandLeftToRightInRightToLeftWindow()
{
    Fixture f;
    QVERIFY(f.show());
    QCOMPARE(f.window.layoutDirection(), Qt::RightToLeft);
    QVERIFY(f.grid->columnViewportPosition(0) < f.grid->columnViewportPosition(1));
    f.grid->setActiveCell(2, 1);
    QTest::keyClick(f.grid, Qt::Key_Right);
    QVERIFY(f.isAt({3, 1}));
}

void TestSpreadGrid::cellTextStartsOnItsReadingSide_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment"); // 0: none set
    QTest::addColumn<bool>("onTheRight");

    QTest::newRow("Arabic name") << QStringLiteral("محمد بن علي") << 0 << true;
    QTest::newRow("absence mark") << QStringLiteral("غ.ش.") << 0 << true;
    QTest::newRow("grade") << QStringLiteral("12.50") << 0 << false;
    QTest::newRow("Latin name") << QStringLiteral("Ahmed") << 0 << false;
    QTest::newRow("Arabic set left") << QStringLiteral("محمد") << int(Qt::AlignLeft) << false;
    QTest::newRow("grade set right") << QStringLiteral("07.00") << int(Qt::AlignRight) << true;
}

void TestSpreadGrid::cellTextStartsOnItsReadingSide()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(bool, onTheRight);
    Fixture f;
    f.grid->setColWidth(2, 30);
    f.grid->setText(2, 2, text);
    if (alignment)
        f.grid->setCellAlignment(2, 2, Qt::Alignment(alignment));
    QVERIFY(f.show());
    const auto [first, last] = inkExtent(f.grid, {2, 2});
    QVERIFY2(last >= 0, "nothing drawn");
    if (onTheRight)
        QVERIFY2(first > 0.5 && last > 0.9, qPrintable(QString::number(first)));
    else
        QVERIFY2(first < 0.1 && last < 0.5, qPrintable(QString::number(last)));
}

// The cursor is a frame: a coloured cell keeps its colour and its text stays legible.
void TestSpreadGrid::activeCellIsFramedNotFilled()
{
    Fixture f;
    f.grid->setColWidth(2, 20);
    f.grid->setText(2, 2, QStringLiteral("12.50"));
    f.grid->setCellBackColor(2, 2, QColor(255, 255, 0));
    f.grid->setText(3, 2, QStringLiteral("07.00"));
    QVERIFY(f.show());
    for (const QColor& background : {QColor(255, 255, 0), QColor(Qt::white)}) {
        const Cell cell{background == Qt::white ? 3 : 2, 2};
        f.grid->setActiveCell(cell.col, cell.row);
        const QRect rect = f.grid->visualRect(f.grid->currentIndex());
        const QImage image = f.grid->viewport()->grab(rect).toImage();
        QCOMPARE(image.pixelColor(image.width() - 8, image.height() / 2), background);
        QVERIFY(qGray(image.pixel(1, image.height() / 2)) < 80); // the frame
        const auto [first, last] = inkExtent(f.grid, cell);
        QVERIFY2(last >= 0, "the active cell's text cannot be seen");
    }
}

void TestSpreadGrid::keysMoveTheCursor_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::addColumn<Cell>("from");
    QTest::addColumn<Cell>("to"); // `from` again: no move, no LeaveCell

    // Column 3 is hidden.
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("right skips hidden")
        << int(Qt::Key_Right) << none << 39 << Cell{2, 2} << Cell{4, 2};
    QTest::newRow("left skips hidden")
        << int(Qt::Key_Left) << none << 37 << Cell{4, 2} << Cell{2, 2};
    QTest::newRow("up") << int(Qt::Key_Up) << none << 38 << Cell{2, 2} << Cell{2, 1};
    QTest::newRow("down") << int(Qt::Key_Down) << none << 40 << Cell{2, 2} << Cell{2, 3};
    QTest::newRow("tab") << int(Qt::Key_Tab) << none << 9 << Cell{2, 2} << Cell{4, 2};
    QTest::newRow("tab wraps") << int(Qt::Key_Tab) << none << 9 << Cell{6, 2} << Cell{1, 3};
    QTest::newRow("backtab wraps")
        << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 9 << Cell{1, 3} << Cell{6, 2};
    QTest::newRow("shift tab") << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << 9 << Cell{4, 2}
                               << Cell{2, 2};
    QTest::newRow("home") << int(Qt::Key_Home) << none << 36 << Cell{5, 2} << Cell{1, 2};
    QTest::newRow("end") << int(Qt::Key_End) << none << 35 << Cell{1, 2} << Cell{6, 2};
    QTest::newRow("ctrl home") << int(Qt::Key_Home) << ctrl << 36 << Cell{5, 4} << Cell{1, 1};
    QTest::newRow("ctrl end") << int(Qt::Key_End) << ctrl << 35 << Cell{1, 1} << Cell{6, 5};
    QTest::newRow("page down") << int(Qt::Key_PageDown) << none << 34 << Cell{2, 1} << Cell{2, 5};
    QTest::newRow("page up") << int(Qt::Key_PageUp) << none << 33 << Cell{2, 5} << Cell{2, 1};
    QTest::newRow("up at top") << int(Qt::Key_Up) << none << 38 << Cell{2, 1} << Cell{2, 1};
    QTest::newRow("down at bottom") << int(Qt::Key_Down) << none << 40 << Cell{2, 5} << Cell{2, 5};
    QTest::newRow("left at column 1")
        << int(Qt::Key_Left) << none << 37 << Cell{1, 2} << Cell{1, 2};
    QTest::newRow("right at last") << int(Qt::Key_Right) << none << 39 << Cell{6, 2} << Cell{6, 2};
}

// Each move is tried without an editor and with one: the editor commits first.
void TestSpreadGrid::keysMoveTheCursor()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(Cell, from);
    QFETCH(Cell, to);
    for (const bool editing : {false, true}) {
        Fixture f;
        f.grid->setColumnHiddenAt(3, true);
        QVERIFY(f.show());
        QStringList expected;
        if (editing) {
            f.typeOver(from, QStringLiteral("7"));
            QVERIFY(f.grid->isEditing());
            f.log.clear();
        } else {
            f.grid->setActiveCell(from.col, from.row);
        }
        expected << keyDownLine(key, modifiers);
        if (editing)
            expected << change(from);
        if (to.col != from.col || to.row != from.row)
            expected << leave(from, to);
        QTest::keyClick(f.focused(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f.log, expected);
        QVERIFY(f.isAt(to));
        QVERIFY(!f.grid->isEditing());
        QCOMPARE(f.grid->text(from.col, from.row), editing ? QStringLiteral("7") : QString());
        QVERIFY2(f.grid->hasFocus(), "Tab or a move took the focus out of the grid");
    }
}

void TestSpreadGrid::cancelledMoveKeepsCursorAndSelection_data()
{
    QTest::addColumn<QString>("by");
    QTest::addColumn<bool>("editing");
    for (const bool editing : {false, true}) {
        const char* suffix = editing ? " while editing" : "";
        for (const char* by : {"right", "down", "tab", "enter", "click"})
            QTest::addRow("%s%s", by, suffix) << QString::fromLatin1(by) << editing;
    }
}

void TestSpreadGrid::cancelledMoveKeepsCursorAndSelection()
{
    QFETCH(QString, by);
    QFETCH(bool, editing);
    Fixture f;
    QVERIFY(f.show());
    f.onLeave = [](Cell, Cell, bool* cancel) { *cancel = true; };
    const Cell from{3, 3};
    f.grid->setActiveCell(from.col, from.row);
    if (editing)
        QTest::keyClicks(f.focused(), QStringLiteral("25"));
    if (by == QLatin1String("click"))
        f.click({5, 4});
    else if (by == QLatin1String("right"))
        QTest::keyClick(f.focused(), Qt::Key_Right);
    else if (by == QLatin1String("down"))
        QTest::keyClick(f.focused(), Qt::Key_Down);
    else if (by == QLatin1String("tab"))
        QTest::keyClick(f.focused(), Qt::Key_Tab);
    else
        QTest::keyClick(f.focused(), Qt::Key_Return);

    QVERIFY(f.log.filter(QStringLiteral("Leave 3 3")).size() == 1);
    QVERIFY(f.isAt(from));
    const QModelIndex old = f.grid->model()->index(from.row - 1, from.col - 1);
    QCOMPARE(f.grid->currentIndex(), old);
    QCOMPARE(f.grid->selectionModel()->selectedIndexes(), QModelIndexList{old});
    QCOMPARE(f.grid->text(from.col, from.row), editing ? QStringLiteral("25") : QString());
    QCOMPARE(f.log.contains(change(from)), editing);
    if (by == QLatin1String("click"))
        QCOMPARE(f.log.last(), QStringLiteral("Click 5 4"));
}

void TestSpreadGrid::clicksMoveTheCursor_data()
{
    QTest::addColumn<bool>("editing");
    QTest::newRow("no editor") << false;
    QTest::newRow("editor open") << true;
}

void TestSpreadGrid::clicksMoveTheCursor()
{
    QFETCH(bool, editing);
    Fixture f;
    QVERIFY(f.show());
    f.grid->setActiveCell(1, 1);
    if (editing)
        QTest::keyClicks(f.focused(), QStringLiteral("9"));
    f.log.clear();
    f.click({4, 3});
    QStringList expected{leave({1, 1}, {4, 3}), QStringLiteral("Click 4 3")};
    if (editing)
        expected.prepend(change({1, 1}));
    QCOMPARE(f.log, expected);
    QVERIFY(f.isAt({4, 3}));

    f.log.clear();
    f.click({4, 3});
    QCOMPARE(f.log, QStringList{QStringLiteral("Click 4 3")});

    // Headers are clicked without moving the cursor.
    f.log.clear();
    QHeaderView* top = f.grid->horizontalHeader();
    QTest::mouseClick(top->viewport(), Qt::LeftButton, {},
                      QPoint(top->sectionViewportPosition(1) + 5, top->height() / 2));
    QHeaderView* side = f.grid->verticalHeader();
    QTest::mouseClick(side->viewport(), Qt::LeftButton, {},
                      QPoint(side->width() / 2, side->sectionViewportPosition(2) + 5));
    QCOMPARE(f.log, (QStringList{QStringLiteral("Click 2 0"), QStringLiteral("Click 0 3")}));
    QVERIFY(f.isAt({4, 3}));
    QCOMPARE(f.grid->selectionModel()->selectedIndexes().size(), 1);
}

// The grade rules' click rule and Enter wrap place the cursor from inside LeaveCell.
void TestSpreadGrid::handlerPlacingTheCursorDuringLeaveCellHasTheLastWord()
{
    Fixture f;
    QVERIFY(f.show());
    f.onLeave = [&f](Cell, Cell to, bool* cancel) {
        if (to.col > 4)
            f.grid->setActiveCell(4, to.row);
        if (to.row == 5)
            *cancel = true;
    };
    f.grid->setActiveCell(1, 1);
    f.click({6, 2});
    QVERIFY(f.isAt({4, 2}));
    f.click({6, 5});
    QVERIFY(f.isAt({4, 5}));
    // setActiveCell itself raises no LeaveCell.
    QCOMPARE(f.log.filter(QStringLiteral("Leave")).size(), 2);
}

void TestSpreadGrid::cursorParkedOnHeaderMovesDownOnEnter()
{
    Fixture f;
    QVERIFY(f.show());
    f.grid->setActiveCell(5, 0);
    QCOMPARE(f.grid->activeRow(), 0);
    f.button->setFocus();
    f.grid->setFocus();
    QCOMPARE(f.grid->activeRow(), 0);
    QTest::keyClick(f.grid, Qt::Key_7);
    QVERIFY(!f.grid->isEditing());
    QTest::keyClick(f.grid, Qt::Key_Return);
    QCOMPARE(f.log, (QStringList{keyDownLine(Qt::Key_7), keyDownLine(Qt::Key_Return),
                                 leave({5, 0}, {5, 1}), QStringLiteral("KeyPress 13")}));
    QVERIFY(f.isAt({5, 1}));
}

void TestSpreadGrid::typingOvertypesThroughKeyPress()
{
    QStringList seen;
    Fixture f;
    f.grid->setText(2, 2, QStringLiteral("--.--"));
    QVERIFY(f.show());
    f.onKeyPress = [&](int*) { seen << f.grid->activeText(); };
    f.typeOver({2, 2}, QStringLiteral("12.5"));
    QVERIFY(f.grid->isEditing());
    QCOMPARE(f.grid->activeText(), QStringLiteral("12.5"));
    QCOMPARE(f.grid->text(2, 2), QStringLiteral("12.5"));
    QCOMPARE(f.grid->item(1, 1)->text(), QStringLiteral("--.--"));
    // The first character sees the old text, the later ones the text being typed.
    QCOMPARE(seen, (QStringList{QStringLiteral("--.--"), QStringLiteral("1"), QStringLiteral("12"),
                                QStringLiteral("12.")}));
    QCOMPARE(f.log, (QStringList{keyDownLine(Qt::Key_1), QStringLiteral("KeyPress 49"),
                                 keyDownLine(Qt::Key_2), QStringLiteral("KeyPress 50"),
                                 keyDownLine(Qt::Key_Period), QStringLiteral("KeyPress 46"),
                                 keyDownLine(Qt::Key_5), QStringLiteral("KeyPress 53")}));
}

void TestSpreadGrid::discardedCharactersAreDropped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("editorOpen");
    QTest::addColumn<QString>("result");

    // The handler keeps digits and one "." in a cell that has text, as the grade rules do.
    QTest::newRow("first character discarded")
        << QStringLiteral("a") << false << QStringLiteral("--.--");
    QTest::newRow("first dot on a dotted cell")
        << QStringLiteral(".") << false << QStringLiteral("--.--");
    QTest::newRow("second dot") << QStringLiteral("1.2.5") << true << QStringLiteral("1.25");
    QTest::newRow("letters between digits")
        << QStringLiteral("1x-2") << true << QStringLiteral("12");
}

void TestSpreadGrid::discardedCharactersAreDropped()
{
    QFETCH(QString, typed);
    QFETCH(bool, editorOpen);
    QFETCH(QString, result);
    Fixture f;
    f.grid->setText(3, 2, QStringLiteral("--.--"));
    QVERIFY(f.show());
    f.onKeyPress = [&f](int* code) {
        const bool digit = *code >= '0' && *code <= '9';
        const QString text = f.grid->activeText();
        const bool dot = *code == '.' && !text.isEmpty() && !text.contains(QLatin1Char('.'));
        if (!digit && !(dot && f.grid->isEditing()))
            *code = 0;
    };
    f.typeOver({3, 2}, typed);
    QCOMPARE(f.grid->isEditing(), editorOpen);
    QCOMPARE(f.grid->text(3, 2), result);
}

void TestSpreadGrid::backspaceGoesThroughKeyPress()
{
    bool discard = false;
    Fixture f;
    f.grid->setText(2, 1, QStringLiteral("45"));
    QVERIFY(f.show());
    f.onKeyPress = [&discard](int* code) {
        if (discard)
            *code = 0;
    };
    f.typeOver({1, 1}, QStringLiteral("123"));
    QTest::keyClick(f.focused(), Qt::Key_Backspace);
    QCOMPARE(f.grid->text(1, 1), QStringLiteral("12"));
    QCOMPARE(f.log.mid(f.log.size() - 2),
             (QStringList{keyDownLine(Qt::Key_Backspace), QStringLiteral("KeyPress 8")}));
    discard = true;
    QTest::keyClick(f.focused(), Qt::Key_Backspace);
    QCOMPARE(f.grid->text(1, 1), QStringLiteral("12"));

    // On a cell not being edited, Backspace empties it as typing over it would.
    discard = false;
    QTest::keyClick(f.focused(), Qt::Key_Right);
    QTest::keyClick(f.focused(), Qt::Key_Backspace);
    QVERIFY(f.grid->isEditing());
    QCOMPARE(f.grid->text(2, 1), QString());
    QTest::keyClick(f.focused(), Qt::Key_Return);
    QCOMPARE(f.grid->text(2, 1), QString());
    QVERIFY(f.log.contains(change({2, 1})));
}

void TestSpreadGrid::keyDownReportsEveryKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    const int none = Qt::NoModifier;
    QTest::newRow("F1") << int(Qt::Key_F1) << none;
    QTest::newRow("F8") << int(Qt::Key_F8) << none;
    QTest::newRow("digit 5") << int(Qt::Key_5) << none;
    QTest::newRow("keypad 5") << int(Qt::Key_5) << int(Qt::KeypadModifier);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("escape") << int(Qt::Key_Escape) << none;
    QTest::newRow("shift tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier);
    QTest::newRow("ctrl c") << int(Qt::Key_C) << int(Qt::ControlModifier);
    QTest::newRow("alt x") << int(Qt::Key_X) << int(Qt::AltModifier);
}

// Every key reaches the input handler first, with an editor open or not.
void TestSpreadGrid::keyDownReportsEveryKey()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    for (const bool editing : {false, true}) {
        Fixture f;
        QVERIFY(f.show());
        if (editing)
            f.typeOver({2, 2}, QStringLiteral("1"));
        f.log.clear();
        QTest::keyClick(f.focused(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!f.log.isEmpty());
        QCOMPARE(f.log.first(), keyDownLine(key, modifiers));
    }
}

void TestSpreadGrid::keyDownCancelStopsTheKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("editing");
    for (const bool editing : {false, true}) {
        const char* suffix = editing ? " while editing" : "";
        QTest::addRow("digit%s", suffix) << int(Qt::Key_4) << editing;
        QTest::addRow("right%s", suffix) << int(Qt::Key_Right) << editing;
        QTest::addRow("tab%s", suffix) << int(Qt::Key_Tab) << editing;
        QTest::addRow("enter%s", suffix) << int(Qt::Key_Return) << editing;
        QTest::addRow("backspace%s", suffix) << int(Qt::Key_Backspace) << editing;
        QTest::addRow("escape%s", suffix) << int(Qt::Key_Escape) << editing;
    }
}

void TestSpreadGrid::keyDownCancelStopsTheKey()
{
    QFETCH(int, key);
    QFETCH(bool, editing);
    Fixture f;
    f.grid->setText(2, 2, QStringLiteral("15.00"));
    QVERIFY(f.show());
    f.grid->setActiveCell(2, 2);
    if (editing)
        QTest::keyClicks(f.focused(), QStringLiteral("18"));
    f.log.clear();
    f.onKeyDown = [](int* code) { *code = 0; };
    QTest::keyClick(f.focused(), Qt::Key(key));
    QCOMPARE(f.log.size(), 1);
    QVERIFY(f.log.first().startsWith(QLatin1String("KeyDown")));
    QVERIFY(f.isAt({2, 2}));
    QCOMPARE(f.grid->isEditing(), editing);
    QCOMPARE(f.grid->text(2, 2), editing ? QStringLiteral("18") : QStringLiteral("15.00"));
}

void TestSpreadGrid::enterMovesInEnterActionDirection_data()
{
    QTest::addColumn<bool>("next");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<Cell>("from");
    QTest::addColumn<Cell>("to");

    QTest::newRow("down") << false << QList<int>{} << Cell{2, 2} << Cell{2, 3};
    QTest::newRow("down at last row") << false << QList<int>{} << Cell{2, 5} << Cell{2, 5};
    QTest::newRow("next") << true << QList<int>{} << Cell{4, 2} << Cell{3, 2};
    QTest::newRow("next skips hidden") << true << QList<int>{3, 2} << Cell{4, 2} << Cell{1, 2};
    QTest::newRow("next at column 1") << true << QList<int>{} << Cell{1, 2} << Cell{1, 2};
    QTest::newRow("next at first shown") << true << QList<int>{1, 2} << Cell{3, 4} << Cell{3, 4};
    QTest::newRow("next on last row") << true << QList<int>{} << Cell{6, 5} << Cell{5, 5};
}

void TestSpreadGrid::enterMovesInEnterActionDirection()
{
    QFETCH(bool, next);
    QFETCH(QList<int>, hidden);
    QFETCH(Cell, from);
    QFETCH(Cell, to);
    for (const bool editing : {false, true}) {
        Fixture f;
        for (const int col : hidden)
            f.grid->setColumnHiddenAt(col, true);
        f.grid->setEnterAction(next ? SpreadGrid::EnterAction::Next
                                    : SpreadGrid::EnterAction::Down);
        QVERIFY(f.show());
        f.grid->setActiveCell(from.col, from.row);
        if (editing)
            QTest::keyClicks(f.focused(), QStringLiteral("3"));
        f.log.clear();
        QTest::keyClick(f.focused(), Qt::Key_Return);

        QStringList expected{keyDownLine(Qt::Key_Return)};
        if (editing)
            expected << change(from);
        if (to.col != from.col || to.row != from.row)
            expected << leave(from, to);
        expected << QStringLiteral("KeyPress 13");
        QCOMPARE(f.log, expected);
        QVERIFY(f.isAt(to));
        QVERIFY(!f.grid->isEditing());
    }
}

void TestSpreadGrid::queuedEnterBehavesLikeRealEnter_data()
{
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("next");
    QTest::addColumn<bool>("toFocusWidget");
    for (const bool editing : {false, true}) {
        for (const bool next : {false, true}) {
            QTest::addRow("%s %s, queued", editing ? "editing" : "idle", next ? "next" : "down")
                << editing << next << false;
            QTest::addRow("%s %s, posted to focus", editing ? "editing" : "idle",
                          next ? "next" : "down")
                << editing << next << true;
        }
    }
}

void TestSpreadGrid::queuedEnterBehavesLikeRealEnter()
{
    QFETCH(bool, editing);
    QFETCH(bool, next);
    QFETCH(bool, toFocusWidget);
    auto run = [&](Fixture& f, bool real) {
        f.grid->setEnterAction(next ? SpreadGrid::EnterAction::Next
                                    : SpreadGrid::EnterAction::Down);
        f.grid->setActiveCell(4, 2);
        if (editing)
            QTest::keyClicks(f.focused(), QStringLiteral("6"));
        if (real) {
            QTest::keyClick(f.focused(), Qt::Key_Return);
        } else if (toFocusWidget) {
            QCoreApplication::postEvent(f.focused(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                      Qt::NoModifier, QStringLiteral("\r")));
        } else {
            f.grid->queueEnter();
        }
        QCoreApplication::processEvents();
    };
    Fixture real;
    QVERIFY(real.show());
    run(real, true);
    real.window.hide();
    Fixture queued;
    QVERIFY(queued.show());
    run(queued, false);
    QCOMPARE(queued.log, real.log);
    QCOMPARE(queued.grid->activeCol(), real.grid->activeCol());
    QCOMPARE(queued.grid->activeRow(), real.grid->activeRow());
    QCOMPARE(queued.grid->text(4, 2), real.grid->text(4, 2));
    QVERIFY(!queued.grid->isEditing());
}

// As the mark keys do: the handler writes the mark over what is being typed, then
// queues Enter.
void TestSpreadGrid::markWrittenOverTypingWinsAndMovesOn()
{
    Fixture f;
    QVERIFY(f.show());
    f.onKeyDown = [&f](int* code) {
        if (*code == Qt::Key_F1) {
            f.grid->setText(f.grid->activeCol(), f.grid->activeRow(), QStringLiteral("غ.ش."));
            f.grid->queueEnter();
        }
    };
    f.typeOver({6, 2}, QStringLiteral("12"));
    QTest::keyClick(f.focused(), Qt::Key_F1);
    QTRY_VERIFY(f.isAt({6, 3}));
    QCOMPARE(f.grid->text(6, 2), QStringLiteral("غ.ش."));
    QVERIFY(!f.grid->isEditing());
    QVERIFY(f.log.filter(QStringLiteral("Change")).isEmpty());
    QVERIFY(f.log.contains(leave({6, 2}, {6, 3})));
}

void TestSpreadGrid::lockedCellsTakeNoTyping()
{
    Fixture f;
    f.grid->setText(2, 2, QStringLiteral("أحمد"));
    f.grid->setCellLocked(2, 2, true);
    QVERIFY(f.grid->isCellLocked(2, 2));
    QVERIFY(!f.grid->isCellLocked(3, 2));
    QVERIFY(f.show());
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    f.grid->setActiveCell(2, 2);
    QTest::keyClick(f.grid, Qt::Key_5);
    QTest::keyClick(f.grid, Qt::Key_Backspace);
    QTest::keyClick(f.grid, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!f.grid->isEditing());
    QCOMPARE(f.grid->text(2, 2), QStringLiteral("أحمد"));
    QVERIFY(f.log.filter(QStringLiteral("KeyPress")).isEmpty());
    QCOMPARE(f.log.filter(QStringLiteral("KeyDown")).size(), 3);
    QTest::keyClick(f.grid, Qt::Key_Right);
    QVERIFY(f.isAt({3, 2}));

    f.grid->setCellLocked(2, 2, false);
    f.typeOver({2, 2}, QStringLiteral("5"));
    QCOMPARE(f.grid->text(2, 2), QStringLiteral("5"));
}

void TestSpreadGrid::pasteGoesThroughKeyPress_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("editing");
    for (const bool editing : {false, true}) {
        const char* suffix = editing ? " while editing" : "";
        QTest::addRow("ctrl v%s", suffix) << int(Qt::Key_V) << int(Qt::ControlModifier) << editing;
        QTest::addRow("shift insert%s", suffix)
            << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << editing;
    }
}

void TestSpreadGrid::pasteGoesThroughKeyPress()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, editing);
    Fixture f;
    f.grid->setText(3, 3, QStringLiteral("old"));
    QVERIFY(f.show());
    f.onKeyPress = [](int* code) {
        if (*code == 'x')
            *code = 0;
    };
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\r\n3x4\x0b"));
    f.grid->setActiveCell(3, 3);
    if (editing)
        QTest::keyClicks(f.focused(), QStringLiteral("9"));
    f.log.clear();
    QTest::keyClick(f.focused(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.log.filter(QStringLiteral("KeyPress")),
             (QStringList{QStringLiteral("KeyPress 49"), QStringLiteral("KeyPress 50"),
                          QStringLiteral("KeyPress 51"), QStringLiteral("KeyPress 120"),
                          QStringLiteral("KeyPress 52")}));
    QCOMPARE(f.grid->text(3, 3), editing ? QStringLiteral("91234") : QStringLiteral("1234"));
    // A paste over a cell not being edited is final at once.
    QCOMPARE(f.grid->isEditing(), editing);
    QCOMPARE(f.log.contains(change({3, 3})), !editing);
    QVERIFY(f.isAt({3, 3}));

    f.onKeyPress = [](int* code) { *code = 0; };
    QTest::keyClick(f.focused(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.grid->text(3, 3), editing ? QStringLiteral("91234") : QStringLiteral("1234"));
}

void TestSpreadGrid::droppedTextGoesThroughKeyPress()
{
    bool refuse = false;
    Fixture f;
    QVERIFY(f.show());
    f.onKeyPress = [](int* code) {
        if (*code == '-')
            *code = 0;
    };
    f.onLeave = [&refuse](Cell, Cell, bool* cancel) { *cancel = refuse; };
    auto drop = [&f](Cell cell, const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPoint at = f.centre(cell);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.grid->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.grid->viewport(), &move);
        QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.grid->viewport(), &dropped);
        return dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
    };
    f.grid->setActiveCell(1, 1);
    QVERIFY(drop({3, 2}, QStringLiteral("7-\n8")));
    QCOMPARE(f.log, (QStringList{leave({1, 1}, {3, 2}), QStringLiteral("KeyPress 55"),
                                 QStringLiteral("KeyPress 45"), QStringLiteral("KeyPress 56"),
                                 change({3, 2})}));
    QCOMPARE(f.grid->text(3, 2), QStringLiteral("78"));

    refuse = true;
    QVERIFY(!drop({4, 4}, QStringLiteral("5")));
    QCOMPARE(f.grid->text(4, 4), QString());
    QVERIFY(f.isAt({3, 2}));
}

void TestSpreadGrid::controlCharactersNeverEnterACell()
{
    Fixture f;
    QVERIFY(f.show());
    // A composed input (an input method) is typed like keys.
    f.grid->setActiveCell(2, 3);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("4\n5\x1f"));
    QCoreApplication::sendEvent(f.focused(), &composed);
    QCOMPARE(f.grid->text(2, 3), QStringLiteral("45"));
    QCOMPARE(f.log.filter(QStringLiteral("KeyPress")),
             (QStringList{QStringLiteral("KeyPress 52"), QStringLiteral("KeyPress 53")}));
}

void TestSpreadGrid::doubleClickOpensNoEditor()
{
    Fixture f;
    f.grid->setText(3, 3, QStringLiteral("مريم"));
    QVERIFY(f.show());
    f.grid->setActiveCell(1, 1);
    // A double click as Qt 6 delivers it: press and release, press again, the double
    // click, and its release.
    f.click({3, 3});
    QTest::mousePress(f.grid->viewport(), Qt::LeftButton, {}, f.centre({3, 3}));
    QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, f.centre({3, 3}));
    QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, {}, f.centre({3, 3}));
    QCOMPARE(f.log, (QStringList{leave({1, 1}, {3, 3}), QStringLiteral("Click 3 3"),
                                 QStringLiteral("DblClick 3 3")}));
    QVERIFY(!f.grid->isEditing());
    QVERIFY(!f.grid->findChild<QLineEdit*>());
    QCOMPARE(f.grid->text(3, 3), QStringLiteral("مريم"));
}

void TestSpreadGrid::changeFiresOnlyForUserEdits_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("changed");

    QTest::newRow("enter") << QStringLiteral("enter") << QStringLiteral("7") << true;
    QTest::newRow("same text again") << QStringLiteral("enter") << QStringLiteral("15") << false;
    QTest::newRow("escape") << QStringLiteral("escape") << QStringLiteral("7") << false;
    QTest::newRow("click elsewhere") << QStringLiteral("click") << QStringLiteral("7") << true;
    QTest::newRow("focus elsewhere") << QStringLiteral("focus") << QStringLiteral("7") << true;
    QTest::newRow("setActiveCell") << QStringLiteral("place") << QStringLiteral("7") << true;
    QTest::newRow("setText") << QStringLiteral("setText") << QString() << false;
}

void TestSpreadGrid::changeFiresOnlyForUserEdits()
{
    QFETCH(QString, ending);
    QFETCH(QString, typed);
    QFETCH(bool, changed);
    Fixture f;
    f.grid->setText(2, 2, QStringLiteral("15"));
    QVERIFY(f.show());
    f.typeOver({2, 2}, typed);
    if (ending == QLatin1String("enter"))
        QTest::keyClick(f.focused(), Qt::Key_Return);
    else if (ending == QLatin1String("escape"))
        QTest::keyClick(f.focused(), Qt::Key_Escape);
    else if (ending == QLatin1String("click"))
        f.click({4, 4});
    else if (ending == QLatin1String("focus"))
        f.button->setFocus();
    else if (ending == QLatin1String("place"))
        f.grid->setActiveCell(5, 5);
    else
        f.grid->setText(2, 2, QStringLiteral("16"));
    QVERIFY(!f.grid->isEditing());
    QCOMPARE(f.log.filter(QStringLiteral("Change")),
             changed ? QStringList{change({2, 2})} : QStringList{});
    if (changed)
        QCOMPARE(f.grid->text(2, 2), typed);
}

void TestSpreadGrid::enterInDialogNeverReachesDefaultButton_data()
{
    QTest::addColumn<bool>("editing");
    QTest::newRow("no editor") << false;
    QTest::newRow("editor open") << true;
}

void TestSpreadGrid::enterInDialogNeverReachesDefaultButton()
{
    QFETCH(bool, editing);
    QDialog dialog;
    auto* grid = new SpreadGrid(&dialog);
    grid->setGeometry(0, 0, 300, 150);
    grid->setMaxCols(3);
    grid->setMaxRows(3);
    auto* ok = new QPushButton(QStringLiteral("نعم"), &dialog);
    ok->setGeometry(0, 160, 80, 30);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    grid->setFocus();
    if (editing)
        QTest::keyClick(grid, Qt::Key_8);
    QCOMPARE(grid->isEditing(), editing);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(grid->activeRow(), 3);
    // Escape, which the grid has no use for without an editor, still closes the dialog.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void TestSpreadGrid::frozenColumnsStayInPlaceWhenScrolledSideways()
{
    Fixture f(12, 30);
    f.grid->setFrozenCols(2);
    QCOMPARE(f.grid->frozenCols(), 2);
    f.grid->setColWidth(1, 10);
    f.grid->setColWidth(2, 8);
    QVERIFY(f.show());
    auto* overlay = f.grid->findChild<QTableView*>(QStringLiteral("frozenColumns"));
    QVERIFY(overlay);
    QVERIFY(!overlay->isVisible());

    f.grid->setActiveCell(12, 2);
    QTRY_VERIFY(f.grid->horizontalScrollBar()->value() > 0);
    QTRY_VERIFY(overlay->isVisible());
    QCOMPARE(overlay->geometry().topLeft(),
             QPoint(f.grid->viewport()->x(),
                    f.grid->viewport()->y() - f.grid->horizontalHeader()->height()));
    QCOMPARE(overlay->viewport()->width(), 60 + 48);
    QCOMPARE(overlay->columnViewportPosition(0), 0);
    QVERIFY(!overlay->isColumnHidden(1));
    QVERIFY(overlay->isColumnHidden(2));
    f.grid->verticalScrollBar()->setValue(7);
    QCOMPARE(overlay->verticalScrollBar()->value(), 7);
    QCOMPARE(overlay->rowViewportPosition(9), f.grid->rowViewportPosition(9));
    f.grid->verticalScrollBar()->setValue(0);

    // A click on a frozen cell goes to the grid, with its events.
    QTest::mouseClick(overlay->viewport(), Qt::LeftButton, {},
                      overlay->visualRect(overlay->model()->index(3, 0)).center());
    QCOMPARE(f.log, (QStringList{leave({12, 2}, {1, 4}), QStringLiteral("Click 1 4")}));
    QVERIFY(f.grid->horizontalScrollBar()->value() > 0);

    // Moving right from the frozen columns brings out the column hidden under them.
    QTest::keyClick(f.grid, Qt::Key_Right);
    QTest::keyClick(f.grid, Qt::Key_Right);
    QVERIFY(f.isAt({3, 4}));
    QTRY_VERIFY(f.grid->visualRect(f.grid->currentIndex()).left() >= 108);

    // Typing in a frozen column scrolls back so that its editor is seen.
    f.grid->setActiveCell(12, 4);
    f.grid->setActiveCell(2, 4);
    QTest::keyClick(f.grid, Qt::Key_3);
    QVERIFY(f.grid->isEditing());
    QCOMPARE(f.grid->horizontalScrollBar()->value(), 0);
    QVERIFY(!overlay->isVisible());
}

void TestSpreadGrid::widthsAndHiddenColumns()
{
    Fixture f;
    f.grid->setColWidth(3, 10);
    QCOMPARE(f.grid->columnWidth(2), 60);
    QCOMPARE(f.grid->colWidth(3), 10.0);
    f.grid->setColWidth(4, 8.43);
    QCOMPARE(f.grid->colWidth(4), 8.43);
    f.grid->setColWidth(5, 2); // narrower than Qt's own minimum for an Arabic font
    QCOMPARE(f.grid->columnWidth(4), 12);
    f.grid->setRowHeightAt(2, 30);
    QCOMPARE(f.grid->rowHeight(1), 30);

    f.grid->setColumnHiddenAt(4, true);
    QVERIFY(f.grid->isColumnHiddenAt(4));
    QVERIFY(!f.grid->isColumnHiddenAt(3));
    f.grid->setColumnHiddenAt(0, true);
    QVERIFY(f.grid->isColumnHiddenAt(0));
    QVERIFY(f.grid->verticalHeader()->isHidden());

    QCOMPARE(f.grid->cellBackColor(2, 2), QColor(Qt::white));
    f.grid->setCellBackColor(2, 2, QColor(255, 0, 0));
    QCOMPARE(f.grid->cellBackColor(2, 2), QColor(255, 0, 0));
}

QTEST_MAIN(TestSpreadGrid)
#include "tst_spreadgrid.moc"
