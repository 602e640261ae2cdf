#include "../support/fakeobservationsheet.h"
#include "modaltools.h"
#include "observation/observationdialog.h"
#include "observation/phrases.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using observation::ObservationDialog;

namespace {

// Nine exams' worth of pupils, some with observations: row 1 "1#عمل جيّد، واصل", row 2 "2",
// row 4 "3#يجب بذل مجهود أكبر", 26 pupils in all.
const QString kSampleFile =
    QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/8410203L09310002025.xml");
constexpr int kPupils = 26;

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kDarkBlue(0, 0, 192);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);

QString phrase(int functionKey)
{
    return observation::phraseForKey(functionKey).value_or(QString());
}

// A dialog open on a sample sheet, shown as the sheet shows it but without blocking, so
// that a test can type into it.
struct OpenDialog {
    explicit OpenDialog(int row, std::function<void(FakeObservationSheet&)> prepare = {})
        : sheet(FakeObservationSheet::fromGradeFile(kSampleFile)), currentRow(qint16(row))
    {
        if (prepare)
            prepare(sheet);
        dialog = std::make_unique<ObservationDialog>(sheet, currentRow);
        dialog->setKeyboardSwitch([this] { ++keyboardSwitches; });
        dialog->show();
        dialog->activateWindow();
    }
    bool ready() const { return QTest::qWaitForWindowActive(dialog.get()); }
    QLineEdit* box() const
    {
        return dialog->findChild<QLineEdit*>(QStringLiteral("observationEdit"));
    }
    QString orderBox() const
    {
        return dialog->findChild<QLineEdit*>(QStringLiteral("orderNumber"))->text();
    }
    QPushButton* button(const char* name) const
    {
        return dialog->findChild<QPushButton*>(QLatin1String(name));
    }
    // Asserts that the dialog shows pupil row: its name in the caption, its observation in
    // the box.
    bool shows(int row) const
    {
        const QString cell = sheet.observationCell(row);
        const qsizetype hash = cell.indexOf(u'#');
        return currentRow == row &&
               dialog->windowTitle() == ObservationDialog::kPupilCaption + sheet.pupilName(row) &&
               box()->text() == (hash < 0 ? QString() : cell.mid(hash + 1));
    }

    FakeObservationSheet sheet;
    qint16 currentRow;
    int keyboardSwitches = 0;
    std::unique_ptr<ObservationDialog> dialog;
};

// Types text one character at a time as the keyboard would send it; QTest::keyClicks
// knows Latin-1 only.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const Qt::Key key = c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

void clearBox(QLineEdit* box)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
}

} // namespace

class TestObservationDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void opensOnThePupil_data();
    void opensOnThePupil();
    void functionKeys_data();
    void functionKeys();
    void upAndDown_data();
    void upAndDown();
    void validation_data();
    void validation();
    void limitAndRefusedCharacters_data();
    void limitAndRefusedCharacters();
    void longerObservationFromTheFileKept();
    void closing_data();
    void closing();
    void keyboardSwitchOnEveryFocusEntry_data();
    void keyboardSwitchOnEveryFocusEntry();
    void keyLabels_data();
    void keyLabels();
    void placedBelowTheSheet();
    void observationsReachTheFileAndComeBack();
};

void TestObservationDialog::initTestCase()
{
    QCOMPARE(FakeObservationSheet::fromGradeFile(kSampleFile).pupilCount(), kPupils);
}

void TestObservationDialog::opensOnThePupil_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("shown");

    QTest::newRow("with an observation") << 1 << 1;
    QTest::newRow("without") << 2 << 2;
    QTest::newRow("the last") << kPupils << kPupils;
    QTest::newRow("the header row opens the first pupil") << 0 << 1;
    QTest::newRow("past the last opens the last") << kPupils + 1 << kPupils;
}

void TestObservationDialog::opensOnThePupil()
{
    QFETCH(int, row);
    QFETCH(int, shown);
    OpenDialog open(row);
    QVERIFY(open.ready());
    QVERIFY(open.shows(shown));
    QCOMPARE(open.orderBox(), open.sheet.orderNumber(shown));
    QCOMPARE(open.dialog->focusWidget(), open.box());
}

