// The grade sheet as its data's one gate, under Qt's model tester, and grade entry without a
// window.
#include "../support/datatable.h"
#include "../support/places.h"
#include "core/sheet/gradeentry.h"
#include "gui/windows/sheet/sheethistory.h"

#include <QtTest>

using namespace sheet;

namespace {

// A changed grade cell holds nothing, a "00.00" grade up to twenty, a mark, or a refused text.
bool keepsToItsForms(const GradeSheet& sheet, Cell cell)
{
    static const QRegularExpression form(QStringLiteral("^([01][0-9]\\.[0-9][0-9]|20\\.00)?$"));
    return sheet.checkResult(cell) == CheckResult::Refused || isMark(sheet.text(cell)) ||
           form.match(sheet.text(cell)).hasMatch();
}

// The last text the journal holds for each cell.
class RecordingJournal : public CellJournal {
public:
    QMap<QString, QString> last;
    void cellCommitted(Cell cell, const QString& text) override { last[nameOf(cell)] = text; }
};

// The real grid's cursor in memory: keys reach grade entry first, an Enter it leaves moves down
// after asking to leave, typing opens an editor a move commits, setActiveCell has the last word.
class FakeGrid : public EntryCursor {
public:
    // fileText: what the file holds under the cursor.
    FakeGrid(int rows, int gradeSpan, const QString& fileText = {})
        : entry(sheet, *this), m_rows(rows)
    {
        // The exams shown have headers, every pupil fields; the other columns are empty.
        gradefile::SheetTable table(size_t(rows) + 1);
        for (int column = 6 - gradeSpan; column <= kFirstGradeColumn; ++column)
            table[0][size_t(column)] = "exam";
        for (size_t row = 1; row < table.size(); ++row)
            for (int column : {0, 7, 8, 9, gradeSpan > 5 ? gradefile::kLevelColumn : 0})
                table[row][size_t(column)] = "pupil";
        table[1][size_t(active.column)] = fileText;
        sheet.reset(table);
        sheet.setJournal(&journal);
        // The program's text replaces the typing.
        QObject::connect(&sheet, &GradeSheet::cellChanged, &sheet, [this](Cell cell) {
            m_editing = m_editing && (m_committing || cell != active);
        });
    }

    GradeSheet sheet;
    QAbstractItemModelTester tester{&sheet, QAbstractItemModelTester::FailureReportingMode::QtTest};
    GradeEntry entry;
    RecordingJournal journal;
    Cell active{kFirstGradeColumn, 1};

    QString text(Cell cell) const
    {
        return m_editing && cell == active ? m_editor : sheet.text(cell);
    }
    Cell activeCell() const override { return active; }
    QString activeText() const override { return text(active); }
    void setActiveCell(Cell cell) override
    {
        commit();
        active = cell;
        ++m_placements;
    }
    void queueEnter() override { ++m_queued; }
    void beep() override {}

