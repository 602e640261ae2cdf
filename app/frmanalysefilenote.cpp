#include "app/frmanalysefilenote.h"

#include "app/appstate.h"
#include "app/frmabout.h"
#include "app/listlineformatter.h"
#include "app/notice.h"
#include "app/uilook.h"
#include "app/waitcursor.h"
#include "gradefile/filecheck.h"
#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"
#include "gradefile/linegrammar.h"
#include "print/cardtexts.h"
#include "sheet/frmmsg.h"
#include "sheet/frmnote.h"
#include "sheet/frmnotematiereperiode.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>

namespace app {

namespace {

const QString kCaption = QStringLiteral("معاينة محتوى القرص المرن");
const QString kInsertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
const QString kCannotView = QStringLiteral("لا يمكنك معاينة محتوى هذا الملف");

QString unforeseenOpenError(int number, const QString& description)
{
    return QString::number(number) + u' ' + description + u'\r' +
           QStringLiteral("Erreur non gérer contacter l'équipe Noravel tel : ") +
           ui::kSupportTelephone;
}

QString unforeseenScanError()
{
    return QStringLiteral("Erreur non gérer contacter l'équipe Noravel tel : ") +
           ui::kSupportTelephone;
}

} // namespace

FrmAnalyseFileNote::FrmAnalyseFileNote(AppState& appState, sheet::SheetState& sheetState,
                                       print::CardTexts& cardTexts, QString driveFolder,
                                       QWidget* parent)
    : QMainWindow(parent), m_appState(appState), m_sheetState(sheetState), m_cardTexts(cardTexts),
      m_driveFolder(std::move(driveFolder)), m_quit([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("FrmAnalyseFileNote"));
    setWindowTitle(kCaption);
    setWindowIcon(programIcon());
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::programFont());

    auto* client = new QWidget(this);
    client->setFixedSize(ui::fromTwips(10575), ui::fromTwips(4845));
    setCentralWidget(client);

    // Created in tab order: the scan button has the focus when the window is first shown.
    m_cmdAnalyser =
        ui::makeButton(client, QStringLiteral("CmdAnalyser"), QStringLiteral("معاينة المحتوى"),
                       ui::twipsRect(1590, 4440, 1305, 345));
    m_cmdAnalyser->setDefault(true);
    m_cmdAnalyser->setAutoDefault(true);
    m_cmdQuitter =
        ui::makeButton(client, QStringLiteral("CmdQuitter"), QStringLiteral("إنهاء العمل"),
                       ui::twipsRect(150, 4440, 1305, 345));
    m_lvw = new QTreeWidget(client);
    m_lvw->setObjectName(QStringLiteral("Lvw"));
    m_lvw->setGeometry(ui::twipsRect(90, 360, 10245, 3975));
    m_label1 = new QLabel(QStringLiteral("قائمة ملفات الأعداد الموجودة بالقرص المرن"), client);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(ui::twipsRect(7215, 90, 2940, 195));
    m_label1->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);

    createMenu();
    Form_Load();

    ui::setFixedWindowFlags(this);
    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());

    connect(m_cmdAnalyser, &QPushButton::clicked, this, &FrmAnalyseFileNote::CmdAnalyser_Click);
    connect(m_cmdQuitter, &QPushButton::clicked, this, &FrmAnalyseFileNote::CmdQuitter_Click);
    connect(m_lvw, &QTreeWidget::itemDoubleClicked, this, &FrmAnalyseFileNote::Lvw_DblClick);
    m_cmdAnalyser->installEventFilter(this);
    m_cmdAnalyser->setFocus();

    // Enter presses the button that has the focus, and the scan button from anywhere
    // else in the window, as a dialog's default button does.
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), this);
    auto* keypadEnter = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    for (QShortcut* shortcut : {enter, keypadEnter})
        connect(shortcut, &QShortcut::activated, this, &FrmAnalyseFileNote::pressDefaultButton);
}

void FrmAnalyseFileNote::pressDefaultButton()
{
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
        focused->click();
    else
        m_cmdAnalyser->click();
}

FrmAnalyseFileNote::~FrmAnalyseFileNote()
{
    delete m_noteMatierePeriode;
    delete m_note;
}

sheet::FrmNoteMatierePeriode* FrmAnalyseFileNote::noteMatierePeriode() const
{
    return m_noteMatierePeriode;
}

sheet::FrmNote* FrmAnalyseFileNote::note() const
{
    return m_note;
}

