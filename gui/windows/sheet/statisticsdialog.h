#pragma once

#include "core/copies/classstatistics.h"

#include <QDialog>

#include <vector>

namespace sheet {

// One column per exam in reading order (the first exam at the right).
class StatisticsDialog : public QDialog {
    Q_OBJECT

public:
    StatisticsDialog(const std::vector<ExamStatistics>& statistics, int pupils,
                     const QString& sheetDescription, QWidget* parent = nullptr);

    static const QString kCaption;
    // On the lines statisticsLabels() names.
    static QStringList figuresOf(const ExamStatistics& exam);

private:
    QWidget* makeTable(const std::vector<ExamStatistics>& statistics);
};

} // namespace sheet
