#include "../support/dialoganswers.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "modaltools.h"
#include "print/cardtexts.h"
#include "recovery/datafolder.h"
#include "recovery/keptcopies.h"
#include "recovery/sessionjournal.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using sheet::GradeSheetWindow;

namespace {

const QString kKey = QStringLiteral("8410203C07120002004");
const QString kCaption = QStringLiteral("8410203 إعدادية النور        "
                                        "[السابعة أساسي 2] عربية - الثلاثي الأول");
const QString kSaveQuestion = QStringLiteral("حفظ التغييرات") + QString(15, u' ');
const QString kBringBackStart = QStringLiteral("أعداد لم تحفظ، الخانات: ");
const QString kChangedOnDisk = QStringLiteral("تغيّر هذا الملفّ بالقرص");
const QString kDamagedJournal = QStringLiteral("ملفّ استرجاع الأعداد تالف");
const QString kRecoveryOff = QStringLiteral("تعذّرت الكتابة في مجلّد البرنامج");
const QString kCopyDamaged = QStringLiteral("هذه النسخة تالفة");

QStringList threePupils(const QString& teacher = QStringLiteral("سلمى"))
{
    return {QStringLiteral("DEBUT") + kKey + u'|' + kCaption,
            QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2|تأليفي"),
            QStringLiteral("1|1|1001|أحمد الكافي|12.50|--.--|"),
            QStringLiteral("2|2|1002|مريم التونسي|07.00||غ.ش."),
            QStringLiteral("3|3|1003|سامي الصغير|||معفى"),
            QStringLiteral("FIN%1|صفاقس|النور|%2|0|4").arg(kKey, teacher)};
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The modal windows that open next, each handled in turn by its own action.
void whenModalsOpen(QObject* context, QList<std::function<void(QWidget*)>> actions)
{
    if (actions.isEmpty())
        return;
    const std::function<void(QWidget*)> first = actions.takeFirst();
    whenModalOpens(context, [context, first, actions](QWidget* modal) {
        whenModalsOpen(context, actions);
        first(modal);
    });
}

void clickButton(QWidget* window, const char* name)
{
    window->findChild<QPushButton*>(QLatin1String(name))->click();
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestRecovery : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void journalFollowsTheSheet_data();
    void journalFollowsTheSheet();
    void unsavedGradesComeBackAfterACrash();
    void noGivesTheUnsavedGradesUp();
    void undoneChangeIsWhatComesBack_data();
    void undoneChangeIsWhatComesBack();
    void fileChangedOnTheDiskSinceIsNotApplied();
    void damagedJournalIsReportedAndLeft();
    void dataFolderThatCannotBeWritten();
    void saveWritesTheFileUnderItsOwnName();
    void diskPutBackDuringTheSaveIsKeptFirst();
    void keptCopyBroughtBackOntoTheDisk();
    void keptCopyWrittenToAnotherFolder();
    void damagedKeptCopyIsRefused();

private:
    QString filePath() const { return QDir(m_diskPath).filePath(m_fileName); }
    QString dataPath() const { return m_root->filePath(QStringLiteral("data")); }
    void startProgram();
    // The program dies with the sheet open: no question, no save, nothing cleaned up.
    void crash() { m_window.reset(); }
    void open();
    GradeSheetWindow* sheetWindow() const { return m_window->gradeSheet(); }
    sheet::SpreadGrid* grid() const { return sheetWindow()->grid(); }
    void type(int col, int row, const QString& text)
    {
        grid()->setActiveCell(col, row);
        QTest::keyClicks(grid(), text);
    }
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(grid(), key, modifiers);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    QStringList journals() const
    {
        return recovery::journalsOf(recovery::journalsFolder(dataPath()), kKey, m_diskPath);
    }
    // Three grades typed and an observation validated, then the program dies.
    void typeAndCrash();

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_diskPath;
    QString m_fileName = kKey + QStringLiteral(".xml");
    app::AppState m_appState;
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<app::MainWindow> m_window;
};

void TestRecovery::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_diskPath = m_root->filePath(QStringLiteral("A"));
    QVERIFY(QDir().mkdir(m_diskPath));
    m_fileName = kKey + QStringLiteral(".xml");
    m_sheetState = sheet::SheetState{};
    m_sheetState.dataFolder.path = dataPath();
    QVERIFY(gradefile::writeGradeFile(filePath(), threePupils()).ok);
    startProgram();
}

void TestRecovery::cleanup()
{
    m_window.reset();
    m_root.reset();
}

void TestRecovery::startProgram()
{
    m_appState = app::AppState{true};
    m_cardTexts = print::CardTexts{};
    m_window = std::make_unique<app::MainWindow>(m_appState, m_sheetState, m_cardTexts, m_diskPath);
    m_window->setQuitAction([] {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestRecovery::open()
{
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    const QList<QTreeWidgetItem*> lines = list->findItems(m_fileName, Qt::MatchExactly, 2);
    QCOMPARE(lines.size(), 1);
    list->setCurrentItem(lines.first());
    m_window->openSelectedFile();
    QVERIFY(sheetWindow());
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
}

void TestRecovery::typeAndCrash()
{
    open();
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_Up); // leaving rewrites it as 13.00
    grid()->setActiveCell(5, 1);
    pressKey(Qt::Key_F1);
    whenModalOpens(this, [](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("observationEdit"));
        QTest::keyClick(edit, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(edit, Qt::Key_Return); // validated: the first pupil's observation
        dialog->close();
    });
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {},
                       grid()->visualItemRect(grid()->item(0, 6)).center());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(journals().size(), 1);
    crash();
}

void TestRecovery::journalFollowsTheSheet_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("kept");
    QTest::newRow("saved") << "save" << false;
    QTest::newRow("no to the save question") << "no" << false;
    QTest::newRow("yes to the save question") << "yes" << false;
    QTest::newRow("a failed save") << "failed save" << true;
    QTest::newRow("yes to the save question, the save fails") << "yes, failed save" << true;
    QTest::newRow("a crash") << "crash" << true;
}

// The journal goes once the grades are on the disk or given up, and survives the rest.
void TestRecovery::journalFollowsTheSheet()
{
    QFETCH(QString, end);
    QFETCH(bool, kept);
    open();
    QVERIFY(journals().isEmpty());
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_Up);
    QCOMPARE(journals().size(), 1);

