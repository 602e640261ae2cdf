#include "gradefile/linegrammar.h"

#include <QTest>

using namespace gradefile;

namespace {

// Fields written as a list, an absent field as this marker.
const QString kAbsent = QStringLiteral("<absent>");

QStringList describe(const std::vector<Field>& fields)
{
    QStringList texts;
    for (const Field& field : fields)
        texts << field.value_or(kAbsent);
    return texts;
}

} // namespace

class TestLineGrammar : public QObject {
    Q_OBJECT

private slots:
    void splitFields_data();
    void splitFields();
    void subjectKey_data();
    void subjectKey();
    void startLineKey_data();
    void startLineKey();
    void endLine_data();
    void endLine();
    void plainPupilLine_data();
    void plainPupilLine();
};

void TestLineGrammar::splitFields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("maxFields");
    QTest::addColumn<QStringList>("expected");
    const QString x = kAbsent;
    QTest::newRow("middle field runs to the end")
        << QStringLiteral("a|b|c") << 4 << QStringList{"a", "b", "c", x};
    QTest::newRow("empty field between separators")
        << QStringLiteral("a||c") << 4 << QStringList{"a", "", "c", x};
    QTest::newRow("no separator: nothing at all")
        << QStringLiteral("abc") << 3 << QStringList{x, x, x};
    QTest::newRow("last field keeps separators")
        << QStringLiteral("a|b|c|d") << 3 << QStringList{"a", "b", "c|d"};
    QTest::newRow("trailing separator gives an empty field")
        << QStringLiteral("a|b|") << 4 << QStringList{"a", "b", "", x};
    QTest::newRow("lone separator") << QStringLiteral("|") << 2 << QStringList{"", ""};
    QTest::newRow("empty line") << QString() << 3 << QStringList{x, x, x};
    QTest::newRow("one test header sets column 6 only")
        << QStringLiteral("TYPEEPREUVE:|فرض 1") << 7
        << QStringList{"TYPEEPREUVE:", "فرض 1", x, x, x, x, x};
    QTest::newRow("a seventh header stays on the sixth")
        << QStringLiteral("TYPEEPREUVE:|1|2|3|4|5|6|7") << 7
        << QStringList{"TYPEEPREUVE:", "1", "2", "3", "4", "5", "6|7"};
    QTest::newRow("subject pupil line with six fields")
        << QStringLiteral("2|1|1001|أحمد|12.50|--.--") << 11
        << QStringList{"2", "1", "1001", "أحمد", "12.50", "--.--", x, x, x, x, x};
    QTest::newRow("empty fifth field leaves column 6 empty")
        << QStringLiteral("2|1|1001|أحمد||13.00") << 11
        << QStringList{"2", "1", "1001", "أحمد", "", "13.00", x, x, x, x, x};
    QTest::newRow("eleven fields")
        << QStringLiteral("l|s|i|n|6|5|4|3|2|1|h") << 11
        << QStringList{"l", "s", "i", "n", "6", "5", "4", "3", "2", "1", "h"};
    QTest::newRow("more than eleven")
        << QStringLiteral("l|s|i|n|6|5|4|3|2|1|h|extra") << 11
        << QStringList{"l", "s", "i", "n", "6", "5", "4", "3", "2", "1", "h|extra"};
}

void TestLineGrammar::splitFields()
{
    QFETCH(QString, line);
    QFETCH(int, maxFields);
    QFETCH(QStringList, expected);
    QCOMPARE(describe(gradefile::splitFields(line, maxFields)), expected);
}

void TestLineGrammar::subjectKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("subject");
    QTest::addColumn<QString>("year");
    QTest::newRow("subject") << QStringLiteral("8410203C07010002004") << true << "2004";
    QTest::newRow("other kind code") << QStringLiteral("8410203C07011232004") << false << "2004";
    QTest::newRow("fifteen characters") << QStringLiteral("12345678"
                                                          "000"
                                                          "2004")
                                        << true << "2004";
    QTest::newRow("fourteen characters") << QStringLiteral("1234567"
                                                           "000"
                                                           "2004")
                                         << false << "2004";
    QTest::newRow("short") << QStringLiteral("ABC0002004") << false << "2004";
    QTest::newRow("000 elsewhere") << QStringLiteral("8410000C07014562004") << false << "2004";
    QTest::newRow("empty") << QString() << false << "";
    QTest::newRow("letter case of kind code matters")
        << QStringLiteral("8410203C0701OOO2004") << false << "2004";
}

void TestLineGrammar::subjectKey()
{
    QFETCH(QString, key);
    QFETCH(bool, subject);
    QFETCH(QString, year);
    QCOMPARE(isSubjectKey(key), subject);
    QCOMPARE(yearTextOfKey(key), year);
    QCOMPARE(keyFromFileName(key + QStringLiteral(".xml")), key);
}

