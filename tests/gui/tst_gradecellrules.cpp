#include "app/appstate.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "modaltools.h"
#include "print/cardtexts.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/plainsheetwindow.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QCheckBox>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using sheet::GradeSheetWindow;
using sheet::SpreadGrid;

namespace {

// One file per sheet shape: the number of exams decides which grade columns are shown.
const QString kTwoExamsKey = QStringLiteral("8410203C07120002004");   // columns 5 and 6
const QString kThreeExamsKey = QStringLiteral("8410203C07130002004"); // columns 4 to 6
const QString kOneExamKey = QStringLiteral("8410203C07140002004");    // column 6 only
const QString kPlainKey = QStringLiteral("8410203C0712MOY2004");
const QString kCaption = QStringLiteral("8410203 إعدادية النور        ") +
                         QStringLiteral("[السابعة أساسي 2] عربية - الثلاثي الأول");
constexpr int kPupils = 10;

const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);

// The first pupil's grade in a grade column: 15.00 in column 6, 16.00 in 5, 17.00 in 4.
QString gradeOfFirstPupil(int col)
{
    return QStringLiteral("%1.00").arg(21 - col);
}

// A subject grade file of ten pupils; only the first pupil has grades, so that the exam
// columns are shown and the other cells start empty.
QStringList subjectFile(const QString& key, const QStringList& exams)
{
    QStringList firstGrades;
    for (int exam = 0; exam < exams.size(); ++exam)
        firstGrades << gradeOfFirstPupil(6 - exam);
    QStringList lines{QStringLiteral("DEBUT") + key + u'|' + kCaption,
                      QStringLiteral("TYPEEPREUVE:|") + exams.join(u'|')};
    for (int pupil = 1; pupil <= kPupils; ++pupil) {
        QString line =
            QStringLiteral("%1|%1|10%2|تلميذ %1").arg(pupil).arg(pupil, 2, 10, QChar(u'0'));
        if (pupil == 1)
            line += u'|' + firstGrades.join(u'|');
        lines << line;
    }
    lines << QStringLiteral("FIN") + key + QStringLiteral("|صفاقس|النور|سلمى||6|4");
    return lines;
}

QStringList plainFile()
{
    QStringList lines{QStringLiteral("DEBUT") + kPlainKey + QStringLiteral("|المعدلات"),
                      QStringLiteral("TYPEEPREUVE:|المعدل السنوي")};
    for (int pupil = 1; pupil <= kPupils; ++pupil)
        lines << QStringLiteral("%1|%1|10%1|اسم %1|لقب %1|1%1.25").arg(pupil);
    lines << QStringLiteral("FIN") + kPlainKey + QStringLiteral("|x");
    return lines;
}

struct Pos {
    int col;
    int row;
};

} // namespace

Q_DECLARE_METATYPE(Pos)

class TestGradeCellRules : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // The grade sheet window.
    void typedGradeIsCheckedOnLeaving_data();
    void typedGradeIsCheckedOnLeaving();
    void everyWayOfLeavingChecksTheCell_data();
    void everyWayOfLeavingChecksTheCell();
    void typingMarksTheSheetModified();
    void markKeys_data();
    void markKeys();
    void entryGoesOnAfterAWrap();
    void entryModeSwitchKeepsTyping();
    void redCellKeepsTheCursorAgainstAClick();
    void comingBackToTheSheet();
    void saveKeyFollowsItsButton();
    void otherFunctionKeysTypeNothing_data();
    void otherFunctionKeysTypeNothing();
    void pasteKeepsDigitsAndPoint_data();
    void pasteKeepsDigitsAndPoint();

    // The plain grade sheet window.
    void plainMarkKeys_data();
    void plainMarkKeys();
    void plainSaveButtonWritesNothing();
    void plainFunctionKeysDoNothing();
    void plainPasteKeepsDigitsAndPoint();