    // A write-protected disk, as the rename finds it.
    struct Fault : gradefile::WriteFaultInjector {
        std::optional<gradefile::FileError> failAt(gradefile::WriteStep step) const override
        {
            if (step != gradefile::WriteStep::Replace)
                return std::nullopt;
            return gradefile::makeFileError(gradefile::FileErrorKind::PermissionDenied,
                                            QStringLiteral("protégé"));
        }
    } fault;
    if (end.contains(QLatin1String("failed")))
        sheetWindow()->setWriteFaults(&fault);
    if (end == QLatin1String("save") || end == QLatin1String("failed save")) {
        DialogAnswers answers({Answer::Yes});
        pressKey(Qt::Key_F4);
    } else if (end == QLatin1String("crash")) {
        crash();
    } else {
        const Answer answer = end == QLatin1String("no") ? Answer::No : Answer::Yes;
        DialogAnswers answers({answer, Answer::Yes});
        sheetWindow()->close();
        QCOMPARE(answers.questionsAsked(kSaveQuestion), 1);
    }
    QCOMPARE(!journals().isEmpty(), kept);
    if (m_window && sheetWindow())
        sheetWindow()->setWriteFaults(nullptr);
}

// The program died with grades, a mark and an observation unsaved: opening the file
// again offers them, Yes puts them back, and the save writes them.
void TestRecovery::unsavedGradesComeBackAfterACrash()
{
    typeAndCrash();
    startProgram();
    DialogAnswers answers({Answer::Yes});
    open();
    QCOMPARE(answers.shown.size(), 1);
    // 13.00, the mark, the observation, and the empty grade the mark's Enter left as
    // "--.--".
    QVERIFY2(answers.shown[0].text.startsWith(kBringBackStart + QStringLiteral("4،")),
             qPrintable(answers.shown[0].text));
    QVERIFY(answers.shown[0].question);
    QCOMPARE(answers.shown[0].title, kCaption);
    QCOMPARE(grid()->text(6, 3), QStringLiteral("13.00"));
    QCOMPARE(grid()->text(5, 1), QStringLiteral("غ.ش."));
    QVERIFY(grid()->text(10, 1).startsWith(QStringLiteral("1#")));
    QVERIFY(sheetWindow()->isModified());
    QVERIFY(sheetWindow()->findChild<QPushButton*>(QStringLiteral("saveButton"))->isEnabled());
    // Brought back, they are this sheet's unsaved changes: in its journal, the old one gone.
    QCOMPARE(journals().size(), 1);

    pressKey(Qt::Key_F4);
    QVERIFY(sheetWindow()->isSaved());
    QVERIFY(journals().isEmpty());
    const gradefile::GradeFileRead read = gradefile::readGradeFile(filePath());
    QVERIFY(read.lines);
    QVERIFY(read.lines->at(2).startsWith(QStringLiteral("1#")));
    QVERIFY2(read.lines->at(2).endsWith(QStringLiteral("|12.50|غ.ش.|")),
             qPrintable(read.lines->at(2)));
    QVERIFY2(read.lines->at(4).endsWith(QStringLiteral("|13.00||معفى")),
             qPrintable(read.lines->at(4)));
}