    void press(EntryKey key)
    {
        if (entry.keyPressed(key) || key != EntryKey::Enter)
            return;
        if (active.row < m_rows)
            moveTo({active.column, active.row + 1});
        else
            commit();
        entry.characterTyped(U'\r');
    }
    void type(const QString& typed)
    {
        for (const char32_t character : typed.toUcs4())
            if (entry.characterTyped(character) && active.row >= 1) {
                m_editor = (m_editing ? m_editor : QString()) + QString::fromUcs4(&character, 1);
                m_editing = true;
            }
    }
    // A move by an arrow key or a click.
    void moveTo(Cell target)
    {
        commit();
        const quint64 placements = m_placements;
        if (target != active && entry.leavingCell(active, target) && m_placements == placements)
            active = target;
    }
    // One step: "Enter", "F1" to "F4", "Ctrl+Home", "click P", "go P", "commit", "activate",
    // "paste TEXT" (a spreadsheet's block), or a text typed into the active cell; then its Enters.
    void run(const QString& step)
    {
        static const QMap<QString, EntryKey> keys{
            {"Enter", EntryKey::Enter},     {"F1", EntryKey::AbsentMark},
            {"F2", EntryKey::ExemptMark},   {"F3", EntryKey::NoGradeMark},
            {"F4", EntryKey::SheetCommand}, {"Ctrl+Home", EntryKey::FirstGrade}};
        const QString arg = step.section(u' ', 1);
        if (keys.contains(step))
            press(keys.value(step));
        else if (step.startsWith(QLatin1String("click ")))
            moveTo(cellNamed(arg)), entry.clicked(cellNamed(arg));
        else if (step.startsWith(QLatin1String("go ")))
            moveTo(cellNamed(arg));
        else if (step == QLatin1String("commit"))
            commit();
        else if (step == QLatin1String("activate"))
            entry.activated();
        else if (step.startsWith(QLatin1String("paste ")))
            entry.writeBrought(placeBlock(*spreadsheetRows(arg), active.row,
                                          *GradeSheet::examAt(active.column), m_rows,
                                          sheet.examCount())
                                   ->writes);
        else
            type(step);
        for (; m_queued > 0; --m_queued)
            press(EntryKey::Enter);
    }

private:
    // The editor's text into the cell; grade entry hears of it only when the text changed.
    void commit()
    {
        if (!std::exchange(m_editing, false) || sheet.text(active) == m_editor)
            return;
        m_committing = true;
        sheet.setData(sheet.indexOf(active), m_editor);
        m_committing = false;
    }

    int m_rows, m_queued = 0;
    bool m_editing = false, m_committing = false;
    QString m_editor;
    quint64 m_placements = 0;
};

const QMap<QString, CheckResult> kLooks{{"white", CheckResult::Accepted},
                                        {"yellow", CheckResult::Zero},
                                        {"red", CheckResult::Refused},
                                        {"none", CheckResult::Unchecked}};

} // namespace

class TestGradeSheet : public QObject {
    Q_OBJECT

private slots:
    void scripts_data()
    {
        // sheet: "V|H gradeSpan pupils start"; steps split on ";"; end: the cursor, " *" when
        // there is something to save; cells: "place=text[/colour]" the cells hold at the end.
        const auto row =
            dataTable<QString, QString, QString, QString>({"sheet", "steps", "end", "cells"});
        row("grade rewritten on Enter", "V 1 4 p1e1", "12.5;Enter", "p2e1 *", "p1e1=12.50/white");
        row("above twenty is refused and keeps the cursor", "V 1 4 p1e1", "25;Enter", "p1e1 *",
            "p1e1=25/red");
        row("red cell corrected lets the cursor go", "V 1 4 p1e1", "25;Enter;15;Enter", "p2e1 *",
            "p1e1=15.00/white");
        row("letters, bar and a second point are discarded", "V 1 4 p1e1", "1a2.5.|;Enter",
            "p2e1 *", "p1e1=12.50/white");
        row("empty cell left: no entry", "V 1 4 p1e1", "Enter", "p2e1", "p1e1=--.--/white");
        row("vertical wrap to the next exam", "V 1 2 p1e1", "8;Enter;19.999;Enter", "p1e2 *",
            "p1e1=08.00 p2e1=20.00/white");
        row("vertical wrap refuses a red cell", "V 1 2 p2e1", "25;Enter", "p2e1 *", "p2e1=25/red");
        row("vertical entry stops at the end", "V 1 2 p2e2", "7;Enter", "p2e2 *",
            "p2e2=07.00/white");
        row("horizontal wrap to the next pupil", "H 1 3 p1e1", "12.5;Enter;7;Enter", "p2e1 *",
            "p1e2=07.00/white p2e1=--.--");
        row("horizontal wrap refuses a red cell", "H 1 3 p1e2", "21;Enter", "p1e2 *",
            "p1e2=21/red");
        row("F1 over typing wins and moves on", "V 1 3 p1e1", "12;F1", "p2e1 *", "p1e1=غ.ش.");
        row("F3 marks no grade", "V 1 3 p2e2", "F3", "p3e2 *", "p2e2=--.--");
        // The third Enter wraps from an empty cell, which stays empty.
        row("F2 exempts the whole row", "V 2 3 p2e2", "F2", "p2e2 *",
            "p2e3=معفى p2e2=معفى p2e1=معفى p3e1=/white");
        row("F2 never reaches the names", "V 6 3 p2e1", "F2", "p2e3 *", "p2e6=معفى p2name=pupil");
        row("click on a name goes to the first grade", "V 1 3 p1e1", "click p3name", "p3e1", "");
        row("refused grade keeps the cursor against a click", "V 1 3 p1e1", "25;click p3name",
            "p1e1 *", "p1e1=25/red");
        row("refused grade keeps the cursor against an arrow", "V 1 3 p1e1", "25;go p1e2", "p1e1 *",
            "p1e1=25/red");
        row("coming back checks the cell left", "V 1 3 p1e1", "activate;go p2e2;7;activate",
            "p1e1 *", "p2e2=07.00/white");
        row("coming back keeps a refused grade", "V 1 3 p1e1", "activate;go p2e2;25;activate",
            "p2e2 *", "p2e2=25/red");
        // The typing check would let a word pass as a grade of nought.
        row("a pasted word is refused until typed over", "V 1 3 p1e1", "paste abs;go p2e1;activate",
            "p1e1 *", "p1e1=abs/red");
        row("sheet commands type nothing", "V 1 3 p1e1", "F4;3;Enter", "p2e1 *", "p1e1=03.00");
        // Typing that ends without a move (the teacher goes to another window) is checked too.
        row("grade checked as it is committed", "V 1 3 p1e1", "15;Enter;9;commit", "p2e1 *",
            "p1e1=15.00 p2e1=09.00/white");
        row("Ctrl+Home goes to the first exam of the first pupil", "V 3 3 p3e3", "7;Ctrl+Home",
            "p1e1 *", "p3e3=07.00/white");
        row("Ctrl+Home keeps a refused grade", "V 3 3 p3e3", "25;Ctrl+Home", "p3e3 *",
            "p3e3=25/red");
    }