void TestObservationDialog::functionKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("phraseKey"); // 0: the typed text stays

    QTest::newRow("F1") << int(Qt::Key_F1) << int(Qt::NoModifier) << 1;
    QTest::newRow("Shift F5") << int(Qt::Key_F5) << int(Qt::ShiftModifier) << 5;
    QTest::newRow("Shift F1") << int(Qt::Key_F1) << int(Qt::ShiftModifier) << 1;
    QTest::newRow("Ctrl F7") << int(Qt::Key_F7) << int(Qt::ControlModifier) << 7;
    QTest::newRow("Ctrl Shift F3")
        << int(Qt::Key_F3) << int(Qt::ControlModifier | Qt::ShiftModifier) << 3;
    QTest::newRow("Alt F9") << int(Qt::Key_F9) << int(Qt::AltModifier) << 9;
    QTest::newRow("F10 has no phrase") << int(Qt::Key_F10) << int(Qt::NoModifier) << 0;
}

void TestObservationDialog::functionKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, phraseKey);
    OpenDialog open(1);
    QVERIFY(open.ready());
    typeText(open.box(), QStringLiteral(" جدّا"));
    const QString typed = open.box()->text();
    QTest::keyClick(open.box(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(open.box()->text(), phraseKey ? phrase(phraseKey) : typed);
    QVERIFY(open.sheet.writtenRows.empty());
    QVERIFY(open.dialog->isVisible());
}

void TestObservationDialog::upAndDown_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("shown");

    QTest::newRow("Up on the first pupil") << 1 << QList<int>{Qt::Key_Up} << kPupils;
    QTest::newRow("Down on the last pupil") << kPupils << QList<int>{Qt::Key_Down} << 1;
    QTest::newRow("Down twice") << 3 << QList<int>{Qt::Key_Down, Qt::Key_Down} << 5;
    QTest::newRow("Up") << 5 << QList<int>{Qt::Key_Up} << 4;
    QTest::newRow("round and back") << kPupils << QList<int>{Qt::Key_Down, Qt::Key_Up} << kPupils;
}

void TestObservationDialog::upAndDown()
{
    QFETCH(int, row);
    QFETCH(QList<int>, keys);
    QFETCH(int, shown);
    OpenDialog open(row);
    QVERIFY(open.ready());
    // What was typed and not validated is dropped on the way.
    QTest::keyClick(open.box(), Qt::Key_F9);
    for (int key : keys)
        QTest::keyClick(open.box(), Qt::Key(key));
    QVERIFY(open.shows(shown));
    // Going from pupil to pupil shows the row's number in the order number box.
    QCOMPARE(open.orderBox(), QString::number(shown));
    QCOMPARE(open.dialog->focusWidget(), open.box());
    QVERIFY(open.sheet.writtenRows.empty());
    QVERIFY(!open.sheet.modified);
}

void TestObservationDialog::validation_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("clearFirst");
    QTest::addColumn<int>("functionKey");
    QTest::addColumn<QString>("typedBefore"); // at the start of the box
    QTest::addColumn<QString>("typedAfter");  // at its end
    QTest::addColumn<bool>("byClick");        // the button rather than Enter
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("next");

    QTest::newRow("no #: F7 appended") << 2 << false << 7 << QString() << QString() << false
                                       << "2#" + phrase(7) << kGreen << true << 3;
    QTest::newRow("old observation replaced, prefix kept")
        << 1 << true << 0 << QString() << QStringLiteral("نتائج متذبذبة") << false
        << QStringLiteral("1#نتائج متذبذبة") << kBlue << true << 2;
    QTest::newRow("empty removes the # and the old observation")
        << 4 << true << 0 << QString() << QString() << false << QStringLiteral("3") << kBlack
        << false << 5;
    QTest::newRow("blanks around F4")
        << 3 << false << 4 << QStringLiteral("  ") << QStringLiteral(" ") << false
        << "2#  " + phrase(4) + " " << kDarkBlue << true << 4;
    QTest::newRow("blanks alone") << 5 << false << 0 << QString() << QStringLiteral("   ") << false
                                  << QStringLiteral("3#   ") << kBlue << true << 6;
    QTest::newRow("# inside") << 6 << false << 0 << QString() << QStringLiteral("أ#ب") << true
                              << QStringLiteral("2#أ#ب") << kBlue << true << 7;
    QTest::newRow("the last pupil, then the first")
        << kPupils << false << 1 << QString() << QString() << false << "1#" + phrase(1) << kRed
        << true << 1;
    QTest::newRow("validate button") << 2 << false << 6 << QString() << QString() << true
                                     << "2#" + phrase(6) << kGreen << true << 3;
}

