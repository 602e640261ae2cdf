// The looks of the grade grid (on screen, on paper, enlarged) and the preview's paging and
// zoom button, without a window.
#include "print/presentation.h"
#include "print/previewrules.h"

#include <QTest>

#include <climits>
#include <map>

using namespace print;

namespace {

struct CellLook {
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    qreal pointSize = 8.25;
    bool bold = false;
};

// A grid of three pupils as the passes see it, grade column 1 empty and hidden, the level
// column 10 hidden; the pass run as the window runs it, cell by cell.
struct Grid {
    QVector<double> widths{4, 8, 8, 8, 8, 8, 8, 39, 11, 5, 8};
    std::map<int, double> heights;
    std::map<std::pair<int, int>, CellLook> cells;
    int rows = 3;

    CellLook& at(int col, int row) { return cells[std::pair(col, row)]; }

    void apply(const PresentationLook& look)
    {
        for (int col = 0; col <= lastPassColumn(10); ++col) {
            for (int row = 0; row <= rows; ++row) {
                const CellChange change = presentationChange(look, col, row, col <= 1);
                CellLook& cell = at(col, row);
                cell.text = change.text.value_or(cell.text);
                cell.alignment = change.alignment.value_or(cell.alignment);
                widths[col] = change.columnWidth.value_or(widths[col]);
                heights[row] = change.rowHeight;
                cell.pointSize = change.pointSize;
                cell.bold = change.bold.value_or(cell.bold);
            }
        }
    }
};

} // namespace

class TestPresentation : public QObject {
    Q_OBJECT

private slots:
    void passes_data();
    void passes();
    void previewRules();
};

void TestPresentation::passes_data()
{
    QTest::addColumn<QString>("steps"); // N normal, P print, L enlarge, B enlarge undone
    QTest::addColumn<bool>("paper");    // order numbers centred
    QTest::addColumn<double>("gradeWidth");
    QTest::addColumn<double>("rowHeight");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");

    // The look each sequence of passes leaves, whatever came before: a print after the
    // enlarged look keeps it bold, the restore after a print brings the full identifier
    // header back, undoing the enlargement switches bold off.
    const auto row = [](const char* steps, bool paper, double width, double height, qreal size,
                        bool bold) {
        QTest::newRow(steps) << QString::fromLatin1(steps) << paper << width << height << size
                             << bold;
    };
    row("N", false, 6.5, 10.5, 8, false);
    row("P", true, 8, 12.8, 9, false);
    row("PN", false, 6.5, 10.5, 8, false);
    row("L", false, 8, 15, 10, true);
    row("LB", false, 6.5, 10.5, 8, false);
    row("LPN", false, 6.5, 10.5, 8, true);
    row("LP", true, 8, 12.8, 9, true);
    row("LNL", false, 8, 15, 10, true);
}

void TestPresentation::passes()
{
    QFETCH(QString, steps);
    QFETCH(bool, paper);
    QFETCH(double, gradeWidth);
    QFETCH(double, rowHeight);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    Grid grid;
    for (const QChar step : steps)
        grid.apply(step == u'N'   ? presentationLook(Presentation::Normal)
                   : step == u'P' ? presentationLook(Presentation::Print)
                                  : toggleLook(step == u'L'));

    // The short identifier header on paper and enlarged, the full one on the normal screen.
    const bool shortHeader = steps.endsWith(u'P') || steps.endsWith(u'L');
    QCOMPARE(grid.at(8, 0).text, shortHeader ? QStringLiteral("المعرّف") : "المعرّف الوحيد");
    for (int row = 0; row <= grid.rows; ++row) {
        QCOMPARE(grid.at(9, row).alignment,
                 paper ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        QCOMPARE(grid.heights[row], rowHeight);
        for (int col = 0; col < 10; ++col) {
            QCOMPARE(grid.at(col, row).pointSize, pointSize);
            QCOMPARE(grid.at(col, row).bold, bold);
        }
        // The hidden level column is never visited.
        QVERIFY(!grid.cells.count(std::pair(10, row)));
    }
    // Shown grade columns take the look's width; hidden and information columns keep theirs.
    const double g = gradeWidth;
    QCOMPARE(grid.widths, (QVector<double>{4, 8, g, g, g, g, g, 39, 11, 5, 8}));
}

// Widths change only through a pupil's cell: a sheet without pupils keeps them. The window
// grows by what the enlarged grid did, never by the grid's whole width; paging
// never leaves the card (page 0 or 6 of 5 would show nothing, or an old page under a label
// naming another); the zoom button goes to and fro, back to the zoom chosen last.
void TestPresentation::previewRules()
{
    Grid empty;
    empty.rows = 0;
    empty.apply(toggleLook(true));
    QCOMPARE(empty.widths[6], 8.0);
    QCOMPARE(toggledWidths(11880, 9885, 10695).windowWidth, 12690);
    QCOMPARE(toggledWidths(12690, 10695, 9885).windowWidth, 11880);
    QCOMPARE(toggledWidths(12690, 10695, 9885).gridWidth, 10695);
    QCOMPARE(steppedPage(1, -1, 5), 1);
    QCOMPARE(steppedPage(4, 2, 5), 5);
    QCOMPARE(steppedPage(9, -1, 5), 5);
    QCOMPARE(steppedPage(1, 1, 0), 1);
    QCOMPARE(steppedPage(INT_MAX, 1, INT_MAX), INT_MAX);
    const int wholePage = initialZoomChoice();
    QCOMPARE(zoomChoices().value(wholePage).view, ZoomView::WholePage);
    QCOMPARE(switchedZoomChoice(wholePage, -1), 2);
    QCOMPARE(switchedZoomChoice(2, 2), wholePage);
    QCOMPARE(switchedZoomChoice(wholePage, 4), 4);
    QCOMPARE(switchedZoomChoice(wholePage, 42), 2);
}

QTEST_APPLESS_MAIN(TestPresentation)
#include "tst_presentation.moc"
