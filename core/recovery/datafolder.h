#pragma once

#include <QString>

namespace recovery {

// The name the program runs under: its data folder is named after it.
inline const QString kProgramName = QStringLiteral("saisie-notes");

// The program's own data folder, where the journals of unsaved changes and the kept
// copies of saved grade files live.
struct DataFolder {
    // Empty when the program was given none: it then keeps no journal and no copy.
    QString path;
    // The teacher was told that the folder cannot be written; once in a run is enough.
    bool offNoticeShown = false;

    bool isSet() const { return !path.isEmpty(); }
};

// The program's data folder as the system places it (AppDataLocation of saisie-notes),
// whichever program asks: the gradefile tool finds the same folder.
QString defaultDataFolder();

// <data>/recovery: the journals of the sheets open or left unsaved.
QString journalsFolder(const QString& dataFolder);
// <data>/recovery/aside: journals that began on another content of their file.
QString asideFolder(const QString& dataFolder);
// <data>/backups: one folder of kept copies per grade file key.
QString keptCopiesRoot(const QString& dataFolder);
QString keptCopiesFolder(const QString& dataFolder, const QString& key);

// Creates folder, the data folder or a folder inside it, as needed, and keeps the data
// folder and every folder from it down to folder to their owner: the journals and copies
// in them hold pupils' names and grades. A folder is created private, never opened to
// others for a moment, and one found open (made by an older version) is closed. False
// when one cannot be created or folder is not inside the data folder.
bool makePrivateFolder(const QString& dataFolder, const QString& folder);

// A short tag of a disk folder: two disks holding files of the same key keep apart.
QString folderTag(const QString& diskFolder);

// The folder as journals record it: absolute and clean, so that "A/" and "A" are one disk.
QString canonicalDiskFolder(const QString& diskFolder);

} // namespace recovery