void TestObservationDialog::validation()
{
    QFETCH(int, row);
    QFETCH(bool, clearFirst);
    QFETCH(int, functionKey);
    QFETCH(QString, typedBefore);
    QFETCH(QString, typedAfter);
    QFETCH(bool, byClick);
    QFETCH(QString, cell);
    QFETCH(QColor, colour);
    QFETCH(bool, bold);
    QFETCH(int, next);

    OpenDialog open(row, [row](FakeObservationSheet& sheet) {
        // A name shown bold in a colour from an earlier validation.
        sheet.names[size_t(row)] = {kGreen, true};
    });
    QVERIFY(open.ready());
    QLineEdit* box = open.box();
    if (clearFirst)
        clearBox(box);
    if (functionKey)
        QTest::keyClick(box, Qt::Key(Qt::Key_F1 + functionKey - 1));
    QTest::keyClick(box, Qt::Key_Home);
    typeText(box, typedBefore);
    QTest::keyClick(box, Qt::Key_End);
    typeText(box, typedAfter);
    if (byClick)
        QTest::mouseClick(open.button("validateButton"), Qt::LeftButton);
    else
        QTest::keyClick(box, Qt::Key_Return);

    QCOMPARE(open.sheet.observationCell(row), cell);
    QCOMPARE(open.sheet.nameLook(row).colour, colour);
    QCOMPARE(open.sheet.nameLook(row).bold, bold);
    QCOMPARE(open.sheet.writtenRows, std::vector<int>{row});
    QVERIFY(open.sheet.modified);
    // The dialog and the grid's cursor are on the next pupil, ready for typing.
    QVERIFY(open.shows(next));
    QCOMPARE(open.orderBox(), open.sheet.orderNumber(next));
    QCOMPARE(open.sheet.cursorRow, next);
    QCOMPARE(open.dialog->focusWidget(), box);
    QVERIFY(open.dialog->isVisible());
    QCOMPARE(open.sheet.saves, 0);
}

void TestObservationDialog::limitAndRefusedCharacters_data()
{
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    const QString sixty = QString(60, u'م');
    QTest::newRow("typing stops at fifty") << false << sixty << sixty.left(50);
    QTest::newRow("paste cut at fifty") << true << sixty << sixty.left(50);
    QTest::newRow("| typed") << false << QStringLiteral("أ|ب") << QStringLiteral("أب");
    QTest::newRow("line breaks and | pasted")
        << true << QStringLiteral("أ|ب\r\nج\tد\u2028") << QStringLiteral("أبجد");
    QTest::newRow("refused characters take no room in a paste")
        << true << QString(10, u'|') + sixty << sixty.left(50);
}

void TestObservationDialog::limitAndRefusedCharacters()
{
    QFETCH(bool, paste);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    OpenDialog open(2);
    QVERIFY(open.ready());
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
        QTest::keySequence(open.box(), QKeySequence::Paste);
    } else {
        typeText(open.box(), text);
    }
    QCOMPARE(open.box()->text(), shown);
    QTest::keyClick(open.box(), Qt::Key_Return);
    QCOMPARE(open.sheet.observationCell(2), "2#" + shown);
}

void TestObservationDialog::longerObservationFromTheFileKept()
{
    const QString longer =
        phrase(9) + u' ' + phrase(8) + u' ' + phrase(7) + u' ' + phrase(6) + u' ' + phrase(5);
    QVERIFY(longer.size() > 50);
    OpenDialog open(2, [&](FakeObservationSheet& sheet) {
        sheet.table[2][FakeObservationSheet::kObservationColumn] = "2#" + longer;
    });
    QVERIFY(open.ready());
    QCOMPARE(open.box()->text(), longer);
    QTest::keyClick(open.box(), Qt::Key_End);
    typeText(open.box(), QStringLiteral("ب"));
    QCOMPARE(open.box()->text(), longer);
    QTest::keyClick(open.box(), Qt::Key_Return);
    QCOMPARE(open.sheet.observationCell(2), "2#" + longer);
}

