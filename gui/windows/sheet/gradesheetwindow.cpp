#include "gui/windows/sheet/gradesheetwindow.h"

#include "core/card/cardtexts.h"
#include "core/disk/gradedisk.h"
#include "core/disk/teachermessages.h"
#include "core/gradefile/gradefileio.h"
#include "core/gradefile/rowsetreader.h"
#include "core/gradefile/rowsetwriter.h"
#include "core/recovery/keptcopies.h"
#include "core/sheet/openedsheet.h"
#include "gui/grid/gradegrid.h"
#include "gui/preview/previewwindow.h"
#include "gui/ui/accessibility.h"
#include "gui/ui/artwork.h"
#include "gui/ui/notice.h"
#include "gui/ui/questiondialog.h"
#include "gui/ui/uilook.h"
#include "gui/windows/observation/observationdialog.h"
#include "gui/windows/sheet/gridobservations.h"
#include "gui/windows/sheet/sheetcontextmenu.h"
#include "gui/windows/sheet/sheethistory.h"
#include "gui/windows/sheet/sheetrecovery.h"
#include "gui/windows/sheet/sheetstate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace sheet {

using gradefile::kIdentifierColumn;
using gradefile::kLevelColumn;
using gradefile::kNameColumn;
using gradefile::kOrderNumberColumn;
using gradefile::kSheetColumns;

namespace {

const QString kDesignCaption = QStringLiteral("بطاقة تحصيل الأعداد بالمادة و بفترة الإمتحان");
const QString kReadOnlyTitle = QStringLiteral(" - للإطلاع فقط");
const QString kNotSavedRefused =
    QStringLiteral("لم تحفظ الأعداد : صحّح أوّلا العدد الأحمر تحت المؤشّر (من 0 إلى 20).");
const QString kCannotBeSaved = QStringLiteral(
    "في هذا الملفّ سطر أطول ممّا يقبله نظام الإدارة : الملفّ للإطّلاع فقط، ولا يحفظه هذا البرنامج.");
const QString kSavedAnnouncement = QStringLiteral("تمّ حفظ الأعداد");
const QString kRefusedAnnouncement = QStringLiteral("مرفوض");
const QString kSaveQuestion = QStringLiteral("حفظ التغييرات               ");
// The file on the disk is not the one this sheet opened or last wrote: another window of
// the program or another computer saved it meanwhile. What it holds is kept as a copy
// before it is replaced.
const QString kReplaceChangedFileQuestion =
    QStringLiteral("تغيّر هذا الملفّ بالقرص منذ فتحه - حفظ أعدادك مكانه (تبقى منه نسخة) ؟");

// The window's designed height at the default font, in twips.
constexpr int kDesignedHeightTwips = 5150;

// A grade sheet's button, as tall as designed (315 twips) or as its text needs; it answers
// its function key.
QPushButton* makeSheetButton(const char* name, const QString& caption, QWidget* parent)
{
    QPushButton* button = ui::makeButton(parent, QLatin1String(name), caption);
    // Never squeezed below its text by a short window.
    button->setFixedHeight(qMax(ui::fromTwips(315), button->sizeHint().height()));
    return button;
}

QGroupBox* makeFrame(const char* name, const QString& title, QWidget* parent)
{
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QLatin1String(name));
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(4, 2, 4, 4);
    column->setSpacing(2);
    return frame;
}

} // namespace

