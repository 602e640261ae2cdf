#include "sheet/cellrules.h"

#include <QMap>
#include <QTest>

#include <utility>

using namespace sheet;

Q_DECLARE_METATYPE(sheet::Cell)
Q_DECLARE_METATYPE(sheet::CellColour)
Q_DECLARE_METATYPE(sheet::EntryMode)
Q_DECLARE_METATYPE(sheet::EnterAction)
Q_DECLARE_METATYPE(sheet::EnterDirection)

namespace sheet {
// Lets QCOMPARE print a cell that differs.
char* toString(const Cell& cell)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(cell.column).arg(cell.row));
}
} // namespace sheet

namespace {

const QString kNoGrade = QStringLiteral("--.--");
const QString kExempt = QStringLiteral("معفى");
const QString kAbsent = QStringLiteral("غ.ش.");

// 400 digits: far beyond the largest double.
const QString kHuge = QString(400, u'9');

} // namespace

class TestCellRules : public QObject {
    Q_OBJECT

private slots:
    void marks();
    void keyFilter_data();
    void keyFilter();
    void cellValue_data();
    void cellValue();
    void valueTooLargeForADouble();
    void gradeText_data();
    void gradeText();
    void gradeSheetCheck_data();
    void gradeSheetCheck();
    void plainSheetCheck_data();
    void plainSheetCheck();
    void clickRule_data();
    void clickRule();
    void exemptionColumns_data();
    void exemptionColumns();
    void enterPhaseOne_data();
    void enterPhaseOne();
    void wrapCells_data();
    void wrapCells();
    void wrapCompletion_data();
    void wrapCompletion();
};

void TestCellRules::marks()
{
    QVERIFY(isMark(kNoGrade));
    QVERIFY(isMark(kExempt));
    QVERIFY(isMark(kAbsent));
    QVERIFY(!isMark(QStringLiteral("00.00")));
    QVERIFY(!isMark(QStringLiteral("غ.ش")));
    QVERIFY(!isMark(QStringLiteral(" معفى")));
    QVERIFY(!isMark(QString()));
}

void TestCellRules::keyFilter_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0 on empty") << int('0') << QString() << true;
    QTest::newRow("9 after digits") << int('9') << QStringLiteral("1") << true;
    QTest::newRow("third decimal is let through") << int('5') << QStringLiteral("12.34") << true;
    QTest::newRow("third integer digit is let through") << int('7') << QStringLiteral("20") << true;
    QTest::newRow("backspace") << 8 << QStringLiteral("12") << true;
    QTest::newRow("backspace on empty") << 8 << QString() << true;
    QTest::newRow("point after digit") << int('.') << QStringLiteral("12") << true;
    QTest::newRow("point on empty") << int('.') << QString() << false;
    QTest::newRow("second point") << int('.') << QStringLiteral("12.5") << false;
    QTest::newRow("point after a trailing point") << int('.') << QStringLiteral("5.") << false;
    QTest::newRow("point in a mark holding a point") << int('.') << kAbsent << false;
    QTest::newRow("point after a mark without one") << int('.') << kExempt << true;
    QTest::newRow("minus") << int('-') << QStringLiteral("12") << false;
    QTest::newRow("plus") << int('+') << QString() << false;
    QTest::newRow("comma") << int(',') << QStringLiteral("12") << false;
    QTest::newRow("latin letter") << int('a') << QString() << false;
    QTest::newRow("exponent letter") << int('e') << QStringLiteral("1") << false;
    QTest::newRow("space") << int(' ') << QStringLiteral("1") << false;
    QTest::newRow("enter") << 13 << QStringLiteral("12") << false;
    QTest::newRow("tab") << 9 << QStringLiteral("12") << false;
    QTest::newRow("arabic letter") << int(u'ع') << QString() << false;
    QTest::newRow("arabic-indic digit") << int(u'٣') << QString() << false;
    QTest::newRow("arabic decimal separator") << int(u'٫') << QStringLiteral("12") << false;
    QTest::newRow("slash just below the digits") << int('/') << QString() << false;
    QTest::newRow("colon just above the digits") << int(':') << QString() << false;
}

void TestCellRules::keyFilter()
{
    QFETCH(int, code);
    QFETCH(QString, current);
    QFETCH(bool, accepted);
    const KeyDecision grade = filterKey(SheetKind::Grade, code, current);
    QCOMPARE(grade.accepted, accepted);
    QVERIFY(!grade.beep); // the grade sheet discards silently
    const KeyDecision plain = filterKey(SheetKind::Plain, code, current);
    QCOMPARE(plain.accepted, accepted);
    QCOMPARE(plain.beep, !accepted);
}

