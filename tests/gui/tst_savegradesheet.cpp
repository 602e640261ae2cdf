#include "../support/dialoganswers.h"
#include "../support/realdisk.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "modaltools.h"
#include "print/cardtexts.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"
#include "ui/notice.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

using gradefile::FileError;
using gradefile::FileErrorKind;
using gradefile::WriteStep;
using sheet::GradeSheetWindow;

namespace {

const QString kKey = QStringLiteral("8410203C07120002004");
const QString kFileName = kKey + QStringLiteral(".xml");
const QString kCaption = QStringLiteral("8410203 إعدادية النور        "
                                        "[السابعة أساسي 2] عربية - الثلاثي الأول");
const QString kMainCaption = QStringLiteral("معاينة محتوى القرص المرن");
const QString kInsertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
const QString kWriteProtected = QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي");
const QString kUnforeseenTail =
    QStringLiteral("\r Erreur non gérer : Merci De Signaler Cette Erreur à L'équipe Noravel ");
const QString kSaveQuestion = QStringLiteral("حفظ التغييرات") + QString(15, u' ');
const QColor kBlue(0, 0, 255);

// The end line as the save writes it: an empty field before the two counters.
QString writtenEndLine(int save, int print)
{
    return QStringLiteral("FIN%1|صفاقس|النور|سلمى||%2|%3").arg(kKey).arg(save).arg(print);
}

// An end line whose fifth and sixth fields are read as the save and print counters.
QString endLine(int save, int print)
{
    return QStringLiteral("FIN%1|صفاقس|النور|سلمى|%2|%3").arg(kKey).arg(save).arg(print);
}

// Three pupils and three exams; the caption carries trailing blanks that the save drops.
QStringList threePupils(int save = 0, int print = 4)
{
    return {QStringLiteral("DEBUT") + kKey + u'|' + kCaption + QStringLiteral("   "),
            QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2|تأليفي"),
            QStringLiteral("1|1|1001|أحمد الكافي|12.50|--.--|"),
            QStringLiteral("2|2|1002|مريم التونسي|07.00||غ.ش."),
            QStringLiteral("3|3|1003|سامي \"الصغير\" & أخوه|||معفى"),
            endLine(save, print)};
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every name in the folder, hidden ones included: a failed save leaves no temporary file.
QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Makes one step of the disk write fail once, as a damaged or missing disk would; the
// step runs normally when it comes again.
class StepFault : public gradefile::WriteFaultInjector {
public:
    StepFault(WriteStep step, FileErrorKind kind) : m_step(step), m_kind(kind) {}
    std::optional<FileError> failAt(WriteStep step) const override
    {
        if (step != m_step || m_spent)
            return std::nullopt;
        m_spent = true;
        return gradefile::makeFileError(m_kind, QStringLiteral("injected failure"));
    }

private:
    WriteStep m_step;
    FileErrorKind m_kind;
    mutable bool m_spent = false;
};

// The disk gives back other bytes than those written.
class AlteredReadBack : public gradefile::WriteFaultInjector {
public:
    std::optional<FileError> failAt(WriteStep) const override { return std::nullopt; }
    void alterReadBack(QByteArray& bytes) const override
    {
        if (!bytes.isEmpty())
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
    }
};

// The disk is pulled out of the drive once the temporary file is written and checked,
// just before it would replace the old file.
class PullOutBeforeReplace : public gradefile::WriteFaultInjector {
public:
    explicit PullOutBeforeReplace(TmpfsMount& disk) : m_disk(disk) {}
    std::optional<FileError> failAt(WriteStep step) const override
    {
        if (step == WriteStep::Replace)
            m_disk.pullOut();
        return std::nullopt;
    }

private:
    TmpfsMount& m_disk;
};

// A second view of a mounted disk, kept while the disk is pulled from its first place, so
// that the test still sees what the pulled disk holds.
class BindMount {
public:
    BindMount(const QString& from, const QString& to)
        : m_to(QFile::encodeName(to)),
          m_mounted(::mount(QFile::encodeName(from).constData(), m_to.constData(), nullptr, MS_BIND,
                            nullptr) == 0)
    {}
    ~BindMount()
    {
        if (m_mounted)
            ::umount2(m_to.constData(), MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }

private:
    QByteArray m_to;
    bool m_mounted;
};

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestSaveGradeSheet : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void observationsReachTheFileAndComeBack();

    void savedBytesMatchTheKnownSheet();
    void reopenedSheetShowsWhatWasSaved();
    void saveCounter_data();
    void saveCounter();
    void sheetWithoutPupilsWritesThreeLines();
    void currentCellChecked_data();
    void currentCellChecked();
    void gradeAboveTwentyLeftForAnotherWindow();

    void missingDiskAnsweredByCloseBox();
    void missingDiskPutBackAndRetried();
    void writeProtectedDisk();
    void fullDisk();
    void diskPulledBeforeReplacement();
    void diskPulledOutForReal_data();
    void diskPulledOutForReal();
    void readBackDiffers();
    void lineTooLong_data();
    void lineTooLong();
    void saveCounterAtItsLimit();
    void failedSaveUsesNoSaveNumber();

    void quitAsksAboutUnsavedGrades_data();
    void quitAsksAboutUnsavedGrades();
    void quitWithoutChangesAsksNothing();
    void closeBoxQuitsAndAsksOnce_data();
    void closeBoxQuitsAndAsksOnce();
    void marksAloneAreUnsavedGrades_data();
    void marksAloneAreUnsavedGrades();
    void modifiedFlagSurvivesReactivation();
    void endingTheProgramAsksFirst_data();
    void endingTheProgramAsksFirst();

private:
    QString filePath() const { return QDir(m_diskPath).filePath(kFileName); }
    void write(const QStringList& lines);
    // Scans the disk and double-clicks the line of the grade file.
    void open();
    GradeSheetWindow* sheetWindow() const { return m_window->gradeSheet(); }
    sheet::SpreadGrid* grid() const { return sheetWindow()->grid(); }
    // Types text into a cell as the teacher does; the cell stays open under the cursor.
    void type(int col, int row, const QString& text);
    void pressKey(Qt::Key key) { QTest::keyClick(grid(), key); }
    QTreeWidgetItem* listLine() const;
    bool listLineIsBoldBlue() const;
    // The sheet after a save that failed: nothing of the teacher's work is lost and the
    // old file is exactly as it was.
    void verifyNothingLost(const QByteArray& oldBytes, const gradefile::SheetTable& grades);

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_diskPath;
    app::AppState m_appState;
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<app::MainWindow> m_window;
    int m_quitCalls = 0;
    qint16 m_openedSaveNumber = 0;
};

void TestSaveGradeSheet::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_diskPath = m_root->filePath(QStringLiteral("A"));
    QVERIFY(QDir().mkdir(m_diskPath));
    m_appState = app::AppState{true};
    m_sheetState = sheet::SheetState{};
    m_cardTexts = print::CardTexts{};
    m_quitCalls = 0;
    m_window = std::make_unique<app::MainWindow>(m_appState, m_sheetState, m_cardTexts, m_diskPath);
    m_window->setQuitAction([this] { ++m_quitCalls; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestSaveGradeSheet::cleanup()
{
    m_window.reset();
    m_root.reset();
}

void TestSaveGradeSheet::write(const QStringList& lines)
{
    QVERIFY(gradefile::writeGradeFile(filePath(), lines).ok);
}

void TestSaveGradeSheet::open()
{
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    const QList<QTreeWidgetItem*> lines = list->findItems(kFileName, Qt::MatchExactly, 2);
    QCOMPARE(lines.size(), 1);
    list->setCurrentItem(lines.first());
    m_window->openSelectedFile();
    QVERIFY(sheetWindow());
    m_openedSaveNumber = m_cardTexts.saveNumber;
    // The activation puts the cursor on the first grade: wait for it before typing.
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
}

void TestSaveGradeSheet::type(int col, int row, const QString& text)
{
    grid()->setActiveCell(col, row);
    QTest::keyClicks(grid(), text);
}

QTreeWidgetItem* TestSaveGradeSheet::listLine() const
{
    const QList<QTreeWidgetItem*> lines =
        m_window->fileList()->findItems(kFileName, Qt::MatchExactly, 2);
    return lines.size() == 1 ? lines.first() : nullptr;
}

bool TestSaveGradeSheet::listLineIsBoldBlue() const
{
    const QTreeWidgetItem* line = listLine();
    return line && line->font(1).bold() && line->font(2).bold() &&
           line->foreground(1).color() == kBlue && line->foreground(2).color() == kBlue;
}

void TestSaveGradeSheet::verifyNothingLost(const QByteArray& oldBytes,
                                           const gradefile::SheetTable& grades)
{
    QVERIFY(sheetWindow());
    QVERIFY(sheetWindow()->isVisible());
    QCOMPARE(readBytes(filePath()), oldBytes);
    QVERIFY(sheetWindow()->sheetTable() == grades);
    QVERIFY(!sheetWindow()->isSaved());
    // Nothing was written, so no save number was used: the next save writes the one that
    // follows the file's.
    QCOMPARE(m_cardTexts.saveNumber, m_openedSaveNumber);
    QVERIFY(listLine());
    QVERIFY(listLine()->foreground(2).color() != kBlue);
    QVERIFY(!listLine()->font(2).bold());
    // The message closed, the teacher is back on the sheet: its grades are still unsaved.
    sheetWindow()->activateWindow();
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
    QVERIFY(sheetWindow()->isModified());
}

// Typed grades, the marks read from the file, the caption without its trailing blanks
// and the raised save counter, written byte for byte as the known file.
void TestSaveGradeSheet::savedBytesMatchTheKnownSheet()
{
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("9"));
    pressKey(Qt::Key_Up); // leaving the cell rewrites it as 09.00
    type(5, 2, QStringLiteral("14.50"));
    QVERIFY(sheetWindow()->isModified());
    DialogAnswers answers({});
    pressKey(Qt::Key_F4);

    QCOMPARE(readBytes(filePath()),
             readBytes(QStringLiteral(SAISIE_TEST_DATA_DIR "/saved/three-pupils.xml")));
    QCOMPARE(folderEntries(m_diskPath), QStringList{kFileName});
    QCOMPARE(answers.shown.size(), 0);
    QVERIFY(sheetWindow()->isSaved());
    QVERIFY(!sheetWindow()->isModified());
    QCOMPARE(m_cardTexts.saveNumber, qint16(5));
    QVERIFY(listLineIsBoldBlue());
}

void TestSaveGradeSheet::reopenedSheetShowsWhatWasSaved()
{
    write(threePupils());
    open();
    type(4, 1, QStringLiteral("18.75"));
    type(6, 3, QStringLiteral("00.00"));
    pressKey(Qt::Key_F4);
    QVERIFY(sheetWindow()->isSaved());
    const gradefile::SheetTable saved = sheetWindow()->sheetTable();
    QPointer<GradeSheetWindow> first = sheetWindow();

    open();
    QTRY_VERIFY(!first);
    QVERIFY(sheetWindow()->sheetTable() == saved);
    QCOMPARE(grid()->text(4, 1), QStringLiteral("18.75"));
    QCOMPARE(grid()->text(6, 3), QStringLiteral("00.00"));
    QCOMPARE(sheetWindow()->windowTitle(), kCaption);
    QCOMPARE(int(sheetWindow()->gradeSpan()), 2);
    // The empty field the save writes before the counters shifts them on reading.
    QCOMPARE(m_cardTexts.saveNumber, qint16(0));
    QCOMPARE(m_cardTexts.printNumber, qint16(5));
}

void TestSaveGradeSheet::saveCounter_data()
{
    QTest::addColumn<int>("readSave");
    QTest::addColumn<int>("readPrint");
    QTest::addColumn<int>("firstSave");
    QTest::newRow("never saved, printed 4 times") << 0 << 4 << 5;
    QTest::newRow("saved more often than printed") << 7 << 4 << 8;
    QTest::newRow("equal counters") << 3 << 3 << 4;
}

// The second save writes the same file but for a save number one higher.
void TestSaveGradeSheet::saveCounter()
{
    QFETCH(int, readSave);
    QFETCH(int, readPrint);
    QFETCH(int, firstSave);
    write(threePupils(readSave, readPrint));
    open();
    type(6, 3, QStringLiteral("11.00"));
    pressKey(Qt::Key_F4);
    const QByteArray first = readBytes(filePath());
    QVERIFY(first.contains(writtenEndLine(firstSave, readPrint).toUtf8()));
    pressKey(Qt::Key_F4);
    const QByteArray second = readBytes(filePath());
    QByteArray expected = first;
    expected.replace(writtenEndLine(firstSave, readPrint).toUtf8(),
                     writtenEndLine(firstSave + 1, readPrint).toUtf8());
    QCOMPARE(second, expected);
    QCOMPARE(int(m_cardTexts.saveNumber), firstSave + 1);
    QCOMPARE(int(m_cardTexts.printNumber), readPrint);
}

void TestSaveGradeSheet::sheetWithoutPupilsWritesThreeLines()
{
    write({QStringLiteral("DEBUT") + kKey + u'|' + kCaption,
           QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2"), endLine(2, 1)});
    open();
    QCOMPARE(grid()->maxRows(), 0);
    QVERIFY(sheetWindow()->save());
    const gradefile::GradeFileRead read = gradefile::readGradeFile(filePath());
    QVERIFY(read.lines);
    QCOMPARE(*read.lines,
             (QStringList{QStringLiteral("DEBUT") + kKey + u'|' + kCaption,
                          QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2"), writtenEndLine(3, 1)}));
}

void TestSaveGradeSheet::currentCellChecked_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("placed"); // set by the program, not typed
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("stored"); // the cell, and the file, after a save
    QTest::newRow("25 typed, not yet left") << 6 << "25"
                                            << "" << false << "";
    QTest::newRow("20.5 in the last exam") << 4 << "20.5"
                                           << "" << false << "";
    QTest::newRow("20.01") << 5 << "20.01"
                           << "" << false << "";
    QTest::newRow("exactly 20") << 6 << "20"
                                << "" << true << "20.00";
    QTest::newRow("7 is written as a grade") << 6 << "7"
                                             << "" << true << "07.00";
    QTest::newRow("20.00") << 5 << "20.00"
                           << "" << true << "20.00";
    QTest::newRow("no-grade mark") << 6 << ""
                                   << "--.--" << true << "--.--";
    QTest::newRow("column 7 is not a grade") << 7 << ""
                                             << "30 سامي" << true << "30 سامي";
    // A grade cell holds what the file held; its number is read as the administration's
    // system reads it.
    QTest::newRow("file's 3e1 is thirty") << 6 << ""
                                          << "3e1" << false << "";
}

void TestSaveGradeSheet::currentCellChecked()
{
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, placed);
    QFETCH(bool, written);
    QFETCH(QString, stored);
    write(threePupils());
    open();
    const QByteArray oldBytes = readBytes(filePath());
    type(6, 1, QStringLiteral("1")); // something to save in any case
    if (!placed.isEmpty()) {
        grid()->setText(col, 2, placed);
        grid()->setActiveCell(col, 2);
    } else {
        type(col, 2, typed);
    }
    const QString underCursor = grid()->activeText();
    DialogAnswers answers({});
    sheetWindow()->save();

    QCOMPARE(answers.shown.size(), 0);
    QCOMPARE(grid()->activeCol(), col);
    QCOMPARE(grid()->activeRow(), 2);
    QCOMPARE(sheetWindow()->isSaved(), written);
    QCOMPARE(sheetWindow()->isModified(), !written);
    if (written) {
        // The grade under the cursor is checked as if the cursor had left it.
        QCOMPARE(grid()->text(col, 2), stored);
        const gradefile::GradeFileRead read = gradefile::readGradeFile(filePath());
        QVERIFY(read.lines);
        QCOMPARE(read.lines->at(3).split(u'|').at(3 + 7 - col), stored);
    } else {
        QCOMPARE(grid()->text(col, 2), underCursor);
        QCOMPARE(readBytes(filePath()), oldBytes);
        QCOMPARE(sheetWindow()->focusWidget(), static_cast<QWidget*>(grid()));
        QVERIFY(!listLineIsBoldBlue());
    }
}

// A grade above twenty typed, then the teacher goes to the main window and back: the
// grade never reaches the file.
void TestSaveGradeSheet::gradeAboveTwentyLeftForAnotherWindow()
{
    write(threePupils());
    open();
    const QByteArray oldBytes = readBytes(filePath());
    type(6, 2, QStringLiteral("25"));
    m_window->activateWindow();
    QTRY_VERIFY(m_window->isActiveWindow());
    sheetWindow()->activateWindow();
    QTRY_VERIFY(sheetWindow()->isActiveWindow());

    DialogAnswers answers({});
    sheetWindow()->save();
    QCOMPARE(answers.shown.size(), 0);
    QCOMPARE(readBytes(filePath()), oldBytes);
    QVERIFY(!sheetWindow()->isSaved());
    QVERIFY(sheetWindow()->isModified());
    QCOMPARE(grid()->text(6, 2), QStringLiteral("25"));
}

// The disk taken out of the drive: the question asks for it, titled with the main
// window's caption; its close box ends the save.
void TestSaveGradeSheet::missingDiskAnsweredByCloseBox()
{
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    const QString outOfDrive = m_root->filePath(QStringLiteral("out"));
    QVERIFY(QDir().rename(m_diskPath, outOfDrive));

    DialogAnswers answers({Answer::CloseBox});
    pressKey(Qt::Key_F4);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].text, kInsertDisk);
    QCOMPARE(answers.shown[0].title, kMainCaption);
    QVERIFY(answers.shown[0].isQuestionDialog);
    QVERIFY(!answers.shown[0].question);

    QVERIFY(QDir().rename(outOfDrive, m_diskPath));
    verifyNothingLost(oldBytes, grades);
    QCOMPARE(folderEntries(m_diskPath), QStringList{kFileName});
}

// Yes with the drive still empty asks again; once the disk is back, Yes writes the file.
void TestSaveGradeSheet::missingDiskPutBackAndRetried()
{
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QString outOfDrive = m_root->filePath(QStringLiteral("out"));
    QVERIFY(QDir().rename(m_diskPath, outOfDrive));

    DialogAnswers answers({Answer::Yes, Answer::Yes}, [&](int index) {
        if (index == 1)
            QDir().rename(outOfDrive, m_diskPath);
    });
    pressKey(Qt::Key_F4);
    QCOMPARE(answers.shown.size(), 2);
    QCOMPARE(answers.shown[1].text, kInsertDisk);
    QCOMPARE(answers.shown[1].title, kMainCaption);
    QVERIFY(sheetWindow()->isSaved());
    QVERIFY(!sheetWindow()->isModified());
    QVERIFY(listLineIsBoldBlue());
    const gradefile::GradeFileRead read = gradefile::readGradeFile(filePath());
    QVERIFY(read.lines);
    QCOMPARE(read.lines->at(4), QStringLiteral("3|3|1003|سامي \"الصغير\" & أخوه|13.00||معفى"));
    QCOMPARE(folderEntries(m_diskPath), QStringList{kFileName});
}

void TestSaveGradeSheet::writeProtectedDisk()
{
    TmpfsMount disk(m_diskPath, "size=1m");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + disk.error()));
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    QVERIFY(disk.makeReadOnly());

    DialogAnswers answers({Answer::Yes});
    pressKey(Qt::Key_F4);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].text, kWriteProtected);
    QCOMPARE(answers.shown[0].title, ui::kProgramTitle);
    verifyNothingLost(oldBytes, grades);
    QCOMPARE(folderEntries(m_diskPath), QStringList{kFileName});

