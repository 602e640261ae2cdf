#include "gui/windows/sheet/statisticsdialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace sheet {

const QString StatisticsDialog::kCaption = QStringLiteral("إحصائيات القسم");

namespace {

const QString kPupilCount = QStringLiteral("عدد التلاميذ : %1");
const QString kNoExam = QStringLiteral("لا يوجد بهذه البطاقة أيّ إمتحان.");
const QString kCloseButton = QStringLiteral("إغلاق");

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

} // namespace

QStringList StatisticsDialog::figuresOf(const ExamStatistics& exam)
{
    QStringList figures;
    for (int count : countsOf(exam))
        figures << QString::number(count);
    for (std::optional<double> figure : gradeFiguresOf(exam))
        figures << statisticText(figure);
    return figures;
}

StatisticsDialog::StatisticsDialog(const std::vector<ExamStatistics>& statistics, int pupils,
                                   const QString& sheetDescription, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("statisticsDialog"));
    setWindowTitle(kCaption);
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (!sheetDescription.trimmed().isEmpty())
        layout->addWidget(makeCell(this, sheetDescription.trimmed(), Qt::AlignHCenter, true));
    auto* pupilCount = makeCell(this, kPupilCount.arg(pupils), Qt::AlignRight);
    pupilCount->setObjectName(QStringLiteral("pupilCount"));
    layout->addWidget(pupilCount);
    if (statistics.empty())
        layout->addWidget(makeCell(this, kNoExam, Qt::AlignRight));
    else
        layout->addWidget(makeTable(statistics));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(kCloseButton, QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);
}

QWidget* StatisticsDialog::makeTable(const std::vector<ExamStatistics>& statistics)
{
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("statisticsTable"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    QStringList labels = statisticsLabels();
    const bool other = anyOtherTexts(statistics);
    if (other)
        labels << kOtherTextsLabel;
    for (int row = 0; row < labels.size(); ++row)
        grid->addWidget(makeCell(frame, labels[row], Qt::AlignRight), row + 1, 0);
    // Right to left: the first exam stands next to the labels.
    int col = 1;
    for (auto exam = statistics.cbegin(); exam != statistics.cend(); ++exam, ++col) {
        auto* header = makeCell(frame, exam->header, Qt::AlignHCenter, true);
        header->setObjectName(QStringLiteral("examHeader%1").arg(exam->exam));
        grid->addWidget(header, 0, col);
        QStringList figures = figuresOf(*exam);
        if (other)
            figures << QString::number(exam->other);
        for (int row = 0; row < figures.size(); ++row) {
            auto* figure = makeCell(frame, figures[row], Qt::AlignHCenter);
            figure->setObjectName(QStringLiteral("figure%1_%2").arg(exam->exam).arg(row));
            grid->addWidget(figure, row + 1, col);
        }
    }
    return frame;
}

} // namespace sheet
