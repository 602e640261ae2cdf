// The looks of the grade grid on screen: normal and enlarged, as a pass applies them cell
// by cell.
#include "print/presentation.h"

#include <QTest>

using namespace print;

class TestPresentation : public QObject {
    Q_OBJECT

private slots:
    void looks_data()
    {
        QTest::addColumn<bool>("large");
        // Each look sets every property it owns, so that none depends on the look before:
        // undoing the enlargement brings the full identifier header back and bold off.
        QTest::newRow("normal") << false;
        QTest::newRow("large") << true;
    }

    void looks()
    {
        QFETCH(bool, large);
        const PresentationLook look = toggleLook(large);
        for (int col = 0; col <= lastPassColumn(10); ++col)
            for (int row = 0; row <= 3; ++row) {
                const CellChange change = presentationChange(look, col, row, col <= 1);
                QVERIFY(change.rowHeight == (large ? 15 : 10.5) &&
                        change.pointSize == (large ? 10 : 8) && change.bold == large);
                QCOMPARE(change.text.has_value(), row == 0 && col == 8);
                QCOMPARE(change.alignment.has_value(), col == 9);
                // Only a pupil's cell of a shown grade column sets its column's width: hidden
                // and information columns, and a sheet without pupils, keep theirs.
                QCOMPARE(change.columnWidth.value_or(0),
                         row > 0 && col > 1 && col < 7 ? look.gradeColumnWidth : 0);
            }
        QCOMPARE(lastPassColumn(10), 9); // the hidden level column keeps its look
        QCOMPARE(look.identifierHeader, large ? QStringLiteral("المعرّف") : "المعرّف الوحيد");
        QVERIFY(look.gradeColumnWidth == (large ? 8 : 6.5) &&
                look.orderNumberAlignment == (Qt::AlignLeft | Qt::AlignVCenter));
    }

    // The window grows by what the enlarged grid did, never by the grid's whole width.
    void widths()
    {
        QCOMPARE(toggledWidths(11880, 9885, 10695).windowWidth, 12690);
        const auto undone = toggledWidths(12690, 10695, 9885);
        QVERIFY(undone.windowWidth == 11880 && undone.gridWidth == 10695);
    }
};

QTEST_APPLESS_MAIN(TestPresentation)
#include "tst_presentation.moc"
