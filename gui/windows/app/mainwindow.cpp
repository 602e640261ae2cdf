#include "gui/windows/app/mainwindow.h"

#include "core/copies/listedfile.h"
#include "core/disk/teachermessages.h"
#include "core/gradefile/linegrammar.h"
#include "core/recovery/openfilelock.h"
#include "gui/grid/gradegrid.h"
#include "gui/ui/filedialogs.h"
#include "gui/ui/notice.h"
#include "gui/ui/questiondialog.h"
#include "gui/ui/uilook.h"
#include "gui/ui/waitcursor.h"
#include "gui/windows/app/aboutbox.h"
#include "gui/windows/app/appstate.h"
#include "gui/windows/app/keptcopiesdialog.h"
#include "gui/windows/app/keptcopyrestore.h"
#include "gui/windows/sheet/annualaverageswindow.h"
#include "gui/windows/sheet/gradesheetwindow.h"
#include "gui/windows/sheet/sheetstate.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLockFile>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kCaption = QStringLiteral("معاينة محتوى القرص المرن");
const QString kChooseDiskItem = QStringLiteral("اختيار مجلّد ملفات الأعداد...");
const QString kOpenElsewhereQuestion =
    QStringLiteral("هذا الملفّ مفتوح في نافذة أخرى من البرنامج - فتحه للإطلاع فقط ؟");
const QColor kInvalidFileColour(Qt::red);
const QColor kSavedFileColour(Qt::blue);

// A line of the file list in bold and in colour: a file that is no grade file, a file just
// saved.
void emphasise(QTreeWidgetItem* line, const QColor& colour)
{
    for (int column = 0; column < line->treeWidget()->columnCount(); ++column) {
        QFont font = line->font(column);
        font.setBold(true);
        line->setFont(column, font);
        line->setForeground(column, colour);
    }
}

} // namespace

MainWindow::MainWindow(AppState& appState, sheet::SheetState& sheetState, QString driveFolder,
                       QWidget* parent)
    : QMainWindow(parent), m_appState(appState), m_sheetState(sheetState),
      m_disk(std::move(driveFolder)), m_quit([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kCaption);
    setLayoutDirection(Qt::RightToLeft);

    createControls();
    createMenu();
    setUpFileList();
    createDiskFolderLine();
    ui::setFixedWindowFlags(this);
    // The designed size grows with the teacher's font as far as the screen holds it.
    const QSize room = ui::availableSize(this);
    centralWidget()->setMinimumSize(centralWidget()->minimumSize().boundedTo(
        room - QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height())));
    setFixedSize(sizeHint().boundedTo(room));

    connect(m_scanButton, &QPushButton::clicked, this, &MainWindow::scanDisk);
    connect(m_quitButton, &QPushButton::clicked, this, &MainWindow::quit);
    connect(m_fileList, &QTreeWidget::itemDoubleClicked, this, &MainWindow::openSelectedFile);
    m_scanButton->installEventFilter(this);
    m_scanButton->setFocus();

    // Enter presses the button that has the focus, opens the file chosen in the list, and
    // presses the scan button from anywhere else in the window, as a dialog's default
    // button does.
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), this);
    auto* keypadEnter = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    for (QShortcut* shortcut : {enter, keypadEnter})
        connect(shortcut, &QShortcut::activated, this, &MainWindow::pressDefaultButton);
}

void MainWindow::createControls()
{
    auto* client = new QWidget(this);
    client->setMinimumSize(ui::designedSize(10575, 4845));
    setCentralWidget(client);

    // Created in tab order: the scan button has the focus when the window is first shown.
    m_scanButton = ui::makeButton(client, QStringLiteral("scanButton"),
                                  QStringLiteral("معاينة المحتوى"), 1305, 345);
    m_scanButton->setDefault(true);
    m_scanButton->setAutoDefault(true);
    m_quitButton = ui::makeButton(client, QStringLiteral("quitButton"),
                                  QStringLiteral("إنهاء العمل"), 1305, 345);
    m_fileList = new QTreeWidget(client);
    m_fileList->setObjectName(QStringLiteral("fileList"));
    auto* label = new QLabel(QStringLiteral("قائمة ملفات الأعداد الموجودة بالقرص المرن"), client);
    label->setObjectName(QStringLiteral("fileListLabel"));
    m_fileList->setAccessibleName(label->text());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_scanButton);
    buttons->addWidget(m_quitButton);
    auto* layout = new QVBoxLayout(client);
    layout->addWidget(label);
    layout->addWidget(m_fileList, 1);
    layout->addLayout(buttons);
}

