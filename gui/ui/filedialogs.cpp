#include "gui/ui/filedialogs.h"

#include "gui/ui/uilook.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QSettings>
#include <QStandardPaths>
#include <QTreeView>

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

// Qt's own dialog gives its files' sizes, kinds and dates in the system's language, English
// where none is set ("KiB", "CSV document", "7 Dec 2026"): here in figures and Arabic.
class FilesInFigures : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == 0)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo file = files->fileInfo(mapToSource(index));
        if (index.column() == 3)
            return file.lastModified().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
        if (index.column() == 2)
            return file.isDir() ? QStringLiteral("مجلّد")
                                : QStringLiteral("ملفّ %1").arg(file.suffix().toUpper());
        return file.isDir() ? QString() : QStringLiteral("%1 ك.ب").arg((file.size() + 1023) / 1024);
    }
};

// Qt's own dialog, where the system offers none, wide enough for its columns to read.
QString runFileDialog(QFileDialog& dialog)
{
#ifndef Q_OS_WIN
    dialog.setProxyModel(new FilesInFigures(&dialog));
    dialog.resize(availableSize(&dialog) * 2 / 3);
    if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        files->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
#endif
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
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
    QFileDialog dialog(parent, caption, QDir(startFolder(kind)).filePath(suggestedName), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QString path = runFileDialog(dialog);
    if (!path.isEmpty())
        remember(kind, QFileInfo(path).absolutePath());
    return path;
}

QString chooseFileToOpen(QWidget* parent, const QString& kind, const QString& caption,
                         const QString& filter)
{
    QFileDialog dialog(parent, caption, startFolder(kind), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = runFileDialog(dialog);
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
