#include "gradefile/gradedocument.h"
#include "gradefile/gradefilelines.h"
#include "../support/freshsheet.h"

#include <QTest>

using namespace gradefile;

namespace {

const QString kKey = QStringLiteral("8410203C07010002004");

SheetTable tableOf(const QList<QStringList>& rows)
{
    SheetTable table;
    for (const QStringList& row : rows) {
        std::array<QString, kSheetColumns> cells;
        for (int c = 0; c < row.size() && c < kSheetColumns; ++c)
            cells[size_t(c)] = row[c];
        table.push_back(cells);
    }
    return table;
}

const EndLineTexts kTexts{QStringLiteral("صفاقس 1"), QStringLiteral("إعدادية النور"),
                          QStringLiteral("سلمى الجربي")};

} // namespace

class TestGradeFileLines : public QObject {
    Q_OBJECT

private slots:
    void writesEveryLine();
    void counters_data();
    void counters();
    void counterAtItsLimit();
    void gradeSpan_data();
    void gradeSpan();
    void captionBlanks_data();
    void captionBlanks();
    void roundTrip_data();
    void roundTrip();
};

void TestGradeFileLines::writesEveryLine()
{
    //                 0   1   2   3   4        5        6         7        8       9    10
    const SheetTable table =
        tableOf({{"", "", "", "", "شفاهي", "فرض 2", "فرض 1", "الإسم", "", "", ""},
                 {"", "", "", "", "معفى", "--.--", "12.50", "أحمد", "1001", "1", "2"},
                 {"", "", "", "", "00.00", "20.00", "غ.ش.", "مريم", "1002", "2", "1#ممتاز"}});
    const SaveLinesBuilt built =
        buildGradeFileLines(kKey, QStringLiteral("  قسم 7 - عربية "), table, 2, kTexts, 0, 4);
    QVERIFY(!built.counterOverflow);
    QCOMPARE(built.saveNumber, qint16(5));
    QCOMPARE(built.lines,
             (QStringList{"DEBUT" + kKey + "|قسم 7 - عربية", "TYPEEPREUVE:|فرض 1|فرض 2|شفاهي",
                          "2|1|1001|أحمد|12.50|--.--|معفى", "1#ممتاز|2|1002|مريم|غ.ش.|20.00|00.00",
                          "FIN" + kKey + "|صفاقس 1|إعدادية النور|سلمى الجربي||5|4"}));

    // No pupil rows: start, test and end line.
    const SaveLinesBuilt empty = buildGradeFileLines(
        kKey, QStringLiteral("قسم"), tableOf({{"", "", "", "", "", "", "فرض"}}), 0, kTexts, 0, 0);
    QCOMPARE(empty.lines.size(), 3);
    QCOMPARE(empty.lines[1], QStringLiteral("TYPEEPREUVE:|فرض"));
}

void TestGradeFileLines::counters_data()
{
    QTest::addColumn<int>("saveNumber");
    QTest::addColumn<int>("printNumber");
    QTest::addColumn<int>("written");
    QTest::newRow("raised to the print number first") << 0 << 4 << 5;
    QTest::newRow("ahead of the print number") << 7 << 4 << 8;
    QTest::newRow("equal") << 3 << 3 << 4;
    QTest::newRow("negative counters") << -5 << -9 << -4;
    QTest::newRow("one below the limit") << 32766 << 0 << 32767;
}

void TestGradeFileLines::counters()
{
    QFETCH(int, saveNumber);
    QFETCH(int, printNumber);
    QFETCH(int, written);
    const SaveLinesBuilt built =
        buildGradeFileLines(kKey, QStringLiteral("c"), tableOf({{}}), 0, kTexts, qint16(saveNumber),
                            qint16(printNumber));
    QCOMPARE(int(built.saveNumber), written);
    QVERIFY(built.lines.last().endsWith(QStringLiteral("||%1|%2").arg(written).arg(printNumber)));
}

void TestGradeFileLines::counterAtItsLimit()
{
    const SaveLinesBuilt built =
        buildGradeFileLines(kKey, QStringLiteral("c"), tableOf({{}}), 0, kTexts, 32767, 0);
    QVERIFY(built.counterOverflow);
}

