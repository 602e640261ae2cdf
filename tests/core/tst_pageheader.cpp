#include "print/cardtexts.h"
#include "print/pageheader.h"

#include <QTest>

using print::CardTexts;

namespace {

QString run(const char* alignment, const QString& text)
{
    return QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1/fi0/fu0/fk0") + QLatin1String(alignment) +
           text;
}

// The texts of a card completed from a grade file, as the opening leaves them.
CardTexts completedTexts()
{
    CardTexts texts;
    print::resetCardTexts(texts);
    texts.schoolYearLine += QStringLiteral("2026/2025");
    texts.sheetDescription = QStringLiteral("السابـعة أساسي 2 - العربـية - 1");
    texts.regionName = QStringLiteral("صفاقس 1");
    texts.directorateLine += texts.regionName;
    texts.establishmentName = QStringLiteral("إعدادية ابن خلدون");
    texts.teacherName = QStringLiteral("سلمى الجربي");
    texts.teacherLine += texts.teacherName;
    texts.printNumber = 3;
    texts.saveNumber = 2;
    return texts;
}

const QDate kDate(2025, 3, 14);
const QLocale kFrench(QLocale::French, QLocale::Tunisia);

} // namespace

class TestPageHeader : public QObject {
    Q_OBJECT

private slots:
    void headerOfACompletedCard();
    void footerOfACompletedCard();
    void headerEdges_data();
    void headerEdges();
    void dateInTheLocaleShortFormat_data();
    void dateInTheLocaleShortFormat();
};

// The whole header, code by code: a position swapped, a line lost or a run out of
// order would misplace the administrative block on every card.
void TestPageHeader::headerOfACompletedCard()
{
    const CardTexts texts = completedTexts();
    QCOMPARE(
        print::composePageHeader(texts, kDate, kFrench).header,
        QStringLiteral("/n") + run("/l", QStringLiteral("السنة الدراسيّة : 2026/2025")) +
            run("/r", QStringLiteral("الجمهوريـــّة التّونسيــــّة")) + QStringLiteral("/n") +
            run("/c", QStringLiteral("بطاقة تحصيل الأعداد ")) + run("/r", texts.ministryLine) +
            QStringLiteral("/n") + run("/c", QStringLiteral("السابـعة أساسي 2 - العربـية - 1")) +
            run("/r", QStringLiteral("الإدارة الجهويّة للتعليم بـصفاقس 1")) + QStringLiteral("/n") +
            run("/l", QStringLiteral("المدرّس / الأستاذ : سلمى الجربي")) +
            run("/c", QStringLiteral("ر.ط : 3")) + run("/r", QStringLiteral("إعدادية ابن خلدون")) +
            QStringLiteral("/n"));
}

void TestPageHeader::footerOfACompletedCard()
{
    QCOMPARE(print::composePageHeader(completedTexts(), kDate, kFrench).footer,
             QStringLiteral("/n") +
                 run("/l", QStringLiteral("إ مضاء المدرّس / الأستاذ          إسم العون و إمضاءه")) +
                 QStringLiteral("/n/n/n/n") + run("/l", QStringLiteral("التاريخ :  14/03/2025")) +
                 run("/r", QStringLiteral("نورافيل إصدار 2.2")) + QStringLiteral("/n"));
}

void TestPageHeader::headerEdges_data()
{
    QTest::addColumn<QString>("teacherName");
    QTest::addColumn<QString>("establishment");
    QTest::addColumn<int>("printNumber");
    QTest::addColumn<QString>("line5");

    // No teacher: the label alone stays at the left.
    QTest::newRow("no teacher") << QString() << QStringLiteral("م") << 4
                                << run("/l", QStringLiteral("المدرّس / الأستاذ : ")) +
                                       run("/c", QStringLiteral("ر.ط : 4")) +
                                       run("/r", QStringLiteral("م")) + QStringLiteral("/n");
    // An empty establishment is left out, not printed as an empty run.
    QTest::newRow("no establishment")
        << QStringLiteral("ت") << QString() << 4
        << run("/l", QStringLiteral("المدرّس / الأستاذ : ت")) +
               run("/c", QStringLiteral("ر.ط : 4")) + QStringLiteral("/n");
    // Zero prints as the digit 0, a larger number without leading zeros.
    QTest::newRow("print number 0")
        << QStringLiteral("ت") << QString() << 0
        << run("/l", QStringLiteral("المدرّس / الأستاذ : ت")) +
               run("/c", QStringLiteral("ر.ط : 0")) + QStringLiteral("/n");
    QTest::newRow("print number 32767")
        << QStringLiteral("ت") << QString() << 32767
        << run("/l", QStringLiteral("المدرّس / الأستاذ : ت")) +
               run("/c", QStringLiteral("ر.ط : 32767")) + QStringLiteral("/n");
}

void TestPageHeader::headerEdges()
{
    QFETCH(QString, teacherName);
    QFETCH(QString, establishment);
    QFETCH(int, printNumber);
    QFETCH(QString, line5);
    CardTexts texts;
    print::resetCardTexts(texts);
    texts.teacherLine += teacherName;
    texts.establishmentName = establishment;
    texts.printNumber = qint16(printNumber);
    const QString header = print::composePageHeader(texts, kDate, kFrench).header;
    QVERIFY2(header.endsWith(QStringLiteral("/n") + line5), qPrintable(header));
}

void TestPageHeader::dateInTheLocaleShortFormat_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDate>("date");
    // The date of the day the card prints, written as the system writes short dates.
    QTest::newRow("fr_TN") << kFrench << QDate(2025, 3, 14);
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates)
                           << QDate(2024, 12, 1);
    QTest::newRow("ar_TN") << QLocale(QLocale::Arabic, QLocale::Tunisia) << QDate(2025, 6, 30);
}

void TestPageHeader::dateInTheLocaleShortFormat()
{
    QFETCH(QLocale, locale);
    QFETCH(QDate, date);
    const QString footer = print::composePageHeader(completedTexts(), date, locale).footer;
    // The label ends with a blank, and one more stands before the date.
    const QString expected =
        QStringLiteral("التاريخ :  ") + locale.toString(date, QLocale::ShortFormat);
    QVERIFY2(footer.contains(QStringLiteral("/l") + expected + QStringLiteral("/fn")),
             qPrintable(footer));
}

QTEST_APPLESS_MAIN(TestPageHeader)
#include "tst_pageheader.moc"
