#include "sheet/spreadgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using sheet::SpreadGrid;

namespace {

sheet::Cell cellNamed(const QString& name)
{
    const QStringList parts = name.split(u',');
    return {parts.at(0).toInt(), parts.at(1).toInt()};
}

QString nameOf(sheet::Cell cell)
{
    return QStringLiteral("%1,%2").arg(cell.column).arg(cell.row);
}

// A grid of 6 columns and 5 rows as the windows hold it: in a window reading right to left,
// beside a button that Tab would otherwise reach. What the grid asks and tells is logged,
// one word each: a key "Right", a character offered "+7" ("+#13" below a blank), a move
// asked "3,3>5,4", and the signals "edit3,3", "click3,3", "dbl3,3".
struct Fixture : sheet::GridInputHandler {
    QWidget window;
    SpreadGrid* grid;
    QPushButton* button;
    QStringList log;
    QString keys;       // "take": every key is taken; "F1 mark": F1 writes a mark, then Enter
    QString characters; // "grade": digits and one point once a cell is edited; "none"
    QString moves;      // "refuse" every move; "redirect" beyond column 4 to column 4

    Fixture(int cols = 6, int rows = 5)
    {
        window.setLayoutDirection(Qt::RightToLeft);
        window.resize(640, 300);
        grid = new SpreadGrid(&window);
        grid->setGeometry(10, 10, 500, 200);
        button = new QPushButton(QStringLiteral("خروج"), &window);
        button->setGeometry(520, 10, 100, 30);
        grid->setMaxCols(cols);
        grid->setMaxRows(rows);
        grid->setInputHandler(this);
        const auto logCell = [this](const char* word) {
            return [this, word](int col, int row) {
                log << QStringLiteral("%1%2,%3").arg(QLatin1String(word)).arg(col).arg(row);
            };
        };
        QObject::connect(grid, &SpreadGrid::cellClickedAt, grid, logCell("click"));
        QObject::connect(grid, &SpreadGrid::cellDoubleClickedAt, grid, logCell("dbl"));
        QObject::connect(grid, &SpreadGrid::cellEditedAt, grid, logCell("edit"));
    }
    // The grid goes first: closing it commits an open editor, whose edit is logged.
    ~Fixture() override { delete grid; }

