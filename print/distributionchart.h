#pragma once

#include "core/copies/classstatistics.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>

class QPainter;
class QPaintDevice;

namespace print {

// An exam's grades in their ten bands as a column chart, drawn with QPainter alone so that the
// statistics dialog and the class summary's page draw the same chart (a charting library
// would add a dependency for ten bars). Right to left: the scale runs from 0 at the right to
// 20 at the left, the count over each bar, the mean a dashed line at its place on the scale.
// The exam's header stands above, the mean in words below.
void drawDistributionChart(QPainter& painter, const QRectF& rect, const sheet::ExamStatistics& exam,
                           const QFont& font);

// The least size the chart reads well at in font on device.
QSizeF distributionChartSize(const QFont& font, QPaintDevice* device);

// The words under the chart: what the dashed line is, and the mean.
QString meanLegendOf(const sheet::ExamStatistics& exam);

} // namespace print
