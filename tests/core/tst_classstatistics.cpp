// The class statistics of a grade sheet, from its texts.
#include "sheet/classstatistics.h"

#include <QTest>

using sheet::ExamStatistics;

namespace {

using Cells = QMap<int, QString>;

// A sheet of the given headers and pupil rows (cells by grid column); every column shown
// unless hidden says otherwise.
struct Sheet {
    gradefile::SheetTable table;
    sheet::ShownColumns shown;
};

} // namespace

Q_DECLARE_METATYPE(Sheet)
Q_DECLARE_METATYPE(std::optional<double>)

namespace {

Sheet sheetOf(const Cells& headers, const QList<Cells>& pupils, const QList<int>& hidden = {})
{
    Sheet sheet;
    sheet.table.resize(size_t(pupils.size()) + 1);
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        sheet.table[0][size_t(it.key())] = it.value();
    for (int row = 0; row < pupils.size(); ++row) {
        for (auto it = pupils[row].cbegin(); it != pupils[row].cend(); ++it)
            sheet.table[size_t(row) + 1][size_t(it.key())] = it.value();
    }
    sheet.shown.fill(true);
    for (int col : hidden)
        sheet.shown[size_t(col)] = false;
    return sheet;
}

// One column of grades under the header "ف" in column 6.
Sheet columnOf(const QStringList& texts)
{
    QList<Cells> pupils;
    for (const QString& text : texts)
        pupils << Cells{{6, text}, {7, QStringLiteral("تلميذ")}};
    return sheetOf({{6, QStringLiteral("ف")}}, pupils);
}

QString describe(const ExamStatistics& s)
{
    const auto number = [](std::optional<double> value) {
        return value ? QString::number(*value) : QStringLiteral("null");
    };
    return QStringLiteral("%1 %2: graded %3 absent %4 exempt %5 noGrade %6 empty %7 other %8 "
                          "under10 %9 mean %10 median %11 min %12 max %13")
        .arg(s.column)
        .arg(s.header)
        .arg(s.graded)
        .arg(s.absent)
        .arg(s.exempt)
        .arg(s.noGrade)
        .arg(s.empty)
        .arg(s.other)
        .arg(s.under10)
        .arg(number(s.mean), number(s.median), number(s.min), number(s.max));
}

QStringList describeAll(const std::vector<ExamStatistics>& all)
{
    QStringList lines;
    for (const ExamStatistics& s : all)
        lines << describe(s);
    return lines;
}

} // namespace

class TestClassStatistics : public QObject {
    Q_OBJECT

private slots:
    void statistics_data();
    void statistics();
    void countsAddUpToThePupils();
    void gradeValue_data();
    void gradeValue();
    void statisticText_data();
    void statisticText();
};