    // The protection removed, the same grades save.
    QCOMPARE(
        ::mount("tmpfs", QFile::encodeName(m_diskPath).constData(), "tmpfs", MS_REMOUNT, "size=1m"),
        0);
    pressKey(Qt::Key_F4);
    QVERIFY(sheetWindow()->isSaved());
    QVERIFY(readBytes(filePath()).contains("|13.00||"));
}

void TestSaveGradeSheet::fullDisk()
{
    TmpfsMount disk(m_diskPath, "size=64k");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + disk.error()));
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    {
        QFile filler(QDir(m_diskPath).filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
    }

    DialogAnswers answers({Answer::Yes});
    pressKey(Qt::Key_F4);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].title, ui::kProgramTitle);
    QVERIFY2(answers.shown[0].text.startsWith(QStringLiteral("61 ")),
             qPrintable(answers.shown[0].text));
    QVERIFY(answers.shown[0].text.endsWith(kUnforeseenTail));
    verifyNothingLost(oldBytes, grades);
    QCOMPARE(folderEntries(m_diskPath), (QStringList{kFileName, QStringLiteral("filler")}));

    QVERIFY(QFile::remove(QDir(m_diskPath).filePath(QStringLiteral("filler"))));
    pressKey(Qt::Key_F4);
    QVERIFY(sheetWindow()->isSaved());
}

