// The grade card on paper: drawn into a PDF and read back with pdftotext, its layout
// measured on the card's paper, and the file written whole or not at all.
#include "../support/pdftext.h"
#include "../support/realdisk.h"
#include "../support/samplecard.h"
#include "print/cardlayout.h"
#include "print/cardprinter.h"
#include "print/pageheader.h"
#include "print/pagerenderer.h"
#include "print/printcodes.h"
#include "print/printfonts.h"
#include "print/printtext.h"

#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QTemporaryDir>
#include <QTest>

using namespace print;

namespace {

const QString kSixExams = QStringLiteral("8410203L09310002025.xml");
const QDate kDate(2025, 3, 14);

// The pupils' identifiers on a page, from the top.
QStringList identifiersOn(const QString& pageText)
{
    static const QRegularExpression identifier(QStringLiteral("\\b2025\\d{4}\\b"));
    QStringList identifiers;
    for (const QString& line : pageText.split(u'\n'))
        if (const QRegularExpressionMatch match = identifier.match(line); match.hasMatch())
            identifiers << match.captured();
    return identifiers;
}

PageHeader codesOf(const SampleCard& card)
{
    return composePageHeader(card.texts, kDate, QLocale(QLocale::French, QLocale::Tunisia));
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeOld(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("the card printed last week") == 26;
}

} // namespace

class TestCardPrinter : public QObject {
    Q_OBJECT

private slots:
    void pdfReadBack_data();
    void pdfReadBack();
    void layoutFitsThePaper_data();
    void layoutFitsThePaper();
    void paperTooSmall();
    void previewTextAsPrinted();
    void pdfNotWritten_data();
    void pdfNotWritten();
    void suggestedName_data();
    void suggestedName();
    void noPrinterIsNoSuccess();
};

void TestCardPrinter::pdfReadBack_data()
{
    QTest::addColumn<int>("pupils"); // 0: the file's own 26
    QTest::addColumn<bool>("blank");
    // A row lost or printed twice where a page ends, a page without the header row, the
    // header or footer or the page number missing from a page, a grade on the blank card.
    QTest::newRow("one pupil") << 1 << false;
    QTest::newRow("26 pupils") << 0 << false;
    QTest::newRow("200 pupils") << 200 << false;
    QTest::newRow("blank card, 40 pupils") << 40 << true;
}

void TestCardPrinter::pdfReadBack()
{
    QFETCH(int, pupils);
    QFETCH(bool, blank);
    std::optional<SampleCard> card = sampleCard(kSixExams, pupils);
    QVERIFY(card);
    const PrintedSheet filled = card->sheet;
    if (blank)
        card->sheet.blankGradeCells();
    PageHeader codes = codesOf(*card);
    codes.footer += QStringLiteral("/cصفحة /p/n");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("card.pdf"));
    const PdfOutcome written = writeCardPdf(card->sheet, codes, cardPrintSettings(), path);
    QVERIFY2(written.ok, qPrintable(written.error.description));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("card.pdf")});
    const QStringList pages = pdfPageTexts(path).value_or(QStringList());
    QCOMPARE(pages.size(), written.pageCount);

    QStringList printed;
    const int perPage = int(identifiersOn(pages.value(0)).size());
    for (int page = 0; page < pages.size(); ++page) {
        const QStringList onPage = identifiersOn(pages[page]);
        printed += onPage;
        if (page + 1 < pages.size()) // every page full but the last
            QCOMPARE(onPage.size(), perPage);
        QStringList texts{QStringLiteral("المعرّف ع.ر شفاهي مراقبة تأليفي 14/03/2025")};
        for (const QString& block : {codes.header, codes.footer})
            for (const PrintLine& line : readPrintCodes(block))
                for (auto part : {PrintLine::Left, PrintLine::Centre, PrintLine::Right})
                    texts << line.partText(part, page + 1);
        for (const QString& text : texts)
            QVERIFY2(wordsMissingFrom(pages[page], text).isEmpty(),
                     qPrintable(QStringLiteral("page %1 lacks \"%2\"").arg(page + 1).arg(text)));
        // Only the grades go from the blank card.
        static const QRegularExpression grade(QStringLiteral("\\d\\d\\.\\d\\d|--\\.--|معفى|غ\\.ش"));
        QCOMPARE(pdfSkeleton(pages[page]).contains(grade), !blank);
    }
    QStringList pupilsInOrder;
    for (int row = 1; row <= filled.rowCount(); ++row)
        pupilsInOrder << filled.cellAt(kIdentifierColumn, row).text;
    QCOMPARE(printed, pupilsInOrder);
    // The names come out in the joined forms of their letters: the text was shaped.
    QCOMPARE(filled.cellAt(kNameColumn, 1).text, QStringLiteral("خليل بن صالح"));
    QVERIFY2(pages[0].contains(QStringLiteral("\uFEA7\uFEE0\uFEF4\uFEDE")), qPrintable(pages[0]));
}

