#include "../support/programondisk.h"
#include "modaltools.h"
#include "sheet/plainsheetwindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>

// Grade entry through the real windows and keys: what the in-memory grid of the core tests
// cannot show (the editor, the clipboard, focus and activation, the windows' own keys).

using sheet::GradeSheetWindow;

namespace {

const QString kKey = QStringLiteral("8410203C07120002004"); // two exams: columns 5 and 6
const QString kFile = kKey + QStringLiteral(".xml");
const QString kPlainKey = QStringLiteral("8410203C0712MOY2004");
constexpr int kPupils = 10;
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);

// Ten pupils; only the first has grades (15.00 in column 6, 16.00 in column 5), so that both
// exam columns are shown and the other cells start empty.
QStringList subjectFile()
{
    QStringList lines{QStringLiteral("DEBUT") + kKey +
                          QStringLiteral("|8410203 إعدادية النور        [السابعة أساسي 2] عربية"),
                      QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2")};
    for (int pupil = 1; pupil <= kPupils; ++pupil)
        lines << QStringLiteral("%1|%1|10%2|تلميذ %1").arg(pupil).arg(pupil, 2, 10, QChar(u'0')) +
                     (pupil == 1 ? QStringLiteral("|15.00|16.00") : QString());
    return lines << QStringLiteral("FIN") + kKey + QStringLiteral("|صفاقس|النور|سلمى||6|4");
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestGradeCellRules : public QObject {
    Q_OBJECT

private slots:
    void init() { m_program = std::make_unique<ProgramOnDisk>(); }
    void cleanup() { m_program.reset(); }
    void typedGradeIsCheckedOnLeaving_data();
    void typedGradeIsCheckedOnLeaving();
    void wrapsMarksAndEntryModes();
    void comingBackToTheSheet();
    void functionKeys();
    void plainSheet();

private:
    GradeSheetWindow* openSheet()
    {
        if (!m_program->writeFile(kFile, subjectFile()))
            return nullptr;
        GradeSheetWindow* window = m_program->open(kFile);
        m_grid = window ? window->grid() : nullptr;
        return window;
    }
    // Keys go where the teacher's keys go: the focus (the editor once one is open), else the
    // grid; what they queue (the Enter of a mark) is handled.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::Click, focus ? focus : m_grid, key, text, modifiers);
        QCoreApplication::processEvents();
    }
    // Each character as its own key; "\b" is Backspace, an Arabic letter a key named by its
    // character.
    void typeKeys(const QString& text)
    {
        for (const QChar c : text) {
            if (c == u'\b')
                press(Qt::Key_Backspace, {}, QStringLiteral("\b"));
            else
                press(c.unicode() < 0x80 ? QTest::asciiToKey(char(c.unicode()))
                                         : Qt::Key(c.toUpper().unicode()),
                      {}, QString(c));
        }
    }
    bool isAt(int col, int row) const
    {
        return m_grid->activeCol() == col && m_grid->activeRow() == row;
    }
    void click(int col, int row)
    {
        const QModelIndex index = m_grid->model()->index(row - 1, col - 1);
        m_grid->scrollTo(index);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          m_grid->visualRect(index).center());
    }

    std::unique_ptr<ProgramOnDisk> m_program;
    sheet::SpreadGrid* m_grid = nullptr;
};

void TestGradeCellRules::typedGradeIsCheckedOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave"); // a key, or "click"
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QPoint>("landing"); // (6, 3): the cursor stays
    const auto row = [](const char* name, const QString& typed, const char* leave, const char* cell,
                        const QColor& colour, QPoint landing) {
        QTest::newRow(name) << typed << leave << cell << colour << landing;
    };
    row("grade", "12.5", "Return", "12.50", kWhite, {6, 4});
    row("zero is yellow", "0", "Return", "00.00", kYellow, {6, 4});
    row("nothing typed", "", "Return", "--.--", kWhite, {6, 4});
    row("letters, bar, Arabic, backspace", QStringLiteral("1a|ب2\b5"), "Return", "15.00", kWhite,
        {6, 4});
    row("above twenty stays red", "21", "Return", "21", kRed, {6, 3});
    row("above twenty against a click", "33", "click", "33", kRed, {6, 3});
    row("left", "9.5", "Left", "09.50", kWhite, {5, 3});
    row("click elsewhere", "9.5", "click", "09.50", kWhite, {5, 7});
    // Towards the pupil's name: the click rule brings the cursor back to the grade.
    row("tab", "9.5", "Tab", "09.50", kWhite, {6, 3});
}

