#include "gui/windows/sheet/sheetcontextmenu.h"

#include "core/card/cardtexts.h"
#include "core/card/pageheader.h"
#include "core/copies/copyfailure.h"
#include "core/copies/sheetcsv.h"
#include "core/copies/sheetxlsx.h"
#include "core/disk/safefilewrite.h"
#include "gui/grid/gradegrid.h"
#include "gui/ui/filedialogs.h"
#include "gui/ui/notice.h"
#include "gui/ui/waitcursor.h"
#include "gui/windows/sheet/gradesheetwindow.h"
#include "gui/windows/sheet/importdialog.h"
#include "gui/windows/sheet/statisticsdialog.h"
#include "print/cardprinter.h"
#include "print/summarypage.h"

#include <QAction>
#include <QClipboard>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace sheet {

const QString SheetContextMenu::kStatisticsItem = QStringLiteral("إحصائيات");
const QString SheetContextMenu::kCsvItem = QStringLiteral("نسخة CSV من الأعداد...");
const QString SheetContextMenu::kXlsxItem = QStringLiteral("نسخة Excel من الأعداد...");
const QString SheetContextMenu::kPdfItem = QStringLiteral("نسخة PDF من بطاقة الأعداد...");
const QString SheetContextMenu::kImportItem = QStringLiteral("استيراد أعداد...");
const QString SheetContextMenu::kUndoItem = QStringLiteral("تراجع (Ctrl+Z)");
const QString SheetContextMenu::kRedoItem = QStringLiteral("إعادة (Ctrl+Y)");
const QString SheetContextMenu::kPasteItem = QStringLiteral("لصق (Ctrl+V)");

namespace {

const QString kImported = QStringLiteral("أعداد كُتبت : %1\nأعداد مرفوضة : %2");

// What the save dialog of each kind of copy says and offers.
struct CopyFile {
    QString caption;
    QString filter;
    QString suffix;
};

CopyFile copyFileOf(SheetContextMenu::CopyKind kind)
{
    switch (kind) {
    case SheetContextMenu::CopyKind::Csv:
        return {QStringLiteral("حفظ نسخة من الأعداد في ملفّ CSV"), QStringLiteral("CSV (*.csv)"),
                QStringLiteral(".csv")};
    case SheetContextMenu::CopyKind::Xlsx:
        return {QStringLiteral("حفظ نسخة من الأعداد في ملفّ Excel"),
                QStringLiteral("Excel (*.xlsx)"), QStringLiteral(".xlsx")};
    case SheetContextMenu::CopyKind::Summary:
        return {QStringLiteral("حفظ ملخّص إحصائيات القسم في ملفّ PDF"), QStringLiteral("PDF (*.pdf)"),
                QStringLiteral(".pdf")};
    case SheetContextMenu::CopyKind::Pdf:
        break;
    }
    return {QStringLiteral("حفظ نسخة من بطاقة الأعداد في ملفّ PDF"), QStringLiteral("PDF (*.pdf)"),
            QStringLiteral(".pdf")};
}

QString askForPath(QWidget* parent, SheetContextMenu::CopyKind kind, const QString& suggested)
{
    const CopyFile file = copyFileOf(kind);
    QString path = ui::chooseFileToSave(parent, file.suffix.mid(1) + QStringLiteral("Copy"),
                                        file.caption, suggested, file.filter);
    // A name typed without its extension still opens in the right program.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += file.suffix;
    return path;
}

// The PDF copy's name for the sheet, with the extension of the kind of copy.
QString suggestedFileName(SheetContextMenu::CopyKind kind, const QString& description)
{
    QString name = print::suggestedPdfFileName(description);
    name.chop(4);
    return name + copyFileOf(kind).suffix;
}

gradefile::SafeWriteResult writeSheetCsv(const QString& path, const GradeSheet& sheet)
{
    return gradefile::replaceFileSafely(path, sheetCsv(sheet));
}

} // namespace

SheetContextMenu::SheetContextMenu(GradeSheetWindow& window, const print::CardTexts& cardTexts,
                       std::function<bool()> checkCellUnderCursor)
    : QObject(&window), m_window(window), m_cardTexts(cardTexts),
      m_checkCellUnderCursor(std::move(checkCellUnderCursor))
{
    setObjectName(QStringLiteral("sheetContextMenu"));
    GradeGrid* grid = m_window.grid();
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &GradeGrid::customContextMenuRequested, this, &SheetContextMenu::showMenu);
    // The keyboard's menu key comes as a context menu request; Shift+F10 does the same, at
    // the cursor.
    auto* menuKey = new QAction(grid);
    menuKey->setObjectName(QStringLiteral("menuKeyAction"));
    menuKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    menuKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    grid->addAction(menuKey);
    connect(menuKey, &QAction::triggered, this,
            [this, grid] { showMenu(grid->visualRect(grid->currentIndex()).center()); });
}