void TestCardPrinter::layoutFitsThePaper_data()
{
    QTest::addColumn<double>("gradeWidth");
    QTest::addColumn<double>("identifierWidth");
    QTest::addColumn<qreal>("pointSize");
    // No text cut (the wider font standing in for Tahoma must not make "20250119" into
    // "2025011"), no column off the edge: columns wider together than the paper go on
    // pages of their own, each with the order numbers to tell whose grades they are.
    QTest::newRow("as the sheet has it") << 8.0 << 11.0 << qreal(9);
    QTest::newRow("identifier too narrow") << 8.0 << 3.0 << qreal(9);
    QTest::newRow("large type") << 8.0 << 11.0 << qreal(14);
    QTest::newRow("grades too wide for the paper") << 20.0 << 11.0 << qreal(9);
}

void TestCardPrinter::layoutFitsThePaper()
{
    QFETCH(double, gradeWidth);
    QFETCH(double, identifierWidth);
    QFETCH(qreal, pointSize);
    const std::optional<SampleCard> card = sampleCard(kSixExams);
    QVERIFY(card);
    const PrintedSheet sheet = reshapedSheet(
        card->sheet,
        [&](int col, double width) {
            return col < kNameColumn          ? gradeWidth
                   : col == kIdentifierColumn ? identifierWidth
                                              : width;
        },
        pointSize);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(1200);
    applyPrintSettings(cardPrintSettings(), writer);
    const CardLayout layout(sheet, codesOf(*card), &writer);
    QVERIFY(layout.error().isEmpty());
    QVERIFY(gradeWidth <= 8 || layout.pages().first().columns.size() < sheet.columnCount());
    QSet<int> shown;
    for (const CardPage& page : layout.pages()) {
        QVERIFY(page.columns.contains(sheet.indexOfGridColumn(kOrderNumberColumn)));
        QVERIFY(layout.gridWidth(page) <= layout.pageSize().width());
        shown.unite(QSet<int>(page.columns.begin(), page.columns.end()));
    }
    QCOMPARE(shown.size(), sheet.columnCount());
    const double padding = layout.cellPadding();
    for (int index = 0; index < sheet.columnCount(); ++index) {
        for (int row = 1; row <= sheet.rowCount(); ++row) {
            const PrintedCell& cell = sheet.cell(index, row);
            const QFontMetricsF metrics(layout.fontOf(cell), &writer);
            QVERIFY2(metrics.horizontalAdvance(cell.text) + 2 * padding <=
                         layout.columnWidth(index),
                     qPrintable(cell.text));
            QVERIFY(metrics.height() + 2 * padding <= layout.rowHeight(row));
        }
        const PrintedCell& header = sheet.cell(index, 0);
        double height = 0;
        headerCellLayout(header, layout.fontOf(header), layout.columnWidth(index) - 2 * padding,
                         &writer, &height);
        QVERIFY2(height + 2 * padding <= layout.rowHeight(0), qPrintable(header.text));
    }
}

void TestCardPrinter::paperTooSmall()
{
    const std::optional<SampleCard> card = sampleCard(kSixExams);
    QVERIFY(card);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QSizeF(60, 40), QPageSize::Millimeter));
    const RenderResult result =
        renderCard(card->sheet, codesOf(*card), cardPrintSettings(), writer);
    QVERIFY(!result.ok && !result.error.isEmpty());
}

