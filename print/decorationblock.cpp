#include "print/decorationblock.h"

#include "print/printfonts.h"
#include "print/printtext.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextCharFormat>

#include <array>

namespace print {

namespace {

// The least room between two parts of a header line that stand side by side.
constexpr double kPartGapTwips = 240;
// Every text of a header or footer prints in Tahoma, 10 points, bold.
QFont headerFont()
{
    QFont font = fontOf(PrintedFont{QStringLiteral("Tahoma"), 10});
    font.setBold(true);
    return font;
}

Qt::Alignment alignmentOf(HeaderPart part)
{
    switch (part) {
    case LeftPart:
        return Qt::AlignLeft;
    case CentrePart:
        return Qt::AlignHCenter;
    case RightPart:
        break;
    }
    return Qt::AlignRight;
}

// 0 for an absent part.
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

DecorationBlock::DecorationBlock(const QVector<HeaderLine>& lines, double width,
                                 QPaintDevice* device)
    : m_lines(lines), m_width(width), m_device(device)
{
    laidOut(&m_height);
}

std::vector<DecorationBlock::Placed> DecorationBlock::laidOut(double* height) const
{
    std::vector<Placed> placed;
    const QFont font = headerFont();
    const double emptyLine = QFontMetricsF(font, m_device).height();
    const double gap = twipsOn(m_device, kPartGapTwips);
    double y = 0;
    for (const HeaderLine& line : m_lines) {
        if (line == HeaderLine()) {
            y += emptyLine;
            continue;
        }
        std::array<StyledText, 3> parts;
        std::array<double, 3> natural{0, 0, 0};
        for (auto part : {LeftPart, CentrePart, RightPart}) {
            if (line[size_t(part)].isEmpty())
                continue;
            parts[size_t(part)] = StyledText{line[size_t(part)], font, {}};
            natural[size_t(part)] =
                layOutText(parts[size_t(part)], Qt::AlignLeft, m_width, false, m_device)
                    .naturalWidth;
        }
        const bool oneLine = fitSideBySide(natural[0], natural[1], natural[2], m_width, gap);
        double lineHeight = 0;
        // Stacked, the parts come in reading order: right, centre, left.
        for (auto part : {RightPart, CentrePart, LeftPart}) {
            if (line[size_t(part)].isEmpty())
                continue;
            LaidText laid =
                layOutText(parts[size_t(part)], alignmentOf(part), m_width, !oneLine, m_device);
            placed.push_back({std::move(laid.layout), QPointF(0, oneLine ? y : y + lineHeight)});
            lineHeight = oneLine ? qMax(lineHeight, laid.height) : lineHeight + laid.height;
        }
        y += lineHeight;
    }
    *height = y;
    return placed;
}

void DecorationBlock::draw(QPainter& painter, QPointF topLeft) const
{
    double height = 0;
    for (const Placed& each : laidOut(&height))
        drawLaidText(painter, *each.layout, topLeft + each.position);
}

} // namespace print
