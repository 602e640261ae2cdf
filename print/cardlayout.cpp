#include "print/cardlayout.h"

#include "print/presentation.h"
#include "print/printfonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextCharFormat>

#include <cmath>

namespace print {

namespace {

constexpr double kTwipsPerInch = 1440;
// Room between a cell's border and its text, on every side.
constexpr double kPaddingTwips = 40;
// Room between the page header and the grid, and between the grid and the footer.
constexpr double kBlockGapTwips = 120;
// The least room between two parts of a header line that stand side by side.
constexpr double kPartGapTwips = 240;
// Wide enough for any page number, so that a block keeps its height on every page.
const QString kWidestPageNumber = QStringLiteral("88888");

double twipsOn(const QPaintDevice* device, double twips)
{
    return twips * device->logicalDpiY() / kTwipsPerInch;
}

Qt::LayoutDirection directionOf(const QString& text)
{
    return text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

// The default font of a header or footer: the one every composed run sets.
PrintFont composedFont()
{
    return PrintFont{QStringLiteral("Tahoma"), 10, true, false, false, false};
}

// One part of a header line as one text with a font for each of its pieces.
struct PartText {
    QString text;
    QFont font;
    QVector<QTextLayout::FormatRange> formats;
};

PartText partTextOf(const QVector<PrintSpan>& spans, const QString& pageNumber)
{
    PartText part;
    part.font = print::fontOf(spans.isEmpty() ? composedFont() : spans.first().font);
    for (const PrintSpan& span : spans) {
        const QString piece = span.pageNumber ? pageNumber : span.text;
        QTextLayout::FormatRange range;
        range.start = int(part.text.size());
        range.length = int(piece.size());
        range.format.setFont(print::fontOf(span.font));
        part.formats.append(range);
        part.text += piece;
    }
    return part;
}

struct LaidText {
    std::unique_ptr<QTextLayout> layout;
    double height = 0;
    double naturalWidth = 0;
};

// Lays text out in lines of width; wrapped, a word wider than the line breaks anywhere
// rather than run past its edge.
LaidText layOut(const PartText& part, Qt::Alignment alignment, double width, bool wrap,
                QPaintDevice* device)
{
    LaidText laid;
    laid.layout = std::make_unique<QTextLayout>(part.text, part.font, device);
    QTextOption option(alignment | Qt::AlignAbsolute);
    option.setTextDirection(directionOf(part.text));
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    laid.layout->setTextOption(option);
    laid.layout->setFormats(part.formats);
    laid.layout->beginLayout();
    for (;;) {
        QTextLine line = laid.layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, laid.height));
        laid.height += line.height();
        laid.naturalWidth = qMax(laid.naturalWidth, line.naturalTextWidth());
    }
    laid.layout->endLayout();
    return laid;
}

Qt::Alignment alignmentOf(PrintLine::Part part)
{
    switch (part) {
    case PrintLine::Left:
        return Qt::AlignLeft;
    case PrintLine::Centre:
        return Qt::AlignHCenter;
    case PrintLine::Right:
        break;
    }
    return Qt::AlignRight;
}

// Whether the parts of a line, of these natural widths (0 for an absent part), stand
// side by side on one line of width without touching.
bool fitSideBySide(double left, double centre, double right, double width, double gap)
{
    if (centre > 0) {
        const double centreLeft = (width - centre) / 2;
        const double centreRight = centreLeft + centre;
        return centre <= width && (left <= 0 || left + gap <= centreLeft) &&
               (right <= 0 || centreRight + gap <= width - right);
    }
    if (left > 0 && right > 0)
        return left + gap + right <= width;
    return qMax(left, right) <= width;
}

} // namespace

// --- DecorationBlock --------------------------------------------------------------------

DecorationBlock::DecorationBlock(const QVector<PrintLine>& lines, double width,
                                 QPaintDevice* device)
    : m_lines(lines), m_width(width), m_device(device)
{
    laidOut(kWidestPageNumber, &m_height);
}

