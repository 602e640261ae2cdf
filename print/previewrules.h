#pragma once

#include <QString>
#include <QVector>

namespace print {

// How the preview shows its pages: at a percentage of their size, as wide as the window,
// as high as the window, or whole.
enum class ZoomView { Percentage, PageWidth, PageHeight, WholePage };

struct ZoomChoice {
    QString text;
    ZoomView view = ZoomView::WholePage;
    int percentage = 0; // for ZoomView::Percentage
};

// The preview's zoom list, in its order.
const QVector<ZoomChoice>& zoomChoices();

// The item the zoom list shows when the preview opens: the whole page.
int initialZoomChoice();

// The zoom button switches between the whole page and the last other choice of the list
// (100% until another is chosen): the choice it goes to from shown.
int switchedZoomChoice(int shown, int lastOtherChoice);

// Paging: the page shown after a step of step pages (negative backwards) from current,
// among pageCount pages. Never before the first page nor past the last; 1 when there is
// no page.
int steppedPage(int current, int step, int pageCount);

// The page label of the preview's toolbar.
QString pageLabelText(int page);

} // namespace print
