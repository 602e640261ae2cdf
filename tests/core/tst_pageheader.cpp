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

namespace {

const QDate kDate(2025, 3, 14);
const QLocale kFrench(QLocale::French, QLocale::Tunisia);

// The lines as "left|centre|right", as they print on page 7.
QStringList linesText(const QString& codes)
{
    QStringList texts;
    for (const PrintLine& line : readPrintCodes(codes))
        texts << QStringList{line.partText(PrintLine::Left, 7), line.partText(PrintLine::Centre, 7),
                             line.partText(PrintLine::Right, 7)}
                     .join(u'|');
    return texts;
}

// A file cut before its end line: it names no teacher, no school, no counters.
const QString kCutShort = QStringLiteral("8410203C07120002004.xml");
const QStringList kCutShortLines{
    "DEBUT8410203C07120002004|8410203 إعدادية ابن خلدون    [السابعة أساسي 2] عربية",
    "TYPEEPREUVE:|ف", "1|1|1|أ|1"};

// The texts after opening each file in turn, as the program keeps them for the whole run.
CardTexts textsAfterOpening(const QStringList& fileNames)
{
    CardTexts texts;
    for (const QString& name : fileNames) {
        const auto lines =
            name == kCutShort
                ? std::optional(kCutShortLines)
                : gradefile::readGradeFile(SAISIE_SOURCE_DIR "/examples/floppy/" + name).lines;
        print::resetCardTexts(texts);
        if (auto opened = gradefile::readGradeDocument(name, lines.value()); opened.document)
            print::completeCardTexts(texts, *opened.document);
    }
    return texts;
}

} // namespace

class TestPageHeader : public QObject {
    Q_OBJECT

private slots:
    void composedTextReadsBack_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<LinePosition>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed"); // the line as it prints on page 7

        // Whatever a card text holds, it prints as given, on its line and at its place: a slash
        // that would start a code is doubled, or a name breaks the line or becomes a number.
        const auto row = [](const char* text, const QString& printed, int line = 1,
                            LinePosition position = LinePosition::Left) {
            QTest::newRow(text) << line << position << QString::fromUtf8(text) << printed;
        };
        row("Page", "||Page", 2, LinePosition::Right);
        row("last line", "|last line|", 9, LinePosition::Centre);
        for (const char* text : {"03/12/2024", "a/nb", "x/p", "a//b", "a/", "/x", "/fn\"x\"",
                                 "/fz\"ab\"x", "/fn\"Tahoma", "/fbx", "<Page Number> "})
            row(text, QString::fromUtf8(text) + "||");
        row("<Page Number>", "7||"); // only the exact text is the page number
        // Nothing to print, nothing composed: no empty line pushes the grid down.
        row("", "", 4);
    }

    void composedTextReadsBack()
    {
        QFETCH(int, line);
        QFETCH(LinePosition, position);
        QFETCH(QString, text);
        QFETCH(QString, printed);
        HeaderComposer composer;
        composer.setText(line, position, text);
        // The lines above stay, empty: they place the text on the page.
        QCOMPARE(linesText(composer.compose()),
                 printed.isEmpty() ? QStringList() : QStringList(line - 1, "||") << printed);
    }

    void realCards_data()
    {
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("teacher"); // none: the file has no end line
        QTest::addColumn<int>("printNumber");

        // The whole header of real cards, code by code: a text at the wrong place, a line lost,
        // or a text kept from the file opened before misplaces the block on every card. A file
        // cut before its end line keeps the counters: no print reuses a number already on paper.
        QTest::newRow("three exams") << QStringList{"8410203C07120002025.xml"} << "2026/2025"
                                     << QStringLiteral("السابـعة أساسي 2 - العربـية - الثلاثي 1")
                                     << QStringLiteral("سلمى الجربي") << 3;
        QTest::newRow("six exams, opened second")
            << QStringList{"8410203C07120002025.xml", "8410203L09310002025.xml"} << "2026/2025"
            << QStringLiteral("التاسعة أساسي 1 - الرياضيات - الثلاثي 2")
            << QStringLiteral("كريم بن صالح") << 7;
        QTest::newRow("cut short, opened second")
            << QStringList{"8410203C07120002025.xml", kCutShort} << "2005/2004"
            << QStringLiteral("السابـعة أساسي 2 عربـية") << QString() << 3;
    }

    void realCards()
    {
        QFETCH(QStringList, opened);
        QFETCH(QString, year);
        QFETCH(QString, description);
        QFETCH(QString, teacher);
        QFETCH(int, printNumber);
        const bool endLine = !teacher.isEmpty(); // it names the region and the school
        const PageHeader page = composePageHeader(textsAfterOpening(opened), kDate, kFrench);
        QCOMPARE(linesText(page.header),
                 (QStringList{
                     "||", "السنة الدراسيّة : " + year + "||الجمهوريـــّة التّونسيــــّة",
                     "|بطاقة تحصيل الأعداد | وزارة التربية ",
                     "|" + description + "|الإدارة الجهويّة للتعليم بـ" + (endLine ? "صفاقس 1" : ""),
                     "المدرّس / الأستاذ : " + teacher + "|ر.ط : " + QString::number(printNumber) +
                         "|" + (endLine ? "إعدادية ابن خلدون" : "")}));
        // The date in the short format of the system's language.
        QCOMPARE(linesText(page.footer),
                 (QStringList{"||", "إ مضاء المدرّس / الأستاذ          إسم العون و إمضاءه||", "||",
                              "||", "||", "التاريخ :  14/03/2025||نورافيل إصدار 2.2"}));
        for (const PrintLine& line : readPrintCodes(page.header + page.footer))
            for (const QVector<PrintSpan>& part : line.parts)
                for (const PrintSpan& span : part)
                    QVERIFY(span.font == (PrintFont{"Tahoma", 10, true, false, false, false}));
    }
};

QTEST_APPLESS_MAIN(TestPageHeader)
#include "tst_pageheader.moc"
