#pragma once

class QCoreApplication;

namespace ui {

// Qt's own dialogs, buttons and menus, whatever the system's language. The translations are
// beside the program on Windows, in Qt's folder elsewhere; false when not found (Qt's English).
bool installQtArabic(QCoreApplication& application);

} // namespace ui
