#include "sheet/cellrules.h"

#include <QTest>

using namespace sheet;

namespace {

const QString kExempt = QStringLiteral("معفى");
// 400 digits: far beyond the largest double.
const QString kHuge = QString(400, u'9');
const QString k1E308 = QLatin1String("1") + QString(308, u'0');
const auto G = SheetKind::Grade;
const auto P = SheetKind::Plain;

Cell cellNamed(const QString& name)
{
    return {name.section(u',', 0, 0).toInt(), name.section(u',', 1).toInt()};
}

} // namespace

class TestCellRules : public QObject {
    Q_OBJECT

private slots:
    void keyFilter_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("accepted");
        const auto key = [](const char* name, int code, const QString& current, bool accepted) {
            QTest::newRow(name) << code << current << accepted;
        };
        key("digit on empty", '0', "", true);
        key("third integer digit is let through", '7', "20", true);
        key("backspace on empty", 8, "", true);
        key("point after a digit", '.', "12", true);
        key("point on empty", '.', "", false);
        key("second point", '.', "12.5", false);
        key("exponent letter", 'e', "1", false);
        // A bar would split the grade file's line.
        key("bar", '|', "1", false);
        key("slash, below the digits", '/', "", false);
        key("colon, above the digits", ':', "", false);
        key("arabic-indic digit", u'٣', "", false);
    }

    // Only digits, Backspace and one point get into a grade; the grade sheet drops the rest
    // silently, the plain sheet beeps.
    void keyFilter()
    {
        QFETCH(int, code);
        QFETCH(QString, current);
        QFETCH(bool, accepted);
        const KeyDecision grade = filterKey(G, code, current);
        QCOMPARE(grade.accepted, accepted);
        QVERIFY(!grade.beep);
        const KeyDecision plain = filterKey(P, code, current);
        QCOMPARE(plain.accepted, accepted);
        QCOMPARE(plain.beep, !accepted);
    }

    void cellCheck_data()
    {
        QTest::addColumn<SheetKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("outcome"); // the colour, then "refused" or "too large"
        const auto check = [](const char* name, SheetKind kind, const QString& text,
                              const QString& expected, const char* outcome) {
            QTest::newRow(name) << kind << text << expected << outcome;
        };
        check("grade rewritten", G, "12.5", "12.50", "white");
        check("leading point", G, ".5", "00.50", "white");
        check("leading zeros", G, "0012", "12.00", "white");
        check("zero is yellow", G, "0", "00.00", "yellow");
        check("third decimal half rounds up", G, "12.345", "12.35", "white");
        check("only the third decimal decides", G, "12.3449999", "12.34", "white");
        // 2.675 is not exact in binary; the digits are.
        check("half not exact in binary", G, "2.675", "02.68", "white");
        check("carry from nothing", G, ".995", "01.00", "white");
        check("0.004 rounds to a yellow zero", G, "0.004", "00.00", "yellow");
        check("19.999 rounds to twenty", G, "19.999", "20.00", "white");
        check("20.01 refused", G, "20.01", "20.01", "red refused");
        // The range is checked before rounding: 20.004 would show as 20.00.
        check("20.004 refused", G, "20.004", "20.004", "red refused");
        check("1E308 merely out of range", G, k1E308, k1E308, "red refused");
        check("1E309 too large for a double", G, k1E308 + "0", k1E308 + "0", "red too large");
        check("leading zeros do not make it large", G, QString(400, u'0') + "7", "07.00", "white");
        check("empty becomes no grade", G, "", "--.--", "white");
        check("spaced point becomes no grade", G, " . ", "--.--", "white");
        check("mark passes", G, kExempt, kExempt, "white");
        // Pasted texts: the value is the leading digits and point; in range, they stay as they are.
        check("no sign read", G, "-25", "-25", "white");
        check("no exponent read", G, "1e5", "1e5", "white");
        check("text after an excess grade", G, "25abc", "25abc", "red refused");
        check("arabic-indic digits are no number", G, QStringLiteral("٢٥"), QStringLiteral("٢٥"),
              "white");
        check("plain: grade, no colour", P, "19.5", "19.50", "");
        check("plain: 20.005 refused", P, "20.005", "20.005", "refused");
        check("plain: lone point stays", P, ".", ".", "");
        check("plain: huge refused", P, kHuge, kHuge, "too large");
    }

    // The check as the cursor leaves a cell: its new text and colour, and whether it keeps
    // the cursor.
    void cellCheck()
    {
        QFETCH(SheetKind, kind);
        QFETCH(QString, text);
        QFETCH(QString, outcome);
        const QMap<QString, CellColour> colours{{QStringLiteral("white"), CellColour::White},
                                                {QStringLiteral("yellow"), CellColour::Yellow},
                                                {QStringLiteral("red"), CellColour::Red}};
        const CellCheck check = checkCell(kind, text);
        QTEST(check.text, "expected");
        QCOMPARE(check.colour, colours.value(outcome.section(u' ', 0, 0), CellColour::Unchanged));
        QCOMPARE(check.refused, outcome.contains(QLatin1String("refused")) ||
                                    outcome.contains(QLatin1String("too large")));
        QCOMPARE(check.tooLarge, outcome.contains(QLatin1String("too large")));
    }

    void enterRule_data()
    {
        QTest::addColumn<QString>("state"); // "V|H column,row rows gradeSpan [wrapping]"
        QTest::addColumn<QString>("step");  // "move|wrap|stay|ignore down|next [pre-position]"
        const auto row = [](const char* name, const char* state, const char* step) {
            QTest::newRow(name) << state << step;
        };
        row("vertical, middle row", "V 6,3 10 1", "move down");
        row("vertical, last row wraps", "V 6,10 10 1", "wrap down 5,0");
        row("vertical, middle column wraps", "V 4,10 10 4", "wrap down 3,0");
        row("vertical, end of the sheet", "V 5,10 10 1", "stay down");
        row("vertical, one column, last row", "V 6,10 10 0", "stay down");
        row("horizontal, last column wraps", "H 5,3 10 1", "wrap next 6,4");
        row("horizontal, one column goes down", "H 6,10 10 0", "move down");
        row("horizontal, end of the sheet", "H 5,10 10 1", "stay next");
        row("horizontal, first column, last row", "H 6,10 10 1", "move next");
        row("wrap pending", "V 5,1 10 1 wrapping", "ignore");
        row("no pupil rows", "V 6,0 0 1", "ignore");
    }

    // Where Enter sends the cursor, when it wraps to the next column or row, and which cells
    // the grid's move from the pre-positioned cell then leaves and reaches.
    void enterRule()
    {
        QFETCH(QString, state);
        QFETCH(QString, step);
        const QStringList s = state.split(u' ');
        const EntryMode mode = s.at(0) == u'V' ? EntryMode::Vertical : EntryMode::Horizontal;
        const Cell active = cellNamed(s.at(1));
        const int rows = s.at(2).toInt();
        const int span = s.at(3).toInt();
        const EnterStep done = enterPressed({mode, active, rows, span, s.size() > 4});
        const QMap<QString, EnterAction> actions{
            {QStringLiteral("move"), EnterAction::Move},
            {QStringLiteral("wrap"), EnterAction::PrepareWrap},
            {QStringLiteral("stay"), EnterAction::CheckInPlace},
            {QStringLiteral("ignore"), EnterAction::Ignore}};
        QCOMPARE(done.action, actions.value(step.section(u' ', 0, 0)));
        if (done.action == EnterAction::Ignore)
            return;
        const bool down = step.section(u' ', 1, 1) == QLatin1String("down");
        QCOMPARE(done.direction, down ? EnterDirection::Down : EnterDirection::NextColumn);
        QCOMPARE(done.wrapFlag, done.action == EnterAction::PrepareWrap);
        if (done.action != EnterAction::PrepareWrap)
            return;
        const Cell pre = cellNamed(step.section(u' ', 2));
        QVERIFY(done.prePosition == pre);
        const WrapCells cells = wrapCells(mode, pre, rows, span);
        QVERIFY(cells.reallyLeft == active);
        QVERIFY(cells.target == (down ? Cell{active.column - 1, 1} : Cell{6, active.row + 1}));
    }
};

QTEST_APPLESS_MAIN(TestCellRules)
#include "tst_cellrules.moc"
