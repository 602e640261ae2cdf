#include "gui/ui/artwork.h"

#include <QIconEngine>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace ui {

namespace {

void paintGradient(QPainter& painter, QSize size)
{
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0.0, QColor(0, 98, 110));
    gradient.setColorAt(0.55, QColor(8, 64, 104));
    gradient.setColorAt(1.0, QColor(10, 34, 86));
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
}

// Thin diagonal hatching, barely visible: texture without hurting the text on top.
void paintHatching(QPainter& painter, QSize size)
{
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1));
    const int spacing = 9;
    for (int x = -size.height(); x < size.width(); x += spacing)
        painter.drawLine(x, size.height(), x + size.height(), 0);
}

// A soft glow in the top right corner, behind the icon.
void paintGlow(QPainter& painter, QSize size)
{
    const QPointF centre(size.width() * 0.92, size.height() * 0.08);
    const qreal radius = size.height() * 0.6;
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, QColor(120, 220, 200, 70));
    glow.setColorAt(1.0, QColor(120, 220, 200, 0));
    painter.fillRect(QRect(QPoint(0, 0), size), glow);
}

void paintBookCover(QPainter& painter, qreal side)
{
    const QRectF cover(side * 0.12, side * 0.05, side * 0.76, side * 0.90);
    painter.setPen(QPen(QColor(10, 50, 70), qMax(1.0, side / 32)));
    painter.setBrush(QColor(22, 120, 140));
    painter.drawRoundedRect(cover, side * 0.07, side * 0.07);
    const QRectF spine(cover.left(), cover.top(), side * 0.12, cover.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(12, 78, 100));
    painter.drawRoundedRect(spine, side * 0.05, side * 0.05);
}

void paintRuledPage(QPainter& painter, qreal side)
{
    const QRectF page(side * 0.30, side * 0.14, side * 0.50, side * 0.70);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 250, 240));
    painter.drawRect(page);
    painter.setPen(QPen(QColor(90, 140, 190), qMax(1.0, side / 40)));
    for (int line = 1; line <= 4; ++line) {
        const qreal y = page.top() + page.height() * line / 5.0;
        painter.drawLine(QPointF(page.left() + side * 0.05, y),
                         QPointF(page.right() - side * 0.05, y));
    }
}

// The red tick of a marked copy, across the page's lower corner.
void paintTick(QPainter& painter, qreal side)
{
    QPainterPath tick;
    tick.moveTo(side * 0.44, side * 0.62);
    tick.lineTo(side * 0.54, side * 0.74);
    tick.lineTo(side * 0.78, side * 0.44);
    painter.setPen(QPen(QColor(210, 30, 30), qMax(1.5, side / 11), Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
}

QPixmap gradeBook(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintBookCover(painter, side);
    paintRuledPage(painter, side);
    paintTick(painter, side);
    return pixmap;
}

} // namespace

QPixmap aboutBackground(QSize size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    paintGradient(painter, size);
    paintHatching(painter, size);
    paintGlow(painter, size);
    return pixmap;
}

namespace {

// Draws the grade book at the size asked for, when it is asked for: a window shown needs a
// few small sizes, the desktop's menu entry the large ones, and drawing them all at start
// would slow it down.
class GradeBookIconEngine : public QIconEngine {
public:
    QIconEngine* clone() const override { return new GradeBookIconEngine(*this); }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        painter->drawPixmap(rect, gradeBook(qMin(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return gradeBook(qMin(size.width(), size.height()));
    }
};

} // namespace

QIcon programIcon()
{
    return QIcon(new GradeBookIconEngine);
}

} // namespace ui

namespace ui {

QIcon presentationToggleIcon()
{
    // A magnifying glass over a small page: the grid's large and small presentation.
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 2.5, 13, 16));
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    for (int y = 6; y <= 15; y += 3)
        painter.drawLine(QPointF(5, y), QPointF(13, y));
    painter.setPen(QPen(QColor(10, 60, 110), 2));
    painter.setBrush(QColor(200, 230, 255, 160));
    painter.drawEllipse(QPointF(14, 13), 5, 5);
    painter.drawLine(QPointF(17.5, 16.5), QPointF(22, 21));
    painter.end();
    return QIcon(pixmap);
}

QIcon printerIcon()
{
    // A printer with a sheet coming out at the front.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 1.5, 7, 5));
    painter.setBrush(QColor(150, 150, 150));
    painter.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 9.5, 7, 5));
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.drawLine(QPointF(6, 12), QPointF(10, 12));
    painter.end();
    return QIcon(pixmap);
}

QIcon magnifierIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(10, 60, 110), 1.6));
    painter.setBrush(QColor(200, 230, 255, 160));
    painter.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    painter.setPen(QPen(QColor(10, 60, 110), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(14, 14));
    painter.end();
    return QIcon(pixmap);
}

} // namespace ui
