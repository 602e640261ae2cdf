// The observation column's text and the observation box's rules.
#include "../support/datatable.h"
#include "core/observation/observationtext.h"

#include <QTest>

using namespace observation;
using namespace Qt::StringLiterals;

static const QString kSmile = QString::fromUcs4(U"\U0001F600");

class TestObservationText : public QObject {
    Q_OBJECT

private slots:
    // The level before the first "#" is kept; "|" (shifts the file's fields), control characters
    // (break its line) and lone surrogates are left out.
    void validation_data()
    {
        const auto row = dataTable<QString, QString, QString>({"cell", "typed", "written"});
        row("old observation holding # replaced", u"1#a#b"_s, u"ج"_s, u"1#ج"_s);
        row("blanks stored as typed", u"2"_s, u"   "_s, u"2#   "_s);
        row("# inside the observation", u"2"_s, u"#أ##ب#"_s, u"2##أ##ب#"_s);
        row("empty prefix", u""_s, u"أ"_s, u"#أ"_s);
        row("| and controls left out", u"2"_s,
            QString(QChar(0)) + "أ|\tب\x1b\r\nج\u0085د\u2028ه\u2029", u"2#أبجده"_s);
        row("nothing storable is no observation", u"1#قديم"_s, u"|\n"_s, u"1"_s);
        row("joiners, marks of direction and a surrogate pair kept", u"2"_s,
            u"أ\u200cب\u200f"_s + kSmile, u"2#أ\u200cب\u200f"_s + kSmile);
        row("lone surrogates left out", u"2"_s, kSmile.at(0) + QStringLiteral("أ") + kSmile.at(1),
            u"2#أ"_s);
    }
    void validation()
    {
        const auto [cell, typed] = fetchRow<QString, QString>({"cell", "typed"});
        QTEST(cellAfterValidation(cell, typed), "written");
        QCOMPARE(observationOf(cellAfterValidation(cell, typed)), storableText(typed));
    }

    // Fifty characters at most: what comes in is cut, a longer one from the file never grows.
    void boxEdit_data()
    {
        const auto row = dataTable<QString, QString, int, QString, int>(
            {"before", "edited", "cursor", "text", "cursorAfter"});
        const QString a48(48, u'س'), full(kMaxObservationLength, u'م'), l60(60, u'ل');
        row("into a full box", full, u'ب' + full, 1, full, 0);
        row("| typed in the middle", u"ab"_s, u"a|b"_s, 2, u"ab"_s, 1);
        row("paste in the middle cut, the text after it kept", a48,
            a48.left(9) + "12345" + a48.mid(9), 14, a48.left(9) + "12" + a48.mid(9), 11);
        row("refused characters take no room", a48, a48 + "|\n|ab", 53, a48 + "ab", 50);
        row("longer from the file: typing", l60, l60 + u'ب', 61, l60, 60);
        row("longer from the file: deleting", l60, l60.left(59), 59, l60.left(59), 59);
        row("surrogate pair not cut", a48 + u'س', a48 + u'س' + kSmile, 51, a48 + u'س', 49);
    }
    void boxEdit()
    {
        const auto [before, edited, cursor] =
            fetchRow<QString, QString, int>({"before", "edited", "cursor"});
        const BoxEdit admitted = admitEdit(before, edited, cursor);
        QTEST(admitted.text, "text");
        QTEST(admitted.cursor, "cursorAfter");
        // The box checks the text it is given back once more: the answer must not change.
        QCOMPARE(admitEdit(before, admitted.text, admitted.cursor).text, admitted.text);
    }
};

QTEST_APPLESS_MAIN(TestObservationText)
#include "tst_observationtext.moc"
