#pragma once

#include "gradefile/fileerror.h"

#include <QString>

namespace gradefile {

enum class FileOperation { Scan, Open, Save };

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
// supportTelephone ends the messages that ask the teacher to call the support team; it is
// empty when the school's administration gave none.
TeacherMessage teacherMessage(FileOperation operation, const FileError& error,
                              const QString& supportTelephone);

} // namespace gradefile
