// Prints a grade card through the system's real print spooler and reads the job back as
// the printer would have received it. Needs the CUPS queue that scripts/cups-test-queue
// sets up (./test --full runs it); skips itself where there is none.
#include "../support/pdftext.h"
#include "../support/samplecard.h"
#include "print/cardprinter.h"
#include "print/pageheader.h"
#include "print/printcodes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kQueue = QStringLiteral("saisie-notes-test");
const QString kJobFolder = QStringLiteral("/var/spool/saisie-notes-test-jobs");

// The file of the job whose name is jobName, once the backend has kept it whole.
QString keptJob(const QString& jobName)
{
    const QDir folder(kJobFolder);
    for (const QString& titleFile : folder.entryList({QStringLiteral("*.title")}, QDir::Files)) {
        QFile title(folder.filePath(titleFile));
        if (!title.open(QIODevice::ReadOnly) ||
            QString::fromUtf8(title.readAll()).trimmed() != jobName)
            continue;
        const QString job = folder.filePath(titleFile.chopped(6) + QStringLiteral(".job"));
        if (QFile::exists(job))
            return job;
    }
    return QString();
}

} // namespace

class TestCupsPrint : public QObject {
    Q_OBJECT

private slots:
    void filledCardReachesThePrinter();
};

void TestCupsPrint::filledCardReachesThePrinter()
{
    if (QPrinterInfo::defaultPrinterName() != kQueue)
        QSKIP("no CUPS test queue as the default destination (CUPS not running or not set up): "
              "./test --full sets it up with scripts/cups-test-queue");
    QCOMPARE(print::targetPrinterName(), kQueue);

    const std::optional<SampleCard> card =
        sampleCard(QStringLiteral("8410203L09310002025.xml"), 40);
    QVERIFY(card);
    print::CardTexts texts = card->texts;
    texts.printNumber = 9;
    const QLocale french(QLocale::French, QLocale::Tunisia);
    const print::PageHeader codes = print::composePageHeader(texts, QDate(2025, 3, 14), french);
    const QString jobName =
        QStringLiteral("saisie-notes test %1").arg(QDateTime::currentMSecsSinceEpoch());

    const print::PrintOutcome printed =
        print::printCard(card->sheet, codes, print::cardPrintSettings(), jobName);
    QVERIFY2(printed.ok, qPrintable(printed.error));
    QCOMPARE(printed.printerName, kQueue);

    QString job;
    QTRY_VERIFY_WITH_TIMEOUT(!(job = keptJob(jobName)).isEmpty(), 60000);
    QFile kept(job);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    const QByteArray bytes = kept.readAll();
    QVERIFY2(bytes.startsWith("%PDF-"), bytes.left(16).constData());

    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("job.pdf"));
    QFile copy(pdf);
    QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size());
    copy.close();
    const std::optional<QStringList> pages = pdfPageTexts(pdf);
    QVERIFY(pages);
    QCOMPARE(pages->size(), printed.pageCount);

    // The card as sent: its print number, its header and footer on every page, every pupil.
    QString all;
    for (const QString& page : *pages) {
        all += page;
        QVERIFY(wordsMissingFrom(page, QStringLiteral("ر.ط : 9")).isEmpty());
        for (const QString& text : {texts.republicLine, texts.sheetDescription, texts.teacherLine,
                                    texts.versionLine, QStringLiteral("14/03/2025")})
            QVERIFY2(wordsMissingFrom(page, text).isEmpty(), qPrintable(text));
    }
    for (int row = 1; row <= card->sheet.rowCount(); ++row)
        QVERIFY(all.contains(card->sheet.cellAt(print::kIdentifierColumn, row).text));
    QFile::remove(job);
    QFile::remove(job.chopped(4) + QStringLiteral(".title"));
}

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
