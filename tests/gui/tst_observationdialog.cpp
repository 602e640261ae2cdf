#include "../support/datatable.h"
#include "../support/fakeobservationsheet.h"
#include "core/observation/observationtext.h"
#include "core/sheet/gradesheet.h"
#include "gui/grid/griddelegate.h"
#include "gui/windows/observation/observationdialog.h"

#include <QtTest>
#include <QtWidgets>

using observation::ObservationDialog;
using namespace Qt::StringLiterals;

// Five pupils: levels alone, and two observations given earlier.
static const QStringList kCells{"1#عمل جيّد، واصل", "2", "2", "3#يجب بذل مجهود أكبر", "1"};
static const auto phrase = [](int key) { return observation::phraseForKey(key).value_or(""); };

// The dialog shown as the sheet shows it, but without blocking so that a test can type.
struct OpenDialog {
    explicit OpenDialog(int row) : sheet(kCells), row(qint16(row)), dialog(sheet, this->row)
    {
        dialog.setKeyboardSwitch(
            {[this] { return ++switches, std::exchange(keyboard, 1); },
             [this](observation::KeyboardChoice before) { keyboard = int(before); }});
        dialog.show();
        dialog.activateWindow();
        // The tests check the focus they need; a dialog that never came fails them there.
        static_cast<void>(QTest::qWaitForWindowActive(&dialog));
    }
    // Keys as the keyboard sends them, to whatever has the focus.
    void press(const QString& keys)
    {
        const QKeySequence sequence = QKeySequence::fromString(keys);
        for (int i = 0; i < sequence.count(); ++i)
            QTest::keyClick(dialog.focusWidget(), sequence[i].key(),
                            sequence[i].keyboardModifiers());
    }
    QPushButton* button(const QString& name) { return dialog.findChild<QPushButton*>(name); }

    FakeObservationSheet sheet;
    qint16 row;
    ObservationDialog dialog;
    QLineEdit* box = dialog.findChild<QLineEdit*>(u"observationEdit"_s);
    int switches = 0;
    int keyboard = 0; // what the keyboard types: 0 the teacher's own, 1 Arabic
};

// The contrast of two colours as WCAG 2.1 measures it, from their relative luminance.
static double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)}); // by value
    return (light + 0.05) / (dark + 0.05);
}

class TestObservationDialog : public QObject {
    Q_OBJECT

private slots:
    // A row that is no pupil's opens the nearest one; F1 to F9 put a phrase whatever the modifier;
    // Up and Down go round, dropping what was not validated; the box's focus switches to Arabic.
    void keys_data()
    {
        // phraseKey 0: the pupil's own observation; switches: the keyboard's, once it is open.
        const auto row = dataTable<int, QString, int, int, int, bool>(
            {"row", "keys", "shown", "phraseKey", "switches", "validated"});
        row("opens on the pupil", 4, u""_s, 4, 0, 0, false);
        row("header row opens the first", 0, u""_s, 1, 0, 0, false);
        row("past the last opens the last", 9, u""_s, 5, 0, 0, false);
        row("F1", 1, u"F1"_s, 1, 1, 0, false);
        row("Ctrl Shift F5", 1, u"Ctrl+Shift+F5"_s, 1, 5, 0, false);
        row("F10 has no phrase", 1, u"F10"_s, 1, 0, 0, false);
        row("Up on the first goes round", 1, u"F9, Up"_s, 5, 0, 0, false);
        row("Down on the last goes round", 5, u"F9, Down"_s, 1, 0, 0, false);
        row("Down twice", 2, u"Down, Down"_s, 4, 0, 0, false);
        row("Enter on the last goes round", 5, u"Return"_s, 1, 0, 0, true);
        row("Tab away and back", 1, u"Tab, Shift+Backtab"_s, 1, 0, 1, false);
    }
    void keys()
    {
        const auto [row, keys, shown, phraseKey] =
            fetchRow<int, QString, int, int>({"row", "keys", "shown", "phraseKey"});
        OpenDialog open(row);
        QTRY_VERIFY(open.box->hasFocus() && open.switches >= 1);
        const int switchesOnOpening = open.switches;
        open.press(keys);
        QCOMPARE(int(open.row), shown);
        QCOMPARE(open.dialog.windowTitle(),
                 ObservationDialog::kPupilCaption + open.sheet.pupilName(shown));
        QCOMPARE(open.dialog.findChild<QLineEdit*>(u"orderNumber"_s)->text(),
                 QString::number(shown));
        QCOMPARE(open.box->text(),
                 phraseKey ? phrase(phraseKey) : observation::observationOf(kCells[shown - 1]));
        QVERIFY(open.box->hasFocus());
        QTEST(open.switches - switchesOnOpening, "switches");
        QTEST(open.sheet.modified, "validated");
    }

