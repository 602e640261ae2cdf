#include "gradefile/leadingnumber.h"

#include <QTest>

using namespace gradefile;

class TestLeadingNumber : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void tooLargeForADouble();
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void wholeNumber_data();
    void wholeNumber();
};

void TestLeadingNumber::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("digits") << QStringLiteral("12") << 12.0;
    QTest::newRow("stops at separator") << QStringLiteral("7|4") << 7.0;
    QTest::newRow("decimal") << QStringLiteral("12.5") << 12.5;
    QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("blanks ignored everywhere") << QStringLiteral(" 1 2\t3\n") << 123.0;
    QTest::newRow("sign") << QStringLiteral("-4") << -4.0;
    QTest::newRow("plus sign") << QStringLiteral("+4") << 4.0;
    QTest::newRow("exponent") << QStringLiteral("2E3") << 2000.0;
    QTest::newRow("D exponent") << QStringLiteral("2d2") << 200.0;
    QTest::newRow("exponent without digits") << QStringLiteral("3E|") << 3.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
    QTest::newRow("mark") << QStringLiteral("--.--") << 0.0;
    QTest::newRow("Arabic mark") << QStringLiteral("معفى") << 0.0;
    QTest::newRow("arabic-indic digits are not digits") << QStringLiteral("١٢") << 0.0;
    QTest::newRow("trailing text") << QStringLiteral("20.5abc") << 20.5;
    QTest::newRow("too small for a double is zero") << QStringLiteral("1E-999") << 0.0;
    QTest::newRow("tiny fraction") << QStringLiteral("0.000001") << 0.000001;
}

void TestLeadingNumber::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const std::optional<double> value = gradefile::leadingNumber(text);
    QVERIFY(value.has_value());
    QCOMPARE(*value, expected);
}

void TestLeadingNumber::tooLargeForADouble()
{
    QVERIFY(!gradefile::leadingNumber(QStringLiteral("1E999")).has_value());
    QVERIFY(!gradefile::leadingNumber(QString(400, u'9')).has_value());
}

void TestLeadingNumber::roundsHalvesToEven_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5 to 0") << QStringLiteral("0.5") << true << 0;
    QTest::newRow("1.5 to 2") << QStringLiteral("1.5") << true << 2;
    QTest::newRow("2.5 to 2") << QStringLiteral("2.5") << true << 2;
    QTest::newRow("2.51 to 3") << QStringLiteral("2.51") << true << 3;
    QTest::newRow("-2.5 to -2") << QStringLiteral("-2.5") << true << -2;
    QTest::newRow("top of range") << QStringLiteral("32767") << true << 32767;
    QTest::newRow("bottom of range") << QStringLiteral("-32768") << true << -32768;
    QTest::newRow("32767.4") << QStringLiteral("32767.4") << true << 32767;
    QTest::newRow("32767.5 overflows") << QStringLiteral("32767.5") << false << 0;
    QTest::newRow("-32768.5 is even") << QStringLiteral("-32768.5") << true << -32768;
    QTest::newRow("32768 overflows") << QStringLiteral("32768") << false << 0;
    QTest::newRow("-32769 overflows") << QStringLiteral("-32769") << false << 0;
    QTest::newRow("huge overflows") << QStringLiteral("1E300") << false << 0;
}

void TestLeadingNumber::roundsHalvesToEven()
{
    QFETCH(QString, text);
    QFETCH(bool, inRange);
    QFETCH(int, expected);
    const std::optional<qint16> value = leadingInt16(text);
    QCOMPARE(value.has_value(), inRange);
    if (inRange)
        QCOMPARE(int(*value), expected);
}

void TestLeadingNumber::wholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<bool>("overflow");
    QTest::addColumn<int>("expected");
    QTest::newRow("year") << QStringLiteral("2004") << true << false << 2004;
    QTest::newRow("surrounding spaces") << QStringLiteral(" 204") << true << false << 204;
    QTest::newRow("letter inside") << QStringLiteral("20a4") << false << false << 0;
    QTest::newRow("letters") << QStringLiteral("abcd") << false << false << 0;
    QTest::newRow("empty") << QString() << false << false << 0;
    QTest::newRow("sign only") << QStringLiteral("-") << false << false << 0;
    QTest::newRow("too large") << QStringLiteral("99999") << true << true << 0;
}

void TestLeadingNumber::wholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(bool, overflow);
    QFETCH(int, expected);
    bool outOfRange = false;
    const std::optional<qint16> value = wholeInt16(text, &outOfRange);
    QCOMPARE(outOfRange, overflow);
    QCOMPARE(value.has_value(), number && !overflow);
    if (value)
        QCOMPARE(int(*value), expected);
}

QTEST_APPLESS_MAIN(TestLeadingNumber)
#include "tst_leadingnumber.moc"
