#include "gui/windows/app/keptcopiesdialog.h"

#include "core/copies/copyfailure.h"
#include "core/disk/gradedisk.h"
#include "core/disk/teachermessages.h"
#include "core/gradefile/rowsetreader.h"
#include "core/recovery/datafolder.h"
#include "core/recovery/pendingchanges.h"
#include "core/recovery/sessionjournal.h"
#include "gui/ui/notice.h"
#include "gui/ui/uilook.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

const QString kTitle = QStringLiteral("استرجاع نسخة محفوظة");
const QString kFileLabel = QStringLiteral("الملف :");
const QString kNoCopiesText = QStringLiteral("لا توجد نسخ محفوظة");
const QString kDamagedText = QStringLiteral("نسخة تالفة");
const QString kDamagedJournalText = QStringLiteral("تالف");
const QString kUnknownText = QStringLiteral("-");
const QString kAsideLabel = QStringLiteral("أعداد لم تحفظ وضعت جانبا :");
constexpr int kListWidthTwips = 6000;

QTreeWidget* makeList(QWidget* parent, const QString& name, const QStringList& headers)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setColumnCount(int(headers.size()));
    list->setHeaderLabels(headers);
    list->header()->setDefaultAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumWidth(ui::designedSize(kListWidthTwips, 0).width());
    return list;
}

// The list as wide as its columns, as far as the screen allows: the teacher reads a copy's
// differences and folder whole, without scrolling sideways.
void fitColumns(QTreeWidget* list)
{
    int width = 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < list->columnCount(); ++column) {
        list->resizeColumnToContents(column);
        width += list->columnWidth(column);
    }
    const int designed = ui::designedSize(kListWidthTwips, 0).width();
    // The dialog's margins stand beside the list.
    const int room = ui::availableSize(list->window()).width() - 4 * list->fontMetrics().height();
    list->setMinimumWidth(std::max(designed, std::min(width, room)));
}

QString shownFolder(const QString& folder)
{
    return folder.isEmpty() ? kUnknownText : sheet::leftToRight(QDir::toNativeSeparators(folder));
}

// The cells that differ from the file on the disk now, and the first pupils they belong to.
QString differenceText(const std::optional<recovery::CopyDifference>& difference)
{
    if (!difference)
        return kUnknownText;
    if (difference->firstPupils.isEmpty())
        return QString::number(difference->cells);
    return QStringLiteral("%1 : %2")
        .arg(difference->cells)
        .arg(difference->firstPupils.join(QStringLiteral("، ")));
}

std::optional<QStringList> linesOnDisk(const gradefile::GradeDisk& disk, const QString& key)
{
    const std::optional<QByteArray> bytes = disk.bytesOf(gradefile::GradeDisk::fileNameOf(key));
    return bytes ? gradefile::readRowsetLines(*bytes).lines : std::nullopt;
}

// The keys with kept copies or with grades set aside, each once, in name order.
QStringList keysOf(const recovery::KeptCopies& copies)
{
    QStringList keys = copies.keys();
    keys << recovery::journalKeys(recovery::asideFolder(copies.dataFolder()));
    keys.removeDuplicates();
    keys.sort();
    return keys;
}

} // namespace

KeptCopiesDialog::KeptCopiesDialog(const recovery::KeptCopies& copies,
                                   const gradefile::GradeDisk& disk, const QString& selectedKey,
                                   QWidget* parent)
    : QDialog(parent), m_copies(copies), m_disk(disk)
{
    setObjectName(QStringLiteral("keptCopiesDialog"));
    setWindowTitle(kTitle);
    setLayoutDirection(Qt::RightToLeft);
    createControls();
    const QStringList keys = keysOf(m_copies);
    m_keys->addItems(keys);
    const int selected = int(keys.indexOf(selectedKey));
    m_keys->setCurrentIndex(selected >= 0 ? selected : 0);
    showKey(m_keys->currentText());
    connect(m_keys, &QComboBox::currentTextChanged, this, &KeptCopiesDialog::showKey);
}

