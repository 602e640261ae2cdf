#include "../support/datatable.h"
#include "../support/gridcells.h"
#include "gui/grid/gradegrid.h"

#include <QtTest>
#include <QtWidgets>

using sheet::GradeGrid;

namespace {

sheet::Cell cellNamed(const QString& name)
{
    return {name.section(u',', 0, 0).toInt(), name.section(u',', 1).toInt()};
}

QString nameOf(sheet::Cell cell)
{
    return QStringLiteral("%1,%2").arg(cell.column).arg(cell.row);
}

// A grid of 6 columns and 5 rows in a right-to-left window, beside a button Tab could reach. The
// log, a word each: a key "Right", a character offered "+7" ("+#13" below a blank), a move asked
// "3,3>5,4", an edit committed "edit3,3", the signals "click3,3", "dbl3,3".
struct Fixture : sheet::GridInputHandler {
    // Texts go in as they come: the grid is tried here, the grade check in the sheet's tests.
    struct Sheet : sheet::GradeSheet {
        using GradeSheet::GradeSheet;
        bool setData(const QModelIndex& index, const QVariant& value, int role) override
        {
            if (role == Qt::EditRole)
                log->append(QStringLiteral("edit") + nameOf(cellOf(index)));
            return GradeSheet::setData(
                index, QVariant::fromValue(withText(cellOf(index), value.toString())),
                CellStateRole);
        }
        QStringList* log = nullptr;
    } sheet;
    QWidget window;
    GradeGrid* grid;
    QPushButton* button;
    QStringList log;
    QString keys;       // "take": every key is taken; "F1 mark": F1 writes a mark, then Enter
    QString characters; // "grade": digits and one point once a cell is edited; "none"
    QString moves;      // "refuse" every move; "redirect" beyond column 4 to column 4

