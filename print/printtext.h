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

// Lays text out for device in lines of width, reading in the direction its first strong
// letter gives, placed as alignment says (physically: AlignLeft is the left edge).
// Wrapped, a word wider than the line breaks anywhere rather than run past its edge.
LaidText layOutText(const StyledText& text, Qt::Alignment alignment, double width, bool wrap,
                    QPaintDevice* device);

// Draws laid-out text with its top left corner at position, in the painter's pen.
// The print preview records every page as a picture, and a picture keeps text as its
// characters, laid out again left to right when the page is shown: the blanks and the
// punctuation at the end of an Arabic run change sides, and the preview would not show
// the print. On a picture, text with a right-to-left letter goes as the glyphs laid out
// here, kept as outlines.
void drawLaidText(QPainter& painter, const QTextLayout& layout, QPointF position);

} // namespace print
