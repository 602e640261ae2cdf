#include "sheet/gridkeys.h"

#include <QKeyEvent>

#include <algorithm>
#include <iterator>

namespace sheet::keys {

namespace {

struct KeyCode {
    int qtKey;
    int code;
};

// Keys named by Windows; shifted US punctuation reports the key it is typed with.
constexpr KeyCode kNamedKeys[] = {
    {Qt::Key_Backspace, 8},      {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},         {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},         {Qt::Key_Control, 17},     {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},         {Qt::Key_Pause, 19},       {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},        {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},      {Qt::Key_End, 35},         {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},          {Qt::Key_Up, 38},          {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},          {Qt::Key_Print, 44},       {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},        {Qt::Key_Meta, 91},        {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},      {Qt::Key_ScrollLock, 145}, {Qt::Key_ParenRight, 48},
    {Qt::Key_Exclam, 49},        {Qt::Key_At, 50},          {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52},        {Qt::Key_Percent, 53},     {Qt::Key_AsciiCircum, 54},
    {Qt::Key_Ampersand, 55},     {Qt::Key_Asterisk, 56},    {Qt::Key_ParenLeft, 57},
    {Qt::Key_Semicolon, 186},    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},         {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},      {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},    {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
};

constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

constexpr int kNumpad0 = 96;
constexpr int kF1 = 112;

int lookUp(const KeyCode* first, const KeyCode* last, int qtKey)
{
    const auto* found =
        std::find_if(first, last, [qtKey](const KeyCode& entry) { return entry.qtKey == qtKey; });
    return found == last ? 0 : found->code;
}

} // namespace

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? kNumpad0 : int('0')) + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return kF1 + (qtKey - Qt::Key_F1);
    if (keypad) {
        if (const int code = lookUp(std::begin(kKeypadKeys), std::end(kKeypadKeys), qtKey))
            return code;
    }
    if (const int code = lookUp(std::begin(kNamedKeys), std::end(kNamedKeys), qtKey))
        return code;
    // Qt names the keys of other layouts by their character.
    return qtKey > 0 && qtKey < 0x110000 ? qtKey : 0;
}

int virtualKeyCode(const QKeyEvent& event)
{
#ifdef Q_OS_WIN
    // Windows tells the code itself; posted events carry none and are mapped.
    if (event.nativeVirtualKey() != 0)
        return int(event.nativeVirtualKey());
#endif
    return virtualKeyCode(event.key(), event.modifiers());
}

int shiftState(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int key = event.key();
    int state = 0;
    if (modifiers.testFlag(Qt::ShiftModifier) || key == Qt::Key_Shift)
        state |= 1;
    if (modifiers.testFlag(Qt::ControlModifier) || key == Qt::Key_Control)
        state |= 2;
    if (modifiers.testFlag(Qt::AltModifier) || key == Qt::Key_Alt)
        state |= 4;
    return state;
}

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