std::vector<DecorationBlock::Placed> DecorationBlock::laidOut(const QString& pageNumber,
                                                              double* height) const
{
    std::vector<Placed> placed;
    const double emptyLine = QFontMetricsF(print::fontOf(composedFont()), m_device).height();
    const double gap = twipsOn(m_device, kPartGapTwips);
    double y = 0;
    for (const PrintLine& line : m_lines) {
        if (line.isEmpty()) {
            y += emptyLine;
            continue;
        }
        std::array<PartText, 3> parts;
        std::array<double, 3> natural{0, 0, 0};
        for (auto part : {PrintLine::Left, PrintLine::Centre, PrintLine::Right}) {
            if (line.parts[size_t(part)].isEmpty())
                continue;
            parts[size_t(part)] = partTextOf(line.parts[size_t(part)], pageNumber);
            natural[size_t(part)] =
                layOut(parts[size_t(part)], Qt::AlignLeft, m_width, false, m_device).naturalWidth;
        }
        const bool oneLine = fitSideBySide(natural[0], natural[1], natural[2], m_width, gap);
        double lineHeight = 0;
        // Stacked, the parts come in reading order: right, centre, left.
        for (auto part : {PrintLine::Right, PrintLine::Centre, PrintLine::Left}) {
            if (line.parts[size_t(part)].isEmpty())
                continue;
            LaidText laid =
                layOut(parts[size_t(part)], alignmentOf(part), m_width, !oneLine, m_device);
            placed.push_back({std::move(laid.layout), QPointF(0, oneLine ? y : y + lineHeight)});
            lineHeight = oneLine ? qMax(lineHeight, laid.height) : lineHeight + laid.height;
        }
        y += lineHeight;
    }
    *height = y;
    return placed;
}

void DecorationBlock::draw(QPainter& painter, QPointF topLeft, int pageNumber) const
{
    double height = 0;
    for (const Placed& each : laidOut(QString::number(pageNumber), &height))
        each.layout->draw(&painter, topLeft + each.position);
}

// --- CardLayout -------------------------------------------------------------------------

std::unique_ptr<QTextLayout> headerCellLayout(const PrintedCell& cell, const QFont& font,
                                              double width, QPaintDevice* device, double* height)
{
    Qt::Alignment alignment = cell.alignment & Qt::AlignHorizontal_Mask;
    if (!alignment)
        alignment = Qt::AlignHCenter;
    LaidText laid = layOut(PartText{cell.text, font, {}}, alignment, width, true, device);
    *height = laid.height;
    return std::move(laid.layout);
}

CardLayout::CardLayout(const PrintedSheet& sheet, const PageHeader& codes, QPaintDevice* device)
    : m_device(device), m_pageSize(device->width(), device->height())
{
    m_padding = twipsToPixels(kPaddingTwips);
    m_header =
        std::make_unique<DecorationBlock>(readPrintCodes(codes.header), m_pageSize.width(), device);
    m_footer =
        std::make_unique<DecorationBlock>(readPrintCodes(codes.footer), m_pageSize.width(), device);
    m_gridTop = m_header->height() > 0 ? m_header->height() + twipsToPixels(kBlockGapTwips) : 0;
    measureColumns(sheet);
    measureRows(sheet);
    paginate(sheet);
}

double CardLayout::twipsToPixels(double twips) const
{
    return twipsOn(m_device, twips);
}

QFont CardLayout::fontOf(const PrintedCell& cell) const
{
    return print::fontOf(cell.font);
}

void CardLayout::measureColumns(const PrintedSheet& sheet)
{
    // Most cells share a handful of fonts and many share their text (grades, marks).
    QHash<QString, QFontMetricsF> metricsByFont;
    QHash<QString, double> advances;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    m_columnWidths.resize(sheet.columnCount());
    for (int index = 0; index < sheet.columnCount(); ++index) {
        double width = twipsToPixels(sheet.column(index).width * kTwipsPerWidthUnit);
        for (int row = 0; row <= sheet.rowCount(); ++row) {
            const PrintedCell& cell = sheet.cell(index, row);
            if (cell.text.isEmpty())
                continue;
            const QString fontKey = QStringLiteral("%1|%2|%3")
                                        .arg(cell.font.family)
                                        .arg(cell.font.pointSize)
                                        .arg(cell.font.bold);
            auto metrics = metricsByFont.find(fontKey);
            if (metrics == metricsByFont.end())
                metrics = metricsByFont.insert(fontKey, QFontMetricsF(fontOf(cell), m_device));
            double needed = 0;
            if (row == 0) {
                // Header texts wrap: the longest word sets the width.
                for (const QString& word : cell.text.split(blanks, Qt::SkipEmptyParts))
                    needed = qMax(needed, metrics->horizontalAdvance(word));
            } else {
                const QString key = fontKey + u'|' + cell.text;
                auto advance = advances.constFind(key);
                if (advance == advances.constEnd())
                    advance = advances.insert(key, metrics->horizontalAdvance(cell.text));
                needed = *advance;
            }
            width = qMax(width, std::ceil(needed + 2 * m_padding));
        }
        m_columnWidths[index] = width;
    }
}