void TestCellRules::cellValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("integer") << QStringLiteral("12") << 12.0;
    QTest::newRow("decimal") << QStringLiteral("12.5") << 12.5;
    QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("5.") << 5.0;
    QTest::newRow("leading zeros") << QStringLiteral("0012") << 12.0;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("no exponent") << QStringLiteral("1e5") << 1.0;
    QTest::newRow("no blank skipped at the start") << QStringLiteral(" 12") << 0.0;
    QTest::newRow("blank stops the number") << QStringLiteral("1 2") << 1.0;
    QTest::newRow("no sign") << QStringLiteral("-3") << 0.0;
    QTest::newRow("no plus sign") << QStringLiteral("+3") << 0.0;
    QTest::newRow("comma is no separator") << QStringLiteral("12,5") << 12.0;
    QTest::newRow("trailing text") << QStringLiteral("20.5abc") << 20.5;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("lone point") << QStringLiteral(".") << 0.0;
    QTest::newRow("no-grade mark") << kNoGrade << 0.0;
    QTest::newRow("exemption mark") << kExempt << 0.0;
    QTest::newRow("absence mark") << kAbsent << 0.0;
    QTest::newRow("arabic-indic digits") << QStringLiteral("١٢") << 0.0;
    QTest::newRow("above range") << QStringLiteral("20.01") << 20.01;
    QTest::newRow("many decimals") << QStringLiteral("12.345678") << 12.345678;
    QTest::newRow("1E308 as digits") << QLatin1String("1") + QString(308, u'0') << 1e308;
    QTest::newRow("too small for a double")
        << QLatin1String("0.") + QString(400, u'0') + QLatin1String("1") << 0.0;
}

void TestCellRules::cellValue()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const std::optional<double> value = sheet::cellValue(text);
    QVERIFY(value.has_value());
    QCOMPARE(*value, expected);
}

void TestCellRules::valueTooLargeForADouble()
{
    QVERIFY(!sheet::cellValue(kHuge).has_value());
    QVERIFY(!sheet::cellValue(QLatin1String("1") + QString(309, u'0')).has_value());
    QVERIFY(!sheet::cellValue(kHuge + QLatin1String(".5")).has_value());
    // Leading zeros do not make a number large.
    QCOMPARE(sheet::cellValue(QString(400, u'0') + QLatin1String("7")), 7.0);
}

void TestCellRules::gradeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one decimal") << QStringLiteral("12.5") << QStringLiteral("12.50");
    QTest::newRow("one digit") << QStringLiteral("7") << QStringLiteral("07.00");
    QTest::newRow("twenty") << QStringLiteral("20") << QStringLiteral("20.00");
    QTest::newRow("trailing point") << QStringLiteral("5.") << QStringLiteral("05.00");
    QTest::newRow("leading point") << QStringLiteral(".5") << QStringLiteral("00.50");
    QTest::newRow("two leading zeros") << QStringLiteral("007") << QStringLiteral("07.00");
    QTest::newRow("zeros before two digits") << QStringLiteral("0012") << QStringLiteral("12.00");
    QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("00.00");
    QTest::newRow("already a grade text") << QStringLiteral("07.25") << QStringLiteral("07.25");
    QTest::newRow("third decimal half rounds up")
        << QStringLiteral("12.345") << QStringLiteral("12.35");
    QTest::newRow("third decimal below half")
        << QStringLiteral("12.344") << QStringLiteral("12.34");
    QTest::newRow("only the third decimal decides")
        << QStringLiteral("12.3449999") << QStringLiteral("12.34");
    // 0.125 and 2.675 are not exact in binary; the digits are.
    QTest::newRow("half not exact in binary") << QStringLiteral("2.675") << QStringLiteral("02.68");
    QTest::newRow("half exact in binary") << QStringLiteral("0.125") << QStringLiteral("00.13");
    QTest::newRow("carry into the units") << QStringLiteral("9.995") << QStringLiteral("10.00");
    QTest::newRow("carry to twenty") << QStringLiteral("19.999") << QStringLiteral("20.00");
    QTest::newRow("carry from nothing") << QStringLiteral(".995") << QStringLiteral("01.00");
    QTest::newRow("rounds down to zero") << QStringLiteral("0.004") << QStringLiteral("00.00");
    QTest::newRow("rounds up from zero") << QStringLiteral("0.005") << QStringLiteral("00.01");
    QTest::newRow("carry adds a digit") << QStringLiteral("99.999") << QStringLiteral("100.00");
    QTest::newRow("mark unchanged") << kAbsent << kAbsent;
    QTest::newRow("no-grade mark unchanged") << kNoGrade << kNoGrade;
    QTest::newRow("lone point unchanged") << QStringLiteral(".") << QStringLiteral(".");
    QTest::newRow("leading blank unchanged") << QStringLiteral(" 12") << QStringLiteral(" 12");
    QTest::newRow("trailing blank unchanged") << QStringLiteral("12 ") << QStringLiteral("12 ");
    QTest::newRow("exponent unchanged") << QStringLiteral("1e5") << QStringLiteral("1e5");
    QTest::newRow("sign unchanged") << QStringLiteral("-3") << QStringLiteral("-3");
    QTest::newRow("two points unchanged") << QStringLiteral("1.2.3") << QStringLiteral("1.2.3");
    QTest::newRow("empty unchanged") << QString() << QString();
}