void FrmAnalyseFileNote::createMenu()
{
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("ملف"));
    mnuFile->setObjectName(QStringLiteral("MnuFile"));
    QAction* mnuFAfficher = mnuFile->addAction(QStringLiteral("معاينة المحتوى"));
    mnuFAfficher->setObjectName(QStringLiteral("MnuFAfficher"));
    QAction* mnuFQuitter = mnuFile->addAction(QStringLiteral("إنهاء العمل"));
    mnuFQuitter->setObjectName(QStringLiteral("MnuFQuitter"));
    QMenu* mnuApropos = menuBar()->addMenu(QStringLiteral("?"));
    mnuApropos->setObjectName(QStringLiteral("MnuApropos"));
    QAction* mnuAApropos = mnuApropos->addAction(QStringLiteral("حول..."));
    mnuAApropos->setObjectName(QStringLiteral("MnuAApropos"));

    connect(mnuFAfficher, &QAction::triggered, this, &FrmAnalyseFileNote::CmdAnalyser_Click);
    connect(mnuFQuitter, &QAction::triggered, this, &FrmAnalyseFileNote::CmdQuitter_Click);
    connect(mnuAApropos, &QAction::triggered, this, &FrmAnalyseFileNote::MnuAApropos_Click);
}

void FrmAnalyseFileNote::Form_Load()
{
    m_lvw->clear();
    m_lvw->setColumnCount(3);
    m_lvw->setHeaderLabels({QString(), QStringLiteral("محتوى الملف"), QStringLiteral("إسم الملف")});
    m_lvw->setRootIsDecorated(false);
    m_lvw->setUniformRowHeights(true);
    m_lvw->setAllColumnsShowFocus(true);
    m_lvw->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvw->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = m_lvw->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setMinimumSectionSize(0);
    header->setDefaultAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    m_lvw->setColumnWidth(0, 0);
    m_lvw->setColumnWidth(1, ui::fromTwips(8000));
    m_lvw->setColumnWidth(2, ui::fromTwips(2100));
}

void FrmAnalyseFileNote::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ui::centreOnScreen(this);
}

bool FrmAnalyseFileNote::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cmdAnalyser && event->type() == QEvent::FocusIn)
        CmdAnalyser_GotFocus();
    return QMainWindow::eventFilter(watched, event);
}

void FrmAnalyseFileNote::CmdAnalyser_GotFocus()
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

void FrmAnalyseFileNote::MnuAApropos_Click()
{
    showAboutBox();
}

void FrmAnalyseFileNote::showAboutBox()
{
    frmAbout about(m_appState);
    about.exec();
}

void FrmAnalyseFileNote::CmdQuitter_Click()
{
    if (closeGradeSheets())
        m_quit();
}