    // Each script runs from a fresh sheet; cells not named keep their text.
    void scripts()
    {
        const auto [sheet, steps, end, cells] =
            fetchRow<QString, QString, QString, QString>({"sheet", "steps", "end", "cells"});
        const QStringList shape = sheet.split(u' ');
        FakeGrid grid(shape.at(2).toInt(), shape.at(1).toInt());
        grid.entry.setEntryMode(shape.at(0) == u'H' ? EntryMode::Horizontal : EntryMode::Vertical);
        grid.active = cellNamed(shape.at(3));
        for (const QString& step : steps.split(u';'))
            grid.run(step);
        for (int row = 1; row <= grid.sheet.pupilCount(); ++row)
            for (int exam = 0; exam < GradeSheet::kExams; ++exam)
                QVERIFY(keepsToItsForms(grid.sheet, GradeSheet::gradeCell(row, exam)));

        // The journal holds what the save would write, never a refused text: a crash loses nothing.
        for (auto it = grid.journal.last.cbegin(); it != grid.journal.last.cend(); ++it)
            QCOMPARE(grid.sheet.acceptedState(cellNamed(it.key())).text, it.value());
        QCOMPARE(nameOf(grid.active) + (grid.sheet.isModified() ? " *" : ""), end);
        for (const QString& named : cells.split(u' ', Qt::SkipEmptyParts)) {
            const Cell cell = cellNamed(named.section(u'=', 0, 0));
            QCOMPARE(grid.text(cell), named.section(u'=', 1).section(u'/', 0, 0));
            if (named.contains(u'/'))
                QCOMPARE(grid.sheet.checkResult(cell), kLooks.value(named.section(u'/', 1)));
        }
    }

    void saveChecks_data()
    {
        // typed: "=text" when the cell holds it from the file
        const auto row =
            dataTable<QString, bool, bool, QString>({"typed", "aboveTwenty", "passes", "written"});
        row("twenty and a bit", "20.001", true, false, "20.001");
        row("empty cell stays empty", "", false, true, "");
        // A file's own text: the save reads its number as the administration would, refusing 30.
        row("file's 3e1", "=3e1", true, true, "3e1");
        row("file's 2 5", "=2 5", true, true, "2 5");
    }