private:
    void write(const QString& key, const QStringList& lines);
    QByteArray fileBytes(const QString& key) const;
    void open(const QString& key);
    // Opens a subject file and makes its sheet the active window, keys going to its grid.
    GradeSheetWindow* openSheet(const QString& key);
    sheet::PlainSheetWindow* openPlain();
    bool activate(QWidget* window, QWidget* focus);

    // Keys go where the teacher's keys go: the cell editor once one is open, else the grid.
    QWidget* focused() const;
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Types each character as a key press; "\b" stands for Backspace.
    void type(const QString& text);
    void click(Pos cell);
    void moveTo(Pos cell) { m_grid->setActiveCell(cell.col, cell.row); }
    bool isAt(Pos cell) const
    {
        return m_grid->activeCol() == cell.col && m_grid->activeRow() == cell.row;
    }
    QString where() const
    {
        return QStringLiteral("cursor at %1,%2").arg(m_grid->activeCol()).arg(m_grid->activeRow());
    }
    QPushButton* button(QWidget* window, const char* name) const
    {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }
    void setVertical(GradeSheetWindow* window, bool vertical);

    std::unique_ptr<QTemporaryDir> m_disk;
    app::AppState m_appState;
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<app::MainWindow> m_window;
    SpreadGrid* m_grid = nullptr;
};

void TestGradeCellRules::init()
{
    m_disk = std::make_unique<QTemporaryDir>();
    QVERIFY(m_disk->isValid());
    m_appState = app::AppState{true};
    m_sheetState = sheet::SheetState{};
    m_cardTexts = print::CardTexts{};
    m_window =
        std::make_unique<app::MainWindow>(m_appState, m_sheetState, m_cardTexts, m_disk->path());
    m_window->setQuitAction([] {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_grid = nullptr;
}

void TestGradeCellRules::cleanup()
{
    m_grid = nullptr;
    // The main window takes its sheets with it, asking nothing.
    m_window.reset();
    m_disk.reset();
}

void TestGradeCellRules::write(const QString& key, const QStringList& lines)
{
    QVERIFY(gradefile::writeGradeFile(m_disk->filePath(key + QStringLiteral(".xml")), lines).ok);
}

QByteArray TestGradeCellRules::fileBytes(const QString& key) const
{
    QFile file(m_disk->filePath(key + QStringLiteral(".xml")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestGradeCellRules::open(const QString& key)
{
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    const QList<QTreeWidgetItem*> lines =
        list->findItems(key + QStringLiteral(".xml"), Qt::MatchExactly, 2);
    QVERIFY2(lines.size() == 1, qPrintable(key));
    list->setCurrentItem(lines.first());
    m_window->openSelectedFile();
}

bool TestGradeCellRules::activate(QWidget* window, QWidget* focus)
{
    // A window with an owner counts as active while its owner is: wait for the window itself.
    window->activateWindow();
    if (!QTest::qWaitFor([window] { return window->isActiveWindow(); }))
        return false;
    focus->setFocus();
    return focus->hasFocus();
}

GradeSheetWindow* TestGradeCellRules::openSheet(const QString& key)
{
    if (key == kTwoExamsKey)
        write(key, subjectFile(key, {QStringLiteral("فرض 1"), QStringLiteral("فرض 2")}));
    else if (key == kThreeExamsKey)
        write(key, subjectFile(key, {QStringLiteral("فرض 1"), QStringLiteral("فرض 2"),
                                     QStringLiteral("تأليفي")}));
    else
        write(key, subjectFile(key, {QStringLiteral("فرض 1")}));
    open(key);
    GradeSheetWindow* window = m_window->gradeSheet();
    if (!window || !activate(window, window->grid()))
        return nullptr;
    m_grid = window->grid();
    return window;
}

sheet::PlainSheetWindow* TestGradeCellRules::openPlain()
{
    write(kPlainKey, plainFile());
    open(kPlainKey);
    sheet::PlainSheetWindow* window = m_window->plainSheet();
    if (!window || !activate(window, window->grid()))
        return nullptr;
    m_grid = window->grid();
    return window;
}

QWidget* TestGradeCellRules::focused() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : m_grid;
}

void TestGradeCellRules::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(focused(), key, modifiers);
}

void TestGradeCellRules::type(const QString& text)
{
    for (const QChar character : text) {
        if (character == u'\b') {
            press(Qt::Key_Backspace);
            continue;
        }
        // An Arabic letter is a key of its own, named by its character.
        const Qt::Key key = character.unicode() < 0x80
                                ? QTest::asciiToKey(char(character.unicode()))
                                : Qt::Key(character.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, focused(), key, QString(character), Qt::NoModifier);
    }
}

void TestGradeCellRules::click(Pos cell)
{
    const QModelIndex index = m_grid->model()->index(cell.row - 1, cell.col - 1);
    m_grid->scrollTo(index);
    const QRect rect = m_grid->visualRect(index);
    QVERIFY(m_grid->viewport()->rect().contains(rect.center()));
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, rect.center());
}

void TestGradeCellRules::setVertical(GradeSheetWindow* window, bool vertical)
{
    // The teacher clicks the box; the grid gets the keys back.
    auto* box = window->findChild<QCheckBox*>(QStringLiteral("verticalEntry"));
    QVERIFY(box);
    if (box->isChecked() != vertical)
        QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(box->isChecked(), vertical);
    QVERIFY(m_grid->hasFocus());
}

// ---- The grade sheet window ----

// stays: the grade is out of range and the cursor does not leave the cell.
static void typedRow(const char* name, const QString& typed, const QString& cell,
                     const QColor& colour, bool stays)
{
    QTest::newRow(name) << typed << cell << colour << stays;
}

void TestGradeCellRules::typedGradeIsCheckedOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("stays");
    typedRow("12.5", "12.5", "12.50", kWhite, false);
    typedRow("7", "7", "07.00", kWhite, false);
    typedRow("0 is a zero grade", "0", "00.00", kYellow, false);
    typedRow("21", "21", "21", kRed, true);
    typedRow("nothing typed", "", "--.--", kWhite, false);
    typedRow("letters", "1a2B", "12.00", kWhite, false);
    typedRow("bar", "1|2", "12.00", kWhite, false);
    typedRow("Arabic letters", QStringLiteral("ب1س5"), "15.00", kWhite, false);
    typedRow("backspace", "19\b3", "13.00", kWhite, false);
}

// Typed into an empty grade cell, then Enter: the cell is rewritten and coloured, and the
// cursor goes down unless the grade is out of range.
void TestGradeCellRules::typedGradeIsCheckedOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(QColor, colour);
    QFETCH(bool, stays);
    QVERIFY(openSheet(kTwoExamsKey));
    moveTo({6, 3});
    type(typed);
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(6, 3), cell);
    QCOMPARE(m_grid->cellBackColor(6, 3), colour);
    QVERIFY2(isAt(stays ? Pos{6, 3} : Pos{6, 4}), qPrintable(where()));
    // Nothing spills into the neighbours.
    QCOMPARE(m_grid->text(5, 3), QString());
    QCOMPARE(m_grid->text(6, 4), QString());
}