void TestCellRules::gradeText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(toGradeText(text), expected);
}

namespace {

void addCheckColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<CellColour>("colour");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("tooLarge");
}

} // namespace

void TestCellRules::gradeSheetCheck_data()
{
    addCheckColumns();
    const CellColour white = CellColour::White;
    const CellColour yellow = CellColour::Yellow;
    const CellColour red = CellColour::Red;
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("12.5") << QStringLiteral("12.5") << QStringLiteral("12.50") << white << false << false;
    row("7") << QStringLiteral("7") << QStringLiteral("07.00") << white << false << false;
    row("20") << QStringLiteral("20") << QStringLiteral("20.00") << white << false << false;
    row("5.") << QStringLiteral("5.") << QStringLiteral("05.00") << white << false << false;
    row("007") << QStringLiteral("007") << QStringLiteral("07.00") << white << false << false;
    row("0012") << QStringLiteral("0012") << QStringLiteral("12.00") << white << false << false;
    row(".5") << QStringLiteral(".5") << QStringLiteral("00.50") << white << false << false;
    row("0 is yellow") << QStringLiteral("0") << QStringLiteral("00.00") << yellow << false
                       << false;
    row("00.00 is yellow") << QStringLiteral("00.00") << QStringLiteral("00.00") << yellow << false
                           << false;
    row("0.004 rounds to a yellow zero")
        << QStringLiteral("0.004") << QStringLiteral("00.00") << yellow << false << false;
    row("0.005 is not zero") << QStringLiteral("0.005") << QStringLiteral("00.01") << white << false
                             << false;
    row("20.01 refused") << QStringLiteral("20.01") << QStringLiteral("20.01") << red << true
                         << false;
    row("21 refused") << QStringLiteral("21") << QStringLiteral("21") << red << true << false;
    row("empty becomes no grade") << QString() << kNoGrade << white << false << false;
    row("lone point becomes no grade")
        << QStringLiteral(".") << kNoGrade << white << false << false;
    row("spaced point becomes no grade")
        << QStringLiteral(" . ") << kNoGrade << white << false << false;
    row("blanks only stay") << QStringLiteral("  ") << QStringLiteral("  ") << white << false
                            << false;
    row("no-grade mark") << kNoGrade << kNoGrade << white << false << false;
    row("exemption mark") << kExempt << kExempt << white << false << false;
    row("absence mark") << kAbsent << kAbsent << white << false << false;
    row("third decimal rounds up")
        << QStringLiteral("12.345") << QStringLiteral("12.35") << white << false << false;
    row("third decimal rounds down")
        << QStringLiteral("12.344") << QStringLiteral("12.34") << white << false << false;
    row("19.999 rounds to twenty")
        << QStringLiteral("19.999") << QStringLiteral("20.00") << white << false << false;
    row("20.000 in range") << QStringLiteral("20.000") << QStringLiteral("20.00") << white << false
                           << false;
    // The range is checked on the value before any rounding: 20.004 would show as 20.00.
    row("20.004 refused") << QStringLiteral("20.004") << QStringLiteral("20.004") << red << true
                          << false;
    row("20.005 refused") << QStringLiteral("20.005") << QStringLiteral("20.005") << red << true
                          << false;
    row("huge refused") << kHuge << kHuge << red << true << true;
    row("1E308 is merely out of range")
        << QLatin1String("1") + QString(308, u'0') << QLatin1String("1") + QString(308, u'0') << red
        << true << false;
    // Pasted texts: passed when their value is in range, then left as they are.
    row("pasted negative has value 0")
        << QStringLiteral("-3") << QStringLiteral("-3") << white << false << false;
    row("pasted 25 with a sign") << QStringLiteral("-25") << QStringLiteral("-25") << white << false
                                 << false;
    row("pasted leading blank") << QStringLiteral(" 25") << QStringLiteral(" 25") << white << false
                                << false;
    row("pasted exponent") << QStringLiteral("1e5") << QStringLiteral("1e5") << white << false
                           << false;
    row("pasted text after a grade")
        << QStringLiteral("12abc") << QStringLiteral("12abc") << white << false << false;
    row("pasted text after an excess grade")
        << QStringLiteral("25abc") << QStringLiteral("25abc") << red << true << false;
    row("pasted text after a huge number")
        << kHuge + QLatin1String("x") << kHuge + QLatin1String("x") << red << true << true;
}

