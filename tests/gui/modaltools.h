#pragma once

#include <QtWidgets>

#include <functional>

// Runs action on the next modal window that opens, as soon as it is shown, so a test can
// answer a dialog that the code under test runs with exec(). Polls on the event loop,
// never sleeps, and stops with the life of context (a test's local object), so a dialog
// that never came cannot be answered later by a finished test.
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