void TestGradeCellRules::everyWayOfLeavingChecksTheCell_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Pos>("landing");
    QTest::newRow("down") << int(Qt::Key_Down) << Pos{6, 4};
    QTest::newRow("up") << int(Qt::Key_Up) << Pos{6, 2};
    QTest::newRow("left") << int(Qt::Key_Left) << Pos{5, 3};
    QTest::newRow("shift tab") << int(Qt::Key_Backtab) << Pos{5, 3};
    // Towards the pupil's name: the click rule brings the cursor back to the grade.
    QTest::newRow("tab") << int(Qt::Key_Tab) << Pos{6, 3};
    QTest::newRow("right") << int(Qt::Key_Right) << Pos{6, 3};
    QTest::newRow("click") << 0 << Pos{5, 7};
}

void TestGradeCellRules::everyWayOfLeavingChecksTheCell()
{
    QFETCH(int, key);
    QFETCH(Pos, landing);
    QVERIFY(openSheet(kTwoExamsKey));
    moveTo({6, 3});
    type(QStringLiteral("9.5"));
    if (key != 0)
        press(Qt::Key(key));
    else
        click(landing);
    QCOMPARE(m_grid->text(6, 3), QStringLiteral("09.50"));
    QCOMPARE(m_grid->cellBackColor(6, 3), kWhite);
    QVERIFY2(isAt(landing), qPrintable(where()));

    // Out of range, no way out.
    moveTo({6, 3});
    type(QStringLiteral("33"));
    if (key != 0)
        press(Qt::Key(key));
    else
        click(landing);
    QCOMPARE(m_grid->text(6, 3), QStringLiteral("33"));
    QCOMPARE(m_grid->cellBackColor(6, 3), kRed);
    QVERIFY2(isAt({6, 3}), qPrintable(where()));
}

