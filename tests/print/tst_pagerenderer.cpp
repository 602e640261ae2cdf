#include "../support/pdftext.h"
#include "../support/samplecard.h"
#include "print/cardlayout.h"
#include "print/cardprinter.h"
#include "print/pageheader.h"
#include "print/pagerenderer.h"
#include "print/printcodes.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using print::PrintedSheet;

namespace {

const QString kSixExams = QStringLiteral("8410203L09310002025.xml");
const QString kThreeExams = QStringLiteral("8410203C07120002025.xml");
const QDate kDate(2025, 3, 14);
const QLocale kFrench(QLocale::French, QLocale::Tunisia);
const QRegularExpression kIdentifier(QStringLiteral("\\b2025\\d{4}\\b"));

// The identifiers of the pupils on a page, from the top.
QStringList identifiersOn(const QString& pageText)
{
    QStringList identifiers;
    for (const QString& line : pageText.split(u'\n')) {
        const QRegularExpressionMatch match = kIdentifier.match(line);
        if (match.hasMatch())
            identifiers << match.captured();
    }
    return identifiers;
}

QStringList identifiersOf(const PrintedSheet& sheet)
{
    QStringList identifiers;
    for (int row = 1; row <= sheet.rowCount(); ++row)
        identifiers << sheet.cellAt(print::kIdentifierColumn, row).text;
    return identifiers;
}

// Every text of the header and footer as it prints on page pageNumber.
QStringList decorationTexts(const print::PageHeader& codes, int pageNumber)
{
    QStringList texts;
    for (const QString& block : {codes.header, codes.footer})
        for (const print::PrintLine& line : print::readPrintCodes(block))
            for (auto part :
                 {print::PrintLine::Left, print::PrintLine::Centre, print::PrintLine::Right})
                if (!line.parts[size_t(part)].isEmpty())
                    texts << line.partText(part, pageNumber);
    return texts;
}

// A PDF writer in memory with the card's paper and margins, to measure the card on.
struct A4Writer {
    A4Writer() : writer(&buffer)
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(1200);
        print::applyPrintSettings(print::cardPrintSettings(), writer);
    }
    QBuffer buffer;
    QPdfWriter writer;
};

} // namespace

class TestPageRenderer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pagination_data();
    void pagination();
    void headerAndFooterOnEveryPage();
    void pageNumbers();
    void blankCardHasNoGrade();
    void columnsSplitWhenTooWide();
    void arabicIsShaped();
    void nothingCut_data();
    void nothingCut();
    void paperTooSmall();

private:
    // Renders the card into a PDF in m_folder and reads it back.
    QStringList render(const PrintedSheet& sheet, const print::PageHeader& codes,
                       int* pageCount = nullptr);

    QTemporaryDir m_folder;
    int m_rendered = 0;
};

void TestPageRenderer::initTestCase()
{
    QVERIFY(m_folder.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QFAIL("pdftotext is missing: install poppler-utils (scripts/packages.sh)");
}

QStringList TestPageRenderer::render(const PrintedSheet& sheet, const print::PageHeader& codes,
                                     int* pageCount)
{
    const QString path = m_folder.filePath(QStringLiteral("card-%1.pdf").arg(++m_rendered));
    const print::PdfOutcome written =
        print::writeCardPdf(sheet, codes, print::cardPrintSettings(), path);
    if (!written.ok) {
        qWarning() << "writing the card failed:" << written.error.description;
        return {};
    }
    if (pageCount)
        *pageCount = written.pageCount;
    return pdfPageTexts(path).value_or(QStringList());
}

void TestPageRenderer::pagination_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("pupils");
    // A row lost or printed twice where a page ends, or a page without the header row,
    // shows here for classes of every size.
    QTest::newRow("one pupil") << kThreeExams << 1;
    QTest::newRow("26 pupils, six exams") << kSixExams << 0;
    QTest::newRow("40 pupils") << kThreeExams << 40;
    QTest::newRow("200 pupils") << kSixExams << 200;
}

