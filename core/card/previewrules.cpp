#include "core/card/previewrules.h"

#include <QtGlobal>

namespace print {

namespace {

constexpr int kActualSizeChoice = 2;

} // namespace

const QVector<ZoomChoice>& zoomChoices()
{
    static const QVector<ZoomChoice> choices{
        {QStringLiteral("200%"), ZoomView::Percentage, 200},
        {QStringLiteral("150%"), ZoomView::Percentage, 150},
        {QStringLiteral("100%"), ZoomView::Percentage, 100},
        {QStringLiteral("75%"), ZoomView::Percentage, 75},
        {QStringLiteral("50%"), ZoomView::Percentage, 50},
        {QStringLiteral("25%"), ZoomView::Percentage, 25},
        {QStringLiteral("10%"), ZoomView::Percentage, 10},
        {QStringLiteral("عرض الصفحة"), ZoomView::PageWidth, 0},
        {QStringLiteral("طول الصفحة"), ZoomView::PageHeight, 0},
        {QStringLiteral("كامل الصفحة"), ZoomView::WholePage, 0},
    };
    return choices;
}

int initialZoomChoice()
{
    return int(zoomChoices().size()) - 1;
}

int switchedZoomChoice(int shown, int lastOtherChoice)
{
    const int wholePage = initialZoomChoice();
    if (shown != wholePage)
        return wholePage;
    const bool valid = lastOtherChoice >= 0 && lastOtherChoice < wholePage;
    return valid ? lastOtherChoice : kActualSizeChoice;
}

int steppedPage(int current, int step, int pageCount)
{
    if (pageCount < 1)
        return 1;
    // Computed wide: a page number near the top of int plus a step must not wrap round.
    const qint64 wanted = qint64(current) + step;
    return int(qBound(qint64(1), wanted, qint64(pageCount)));
}

QString pageLabelText(int page)
{
    return QStringLiteral("الصفحة ") + QString::number(page);
}

} // namespace print
