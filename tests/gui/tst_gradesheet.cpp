// The grade sheet as the one gate of a sheet's data, under Qt's model tester: the check every
// grade passes whatever its source, what the journal, the save and the copies get of a refused
// text, and undo steps that make and take back their change through the same gate.
#include "../support/datatable.h"
#include "sheet/sheethistory.h"

#include <QAbstractItemModelTester>
#include <QRegularExpression>
#include <QTest>

using namespace sheet;
using namespace Qt::StringLiterals;

namespace {

constexpr Cell kFirstGrade{gradefile::kFirstGradeColumn, 1};

struct LastRecords : CellJournal {
    QMap<std::pair<int, int>, QString> last;
    void cellCommitted(Cell cell, const QString& text) override
    {
        last[{cell.column, cell.row}] = text;
    }
};

constexpr auto kFailTheTest = QAbstractItemModelTester::FailureReportingMode::QtTest;

// Three pupils, the first holding 14.00 from the file in its first exam.
void openThreePupils(GradeSheet& sheet)
{
    gradefile::SheetTable table(4);
    table[1][size_t(kFirstGrade.column)] = u"14.00"_s;
    sheet.reset(table);
}

// What a grade cell may hold once changed: nothing, a grade of the "00.00" form up to
// twenty, or a mark; anything else only when it is refused.
bool keepsToItsForms(const GradeSheet& sheet, Cell cell)
{
    static const QRegularExpression form(u"^([01][0-9]\\.[0-9][0-9]|20\\.00)?$"_s);
    return sheet.look(cell) == GradeLook::Refused || isMark(sheet.text(cell)) ||
           form.match(sheet.text(cell)).hasMatch();
}

} // namespace

class TestGradeSheet : public QObject {
    Q_OBJECT

private slots:
    void gate_data()
    {
        // saved: what the journal and the save get
        const auto table =
            dataTable<QString, QString, int, QString>({"typed", "shown", "look", "saved"});
        const auto row = [&table](const char* typed, const char* shown, GradeLook look,
                                  const char* saved) {
            table(typed, typed, shown, int(look), saved);
        };
        row("9", "09.00", GradeLook::Plain, "09.00");
        row("12,5", "12.50", GradeLook::Plain, "12.50");
        row("٧٫٥", "07.50", GradeLook::Plain, "07.50");
        row("0", "00.00", GradeLook::Zero, "00.00");
        row("غ.ش.", "غ.ش.", GradeLook::Plain, "غ.ش.");
        row("", "", GradeLook::Plain, "");
        row("25", "25", GradeLook::Refused, "14.00");
        row("abs", "abs", GradeLook::Refused, "14.00");
    }
    // Whatever sets a grade, the sheet checks it: a refused text stays to be corrected, while
    // the journal and the save keep the grade it replaced.
    void gate()
    {
        QFETCH(QString, typed);
        GradeSheet sheet;
        QAbstractItemModelTester tester(&sheet, kFailTheTest);
        openThreePupils(sheet);
        LastRecords journal;
        sheet.setJournal(&journal);
        QVERIFY(sheet.setData(sheet.indexOf(kFirstGrade), typed));
        QTEST(sheet.text(kFirstGrade), "shown");
        QTEST(int(sheet.look(kFirstGrade)), "look");
        QVERIFY(keepsToItsForms(sheet, kFirstGrade));
        QTEST(sheet.savedTable()[1][size_t(kFirstGrade.column)], "saved");
        QTEST(sheet.grade(1, 0), "saved"); // what the copies, statistics and card read
        QTEST(journal.last.value({kFirstGrade.column, 1}, u"14.00"_s), "saved");
        QVERIFY(sheet.isModified());
    }

    // A refused grade that came back from a crash has no step of its own: undoing its correction
    // goes back to the file's grade, never to the red one. (One typed is undone with the step
    // that typed it: the sheet window's edit sequences.)
    void undoNeverBringsBackARecoveredRefusedGrade()
    {
        GradeSheet sheet;
        QAbstractItemModelTester tester(&sheet, kFailTheTest);
        openThreePupils(sheet);
        QList<Cell> cursor;
        SheetHistory history(sheet, [&cursor](Cell cell) { cursor << cell; });
        sheet.change({{kFirstGrade, sheet.withText(kFirstGrade, u"25"_s)}});
        history.restart();
        sheet.setData(sheet.indexOf(kFirstGrade), u"15"_s);
        QCOMPARE(history.stack().count(), 1);
        history.stack().undo();
        QCOMPARE(sheet.text(kFirstGrade), u"14.00"_s);
        QVERIFY(sheet.look(kFirstGrade) != GradeLook::Refused);
        history.stack().redo();
        QCOMPARE(sheet.text(kFirstGrade), u"15.00"_s);
        QCOMPARE(cursor, QList<Cell>({kFirstGrade, kFirstGrade}));
    }
};

QTEST_MAIN(TestGradeSheet)
#include "tst_gradesheet.moc"
