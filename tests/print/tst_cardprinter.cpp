#include "../support/pdftext.h"
#include "../support/realdisk.h"
#include "../support/samplecard.h"
#include "print/cardprinter.h"
#include "print/pageheader.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kOldContent = QStringLiteral("the card printed last week");

std::optional<SampleCard> card()
{
    return sampleCard(QStringLiteral("8410203L09310002025.xml"));
}

print::PdfOutcome writeSample(const QString& path)
{
    const std::optional<SampleCard> sample = card();
    if (!sample)
        return {};
    return print::writeCardPdf(sample->sheet,
                               print::composePageHeader(sample->texts, QDate(2025, 3, 14)),
                               print::cardPrintSettings(), path);
}

bool writeText(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCardPrinter : public QObject {
    Q_OBJECT

private slots:
    void pdfWrittenWhole();
    void pdfReplacesAnOldFile();
    void pdfIntoAMissingFolder();
    void pdfOntoAFullDisk();
    void pdfOntoAWriteProtectedDisk();
    void suggestedName_data();
    void suggestedName();
    void noPrinterIsNoSuccess();
};

void TestCardPrinter::pdfWrittenWhole()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("card.pdf"));
    const print::PdfOutcome written = writeSample(path);
    QVERIFY2(written.ok, qPrintable(written.error.description));
    QVERIFY(contentOf(path).startsWith("%PDF-"));
    QVERIFY(contentOf(path).trimmed().endsWith("%%EOF"));
    const std::optional<QStringList> pages = pdfPageTexts(path);
    QVERIFY(pages);
    QCOMPARE(pages->size(), written.pageCount);
    // Nothing but the card is left in the folder.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("card.pdf")});
}

void TestCardPrinter::pdfReplacesAnOldFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("card.pdf"));
    QVERIFY(writeText(path, kOldContent));
    QVERIFY(writeSample(path).ok);
    QVERIFY(contentOf(path).startsWith("%PDF-"));
}

// A folder that is not there: an error, and no file appears anywhere.
void TestCardPrinter::pdfIntoAMissingFolder()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gone/card.pdf"));
    const print::PdfOutcome written = writeSample(path);
    QVERIFY(!written.ok);
    QVERIFY(written.error.isError());
    QVERIFY(!written.error.description.isEmpty());
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

// A disk too small for the card: reported as full, the old file untouched and no piece
// of the new one left behind.
void TestCardPrinter::pdfOntoAFullDisk()
{
#ifdef Q_OS_LINUX
    QTemporaryDir folder;
    TmpfsMount disk(folder.path(), "size=16k");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs: ") + disk.error()));
    const QString path = folder.filePath(QStringLiteral("card.pdf"));
    QVERIFY(writeText(path, kOldContent));
    const print::PdfOutcome written = writeSample(path);
    QVERIFY(!written.ok);
    QCOMPARE(written.error.kind, gradefile::FileErrorKind::DiskFull);
    QCOMPARE(contentOf(path), kOldContent.toUtf8());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("card.pdf")});
#else
    QSKIP("needs a Linux tmpfs to fill a disk for real");
#endif
}

void TestCardPrinter::pdfOntoAWriteProtectedDisk()
{
#ifdef Q_OS_LINUX
    QTemporaryDir folder;
    TmpfsMount disk(folder.path(), "size=1m");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + disk.error()));
    const QString path = folder.filePath(QStringLiteral("card.pdf"));
    QVERIFY(writeText(path, kOldContent));
    QVERIFY(disk.makeReadOnly());
    const print::PdfOutcome written = writeSample(path);
    QVERIFY(!written.ok);
    QVERIFY(written.error.isError());
    QCOMPARE(contentOf(path), kOldContent.toUtf8());
#else
    QSKIP("needs a Linux tmpfs to write-protect a disk for real");
#endif
}

void TestCardPrinter::suggestedName_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("expected");
    // A slash would put the file in another folder, a colon or a star is refused by
    // Windows; the name must never be empty or hidden.
    QTest::newRow("caption")
        << QStringLiteral(
               "إعدادية ابن خلدون - صفاقس    [السابعة أساسي 2] - العربية - الثلاثي الأول")
        << QStringLiteral("إعدادية ابن خلدون - صفاقس [السابعة أساسي 2] - العربية - "
                          "الثلاثي الأول.pdf");
    QTest::newRow("slashes and colons")
        << QStringLiteral("9/1: math*s?") << QStringLiteral("9 1 math s.pdf");
    QTest::newRow("quotes and pipes")
        << QStringLiteral("a\"b<c>d|e\\f") << QStringLiteral("a b c d e f.pdf");
    QTest::newRow("control characters") << QStringLiteral("a\tb\nc") << QStringLiteral("a b c.pdf");
    QTest::newRow("empty") << QString() << QStringLiteral("بطاقة تحصيل الأعداد.pdf");
    QTest::newRow("blanks") << QStringLiteral("   ") << QStringLiteral("بطاقة تحصيل الأعداد.pdf");
    QTest::newRow("only refused") << QStringLiteral("//::")
                                  << QStringLiteral("بطاقة تحصيل الأعداد.pdf");
    QTest::newRow("dots") << QStringLiteral("..") << QStringLiteral("بطاقة تحصيل الأعداد.pdf");
    QTest::newRow("leading dot") << QStringLiteral(".hidden") << QStringLiteral("hidden.pdf");
}

void TestCardPrinter::suggestedName()
{
    QFETCH(QString, description);
    QFETCH(QString, expected);
    QCOMPARE(print::suggestedPdfFileName(description), expected);
}

// Without a printer the card cannot be said to be printed.
void TestCardPrinter::noPrinterIsNoSuccess()
{
    if (print::hasPrinter())
        QSKIP("this system has a printer: the card would really print");
    QVERIFY(print::targetPrinterName().isEmpty());
    const std::optional<SampleCard> sample = card();
    QVERIFY(sample);
    const print::PrintOutcome outcome =
        print::printCard(sample->sheet, print::composePageHeader(sample->texts, QDate(2025, 3, 14)),
                         print::cardPrintSettings(), QStringLiteral("card"));
    QVERIFY(!outcome.ok);
    QVERIFY(!outcome.error.isEmpty());
}

QTEST_MAIN(TestCardPrinter)
#include "tst_cardprinter.moc"
