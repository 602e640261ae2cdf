#pragma once

#include <QtWidgets>

#include <functional>

// Runs action on the next modal window once shown, to answer a dialog run with exec(). Polls on
// the event loop and stops with context (a test's local), so no finished test answers later.
inline void whenModalOpens(QObject* context, std::function<void(QWidget*)> action,
                           int attempts = 500)
{
    QTimer::singleShot(10, context, [context, action = std::move(action), attempts]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            action(modal);
            return;
        }
        if (attempts > 0)
            whenModalOpens(context, std::move(action), attempts - 1);
    });
}
