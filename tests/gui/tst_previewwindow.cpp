// The print preview of the grade card, opened from a grade sheet by F7 and driven through
// its toolbar and keys as the teacher drives it.
#include "../support/dialoganswers.h"
#include "../support/pdftext.h"
#include "../support/repeatedpupils.h"
#include "../support/samplecard.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "print/cardprinter.h"
#include "print/cardtexts.h"
#include "print/previewwindow.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using print::PreviewWindow;
using sheet::GradeSheetWindow;

namespace {

const QString kSample = QStringLiteral("8410203C07120002025.xml");
const QString kIdentifierOnScreen = QStringLiteral("المعرّف الوحيد");
const QString kIdentifierOnPaper = QStringLiteral("المعرّف");
// Enough of the sample's pupils, repeated, for a card of five pages.
constexpr int kFivePagePupils = 90;

enum class Fit { None, Width, Height, Whole };

} // namespace

Q_DECLARE_METATYPE(QPrintPreviewWidget::ZoomMode)
Q_DECLARE_METATYPE(Fit)

class TestPreviewWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensOnTheWholeFirstPage_data();
    void opensOnTheWholeFirstPage();
    void zoomList_data();
    void zoomList();
    void zoomButtonSwitches();
    void pagingStaysOnTheCard_data();
    void pagingStaysOnTheCard();
    void printFromThePreview_data();
    void printFromThePreview();
    void printFromThePreviewReachesTheSpooler();
    void closingLeavesTheNormalPresentation_data();
    void closingLeavesTheNormalPresentation();
    void secondF7ShowsTheSheetAnew();
    void waitCursorWhileComposing();
    void gradeBeingTyped_data();
    void gradeBeingTyped();
    void toolbarPictures_data();
    void toolbarPictures();

private:
    void openSheet(int pupils = 0, bool withPrinter = false);
    PreviewWindow* pressF7();
    void chooseZoomItem(int index);
    void verifyNormalPresentation();
    GradeSheetWindow* sheetWindow() const { return m_window->gradeSheet(); }
    sheet::SpreadGrid* grid() const { return sheetWindow()->grid(); }
    PreviewWindow* preview() const { return sheetWindow()->previewWindow(); }
    template <typename T> T* part(const char* name) const
    {
        return preview()->findChild<T*>(QLatin1String(name));
    }
    QGraphicsView* pageView() const { return preview()->preview()->findChild<QGraphicsView*>(); }
    QSizeF shownPageSize() const;

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_diskPath;
    QString m_pdfPath;
    QStringList m_pictures;
    app::AppState m_appState{true};
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<app::MainWindow> m_window;
};

void TestPreviewWindow::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_diskPath = m_root->filePath(QStringLiteral("A"));
    QVERIFY(QDir().mkdir(m_diskPath));
    m_pdfPath = m_root->filePath(QStringLiteral("card.pdf"));
    m_cardTexts = print::CardTexts{};
    m_window = std::make_unique<app::MainWindow>(m_appState, m_sheetState, m_cardTexts, m_diskPath);
    m_window->setQuitAction([] {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPreviewWindow::cleanup()
{
    for (const QString& picture : std::as_const(m_pictures))
        QFile::remove(picture);
    m_pictures.clear();
    if (sheetWindow())
        sheetWindow()->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window.reset();
    m_root.reset();
}

// Opens the sample, or a class of pupils made of its pupils repeated, into the grade
// sheet; cards go to m_pdfPath, never to a printer, unless withPrinter.
void TestPreviewWindow::openSheet(int pupils, bool withPrinter)
{
    const QString source = QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + kSample;
    const QString disk = QDir(m_diskPath).filePath(kSample);
    if (pupils > 0)
        QVERIFY(writeWithPupilsRepeated(source, disk, pupils));
    else
        QVERIFY(QFile::copy(source, disk));
    QFile::setPermissions(disk, QFile::ReadOwner | QFile::WriteOwner);
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    list->setCurrentItem(list->findItems(kSample, Qt::MatchExactly, 2).value(0));
    m_window->openSelectedFile();
    QVERIFY(sheetWindow());
    QTRY_VERIFY(sheetWindow()->isActiveWindow());
    grid()->setFocus();
    if (withPrinter)
        return;
    sheetWindow()->setCardDestination(
        {[] { return false; }, [this](const QString&) { return m_pdfPath; }});
}

PreviewWindow* TestPreviewWindow::pressF7()
{
    sheetWindow()->activateWindow();
    grid()->setFocus();
    if (!QTest::qWaitFor([this] { return sheetWindow()->isActiveWindow(); }))
        return nullptr;
    QTest::keyClick(grid(), Qt::Key_F7);
    if (!preview() || !QTest::qWaitFor([this] { return preview()->isActiveWindow(); }))
        return nullptr;
    return preview();
}

// Through the list's popup and the keys, as the teacher picks an item.
void TestPreviewWindow::chooseZoomItem(int index)
{
    auto* list = part<QComboBox>("zoomList");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F4);
    QVERIFY(QTest::qWaitFor([list] { return list->view()->isVisible(); }));
    QWidget* popup = list->view();
    QTest::keyClick(popup, Qt::Key_Home);
    for (int step = 0; step < index; ++step)
        QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([list] { return !list->view()->isVisible(); }));
}

