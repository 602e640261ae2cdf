#include "gradefile/rowsetreader.h"
#include "gradefile/rowsetwriter.h"

#include <QFile>
#include <QTest>

using namespace gradefile;

namespace {

// The expected files in tests/data/written were built by hand from ado-xml.md and checked
// against the framing of the components' own files in tests/data/ado-xml.
QByteArray writtenSample(const QString& name)
{
    QFile file(QStringLiteral(SAISIE_TEST_DATA_DIR "/written/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The whole file for one row: the empty rowset with one insert section before its end.
QByteArray fileWithOneRow(const QByteArray& escapedValue)
{
    QByteArray bytes = writtenSample(QStringLiteral("no-rows.xml"));
    const QByteArray insert =
        "\t<rs:insert>\r\n\t\t<z:row Ligne='" + escapedValue + "'/>\r\n\t</rs:insert>\r\n";
    return bytes.insert(bytes.indexOf("</rs:data>"), insert);
}

const QString kEmoji = QStringLiteral("\U0001F600"); // two UTF-16 code units

} // namespace

class TestRowsetWriter : public QObject {
    Q_OBJECT

private slots:
    void writesKnownLinesByteForByte();
    void writesNoInsertSectionForZeroRows();
    void writesOneValue_data();
    void writesOneValue();
    void findsUnwritableLine_data();
    void findsUnwritableLine();
    void namesTheFirstUnwritableLine();
    void readerGetsTheSameLinesBack_data();
    void readerGetsTheSameLinesBack();
};

void TestRowsetWriter::writesKnownLinesByteForByte()
{
    const QStringList lines = {QStringLiteral("ملاحظة: 'جيد' & <ممتاز> \"أحمد\""), QString(),
                               QStringLiteral("12.5\t14\tنعم")};
    const QByteArray expected = writtenSample(QStringLiteral("three-lines.xml"));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(rowsetBytes(lines), expected);
}

void TestRowsetWriter::writesNoInsertSectionForZeroRows()
{
    const QByteArray expected = writtenSample(QStringLiteral("no-rows.xml"));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(rowsetBytes({}), expected);
}

void TestRowsetWriter::writesOneValue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("five escapes") << QStringLiteral("'&<>\"")
                                  << QByteArray("&#x27;&#x26;&#x3c;&#x3e;&#x22;");
    // Values and bytes as the components wrote them in tests/data/ado-xml.
    QTest::newRow("components: escapes sample")
        << QStringLiteral("Joe's Garage & <xml>")
        << QByteArray("Joe&#x27;s Garage &#x26; &#x3c;xml&#x3e;");
    QTest::newRow("components: raw tab cr lf sample")
        << QStringLiteral("row=1|phase=0|\"dq\"|'sq'|<&>|tab\tcr\rlf\nend")
        << QByteArray(
               "row=1|phase=0|&#x22;dq&#x22;|&#x27;sq&#x27;|&#x3c;&#x26;&#x3e;|tab\tcr\rlf\nend");
    QTest::newRow("a reference in the text is text")
        << QStringLiteral("&#x27;&amp;") << QByteArray("&#x26;#x27;&#x26;amp;");
    QTest::newRow("nothing else escaped")
        << QStringLiteral(" a=b; c/d #1 %]]? \\ ") << QByteArray(" a=b; c/d #1 %]]? \\ ");
    QTest::newRow("Arabic as UTF-8")
        << QStringLiteral("\u0646\u0639\u0645") << QByteArray("\xd9\x86\xd8\xb9\xd9\x85");
    QTest::newRow("outside the BMP") << kEmoji << QByteArray("\xf0\x9f\x98\x80");
    QTest::newRow("raw CR LF") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
}

void TestRowsetWriter::writesOneValue()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, written);
    QCOMPARE(rowsetBytes({line}), fileWithOneRow(written));
}

