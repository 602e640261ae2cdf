// The class statistics and the CSV copy made of the grade sheet's texts.
#include "../support/datatable.h"
#include "core/copies/classstatistics.h"
#include "core/copies/sheetcsv.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Rows of cells by grid column, from 0; row 0 the headers.
static gradefile::SheetTable tableOf(const QList<QStringList>& rows)
{
    gradefile::SheetTable table(size_t(rows.size()));
    for (int row = 0; row < rows.size(); ++row)
        for (int col = 0; col < rows[row].size(); ++col)
            table[size_t(row)][size_t(col)] = rows[row][col];
    return table;
}

static const QStringList kHeaders{
    "", "", "", "", "فرض تأليفي 1", " فرض مراقبة 2  ", "فرض مراقبة 1", "الإسم", "المعرف", "ع.ر"};

class TestSheetReports : public QObject {
    Q_OBJECT

private slots:
    // Marks are no grades (read as 0 they would pull the mean down); every pupil counts once; half
    // a hundredth goes up, as a typed grade does.
    void statistics_data()
    {
        // counts: graded, absent, exempt, noGrade, empty, other, under10; the band of each grade
        const auto row = dataTable<QStringList, QList<int>, QStringList, QList<int>>(
            {"grades", "counts", "figures", "bands"});
        const QStringList none{"--.--", "--.--", "--.--", "--.--"};
        row("marks, empty cells and grades", {"15.00", "معفى", "--.--", "غ.ش.", "", "09.75"},
            {2, 1, 1, 1, 1, 0, 1}, {"12.38", "12.38", "09.75", "15.00"}, {7, 4});
        row("marks only: no division by zero", {"--.--", "غ.ش.", "معفى"}, {0, 1, 1, 1, 0, 0, 0},
            none, {});
        row("no pupil", {}, {0, 0, 0, 0, 0, 0, 0}, none, {});
        row("zero is a grade, odd median", {"20.00", "00.00", "11.00"}, {3, 0, 0, 0, 0, 0, 1},
            {"10.33", "11.00", "00.00", "20.00"}, {9, 0, 5});
        row("ten is not under ten, even median from unsorted grades",
            {"10.00", "09.99", "18.00", "04.00"}, {4, 0, 0, 0, 0, 0, 2},
            {"10.50", "10.00", "04.00", "18.00"}, {5, 4, 9, 2});
        // A file may hold what the sheet would refuse; none of it is a grade.
        row("texts that are no grade",
            {"25.00", "20.01", "-3", " 12", "abc", "1e5", ".", "1.2.3", "١٢", "12.", "0"},
            {2, 0, 0, 0, 0, 9, 1}, {"06.00", "06.00", "00.00", "12.00"}, {6, 0});
        // Hundredths that a sum of doubles would put in the band below.
        row("band edges", {"01.99", "02.00", "17.99", "18.00", "19.99", "20.00", "00.29", "معفى"},
            {7, 0, 1, 0, 0, 0, 3}, {"11.47", "17.99", "00.29", "20.00"}, {0, 1, 8, 9, 9, 9, 0});
    }

    void statistics()
    {
        QFETCH(QStringList, grades);
        QList<QStringList> rows{kHeaders};
        for (const QString& grade : grades)
            rows << QStringList{"", "", "", "", "10.00", "", grade, "تلميذ"};
        sheet::GradeSheet sheet;
        sheet.reset(tableOf(rows));
        sheet::ShownColumns shown = sheet.shownColumns();
        shown[4] = false;
        sheet.setShownColumns(shown);
        const std::vector<sheet::ExamStatistics> all = sheet::classStatistics(sheet);
        // One entry per shown exam with a header, first exam first, its header trimmed.
        QStringList exams;
        for (const sheet::ExamStatistics& exam : all)
            exams << QString::number(exam.exam) + u' ' + exam.header;
        QCOMPARE(exams, (QStringList{"0 فرض مراقبة 1", "1 فرض مراقبة 2"}));
        const sheet::ExamStatistics& s = all.front();
        QTEST((QList<int>{s.graded, s.absent, s.exempt, s.noGrade, s.empty, s.other, s.under10}),
              "counts");
        QTEST((QStringList{sheet::statisticText(s.mean), sheet::statisticText(s.median),
                           sheet::statisticText(s.min), sheet::statisticText(s.max)}),
              "figures");
        QCOMPARE(s.pupils(), int(grades.size()));
        QFETCH(QList<int>, bands);
        sheet::GradeDistribution distribution{};
        for (int band : bands)
            ++distribution[size_t(band)];
        QCOMPARE(s.distribution, distribution);
    }

    // UTF-8 with its byte order mark; the columns that hold something (grades under no exam name
    // too, never the row headers nor the observations) from the right; fields quoted as needed.
    void csv_data()
    {
        const auto row = dataTable<QList<QStringList>, QString>({"pupils", "text"});
        const QString header = u"ع.ر,المعرف,الإسم,فرض مراقبة 1,فرض مراقبة 2,فرض تأليفي 1"_s;
        row("no pupil: the headers alone", {}, header + "\r\n");
        row("marks, empty cells, quoted names, a grade without a header",
            {{"x", "", "10.00", "", "", "معفى", "15.00", "بن علي، محمد", "7", "1", "2#ممتاز"},
             {"", "", "", "", "غ.ش.", "", "", "Ben \"Ali\", Salma", "", "2"},
             {"", "", "", "", "", "", "", "a\nb", "", "3"}},
            header + u",,\r\n1,7,بن علي، محمد,15.00,معفى,,,10.00\r\n"
                     "2,,\"Ben \"\"Ali\"\", Salma\",,,غ.ش.,,\r\n3,,\"a\nb\",,,,,\r\n"_s);
        // A spreadsheet would run these as formulas; "--.--" is a mark.
        row("texts a spreadsheet would run",
            {{"", "", "", "", "", "--.--", "", "=1+1", "+9", "@A1"}},
            header + u"\r\n'@A1,'+9,'=1+1,,--.--,\r\n"_s);
    }

    void csv()
    {
        QFETCH(QList<QStringList>, pupils);
        sheet::GradeSheet sheet;
        sheet.reset(tableOf(QList<QStringList>{kHeaders} + pupils));
        const QByteArray bytes = sheet::sheetCsv(sheet);
        QCOMPARE(bytes.left(3), QByteArray("\xEF\xBB\xBF"));
        QTEST(QString::fromUtf8(bytes.mid(3)), "text");
    }
};

QTEST_APPLESS_MAIN(TestSheetReports)
#include "tst_sheetreports.moc"