void TestPageRenderer::pagination()
{
    QFETCH(QString, fileName);
    QFETCH(int, pupils);
    const std::optional<SampleCard> card = sampleCard(fileName, pupils);
    QVERIFY(card);
    int pageCount = 0;
    const QStringList pages =
        render(card->sheet, print::composePageHeader(card->texts, kDate, kFrench), &pageCount);
    QCOMPARE(pages.size(), pageCount);

    QStringList printed;
    const int perPage = identifiersOn(pages.first()).size();
    QVERIFY(perPage > 0);
    for (int page = 0; page < pages.size(); ++page) {
        const QStringList onPage = identifiersOn(pages[page]);
        printed += onPage;
        // Every page is full but the last.
        if (page + 1 < pages.size())
            QCOMPARE(onPage.size(), perPage);
        QVERIFY2(wordsMissingFrom(pages[page], QStringLiteral("المعرّف ع.ر")).isEmpty(),
                 qPrintable(QStringLiteral("no header row on page %1").arg(page + 1)));
    }
    QCOMPARE(printed, identifiersOf(card->sheet));
    QCOMPARE(pageCount, (card->sheet.rowCount() + perPage - 1) / perPage);
    if (pupils == 200)
        QVERIFY(pageCount > 1);
}

void TestPageRenderer::headerAndFooterOnEveryPage()
{
    const std::optional<SampleCard> card = sampleCard(kSixExams, 200);
    QVERIFY(card);
    const print::PageHeader codes = print::composePageHeader(card->texts, kDate, kFrench);
    const QStringList pages = render(card->sheet, codes);
    QVERIFY(pages.size() > 1);
    const QStringList texts = decorationTexts(codes, 1);
    QCOMPARE(texts.size(), 12);
    QVERIFY(texts.contains(QStringLiteral("التاريخ :  14/03/2025")));
    for (int page = 0; page < pages.size(); ++page) {
        for (const QString& text : texts) {
            const QStringList missing = wordsMissingFrom(pages[page], text);
            QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("page %1 lacks %2 of \"%3\"")
                                                       .arg(page + 1)
                                                       .arg(missing.join(u' '), text)));
        }
    }
}

// "/p" is the number of the page it prints on, in the header and in the footer.
void TestPageRenderer::pageNumbers()
{
    const std::optional<SampleCard> card = sampleCard(kSixExams, 120);
    QVERIFY(card);
    const print::PageHeader codes{QStringLiteral("/rTOP-/p-/n"),
                                  QStringLiteral("/n/cصفحة /p/lBOTTOM-/p-/n")};
    const QStringList pages = render(card->sheet, codes);
    QVERIFY(pages.size() > 2);
    for (int page = 0; page < pages.size(); ++page) {
        const QString number = QString::number(page + 1);
        QVERIFY2(pages[page].contains(QStringLiteral("TOP-%1-").arg(number)), qPrintable(number));
        QVERIFY2(pages[page].contains(QStringLiteral("BOTTOM-%1-").arg(number)),
                 qPrintable(number));
        QVERIFY(wordsMissingFrom(pages[page], QStringLiteral("صفحة ") + number).isEmpty());
    }
}