void TestGradeCellRules::typedGradeIsCheckedOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    QFETCH(QString, cell);
    QFETCH(QColor, colour);
    QFETCH(QPoint, landing);
    QVERIFY(openSheet());
    m_grid->setActiveCell(6, 3);
    typeKeys(typed);
    if (leave == QLatin1String("click"))
        click(5, 7);
    else
        press(Qt::Key(QKeySequence::fromString(leave)[0].key()));
    QCOMPARE(m_grid->text(6, 3), cell);
    QCOMPARE(m_grid->cellBackColor(6, 3), colour);
    QVERIFY(isAt(landing.x(), landing.y()));
    QCOMPARE(m_grid->text(6, 4), QString()); // nothing spills into the next pupil
}

// A teacher's run through the sheet: a refused grade at the foot of a column, corrected, wraps
// to the next column; a mark over typing moves on and makes the sheet savable; the entry
// mode switched with the mouse gives the keys back to the grid, and horizontal entry wraps
// across rows.
void TestGradeCellRules::wrapsMarksAndEntryModes()
{
    GradeSheetWindow* window = openSheet();
    QVERIFY(window);
    auto* exporter = window->findChild<QPushButton*>(QStringLiteral("saveButton"));
    QVERIFY(!exporter->isEnabled() && !window->isModified());
    typeInto(m_grid, 6, kPupils, QStringLiteral("25"));
    press(Qt::Key_Return);
    QVERIFY(isAt(6, kPupils));
    typeKeys(QStringLiteral("12"));
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(6, kPupils), QStringLiteral("12.00"));
    QCOMPARE(m_grid->cellBackColor(6, kPupils), kWhite);
    QVERIFY(isAt(5, 1));
    typeKeys(QStringLiteral("3"));
    press(Qt::Key_F1);
    QTRY_VERIFY(isAt(5, 2));
    QCOMPARE(m_grid->text(5, 1), QStringLiteral("غ.ش."));
    QCOMPARE(m_grid->text(5, 2), QString());
    QVERIFY(window->isModified() && exporter->isEnabled());

    auto* box = window->findChild<QCheckBox*>(QStringLiteral("verticalEntry"));
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!box->isChecked() && m_grid->hasFocus());
    m_grid->setActiveCell(6, 6);
    for (const char* grade : {"1", "2", "3"}) {
        typeKeys(QString::fromLatin1(grade));
        press(Qt::Key_Return);
    }
    QVERIFY(isAt(5, 7));
    QCOMPARE(m_grid->text(5, 6), QStringLiteral("02.00"));
    QCOMPARE(m_grid->text(6, 7), QStringLiteral("03.00"));
}

// Back from another window the cursor goes to the first grade of the first pupil; the cell
// it leaves is checked on the way, the sheet stays modified, and a refused grade keeps it.
void TestGradeCellRules::comingBackToTheSheet()
{
    GradeSheetWindow* window = openSheet();
    QVERIFY(window);
    const auto goAwayAndBack = [this, window] {
        m_program->window()->activateWindow();
        QVERIFY(QTest::qWaitFor([this] { return m_program->window()->isActiveWindow(); }));
        window->activateWindow();
        QVERIFY(QTest::qWaitFor([window] { return window->isActiveWindow(); }));
    };
    typeInto(m_grid, 6, 3, QStringLiteral("7"));
    goAwayAndBack();
    QVERIFY(isAt(6, 1));
    QCOMPARE(m_grid->text(6, 3), QStringLiteral("07.00"));
    QVERIFY(window->isModified());
    typeInto(m_grid, 5, 4, QStringLiteral("25"));
    goAwayAndBack();
    QVERIFY(isAt(5, 4));
    QCOMPARE(m_grid->cellBackColor(5, 4), kRed);
}

