#include "sheet/gradeentry.h"

#include <QMap>
#include <QSignalSpy>
#include <QTest>

#include <deque>

using namespace sheet;

namespace {

// A grid that moves its cursor as the real one does, in memory: keys reach grade entry
// first, Enter moves in the entry direction after asking to leave, typing opens an editor
// whose text the move commits (telling grade entry, as the window does on the grid's
// cellEditedAt), and setActiveCell from inside a leaving move has the last word. Shown
// grade columns are lastGradeColumn(gradeSpan) to 6.
class FakeGrid : public EntryGrid {
public:
    FakeGrid(int rows, int gradeSpan) : m_rows(rows), m_gradeSpan(gradeSpan) {}

    GradeEntry* entry = nullptr;
    QMap<std::pair<int, int>, QString> texts;
    QMap<std::pair<int, int>, CellColour> colours;
    Cell active{kFirstGradeColumn, 1};
    EnterDirection direction = EnterDirection::Down;
    int beeps = 0;

    int rowCount() const override { return m_rows; }
    QString text(Cell cell) const override
    {
        if (m_editing && cell == active)
            return m_editor;
        return texts.value({cell.column, cell.row});
    }
    void setText(Cell cell, const QString& text) override
    {
        if (cell == active)
            m_editing = false; // the program's text replaces what was being typed
        texts[{cell.column, cell.row}] = text;
    }
    void setBackground(Cell cell, CellColour colour) override
    {
        colours[{cell.column, cell.row}] = colour;
    }
    Cell activeCell() const override { return active; }
    QString activeText() const override { return text(active); }
    void setActiveCell(Cell cell) override
    {
        commit();
        active = cell;
        ++m_placements;
    }
    void setEnterDirection(EnterDirection d) override { direction = d; }
    void queueEnter() override { m_queued.push_back(true); }
    void beep() override { ++beeps; }

    void press(EntryKey key)
    {
        if (entry->keyPressed(key) || key != EntryKey::Enter)
            return;
        if (const std::optional<Cell> target = enterTarget())
            moveTo(*target);
        entry->characterTyped(U'\r');
    }
    void type(const QString& typed)
    {
        for (const char32_t character : typed.toUcs4()) {
            if (!entry->characterTyped(character) || active.row < 1)
                continue;
            const QString one = QString::fromUcs4(&character, 1);
            m_editor = m_editing ? m_editor + one : one;
            m_editing = true;
        }
    }
    // A move by an arrow key or a click.
    void moveTo(Cell target)
    {
        commit();
        if (target == active)
            return;
        const quint64 placements = m_placements;
        const bool allowed = entry->leavingCell(active, target);
        if (m_placements == placements && allowed)
            active = target;
    }
    void click(Cell cell)
    {
        moveTo(cell);
        entry->clicked(cell);
    }
    void runQueuedEnters()
    {
        while (!m_queued.empty()) {
            m_queued.pop_front();
            press(EntryKey::Enter);
        }
    }
    CellColour colour(Cell cell) const
    {
        return colours.value({cell.column, cell.row}, CellColour::Unchanged);
    }

private:
    void commit()
    {
        if (!m_editing)
            return;
        m_editing = false;
        const bool changed = texts.value({active.column, active.row}) != m_editor;
        texts[{active.column, active.row}] = m_editor;
        if (changed && entry)
            entry->cellEdited(active);
    }
    std::optional<Cell> enterTarget() const
    {
        if (direction == EnterDirection::Down)
            return active.row < m_rows ? std::optional<Cell>(Cell{active.column, active.row + 1})
                                       : std::nullopt;
        if (active.column - 1 >= lastGradeColumn(m_gradeSpan))
            return Cell{active.column - 1, active.row};
        return std::nullopt;
    }

