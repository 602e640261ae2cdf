#pragma once

#include <QDialog>

namespace ui {

// The program's yes-or-no question, also used with its No button hidden as a notice with
// one button. Yes is the default button; Escape answers nothing; the close box answers No.
class QuestionDialog : public QDialog {
    Q_OBJECT

public:
    enum class Answer { Yes, No };
    // A question offers Yes and No; a notice offers Yes only.
    enum class Buttons { YesNo, YesOnly };

    QuestionDialog(const QString& message, Buttons buttons, const QString& title,
                   QWidget* parent = nullptr);

    // Asks one question in a fresh window, modally, and returns the answer.
    static Answer ask(const QString& message, Buttons buttons, const QString& title,
                      QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls(const QString& message, Buttons buttons);
};

} // namespace ui
