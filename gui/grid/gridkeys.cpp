#include "gui/grid/gridkeys.h"

#include <QKeyEvent>

namespace sheet::keys {

bool isEnterKey(int qtKey)
{
    return qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter;
}

bool isControlCharacter(char32_t character)
{
    return character < 0x20 || (character >= 0x7f && character <= 0x9f) || character == 0x2028 ||
           character == 0x2029;
}

QString withoutControlCharacters(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const char32_t character : text.toUcs4()) {
        if (!isControlCharacter(character))
            kept.append(QString::fromUcs4(&character, 1));
    }
    return kept;
}

Qt::LayoutDirection readingDirection(const QString& text)
{
    return text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

} // namespace sheet::keys