void MainWindow::pressDefaultButton()
{
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
        focused->click();
    else if (focusWidget() == m_fileList && m_fileList->currentItem())
        openSelectedFile();
    else
        m_scanButton->click();
}

// The grade sheet stands on the desktop beside the main window, as a window of its own
// with no parent: it goes with the main window all the same.
MainWindow::~MainWindow()
{
    delete m_gradeSheet;
}

sheet::GradeSheetWindow* MainWindow::gradeSheet() const
{
    return m_gradeSheet;
}

sheet::AnnualAveragesWindow* MainWindow::annualAverages() const
{
    return m_annualAverages;
}

void MainWindow::createMenu()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("ملف"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    QAction* scanAction = fileMenu->addAction(QStringLiteral("معاينة المحتوى"));
    scanAction->setObjectName(QStringLiteral("scanAction"));
    QAction* chooseDiskAction = fileMenu->addAction(kChooseDiskItem);
    chooseDiskAction->setObjectName(QStringLiteral("chooseDiskAction"));
    connect(chooseDiskAction, &QAction::triggered, this, &MainWindow::chooseDiskFolder);
    QAction* keptCopiesAction = fileMenu->addAction(QStringLiteral("استرجاع نسخة محفوظة..."));
    keptCopiesAction->setObjectName(QStringLiteral("keptCopiesAction"));
    keptCopiesAction->setEnabled(m_sheetState.dataFolder.isSet());
    QAction* quitAction = fileMenu->addAction(QStringLiteral("إنهاء العمل"));
    quitAction->setObjectName(QStringLiteral("quitAction"));
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("?"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    QAction* aboutAction = helpMenu->addAction(QStringLiteral("حول..."));
    aboutAction->setObjectName(QStringLiteral("aboutAction"));

    // F10 opens the menus from the keyboard, whatever the desktop's style.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this,
            [this, fileMenu] { menuBar()->setActiveAction(fileMenu->menuAction()); });

    connect(scanAction, &QAction::triggered, this, &MainWindow::scanDisk);
    connect(keptCopiesAction, &QAction::triggered, this, &MainWindow::bringBackKeptCopy);
    connect(quitAction, &QAction::triggered, this, &MainWindow::quit);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAboutBox);
}