void TestRecovery::undoneChangeIsWhatComesBack_data()
{
    QTest::addColumn<bool>("savedBeforeUndo");
    QTest::addColumn<QString>("comesBack");
    QTest::newRow("undo of a grade typed over another") << false << "13.00";
    QTest::newRow("undo after a save") << true << "";
}

// An undo is a change like any other: a crash after it brings back the sheet as undone.
void TestRecovery::undoneChangeIsWhatComesBack()
{
    QFETCH(bool, savedBeforeUndo);
    QFETCH(QString, comesBack);
    open();
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_Up);
    if (savedBeforeUndo) {
        pressKey(Qt::Key_F4);
        QVERIFY(sheetWindow()->isSaved());
    } else {
        type(6, 3, QStringLiteral("17"));
        pressKey(Qt::Key_Up);
    }
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(grid()->text(6, 3), comesBack);
    crash();

    startProgram();
    DialogAnswers answers({Answer::Yes});
    open();
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(grid()->text(6, 3), comesBack);
    QVERIFY(sheetWindow()->isModified());
}

void TestRecovery::noGivesTheUnsavedGradesUp()
{
    typeAndCrash();
    const QByteArray oldBytes = readBytes(filePath());
    startProgram();
    DialogAnswers answers({Answer::No});
    open();
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(grid()->text(6, 3), QString());
    QVERIFY(!sheetWindow()->isModified());
    QVERIFY(journals().isEmpty());
    sheetWindow()->close();
    QCOMPARE(answers.questionsAsked(kSaveQuestion), 0);
    QCOMPARE(readBytes(filePath()), oldBytes);
}

// Another machine saved the file after the crash: its journal is not applied over the
// new content; the teacher is told, and the journal is kept aside.
void TestRecovery::fileChangedOnTheDiskSinceIsNotApplied()
{
    typeAndCrash();
    QVERIFY(gradefile::writeGradeFile(filePath(), threePupils(QStringLiteral("هند"))).ok);
    startProgram();
    DialogAnswers answers({Answer::Yes});
    open();
    QCOMPARE(answers.shown.size(), 1);
    QVERIFY(!answers.shown[0].isQuestionDialog);
    QVERIFY(answers.shown[0].text.startsWith(kChangedOnDisk));
    const QStringList aside =
        recovery::journalsOf(recovery::asideFolder(dataPath()), kKey, m_diskPath);
    QCOMPARE(aside.size(), 1);
    QVERIFY(answers.shown[0].text.endsWith(QDir::toNativeSeparators(aside.first())));
    QVERIFY(journals().isEmpty());
    QCOMPARE(grid()->text(6, 3), QString());
    QVERIFY(!sheetWindow()->isModified());
}

