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

// Tahoma where the system has it, else a packaged font that shapes Arabic and holds the digits.
constexpr qreal kDesignedPointSize = 8.25;
QFont programFont(qreal pointSize = kDesignedPointSize, bool bold = false);

// The dialogs' standard buttons carry no icon: right to left, Qt lays the icon over the room of
// the text and cuts the Arabic word at the button's edge ("اختر", "ألغِ"). Takes base over.
QStyle* programStyle(QStyle* base = nullptr);

// In proportion to the application's font: a teacher's larger font makes a large caption
// larger still.
QFont designedFont(qreal pointSize, bool bold = false);

// In proportion to the application's font.
QSize designedSize(int widthTwips, int heightTwips);

// At least as large as designed.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        int widthTwips = 0, int heightTwips = 0);

// No minimise or maximise button.
void setFixedWindowFlags(QWidget* window, Qt::WindowFlags kind = Qt::Window);

// The primary one before the window is shown.
const QScreen* screenOf(const QWidget* window);

// Its frame aside.
QSize availableSize(const QWidget* window);

// A large font on a small screen leaves the commands too little room.
QScrollArea* scrollWhenShort(QWidget* commands);

// The grid showing every column whole, never larger than the screen (grid and commands then
// scroll); the teacher may resize it down to the least size.
void sizeBesideGrid(QWidget* window, const QTableView* grid, QScrollArea* commands, int leastWidth,
                    int leastHeight);

// Down the screen too unless topTwips places its top. A window larger than the screen is not
// clamped.
void centreOnScreen(QWidget* window, int topTwips = -1);

// Right to left, above the window that shows it, no minimise or maximise button.
void makeFixedDialogWindow(QWidget* dialog);

// Larger where the font needs more; the designed size gives way to a screen too small for it.
void fixDesignedSize(QWidget* window, int clientWidthTwips, int clientHeightTwips);

} // namespace ui
