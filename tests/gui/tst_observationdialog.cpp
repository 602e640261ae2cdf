#include "../support/fakeobservationsheet.h"
#include "observation/observationdialog.h"
#include "observation/observationtext.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using observation::ObservationDialog;
using namespace Qt::StringLiterals;

namespace {

// Five pupils: levels alone, and two observations given earlier.
const QStringList kCells{"1#عمل جيّد، واصل", "2", "2", "3#يجب بذل مجهود أكبر", "1"};

QString phrase(int functionKey)
{
    return observation::phraseForKey(functionKey).value_or(QString());
}

// The dialog shown as the sheet shows it, but without blocking so that a test can type.
struct OpenDialog {
    explicit OpenDialog(int row) : sheet(kCells), currentRow(qint16(row)), dialog(sheet, currentRow)
    {
        dialog.setKeyboardSwitch([this] { ++keyboardSwitches; });
        dialog.show();
        dialog.activateWindow();
        box = dialog.findChild<QLineEdit*>(QStringLiteral("observationEdit"));
    }
    QPushButton* button(const char* name)
    {
        return dialog.findChild<QPushButton*>(QLatin1String(name));
    }
    // Keys as the keyboard sends them, to whatever has the focus.
    void press(const QKeySequence& keys)
    {
        for (int i = 0; i < keys.count(); ++i)
            QTest::keyClick(dialog.focusWidget(), keys[i].key(), keys[i].keyboardModifiers());
    }
    // Text one character at a time; QTest::keyClicks knows Latin-1 only.
    void type(const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    FakeObservationSheet sheet;
    qint16 currentRow;
    ObservationDialog dialog;
    QLineEdit* box = nullptr;
    int keyboardSwitches = 0;
};

} // namespace

class TestObservationDialog : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void teachersPath_data();
    void teachersPath();
};

// A row that is no pupil's opens the nearest one, so that a validation never writes
// outside the pupils. F1 to F9 put a phrase whatever modifier is held; Up and Down go
// round the pupils and drop what was not validated; the keyboard switches to Arabic each
// time the focus comes back to the box.
void TestObservationDialog::keys_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("phraseKey"); // 0: the pupil's own observation
    QTest::addColumn<int>("switches");  // of the keyboard, once the dialog is open
    QTest::addColumn<bool>("validated");

    QTest::newRow("opens on the pupil") << 4 << u""_s << 4 << 0 << 0 << false;
    QTest::newRow("header row opens the first") << 0 << u""_s << 1 << 0 << 0 << false;
    QTest::newRow("past the last opens the last") << 9 << u""_s << 5 << 0 << 0 << false;
    QTest::newRow("F1") << 1 << u"F1"_s << 1 << 1 << 0 << false;
    QTest::newRow("Shift F5") << 1 << u"Shift+F5"_s << 1 << 5 << 0 << false;
    QTest::newRow("Ctrl Shift F3") << 2 << u"Ctrl+Shift+F3"_s << 2 << 3 << 0 << false;
    QTest::newRow("Alt F9") << 2 << u"Alt+F9"_s << 2 << 9 << 0 << false;
    QTest::newRow("F10 has no phrase") << 1 << u"F10"_s << 1 << 0 << 0 << false;
    QTest::newRow("Up on the first goes round") << 1 << u"F9, Up"_s << 5 << 0 << 0 << false;
    QTest::newRow("Down on the last goes round") << 5 << u"F9, Down"_s << 1 << 0 << 0 << false;
    QTest::newRow("Down twice") << 2 << u"Down, Down"_s << 4 << 0 << 0 << false;
    QTest::newRow("Enter on the last goes round") << 5 << u"Return"_s << 1 << 0 << 0 << true;
    QTest::newRow("Tab away and back") << 1 << u"Tab, Shift+Backtab"_s << 1 << 0 << 1 << false;
}