    int m_rows;
    int m_gradeSpan;
    bool m_editing = false;
    QString m_editor;
    quint64 m_placements = 0;
    std::deque<bool> m_queued;
};

// One step of a script: "Enter", "F1" to "F4", "click C,R", "go C,R", "activate", or a
// text typed into the active cell.
void run(FakeGrid& grid, GradeEntry& entry, const QString& step)
{
    const auto cellOf = [](const QString& text) {
        const QStringList parts = text.split(u',');
        return Cell{parts.at(0).toInt(), parts.at(1).toInt()};
    };
    if (step == QLatin1String("Enter"))
        grid.press(EntryKey::Enter);
    else if (step == QLatin1String("F1"))
        grid.press(EntryKey::AbsentMark);
    else if (step == QLatin1String("F2"))
        grid.press(EntryKey::ExemptMark);
    else if (step == QLatin1String("F3"))
        grid.press(EntryKey::NoGradeMark);
    else if (step == QLatin1String("F4"))
        grid.press(EntryKey::SheetCommand);
    else if (step.startsWith(QLatin1String("click ")))
        grid.click(cellOf(step.mid(6)));
    else if (step.startsWith(QLatin1String("go ")))
        grid.moveTo(cellOf(step.mid(3)));
    else if (step == QLatin1String("activate"))
        entry.activated();
    else
        grid.type(step);
    grid.runQueuedEnters();
}

// "C,R=text" pairs, and colours as "C,R=white|yellow|red".
using CellTexts = QMap<QString, QString>;

// The last text the journal holds for each cell.
class RecordingJournal : public CellJournal {
public:
    QMap<std::pair<int, int>, QString> last;
    int records = 0;
    void cellCommitted(Cell cell, const QString& text) override
    {
        last[{cell.column, cell.row}] = text;
        ++records;
    }
};

CellColour colourNamed(const QString& name)
{
    if (name == QLatin1String("white"))
        return CellColour::White;
    if (name == QLatin1String("yellow"))
        return CellColour::Yellow;
    if (name == QLatin1String("red"))
        return CellColour::Red;
    return CellColour::Unchanged;
}

Cell cellNamed(const QString& name)
{
    const QStringList parts = name.split(u',');
    return {parts.at(0).toInt(), parts.at(1).toInt()};
}

const QString kNoGrade = QStringLiteral("--.--");
const QString kExempt = QStringLiteral("معفى");
const QString kAbsent = QStringLiteral("غ.ش.");

} // namespace

namespace QTest {
template <> char* toString(const Cell& cell)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(cell.column).arg(cell.row));
}
} // namespace QTest

Q_DECLARE_METATYPE(EntryMode)
Q_DECLARE_METATYPE(SheetKind)

class TestGradeEntry : public QObject {
    Q_OBJECT

private slots:
    void scripts_data();
    void scripts();
    void sheetCommandsWaitForAWrap();
    void saveChecks_data();
    void saveChecks();
    void plainSheet_data();
    void plainSheet();
    void restoredCells();
};

