#pragma once

#include "core/copies/classstatistics.h"

#include <QDialog>

#include <vector>

namespace sheet {

// The class statistics of a grade sheet, one column per exam in reading order (the first
// exam at the right), one line per figure; grades in the sheet's "00.00" style.
class StatisticsDialog : public QDialog {
    Q_OBJECT

public:
    StatisticsDialog(const std::vector<ExamStatistics>& statistics, int pupils,
                     const QString& sheetDescription, QWidget* parent = nullptr);

    static const QString kCaption;
    // What one exam shows on the lines statisticsLabels() names: counts, then the mean,
    // median, lowest and highest grade in the "00.00" style.
    static QStringList figuresOf(const ExamStatistics& exam);

private:
    QWidget* makeTable(const std::vector<ExamStatistics>& statistics);
};

} // namespace sheet
