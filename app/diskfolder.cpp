// The main window's disk folder: the teacher's choice from the menu, and the status line
// that shows it.
#include "app/drivechoice.h"
#include "app/mainwindow.h"
#include "sheet/copyfailure.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QStatusBar>

namespace app {

namespace {

const QString kFolderLine = QStringLiteral("مجلّد ملفات الأعداد : %1");
const QString kFolderDialogCaption = QStringLiteral("اختيار المجلّد الذي يحوي ملفات الأعداد");

QString askForFolder(QWidget* parent, const QString& current)
{
    return QFileDialog::getExistingDirectory(parent, kFolderDialogCaption, current);
}

} // namespace

void MainWindow::createDiskFolderLine()
{
    m_diskFolderLabel = new QLabel(this);
    m_diskFolderLabel->setObjectName(QStringLiteral("diskFolderLabel"));
    m_diskFolderLabel->setLayoutDirection(Qt::RightToLeft);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_diskFolderLabel, 1);
    showDiskFolder();
}

void MainWindow::showDiskFolder()
{
    // The path reads left to right inside the Arabic line.
    m_diskFolderLabel->setText(
        kFolderLine.arg(sheet::leftToRight(QDir::toNativeSeparators(m_disk.folder()))));
    m_diskFolderLabel->setToolTip(QDir::toNativeSeparators(m_disk.folder()));
}

void MainWindow::chooseDiskFolder()
{
    const QString folder =
        m_chooseFolder ? m_chooseFolder(m_disk.folder()) : askForFolder(this, m_disk.folder());
    if (folder.isEmpty())
        return;
    // The open sheet writes back to the disk it was opened from; it closes first, asking
    // about its unsaved grades, or the disk stays as it is.
    const bool sameDisk = QDir(folder) == QDir(m_disk.folder());
    if (!sameDisk && !closeGradeSheets())
        return;
    m_disk = gradefile::GradeDisk(folder);
    rememberDriveFolder(folder);
    showDiskFolder();
    scanDisk();
}

} // namespace app
