#pragma once

#include <QString>

class QKeyEvent;

namespace sheet::keys {

bool isEnterKey(int qtKey);

// Characters that never go into a cell: C0 and C1 controls (CR, LF, TAB ...) and the
// Unicode line and paragraph separators.
bool isControlCharacter(char32_t character);
QString withoutControlCharacters(const QString& text);

// The reading direction of a text: right to left when its first strong character is.
Qt::LayoutDirection readingDirection(const QString& text);

} // namespace sheet::keys
