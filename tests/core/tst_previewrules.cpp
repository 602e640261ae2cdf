// The preview's paging and its zoom button, without a window.
#include "print/previewrules.h"

#include <QTest>

#include <climits>

class TestPreviewRules : public QObject {
    Q_OBJECT

private slots:
    void pagingStaysOnTheCard_data();
    void pagingStaysOnTheCard();
    void zoomButtonSwitches_data();
    void zoomButtonSwitches();
};

void TestPreviewRules::pagingStaysOnTheCard_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<int>("expected");
    QTest::newRow("next within the card") << 2 << 1 << 5 << 3;
    QTest::newRow("previous within the card") << 3 << -1 << 5 << 2;
    QTest::newRow("previous from the first page") << 1 << -1 << 5 << 1;
    QTest::newRow("next from the last page") << 5 << 1 << 5 << 5;
    QTest::newRow("two shown at once, next from the fourth of five") << 4 << 2 << 5 << 5;
    QTest::newRow("one page") << 1 << 1 << 1 << 1;
    QTest::newRow("no page yet") << 1 << 1 << 0 << 1;
    QTest::newRow("a page number past the card comes back to it") << 9 << -1 << 5 << 5;
    QTest::newRow("no wrap round at the top of int") << INT_MAX << 1 << INT_MAX << INT_MAX;
}

// Stepping never leaves the card: a preview asked for page 0 or page 6 of 5 would show
// nothing, or an old page under a label that names another.
void TestPreviewRules::pagingStaysOnTheCard()
{
    QFETCH(int, current);
    QFETCH(int, step);
    QFETCH(int, pageCount);
    QFETCH(int, expected);
    QCOMPARE(print::steppedPage(current, step, pageCount), expected);
}

void TestPreviewRules::zoomButtonSwitches_data()
{
    const int wholePage = print::initialZoomChoice();
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("lastOther");
    QTest::addColumn<int>("expected");
    QTest::newRow("from the whole page at first: 100%") << wholePage << -1 << 2;
    QTest::newRow("from 100%: the whole page") << 2 << 2 << wholePage;
    QTest::newRow("back to 50% after it was chosen") << wholePage << 4 << 4;
    QTest::newRow("a last choice out of the list: 100%") << wholePage << 42 << 2;
}

// The button goes to and fro: a switch that only ever went to the whole page would leave
// the teacher no way back to the zoom chosen from the list but the list.
void TestPreviewRules::zoomButtonSwitches()
{
    QFETCH(int, shown);
    QFETCH(int, lastOther);
    QFETCH(int, expected);
    QCOMPARE(print::switchedZoomChoice(shown, lastOther), expected);
}

QTEST_MAIN(TestPreviewRules)
#include "tst_previewrules.moc"