    void teachersPath_data()
    {
        // Closing by keys to the quit button, a click or the close box.
        const auto row = dataTable<QString, int>({"closing", "saves"});
        row("quit button saves", u"click"_s, 1);
        row("Enter on the quit button saves", u"Return"_s, 1);
        row("close box does not", u"close box"_s, 0);
        row("Escape closes nothing", u"Escape"_s, 0);
    }
    // Three pupils' observations validated, each colouring the name and moving on; the quit button
    // saves once the dialog is gone.
    void teachersPath()
    {
        QFETCH(QString, closing);
        OpenDialog open(2);
        open.sheet.pupils[3] = {kCells[3], Qt::green, true}; // the name shows the observation
        bool shownDuringSave = true;
        open.sheet.onSave = [&] { shownDuringSave = open.dialog.isVisible(); };

        open.press(u"Shift+F7, Return"_s);
        for (const QChar c : "أ#|ب" + QString(60, u'م')) // QTest::keyClicks knows Latin-1 only
            QTest::sendKeyEvent(QTest::Click, open.box, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        QTest::mouseClick(open.button(u"validateButton"_s), Qt::LeftButton);
        open.box->selectAll();
        open.press(u"Delete, Return"_s);
        QPushButton* quit = open.button(u"quitButton"_s);
        if (closing == u"click") {
            QTest::mouseClick(quit, Qt::LeftButton);
        } else if (closing != u"close box") {
            quit->setFocus();
            open.press(closing);
        }
        QCOMPARE(open.dialog.isVisible(), closing == u"Escape" || closing == u"close box");
        open.dialog.close();
        QCOMPARE(open.keyboard, 0); // the grid gets its digits and decimal point back
        QStringList pupils;
        for (const FakeObservationSheet::Pupil& pupil : open.sheet.pupils)
            pupils << pupil.cell + u' ' + pupil.colour.name() + (pupil.bold ? " bold" : "");
        QCOMPARE(pupils, (QStringList{kCells[0] + " #000000", "2#" + phrase(7) + " #008000 bold",
                                      "2#أ#ب" + QString(47, u'م') + " #0000ff bold", "3 #000000",
                                      kCells[4] + " #000000"}));
        QVERIFY(open.sheet.modified && open.sheet.cursorRow == 5 && int(open.row) == 5);
        QTEST(open.sheet.saves, "saves");
        QVERIFY(!open.sheet.saves || !shownDuringSave);
    }

    // Every colour that says something reads for a weak eye: 4.5:1 at least, or bold.
    void coloursReadable_data()
    {
        const auto row = dataTable<double, bool>({"ratio", "bold"});
        sheet::GradeSheet cells;
        cells.reset(gradefile::SheetTable(2));
        for (const char* grade : {"12", "0", "25"}) { // white, yellow, red
            cells.setData(cells.indexOf({1, 1}), grade);
            const QColor back = *sheet::cellBackground(cells.indexOf({1, 1}));
            row("grade on " + back.name().toLatin1(),
                contrast(QPalette().color(QPalette::Text), back), false);
        }
        OpenDialog open(1);
        for (int key = 0; key <= observation::kPhraseCount; ++key) {
            const auto look = observation::nameLookFor(key ? phrase(key) : u"حرّ"_s);
            const QColor colour(look.colour->red, look.colour->green, look.colour->blue);
            const QByteArray fKey = 'F' + QByteArray::number(key);
            row("name, " + fKey, contrast(colour, QPalette().color(QPalette::Base)), look.bold);
            if (const auto* label = open.dialog.findChild<QLabel*>(u"keyLabel%1"_s.arg(key)))
                row("key " + fKey, contrast(colour, QPalette().color(QPalette::Window)),
                    label->font().bold());
        }
    }
    void coloursReadable()
    {
        const auto [ratio, bold] = fetchRow<double, bool>({"ratio", "bold"});
        QVERIFY2(ratio >= 4.5 || bold, qPrintable(QString::number(ratio)));
    }
};

QTEST_MAIN(TestObservationDialog)
#include "tst_observationdialog.moc"