GradeSheetWindow::GradeSheetWindow(SheetState& sheetState, const gradefile::GradeDisk& disk,
                                   QString diskQuestionTitle, QWidget* parent)
    : QWidget(parent, Qt::Window), m_sheetState(sheetState), m_disk(disk),
      m_diskQuestionTitle(std::move(diskQuestionTitle))
{
    setObjectName(QStringLiteral("gradeSheetWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kDesignCaption);
    setWindowIcon(ui::programIcon());
    setLayoutDirection(Qt::RightToLeft);
    // The teacher's larger font makes the whole sheet larger.
    setFont(ui::designedFont(ui::kDesignedPointSize));

    createGrid();
    // Reading from the right: the grid, then the commands.
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(4, 0, 0, 4);
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(m_grid, 1);
    gridColumn->addWidget(createStatusLine());
    columns->addLayout(gridColumn, 1);
    m_commandPanel = ui::scrollWhenShort(createCommandPanel());
    columns->addWidget(m_commandPanel);
    createCommands();
    m_normalRowHeight = m_grid->verticalHeader()->defaultSectionSize();
    fitWindowToGrid();
    // The statistics and the copies, on the grid's context menu.
    new SheetContextMenu(*this, m_document.cardTexts(), [this] { return checkCellUnderCursor(); });
}

// Nothing the grid still signals as it goes may reach grade entry or the journal.
GradeSheetWindow::~GradeSheetWindow()
{
    disconnect(m_grid, nullptr, this, nullptr);
    m_grid->setInputHandler(nullptr);
    m_sheet.setJournal(nullptr);
    // The grid shows the sheet: it goes first.
    delete m_grid;
}

QWidget* GradeSheetWindow::createCommandPanel()
{
    auto* panel = new QWidget(this);
    auto* commands = new QVBoxLayout(panel);
    commands->setContentsMargins(0, 4, 0, 0);
    commands->setSpacing(4);
    m_saveButton = makeSheetButton("saveButton", QStringLiteral("حفظ الأعداد (F4)"), panel);
    m_quitButton = makeSheetButton("quitButton", QStringLiteral("خروج (F5)"), panel);

    QGroupBox* legend = makeFrame("legendFrame", QStringLiteral("الإختصارات"), panel);
    for (const QString& mark :
         {QStringLiteral(" غياب شرعي (F1)"), QStringLiteral(" معفى           (F2)"),
          QStringLiteral("غير مسند      (F3)"), QStringLiteral("الملاحظات (F9)")}) {
        auto* label = new QLabel(mark, legend);
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        legend->layout()->addWidget(label);
    }

    QGroupBox* printFrame = makeFrame("printFrame", QStringLiteral("طباعة"), panel);
    m_printFilledButton =
        makeSheetButton("printFilledButton", QStringLiteral("بعد الرقن (F6)"), printFrame);
    m_previewButton = makeSheetButton("previewButton", QStringLiteral("معاينة (F7)"), printFrame);
    m_printBlankButton =
        makeSheetButton("printBlankButton", QStringLiteral("قبل الرقن (F8)"), printFrame);
    for (QPushButton* button : {m_printFilledButton, m_previewButton, m_printBlankButton})
        printFrame->layout()->addWidget(button);

    m_verticalEntry = new QCheckBox(QStringLiteral("الرقن العمودي"), panel);
    m_verticalEntry->setObjectName(QStringLiteral("verticalEntry"));
    m_verticalEntry->setChecked(true);
    m_presentationButton = makeSheetButton("presentationButton", QString(), panel);
    m_presentationButton->setToolTip(QStringLiteral("تكبير / تصغير"));
    m_presentationButton->setAccessibleName(m_presentationButton->toolTip());
    m_presentationButton->setIcon(ui::presentationToggleIcon());
    m_presentationButton->setFixedSize(ui::fromTwips(555), ui::fromTwips(435));

    for (QWidget* control : std::initializer_list<QWidget*>{m_saveButton, m_quitButton, legend,
                                                            printFrame, m_verticalEntry})
        commands->addWidget(control);
    commands->addWidget(m_presentationButton, 0, Qt::AlignHCenter);
    commands->addStretch();
    panel->setMinimumWidth(ui::fromTwips(1485));

    connect(m_saveButton, &QPushButton::clicked, this, &GradeSheetWindow::save);
    connect(m_quitButton, &QPushButton::clicked, this, &GradeSheetWindow::quit);
    connect(m_presentationButton, &QPushButton::clicked, this,
            &GradeSheetWindow::toggleLargePresentation);
    connect(m_verticalEntry, &QCheckBox::clicked, this, &GradeSheetWindow::verticalEntryClicked);
    connect(m_verticalEntry, &QCheckBox::toggled, this, [this](bool vertical) {
        m_entry->setEntryMode(vertical ? EntryMode::Vertical : EntryMode::Horizontal);
    });
    connect(m_printFilledButton, &QPushButton::clicked, this, &GradeSheetWindow::printFilledCard);
    connect(m_previewButton, &QPushButton::clicked, this, &GradeSheetWindow::showPreview);
    connect(m_printBlankButton, &QPushButton::clicked, this, &GradeSheetWindow::printBlankCard);
    return panel;
}

void GradeSheetWindow::createGrid()
{
    m_grid = new GradeGrid(m_sheet, this);
    m_grid->setObjectName(QStringLiteral("grid"));
    for (int col = 0; col < kSheetColumns; ++col)
        m_grid->setSheetColumnUnits(col, gradefile::kDesignedColumnWidths[size_t(col)]);

    m_entry = std::make_unique<GradeEntry>(m_sheet, *m_grid);
    m_grid->setInputHandler(m_entry.get());
    m_history =
        std::make_unique<SheetHistory>(m_sheet, [this](Cell cell) { m_entry->placeCursor(cell); });
    connect(m_entry.get(), &GradeEntry::entryMade, this, &GradeSheetWindow::entryMade);
    // Whatever makes the sheet unsaved (a grade, a mark, a paste, an observation, an undo, what
    // a crash left) offers its save.
    connect(&m_sheet, &GradeSheet::modifiedChanged, this, [this](bool modified) {
        if (modified && !isReadOnly())
            setCommandEnabled(m_saveButton, true);
    });
    connect(m_grid, &GradeGrid::cellClickedAt, this, [this](int col, int row) {
        m_entry->clicked({col, row});
    });
    connect(m_grid, &GradeGrid::cellDoubleClickedAt, this, &GradeSheetWindow::pupilDoubleClicked);
    // The red of a refused grade is said, not only shown.
    connect(&m_sheet, &GradeSheet::cellChanged, this, [this](Cell cell, const CellState& before) {
        if (m_sheet.checkResult(cell) == CheckResult::Refused && before.result != CheckResult::Refused)
            ui::announce(m_statusLine,
                         kRefusedAnnouncement + QLatin1Char(' ') + m_sheet.text(cell));
    });
    connect(m_grid, &GradeGrid::pasteRequested, this, &GradeSheetWindow::pasteGrades);
}

// F4 to F8 run the command of their button from the grid (cell editor included) and from
// the five command buttons, only while the button is enabled.
QLabel* GradeSheetWindow::createStatusLine()
{
    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    m_statusLine->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    // A PDF's path may be long: it goes on a second line rather than be cut.
    m_statusLine->setWordWrap(true);
    m_statusTimer = new QTimer(this);
    m_statusTimer->setObjectName(QStringLiteral("statusTimer"));
    m_statusTimer->setSingleShot(true);
    connect(m_statusTimer, &QTimer::timeout, m_statusLine, &QLabel::clear);
    return m_statusLine;
}

QString GradeSheetWindow::statusText() const
{
    return m_statusLine->text();
}

void GradeSheetWindow::createCommands()
{
    const std::pair<QPushButton*, Qt::Key> commands[] = {{m_saveButton, Qt::Key_F4},
                                                         {m_quitButton, Qt::Key_F5},
                                                         {m_printFilledButton, Qt::Key_F6},
                                                         {m_previewButton, Qt::Key_F7},
                                                         {m_printBlankButton, Qt::Key_F8}};
    for (const auto& [button, key] : commands) {
        auto* action = new QAction(button->text(), this);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_grid->addAction(action);
        for (const auto& [other, unused] : commands)
            other->addAction(action);
        connect(action, &QAction::triggered, button, &QPushButton::click);
        m_commandKeys.insert(button, action);
    }
    setCommandEnabled(m_saveButton, false);

    const std::pair<QList<QKeySequence>, bool> history[] = {
        {{QKeySequence(Qt::CTRL | Qt::Key_Z)}, true},
        {{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
         false}};
    for (const auto& [keys, back] : history) {
        auto* action = new QAction(this);
        action->setObjectName(back ? QStringLiteral("undoAction") : QStringLiteral("redoAction"));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_grid->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, back = back] { stepThroughHistory(back); });
    }

    // The observations of the pupil under the cursor, as a double click opens them.
    auto* observations = new QAction(this);
    observations->setObjectName(QStringLiteral("observationsAction"));
    observations->setShortcut(QKeySequence(Qt::Key_F9));
    observations->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_grid->addAction(observations);
    connect(observations, &QAction::triggered, this, [this] {
        if (checkCellUnderCursor())
            pupilDoubleClicked();
    });

    // Tab belongs to the grid: Ctrl+Tab takes the keyboard to the commands (the entry option
    // and the picture button have no function key), and Tab goes round them back to the grid.
    auto* toCommands = new QAction(this);
    toCommands->setObjectName(QStringLiteral("toCommandsAction"));
    toCommands->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab));
    toCommands->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_grid->addAction(toCommands);
    connect(toCommands, &QAction::triggered, this, [this] {
        if (checkCellUnderCursor())
            (m_saveButton->isEnabled() ? m_saveButton : m_quitButton)->setFocus(Qt::TabFocusReason);
    });
}