void TestLineGrammar::startLineKey_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("description");
    QTest::newRow("valid") << QStringLiteral("DEBUTK1|السابعة أساسي 1") << true << "K1"
                           << QStringLiteral("السابعة أساسي 1");
    QTest::newRow("prefix not compared") << QStringLiteral("XXXXXK1|d") << true << "K1"
                                         << "d";
    QTest::newRow("empty key") << QStringLiteral("DEBUT|d") << true << ""
                               << "d";
    QTest::newRow("separator too early") << QStringLiteral("DEB|d") << false << ""
                                         << "d";
    QTest::newRow("no separator") << QStringLiteral("DEBUTK1") << false << ""
                                  << QStringLiteral("DEBUTK1");
    QTest::newRow("description keeps separators") << QStringLiteral("DEBUTK|a|b") << true << "K"
                                                  << "a|b";
}

void TestLineGrammar::startLineKey()
{
    QFETCH(QString, line);
    QFETCH(bool, named);
    QFETCH(QString, key);
    QFETCH(QString, description);
    const std::optional<QString> found = gradefile::startLineKey(line);
    QCOMPARE(found.has_value(), named);
    if (named)
        QCOMPARE(*found, key);
    QCOMPARE(textAfterFirstSeparator(line), description);
}

void TestLineGrammar::endLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<QStringList>("texts"); // region, establishment, teacher
    QTest::addColumn<int>("saveNumber");    // -1 when not read
    QTest::addColumn<int>("printNumber");
    const QString x = kAbsent;
    QTest::newRow("as written: empty fifth field")
        << QStringLiteral("FINK|صفاقس|المدرسة|فلان||7|4") << true
        << QStringList{"صفاقس", "المدرسة", "فلان"} << 0 << 7;
    QTest::newRow("exactly five separators")
        << QStringLiteral("FINK|r|e|t|3|4") << true << QStringList{"r", "e", "t"} << 3 << 4;
    QTest::newRow("region needs its end separator")
        << QStringLiteral("FINK|r") << true << QStringList{x, x, x} << -1 << -1;
    QTest::newRow("establishment needs its end separator")
        << QStringLiteral("FINK|r|e") << true << QStringList{"r", x, x} << -1 << -1;
    QTest::newRow("teacher but no counters")
        << QStringLiteral("FINK|r|e|t|9") << true << QStringList{"r", "e", "t"} << -1 << -1;
    QTest::newRow("empty counters are zero")
        << QStringLiteral("FINK||||||") << true << QStringList{"", "", ""} << 0 << 0;
    QTest::newRow("counters round halves to even")
        << QStringLiteral("FINK|r|e|t|2.5|3.5") << true << QStringList{"r", "e", "t"} << 2 << 4;
    QTest::newRow("save number out of range")
        << QStringLiteral("FINK|r|e|t|40000|1") << false << QStringList() << 0 << 0;
    QTest::newRow("print number out of range")
        << QStringLiteral("FINK|r|e|t||-40000") << false << QStringList() << 0 << 0;
}

void TestLineGrammar::endLine()
{
    QFETCH(QString, line);
    QFETCH(bool, inRange);
    QFETCH(QStringList, texts);
    QFETCH(int, saveNumber);
    QFETCH(int, printNumber);
    const EndLineRead read = readEndLine(line);
    QCOMPARE(read.numberOutOfRange, !inRange);
    QCOMPARE(read.fields.has_value(), inRange);
    if (!inRange)
        return;
    const EndLineFields& fields = *read.fields;
    QCOMPARE((QStringList{fields.region.value_or(kAbsent), fields.establishment.value_or(kAbsent),
                          fields.teacher.value_or(kAbsent)}),
             texts);
    QCOMPARE(fields.saveNumber ? int(*fields.saveNumber) : -1, saveNumber);
    QCOMPARE(fields.printNumber ? int(*fields.printNumber) : -1, printNumber);
}

void TestLineGrammar::plainPupilLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("six fields") << QStringLiteral("1|2|3|4|5|6") << true
                                << QStringList{"1", "2", "3", "4", "5", "6"};
    QTest::newRow("rest keeps separators")
        << QStringLiteral("1|2|3|4|5|6|7") << true << QStringList{"1", "2", "3", "4", "5", "6|7"};
    QTest::newRow("all empty") << QStringLiteral("|||||") << true
                               << QStringList{"", "", "", "", "", ""};
    QTest::newRow("four separators") << QStringLiteral("1|2|3|4|5") << false << QStringList();
    QTest::newRow("no separator") << QStringLiteral("FIN") << false << QStringList();
}

void TestLineGrammar::plainPupilLine()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);
    QFETCH(QStringList, fields);
    const std::optional<std::vector<QString>> split = splitPlainPupilLine(line);
    QCOMPARE(split.has_value(), valid);
    if (valid)
        QCOMPARE(QStringList(split->begin(), split->end()), fields);
}

QTEST_APPLESS_MAIN(TestLineGrammar)
#include "tst_linegrammar.moc"
