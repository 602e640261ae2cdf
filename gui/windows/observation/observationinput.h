#pragma once

#include <QValidator>

namespace observation {

// Keeps the observation box to what the grade file can hold, for typing, paste, drop and
// input methods alike: see admitEdit. The box tells it each text it has shown (connect
// its textChanged to accept), and texts the program puts there go in as they are.
class ObservationInput : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;

    // The box now shows text: the next edit starts from it.
    void accept(const QString& text) { m_before = text; }
    // While set, texts pass unchanged (a pupil's observation loaded, a phrase put in).
    void setProgramText(bool on) { m_programText = on; }

private:
    QString m_before;
    bool m_programText = false;
};

} // namespace observation
