// A class's grades read from a CSV file or a workbook, and the plan of their import.
#include "../support/datatable.h"
#include "core/copies/gradeimport.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace sheet;
Q_DECLARE_METATYPE(sheet::SourceError)

// Rows as "field|field/field|field".
static QString joined(const SourceRows& rows)
{
    QStringList lines;
    for (const QStringList& row : rows)
        lines << row.join(u'|');
    return lines.join(u'/');
}

class TestGradeImport : public QObject {
    Q_OBJECT

private slots:
    void csvRows_data()
    {
        const auto row = dataTable<QByteArray, QString>({"bytes", "rows"});
        // The byte order mark read as part of the first header, CR kept in the last field.
        row("BOM, CR LF", "\xEF\xBB\xBFid,g\r\n1,2\r\n"_ba, u"id|g/1|2"_s);
        // A French spreadsheet's decimal comma taken for the separator.
        row("semicolons", "id;g\n1;12,5\n"_ba, u"id|g/1|12,5"_s);
        // The last line lost without its line break.
        row("TAB, no last break", "id\tg\n1\t2"_ba, u"id|g/1|2"_s);
        row("quoted separator, quote, break", "id,n\n1,\"a,\"\"b\"\"\nc\"\n"_ba,
            u"id|n/1|a,\"b\"\nc"_s);
        // Blank lines taken as the header row; short rows read beyond their end.
        row("blank lines, short rows", "\nid,g,h\n\n1\n"_ba, u"id|g|h/1||"_s);
    }
    void csvRows()
    {
        QFETCH(QByteArray, bytes);
        const SourceRead read = readCsvSource(bytes);
        QCOMPARE(read.error, SourceError::None);
        QTEST(joined(read.rows), "rows");
    }

    void files_data()
    {
        // The third row when the file is read.
        const auto row = dataTable<QString, SourceError, QString, QString>(
            {"file", "error", "thirdRow", "encoding"});
        // Inline strings, numbers, identifiers as digits, empty cells kept, the first sheet only.
        row("workbook", u"class.xlsx"_s, SourceError::None, u"آمنة الجربي|20250119||17.25|"_s, "");
        // A CSV that is not UTF-8: what a spreadsheet on an Arabic Windows writes.
        row("CSV of an Arabic Windows", u"class-1256.csv"_s, SourceError::None,
            u"آمنة الجربي|20250119||17,25|"_s, "Windows-1256");
    }
    void files()
    {
        const auto [file, error] = fetchRow<QString, SourceError>({"file", "error"});
        const SourceRead read = readGradeSource(SAISIE_IMPORT_DATA_DIR "/" + file);
        if (file.endsWith(u".xlsx") && read.error == SourceError::NoWorkbookReader)
            QSKIP("this build reads no workbook");
        QCOMPARE(read.error, error);
        QTEST(read.rows.size() > 3 ? read.rows[3].join(u'|') : QString(), "thirdRow");
        QTEST(read.encoding, "encoding");
    }

    // Pupils found by identifier only, the summary told before anything changes.
    void plan()
    {
        gradefile::SheetTable table(6);
        const QString pupils[][4] = {{{}, {}, u" فرض 1 "_s, u"فرض 2"_s},
                                     {u"0123"_s, u"أ"_s, u"10.00"_s, u"--.--"_s},
                                     {u"0555"_s, u"ب"_s, u"11.00"_s, {}},
                                     {u"00555"_s, u"ج"_s, {}, {}},
                                     {u"20250145"_s, u"د"_s, u"12.00"_s, u"13.00"_s},
                                     {u"77"_s, u"هـ"_s, u"14.00"_s, {}}};
        for (size_t row = 0; row < table.size(); ++row)
            for (size_t column = 0; column < 4; ++column)
                table[row][8 - column] = pupils[row][column];
        GradeSheet sheet;
        sheet.reset(table);
        const SourceRows source{{u"name"_s, u"id"_s, u"فرض 1"_s, u"x"_s},
                                {u"د"_s, u"1.23E+2"_s, u"9"_s, u"2"_s}, // digits lost: unknown
                                {u"ب"_s, u"555"_s, u"9"_s, u"2"_s},     // two pupils: unknown
                                {u"أ"_s, u"123"_s, u"12,5"_s, u"7"_s},  // zeros lost: matched
                                {{}, u" 77 "_s, u"14"_s, u"21"_s},      // the same grade
                                {{}, u"20250145"_s, u"1"_s, {}},
                                {{}, u"20250145"_s, u"2"_s, {}}, // which one? neither
                                {{}, u"00555"_s, {}, u"3"_s}};
        QCOMPARE(guessIdentifierColumn(source, sheet), 1);
        const std::vector<int> exams = examColumnsByHeader(source, importExams(sheet), 1);
        QCOMPARE(exams, (std::vector<int>{kNoExam, kNoExam, 0, kNoExam}));
        // The identifier column fills no exam, and an exam takes its first column only.
        const ImportPlan plan = planImport(source, sheet, {1, {kNoExam, 0, 0, 1}});
        QVERIFY(plan.matched == 3 && plan.unknown == (QStringList{u"1.23E+2"_s, u"555"_s}));
        QCOMPARE(plan.repeated, QStringList{u"20250145"_s});
        QVERIFY(plan.missing.size() == 1 && plan.missing.back().name == u"ب"_s);
        QVERIFY(plan.refused.size() == 1 && plan.refused.front().value == u"21"_s);
        // Every cell written listed, empty ones too; refused and repeated values written nowhere.
        QCOMPARE(plan.changed.size(), plan.writes.size());
        QStringList changes;
        for (size_t i = 0; i < plan.writes.size(); ++i)
            changes << plan.changed.at(i).before + u'>' + plan.changed.at(i).value + u'=' +
                           plan.writes[i].text;
        QCOMPARE(changes,
                 (QStringList{u"10.00>12.50=12.50"_s, u"--.-->07.00=07.00"_s, u">03.00=03.00"_s}));
        QCOMPARE(plan.filled, 2);
    }
};

QTEST_GUILESS_MAIN(TestGradeImport)
#include "tst_gradeimport.moc"
