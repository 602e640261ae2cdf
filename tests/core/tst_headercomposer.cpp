#include "print/headercomposer.h"

#include <QTest>

using print::ComposerFont;
using print::HeaderComposer;
using print::LinePosition;

Q_DECLARE_METATYPE(LinePosition)

namespace {

// The run of codes that opens every text in the default font.
QString run(const char* alignment, const char* flags = "/fi0/fu0/fk0")
{
    return QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1") + QLatin1String(flags) +
           QLatin1String(alignment);
}

} // namespace

class TestHeaderComposer : public QObject {
    Q_OBJECT

private slots:
    void oneText_data();
    void oneText();
    void fonts_data();
    void fonts();
    void lineOrderIsLeftCentreRight();
    void emptyComposerGivesNothing();
    void clearingKeepsTheFonts();
    void linesOutsideTheComposerAreIgnored();
};

void TestHeaderComposer::oneText_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<LinePosition>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    // A missing "/n" for the empty line above, or a wrong alignment code, misplaces
    // the whole header on paper.
    QTest::newRow("the word Page on line 2 at the right")
        << 2 << LinePosition::Right << QStringLiteral("Page")
        << QStringLiteral("/n") + run("/r") + QStringLiteral("Page/n");
    QTest::newRow("left") << 1 << LinePosition::Left << QStringLiteral("x")
                          << run("/l") + QStringLiteral("x/n");
    QTest::newRow("centre") << 1 << LinePosition::Centre << QStringLiteral("x")
                            << run("/c") + QStringLiteral("x/n");
    QTest::newRow("last of nine lines")
        << 9 << LinePosition::Left << QStringLiteral("x")
        << QStringLiteral("/n").repeated(8) + run("/l") + QStringLiteral("x/n");
    // The page number is the exact text only.
    QTest::newRow("page number") << 1 << LinePosition::Centre << QStringLiteral("<Page Number>")
                                 << run("/c") + QStringLiteral("/p/n");
    QTest::newRow("page number and more")
        << 1 << LinePosition::Centre << QStringLiteral("<Page Number> ")
        << run("/c") + QStringLiteral("<Page Number> /n");
    QTest::newRow("more and page number")
        << 1 << LinePosition::Centre << QStringLiteral("-<Page Number>")
        << run("/c") + QStringLiteral("-<Page Number>/n");
    // Blanks are a text, not an empty cell.
    QTest::newRow("blanks") << 1 << LinePosition::Right << QStringLiteral("   ")
                            << run("/r") + QStringLiteral("   /n");
    // Arabic with its shadda and trailing blank, unchanged.
    QTest::newRow("arabic") << 3 << LinePosition::Centre << QStringLiteral("بطاقة تحصيل الأعداد ")
                            << QStringLiteral("/n/n") + run("/c") +
                                   QStringLiteral("بطاقة تحصيل الأعداد /n");
    // Slashes that start no code are kept as they are (school year, dates, labels).
    QTest::newRow("school year") << 1 << LinePosition::Left
                                 << QStringLiteral("السنة الدراسيّة : 2025/2024")
                                 << run("/l") + QStringLiteral("السنة الدراسيّة : 2025/2024/n");
    QTest::newRow("spaced slash") << 1 << LinePosition::Left << QStringLiteral("المدرّس / الأستاذ")
                                  << run("/l") + QStringLiteral("المدرّس / الأستاذ/n");
    // A slash that would start a code is doubled: a name must not break the line or turn
    // into a page number.
    QTest::newRow("slash before n") << 1 << LinePosition::Left << QStringLiteral("a/nb")
                                    << run("/l") + QStringLiteral("a//nb/n");
    QTest::newRow("slash before p")
        << 1 << LinePosition::Left << QStringLiteral("x/p") << run("/l") + QStringLiteral("x//p/n");
    QTest::newRow("two slashes") << 1 << LinePosition::Left << QStringLiteral("a//b")
                                 << run("/l") + QStringLiteral("a///b/n");
    QTest::newRow("final slash") << 1 << LinePosition::Left << QStringLiteral("a/")
                                 << run("/l") + QStringLiteral("a///n");
}

