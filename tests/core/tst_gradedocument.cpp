#include "gradefile/gradedocument.h"

#include <QTest>

using namespace gradefile;

Q_DECLARE_METATYPE(gradefile::RowCells)

namespace {

const QString kSubjectKey = QStringLiteral("8410203C07010002004");
const QString kPlainKey = QStringLiteral("8410203C07011232004");
// Twenty-nine characters the grade card leaves out, then what it prints.
const QString kCaptionHead = QStringLiteral("8410203 إعدادية النور        ");
const QString kCaption = kCaptionHead + QStringLiteral("السابعة أساسي 2 - عربية - الثلاثي الأول");

QString fileNameOf(const QString& key)
{
    return key + QStringLiteral(".xml");
}

QString startLine(const QString& key, const QString& caption = kCaption)
{
    return QStringLiteral("DEBUT") + key + u'|' + caption;
}

QString endLine(const QString& key)
{
    return QStringLiteral("FIN") + key + QStringLiteral("|صفاقس 1|إعدادية النور|سلمى الجربي||7|4");
}

RowCells cells(std::initializer_list<std::pair<int, const char*>> list)
{
    RowCells row;
    for (const auto& [column, text] : list)
        row.insert(column, QString::fromUtf8(text));
    return row;
}

GradeDocument openOrFail(const QString& fileName, const QStringList& lines)
{
    const DocumentRead read = readGradeDocument(fileName, lines);
    if (!read.document)
        qWarning() << "open failed:" << read.error.number << read.error.description;
    return read.document.value_or(GradeDocument{});
}

} // namespace

class TestGradeDocument : public QObject {
    Q_OBJECT

private slots:
    void subjectSheet();
    void subjectRows_data();
    void subjectRows();
    void headers_data();
    void headers();
    void endLines();
    void plainSheet();
    void sheetDescription_data();
    void sheetDescription();
    void sheetKind_data();
    void sheetKind();
    void listDescription_data();
    void listDescription();
    void openFailures_data();
    void openFailures();
};

void TestGradeDocument::subjectSheet()
{
    const QStringList lines{
        startLine(kSubjectKey), QStringLiteral("TYPEEPREUVE:|فرض مراقبة 1|فرض تأليفي 1|شفاهي"),
        QStringLiteral("1|1|1001|أحمد الكافي|12.50|--.--|معفى"),
        QStringLiteral("2|2|1002|مريم التونسي|07.00|15.25|غ.ش."), endLine(kSubjectKey)};
    const GradeDocument document = openOrFail(fileNameOf(kSubjectKey), lines);
    QCOMPARE(document.type, SheetType::Subject);
    QCOMPARE(document.key, kSubjectKey);
    QCOMPARE(document.year, qint16(2004));
    QCOMPARE(document.schoolYear, QStringLiteral("2005/2004"));
    QCOMPARE(document.caption, kCaption);
    QCOMPARE(document.headers, cells({{6, "فرض مراقبة 1"}, {5, "فرض تأليفي 1"}, {4, "شفاهي"}}));
    QCOMPARE(document.rowCount, 2);
    QCOMPARE(document.rows.size(), size_t(2));
    QCOMPARE(document.rows[0], cells({{10, "1"},
                                      {9, "1"},
                                      {8, "1001"},
                                      {7, "أحمد الكافي"},
                                      {6, "12.50"},
                                      {5, "--.--"},
                                      {4, "معفى"}}));
    QCOMPARE(document.rows[1].value(4), QStringLiteral("غ.ش."));
    QCOMPARE(document.endLines.size(), size_t(1));
    QCOMPARE(*document.endLines[0].region, QStringLiteral("صفاقس 1"));
    QCOMPARE(*document.endLines[0].establishment, QStringLiteral("إعدادية النور"));
    QCOMPARE(*document.endLines[0].teacher, QStringLiteral("سلمى الجربي"));
    QCOMPARE(*document.endLines[0].saveNumber, qint16(0));
    QCOMPARE(*document.endLines[0].printNumber, qint16(7));
}