void TestGradeCellRules::typingMarksTheSheetModified()
{
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    QPushButton* exporter = button(window, "saveButton");
    QPushButton* blank = button(window, "printBlankButton");
    QVERIFY(!exporter->isEnabled());
    QVERIFY(blank->isEnabled());
    QVERIFY(!window->isModified());

    // A discarded character changes the buttons but leaves the sheet unmodified.
    moveTo({6, 2});
    type(QStringLiteral("x"));
    QCOMPARE(m_grid->text(6, 2), QString());
    QVERIFY(exporter->isEnabled());
    QVERIFY(!blank->isEnabled());
    QVERIFY(!window->isModified());

    type(QStringLiteral("8"));
    QVERIFY(window->isModified());
    QCOMPARE(m_grid->text(6, 2), QStringLiteral("8"));
}

void TestGradeCellRules::markKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<bool>("typingFirst");
    QTest::newRow("F1") << int(Qt::Key_F1) << QStringLiteral("غ.ش.") << false;
    QTest::newRow("F3") << int(Qt::Key_F3) << QStringLiteral("--.--") << false;
    QTest::newRow("F1 while typing") << int(Qt::Key_F1) << QStringLiteral("غ.ش.") << true;
    QTest::newRow("F3 while typing") << int(Qt::Key_F3) << QStringLiteral("--.--") << true;
}

// On a cell holding 15.00 the mark replaces the grade, and the cursor moves on as Enter
// would; the mark is an entry to save.
void TestGradeCellRules::markKeys()
{
    QFETCH(int, key);
    QFETCH(QString, mark);
    QFETCH(bool, typingFirst);
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    QPushButton* exporter = button(window, "saveButton");
    QVERIFY(!exporter->isEnabled());
    QVERIFY(!window->isModified());
    moveTo({6, 1});
    QCOMPARE(m_grid->text(6, 1), QStringLiteral("15.00"));
    if (typingFirst)
        type(QStringLiteral("3"));
    press(Qt::Key(key));
    QCOMPARE(m_grid->text(6, 1), mark);
    QTRY_VERIFY2(isAt({6, 2}), qPrintable(where()));
    QCoreApplication::processEvents();
    QVERIFY2(isAt({6, 2}), qPrintable(where()));
    QCOMPARE(m_grid->text(6, 1), mark);
    QCOMPARE(m_grid->cellBackColor(6, 1), kWhite);
    // Nothing was typed into the cell below, nor beside.
    QCOMPARE(m_grid->text(6, 2), QString());
    QCOMPARE(m_grid->text(5, 1), gradeOfFirstPupil(5));
    QVERIFY(window->isModified());
    QVERIFY(exporter->isEnabled());
}

// After a wrap the next Enter is an ordinary one: the wrap does not linger.
void TestGradeCellRules::entryGoesOnAfterAWrap()
{
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    moveTo({6, kPupils});
    type(QStringLiteral("25"));
    press(Qt::Key_Return);
    QVERIFY(isAt({6, kPupils}));
    type(QStringLiteral("12"));
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(6, kPupils), QStringLiteral("12.00"));
    QCOMPARE(m_grid->cellBackColor(6, kPupils), kWhite);
    QVERIFY2(isAt({5, 1}), qPrintable(where()));
    // Row 1 of column 5 holds a grade; the teacher types over it.
    type(QStringLiteral("8"));
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(5, 1), QStringLiteral("08.00"));
    QVERIFY2(isAt({5, 2}), qPrintable(where()));
    press(Qt::Key_F1);
    QTRY_VERIFY2(isAt({5, 3}), qPrintable(where()));
    QCOMPARE(m_grid->text(5, 2), QStringLiteral("غ.ش."));

    // Horizontal: across two rows and back to column 6 each time.
    setVertical(window, false);
    moveTo({6, 6});
    for (const char* grade : {"1", "2", "3", "4"})
        type(QString::fromLatin1(grade)), press(Qt::Key_Return);
    QVERIFY2(isAt({6, 8}), qPrintable(where()));
    QCOMPARE(m_grid->text(6, 6), QStringLiteral("01.00"));
    QCOMPARE(m_grid->text(5, 6), QStringLiteral("02.00"));
    QCOMPARE(m_grid->text(6, 7), QStringLiteral("03.00"));
    QCOMPARE(m_grid->text(5, 7), QStringLiteral("04.00"));
}

