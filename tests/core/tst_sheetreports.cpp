// What the grade sheet's tools make of its texts: the columns shown, the class statistics
// and the CSV copy.
#include "sheet/classstatistics.h"
#include "sheet/sheetcsv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Cells = QMap<int, QString>;

gradefile::SheetTable tableOf(const Cells& headers, const QList<Cells>& pupils)
{
    gradefile::SheetTable table(size_t(pupils.size()) + 1);
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        table[0][size_t(it.key())] = it.value();
    for (int row = 0; row < pupils.size(); ++row) {
        for (auto it = pupils[row].cbegin(); it != pupils[row].cend(); ++it)
            table[size_t(row) + 1][size_t(it.key())] = it.value();
    }
    return table;
}

const Cells kHeaders{{4, u"فرض تأليفي 1"_s}, {5, u" فرض مراقبة 2  "_s}, {6, u"فرض مراقبة 1"_s},
                     {7, u"الإسم"_s},        {8, u"المعرف"_s},          {9, u"ع.ر"_s}};

} // namespace

Q_DECLARE_METATYPE(gradefile::SheetTable)

class TestSheetReports : public QObject {
    Q_OBJECT

private slots:
    void shownColumnsInReadingOrder_data();
    void shownColumnsInReadingOrder();
    void statistics_data();
    void statistics();
    void examsInColumnOrder();
    void csv_data();
    void csv();
};

// Every column that holds something shows, grades under no exam name too, but never the
// level and observation column; a reader of Arabic meets them from the right.
void TestSheetReports::shownColumnsInReadingOrder_data()
{
    QTest::addColumn<gradefile::SheetTable>("table");
    QTest::addColumn<QList<int>>("columns");

    QTest::newRow("three exams, one graded")
        << tableOf(kHeaders, {{{6, u"12.00"_s}, {7, u"أ"_s}, {10, u"1#ممتاز"_s}}})
        << QList<int>{9, 8, 7, 6, 5, 4};
    QTest::newRow("grades without a header, text in the row headers")
        << tableOf(kHeaders, {{{0, u"x"_s}, {2, u"12.00"_s}, {7, u"أ"_s}}})
        << QList<int>{9, 8, 7, 6, 5, 4, 2};
    QTest::newRow("no pupil keeps the pupil columns")
        << tableOf({{7, u"الإسم"_s}, {8, u"م"_s}, {9, u"ع"_s}}, {}) << QList<int>{9, 8, 7};
}

void TestSheetReports::shownColumnsInReadingOrder()
{
    QFETCH(gradefile::SheetTable, table);
    QTEST(sheet::readingOrderColumns(sheet::shownColumnsOf(table)), "columns");
}

// Marks read as 0 as numbers: counted as grades they would pull the mean down. Every pupil
// counts once, whatever the cell holds; half a hundredth goes up, as a typed grade does.
void TestSheetReports::statistics_data()
{
    QTest::addColumn<QStringList>("grades");
    QTest::addColumn<QList<int>>("counts");   // graded absent exempt noGrade empty other under10
    QTest::addColumn<QStringList>("figures"); // mean median min max

    const QStringList none{"--.--", "--.--", "--.--", "--.--"};
    QTest::newRow("marks, empty cells and grades")
        << QStringList{"15.00", "معفى", "--.--", "غ.ش.", "", "09.75"}
        << QList<int>{2, 1, 1, 1, 1, 0, 1} << QStringList{"12.38", "12.38", "09.75", "15.00"};
    QTest::newRow("marks only: no division by zero")
        << QStringList{"--.--", "غ.ش.", "معفى"} << QList<int>{0, 1, 1, 1, 0, 0, 0} << none;
    QTest::newRow("no pupil") << QStringList{} << QList<int>{0, 0, 0, 0, 0, 0, 0} << none;
    QTest::newRow("zero is a grade, odd median")
        << QStringList{"20.00", "00.00", "11.00"} << QList<int>{3, 0, 0, 0, 0, 0, 1}
        << QStringList{"10.33", "11.00", "00.00", "20.00"};
    QTest::newRow("ten is not under ten, even median from unsorted grades")
        << QStringList{"10.00", "09.99", "18.00", "04.00"} << QList<int>{4, 0, 0, 0, 0, 0, 2}
        << QStringList{"10.50", "10.00", "04.00", "18.00"};
    // A file may hold what the sheet would refuse; none of it is a grade.
    QTest::newRow("texts that are no grade")
        << QStringList{"25.00", "20.01", "-3", " 12", "abc", "1e5", ".", "1.2.3", "١٢", "12.", "0"}
        << QList<int>{2, 0, 0, 0, 0, 9, 1} << QStringList{"06.00", "06.00", "00.00", "12.00"};
}

