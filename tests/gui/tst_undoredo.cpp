// Undo and redo in the grade sheet, driven with the teacher's keys on a sheet opened from a
// disk: what each step leaves in the cells, their colours, the cursor and the modified
// flag, and what reaches the file.

#include "../support/programondisk.h"
#include "sheet/sheettools.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using sheet::GradeSheetWindow;

namespace {

const QString kKey = QStringLiteral("8410203C07120002004");
const QString kFileName = kKey + QStringLiteral(".xml");

QStringList threePupils()
{
    return {QStringLiteral("DEBUT") + kKey +
                QStringLiteral("|8410203 إعدادية النور [السابعة أساسي 2] عربية - الثلاثي الأول"),
            QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2|تأليفي"),
            QStringLiteral("1|1|1001|أحمد الكافي|12.50|--.--|"),
            QStringLiteral("2|2|1002|مريم التونسي|07.00||غ.ش."),
            QStringLiteral("3|3|1003|سامي الصغير|||معفى"),
            QStringLiteral("FIN%1|صفاقس|النور|سلمى|0|4").arg(kKey)};
}

// The sheet as the teacher sees it: each pupil's three grades, first exam first ("_" for
// an empty cell, "!" after a red one, "~" after a yellow one), then the observation column
// when it holds one, "b" when the name is bold; the cursor; "*" when there is something
// to save.
QString shownState(const GradeSheetWindow& window)
{
    const sheet::SpreadGrid& grid = *window.grid();
    QStringList rows;
    for (int row = 1; row <= grid.maxRows(); ++row) {
        QStringList cells;
        for (int col = 6; col >= 4; --col) {
            QString text = grid.text(col, row);
            if (text.isEmpty())
                text = QStringLiteral("_");
            const QColor background = grid.cellBackColor(col, row);
            if (background == QColor(255, 0, 0))
                text += u'!';
            else if (background == QColor(255, 255, 0))
                text += u'~';
            cells << text;
        }
        if (!grid.text(10, row).isEmpty())
            cells << grid.text(10, row);
        if (grid.cellFont(7, row).bold())
            cells << QStringLiteral("b");
        rows << cells.join(u' ');
    }
    QString state = rows.join(QStringLiteral(" | ")) +
                    QStringLiteral(" @%1,%2").arg(grid.activeCol()).arg(grid.activeRow());
    if (window.isModified())
        state += QStringLiteral(" *");
    return state;
}

} // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editSequences_data();
    void editSequences();
    void undoAfterSaveReachesTheFile();
    void contextMenuUndoes();

private:
    // One step of a script: a key, "type C R TEXT", or "observe R TEXT".
    void run(const QString& step);

    std::unique_ptr<ProgramOnDisk> m_program;
};

void TestUndoRedo::init()
{
    m_program = std::make_unique<ProgramOnDisk>();
    QVERIFY(m_program->writeFile(kFileName, threePupils()));
    QVERIFY(m_program->open(kFileName));
}

void TestUndoRedo::cleanup()
{
    m_program.reset();
}

void TestUndoRedo::run(const QString& step)
{
    const QStringList words = step.split(u' ');
    const QString& verb = words.first();
    if (verb == QLatin1String("type")) {
        typeInto(m_program->grid(), words[1].toInt(), words[2].toInt(), words.value(3));
    } else if (verb == QLatin1String("observe")) {
        const QString text = words.mid(2).join(u' ');
        // The dialog is not shown: the sheet keeps the keyboard, as once the teacher is back.
        m_program->sheet()->setObservationRunner([text](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("observationEdit"))->setText(text);
            dialog.findChild<QPushButton*>(QStringLiteral("validateButton"))->click();
        });
        sheet::SpreadGrid* grid = m_program->grid();
        const int row = words[1].toInt();
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                           grid->visualItemRect(grid->item(row - 1, 6)).center());
    } else if (verb == QLatin1String("undo")) {
        pressKey(Qt::Key_Z, Qt::ControlModifier);
    } else if (verb == QLatin1String("redo")) {
        pressKey(Qt::Key_Y, Qt::ControlModifier);
    } else if (verb == QLatin1String("shift-redo")) {
        pressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
        bool known = false;
        const int key = keys.keyToValue(qPrintable(QStringLiteral("Key_") + verb), &known);
        QVERIFY2(known, qPrintable(step));
        pressKey(Qt::Key(key));
    }
}

