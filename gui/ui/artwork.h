#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace ui {

// The program's pictures are drawn here in code, so the repository holds no image files.

// Dark enough for yellow text to stay legible anywhere on it.
QPixmap aboutBackground(QSize size);

// The program's icon, a grade book, at the sizes window systems ask for.
QIcon programIcon();

QIcon presentationToggleIcon();

// For when the preview's pictures are not beside the program.
QIcon printerIcon();
QIcon magnifierIcon();

} // namespace ui