void TestHeaderComposer::oneText()
{
    QFETCH(int, line);
    QFETCH(LinePosition, position);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    HeaderComposer composer;
    composer.setText(line, position, text);
    QCOMPARE(composer.lastLineWithText(), line);
    QCOMPARE(composer.compose(), expected);
}

void TestHeaderComposer::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");
    QTest::addColumn<QString>("expected");

    // Each flag must reach its own code; a swapped pair prints struck names.
    QTest::newRow("plain") << "Tahoma" << false << false << false
                           << QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1/fi0/fu0/fk0/lx/n");
    QTest::newRow("italic") << "Tahoma" << true << false << false
                            << QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1/fi1/fu0/fk0/lx/n");
    QTest::newRow("underline") << "Tahoma" << false << true << false
                               << QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1/fi0/fu1/fk0/lx/n");
    QTest::newRow("strike") << "Tahoma" << false << false << true
                            << QStringLiteral("/fn\"Tahoma\"/fz\"10\"/fb1/fi0/fu0/fk1/lx/n");
    QTest::newRow("all, other font")
        << "Arial" << true << true << true
        << QStringLiteral("/fn\"Arial\"/fz\"10\"/fb1/fi1/fu1/fk1/lx/n");
}

void TestHeaderComposer::fonts()
{
    QFETCH(QString, name);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    QFETCH(QString, expected);
    HeaderComposer composer;
    composer.setFont(1, LinePosition::Left, ComposerFont{name, italic, underline, strikeOut});
    composer.setText(1, LinePosition::Left, QStringLiteral("x"));
    QCOMPARE(composer.compose(), expected);
}

// Written right to left, a line must still come out left, centre, right.
void TestHeaderComposer::lineOrderIsLeftCentreRight()
{
    HeaderComposer composer;
    composer.setText(1, LinePosition::Right, QStringLiteral("R"));
    composer.setText(1, LinePosition::Centre, QStringLiteral("C"));
    composer.setText(1, LinePosition::Left, QStringLiteral("L"));
    composer.setText(3, LinePosition::Right, QStringLiteral("3"));
    QCOMPARE(composer.compose(), run("/l") + QStringLiteral("L") + run("/c") + QStringLiteral("C") +
                                     run("/r") + QStringLiteral("R/n/n") + run("/r") +
                                     QStringLiteral("3/n"));
}

void TestHeaderComposer::emptyComposerGivesNothing()
{
    HeaderComposer composer;
    QCOMPARE(composer.lastLineWithText(), 0);
    QCOMPARE(composer.compose(), QString());
    composer.setText(4, LinePosition::Centre, QString());
    QCOMPARE(composer.compose(), QString());
}

// A header's texts must not leak into the footer composed next with the same composer.
void TestHeaderComposer::clearingKeepsTheFonts()
{
    HeaderComposer composer;
    composer.setFont(2, LinePosition::Centre, ComposerFont{QStringLiteral("Arial"), true});
    composer.setText(2, LinePosition::Centre, QStringLiteral("header"));
    composer.setText(5, LinePosition::Left, QStringLiteral("header"));
    composer.clearTexts();
    QCOMPARE(composer.compose(), QString());
    composer.setText(2, LinePosition::Centre, QStringLiteral("footer"));
    QCOMPARE(composer.compose(),
             QStringLiteral("/n/fn\"Arial\"/fz\"10\"/fb1/fi1/fu0/fk0/cfooter/n"));
}

void TestHeaderComposer::linesOutsideTheComposerAreIgnored()
{
    HeaderComposer composer;
    composer.setText(0, LinePosition::Left, QStringLiteral("x"));
    composer.setText(10, LinePosition::Left, QStringLiteral("x"));
    QCOMPARE(composer.compose(), QString());
    QCOMPARE(composer.text(10, LinePosition::Left), QString());
}

QTEST_APPLESS_MAIN(TestHeaderComposer)
#include "tst_headercomposer.moc"