// The disk is gone when the new file would take the old one's place.
void TestSaveGradeSheet::diskPulledBeforeReplacement()
{
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    const StepFault pulled(WriteStep::Replace, FileErrorKind::NoDisk);
    sheetWindow()->setWriteFaults(&pulled);

    DialogAnswers answers({Answer::CloseBox});
    pressKey(Qt::Key_F4);
    sheetWindow()->setWriteFaults(nullptr);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].text, kInsertDisk);
    QCOMPARE(answers.shown[0].title, kMainCaption);
    verifyNothingLost(oldBytes, grades);
    QCOMPARE(folderEntries(m_diskPath), QStringList{kFileName});
}

void TestSaveGradeSheet::diskPulledOutForReal_data()
{
    QTest::addColumn<bool>("putBack");
    QTest::newRow("question closed") << false;
    QTest::newRow("disk put back, yes") << true;
}

// A real disk pulled between the checked temporary write and the replacement; a second
// view of the disk shows what it holds once out of the drive.
void TestSaveGradeSheet::diskPulledOutForReal()
{
    QFETCH(bool, putBack);
    TmpfsMount disk(m_diskPath, "size=1m");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + disk.error()));
    const QString outOfDrive = m_root->filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkdir(outOfDrive));
    BindMount view(m_diskPath, outOfDrive);
    QVERIFY(view.isMounted());
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    const PullOutBeforeReplace pull(disk);
    sheetWindow()->setWriteFaults(&pull);

    std::unique_ptr<BindMount> backInDrive;
    DialogAnswers answers({putBack ? Answer::Yes : Answer::CloseBox}, [&](int) {
        QCOMPARE(readBytes(QDir(outOfDrive).filePath(kFileName)), oldBytes);
        if (putBack) {
            sheetWindow()->setWriteFaults(nullptr);
            backInDrive = std::make_unique<BindMount>(outOfDrive, m_diskPath);
        }
    });
    pressKey(Qt::Key_F4);
    sheetWindow()->setWriteFaults(nullptr);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].text, kInsertDisk);
    if (!putBack) {
        QCOMPARE(readBytes(QDir(outOfDrive).filePath(kFileName)), oldBytes);
        QVERIFY(sheetWindow()->isModified());
        QVERIFY(!sheetWindow()->isSaved());
        QVERIFY(sheetWindow()->sheetTable() == grades);
        QVERIFY(!listLineIsBoldBlue());
        return;
    }
    QVERIFY(backInDrive && backInDrive->isMounted());
    QVERIFY(sheetWindow()->isSaved());
    QVERIFY(listLineIsBoldBlue());
    QVERIFY(readBytes(filePath()).contains("|13.00||"));
}

