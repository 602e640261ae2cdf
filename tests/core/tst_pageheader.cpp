// The header and footer of the grade card: the texts a grade file gives it, on their lines.
#include "../support/datatable.h"
#include "core/card/cardtexts.h"
#include "core/card/pageheader.h"
#include "core/gradefile/gradedocument.h"
#include "core/gradefile/gradefileio.h"

#include <QTest>

using namespace print;

namespace {

const QDate kDate(2025, 3, 14);
const QLocale kFrench(QLocale::French, QLocale::Tunisia);

// The lines as "left|centre|right".
QStringList linesText(const QVector<HeaderLine>& lines)
{
    QStringList texts;
    for (const HeaderLine& line : lines)
        texts << QStringList{line[LeftPart], line[CentrePart], line[RightPart]}.join(u'|');
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
    void realCards_data()
    {
        // No teacher when the file has no end line.
        const auto row = dataTable<QStringList, QString, QString, QString, int>(
            {"opened", "year", "description", "teacher", "printNumber"});

        // Real cards' whole header, text by text; a file cut before its end line keeps the
        // counters: no print reuses a number already on paper.
        const QString three = "8410203C07120002025.xml";
        row("three exams", {three}, "2026/2025", "السابـعة أساسي 2 - العربـية - الثلاثي 1",
            "سلمى الجربي", 3);
        row("six exams, opened second", {three, "8410203L09310002025.xml"}, "2026/2025",
            "التاسعة أساسي 1 - الرياضيات - الثلاثي 2", "كريم بن صالح", 7);
        row("cut short, opened second", {three, kCutShort}, "2005/2004", "السابـعة أساسي 2 عربـية",
            QString(), 3);
    }

    void realCards()
    {
        const auto [opened, year, description, teacher, printNumber] =
            fetchRow<QStringList, QString, QString, QString, int>(
                {"opened", "year", "description", "teacher", "printNumber"});
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
        // A system with no language set writes it in figures too, never "14 Mar 2025".
        const PageHeader plain = composePageHeader(textsAfterOpening(opened), kDate, QLocale::c());
        QCOMPARE(linesText(plain.footer).last(), linesText(page.footer).last());
    }
};

QTEST_APPLESS_MAIN(TestPageHeader)
#include "tst_pageheader.moc"
