#include "ui/uilook.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

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

} // namespace

QFont programFont(qreal pointSize, bool bold)
{
    QFont font(programFontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont fontFittingWidth(QFont font, const QString& text, int width, qreal smallestPointSize)
{
    while (QFontMetrics(font).horizontalAdvance(text) > width &&
           font.pointSizeF() > smallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        QRect geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QPushButton* makeSheetButton(QWidget* parent, const QString& name, const QString& caption,
                             QRect geometry)
{
    QPushButton* button = makeButton(parent, name, caption, geometry);
    button->setAutoDefault(false);
    return button;
}

QRect tallEnoughFor(const QFont& font, QRect geometry)
{
    const int needed = QFontMetrics(font).height();
    if (geometry.height() >= needed)
        return geometry;
    geometry.adjust(0, -(needed - geometry.height()) / 2, 0, 0);
    geometry.setHeight(needed);
    return geometry;
}

QLabel* makeRightAlignedLabel(QWidget* parent, const QString& text, QRect geometry,
                              const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setFont(fontFittingWidth(font, text, geometry.width() - 2));
    label->setGeometry(tallEnoughFor(label->font(), geometry));
    // Without AlignAbsolute a right-to-left window would put the text at the left.
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return label;
}

void setFixedWindowFlags(QWidget* window, Qt::WindowFlags kind)
{
    window->setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(available.x() + (available.width() - outer.width()) / 2,
                 available.y() + (available.height() - outer.height()) / 2);
}

void makeFixedDialogWindow(QWidget* window, int clientWidthTwips, int clientHeightTwips,
                           WindowRole role)
{
    const Qt::WindowFlags kind = role == WindowRole::Dialog ? Qt::Dialog : Qt::Window;
    setFixedWindowFlags(window, kind);
    window->setFixedSize(fromTwips(clientWidthTwips), fromTwips(clientHeightTwips));
    window->setLayoutDirection(Qt::RightToLeft);
    window->setFont(programFont());
}

} // namespace ui