void TestSaveGradeSheet::readBackDiffers()
{
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    const AlteredReadBack damaged;
    sheetWindow()->setWriteFaults(&damaged);

    DialogAnswers answers({Answer::Yes});
    pressKey(Qt::Key_F4);
    sheetWindow()->setWriteFaults(nullptr);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].title, ui::kProgramTitle);
    QVERIFY2(answers.shown[0].text.startsWith(QStringLiteral("51 ")),
             qPrintable(answers.shown[0].text));
    QVERIFY(answers.shown[0].text.contains(QStringLiteral("d'autres octets")));
    QVERIFY(answers.shown[0].text.endsWith(kUnforeseenTail));
    verifyNothingLost(oldBytes, grades);
    QCOMPARE(folderEntries(m_diskPath), QStringList{kFileName});
}

void TestSaveGradeSheet::lineTooLong_data()
{
    QTest::addColumn<bool>("longCaption");
    QTest::addColumn<int>("line");
    QTest::newRow("start line: caption") << true << 1;
    QTest::newRow("pupil line: a name the file cannot hold") << false << 5;
}

void TestSaveGradeSheet::lineTooLong()
{
    QFETCH(bool, longCaption);
    QFETCH(int, line);
    write(threePupils());
    open();
    const QByteArray oldBytes = readBytes(filePath());
    if (longCaption) {
        type(6, 3, QStringLiteral("13.00"));
        sheetWindow()->setWindowTitle(QString(290, u'ع'));
    } else {
        grid()->setText(7, 3, QString(290, u'ع'));
        type(6, 3, QStringLiteral("13.50")); // a grade under the cursor
    }
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();

    DialogAnswers answers({Answer::Yes});
    pressKey(Qt::Key_F4);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].title, ui::kProgramTitle);
    QVERIFY2(answers.shown[0].text.contains(QStringLiteral("La ligne %1 a").arg(line)),
             qPrintable(answers.shown[0].text));
    QVERIFY(answers.shown[0].text.contains(QStringLiteral("au plus 300")));
    verifyNothingLost(oldBytes, grades);
    QCOMPARE(folderEntries(m_diskPath), QStringList{kFileName});
}

