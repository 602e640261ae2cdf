#pragma once

#include "print/summarypage.h"

#include <QDialog>

class QDialogButtonBox;
class QScrollArea;
class QTableWidget;

namespace sheet {

// The class statistics of a grade sheet, one column per exam in reading order (the first
// exam at the right), one line per figure; grades in the sheet's "00.00" style. Below, the
// grades' distribution as a table a screen reader walks and as a chart per exam. The whole
// scrolls when the screen is too small for it.
class StatisticsDialog : public QDialog {
    Q_OBJECT

public:
    explicit StatisticsDialog(print::ClassSummary summary, QWidget* parent = nullptr);

    const print::ClassSummary& summary() const { return m_summary; }

    static const QString kCaption;
    static const QString kSaveSummaryButton;

signals:
    // The teacher asks for the summary's PDF.
    void summaryRequested();

private:
    QWidget* makeTable(QWidget* parent);
    QTableWidget* makeDistributionTable(QWidget* parent);
    QWidget* makeCharts(QWidget* parent);

    print::ClassSummary m_summary;
    QScrollArea* m_body = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace sheet