void TestPreviewWindow::verifyNormalPresentation()
{
    QVERIFY(grid()->isVisible());
    QCOMPARE(grid()->text(8, 0), kIdentifierOnScreen);
    QCOMPARE(grid()->cellFont(7, 1).pointSizeF(), 8.0);
    QCOMPARE(grid()->cellAlignment(9, 1) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

// The size of a page as the view shows it, its shadowed border included, in pixels.
QSizeF TestPreviewWindow::shownPageSize() const
{
    const QList<QGraphicsItem*> pages = pageView()->scene()->items();
    if (pages.isEmpty())
        return {};
    return pageView()->transform().mapRect(pages.first()->boundingRect()).size();
}

void TestPreviewWindow::opensOnTheWholeFirstPage_data()
{
    QTest::addColumn<int>("pupils");
    QTest::addColumn<int>("pages");
    QTest::newRow("one page") << 15 << 1;
    QTest::newRow("five pages") << kFivePagePupils << 5;
}

// F7 opens the card as it prints: the grid's print presentation and the page header, on
// as many pages as the PDF of the same card, the first one whole; the sheet behind it
// stays in its screen presentation and usable.
void TestPreviewWindow::opensOnTheWholeFirstPage()
{
    QFETCH(int, pupils);
    QFETCH(int, pages);
    openSheet(pupils);
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("معاينة"));
    QVERIFY(!window->isModal());
    QVERIFY(window->isMaximized());
    QCOMPARE(part<QComboBox>("zoomList")->currentText(), QStringLiteral("كامل الصفحة"));
    QCOMPARE(window->preview()->zoomMode(), QPrintPreviewWidget::FitInView);
    QCOMPARE(part<QLabel>("pageLabel")->text(), QStringLiteral("الصفحة 1"));
    QCOMPARE(window->currentPage(), 1);

    const print::PreviewCard& card = window->card();
    QCOMPARE(card.sheet.cellAt(8, 0).text, kIdentifierOnPaper);
    QCOMPARE(card.sheet.cellAt(7, 1).font.pointSize, 9.0);
    QCOMPARE(card.sheet.rowCount(), grid()->maxRows());
    QVERIFY(card.codes.header.contains(m_cardTexts.sheetDescription));
    const print::PdfOutcome pdf =
        print::writeCardPdf(card.sheet, card.codes, print::cardPrintSettings(), m_pdfPath);
    QVERIFY(pdf.ok);
    QCOMPARE(pdfPageTexts(m_pdfPath).value_or(QStringList()).size(), pdf.pageCount);
    QCOMPARE(window->pageCount(), pdf.pageCount);
    QCOMPARE(window->pageCount(), pages);

    verifyNormalPresentation();
    QVERIFY(sheetWindow()->isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPreviewWindow::zoomList_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPrintPreviewWidget::ZoomMode>("mode");
    QTest::addColumn<qreal>("factor"); // for a custom zoom that is not a fit
    QTest::addColumn<Fit>("fit");
    const auto custom = QPrintPreviewWidget::CustomZoom;
    QTest::newRow("200%") << 0 << 1 << "200%" << custom << 2.0 << Fit::None;
    QTest::newRow("150%") << 1 << 1 << "150%" << custom << 1.5 << Fit::None;
    QTest::newRow("100%") << 2 << 1 << "100%" << custom << 1.0 << Fit::None;
    QTest::newRow("100% twice stays 100%") << 2 << 2 << "100%" << custom << 1.0 << Fit::None;
    QTest::newRow("75%") << 3 << 1 << "75%" << custom << 0.75 << Fit::None;
    QTest::newRow("50%") << 4 << 1 << "50%" << custom << 0.5 << Fit::None;
    QTest::newRow("25%") << 5 << 1 << "25%" << custom << 0.25 << Fit::None;
    QTest::newRow("10%") << 6 << 1 << "10%" << custom << 0.1 << Fit::None;
    QTest::newRow("page width") << 7 << 1 << "عرض الصفحة" << QPrintPreviewWidget::FitToWidth << 0.0
                                << Fit::Width;
    QTest::newRow("page height") << 8 << 1 << "طول الصفحة" << custom << 0.0 << Fit::Height;
    QTest::newRow("whole page") << 9 << 1 << "كامل الصفحة" << QPrintPreviewWidget::FitInView << 0.0
                                << Fit::Whole;
}

// Each item of the list gives its view of the page: a percentage of its printed size, or
// the page fitted to the view's width, height or both.
void TestPreviewWindow::zoomList()
{
    QFETCH(int, index);
    QFETCH(int, times);
    QFETCH(QString, text);
    QFETCH(QPrintPreviewWidget::ZoomMode, mode);
    QFETCH(qreal, factor);
    QFETCH(Fit, fit);
    openSheet();
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    if (index == 9)
        chooseZoomItem(2); // the list starts on the whole page: come to it from elsewhere
    for (int time = 0; time < times; ++time)
        chooseZoomItem(index);

    QCOMPARE(part<QComboBox>("zoomList")->currentText(), text);
    QCOMPARE(window->preview()->zoomMode(), mode);
    if (factor > 0)
        QVERIFY2(qAbs(window->preview()->zoomFactor() - factor) < 1e-6,
                 qPrintable(QString::number(window->preview()->zoomFactor())));
    const QSizeF page = shownPageSize();
    const QSize room = pageView()->viewport()->size();
    const QSize view = pageView()->contentsRect().size();
    switch (fit) {
    case Fit::None:
        break;
    case Fit::Width:
        QVERIFY2(qAbs(page.width() - room.width()) <= 6, qPrintable(QString::number(page.width())));
        break;
    case Fit::Height:
        QVERIFY2(qAbs(page.height() - view.height()) <= 6,
                 qPrintable(QString::number(page.height())));
        break;
    case Fit::Whole:
        QVERIFY(page.width() <= room.width() && page.height() <= room.height());
        QVERIFY(qAbs(page.width() - room.width()) <= 6 || qAbs(page.height() - room.height()) <= 6);
        break;
    }
}

// The zoom button goes from the whole page to 100% and back, then back to what the list
// chose last.
void TestPreviewWindow::zoomButtonSwitches()
{
    openSheet();
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    auto* zoom = part<QToolButton>("zoomButton");
    auto* list = part<QComboBox>("zoomList");
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(list->currentText(), QStringLiteral("100%"));
    QCOMPARE(window->preview()->zoomFactor(), 1.0);
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(list->currentText(), QStringLiteral("كامل الصفحة"));
    QCOMPARE(window->preview()->zoomMode(), QPrintPreviewWidget::FitInView);
    chooseZoomItem(4);
    chooseZoomItem(9);
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(list->currentText(), QStringLiteral("50%"));
    QCOMPARE(window->preview()->zoomFactor(), 0.5);
}

void TestPreviewWindow::pagingStaysOnTheCard_data()
{
    // D: Page Down, U: Page Up, N: the next button, P: the previous button.
    QTest::addColumn<QString>("events");
    QTest::addColumn<int>("page");
    QTest::newRow("Page Down past the last page") << "DDDDDDD" << 5;
    QTest::newRow("next button past the last page") << "NNNNNNN" << 5;
    QTest::newRow("Page Up before the first page") << "UU" << 1;
    QTest::newRow("previous button before the first page") << "PP" << 1;
    QTest::newRow("to the end and one back") << "DDDDDDU" << 4;
    QTest::newRow("keys and buttons together") << "DNDP" << 3;
    QTest::newRow("back from before the first page") << "UUUD" << 2;
}

// Paging moves one page at a time through the five pages and never beyond them, and the
// label names the page shown after every step.
void TestPreviewWindow::pagingStaysOnTheCard()
{
    QFETCH(QString, events);
    QFETCH(int, page);
    openSheet(kFivePagePupils);
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    QCOMPARE(window->pageCount(), 5);
    auto* label = part<QLabel>("pageLabel");
    for (const QChar event : events) {
        if (event == u'D')
            QTest::keyClick(window->preview(), Qt::Key_PageDown);
        else if (event == u'U')
            QTest::keyClick(window->preview(), Qt::Key_PageUp);
        else if (event == u'N')
            QTest::mouseClick(part<QToolButton>("nextButton"), Qt::LeftButton);
        else
            QTest::mouseClick(part<QToolButton>("previousButton"), Qt::LeftButton);
        QVERIFY(window->currentPage() >= 1 && window->currentPage() <= 5);
        QCOMPARE(label->text(), QStringLiteral("الصفحة %1").arg(window->currentPage()));
    }
    QCOMPARE(window->currentPage(), page);
}

void TestPreviewWindow::printFromThePreview_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("saved and printed") << true;
    QTest::newRow("the save refused: nothing printed") << false;
}

// The print button runs the sheet's print with its save question; the preview stays
// open, shows the card with its new print number, and the sheet is back in its screen
// presentation.
void TestPreviewWindow::printFromThePreview()
{
    QFETCH(bool, yes);
    openSheet();
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    const qint16 printNumber = m_cardTexts.printNumber;
    DialogAnswers answers({yes ? Answer::Yes : Answer::No});
    QTest::mouseClick(part<QToolButton>("printButton"), Qt::LeftButton);

    QTRY_COMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown.first().text,
             QStringLiteral("لا يمكنك طباعة بطاقة الأعداد إلاّ بعد حفظها بالقرص المرن - طباعة ؟"));
    QCOMPARE(QFile::exists(m_pdfPath), yes);
    QCOMPARE(preview(), window);
    QVERIFY(window->isVisible());
    verifyNormalPresentation();
    const QString printed = m_cardTexts.printNumberLabel + QString::number(m_cardTexts.printNumber);
    QVERIFY2(window->card().codes.header.contains(printed), qPrintable(printed));
    QCOMPARE(m_cardTexts.printNumber != printNumber, yes);
}

