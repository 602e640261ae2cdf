#pragma once

#include "core/gradefile/fileerror.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace gradefile {

// Recover: a journal of unsaved changes found when a file is opened cannot be applied.
// Journal: the journal or a kept copy cannot be written in the program's data folder.
// Restore: a kept copy is brought back onto a disk.
enum class FileOperation { Scan, Open, Save, Recover, Journal, Restore };

// A Question shows its Yes button only.
enum class MessageForm { Question, Notice };

struct TeacherMessage {
    MessageForm form = MessageForm::Notice;
    QString text;
    // Yes to the question tries the operation again (the disk was put back).
    bool retryOnYes = false;
};

extern const QString kInsertDiskText;
extern const QString kCannotViewText;

// Messages about a journal or a kept copy end with its path, so that the support team can
// find it. supportTelephone is empty when the school's administration gave none.
TeacherMessage teacherMessage(FileOperation operation, const FileError& error,
                              const QString& supportTelephone);

// A system with no language set would write "7 Dec 2026", in English: it gets figures, day first.
QString shortDate(const QDate& date, const QLocale& locale = QLocale::system());
// Kept on one line and read left to right inside an Arabic sentence.
QString shownTime(const QDateTime& time);

} // namespace gradefile