    bool keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        // The modifier keys QTest presses before a shortcut are noise here.
        if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt)
            return false;
        log << QKeySequence(QKeyCombination(modifiers, key)).toString();
        if (keys == QLatin1String("F1 mark") && key == Qt::Key_F1) {
            grid->setText(grid->activeCol(), grid->activeRow(), QStringLiteral("غ.ش."));
            grid->queueEnter();
        }
        return keys == QLatin1String("take");
    }
    bool characterTyped(char32_t c) override
    {
        log << (c < 0x20 ? QStringLiteral("+#%1").arg(int(c)) : u'+' + QString::fromUcs4(&c, 1));
        const QString text = grid->activeText();
        if (characters == QLatin1String("grade"))
            return (c >= '0' && c <= '9') || c == 8 ||
                   (c == '.' && grid->isEditing() && !text.isEmpty() && !text.contains(u'.'));
        return characters != QLatin1String("none") && c != 'x';
    }
    bool leavingCell(sheet::Cell from, sheet::Cell to) override
    {
        log << nameOf(from) + u'>' + nameOf(to);
        if (moves == QLatin1String("redirect") && to.column > 4)
            grid->setActiveCell(4, to.row);
        return moves != QLatin1String("refuse") &&
               !(moves == QLatin1String("redirect") && to.row == 5);
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
    QPoint centre(sheet::Cell cell) const
    {
        return grid->visualRect(grid->model()->index(cell.row - 1, cell.column - 1)).center();
    }

    // One step: "at C,R", "set C,R=text", "hide C", "lock C,R", "next" (Enter towards lower
    // columns), "type text", "key Ctrl+V", "click C,R", "dbl C,R", "copy text" (to the
    // clipboard), "focus away", "focus grid", "clear" (the log), or a handler's mode "keys ...",
    // "characters ...", "moves ...".
    void run(const QString& step)
    {
        const QString arg = step.section(u' ', 1);
        const auto cell = [&arg] { return cellNamed(arg.section(u'=', 0, 0)); };
        if (step.startsWith(QLatin1String("at ")))
            grid->setActiveCell(cell().column, cell().row);
        else if (step.startsWith(QLatin1String("set ")))
            grid->setText(cell().column, cell().row, arg.section(u'=', 1));
        else if (step.startsWith(QLatin1String("hide ")))
            grid->setColumnHiddenAt(arg.toInt(), true);
        else if (step.startsWith(QLatin1String("lock ")))
            grid->setCellLocked(cell().column, cell().row, true);
        else if (step == QLatin1String("next"))
            grid->setEnterAction(SpreadGrid::EnterAction::Next);
        else if (step.startsWith(QLatin1String("type ")))
            QTest::keyClicks(focused(), arg);
        else if (step.startsWith(QLatin1String("key "))) {
            const QKeyCombination key = QKeySequence::fromString(arg)[0];
            QTest::keyClick(focused(), key.key(), key.keyboardModifiers());
        } else if (step.startsWith(QLatin1String("click ")))
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(cell()));
        else if (step.startsWith(QLatin1String("dbl "))) {
            // A double click as Qt 6 delivers it: a click, a press, the double click, a release.
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(cell()));
            QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(cell()));
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre(cell()));
            QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(cell()));
        } else if (step.startsWith(QLatin1String("copy ")))
            QGuiApplication::clipboard()->setText(arg);
        else if (step == QLatin1String("focus away"))
            button->setFocus();
        else if (step == QLatin1String("focus grid"))
            grid->setFocus();
        else if (step == QLatin1String("clear"))
            log.clear();
        else if (step.startsWith(QLatin1String("keys ")))
            keys = arg;
        else if (step.startsWith(QLatin1String("characters ")))
            characters = arg;
        else if (step.startsWith(QLatin1String("moves ")))
            moves = arg;
        else
            QFAIL(qPrintable(step));
        QCoreApplication::processEvents();
    }
};

// The dark pixels drawn in a cell: their horizontal extent as fractions of its width.
QPair<double, double> inkExtent(SpreadGrid* grid, sheet::Cell cell)
{
    const QRect rect = grid->visualRect(grid->model()->index(cell.row - 1, cell.column - 1));
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

class TestSpreadGrid : public QObject {
    Q_OBJECT

private slots:
    void moves_data();
    void moves() { script(); }
    void typing_data();
    void typing() { script(); }
    void enterKey_data();
    void enterKey() { script(); }
    void queuedEnterIsARealEnter_data();
    void queuedEnterIsARealEnter();
    void enterInDialogNeverReachesDefaultButton();
    void droppedTextGoesThroughTheHandler();
    void composedInputDropsControlCharacters();
    void cellTextStartsOnItsReadingSide_data();
    void cellTextStartsOnItsReadingSide();
    void activeCellIsFramedNotFilled();
    void frozenColumnsStayInPlaceWhenScrolledSideways();

private:
    void addColumns();
    void script();
};

void TestSpreadGrid::addColumns()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("log");  // every word after the last "clear"
    QTest::addColumn<QString>("end");  // the active cell, "*" when an editor is open
    QTest::addColumn<QString>("cell"); // "C,R=text" the cell holds at the end
}