void GradeSheetWindow::setCommandEnabled(QPushButton* button, bool enabled)
{
    button->setEnabled(enabled);
    m_commandKeys.value(button)->setEnabled(enabled);
}

void GradeSheetWindow::fillFromDocument(const gradefile::GradeDocument& document)
{
    m_document.open(document);
    m_sheet.setColumnAlignment(kNameColumn, m_document.nameLayout() == QLatin1String("C")
                                                ? Qt::AlignCenter
                                                : Qt::AlignLeft);
    for (int col = 1; col <= kFirstGradeColumn; ++col)
        m_sheet.setColumnAlignment(col, Qt::AlignCenter);
    for (int col = kNameColumn; col < kSheetColumns; ++col)
        m_sheet.setColumnLocked(col, true);
    m_grid->setFrozenCols(3);
    m_grid->setSheetColumnHidden(kLevelColumn, true);
    fitToShownColumns();
    setWindowTitle(document.caption);
    m_grid->setAccessibleName(document.caption);
    startJournal(document);
    m_history->restart();
    if (m_document.cannotBeSaved()) {
        makeReadOnly();
        m_statusLine->setText(kCannotBeSaved);
    }
}

void GradeSheetWindow::startJournal(const gradefile::GradeDocument& document)
{
    recovery::DataFolder& data = m_sheetState.dataFolder;
    if (!data.isSet() || document.contentHash.isEmpty())
        return;
    m_recovery = std::make_unique<SheetRecovery>(
        data,
        recovery::JournalIdentity{document.key, recovery::canonicalDiskFolder(m_disk.folder()),
                                  document.contentHash},
        this);
    m_sheet.setJournal(m_recovery.get());
}

