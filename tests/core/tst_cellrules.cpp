#include "../support/datatable.h"
#include "../support/places.h"
#include "core/sheet/cellrules.h"
#include "core/sheet/gradeblock.h"

#include <QTest>

using namespace sheet;

namespace {

const QString kExempt = QStringLiteral("معفى");
// 10^308: just within the largest double.
const QString k1E308 = QLatin1String("1") + QString(308, u'0');

} // namespace

class TestCellRules : public QObject {
    Q_OBJECT

private slots:
    void keyFilter_data()
    {
        const auto key = dataTable<int, QString, bool>({"code", "current", "accepted"});
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

    // Only digits, Backspace and one point get into a grade.
    void keyFilter()
    {
        const auto [code, current] = fetchRow<int, QString>({"code", "current"});
        QTEST(filterKey(code, current), "accepted");
    }

    void cellCheck_data()
    {
        // outcome: the look ("red": refused)
        const auto check = dataTable<QString, QString, QString>({"text", "expected", "outcome"});
        check("grade rewritten", "12.5", "12.50", "plain");
        check("leading point", ".5", "00.50", "plain");
        check("leading zeros", "0012", "12.00", "plain");
        check("zero is yellow", "0", "00.00", "zero");
        check("third decimal half rounds up", "12.345", "12.35", "plain");
        check("only the third decimal decides", "12.3449999", "12.34", "plain");
        // 2.675 is not exact in binary; the digits are.
        check("half not exact in binary", "2.675", "02.68", "plain");
        check("carry from nothing", ".995", "01.00", "plain");
        check("0.004 rounds to a yellow zero", "0.004", "00.00", "zero");
        check("19.999 rounds to twenty", "19.999", "20.00", "plain");
        check("20.01 refused", "20.01", "20.01", "red");
        // The range is checked before rounding: 20.004 would show as 20.00.
        check("20.004 refused", "20.004", "20.004", "red");
        check("1E308 merely out of range", k1E308, k1E308, "red");
        check("1E309 too large for a double", k1E308 + "0", k1E308 + "0", "red");
        check("leading zeros do not make it large", QString(400, u'0') + "7", "07.00", "plain");
        check("empty becomes no grade", "", "--.--", "plain");
        check("spaced point becomes no grade", " . ", "--.--", "plain");
        check("mark passes", kExempt, kExempt, "plain");
        // Pasted texts: the value is the leading digits and point; in range, they stay as they are.
        check("no sign read", "-25", "-25", "plain");
        check("no exponent read", "1e5", "1e5", "plain");
        check("text after an excess grade", "25abc", "25abc", "red");
        check("arabic-indic digits are no number", QStringLiteral("٢٥"), QStringLiteral("٢٥"),
              "plain");
    }

    // The check as the cursor leaves a cell: its new text, its look, whether it keeps the cursor.
    void cellCheck()
    {
        const auto [text, outcome] = fetchRow<QString, QString>({"text", "outcome"});
        const QMap<QString, CheckResult> looks{{QStringLiteral("plain"), CheckResult::Accepted},
                                               {QStringLiteral("zero"), CheckResult::Zero},
                                               {QStringLiteral("red"), CheckResult::Refused}};
        const CellCheck check = checkCell(text);
        QTEST(check.text, "expected");
        QCOMPARE(check.result, std::optional(looks[outcome]));
        QCOMPARE(check.refused, outcome == u"red");
    }

    // A pasted or imported value is checked as typed, its comma and Arabic digits read as such.
    void broughtValue_data()
    {
        // expected: "" the cell keeps its text; "!" refused
        const auto table = dataTable<QString, QString>({"value", "expected"});
        const auto row = [&table](const char* value, const QString& expected) {
            table(value, value, expected);
        };
        row("١٢٫٥", "12.50");
        row("معفى", kExempt);
        row("  ", "");
        row("20,5", "!20.5");
        row("-3", "!-3");
    }

    void broughtValue()
    {
        QFETCH(QString, value);
        const std::optional<CellCheck> c = checkBroughtValue(value);
        QTEST(c ? (c->refused && c->result == CheckResult::Refused ? "!" : "") + c->text : "",
              "expected");
    }

    void enterRule_data()
    {
        // state: "V|H place pupils exams"; move: "place [wrap]", or "stay"
        const auto row = dataTable<QString, QString>({"state", "move"});
        row("vertical, middle pupil", "V p3e1 10 2", "p4e1");
        row("vertical, last pupil wraps", "V p10e1 10 2", "p1e2 wrap");
        row("vertical, middle exam wraps", "V p10e3 10 5", "p1e4 wrap");
        row("vertical, end of the sheet", "V p10e2 10 2", "stay");
        row("vertical, one exam, last pupil", "V p10e1 10 1", "stay");
        row("horizontal, next exam", "H p10e1 10 2", "p10e2");
        row("horizontal, last exam wraps", "H p3e2 10 2", "p4e1 wrap");
        row("horizontal, end of the sheet", "H p10e2 10 2", "stay");
        row("horizontal, one exam goes down", "H p3e1 10 1", "p4e1");
        row("horizontal, one exam, last pupil", "H p10e1 10 1", "stay");
        // A cursor a hidden exam away from the others counts as on the last shown one.
        row("vertical, beyond the last exam", "V p10e5 10 4", "stay");
        // After an observation's undo the cursor stands on a name: Enter goes back to a grade.
        row("vertical, from a name", "V p10name 10 2", "p1e1 wrap");
        row("horizontal, from a name", "H p3name 10 2", "p3e1");
    }

    // Where Enter sends the cursor, and when it goes round to the next column or row.
    void enterRule()
    {
        const auto [state, move] = fetchRow<QString, QString>({"state", "move"});
        const QStringList s = state.split(u' ');
        const Cell at = cellNamed(s.at(1)); // a name: exam -1
        const EnterMove done = enterMove(
            s.at(0) == u'V' ? EntryMode::Vertical : EntryMode::Horizontal,
            {at.row, GradeSheet::examAt(at.column).value_or(-1)}, s.at(2).toInt(), s.at(3).toInt());
        QCOMPARE(done.next.has_value(), move != QLatin1String("stay"));
        if (done.next)
            QCOMPARE(QString("p%1e%2").arg(done.next->pupil).arg(done.next->exam + 1),
                     move.section(u' ', 0, 0));
        QCOMPARE(done.wraps, move.endsWith(QLatin1String("wrap")));
    }
};

QTEST_APPLESS_MAIN(TestCellRules)
#include "tst_cellrules.moc"