// Through the program's own print path to the real spooler (./test --full sets up the
// queue): the preview drawn on the printer's paper has the pages of the job it prints.
void TestPreviewWindow::printFromThePreviewReachesTheSpooler()
{
    if (QPrinterInfo::defaultPrinterName() != QLatin1String("saisie-notes-test"))
        QSKIP("no CUPS test queue as the default destination: ./test --full sets it up");
    const QDir jobs(QStringLiteral("/var/spool/saisie-notes-test-jobs"));
    const auto jobCount = [&jobs] {
        return jobs.entryList({QStringLiteral("*.job")}, QDir::Files).size();
    };
    const qsizetype before = jobCount();
    openSheet(kFivePagePupils, true);
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    DialogAnswers answers({Answer::Yes});
    QTest::mouseClick(part<QToolButton>("printButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(jobCount() > before, 20000);
    const QStringList all = jobs.entryList({QStringLiteral("*.job")}, QDir::Files, QDir::Time);
    const std::optional<QStringList> pages = pdfPageTexts(jobs.filePath(all.first()));
    QVERIFY(pages);
    QCOMPARE(int(pages->size()), window->pageCount());
    const QString printed = m_cardTexts.printNumberLabel + QString::number(m_cardTexts.printNumber);
    QVERIFY(wordsMissingFrom(pages->first(), printed).isEmpty());
    QVERIFY(window->card().codes.header.contains(printed));
}

void TestPreviewWindow::closingLeavesTheNormalPresentation_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the close button") << "button";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("the title bar") << "title bar";
}

// However the preview closes, the sheet is left in its screen presentation with its grid
// shown, and F7 opens a new preview afterwards.
void TestPreviewWindow::closingLeavesTheNormalPresentation()
{
    QFETCH(QString, how);
    openSheet();
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    if (how == QLatin1String("button"))
        QTest::mouseClick(part<QToolButton>("closeButton"), Qt::LeftButton);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(window->preview(), Qt::Key_Escape);
    else
        window->windowHandle()->close();
    QTRY_VERIFY(!preview());
    QVERIFY(sheetWindow()->isVisible());
    verifyNormalPresentation();
    QVERIFY(pressF7());
}

// F7 again while the preview is open shows the sheet as it is now in the same window, on
// the page it was showing.
void TestPreviewWindow::secondF7ShowsTheSheetAnew()
{
    openSheet(kFivePagePupils);
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    QTest::keyClick(window->preview(), Qt::Key_PageDown);
    QTest::keyClick(window->preview(), Qt::Key_PageDown);
    QCOMPARE(window->currentPage(), 3);
    grid()->setText(6, 1, QStringLiteral("17.50"));

    QCOMPARE(pressF7(), window);
    QCOMPARE(sheetWindow()->findChildren<PreviewWindow*>().size(), 1);
    QCOMPARE(window->card().sheet.cellAt(6, 1).text, QStringLiteral("17.50"));
    QCOMPARE(window->currentPage(), 3);
    QCOMPARE(part<QLabel>("pageLabel")->text(), QStringLiteral("الصفحة 3"));
    verifyNormalPresentation();
}

// The hourglass shows while the card is composed and drawn, and not after.
void TestPreviewWindow::waitCursorWhileComposing()
{
    const std::optional<SampleCard> sample = sampleCard(kSample);
    QVERIFY(sample);
    std::optional<Qt::CursorShape> whileComposing;
    PreviewWindow window(
        [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            whileComposing = cursor ? cursor->shape() : Qt::ArrowCursor;
            return print::PreviewCard{sample->sheet,
                                      print::composePageHeader(sample->texts, QDate(2025, 3, 14))};
        },
        nullptr, QString());
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.refreshAndShow();
    QCOMPARE(whileComposing, std::optional<Qt::CursorShape>(Qt::WaitCursor));
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(window.pageCount() >= 1);
}

void TestPreviewWindow::gradeBeingTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("opened");
    QTest::newRow("a grade: written as the card carries it") << "7"
                                                             << "07.00" << true;
    QTest::newRow("above twenty: refused, no preview") << "25"
                                                       << "25" << false;
}