void FrmAnalyseFileNote::closeEvent(QCloseEvent* event)
{
    // Unsaved grades are asked about before the program ends, whichever way it ends.
    if (!closeGradeSheets()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

int FrmAnalyseFileNote::LVW_ModifyLine(QTreeWidget* listView, long index, bool bold,
                                       const QString& foreColour, const QString& toolTip)
{
    return ModifyListLine(listView, index, bold, foreColour, toolTip);
}

std::optional<QStringList> FrmAnalyseFileNote::listDiskAskingForIt()
{
    for (;;) {
        WaitCursor wait;
        const gradefile::FolderListing listing = gradefile::listGradeFileNames(m_driveFolder);
        if (listing.fileNames)
            return listing.fileNames;
        wait.restore();
        if (listing.error.kind != gradefile::FileErrorKind::NoDisk) {
            ui::showNotice(this, windowTitle(), unforeseenScanError());
            return std::nullopt;
        }
        if (sheet::askQuestion(m_sheetState, kInsertDisk, false, windowTitle()) !=
            QLatin1String("OK"))
            return std::nullopt;
    }
}

void FrmAnalyseFileNote::addListLine(const QString& fileName)
{
    auto* item = new QTreeWidgetItem(m_lvw);
    item->setText(0, fileName);
    item->setText(2, fileName);
    item->setData(0, Qt::UserRole, gradefile::keyFromFileName(fileName));
    for (int column = 0; column < 3; ++column)
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
}

void FrmAnalyseFileNote::CmdAnalyser_Click()
{
    m_lvw->clear();
    const std::optional<QStringList> fileNames = listDiskAskingForIt();
    if (!fileNames)
        return;
    WaitCursor wait;
    for (const QString& fileName : *fileNames)
        addListLine(fileName);
    for (int i = 1; i <= m_lvw->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lvw->topLevelItem(i - 1);
        // A file that cannot be read as a grade file is listed as invalid, and the scan
        // goes on with the next one.
        const QString description = gradefile::describeGradeFile(m_driveFolder, item->text(2));
        item->setText(1, description);
        if (description == gradefile::kInvalidGradeFileText)
            LVW_ModifyLine(m_lvw, i, true, kRedLineColour, QString());
    }
    fitFileNameColumn();
}

void FrmAnalyseFileNote::fitFileNameColumn()
{
    // The columns are sized for Tahoma; where a wider font stands in for it, the file
    // name column takes what it needs from the description column, so every name
    // shows whole.
    const int designed = ui::fromTwips(2100);
    int needed = designed;
    for (int i = 0; i < m_lvw->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_lvw->topLevelItem(i);
        const QFontMetrics metrics(item->font(2));
        needed = qMax(needed, metrics.horizontalAdvance(item->text(2)) + 12);
    }
    const int total = ui::fromTwips(8000) + designed;
    needed = qMin(needed, total / 2);
    m_lvw->setColumnWidth(2, needed);
    m_lvw->setColumnWidth(1, total - needed);
}

void FrmAnalyseFileNote::showMainWindow()
{
    show();
    raise();
    activateWindow();
}

void FrmAnalyseFileNote::markFileSaved(const QString& key)
{
    for (int i = 0; i < m_lvw->topLevelItemCount(); ++i) {
        if (m_lvw->topLevelItem(i)->data(0, Qt::UserRole).toString() == key)
            LVW_ModifyLine(m_lvw, i + 1, true, kBlueLineColour, QString());
    }
}

bool FrmAnalyseFileNote::closeGradeSheets()
{
    if (m_noteMatierePeriode) {
        if (!m_noteMatierePeriode->CmdQuitter_Click())
            return false;
        delete m_noteMatierePeriode;
    }
    if (m_note)
        delete m_note;
    return true;
}

void FrmAnalyseFileNote::reportOpenFailure(const QString& message, bool question)
{
    if (question)
        sheet::askQuestion(m_sheetState, message, false, windowTitle());
    else
        ui::showNotice(this, windowTitle(), message);
}

void FrmAnalyseFileNote::Lvw_DblClick()
{
    WaitCursor wait;
    QTreeWidgetItem* line = m_lvw->currentItem();
    if (!line)
        return;
    if (line->text(1) == gradefile::kInvalidGradeFileText) {
        wait.restore();
        reportOpenFailure(kCannotView, true);
        return;
    }
    // The whole file is read and checked before any window changes, so a file that cannot
    // be opened leaves the open sheet and the card texts as they were.
    const gradefile::GradeFileRead file =
        gradefile::readGradeFile(QDir(m_driveFolder).filePath(line->text(2)));
    if (!file.lines) {
        wait.restore();
        if (file.error.kind == gradefile::FileErrorKind::NoDisk)
            reportOpenFailure(kInsertDisk, true);
        else
            reportOpenFailure(unforeseenOpenError(file.error.number, file.error.description),
                              false);
        return;
    }
    const gradefile::DocumentRead read = gradefile::readGradeDocument(line->text(2), *file.lines);
    if (!read.document) {
        wait.restore();
        if (read.error.invalidGradeFile)
            reportOpenFailure(kCannotView, true);
        else
            reportOpenFailure(unforeseenOpenError(read.error.number, read.error.description),
                              false);
        return;
    }
    wait.restore();
    if (!closeGradeSheets())
        return;
    WaitCursor filling;
    print::resetCardTexts(m_cardTexts);
    print::completeCardTexts(m_cardTexts, *read.document);
    if (read.document->type == gradefile::SheetType::Subject)
        openSubjectSheet(*read.document);
    else
        openPlainSheet(*read.document);
}

void FrmAnalyseFileNote::openSubjectSheet(const gradefile::GradeDocument& document)
{
    m_noteMatierePeriode = new sheet::FrmNoteMatierePeriode(m_sheetState, m_cardTexts, *this);
    m_noteMatierePeriode->fillFromDocument(document);
    m_noteMatierePeriode->show();
    m_noteMatierePeriode->raise();
    m_noteMatierePeriode->activateWindow();
    m_noteMatierePeriode->FpsNote()->setFocus();
}

void FrmAnalyseFileNote::openPlainSheet(const gradefile::GradeDocument& document)
{
    m_note = new sheet::FrmNote(m_sheetState, *this, this);
    m_note->fillFromDocument(document);
    m_note->show();
    m_note->raise();
    m_note->activateWindow();
    // The teacher can type at once, as in the grade sheet.
    m_note->FpsNote()->setFocus();
}

} // namespace app
