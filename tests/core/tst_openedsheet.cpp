// The grade sheet as the window shows it once a subject grade file is opened: what the
// gradefile tool's copies and statistics are made of.
#include "gradefile/gradefileio.h"
#include "sheet/openedsheet.h"

#include <QTest>

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

QList<int> shownOf(const sheet::ShownColumns& shown)
{
    QList<int> columns;
    for (int col = 0; col < int(shown.size()); ++col) {
        if (shown[size_t(col)])
            columns << col;
    }
    return columns;
}

} // namespace

Q_DECLARE_METATYPE(gradefile::SheetTable)

class TestOpenedSheet : public QObject {
    Q_OBJECT

private slots:
    void shownColumns_data();
    void shownColumns();
    void sampleFile_data();
    void sampleFile();
};

void TestOpenedSheet::shownColumns_data()
{
    QTest::addColumn<gradefile::SheetTable>("table");
    QTest::addColumn<QList<int>>("shown");
    const Cells headers{{5, "ف 2"}, {6, "ف 1"}, {7, "الإسم"}, {8, "م"}, {9, "ع"}, {10, "م"}};
    QTest::newRow("two exams, one graded")
        << tableOf(headers, {{{6, "12.00"}, {7, "أ"}, {8, "1"}, {9, "1"}}})
        << QList<int>{5, 6, 7, 8, 9};
    // Grades under no exam name are still there to see.
    QTest::newRow("grades without a header")
        << tableOf(headers, {{{2, "12.00"}, {7, "أ"}, {8, "1"}, {9, "1"}, {10, "1|ok"}}})
        << QList<int>{2, 5, 6, 7, 8, 9};
    QTest::newRow("no pupil keeps the pupil columns")
        << tableOf(headers, {}) << QList<int>{5, 6, 7, 8, 9};
    QTest::newRow("text in the row headers is not a column")
        << tableOf(headers, {{{0, "x"}, {7, "أ"}, {8, "1"}, {9, "1"}}})
        << QList<int>{5, 6, 7, 8, 9};
}

// The level and observation column stays hidden, whatever it holds.
void TestOpenedSheet::shownColumns()
{
    QFETCH(gradefile::SheetTable, table);
    QFETCH(QList<int>, shown);
    QCOMPARE(shownOf(sheet::shownColumnsOf(table)), shown);
}

void TestOpenedSheet::sampleFile_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("nameHeader");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("kind C, three exams") << "8410203C07120002025"
                                         << "الإسم و اللقب" << QList<int>{4, 5, 6, 7, 8, 9};
    QTest::newRow("kind L, six exams")
        << "8410203L09310002025"
        << "                   الإسم و اللقب  - القسم " << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
}

// Every pupil of the file in its row, the file's exam names and the window's own headers.
void TestOpenedSheet::sampleFile()
{
    QFETCH(QString, key);
    QFETCH(QString, nameHeader);
    QFETCH(QList<int>, shown);
    const QString fileName = key + QStringLiteral(".xml");
    const gradefile::GradeFileRead read =
        gradefile::readGradeFile(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + fileName);
    QVERIFY(read.lines);
    const gradefile::DocumentRead document = gradefile::readGradeDocument(fileName, *read.lines);
    QVERIFY(document.document);
    const gradefile::SheetTable table = sheet::openedSheetTable(*document.document);
    QCOMPARE(int(table.size()), document.document->rowCount + 1);
    QCOMPARE(table[0][7], nameHeader);
    QCOMPARE(table[0][8], QStringLiteral("المعرف الو."));
    QCOMPARE(table[0][9], QStringLiteral("ع.ر"));
    QCOMPARE(table[0][6], document.document->headers.value(6));
    const gradefile::RowCells& last = document.document->rows.back();
    QCOMPARE(table.back()[7], last.value(7));
    QCOMPARE(table.back()[6], last.value(6));
    QCOMPARE(shownOf(sheet::shownColumnsOf(table)), shown);
}

QTEST_APPLESS_MAIN(TestOpenedSheet)
#include "tst_openedsheet.moc"
