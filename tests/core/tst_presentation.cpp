// The looks of the grade grid on screen: normal and enlarged.
#include "print/presentation.h"

#include <QTest>

#include <map>

using namespace print;

namespace {

// A grid of three pupils as the passes see it, grade column 1 empty and hidden, the level
// column 10 hidden; the pass run as the window runs it, cell by cell.
struct Grid {
    struct Cell {
        QString text;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        qreal pointSize = 8.25;
        bool bold = false;
    };
    QVector<double> widths{4, 8, 8, 8, 8, 8, 8, 39, 11, 5, 8};
    std::map<int, double> heights;
    std::map<std::pair<int, int>, Cell> cells;
    int rows = 3;

    Cell& at(int col, int row) { return cells[std::pair(col, row)]; }

    void apply(const PresentationLook& look)
    {
        for (int col = 0; col <= lastPassColumn(10); ++col)
            for (int row = 0; row <= rows; ++row) {
                const CellChange change = presentationChange(look, col, row, col <= 1);
                Cell& cell = at(col, row);
                cell.text = change.text.value_or(cell.text);
                cell.alignment = change.alignment.value_or(cell.alignment);
                widths[col] = change.columnWidth.value_or(widths[col]);
                heights[row] = change.rowHeight;
                cell.pointSize = change.pointSize;
                cell.bold = change.bold;
            }
    }
};

} // namespace

class TestPresentation : public QObject {
    Q_OBJECT

private slots:
    void passes_data()
    {
        QTest::addColumn<QString>("steps"); // L enlarge, B enlarge undone
        // The look each sequence of passes leaves, whatever came before: undoing the
        // enlargement brings the full identifier header back and switches bold off.
        for (const char* steps : {"B", "LB", "L", "LBL"})
            QTest::newRow(steps) << QString::fromLatin1(steps);
    }

    void passes()
    {
        QFETCH(QString, steps);
        Grid grid;
        for (const QChar step : steps)
            grid.apply(toggleLook(step == u'L'));
        // Grade column width, row height, type size, bold and identifier header of each look.
        const bool large = steps.endsWith(u'L');
        const double g = large ? 8 : 6.5;
        QCOMPARE(grid.at(8, 0).text, large ? QStringLiteral("المعرّف") : "المعرّف الوحيد");
        for (int row = 0; row <= grid.rows; ++row) {
            QCOMPARE(grid.at(9, row).alignment, Qt::AlignLeft | Qt::AlignVCenter);
            QCOMPARE(grid.heights[row], large ? 15 : 10.5);
            for (int col = 0; col < 10; ++col) // the hidden level column 10 is never visited
                QVERIFY(grid.at(col, row).pointSize == (large ? 10 : 8) &&
                        grid.at(col, row).bold == large);
            QVERIFY(!grid.cells.count(std::pair(10, row)));
        }
        // Shown grade columns take the look's width; hidden and information columns keep theirs.
        QCOMPARE(grid.widths, (QVector<double>{4, 8, g, g, g, g, g, 39, 11, 5, 8}));
    }

    // Widths change only through a pupil's cell: a sheet without pupils keeps them. The window
    // grows by what the enlarged grid did, never by the grid's whole width.
    void widths()
    {
        Grid empty;
        empty.rows = 0;
        empty.apply(toggleLook(true));
        QCOMPARE(empty.widths[6], 8.0);
        QCOMPARE(toggledWidths(11880, 9885, 10695).windowWidth, 12690);
        const auto undone = toggledWidths(12690, 10695, 9885);
        QVERIFY(undone.windowWidth == 11880 && undone.gridWidth == 10695);
    }
};

QTEST_APPLESS_MAIN(TestPresentation)
#include "tst_presentation.moc"