void TestCellRules::gradeSheetCheck()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(CellColour, colour);
    QFETCH(bool, refused);
    QFETCH(bool, tooLarge);
    const CellCheck check = checkCell(SheetKind::Grade, text);
    QCOMPARE(check.text, expected);
    QCOMPARE(check.colour, colour);
    QCOMPARE(check.refused, refused);
    QCOMPARE(check.tooLarge, tooLarge);
}

void TestCellRules::plainSheetCheck_data()
{
    addCheckColumns();
    const CellColour none = CellColour::Unchanged;
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("19.5") << QStringLiteral("19.5") << QStringLiteral("19.50") << none << false << false;
    row("0 not coloured") << QStringLiteral("0") << QStringLiteral("00.00") << none << false
                          << false;
    row("20") << QStringLiteral("20") << QStringLiteral("20.00") << none << false << false;
    row("25 refused") << QStringLiteral("25") << QStringLiteral("25") << none << true << false;
    row("20.005 refused") << QStringLiteral("20.005") << QStringLiteral("20.005") << none << true
                          << false;
    row("empty becomes no grade") << QString() << kNoGrade << none << false << false;
    // No lone-point step here: "." has the value 0 and is not a number, so it stays.
    row("lone point stays") << QStringLiteral(".") << QStringLiteral(".") << none << false << false;
    row("spaced point stays") << QStringLiteral(" . ") << QStringLiteral(" . ") << none << false
                              << false;
    row("exemption mark") << kExempt << kExempt << none << false << false;
    row("pasted negative") << QStringLiteral("-3") << QStringLiteral("-3") << none << false
                           << false;
    row("huge refused") << kHuge << kHuge << none << true << true;
}

void TestCellRules::plainSheetCheck()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(CellColour, colour);
    QFETCH(bool, refused);
    QFETCH(bool, tooLarge);
    const CellCheck check = checkCell(SheetKind::Plain, text);
    QCOMPARE(check.text, expected);
    QCOMPARE(check.colour, colour);
    QCOMPARE(check.refused, refused);
    QCOMPARE(check.tooLarge, tooLarge);
}

void TestCellRules::clickRule_data()
{
    QTest::addColumn<bool>("plain");
    QTest::addColumn<Cell>("clicked");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<Cell>("target");
    QTest::newRow("name column of row 8") << false << Cell{7, 8} << true << Cell{6, 8};
    QTest::newRow("order number column") << false << Cell{9, 2} << true << Cell{6, 2};
    QTest::newRow("first grade column") << false << Cell{6, 3} << false << Cell{};
    QTest::newRow("another grade column") << false << Cell{4, 3} << false << Cell{};
    QTest::newRow("row headers") << false << Cell{0, 3} << false << Cell{};
    QTest::newRow("column header of the names") << false << Cell{7, 0} << true << Cell{6, 0};
    QTest::newRow("plain: name column of row 8") << true << Cell{2, 8} << true << Cell{1, 8};
    QTest::newRow("plain: last column") << true << Cell{6, 5} << true << Cell{1, 5};
    QTest::newRow("plain: grade column") << true << Cell{1, 5} << false << Cell{};
    QTest::newRow("plain: row headers") << true << Cell{0, 5} << false << Cell{};
}

void TestCellRules::clickRule()
{
    QFETCH(bool, plain);
    QFETCH(Cell, clicked);
    QFETCH(bool, moves);
    QFETCH(Cell, target);
    const std::optional<Cell> result =
        clickTarget(plain ? SheetKind::Plain : SheetKind::Grade, clicked);
    QCOMPARE(result.has_value(), moves);
    if (moves)
        QCOMPARE(*result, target);
}

