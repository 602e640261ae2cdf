#pragma once

#include <QtGlobal>

#include <optional>

namespace observation {

// What the keyboard types: a group of the keyboard map under X11, a layout on Windows.
using KeyboardChoice = qintptr;

// The Arabic (101) layout on Windows, the map's Arabic group under X11. What the keyboard typed
// before, when it switched; it never fails loudly.
std::optional<KeyboardChoice> switchToArabicKeyboard();

// So that the grade cells get their digits and decimal point again.
void restoreKeyboard(KeyboardChoice before);

} // namespace observation
