// The calls into Windows that only the Windows build makes (run under Wine by windows-build).
#include "app/drivelocation.h"
#include "app/systeminfo.h"
#include "observation/keyboardlayout.h"

#include <QSettings>
#include <QTest>

#include <windows.h>

class TestWindowsCalls : public QObject {
    Q_OBJECT

private slots:
    // A lost branch would send the teacher to a Linux mount point.
    void diskDefaultsToTheFloppyDrive() { QCOMPARE(app::defaultDriveFolder(), "A:/"); }

    // The system information tool is found through the registry: a wrong root or key joined
    // wrongly reads nothing, and a value absent must read as absent, not as an empty path.
    void registryStringsReadBack()
    {
        const QString key = "SOFTWARE\\saisie-notes-tests";
        QSettings("HKEY_LOCAL_MACHINE\\" + key, QSettings::NativeFormat)
            .setValue("PATH", "C:\\Outils\\MSINFO32.EXE");
        QString value;
        QVERIFY(app::readRegistryString(app::RegistryRoot::LocalMachine, key, "PATH", value));
        QCOMPARE(value, "C:\\Outils\\MSINFO32.EXE");
        QVERIFY(!app::readRegistryString(app::RegistryRoot::LocalMachine, key, "ABSENT", value));
        QVERIFY(value.isEmpty());
        QSettings("HKEY_LOCAL_MACHINE\\SOFTWARE", QSettings::NativeFormat)
            .remove("saisie-notes-tests");
    }

    // The observation box makes this thread type Arabic and gives the grade cells their layout
    // back; a system without the Arabic layout leaves the layout as it was.
    void keyboardSwitchesToArabicAndBack()
    {
        const HKL before = GetKeyboardLayout(0);
        const std::optional<observation::KeyboardChoice> switched =
            observation::switchToArabicKeyboard();
        if (!switched) {
            QCOMPARE(GetKeyboardLayout(0), before);
            QSKIP("no Arabic keyboard layout on this system");
        }
        // Wine takes the call but its layout follows the display's keyboard map only.
        const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
        QVERIFY(wine || LOWORD(reinterpret_cast<quintptr>(GetKeyboardLayout(0))) == 0x0401);
        observation::restoreKeyboard(*switched);
        QCOMPARE(GetKeyboardLayout(0), before);
    }
};

QTEST_MAIN(TestWindowsCalls)
#include "tst_windowscalls.moc"
