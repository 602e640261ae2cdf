#pragma once

#include "core/copies/classstatistics.h"
#include "print/cardprinter.h"
#include "print/pagerenderer.h"

#include <QDate>
#include <QString>

#include <vector>

class QPagedPaintDevice;

namespace print {

// What the class summary's page shows: the sheet as the card describes it, the day, the
// statistics of each exam and the charts of their grades.
struct ClassSummary {
    QString description;
    QDate date;
    int pupils = 0;
    std::vector<sheet::ExamStatistics> statistics;
};

// On one page with the card's margins: the title, the description and the day, the table of
// figures and the distribution's (first exam at the right), then the exams' charts, three across.
RenderResult renderClassSummary(const ClassSummary& summary, QPagedPaintDevice& device);

PdfOutcome writeClassSummaryPdf(const ClassSummary& summary, const QString& path);

// Distinct from the card's PDF of the same sheet.
QString suggestedSummaryFileName(const QString& description);

} // namespace print
