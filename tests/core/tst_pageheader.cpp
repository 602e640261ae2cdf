// The header and footer of the grade card: the texts a grade file gives it, the print codes
// they are composed into, and those codes read back as the printing side reads them.
#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"
#include "print/cardtexts.h"
#include "print/headercomposer.h"
#include "print/pageheader.h"
#include "print/printcodes.h"

#include <QTest>

using namespace print;

Q_DECLARE_METATYPE(LinePosition)

namespace {

const QDate kDate(2025, 3, 14);
const QLocale kFrench(QLocale::French, QLocale::Tunisia);

// The lines as "left|centre|right", as they print on page 7.
QStringList linesText(const QString& codes)
{
    QStringList texts;
    for (const PrintLine& line : readPrintCodes(codes))
        texts << line.partText(PrintLine::Left, 7) + u'|' + line.partText(PrintLine::Centre, 7) +
                     u'|' + line.partText(PrintLine::Right, 7);
    return texts;
}

QString run(const char* alignment, const QString& text)
{
    return QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1/fi0/fu0/fk0") + QLatin1String(alignment) +
           text;
}

// The texts after opening each file in turn, as the program keeps them for the whole run.
CardTexts textsAfterOpening(const QStringList& fileNames)
{
    CardTexts texts;
    for (const QString& fileName : fileNames) {
        const QString path = QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + fileName;
        const gradefile::GradeFileRead read = gradefile::readGradeFile(path);
        print::resetCardTexts(texts);
        if (read.lines)
            if (auto opened = gradefile::readGradeDocument(fileName, *read.lines); opened.document)
                print::completeCardTexts(texts, *opened.document);
    }
    return texts;
}

} // namespace

class TestPageHeader : public QObject {
    Q_OBJECT

private slots:
    void composedTextReadsBack_data();
    void composedTextReadsBack();
    void realCards_data();
    void realCards();
    void fileWithoutEndLineKeepsTheCounters();
};

void TestPageHeader::composedTextReadsBack_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<LinePosition>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printed"); // the line as it prints on page 7

    // Whatever a card text holds, it prints as given, on its line and at its place: a slash
    // that would start a code is doubled, or a name breaks the line or becomes a number.
    const auto row = [](const char* text, const char* printed, int line = 1,
                        LinePosition position = LinePosition::Left) {
        QTest::newRow(text) << line << position << QString::fromUtf8(text)
                            << QString::fromUtf8(printed);
    };
    row("Page", "||Page", 2, LinePosition::Right);
    row("last line", "|last line|", 9, LinePosition::Centre);
    row("03/12/2024", "03/12/2024||");
    row("a/nb", "a/nb||");
    row("x/p", "x/p||");
    row("a//b", "a//b||");
    row("a/", "a/||");
    row("/x", "/x||");
    row("/fn\"x\"", "/fn\"x\"||");
    row("/fz\"ab\"x", "/fz\"ab\"x||");
    row("/fn\"Tahoma", "/fn\"Tahoma||");
    row("/fbx", "/fbx||");
    // Only the exact text is the page number.
    row("<Page Number>", "7||");
    row("<Page Number> ", "<Page Number> ||");
    // Nothing to print, nothing composed: no empty line pushes the grid down.
    row("", "", 4);
}

void TestPageHeader::composedTextReadsBack()
{
    QFETCH(int, line);
    QFETCH(LinePosition, position);
    QFETCH(QString, text);
    QFETCH(QString, printed);
    HeaderComposer composer;
    composer.setText(line, position, text);
    const QString codes = composer.compose();
    // The lines above stay, empty: they place the text on the page.
    QCOMPARE(linesText(codes),
             printed.isEmpty() ? QStringList() : QStringList(line - 1, "||") << printed);
}