void TestGradeEntry::scripts_data()
{
    QTest::addColumn<EntryMode>("mode");
    QTest::addColumn<int>("gradeSpan");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("end");
    QTest::addColumn<CellTexts>("texts");
    QTest::addColumn<CellTexts>("colours");
    QTest::addColumn<bool>("modified");

    const auto V = EntryMode::Vertical;
    const auto H = EntryMode::Horizontal;
    QTest::newRow("grade rewritten on Enter")
        << V << 1 << 4 << "6,1" << QStringList{"12.5", "Enter"} << "6,2"
        << CellTexts{{"6,1", "12.50"}} << CellTexts{{"6,1", "white"}} << true;
    QTest::newRow("zero is yellow")
        << V << 1 << 4 << "6,1" << QStringList{"0", "Enter"} << "6,2" << CellTexts{{"6,1", "00.00"}}
        << CellTexts{{"6,1", "yellow"}} << true;
    QTest::newRow("third decimal rounds half up")
        << V << 1 << 4 << "6,1" << QStringList{"12.345", "Enter"} << "6,2"
        << CellTexts{{"6,1", "12.35"}} << CellTexts{{"6,1", "white"}} << true;
    QTest::newRow("above twenty is refused red and keeps the cursor")
        << V << 1 << 4 << "6,1" << QStringList{"25", "Enter"} << "6,1" << CellTexts{{"6,1", "25"}}
        << CellTexts{{"6,1", "red"}} << true;
    QTest::newRow("red cell corrected lets the cursor go")
        << V << 1 << 4 << "6,1" << QStringList{"25", "Enter", "15", "Enter"} << "6,2"
        << CellTexts{{"6,1", "15.00"}} << CellTexts{{"6,1", "white"}} << true;
    QTest::newRow("letters and a second point are discarded")
        << V << 1 << 4 << "6,1" << QStringList{"1a2.5.|", "Enter"} << "6,2"
        << CellTexts{{"6,1", "12.50"}} << CellTexts{{"6,1", "white"}} << true;
    QTest::newRow("empty cell left becomes no-grade")
        << V << 1 << 4 << "6,1" << QStringList{"Enter"} << "6,2" << CellTexts{{"6,1", "--.--"}}
        << CellTexts{{"6,1", "white"}} << false;
    QTest::newRow("vertical wrap to the next column")
        << V << 1 << 2 << "6,1" << QStringList{"8", "Enter", "19.999", "Enter"} << "5,1"
        << CellTexts{{"6,1", "08.00"}, {"6,2", "20.00"}} << CellTexts{{"6,2", "white"}} << true;
    QTest::newRow("vertical wrap refuses a red cell")
        << V << 1 << 2 << "6,2" << QStringList{"25", "Enter"} << "6,2" << CellTexts{{"6,2", "25"}}
        << CellTexts{{"6,2", "red"}} << true;
    QTest::newRow("vertical entry stops at the end of the sheet")
        << V << 1 << 2 << "5,2" << QStringList{"7", "Enter"} << "5,2" << CellTexts{{"5,2", "07.00"}}
        << CellTexts{{"5,2", "white"}} << true;
    QTest::newRow("horizontal entry to the next column")
        << H << 1 << 3 << "6,1" << QStringList{"12.5", "Enter"} << "5,1"
        << CellTexts{{"6,1", "12.50"}} << CellTexts{{"6,1", "white"}} << true;
    QTest::newRow("horizontal wrap to the next row")
        << H << 1 << 3 << "6,1" << QStringList{"12.5", "Enter", "7", "Enter"} << "6,2"
        << CellTexts{{"5,1", "07.00"}, {"6,2", "--.--"}} << CellTexts{{"5,1", "white"}} << true;
    QTest::newRow("horizontal wrap refuses a red cell")
        << H << 1 << 3 << "5,1" << QStringList{"21", "Enter"} << "5,1" << CellTexts{{"5,1", "21"}}
        << CellTexts{{"5,1", "red"}} << true;
    QTest::newRow("horizontal entry stops at the end of the sheet")
        << H << 1 << 3 << "5,3" << QStringList{"0", "Enter"} << "5,3" << CellTexts{{"5,3", "00.00"}}
        << CellTexts{{"5,3", "yellow"}} << true;
    QTest::newRow("horizontal entry with one column goes down")
        << H << 0 << 3 << "6,1" << QStringList{"9", "Enter"} << "6,2" << CellTexts{{"6,1", "09.00"}}
        << CellTexts{} << true;
    QTest::newRow("F1 marks absent and moves on")
        << V << 1 << 3 << "6,1" << QStringList{"F1"} << "6,2" << CellTexts{{"6,1", "غ.ش."}}
        << CellTexts{} << true;
    QTest::newRow("F1 over typing wins") << V << 1 << 3 << "6,1" << QStringList{"12", "F1"} << "6,2"
                                         << CellTexts{{"6,1", "غ.ش."}} << CellTexts{} << true;
    QTest::newRow("F3 marks no grade") << V << 1 << 3 << "5,2" << QStringList{"F3"} << "5,3"
                                       << CellTexts{{"5,2", "--.--"}} << CellTexts{} << true;
    QTest::newRow("F2 exempts the whole row")
        << V << 2 << 3 << "5,2" << QStringList{"F2"} << "5,2"
        << CellTexts{{"4,2", "معفى"}, {"5,2", "معفى"}, {"6,2", "معفى"}} << CellTexts{} << true;
    QTest::newRow("click on a name goes to the first grade")
        << V << 1 << 3 << "6,1" << QStringList{"click 7,3"} << "6,3" << CellTexts{} << CellTexts{}
        << false;
    QTest::newRow("a refused grade keeps the cursor against a click")
        << V << 1 << 3 << "6,1" << QStringList{"25", "click 7,3"} << "6,1"
        << CellTexts{{"6,1", "25"}} << CellTexts{{"6,1", "red"}} << true;
    QTest::newRow("a refused grade keeps the cursor against an arrow")
        << V << 1 << 3 << "6,1" << QStringList{"25", "go 5,1"} << "6,1" << CellTexts{{"6,1", "25"}}
        << CellTexts{{"6,1", "red"}} << true;
    QTest::newRow("coming back checks the cell left")
        << V << 1 << 3 << "6,1" << QStringList{"activate", "go 5,2", "7", "activate"} << "6,1"
        << CellTexts{{"5,2", "07.00"}} << CellTexts{{"5,2", "white"}} << true;
    QTest::newRow("coming back keeps a refused grade under the cursor")
        << V << 1 << 3 << "6,1" << QStringList{"activate", "go 5,2", "25", "activate"} << "5,2"
        << CellTexts{{"5,2", "25"}} << CellTexts{{"5,2", "red"}} << true;
    QTest::newRow("sheet commands type nothing")
        << V << 1 << 3 << "6,1" << QStringList{"F4", "3", "Enter"} << "6,2"
        << CellTexts{{"6,1", "03.00"}} << CellTexts{} << true;
}