// Switching the entry mode with the mouse gives the keys back to the grid where it was.
void TestGradeCellRules::entryModeSwitchKeepsTyping()
{
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    auto* box = window->findChild<QCheckBox*>(QStringLiteral("verticalEntry"));
    QVERIFY(box->isChecked());
    moveTo({6, 4});
    setVertical(window, false);
    QVERIFY(isAt({6, 4}));
    type(QStringLiteral("6"));
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(6, 4), QStringLiteral("06.00"));
    QVERIFY2(isAt({5, 4}), qPrintable(where()));
    setVertical(window, true);
    QVERIFY(isAt({5, 4}));
    type(QStringLiteral("7"));
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(5, 4), QStringLiteral("07.00"));
    QVERIFY2(isAt({5, 5}), qPrintable(where()));
}

// A grade out of range keeps the cursor, even against a click on another pupil's name.
void TestGradeCellRules::redCellKeepsTheCursorAgainstAClick()
{
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    moveTo({6, 3});
    type(QStringLiteral("25"));
    click({7, 8});
    QVERIFY2(isAt({6, 3}), qPrintable(where()));
    QCOMPARE(m_grid->text(6, 3), QStringLiteral("25"));
    QCOMPARE(m_grid->cellBackColor(6, 3), kRed);
    // The cell below stays as it was.
    QCOMPARE(m_grid->text(6, 8), QString());

    // Corrected, the same click goes through.
    type(QStringLiteral("5"));
    click({7, 8});
    QCOMPARE(m_grid->text(6, 3), QStringLiteral("05.00"));
    QCOMPARE(m_grid->cellBackColor(6, 3), kWhite);
    QVERIFY2(isAt({6, 8}), qPrintable(where()));
}

// Back from another window the cursor goes to the first grade of the first pupil; the
// cell it leaves is checked on the way, and a grade out of range keeps it.
void TestGradeCellRules::comingBackToTheSheet()
{
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    moveTo({6, 3});
    type(QStringLiteral("7"));
    QVERIFY(
        activate(m_window.get(), m_window->findChild<QPushButton*>(QStringLiteral("scanButton"))));
    QVERIFY(activate(window, m_grid));
    QVERIFY2(isAt({6, 1}), qPrintable(where()));
    QCOMPARE(m_grid->text(6, 3), QStringLiteral("07.00"));
    QCOMPARE(m_grid->cellBackColor(6, 3), kWhite);
    QVERIFY(window->isModified());

    moveTo({5, 4});
    type(QStringLiteral("25"));
    QVERIFY(
        activate(m_window.get(), m_window->findChild<QPushButton*>(QStringLiteral("scanButton"))));
    QVERIFY(activate(window, m_grid));
    QVERIFY2(isAt({5, 4}), qPrintable(where()));
    QCOMPARE(m_grid->text(5, 4), QStringLiteral("25"));
    QCOMPARE(m_grid->cellBackColor(5, 4), kRed);
    // Nothing else was touched by the coming and going.
    QCOMPARE(m_grid->text(6, 1), gradeOfFirstPupil(6));
    QCOMPARE(m_grid->text(6, 4), QString());
}

