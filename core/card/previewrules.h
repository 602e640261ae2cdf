#pragma once

#include <QString>
#include <QVector>

namespace print {

enum class ZoomView { Percentage, PageWidth, PageHeight, WholePage };

struct ZoomChoice {
    QString text;
    ZoomView view = ZoomView::WholePage;
    int percentage = 0; // for ZoomView::Percentage
};

const QVector<ZoomChoice>& zoomChoices();

// The whole page.
int initialZoomChoice();

// The zoom button goes between the whole page and the last other choice (100% until another is
// chosen).
int switchedZoomChoice(int shown, int lastOtherChoice);

// Never before the first page nor past the last; 1 when there is no page.
int steppedPage(int current, int step, int pageCount);

QString pageLabelText(int page);

} // namespace print
