// The grade card printed from the grade sheet as the teacher prints it: F6 the filled card
// after its save, F8 the blank card, F7 the print preview. Cards go to a PDF file.
#include "../support/dialoganswers.h"
#include "../support/pdftext.h"
#include "../support/programondisk.h"
#include "../support/repeatedpupils.h"
#include "print/cardprinter.h"
#include "print/previewwindow.h"

#include <QComboBox>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QToolButton>

using print::PreviewWindow;

namespace {

const QString kSample = QStringLiteral("8410203C07120002025.xml");
const QString kAskToSave =
    QStringLiteral("لا يمكنك طباعة بطاقة الأعداد إلاّ بعد حفظها بالقرص المرن - طباعة ؟");

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
    void cleanup() { m_program.reset(); }
    void filledCardAfterItsSave_data();
    void filledCardAfterItsSave();
    void filledCardNotPrintedWhenTheSaveFails();
    void blankCardLeavesTheSheetAsItIs();
    void previewAsTheTeacherUsesIt();
    void previewOfAGradeBeingTyped_data();
    void previewOfAGradeBeingTyped();

private:
    void openSample(int pupils = 0);
    void verifyScreenPresentation() const;
    sheet::GradeSheetWindow* sheetWindow() const { return m_program->sheet(); }
    sheet::SpreadGrid* grid() const { return m_program->grid(); }
    QString diskFile() const { return m_program->filePath(kSample); }
    QStringList pdfPages() const { return pdfPageTexts(m_pdfPath).value_or(QStringList()); }
    PreviewWindow* pressF7();
    template <typename T> T* part(const char* name) const
    {
        return sheetWindow()->previewWindow()->findChild<T*>(QLatin1String(name));
    }

    std::unique_ptr<ProgramOnDisk> m_program;
    QTemporaryDir m_folder;
    QString m_pdfPath;
    int m_pdfAsked = 0;
};

void TestPrintCard::init()
{
    m_program = std::make_unique<ProgramOnDisk>();
    m_pdfPath = m_folder.filePath(QStringLiteral("card.pdf"));
    QFile::remove(m_pdfPath);
    m_pdfAsked = 0;
}

// Opens the sample, or a class made of its pupils repeated; no printer, the card goes to
// m_pdfPath.
void TestPrintCard::openSample(int pupils)
{
    const gradefile::GradeFileRead read =
        gradefile::readGradeFile(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + kSample);
    QVERIFY(read.lines);
    QVERIFY(m_program->writeFile(kSample, pupils > 0 ? linesWithPupilsRepeated(*read.lines, pupils)
                                                     : *read.lines));
    QVERIFY(m_program->open(kSample));
    grid()->setFocus();
    sheetWindow()->setCardDestination({[] { return false; },
                                       [this](const QString& suggested) {
                                           ++m_pdfAsked;
                                           return suggested.endsWith(QLatin1String(".pdf"))
                                                      ? m_pdfPath
                                                      : QString();
                                       }});
}

void TestPrintCard::verifyScreenPresentation() const
{
    QVERIFY(grid()->isVisible());
    QCOMPARE(grid()->text(8, 0), QStringLiteral("المعرّف الوحيد"));
    QCOMPARE(grid()->cellFont(7, 1).pointSizeF(), 8.0);
}

PreviewWindow* TestPrintCard::pressF7()
{
    sheetWindow()->activateWindow();
    grid()->setFocus();
    if (!QTest::qWaitFor([this] { return sheetWindow()->isActiveWindow(); }))
        return nullptr;
    QTest::keyClick(grid(), Qt::Key_F7);
    PreviewWindow* preview = sheetWindow()->previewWindow();
    return preview && QTest::qWaitFor([preview] { return preview->isActiveWindow(); }) ? preview
                                                                                       : nullptr;
}

void TestPrintCard::filledCardAfterItsSave_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes: saved, then printed") << true;
    QTest::newRow("no: nothing") << false;
}

