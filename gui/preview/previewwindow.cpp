#include "gui/preview/previewwindow.h"

#include <algorithm>

#include "core/card/previewrules.h"
#include "gui/ui/accessibility.h"
#include "gui/ui/artwork.h"
#include "gui/ui/uilook.h"
#include "gui/ui/waitcursor.h"
#include "print/cardprinter.h"
#include "print/pagerenderer.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace print {

namespace {

const QString kCaption = QStringLiteral("معاينة");
const QString kCloseCaption = QStringLiteral("إنهاء");

// The window as designed, before it is maximised: its inner size in twips.
constexpr int kDesignWidthTwips = 6495;
constexpr int kDesignHeightTwips = 6195;
constexpr int kToolBarHeightTwips = 450;
// Widths of the toolbar's cells in grid units of 90 twips.
constexpr int kTwipsPerUnit = 90;
constexpr double kPictureButtonUnits = 2.8;
constexpr double kZoomListUnits = 14;
constexpr double kCloseButtonUnits = 5.6;
constexpr double kPageLabelUnits = 8.5;
constexpr double kSpacerUnits = 0.8;
const QColor kToolBarColour(192, 192, 192);
// What QGraphicsView::fitInView leaves free on each side of what it fits.
constexpr int kFitMargin = 2;

int unitsToPixels(double units)
{
    return ui::fromTwips(qRound(units * kTwipsPerUnit));
}

QIcon toolbarPicture(const QString& fileName, const QIcon& fallback)
{
    const QPixmap picture(QDir(QCoreApplication::applicationDirPath()).filePath(fileName));
    return picture.isNull() ? fallback : QIcon(picture);
}

} // namespace

PreviewWindow::PreviewWindow(ComposeCard composeCard, PrintCard printCard,
                             const QString& printerName, QWidget* parent)
    : QWidget(parent, Qt::Window), m_composeCard(std::move(composeCard)),
      m_printCard(std::move(printCard)), m_printer(cardPrinter(printerName))
{
    setObjectName(QStringLiteral("previewWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    setWindowIcon(ui::programIcon());
    setLayoutDirection(Qt::RightToLeft);

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setAccessibleName(kCaption);
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_pageView = m_preview->findChild<QGraphicsView*>();
    if (m_pageView) {
        m_pageView->installEventFilter(this);
        m_pageView->setAccessibleName(kCaption);
        m_pageView->viewport()->setAccessibleName(kCaption);
        m_pageView->verticalScrollBar()->setAccessibleName(QStringLiteral("تمرير الصفحة عموديا"));
        m_pageView->horizontalScrollBar()->setAccessibleName(QStringLiteral("تمرير الصفحة أفقيا"));
    }
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &PreviewWindow::paintCard);
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::showPageNumber);

    createToolBar();
    createKeys();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_preview, 1);
    // The sheet's own status line is behind the preview: the preview says the card was sent.
    m_sentLine = new QLabel(this);
    m_sentLine->setObjectName(QStringLiteral("sentLine"));
    m_sentLine->setWordWrap(true);
    m_sentLine->setMargin(unitsToPixels(kSpacerUnits));
    m_sentLine->hide();
    layout->addWidget(m_sentLine);

    m_zoomChoice = initialZoomChoice();
    applyZoom();
    resize(
        ui::designedSize(kDesignWidthTwips, kDesignHeightTwips).boundedTo(ui::availableSize(this)));
    m_preview->setFocus();
}

PreviewWindow::~PreviewWindow()
{
    // The pages on show are pictures the printer holds: the preview goes before it.
    delete m_preview;
}