enum class Closing { QuitButton, EnterOnQuitButton, CloseBox, EscapeThenCloseBox };
Q_DECLARE_METATYPE(Closing)

void TestObservationDialog::closing_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<bool>("validateFirst");
    QTest::addColumn<int>("saves");

    QTest::newRow("quit button, nothing changed") << Closing::QuitButton << false << 1;
    QTest::newRow("quit button after a validation") << Closing::QuitButton << true << 1;
    QTest::newRow("Enter on the quit button") << Closing::EnterOnQuitButton << false << 1;
    QTest::newRow("close box") << Closing::CloseBox << true << 0;
    QTest::newRow("Escape closes nothing") << Closing::EscapeThenCloseBox << false << 0;
}

void TestObservationDialog::closing()
{
    QFETCH(Closing, closing);
    QFETCH(bool, validateFirst);
    QFETCH(int, saves);

    FakeObservationSheet sheet = FakeObservationSheet::fromGradeFile(kSampleFile);
    qint16 row = 3;
    ObservationDialog dialog(sheet, row);
    dialog.setKeyboardSwitch({});
    bool shownDuringSave = true;
    sheet.onSave = [&] { shownDuringSave = dialog.isVisible(); };
    bool answered = false;
    bool openAfterEscape = false;
    QObject context;
    whenModalOpens(&context, [&](QWidget* modal) {
        QLineEdit* box = modal->findChild<QLineEdit*>(QStringLiteral("observationEdit"));
        auto* quit = modal->findChild<QPushButton*>(QStringLiteral("quitButton"));
        if (validateFirst) {
            QTest::keyClick(box, Qt::Key_F8);
            QTest::keyClick(box, Qt::Key_Return);
        }
        switch (closing) {
        case Closing::QuitButton:
            QTest::mouseClick(quit, Qt::LeftButton);
            break;
        case Closing::EnterOnQuitButton:
            quit->setFocus();
            QTest::keyClick(quit, Qt::Key_Return);
            break;
        case Closing::EscapeThenCloseBox:
            QTest::keyClick(box, Qt::Key_Escape);
            openAfterEscape = modal->isVisible();
            modal->close();
            break;
        case Closing::CloseBox:
            modal->close();
            break;
        }
        answered = true;
    });
    dialog.exec();
    QVERIFY(answered);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(sheet.saves, saves);
    if (saves)
        QVERIFY(!shownDuringSave);
    if (closing == Closing::EscapeThenCloseBox)
        QVERIFY(openAfterEscape);
    QCOMPARE(sheet.modified, validateFirst);
    // The sheet's current pupil is where the dialog left it.
    QCOMPARE(int(row), validateFirst ? 4 : 3);
}

void TestObservationDialog::keyboardSwitchOnEveryFocusEntry_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("moreSwitches");

    QTest::newRow("Tab away and back") << "tab" << 1;
    QTest::newRow("validate button clicked") << "click" << 1;
    QTest::newRow("Down keeps the focus") << "down" << 0;
}