void GradeSheetWindow::makeReadOnly()
{
    if (isReadOnly())
        return;
    // The journal and what a crash left in it belong to the window that has the file open.
    m_sheet.setJournal(nullptr);
    m_recovery.reset();
    m_document.setReadOnly(true);
    setCommandEnabled(m_saveButton, false);
    setWindowTitle(windowTitle() + kReadOnlyTitle);
}

bool GradeSheetWindow::offerRecovery()
{
    if (!m_recovery)
        return false;
    const recovery::SheetBounds bounds{m_sheet.pupilCount(), m_sheet.examCount()};
    bool asked = false;
    const CellTexts changes = m_recovery->changesToBringBack(
        bounds, [this](Cell cell) { return m_sheet.text(cell); }, windowTitle(), asked);
    if (changes.isEmpty())
        return asked;
    QList<std::pair<Cell, CellState>> states;
    for (const auto& [cell, text] : changes) {
        if (cell == GradeSheet::observationCell(cell.row))
            states << observationStates(m_sheet, cell.row, text);
        else
            states.append({cell, m_sheet.withText(cell, text)});
    }
    // The journal has them already: the journals they came from go into this one whole.
    m_sheet.setJournal(nullptr);
    m_entry->recoverCells(states);
    m_sheet.setJournal(m_recovery.get());
    // Observations alone are unsaved changes as much as grades.
    m_sheet.setModified(true);
    entryMade();
    m_recovery->broughtBack();
    // What came back is where undo stops, as the file is for a sheet without a journal.
    m_history->restart();
    return true;
}

void GradeSheetWindow::fitToShownColumns()
{
    for (int col = 0; col < kSheetColumns; ++col)
        m_grid->setSheetColumnHidden(col, !m_sheet.isShown(col));
    fitGridColumns();
    fitWindowToGrid();
    ui::centreOnScreen(this, 100);
}

void GradeSheetWindow::fitGridColumns()
{
    for (int col = 0; col < kSheetColumns; ++col)
        m_grid->setSheetColumnUnits(col, gradefile::kDesignedColumnWidths[size_t(col)]);
    m_grid->fitColumnsToTexts();
}