void TestGradeCellRules::saveKeyFollowsItsButton()
{
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    const QByteArray before = fileBytes(kTwoExamsKey);
    QObject context;
    bool asked = false;
    whenModalOpens(&context, [&asked](QWidget* box) {
        asked = true;
        box->close();
    });

    // The save button is disabled: F4 does nothing.
    moveTo({6, 2});
    press(Qt::Key_F4);
    QVERIFY(!window->isSaved());
    QCOMPARE(fileBytes(kTwoExamsKey), before);
    QVERIFY(isAt({6, 2}));
    QCOMPARE(m_grid->text(6, 2), QString());

    // Once a grade is typed, F4 saves it.
    type(QStringLiteral("14"));
    press(Qt::Key_Return);
    press(Qt::Key_F4);
    QVERIFY(window->isSaved());
    QVERIFY(!window->isModified());
    QVERIFY(fileBytes(kTwoExamsKey) != before);
    const gradefile::GradeFileRead read =
        gradefile::readGradeFile(m_disk->filePath(kTwoExamsKey + QStringLiteral(".xml")));
    QVERIFY(read.lines);
    QVERIFY2(read.lines->at(3).contains(QStringLiteral("|14.00")), qPrintable(read.lines->at(3)));
    QVERIFY(!asked);
    // F4 typed nothing.
    QCOMPARE(m_grid->text(6, 3), QString());
    QVERIFY(isAt({6, 3}));
}

void TestGradeCellRules::otherFunctionKeysTypeNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("F6") << int(Qt::Key_F6);
    QTest::newRow("F8") << int(Qt::Key_F8);
    QTest::newRow("F9") << int(Qt::Key_F9);
    QTest::newRow("F12") << int(Qt::Key_F12);
}

// The print keys have their own windows (not here; F7's preview has its own tests): in the
// grid they neither type, move nor modify; F8 follows its button, disabled once a grade
// is typed.
void TestGradeCellRules::otherFunctionKeysTypeNothing()
{
    QFETCH(int, key);
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    QObject context;
    whenModalOpens(&context, [](QWidget* box) { box->close(); });
    moveTo({6, 2});
    type(QStringLiteral("3"));
    press(Qt::Key(key));
    QVERIFY(window && window->isVisible());
    QCOMPARE(m_grid->text(6, 2), QStringLiteral("3"));
    QVERIFY2(isAt({6, 2}), qPrintable(where()));
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(6, 2), QStringLiteral("03.00"));
    QVERIFY(!button(window, "printBlankButton")->isEnabled());
}

void TestGradeCellRules::pasteKeepsDigitsAndPoint_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QColor>("colour");
    const auto row = [](const char* name, const QString& clipboard, const QString& typedFirst,
                        const QString& pasted, const QString& cell, const QColor& colour) {
        QTest::newRow(name) << clipboard << typedFirst << pasted << cell << colour;
    };
    row("bar and line break", "12|5\n", "", "125", "125", kRed);
    row("letters", "abc", "", "", "--.--", kWhite);
    row("grade with bar", "1|2.5", "", "12.5", "12.50", kWhite);
    row("carriage return", "7\r\n", "", "7", "07.00", kWhite);
    row("two points", "1.2.3", "", "1.23", "01.23", kWhite);
    row("into a typed grade", "5|\t", "1", "15", "15.00", kWhite);
    row("point after typing", ".5\n", "9", "9.5", "09.50", kWhite);
    row("mark", QStringLiteral("معفى"), "", "", "--.--", kWhite);
}

// Only what typing could put in gets in: digits and one point; "|" and line breaks, which
// would break the grade file's lines, never reach a cell.
void TestGradeCellRules::pasteKeepsDigitsAndPoint()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, typedFirst);
    QFETCH(QString, pasted);
    QFETCH(QString, cell);
    QFETCH(QColor, colour);
    GradeSheetWindow* window = openSheet(kTwoExamsKey);
    QVERIFY(window);
    QGuiApplication::clipboard()->setText(clipboard);
    moveTo({6, 3});
    type(typedFirst);
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_grid->text(6, 3), pasted);
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(6, 3), cell);
    QCOMPARE(m_grid->cellBackColor(6, 3), colour);
    for (int row = 1; row <= kPupils; ++row) {
        for (int col = 1; col <= 10; ++col) {
            const QString text = m_grid->text(col, row);
            QVERIFY(!text.contains(u'|') && !text.contains(u'\n') && !text.contains(u'\r'));
        }
    }

    // A paste into a grade cell holding a grade replaces it.
    QGuiApplication::clipboard()->setText(QStringLiteral("1|8"));
    moveTo({6, 1});
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_grid->text(6, 1), QStringLiteral("18"));
    // The pupil's name takes no paste.
    moveTo({7, 5});
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_grid->text(7, 5), QStringLiteral("تلميذ 5"));
}