void TestCellRules::exemptionColumns_data()
{
    QTest::addColumn<int>("gradeSpan");
    QTest::addColumn<QList<int>>("columns");
    QTest::newRow("three shown") << 2 << QList<int>{4, 5, 6};
    QTest::newRow("one shown") << 0 << QList<int>{6};
    QTest::newRow("all six shown") << 5 << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("never column 0") << 6 << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("never the names") << -1 << QList<int>{6};
}

void TestCellRules::exemptionColumns()
{
    QFETCH(int, gradeSpan);
    QFETCH(QList<int>, columns);
    QCOMPARE(sheet::exemptionColumns(gradeSpan), columns);
}

void TestCellRules::enterPhaseOne_data()
{
    QTest::addColumn<EntryMode>("mode");
    QTest::addColumn<Cell>("active");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("gradeSpan");
    QTest::addColumn<bool>("wrapFlag");
    QTest::addColumn<EnterAction>("action");
    QTest::addColumn<EnterDirection>("direction");
    QTest::addColumn<Cell>("prePosition");
    QTest::addColumn<bool>("flagAfter");

    const EntryMode v = EntryMode::Vertical;
    const EntryMode h = EntryMode::Horizontal;
    const EnterDirection down = EnterDirection::Down;
    const EnterDirection next = EnterDirection::NextColumn;
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

    row("vertical, middle row") << v << Cell{6, 3} << 10 << 1 << false << EnterAction::Move << down
                                << Cell{} << false;
    row("vertical, row before last")
        << v << Cell{5, 9} << 10 << 1 << false << EnterAction::Move << down << Cell{} << false;
    row("vertical, last row, wraps to next column")
        << v << Cell{6, 10} << 10 << 1 << false << EnterAction::PrepareWrap << down << Cell{5, 0}
        << true;
    row("vertical, last row, middle column wraps")
        << v << Cell{4, 10} << 10 << 4 << false << EnterAction::PrepareWrap << down << Cell{3, 0}
        << true;
    row("vertical, last row of the last column stays")
        << v << Cell{5, 10} << 10 << 1 << false << EnterAction::CheckInPlace << down << Cell{}
        << false;
    row("vertical, one column shown, last row stays")
        << v << Cell{6, 10} << 10 << 0 << false << EnterAction::CheckInPlace << down << Cell{}
        << false;
    row("vertical, one pupil, wraps") << v << Cell{6, 1} << 1 << 1 << false
                                      << EnterAction::PrepareWrap << down << Cell{5, 0} << true;
    row("horizontal, first column moves on")
        << h << Cell{6, 3} << 10 << 1 << false << EnterAction::Move << next << Cell{} << false;
    row("horizontal, middle column moves on")
        << h << Cell{3, 3} << 10 << 5 << false << EnterAction::Move << next << Cell{} << false;
    row("horizontal, last column wraps to next row")
        << h << Cell{5, 3} << 10 << 1 << false << EnterAction::PrepareWrap << next << Cell{6, 4}
        << true;
    row("horizontal, all columns shown, wraps")
        << h << Cell{1, 9} << 10 << 5 << false << EnterAction::PrepareWrap << next << Cell{6, 10}
        << true;
    row("horizontal, one column shown, moves down")
        << h << Cell{6, 3} << 10 << 0 << false << EnterAction::Move << down << Cell{} << false;
    row("horizontal, one column shown, last row")
        << h << Cell{6, 10} << 10 << 0 << false << EnterAction::Move << down << Cell{} << false;
    row("horizontal, last column of the last row stays")
        << h << Cell{5, 10} << 10 << 1 << false << EnterAction::CheckInPlace << next << Cell{}
        << false;
    row("horizontal, first column of the last row moves on")
        << h << Cell{6, 10} << 10 << 1 << false << EnterAction::Move << next << Cell{} << false;
    row("vertical, wrap pending: ignored")
        << v << Cell{5, 1} << 10 << 1 << true << EnterAction::Ignore << down << Cell{} << true;
    row("horizontal, wrap pending: ignored")
        << h << Cell{6, 4} << 10 << 1 << true << EnterAction::Ignore << down << Cell{} << true;
    row("no pupil rows: ignored") << v << Cell{6, 0} << 0 << 1 << false << EnterAction::Ignore
                                  << down << Cell{} << false;
}