// Runs a row's steps on a fresh grid shown in its window, then checks what the grid asked
// and told, where the cursor stands, and one cell's text.
void TestSpreadGrid::script()
{
    QFETCH(QString, steps);
    QFETCH(QString, log);
    QFETCH(QString, end);
    QFETCH(QString, cell);
    Fixture f;
    QVERIFY(f.show());
    for (const QString& step : steps.split(u';'))
        f.run(step);
    QCOMPARE(f.log.join(u' '), log);
    QCOMPARE(nameOf({f.grid->activeCol(), f.grid->activeRow()}) +
                 (f.grid->isEditing() ? QStringLiteral("*") : QString()),
             end);
    if (!cell.isEmpty())
        QCOMPARE(f.grid->text(cellNamed(cell.section(u'=', 0, 0)).column,
                              cellNamed(cell.section(u'=', 0, 0)).row),
                 cell.section(u'=', 1));
    if (!steps.endsWith(QLatin1String("focus away")))
        QVERIFY2(f.grid->hasFocus() || f.grid->isAncestorOf(QApplication::focusWidget()),
                 "a key took the focus out of the grid");
}

// Every key and click reaches the handler first; a move asks it, and an open editor commits
// before. Column 3 is hidden where the steps say so.
void TestSpreadGrid::moves_data()
{
    addColumns();
    const auto row = [](const char* name, const char* steps, const char* log, const char* end,
                        const char* cell = "") {
        QTest::newRow(name) << steps << log << end << cell;
    };
    row("right skips hidden", "hide 3;at 2,2;key Right", "Right 2,2>4,2", "4,2");
    row("left skips hidden", "hide 3;at 4,2;key Left", "Left 4,2>2,2", "2,2");
    row("up", "at 2,2;key Up", "Up 2,2>2,1", "2,1");
    row("tab wraps", "at 6,2;key Tab", "Tab 6,2>1,3", "1,3");
    row("shift tab wraps back", "at 1,3;key Shift+Tab", "Shift+Tab 1,3>6,2", "6,2");
    row("home", "at 5,2;key Home", "Home 5,2>1,2", "1,2");
    row("ctrl end", "at 1,1;key Ctrl+End", "Ctrl+End 1,1>6,5", "6,5");
    row("page down", "at 2,1;key PgDown", "PgDown 2,1>2,5", "2,5");
    row("down at bottom asks nothing", "at 2,5;key Down", "Down", "2,5");
    row("an editor commits first", "at 3,2;type 7;clear;key Down", "Down edit3,2 3,2>3,3", "3,3",
        "3,2=7");
    row("a refused move keeps the cursor", "moves refuse;at 3,3;key Tab", "Tab 3,3>4,3", "3,3");
    row("a refused move keeps the edit", "moves refuse;at 3,3;type 25;clear;click 5,4",
        "edit3,3 3,3>5,4 click5,4", "3,3", "3,3=25");
    row("click", "at 1,1;click 4,3;click 4,3", "1,1>4,3 click4,3 click4,3", "4,3");
    row("the handler's placing has the last word", "moves redirect;at 1,1;click 6,2;click 6,5",
        "1,1>6,2 click6,2 4,2>6,5 click6,5", "4,5");
    row("double click opens no editor", "set 3,3=مريم;at 1,1;dbl 3,3", "1,1>3,3 click3,3 dbl3,3",
        "3,3", "3,3=مريم");
    // The vertical wrap parks the cursor on a header: it types nothing there, Enter goes down.
    row("cursor parked on a header", "at 5,0;focus away;focus grid;key 7;key Return",
        "7 Return 5,0>5,1 +#13", "5,1");
}

