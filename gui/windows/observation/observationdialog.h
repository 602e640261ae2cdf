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

// The teacher's observations on the pupils of one grade sheet, one pupil at a time. The
// dialog keeps nothing of its own: it reads and writes the sheet's observation column,
// colours the pupil's name by the level of what was validated and moves on to the next
// pupil. currentPupilRow is the sheet's current pupil: the dialog opens on it and leaves
// it on the last pupil shown.
//
// Keys in the observation box: F1 to F9 put a preset phrase (whatever modifier is held),
// Up and Down go to the previous and next pupil (wrapping round), Enter validates. The
// quit button closes the dialog and then saves the sheet; the close box closes without
// saving; Escape closes nothing.
class ObservationDialog : public QDialog {
    Q_OBJECT

public:
    ObservationDialog(ObservationSheet& sheet, qint16& currentPupilRow, QWidget* parent = nullptr);

    // What the focus entering and leaving the observation box does to the keyboard: the
    // switch to Arabic and back unless a test says otherwise.
    struct KeyboardSwitch {
        std::function<std::optional<KeyboardChoice>()> toArabic = switchToArabicKeyboard;
        std::function<void(KeyboardChoice)> giveBack = restoreKeyboard;
    };
    void setKeyboardSwitch(KeyboardSwitch keyboard) { m_keyboard = std::move(keyboard); }
    ~ObservationDialog() override;

    // Designed window caption, and the caption while a pupil is shown (before the name).
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
    // Up (-1) and Down (+1): the previous or next pupil, round from the last to the first.
    void goToNeighbour(int step);
    void putPhrase(int functionKey);
    void setObservationText(const QString& text);
    void validate();
    void quitAndSave();

    ObservationSheet& m_sheet;
    qint16& m_row;
    void giveKeyboardBack();

    KeyboardSwitch m_keyboard;
    // What the keyboard typed before the box switched it to Arabic, while it is switched.
    std::optional<KeyboardChoice> m_keyboardBefore;

    QLineEdit* m_observationEdit = nullptr;
    ObservationInput* m_input = nullptr;
    QLineEdit* m_orderNumber = nullptr;
    QPushButton* m_validateButton = nullptr;
    QPushButton* m_quitButton = nullptr;
};

} // namespace observation
