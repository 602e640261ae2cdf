#pragma once

#include "core/card/pageheader.h"
#include "core/card/printedsheet.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QGraphicsView;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QToolBar;
class QToolButton;

namespace print {

// The card as it would print now.
struct PreviewCard {
    PrintedSheet sheet;
    PageHeader codes;
};

// Drawn by the card's own renderer on the printer the card goes to, so what shows is what
// prints. It knows nothing of the grade sheet: it asks composeCard and printCard.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    using ComposeCard = std::function<PreviewCard()>;
    // What became of the card, as the preview then says it; empty when nothing was sent.
    using PrintCard = std::function<QString()>;

    // printerName is empty when the card goes to a PDF file.
    PreviewWindow(ComposeCard composeCard, PrintCard printCard, const QString& printerName,
                  QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Maximised the first time; the page shown stays while the card still has it.
    void refreshAndShow();
    void refresh();

    // The zoom list's item index: its view of the pages.
    void chooseZoom(int index);
    // The zoom button: the whole page, or back from it to the last other item.
    void switchZoom();
    void showPreviousPages();
    void showNextPages();

    const PreviewCard& card() const { return m_card; }
    int pageCount() const;
    int currentPage() const;
    QPrintPreviewWidget* preview() const { return m_preview; }

signals:
    // It is deleted next.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createToolBar();
    void createKeys();
    QToolButton* addPictureButton(const QString& name, const QString& pictureFile,
                                  const QIcon& fallback, const QString& spokenName);
    void printFromPreview();
    void paintCard(QPrinter* printer);
    void stepPages(int direction);
    int pagesShownAtOnce() const;
    void showPageNumber();
    void applyZoom();
    void showPageTop(int page);
    void fitPageHeight();

    ComposeCard m_composeCard;
    PrintCard m_printCard;
    PreviewCard m_card;
    std::unique_ptr<QPrinter> m_printer;

    QToolBar* m_toolBar = nullptr;
    QComboBox* m_zoomList = nullptr;
    QLabel* m_pageLabel = nullptr;
    QLabel* m_sentLine = nullptr;
    QPrintPreviewWidget* m_preview = nullptr;
    QGraphicsView* m_pageView = nullptr;
    int m_zoomChoice = 0;
    // The last item other than the whole page: where the zoom button goes back to.
    int m_lastOtherZoom = -1;
};

} // namespace print
