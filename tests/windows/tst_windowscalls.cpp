// The calls into Windows that only the Windows build makes (run under Wine by windows-build).
#include "app/systeminfo.h"
#include "observation/keyboardlayout.h"

#include <QSettings>
#include <QTest>

#include <windows.h>

class TestWindowsCalls : public QObject {
    Q_OBJECT

private slots:
    // The system information tool is found through the registry: a wrong root or key joined
    // wrongly reads nothing, and a value absent must read as absent, not as an empty path.
    void registryStringsReadBack()
    {
        const QString key = "SOFTWARE\\saisie-notes-tests", tool = "C:\\Outils\\MSINFO32.EXE";
        QSettings("HKEY_LOCAL_MACHINE\\" + key, QSettings::NativeFormat).setValue("PATH", tool);
        QString value;
        QVERIFY(app::readRegistryString(app::RegistryRoot::LocalMachine, key, "PATH", value));
        QCOMPARE(value, tool);
        QVERIFY(!app::readRegistryString(app::RegistryRoot::LocalMachine, key, "NONE", value));
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
        // Wine takes the call, but its layout follows the display's keyboard map only.
        const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
        QVERIFY(!switched || wine || LOWORD(quintptr(GetKeyboardLayout(0))) == 0x0401);
        if (switched)
            observation::restoreKeyboard(*switched);
        QCOMPARE(GetKeyboardLayout(0), before);
    }
};

QTEST_MAIN(TestWindowsCalls)
#include "tst_windowscalls.moc"