// Unsaved, F6 asks to save first; the card printed carries the save's number as its print
// number, and the card on paper is the one on the disk.
void TestPrintCard::filledCardAfterItsSave()
{
    QFETCH(bool, yes);
    openSample();
    const QByteArray before = bytesOf(diskFile());
    const qint16 savedBefore = m_program->cardTexts.saveNumber;
    DialogAnswers answers({yes ? Answer::Yes : Answer::No});
    QTest::keyClick(grid(), Qt::Key_F6);

    QTRY_COMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown.first().text, kAskToSave);
    QCOMPARE(m_pdfAsked, yes ? 1 : 0);
    QCOMPARE(QFile::exists(m_pdfPath), yes);
    QCOMPARE(sheetWindow()->focusWidget(), static_cast<QWidget*>(grid()));
    if (!yes) {
        QCOMPARE(bytesOf(diskFile()), before);
        return;
    }
    const print::CardTexts& texts = m_program->cardTexts;
    QVERIFY(texts.saveNumber != savedBefore);
    QCOMPARE(texts.printNumber, texts.saveNumber);
    const QStringList pages = pdfPages();
    QVERIFY(!pages.isEmpty());
    QVERIFY(wordsMissingFrom(pages.first(), QStringLiteral("ر.ط : %1").arg(texts.printNumber))
                .isEmpty());
    QVERIFY(wordsMissingFrom(pages.first(), grid()->text(7, 1)).isEmpty());
    verifyScreenPresentation();
    // Saved now: a second print asks nothing.
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
    QCOMPARE(answers.shown.last().text,
             QStringLiteral("لم تقع طباعة بطاقة الأعداد لأنّها لم تحفظ بالقرص المرن."));
    QCOMPARE(m_pdfAsked, 0);
    QCOMPARE(bytesOf(diskFile()), before);
    QVERIFY(!sheetWindow()->isSaved());
    sheetWindow()->setWriteFaults(nullptr);
}

// The blank card has every pupil and no grade; the sheet keeps what it holds, its size and
// its print number.
void TestPrintCard::blankCardLeavesTheSheetAsItIs()
{
    openSample();
    const QSize size = sheetWindow()->size();
    const QString grade = grid()->text(6, 1);
    const qint16 printNumber = m_program->cardTexts.printNumber;
    QTest::keyClick(grid(), Qt::Key_F8);
    QCOMPARE(m_pdfAsked, 1);
    const QString all = pdfPages().join(u'\n');
    QVERIFY(!grade.isEmpty());
    QVERIFY2(!all.contains(grade) && !all.contains(QStringLiteral("--.--")), qPrintable(all));
    for (int row = 1; row <= grid()->maxRows(); ++row)
        QVERIFY2(wordsMissingFrom(all, grid()->text(7, row)).isEmpty(),
                 qPrintable(grid()->text(7, row)));
    QCOMPARE(grid()->text(6, 1), grade);
    QCOMPARE(sheetWindow()->size(), size);
    QCOMPARE(m_program->cardTexts.printNumber, printNumber);
    QVERIFY(!sheetWindow()->isModified());
    verifyScreenPresentation();
}

