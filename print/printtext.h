#pragma once

#include <QFont>
#include <QString>
#include <QTextLayout>
#include <QVector>

#include <memory>

class QPaintDevice;
class QPainter;

namespace print {

// A length in twips (1/1440 inch) in the pixels of device.
double twipsOn(const QPaintDevice* device, double twips);

// A text with a font for each of its ranges (formats may be empty: font throughout).
struct StyledText {
    QString text;
    QFont font;
    QVector<QTextLayout::FormatRange> formats;
};

struct LaidText {
    std::unique_ptr<QTextLayout> layout;
    double height = 0;
    double naturalWidth = 0; // of its widest line
};

// In the direction its first strong letter gives; alignment is physical. Wrapped, a word wider
// than the line breaks anywhere rather than run past its edge.
LaidText layOutText(const StyledText& text, Qt::Alignment alignment, double width, bool wrap,
                    QPaintDevice* device);

// A picture (the preview's pages) lays its text out again left to right when replayed, moving
// the blanks and punctuation of an Arabic run: right-to-left text goes there as outlines.
void drawLaidText(QPainter& painter, const QTextLayout& layout, QPointF position);

} // namespace print
