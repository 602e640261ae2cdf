#include "print/cardlayout.h"

#include "print/printfonts.h"
#include "print/printtext.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QRegularExpression>

#include <cmath>

namespace print {

namespace {

// Room between a cell's border and its text, on every side.
constexpr double kPaddingTwips = 40;
// Room between the page header and the grid, and between the grid and the footer.
constexpr double kBlockGapTwips = 120;

} // namespace

std::unique_ptr<QTextLayout> headerCellLayout(const PrintedCell& cell, const QFont& font,
                                              double width, QPaintDevice* device, double* height)
{
    Qt::Alignment alignment = cell.alignment & Qt::AlignHorizontal_Mask;
    if (!alignment)
        alignment = Qt::AlignHCenter;
    LaidText laid = layOutText(StyledText{cell.text, font, {}}, alignment, width, true, device);
    *height = laid.height;
    return std::move(laid.layout);
}

CardLayout::CardLayout(const PrintedSheet& sheet, const PageHeader& codes, QPaintDevice* device)
    : m_device(device), m_pageSize(device->width(), device->height())
{
    m_padding = twipsToPixels(kPaddingTwips);
    m_header = std::make_unique<DecorationBlock>(codes.header, m_pageSize.width(), device);
    m_footer = std::make_unique<DecorationBlock>(codes.footer, m_pageSize.width(), device);
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
            const QString fontKey =
                QStringLiteral("%1|%2").arg(cell.font.family).arg(cell.font.pointSize);
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
                const QString fontKey =
                    QStringLiteral("%1|%2").arg(cell.font.family).arg(cell.font.pointSize);
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
        m_error = QStringLiteral("Le papier est trop petit pour la carte de notes");
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