// The window shows every column whole (long names, a bigger font) as far as the screen
// allows; the grid scrolls sideways only beyond that.
void GradeSheetWindow::fitWindowToGrid()
{
    ui::sizeBesideGrid(this, m_grid, m_commandPanel, 0, ui::fromTwips(kDesignedHeightTwips));
}

void GradeSheetWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ui::centreOnScreen(this, 100);
}

void GradeSheetWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Coming back to the sheet puts the cursor on the first grade of the first pupil; no
    // grade typed before the teacher went to another window escapes the check. A notice or
    // question of the program's own leaves the cursor where the teacher is.
    if (event->type() != QEvent::ActivationChange)
        return;
    if (!isActiveWindow())
        m_awayInDialog = qobject_cast<QDialog*>(QApplication::activeWindow()) != nullptr;
    else if (!std::exchange(m_awayInDialog, false))
        m_entry->activated();
}

void GradeSheetWindow::verticalEntryClicked()
{
    m_grid->setFocus();
    m_grid->setActiveCell(m_grid->activeCell());
}

void GradeSheetWindow::entryMade()
{
    setCommandEnabled(m_saveButton, true);
    setCommandEnabled(m_printBlankButton, false);
}

void GradeSheetWindow::keyPressEvent(QKeyEvent* event)
{
    // The window's other controls take no function key, and Escape closes nothing.
    event->accept();
}

// A double click on a pupil opens the observations on that pupil; the teacher goes on
// from pupil to pupil there, and the grid's cursor follows.
void GradeSheetWindow::pupilDoubleClicked()
{
    if (isReadOnly())
        return;
    m_sheetState.currentPupilRow = qint16(m_grid->activeCell().row);
    if (m_sheet.pupilCount() < 1)
        return;
    GridObservations observations(
        m_sheet, *m_grid, [this] { m_sheet.setModified(true); }, [this] { save(); });
    observation::ObservationDialog dialog(observations, m_sheetState.currentPupilRow, this);
    if (m_openObservations)
        m_openObservations(dialog);
    else
        dialog.exec();
}

bool GradeSheetWindow::checkCellUnderCursor()
{
    if (m_entry->checkCellUnderCursor())
        return true;
    m_grid->setFocus();
    return false;
}

bool GradeSheetWindow::undo()
{
    return stepThroughHistory(true);
}

bool GradeSheetWindow::redo()
{
    return stepThroughHistory(false);
}

bool GradeSheetWindow::canUndo() const
{
    return m_history->stack().canUndo();
}

bool GradeSheetWindow::canRedo() const
{
    return m_history->stack().canRedo();
}

// Like a move: a refused grade under the cursor keeps it there until corrected. What is
// being typed counts as the last change.
bool GradeSheetWindow::stepThroughHistory(bool back)
{
    if (!checkCellUnderCursor()) {
        QApplication::beep();
        return false;
    }
    QUndoStack& stack = m_history->stack();
    if (back ? !stack.canUndo() : !stack.canRedo())
        return false;
    if (back)
        stack.undo();
    else
        stack.redo();
    m_grid->setFocus();
    return true;
}

BlockOutcome GradeSheetWindow::writeGrades(const std::vector<GradeWrite>& writes)
{
    if (isReadOnly() || !checkCellUnderCursor()) {
        QApplication::beep();
        return {};
    }
    const BlockOutcome outcome = m_entry->writeBrought(writes);
    m_grid->setFocus();
    return outcome;
}

void GradeSheetWindow::pasteGrades()
{
    if (isReadOnly()) {
        ui::showNotice(this, windowTitle(), kViewOnlyPaste);
        return;
    }
    const Cell at = m_grid->activeCell();
    const std::optional<BlockPlacement> placed = placeBlock(
        *spreadsheetRows(QGuiApplication::clipboard()->text()), at.row,
        GradeSheet::examAt(at.column).value_or(-1), m_sheet.pupilCount(), m_sheet.examCount());
    // A refused grade under the cursor is corrected first, as before a move.
    if (!placed || !checkCellUnderCursor()) {
        QApplication::beep();
        return;
    }
    if (placed->writes.empty()) {
        ui::showNotice(this, windowTitle(), blockTooLargeText(*placed));
        return;
    }
    // What went in whole is only reported; refused values stay in a box until read.
    const BlockOutcome outcome = writeGrades(placed->writes);
    if (outcome.refused > 0)
        ui::showNotice(this, windowTitle(), pasteOutcomeText(outcome));
    else
        showStatus(pasteOutcomeText(outcome));
}

