// A real crash: a child process (this test program started again with --type-and-die)
// opens a grade file of a copy of the sample disk through the main window, types grades as
// the teacher does and kills itself with SIGKILL. This process then opens the file again,
// takes the grades back, saves, and reads them with the reader.

#include "../support/dialoganswers.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "print/cardtexts.h"
#include "recovery/datafolder.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

const QString kFileName = QStringLiteral("8410203C07120002025.xml");
const char* const kChildSwitch = "--type-and-die";

// Scans the disk, opens kFileName and waits until the sheet takes the keyboard.
sheet::GradeSheetWindow* openSampleSheet(app::MainWindow& window)
{
    window.scanDisk();
    QTreeWidget* list = window.fileList();
    const QList<QTreeWidgetItem*> lines = list->findItems(kFileName, Qt::MatchExactly, 2);
    if (lines.size() != 1)
        return nullptr;
    list->setCurrentItem(lines.first());
    window.openSelectedFile();
    return window.gradeSheet();
}

void typeInto(sheet::SpreadGrid* grid, int col, int row, const QString& text, Qt::Key then)
{
    grid->setActiveCell(col, row);
    QTest::keyClicks(grid, text);
    QTest::keyClick(grid, then);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

#ifdef Q_OS_UNIX
// The child: the program's own windows on diskFolder, with the data folder the system
// gives the program (XDG_DATA_HOME points it into the parent's temporary folder).
[[noreturn]] void typeAndDie(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(recovery::kProgramName);
    QApplication::setApplicationName(recovery::kProgramName);
    app::AppState appState{true};
    sheet::SheetState sheetState;
    sheetState.dataFolder.path = recovery::defaultDataFolder();
    print::CardTexts cardTexts;
    app::MainWindow window(appState, sheetState, cardTexts, QString::fromLocal8Bit(argv[2]));
    window.show();
    sheet::GradeSheetWindow* sheet = openSampleSheet(window);
    if (!sheet || !QTest::qWaitFor([sheet] { return sheet->isActiveWindow(); }))
        std::_Exit(3);
    // The third exam, still blank on the sample disk, for the first three pupils.
    typeInto(sheet->grid(), 4, 1, QStringLiteral("12"), Qt::Key_Return);
    typeInto(sheet->grid(), 4, 2, QStringLiteral("8.5"), Qt::Key_Return);
    typeInto(sheet->grid(), 4, 3, QString(), Qt::Key_F1);
    std::fputs("typed\n", stdout);
    std::fflush(stdout);
    ::kill(::getpid(), SIGKILL);
    std::_Exit(4);
}
#endif

} // namespace

class TestCrashRecovery : public QObject {
    Q_OBJECT

private slots:
    void gradesTypedBeforeAKillComeBack();
};

void TestCrashRecovery::gradesTypedBeforeAKillComeBack()
{
#ifndef Q_OS_UNIX
    QSKIP("kills the child with SIGKILL");
#else
    QTemporaryDir root;
    const QString disk = root.filePath(QStringLiteral("floppy"));
    const QString data = root.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(disk));
    const QDir samples(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy"));
    for (const QString& name : samples.entryList(QDir::Files))
        QVERIFY(QFile::copy(samples.filePath(name), QDir(disk).filePath(name)));
    const QByteArray before = [&] {
        QFile file(QDir(disk).filePath(kFileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildSwitch), disk});
    QVERIFY(child.waitForFinished(120000));
    QVERIFY2(child.readAllStandardOutput().contains("typed"),
             qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    // Killed before any save: the disk holds the file as it was.
    QFile onDisk(QDir(disk).filePath(kFileName));
    QVERIFY(onDisk.open(QIODevice::ReadOnly));
    QCOMPARE(onDisk.readAll(), before);

    // The program started again by the same user finds the same data folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    app::AppState appState{true};
    sheet::SheetState sheetState;
    sheetState.dataFolder.path = recovery::defaultDataFolder();
    QVERIFY(sheetState.dataFolder.path.startsWith(data));
    print::CardTexts cardTexts;
    app::MainWindow window(appState, sheetState, cardTexts, disk);
    window.setQuitAction([] {});
    window.show();
    DialogAnswers answers({Answer::Yes});
    sheet::GradeSheetWindow* sheet = openSampleSheet(window);
    QVERIFY(sheet);
    QCOMPARE(answers.shown.size(), 1);
    QVERIFY2(answers.shown[0].text.startsWith(QStringLiteral("أعداد لم تحفظ، الخانات: 3،")),
             qPrintable(answers.shown[0].text));
    QCOMPARE(sheet->grid()->text(4, 1), QStringLiteral("12.00"));
    QTRY_VERIFY(sheet->isActiveWindow());
    QTest::keyClick(sheet->grid(), Qt::Key_F4);
    QVERIFY(sheet->isSaved());

    const gradefile::GradeFileRead read = gradefile::readGradeFile(QDir(disk).filePath(kFileName));
    QVERIFY(read.lines);
    QCOMPARE(read.lines->at(2).section(u'|', 3), QStringLiteral("آمنة الجربي|15.00|معفى|12.00"));
    QCOMPARE(read.lines->at(3).section(u'|', 3), QStringLiteral("مريم الحامدي|00.00|19.25|08.50"));
    QCOMPARE(read.lines->at(4).section(u'|', 3), QStringLiteral("سلمى الدريدي|00.00|10.00|غ.ش."));
    QCOMPARE(read.lines->at(5).section(u'|', 3), QStringLiteral("خليل بن صالح|06.25|04.75|--.--"));
#endif
}

int main(int argc, char* argv[])
{
#ifdef Q_OS_UNIX
    if (argc == 3 && qstrcmp(argv[1], kChildSwitch) == 0)
        typeAndDie(argc, argv);
#endif
    QApplication application(argc, argv);
    TestCrashRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashrecovery.moc"