void TestClassStatistics::statistics_data()
{
    QTest::addColumn<Sheet>("sheet");
    QTest::addColumn<QStringList>("expected");

    // The marks read as 0 as numbers: counted as grades, they would pull the mean down.
    QTest::newRow("marks, empty cells and grades")
        << columnOf({"15.00", "معفى", "--.--", "غ.ش.", "", "09.75"})
        << QStringList{"6 ف: graded 2 absent 1 exempt 1 noGrade 1 empty 1 other 0 under10 1 "
                       "mean 12.375 median 12.375 min 9.75 max 15"};
    QTest::newRow("no pupil: zeros and no number")
        << columnOf({})
        << QStringList{"6 ف: graded 0 absent 0 exempt 0 noGrade 0 empty 0 other 0 under10 0 "
                       "mean null median null min null max null"};
    QTest::newRow("marks only: no division by zero")
        << columnOf({"--.--", "غ.ش.", "معفى"})
        << QStringList{"6 ف: graded 0 absent 1 exempt 1 noGrade 1 empty 0 other 0 under10 0 "
                       "mean null median null min null max null"};
    QTest::newRow("one pupil")
        << columnOf({"07.00"})
        << QStringList{"6 ف: graded 1 absent 0 exempt 0 noGrade 0 empty 0 other 0 under10 1 "
                       "mean 7 median 7 min 7 max 7"};
    // A zero is a grade, and the median of an odd count is the middle grade.
    QTest::newRow("zero is a grade, odd median")
        << columnOf({"20.00", "00.00", "11.00"})
        << QStringList{"6 ف: graded 3 absent 0 exempt 0 noGrade 0 empty 0 other 0 under10 1 "
                       "mean 10.3333 median 11 min 0 max 20"};
    QTest::newRow("ten is not under ten, even median from unsorted grades")
        << columnOf({"10.00", "09.99", "18.00", "04.00"})
        << QStringList{"6 ف: graded 4 absent 0 exempt 0 noGrade 0 empty 0 other 0 under10 2 "
                       "mean 10.4975 median 9.995 min 4 max 18"};
    // A file may hold what the sheet would refuse; none of it is a grade.
    QTest::newRow("texts that are no grade")
        << columnOf({"25.00", "20.01", "-3", " 12", "abc", "1e5", ".", "12.", "0"})
        << QStringList{"6 ف: graded 2 absent 0 exempt 0 noGrade 0 empty 0 other 7 under10 1 "
                       "mean 6 median 6 min 0 max 12"};

    const Cells headers{{4, QStringLiteral("فرض تأليفي 1")},
                        {5, QStringLiteral("  فرض مراقبة 2 ")},
                        {6, QStringLiteral("فرض مراقبة 1")}};
    const QList<Cells> pupils{{{6, "12.00"}, {5, "08.00"}, {3, "10.00"}},
                              {{6, "14.00"}, {5, "غ.ش."}, {3, "11.00"}}};
    // Column order, headers as shown (padding blanks left out), and no entry for a column
    // without a header or for a hidden one.
    QTest::newRow("columns in order, only shown ones with a header")
        << sheetOf(headers, pupils, {4})
        << QStringList{"5 فرض مراقبة 2: graded 1 absent 1 exempt 0 noGrade 0 empty 0 other 0 "
                       "under10 1 mean 8 median 8 min 8 max 8",
                       "6 فرض مراقبة 1: graded 2 absent 0 exempt 0 noGrade 0 empty 0 other 0 "
                       "under10 0 mean 13 median 13 min 12 max 14"};
    QTest::newRow("the name column is no exam")
        << sheetOf({{7, QStringLiteral("الإسم و اللقب")}}, {{{7, "12.00"}}}) << QStringList{};
    QTest::newRow("nothing at all") << Sheet{{}, {}} << QStringList{};
}

void TestClassStatistics::statistics()
{
    QFETCH(Sheet, sheet);
    QFETCH(QStringList, expected);
    QCOMPARE(describeAll(sheet::classStatistics(sheet.table, sheet.shown)), expected);
}

// Every pupil is counted once in each exam, whatever the cell holds.
void TestClassStatistics::countsAddUpToThePupils()
{
    const Sheet sheet = columnOf({"15.00", "معفى", "--.--", "غ.ش.", "", "99", "x", "00.00"});
    const std::vector<ExamStatistics> all = sheet::classStatistics(sheet.table, sheet.shown);
    QCOMPARE(all.size(), size_t(1));
    QCOMPARE(all.front().pupils(), 8);
}

void TestClassStatistics::gradeValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // -1: no grade
    QTest::newRow("grade") << "07.25" << 7.25;
    QTest::newRow("zero") << "00.00" << 0.0;
    QTest::newRow("twenty") << "20.00" << 20.0;
    QTest::newRow("short") << "5" << 5.0;
    QTest::newRow("above twenty") << "20.5" << -1.0;
    QTest::newRow("no grade mark") << "--.--" << -1.0;
    QTest::newRow("exempt") << "معفى" << -1.0;
    QTest::newRow("absent") << "غ.ش." << -1.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("sign") << "-3" << -1.0;
    QTest::newRow("two points") << "1.2.3" << -1.0;
    QTest::newRow("Arabic-Indic digits") << "١٢" << -1.0;
}

void TestClassStatistics::gradeValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const std::optional<double> read = sheet::gradeValueOf(text);
    QCOMPARE(read.value_or(-1), value);
}

void TestClassStatistics::statisticText_data()
{
    QTest::addColumn<std::optional<double>>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("no grade") << std::optional<double>() << "--.--";
    QTest::newRow("one digit") << std::optional<double>(7) << "07.00";
    QTest::newRow("zero") << std::optional<double>(0) << "00.00";
    QTest::newRow("twenty") << std::optional<double>(20) << "20.00";
    QTest::newRow("a third") << std::optional<double>(31.0 / 3) << "10.33";
    // Half a hundredth goes up, as a typed grade does, even where the double lies below.
    QTest::newRow("half up") << std::optional<double>(12.375) << "12.38";
    QTest::newRow("binary half") << std::optional<double>(9.995) << "10.00";
}

void TestClassStatistics::statisticText()
{
    QFETCH(std::optional<double>, value);
    QFETCH(QString, text);
    QCOMPARE(sheet::statisticText(value), text);
}

QTEST_APPLESS_MAIN(TestClassStatistics)
#include "tst_classstatistics.moc"