bool GradeSheetWindow::save()
{
    Q_ASSERT(!isReadOnly());
    // A grade above twenty under the cursor is not written: the cursor goes back to it, and the
    // teacher hears and reads why nothing was saved.
    if (m_entry->isCellUnderCursorAboveTwenty() || !checkCellUnderCursor()) {
        m_grid->setFocus();
        m_grid->setActiveCell(m_grid->activeCell());
        QApplication::beep();
        showStatus(kNotSavedRefused);
        return false;
    }
    qint16 lastSaveNumber = m_document.cardTexts().saveNumber;
    for (;;) {
        const std::optional<QByteArray> replaced = fileToReplace(lastSaveNumber);
        if (!replaced)
            return false;
        // Before every try: the disk asked for may only now be back in the drive. The same
        // file is kept once.
        if (m_recovery)
            m_recovery->keepCopy(m_disk.folder(), *replaced);
        const gradefile::FileError error = m_document.save(m_disk, lastSaveNumber, m_writeFaults);
        if (!error.isError())
            break;
        if (!reportSaveFailure(error))
            return false;
    }
    if (m_recovery)
        m_recovery->saved(m_document.file().contentHash);
    // An open preview shows the card as the disk now holds it.
    if (m_preview)
        m_preview->refresh();
    ui::announce(m_statusLine, kSavedAnnouncement);
    emit saved(openedFileKey());
    return true;
}

std::optional<QByteArray> GradeSheetWindow::fileToReplace(qint16& lastSaveNumber)
{
    for (;;) {
        const gradefile::FileToReplace found = m_disk.fileToReplace(m_document.file());
        if (!found.error.isError())
            return found.bytes;
        if (found.error.kind != gradefile::FileErrorKind::ChangedOnDisk) {
            if (!reportSaveFailure(found.error))
                return std::nullopt;
            continue;
        }
        if (ui::QuestionDialog::ask(kReplaceChangedFileQuestion, ui::QuestionDialog::Buttons::YesNo,
                                    windowTitle(), this) != ui::QuestionDialog::Answer::Yes)
            return std::nullopt;
        // Two sheets of one file must not both write the same save number.
        if (const auto lines = gradefile::readRowsetLines(found.bytes).lines)
            lastSaveNumber = qint16(qMax<int>(lastSaveNumber, recovery::savedNumberOf(*lines)));
        return found.bytes;
    }
}

bool GradeSheetWindow::reportSaveFailure(const gradefile::FileError& error)
{
    const gradefile::TeacherMessage message =
        gradefile::teacherMessage(gradefile::FileOperation::Save, error, ui::supportTelephone());
    if (message.form == gradefile::MessageForm::Notice) {
        ui::showNotice(this, ui::kProgramTitle, message.text);
        return false;
    }
    const auto answer = ui::QuestionDialog::ask(message.text, ui::QuestionDialog::Buttons::YesOnly,
                                                m_diskQuestionTitle);
    return message.retryOnYes && answer == ui::QuestionDialog::Answer::Yes;
}

bool GradeSheetWindow::settleUnsavedGrades()
{
    if (!m_sheet.isModified())
        return true;
    // A save that fails or is refused keeps the window open with its grades.
    const auto answer =
        ui::QuestionDialog::ask(kSaveQuestion, ui::QuestionDialog::Buttons::YesNo, windowTitle());
    if (answer == ui::QuestionDialog::Answer::Yes && !save())
        return false;
    // No: the teacher gives the changes up, and their journal with them.
    if (answer == ui::QuestionDialog::Answer::No && m_recovery)
        m_recovery->givenUp();
    m_sheet.setModified(false);
    return true;
}

// The one way the sheet closes, by its quit button, F5, its close box or its owner: unsaved
// grades are settled first, and the window closes in this very event, so whoever asked
// for the close learns that it happened.
void GradeSheetWindow::closeEvent(QCloseEvent* event)
{
    if (!settleUnsavedGrades()) {
        event->ignore();
        return;
    }
    if (m_preview)
        m_preview->close();
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace sheet
