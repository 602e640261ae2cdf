#include "app/keptcopiesdialog.h"

#include "ui/uilook.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kTitle = QStringLiteral("استرجاع نسخة محفوظة");
const QString kFileLabel = QStringLiteral("الملف :");
const QString kNoCopiesText = QStringLiteral("لا توجد نسخ محفوظة");
const QString kDamagedText = QStringLiteral("نسخة تالفة");
const QString kShownTime = QStringLiteral("dd/MM/yyyy HH:mm:ss");

} // namespace

KeptCopiesDialog::KeptCopiesDialog(const recovery::KeptCopies& copies, const QString& selectedKey,
                                   QWidget* parent)
    : QDialog(parent), m_copies(copies)
{
    setObjectName(QStringLiteral("keptCopiesDialog"));
    setWindowTitle(kTitle);
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::programFont());
    createControls();
    const QStringList keys = m_copies.keys();
    m_keys->addItems(keys);
    const int selected = int(keys.indexOf(selectedKey));
    m_keys->setCurrentIndex(selected >= 0 ? selected : 0);
    showCopiesOf(m_keys->currentText());
    connect(m_keys, &QComboBox::currentTextChanged, this, &KeptCopiesDialog::showCopiesOf);
}

void KeptCopiesDialog::createControls()
{
    m_keys = new QComboBox(this);
    m_keys->setObjectName(QStringLiteral("keys"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("copies"));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({QStringLiteral("التاريخ"), QStringLiteral("رقم الحفظ"),
                             QStringLiteral("تلاميذ لهم أعداد")});
    m_list->header()->setDefaultAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumWidth(ui::fromTwips(6000));
    m_noCopies = new QLabel(kNoCopiesText, this);
    m_noCopies->setObjectName(QStringLiteral("noCopies"));
    m_toDisk = ui::makeButton(this, QStringLiteral("toDiskButton"),
                              QStringLiteral("استرجاع إلى القرص"), QRect());
    m_toFolder = ui::makeButton(this, QStringLiteral("toFolderButton"),
                                QStringLiteral("نسخ إلى مجلد آخر"), QRect());
    QPushButton* close =
        ui::makeButton(this, QStringLiteral("closeButton"), QStringLiteral("إغلاق"), QRect());

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(kFileLabel, this));
    fileRow->addWidget(m_keys, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_toDisk);
    buttons->addWidget(m_toFolder);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(m_list);
    layout->addWidget(m_noCopies);
    layout->addLayout(buttons);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &KeptCopiesDialog::selectionChanged);
    connect(m_toDisk, &QPushButton::clicked, this, [this] { choose(Choice::ToDisk); });
    connect(m_toFolder, &QPushButton::clicked, this, [this] { choose(Choice::ToFolder); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void KeptCopiesDialog::showCopiesOf(const QString& key)
{
    m_list->clear();
    m_summaries.clear();
    if (!key.isEmpty()) {
        for (const recovery::KeptCopy& copy : m_copies.list(key))
            m_summaries.push_back(m_copies.summarize(copy, key));
    }
    for (const recovery::KeptCopySummary& summary : m_summaries) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, summary.copy.time.toLocalTime().toString(kShownTime));
        item->setText(1, QString::number(summary.copy.saveNumber));
        const bool damaged = summary.error.isError();
        item->setText(2, damaged ? kDamagedText : QString::number(summary.pupilsWithGrades));
        if (damaged)
            item->setForeground(2, QColor(255, 0, 0));
    }
    for (int column = 0; column < 3; ++column)
        m_list->resizeColumnToContents(column);
    m_noCopies->setVisible(m_summaries.empty());
    if (!m_summaries.empty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    selectionChanged();
}

void KeptCopiesDialog::selectionChanged()
{
    const bool chosen = !m_list->selectedItems().isEmpty();
    m_toDisk->setEnabled(chosen);
    m_toFolder->setEnabled(chosen);
}

QString KeptCopiesDialog::key() const
{
    return m_keys->currentText();
}

recovery::KeptCopy KeptCopiesDialog::copy() const
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    return row >= 0 && size_t(row) < m_summaries.size() ? m_summaries[size_t(row)].copy
                                                        : recovery::KeptCopy{};
}

void KeptCopiesDialog::choose(Choice choice)
{
    m_choice = choice;
    accept();
}

} // namespace app
