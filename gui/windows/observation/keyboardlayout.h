#pragma once

#include <QtGlobal>

#include <optional>

namespace observation {

// What the keyboard types: a group of the keyboard map under X11, a layout on Windows.
using KeyboardChoice = qintptr;

// Makes the keyboard type Arabic, as observations are written: the Arabic (101) layout on
// Windows; under X11 the keyboard map's Arabic group, when the user's map has one. Returns
// what the keyboard typed before, when it switched; does nothing elsewhere, and nothing
// when the switch cannot be made: it never fails loudly.
std::optional<KeyboardChoice> switchToArabicKeyboard();

// Gives the keyboard back what it typed before a switch, so that the grade cells get their
// digits and decimal point again.
void restoreKeyboard(KeyboardChoice before);

} // namespace observation
