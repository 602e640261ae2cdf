// Text drawn on a picture, as the print preview records its pages, looks as it looks
// drawn straight on the page.
#include "print/printfonts.h"
#include "print/printtext.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTest>

namespace {

const QSize kSize(640, 40);

QImage blank()
{
    QImage image(kSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

// The share of inked pixels that are inked in one image and not in the other.
double inkDifference(const QImage& a, const QImage& b)
{
    int either = 0;
    int one = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool inA = qGray(a.pixel(x, y)) < 128;
            const bool inB = qGray(b.pixel(x, y)) < 128;
            either += inA || inB;
            one += inA != inB;
        }
    }
    return either == 0 ? 1.0 : double(one) / either;
}

} // namespace

class TestPrintText : public QObject {
    Q_OBJECT

private slots:
    void pictureKeepsTheLayout_data();
    void pictureKeepsTheLayout();
};

void TestPrintText::pictureKeepsTheLayout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::newRow("label, colon, year") << "السنة الدراسيّة : 2026/2025" << int(Qt::AlignLeft);
    QTest::newRow("print number") << "ر.ط : 3" << int(Qt::AlignHCenter);
    QTest::newRow("absence mark") << "غ.ش." << int(Qt::AlignHCenter);
    QTest::newRow("description with dashes and digits")
        << "السابعة أساسي 2 - العربية - الثلاثي 1" << int(Qt::AlignRight);
    QTest::newRow("identifier, no Arabic") << "20250119" << int(Qt::AlignLeft);
    QTest::newRow("date") << "التاريخ : 14/03/2025" << int(Qt::AlignLeft);
}

// A picture keeps text as characters and lays them out again, left to right, when it is
// played: the colon, the blanks and the dashes at the ends of the Arabic runs would change
// sides, and the preview would show another card than the one that prints.
void TestPrintText::pictureKeepsTheLayout()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QImage straight = blank();
    QFont font(print::printableFamily(QStringLiteral("Tahoma")));
    font.setPointSizeF(12);
    font.setBold(true);
    const print::LaidText laid = print::layOutText({text, font, {}}, Qt::Alignment(alignment),
                                                   kSize.width() - 20, false, &straight);
    {
        QPainter painter(&straight);
        painter.setPen(Qt::black);
        print::drawLaidText(painter, *laid.layout, QPointF(10, 5));
    }
    QPicture picture;
    {
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        print::drawLaidText(painter, *laid.layout, QPointF(10, 5));
    }
    QImage played = blank();
    {
        QPainter painter(&played);
        picture.play(&painter);
    }
    const double difference = inkDifference(straight, played);
    QVERIFY2(difference < 0.25, qPrintable(QString::number(difference)));
}

QTEST_MAIN(TestPrintText)
#include "tst_printtext.moc"
