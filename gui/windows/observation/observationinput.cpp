#include "gui/windows/observation/observationinput.h"

#include "core/observation/observationtext.h"

namespace observation {

QValidator::State ObservationInput::validate(QString& input, int& pos) const
{
    if (m_programText)
        return Acceptable;
    const BoxEdit admitted = admitEdit(m_before, input, pos);
    input = admitted.text;
    pos = admitted.cursor;
    return Acceptable;
}

} // namespace observation