QMenu* SheetContextMenu::showMenu(const QPoint& viewportPosition)
{
    GradeGrid* grid = m_window.grid();
    // Not deleted on close: the menu closes before its command runs, and the message loop of
    // Windows's own save dialog would free it under the command. The last one goes now.
    if (m_menu)
        m_menu->deleteLater();
    auto* menu = new QMenu(grid);
    m_menu = menu;
    menu->setObjectName(QStringLiteral("sheetContextMenuPopup"));
    menu->setLayoutDirection(Qt::RightToLeft);
    QAction* undo = menu->addAction(kUndoItem);
    undo->setEnabled(m_window.canUndo());
    connect(undo, &QAction::triggered, &m_window, &GradeSheetWindow::undo);
    QAction* redo = menu->addAction(kRedoItem);
    redo->setEnabled(m_window.canRedo());
    connect(redo, &QAction::triggered, &m_window, &GradeSheetWindow::redo);
    QAction* paste = menu->addAction(kPasteItem);
    paste->setEnabled(!m_window.isReadOnly() && !QGuiApplication::clipboard()->text().isEmpty());
    connect(paste, &QAction::triggered, &m_window, &GradeSheetWindow::pasteGrades);
    menu->addSeparator();
    connect(menu->addAction(kStatisticsItem), &QAction::triggered, this,
            &SheetContextMenu::showStatistics);
    menu->addSeparator();
    connect(menu->addAction(kCsvItem), &QAction::triggered, this, &SheetContextMenu::saveCsvCopy);
    connect(menu->addAction(kXlsxItem), &QAction::triggered, this, &SheetContextMenu::saveXlsxCopy);
    connect(menu->addAction(kPdfItem), &QAction::triggered, this, &SheetContextMenu::savePdfCopy);
    menu->addSeparator();
    QAction* import = menu->addAction(kImportItem);
    import->setEnabled(!m_window.isReadOnly());
    connect(import, &QAction::triggered, this, &SheetContextMenu::importGrades);
    menu->popup(grid->viewport()->mapToGlobal(viewportPosition));
    return menu;
}

std::vector<ExamStatistics> SheetContextMenu::statistics() const
{
    return classStatistics(m_window.sheet());
}

void SheetContextMenu::showStatistics()
{
    if (!m_checkCellUnderCursor())
        return;
    auto* dialog = new StatisticsDialog({m_cardTexts.sheetDescription, QDate::currentDate(),
                                         m_window.grid()->maxRows(), statistics()},
                                        &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &StatisticsDialog::summaryRequested, this,
            [this, dialog] { saveSummaryPdf(dialog->summary(), dialog); });
    dialog->open();
}

QString SheetContextMenu::choosePath(CopyKind kind, const QString& suggested, QWidget* over)
{
    return m_choosePath ? m_choosePath(kind, suggested)
                        : askForPath(over ? over : &m_window, kind, suggested);
}

void SheetContextMenu::reportFailure(const QString& path, const gradefile::FileError& error,
                                     QWidget* over)
{
    ui::showNotice(over ? over : &m_window, m_window.windowTitle(), copyFailureText(path, error));
}

bool SheetContextMenu::saveCsvCopy()
{
    return saveSheetCopy(CopyKind::Csv, writeSheetCsv);
}

bool SheetContextMenu::saveXlsxCopy()
{
    return saveSheetCopy(CopyKind::Xlsx, writeSheetXlsx);
}

bool SheetContextMenu::saveSheetCopy(CopyKind kind, SheetWriter write)
{
    if (!m_checkCellUnderCursor())
        return false;
    const QString path = choosePath(kind, suggestedFileName(kind, m_cardTexts.sheetDescription));
    if (path.isEmpty())
        return false;
    ui::WaitCursor wait;
    const gradefile::SafeWriteResult written = write(path, m_window.sheet());
    wait.restore();
    if (!written.ok)
        reportFailure(path, written.error);
    return written.ok;
}

bool SheetContextMenu::importGrades()
{
    if (!m_checkCellUnderCursor())
        return false;
    ImportDialog dialog(m_window.sheet(), &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const BlockOutcome outcome = m_window.writeGrades(dialog.plan().writes);
    const QString text = kImported.arg(outcome.filled).arg(outcome.refused);
    if (outcome.refused > 0)
        ui::showNotice(&m_window, ImportDialog::kCaption, text);
    else
        m_window.showStatus(text);
    return true;
}

bool SheetContextMenu::savePdfCopy()
{
    if (!m_checkCellUnderCursor())
        return false;
    const print::PrintedSheet card = m_window.filledCard();
    const QString path =
        choosePath(CopyKind::Pdf, print::suggestedPdfFileName(m_cardTexts.sheetDescription));
    if (path.isEmpty())
        return false;
    // A copy of grades the disk does not hold is no signed card: it carries no print number.
    const QDate today = QDate::currentDate();
    const print::PageHeader codes = m_window.isModified()
                                        ? print::composeWorkingCopyHeader(m_cardTexts, today)
                                        : print::composePageHeader(m_cardTexts, today);
    ui::WaitCursor wait;
    const print::PdfOutcome outcome =
        print::writeCardPdf(card, codes, path, m_window.windowTitle());
    wait.restore();
    if (!outcome.ok)
        reportFailure(path, outcome.error);
    return outcome.ok;
}

bool SheetContextMenu::saveSummaryPdf(const print::ClassSummary& summary, QWidget* dialog)
{
    const QString path =
        choosePath(CopyKind::Summary, print::suggestedSummaryFileName(summary.description), dialog);
    if (path.isEmpty())
        return false;
    ui::WaitCursor wait;
    const print::PdfOutcome outcome = print::writeClassSummaryPdf(summary, path);
    wait.restore();
    if (!outcome.ok)
        reportFailure(path, outcome.error, dialog);
    return outcome.ok;
}

} // namespace sheet
