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

// A damaged copy, or one of another file, is refused and left where it is. A copy comes back
// with the next save number, as a save would write it, through the same safe replacement.
class KeptCopyRestore {
public:
    KeptCopyRestore(recovery::DataFolder& dataFolder, QWidget* parent, QString diskQuestionTitle);

    // The file being replaced is kept first. False when nothing was written.
    bool toDisk(const gradefile::GradeDisk& disk, const QString& key,
                const recovery::KeptCopy& copy, const QString& fileName);
    // For a dead disk.
    void toFolder(const QString& folder, const QString& key, const recovery::KeptCopy& copy,
                  const QString& fileName);

private:
    // nullopt, the teacher told why, when the copy cannot be brought back.
    std::optional<QByteArray> restoredBytes(const gradefile::GradeDisk& disk,
                                            const QString& fileName, const QString& key,
                                            const recovery::KeptCopy& copy);
    bool write(const gradefile::GradeDisk& disk, const QString& fileName, const QByteArray& bytes);
    // True when the teacher asked to try again.
    bool reportFailure(const gradefile::FileError& error);
    void keepCurrent(const gradefile::GradeDisk& disk, const QString& key, const QString& fileName);

    recovery::DataFolder& m_dataFolder;
    QWidget* m_parent;
    QString m_diskQuestionTitle;
};

} // namespace app
