// The grade card drawn into a PDF and read back, laid out on its paper, sent to a printer.
#include "../support/datatable.h"
#include "../support/filebytes.h"
#include "../support/pdftext.h"
#include "../support/realdisk.h"
#include "../support/samplecard.h"
#include "core/card/pageheader.h"
#include "print/cardlayout.h"
#include "print/cardprinter.h"
#include "print/pagerenderer.h"

#include <QtPrintSupport>
#include <QtTest>

using namespace print;

namespace {

const QString kSixExams = QStringLiteral("8410203L09310002025.xml");

const QRegularExpression kIdentifier(QStringLiteral("\\b2025\\d{4}\\b"));

// Where the footer's band begins on the card's PDF pages, in points from the page's top.
double footerTopPoints(const PrintedSheet& sheet, const PageHeader& codes)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(kPdfResolution);
    applyCardPageLayout(writer);
    const CardLayout layout(sheet, codes, &writer);
    return writer.pageLayout().paintRect(QPageLayout::Point).top() +
           layout.footerTop() * 72 / kPdfResolution;
}

PageHeader codesOf(const SampleCard& card)
{
    return composePageHeader(card.texts, QDate(2025, 3, 14),
                             QLocale(QLocale::French, QLocale::Tunisia));
}

// A PDF read back: its pages, the identifiers in print order, and the first text a page lacks
// of those every page shows (the grid's header row, the header and footer).
struct ReadBack {
    QStringList pages, identifiers;
    QString missing;
};

ReadBack readBack(const QString& path, const PageHeader& codes, const PrintedSheet& sheet)
{
    ReadBack back{pdfPageTexts(path).value_or(QStringList()), {}, {}};
    for (int page = 1; page <= back.pages.size(); ++page) {
        QStringList texts{QStringLiteral("14/03/2025")};
        for (int column = 0; column < sheet.columnCount(); ++column)
            texts << sheet.cell(column, 0).text;
        for (const QVector<HeaderLine>& block : {codes.header, codes.footer})
            for (const HeaderLine& line : block)
                texts << line[LeftPart] << line[CentrePart] << line[RightPart];
        for (const QString& text : texts)
            if (back.missing.isEmpty() && !wordsMissingFrom(back.pages[page - 1], text).isEmpty())
                back.missing = QStringLiteral("page %1 lacks \"%2\"").arg(page).arg(text);
        for (auto match = kIdentifier.globalMatch(back.pages[page - 1]); match.hasNext();)
            back.identifiers << match.next().captured();
    }
    return back;
}

} // namespace

class TestCardPrinter : public QObject {
    Q_OBJECT

private slots:
    void pdfReadBack_data()
    {
        // pupils 0: the file's own
        const auto row = dataTable<QString, int, bool>({"file", "pupils", "blank"});
        // A row lost or doubled at a page's end or run into the footer, a header missing, a grade
        // on the blank card.
        row("one pupil", kSixExams, 1, false);
        row("26 pupils", kSixExams, 0, false);
        row("200 pupils", kSixExams, 200, false);
        row("200 pupils, three exams", QStringLiteral("8410203C07120002025.xml"), 200, false);
        row("blank card, 40 pupils", kSixExams, 40, true);
    }