void TestGradeFileLines::gradeSpan_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("span");
    const QStringList header{"", "h1", "h2", "h3", "h4", "h5", "h6"};
    const QStringList twoExams{"", "", "", "", "", "h5", "h6"};
    QTest::newRow("six grade columns")
        << QList<QStringList>{header, {"", "1", "2", "3", "4", "5", "6", "n", "i", "s", "l"}} << 5;
    QTest::newRow("columns 1 to 4 empty")
        << QList<QStringList>{twoExams, {"", "", "", "", "", "5", "6", "n", "i", "s", "l"}} << 1;
    QTest::newRow("one cell is enough")
        << QList<QStringList>{twoExams,
                              {"", "", "", "", "", "", "6", "n", "i", "s", "l"},
                              {"", "", "", "", "", "5", "", "n", "i", "s", "l"}}
        << 1;
    QTest::newRow("an exam not graded yet keeps its column")
        << QList<QStringList>{header, {"", "", "", "", "", "", "6", "n", "i", "s", "l"}} << 5;
    QTest::newRow("row headers count as a column")
        << QList<QStringList>{header, {"h", "1", "2", "3", "4", "5", "6", "n", "i", "s", "l"}} << 6;
    QTest::newRow("no pupils keeps the exams with a header")
        << QList<QStringList>{{"", "", "", "", "h4", "h5", "h6"}} << 2;
}

void TestGradeFileLines::gradeSpan()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, span);
    QCOMPARE(gradeSpanOf(tableOf(rows)), span);
}

void TestGradeFileLines::captionBlanks_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("written");
    QTest::newRow("spaces") << QStringLiteral("   قسم   ") << QStringLiteral("قسم");
    QTest::newRow("inner spaces kept") << QStringLiteral(" a  b ") << QStringLiteral("a  b");
    QTest::newRow("tab is not a blank") << QStringLiteral("\tقسم ") << QStringLiteral("\tقسم");
    QTest::newRow("only spaces") << QStringLiteral("    ") << QString();
}

void TestGradeFileLines::captionBlanks()
{
    QFETCH(QString, caption);
    QFETCH(QString, written);
    const SaveLinesBuilt built = buildGradeFileLines(kKey, caption, tableOf({{}}), 0, kTexts, 0, 0);
    QCOMPARE(built.lines.first(), QStringLiteral("DEBUT") + kKey + u'|' + written);
}

// A file the program wrote, opened and saved again, gives the same lines but for the
// save counter, which goes up by one.
void TestGradeFileLines::roundTrip_data()
{
    QTest::addColumn<QStringList>("lines");
    const QString start = "DEBUT" + kKey + "|8410203 إعدادية النور        السابعة أساسي 2 - عربية";
    QTest::newRow("three exams") << QStringList{
        start, "TYPEEPREUVE:|فرض مراقبة 1|فرض تأليفي 1|شفاهي",
        "2|1|1001|أحمد الكافي|12.50|--.--|معفى", "1#عمل طيّب|2|1002|مريم التونسي|00.00|غ.ش.|20.00",
        "FIN" + kKey + "|صفاقس 1|إعدادية النور|سلمى الجربي||3|3"};
    QTest::newRow("one exam") << QStringList{start, "TYPEEPREUVE:|فرض", "2|1|1001|أحمد|--.--",
                                             "FIN" + kKey + "|||||0|0"};
    QTest::newRow("six exams") << QStringList{start, "TYPEEPREUVE:|1|2|3|4|5|6",
                                              "2|1|1|أ|01.00|02.00|03.00|04.00|05.00|06.00",
                                              "FIN" + kKey + "|r|e|t||12|9"};
    QTest::newRow("no pupils") << QStringList{start, "TYPEEPREUVE:|فرض|شفاهي",
                                              "FIN" + kKey + "|r|e|t||1|1"};
}

void TestGradeFileLines::roundTrip()
{
    QFETCH(QStringList, lines);
    const DocumentRead read = readGradeDocument(kKey + QStringLiteral(".xml"), lines);
    QVERIFY(read.document);
    const GradeDocument& document = *read.document;
    QCOMPARE(document.endLines.size(), size_t(1));
    const EndLineFields& end = document.endLines.front();
    const SheetTable table = freshSheetOf(document);
    const SaveLinesBuilt built =
        buildGradeFileLines(document.key, document.caption, table, gradeSpanOf(table),
                            EndLineTexts{*end.region, *end.establishment, *end.teacher},
                            *end.saveNumber, *end.printNumber);

    QStringList expected = lines;
    const qint16 printed = *end.printNumber;
    expected.last() = "FIN" + kKey + u'|' + *end.region + u'|' + *end.establishment + u'|' +
                      *end.teacher + "||" + QString::number(printed + 1) + u'|' +
                      QString::number(printed);
    QCOMPARE(built.lines, expected);
}

QTEST_APPLESS_MAIN(TestGradeFileLines)
#include "tst_gradefilelines.moc"