    Fixture(int cols = 6, int rows = 5) : sheet(cols)
    {
        sheet.reset(gradefile::SheetTable(size_t(rows) + 1));
        window.setLayoutDirection(Qt::RightToLeft);
        window.resize(640, 300);
        grid = new GradeGrid(sheet, &window);
        grid->setGeometry(10, 10, 500, 200);
        button = new QPushButton(QStringLiteral("خروج"), &window);
        button->setGeometry(520, 10, 100, 30);
        grid->setInputHandler(this);
        const auto logCell = [this](const char* word) {
            return [this, word](int col, int row) {
                log << QStringLiteral("%1%2,%3").arg(QLatin1String(word)).arg(col).arg(row);
            };
        };
        QObject::connect(grid, &GradeGrid::cellClickedAt, grid, logCell("click"));
        QObject::connect(grid, &GradeGrid::cellDoubleClickedAt, grid, logCell("dbl"));
        sheet.log = &log;
        QObject::connect(grid, &GradeGrid::pasteRequested, grid, [this] { log << "paste"; });
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
            sheet.GradeSheet::setData(sheet.indexOf(grid->activeCell()), QStringLiteral("غ.ش."));
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
            grid->setActiveCell({4, to.row});
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
    QPoint centre(sheet::Cell cell) const
    {
        return grid->visualRect(grid->model()->index(cell.row - 1, cell.column - 1)).center();
    }

    // One step: "at C,R", "set C,R=text", "hide C", "lock C,R", "type text", "compose text" (an
    // input method's), "key Ctrl+V" (these three to the focus), "queue" (a mark key's Enter),
    // "click C,R", "dbl C,R", "drop C,R text", "copy text" (to the clipboard), "focus away",
    // "focus grid", "clear" (the log), or a handler's mode: "keys", "characters", "moves" ...
    void run(const QString& step)
    {
        const QString arg = step.section(u' ', 1);
        const auto cell = [&arg] { return cellNamed(arg.section(u'=', 0, 0)); };
        if (step.startsWith(QLatin1String("at ")))
            grid->setActiveCell(cell());
        else if (step.startsWith(QLatin1String("set ")))
            setCellText(sheet, cell(), arg.section(u'=', 1));
        else if (step.startsWith(QLatin1String("hide ")))
            grid->setSheetColumnHidden(arg.toInt(), true);
        else if (step.startsWith(QLatin1String("lock ")))
            sheet.setColumnLocked(cell().column, true);
        else if (step.startsWith(QLatin1String("type ")))
            QTest::keyClicks(QApplication::focusWidget(), arg);
        else if (step.startsWith(QLatin1String("compose "))) {
            QInputMethodEvent composed;
            composed.setCommitString(arg);
            QCoreApplication::sendEvent(QApplication::focusWidget(), &composed);
        } else if (step.startsWith(QLatin1String("key "))) {
            const QKeyCombination key = QKeySequence::fromString(arg)[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else if (step == QLatin1String("queue"))
            grid->queueEnter();
        else if (step.startsWith(QLatin1String("click ")))
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(cell()));
        else if (step.startsWith(QLatin1String("dbl "))) {
            // A double click as Qt 6 delivers it: a click, a press, the double click, a release.
            for (auto action :
                 {QTest::MouseClick, QTest::MousePress, QTest::MouseDClick, QTest::MouseRelease})
                QTest::mouseEvent(action, grid->viewport(), Qt::LeftButton, {}, centre(cell()));
        } else if (step.startsWith(QLatin1String("drop "))) {
            QMimeData data;
            data.setText(arg.section(u' ', 1));
            const QPoint at = centre(cellNamed(arg.section(u' ', 0, 0)));
            const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
            QDragEnterEvent enter(at, both, &data, Qt::LeftButton, {});
            QDragMoveEvent move(at, both, &data, Qt::LeftButton, {});
            QDropEvent dropped(at, both, &data, Qt::LeftButton, {});
            for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &dropped})
                QCoreApplication::sendEvent(grid->viewport(), event);
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
QPair<double, double> inkExtent(GradeGrid* grid, sheet::Cell cell)
{
    const QRect rect = grid->visualRect(grid->model()->index(cell.row - 1, cell.column - 1));
    const QImage image = grid->viewport()->grab(rect.adjusted(3, 3, -3, -3)).toImage();
    int first = image.width(), last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 110) {
                first = qMin(first, x);
                last = qMax(last, x);
            }
    return {double(first) / image.width(), double(last) / image.width()};
}

} // namespace

class TestGradeGrid : public QObject {
    Q_OBJECT

private slots:
    // Each row's steps on a fresh grid shown in its window. log: every word after the last
    // "clear"; end: the active cell, "*" when an editor is open, then "C,R=text" a cell holds.
    void script_data()
    {
        const auto row = dataTable<QString, QString, QString>({"steps", "log", "end"});

        // Every key and click reaches the handler first; a move asks it, an open editor commits.
        row("right skips hidden", "hide 3;at 2,2;key Right", "Right 2,2>4,2", "4,2");
        row("tab wraps", "at 6,2;key Tab", "Tab 6,2>1,3", "1,3");
        row("shift tab wraps back", "at 1,3;key Shift+Tab", "Shift+Tab 1,3>6,2", "6,2");
        row("ctrl end", "at 1,1;key Ctrl+End", "Ctrl+End 1,1>6,5", "6,5");
        row("page down", "at 2,1;key PgDown", "PgDown 2,1>2,5", "2,5");
        row("down at bottom asks nothing", "at 2,5;key Down", "Down", "2,5");
        row("an editor commits first", "at 3,2;type 7;clear;key Down", "Down edit3,2 3,2>3,3",
            "3,3 3,2=7");
        row("a refused move keeps the cursor", "moves refuse;at 3,3;key Tab", "Tab 3,3>4,3", "3,3");
        row("a refused move keeps the edit", "moves refuse;at 3,3;type 25;clear;click 5,4",
            "edit3,3 3,3>5,4 click5,4", "3,3 3,3=25");
        row("click", "at 1,1;click 4,3;click 4,3", "1,1>4,3 click4,3 click4,3", "4,3");
        row("the handler's placing has the last word", "moves redirect;at 1,1;click 6,2;click 6,5",
            "1,1>6,2 click6,2 4,2>6,5 click6,5", "4,5");
        row("double click opens no editor", "set 3,3=مريم;at 1,1;dbl 3,3",
            "1,1>3,3 click3,3 dbl3,3", "3,3 3,3=مريم");
        row("typing overtypes", "set 2,2=--.--;at 2,2;type 1.5", "1 +1 . +. 5 +5", "2,2* 2,2=1.5");
        row("a first character discarded opens no editor",
            "characters grade;set 2,2=--.--;at 2,2;type .a", ". +. A +a", "2,2 2,2=--.--");
        row("discarded characters are dropped", "characters grade;at 2,2;type 1.2.5x",
            "1 +1 . +. 2 +2 . +. 5 +5 X +x", "2,2* 2,2=1.25");
        row("backspace is a character", "at 1,1;type 12;key Backspace", "1 +1 2 +2 Backspace +#8",
            "1,1* 1,1=1");
        row("backspace empties a cell not edited", "set 2,1=45;at 2,1;key Backspace;key Return",
            "Backspace +#8 Return edit2,1 2,1>2,2 +#13", "2,2 2,1=");
        row("a taken key does nothing",
            "keys take;set 2,2=15.00;at 2,2;key 4;key Return;key Escape", "4 Return Esc",
            "2,2 2,2=15.00");
        row("a taken key leaves the editor open",
            "at 2,2;type 18;keys take;clear;key Tab;key Backspace", "Tab Backspace", "2,2* 2,2=18");
        row("function keys reach the handler",
            "at 2,2;type 1;clear;key F8;key Ctrl+C;key Num+Enter",
            "F8 Ctrl+C Num+Enter edit2,2 2,2>2,3 +#13", "2,3 2,2=1");
        row("the mark written over typing wins", "keys F1 mark;at 6,2;type 12;clear;key F1",
            "F1 Return 6,2>6,3 +#13", "6,3 6,2=غ.ش.");
        row("escape drops the typing", "set 2,2=15;at 2,2;type 7;key Escape", "7 +7 Esc",
            "2,2 2,2=15");
        row("typing the same text is no edit", "set 2,2=15;at 2,2;type 15;clear;key Return",
            "Return 2,2>2,3 +#13", "2,3 2,2=15");
        row("focus elsewhere commits", "at 2,2;type 7;clear;focus away", "edit2,2", "2,2 2,2=7");
        row("setActiveCell commits", "at 2,2;type 7;clear;at 5,5", "edit2,2", "5,5 2,2=7");
        row("setText replaces the typing", "at 2,2;type 7;clear;set 2,2=16", "", "2,2 2,2=16");
        row("a locked cell takes no typing",
            "copy 99;set 2,2=أحمد;lock 2,2;at 2,2;type 5;key Backspace;key Ctrl+V",
            "5 Backspace Ctrl+V paste", "2,2 2,2=أحمد");
        // A block pasted on a cell is the window's; into an editor it is typed, no control
        // character.
        row("paste", "copy 1\t2;at 3,3;key Ctrl+V", "Ctrl+V paste", "3,3 3,3=");
        // A paste or drop with a refused character goes in not at all; a decimal comma is a point.
        row("paste while editing", "copy 1\t2\r\n34\x0b;at 3,3;type 9;clear;key Shift+Ins",
            "Shift+Ins +1 +2 +3 +4", "3,3* 3,3=91234");
        row("paste refused whole", "copy 1x2;characters grade;at 3,3;type 0;clear;key Ctrl+V",
            "Ctrl+V +1 +x +2", "3,3* 3,3=0");
        row("paste of a decimal comma", "copy 1,5;characters grade;at 3,3;type 0;clear;key Ctrl+V",
            "Ctrl+V +1 +. +5", "3,3* 3,3=01.5");
        row("composed text", "at 2,3;compose 4\n5\x1f", "+4 +5", "2,3* 2,3=45");
        row("Arabic digits and separator", "at 2,3;compose \u0661\u06F3\u066B\u0665", "+1 +3 +. +5",
            "2,3* 2,3=13.5");
        // A drop moves the cursor as a click, then types its text; a refused move takes no drop.
        row("drop", "at 1,1;drop 3,2 7\n8", "1,1>3,2 +7 +8 edit3,2", "3,2 3,2=78");
        row("drop refused whole", "at 1,1;drop 3,2 7x8", "1,1>3,2 +7 +x +8", "3,2 3,2=");
        row("drop refused", "moves refuse;at 1,1;drop 4,4 5", "1,1>4,4", "1,1 4,4=");

        // Enter commits and moves down; at the edge it commits and stays without asking.
        row("down", "at 2,2;key Return", "Return 2,2>2,3 +#13", "2,3");
        row("down at the last row", "at 2,5;type 3;clear;key Return", "Return edit2,5 +#13", "2,5");
        // The Enter a mark key queues is the teacher's Enter, editor open or not.
        row("queued", "at 2,2;queue", "Return 2,2>2,3 +#13", "2,3");
        row("queued at the last row", "at 2,5;type 3;clear;queue", "Return edit2,5 +#13", "2,5");
    }
    void script()
    {
        const auto [steps, end] = fetchRow<QString, QString>({"steps", "end"});
        const QString cell = end.section(u' ', 1);
        Fixture f;
        QVERIFY(f.show());
        for (const QString& step : steps.split(u';'))
            f.run(step);
        QTEST(f.log.join(u' '), "log");
        QCOMPARE(nameOf(f.grid->activeCell()) + (f.grid->isEditing() ? "*" : ""),
                 end.section(u' ', 0, 0));
        if (!cell.isEmpty())
            QCOMPARE(f.grid->text(cellNamed(cell.section(u'=', 0, 0))), cell.section(u'=', 1));
        if (!steps.endsWith(QLatin1String("focus away")))
            QVERIFY2(f.grid->hasFocus() || f.grid->isAncestorOf(QApplication::focusWidget()),
                     "a key took the focus out of the grid");
    }
    // Columns left to right in the right-to-left window; a name starts right, a grade left.
    void cellTextStartsOnItsReadingSide()
    {
        Fixture f;
        f.grid->setSheetColumnUnits(2, 30);
        f.grid->setSheetColumnUnits(3, 30);
        setCellText(f.sheet, {2, 2}, QStringLiteral("محمد بن علي"));
        setCellText(f.sheet, {3, 2}, QStringLiteral("12.50"));
        QVERIFY(f.show());
        const auto [nameFirst, nameLast] = inkExtent(f.grid, {2, 2});
        const auto [gradeFirst, gradeLast] = inkExtent(f.grid, {3, 2});
        QVERIFY(f.grid->columnViewportPosition(1) < f.grid->columnViewportPosition(2) &&
                nameFirst > 0.5 && nameLast > 0.9 && gradeFirst < 0.1 && gradeLast < 0.5);
    }
    // The cursor is a frame: a yellow zero grade under it keeps its colour.
    void activeCellIsFramedNotFilled()
    {
        Fixture f;
        f.sheet.GradeSheet::setData(f.sheet.indexOf({2, 2}), QStringLiteral("00.00"));
        QVERIFY(f.show());
        f.grid->setActiveCell({2, 2});
        const QImage image =
            f.grid->viewport()->grab(f.grid->visualRect(f.grid->currentIndex())).toImage();
        QCOMPARE(image.pixelColor(image.width() - 8, image.height() / 2), QColor(255, 255, 0));
    }
    // Scrolled sideways, frozen columns stay at the right edge, cells show whole, clicks get
    // through.
    void frozenColumnsStayInPlaceWhenScrolledSideways()
    {
        Fixture f(10, 30);
        for (int col = 1; col <= 10; ++col)
            f.grid->setSheetColumnUnits(col, col == 8 ? 31 : 9);
        f.grid->setFrozenCols(2);
        QVERIFY(f.show());
        auto* overlay = f.grid->findChild<QTableView*>(QStringLiteral("frozenColumns"));
        QVERIFY(overlay);
        const QRect viewport = f.grid->viewport()->geometry();
        for (int col : {1, 8, 4, 1, 6}) {
            f.grid->setActiveCell({col, 2});
            QTRY_VERIFY(overlay->isVisible() && overlay->geometry().right() == viewport.right());
            QVERIFY2(cellsShowWhole(*f.grid, 2), qPrintable(QString::number(col)));
        }
        QTest::mouseClick(overlay->viewport(), Qt::LeftButton, {},
                          overlay->visualRect(overlay->model()->index(3, 8)).center());
        QCOMPARE(f.log.join(u' '), QStringLiteral("6,2>9,4 click9,4"));
    }
};

QTEST_MAIN(TestGradeGrid)
#include "tst_gradegrid.moc"