    // Before a save the grade under the cursor is written as leaving it would write it.
    void saveChecks()
    {
        QFETCH(QString, typed);
        FakeGrid grid(3, 1, typed.startsWith(u'=') ? typed.mid(1) : QString());
        if (!typed.startsWith(u'='))
            grid.type(typed);
        QTEST(grid.entry.isCellUnderCursorAboveTwenty(), "aboveTwenty");
        QTEST(grid.entry.checkCellUnderCursor(), "passes");
        QTEST(grid.text(grid.active), "written");
    }

    // Texts back from a journal are checked: modified once, the cursor on the first refused grade.
    void restoredCells()
    {
        FakeGrid grid(3, 2);
        QSignalSpy entries(&grid.entry, &GradeEntry::entryMade);
        QList<std::pair<Cell, CellState>> kept;
        for (const char* place : {"p1e1", "p3e3", "p3e2"})
            kept.append({cellNamed(place),
                         grid.sheet.withText(cellNamed(place), place[1] == '1' ? "12" : "25")});
        grid.entry.recoverCells(kept);
        QCOMPARE(grid.text(cellNamed("p1e1")), QStringLiteral("12.00"));
        QVERIFY(grid.sheet.isModified() && entries.count() == 1);
        grid.entry.activated();
        QCOMPARE(nameOf(grid.active), QStringLiteral("p3e3"));
    }

    void gate_data()
    {
        // saved: what the journal and the save get
        const auto table =
            dataTable<QString, QString, int, QString>({"typed", "shown", "look", "saved"});
        const auto row = [&table](const char* typed, const char* shown, CheckResult result,
                                  const char* saved) {
            table(typed, typed, shown, int(result), saved);
        };
        row("9", "09.00", CheckResult::Accepted, "09.00");
        row("12,5", "12.50", CheckResult::Accepted, "12.50");
        row("٧٫٥", "07.50", CheckResult::Accepted, "07.50");
        row("0", "00.00", CheckResult::Zero, "00.00");
        row("غ.ش.", "غ.ش.", CheckResult::Accepted, "غ.ش.");
        row("", "", CheckResult::Accepted, "");
        row("25", "25", CheckResult::Refused, "14.00");
        row("abs", "abs", CheckResult::Refused, "14.00");
    }
    // A refused text stays to be corrected; the journal and the save keep the grade it replaced.
    void gate()
    {
        QFETCH(QString, typed);
        FakeGrid grid(3, 1, QStringLiteral("14.00"));
        QVERIFY(grid.sheet.setData(grid.sheet.indexOf(grid.active), typed));
        QTEST(grid.sheet.text(grid.active), "shown");
        QTEST(int(grid.sheet.checkResult(grid.active)), "look");
        QVERIFY(keepsToItsForms(grid.sheet, grid.active));
        QTEST(grid.sheet.savedTable()[1][size_t(grid.active.column)], "saved");
        QTEST(grid.sheet.grade(1, 0), "saved");
        QTEST(grid.journal.last.value(nameOf(grid.active), QStringLiteral("14.00")), "saved");
        QVERIFY(grid.sheet.isModified());
    }

    // Undoing the correction of a recovered refused grade goes back to the file's grade.
    void undoNeverBringsBackARecoveredRefusedGrade()
    {
        FakeGrid grid(3, 1, QStringLiteral("14.00"));
        QList<Cell> cursor;
        SheetHistory history(grid.sheet, [&cursor](Cell cell) { cursor << cell; });
        grid.entry.recoverCells({{grid.active, grid.sheet.withText(grid.active, "25")}});
        history.restart();
        grid.sheet.setData(grid.sheet.indexOf(grid.active), "15");
        QCOMPARE(history.stack().count(), 1);
        history.stack().undo();
        QCOMPARE(grid.sheet.text(grid.active), QStringLiteral("14.00"));
        QVERIFY(keepsToItsForms(grid.sheet, grid.active));
        history.stack().redo();
        QCOMPARE(grid.sheet.text(grid.active), QStringLiteral("15.00"));
        QCOMPARE(cursor, QList<Cell>({grid.active, grid.active}));
    }
};

QTEST_GUILESS_MAIN(TestGradeSheet)
#include "tst_gradesheet.moc"