void PreviewWindow::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setMinimumHeight(ui::fromTwips(kToolBarHeightTwips));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->layout()->setSpacing(unitsToPixels(kSpacerUnits));
    m_toolBar->setContentsMargins(unitsToPixels(kSpacerUnits), 0, unitsToPixels(kSpacerUnits), 0);
    QPalette grey = m_toolBar->palette();
    grey.setColor(QPalette::Window, kToolBarColour);
    grey.setColor(QPalette::Button, kToolBarColour);
    m_toolBar->setPalette(grey);
    m_toolBar->setAutoFillBackground(true);

    QStyleOption direction;
    direction.initFrom(this);
    const QIcon back = style()->standardIcon(QStyle::SP_ArrowBack, &direction, this);
    const QIcon forward = style()->standardIcon(QStyle::SP_ArrowForward, &direction, this);

    QToolButton* print =
        addPictureButton(QStringLiteral("printButton"), QStringLiteral("print.bmp"),
                         ui::printerIcon(), QStringLiteral("طباعة"));
    QToolButton* zoom = addPictureButton(QStringLiteral("zoomButton"), QStringLiteral("zoom.bmp"),
                                         ui::magnifierIcon(), QStringLiteral("الصفحة كاملة"));

    m_zoomList = new QComboBox(m_toolBar);
    m_zoomList->setObjectName(QStringLiteral("zoomList"));
    m_zoomList->setAccessibleName(QStringLiteral("التكبير"));
    for (const ZoomChoice& choice : zoomChoices())
        m_zoomList->addItem(choice.text);
    m_zoomList->setCurrentIndex(initialZoomChoice());
    m_zoomList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_zoomList->setMinimumWidth(unitsToPixels(kZoomListUnits));
    m_toolBar->addWidget(m_zoomList);

    QToolButton* previous =
        addPictureButton(QStringLiteral("previousButton"), QStringLiteral("PREV.bmp"), back,
                         QStringLiteral("الصفحة السابقة (Page Up)"));
    QToolButton* next = addPictureButton(QStringLiteral("nextButton"), QStringLiteral("NEXT.bmp"),
                                         forward, QStringLiteral("الصفحة التالية (Page Down)"));

    auto* close = new QToolButton(m_toolBar);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setText(kCloseCaption);
    close->setToolButtonStyle(Qt::ToolButtonTextOnly);
    close->setMinimumWidth(unitsToPixels(kCloseButtonUnits));
    m_toolBar->addWidget(close);

    m_pageLabel = new QLabel(pageLabelText(1), m_toolBar);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setAlignment(Qt::AlignCenter);
    m_pageLabel->setMinimumWidth(unitsToPixels(kPageLabelUnits));
    m_toolBar->addWidget(m_pageLabel);

    connect(print, &QToolButton::clicked, this, &PreviewWindow::printFromPreview);
    connect(zoom, &QToolButton::clicked, this, &PreviewWindow::switchZoom);
    // activated, not currentIndexChanged: choosing the item already shown applies it again.
    connect(m_zoomList, &QComboBox::activated, this, &PreviewWindow::chooseZoom);
    connect(previous, &QToolButton::clicked, this, &PreviewWindow::showPreviousPages);
    connect(next, &QToolButton::clicked, this, &PreviewWindow::showNextPages);
    connect(close, &QToolButton::clicked, this, &PreviewWindow::close);
}

// A picture says nothing to a screen reader: the button is named, and the name shows as its
// tool tip.
QToolButton* PreviewWindow::addPictureButton(const QString& name, const QString& pictureFile,
                                             const QIcon& fallback, const QString& spokenName)
{
    auto* button = new QToolButton(m_toolBar);
    button->setObjectName(name);
    button->setAccessibleName(spokenName);
    button->setToolTip(spokenName);
    button->setIcon(toolbarPicture(pictureFile, fallback));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setMinimumWidth(unitsToPixels(kPictureButtonUnits));
    m_toolBar->addWidget(button);
    return button;
}

// Wherever the focus is in the window.
void PreviewWindow::createKeys()
{
    const auto addKey = [this](Qt::Key key) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        return action;
    };
    connect(addKey(Qt::Key_PageUp), &QAction::triggered, this, &PreviewWindow::showPreviousPages);
    connect(addKey(Qt::Key_PageDown), &QAction::triggered, this, &PreviewWindow::showNextPages);
    connect(addKey(Qt::Key_Escape), &QAction::triggered, this, &PreviewWindow::close);
}

void PreviewWindow::refreshAndShow()
{
    refresh();
    if (!isVisible()) {
        ui::centreOnScreen(this);
        showMaximized();
    }
    raise();
    activateWindow();
}

void PreviewWindow::refresh()
{
    ui::WaitCursor wait;
    if (m_composeCard)
        m_card = m_composeCard();
    m_preview->updatePreview();
    if (zoomChoices()[m_zoomChoice].view == ZoomView::PageHeight)
        fitPageHeight();
    showPageNumber();
}

