#pragma once

#include <QString>

class QKeyEvent;

namespace sheet::keys {

// The Windows virtual-key code of a key, as the grid's KeyDown reports it: letters as
// their capital, digits 48 to 57 (96 to 105 on the keypad), F1 to F24 from 112, the
// navigation and editing keys, the modifier keys themselves (16, 17, 18) and the US
// punctuation keys (186 ...). A key of another layout with no such code (an Arabic
// letter) reports its character; a key with neither (a media key) reports 0.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
int virtualKeyCode(const QKeyEvent& event);

// 1 for Shift, 2 for Ctrl, 4 for Alt, ORed; a modifier key pressed alone counts too.
int shiftState(const QKeyEvent& event);

bool isEnterKey(int qtKey);

// Characters that never go into a cell: C0 and C1 controls (CR, LF, TAB ...) and the
// Unicode line and paragraph separators.
bool isControlCharacter(char32_t character);
QString withoutControlCharacters(const QString& text);

// The reading direction of a text: right to left when its first strong character is.
Qt::LayoutDirection readingDirection(const QString& text);

} // namespace sheet::keys
