// The grade sheet's context menu: the class statistics, the CSV copy of the sheet and the
// PDF copy of the filled card.
#include "../support/dialoganswers.h"
#include "../support/pdftext.h"
#include "../support/realdisk.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "print/cardtexts.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/openedsheet.h"
#include "sheet/sheetcsv.h"
#include "sheet/sheetstate.h"
#include "sheet/sheettools.h"
#include "sheet/spreadgrid.h"
#include "sheet/statisticsdialog.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using sheet::GradeSheetWindow;
using sheet::SheetTools;

namespace {

const QString kThreeExams = QStringLiteral("8410203C07120002025");
const QString kSixExams = QStringLiteral("8410203L09310002025");
const QString kNothingWritten = QStringLiteral("لم يقع حفظ النسخة، ولم يتغيّر أيّ ملفّ :");
const QByteArray kOldCopy("an older copy the teacher keeps");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

gradefile::GradeDocument sampleDocument(const QString& key)
{
    const QString fileName = key + QStringLiteral(".xml");
    const gradefile::GradeFileRead read =
        gradefile::readGradeFile(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + fileName);
    return read.lines ? gradefile::readGradeDocument(fileName, *read.lines).document.value()
                      : gradefile::GradeDocument{};
}

QStringList actionTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

QStringList menuTexts()
{
    return {SheetTools::kUndoItem,
            SheetTools::kRedoItem,
            QString(),
            SheetTools::kStatisticsItem,
            QString(),
            SheetTools::kCsvItem,
            SheetTools::kPdfItem};
}

} // namespace

class TestSheetTools : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowShowsTheOpenedSheet_data();
    void windowShowsTheOpenedSheet();
    void rightClickOpensTheMenu();
    void menuKeyOpensTheMenu();
    void statisticsDialogShowsTheFigures();
    void statisticsCheckTheCellBeingTyped();
    void csvCopyIsTheSheet();
    void pdfCopyIsTheFilledCard();
    void pdfCopyKeepsTheLargePresentation();
    void nothingWrittenWhenTheTeacherGivesUp();
    void unwritableTarget_data();
    void unwritableTarget();

private:
    void openSample(const QString& key);
    GradeSheetWindow* sheetWindow() const { return m_window->gradeSheet(); }
    sheet::SpreadGrid* grid() const { return sheetWindow()->grid(); }
    SheetTools* tools() const { return sheetWindow()->findChild<SheetTools*>(); }
    QMenu* openMenu() const;
    void copyTo(const QString& folder);

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_diskPath;
    QString m_copyFolder;
    QList<SheetTools::CopyKind> m_asked;
    QString m_suggested;
    app::AppState m_appState{true};
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<app::MainWindow> m_window;
};