// How many grid rows a file gives and what stands in them.
void TestGradeDocument::subjectRows_data()
{
    QTest::addColumn<QStringList>("pupilAndEndLines");
    QTest::addColumn<QList<RowCells>>("rows");
    QTest::addColumn<int>("endLinesRead");

    const QString end = endLine(kSubjectKey);
    QTest::newRow("six fields set columns 10 to 5")
        << QStringList{QStringLiteral("1|2|3|اسم|11|12"), end}
        << QList<RowCells>{cells({{10, "1"}, {9, "2"}, {8, "3"}, {7, "اسم"}, {6, "11"}, {5, "12"}})}
        << 1;
    QTest::newRow("empty fifth field")
        << QStringList{QStringLiteral("1|2|3|اسم||13"), end}
        << QList<RowCells>{cells({{10, "1"}, {9, "2"}, {8, "3"}, {7, "اسم"}, {6, ""}, {5, "13"}})}
        << 1;
    QTest::newRow("eleven fields reach the row header")
        << QStringList{QStringLiteral("l|s|i|n|6|5|4|3|2|1|h"), end}
        << QList<RowCells>{cells({{10, "l"},
                                  {9, "s"},
                                  {8, "i"},
                                  {7, "n"},
                                  {6, "6"},
                                  {5, "5"},
                                  {4, "4"},
                                  {3, "3"},
                                  {2, "2"},
                                  {1, "1"},
                                  {0, "h"}})}
        << 1;
    QTest::newRow("no pupils: the end line is read as such")
        << QStringList{end} << QList<RowCells>{} << 1;
    QTest::newRow("no end line keeps the last pupil")
        << QStringList{QStringLiteral("1|1|1|أ|10"), QStringLiteral("2|2|2|ب|11")}
        << QList<RowCells>{cells({{10, "1"}, {9, "1"}, {8, "1"}, {7, "أ"}, {6, "10"}}),
                           cells({{10, "2"}, {9, "2"}, {8, "2"}, {7, "ب"}, {6, "11"}})}
        << 0;
    QTest::newRow("lines after the end line are pupils")
        << QStringList{QStringLiteral("1|1|1|أ|10"), end, QStringLiteral("3|3|3|ج|12")}
        << QList<RowCells>{cells({{10, "1"}, {9, "1"}, {8, "1"}, {7, "أ"}, {6, "10"}}),
                           cells({{10, "3"}, {9, "3"}, {8, "3"}, {7, "ج"}, {6, "12"}})}
        << 1;
    QTest::newRow("a pupil line without separator fills nothing")
        << QStringList{QStringLiteral("orphan"), end} << QList<RowCells>{RowCells()} << 1;
    QTest::newRow("an end line first in line 3 is read as a pupil")
        << QStringList{end, QStringLiteral("1|1|1|أ|10"), end}
        << QList<RowCells>{cells({{10, "FIN"
                                       "8410203C07010002004"},
                                  {9, "صفاقس 1"},
                                  {8, "إعدادية النور"},
                                  {7, "سلمى الجربي"},
                                  {6, ""},
                                  {5, "7"},
                                  {4, "4"}}),
                           cells({{10, "1"}, {9, "1"}, {8, "1"}, {7, "أ"}, {6, "10"}})}
        << 1;
}

void TestGradeDocument::subjectRows()
{
    QFETCH(QStringList, pupilAndEndLines);
    QFETCH(QList<RowCells>, rows);
    QFETCH(int, endLinesRead);
    const QStringList lines =
        QStringList{startLine(kSubjectKey), QStringLiteral("TYPEEPREUVE:|ف1")} + pupilAndEndLines;
    const GradeDocument document = openOrFail(fileNameOf(kSubjectKey), lines);
    QCOMPARE(document.rowCount, int(rows.size()));
    QCOMPARE(QList<RowCells>(document.rows.begin(), document.rows.end()), rows);
    QCOMPARE(int(document.endLines.size()), endLinesRead);
}

void TestGradeDocument::headers_data()
{
    QTest::addColumn<QString>("testLine");
    QTest::addColumn<RowCells>("headers");
    QTest::newRow("one header") << QStringLiteral("TYPEEPREUVE:|ف1") << cells({{6, "ف1"}});
    QTest::newRow("six headers")
        << QStringLiteral("TYPEEPREUVE:|a|b|c|d|e|f")
        << cells({{6, "a"}, {5, "b"}, {4, "c"}, {3, "d"}, {2, "e"}, {1, "f"}});
    QTest::newRow("seven headers")
        << QStringLiteral("TYPEEPREUVE:|a|b|c|d|e|f|g")
        << cells({{6, "a"}, {5, "b"}, {4, "c"}, {3, "d"}, {2, "e"}, {1, "f|g"}});
    QTest::newRow("none") << QStringLiteral("TYPEEPREUVE:") << RowCells();
    QTest::newRow("other prefix ignored") << QStringLiteral("EXAMS|a") << cells({{6, "a"}});
}