void CardLayout::measureRows(const PrintedSheet& sheet)
{
    QHash<QString, double> textHeights;
    m_rowHeights.resize(sheet.rowCount() + 1);
    for (int row = 0; row <= sheet.rowCount(); ++row) {
        double height = twipsToPixels(sheet.rowHeight(row) * kTwipsPerHeightUnit);
        for (int index = 0; index < sheet.columnCount(); ++index) {
            const PrintedCell& cell = sheet.cell(index, row);
            if (cell.text.isEmpty())
                continue;
            double textHeight = 0;
            if (row == 0) {
                headerCellLayout(cell, fontOf(cell), m_columnWidths[index] - 2 * m_padding,
                                 m_device, &textHeight);
            } else {
                const QString fontKey = QStringLiteral("%1|%2|%3")
                                            .arg(cell.font.family)
                                            .arg(cell.font.pointSize)
                                            .arg(cell.font.bold);
                auto known = textHeights.constFind(fontKey);
                if (known == textHeights.constEnd())
                    known =
                        textHeights.insert(fontKey, QFontMetricsF(fontOf(cell), m_device).height());
                textHeight = *known;
            }
            height = qMax(height, std::ceil(textHeight + 2 * m_padding));
        }
        m_rowHeights[row] = height;
    }
}

QVector<QVector<int>> CardLayout::columnBands(const PrintedSheet& sheet) const
{
    // The row-header column and the order number, when shown, come again on every page
    // so that each row of a page of grades still names its pupil.
    QVector<int> repeated;
    double repeatedWidth = 0;
    for (int index = 0; index < sheet.columnCount(); ++index) {
        const int gridColumn = sheet.column(index).gridColumn;
        if (gridColumn == 0 || gridColumn == kOrderNumberColumn) {
            repeated.append(index);
            repeatedWidth += m_columnWidths[index];
        }
    }
    const double room = m_pageSize.width() - repeatedWidth;
    QVector<QVector<int>> bands;
    QVector<int> band;
    double used = 0;
    for (int index = sheet.columnCount() - 1; index >= 0; --index) {
        if (repeated.contains(index))
            continue;
        if (!band.isEmpty() && used + m_columnWidths[index] > room) {
            bands.append(band);
            band.clear();
            used = 0;
        }
        band.prepend(index);
        used += m_columnWidths[index];
    }
    if (!band.isEmpty() || bands.isEmpty())
        bands.append(band);
    for (QVector<int>& each : bands) {
        each += repeated;
        std::sort(each.begin(), each.end());
    }
    return bands;
}

void CardLayout::paginate(const PrintedSheet& sheet)
{
    const double footerRoom =
        m_footer->height() > 0 ? m_footer->height() + twipsToPixels(kBlockGapTwips) : 0;
    const double room = m_pageSize.height() - m_gridTop - footerRoom - m_rowHeights[0];
    const double tallest =
        sheet.rowCount() > 0 ? *std::max_element(m_rowHeights.begin() + 1, m_rowHeights.end()) : 0;
    if (m_pageSize.isEmpty() || room < tallest || room < 0) {
        m_error = QStringLiteral("The paper is too small for the grade card");
        return;
    }
    struct Slice {
        int first;
        int last;
    };
    QVector<Slice> slices;
    for (int first = 1; first <= sheet.rowCount();) {
        int last = first;
        double used = m_rowHeights[first];
        while (last < sheet.rowCount() && used + m_rowHeights[last + 1] <= room)
            used += m_rowHeights[++last];
        slices.append({first, last});
        first = last + 1;
    }
    if (slices.isEmpty())
        slices.append({1, 0});
    const QVector<QVector<int>> bands = columnBands(sheet);
    for (const Slice& slice : slices)
        for (const QVector<int>& band : bands)
            m_pages.append({int(m_pages.size()) + 1, slice.first, slice.last, band});
}

double CardLayout::gridWidth(const CardPage& page) const
{
    double width = 0;
    for (int index : page.columns)
        width += m_columnWidths[index];
    return width;
}

} // namespace print