void TestSpreadGrid::typing_data()
{
    addColumns();
    const auto row = [](const char* name, const char* steps, const char* log, const char* end,
                        const char* cell = "") {
        QTest::newRow(name) << steps << log << end << cell;
    };
    row("typing overtypes", "set 2,2=--.--;at 2,2;type 1.5", "1 +1 . +. 5 +5", "2,2*", "2,2=1.5");
    row("a first character discarded opens no editor",
        "characters grade;set 2,2=--.--;at 2,2;type .a", ". +. A +a", "2,2", "2,2=--.--");
    row("discarded characters are dropped", "characters grade;at 2,2;type 1.2.5x",
        "1 +1 . +. 2 +2 . +. 5 +5 X +x", "2,2*", "2,2=1.25");
    row("backspace is a character", "at 1,1;type 12;key Backspace", "1 +1 2 +2 Backspace +#8",
        "1,1*", "1,1=1");
    row("backspace empties a cell not edited", "set 2,1=45;at 2,1;key Backspace;key Return",
        "Backspace +#8 Return edit2,1 2,1>2,2 +#13", "2,2", "2,1=");
    row("a taken key does nothing", "keys take;set 2,2=15.00;at 2,2;key 4;key Return;key Escape",
        "4 Return Esc", "2,2", "2,2=15.00");
    row("a taken key leaves the editor open",
        "at 2,2;type 18;keys take;clear;key Tab;key Backspace", "Tab Backspace", "2,2*", "2,2=18");
    row("function keys reach the handler", "at 2,2;type 1;clear;key F8;key Ctrl+C;key Num+Enter",
        "F8 Ctrl+C Num+Enter edit2,2 2,2>2,3 +#13", "2,3", "2,2=1");
    row("the mark written over typing wins", "keys F1 mark;at 6,2;type 12;clear;key F1",
        "F1 Return 6,2>6,3 +#13", "6,3", "6,2=غ.ش.");
    row("escape drops the typing", "set 2,2=15;at 2,2;type 7;key Escape", "7 +7 Esc", "2,2",
        "2,2=15");
    row("typing the same text is no edit", "set 2,2=15;at 2,2;type 15;clear;key Return",
        "Return 2,2>2,3 +#13", "2,3", "2,2=15");
    row("focus elsewhere commits", "at 2,2;type 7;clear;focus away", "edit2,2", "2,2", "2,2=7");
    row("setActiveCell commits", "at 2,2;type 7;clear;at 5,5", "edit2,2", "5,5", "2,2=7");
    row("setText replaces the typing", "at 2,2;type 7;clear;set 2,2=16", "", "2,2", "2,2=16");
    row("a locked cell takes no typing",
        "copy 99;set 2,2=أحمد;lock 2,2;at 2,2;type 5;key Backspace;key Ctrl+V",
        "5 Backspace Ctrl+V", "2,2", "2,2=أحمد");
    // Control characters never enter a cell, whatever the handler answers; paste is typed.
    row("paste", "copy 1\t2\r\n3x4\x0b;at 3,3;key Ctrl+V", "Ctrl+V +1 +2 +3 +x +4 edit3,3", "3,3",
        "3,3=1234");
    row("paste while editing", "copy 1\t2\r\n3x4\x0b;at 3,3;type 9;clear;key Shift+Ins",
        "Shift+Ins +1 +2 +3 +x +4", "3,3*", "3,3=91234");
    row("paste refused", "characters none;copy 12;at 3,3;key Ctrl+V", "Ctrl+V +1 +2", "3,3",
        "3,3=");
}

// Enter commits and moves in the grid's Enter direction, skipping hidden columns; at the
// edge it commits and stays without asking to move.
void TestSpreadGrid::enterKey_data()
{
    addColumns();
    const auto row = [](const char* name, const char* steps, const char* log, const char* end) {
        QTest::newRow(name) << steps << log << end << QString();
    };
    row("down", "at 2,2;key Return", "Return 2,2>2,3 +#13", "2,3");
    row("down at the last row", "at 2,5;type 3;clear;key Return", "Return edit2,5 +#13", "2,5");
    row("next skips hidden", "next;hide 3;hide 2;at 4,2;key Return", "Return 4,2>1,2 +#13", "1,2");
    row("next at the first shown column", "next;hide 1;hide 2;at 3,4;key Return", "Return +#13",
        "3,4");
    row("next on the last row", "next;at 6,5;type 3;clear;key Return",
        "Return edit6,5 6,5>5,5 +#13", "5,5");
}