void TestGradeDocument::headers()
{
    QFETCH(QString, testLine);
    QFETCH(RowCells, headers);
    const GradeDocument document =
        openOrFail(fileNameOf(kSubjectKey), {startLine(kSubjectKey), testLine,
                                             QStringLiteral("1|1|1|أ|10"), endLine(kSubjectKey)});
    QCOMPARE(document.headers, headers);
}

void TestGradeDocument::endLines()
{
    const QString first = QStringLiteral("FIN") + kSubjectKey + QStringLiteral("|r1|e1|t1||3|2");
    const QString second = QStringLiteral("FIN") + kSubjectKey + QStringLiteral("|r2|e2|t2|9|8");
    const GradeDocument document =
        openOrFail(fileNameOf(kSubjectKey),
                   {startLine(kSubjectKey), QStringLiteral("TYPEEPREUVE:|ف"),
                    QStringLiteral("1|1|1|أ|1"), first, QStringLiteral("2|2|2|ب|2"), second});
    QCOMPARE(document.endLines.size(), size_t(2));
    QCOMPARE(*document.endLines[1].region, QStringLiteral("r2"));
    QCOMPARE(*document.endLines[1].saveNumber, qint16(9));
    QCOMPARE(*document.endLines[1].printNumber, qint16(8));
    QCOMPARE(document.rowCount, 3); // six records less three, one row left empty
    QCOMPARE(document.rows[2], RowCells());
}

void TestGradeDocument::plainSheet()
{
    const QStringList lines{startLine(kPlainKey, QStringLiteral("قائمة")),
                            QStringLiteral("TYPEEPREUVE:|المعدل السنوي|مع رمز"),
                            QStringLiteral("1|12|1001|أحمد|الكافي|14.25"),
                            QStringLiteral("2|13|1002|مريم|التونسي|09.50|زائد"),
                            QStringLiteral("FIN") + kPlainKey + QStringLiteral("|x")};
    const GradeDocument document = openOrFail(fileNameOf(kPlainKey), lines);
    QCOMPARE(document.type, SheetType::Plain);
    QCOMPARE(document.headers, cells({{1, "المعدل السنوي|مع رمز"}}));
    QCOMPARE(document.rowCount, 2);
    QCOMPARE(document.rows[0],
             cells({{6, "1"}, {5, "12"}, {4, "1001"}, {3, "أحمد"}, {2, "الكافي"}, {1, "14.25"}}));
    QCOMPARE(document.rows[1].value(1), QStringLiteral("09.50|زائد"));
    QVERIFY(document.endLines.empty());

    // Without an end line the file opens all the same, every pupil in its row.
    const GradeDocument noEnd = openOrFail(fileNameOf(kPlainKey), lines.mid(0, 4));
    QCOMPARE(noEnd.rowCount, 2);
    QCOMPARE(noEnd.rows[1].value(3), QStringLiteral("مريم"));
}

void TestGradeDocument::sheetDescription_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("printed");
    QTest::newRow("trimester and tatweel")
        << kCaption << QStringLiteral("السابـعة أساسي 2 - عربـية - الثلاثي 1");
    QTest::newRow("brackets removed")
        << kCaptionHead + QStringLiteral("[8 أ] [رياضيات] الثلاثي الثاني")
        << QStringLiteral("8 أ رياضيات الثلاثي 2");
    QTest::newRow("third trimester")
        << kCaptionHead + QStringLiteral("الثلاثي الثالث") << QStringLiteral("الثلاثي 3");
    QTest::newRow("exactly twenty-nine characters") << kCaptionHead << QString();
    QTest::newRow("shorter") << QStringLiteral("قصير") << QString();
    QTest::newRow("every ba") << kCaptionHead + QStringLiteral("بب") << QStringLiteral("بـبـ");
}

void TestGradeDocument::sheetDescription()
{
    QFETCH(QString, caption);
    QFETCH(QString, printed);
    QCOMPARE(kCaptionHead.size(), 29);
    QCOMPARE(sheetDescriptionOf(caption), printed);
    // A short description does not stop the file from opening.
    const DocumentRead read = readGradeDocument(
        fileNameOf(kSubjectKey), {startLine(kSubjectKey, caption), QStringLiteral("TYPEEPREUVE:|ف"),
                                  QStringLiteral("1|1|1|أ|1"), endLine(kSubjectKey)});
    QVERIFY(read.document);
    QCOMPARE(read.document->sheetDescription, printed);
    QCOMPARE(read.document->caption, caption);
}

