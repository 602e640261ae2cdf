// Types the key that carries "h" on a US keyboard into the observation box of a dialog
// shown on the X display in $DISPLAY, the way a keyboard does (a key code through the XTEST
// extension, which the keyboard map's current group turns into a character), and checks
// which character arrived.
//
//   x11_arabickeyboard GROUP   the map has an Arabic group at index GROUP: the focus
//                              entering the box must lock it, and the key types "ا"
//   x11_arabickeyboard -       the map has none: nothing changes, the key types "h"
//
// Exit status 0 when it did, 1 when it did not, 2 when the test cannot run here.

#include "../support/fakeobservationsheet.h"
#include "observation/observationdialog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTextStream>

#include <functional>

// Xlib's macros clash with Qt's names: it comes last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

const QString kSampleFile =
    QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/8410203L09310002025.xml");
// The letter on the "h" key of the Arabic (101) layout.
const QString kAlef = QStringLiteral("\u0627");

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// Runs the event loop until done() holds, for at most five seconds.
bool waitFor(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(5000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

int lockedGroup(Display* display)
{
    XkbStateRec state;
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return -1;
    return state.locked_group;
}

int fail(const QString& message)
{
    out() << "FAIL: " << message << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        out() << "usage: x11_arabickeyboard GROUP|-" << Qt::endl;
        return 2;
    }
    const bool hasArabic = QByteArray(argv[1]) != "-";
    const int arabicGroup = hasArabic ? QByteArray(argv[1]).toInt() : 0;

    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        out() << "SKIP: no X11 display for Qt" << Qt::endl;
        return 2;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        out() << "SKIP: the X server has no XTEST extension" << Qt::endl;
        return 2;
    }
    // Whatever an earlier run left, the keyboard starts on its first group.
    XkbLockGroup(display, XkbUseCoreKbd, 0);
    XSync(display, False);

    FakeObservationSheet sheet = FakeObservationSheet::fromGradeFile(kSampleFile);
    if (sheet.pupilCount() < 2)
        return fail(QStringLiteral("the sample grade file cannot be read"));
    qint16 row = 2; // a pupil without an observation
    observation::ObservationDialog dialog(sheet, row);
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("observationEdit"));
    dialog.show();
    dialog.activateWindow();
    if (!waitFor([&] { return box->hasFocus(); }))
        return fail(QStringLiteral("the observation box never got the focus"));

    const int expectedGroup = hasArabic ? arabicGroup : 0;
    if (!waitFor([&] { return lockedGroup(display) == expectedGroup; }))
        return fail(QStringLiteral("keyboard group %1, expected %2")
                        .arg(lockedGroup(display))
                        .arg(expectedGroup));

    box->clear();
    const KeyCode h = XKeysymToKeycode(display, XK_h);
    if (!h)
        return fail(QStringLiteral("the keyboard map has no \"h\" key"));
    XTestFakeKeyEvent(display, h, True, CurrentTime);
    XTestFakeKeyEvent(display, h, False, CurrentTime);
    XFlush(display);
    if (!waitFor([&] { return !box->text().isEmpty(); }))
        return fail(QStringLiteral("the key typed nothing into the observation box"));

    const QString expected = hasArabic ? kAlef : QStringLiteral("h");
    if (box->text() != expected)
        return fail(QStringLiteral("the key typed \"%1\" (U+%2), expected \"%3\"")
                        .arg(box->text())
                        .arg(box->text().at(0).unicode(), 4, 16, QLatin1Char('0'))
                        .arg(expected));
    out() << "PASS: group " << lockedGroup(display) << ", the key typed \"" << box->text() << "\""
          << Qt::endl;
    XkbLockGroup(display, XkbUseCoreKbd, 0);
    XSync(display, False);
    return 0;
}
