#include "gui/windows/sheet/importdialog.h"

#include "gui/ui/filedialogs.h"
#include "gui/ui/uilook.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

namespace sheet {

const QString ImportDialog::kCaption = QStringLiteral("استيراد أعداد من ملفّ");

namespace {

const QString kFileLabel = QStringLiteral("الملفّ :");
const QString kChooseFile = QStringLiteral("اختيار الملفّ...");
const QString kNoFile = QStringLiteral("اختر ملفّ أعداد القسم : CSV أو Excel، سطره الأوّل عناوين "
                                       "الأعمدة، وفيه عمود المعرّف الوحيد لكلّ تلميذ.");
const QString kColumnsTitle = QStringLiteral("أعمدة الملفّ");
const QString kIdentifierColumn = QStringLiteral("عمود المعرّف الوحيد :");
const QString kUnnamedColumn = QStringLiteral("العمود %1");
const QString kFileRead = QStringLiteral("%1    (الترميز : %2)");
const QString kNoExamItem = QStringLiteral("لا شيء");
const QString kImportButton = QStringLiteral("استيراد");
const QString kCancelButton = QStringLiteral("إلغاء");
const QString kMatched = QStringLiteral("تلاميذ وُجدوا بالملفّ : %1");
const QString kUnknown = QStringLiteral("معرّفات بالملفّ ليست من القسم : %1");
const QString kRepeated = QStringLiteral("معرّفات مكرّرة بالملفّ (لا يُستورد لها شيء) : %1");
const QString kMissing = QStringLiteral("تلاميذ من القسم غير موجودين بالملفّ : %1");
const QString kRefused = QStringLiteral("أعداد مرفوضة لن تُكتب : %1");
const QString kWritten = QStringLiteral("أعداد ستُكتب : %1");
const QString kChanged = QStringLiteral("أعداد موجودة ستتغيّر : %1");
const QString kFilled = QStringLiteral("خانات فارغة ستُملأ : %1");
const QString kEmptyCell = QStringLiteral("خانة فارغة");
const QString kChangedLine = QStringLiteral("%1 (%2) - %3 : %4 ← %5");
const QString kRefusedLine = QStringLiteral("%1 (%2) - %3 : «%4» مرفوض");
const QString kUnknownLine = QStringLiteral("معرّف ليس من القسم : %1");
const QString kMissingLine = QStringLiteral("غير موجود بالملفّ : %1 (%2)");

QLabel* makeLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return label;
}

} // namespace

ImportDialog::ImportDialog(const GradeSheet& sheet, QWidget* parent)
    : QDialog(parent), m_sheet(sheet), m_exams(importExams(sheet))
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(kCaption);
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    // Everything but the buttons scrolls when a large font or a small screen leaves too little
    // room: a file of many columns, twice the font on a laptop's screen.
    auto* body = new QWidget;
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins({});
    m_bodyArea = new QScrollArea(this);
    m_bodyArea->setWidgetResizable(true);
    m_bodyArea->setFrameShape(QFrame::NoFrame);
    // Tab goes from choice to choice, the area scrolling to each; the area is no stop.
    m_bodyArea->setFocusPolicy(Qt::NoFocus);
    m_bodyArea->setWidget(body);
    layout->addWidget(m_bodyArea);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(makeLabel(kFileLabel, body));
    m_file = makeLabel(QString(), body);
    // Room for a file's name, and for the lines below to wrap well short of the dialog's edge.
    m_file->setMinimumWidth(
        qMin(ui::designedSize(4500, 0).width(), ui::availableSize(this).width() * 2 / 5));
    fileRow->addWidget(m_file, 1);
    QPushButton* choose = ui::makeButton(body, QStringLiteral("chooseFileButton"), kChooseFile);
    connect(choose, &QPushButton::clicked, this, &ImportDialog::chooseSource);
    fileRow->addWidget(choose);
    bodyLayout->addLayout(fileRow);

    auto* columns = new QGroupBox(kColumnsTitle, body);
    m_columns = new QGridLayout(columns);
    m_identifierColumn = new QComboBox(columns);
    m_identifierColumn->setObjectName(QStringLiteral("identifierColumn"));
    m_identifierColumn->setAccessibleName(kIdentifierColumn);
    connect(m_identifierColumn, &QComboBox::currentIndexChanged, this, &ImportDialog::replan);
    m_columns->addWidget(makeLabel(kIdentifierColumn, columns), 0, 0);
    m_columns->addWidget(m_identifierColumn, 0, 1);
    bodyLayout->addWidget(columns);

    m_summary = makeLabel(kNoFile, body);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    bodyLayout->addWidget(m_summary);
    m_details = new QPlainTextEdit(body);
    m_details->setObjectName(QStringLiteral("details"));
    m_details->setAccessibleName(kCaption);
    m_details->setReadOnly(true);
    QTextOption rightToLeft(Qt::AlignRight);
    rightToLeft.setTextDirection(Qt::RightToLeft);
    m_details->document()->setDefaultTextOption(rightToLeft);
    m_details->setMinimumHeight(m_details->fontMetrics().lineSpacing() * 8);
    bodyLayout->addWidget(m_details, 1); // what a larger dialog gains

    m_buttons = new QDialogButtonBox(this);
    m_importButton = m_buttons->addButton(kImportButton, QDialogButtonBox::AcceptRole);
    m_importButton->setObjectName(QStringLiteral("importButton"));
    m_importButton->setEnabled(false);
    m_buttons->addButton(kCancelButton, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_buttons);
    ui::fitScrollingBody(this, m_bodyArea, m_buttons);
}