// Each script runs from a fresh sheet; cells not named keep their text, and a cell named
// with no colour has none.
void TestGradeEntry::scripts()
{
    QFETCH(EntryMode, mode);
    QFETCH(int, gradeSpan);
    QFETCH(int, rows);
    QFETCH(QString, start);
    QFETCH(QStringList, script);
    QFETCH(QString, end);
    QFETCH(CellTexts, texts);
    QFETCH(CellTexts, colours);
    QFETCH(bool, modified);

    FakeGrid grid(rows, gradeSpan);
    GradeEntry entry(SheetKind::Grade, grid);
    RecordingJournal journal;
    entry.setJournal(&journal);
    grid.entry = &entry;
    entry.setEntryMode(mode);
    entry.setGradeSpan(gradeSpan);
    grid.active = cellNamed(start);
    for (const QString& step : script)
        run(grid, entry, step);

    // Whatever reached a cell reached the journal too, last text last: a crash at the end
    // of the script loses nothing once the journal is replayed.
    QCOMPARE(journal.last, grid.texts);
    QCOMPARE(grid.active, cellNamed(end));
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(grid.text(cellNamed(it.key())), it.value());
    for (auto it = colours.cbegin(); it != colours.cend(); ++it)
        QCOMPARE(grid.colour(cellNamed(it.key())), colourNamed(it.value()));
    QCOMPARE(entry.isModified(), modified);
    QVERIFY(!entry.isWrapPending());
}

// Between an Enter that starts a wrap and the move that ends it, no key does anything.
void TestGradeEntry::sheetCommandsWaitForAWrap()
{
    FakeGrid grid(2, 1);
    GradeEntry entry(SheetKind::Grade, grid);
    grid.entry = &entry;
    entry.setGradeSpan(1);
    grid.active = {6, 2};
    QVERIFY(!entry.keyPressed(EntryKey::Enter)); // the wrap is prepared for the grid's move
    QVERIFY(entry.isWrapPending());
    QCOMPARE(grid.active, (Cell{5, 0}));
    QVERIFY(entry.keyPressed(EntryKey::AbsentMark));
    QVERIFY(entry.keyPressed(EntryKey::SheetCommand));
    QCOMPARE(grid.text({6, 2}), QString());
    QVERIFY(entry.leavingCell(grid.active, {5, 1}));
    QVERIFY(!entry.isWrapPending());
}

void TestGradeEntry::saveChecks_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("aboveTwenty");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("written");

    QTest::newRow("grade rewritten") << "6,1"
                                     << "7" << false << true << "07.00";
    QTest::newRow("above twenty") << "6,1"
                                  << "21" << true << false << "21";
    QTest::newRow("twenty and a bit") << "6,1"
                                      << "20.001" << true << false << "20.001";
    QTest::newRow("empty cell stays empty") << "6,1"
                                            << "" << false << true << "";
    QTest::newRow("name column is not a grade") << "7,1"
                                                << "99" << false << true << "";
    // A grade cell of an opened file holds whatever the file held: the save reads its
    // number as the administration's system would, and refuses thirty.
    QTest::newRow("file's 3e1") << "6,1"
                                << "=3e1" << true << true << "3e1";
    QTest::newRow("file's 2 5") << "6,1"
                                << "=2 5" << true << true << "2 5";
}