void TestSheetTools::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_diskPath = m_root->filePath(QStringLiteral("A"));
    m_copyFolder = m_root->filePath(QStringLiteral("copies"));
    QVERIFY(QDir().mkdir(m_diskPath));
    QVERIFY(QDir().mkdir(m_copyFolder));
    for (const QString& key : {kThreeExams, kSixExams}) {
        const QString target = QDir(m_diskPath).filePath(key + QStringLiteral(".xml"));
        QVERIFY(QFile::copy(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + key +
                                QStringLiteral(".xml"),
                            target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    m_asked.clear();
    m_cardTexts = print::CardTexts{};
    m_window = std::make_unique<app::MainWindow>(m_appState, m_sheetState, m_cardTexts, m_diskPath);
    m_window->setQuitAction([] {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestSheetTools::cleanup()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    if (sheetWindow()) {
        sheetWindow()->setAttribute(Qt::WA_DeleteOnClose, false);
        if (auto* dialog = sheetWindow()->findChild<sheet::StatisticsDialog*>())
            dialog->close();
    }
    m_window.reset();
    m_root.reset();
}

void TestSheetTools::openSample(const QString& key)
{
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    list->setCurrentItem(
        list->findItems(key + QStringLiteral(".xml"), Qt::MatchExactly, 2).value(0));
    m_window->openSelectedFile();
    QVERIFY(sheetWindow());
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
    QVERIFY(tools());
    copyTo(m_copyFolder);
}

// Copies go into folder, under the name the window suggests.
void TestSheetTools::copyTo(const QString& folder)
{
    tools()->setPathChooser([this, folder](SheetTools::CopyKind kind, const QString& suggested) {
        m_asked << kind;
        m_suggested = suggested;
        return QDir(folder).filePath(suggested);
    });
}

QMenu* TestSheetTools::openMenu() const
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void TestSheetTools::windowShowsTheOpenedSheet_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("three exams, kind C") << kThreeExams;
    QTest::newRow("six exams, kind L") << kSixExams;
}

// The gradefile tool reads a file as the window opens it: the same texts and the same
// hidden columns, or its copies and statistics would not be the window's.
void TestSheetTools::windowShowsTheOpenedSheet()
{
    QFETCH(QString, key);
    openSample(key);
    const gradefile::SheetTable table = sheet::openedSheetTable(sampleDocument(key));
    QVERIFY(sheetWindow()->sheetTable() == table);
    const sheet::ShownColumns shown = sheet::shownColumnsOf(table);
    QCOMPARE(tools()->shownColumns(), shown);
    for (int col = 1; col <= 9; ++col)
        QCOMPARE(grid()->isColumnHiddenAt(col), !shown[size_t(col)]);
}

// A right click on a pupil's grade, as the window system delivers it.
void TestSheetTools::rightClickOpensTheMenu()
{
    openSample(kThreeExams);
    const QPoint inViewport = grid()->visualRect(grid()->model()->index(2, 6)).center();
    const QPoint inWindow = grid()->viewport()->mapTo(sheetWindow(), inViewport);
    QTest::mouseClick(sheetWindow()->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
    QTRY_VERIFY(openMenu());
    QCOMPARE(openMenu()->objectName(), QStringLiteral("sheetToolsMenu"));
    QCOMPARE(actionTexts(openMenu()), menuTexts());
    const QByteArray snapshots = qgetenv("SAISIE_SNAPSHOT_DIR");
    if (!snapshots.isEmpty())
        openMenu()->grab().save(
            QDir(QString::fromLocal8Bit(snapshots)).filePath(QStringLiteral("sheet-menu.png")));
    // Near where the click was, and the grid as it was.
    QVERIFY((openMenu()->geometry().topLeft() - grid()->viewport()->mapToGlobal(inViewport))
                .manhattanLength() < 40);
    QVERIFY(!sheetWindow()->isModified());
}

// The menu key: the window system sends the focus widget a context menu event of the
// keyboard, at the active cell.
void TestSheetTools::menuKeyOpensTheMenu()
{
    openSample(kThreeExams);
    grid()->setFocus();
    QTRY_VERIFY(grid()->hasFocus());
    QTest::keyClick(grid(), Qt::Key_Menu);
    QVERIFY(!openMenu());
    QVERIFY(!grid()->isEditing());
    QVERIFY(!sheetWindow()->isModified());
    const QPoint cell = grid()->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, cell, grid()->mapToGlobal(cell));
    QApplication::sendEvent(QApplication::focusWidget(), &event);
    QTRY_VERIFY(openMenu());
    QCOMPARE(actionTexts(openMenu()), menuTexts());
}

void TestSheetTools::statisticsDialogShowsTheFigures()
{
    openSample(kThreeExams);
    QMenu* menu = tools()->showMenu(QPoint(10, 10));
    QTRY_VERIFY(openMenu() == menu);
    menu->actions().at(menuTexts().indexOf(SheetTools::kStatisticsItem))->trigger();
    QTRY_VERIFY(qobject_cast<sheet::StatisticsDialog*>(QApplication::activeModalWidget()));
    auto* dialog = static_cast<sheet::StatisticsDialog*>(QApplication::activeModalWidget());
    QCOMPARE(dialog->windowTitle(), sheet::StatisticsDialog::kCaption);
    QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("pupilCount"))->text().endsWith(u" 30"));

    const gradefile::SheetTable table = sheet::openedSheetTable(sampleDocument(kThreeExams));
    const std::vector<sheet::ExamStatistics> statistics =
        sheet::classStatistics(table, sheet::shownColumnsOf(table));
    QCOMPARE(statistics.size(), size_t(3));
    for (const sheet::ExamStatistics& exam : statistics) {
        const QStringList figures = sheet::StatisticsDialog::figuresOf(exam);
        QCOMPARE(
            dialog->findChild<QLabel*>(QStringLiteral("examHeader%1").arg(exam.column))->text(),
            exam.header);
        for (int row = 0; row < figures.size(); ++row)
            QCOMPARE(
                dialog->findChild<QLabel*>(QStringLiteral("figure%1_%2").arg(exam.column).arg(row))
                    ->text(),
                figures[row]);
    }
    // Right to left, the first exam stands next to the labels.
    const auto xOf = [dialog](int column) {
        return dialog->findChild<QLabel*>(QStringLiteral("examHeader%1").arg(column))
            ->mapTo(dialog, QPoint())
            .x();
    };
    QVERIFY(xOf(6) > xOf(5) && xOf(5) > xOf(4));
    const QByteArray snapshots = qgetenv("SAISIE_SNAPSHOT_DIR");
    if (!snapshots.isEmpty())
        dialog->grab().save(QDir(QString::fromLocal8Bit(snapshots))
                                .filePath(QStringLiteral("statistics-dialog.png")));
    dialog->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

// The grade being typed counts once checked, as the save would write it; a grade the sheet
// refuses keeps the cursor and shows nothing.
void TestSheetTools::statisticsCheckTheCellBeingTyped()
{
    openSample(kThreeExams);
    grid()->setActiveCell(4, 1);
    QTest::keyClicks(grid(), QStringLiteral("8"));
    QVERIFY(grid()->isEditing());
    tools()->showStatistics();
    QTRY_VERIFY(qobject_cast<sheet::StatisticsDialog*>(QApplication::activeModalWidget()));
    QCOMPARE(grid()->text(4, 1), QStringLiteral("08.00"));
    const std::vector<sheet::ExamStatistics> statistics = tools()->statistics();
    QCOMPARE(statistics.front().column, 4);
    QCOMPARE(statistics.front().graded, 1);
    QCOMPARE(statistics.front().noGrade, 29);
    QApplication::activeModalWidget()->close();
    QTRY_VERIFY(!QApplication::activeModalWidget());

    grid()->setActiveCell(4, 2);
    QTest::keyClicks(grid(), QStringLiteral("25"));
    tools()->showStatistics();
    QVERIFY(!tools()->saveCsvCopy());
    QTest::qWait(50);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(grid()->activeRow(), 2);
    QCOMPARE(m_asked.size(), 0);
}

// The copy of the unchanged sheet is what `gradefile csv` prints for its file.
void TestSheetTools::csvCopyIsTheSheet()
{
    openSample(kSixExams);
    QVERIFY(tools()->saveCsvCopy());
    QCOMPARE(m_asked, QList<SheetTools::CopyKind>{SheetTools::CopyKind::Csv});
    QVERIFY(m_suggested.endsWith(QLatin1String(".csv")));
    const gradefile::SheetTable table = sheet::openedSheetTable(sampleDocument(kSixExams));
    const QByteArray written = bytesOf(QDir(m_copyFolder).filePath(m_suggested));
    QCOMPARE(written, sheet::sheetCsv(table, sheet::shownColumnsOf(table)));
    QCOMPARE(entriesOf(m_copyFolder), QStringList{m_suggested});
    QVERIFY(!sheetWindow()->isModified());
}

// Whether or not the machine has a printer, with the card's numbers untouched.
void TestSheetTools::pdfCopyIsTheFilledCard()
{
    openSample(kThreeExams);
    const qint16 printNumber = m_cardTexts.printNumber;
    const qint16 saveNumber = m_cardTexts.saveNumber;
    const QByteArray disk = bytesOf(QDir(m_diskPath).filePath(kThreeExams + ".xml"));
    QVERIFY(tools()->savePdfCopy());
    QCOMPARE(m_asked, QList<SheetTools::CopyKind>{SheetTools::CopyKind::Pdf});
    const QString path = QDir(m_copyFolder).filePath(m_suggested);
    QVERIFY(bytesOf(path).startsWith("%PDF"));
    const std::optional<QStringList> pages = pdfPageTexts(path);
    QVERIFY(pages && !pages->isEmpty());
    const QString all = pages->join(u'\n');
    for (int row : {1, grid()->maxRows()}) {
        QVERIFY2(wordsMissingFrom(all, grid()->text(7, row)).isEmpty(),
                 qPrintable(grid()->text(7, row)));
    }
    QVERIFY(all.contains(grid()->text(6, 1)));
    QCOMPARE(m_cardTexts.printNumber, printNumber);
    QCOMPARE(m_cardTexts.saveNumber, saveNumber);
    QCOMPARE(bytesOf(QDir(m_diskPath).filePath(kThreeExams + ".xml")), disk);
    QVERIFY(!sheetWindow()->isModified());
    QVERIFY(grid()->isVisible());
    QCOMPARE(grid()->cellFont(7, 1).pointSizeF(), 8.0);
}

void TestSheetTools::pdfCopyKeepsTheLargePresentation()
{
    openSample(kThreeExams);
    sheetWindow()->toggleLargePresentation();
    const int width = sheetWindow()->widthTwips();
    QVERIFY(tools()->savePdfCopy());
    QVERIFY(sheetWindow()->isLargePresentation());
    QCOMPARE(grid()->cellFont(7, 1).pointSizeF(), 10.0);
    QVERIFY(grid()->cellFont(7, 1).bold());
    QCOMPARE(sheetWindow()->widthTwips(), width);
}

void TestSheetTools::nothingWrittenWhenTheTeacherGivesUp()
{
    openSample(kThreeExams);
    tools()->setPathChooser([](SheetTools::CopyKind, const QString&) { return QString(); });
    DialogAnswers none({});
    QVERIFY(!tools()->saveCsvCopy());
    QVERIFY(!tools()->savePdfCopy());
    QCOMPARE(none.shown.size(), 0);
    QVERIFY(entriesOf(m_copyFolder).isEmpty());
}

void TestSheetTools::unwritableTarget_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<bool>("full"); // else write-protected
    QTest::addColumn<QString>("reason");
    const QString protectedReason =
        QStringLiteral("لا يمكن الكتابة في هذا المجلّد أو القرص محمي : اختر مكانا آخر.");
    const QString fullReason = QStringLiteral("لا يتّسع القرص لهذا الملفّ : اختر قرصا آخر.");
    QTest::newRow("CSV, read-only folder") << false << false << protectedReason;
    QTest::newRow("PDF, read-only folder") << true << false << protectedReason;
    QTest::newRow("CSV, full disk") << false << true << fullReason;
    QTest::newRow("PDF, full disk") << true << true << fullReason;
}

// A real disk that refuses the copy: the teacher is told, and the folder holds what it
// held, the old copy of the same name untouched and no piece of the new one.
void TestSheetTools::unwritableTarget()
{
    QFETCH(bool, pdf);
    QFETCH(bool, full);
    QFETCH(QString, reason);
    TmpfsMount disk(m_copyFolder, "size=64k");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + disk.error()));
    openSample(kSixExams);
    const QString name = pdf ? QStringLiteral("copy.pdf") : QStringLiteral("copy.csv");
    {
        QFile old(QDir(m_copyFolder).filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(kOldCopy);
    }
    if (full) {
        QFile filler(QDir(m_copyFolder).filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
    } else {
        QVERIFY(disk.makeReadOnly());
    }
    const QStringList before = entriesOf(m_copyFolder);
    tools()->setPathChooser([this, name](SheetTools::CopyKind, const QString&) {
        return QDir(m_copyFolder).filePath(name);
    });

    DialogAnswers answers({Answer::Yes});
    QVERIFY(!(pdf ? tools()->savePdfCopy() : tools()->saveCsvCopy()));
    QCOMPARE(answers.shown.size(), 1);
    const QString text = answers.shown.first().text;
    QVERIFY2(text.startsWith(kNothingWritten), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(text.contains(QDir::toNativeSeparators(QDir(m_copyFolder).filePath(name))));
    QCOMPARE(entriesOf(m_copyFolder), before);
    QCOMPARE(bytesOf(QDir(m_copyFolder).filePath(name)), kOldCopy);
    QVERIFY(grid()->isVisible());
}

QTEST_MAIN(TestSheetTools)
#include "tst_sheettools.moc"