// The file's own text stands in a first column nobody sees; the name column is as wide as
// designed or as its longest name, and the description takes the rest.
void MainWindow::setUpFileList()
{
    m_fileList->setColumnCount(3);
    m_fileList->setHeaderLabels({QStringLiteral("محتوى الملف"), QStringLiteral("إسم الملف"),
                                 QStringLiteral("الأعداد المرقونة")});
    m_fileList->setRootIsDecorated(false);
    m_fileList->setUniformRowHeights(true);
    m_fileList->setAllColumnsShowFocus(true);
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = m_fileList->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    // The count's column as narrow as its header: the descriptions keep the room.
    header->setMinimumSectionSize(ui::fromTwips(1500));
    header->setSectionResizeMode(ContentColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(FileNameColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(TypedColumn, QHeaderView::ResizeToContents);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ui::centreOnScreen(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scanButton && event->type() == QEvent::FocusIn)
        scanButtonFocused();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::scanButtonFocused()
{
    // The start-up notice is shown once the focus has settled, not from inside the
    // focus change itself.
    if (m_appState.aboutShown || m_aboutPending)
        return;
    m_aboutPending = true;
    QTimer::singleShot(0, this, [this] {
        m_aboutPending = false;
        if (!m_appState.aboutShown)
            showAboutBox();
    });
}

void MainWindow::showAboutBox()
{
    AboutBox about(m_appState);
    about.exec();
}

void MainWindow::quit()
{
    if (closeGradeSheets())
        m_quit();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Unsaved grades are asked about before the program ends, whichever way it ends.
    if (!closeGradeSheets()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

std::optional<QStringList> MainWindow::listDiskAskingForIt()
{
    for (;;) {
        ui::WaitCursor wait;
        const gradefile::FolderListing listing = m_disk.list();
        if (listing.fileNames)
            return listing.fileNames;
        wait.restore();
        const gradefile::TeacherMessage message = gradefile::teacherMessage(
            gradefile::FileOperation::Scan, listing.error, ui::supportTelephone());
        if (message.form == gradefile::MessageForm::Notice) {
            ui::showNotice(this, windowTitle(), message.text);
            return std::nullopt;
        }
        if (ui::QuestionDialog::ask(message.text, ui::QuestionDialog::Buttons::YesOnly,
                                    windowTitle()) != ui::QuestionDialog::Answer::Yes)
            return std::nullopt;
    }
}

void MainWindow::addListLine(const QString& fileName)
{
    auto* item = new QTreeWidgetItem(m_fileList);
    item->setText(FileNameColumn, fileName);
    item->setData(FileNameColumn, Qt::UserRole, gradefile::keyFromFileName(fileName));
}

void MainWindow::scanDisk()
{
    m_fileList->clear();
    const std::optional<QStringList> fileNames = listDiskAskingForIt();
    if (!fileNames)
        return;
    ui::WaitCursor wait;
    for (const QString& fileName : *fileNames)
        addListLine(fileName);
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    for (int i = 0; i < m_fileList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* line = m_fileList->topLevelItem(i);
        // A file that cannot be read as a grade file is listed as invalid, and the scan
        // goes on with the next one.
        fillListLine(line);
        if (line->text(ContentColumn) == gradefile::kInvalidGradeFileText)
            emphasise(line, kInvalidFileColour);
        // A disk of many files: the window keeps drawing itself, every 20 files or 100 ms (a slow
        // stick), while the teacher's keys and clicks wait for the list.
        if (i % 20 == 19 || sinceRepaint.hasExpired(100)) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceRepaint.restart();
        }
    }
}

void MainWindow::fillListLine(QTreeWidgetItem* line)
{
    const sheet::ListedFile listed = sheet::listedFile(m_disk, line->text(FileNameColumn));
    line->setText(ContentColumn, listed.description);
    line->setText(TypedColumn, listed.typed);
    line->setTextAlignment(TypedColumn, Qt::AlignCenter);
}

void MainWindow::showMainWindow()
{
    show();
    raise();
    activateWindow();
}

void MainWindow::markFileSaved(const QString& key)
{
    for (int i = 0; i < m_fileList->topLevelItemCount(); ++i) {
        if (m_fileList->topLevelItem(i)->data(FileNameColumn, Qt::UserRole).toString() == key) {
            fillListLine(m_fileList->topLevelItem(i));
            emphasise(m_fileList->topLevelItem(i), kSavedFileColour);
        }
    }
}

bool MainWindow::closeGradeSheets()
{
    if (m_gradeSheet && !m_gradeSheet->close())
        return false;
    if (m_annualAverages)
        m_annualAverages->close();
    return true;
}

void MainWindow::reportOpenFailure(const gradefile::FileError& error)
{
    const gradefile::TeacherMessage message =
        gradefile::teacherMessage(gradefile::FileOperation::Open, error, ui::supportTelephone());
    if (message.form == gradefile::MessageForm::Question)
        ui::QuestionDialog::ask(message.text, ui::QuestionDialog::Buttons::YesOnly, windowTitle());
    else
        ui::showNotice(this, windowTitle(), message.text);
}

void MainWindow::openSelectedFile()
{
    ui::WaitCursor wait;
    // Opened by a double click or Enter, on the current line.
    QTreeWidgetItem* line = m_fileList->currentItem();
    Q_ASSERT(line);
    const auto readFile = [this, line] {
        return line->text(ContentColumn) == gradefile::kInvalidGradeFileText
                   ? gradefile::DocumentRead{std::nullopt,
                                             gradefile::makeFileError(
                                                 gradefile::FileErrorKind::NotAGradeFile,
                                                 QString())}
                   : m_disk.open(line->text(FileNameColumn));
    };
    // The whole file is read and checked before any window changes, so a file that cannot
    // be opened leaves the open sheet as it was.
    gradefile::DocumentRead read = readFile();
    wait.restore();
    const bool fileOpen =
        m_gradeSheet && m_gradeSheet->openedFileName() == line->text(FileNameColumn);
    if (read.document && !closeGradeSheets())
        return;
    // Closing its sheet may have saved this very file: it is read again as it is now.
    if (read.document && fileOpen)
        read = readFile();
    if (!read.document) {
        reportOpenFailure(read.error);
        return;
    }
    bool readOnly = false;
    if (read.document->kind == gradefile::SheetKind::Subject &&
        !lockFileToOpen(*read.document, readOnly))
        return;
    ui::WaitCursor filling;
    if (read.document->kind == gradefile::SheetKind::AnnualAverages) {
        openAnnualAverages(*read.document);
        return;
    }
    openSubjectSheet(*read.document, readOnly);
    filling.restore();
    // Once the sheet stands on the screen: what a crash left unsaved is offered back, and
    // the teacher goes on typing in the sheet.
    if (m_gradeSheet && m_gradeSheet->offerRecovery()) {
        m_gradeSheet->activateWindow();
        m_gradeSheet->grid()->setFocus();
    }
}

bool MainWindow::lockFileToOpen(const gradefile::GradeDocument& document, bool& readOnly)
{
    if (!m_sheetState.dataFolder.isSet())
        return true;
    recovery::OpenFileLock lock =
        recovery::lockOpenFile(m_sheetState.dataFolder.path, document.key);
    if (lock.heldElsewhere) {
        if (ui::QuestionDialog::ask(kOpenElsewhereQuestion, ui::QuestionDialog::Buttons::YesNo,
                                    windowTitle()) != ui::QuestionDialog::Answer::Yes)
            return false;
        readOnly = true;
    }
    m_openFileLock = std::move(lock.lock);
    return true;
}

void MainWindow::openSubjectSheet(const gradefile::GradeDocument& document, bool readOnly)
{
    m_gradeSheet = new sheet::GradeSheetWindow(m_sheetState, m_disk, windowTitle());
    connect(m_gradeSheet, &sheet::GradeSheetWindow::saved, this, &MainWindow::markFileSaved);
    connect(m_gradeSheet, &sheet::GradeSheetWindow::closed, this, [this] {
        m_openFileLock.reset();
        showMainWindow();
    });
    m_gradeSheet->fillFromDocument(document);
    if (readOnly)
        m_gradeSheet->makeReadOnly();
    m_gradeSheet->show();
    m_gradeSheet->raise();
    m_gradeSheet->activateWindow();
    m_gradeSheet->grid()->setFocus();
}

void MainWindow::bringBackKeptCopy()
{
    // The menu item is greyed when there is no data folder to keep copies in.
    Q_ASSERT(m_sheetState.dataFolder.isSet());
    const recovery::KeptCopies copies(m_sheetState.dataFolder.path);
    const QTreeWidgetItem* line = m_fileList->currentItem();
    KeptCopiesDialog dialog(copies, m_disk,
                            line ? line->data(FileNameColumn, Qt::UserRole).toString() : QString(),
                            this);
    if (dialog.exec() == QDialog::Accepted)
        carryOut(dialog);
}

void MainWindow::carryOut(const KeptCopiesDialog& dialog)
{
    const QString key = dialog.key();
    // The copy takes the name the file has on the disk, or the one a save gives it.
    QString fileName = gradefile::GradeDisk::fileNameOf(key);
    const QTreeWidgetItem* line = m_fileList->currentItem();
    if (line && line->data(FileNameColumn, Qt::UserRole).toString() == key)
        fileName = line->text(FileNameColumn);
    KeptCopyRestore restore(m_sheetState.dataFolder, this, windowTitle());
    if (dialog.choice() == KeptCopiesDialog::Choice::ToFolder) {
        const QString folder =
            ui::chooseFolder(this, QStringLiteral("keptCopy"), QStringLiteral("مجلّد النسخة"));
        if (!folder.isEmpty())
            restore.toFolder(folder, key, dialog.copy(), fileName);
        return;
    }
    // An open sheet of the file would write its own grades over the copy brought back.
    if (!closeGradeSheets())
        return;
    if (restore.toDisk(m_disk, key, dialog.copy(), fileName))
        scanDisk();
}

void MainWindow::openAnnualAverages(const gradefile::GradeDocument& document)
{
    m_annualAverages = new sheet::AnnualAveragesWindow(this);
    connect(m_annualAverages, &sheet::AnnualAveragesWindow::closed, this,
            &MainWindow::showMainWindow);
    m_annualAverages->fillFromDocument(document);
    m_annualAverages->show();
    m_annualAverages->raise();
    m_annualAverages->activateWindow();
    // The teacher can type at once, as in the grade sheet.
    m_annualAverages->grid()->setFocus();
}

} // namespace app
