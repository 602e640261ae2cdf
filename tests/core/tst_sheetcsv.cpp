// The CSV copy of a grade sheet.
#include "sheet/sheetcsv.h"

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

sheet::ShownColumns shownExcept(const QList<int>& hidden)
{
    sheet::ShownColumns shown{};
    for (int col = 1; col <= 9; ++col)
        shown[size_t(col)] = !hidden.contains(col);
    return shown;
}

// Reads CSV back as a spreadsheet does (RFC 4180): quoted fields may hold commas, quotes
// doubled and line breaks.
QList<QStringList> parseCsv(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"')
                field += text.at(++i);
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

const QByteArray kBom("\xEF\xBB\xBF");

const Cells kHeaders{{4, "فرض تأليفي 1"}, {5, "فرض مراقبة 2"},
                     {6, "فرض مراقبة 1"}, {7, "                   الإسم و اللقب  - القسم "},
                     {8, "المعرف الو."},  {9, "ع.ر"}};

} // namespace

Q_DECLARE_METATYPE(gradefile::SheetTable)
Q_DECLARE_METATYPE(sheet::ShownColumns)

class TestSheetCsv : public QObject {
    Q_OBJECT

private slots:
    void readingOrder_data();
    void readingOrder();
    void field_data();
    void field();
    void csv_data();
    void csv();
    void readsBackAsTheSheet();
};

void TestSheetCsv::readingOrder_data()
{
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<QList<int>>("columns");
    QTest::newRow("all shown") << QList<int>{} << QList<int>{9, 8, 7, 6, 5, 4, 3, 2, 1};
    QTest::newRow("three exams") << QList<int>{1, 2, 3} << QList<int>{9, 8, 7, 6, 5, 4};
    QTest::newRow("no exam") << QList<int>{1, 2, 3, 4, 5, 6} << QList<int>{9, 8, 7};
}

// The order an Arabic reader meets the columns: from the right of the screen.
void TestSheetCsv::readingOrder()
{
    QFETCH(QList<int>, hidden);
    QFETCH(QList<int>, columns);
    QCOMPARE(sheet::readingOrderColumns(shownExcept(hidden)), columns);
}

void TestSheetCsv::field_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("grade") << "07.50"
                           << "07.50";
    QTest::newRow("Arabic") << "آمنة الجربي"
                            << "آمنة الجربي";
    QTest::newRow("Arabic comma needs no quotes") << "بن علي، محمد"
                                                  << "بن علي، محمد";
    QTest::newRow("comma") << "Ben Ali, Mohamed"
                           << "\"Ben Ali, Mohamed\"";
    QTest::newRow("quotes") << "محمد \"الصغير\""
                            << "\"محمد \"\"الصغير\"\"\"";
    QTest::newRow("line break") << "a\nb"
                                << "\"a\nb\"";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSheetCsv::field()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(sheet::csvField(text), field);
}

void TestSheetCsv::csv_data()
{
    QTest::addColumn<gradefile::SheetTable>("table");
    QTest::addColumn<sheet::ShownColumns>("shown");
    QTest::addColumn<QString>("text");

    const QString header = "ع.ر,المعرف الو.,الإسم و اللقب  - القسم,فرض مراقبة 1,فرض مراقبة 2,"
                           "فرض تأليفي 1\r\n";
    QTest::newRow("marks, empty cells, hidden columns")
        << tableOf(kHeaders, {{{9, "1"},
                               {8, "20250119"},
                               {7, "آمنة الجربي"},
                               {6, "15.00"},
                               {5, "معفى"},
                               {4, "--.--"},
                               {10, "2|ممتاز"}},
                              {{9, "2"}, {8, "20250132"}, {7, "مريم الحامدي"}, {6, "غ.ش."}}})
        << shownExcept({1, 2, 3})
        << header + "1,20250119,آمنة الجربي,15.00,معفى,--.--\r\n" +
               "2,20250132,مريم الحامدي,غ.ش.,,\r\n";
    QTest::newRow("no pupil: the headers alone")
        << tableOf(kHeaders, {}) << shownExcept({1, 2, 3}) << header;
    QTest::newRow("one pupil, comma and quotes in the name")
        << tableOf(kHeaders, {{{9, "1"}, {8, "7"}, {7, "Ben \"Ali\", Salma"}, {6, "09.00"}}})
        << shownExcept({1, 2, 3, 4, 5})
        << QString("ع.ر,المعرف الو.,الإسم و اللقب  - القسم,فرض مراقبة 1\r\n"
                   "1,7,\"Ben \"\"Ali\"\", Salma\",09.00\r\n");
}

// UTF-8 with its byte order mark, so that a spreadsheet reads the Arabic; the level and
// observation column never goes out.
void TestSheetCsv::csv()
{
    QFETCH(gradefile::SheetTable, table);
    QFETCH(sheet::ShownColumns, shown);
    QFETCH(QString, text);
    const QByteArray bytes = sheet::sheetCsv(table, shown);
    QVERIFY(bytes.startsWith(kBom));
    QCOMPARE(QString::fromUtf8(bytes.mid(kBom.size())), text);
}

// Whatever the names hold, a spreadsheet gets back every shown cell in its place.
void TestSheetCsv::readsBackAsTheSheet()
{
    const QStringList names{"Ben, Ali",         "\"quoted\"", "line\r\nbreak", ",\",",
                            "عبد الله بن محمّد", "",           " spaced "};
    QList<Cells> pupils;
    for (int i = 0; i < names.size(); ++i)
        pupils << Cells{{9, QString::number(i + 1)}, {7, names[i]}, {6, "12.50"}};
    const gradefile::SheetTable table = tableOf(kHeaders, pupils);
    const sheet::ShownColumns shown = shownExcept({1, 2, 3, 8});
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(sheet::sheetCsv(table, shown)));
    QCOMPARE(rows.size(), names.size() + 1);
    for (int i = 0; i < names.size(); ++i) {
        const QStringList expected{QString::number(i + 1), names[i], "12.50", "", ""};
        QCOMPARE(rows[i + 1], expected);
    }
}

QTEST_APPLESS_MAIN(TestSheetCsv)
#include "tst_sheetcsv.moc"
