// The grade card printed from the grade sheet: the filled card after its save, the blank
// card from the sheet as it is, and the large presentation of the grid.
#include "../support/dialoganswers.h"
#include "../support/pdftext.h"
#include "../support/realdisk.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "print/cardtexts.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/gridpresentation.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using sheet::GradeSheetWindow;

namespace {

const QString kSample = QStringLiteral("8410203C07120002025.xml");
const QString kAskToSave =
    QStringLiteral("لا يمكنك طباعة بطاقة الأعداد إلاّ بعد حفظها بالقرص المرن - طباعة ؟");
const QString kNotPrinted =
    QStringLiteral("لم تقع طباعة بطاقة الأعداد لأنّها لم تحفظ بالقرص المرن.");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPrintCard : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void filledCardAfterItsSave_data();
    void filledCardAfterItsSave();
    void filledCardNotPrintedWhenTheSaveFails();
    void blankCardLeavesTheSheetAsItIs();
    void toggleEnlargesAndRestores();
    void nothingCutOnScreen();
    void filledCardReachesTheSpooler();

private:
    void openSample(bool withPrinter = false);
    GradeSheetWindow* sheetWindow() const { return m_window->gradeSheet(); }
    sheet::SpreadGrid* grid() const { return sheetWindow()->grid(); }
    QString diskFile() const { return QDir(m_diskPath).filePath(kSample); }

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_diskPath;
    QString m_pdfPath;
    int m_pdfAsked = 0;
    app::AppState m_appState{true};
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<app::MainWindow> m_window;
};

void TestPrintCard::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_diskPath = m_root->filePath(QStringLiteral("A"));
    QVERIFY(QDir().mkdir(m_diskPath));
    QVERIFY(
        QFile::copy(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + kSample, diskFile()));
    QFile::setPermissions(diskFile(), QFile::ReadOwner | QFile::WriteOwner);
    m_pdfPath = m_root->filePath(QStringLiteral("card.pdf"));
    m_pdfAsked = 0;
    m_cardTexts = print::CardTexts{};
    m_window = std::make_unique<app::MainWindow>(m_appState, m_sheetState, m_cardTexts, m_diskPath);
    m_window->setQuitAction([] {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPrintCard::cleanup()
{
    if (sheetWindow())
        sheetWindow()->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window.reset();
    m_root.reset();
}

// Opens the sample into the grade sheet; without a printer the card goes to m_pdfPath.
void TestPrintCard::openSample(bool withPrinter)
{
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    list->setCurrentItem(list->findItems(kSample, Qt::MatchExactly, 2).value(0));
    m_window->openSelectedFile();
    QVERIFY(sheetWindow());
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
    grid()->setFocus();
    QVERIFY(grid()->hasFocus());
    if (withPrinter)
        return;
    sheetWindow()->setCardDestination({[] { return false; },
                                       [this](const QString& suggested) {
                                           ++m_pdfAsked;
                                           return suggested.endsWith(QLatin1String(".pdf"))
                                                      ? m_pdfPath
                                                      : QString();
                                       }});
}

void TestPrintCard::filledCardAfterItsSave_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes: saved, then printed") << true;
    QTest::newRow("no: nothing") << false;
}

// Unsaved, F6 asks to save first; the card printed carries the save's number as its
// print number, and the card on paper is the one on the disk.
void TestPrintCard::filledCardAfterItsSave()
{
    QFETCH(bool, yes);
    openSample();
    const QByteArray before = bytesOf(diskFile());
    const qint16 savedBefore = m_cardTexts.saveNumber;
    DialogAnswers answers({yes ? Answer::Yes : Answer::No});
    QTest::keyClick(grid(), Qt::Key_F6);

    QTRY_COMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown.first().text, kAskToSave);
    QCOMPARE(m_pdfAsked, yes ? 1 : 0);
    QCOMPARE(QFile::exists(m_pdfPath), yes);
    QVERIFY(grid()->isVisible());
    QCOMPARE(sheetWindow()->focusWidget(), static_cast<QWidget*>(grid()));
    if (!yes) {
        QCOMPARE(bytesOf(diskFile()), before);
        return;
    }
    QVERIFY(m_cardTexts.saveNumber != savedBefore);
    QCOMPARE(m_cardTexts.printNumber, m_cardTexts.saveNumber);
    const std::optional<QStringList> pages = pdfPageTexts(m_pdfPath);
    QVERIFY(pages && !pages->isEmpty());
    QVERIFY(
        wordsMissingFrom(pages->first(), QStringLiteral("ر.ط : %1").arg(m_cardTexts.printNumber))
            .isEmpty());
    QVERIFY(wordsMissingFrom(pages->first(), grid()->text(7, 1)).isEmpty());
    // The grid is back in its screen look, and a second print asks nothing.
    QCOMPARE(grid()->text(8, 0), QStringLiteral("المعرّف الوحيد"));
    DialogAnswers none({});
    QVERIFY(sheetWindow()->printFilledCard());
    QCOMPARE(none.shown.size(), 0);
}

// A card that does not match the disk is not printed: a failed save prints nothing and
// says so, and the old file is left as it was.
void TestPrintCard::filledCardNotPrintedWhenTheSaveFails()
{
    openSample();
    const QByteArray before = bytesOf(diskFile());
    class FullDisk : public gradefile::WriteFaultInjector {
        std::optional<gradefile::FileError> failAt(gradefile::WriteStep step) const override
        {
            if (step != gradefile::WriteStep::WriteTemporary)
                return std::nullopt;
            return gradefile::makeFileError(gradefile::FileErrorKind::DiskFull,
                                            QStringLiteral("No space left on device"));
        }
    } fullDisk;
    sheetWindow()->setWriteFaults(&fullDisk);
    DialogAnswers answers({Answer::Yes, Answer::Yes, Answer::Yes});
    QVERIFY(!sheetWindow()->printFilledCard());
    QCOMPARE(answers.shown.size(), 3);
    QCOMPARE(answers.shown.last().text, kNotPrinted);
    QCOMPARE(m_pdfAsked, 0);
    QCOMPARE(bytesOf(diskFile()), before);
    QVERIFY(!sheetWindow()->isSaved());
    sheetWindow()->setWriteFaults(nullptr);
}