// The blank card: every pupil, no grade, no mark; the exams' names stay.
void TestPageRenderer::blankCardHasNoGrade()
{
    const std::optional<SampleCard> card = sampleCard(kSixExams, 40);
    QVERIFY(card);
    PrintedSheet blank = card->sheet;
    blank.blankGradeCells();
    const QStringList pages = render(blank, print::composePageHeader(card->texts, kDate, kFrench));
    QVERIFY(!pages.isEmpty());
    const QRegularExpression grade(QStringLiteral("\\d\\d\\.\\d\\d|--\\.--"));
    QStringList printed;
    for (const QString& page : pages) {
        QVERIFY2(!grade.match(page).hasMatch(), qPrintable(grade.match(page).captured()));
        const QString skeleton = pdfSkeleton(page);
        QVERIFY(!skeleton.contains(QStringLiteral("معفى")));
        QVERIFY(!skeleton.contains(QStringLiteral("غ.ش.")));
        QVERIFY(wordsMissingFrom(page, QStringLiteral("شفاهي مراقبة تأليفي")).isEmpty());
        printed += identifiersOn(page);
    }
    QCOMPARE(printed, identifiersOf(card->sheet));
    // Only the grade cells went blank.
    QCOMPARE(blank.cellAt(print::kNameColumn, 1).text,
             card->sheet.cellAt(print::kNameColumn, 1).text);
    QCOMPARE(blank.cellAt(6, 0).text, card->sheet.cellAt(6, 0).text);
    QVERIFY(blank.cellAt(6, 1).text.isEmpty());
    QVERIFY(!card->sheet.cellAt(6, 1).text.isEmpty());
}

// Columns wider together than the paper go on pages of their own, the right-hand ones
// (order number, identifier, name) first; none falls off the edge.
void TestPageRenderer::columnsSplitWhenTooWide()
{
    const std::optional<SampleCard> sample = sampleCard(kSixExams, 30);
    QVERIFY(sample);
    PrintedSheet wide;
    for (const print::PrintedColumn& column : sample->sheet.columns())
        wide.addColumn(column.gridColumn,
                       column.gridColumn < print::kNameColumn ? 20 : column.width);
    wide.setRowCount(sample->sheet.rowCount());
    for (int row = 0; row <= wide.rowCount(); ++row) {
        wide.setRowHeight(row, sample->sheet.rowHeight(row));
        for (int index = 0; index < wide.columnCount(); ++index)
            wide.setCell(wide.column(index).gridColumn, row, sample->sheet.cell(index, row));
    }
    const QStringList pages = render(wide, print::composePageHeader(sample->texts, kDate, kFrench));
    QVERIFY(pages.size() >= 2);
    QCOMPARE(pages.size() % 2, 0);
    const QString first = pdfSkeleton(pages[0]);
    const QString second = pdfSkeleton(pages[1]);
    QVERIFY(first.contains(QStringLiteral("ع.ر")));
    QVERIFY(first.contains(pdfSkeleton(sample->sheet.cellAt(print::kNameColumn, 1).text)));
    QVERIFY(!first.contains(QStringLiteral("شفاهي")));
    QVERIFY(second.contains(QStringLiteral("شفاهي")));
    QVERIFY(!second.contains(QStringLiteral("المعرف")));
    // The order numbers come again beside the grades, to tell whose they are.
    QVERIFY(second.contains(QStringLiteral("ع.ر")));
    A4Writer writer;
    const print::CardLayout layout(wide, print::composePageHeader(sample->texts, kDate, kFrench),
                                   &writer.writer);
    QSet<int> shown;
    for (const print::CardPage& page : layout.pages()) {
        QVERIFY(page.columns.contains(wide.indexOfGridColumn(print::kOrderNumberColumn)));
        QVERIFY(layout.gridWidth(page) <= layout.pageSize().width());
        shown.unite(QSet<int>(page.columns.begin(), page.columns.end()));
    }
    QCOMPARE(shown.size(), wide.columnCount());
    // Every exam's header is on one page or the other.
    for (int gridColumn = 1; gridColumn < print::kNameColumn; ++gridColumn) {
        const QString header = sample->sheet.cellAt(gridColumn, 0).text;
        QVERIFY2(wordsMissingFrom(pages[0] + pages[1], header).isEmpty(), qPrintable(header));
    }
    // The grades of the first exam (column 6) and of the last (column 1) both print.
    QVERIFY(pages[0].contains(sample->sheet.cellAt(6, 1).text) ||
            pages[1].contains(sample->sheet.cellAt(6, 1).text));
    QVERIFY(pages[1].contains(sample->sheet.cellAt(1, 1).text));
}

