#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace ui {

// The program's yes-or-no question, also used with its No button hidden as a notice with
// one button. Yes is the default button; Escape answers nothing; the close box answers No.
class QuestionDialog : public QDialog {
    Q_OBJECT

public:
    enum class Answer { Yes, No };
    // A question offers Yes and No; a notice offers Yes only.
    enum class Buttons { YesNo, YesOnly };

    explicit QuestionDialog(QWidget* parent = nullptr);

    // Prepares the window for one use: the message, its buttons and its caption.
    void prepare(const QString& message, Buttons buttons, const QString& title);
    Answer answer() const { return m_answer; }

    // Asks one question in a fresh window, modally, and returns the answer.
    static Answer ask(const QString& message, Buttons buttons, const QString& title,
                      QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void showMessage(const QString& message);
    void answerYes();
    void answerNo();

    QGroupBox* m_frame = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    // A window closed by its close box has answered No.
    Answer m_answer = Answer::No;
};

} // namespace ui