// A save counter that cannot be raised any more is reported as the overflow it is, the
// same error the opening reports for a counter out of range.
void TestSaveGradeSheet::saveCounterAtItsLimit()
{
    write(threePupils(0, 32767));
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();

    DialogAnswers answers({Answer::Yes});
    pressKey(Qt::Key_F4);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].title, ui::kProgramTitle);
    QVERIFY2(answers.shown[0].text.startsWith(QStringLiteral("6 Dépassement de capacité")),
             qPrintable(answers.shown[0].text));
    QVERIFY(answers.shown[0].text.endsWith(kUnforeseenTail));
    verifyNothingLost(oldBytes, grades);
}

// A save that wrote nothing leaves no gap in the save numbers: the next good save writes
// the number that follows the file's.
void TestSaveGradeSheet::failedSaveUsesNoSaveNumber()
{
    write(threePupils(0, 4));
    open();
    type(6, 3, QStringLiteral("13.00"));
    const StepFault fault(WriteStep::WriteTemporary, FileErrorKind::DiskFull);
    sheetWindow()->setWriteFaults(&fault);
    {
        DialogAnswers answers({Answer::Yes});
        pressKey(Qt::Key_F4);
        QCOMPARE(answers.shown.size(), 1);
    }
    sheetWindow()->setWriteFaults(nullptr);
    sheetWindow()->activateWindow();
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
    pressKey(Qt::Key_F4);
    QVERIFY(sheetWindow()->isSaved());
    QVERIFY(readBytes(filePath()).contains(writtenEndLine(5, 4).toUtf8()));
}

