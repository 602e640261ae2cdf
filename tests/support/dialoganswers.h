#pragma once

// Answers the modal windows of the code under test as they open, and records what each
// showed: shared by the window tests.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>

// What a dialog showed, and how the test answered it.
struct Shown {
    QString title;
    QString text;
    bool question = false; // the question window, with its No button shown
    bool isQuestionDialog = false;
};

enum class Answer { Yes, No, CloseBox };

// Answers the modal windows as they open, in order: the scripted answers first, then the
// close box for any window nobody expected, so that a wrong dialog fails the test instead
// of hanging it. Polls on the event loop, never sleeps.
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

    int questionsAsked(const QString& text) const
    {
        return int(std::count_if(shown.cbegin(), shown.cend(),
                                 [&](const Shown& s) { return s.text == text; }));
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        Shown seen;
        seen.title = modal->windowTitle();
        if (auto* label = modal->findChild<QLabel*>(QStringLiteral("message"))) {
            seen.isQuestionDialog = true;
            seen.text = label->text();
            seen.question =
                !modal->findChild<QPushButton*>(QStringLiteral("cancelButton"))->isHidden();
        } else if (auto* notice = qobject_cast<QMessageBox*>(modal)) {
            seen.text = notice->text();
        }
        const int index = int(shown.size());
        shown << seen;
        if (m_beforeAnswer)
            m_beforeAnswer(index);
        const Answer answer = index < m_answers.size() ? m_answers[index] : Answer::CloseBox;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (answer == Answer::Yes && seen.isQuestionDialog)
            modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        else if (answer == Answer::Yes && box && box->button(QMessageBox::Ok))
            box->button(QMessageBox::Ok)->click();
        else if (answer == Answer::No && seen.isQuestionDialog)
            modal->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        else
            modal->close();
    }

    QList<Answer> m_answers;
    std::function<void(int)> m_beforeAnswer;
    QTimer m_timer;
};