void TestObservationDialog::keyboardSwitchOnEveryFocusEntry()
{
    QFETCH(QString, action);
    QFETCH(int, moreSwitches);
    OpenDialog open(1);
    QVERIFY(open.ready());
    QTRY_VERIFY(open.box()->hasFocus());
    QVERIFY(open.keyboardSwitches >= 1);
    const int before = open.keyboardSwitches;
    if (action == QLatin1String("tab")) {
        QTest::keyClick(open.box(), Qt::Key_Tab);
        QVERIFY(!open.box()->hasFocus());
        QTest::keyClick(open.dialog->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (action == QLatin1String("click")) {
        QTest::mouseClick(open.button("validateButton"), Qt::LeftButton);
    } else {
        QTest::keyClick(open.box(), Qt::Key_Down);
    }
    QVERIFY(open.box()->hasFocus());
    QCOMPARE(open.keyboardSwitches, before + moreSwitches);
}

void TestObservationDialog::keyLabels_data()
{
    QTest::addColumn<int>("functionKey");
    QTest::addColumn<QColor>("colour");

    const QColor byKey[] = {kRed,   kRed,   kDarkBlue, kDarkBlue, kDarkBlue,
                            kGreen, kGreen, kGreen,    kGreen};
    for (int key = 1; key <= 9; ++key)
        QTest::addRow("F%d", key) << key << byKey[key - 1];
}

void TestObservationDialog::keyLabels()
{
    QFETCH(int, functionKey);
    QFETCH(QColor, colour);
    OpenDialog open(1);
    auto* frame = open.dialog->findChild<QGroupBox*>(QStringLiteral("shortcutFrame"));
    auto* label = frame->findChild<QLabel*>(QStringLiteral("keyLabel%1").arg(functionKey));
    QVERIFY(label);
    QVERIFY(label->text().contains(QStringLiteral("(F%1)").arg(functionKey)));
    QVERIFY(label->text().startsWith(phrase(functionKey)));
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    // The whole text shows, inside the frame, beside its neighbours: F1 at the right.
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    QVERIFY(label->fontMetrics().height() <= label->height());
    QVERIFY(frame->contentsRect().contains(label->geometry()));
    if (functionKey < 9) {
        auto* left = frame->findChild<QLabel*>(QStringLiteral("keyLabel%1").arg(functionKey + 1));
        QVERIFY(left->geometry().right() < label->geometry().left());
    }
}

void TestObservationDialog::placedBelowTheSheet()
{
    OpenDialog open(1);
    QVERIFY(open.ready());
    const QRect screen = open.dialog->screen()->geometry();
    const QRect frame = open.dialog->frameGeometry();
    // 5200 twips from the top of the screen, to the nearest pixel.
    QCOMPARE(frame.top(), screen.top() + 347);
    QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
    QCOMPARE(open.dialog->layoutDirection(), Qt::RightToLeft);
}

void TestObservationDialog::observationsReachTheFileAndComeBack()
{
    QTemporaryDir drive;
    QVERIFY(drive.isValid());
    const QString file = drive.filePath(QFileInfo(kSampleFile).fileName());
    QVERIFY(QFile::copy(kSampleFile, file));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));

    FakeObservationSheet sheet = FakeObservationSheet::fromGradeFile(file);
    sheet.writesTo = file;
    qint16 row = 2;
    ObservationDialog dialog(sheet, row);
    dialog.setKeyboardSwitch({});
    QObject context;
    whenModalOpens(&context, [](QWidget* modal) {
        QLineEdit* box = modal->findChild<QLineEdit*>(QStringLiteral("observationEdit"));
        QTest::keyClick(box, Qt::Key_F7, Qt::ShiftModifier); // pupil 2: a phrase
        QTest::keyClick(box, Qt::Key_Return);
        typeText(box, QStringLiteral("أ#ب  ")); // pupil 3: typed, "#" and blanks
        QTest::keyClick(box, Qt::Key_Return);
        clearBox(box); // pupil 4: the old observation removed
        QTest::keyClick(box, Qt::Key_Return);
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("quitButton")),
                          Qt::LeftButton);
    });
    dialog.exec();
    QCOMPARE(sheet.saves, 1);
    QVERIFY(sheet.savedToDisk);

    const gradefile::GradeFileRead read = gradefile::readGradeFile(file);
    QVERIFY(read.lines);
    QVERIFY(read.lines->contains(QStringLiteral("2#نتائج حسنة|2|20250132|نور الشابي|14.00|06.75|"
                                                "09.75|16.50|00.00|15.75")));
    FakeObservationSheet reopened = FakeObservationSheet::fromGradeFile(file);
    QCOMPARE(reopened.observationCell(1), QStringLiteral("1#عمل جيّد، واصل"));
    QCOMPARE(reopened.observationCell(2), QStringLiteral("2#نتائج حسنة"));
    QCOMPARE(reopened.observationCell(3), QStringLiteral("2#أ#ب  "));
    QCOMPARE(reopened.observationCell(4), QStringLiteral("3"));

    qint16 again = 2;
    ObservationDialog shown(reopened, again);
    shown.setKeyboardSwitch({});
    QLineEdit* box = shown.findChild<QLineEdit*>(QStringLiteral("observationEdit"));
    QCOMPARE(box->text(), QStringLiteral("نتائج حسنة"));
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->text(), QStringLiteral("أ#ب  "));
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->text(), QString());
}

QTEST_MAIN(TestObservationDialog)
#include "tst_observationdialog.moc"
