#pragma once

#include <QString>

namespace recovery {

// The data folder is named after it.
inline const QString kProgramName = QStringLiteral("saisie-notes");

// Where the journals of unsaved changes and the kept copies of grade files live.
struct DataFolder {
    // Empty when the program was given none: it then keeps no journal and no copy.
    QString path;
    // The teacher was told that the folder cannot be written; once in a run is enough.
    bool offNoticeShown = false;

    bool isSet() const { return !path.isEmpty(); }
};

// Whichever program asks: the gradefile tool finds the same folder.
QString defaultDataFolder();

// <data>/recovery: the journals of the sheets open or left unsaved.
QString journalsFolder(const QString& dataFolder);
// <data>/recovery/aside: journals that began on another content of their file.
QString asideFolder(const QString& dataFolder);
// <data>/backups: one folder of kept copies per grade file key.
QString keptCopiesRoot(const QString& dataFolder);
QString keptCopiesFolder(const QString& dataFolder, const QString& key);

// Every folder from the data folder down to folder is kept to its owner: they hold pupils'
// names and grades. Created private, never open to others for a moment; one found open (an
// older version's) is closed. False when folder is not inside the data folder.
bool makePrivateFolder(const QString& dataFolder, const QString& folder);

// A short tag of a disk folder: two disks holding files of the same key keep apart.
QString folderTag(const QString& diskFolder);

// The folder as journals record it: absolute and clean, so that "A/" and "A" are one disk.
QString canonicalDiskFolder(const QString& diskFolder);

} // namespace recovery
