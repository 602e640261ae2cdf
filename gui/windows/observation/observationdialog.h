#pragma once

#include "gui/windows/observation/keyboardlayout.h"

#include <QDialog>

#include <functional>

class QLayout;
class QLineEdit;
class QPushButton;

namespace observation {

class ObservationInput;
class ObservationSheet;

// It keeps nothing of its own: it reads and writes the sheet's observation column. It opens on
// currentPupilRow and leaves it on the last pupil shown. The quit button saves the sheet; the
// close box closes without saving; Escape closes nothing.
class ObservationDialog : public QDialog {
    Q_OBJECT

public:
    ObservationDialog(ObservationSheet& sheet, qint16& currentPupilRow, QWidget* parent = nullptr);

    // As the focus enters and leaves the observation box.
    struct KeyboardSwitch {
        std::function<std::optional<KeyboardChoice>()> toArabic = switchToArabicKeyboard;
        std::function<void(KeyboardChoice)> giveBack = restoreKeyboard;
    };
    void setKeyboardSwitch(KeyboardSwitch keyboard) { m_keyboard = std::move(keyboard); }
    ~ObservationDialog() override;

    // kPupilCaption goes before the name of the pupil shown.
    static const QString kCaption;
    static const QString kPupilCaption;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLayout* createControls();
    QWidget* createShortcutFrame();
    void loadPupil();
    // Round from the last to the first.
    void goToNeighbour(int step);
    void putPhrase(int functionKey);
    void setObservationText(const QString& text);
    void validate();
    void quitAndSave();

    ObservationSheet& m_sheet;
    qint16& m_row;
    void giveKeyboardBack();

    KeyboardSwitch m_keyboard;
    // While the box has switched the keyboard to Arabic.
    std::optional<KeyboardChoice> m_keyboardBefore;

    QLineEdit* m_observationEdit = nullptr;
    ObservationInput* m_input = nullptr;
    QLineEdit* m_orderNumber = nullptr;
    QPushButton* m_validateButton = nullptr;
    QPushButton* m_quitButton = nullptr;
};

} // namespace observation
