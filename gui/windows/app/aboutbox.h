#pragma once

#include <QDialog>

class QLayout;
class QPushButton;

namespace app {

struct AppState;

// The about box: the program's name, version, purpose and support telephone, over a
// picture. Closing it with its OK button (Enter or Escape too) records that the start-up
// notice has been seen; its close box does not.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(AppState& state, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createButtons();
    QLayout* createTitleRows();
    QLayout* createButtonRows();
    void closeWithOk();

    AppState& m_state;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_systemInfoButton = nullptr;
};

} // namespace app
