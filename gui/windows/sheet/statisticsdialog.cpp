#include "gui/windows/sheet/statisticsdialog.h"

#include "gui/ui/uilook.h"
#include "print/distributionchart.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace sheet {

const QString StatisticsDialog::kCaption = QStringLiteral("إحصائيات القسم");
const QString StatisticsDialog::kSaveSummaryButton = QStringLiteral("حفظ ملخّص PDF للإحصائيات...");

namespace {

const QString kPupilCount = QStringLiteral("عدد التلاميذ : %1");
const QString kNoExam = QStringLiteral("لا يوجد بهذه البطاقة أيّ إمتحان.");
const QString kCloseButton = QStringLiteral("إغلاق");
constexpr int kChartsAcross = 3;

QLabel* makeCell(QWidget* parent, const QString& text, Qt::Alignment alignment, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignAbsolute | Qt::AlignVCenter);
    label->setLayoutDirection(Qt::RightToLeft);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// One exam's chart, drawn by the painter routine the class summary's page uses.
class DistributionChartView : public QWidget {
public:
    DistributionChartView(const ExamStatistics& exam, QWidget* parent)
        : QWidget(parent), m_exam(exam)
    {
        setObjectName(QStringLiteral("distributionChart%1").arg(exam.exam));
        setAccessibleName(kDistributionTitle + QStringLiteral(" : ") + exam.header);
        setAccessibleDescription(print::meanLegendOf(exam));
        setMinimumSize(print::distributionChartSize(font(), this).toSize());
    }
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        print::drawDistributionChart(painter, rect(), m_exam, font());
    }

private:
    ExamStatistics m_exam;
};

} // namespace

StatisticsDialog::StatisticsDialog(print::ClassSummary summary, QWidget* parent)
    : QDialog(parent), m_summary(std::move(summary))
{
    setObjectName(QStringLiteral("statisticsDialog"));
    setWindowTitle(kCaption);
    setLayoutDirection(Qt::RightToLeft);

    auto* layout = new QVBoxLayout(this);
    auto* body = new QWidget;
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins({});
    const QString description = m_summary.description.trimmed();
    if (!description.isEmpty())
        bodyLayout->addWidget(makeCell(body, description, Qt::AlignHCenter, true));
    auto* pupilCount = makeCell(body, kPupilCount.arg(m_summary.pupils), Qt::AlignRight);
    pupilCount->setObjectName(QStringLiteral("pupilCount"));
    bodyLayout->addWidget(pupilCount);
    if (m_summary.statistics.empty()) {
        bodyLayout->addWidget(makeCell(body, kNoExam, Qt::AlignRight));
    } else {
        bodyLayout->addWidget(makeTable(body));
        bodyLayout->addWidget(makeCell(body, kDistributionTitle, Qt::AlignRight, true));
        bodyLayout->addWidget(makeDistributionTable(body));
        bodyLayout->addWidget(makeCharts(body));
    }
    m_body = ui::scrollWhenShort(body);
    m_body->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_body);

    m_buttons = new QDialogButtonBox(this);
    // Close is the first button a screen reader meets, as in the program's other dialogs.
    QPushButton* close = m_buttons->addButton(kCloseButton, QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    QPushButton* save = m_buttons->addButton(kSaveSummaryButton, QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("saveSummaryButton"));
    connect(save, &QPushButton::clicked, this, &StatisticsDialog::summaryRequested);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(m_buttons, 0, Qt::AlignHCenter);
    ui::fitScrollingBody(this, m_body, m_buttons);
}

QWidget* StatisticsDialog::makeTable(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("statisticsTable"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    // Right to left: the labels, then the first exam beside them.
    const QList<QStringList> rows = statisticsRows(m_summary.statistics);
    for (int row = 0; row < rows.size(); ++row) {
        for (int col = 0; col < rows[row].size(); ++col) {
            const bool label = col == 0;
            auto* cell = makeCell(frame, rows[row][col], label ? Qt::AlignRight : Qt::AlignHCenter,
                                  row == 0);
            const int exam = label ? 0 : m_summary.statistics[size_t(col - 1)].exam;
            if (!label)
                cell->setObjectName(row == 0
                                        ? QStringLiteral("examHeader%1").arg(exam)
                                        : QStringLiteral("figure%1_%2").arg(exam).arg(row - 1));
            grid->addWidget(cell, row, col);
        }
    }
    return frame;
}

// A line per exam, a column per band: the first band at the right, as on the charts.
QTableWidget* StatisticsDialog::makeDistributionTable(QWidget* parent)
{
    const int exams = int(m_summary.statistics.size());
    auto* table = new QTableWidget(exams, kGradeBands, parent);
    table->setObjectName(QStringLiteral("distributionTable"));
    table->setAccessibleName(kDistributionTitle);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int band = 0; band < kGradeBands; ++band)
        table->setHorizontalHeaderItem(band, new QTableWidgetItem(gradeBandLabel(band)));
    for (int row = 0; row < exams; ++row) {
        const ExamStatistics& exam = m_summary.statistics[size_t(row)];
        table->setVerticalHeaderItem(row, new QTableWidgetItem(exam.header));
        for (int band = 0; band < kGradeBands; ++band) {
            auto* item = new QTableWidgetItem(QString::number(exam.distribution[size_t(band)]));
            item->setTextAlignment(Qt::AlignCenter);
            table->setItem(row, band, item);
        }
    }
    table->resizeColumnsToContents();
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every cell in sight: the dialog's body scrolls, not the table.
    const int frame = 2 * table->frameWidth();
    table->setFixedSize(
        table->verticalHeader()->sizeHint().width() + table->horizontalHeader()->length() + frame,
        table->horizontalHeader()->sizeHint().height() + table->verticalHeader()->length() + frame);
    return table;
}

QWidget* StatisticsDialog::makeCharts(QWidget* parent)
{
    auto* charts = new QWidget(parent);
    auto* grid = new QGridLayout(charts);
    grid->setContentsMargins({});
    for (int exam = 0; exam < int(m_summary.statistics.size()); ++exam)
        grid->addWidget(new DistributionChartView(m_summary.statistics[size_t(exam)], charts),
                        exam / kChartsAcross, exam % kChartsAcross);
    return charts;
}

} // namespace sheet
