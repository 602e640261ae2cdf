#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"
#include "print/cardtexts.h"
#include "print/headercomposer.h"
#include "print/pageheader.h"
#include "print/printcodes.h"

#include <QDir>
#include <QTest>

using print::HeaderComposer;
using print::LinePosition;
using print::PrintFont;
using print::PrintLine;
using print::PrintSpan;

Q_DECLARE_METATYPE(PrintFont)

namespace {

const PrintFont kComposed{QStringLiteral("Tahoma"), 10, true, false, false, false};

// A line written as "left|centre|right" texts, page numbers as "#".
QString lineText(const PrintLine& line)
{
    QStringList parts;
    for (auto part : {PrintLine::Left, PrintLine::Centre, PrintLine::Right}) {
        QString text;
        for (const PrintSpan& span : line.parts[size_t(part)])
            text += span.pageNumber ? QStringLiteral("#") : span.text;
        parts << text;
    }
    return parts.join(u'|');
}

QStringList linesText(const QVector<PrintLine>& lines)
{
    QStringList texts;
    for (const PrintLine& line : lines)
        texts << lineText(line);
    return texts;
}

print::CardTexts cardOf(const QString& fileName)
{
    const QString path = QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + fileName;
    const gradefile::GradeFileRead read = gradefile::readGradeFile(path);
    print::CardTexts texts;
    print::resetCardTexts(texts);
    if (read.lines) {
        const gradefile::DocumentRead document =
            gradefile::readGradeDocument(fileName, *read.lines);
        if (document.document)
            print::completeCardTexts(texts, *document.document);
    }
    return texts;
}

} // namespace

class TestPrintCodes : public QObject {
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void fontsOfTheParts_data();
    void fontsOfTheParts();
    void fontCarriesOnToTheNextLine();
    void pageNumberIsResolvedPerPage();
    void composedTextsReadBackUnchanged_data();
    void composedTextsReadBackUnchanged();
    void realCardReadsBackLineByLine_data();
    void realCardReadsBackLineByLine();
};

void TestPrintCodes::lines_data()
{
    QTest::addColumn<QString>("codes");
    QTest::addColumn<QStringList>("expected");

    // The line count decides where the grid starts: an extra or lost line shifts it.
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one empty line") << QStringLiteral("/n") << QStringList{"||"};
    QTest::newRow("three empty lines") << QStringLiteral("/n/n/n") << QStringList{"||", "||", "||"};
    QTest::newRow("no final line end") << QStringLiteral("/rPage") << QStringList{"||Page"};
    QTest::newRow("three parts") << QStringLiteral("/cC/rR/lL/n") << QStringList{"L|C|R"};
    QTest::newRow("text before any alignment is left")
        << QStringLiteral("abc/n") << QStringList{"abc||"};
    QTest::newRow("alignment carries within the line only")
        << QStringLiteral("/rR/nx/n") << QStringList{"||R", "x||"};
    QTest::newRow("page number") << QStringLiteral("/cPage /p of 3/n")
                                 << QStringList{"|Page # of 3|"};
    // A slash that starts no code prints: the school year and the date hold slashes.
    QTest::newRow("school year") << QStringLiteral("/l2025/2024/n") << QStringList{"2025/2024||"};
    QTest::newRow("date") << QStringLiteral("/l03/12/2024/n") << QStringList{"03/12/2024||"};
    QTest::newRow("spaced slash") << QStringLiteral("/lx / y/n") << QStringList{"x / y||"};
    QTest::newRow("doubled slash") << QStringLiteral("/la//nb/n") << QStringList{"a/nb||"};
    QTest::newRow("slash ending a text") << QStringLiteral("/la///n") << QStringList{"a/||"};
    QTest::newRow("slash at the very end") << QStringLiteral("/la/") << QStringList{"a/||"};
    QTest::newRow("unknown code is text") << QStringLiteral("/l/x/n") << QStringList{"/x||"};
    // A broken font code must not swallow the text after it.
    QTest::newRow("size not a number")
        << QStringLiteral("/l/fz\"ab\"x/n") << QStringList{"/fz\"ab\"x||"};
    QTest::newRow("unclosed font name")
        << QStringLiteral("/l/fn\"Tahoma/n") << QStringList{"/fn\"Tahoma||"};
    QTest::newRow("flag without digit") << QStringLiteral("/l/fbx/n") << QStringList{"/fbx||"};
    QTest::newRow("font codes alone print nothing")
        << QStringLiteral("/fn\"Arial\"/fz\"12\"/fb1/n") << QStringList{"||"};
}

void TestPrintCodes::lines()
{
    QFETCH(QString, codes);
    QFETCH(QStringList, expected);
    QCOMPARE(linesText(print::readPrintCodes(codes)), expected);
}

