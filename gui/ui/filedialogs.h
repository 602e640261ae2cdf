#pragma once

#include <QString>

class QWidget;

namespace ui {

// The file dialogs of the program. Each kind of file (the card as a PDF, a copy of the
// grades, a kept copy brought back) opens in the folder the teacher last chose for it,
// else in the user's documents: never in whatever folder the program was started from.
// kind names the kind in the settings; an empty text comes back when the teacher gave up.
QString chooseFileToSave(QWidget* parent, const QString& kind, const QString& caption,
                         const QString& suggestedName, const QString& filter);
QString chooseFileToOpen(QWidget* parent, const QString& kind, const QString& caption,
                         const QString& filter);
QString chooseFolder(QWidget* parent, const QString& kind, const QString& caption);

// The folder a dialog of kind opens in.
QString startFolder(const QString& kind);
// Where a dialog opens when the teacher chose no folder before: the user's documents.
QString documentsFolder();

// A folder dialog that opens in start; an empty text when the teacher gave up. On Windows it is
// the system's own, in the system's language: it gets no file type, not even Qt's "All Files"
// in Arabic, which would stand among the system's words.
QString askForFolder(QWidget* parent, const QString& caption, const QString& start);

} // namespace ui
