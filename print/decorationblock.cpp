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
// Wide enough for any page number, so that a block keeps its height on every page.
const QString kWidestPageNumber = QStringLiteral("88888");

// The default font of a header or footer: the one every composed run sets.
PrintFont composedFont()
{
    return PrintFont{QStringLiteral("Tahoma"), 10, true, false, false, false};
}

// One part of a header line as one text with a font for each of its pieces.
StyledText partTextOf(const QVector<PrintSpan>& spans, const QString& pageNumber)
{
    StyledText part;
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
        std::array<StyledText, 3> parts;
        std::array<double, 3> natural{0, 0, 0};
        for (auto part : {PrintLine::Left, PrintLine::Centre, PrintLine::Right}) {
            if (line.parts[size_t(part)].isEmpty())
                continue;
            parts[size_t(part)] = partTextOf(line.parts[size_t(part)], pageNumber);
            natural[size_t(part)] =
                layOutText(parts[size_t(part)], Qt::AlignLeft, m_width, false, m_device)
                    .naturalWidth;
        }
        const bool oneLine = fitSideBySide(natural[0], natural[1], natural[2], m_width, gap);
        double lineHeight = 0;
        // Stacked, the parts come in reading order: right, centre, left.
        for (auto part : {PrintLine::Right, PrintLine::Centre, PrintLine::Left}) {
            if (line.parts[size_t(part)].isEmpty())
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

void DecorationBlock::draw(QPainter& painter, QPointF topLeft, int pageNumber) const
{
    double height = 0;
    for (const Placed& each : laidOut(QString::number(pageNumber), &height))
        drawLaidText(painter, *each.layout, topLeft + each.position);
}

} // namespace print
