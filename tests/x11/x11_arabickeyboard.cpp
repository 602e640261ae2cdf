// Types the US "h" key into the observation box on $DISPLAY through XTEST, and checks it:
//   x11_arabickeyboard GROUP   the box's focus locks the Arabic group, the key types "ا", and
//                              the box closed gives the first group back
//   x11_arabickeyboard -       no Arabic group: the key types "h"
// Exit status 0 when it did, 1 when it did not, 2 when the test cannot run here.

#include "../support/fakeobservationsheet.h"
#include "gui/windows/observation/observationdialog.h"

#include <QtWidgets>

// Xlib's macros clash with Qt's names: it comes last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

// Runs the event loop until done() holds, for at most five seconds.
template <typename Done> static bool waitFor(Done done)
{
    for (QDeadlineTimer deadline(5000); !done() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

static int lockedGroup(Display* display)
{
    XkbStateRec state;
    return XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.locked_group : -1;
}

static int report(int status, const QString& message)
{
    QTextStream(stdout) << QStringList{"PASS: ", "FAIL: ", "SKIP: "}.at(status) << message << '\n';
    return status;
}

int main(int argc, char** argv)
{
    const QByteArray group = argc == 2 ? QByteArray(argv[1]) : QByteArray("-");
    const int expectedGroup = group == "-" ? 0 : group.toInt();
    // The letter on the "h" key of the Arabic (101) layout.
    const QString expected = group == "-" ? QStringLiteral("h") : QStringLiteral("\u0627");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor))
        return report(2, QStringLiteral("no X11 display with the XTEST extension for Qt"));
    // Whatever an earlier run left, the keyboard starts on its first group.
    XkbLockGroup(display, XkbUseCoreKbd, 0);
    XSync(display, False);

    FakeObservationSheet sheet({QStringLiteral("1")});
    qint16 row = 1;
    observation::ObservationDialog dialog(sheet, row);
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("observationEdit"));
    dialog.show();
    dialog.activateWindow();
    if (!waitFor([&] { return box->hasFocus() && lockedGroup(display) == expectedGroup; }))
        return report(1, QStringLiteral("focus in the box: %1, keyboard group %2, expected %3")
                             .arg(box->hasFocus())
                             .arg(lockedGroup(display))
                             .arg(expectedGroup));
    const KeyCode h = XKeysymToKeycode(display, XK_h);
    XTestFakeKeyEvent(display, h, True, CurrentTime);
    XTestFakeKeyEvent(display, h, False, CurrentTime);
    XFlush(display);
    waitFor([&] { return !box->text().isEmpty(); });
    const int typingGroup = lockedGroup(display);
    // The box closed, the keyboard types what it typed before: the first group.
    dialog.close();
    const bool givenBack = waitFor([&] { return lockedGroup(display) == 0; });
    return report(box->text() == expected && givenBack ? 0 : 1,
                  QStringLiteral("group %1, the key typed \"%2\", expected \"%3\"; "
                                 "group %4 once the box closed, expected 0")
                      .arg(typingGroup)
                      .arg(box->text(), expected)
                      .arg(lockedGroup(display)));
}
