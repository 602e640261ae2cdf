#pragma once

namespace observation {

// Makes the keyboard type Arabic, as observations are written: the Arabic (101) layout on
// Windows; under X11 the keyboard map's Arabic group, when the user's map has one. Does
// nothing elsewhere, and nothing when the switch cannot be made; it never fails loudly.
void switchToArabicKeyboard();

} // namespace observation