void TestSpreadGrid::queuedEnterIsARealEnter_data()
{
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("next");
    QTest::addColumn<bool>("posted");
    for (const bool editing : {false, true})
        for (const bool next : {false, true})
            for (const bool posted : {false, true})
                QTest::addRow("%s %s, %s", editing ? "editing" : "idle", next ? "next" : "down",
                              posted ? "posted to the focus" : "queued")
                    << editing << next << posted;
}

// The mark keys queue an Enter: it must do exactly what the teacher's Enter does.
void TestSpreadGrid::queuedEnterIsARealEnter()
{
    QFETCH(bool, editing);
    QFETCH(bool, next);
    QFETCH(bool, posted);
    Fixture real;
    Fixture queued;
    for (Fixture* f : {&real, &queued}) {
        QVERIFY(f->show());
        f->grid->setEnterAction(next ? SpreadGrid::EnterAction::Next
                                     : SpreadGrid::EnterAction::Down);
        f->run(QStringLiteral("at 4,2"));
        if (editing)
            f->run(QStringLiteral("type 6"));
        if (f == &real)
            f->run(QStringLiteral("key Return"));
        else if (posted)
            QCoreApplication::postEvent(f->focused(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                      Qt::NoModifier, QStringLiteral("\r")));
        else
            f->grid->queueEnter();
        QCoreApplication::processEvents();
        f->window.hide();
    }
    QCOMPARE(queued.log, real.log);
    QCOMPARE(queued.grid->activeCol(), real.grid->activeCol());
    QCOMPARE(queued.grid->activeRow(), real.grid->activeRow());
    QCOMPARE(queued.grid->text(4, 2), real.grid->text(4, 2));
    QVERIFY(!queued.grid->isEditing());
}

// In a dialog, Enter stays in the grid, editor or not; Escape without an editor still
// closes the dialog.
void TestSpreadGrid::enterInDialogNeverReachesDefaultButton()
{
    for (const bool editing : {false, true}) {
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
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(grid->activeRow(), 3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
}

// A drop moves the cursor as a click, then types its text; a refused move takes no drop.
void TestSpreadGrid::droppedTextGoesThroughTheHandler()
{
    Fixture f;
    QVERIFY(f.show());
    const auto drop = [&f](sheet::Cell cell, const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPoint at = f.centre(cell);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.grid->viewport(), &enter);
        QDragMoveEvent move(at, actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.grid->viewport(), &move);
        QDropEvent dropped(at, actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(f.grid->viewport(), &dropped);
        return dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
    };
    f.run(QStringLiteral("at 1,1"));
    QVERIFY(drop({3, 2}, QStringLiteral("7x\n8")));
    QCOMPARE(f.log.join(u' '), QStringLiteral("1,1>3,2 +7 +x +8 edit3,2"));
    QCOMPARE(f.grid->text(3, 2), QStringLiteral("78"));
    f.moves = QStringLiteral("refuse");
    QVERIFY(!drop({4, 4}, QStringLiteral("5")));
    QCOMPARE(f.grid->text(4, 4), QString());
}

// An input method's text is typed like keys: its control characters never enter a cell.
void TestSpreadGrid::composedInputDropsControlCharacters()
{
    Fixture f;
    QVERIFY(f.show());
    f.run(QStringLiteral("at 2,3"));
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("4\n5\x1f"));
    QCoreApplication::sendEvent(f.focused(), &composed);
    QCOMPARE(f.grid->text(2, 3), QStringLiteral("45"));
    QCOMPARE(f.log.join(u' '), QStringLiteral("+4 +5"));
}

void TestSpreadGrid::cellTextStartsOnItsReadingSide_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment"); // 0: none set
    QTest::addColumn<bool>("onTheRight");
    QTest::newRow("Arabic name") << QStringLiteral("محمد بن علي") << 0 << true;
    QTest::newRow("grade") << QStringLiteral("12.50") << 0 << false;
    QTest::newRow("Arabic set left") << QStringLiteral("محمد") << int(Qt::AlignLeft) << false;
    QTest::newRow("grade set right") << QStringLiteral("07.00") << int(Qt::AlignRight) << true;
}

