#pragma once

#include <QString>

class QWidget;

namespace ui {

// Each kind opens in the folder last chosen for it, else in the documents: never in whatever
// folder the program was started from. Empty when the teacher gave up.
QString chooseFileToSave(QWidget* parent, const QString& kind, const QString& caption,
                         const QString& suggestedName, const QString& filter);
QString chooseFileToOpen(QWidget* parent, const QString& kind, const QString& caption,
                         const QString& filter);
QString chooseFolder(QWidget* parent, const QString& kind, const QString& caption);

// The folder a dialog of kind opens in.
QString startFolder(const QString& kind);
// Where a dialog opens when the teacher chose no folder before: the user's documents.
QString documentsFolder();

// Empty when the teacher gave up. On Windows the system's own dialog gets no file type: Qt's
// "All Files" in Arabic would stand among the system's words.
QString askForFolder(QWidget* parent, const QString& caption, const QString& start);

} // namespace ui
