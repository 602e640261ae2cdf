#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace sheet {

struct SheetState;

// The program's yes-or-no question, also used with its No button hidden as a notice with
// one button. The answer is left in SheetState::dialogResult: "OK" when Yes was pressed,
// "Cancel" otherwise (No, or the close box).
class FrmMsg : public QDialog {
    Q_OBJECT

public:
    explicit FrmMsg(SheetState& state, QWidget* parent = nullptr);

    // Prepares the window for one use: the message, a question (Yes and No) when cancel is
    // true or a notice (Yes only) when it is false, and the caption.
    void Afficher(const QString& message, bool cancel, const QString& title);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void showMessage(const QString& message);
    void Form_Load();
    void CmdOK_Click();
    void CmdCancel_Click();

    SheetState& m_state;
    QGroupBox* m_frame1 = nullptr;
    QLabel* m_lblMsg = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

// Asks one question in a fresh window, modally, and returns the answer: "OK" or "Cancel".
// With cancel false the window is a notice with the Yes button only: "OK" when it was
// pressed, "Cancel" when the window was closed by its close box.
QString askQuestion(SheetState& state, const QString& message, bool cancel, const QString& title,
                    QWidget* parent = nullptr);

} // namespace sheet
