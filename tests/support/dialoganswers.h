#pragma once

// Answers the modal windows of the code under test, recording what each showed.

#include <QtWidgets>

#include <functional>

// What a dialog showed, and how the test answered it.
struct Shown {
    QString title;
    QString text;
};

enum class Answer { Yes, No, CloseBox };

// The scripted answers in order, then the close box for any window nobody expected: a wrong
// dialog fails the test instead of hanging it. Polls on the event loop, never sleeps.
class DialogAnswers : public QObject {
public:
    explicit DialogAnswers(QList<Answer> answers, std::function<void(int)> beforeAnswer = nullptr)
        : m_answers(std::move(answers)), m_beforeAnswer(std::move(beforeAnswer))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &DialogAnswers::poll);
        m_timer.start();
    }

    QList<Shown> shown;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        auto* label = modal->findChild<QLabel*>(QStringLiteral("message")); // the question's
        auto* box = qobject_cast<QMessageBox*>(modal);
        const Shown seen{modal->windowTitle(), label ? label->text()
                                               : box ? box->text()
                                                     : QString()};
        const int index = int(shown.size());
        shown << seen;
        if (m_beforeAnswer)
            m_beforeAnswer(index);
        const Answer answer = index < m_answers.size() ? m_answers[index] : Answer::CloseBox;
        if (answer == Answer::Yes && label)
            modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        else if (answer == Answer::Yes && box && box->button(QMessageBox::Ok))
            box->button(QMessageBox::Ok)->click();
        else if (answer == Answer::No && label)
            modal->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        else
            modal->close();
    }

    QList<Answer> m_answers;
    std::function<void(int)> m_beforeAnswer;
    QTimer m_timer;
};
