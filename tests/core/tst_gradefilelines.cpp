// A grade file's lines read into the sheet a window shows, and written back by a save.
#include "../support/datatable.h"
#include "core/gradefile/gradedocument.h"
#include "core/gradefile/gradefilelines.h"
#include "core/gradefile/linegrammar.h"
#include "core/sheet/openedsheet.h"

#include <QTest>

using namespace gradefile;
using namespace Qt::StringLiterals;

namespace {

const QString kKey = u"8410203C07010002004"_s;
const QString kHead = u"8410203 إعدادية النور        "_s; // the 29 characters the card leaves out
const QString kCaption = kHead + u"السابعة أساسي 2 - عربية - الثلاثي الأول"_s;
const QString kEnd = u"FIN"_s + kKey + u"|صفاقس 1|إعدادية النور|سلمى الجربي||7|4"_s;

QString start(const QString& key, const QString& caption = kCaption)
{
    return u"DEBUT"_s + key + u'|' + caption;
}

// A row as "first column>" and its cells from there down: "10>1, 2, 3".
QString described(const RowCells& cells)
{
    if (cells.isEmpty())
        return QString();
    QStringList values;
    for (int c = cells.lastKey(); c >= cells.firstKey(); --c)
        values << cells.value(c, u"<gap>"_s);
    return QString::number(cells.lastKey()) + u'>' + values.join(u", "_s);
}

QStringList described(const std::vector<RowCells>& rows)
{
    QStringList texts;
    for (const RowCells& row : rows)
        texts << described(row);
    return texts;
}

const EndLineTexts kTexts{u"صفاقس 1"_s, u"إعدادية النور"_s, u"سلمى الجربي"_s};

} // namespace

class TestGradeFileLines : public QObject {
    Q_OBJECT

private slots:
    // The description, the rows read from column 10 down and headers from 6 down (the last field
    // keeping further separators), and the end line's counters.
    void sheetLines_data()
    {
        // The lines after the start line, then what they give.
        const auto row = dataTable<QStringList, QString, QStringList, int>(
            {"lines", "headers", "rows", "endLines"});
        const QString test = u"TYPEEPREUVE:|ف"_s;
        row("empty fifth field", {test, u"1|2|3|اسم||13"_s, kEnd}, u"6>ف"_s,
            {u"10>1, 2, 3, اسم, , 13"_s}, 1);
        row("eleven fields, seven headers",
            {u"TYPEEPREUVE:|a|b|c|d|e|f|g"_s, u"l|s|i|n|6|5|4|3|2|1|h|x"_s, kEnd},
            u"6>a, b, c, d, e, f|g"_s, {u"10>l, s, i, n, 6, 5, 4, 3, 2, 1, h|x"_s}, 1);
        row("no pupils, other test prefix", {u"EXAMS|a"_s, kEnd}, u"6>a"_s, {}, 1);
        row("no end line keeps the last pupil", {test, u"1|1|1|أ|10"_s, u"2|2|2|ب"_s}, u"6>ف"_s,
            {u"10>1, 1, 1, أ, 10"_s, u"10>2, 2, 2, ب"_s}, 0);
        row("lines after the end line are pupils", {test, u"1|1|1|أ"_s, kEnd, u"3|3|3|ج"_s},
            u"6>ف"_s, {u"10>1, 1, 1, أ"_s, u"10>3, 3, 3, ج"_s}, 1);
        row("a line without separator fills nothing", {test, u"orphan"_s, kEnd}, u"6>ف"_s,
            {QString()}, 1);
    }

    void sheetLines()
    {
        const auto [lines, rows] = fetchRow<QStringList, QStringList>({"lines", "rows"});
        const DocumentRead read =
            readGradeDocument(kKey + u".xml"_s, QStringList{start(kKey)} + lines);
        QVERIFY(read.document);
        const GradeDocument& document = *read.document;
        QVERIFY(document.kind == SheetKind::Subject && document.nameLayout == u"C"_s);
        QVERIFY(document.year == qint16(2004) && document.schoolYear == u"2005/2004"_s);
        // As the card prints it: the first 29 characters left out, a tatweel after some letters.
        QCOMPARE(document.sheetDescription, u"السابـعة أساسي 2 - عربـية - الثلاثي 1"_s);
        QTEST(described(document.headers), "headers");
        QVERIFY(document.rowCount == int(rows.size()) && described(document.rows) == rows);
        QTEST(int(document.endLines.size()), "endLines");
        for (const EndLineFields& end : document.endLines)
            QCOMPARE(QList<int>({*end.saveNumber, *end.printNumber}), QList<int>({0, 7}));
    }