void TestCellRules::enterPhaseOne()
{
    QFETCH(EntryMode, mode);
    QFETCH(Cell, active);
    QFETCH(int, rows);
    QFETCH(int, gradeSpan);
    QFETCH(bool, wrapFlag);
    QFETCH(EnterAction, action);
    QFETCH(EnterDirection, direction);
    QFETCH(Cell, prePosition);
    QFETCH(bool, flagAfter);
    const EnterStep step = enterPressed({mode, active, rows, gradeSpan, wrapFlag});
    QCOMPARE(step.action, action);
    if (action == EnterAction::Ignore) {
        // Nothing happens: the flag keeps its value, the direction is not to be applied.
        QCOMPARE(wrapFlag, flagAfter);
        return;
    }
    QCOMPARE(step.direction, direction);
    QCOMPARE(step.wrapFlag, flagAfter);
    if (action == EnterAction::PrepareWrap)
        QCOMPARE(step.prePosition, prePosition);
}

void TestCellRules::wrapCells_data()
{
    QTest::addColumn<EntryMode>("mode");
    QTest::addColumn<Cell>("prePositioned");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("gradeSpan");
    QTest::addColumn<Cell>("reallyLeft");
    QTest::addColumn<Cell>("target");
    QTest::newRow("vertical") << EntryMode::Vertical << Cell{5, 0} << 10 << 1 << Cell{6, 10}
                              << Cell{5, 1};
    QTest::newRow("vertical, further columns")
        << EntryMode::Vertical << Cell{2, 0} << 30 << 5 << Cell{3, 30} << Cell{2, 1};
    QTest::newRow("horizontal") << EntryMode::Horizontal << Cell{6, 4} << 10 << 1 << Cell{5, 3}
                                << Cell{6, 4};
    QTest::newRow("horizontal, all columns")
        << EntryMode::Horizontal << Cell{6, 10} << 10 << 5 << Cell{1, 9} << Cell{6, 10};
}

void TestCellRules::wrapCells()
{
    QFETCH(EntryMode, mode);
    QFETCH(Cell, prePositioned);
    QFETCH(int, rows);
    QFETCH(int, gradeSpan);
    QFETCH(Cell, reallyLeft);
    QFETCH(Cell, target);
    const WrapCells cells = sheet::wrapCells(mode, prePositioned, rows, gradeSpan);
    QCOMPARE(cells.reallyLeft, reallyLeft);
    QCOMPARE(cells.target, target);
}

void TestCellRules::wrapCompletion_data()
{
    QTest::addColumn<EntryMode>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<CellColour>("colour");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<EnterDirection>("direction");
    const EntryMode v = EntryMode::Vertical;
    const EntryMode h = EntryMode::Horizontal;
    const EnterDirection down = EnterDirection::Down;
    const EnterDirection next = EnterDirection::NextColumn;
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("vertical, grade rewritten") << v << QStringLiteral("15") << QStringLiteral("15.00")
                                     << CellColour::White << false << down;
    row("horizontal, zero is yellow") << h << QStringLiteral("0") << QStringLiteral("00.00")
                                      << CellColour::Yellow << false << next;
    row("vertical, 25 refused") << v << QStringLiteral("25") << QStringLiteral("25")
                                << CellColour::Red << true << down;
    row("horizontal, 20.01 refused") << h << QStringLiteral("20.01") << QStringLiteral("20.01")
                                     << CellColour::Red << true << next;
    // The empty and lone-point steps are not part of the completion.
    row("empty stays empty") << v << QString() << QString() << CellColour::White << false << down;
    row("lone point stays") << h << QStringLiteral(".") << QStringLiteral(".") << CellColour::White
                            << false << next;
    row("mark passes") << h << kAbsent << kAbsent << CellColour::White << false << next;
    row("huge counts as out of range") << v << kHuge << kHuge << CellColour::Red << true << down;
}

void TestCellRules::wrapCompletion()
{
    QFETCH(EntryMode, mode);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(CellColour, colour);
    QFETCH(bool, refused);
    QFETCH(EnterDirection, direction);
    const WrapCells cells{Cell{5, 3}, Cell{6, 4}};
    const WrapCompletion done = completeWrap(mode, cells, text);
    QCOMPARE(done.check.text, expected);
    QCOMPARE(done.check.colour, colour);
    QCOMPARE(done.check.refused, refused);
    QCOMPARE(done.active, refused ? cells.reallyLeft : cells.target);
    QCOMPARE(done.direction, direction);
}

QTEST_APPLESS_MAIN(TestCellRules)
#include "tst_cellrules.moc"