// The window's keys type nothing; F4 follows the save button, and never writes a grade
// above twenty held under the cursor.
void TestGradeCellRules::functionKeys()
{
    GradeSheetWindow* window = openSheet();
    QVERIFY(window);
    const QByteArray original = bytesOf(m_program->filePath(kFile));
    QObject context;
    whenModalOpens(&context, [](QWidget* box) { box->close(); });
    m_grid->setActiveCell(6, 2);
    press(Qt::Key_F4); // the save button is disabled
    QVERIFY(!window->isSaved());
    typeKeys(QStringLiteral("3"));
    press(Qt::Key_Return);
    // A grade cell holding what a file held: "3e1" reads as thirty.
    m_grid->setText(6, 5, QStringLiteral("3e1"));
    m_grid->setActiveCell(6, 5);
    press(Qt::Key_F4);
    QVERIFY(!window->isSaved() && isAt(6, 5));
    QCOMPARE(bytesOf(m_program->filePath(kFile)), original);
    typeKeys(QStringLiteral("14"));
    press(Qt::Key_F4);
    QVERIFY(window->isSaved() && !window->isModified());
    QVERIFY(bytesOf(m_program->filePath(kFile)) != original);
    QCOMPARE(m_grid->text(6, 5), QStringLiteral("14.00"));
    m_grid->setActiveCell(6, 7);
    typeKeys(QStringLiteral("5"));
    for (Qt::Key key : {Qt::Key_F8, Qt::Key_F9, Qt::Key_F12})
        press(key);
    QVERIFY(isAt(6, 7) && window->isVisible());
    QCOMPARE(m_grid->text(6, 7), QStringLiteral("5"));
}

// The plain sheet: marks in the one grade column, no window key does anything, a paste is
// filtered, and its save button writes nothing but says so.
void TestGradeCellRules::plainSheet()
{
    QStringList lines{QStringLiteral("DEBUT") + kPlainKey + QStringLiteral("|المعدلات"),
                      QStringLiteral("TYPEEPREUVE:|المعدل السنوي")};
    for (int pupil = 1; pupil <= kPupils; ++pupil)
        lines << QStringLiteral("%1|%1|10%1|اسم %1|لقب %1|1%1.25").arg(pupil);
    lines << QStringLiteral("FIN") + kPlainKey + QStringLiteral("|x");
    const QString fileName = kPlainKey + QStringLiteral(".xml");
    QVERIFY(m_program->writeFile(fileName, lines));
    m_program->open(fileName);
    QPointer<sheet::PlainSheetWindow> window = m_program->window()->plainSheet();
    QVERIFY(window && QTest::qWaitFor([window] { return window->isActiveWindow(); }));
    m_grid = window->grid();
    m_grid->setFocus();
    const QByteArray before = bytesOf(m_program->filePath(fileName));

    m_grid->setActiveCell(1, 4);
    press(Qt::Key_F2);
    QTRY_VERIFY(isAt(1, 5));
    QCOMPARE(m_grid->text(1, 4), QStringLiteral("معفى"));
    QCOMPARE(m_grid->text(2, 4), QStringLiteral("لقب 4"));
    QGuiApplication::clipboard()->setText(QStringLiteral("1|7.5\r\nx"));
    press(Qt::Key_V, Qt::ControlModifier);
    press(Qt::Key_Return);
    QCOMPARE(m_grid->text(1, 5), QStringLiteral("17.50"));

    QObject context;
    QString notice;
    whenModalOpens(&context, [&notice](QWidget* box) {
        auto* message = qobject_cast<QMessageBox*>(box);
        notice = message ? message->text() : box->windowTitle();
        box->close();
    });
    for (Qt::Key key : {Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8}) {
        press(key);
        QVERIFY(window && window->isVisible() && isAt(1, 6));
    }
    QVERIFY(notice.isEmpty());
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("saveButton")),
                      Qt::LeftButton);
    QTRY_VERIFY(!notice.isEmpty());
    QCOMPARE(bytesOf(m_program->filePath(fileName)), before);
    QCOMPARE(QDir(m_program->diskPath()).entryList(QDir::Files), QStringList{fileName});
}

QTEST_MAIN(TestGradeCellRules)
#include "tst_gradecellrules.moc"