    // A save raises the counter past both counters (a card printed before is older than the file),
    // refused at the 16-bit limit; the caption is written trimmed.
    void saveCounter()
    {
        const auto saved = [](qint16 saveNumber, qint16 printNumber) {
            return buildGradeFileLines(kKey, u"  c d "_s, SheetTable(1), 0, kTexts, saveNumber,
                                       printNumber);
        };
        QCOMPARE(saved(0, 4).lines.first(), u"DEBUT"_s + kKey + u"|c d"_s);
        QVERIFY(saved(0, 4).lines.last().endsWith(u"||5|4"_s));
        QCOMPARE((QList<int>{saved(7, 4).saveNumber, saved(-5, -9).saveNumber,
                             saved(32766, 0).saveNumber}),
                 (QList<int>{8, -4, 32767}));
        QVERIFY(!saved(32766, 0).counterOverflow && saved(32767, 0).counterOverflow);
    }

    // Opened and saved again, a file gives the same lines but the save counter, raised.
    void roundTrip_data()
    {
        // The counters: the end line's last fields after the save.
        const auto row = dataTable<QStringList, QString>({"lines", "counters"});
        const QString head = start(kKey, kHead + u"السابعة أساسي 2 - عربية"_s);
        row("three exams",
            {head, "TYPEEPREUVE:|فرض مراقبة 1|فرض تأليفي 1|شفاهي",
             "2|1|1001|أحمد الكافي|12.50|--.--|معفى",
             "1#عمل طيّب|2|1002|مريم التونسي|00.00|غ.ش.|20.00",
             "FIN" + kKey + "|صفاقس 1|إعدادية النور|سلمى الجربي||3|3"},
            "4|3");
        row("six exams",
            {head, "TYPEEPREUVE:|1|2|3|4|5|6", "2|1|1|أ|01.00|02.00|03.00|04.00|05.00|06.00",
             "FIN" + kKey + "|r|e|t||12|9"},
            "13|12");
        row("no pupils", {head, "TYPEEPREUVE:|فرض|شفاهي", "FIN" + kKey + "|r|e|t||1|1"}, "2|1");
        // An exam with neither name nor grade between two others stays, and those after it.
        row("unnamed empty exam between two",
            {head, "TYPEEPREUVE:|فرض مراقبة 1||فرض تأليفي 1", "2|1|1001|أحمد الكافي|12.50||14.00",
             "2|2|1002|مريم التونسي|09.00||--.--", "FIN" + kKey + "|r|e|t||3|2"},
            "4|3");
        row("two unnamed empty exams before the last",
            {head, "TYPEEPREUVE:|1|||4", "2|1|1|أ|01.00|||04.00", "FIN" + kKey + "|r|e|t||0|0"},
            "1|0");
    }

    void roundTrip()
    {
        QFETCH(QStringList, lines);
        const DocumentRead read = readGradeDocument(kKey + u".xml"_s, lines);
        QVERIFY(read.document);
        const EndLineFields& end = read.document->endLines.front();
        const SheetTable table = sheet::openedSheetTable(*read.document);
        const SaveLinesBuilt built = buildGradeFileLines(
            kKey, read.document->caption, table, gradeFieldsOf(table),
            {*end.region, *end.establishment, *end.teacher}, *end.saveNumber, *end.printNumber);
        QFETCH(QString, counters);
        QStringList expected = lines;
        expected.last() = lines.last().section(u'|', 0, 3) + u"||"_s + counters;
        QCOMPARE(built.lines, expected);
    }
};

QTEST_APPLESS_MAIN(TestGradeFileLines)
#include "tst_gradefilelines.moc"
