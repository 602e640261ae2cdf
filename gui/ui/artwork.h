#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace ui {

// The program's pictures are drawn here in code, so the repository holds no image files.

// The picture behind the about box: a blue-green gradient with a faint pattern, dark
// enough for yellow text to stay legible anywhere on it.
QPixmap aboutBackground(QSize size);

// The program's icon, a grade book, at the sizes window systems ask for.
QIcon programIcon();

// The picture of the grade sheet's button that switches between the large and the small
// presentation of the grid.
QIcon presentationToggleIcon();

// The print preview's print and zoom buttons, for when their pictures are not beside the
// program.
QIcon printerIcon();
QIcon magnifierIcon();

} // namespace ui