// The names come out of the PDF in the joined forms of their letters, not as isolated
// letters: the text was shaped.
void TestPageRenderer::arabicIsShaped()
{
    const std::optional<SampleCard> card = sampleCard(kSixExams);
    QVERIFY(card);
    QCOMPARE(card->sheet.cellAt(print::kNameColumn, 1).text, QStringLiteral("خليل بن صالح"));
    const QStringList pages =
        render(card->sheet, print::composePageHeader(card->texts, kDate, kFrench));
    QVERIFY(!pages.isEmpty());
    // Khah initial, lam medial, yeh medial, lam final.
    QVERIFY2(pages[0].contains(QStringLiteral("\uFEA7\uFEE0\uFEF4\uFEDE")), qPrintable(pages[0]));
}

void TestPageRenderer::nothingCut_data()
{
    QTest::addColumn<double>("identifierWidth");
    QTest::addColumn<qreal>("pointSize");
    // The identifier column as the sheet has it, far too narrow, and larger type: the
    // wider font standing in for Tahoma must never cut "20250119" to "2025011".
    QTest::newRow("as the sheet has it") << 11.0 << qreal(9);
    QTest::newRow("too narrow") << 3.0 << qreal(9);
    QTest::newRow("large type") << 11.0 << qreal(14);
}

void TestPageRenderer::nothingCut()
{
    QFETCH(double, identifierWidth);
    QFETCH(qreal, pointSize);
    const std::optional<SampleCard> sample = sampleCard(kSixExams);
    QVERIFY(sample);
    PrintedSheet sheet;
    for (const print::PrintedColumn& column : sample->sheet.columns())
        sheet.addColumn(column.gridColumn, column.gridColumn == print::kIdentifierColumn
                                               ? identifierWidth
                                               : column.width);
    sheet.setRowCount(sample->sheet.rowCount());
    for (int row = 0; row <= sheet.rowCount(); ++row) {
        sheet.setRowHeight(row, sample->sheet.rowHeight(row));
        for (int index = 0; index < sheet.columnCount(); ++index) {
            print::PrintedCell cell = sample->sheet.cell(index, row);
            cell.font.pointSize = pointSize;
            sheet.setCell(sheet.column(index).gridColumn, row, cell);
        }
    }
    A4Writer a4;
    QPdfWriter& writer = a4.writer;
    const print::CardLayout layout(sheet, print::composePageHeader(sample->texts, kDate, kFrench),
                                   &writer);
    QVERIFY(layout.error().isEmpty());
    for (const print::CardPage& page : layout.pages())
        QVERIFY(layout.gridWidth(page) <= layout.pageSize().width());
    const double padding = layout.cellPadding();
    for (int index = 0; index < sheet.columnCount(); ++index) {
        for (int row = 1; row <= sheet.rowCount(); ++row) {
            const print::PrintedCell& cell = sheet.cell(index, row);
            const QFontMetricsF metrics(layout.fontOf(cell), &writer);
            QVERIFY2(metrics.horizontalAdvance(cell.text) + 2 * padding <=
                         layout.columnWidth(index),
                     qPrintable(cell.text));
            QVERIFY(metrics.height() + 2 * padding <= layout.rowHeight(row));
        }
        const print::PrintedCell& header = sheet.cell(index, 0);
        double height = 0;
        print::headerCellLayout(header, layout.fontOf(header),
                                layout.columnWidth(index) - 2 * padding, &writer, &height);
        QVERIFY2(height + 2 * padding <= layout.rowHeight(0), qPrintable(header.text));
    }
}

void TestPageRenderer::paperTooSmall()
{
    const std::optional<SampleCard> card = sampleCard(kSixExams);
    QVERIFY(card);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QSizeF(60, 40), QPageSize::Millimeter));
    const print::RenderResult result =
        print::renderCard(card->sheet, print::composePageHeader(card->texts, kDate, kFrench),
                          print::cardPrintSettings(), writer);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
}

QTEST_MAIN(TestPageRenderer)
#include "tst_pagerenderer.moc"
