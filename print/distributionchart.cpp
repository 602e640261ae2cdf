#include "print/distributionchart.h"

#include "print/printtext.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace print {

namespace {

const QString kMeanLegend = QStringLiteral("الخطّ المتقطّع : المعدّل %1");
const QColor kBarFill(150, 150, 150);
const QColor kMeanColour(176, 0, 0);

class ChartDrawer {
public:
    ChartDrawer(QPainter& painter, const QRectF& rect, const QFont& font)
        : m_painter(painter), m_font(font)
    {
        m_line = QFontMetricsF(font, painter.device()).height();
        // Rows from the top: the header, the counts over the tallest bar, the bars, the scale's
        // figures, the legend.
        m_plot = rect.adjusted(m_line, 2 * m_line, -m_line, -2.2 * m_line);
        m_pen = QPen(Qt::black, std::max(1.0, m_line / 16));
    }

    // A grade's place on the scale, 0 at the right.
    double xOf(double grade) const
    {
        return m_plot.right() - grade / sheet::kGradeMax * m_plot.width();
    }

    void drawBars(const sheet::GradeDistribution& counts)
    {
        const int most = std::max(1, *std::max_element(counts.cbegin(), counts.cend()));
        const double gap = m_plot.width() / sheet::kGradeBands / 8;
        for (int band = 0; band < sheet::kGradeBands; ++band) {
            const int count = counts[size_t(band)];
            const double height = m_plot.height() * count / most;
            const QRectF bar(QPointF(xOf(band * 2 + 2) + gap, m_plot.bottom() - height),
                             QPointF(xOf(band * 2) - gap, m_plot.bottom()));
            m_painter.setPen(m_pen);
            m_painter.setBrush(kBarFill);
            if (count > 0)
                m_painter.drawRect(bar);
            text(QString::number(count), QPointF(bar.center().x(), bar.top() - m_line));
        }
    }

    void drawScale()
    {
        m_painter.setPen(m_pen);
        m_painter.drawLine(QPointF(m_plot.left(), m_plot.bottom()), m_plot.bottomRight());
        for (int grade = 0; grade <= sheet::kGradeMax; grade += 2) {
            const double x = xOf(grade);
            m_painter.drawLine(QPointF(x, m_plot.bottom()),
                               QPointF(x, m_plot.bottom() + m_line / 4));
            text(QString::number(grade), QPointF(x, m_plot.bottom() + m_line / 4));
        }
    }

    void drawMean(double mean)
    {
        QPen dashed(kMeanColour, m_pen.widthF() * 2, Qt::DashLine);
        m_painter.setPen(dashed);
        m_painter.drawLine(QPointF(xOf(mean), m_plot.top()), QPointF(xOf(mean), m_plot.bottom()));
    }

    // Centred on x, its top at y.
    void text(const QString& text, QPointF centreTop, bool bold = false)
    {
        QFont font = m_font;
        font.setBold(bold);
        const double width = 20 * m_line;
        const LaidText laid = layOutText(StyledText{text, font, {}}, Qt::AlignHCenter, width, false,
                                         m_painter.device());
        m_painter.setPen(Qt::black);
        drawLaidText(m_painter, *laid.layout, centreTop - QPointF(width / 2, 0));
    }

    double line() const { return m_line; }
    const QRectF& plot() const { return m_plot; }

private:
    QPainter& m_painter;
    QFont m_font;
    double m_line = 0;
    QRectF m_plot;
    QPen m_pen;
};

} // namespace

QString meanLegendOf(const sheet::ExamStatistics& exam)
{
    return kMeanLegend.arg(sheet::statisticText(exam.mean));
}

void drawDistributionChart(QPainter& painter, const QRectF& rect, const sheet::ExamStatistics& exam,
                           const QFont& font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    ChartDrawer drawer(painter, rect, font);
    drawer.text(exam.header, QPointF(rect.center().x(), rect.top()), true);
    drawer.drawBars(exam.distribution);
    drawer.drawScale();
    if (exam.mean)
        drawer.drawMean(*exam.mean);
    drawer.text(meanLegendOf(exam), QPointF(rect.center().x(), rect.bottom() - drawer.line()));
    painter.restore();
}

QSizeF distributionChartSize(const QFont& font, QPaintDevice* device)
{
    const QFontMetricsF metrics(font, device);
    // Two figures and a blank of more than half their width under each band; the legend across.
    const double width =
        std::max(sheet::kGradeBands * 1.6 * metrics.horizontalAdvance(QStringLiteral("00")),
                 metrics.horizontalAdvance(kMeanLegend.arg(QStringLiteral("00.00"))));
    return {width + 2 * metrics.height(), 12 * metrics.height()};
}

} // namespace print
