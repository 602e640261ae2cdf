#include "gui/windows/observation/keyboardlayout.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)

#include <windows.h>

namespace observation {

std::optional<KeyboardChoice> switchToArabicKeyboard()
{
    // Arabic (101), loaded without being activated, then made the layout of this thread.
    // A system without it gives no handle, and the current layout stays.
    const HKL before = GetKeyboardLayout(0);
    HKL arabic = LoadKeyboardLayoutA("00000401", 0);
    if (!arabic || !ActivateKeyboardLayout(arabic, 0))
        return std::nullopt;
    return KeyboardChoice(before);
}

void restoreKeyboard(KeyboardChoice before)
{
    ActivateKeyboardLayout(HKL(before), 0);
}

} // namespace observation

#elif defined(SAISIE_HAVE_X11)

#include "core/observation/keyboardgroups.h"

#include <QGuiApplication>
#include <QStringList>

// Xlib's macros (None, Bool, KeyPress ...) would clash with Qt's names: it comes last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace observation {

namespace {

Display* qtDisplay()
{
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
#else
    return nullptr;
#endif
}

bool hasKeyboardExtension(Display* display)
{
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    return XkbQueryExtension(display, &opcode, &event, &error, &major, &minor);
}

// The names of the keyboard map's groups, in group order; a group without a name has an
// empty one, so that the index stays the group's number.
QStringList groupNames(Display* display)
{
    QStringList names;
    XkbDescPtr keyboard = XkbAllocKeyboard();
    if (!keyboard)
        return names;
    if (XkbGetControls(display, XkbAllControlsMask, keyboard) == Success &&
        XkbGetNames(display, XkbGroupNamesMask, keyboard) == Success && keyboard->ctrls &&
        keyboard->names) {
        const int groups = qBound(0, int(keyboard->ctrls->num_groups), XkbNumKbdGroups);
        for (int group = 0; group < groups; ++group) {
            const Atom atom = keyboard->names->groups[group];
            char* name = atom ? XGetAtomName(display, atom) : nullptr;
            names.append(name ? QString::fromUtf8(name) : QString());
            if (name)
                XFree(name);
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return names;
}

} // namespace

std::optional<KeyboardChoice> switchToArabicKeyboard()
{
    // The group is locked for the keyboard, as the user's own layout switch would do it:
    // X has no layout per program.
    Display* display = qtDisplay();
    if (!display || !hasKeyboardExtension(display))
        return std::nullopt;
    const std::optional<int> arabic = arabicGroupAmong(groupNames(display));
    XkbStateRec state;
    if (!arabic || XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    XkbLockGroup(display, XkbUseCoreKbd, unsigned(*arabic));
    XFlush(display);
    return KeyboardChoice(state.locked_group);
}

void restoreKeyboard(KeyboardChoice before)
{
    Display* display = qtDisplay();
    if (!display || !hasKeyboardExtension(display))
        return;
    XkbLockGroup(display, XkbUseCoreKbd, unsigned(before));
    XFlush(display);
}

} // namespace observation

#else

namespace observation {

std::optional<KeyboardChoice> switchToArabicKeyboard()
{
    return std::nullopt;
}

void restoreKeyboard(KeyboardChoice) {}

} // namespace observation

#endif