void PreviewWindow::paintCard(QPrinter* printer)
{
    // A card that cannot be laid out on this paper shows no page; printing it says why.
    renderCard(m_card.sheet, m_card.codes, *printer);
}

// The window stays open and shows the card as the print left it (its print number may have
// changed).
void PreviewWindow::printFromPreview()
{
    const QPointer<PreviewWindow> self(this);
    const QString sent = m_printCard ? m_printCard() : QString();
    if (!self)
        return;
    refresh();
    if (sent.isEmpty())
        return;
    m_sentLine->setText(sent);
    m_sentLine->show();
    ui::announce(m_sentLine, sent);
}

int PreviewWindow::pageCount() const
{
    return m_preview->pageCount();
}

int PreviewWindow::currentPage() const
{
    return m_preview->currentPage();
}

void PreviewWindow::showPreviousPages()
{
    stepPages(-1);
}

void PreviewWindow::showNextPages()
{
    stepPages(1);
}

int PreviewWindow::pagesShownAtOnce() const
{
    switch (m_preview->viewMode()) {
    case QPrintPreviewWidget::SinglePageView:
        return 1;
    case QPrintPreviewWidget::FacingPagesView:
        return 2;
    case QPrintPreviewWidget::AllPagesView:
        return qMax(1, pageCount());
    }
    return 1;
}

void PreviewWindow::stepPages(int direction)
{
    const int page = steppedPage(currentPage(), direction * pagesShownAtOnce(), pageCount());
    m_preview->setCurrentPage(page);
    showPageNumber();
}

void PreviewWindow::showPageNumber()
{
    m_pageLabel->setText(pageLabelText(currentPage()));
}

void PreviewWindow::chooseZoom(int index)
{
    Q_ASSERT(index >= 0 && index < zoomChoices().size());
    m_zoomChoice = index;
    if (index != initialZoomChoice())
        m_lastOtherZoom = index;
    if (m_zoomList->currentIndex() != index)
        m_zoomList->setCurrentIndex(index);
    applyZoom();
}

void PreviewWindow::switchZoom()
{
    chooseZoom(switchedZoomChoice(m_zoomChoice, m_lastOtherZoom));
}

void PreviewWindow::applyZoom()
{
    // Another zoom shows the same page, from its top: the teacher does not lose their place.
    const int page = currentPage();
    const ZoomChoice& choice = zoomChoices()[m_zoomChoice];
    switch (choice.view) {
    case ZoomView::Percentage:
        m_preview->setZoomFactor(choice.percentage / 100.0);
        break;
    case ZoomView::PageWidth:
        m_preview->fitToWidth();
        break;
    case ZoomView::PageHeight:
        fitPageHeight();
        break;
    case ZoomView::WholePage:
        m_preview->fitInView();
        break;
    }
    showPageTop(page);
}

void PreviewWindow::showPageTop(int page)
{
    if (!m_pageView || !m_pageView->scene() ||
        m_preview->zoomMode() == QPrintPreviewWidget::FitInView)
        return;
    QList<QGraphicsItem*> pages = m_pageView->scene()->items();
    std::sort(pages.begin(), pages.end(),
              [](const QGraphicsItem* a, const QGraphicsItem* b) { return a->y() < b->y(); });
    if (page < 1 || page > pages.size())
        return;
    const QPointF top = m_pageView->transform().map(pages.at(page - 1)->pos());
    m_pageView->verticalScrollBar()->setValue(int(top.y()) - kFitMargin);
}

// Fitted to the view's height, scroll bar or not, so that the scroll bar coming and going
// cannot make the fit swing.
void PreviewWindow::fitPageHeight()
{
    const QList<QGraphicsItem*> pages =
        m_pageView && m_pageView->scene() ? m_pageView->scene()->items() : QList<QGraphicsItem*>();
    if (pages.isEmpty()) {
        m_preview->fitInView();
        return;
    }
    const double pageHeight = pages.constFirst()->boundingRect().height();
    const int room = m_pageView->contentsRect().height() - 2 * kFitMargin;
    if (pageHeight <= 0 || room <= 0)
        return;
    const double screenScale = room / pageHeight;
    m_preview->setZoomFactor(screenScale * m_printer->logicalDpiY() / m_preview->logicalDpiY());
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pageView && event->type() == QEvent::Resize &&
        zoomChoices()[m_zoomChoice].view == ZoomView::PageHeight)
        fitPageHeight();
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace print