void TestUndoRedo::editSequences_data()
{
    // Each step, then the sheet it leaves.
    QTest::addColumn<QStringList>("script");
    QTest::newRow("opened: nothing to undo") << QStringList{
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,1",
    };
    QTest::newRow("a grade, its rewrite with it") << QStringList{
        "type 4 1 15 => 12.50 --.-- 15 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "Return => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,2 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "redo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "shift-redo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "shift-redo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
    };
    QTest::newRow("a grade being typed is the last change") << QStringList{
        "type 4 1 9 => 12.50 --.-- 9 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "redo => 12.50 --.-- 09.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
    };
    QTest::newRow("overtyped grade comes back") << QStringList{
        "type 6 1 0 => 0 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,1 *",
        "Down => 00.00~ --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,2 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,1 *",
        "redo => 00.00~ --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,1 *",
    };
    QTest::newRow("a refused grade blocks undo, its correction is part of it") << QStringList{
        "type 4 1 15 => 12.50 --.-- 15 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "Return => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,2 *",
        "type 4 2 25 => 12.50 --.-- 15.00 1 | 07.00 _ 25 2 | _ _ معفى 3 @4,2 *",
        "Return => 12.50 --.-- 15.00 1 | 07.00 _ 25! 2 | _ _ معفى 3 @4,2 *",
        "undo => 12.50 --.-- 15.00 1 | 07.00 _ 25! 2 | _ _ معفى 3 @4,2 *",
        "type 4 2 14 => 12.50 --.-- 15.00 1 | 07.00 _ 14! 2 | _ _ معفى 3 @4,2 *",
        "Return => 12.50 --.-- 15.00 1 | 07.00 _ 14.00 2 | _ _ معفى 3 @4,3 *",
        "undo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,2 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "redo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "redo => 12.50 --.-- 15.00 1 | 07.00 _ 14.00 2 | _ _ معفى 3 @4,2 *",
    };
    QTest::newRow("a mark") << QStringList{
        "F1 => غ.ش. --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,2 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,1 *",
        "redo => غ.ش. --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,1 *",
    };
    QTest::newRow("an exempted row, cell by cell") << QStringList{
        "F2 => معفى معفى معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @5,1 *",
        "undo => 12.50 معفى معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @6,1 *",
        "undo => 12.50 --.-- معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @5,1 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "redo => 12.50 --.-- معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
    };
    QTest::newRow("an observation and the name's look") << QStringList{
        "observe 2 عمل جيد => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2#عمل جيد b | _ _ معفى 3 @9,3 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @7,2 *",
        "redo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2#عمل جيد b | _ _ معفى 3 @7,2 *",
    };
    QTest::newRow("a new change drops what was undone") << QStringList{
        "type 4 1 15 => 12.50 --.-- 15 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "type 4 2 11 => 12.50 --.-- _ 1 | 07.00 _ 11 2 | _ _ معفى 3 @4,2 *",
        "Down => 12.50 --.-- _ 1 | 07.00 _ 11.00 2 | _ _ معفى 3 @4,3 *",
        "redo => 12.50 --.-- _ 1 | 07.00 _ 11.00 2 | _ _ معفى 3 @4,3 *",
    };
    QTest::newRow("a save, then undo: unsaved again") << QStringList{
        "type 4 1 15 => 12.50 --.-- 15 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
        "Return => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,2 *",
        "F4 => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,2",
        "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @4,1 *",
    };
    QTest::newRow("the check of a cell passed over is no step") << QStringList{
        "type 5 2 => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @5,2",
        "Down => 12.50 --.-- _ 1 | 07.00 --.-- غ.ش. 2 | _ _ معفى 3 @5,3",
        "undo => 12.50 --.-- _ 1 | 07.00 --.-- غ.ش. 2 | _ _ معفى 3 @5,3",
    };
}

