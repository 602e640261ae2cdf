#include "ui/uilook.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPushButton>
#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

QString programFontFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const QString& candidate :
             {QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic"),
              QStringLiteral("Noto Naskh Arabic"), QStringLiteral("DejaVu Sans")}) {
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

} // namespace

QFont programFont(qreal pointSize, bool bold)
{
    QFont font(programFontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont designedFont(qreal pointSize, bool bold)
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize * fontScale());
    font.setBold(bold);
    return font;
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

void fixBesideGrid(QWidget* window, const QWidget* grid, const QWidget* commands, int leastWidth,
                   int leastHeight)
{
    // Measured here: the layout's cached sizes may not have heard of the grid's new columns.
    const QMargins margins = window->layout()->contentsMargins();
    const int wanted = margins.left() + grid->sizeHint().width() + window->layout()->spacing() +
                       commands->sizeHint().expandedTo(commands->minimumSize()).width() +
                       margins.right();
    const QScreen* screen = screenOf(window);
    const int screenWidth = screen ? screen->availableGeometry().width() : wanted;
    window->setFixedSize(qMin(qMax(leastWidth, wanted), screenWidth),
                         qMax(leastHeight, window->layout()->minimumSize().height()));
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect available = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(available.x() + (available.width() - outer.width()) / 2,
                 available.y() + (available.height() - outer.height()) / 2);
}

void makeFixedDialogWindow(QWidget* dialog)
{
    setFixedWindowFlags(dialog, Qt::Dialog);
    dialog->setLayoutDirection(Qt::RightToLeft);
}

void fixDesignedSize(QWidget* window, int clientWidthTwips, int clientHeightTwips)
{
    const QSize designed = designedSize(clientWidthTwips, clientHeightTwips);
    const QSize hint = window->sizeHint();
    const int width = std::max(hint.width(), designed.width());
    const int height = window->hasHeightForWidth() ? window->heightForWidth(width) : hint.height();
    window->setFixedSize(width, std::max(height, designed.height()));
}

} // namespace ui
