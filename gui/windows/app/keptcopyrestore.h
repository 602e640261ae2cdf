#pragma once

#include "core/recovery/keptcopies.h"

#include <QString>

class QWidget;

namespace gradefile {
class GradeDisk;
struct FileError;
} // namespace gradefile

namespace recovery {
struct DataFolder;
}

namespace app {

// Brings a kept copy back: onto the disk in place of the file (after a question, the
// file as it is being kept first), or into another folder when the disk is dead. The
// copy is checked first: a damaged copy, or one of another file, is refused and left where
// it is. It comes back with its grades as kept and the next save number, as a save would
// write it. Writes go through the same safe replacement as a save.
class KeptCopyRestore {
public:
    // diskQuestionTitle is the caption of the question that asks for the disk.
    KeptCopyRestore(recovery::DataFolder& dataFolder, QWidget* parent, QString diskQuestionTitle);

    // Writes copy of key as fileName on disk; false when nothing was written.
    bool toDisk(const gradefile::GradeDisk& disk, const QString& key,
                const recovery::KeptCopy& copy, const QString& fileName);
    // Writes copy of key as fileName into folder, the teacher told when it cannot.
    void toFolder(const QString& folder, const QString& key, const recovery::KeptCopy& copy,
                  const QString& fileName);

private:
    // The copy's bytes to write as fileName on disk; nullopt, the teacher told why, when it
    // cannot be brought back.
    std::optional<QByteArray> restoredBytes(const gradefile::GradeDisk& disk,
                                            const QString& fileName, const QString& key,
                                            const recovery::KeptCopy& copy);
    bool write(const gradefile::GradeDisk& disk, const QString& fileName, const QByteArray& bytes);
    // Tells the teacher why the write failed; true when they asked to try again.
    bool reportFailure(const gradefile::FileError& error);
    void keepCurrent(const gradefile::GradeDisk& disk, const QString& key, const QString& fileName);

    recovery::DataFolder& m_dataFolder;
    QWidget* m_parent;
    QString m_diskQuestionTitle;
};

} // namespace app
