#pragma once

#include "gradefile/fileerror.h"

#include <QString>

namespace gradefile {

// Recover: a journal of unsaved changes found when a file is opened cannot be applied.
// Journal: the journal or a kept copy cannot be written in the program's data folder.
// Restore: a kept copy is brought back onto a disk.
enum class FileOperation { Scan, Open, Save, Recover, Journal, Restore };

// How a message reaches the teacher: through the program's question window (its Yes
// button only) or as a plain notice.
enum class MessageForm { Question, Notice };

struct TeacherMessage {
    MessageForm form = MessageForm::Notice;
    QString text;
    // Yes to the question tries the operation again (the disk was put back).
    bool retryOnYes = false;
};

extern const QString kInsertDiskText;
extern const QString kCannotViewText;

// The one place that says what the teacher is told when an operation on the disk fails.
// Messages about a journal or a kept copy end with its path (error.path), so that the
// support team can find it.
// supportTelephone ends the messages that ask the teacher to call the support team; it is
// empty when the school's administration gave none.
TeacherMessage teacherMessage(FileOperation operation, const FileError& error,
                              const QString& supportTelephone);

} // namespace gradefile