// Before a save the grade under the cursor is written as leaving it would write it.
void TestGradeEntry::saveChecks()
{
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(bool, aboveTwenty);
    QFETCH(bool, passes);
    QFETCH(QString, written);

    FakeGrid grid(3, 1);
    GradeEntry entry(SheetKind::Grade, grid);
    grid.entry = &entry;
    grid.active = cellNamed(cell);
    if (typed.startsWith(u'='))
        grid.texts[{grid.active.column, grid.active.row}] = typed.mid(1);
    else if (grid.active.column <= kFirstGradeColumn)
        grid.type(typed);
    QCOMPARE(entry.isCellUnderCursorAboveTwenty(), aboveTwenty);
    QCOMPARE(entry.checkCellUnderCursor(), passes);
    QCOMPARE(grid.text(grid.active), written);
}

void TestGradeEntry::plainSheet_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("beeps");

    QTest::newRow("grade rewritten, no colour") << QStringList{"7", "go 1,2"} << "07.00"
                                                << "1,2" << 0;
    QTest::newRow("letters beep") << QStringList{"a7b"} << "7"
                                  << "1,1" << 2;
    QTest::newRow("above twenty keeps the cursor") << QStringList{"21", "go 1,2"} << "21"
                                                   << "1,1" << 0;
    // Enter is a discarded character there too.
    QTest::newRow("F2 marks only the cell") << QStringList{"F2"} << "معفى"
                                            << "1,2" << 1;
    QTest::newRow("above twenty keeps the cursor against a click")
        << QStringList{"21", "click 3,2"} << "21"
        << "1,1" << 0;
    QTest::newRow("click on a name goes to the grade") << QStringList{"click 3,2"} << "--.--"
                                                       << "1,2" << 0;
}

// The plain sheet: one grade column, no colour, a beep on a discarded character, and it
// never counts as modified.
void TestGradeEntry::plainSheet()
{
    QFETCH(QStringList, script);
    QFETCH(QString, text);
    QFETCH(QString, end);
    QFETCH(int, beeps);

    FakeGrid grid(3, 0);
    GradeEntry entry(SheetKind::Plain, grid);
    grid.entry = &entry;
    grid.active = {kPlainGradeColumn, 1};
    QSignalSpy entries(&entry, &GradeEntry::entryMade);
    for (const QString& step : script)
        run(grid, entry, step);
    QCOMPARE(grid.text({kPlainGradeColumn, 1}), text);
    QCOMPARE(grid.active, cellNamed(end));
    QCOMPARE(grid.beeps, beeps);
    QCOMPARE(grid.colour({kPlainGradeColumn, 1}), CellColour::Unchanged);
    QVERIFY(!entry.isModified());
    QCOMPARE(entries.count(), 0);
}

// Texts a journal kept, back in their cells after a crash: coloured as their check would
// colour them, the sheet modified, the cursor on a grade above twenty so that the save
// cannot write it, and nothing journaled again by grade entry.
void TestGradeEntry::restoredCells()
{
    FakeGrid grid(3, 2);
    GradeEntry entry(SheetKind::Grade, grid);
    RecordingJournal journal;
    entry.setJournal(&journal);
    grid.entry = &entry;
    entry.setGradeSpan(2);
    QSignalSpy entries(&entry, &GradeEntry::entryMade);
    entry.restoreCells({{{6, 1}, QStringLiteral("12.00")},
                        {{5, 2}, QStringLiteral("00.00")},
                        {{4, 3}, QStringLiteral("25")},
                        {{6, 3}, kAbsent}});

    QCOMPARE(grid.text({6, 1}), QStringLiteral("12.00"));
    QCOMPARE(grid.colour({6, 1}), CellColour::White);
    QCOMPARE(grid.colour({5, 2}), CellColour::Yellow);
    QCOMPARE(grid.colour({4, 3}), CellColour::Red);
    QCOMPARE(grid.text({6, 3}), kAbsent);
    QVERIFY(entry.isModified());
    QCOMPARE(entries.count(), 1);
    QCOMPARE(journal.records, 0);
    QCOMPARE(grid.active, (Cell{4, 3}));
    QVERIFY(entry.isCellUnderCursorAboveTwenty());
    entry.activated();
    QCOMPARE(grid.active, (Cell{4, 3}));
}

QTEST_APPLESS_MAIN(TestGradeEntry)
#include "tst_gradeentry.moc"
