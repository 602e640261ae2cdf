#include "print/pagerenderer.h"

#include "print/cardlayout.h"
#include "print/printtext.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace print {

const QString kCannotDrawError =
    QStringLiteral("L'imprimante ou le fichier ne peut pas être ouvert pour le dessin");

namespace {

constexpr double kPointsPerTwip = 1.0 / 20;
// The card's margins in twips (1/1440 inch), the left one wider.
constexpr double kLeftMarginTwips = 1000;
constexpr double kMarginTwips = 720;
// Grid lines of half a point; header cells shaded light enough to write on and copy.
constexpr double kLineTwips = 10;
const QColor kShade(224, 224, 224);

class PageDrawer {
public:
    PageDrawer(QPainter& painter, const PrintedSheet& sheet, const CardLayout& layout)
        : m_painter(painter), m_sheet(sheet), m_layout(layout)
    {
        const double dpi = painter.device()->logicalDpiY();
        m_pen = QPen(Qt::black, kLineTwips * dpi / 1440);
    }

    void draw(const CardPage& page)
    {
        m_layout.header().draw(m_painter, QPointF(0, 0));
        m_layout.footer().draw(m_painter, QPointF(0, m_layout.footerTop()));
        const double left = (m_layout.pageSize().width() - m_layout.gridWidth(page)) / 2;
        double top = m_layout.gridTop();
        drawRow(page, 0, left, top);
        top += m_layout.rowHeight(0);
        for (int row = page.firstRow; row <= page.lastRow; ++row) {
            drawRow(page, row, left, top);
            top += m_layout.rowHeight(row);
        }
    }

private:
    void drawRow(const CardPage& page, int row, double left, double top)
    {
        double x = left;
        for (int index : page.columns) {
            const QRectF cell(x, top, m_layout.columnWidth(index), m_layout.rowHeight(row));
            drawCell(index, row, cell);
            x += cell.width();
        }
    }

    void drawCell(int index, int row, const QRectF& rect)
    {
        const bool header = m_sheet.isHeaderCell(index, row);
        if (header)
            m_painter.fillRect(rect, kShade);
        const PrintedCell& cell = m_sheet.cell(index, row);
        if (!cell.text.isEmpty()) {
            const QFont font = m_layout.fontOf(cell);
            const double padding = m_layout.cellPadding();
            const QRectF inner = rect.adjusted(padding, padding, -padding, -padding);
            if (row == 0)
                drawHeaderText(cell, font, inner);
            else
                drawText(cell, font, inner);
        }
        m_painter.setPen(m_pen);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(rect);
    }

    void drawHeaderText(const PrintedCell& cell, const QFont& font, const QRectF& inner)
    {
        double height = 0;
        const auto layout =
            headerCellLayout(cell, font, inner.width(), m_painter.device(), &height);
        m_painter.setPen(Qt::black);
        drawLaidText(m_painter, *layout,
                     QPointF(inner.left(), inner.top() + (inner.height() - height) / 2));
    }

    // On one line.
    void drawText(const PrintedCell& cell, const QFont& font, const QRectF& inner)
    {
        Qt::Alignment horizontal = cell.alignment & Qt::AlignHorizontal_Mask;
        if (!horizontal)
            horizontal = cell.text.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft;
        const LaidText laid = layOutText(StyledText{cell.text, font, {}}, horizontal, inner.width(),
                                         false, m_painter.device());
        m_painter.setPen(Qt::black);
        drawLaidText(m_painter, *laid.layout,
                     QPointF(inner.left(), inner.top() + (inner.height() - laid.height) / 2));
    }

    QPainter& m_painter;
    const PrintedSheet& m_sheet;
    const CardLayout& m_layout;
    QPen m_pen;
};

} // namespace

void applyCardPageLayout(QPagedPaintDevice& device)
{
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(kLeftMarginTwips, kMarginTwips, kMarginTwips, kMarginTwips) *
                              kPointsPerTwip,
                          QPageLayout::Point);
}

RenderResult renderCard(const PrintedSheet& sheet, const PageHeader& codes,
                        QPagedPaintDevice& device)
{
    applyCardPageLayout(device);
    const CardLayout layout(sheet, codes, &device);
    if (!layout.error().isEmpty())
        return {false, 0, layout.error()};

    QPainter painter;
    if (!painter.begin(&device))
        return {false, 0, kCannotDrawError};
    PageDrawer drawer(painter, sheet, layout);
    const QVector<CardPage>& pages = layout.pages();
    for (const CardPage& page : pages) {
        if (page.number > 1 && !device.newPage()) {
            painter.end();
            return {false, page.number - 1,
                    QStringLiteral("L'imprimante a refusé une nouvelle page")};
        }
        drawer.draw(page);
    }
    if (!painter.end())
        return {false, int(pages.size()), QStringLiteral("L'imprimante n'a pas pris la carte")};
    return {true, int(pages.size()), QString()};
}

} // namespace print