// F7 in the middle of typing a grade: the grade is checked as leaving its cell checks it,
// so the preview never shows a grade the card could not carry, and a refused one keeps
// the cursor.
void TestPreviewWindow::gradeBeingTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(bool, opened);
    openSheet();
    grid()->setActiveCell(6, 2);
    for (const QChar character : typed)
        QTest::keyClick(QApplication::focusWidget(), character.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    QCOMPARE(preview() != nullptr, opened);
    QCOMPARE(grid()->text(6, 2), written);
    if (opened)
        QCOMPARE(preview()->card().sheet.cellAt(6, 2).text, written);
    else
        QVERIFY(grid()->activeCol() == 6 && grid()->activeRow() == 2);
}

void TestPreviewWindow::toolbarPictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("picture"); // false: the file holds no picture
    QTest::newRow("print") << "print.bmp"
                           << "printButton" << true;
    QTest::newRow("zoom") << "zoom.bmp"
                          << "zoomButton" << true;
    QTest::newRow("previous") << "PREV.bmp"
                              << "previousButton" << true;
    QTest::newRow("next") << "NEXT.bmp"
                          << "nextButton" << true;
    QTest::newRow("a file that is no picture") << "print.bmp"
                                               << "printButton" << false;
}

// The pictures are the bitmaps beside the program; a file that is no picture leaves the
// button its own and the window opens all the same.
void TestPreviewWindow::toolbarPictures()
{
    QFETCH(QString, file);
    QFETCH(QString, button);
    QFETCH(bool, picture);
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(file);
    m_pictures << path;
    const QColor colour(0, 128, 255);
    if (picture) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(image.save(path, "BMP"));
    } else {
        QFile bytes(path);
        QVERIFY(bytes.open(QIODevice::WriteOnly));
        bytes.write("not a bitmap");
    }
    openSheet();
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    const QIcon icon = window->findChild<QToolButton*>(button)->icon();
    QVERIFY(!icon.isNull());
    const QColor shown = icon.pixmap(16, 16).toImage().pixelColor(8, 8);
    QCOMPARE(shown == colour, picture);
}

QTEST_MAIN(TestPreviewWindow)
#include "tst_previewwindow.moc"