void TestPrintCodes::fontsOfTheParts_data()
{
    QTest::addColumn<QString>("codes");
    QTest::addColumn<PrintFont>("expected");

    // Each code must set its own attribute: a swapped flag prints the card in italics
    // or struck through.
    QTest::newRow("composed run") << QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1/fi0/fu0/fk0/lx")
                                  << kComposed;
    QTest::newRow("italic") << QStringLiteral("/fn\"Arial\"/fz\"12\"/fb0/fi1/lx")
                            << PrintFont{QStringLiteral("Arial"), 12, false, true, false, false};
    QTest::newRow("underline") << QStringLiteral("/fu1/lx")
                               << PrintFont{QString(), 10, false, false, true, false};
    QTest::newRow("strike") << QStringLiteral("/fk1/lx")
                            << PrintFont{QString(), 10, false, false, false, true};
    QTest::newRow("later code wins") << QStringLiteral("/fb1/fb0/fz\"8\"/fz\"14\"/lx")
                                     << PrintFont{QString(), 14, false, false, false, false};
}

void TestPrintCodes::fontsOfTheParts()
{
    QFETCH(QString, codes);
    QFETCH(PrintFont, expected);
    const QVector<PrintLine> lines = print::readPrintCodes(codes);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].parts[PrintLine::Left].size(), 1);
    QCOMPARE(lines[0].parts[PrintLine::Left][0].font, expected);
}

void TestPrintCodes::fontCarriesOnToTheNextLine()
{
    const QVector<PrintLine> lines = print::readPrintCodes(QStringLiteral("/fi1/la/fi0b/n/rc/n"));
    QCOMPARE(lines.size(), 2);
    const QVector<PrintSpan>& first = lines[0].parts[PrintLine::Left];
    QCOMPARE(first.size(), 2);
    QVERIFY(first[0].font.italic);
    QVERIFY(!first[1].font.italic);
    QVERIFY(!lines[1].parts[PrintLine::Right][0].font.italic);
}

void TestPrintCodes::pageNumberIsResolvedPerPage()
{
    const QVector<PrintLine> lines = print::readPrintCodes(QStringLiteral("/r/p - /p/n"));
    QCOMPARE(lines[0].partText(PrintLine::Right, 7), QStringLiteral("7 - 7"));
    QCOMPARE(lines[0].partText(PrintLine::Right, 12), QStringLiteral("12 - 12"));
}

void TestPrintCodes::composedTextsReadBackUnchanged_data()
{
    QTest::addColumn<QString>("text");
    // Whatever a card text holds, the reader must give back what the composer was given.
    for (const char* text : {"Page", "   ", "a/nb", "x/p", "a//b", "a/", "/", "//", "/fn\"x\"",
                             "2025/2024", "\"quoted\"", "<Page Number> "})
        QTest::newRow(text) << QString::fromUtf8(text);
    QTest::newRow("arabic") << QStringLiteral("الجمهوريـــّة التّونسيــــّة");
}

void TestPrintCodes::composedTextsReadBackUnchanged()
{
    QFETCH(QString, text);
    HeaderComposer composer;
    composer.setText(1, LinePosition::Left, text);
    composer.setText(1, LinePosition::Right, text);
    const QVector<PrintLine> lines = print::readPrintCodes(composer.compose());
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].partText(PrintLine::Left, 1), text);
    QCOMPARE(lines[0].partText(PrintLine::Right, 1), text);
    QCOMPARE(lines[0].parts[PrintLine::Left].size(), 1);
    QCOMPARE(lines[0].parts[PrintLine::Left][0].font, kComposed);
}

void TestPrintCodes::realCardReadsBackLineByLine_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("three exams") << QStringLiteral("8410203C07120002025.xml");
    QTest::newRow("six exams") << QStringLiteral("8410203L09310002025.xml");
}

// Every header and footer line of a real card, through the composer and back.
void TestPrintCodes::realCardReadsBackLineByLine()
{
    QFETCH(QString, fileName);
    const print::CardTexts texts = cardOf(fileName);
    QVERIFY(!texts.teacherName.isEmpty());
    const QDate date(2025, 3, 14);
    const QLocale locale(QLocale::French, QLocale::Tunisia);
    const print::PageHeader page = print::composePageHeader(texts, date, locale);

    const QString printNumber = QStringLiteral("ر.ط : ") + QString::number(texts.printNumber);
    QCOMPARE(
        linesText(print::readPrintCodes(page.header)),
        (QStringList{QStringLiteral("||"), texts.schoolYearLine + u'|' + u'|' + texts.republicLine,
                     u'|' + texts.cardTitle + u'|' + texts.ministryLine,
                     u'|' + texts.sheetDescription + u'|' + texts.directorateLine,
                     texts.teacherLine + u'|' + printNumber + u'|' + texts.establishmentName}));
    const QString dateText = texts.dateLabel + u' ' + locale.toString(date, QLocale::ShortFormat);
    QCOMPARE(linesText(print::readPrintCodes(page.footer)),
             (QStringList{QStringLiteral("||"),
                          texts.teacherSignatureLabel + QString(10, u' ') +
                              texts.agentSignatureLabel + QStringLiteral("||"),
                          QStringLiteral("||"), QStringLiteral("||"), QStringLiteral("||"),
                          dateText + u'|' + u'|' + texts.versionLine}));
    for (const QString& codes : {page.header, page.footer})
        for (const PrintLine& line : print::readPrintCodes(codes))
            for (const QVector<PrintSpan>& part : line.parts)
                for (const PrintSpan& span : part)
                    QCOMPARE(span.font, kComposed);
}

QTEST_APPLESS_MAIN(TestPrintCodes)
#include "tst_printcodes.moc"