void TestUndoRedo::editSequences()
{
    QFETCH(QStringList, script);
    for (const QString& line : script) {
        const QString step = line.section(QStringLiteral(" => "), 0, 0);
        const QString expected = line.section(QStringLiteral(" => "), 1);
        run(step);
        QCOMPARE(shownState(*m_program->sheet()), expected);
    }
}

// What the file holds after each save: the grades undone are not written.
void TestUndoRedo::undoAfterSaveReachesTheFile()
{
    auto firstPupil = [this] {
        const gradefile::GradeFileRead read =
            gradefile::readGradeFile(m_program->filePath(kFileName));
        return read.lines ? read.lines->at(2).section(u'|', 3) : QStringLiteral("<unreadable>");
    };
    typeInto(m_program->grid(), 4, 1, QStringLiteral("15"));
    pressKey(Qt::Key_Return);
    pressKey(Qt::Key_F4);
    QCOMPARE(firstPupil(), QStringLiteral("أحمد الكافي|12.50|--.--|15.00"));
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    pressKey(Qt::Key_F4);
    QVERIFY(!m_program->sheet()->isModified());
    QCOMPARE(firstPupil(), QStringLiteral("أحمد الكافي|12.50|--.--|"));
    // Redone after that save, the grade is unsaved again until the next one.
    pressKey(Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(m_program->sheet()->isModified());
    pressKey(Qt::Key_F4);
    QCOMPARE(firstPupil(), QStringLiteral("أحمد الكافي|12.50|--.--|15.00"));
}

// The grid's context menu offers undo and redo when there is something to undo or redo.
void TestUndoRedo::contextMenuUndoes()
{
    auto* tools = m_program->sheet()->findChild<sheet::SheetTools*>(QStringLiteral("sheetTools"));
    QVERIFY(tools);
    // Shows the menu, runs use on the item named text, closes the menu.
    auto withItem = [tools](const QString& text, const std::function<void(QAction&)>& use) {
        QMenu* menu = tools->showMenu(QPoint(5, 5));
        const QList<QAction*> items = menu->actions();
        const auto found = std::find_if(items.cbegin(), items.cend(),
                                        [&text](const QAction* a) { return a->text() == text; });
        QVERIFY(found != items.cend());
        use(**found);
        menu->close();
    };
    auto enabled = [&withItem](const QString& text) {
        bool shown = false;
        withItem(text, [&shown](QAction& item) { shown = item.isEnabled(); });
        return shown;
    };
    auto trigger = [&withItem](const QString& text) {
        withItem(text, [](QAction& item) { item.trigger(); });
    };
    QVERIFY(!enabled(sheet::SheetTools::kUndoItem));
    QVERIFY(!enabled(sheet::SheetTools::kRedoItem));
    typeInto(m_program->grid(), 4, 1, QStringLiteral("15"));
    pressKey(Qt::Key_Return);
    QVERIFY(enabled(sheet::SheetTools::kUndoItem));
    QVERIFY(!enabled(sheet::SheetTools::kRedoItem));
    trigger(sheet::SheetTools::kUndoItem);
    QCOMPARE(m_program->grid()->text(4, 1), QString());
    QVERIFY(enabled(sheet::SheetTools::kRedoItem));
    trigger(sheet::SheetTools::kRedoItem);
    QCOMPARE(m_program->grid()->text(4, 1), QStringLiteral("15.00"));
}

QTEST_MAIN(TestUndoRedo)
#include "tst_undoredo.moc"