void TestRowsetWriter::findsUnwritableLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("unwritableLine"); // 0: all can be written

    const QString a = QStringLiteral("a");
    QTest::newRow("no line") << QStringList() << 0;
    QTest::newRow("300 ASCII") << QStringList{a.repeated(300)} << 0;
    QTest::newRow("300 Arabic") << QStringList{QStringLiteral("\u0639").repeated(300)} << 0;
    QTest::newRow("TAB CR LF") << QStringList{QStringLiteral("\t\r\n")} << 0;
    QTest::newRow("301 ASCII") << QStringList{a.repeated(301)} << 1;
    QTest::newRow("301 Arabic on line 3")
        << QStringList{a, a, QStringLiteral("\u0639").repeated(301)} << 3;
    // 150 such characters are 300 code units: the components' count, not 150.
    QTest::newRow("150 outside the BMP") << QStringList{kEmoji.repeated(150)} << 0;
    QTest::newRow("150 outside the BMP and one more") << QStringList{kEmoji.repeated(150) + a} << 1;
    QTest::newRow("lone high surrogate") << QStringList{a, kEmoji.left(1) + a} << 2;
    QTest::newRow("lone low surrogate") << QStringList{kEmoji.right(1)} << 1;
    for (char16_t code = 0; code < 0x20; ++code) {
        if (code == u'\t' || code == u'\r' || code == u'\n')
            continue;
        const QString line = QStringLiteral("12") + QChar(code) + QStringLiteral("34");
        QTest::addRow("control U+%04X", unsigned(code)) << QStringList{a, line} << 2;
    }
    QTest::newRow("control U+007F") << QStringList{QStringLiteral("\x7f")} << 1;
}

void TestRowsetWriter::findsUnwritableLine()
{
    QFETCH(QStringList, lines);
    QFETCH(int, unwritableLine);

    const std::optional<QString> reason = findUnwritableLine(lines);
    if (unwritableLine == 0) {
        QVERIFY2(!reason, qPrintable(reason.value_or(QString())));
        return;
    }
    QVERIFY(reason);
    QVERIFY2(reason->contains(QStringLiteral("ligne %1").arg(unwritableLine), Qt::CaseInsensitive),
             qPrintable(*reason));
}

void TestRowsetWriter::namesTheFirstUnwritableLine()
{
    const QString tooLong = QStringLiteral("x").repeated(301);
    const std::optional<QString> reason =
        findUnwritableLine({QStringLiteral("ok"), QStringLiteral("\x01"), tooLong});
    QVERIFY(reason);
    QVERIFY2(reason->contains(QStringLiteral("ligne 2"), Qt::CaseInsensitive), qPrintable(*reason));
}

void TestRowsetWriter::readerGetsTheSameLinesBack_data()
{
    QTest::addColumn<QStringList>("lines");

    QStringList many;
    for (int i = 1; i <= 500; ++i)
        many << QStringLiteral("%1\t\u0627\u0644\u062a\u0644\u0645\u064a\u0630 %1").arg(i);
    QTest::newRow("no line") << QStringList();
    QTest::newRow("empty lines only") << QStringList{QString(), QString()};
    QTest::newRow("escapes and raw controls")
        << QStringList{QStringLiteral("'&<>\" &#x27; &amp;"), QStringLiteral("a\tb\rc\nd\r\ne")};
    QTest::newRow("spaces kept") << QStringList{QStringLiteral("  x  "), QStringLiteral(" ")};
    QTest::newRow("longest lines")
        << QStringList{QStringLiteral("\u0639").repeated(300), kEmoji.repeated(150)};
    QTest::newRow("500 lines in order") << many;
}

void TestRowsetWriter::readerGetsTheSameLinesBack()
{
    QFETCH(QStringList, lines);
    QVERIFY(!findUnwritableLine(lines));
    const LinesRead read = readRowsetLines(rowsetBytes(lines));
    QVERIFY2(read.lines, qPrintable(read.error));
    QCOMPARE(*read.lines, lines);
}

QTEST_GUILESS_MAIN(TestRowsetWriter)
#include "tst_rowsetwriter.moc"
