#include "print/printtext.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>

namespace print {

double twipsOn(const QPaintDevice* device, double twips)
{
    return twips * device->logicalDpiY() / 1440.0;
}

LaidText layOutText(const StyledText& text, Qt::Alignment alignment, double width, bool wrap,
                    QPaintDevice* device)
{
    LaidText laid;
    laid.layout = std::make_unique<QTextLayout>(text.text, text.font, device);
    QTextOption option(alignment | Qt::AlignAbsolute);
    option.setTextDirection(text.text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    laid.layout->setTextOption(option);
    laid.layout->setFormats(text.formats);
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

namespace {

bool hasRightToLeftLetter(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
    });
}

} // namespace

void drawLaidText(QPainter& painter, const QTextLayout& layout, QPointF position)
{
    // A picture replayed and Windows' print engine would place right-to-left runs again, wrongly
    // (the blanks and marks between Arabic words and figures move or go): glyphs go instead.
    // Other text, drawn as characters, is much faster.
    const QPaintEngine* engine = painter.paintEngine();
    const bool placesRunsAgain = engine && (engine->type() == QPaintEngine::Picture ||
                                            engine->type() == QPaintEngine::Windows);
    if (!placesRunsAgain || !hasRightToLeftLetter(layout.text())) {
        layout.draw(&painter, position);
        return;
    }
    for (const QGlyphRun& run : layout.glyphRuns())
        painter.drawGlyphRun(position, run);
}

} // namespace print
