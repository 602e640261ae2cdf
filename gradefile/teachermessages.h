#pragma once

#include "gradefile/fileerror.h"

#include <QDateTime>
#include <QLocale>
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

// A date as the teacher's system writes it short. A system with no language set would write
// "7 Dec 2026", in English: that one gets the date in figures, day first.
QString shortDate(const QDate& date, const QLocale& locale = QLocale::system());
// A moment in the teacher's own time, its short date and its hour, kept on one line and read
// left to right inside an Arabic sentence.
QString shownTime(const QDateTime& time);

} // namespace gradefile