void ImportDialog::showEvent(QShowEvent* event)
{
    ui::fitScrollingBody(this, m_bodyArea, m_buttons);
    QDialog::showEvent(event);
}

void ImportDialog::chooseSource()
{
    const QString path = ui::chooseFileToOpen(this, QStringLiteral("gradeImport"), kCaption,
                                              QStringLiteral("CSV, Excel (*.csv *.txt *.xlsx)"));
    if (!path.isEmpty())
        loadSource(path);
}

bool ImportDialog::loadSource(const QString& path)
{
    SourceRead read = readGradeSource(path);
    m_file->setText(read.encoding.isEmpty()
                        ? QFileInfo(path).fileName()
                        : kFileRead.arg(QFileInfo(path).fileName(), read.encoding));
    m_source = std::move(read.rows);
    fillColumns();
    replan();
    ui::fitScrollingBody(this, m_bodyArea, m_buttons);
    if (read.error != SourceError::None)
        m_summary->setText(sourceErrorText(read.error));
    return read.error == SourceError::None;
}

void ImportDialog::fillColumns()
{
    qDeleteAll(m_examChoices);
    m_examChoices.clear();
    for (int row = m_columns->rowCount() - 1; row > 0; --row) {
        if (QLayoutItem* item = m_columns->itemAtPosition(row, 0))
            delete item->widget();
    }
    const QSignalBlocker quiet(m_identifierColumn);
    m_identifierColumn->clear();
    const QStringList headers = m_source.empty() ? QStringList() : m_source.front();
    const int identifiers = guessIdentifierColumn(m_source, m_sheet).value_or(0);
    const std::vector<int> byHeader = examColumnsByHeader(m_source, m_exams, identifiers);
    for (int col = 0; col < headers.size(); ++col) {
        const QString name =
            headers[col].trimmed().isEmpty() ? kUnnamedColumn.arg(col + 1) : headers[col].trimmed();
        m_identifierColumn->addItem(name);
        auto* exam = new QComboBox(m_columns->parentWidget());
        exam->setObjectName(QStringLiteral("examOfColumn%1").arg(col));
        exam->setAccessibleName(name);
        exam->addItem(kNoExamItem, kNoExam);
        for (const ImportExam& shown : m_exams)
            exam->addItem(shown.header, shown.exam);
        exam->setCurrentIndex(qMax(0, exam->findData(byHeader[size_t(col)])));
        connect(exam, &QComboBox::currentIndexChanged, this, [this, exam] { examChosen(exam); });
        QLabel* label = makeLabel(name, m_columns->parentWidget());
        m_columns->addWidget(label, col + 1, 0);
        m_columns->addWidget(exam, col + 1, 1);
        // Shown now rather than when the layout next runs: the dialog measures them at once.
        label->show();
        exam->show();
        m_examChoices.push_back(exam);
    }
    m_identifierColumn->setCurrentIndex(headers.isEmpty() ? -1 : identifiers);
}

// One column fills an exam: choosing it for a column takes it from any other.
void ImportDialog::examChosen(QComboBox* chosen)
{
    for (QComboBox* other : m_examChoices) {
        if (other != chosen && chosen->currentIndex() > 0 &&
            other->currentIndex() == chosen->currentIndex())
            other->setCurrentIndex(0);
    }
    replan();
}

void ImportDialog::replan()
{
    ImportChoice choice{qMax(0, m_identifierColumn->currentIndex()), {}};
    for (int col = 0; col < int(m_examChoices.size()); ++col) {
        m_examChoices[size_t(col)]->setEnabled(col != choice.identifierColumn);
        choice.examOfColumn.push_back(m_examChoices[size_t(col)]->currentData().toInt());
    }
    m_plan = m_source.empty() ? ImportPlan{} : planImport(m_source, m_sheet, choice);
    m_summary->setText(m_source.empty() ? kNoFile : summaryText());
    m_details->setPlainText(detailsText());
    m_importButton->setEnabled(!m_plan.writes.empty());
}

QString ImportDialog::summaryText() const
{
    QStringList lines{kMatched.arg(m_plan.matched), kUnknown.arg(m_plan.unknown.size())};
    if (!m_plan.repeated.isEmpty())
        lines << kRepeated.arg(m_plan.repeated.join(QStringLiteral("، ")));
    lines << kMissing.arg(m_plan.missing.size()) << kRefused.arg(m_plan.refused.size())
          << kWritten.arg(m_plan.writes.size())
          << kChanged.arg(m_plan.changed.size() - m_plan.filled) << kFilled.arg(m_plan.filled);
    return lines.join(u'\n');
}

QString ImportDialog::detailsText() const
{
    QStringList lines;
    for (const ImportedValue& changed : m_plan.changed)
        lines << kChangedLine.arg(changed.pupil.name, changed.pupil.identifier, changed.exam,
                                  changed.before.isEmpty() ? kEmptyCell : changed.before,
                                  changed.value);
    for (const ImportedValue& refused : m_plan.refused)
        lines << kRefusedLine.arg(refused.pupil.name, refused.pupil.identifier, refused.exam,
                                  refused.value);
    for (const QString& unknown : m_plan.unknown)
        lines << kUnknownLine.arg(unknown);
    for (const ImportedPupil& missing : m_plan.missing)
        lines << kMissingLine.arg(missing.name, missing.identifier);
    return lines.join(u'\n');
}

} // namespace sheet
