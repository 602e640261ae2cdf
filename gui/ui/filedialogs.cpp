#include "gui/ui/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace ui {

namespace {

QString settingsKey(const QString& kind)
{
    return QStringLiteral("folders/") + kind;
}

void remember(const QString& kind, const QString& folder)
{
    if (!folder.isEmpty())
        QSettings().setValue(settingsKey(kind), folder);
}

} // namespace

QString startFolder(const QString& kind)
{
    const QString last = QSettings().value(settingsKey(kind)).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : documentsFolder();
}

QString documentsFolder()
{
    // A new account may have no documents folder yet: a dialog asked to open there opens
    // beside it instead, with the folder's name typed in as the file's.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString askForFolder(QWidget* parent, const QString& caption, const QString& start)
{
    QFileDialog dialog(parent, caption, start);
    // Before the mode, which gives Qt's own dialog its one file type, "Directories".
    dialog.setNameFilters({});
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString chooseFileToSave(QWidget* parent, const QString& kind, const QString& caption,
                         const QString& suggestedName, const QString& filter)
{
    const QString path = QFileDialog::getSaveFileName(
        parent, caption, QDir(startFolder(kind)).filePath(suggestedName), filter);
    if (!path.isEmpty())
        remember(kind, QFileInfo(path).absolutePath());
    return path;
}

QString chooseFileToOpen(QWidget* parent, const QString& kind, const QString& caption,
                         const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(parent, caption, startFolder(kind), filter);
    if (!path.isEmpty())
        remember(kind, QFileInfo(path).absolutePath());
    return path;
}

QString chooseFolder(QWidget* parent, const QString& kind, const QString& caption)
{
    const QString folder = askForFolder(parent, caption, startFolder(kind));
    remember(kind, folder);
    return folder;
}

} // namespace ui