void TestPageHeader::realCards_data()
{
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("teacher");
    QTest::addColumn<int>("printNumber");

    // The whole header of real cards, code by code: a text at the wrong place, a line lost,
    // or a text kept from the file opened before misplaces the block on every card.
    QTest::newRow("three exams") << QStringList{"8410203C07120002025.xml"}
                                 << QStringLiteral("السابـعة أساسي 2 - العربـية - الثلاثي 1")
                                 << QStringLiteral("سلمى الجربي") << 3;
    QTest::newRow("six exams, opened second")
        << QStringList{"8410203C07120002025.xml", "8410203L09310002025.xml"}
        << QStringLiteral("التاسعة أساسي 1 - الرياضيات - الثلاثي 2")
        << QStringLiteral("كريم بن صالح") << 7;
}

void TestPageHeader::realCards()
{
    QFETCH(QStringList, opened);
    QFETCH(QString, description);
    QFETCH(QString, teacher);
    QFETCH(int, printNumber);
    const PageHeader page = composePageHeader(textsAfterOpening(opened), kDate, kFrench);
    QCOMPARE(page.header,
             QStringLiteral("/n") + run("/l", QStringLiteral("السنة الدراسيّة : 2026/2025")) +
                 run("/r", QStringLiteral("الجمهوريـــّة التّونسيــــّة")) + QStringLiteral("/n") +
                 run("/c", QStringLiteral("بطاقة تحصيل الأعداد ")) +
                 run("/r", QStringLiteral(" وزارة التربية ")) + QStringLiteral("/n") +
                 run("/c", description) +
                 run("/r", QStringLiteral("الإدارة الجهويّة للتعليم بـصفاقس 1")) +
                 QStringLiteral("/n") + run("/l", QStringLiteral("المدرّس / الأستاذ : ") + teacher) +
                 run("/c", QStringLiteral("ر.ط : %1").arg(printNumber)) +
                 run("/r", QStringLiteral("إعدادية ابن خلدون")) + QStringLiteral("/n"));
    for (const QString& codes : {page.header, page.footer})
        for (const PrintLine& line : readPrintCodes(codes))
            for (const QVector<PrintSpan>& part : line.parts)
                for (const PrintSpan& span : part)
                    QVERIFY(span.font == (PrintFont{"Tahoma", 10, true, false, false, false}));
    // The date in the short format of the system's language.
    QCOMPARE(page.footer,
             QStringLiteral("/n") +
                 run("/l", QStringLiteral("إ مضاء المدرّس / الأستاذ          إسم العون و إمضاءه")) +
                 QStringLiteral("/n/n/n/n") + run("/l", QStringLiteral("التاريخ :  14/03/2025")) +
                 run("/r", QStringLiteral("نورافيل إصدار 2.2")) + QStringLiteral("/n"));
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QVERIFY(composePageHeader(textsAfterOpening(opened), kDate, english)
                .footer.contains(QStringLiteral("/lالتاريخ :  3/14/25/fn")));
}

// A file without its end line names no teacher, and the counters go on from where they
// were: the next print must not reuse a number already on paper.
void TestPageHeader::fileWithoutEndLineKeepsTheCounters()
{
    const QString key = QStringLiteral("8410203C07120002004");
    const QStringList lines{QStringLiteral("DEBUT") + key +
                                QStringLiteral("|8410203 إعدادية        [السابعة أساسي 2] عربية"),
                            QStringLiteral("TYPEEPREUVE:|ف"), QStringLiteral("1|1|1|أ|1")};
    CardTexts texts = textsAfterOpening({QStringLiteral("8410203C07120002025.xml")});
    texts.saveNumber = 5;
    print::resetCardTexts(texts);
    print::completeCardTexts(texts, *gradefile::readGradeDocument(key + ".xml", lines).document);
    QCOMPARE(texts.saveNumber, qint16(5));
    QCOMPARE(texts.printNumber, qint16(3));
    const QString header = composePageHeader(texts, kDate, kFrench).header;
    QVERIFY2(header.endsWith(run("/l", QStringLiteral("المدرّس / الأستاذ : ")) +
                             run("/c", QStringLiteral("ر.ط : 3")) + QStringLiteral("/n")),
             qPrintable(header));
    QVERIFY(header.contains(QStringLiteral("السنة الدراسيّة : 2005/2004")));
}

QTEST_APPLESS_MAIN(TestPageHeader)
#include "tst_pageheader.moc"