// Columns stand left to right in the right-to-left window; each text reads from its side.
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
    QVERIFY(f.grid->columnViewportPosition(0) < f.grid->columnViewportPosition(1));
    const auto [first, last] = inkExtent(f.grid, {2, 2});
    QVERIFY2(last >= 0, "nothing drawn");
    if (onTheRight)
        QVERIFY2(first > 0.5 && last > 0.9, qPrintable(QString::number(first)));
    else
        QVERIFY2(first < 0.1 && last < 0.5, qPrintable(QString::number(last)));
}

// The cursor is a frame: a yellow zero grade keeps its colour and its text stays legible.
void TestSpreadGrid::activeCellIsFramedNotFilled()
{
    Fixture f;
    f.grid->setColWidth(2, 20);
    f.grid->setText(2, 2, QStringLiteral("00.00"));
    f.grid->setCellBackColor(2, 2, QColor(255, 255, 0));
    QVERIFY(f.show());
    f.grid->setActiveCell(2, 2);
    const QImage image =
        f.grid->viewport()->grab(f.grid->visualRect(f.grid->currentIndex())).toImage();
    QCOMPARE(image.pixelColor(image.width() - 8, image.height() / 2), QColor(255, 255, 0));
    QVERIFY(qGray(image.pixel(1, image.height() / 2)) < 80); // the frame
    QVERIFY2(inkExtent(f.grid, {2, 2}).second >= 0, "the active cell's text cannot be seen");
}

void TestSpreadGrid::frozenColumnsStayInPlaceWhenScrolledSideways()
{
    Fixture f(12, 30);
    f.grid->setFrozenCols(2);
    f.grid->setColWidth(1, 10);
    f.grid->setColWidth(2, 8);
    QVERIFY(f.show());
    auto* overlay = f.grid->findChild<QTableView*>(QStringLiteral("frozenColumns"));
    QVERIFY(overlay && !overlay->isVisible());
    f.grid->setActiveCell(12, 2);
    QTRY_VERIFY(overlay->isVisible());
    QVERIFY(f.grid->horizontalScrollBar()->value() > 0);
    QCOMPARE(overlay->geometry().topLeft(),
             QPoint(f.grid->viewport()->x(),
                    f.grid->viewport()->y() - f.grid->horizontalHeader()->height()));
    QCOMPARE(overlay->viewport()->width(), 60 + 48);
    f.grid->verticalScrollBar()->setValue(7);
    QCOMPARE(overlay->rowViewportPosition(9), f.grid->rowViewportPosition(9));
    f.grid->verticalScrollBar()->setValue(0);
    // A click on a frozen cell goes to the grid, with its events.
    QTest::mouseClick(overlay->viewport(), Qt::LeftButton, {},
                      overlay->visualRect(overlay->model()->index(3, 0)).center());
    QCOMPARE(f.log.join(u' '), QStringLiteral("12,2>1,4 click1,4"));
    // Moving right from the frozen columns brings out the column hidden under them.
    f.run(QStringLiteral("key Right"));
    f.run(QStringLiteral("key Right"));
    QTRY_VERIFY(f.grid->visualRect(f.grid->currentIndex()).left() >= 108);
    // Typing in a frozen column scrolls back so that its editor is seen.
    f.grid->setActiveCell(12, 4);
    f.grid->setActiveCell(2, 4);
    f.run(QStringLiteral("type 3"));
    QVERIFY(f.grid->isEditing());
    QCOMPARE(f.grid->horizontalScrollBar()->value(), 0);
    QVERIFY(!overlay->isVisible());
}

QTEST_MAIN(TestSpreadGrid)
#include "tst_spreadgrid.moc"