void TestSheetReports::statistics()
{
    QFETCH(QStringList, grades);
    QList<Cells> pupils;
    for (const QString& grade : grades)
        pupils << Cells{{6, grade}, {7, u"تلميذ"_s}};
    const gradefile::SheetTable table = tableOf({{6, u"ف"_s}}, pupils);
    const std::vector<sheet::ExamStatistics> all =
        sheet::classStatistics(table, sheet::shownColumnsOf(table));
    QCOMPARE(all.size(), size_t(1));
    const sheet::ExamStatistics& s = all.front();
    QTEST((QList<int>{s.graded, s.absent, s.exempt, s.noGrade, s.empty, s.other, s.under10}),
          "counts");
    QTEST((QStringList{sheet::statisticText(s.mean), sheet::statisticText(s.median),
                       sheet::statisticText(s.min), sheet::statisticText(s.max)}),
          "figures");
    QCOMPARE(s.pupils(), int(grades.size()));
}

// One entry per shown exam with a header, in column order, its header without the blanks
// that pad it; the name column is no exam.
void TestSheetReports::examsInColumnOrder()
{
    const gradefile::SheetTable table =
        tableOf(kHeaders, {{{6, u"12.00"_s}, {5, u"08.00"_s}, {3, u"10.00"_s}, {7, u"12.00"_s}}});
    sheet::ShownColumns shown = sheet::shownColumnsOf(table);
    shown[4] = false;
    QStringList exams;
    for (const sheet::ExamStatistics& exam : sheet::classStatistics(table, shown))
        exams << QString::number(exam.column) + u' ' + exam.header;
    QCOMPARE(exams, (QStringList{"5 فرض مراقبة 2", "6 فرض مراقبة 1"}));
}

// UTF-8 with its byte order mark, so that a spreadsheet reads the Arabic; the columns as a
// reader meets them, the hidden ones and the level and observation column left out; a
// field with a comma, a quote or a line break quoted, its quotes doubled.
void TestSheetReports::csv_data()
{
    QTest::addColumn<QList<Cells>>("pupils");
    QTest::addColumn<QString>("text");

    const QString header = u"ع.ر,المعرف,الإسم,فرض مراقبة 1,فرض مراقبة 2,فرض تأليفي 1\r\n"_s;
    QTest::newRow("no pupil: the headers alone") << QList<Cells>{} << header;
    QTest::newRow("marks, empty cells, quoted names")
        << QList<Cells>{{{9, u"1"_s},
                         {8, u"7"_s},
                         {7, u"بن علي، محمد"_s},
                         {6, u"15.00"_s},
                         {5, u"معفى"_s},
                         {4, u"--.--"_s},
                         {2, u"10.00"_s},
                         {10, u"2#ممتاز"_s}},
                        {{9, u"2"_s}, {7, u"Ben \"Ali\", Salma"_s}, {6, u"غ.ش."_s}},
                        {{9, u"3"_s}, {7, u"a\nb"_s}}}
        << header + u"1,7,بن علي، محمد,15.00,معفى,--.--\r\n"_s +
               u"2,,\"Ben \"\"Ali\"\", Salma\",غ.ش.,,\r\n3,,\"a\nb\",,,\r\n"_s;
}

void TestSheetReports::csv()
{
    QFETCH(QList<Cells>, pupils);
    QFETCH(QString, text);
    sheet::ShownColumns shown{};
    for (int col = 4; col <= 9; ++col)
        shown[size_t(col)] = true;
    const QByteArray bytes = sheet::sheetCsv(tableOf(kHeaders, pupils), shown);
    QCOMPARE(bytes.left(3), QByteArray("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)), text);
}

QTEST_APPLESS_MAIN(TestSheetReports)
#include "tst_sheetreports.moc"