// ---- The plain grade sheet window ----

void TestGradeCellRules::plainMarkKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("mark");
    QTest::newRow("F1") << int(Qt::Key_F1) << QStringLiteral("غ.ش.");
    QTest::newRow("F2") << int(Qt::Key_F2) << QStringLiteral("معفى");
    QTest::newRow("F3") << int(Qt::Key_F3) << QStringLiteral("--.--");
}

// Every mark goes into the active cell only, then the cursor moves down.
void TestGradeCellRules::plainMarkKeys()
{
    QFETCH(int, key);
    QFETCH(QString, mark);
    QVERIFY(openPlain());
    const QStringList row{m_grid->text(2, 4), m_grid->text(3, 4), m_grid->text(4, 4)};
    moveTo({1, 4});
    press(Qt::Key(key));
    QCOMPARE(m_grid->text(1, 4), mark);
    QTRY_VERIFY2(isAt({1, 5}), qPrintable(where()));
    QCoreApplication::processEvents();
    QVERIFY2(isAt({1, 5}), qPrintable(where()));
    QCOMPARE(m_grid->text(1, 5), QStringLiteral("15.25"));
    QCOMPARE((QStringList{m_grid->text(2, 4), m_grid->text(3, 4), m_grid->text(4, 4)}), row);
}

void TestGradeCellRules::plainSaveButtonWritesNothing()
{
    sheet::PlainSheetWindow* window = openPlain();
    QVERIFY(window);
    const QByteArray before = fileBytes(kPlainKey);
    moveTo({1, 2});
    type(QStringLiteral("9"));
    press(Qt::Key_Return);
    QPushButton* exporter = button(window, "saveButton");
    QVERIFY(exporter->isEnabled());

    QObject context;
    QString notice;
    whenModalOpens(&context, [&notice](QWidget* box) {
        if (auto* message = qobject_cast<QMessageBox*>(box))
            notice = message->text();
        box->close();
    });
    QTest::mouseClick(exporter, Qt::LeftButton);
    QTRY_VERIFY(!notice.isEmpty());
    QCOMPARE(fileBytes(kPlainKey), before);
    QCOMPARE(QDir(m_disk->path()).entryList(QDir::Files), QStringList{kPlainKey + ".xml"});
    QCOMPARE(m_grid->text(1, 2), QStringLiteral("09.00"));
}

void TestGradeCellRules::plainFunctionKeysDoNothing()
{
    sheet::PlainSheetWindow* window = openPlain();
    QVERIFY(window);
    const QByteArray before = fileBytes(kPlainKey);
    moveTo({1, 2});
    type(QStringLiteral("9"));
    press(Qt::Key_Return);
    QVERIFY(button(window, "saveButton")->isEnabled());
    QObject context;
    bool asked = false;
    whenModalOpens(&context, [&asked](QWidget* box) {
        asked = true;
        box->close();
    });
    QPointer<sheet::PlainSheetWindow> alive(window);
    for (Qt::Key key : {Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8}) {
        press(key);
        QVERIFY(alive && alive->isVisible());
        QVERIFY2(isAt({1, 3}), qPrintable(where()));
        QCOMPARE(m_grid->text(1, 3), QStringLiteral("13.25"));
    }
    QVERIFY(!asked);
    QCOMPARE(fileBytes(kPlainKey), before);
}

void TestGradeCellRules::plainPasteKeepsDigitsAndPoint()
{
    QVERIFY(openPlain());
    QGuiApplication::clipboard()->setText(QStringLiteral("1|7.5\r\nx"));
    moveTo({1, 2});
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_grid->text(1, 2), QStringLiteral("17.5"));
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(1, 2), QStringLiteral("17.50"));
}

QTEST_MAIN(TestGradeCellRules)
#include "tst_gradecellrules.moc"
