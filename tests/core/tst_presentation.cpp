#include "print/presentation.h"

#include <QTest>

#include <map>
#include <set>

using print::PresentationLook;

namespace {

// A grade grid as the passes see it: columns 0 to 10, the pupils' rows, a look per cell.
struct CellLook {
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    qreal pointSize = 8.25;
    bool bold = false;
};

struct Grid {
    static constexpr int kMaxCols = 10;
    int maxRows = 0;
    std::map<int, double> widths{{0, 4}, {1, 8},  {2, 8},  {3, 8}, {4, 8}, {5, 8},
                                 {6, 8}, {7, 39}, {8, 11}, {9, 5}, {10, 8}};
    std::map<int, double> heights;
    std::map<std::pair<int, int>, CellLook> cells;
    std::set<int> hidden{0, 10};

    CellLook& at(int col, int row) { return cells[{col, row}]; }

    explicit Grid(int rows) : maxRows(rows)
    {
        for (int col = 0; col <= kMaxCols; ++col)
            for (int row = 0; row <= maxRows; ++row)
                cells[{col, row}] = CellLook();
        cells[{8, 0}].text = QStringLiteral("المعرف الو.");
    }

    // The pass as the window runs it, cell by cell.
    void apply(const PresentationLook& look)
    {
        for (int col = 0; col <= print::lastPassColumn(kMaxCols); ++col) {
            for (int row = 0; row <= maxRows; ++row) {
                const print::CellChange change =
                    print::presentationChange(look, col, row, hidden.count(col) > 0);
                CellLook& cell = cells[{col, row}];
                if (change.text)
                    cell.text = *change.text;
                if (change.alignment)
                    cell.alignment = *change.alignment;
                if (change.columnWidth)
                    widths[col] = *change.columnWidth;
                heights[row] = change.rowHeight;
                cell.pointSize = change.pointSize;
                if (change.bold)
                    cell.bold = *change.bold;
            }
        }
    }
};

enum class Step { Normal, Print, ToLarge, ToNormal };

PresentationLook lookOf(Step step)
{
    switch (step) {
    case Step::Normal:
        return print::presentationLook(print::Presentation::Normal);
    case Step::Print:
        return print::presentationLook(print::Presentation::Print);
    case Step::ToLarge:
        return print::toggleLook(true);
    case Step::ToNormal:
        break;
    }
    return print::toggleLook(false);
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestPresentation : public QObject {
    Q_OBJECT

private slots:
    void passes_data();
    void passes();
    void noPupilNoWidthChange();
    void toggledWidths_data();
    void toggledWidths();
};

void TestPresentation::passes_data()
{
    QTest::addColumn<QVector<Step>>("steps");
    QTest::addColumn<QString>("identifierHeader");
    QTest::addColumn<Qt::Alignment>("orderNumberAlignment");
    QTest::addColumn<double>("gradeWidth");
    QTest::addColumn<double>("rowHeight");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    // The look each sequence of passes must leave, whatever came before: a print after
    // the enlarged look keeps it bold, the restore after a print brings back the full
    // identifier header, the toggle back switches bold off.
    QTest::newRow("normal") << QVector<Step>{Step::Normal} << QStringLiteral("المعرّف الوحيد")
                            << left << 6.5 << 10.5 << qreal(8) << false;
    QTest::newRow("print") << QVector<Step>{Step::Print} << QStringLiteral("المعرّف")
                           << Qt::Alignment(Qt::AlignCenter) << 8.0 << 12.8 << qreal(9) << false;
    QTest::newRow("print then restore")
        << QVector<Step>{Step::Print, Step::Normal} << QStringLiteral("المعرّف الوحيد") << left
        << 6.5 << 10.5 << qreal(8) << false;
    QTest::newRow("large") << QVector<Step>{Step::ToLarge} << QStringLiteral("المعرّف") << left
                           << 8.0 << 15.0 << qreal(10) << true;
    QTest::newRow("large and back")
        << QVector<Step>{Step::ToLarge, Step::ToNormal} << QStringLiteral("المعرّف الوحيد") << left
        << 6.5 << 10.5 << qreal(8) << false;
    QTest::newRow("large, print, restore")
        << QVector<Step>{Step::ToLarge, Step::Print, Step::Normal}
        << QStringLiteral("المعرّف الوحيد") << left << 6.5 << 10.5 << qreal(8) << true;
    QTest::newRow("large, print") << QVector<Step>{Step::ToLarge, Step::Print}
                                  << QStringLiteral("المعرّف") << Qt::Alignment(Qt::AlignCenter)
                                  << 8.0 << 12.8 << qreal(9) << true;
    QTest::newRow("large twice") << QVector<Step>{Step::ToLarge, Step::Normal, Step::ToLarge}
                                 << QStringLiteral("المعرّف") << left << 8.0 << 15.0 << qreal(10)
                                 << true;
}

void TestPresentation::passes()
{
    QFETCH(QVector<Step>, steps);
    QFETCH(QString, identifierHeader);
    QFETCH(Qt::Alignment, orderNumberAlignment);
    QFETCH(double, gradeWidth);
    QFETCH(double, rowHeight);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);

    Grid grid(3);
    grid.hidden.insert(1); // an empty grade column
    for (Step step : steps)
        grid.apply(lookOf(step));

    QCOMPARE(grid.at(8, 0).text, identifierHeader);
    for (int row = 0; row <= grid.maxRows; ++row) {
        QCOMPARE(grid.at(9, row).alignment, orderNumberAlignment);
        QCOMPARE(grid.at(8, row).alignment, Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        QCOMPARE(grid.heights[row], rowHeight);
        for (int col = 0; col < Grid::kMaxCols; ++col) {
            QCOMPARE(grid.at(col, row).pointSize, pointSize);
            QCOMPARE(grid.at(col, row).bold, bold);
        }
        // The hidden level column is never visited.
        QCOMPARE(grid.at(10, row).pointSize, qreal(8.25));
        QCOMPARE(grid.at(10, row).bold, false);
    }
    for (int col = 2; col <= 6; ++col)
        QCOMPARE(grid.widths[col], gradeWidth);
    // Hidden columns keep their widths, and so do the information columns.
    QCOMPARE(grid.widths[0], 4.0);
    QCOMPARE(grid.widths[1], 8.0);
    QCOMPARE(grid.widths[7], 39.0);
    QCOMPARE(grid.widths[8], 11.0);
    QCOMPARE(grid.widths[9], 5.0);
    QCOMPARE(grid.widths[10], 8.0);
}

// Widths change only through a pupil row's cell: a sheet without pupils keeps them.
void TestPresentation::noPupilNoWidthChange()
{
    Grid grid(0);
    grid.apply(print::toggleLook(true));
    QCOMPARE(grid.widths[6], 8.0);
    grid.apply(print::presentationLook(print::Presentation::Normal));
    QCOMPARE(grid.widths[6], 8.0);
    QCOMPARE(grid.heights[0], 10.5);
}

void TestPresentation::toggledWidths_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("grid");
    QTest::addColumn<int>("gridAfter");
    QTest::addColumn<int>("expectedWindow");

    // The window grows or shrinks by what the grid did, never by the grid's whole width.
    QTest::newRow("grid unchanged") << 11880 << 9885 << 9885 << 11880;
    QTest::newRow("grid grew") << 11880 << 9885 << 10695 << 12690;
    QTest::newRow("grid shrank") << 12690 << 10695 << 9885 << 11880;
}

void TestPresentation::toggledWidths()
{
    QFETCH(int, window);
    QFETCH(int, grid);
    QFETCH(int, gridAfter);
    QFETCH(int, expectedWindow);
    const print::ToggledWidths widths = print::toggledWidths(window, grid, gridAfter);
    QCOMPARE(widths.windowWidth, expectedWindow);
    QCOMPARE(widths.gridWidth, grid);
}

QTEST_APPLESS_MAIN(TestPresentation)
#include "tst_presentation.moc"
