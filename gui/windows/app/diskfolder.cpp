// The main window's disk folder: the teacher's choice from the menu, and the status line
// that shows it.
#include "core/copies/copyfailure.h"
#include "core/disk/drivechoice.h"
#include "gui/ui/filedialogs.h"
#include "gui/windows/app/mainwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

namespace app {

namespace {

const QString kFolderLine = QStringLiteral("مجلّد ملفات الأعداد : %1");
const QString kFolderDialogCaption = QStringLiteral("اختيار المجلّد الذي يحوي ملفات الأعداد");

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
    // On the disk when it is there, else in the documents: Windows' dialog asked to open in a
    // folder that is not there (drive A: on most machines) opens in the program's own folder.
    const QString start =
        QFileInfo(m_disk.folder()).isDir() ? m_disk.folder() : ui::documentsFolder();
    const QString folder = m_chooseFolder ? m_chooseFolder(start)
                                          : ui::askForFolder(this, kFolderDialogCaption, start);
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
