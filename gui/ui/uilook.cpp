#include "gui/ui/uilook.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLayout>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

QString programFontFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        // After Tahoma, a family that has the Latin digits of the grades as well as the
        // Arabic letters: with a purely Arabic one, every digit and every blank is drawn
        // in a second family found at run time, which costs the start of the program
        // several milliseconds of font searching and mixes two looks in one line.
        for (const QString& candidate :
             {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
              QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic")}) {
            if (families.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        }
        return QFont().family();
    }();
    return family;
}

// How much larger the application's font is than the designed one.
qreal fontScale()
{
    const qreal pointSize = QApplication::font().pointSizeF();
    return pointSize > 0 ? pointSize / kDesignedPointSize : 1;
}

class ProgramStyle : public QProxyStyle {
public:
    explicit ProgramStyle(QStyle* base) : QProxyStyle(base) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

QStyle* programStyle(QStyle* base)
{
    return new ProgramStyle(base);
}

QFont programFont(qreal pointSize, bool bold)
{
    QFont font(programFontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont designedFont(qreal pointSize, bool bold)
{
    return programFont(pointSize * fontScale(), bold);
}

QSize designedSize(int widthTwips, int heightTwips)
{
    return QSize(fromTwips(widthTwips), fromTwips(heightTwips)) * fontScale();
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        int widthTwips, int heightTwips)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setMinimumSize(QSize(fromTwips(widthTwips), fromTwips(heightTwips)));
    return button;
}

void setFixedWindowFlags(QWidget* window, Qt::WindowFlags kind)
{
    window->setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

const QScreen* screenOf(const QWidget* window)
{
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

QSize availableSize(const QWidget* window)
{
    const QScreen* screen = screenOf(window);
    QSize frame = window->frameGeometry().size() - window->size();
    // Before it is first shown a window knows no frame: a usual title bar and the sides
    // and foot Windows draws (8 pixels each) are kept free.
    if (frame.isEmpty())
        frame = QSize(16, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8);
    return screen ? screen->availableGeometry().size() - frame
                  : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

QScrollArea* scrollWhenShort(QWidget* commands)
{
    auto* area = new QScrollArea(commands->parentWidget());
    area->setWidget(commands);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from command to command, the area scrolling to each; the area is no stop.
    area->setFocusPolicy(Qt::NoFocus);
    return area;
}

void fitScrollingBody(QWidget* dialog, QScrollArea* body, const QWidget* below)
{
    const QMargins margins = dialog->layout()->contentsMargins();
    const QSize needed = body->widget()->sizeHint();
    const QSize whole(needed.width() + body->verticalScrollBar()->sizeHint().width() +
                          margins.left() + margins.right(),
                      needed.height() + margins.top() + margins.bottom() +
                          dialog->layout()->spacing() + below->sizeHint().height());
    dialog->resize(whole.boundedTo(availableSize(dialog)));
}

void sizeBesideGrid(QWidget* window, const QTableView* grid, QScrollArea* commands, int leastWidth,
                    int leastHeight)
{
    // Measured here: the layout's cached sizes may not have heard of the grid's new columns.
    const QMargins margins = window->layout()->contentsMargins();
    // A panel of fixed width hints at what its texts would take unwrapped: its width holds.
    const QWidget* body = commands->widget();
    const QSize panel =
        body->sizeHint().expandedTo(body->minimumSize()).boundedTo(body->maximumSize());
    const QSize room = availableSize(window);
    const int height = qMin(std::max({leastHeight, window->layout()->minimumSize().height(),
                                      margins.top() + panel.height() + margins.bottom()}),
                            room.height());
    const bool scrolls = margins.top() + panel.height() + margins.bottom() > height;
    commands->setFixedWidth(panel.width() +
                            (scrolls ? commands->verticalScrollBar()->sizeHint().width() : 0));
    const int wanted = margins.left() + grid->sizeHint().width() + window->layout()->spacing() +
                       commands->width() + margins.right();
    const int width = qMin(qMax(leastWidth, wanted), room.width());
    window->setMinimumSize(qMin(leastWidth, room.width()), qMin(leastHeight, room.height()));
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Laid out at that height first: the grid then says how much taller its rows want it.
    window->resize(width, height);
    window->layout()->activate();
    const int sideways = wanted > width ? grid->horizontalScrollBar()->sizeHint().height() : 0;
    const int wholeClass = grid->horizontalHeader()->sizeHint().height() +
                           grid->verticalHeader()->length() + 2 * grid->frameWidth() + sideways;
    window->resize(width, qMin(height + qMax(0, wholeClass - grid->height()), room.height()));
}

void centreOnScreen(QWidget* window, int topTwips)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect available = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(available.x() + (available.width() - outer.width()) / 2,
                 available.y() + (topTwips < 0 ? (available.height() - outer.height()) / 2
                                               : fromTwips(topTwips)));
}

void makeFixedDialogWindow(QWidget* dialog)
{
    setFixedWindowFlags(dialog, Qt::Dialog);
    dialog->setLayoutDirection(Qt::RightToLeft);
}

void fixDesignedSize(QWidget* window, int clientWidthTwips, int clientHeightTwips)
{
    const QSize designed =
        designedSize(clientWidthTwips, clientHeightTwips).boundedTo(availableSize(window));
    const QSize hint = window->sizeHint();
    const int width = std::max(hint.width(), designed.width());
    const int height = window->hasHeightForWidth() ? window->heightForWidth(width) : hint.height();
    window->setFixedSize(width, std::max(height, designed.height()));
}

} // namespace ui
