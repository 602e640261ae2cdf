// The grade sheet's print commands: the filled card, its preview, the blank card and the
// large presentation of the grid.

#include "core/card/cardtexts.h"
#include "core/card/pageheader.h"
#include "core/card/printedsheet.h"
#include "core/copies/copyfailure.h"
#include "core/gradefile/sheetcolumns.h"
#include "core/sheet/openedsheet.h"
#include "gui/grid/gradegrid.h"
#include "gui/grid/griddelegate.h"
#include "gui/preview/previewwindow.h"
#include "gui/ui/accessibility.h"
#include "gui/ui/filedialogs.h"
#include "gui/ui/notice.h"
#include "gui/ui/questiondialog.h"
#include "gui/ui/uilook.h"
#include "gui/ui/waitcursor.h"
#include "gui/windows/sheet/gradesheetwindow.h"
#include "print/cardprinter.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTimer>

namespace sheet {

namespace {

const QString kPrintAfterSaveQuestion =
    QStringLiteral("لا يمكنك طباعة بطاقة الأعداد إلاّ بعد حفظها بالقرص المرن - طباعة ؟");
const QString kNotPrintedUnsaved =
    QStringLiteral("لم تقع طباعة بطاقة الأعداد لأنّها لم تحفظ بالقرص المرن.");
const QString kPrintFailed = QStringLiteral("تعذّرت طباعة بطاقة الأعداد :\n");
const QString kPdfFailed = QStringLiteral("تعذّر حفظ بطاقة الأعداد في الملفّ :\n");
const QString kPdfCaption = QStringLiteral("حفظ بطاقة الأعداد في ملفّ PDF");
const QString kBlankCardName = QStringLiteral(" - قبل الرقن");
const QString kCardPrinted = QStringLiteral("أرسلت البطاقة إلى الطابعة %1 - الصفحات : %2");
const QString kCardWritten = QStringLiteral("حفظت البطاقة في %1 بالمجلّد %2 - الصفحات : %3");
// How long the status line says that a card went; the same card asked for again meanwhile
// is the teacher's second press while the first was being sent, not a second card.
constexpr int kCardSentShownMs = 6000;

QString askForPdfPath(QWidget* parent, const QString& suggestedName)
{
    return ui::chooseFileToSave(parent, QStringLiteral("card"), kPdfCaption, suggestedName,
                                QStringLiteral("PDF (*.pdf)"));
}

} // namespace

void GradeSheetWindow::giveGridBackItsCursor()
{
    m_grid->setFocus();
    m_grid->setActiveCell(m_grid->activeCell());
}

bool GradeSheetWindow::printFilledCard()
{
    if (isCardJustSent(true))
        return false;
    // A filled card shows what the disk holds, under the number of the save that wrote
    // it: a sheet not saved yet, or changed since its save, is saved first.
    if (!isSaved() || isModified()) {
        const auto answer = ui::QuestionDialog::ask(
            kPrintAfterSaveQuestion, ui::QuestionDialog::Buttons::YesNo, windowTitle(), this);
        if (answer != ui::QuestionDialog::Answer::Yes) {
            giveGridBackItsCursor();
            return false;
        }
        // The save replaces the file safely; a card printed from grades the disk does
        // not hold would not be the card the administration gets.
        if (!save()) {
            ui::showNotice(this, windowTitle(), kNotPrintedUnsaved);
            giveGridBackItsCursor();
            return false;
        }
    }
    // The card carries the number of the last save, but the number is used up only by a
    // card that exists: sent to the printer, or written as a PDF file.
    print::CardTexts signedTexts = m_document.cardTexts();
    signedTexts.printNumber = signedTexts.saveNumber;
    if (!sendCard(filledCard(), print::composePageHeader(signedTexts, QDate::currentDate()), true))
        return false;
    m_document.setPrintNumber(signedTexts.printNumber);
    return true;
}

bool GradeSheetWindow::printBlankCard()
{
    if (isCardJustSent(false))
        return false;
    // The filled card with its grade cells empty: what the sheet holds that the disk does
    // not yet stays as it is.
    print::PrintedSheet card = filledCard();
    card.blankGradeCells();
    return sendCard(card, print::composePageHeader(m_document.cardTexts(), QDate::currentDate()),
                    false);
}

bool GradeSheetWindow::cardGoesToPrinter() const
{
    return m_destination.hasPrinter ? m_destination.hasPrinter() : print::hasPrinter();
}

void GradeSheetWindow::showPreview()
{
    // The grade being typed is written as leaving its cell would write it, and a refused
    // one keeps the cursor: the preview shows no grade the card could not carry.
    if (!checkCellUnderCursor())
        return;
    if (!m_preview) {
        // The preview draws on the paper of where the card goes, so its pages are those
        // that print.
        const QString printer = cardGoesToPrinter() ? print::targetPrinterName() : QString();
        const auto compose = [this] {
            return print::PreviewCard{filledCard(), print::composePageHeader(m_document.cardTexts(),
                                                                             QDate::currentDate())};
        };
        m_preview = new print::PreviewWindow(
            compose, [this] { return printFilledCard() ? statusText() : QString(); }, printer,
            this);
        connect(m_preview, &print::PreviewWindow::closed, this,
                &GradeSheetWindow::giveGridBackItsCursor);
    }
    m_preview->refreshAndShow();
}

print::PreviewWindow* GradeSheetWindow::previewWindow() const
{
    return m_preview;
}

// The card reads the sheet's cells and never its look: the large presentation, a name in
// bold for an observation validated in this run, the row heights of the screen do not
// reach the paper, and printing changes nothing on the screen.
print::PrintedSheet GradeSheetWindow::filledCard() const
{
    const print::CardSheet sheet{sheetTable(), m_sheet.shownColumns(),
                                 m_document.nameLayout() == QLatin1String("C")};
    return print::composePrintedSheet(sheet);
}

bool GradeSheetWindow::sendCard(const print::PrintedSheet& card, const print::PageHeader& codes,
                                bool filled)
{
    QString sent;
    if (cardGoesToPrinter()) {
        ui::WaitCursor wait;
        const QString job = windowTitle().trimmed() + (filled ? QString() : QStringLiteral(" *"));
        const print::PrintOutcome outcome = print::printCard(card, codes, job);
        wait.restore();
        if (outcome.ok)
            sent = kCardPrinted.arg(outcome.printerName).arg(outcome.pageCount);
        else
            ui::showNotice(this, windowTitle(), kPrintFailed + outcome.error);
    } else {
        sent = writeCardToPdf(card, codes, filled);
    }
    giveGridBackItsCursor();
    if (sent.isEmpty())
        return false;
    m_cardSent = filled ? CardSent::Filled : CardSent::Blank;
    showStatus(sent);
    return true;
}

// Without a printer the teacher keeps the card as a PDF file, to print elsewhere.
QString GradeSheetWindow::writeCardToPdf(const print::PrintedSheet& card,
                                         const print::PageHeader& codes, bool filled)
{
    // The blank card is named apart, so that it does not take the filled one's place.
    const QString suggested = print::suggestedPdfFileName(m_document.cardTexts().sheetDescription +
                                                          (filled ? QString() : kBlankCardName));
    const QString path = m_destination.choosePdfPath ? m_destination.choosePdfPath(suggested)
                                                     : askForPdfPath(this, suggested);
    if (path.isEmpty())
        return {};
    ui::WaitCursor wait;
    const print::PdfOutcome outcome = print::writeCardPdf(card, codes, path, windowTitle());
    wait.restore();
    if (!outcome.ok) {
        ui::showNotice(this, windowTitle(), kPdfFailed + outcome.error.description);
        return {};
    }
    // The name reads in its own direction, the folder's path left to right.
    const QFileInfo file(path);
    return kCardWritten.arg(file.fileName(), leftToRight(QDir::toNativeSeparators(file.path())))
        .arg(outcome.pageCount);
}

bool GradeSheetWindow::isCardJustSent(bool filled) const
{
    return m_statusTimer->isActive() && !isModified() &&
           m_cardSent == (filled ? CardSent::Filled : CardSent::Blank);
}

void GradeSheetWindow::showStatus(const QString& text)
{
    m_statusLine->setText(text);
    ui::announce(m_statusLine, text);
    m_statusTimer->start(kCardSentShownMs);
}

// The large presentation only changes the screen: a bigger, bold font, taller rows and the
// short identifier header; back to normal, the grid is as the sheet opened.
void GradeSheetWindow::toggleLargePresentation()
{
    m_largePresentation = !m_largePresentation;
    m_grid->setFont(m_largePresentation ? ui::designedFont(10, true)
                                        : ui::designedFont(ui::kDesignedPointSize));
    // 15 points, 20 pixels at 96 dpi, or what a larger font needs.
    const int largeRowHeight = qMax(20, m_grid->fontMetrics().height() + 4);
    m_grid->verticalHeader()->setDefaultSectionSize(m_largePresentation ? largeRowHeight
                                                                        : m_normalRowHeight);
    static_cast<GridHeader*>(m_grid->horizontalHeader())
        ->showText(gradefile::kIdentifierColumn - 1,
                   m_largePresentation ? gradefile::kShortIdentifierHeader : QString());
    fitGridColumns();
    fitWindowToGrid();
    ui::centreOnScreen(this, 100);
    giveGridBackItsCursor();
}

} // namespace sheet
