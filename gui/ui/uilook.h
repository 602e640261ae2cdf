#pragma once

#include <QFont>
#include <QRect>

class QLabel;
class QPushButton;
class QScreen;
class QScrollArea;
class QStyle;
class QTableView;
class QWidget;

namespace ui {

// The windows were designed in twips: 15 twips make one pixel at 96 dpi.
constexpr int fromTwips(int twips)
{
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}

// The font of the program's windows: Tahoma where the system has it, else a packaged
// font that shapes Arabic well and holds the digits too. Sizes in points, as the windows
// are designed; main() makes the designed size the application's font.
constexpr qreal kDesignedPointSize = 8.25;
QFont programFont(qreal pointSize = kDesignedPointSize, bool bold = false);

// The style of the program's windows: base (the platform's own by default, taken over), but
// for the standard buttons of dialogs (Qt's file dialogs, the notices), which carry no icon.
// Right to left, Qt lays a button's icon over the room of its text and cuts the end of the
// Arabic word at the button's edge ("اختر", "ألغِ"): the word alone reads whole. main() gives
// it to the application, which owns it, where the platform's style shows such icons (not
// Windows).
QStyle* programStyle(QStyle* base = nullptr);

// The program's font at a size designed against kDesignedPointSize, in proportion to the
// application's font: a teacher's larger font makes a large caption larger still.
QFont designedFont(qreal pointSize, bool bold = false);

// A size designed in twips for kDesignedPointSize, in proportion to the application's font.
QSize designedSize(int widthTwips, int heightTwips);

// A push button named as the window's code names it, at least as large as designed.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        int widthTwips = 0, int heightTwips = 0);

// A top-level window with a fixed border, title and close box, and no minimise or
// maximise button.
void setFixedWindowFlags(QWidget* window, Qt::WindowFlags kind = Qt::Window);

// The screen a window stands on, or the primary one before it is shown.
const QScreen* screenOf(const QWidget* window);

// The room a window has on its screen, its frame aside.
QSize availableSize(const QWidget* window);

// The column of commands beside a sheet's grid, in an area that scrolls when the screen is too
// short for it (a large font on a small screen).
QScrollArea* scrollWhenShort(QWidget* commands);

// Sizes a dialog whose body scrolls above below (its buttons) as large as the body needs, never
// larger than the room its screen leaves; the teacher may make it larger.
void fitScrollingBody(QWidget* dialog, QScrollArea* body, const QWidget* below);

// Sizes a sheet window whose layout holds its grid and its commands side by side at the width
// they need (the grid showing every column whole), at least leastWidth, and as tall as every
// row of the grid and its commands need, at least leastHeight; never larger than its screen,
// the grid and the commands scrolling then. The teacher may resize it down to the least size.
void sizeBesideGrid(QWidget* window, const QTableView* grid, QScrollArea* commands, int leastWidth,
                    int leastHeight);

// Centres a top-level window across the screen, and down it too unless topTwips places its
// top. A window larger than the screen gets negative coordinates: it is not clamped.
void centreOnScreen(QWidget* window, int topTwips = -1);

// A dialog with a fixed border and a close box, no minimise or maximise button, reading
// right to left, above the window that shows it.
void makeFixedDialogWindow(QWidget* dialog);

// Fixes a window laid out by its layout at its designed client size, or at the size its
// layout needs where the font needs more (wrapped texts as tall as they need at that width);
// the designed size gives way to a screen too small for it.
void fixDesignedSize(QWidget* window, int clientWidthTwips, int clientHeightTwips);

} // namespace ui
