#include "observation/keyboardgroups.h"

#include <QTest>

using observation::arabicGroupAmong;

class TestKeyboardGroups : public QObject {
    Q_OBJECT

private slots:
    void arabicGroup_data();
    void arabicGroup();
};

void TestKeyboardGroups::arabicGroup_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("group"); // -1: none

    QTest::newRow("us,ara") << QStringList{"English (US)", "Arabic"} << 1;
    QTest::newRow("ara first") << QStringList{"Arabic", "English (US)"} << 0;
    QTest::newRow("third group") << QStringList{"English (US)", "French", "Arabic"} << 2;
    QTest::newRow("standard Arabic before a variant")
        << QStringList{"English (US)", "Arabic (Morocco)", "Arabic"} << 2;
    QTest::newRow("a variant alone") << QStringList{"French", "Arabic (AZERTY)"} << 1;
    QTest::newRow("named by its code") << QStringList{"us", "ara"} << 1;
    QTest::newRow("unnamed groups") << QStringList{"English (US)", ""} << -1;
    QTest::newRow("no Arabic") << QStringList{"English (US)", "French"} << -1;
    QTest::newRow("no group") << QStringList{} << -1;
    QTest::newRow("ara inside another word")
        << QStringList{"English (US)", "Marathi (KaGaPa, phonetic)"} << -1;
}

void TestKeyboardGroups::arabicGroup()
{
    QFETCH(QStringList, names);
    QFETCH(int, group);
    const std::optional<int> found = arabicGroupAmong(names);
    QCOMPARE(found.value_or(-1), group);
}

QTEST_APPLESS_MAIN(TestKeyboardGroups)
#include "tst_keyboardgroups.moc"