void TestSaveGradeSheet::quitAsksAboutUnsavedGrades_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("failure"); // "", "disk" or "above twenty"
    QTest::addColumn<bool>("closes");
    QTest::newRow("no") << Answer::No << "" << true;
    QTest::newRow("question closed") << Answer::CloseBox << "" << true;
    QTest::newRow("yes") << Answer::Yes << "" << true;
    QTest::newRow("yes, the save fails") << Answer::Yes << "disk" << false;
    QTest::newRow("yes, a grade above twenty") << Answer::Yes << "above twenty" << false;
}

void TestSaveGradeSheet::quitAsksAboutUnsavedGrades()
{
    QFETCH(Answer, answer);
    QFETCH(QString, failure);
    QFETCH(bool, closes);
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    if (failure == QLatin1String("above twenty"))
        type(5, 1, QStringLiteral("21"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    const StepFault fault(WriteStep::WriteTemporary, FileErrorKind::DiskFull);
    if (failure == QLatin1String("disk"))
        sheetWindow()->setWriteFaults(&fault);
    QPointer<GradeSheetWindow> window = sheetWindow();
    const QString caption = window->windowTitle();
    m_window->hide();

    DialogAnswers answers({answer, Answer::Yes});
    window->findChild<QPushButton*>(QStringLiteral("quitButton"))->click();
    QVERIFY(!answers.shown.isEmpty());
    QCOMPARE(answers.shown[0].text, kSaveQuestion);
    QCOMPARE(answers.shown[0].title, caption);
    QVERIFY(answers.shown[0].question);
    QCOMPARE(answers.questionsAsked(kSaveQuestion), 1);
    QCOMPARE(answers.shown.size(), failure == QLatin1String("disk") ? 2 : 1);
    if (!closes) {
        QVERIFY(window);
        window->setWriteFaults(nullptr);
        verifyNothingLost(oldBytes, grades);
        return;
    }
    QTRY_VERIFY(!window);
    QVERIFY(m_window->isVisible());
    if (answer == Answer::Yes) {
        QVERIFY(readBytes(filePath()).contains("|13.00||"));
        QVERIFY(listLineIsBoldBlue());
    } else {
        QCOMPARE(readBytes(filePath()), oldBytes);
    }
}

void TestSaveGradeSheet::quitWithoutChangesAsksNothing()
{
    write(threePupils());
    open();
    QPointer<GradeSheetWindow> window = sheetWindow();
    DialogAnswers answers({});
    pressKey(Qt::Key_F5);
    QTRY_VERIFY(!window);
    QCOMPARE(answers.shown.size(), 0);
}

void TestSaveGradeSheet::closeBoxQuitsAndAsksOnce_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("failingDisk");
    QTest::newRow("no") << Answer::No << false;
    QTest::newRow("yes") << Answer::Yes << false;
    QTest::newRow("yes, the save fails") << Answer::Yes << true;
}

void TestSaveGradeSheet::closeBoxQuitsAndAsksOnce()
{
    QFETCH(Answer, answer);
    QFETCH(bool, failingDisk);
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    const AlteredReadBack damaged;
    if (failingDisk)
        sheetWindow()->setWriteFaults(&damaged);
    QPointer<GradeSheetWindow> window = sheetWindow();
    const QString caption = window->windowTitle();
    m_window->hide();

    DialogAnswers answers({answer, Answer::Yes});
    const bool closed = window->close();
    QCOMPARE(answers.questionsAsked(kSaveQuestion), 1);
    QCOMPARE(answers.shown[0].title, caption);
    QCOMPARE(closed, !failingDisk);
    if (failingDisk) {
        QCOMPARE(answers.shown.size(), 2);
        window->setWriteFaults(nullptr);
        verifyNothingLost(oldBytes, grades);
        return;
    }
    QCOMPARE(answers.shown.size(), 1);
    QTRY_VERIFY(!window);
    QVERIFY(m_window->isVisible());
    QCOMPARE(readBytes(filePath()) != oldBytes, answer == Answer::Yes);
}

void TestSaveGradeSheet::marksAloneAreUnsavedGrades_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("line"); // pupil row 2 as written
    QTest::newRow("F1") << int(Qt::Key_F1) << QStringLiteral("2|2|1002|مريم التونسي|غ.ش.||غ.ش.");
    QTest::newRow("F2") << int(Qt::Key_F2)
                        << QStringLiteral("2|2|1002|مريم التونسي|معفى|معفى|معفى");
    QTest::newRow("F3") << int(Qt::Key_F3) << QStringLiteral("2|2|1002|مريم التونسي|--.--||غ.ش.");
}