void TestObservationDialog::keys()
{
    QFETCH(int, row);
    QFETCH(QString, keys);
    QFETCH(int, shown);
    QFETCH(int, phraseKey);
    OpenDialog open(row);
    QVERIFY(QTest::qWaitForWindowActive(&open.dialog));
    QTRY_VERIFY(open.box->hasFocus());
    QVERIFY(open.keyboardSwitches >= 1);
    const int switchesOnOpening = open.keyboardSwitches;
    open.press(QKeySequence::fromString(keys));
    QCOMPARE(int(open.currentRow), shown);
    QCOMPARE(open.dialog.windowTitle(),
             ObservationDialog::kPupilCaption + open.sheet.pupilName(shown));
    QCOMPARE(open.dialog.findChild<QLineEdit*>(QStringLiteral("orderNumber"))->text(),
             open.sheet.orderNumber(shown));
    QCOMPARE(open.box->text(),
             phraseKey ? phrase(phraseKey) : observation::observationOf(kCells[shown - 1]));
    QVERIFY(open.box->hasFocus());
    QTEST(open.keyboardSwitches - switchesOnOpening, "switches");
    QTEST(open.sheet.modified, "validated");
}

void TestObservationDialog::teachersPath_data()
{
    QTest::addColumn<QString>("closing");
    QTest::addColumn<int>("saves");

    QTest::newRow("quit button saves") << u"quit"_s << 1;
    QTest::newRow("Enter on the quit button saves") << u"Enter on quit"_s << 1;
    QTest::newRow("close box does not") << u"close box"_s << 0;
    QTest::newRow("Escape closes nothing") << u"Escape"_s << 0;
}

// The teacher's path: a phrase, a typed text (with a "#", a "|" the file cannot hold, and
// more than the box takes) and an emptied observation validated for three pupils, each
// colouring the name and moving to the next pupil with the grid's cursor; then the dialog
// closes, and the quit button saves once the dialog is gone.
void TestObservationDialog::teachersPath()
{
    QFETCH(QString, closing);
    QFETCH(int, saves);
    OpenDialog open(2);
    QVERIFY(QTest::qWaitForWindowActive(&open.dialog));
    open.sheet.pupils[3].colour = Qt::green; // pupil 4's name shows its old observation
    open.sheet.pupils[3].bold = true;
    bool shownDuringSave = true;
    open.sheet.onSave = [&] { shownDuringSave = open.dialog.isVisible(); };

    open.press(QKeySequence::fromString("Shift+F7, Return"));
    open.type("أ#|ب" + QString(60, u'م'));
    QTest::mouseClick(open.button("validateButton"), Qt::LeftButton);
    open.box->selectAll();
    open.press(QKeySequence::fromString("Delete, Return"));
    if (closing == "quit") {
        QTest::mouseClick(open.button("quitButton"), Qt::LeftButton);
    } else if (closing == "Enter on quit") {
        open.button("quitButton")->setFocus();
        open.press(QKeySequence::fromString("Return"));
    } else {
        if (closing == "Escape")
            open.press(QKeySequence::fromString("Escape"));
        QVERIFY(open.dialog.isVisible());
        open.dialog.close();
    }
    QVERIFY(!open.dialog.isVisible());
    const std::vector<FakeObservationSheet::Pupil>& pupils = open.sheet.pupils;
    QCOMPARE(pupils[0].cell, kCells[0]);
    QCOMPARE(pupils[1].cell, "2#" + phrase(7));
    QCOMPARE(pupils[1].colour, QColor(0, 128, 0));
    QCOMPARE(pupils[2].cell, "2#أ#ب" + QString(47, u'م'));
    QCOMPARE(pupils[2].colour, QColor(0, 0, 255));
    QVERIFY(pupils[1].bold && pupils[2].bold);
    QCOMPARE(pupils[3].cell, QStringLiteral("3"));
    QCOMPARE(pupils[3].colour, QColor(0, 0, 0));
    QVERIFY(!pupils[3].bold);
    QCOMPARE(pupils[4].cell, kCells[4]);
    QVERIFY(open.sheet.modified);
    QCOMPARE(open.sheet.cursorRow, 5);
    QCOMPARE(int(open.currentRow), 5);
    QCOMPARE(open.sheet.saves, saves);
    QVERIFY(!saves || !shownDuringSave);
}

QTEST_MAIN(TestObservationDialog)
#include "tst_observationdialog.moc"