// The preview records its pages as pictures, which lay text out again left to right when
// played: the colon and the blanks at the ends of an Arabic run would change sides, and
// the preview would show another card than the one that prints.
void TestCardPrinter::previewTextAsPrinted()
{
    QFont font(printableFamily(QStringLiteral("Tahoma")));
    font.setPointSizeF(12);
    font.setBold(true);
    for (const QString& text : {QStringLiteral("السنة الدراسيّة : 2026/2025"),
                                QStringLiteral("السابعة أساسي 2 - العربية - الثلاثي 1")}) {
        QImage straight(640, 40, QImage::Format_ARGB32);
        straight.fill(Qt::white);
        QImage played = straight;
        const LaidText laid = layOutText({text, font, {}}, Qt::AlignLeft, 620, false, &straight);
        QPicture picture;
        for (QPaintDevice* device :
             {static_cast<QPaintDevice*>(&straight), static_cast<QPaintDevice*>(&picture)}) {
            QPainter painter(device);
            painter.setPen(Qt::black);
            drawLaidText(painter, *laid.layout, QPointF(10, 5));
        }
        QPainter(&played).drawPicture(0, 0, picture);
        int inked = 0;
        int different = 0;
        for (int y = 0; y < played.height(); ++y) {
            for (int x = 0; x < played.width(); ++x) {
                const bool inStraight = qGray(straight.pixel(x, y)) < 128;
                const bool inPlayed = qGray(played.pixel(x, y)) < 128;
                inked += inStraight || inPlayed;
                different += inStraight != inPlayed;
            }
        }
        QVERIFY2(inked > 0 && different < inked / 4, qPrintable(text));
    }
}

void TestCardPrinter::pdfNotWritten_data()
{
    QTest::addColumn<QString>("disk"); // tmpfs options; empty: the folder is not there
    QTest::addColumn<bool>("writeProtected");
    QTest::addColumn<int>("kind");
    const int any = -1;
    // Reported, the old file untouched, no piece of the new one left behind.
    QTest::newRow("folder not there") << QString() << false << any;
    QTest::newRow("disk full") << "size=16k" << false << int(gradefile::FileErrorKind::DiskFull);
    QTest::newRow("write-protected") << "size=1m" << true << any;
}

void TestCardPrinter::pdfNotWritten()
{
    QFETCH(QString, disk);
    QFETCH(bool, writeProtected);
    QFETCH(int, kind);
    const std::optional<SampleCard> card = sampleCard(kSixExams);
    QVERIFY(card);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("gone/card.pdf"));
#ifdef Q_OS_LINUX
    std::optional<TmpfsMount> mount;
    if (!disk.isEmpty()) {
        mount.emplace(folder.path(), disk.toLatin1().constData());
        if (!mount->isMounted())
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + mount->error()));
        path = folder.filePath(QStringLiteral("card.pdf"));
        QVERIFY(writeOld(path));
        QVERIFY(!writeProtected || mount->makeReadOnly());
    }
#else
    if (!disk.isEmpty())
        QSKIP("needs a Linux tmpfs to fill or write-protect a disk for real");
#endif
    const QByteArray old = contentOf(path);
    const PdfOutcome written = writeCardPdf(card->sheet, codesOf(*card), cardPrintSettings(), path);
    QVERIFY(!written.ok && written.error.isError() && !written.error.description.isEmpty());
    if (kind >= 0)
        QCOMPARE(int(written.error.kind), kind);
    QCOMPARE(contentOf(path), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             disk.isEmpty() ? QStringList() : QStringList{QStringLiteral("card.pdf")});
}

void TestCardPrinter::suggestedName_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("expected");
    // A slash would put the file in another folder, a colon or a star is refused by
    // Windows; the name is never empty nor hidden.
    const QString title = QStringLiteral("بطاقة تحصيل الأعداد.pdf");
    QTest::newRow("caption") << QStringLiteral("إعدادية ابن خلدون    [السابعة أساسي 2] - العربية")
                             << QStringLiteral("إعدادية ابن خلدون [السابعة أساسي 2] - العربية.pdf");
    QTest::newRow("refused characters") << "9/1: math*s?\"<>|\\x"
                                        << "9 1 math s x.pdf";
    QTest::newRow("control characters") << "a\tb\nc"
                                        << "a b c.pdf";
    QTest::newRow("empty") << QString() << title;
    QTest::newRow("only refused") << " //:: " << title;
    QTest::newRow("dots") << ".." << title;
    QTest::newRow("leading dot") << ".hidden"
                                 << "hidden.pdf";
}

void TestCardPrinter::suggestedName()
{
    QFETCH(QString, description);
    QFETCH(QString, expected);
    QCOMPARE(suggestedPdfFileName(description), expected);
}

// Without a printer the card cannot be said to be printed.
void TestCardPrinter::noPrinterIsNoSuccess()
{
    if (hasPrinter())
        QSKIP("this system has a printer: the card would really print");
    const std::optional<SampleCard> card = sampleCard(kSixExams);
    QVERIFY(card);
    const PrintOutcome outcome =
        printCard(card->sheet, codesOf(*card), cardPrintSettings(), QStringLiteral("card"));
    QVERIFY(!outcome.ok && !outcome.error.isEmpty());
}

QTEST_MAIN(TestCardPrinter)
#include "tst_cardprinter.moc"