// A mark is the teacher's entry as much as a typed grade: quitting asks about it.
void TestSaveGradeSheet::marksAloneAreUnsavedGrades()
{
    QFETCH(int, key);
    QFETCH(QString, line);
    write(threePupils());
    open();
    grid()->setActiveCell(6, 2);
    pressKey(Qt::Key(key));
    // The Enter keystrokes the mark keys queue.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(sheetWindow()->isModified());
    QPointer<GradeSheetWindow> window = sheetWindow();

    DialogAnswers answers({Answer::Yes});
    window->findChild<QPushButton*>(QStringLiteral("quitButton"))->click();
    QCOMPARE(answers.questionsAsked(kSaveQuestion), 1);
    QTRY_VERIFY(!window);
    const gradefile::GradeFileRead read = gradefile::readGradeFile(filePath());
    QVERIFY(read.lines);
    QCOMPARE(read.lines->at(3), line);
}

// Going to the main window and back puts the cursor on the first grade; the grades
// typed before stay unsaved.
void TestSaveGradeSheet::modifiedFlagSurvivesReactivation()
{
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    grid()->setActiveCell(6, 2);
    m_window->activateWindow();
    QTRY_VERIFY(m_window->isActiveWindow());
    sheetWindow()->activateWindow();
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
    QCOMPARE(grid()->activeCol(), 6);
    QCOMPARE(grid()->activeRow(), 1);
    QVERIFY(sheetWindow()->isModified());

    QPointer<GradeSheetWindow> window = sheetWindow();
    DialogAnswers answers({Answer::Yes});
    pressKey(Qt::Key_F5);
    QCOMPARE(answers.questionsAsked(kSaveQuestion), 1);
    QTRY_VERIFY(!window);
    QVERIFY(readBytes(filePath()).contains("|13.00|"));
}

