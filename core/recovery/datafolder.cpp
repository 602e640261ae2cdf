#include "core/recovery/datafolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace recovery {

QString defaultDataFolder()
{
    // The system builds AppDataLocation from the running program's names; the gradefile
    // tool runs under its own, so the program's are lent for the question.
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(kProgramName);
    QCoreApplication::setApplicationName(kProgramName);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setOrganizationName(organization);
    QCoreApplication::setApplicationName(application);
    return folder;
}

QString journalsFolder(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("recovery"));
}

QString asideFolder(const QString& dataFolder)
{
    return QDir(journalsFolder(dataFolder)).filePath(QStringLiteral("aside"));
}

QString keptCopiesRoot(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("backups"));
}

QString keptCopiesFolder(const QString& dataFolder, const QString& key)
{
    return QDir(keptCopiesRoot(dataFolder)).filePath(key);
}

namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// The folders from dataFolder down to folder, dataFolder first; empty when folder is not
// dataFolder or inside it.
QStringList levelsDownTo(const QString& dataFolder, const QString& folder)
{
    const QString top = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath());
    QStringList levels;
    for (QString level = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); level != top;
         level = QFileInfo(level).path()) {
        if (level.size() <= top.size())
            return {};
        levels.prepend(level);
    }
    levels.prepend(top);
    return levels;
}

bool makePrivateLevel(const QString& folder)
{
    if (QFileInfo(folder).isDir()) {
        // Best effort: a file system without access rights has nothing to restrict.
        QFile::setPermissions(folder, kOwnerOnly);
        return true;
    }
    return QDir().mkdir(folder, kOwnerOnly);
}

} // namespace

bool makePrivateFolder(const QString& dataFolder, const QString& folder)
{
    const QStringList levels = levelsDownTo(dataFolder, folder);
    // The folders above the data folder are the system's, with the rights it gives them.
    if (levels.isEmpty() || !QDir().mkpath(QFileInfo(levels.first()).path()))
        return false;
    for (const QString& level : levels) {
        if (!makePrivateLevel(level))
            return false;
    }
    return true;
}

QString canonicalDiskFolder(const QString& diskFolder)
{
    return QDir::cleanPath(QFileInfo(diskFolder).absoluteFilePath());
}

QString folderTag(const QString& diskFolder)
{
    const QByteArray hash = QCryptographicHash::hash(canonicalDiskFolder(diskFolder).toUtf8(),
                                                     QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(12));
}

} // namespace recovery
