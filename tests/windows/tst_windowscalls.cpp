// The calls into Windows that only the Windows build makes (run under Wine by windows-build).
#include "../support/filebytes.h"
#include "../support/programondisk.h"
#include "core/copies/sheetcsv.h"
#include "gui/windows/observation/keyboardlayout.h"
#include "gui/windows/sheet/sheetcontextmenu.h"

#include <QPointer>
#include <QSettings>
#include <QTimer>

#include <windows.h>

// Takes the name the save dialog offers while context lives; after 10 s gives up, so none hangs.
void answerSaveDialogs(QObject* context, int attempts = 200)
{
    QTimer::singleShot(50, context, [context, attempts] {
        if (const HWND dialog = FindWindowW(L"#32770", nullptr))
            PostMessageW(dialog, WM_COMMAND, attempts > 0 ? IDOK : IDCANCEL, 0);
        else if (attempts == 0 && QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
        answerSaveDialogs(context, qMax(0, attempts - 1));
    });
}

class TestWindowsCalls : public QObject {
    Q_OBJECT

private slots:
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

    // Shift+F10, a copy, Enter, the offered name: the menu, deleted once closed, was freed by the
    // save dialog's message loop under its copy, then written into; every window closed after it.
    void copiesLeaveTheProgramRunning()
    {
        QCoreApplication::setOrganizationName("saisie-notes-tests");
        ProgramOnDisk program;
        QPointer<sheet::GradeSheetWindow> window = program.openSample("8410203C07120002025.xml");
        for (const QString kind : {"csv", "xlsx", "pdf"}) {
            QSettings().setValue("folders/" + kind + "Copy", program.diskPath()); // the dialog's
            QObject copy; // the dialog answered; a menu gone under its command stops the test
            answerSaveDialogs(&copy);
            QVERIFY(window && activate(window));
            QTest::mouseMove(window->grid()->viewport(), {40, 20}, 500); // where a menu was
            pressKey(Qt::Key_F10, Qt::ShiftModifier);
            QObject::connect(QApplication::activePopupWidget(), &QObject::destroyed, &copy,
                             [] { qFatal("the menu went while its command ran"); });
            QVERIFY(chooseMenuItem(kind == "csv"    ? sheet::SheetContextMenu::kCsvItem
                                   : kind == "xlsx" ? sheet::SheetContextMenu::kXlsxItem
                                                    : sheet::SheetContextMenu::kPdfItem));
        }
        QTest::qWait(500);
        QVERIFY(window && window->isVisible() && program.window()->isVisible());
        const auto copy = [disk = QDir(program.diskPath())](const QString& kind) {
            return readBytes(disk.filePath(disk.entryList({"*." + kind}).value(0)));
        };
        QCOMPARE(copy("csv"), sheet::sheetCsv(window->sheet())); // each copy whole
        QVERIFY(copy("xlsx").startsWith("PK\x03\x04") && copy("xlsx").contains("PK\x05\x06"));
        QVERIFY(copy("pdf").startsWith("%PDF-") && copy("pdf").contains("%%EOF"));
    }
};

QTEST_MAIN(TestWindowsCalls)
#include "tst_windowscalls.moc"
