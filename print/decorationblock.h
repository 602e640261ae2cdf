#pragma once

#include "core/card/pageheader.h"

#include <QPointF>
#include <QString>
#include <QTextLayout>
#include <QVector>

#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

namespace print {

// A line whose parts cannot stand side by side puts them one under the other (right, centre,
// left), each wrapped if it must: nothing is cut.
class DecorationBlock {
public:
    DecorationBlock(const QVector<HeaderLine>& lines, double width, QPaintDevice* device);

    double height() const { return m_height; }
    void draw(QPainter& painter, QPointF topLeft) const;

private:
    struct Placed {
        std::unique_ptr<QTextLayout> layout;
        QPointF position;
    };
    std::vector<Placed> laidOut(double* height) const;

    QVector<HeaderLine> m_lines;
    double m_width = 0;
    QPaintDevice* m_device = nullptr;
    double m_height = 0;
};

} // namespace print