void TestSaveGradeSheet::endingTheProgramAsksFirst_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("failingDisk");
    QTest::addColumn<bool>("ends");
    for (const char* way : {"quit button", "menu", "close box"}) {
        QTest::addRow("%s, no", way) << way << Answer::No << false << true;
        QTest::addRow("%s, yes", way) << way << Answer::Yes << false << true;
        QTest::addRow("%s, yes, the save fails", way) << way << Answer::Yes << true << false;
    }
}

void TestSaveGradeSheet::endingTheProgramAsksFirst()
{
    QFETCH(QString, way);
    QFETCH(Answer, answer);
    QFETCH(bool, failingDisk);
    QFETCH(bool, ends);
    write(threePupils());
    open();
    type(6, 3, QStringLiteral("13.00"));
    const QByteArray oldBytes = readBytes(filePath());
    const gradefile::SheetTable grades = sheetWindow()->sheetTable();
    const StepFault fault(WriteStep::Replace, FileErrorKind::PermissionDenied);
    if (failingDisk)
        sheetWindow()->setWriteFaults(&fault);
    QPointer<GradeSheetWindow> window = sheetWindow();
    const QString caption = window->windowTitle();

    DialogAnswers answers({answer, Answer::Yes});
    bool closed = false;
    if (way == QLatin1String("quit button"))
        m_window->findChild<QPushButton*>(QStringLiteral("quitButton"))->click();
    else if (way == QLatin1String("menu"))
        m_window->findChild<QAction*>(QStringLiteral("quitAction"))->trigger();
    else
        closed = m_window->close();
    const bool ended = way == QLatin1String("close box") ? closed : m_quitCalls == 1;
    QCOMPARE(answers.questionsAsked(kSaveQuestion), 1);
    QCOMPARE(answers.shown[0].title, caption);
    QCOMPARE(ended, ends);
    if (!ends) {
        QCOMPARE(m_quitCalls, 0);
        QCOMPARE(answers.shown.size(), 2);
        QCOMPARE(answers.shown[1].text, kWriteProtected);
        QVERIFY(m_window->isVisible());
        window->setWriteFaults(nullptr);
        verifyNothingLost(oldBytes, grades);
        return;
    }
    QTRY_VERIFY(!window);
    QCOMPARE(readBytes(filePath()) != oldBytes, answer == Answer::Yes);
}

// The teacher's path: a double click on the first pupil, a phrase, a typed text and an
// emptied observation validated for three pupils, the dialog's quit button saving; the
// file holds them after the "#", and they come back when the file is opened again.
void TestSaveGradeSheet::observationsReachTheFileAndComeBack()
{
    write(threePupils());
    open();
    const QRect first = grid()->visualItemRect(grid()->item(0, 6));
    QString shownAgain;
    const auto observe = [](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("observationEdit"));
        QTest::keyClick(edit, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(edit, Qt::Key_Return);
        edit->selectAll();
        edit->insert(QStringLiteral("عمل | جيّد")); // as a paste or an input method does
        QTest::keyClick(edit, Qt::Key_Return);
        edit->clear();
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("quitButton")),
                          Qt::LeftButton);
    };
    whenModalOpens(this, observe);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, first.center());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(!sheetWindow()->isModified());

    const gradefile::GradeFileRead read = gradefile::readGradeFile(filePath());
    QVERIFY(read.lines);
    QVERIFY2(read.lines->at(2).startsWith(QStringLiteral("1#")), qPrintable(read.lines->at(2)));
    QCOMPARE(read.lines->at(3).section(u'|', 0, 0), QStringLiteral("2#عمل  جيّد"));
    QCOMPARE(read.lines->at(4).section(u'|', 0, 0), QStringLiteral("3"));

    sheetWindow()->close();
    open();
    whenModalOpens(this, [&shownAgain](QWidget* dialog) {
        shownAgain = dialog->findChild<QLineEdit*>(QStringLiteral("observationEdit"))->text();
        dialog->close();
    });
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {},
                       grid()->visualItemRect(grid()->item(1, 6)).center());
    QTRY_COMPARE(shownAgain, QStringLiteral("عمل  جيّد"));
}

QTEST_MAIN(TestSaveGradeSheet)
#include "tst_savegradesheet.moc"
