#pragma once

#include <QString>

namespace sheet {

// What a grade sheet window asks of the main window that opened it.
class SheetHost {
public:
    virtual ~SheetHost() = default;
    // Brings the main window back to the front, as quitting a sheet does.
    virtual void showMainWindow() = 0;
    // The main window's caption: the title of the disk messages.
    virtual QString mainCaption() const = 0;
    // The folder of the disk the grade file is written to.
    virtual QString driveFolder() const = 0;
    // Shows the list line of the grade file with this key as saved (bold blue).
    virtual void markFileSaved(const QString& key) = 0;
};

} // namespace sheet