void TestRecovery::damagedJournalIsReportedAndLeft()
{
    typeAndCrash();
    const QString journal = journals().first();
    QByteArray bytes = readBytes(journal);
    bytes[bytes.indexOf("13") + 1] = '9';
    QVERIFY(writeBytes(journal, bytes));
    startProgram();
    DialogAnswers answers({Answer::Yes});
    open();
    QCOMPARE(answers.shown.size(), 1);
    QVERIFY(answers.shown[0].text.startsWith(kDamagedJournal));
    QCOMPARE(readBytes(journal), bytes);
    QCOMPARE(grid()->text(6, 3), QString());
    QCOMPARE(grid()->text(5, 1), QStringLiteral("--.--"));
    QVERIFY(!sheetWindow()->isModified());
}

// The data folder cannot be written: typing goes on, the teacher is told once in the run
// that recovery is off, and the save still writes the disk.
void TestRecovery::dataFolderThatCannotBeWritten()
{
    QVERIFY(writeBytes(dataPath(), "a file where the data folder should be"));
    DialogAnswers answers({Answer::Yes, Answer::Yes, Answer::Yes});
    open();
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_Up);
    QTRY_COMPARE(answers.shown.size(), 1);
    QVERIFY(answers.shown[0].text.startsWith(kRecoveryOff));
    sheetWindow()->activateWindow();
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
    type(6, 2, QStringLiteral("14"));
    pressKey(Qt::Key_Up);
    pressKey(Qt::Key_F4);
    QVERIFY(sheetWindow()->isSaved());
    QVERIFY(readBytes(filePath()).contains("|13.00||"));
    open();
    type(6, 1, QStringLiteral("15"));
    pressKey(Qt::Key_Up);
    QTest::qWait(20);
    QCOMPARE(answers.shown.size(), 1);
}

// A file listed and opened as KEY.XML is saved into KEY.XML, not beside it.
void TestRecovery::saveWritesTheFileUnderItsOwnName()
{
    const QString upper = kKey + QStringLiteral(".XML");
    QVERIFY(QFile::rename(filePath(), QDir(m_diskPath).filePath(upper)));
    m_fileName = upper;
    open();
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_F4);
    QVERIFY(sheetWindow()->isSaved());
    QCOMPARE(QDir(m_diskPath).entryList(QDir::Files | QDir::Hidden), QStringList{upper});
    m_window->scanDisk();
    QCOMPARE(m_window->fileList()->topLevelItemCount(), 1);
}

// The disk was out of the drive when the save began: the file it replaces is kept once it
// is back, before the write.
void TestRecovery::diskPutBackDuringTheSaveIsKeptFirst()
{
    const QByteArray original = readBytes(filePath());
    open();
    type(6, 3, QStringLiteral("13"));
    const QString outOfDrive = m_root->filePath(QStringLiteral("out"));
    QVERIFY(QDir().rename(m_diskPath, outOfDrive));
    DialogAnswers answers({Answer::Yes}, [&](int) { QDir().rename(outOfDrive, m_diskPath); });
    pressKey(Qt::Key_F4);
    QCOMPARE(answers.shown.size(), 1);
    QVERIFY(sheetWindow()->isSaved());
    const std::vector<recovery::KeptCopy> kept = recovery::KeptCopies(dataPath()).list(kKey);
    QCOMPARE(kept.size(), size_t(1));
    QCOMPARE(readBytes(kept.front().path), original);
}