// The blank card has every pupil and no grade; the sheet keeps what it holds, typed or
// not, and its size.
void TestPrintCard::blankCardLeavesTheSheetAsItIs()
{
    openSample();
    const QSize size = sheetWindow()->size();
    const QString typedGrade = grid()->text(6, 1);
    const qint16 printNumber = m_cardTexts.printNumber;
    QTest::keyClick(grid(), Qt::Key_F8);
    QCOMPARE(m_pdfAsked, 1);
    const std::optional<QStringList> pages = pdfPageTexts(m_pdfPath);
    QVERIFY(pages && !pages->isEmpty());
    const QString all = pages->join(u'\n');
    QVERIFY(!typedGrade.isEmpty());
    QVERIFY2(!all.contains(typedGrade), qPrintable(typedGrade));
    QVERIFY(!all.contains(QStringLiteral("--.--")));
    for (int row = 1; row <= grid()->maxRows(); ++row)
        QVERIFY2(wordsMissingFrom(all, grid()->text(7, row)).isEmpty(),
                 qPrintable(grid()->text(7, row)));
    QCOMPARE(grid()->text(6, 1), typedGrade);
    QCOMPARE(sheetWindow()->size(), size);
    QCOMPARE(m_cardTexts.printNumber, printNumber);
    QVERIFY(!sheetWindow()->isModified());
}

// The enlarge button: wider grade columns, taller rows, larger bold text, a wider window;
// pressed again, everything as before with bold off.
void TestPrintCard::toggleEnlargesAndRestores()
{
    openSample();
    sheet::SpreadGrid* g = grid();
    const auto gradeColumnsTwips = [g] {
        double units = 0;
        for (int col = 0; col <= 6; ++col)
            units += g->isColumnHiddenAt(col) ? 0 : g->colWidth(col);
        return qRound(units * 90);
    };
    const int width = sheetWindow()->widthTwips();
    const int columns = gradeColumnsTwips();

    sheetWindow()->toggleLargePresentation();
    QVERIFY(sheetWindow()->isLargePresentation());
    QVERIFY(g->colWidth(6) >= 8.0);
    QCOMPARE(g->cellFont(7, 1).pointSizeF(), 10.0);
    QVERIFY(g->cellFont(7, 1).bold());
    QCOMPARE(g->text(8, 0), QStringLiteral("المعرّف"));
    // The window grows by what the grade columns did.
    QCOMPARE(sheetWindow()->widthTwips(), width + gradeColumnsTwips() - columns);
    QVERIFY(sheetWindow()->widthTwips() > width);
    QVERIFY(g->rowHeightAt(1) >= QFontMetrics(g->cellFont(7, 1)).height());

    sheetWindow()->toggleLargePresentation();
    QVERIFY(!sheetWindow()->isLargePresentation());
    QCOMPARE(g->cellFont(7, 1).pointSizeF(), 8.0);
    QVERIFY(!g->cellFont(7, 1).bold());
    QCOMPARE(g->text(8, 0), QStringLiteral("المعرّف الوحيد"));
    QCOMPARE(sheetWindow()->widthTwips(), width + gradeColumnsTwips() - columns);
}

// Every text of the grid fits its column in the font actually used, in every look.
void TestPrintCard::nothingCutOnScreen()
{
    openSample();
    sheet::SpreadGrid* g = grid();
    g->setText(8, 1, QStringLiteral("100000000012"));
    for (int step = 0; step < 3; ++step) {
        sheet::fitColumnsToTexts(*g);
        for (int col = 1; col <= 9; ++col) {
            if (g->isColumnHiddenAt(col))
                continue;
            for (int row = 1; row <= g->maxRows(); ++row)
                QVERIFY2(QFontMetrics(g->cellFont(col, row)).horizontalAdvance(g->text(col, row)) <
                             g->columnWidth(col - 1),
                         qPrintable(g->text(col, row)));
        }
        sheetWindow()->toggleLargePresentation();
    }
}

// Through the program's own print path to the real spooler (./test --full sets up the
// queue); the job as the printer gets it holds the card.
void TestPrintCard::filledCardReachesTheSpooler()
{
    if (QPrinterInfo::defaultPrinterName() != QLatin1String("saisie-notes-test"))
        QSKIP("no CUPS test queue as the default destination: ./test --full sets it up");
    const QDir jobs(QStringLiteral("/var/spool/saisie-notes-test-jobs"));
    const int before = int(jobs.entryList({QStringLiteral("*.job")}, QDir::Files).size());
    openSample(true);
    DialogAnswers answers({Answer::Yes});
    QVERIFY(sheetWindow()->printFilledCard());
    QTRY_VERIFY_WITH_TIMEOUT(jobs.entryList({QStringLiteral("*.job")}, QDir::Files).size() > before,
                             20000);
    const QStringList all = jobs.entryList({QStringLiteral("*.job")}, QDir::Files, QDir::Time);
    const std::optional<QStringList> pages = pdfPageTexts(jobs.filePath(all.first()));
    QVERIFY(pages && !pages->isEmpty());
    QVERIFY(
        wordsMissingFrom(pages->first(), QStringLiteral("ر.ط : %1").arg(m_cardTexts.printNumber))
            .isEmpty());
}

QTEST_MAIN(TestPrintCard)
#include "tst_printcard.moc"
