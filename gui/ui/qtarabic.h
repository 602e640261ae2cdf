#pragma once

class QCoreApplication;

namespace ui {

// Makes Qt's own windows speak Arabic, whatever the system's language: the file dialogs,
// the standard buttons ("OK", "Cancel"), the text boxes' context menus. Qt's translations
// are beside the program on Windows, in Qt's translations folder elsewhere. False when they
// are not found; the program then goes on with Qt's English.
bool installQtArabic(QCoreApplication& application);

} // namespace ui
