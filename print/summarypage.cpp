#include "print/summarypage.h"

#include "print/distributionchart.h"
#include "print/printfonts.h"
#include "print/printtext.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace print {

namespace {

const QString kSummaryTitle = QStringLiteral("ملخّص إحصائيات القسم");
const QString kDateAndPupils = QStringLiteral("التاريخ : %1        عدد التلاميذ : %2");
const QString kFileNamePrefix = QStringLiteral("إحصائيات ");
const QColor kShade(224, 224, 224);
constexpr int kMostChartsAcross = 3;

QFont summaryFont(qreal pointSize, bool bold = false)
{
    QFont font = fontOf(PrintedFont{QString(), pointSize});
    font.setBold(bold);
    return font;
}

class SummaryDrawer {
public:
    SummaryDrawer(QPainter& painter, QPagedPaintDevice& device)
        : m_painter(painter), m_device(device), m_width(device.width())
    {
        m_pen = QPen(Qt::black, twipsOn(&device, 10));
    }

    // Centred, or at the right, across the page.
    void line(const QString& text, const QFont& font, Qt::Alignment alignment)
    {
        const LaidText laid =
            layOutText(StyledText{text, font, {}}, alignment, m_width, true, &m_device);
        m_painter.setPen(Qt::black);
        drawLaidText(m_painter, *laid.layout, QPointF(0, m_top));
        m_top += laid.height;
    }

    void space(double lines)
    {
        m_top += lines * QFontMetricsF(summaryFont(10), &m_device).height();
    }

    // Right to left: the first column, the rows' names, at the right; the header rows shaded.
    void table(const QList<QStringList>& rows, const QList<int>& headerRows, const QFont& font)
    {
        const double padding = twipsOn(&m_device, 40);
        const int columns = int(rows.front().size());
        double labelWidth = 0;
        for (const QStringList& row : rows)
            labelWidth = std::max(labelWidth, naturalWidth(row[0], font) + 3 * padding);
        const double examWidth =
            std::min((m_width - labelWidth) / std::max(1, columns - 1), twipsOn(&m_device, 1600));
        const double right = (m_width + labelWidth + examWidth * (columns - 1)) / 2;
        const double rowHeight = QFontMetricsF(font, &m_device).height() + padding;
        for (int row = 0; row < rows.size(); ++row) {
            const bool header = headerRows.contains(row);
            double height = rowHeight;
            for (int col = 1; header && col < columns; ++col)
                height = std::max(height,
                                  layOutText(StyledText{rows[row][col], font, {}}, Qt::AlignHCenter,
                                             examWidth - padding, true, &m_device)
                                          .height +
                                      padding);
            QRectF cell(right - labelWidth, m_top, labelWidth, height);
            for (int col = 0; col < columns; ++col) {
                drawCell(cell, rows[row][col], font, header || col == 0,
                         col == 0 ? Qt::AlignRight : Qt::AlignHCenter, padding);
                cell = QRectF(cell.left() - examWidth, m_top, examWidth, height);
            }
            m_top += height;
        }
    }

    // As many rows as six exams need, in the room the page has left.
    void charts(const std::vector<sheet::ExamStatistics>& statistics, const QFont& font)
    {
        const int count = int(statistics.size());
        if (count == 0)
            return;
        const int across = std::min(count, kMostChartsAcross);
        const int rows = (count + across - 1) / across;
        const double gap = twipsOn(&m_device, 240);
        const double width = (m_width - gap * (across - 1)) / across;
        const double height =
            std::min((m_device.height() - m_top) / rows - gap, m_width / kMostChartsAcross * 0.8);
        for (int exam = 0; exam < count; ++exam) {
            const int row = exam / across;
            const int column = exam % across;
            const QRectF rect(m_width - (column + 1) * width - column * gap,
                              m_top + row * (height + gap), width, height);
            drawDistributionChart(m_painter, rect, statistics[size_t(exam)], font);
        }
    }

private:
    double naturalWidth(const QString& text, const QFont& font)
    {
        return layOutText(StyledText{text, font, {}}, Qt::AlignRight, m_width, false, &m_device)
            .naturalWidth;
    }

    void drawCell(const QRectF& cell, const QString& text, const QFont& font, bool shaded,
                  Qt::Alignment alignment, double padding)
    {
        if (shaded)
            m_painter.fillRect(cell, kShade);
        const QRectF inner = cell.adjusted(padding / 2, padding / 2, -padding / 2, -padding / 2);
        const LaidText laid =
            layOutText(StyledText{text, font, {}}, alignment, inner.width(), true, &m_device);
        m_painter.setPen(Qt::black);
        drawLaidText(m_painter, *laid.layout,
                     QPointF(inner.left(), inner.top() + (inner.height() - laid.height) / 2));
        m_painter.setPen(m_pen);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(cell);
    }

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    double m_width;
    double m_top = 0;
    QPen m_pen;
};

} // namespace

RenderResult renderClassSummary(const ClassSummary& summary, QPagedPaintDevice& device)
{
    applyCardPageLayout(device);
    QPainter painter;
    if (!painter.begin(&device))
        return {false, 0, kCannotDrawError};
    SummaryDrawer drawer(painter, device);
    drawer.line(kSummaryTitle, summaryFont(14, true), Qt::AlignHCenter);
    drawer.line(summary.description.trimmed(), summaryFont(12, true), Qt::AlignHCenter);
    drawer.space(0.5);
    drawer.line(
        kDateAndPupils.arg(summary.date.toString(QStringLiteral("dd/MM/yyyy"))).arg(summary.pupils),
        summaryFont(10), Qt::AlignRight);
    drawer.space(1);
    if (!summary.statistics.empty()) {
        QList<QStringList> rows = sheet::statisticsRows(summary.statistics);
        const QList<int> headerRows{0, int(rows.size())};
        rows += sheet::distributionRows(summary.statistics);
        drawer.table(rows, headerRows, summaryFont(8));
        drawer.space(1);
        drawer.charts(summary.statistics, summaryFont(7.5));
    }
    if (!painter.end())
        return {false, 1, kCannotDrawError};
    return {true, 1, QString()};
}

PdfOutcome writeClassSummaryPdf(const ClassSummary& summary, const QString& path)
{
    return writePdf(path, kSummaryTitle, [&summary](QPagedPaintDevice& device) {
        return renderClassSummary(summary, device);
    });
}

QString suggestedSummaryFileName(const QString& description)
{
    return suggestedPdfFileName(kFileNamePrefix + description);
}

} // namespace print
