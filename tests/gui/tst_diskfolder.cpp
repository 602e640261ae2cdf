// The disk folder of the main window: chosen from the "ملف" menu, shown in the status
// line, remembered for the next start.
#include "../support/dialoganswers.h"
#include "app/appstate.h"
#include "app/drivechoice.h"
#include "app/mainwindow.h"
#include "print/cardtexts.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"
#include "ui/notice.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using app::MainWindow;

namespace {

const QString kThreeExams = QStringLiteral("8410203C07120002025.xml");
const QString kSixExams = QStringLiteral("8410203L09310002025.xml");
const QString kSaveQuestion = QStringLiteral("حفظ التغييرات               ");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList listedFiles(const MainWindow& window)
{
    QStringList names;
    for (int i = 0; i < window.fileList()->topLevelItemCount(); ++i)
        names << window.fileList()->topLevelItem(i)->text(2);
    return names;
}

} // namespace

class TestDiskFolder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void chosenFolderIsListedShownAndRemembered();
    void givingUpKeepsTheDisk();
    void openSheetSavesToItsOwnDisk();

private:
    QString folder(const QString& name) const { return m_root->filePath(name); }
    void chooseFromMenu(const QString& chosen);
    QString statusLine() const;

    QTemporaryDir m_settingsFolder;
    std::unique_ptr<QTemporaryDir> m_root;
    app::AppState m_appState{true};
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_offered;
};

// The program's settings live in a folder of the test's own.
void TestDiskFolder::initTestCase()
{
    QVERIFY(m_settingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsFolder.path());
    QCoreApplication::setOrganizationName(ui::kProgramTitle);
    QCoreApplication::setApplicationName(ui::kProgramTitle);
}

// Disk A holds the three-exam sample, disk B the six-exam one.
void TestDiskFolder::init()
{
    QSettings().clear();
    m_root = std::make_unique<QTemporaryDir>();
    const QString samples = QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/");
    for (const auto& [disk, file] :
         {std::pair{QStringLiteral("A"), kThreeExams}, std::pair{QStringLiteral("B"), kSixExams}}) {
        QVERIFY(QDir().mkdir(folder(disk)));
        const QString target = QDir(folder(disk)).filePath(file);
        QVERIFY(QFile::copy(samples + file, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    m_cardTexts = print::CardTexts{};
    m_offered.clear();
    m_window = std::make_unique<MainWindow>(m_appState, m_sheetState, m_cardTexts,
                                            folder(QStringLiteral("A")));
    m_window->setQuitAction([] {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestDiskFolder::cleanup()
{
    if (m_window && m_window->gradeSheet())
        m_window->gradeSheet()->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window.reset();
    m_root.reset();
}

void TestDiskFolder::chooseFromMenu(const QString& chosen)
{
    m_window->setFolderChooser([this, chosen](const QString& current) {
        m_offered << current;
        return chosen;
    });
    auto* action = m_window->findChild<QAction*>(QStringLiteral("chooseDiskAction"));
    QVERIFY(action);
    QVERIFY(m_window->findChild<QMenu*>(QStringLiteral("fileMenu"))->actions().contains(action));
    action->trigger();
}

QString TestDiskFolder::statusLine() const
{
    return m_window->findChild<QLabel*>(QStringLiteral("diskFolderLabel"))->text();
}

// The next start takes the folder chosen, without --drive.
void TestDiskFolder::chosenFolderIsListedShownAndRemembered()
{
    QVERIFY(statusLine().contains(QDir::toNativeSeparators(folder(QStringLiteral("A")))));
    QVERIFY(m_window->findChild<QLabel*>(QStringLiteral("diskFolderLabel"))->isVisible());
    QVERIFY(app::rememberedDriveFolder().isEmpty());

    chooseFromMenu(folder(QStringLiteral("B")));
    QCOMPARE(m_offered, QStringList{folder(QStringLiteral("A"))});
    QCOMPARE(m_window->diskFolder(), folder(QStringLiteral("B")));
    QCOMPARE(listedFiles(*m_window), QStringList{kSixExams});
    QVERIFY(statusLine().contains(QDir::toNativeSeparators(folder(QStringLiteral("B")))));

    const app::DriveChoice next =
        app::chooseStartFolder(std::nullopt, app::systemDriveEnvironment());
    QCOMPARE(next.folder, folder(QStringLiteral("B")));
    QCOMPARE(next.source, app::DriveSource::Remembered);
}

void TestDiskFolder::givingUpKeepsTheDisk()
{
    m_window->scanDisk();
    chooseFromMenu(QString());
    QCOMPARE(m_window->diskFolder(), folder(QStringLiteral("A")));
    QCOMPARE(listedFiles(*m_window), QStringList{kThreeExams});
    QVERIFY(app::rememberedDriveFolder().isEmpty());
}

// A sheet opened from disk A is written back to disk A, even when the teacher moves to disk
// B with grades unsaved: it is settled and closed before the disk changes.
void TestDiskFolder::openSheetSavesToItsOwnDisk()
{
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    list->setCurrentItem(list->findItems(kThreeExams, Qt::MatchExactly, 2).value(0));
    m_window->openSelectedFile();
    QVERIFY(m_window->gradeSheet());
    QTRY_VERIFY(m_window->gradeSheet()->isActiveWindow());
    sheet::SpreadGrid* grid = m_window->gradeSheet()->grid();
    grid->setActiveCell(4, 1);
    QTest::keyClicks(grid, QStringLiteral("13"));
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(m_window->gradeSheet()->isModified());
    const QByteArray diskB = bytesOf(QDir(folder(QStringLiteral("B"))).filePath(kSixExams));

    DialogAnswers answers({Answer::Yes});
    chooseFromMenu(folder(QStringLiteral("B")));
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown.first().text, kSaveQuestion);
    QTRY_VERIFY(!m_window->gradeSheet());
    QVERIFY(bytesOf(QDir(folder(QStringLiteral("A"))).filePath(kThreeExams)).contains("|13.00"));
    QCOMPARE(QDir(folder(QStringLiteral("B"))).entryList(QDir::Files), QStringList{kSixExams});
    QCOMPARE(bytesOf(QDir(folder(QStringLiteral("B"))).filePath(kSixExams)), diskB);
    QCOMPARE(m_window->diskFolder(), folder(QStringLiteral("B")));
}

QTEST_MAIN(TestDiskFolder)
#include "tst_diskfolder.moc"