void TestGradeDocument::sheetKind_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("kind");
    QTest::newRow("C") << kSubjectKey << "C";
    QTest::newRow("L") << QStringLiteral("8410203L07010002004") << "L";
    QTest::newRow("short key: a character of the description") << QStringLiteral("K2004") << "4";
}

void TestGradeDocument::sheetKind()
{
    QFETCH(QString, key);
    QFETCH(QString, kind);
    const GradeDocument document =
        openOrFail(fileNameOf(key), {startLine(key), QStringLiteral("TYPEEPREUVE:|ف"),
                                     QStringLiteral("1|1|1|أ|1|2"), endLine(key)});
    QCOMPARE(document.sheetKind, kind);
}

void TestGradeDocument::listDescription_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("shown");
    const QString invalid = kInvalidGradeFileText;
    QTest::newRow("valid") << QStringLiteral("K1.xml") << QStringList{"DEBUTK1|وصف"}
                           << QStringLiteral("وصف");
    QTest::newRow("renamed file") << QStringLiteral("K2.xml") << QStringList{"DEBUTK1|وصف"}
                                  << invalid;
    QTest::newRow("letter case counts")
        << QStringLiteral("k1.xml") << QStringList{"DEBUTK1|وصف"} << invalid;
    QTest::newRow("uppercase extension")
        << QStringLiteral("K1.XML") << QStringList{"DEBUTK1|وصف"} << QStringLiteral("وصف");
    QTest::newRow("no separator") << QStringLiteral("K1.xml") << QStringList{"DEBUTK1"} << invalid;
    QTest::newRow("no lines") << QStringLiteral("K1.xml") << QStringList() << invalid;
    QTest::newRow("empty description")
        << QStringLiteral("K1.xml") << QStringList{"DEBUTK1|"} << QString();
}

void TestGradeDocument::listDescription()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, lines);
    QFETCH(QString, shown);
    QCOMPARE(gradefile::listDescription(fileName, lines), shown);
}

void TestGradeDocument::openFailures_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("invalidGradeFile");
    QTest::addColumn<int>("number");
    const QString subject = fileNameOf(kSubjectKey);
    QTest::newRow("renamed") << QStringLiteral("other.xml") << QStringList{startLine(kSubjectKey)}
                             << true << 0;
    QTest::newRow("empty file") << subject << QStringList() << true << 0;
    QTest::newRow("year not a number")
        << QStringLiteral("8410203C0701000ABCD.xml")
        << QStringList{startLine(QStringLiteral("8410203C0701000ABCD")), "TYPEEPREUVE:"} << false
        << 13;
    QTest::newRow("year 9999 opens")
        << QStringLiteral("8410203C07010009999.xml")
        << QStringList{startLine(QStringLiteral("8410203C07010009999")), "TYPEEPREUVE:"} << false
        << 0; // 9999 + 1 fits: this one opens
    QTest::newRow("only a start line")
        << subject << QStringList{startLine(kSubjectKey)} << false << 3021;
    QTest::newRow("plain line with four separators")
        << fileNameOf(kPlainKey)
        << QStringList{startLine(kPlainKey), "TYPEEPREUVE:|م", "1|2|3|4|5", "1|2|3|4|5|6"} << false
        << 5;
    QTest::newRow("end line number out of range")
        << subject
        << QStringList{startLine(kSubjectKey), "TYPEEPREUVE:|ف", "1|1|1|أ|1",
                       QStringLiteral("FIN") + kSubjectKey + QStringLiteral("|r|e|t||40000")}
        << false << 6;
}

void TestGradeDocument::openFailures()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, lines);
    QFETCH(bool, invalidGradeFile);
    QFETCH(int, number);
    const DocumentRead read = readGradeDocument(fileName, lines);
    if (!invalidGradeFile && number == 0) {
        QVERIFY(read.document);
        return;
    }
    QVERIFY(!read.document);
    QCOMPARE(read.error.kind == gradefile::FileErrorKind::NotAGradeFile, invalidGradeFile);
    QCOMPARE(read.error.number, number);
    if (!invalidGradeFile)
        QVERIFY(!read.error.description.isEmpty());
}

QTEST_APPLESS_MAIN(TestGradeDocument)
#include "tst_gradedocument.moc"