// Two saves keep the two files they replaced; the menu brings the older back onto the
// disk byte for byte, and keeps the file it replaces.
void TestRecovery::keptCopyBroughtBackOntoTheDisk()
{
    const QByteArray original = readBytes(filePath());
    open();
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_F4);
    const QByteArray first = readBytes(filePath());
    type(6, 2, QStringLiteral("14"));
    pressKey(Qt::Key_F4);
    const recovery::KeptCopies copies(dataPath());
    std::vector<recovery::KeptCopy> kept = copies.list(kKey);
    QCOMPARE(kept.size(), size_t(2));
    QCOMPARE(readBytes(kept[0].path), first);
    QCOMPARE(readBytes(kept[1].path), original);
    QCOMPARE(kept[1].saveNumber, 0);
    QCOMPARE(kept[0].saveNumber, 5);
    const QByteArray last = readBytes(filePath());

    QString shownPupils;
    QString question;
    whenModalsOpen(this,
                   {[&](QWidget* dialog) {
                        auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("copies"));
                        QCOMPARE(list->topLevelItemCount(), 2);
                        shownPupils = list->topLevelItem(1)->text(2);
                        list->setCurrentItem(list->topLevelItem(1));
                        clickButton(dialog, "toDiskButton");
                    },
                    [&](QWidget* modal) {
                        question = modal->findChild<QLabel*>(QStringLiteral("message"))->text();
                        clickButton(modal, "okButton");
                    }});
    m_window->findChild<QAction*>(QStringLiteral("keptCopiesAction"))->trigger();
    QCOMPARE(shownPupils, QStringLiteral("3"));
    QVERIFY(!question.isEmpty());
    QTRY_VERIFY(!sheetWindow()); // an open sheet would write its grades over the copy
    QCOMPARE(readBytes(filePath()), original);
    kept = copies.list(kKey);
    QCOMPARE(kept.size(), size_t(3));
    QCOMPARE(readBytes(kept[0].path), last);
}

// The disk is dead: the copy goes into another folder the teacher chooses.
void TestRecovery::keptCopyWrittenToAnotherFolder()
{
    const QByteArray original = readBytes(filePath());
    open();
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_F4);
    sheetWindow()->close();
    const QString newDisk = m_root->filePath(QStringLiteral("B"));
    QVERIFY(QDir().mkdir(newDisk));
    QVERIFY(QDir(m_diskPath).removeRecursively());
    m_window->setCopyFolderChooser([newDisk] { return newDisk; });
    m_window->fileList()->clear();

    whenModalOpens(this, [](QWidget* dialog) { clickButton(dialog, "toFolderButton"); });
    m_window->findChild<QAction*>(QStringLiteral("keptCopiesAction"))->trigger();
    QCOMPARE(readBytes(QDir(newDisk).filePath(kKey + QStringLiteral(".xml"))), original);
}

// A copy damaged in the data folder is refused with a message; the disk and the copy
// stay as they are.
void TestRecovery::damagedKeptCopyIsRefused()
{
    open();
    type(6, 3, QStringLiteral("13"));
    pressKey(Qt::Key_F4);
    const QByteArray onDisk = readBytes(filePath());
    const recovery::KeptCopy copy = recovery::KeptCopies(dataPath()).list(kKey).front();
    const QByteArray damaged = readBytes(copy.path).left(200);
    QVERIFY(writeBytes(copy.path, damaged));

    QString shownPupils;
    QString notice;
    whenModalsOpen(this, {[&](QWidget* dialog) {
                              auto* list =
                                  dialog->findChild<QTreeWidget*>(QStringLiteral("copies"));
                              shownPupils = list->topLevelItem(0)->text(2);
                              clickButton(dialog, "toDiskButton");
                          },
                          [&](QWidget* modal) {
                              notice = qobject_cast<QMessageBox*>(modal)->text();
                              modal->close();
                          }});
    m_window->findChild<QAction*>(QStringLiteral("keptCopiesAction"))->trigger();
    QCOMPARE(shownPupils, QStringLiteral("نسخة تالفة"));
    QVERIFY2(notice.startsWith(kCopyDamaged), qPrintable(notice));
    QVERIFY(notice.endsWith(QDir::toNativeSeparators(copy.path)));
    QCOMPARE(readBytes(filePath()), onDisk);
    QCOMPARE(readBytes(copy.path), damaged);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