// F7 on a class of five pages, then paging, zooming, the sheet changed and shown anew,
// a print from the preview and Escape: the preview shows the card as it prints, never
// leaves the card's pages, and the sheet behind it keeps its screen presentation.
void TestPrintCard::previewAsTheTeacherUsesIt()
{
    openSample(90);
    PreviewWindow* window = pressF7();
    QVERIFY(window);
    QVERIFY(!window->isModal() && window->isMaximized());
    QVERIFY(!QGuiApplication::overrideCursor());
    auto* zoomList = part<QComboBox>("zoomList");
    auto* label = part<QLabel>("pageLabel");
    QCOMPARE(zoomList->currentText(), QStringLiteral("كامل الصفحة"));
    QCOMPARE(window->preview()->zoomMode(), QPrintPreviewWidget::FitInView);
    QCOMPARE(label->text(), QStringLiteral("الصفحة 1"));
    const print::PreviewCard& card = window->card();
    QCOMPARE(card.sheet.cellAt(8, 0).text, QStringLiteral("المعرّف"));
    QCOMPARE(card.sheet.rowCount(), 90);
    const print::PdfOutcome pdf =
        print::writeCardPdf(card.sheet, card.codes, print::cardPrintSettings(), m_pdfPath);
    QVERIFY(pdf.ok);
    QCOMPARE(window->pageCount(), pdf.pageCount);
    QCOMPARE(window->pageCount(), 5);
    verifyScreenPresentation();

    // D Page Down, U Page Up, N and P the next and previous buttons.
    const QList<std::pair<char, int>> steps{{'D', 2}, {'D', 3}, {'D', 4}, {'D', 5}, {'D', 5},
                                            {'N', 5}, {'P', 4}, {'U', 3}, {'U', 2}, {'U', 1},
                                            {'U', 1}, {'P', 1}, {'N', 2}, {'D', 3}};
    for (const auto& [key, page] : steps) {
        if (key == 'D' || key == 'U')
            QTest::keyClick(window->preview(), key == 'D' ? Qt::Key_PageDown : Qt::Key_PageUp);
        else
            QTest::mouseClick(part<QToolButton>(key == 'N' ? "nextButton" : "previousButton"),
                              Qt::LeftButton);
        QCOMPARE(window->currentPage(), page);
        QCOMPARE(label->text(), QStringLiteral("الصفحة %1").arg(page));
    }

    // F7 again shows the sheet as it is now, in the same window, on the same page.
    grid()->setText(6, 1, QStringLiteral("17.50"));
    QCOMPARE(pressF7(), window);
    QCOMPARE(window->card().sheet.cellAt(6, 1).text, QStringLiteral("17.50"));
    QCOMPARE(window->currentPage(), 3);

    // Printing saves first; the preview stays, showing the new print number.
    QFile::remove(m_pdfPath);
    DialogAnswers answers({Answer::Yes});
    QTest::mouseClick(part<QToolButton>("printButton"), Qt::LeftButton);
    QTRY_COMPARE(answers.shown.size(), 1);
    QVERIFY(QFile::exists(m_pdfPath));
    QCOMPARE(sheetWindow()->previewWindow(), window);
    const print::CardTexts& texts = m_program->cardTexts;
    QCOMPARE(texts.printNumber, texts.saveNumber);
    QVERIFY(window->card().codes.header.contains(texts.printNumberLabel +
                                                 QString::number(texts.printNumber)));
    verifyScreenPresentation();

    // The zoom button goes to 100% and back, then back to the list's last choice.
    auto* zoom = part<QToolButton>("zoomButton");
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(zoomList->currentText(), QStringLiteral("100%"));
    QCOMPARE(window->preview()->zoomFactor(), 1.0);
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(window->preview()->zoomMode(), QPrintPreviewWidget::FitInView);
    // Through the list's keys: up five items to 50%, down four to the page's height.
    for (int step = 0; step < 9; ++step) {
        QTest::keyClick(zoomList, step < 5 ? Qt::Key_Up : Qt::Key_Down);
        if (step == 4)
            QCOMPARE(window->preview()->zoomFactor(), 0.5);
    }
    auto* view = window->preview()->findChild<QGraphicsView*>();
    const QList<QGraphicsItem*> items = view->scene()->items();
    QVERIFY(!items.isEmpty());
    const double height = view->transform().mapRect(items.first()->boundingRect()).height();
    QVERIFY2(qAbs(height - view->contentsRect().height()) <= 6,
             qPrintable(QString::number(height)));
    QTest::mouseClick(zoom, Qt::LeftButton);
    QTest::mouseClick(zoom, Qt::LeftButton);
    QCOMPARE(zoomList->currentText(), QStringLiteral("طول الصفحة"));

    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    QTest::keyClick(window->preview(), Qt::Key_Escape);
    QTRY_VERIFY(!sheetWindow()->previewWindow());
    verifyScreenPresentation();
    QVERIFY(pressF7());
}

void TestPrintCard::previewOfAGradeBeingTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("a grade: written as the card carries it") << "7"
                                                             << "07.00";
    QTest::newRow("above twenty: refused, no preview") << "25"
                                                       << "25";
}

// F7 in the middle of typing a grade checks it as leaving the cell does: the preview never
// shows a grade the card could not carry, and a refused one keeps the cursor.
void TestPrintCard::previewOfAGradeBeingTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    openSample();
    typeInto(grid(), 6, 2, typed);
    pressKey(Qt::Key_F7);
    PreviewWindow* preview = sheetWindow()->previewWindow();
    QCOMPARE(grid()->text(6, 2), written);
    QCOMPARE(preview != nullptr, written != typed);
    if (preview)
        QCOMPARE(preview->card().sheet.cellAt(6, 2).text, written);
    else
        QVERIFY(grid()->activeCol() == 6 && grid()->activeRow() == 2);
}

QTEST_MAIN(TestPrintCard)
#include "tst_printcard.moc"