    void pdfReadBack()
    {
        const auto [file, pupils, blank] =
            fetchRow<QString, int, bool>({"file", "pupils", "blank"});
        std::optional<SampleCard> card = sampleCard(file, pupils);
        QVERIFY(card);
        const PrintedSheet filled = card->sheet;
        if (blank)
            card->sheet.blankGradeCells();
        PageHeader codes = codesOf(*card);
        codes.header.append(HeaderLine{QString(), QString(), QStringLiteral("top")});
        codes.footer.append(HeaderLine{QString(), QStringLiteral("bottom"), QString()});
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("card.pdf"));
        const PdfOutcome written = writeCardPdf(card->sheet, codes, path);
        QVERIFY2(written.ok, qPrintable(written.error.description));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("card.pdf")});
        SKIP_WITHOUT_POPPLER();
        const ReadBack back = readBack(path, codes, card->sheet);
        QVERIFY2(back.missing.isEmpty(), qPrintable(back.missing));
        QCOMPARE(back.pages.size(), written.pageCount);
        static const QRegularExpression grade(QStringLiteral("\\d\\d\\.\\d\\d|--\\.--|معفى|غ\\.ش"));
        for (const QString& page : back.pages)
            QCOMPARE(pdfSkeleton(page).contains(grade), !blank);
        QStringList inOrder;
        for (int row = 1; row <= filled.rowCount(); ++row)
            inOrder << filled.cellAt(kIdentifierColumn, row).text;
        QCOMPARE(back.identifiers, inOrder);
        // Only the footer is printed in its band.
        const double footerTop = footerTopPoints(card->sheet, codes);
        const QVector<PdfWord> words = pdfWords(path);
        QCOMPARE(std::count_if(words.begin(), words.end(),
                               [](const PdfWord& word) { return word.text == "bottom"; }),
                 back.pages.size());
        for (const PdfWord& word : words)
            QVERIFY2(word.text.contains(kIdentifier)
                         ? word.bottom <= footerTop
                         : word.text != "bottom" || word.top >= footerTop,
                     qPrintable(word.text));
        // The names come out in the joined forms of their letters ("خليل"): the text was shaped.
        QVERIFY2(back.pages[0].contains(QStringLiteral("\uFEA7\uFEE0\uFEF4\uFEDE")),
                 qPrintable(back.pages[0]));
    }

    void layoutFitsThePaper_data()
    {
        // A width or size of 0: the card's own.
        const auto row =
            dataTable<double, double, double>({"gradeWidth", "identifierWidth", "pointSize"});
        // No text cut, no column off the edge: columns wider than the paper go on pages of their
        // own, each with the order numbers.
        row("as the sheet has it", 0, 0, 0);
        row("identifier too narrow", 0, 3, 0);
        row("large type", 0, 0, 14);
        row("grades too wide for the paper", 20, 0, 0);
    }

    void layoutFitsThePaper()
    {
        const auto [gradeWidth, identifierWidth, pointSize] =
            fetchRow<double, double, double>({"gradeWidth", "identifierWidth", "pointSize"});
        const std::optional<SampleCard> card =
            sampleCard(kSixExams, 0, gradeWidth, identifierWidth, pointSize);
        QVERIFY(card);
        const PrintedSheet& sheet = card->sheet;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        applyCardPageLayout(writer);
        const CardLayout layout(sheet, codesOf(*card), &writer);
        QVERIFY(layout.error().isEmpty());
        QSet<int> shown;
        for (const CardPage& page : layout.pages()) {
            QVERIFY(page.columns.contains(sheet.indexOfGridColumn(kOrderNumberColumn)));
            QVERIFY(layout.gridWidth(page) <= layout.pageSize().width());
            shown.unite(QSet<int>(page.columns.begin(), page.columns.end()));
        }
        QCOMPARE(shown.size(), sheet.columnCount());
        QVERIFY(gradeWidth < 20 || layout.pages().first().columns.size() < sheet.columnCount());
        const double padding = layout.cellPadding();
        for (int index = 0; index < sheet.columnCount(); ++index)
            for (int row = 1; row <= sheet.rowCount(); ++row) {
                const QFontMetricsF metrics(layout.fontOf(sheet.cell(index, row)), &writer);
                const QString& text = sheet.cell(index, row).text;
                QVERIFY2(metrics.horizontalAdvance(text) + 2 * padding <=
                                 layout.columnWidth(index) &&
                             metrics.height() + 2 * padding <= layout.rowHeight(row),
                         qPrintable(text));
            }
    }

    void pdfNotWritten_data()
    {
        // disk: tmpfs options; empty: the folder is not there
        const auto row = dataTable<QString, bool>({"disk", "writeProtected"});
        // Reported, the old file untouched, no piece of the new one left behind.
        row("folder not there", QString(), false);
        row("disk full", "size=16k", false);
        row("write-protected", "size=1m", true);
    }

    void pdfNotWritten()
    {
        const auto [disk, writeProtected] = fetchRow<QString, bool>({"disk", "writeProtected"});
        const std::optional<SampleCard> card = sampleCard(kSixExams);
        QVERIFY(card);
        QTemporaryDir folder;
        const QString path = folder.filePath(disk.isEmpty() ? "gone/card.pdf" : "card.pdf");
        const QByteArray old = "the card printed last week";
        std::optional<TmpfsMount> mount;
        if (!disk.isEmpty()) {
            mount.emplace(folder.path(), qPrintable(disk));
            if (!mount->isMounted())
                QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + mount->error()));
            QVERIFY(writeBytes(path, old) && (!writeProtected || mount->makeReadOnly()));
        }
        const PdfOutcome written = writeCardPdf(card->sheet, codesOf(*card), path);
        QVERIFY(!written.ok && written.error.isError() && !written.error.description.isEmpty());
        QVERIFY(writeProtected || disk.isEmpty() ||
                written.error.kind == gradefile::FileErrorKind::DiskFull);
        QCOMPARE(readBytes(path), disk.isEmpty() ? QByteArray() : old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 disk.isEmpty() ? QStringList() : QStringList{QStringLiteral("card.pdf")});
    }

    void suggestedName_data()
    {
        // No slash, colon or star (another folder, refused by Windows); never empty nor hidden.
        const auto row = dataTable<QString, QString>({"description", "expected"});
        const char* title = "بطاقة تحصيل الأعداد.pdf";
        row("caption", "إعدادية ابن خلدون    [السابعة أساسي 2] - العربية",
            "إعدادية ابن خلدون [السابعة أساسي 2] - العربية.pdf");
        row("refused characters", "9/1: math*s?\"<>|\\x\ty", "9 1 math s x y.pdf");
        row("nothing left", " //:: ", title);
        row("dots", "..", title);
        row("leading dot", ".hidden", "hidden.pdf");
    }

    void suggestedName()
    {
        QFETCH(QString, description);
        QTEST(suggestedPdfFileName(description), "expected");
    }

    // No printer, no card said printed; with the CUPS test queue (scripts/cups-test-queue), the
    // job holds the card: its print number, header and footer on every page, every pupil.
    void printedThroughTheSpooler()
    {
        std::optional<SampleCard> card = sampleCard(kSixExams, 40);
        QVERIFY(card);
        card->texts.printNumber = 9;
        const PageHeader codes = codesOf(*card);
        const QString queue = QStringLiteral("saisie-notes-test");
        if (hasPrinter() && QPrinterInfo::defaultPrinterName() != queue)
            QSKIP("a printer that is not the CUPS test queue: the card would really print");
        const QString jobName = QStringLiteral("card %1").arg(QDateTime::currentMSecsSinceEpoch());
        const PrintOutcome printed = printCard(card->sheet, codes, jobName);
        QVERIFY2(printed.ok == hasPrinter() && printed.error.isEmpty() == printed.ok,
                 qPrintable(printed.error));
        if (!printed.ok)
            return;
        QCOMPARE(printed.printerName, queue);
        // The backend keeps each job whole as <n>.job beside <n>.title holding its name.
        const QDir jobs(QStringLiteral("/var/spool/saisie-notes-test-jobs"));
        QString job;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QString& title : jobs.entryList({QStringLiteral("*.title")}))
                    if (readBytes(jobs.filePath(title)).trimmed() == jobName.toUtf8())
                        job = jobs.filePath(title.chopped(6));
                return QFile::exists(job + QStringLiteral(".job"));
            }(),
            60000);
        // Windows reads nothing back: the build's script sets the job beside the card's PDF.
        if (const QString folder = qEnvironmentVariable("SAISIE_DRIVER_CARD"); !folder.isEmpty())
            QVERIFY(writeCardPdf(card->sheet, codes, folder + "/card.pdf").ok &&
                    writeBytes(folder + "/job", job.toUtf8()));
        SKIP_WITHOUT_POPPLER();
        const ReadBack back = readBack(job + QStringLiteral(".job"), codes, card->sheet); // ر.ط : 9
        QVERIFY2(back.missing.isEmpty(), qPrintable(back.missing));
        QCOMPARE(back.pages.size(), printed.pageCount);
        QCOMPARE(back.identifiers.size(), card->sheet.rowCount());
        QFile::remove(job + ".job"), QFile::remove(job + ".title");
    }
};

QTEST_MAIN(TestCardPrinter)
#include "tst_cardprinter.moc"
