#pragma once

#include <QFont>
#include <QRect>

class QLabel;
class QPushButton;
class QWidget;

namespace ui {

// Window positions and sizes are laid out in twips: 15 twips make one pixel at 96 dpi.
constexpr int fromTwips(int twips)
{
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height));
}

// The font of the program's windows: Tahoma where the system has it, else a packaged
// font that shapes Arabic well. Sizes in points, as the windows are designed.
QFont programFont(qreal pointSize = 8.25, bool bold = false);

// font, or a smaller size of it when text would not fit on one line of width pixels:
// the designed sizes were chosen for Tahoma, and a wider font standing in for it must not
// cut a text at its ends. Never below smallestPointSize.
QFont fontFittingWidth(QFont font, const QString& text, int width, qreal smallestPointSize = 7);

// A push button of a window laid out in twips: named as the window's code names it.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        QRect geometry);

// A grade sheet's button: it answers its function key, never Enter, which belongs to the
// grid.
QPushButton* makeSheetButton(QWidget* parent, const QString& name, const QString& caption,
                             QRect geometry);

// geometry, or as much taller about its middle as a line of font needs: the designed
// heights were chosen for Tahoma, and the marks below a letter must not be cut.
QRect tallEnoughFor(const QFont& font, QRect geometry);

// A label whose text stands against its right edge, in font shrunk as needed to fit.
QLabel* makeRightAlignedLabel(QWidget* parent, const QString& text, QRect geometry,
                              const QFont& font);

// A top-level window with a fixed border, title and close box, and no minimise or
// maximise button.
void setFixedWindowFlags(QWidget* window, Qt::WindowFlags kind = Qt::Window);

// Places a top-level window so that its centre is the screen's centre. A window larger
// than the screen gets negative coordinates: it is not clamped.
void centreOnScreen(QWidget* window);

// Fixed border, close box, no minimise or maximise button, reading right to left, in
// the program's font. A dialog stays above the window that shows it; the main window
// is a window of its own.
enum class WindowRole { Dialog, MainWindow };
void makeFixedDialogWindow(QWidget* window, int clientWidthTwips, int clientHeightTwips,
                           WindowRole role = WindowRole::Dialog);

} // namespace ui
