#pragma once

#include "print/printcodes.h"

#include <QPointF>
#include <QString>
#include <QTextLayout>
#include <QVector>

#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace print {

// A page header or footer laid out across the width of the page, measured in the fonts it
// prints in. A line whose parts cannot stand side by side puts them one under the other
// (right, centre, left), each wrapped to the width if it must: nothing is cut.
class DecorationBlock {
public:
    DecorationBlock(const QVector<PrintLine>& lines, double width, QPaintDevice* device);

    // The height of the block whatever the page number (measured with a wide one).
    double height() const { return m_height; }
    void draw(QPainter& painter, QPointF topLeft, int pageNumber) const;

private:
    struct Placed {
        std::unique_ptr<QTextLayout> layout;
        QPointF position;
    };
    std::vector<Placed> laidOut(const QString& pageNumber, double* height) const;

    QVector<PrintLine> m_lines;
    double m_width = 0;
    QPaintDevice* m_device = nullptr;
    double m_height = 0;
};

} // namespace print