void KeptCopiesDialog::createControls()
{
    m_keys = new QComboBox(this);
    m_keys->setObjectName(QStringLiteral("keys"));
    m_list =
        makeList(this, QStringLiteral("copies"),
                 {QStringLiteral("التاريخ"), QStringLiteral("رقم الحفظ"),
                  QStringLiteral("الخانات المختلفة عن الملفّ الحالي"), QStringLiteral("القرص")});
    m_noCopies = new QLabel(kNoCopiesText, this);
    m_noCopies->setObjectName(QStringLiteral("noCopies"));
    m_toDisk =
        ui::makeButton(this, QStringLiteral("toDiskButton"), QStringLiteral("استرجاع إلى القرص"));
    m_toFolder =
        ui::makeButton(this, QStringLiteral("toFolderButton"), QStringLiteral("نسخ إلى مجلد آخر"));
    auto* closeRow = new QDialogButtonBox(this);
    closeRow->addButton(QStringLiteral("إغلاق"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("closeButton"));

    m_keys->setAccessibleName(kFileLabel);
    m_list->setAccessibleName(kTitle);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(kFileLabel, this));
    fileRow->addWidget(m_keys, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_toDisk);
    buttons->addWidget(m_toFolder);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(m_list);
    layout->addWidget(m_noCopies);
    layout->addLayout(buttons);
    layout->addWidget(createAsidePart());
    layout->addWidget(closeRow);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &KeptCopiesDialog::selectionChanged);
    connect(m_toDisk, &QPushButton::clicked, this, [this] { choose(Choice::ToDisk); });
    connect(m_toFolder, &QPushButton::clicked, this, [this] { choose(Choice::ToFolder); });
    connect(closeRow, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QWidget* KeptCopiesDialog::createAsidePart()
{
    m_asidePart = new QWidget(this);
    m_asideList = makeList(
        m_asidePart, QStringLiteral("asideJournals"),
        {QStringLiteral("آخر تغيير"), QStringLiteral("الخانات"), QStringLiteral("المجلّد")});
    m_bringBack = ui::makeButton(m_asidePart, QStringLiteral("bringBackButton"),
                                 QStringLiteral("عرضها من جديد عند فتح الملفّ"));
    m_asideList->setAccessibleName(kAsideLabel);
    auto* layout = new QVBoxLayout(m_asidePart);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(kAsideLabel, m_asidePart));
    layout->addWidget(m_asideList);
    layout->addWidget(m_bringBack, 0, Qt::AlignLeading);
    connect(m_asideList, &QTreeWidget::itemSelectionChanged, this,
            &KeptCopiesDialog::selectionChanged);
    connect(m_bringBack, &QPushButton::clicked, this, &KeptCopiesDialog::bringBackAsideJournal);
    return m_asidePart;
}

void KeptCopiesDialog::showKey(const QString& key)
{
    showCopiesOf(key);
    showAsideJournalsOf(key);
    selectionChanged();
}

void KeptCopiesDialog::showCopiesOf(const QString& key)
{
    m_list->clear();
    m_summaries.clear();
    if (!key.isEmpty()) {
        const std::optional<QStringList> current = linesOnDisk(m_disk, key);
        for (const recovery::KeptCopy& copy : m_copies.list(key))
            m_summaries.push_back(m_copies.summarize(copy, key, current));
    }
    for (const recovery::KeptCopySummary& summary : m_summaries) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, gradefile::shownTime(summary.copy.time));
        item->setText(1, QString::number(summary.copy.saveNumber));
        const bool damaged = summary.error.isError();
        item->setText(2, damaged ? kDamagedText : differenceText(summary.difference));
        if (damaged)
            item->setForeground(2, QColor(255, 0, 0));
        item->setText(3, shownFolder(summary.copy.diskFolder));
    }
    fitColumns(m_list);
    m_noCopies->setVisible(m_summaries.empty());
    if (!m_summaries.empty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

void KeptCopiesDialog::showAsideJournalsOf(const QString& key)
{
    m_asideList->clear();
    m_asideJournals =
        key.isEmpty() ? QStringList()
                      : recovery::journalsOfKey(recovery::asideFolder(m_copies.dataFolder()), key);
    for (const QString& path : m_asideJournals) {
        const recovery::JournalRead read = recovery::readJournal(path);
        auto* item = new QTreeWidgetItem(m_asideList);
        if (!read.contents || read.contents->cells.empty()) {
            item->setText(1, kDamagedJournalText);
            continue;
        }
        const recovery::JournalContents& contents = *read.contents;
        item->setText(0, gradefile::shownTime(contents.cells.back().time));
        item->setText(1, QString::number(recovery::lastTextOfEachCell(contents.cells).size()));
        item->setText(2, shownFolder(contents.identity.diskFolder));
    }
    fitColumns(m_asideList);
    m_asidePart->setVisible(!m_asideJournals.isEmpty());
}

void KeptCopiesDialog::selectionChanged()
{
    const bool chosen = !m_list->selectedItems().isEmpty();
    m_toDisk->setEnabled(chosen);
    m_toFolder->setEnabled(chosen);
    m_bringBack->setEnabled(!m_asideList->selectedItems().isEmpty());
}

QString KeptCopiesDialog::key() const
{
    return m_keys->currentText();
}

recovery::KeptCopy KeptCopiesDialog::copy() const
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    Q_ASSERT(row >= 0 && size_t(row) < m_summaries.size());
    return m_summaries[size_t(row)].copy;
}

void KeptCopiesDialog::choose(Choice choice)
{
    m_choice = choice;
    accept();
}

void KeptCopiesDialog::bringBackAsideJournal()
{
    // The button is greyed until a journal is chosen.
    const int row = m_asideList->indexOfTopLevelItem(m_asideList->currentItem());
    Q_ASSERT(row >= 0 && row < m_asideJournals.size());
    const gradefile::FileError error =
        recovery::bringBack(m_asideJournals.at(row), m_copies.dataFolder());
    if (error.isError())
        ui::showNotice(this, ui::kProgramTitle,
                       gradefile::teacherMessage(gradefile::FileOperation::Recover, error,
                                                 ui::supportTelephone())
                           .text);
    showAsideJournalsOf(key());
    selectionChanged();
}

} // namespace app
