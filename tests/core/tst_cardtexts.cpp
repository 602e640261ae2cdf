#include "gradefile/gradedocument.h"
#include "print/cardtexts.h"

#include <QTest>

using print::CardTexts;

namespace {

gradefile::GradeDocument open(const QString& key, const QStringList& tail)
{
    const QString caption = QStringLiteral("8410203 إعدادية النور        [السابعة أساسي 2] عربية");
    const QStringList lines = QStringList{QStringLiteral("DEBUT") + key + u'|' + caption,
                                          QStringLiteral("TYPEEPREUVE:|ف")} +
                              tail;
    return *gradefile::readGradeDocument(key + QStringLiteral(".xml"), lines).document;
}

} // namespace

class TestCardTexts : public QObject {
    Q_OBJECT

private slots:
    void resetKeepsTheCounters();
    void completedFromTheFile();
    void secondFileDoesNotAccumulate();
    void fileWithoutEndLineKeepsTheCounters();
};

void TestCardTexts::resetKeepsTheCounters()
{
    CardTexts texts;
    texts.SaveNumber = 9;
    texts.PrintNumber = 8;
    texts.RegionName = QStringLiteral("قديم");
    print::InitCardTexts(texts);
    QCOMPARE(texts.SaveNumber, qint16(9));
    QCOMPARE(texts.PrintNumber, qint16(8));
    QCOMPARE(texts.RegionName, QString());
    QCOMPARE(texts.DirectorateLine, QStringLiteral("الإدارة الجهويّة للتعليم بـ"));
    QCOMPARE(texts.TeacherLine, QStringLiteral("المدرّس / الأستاذ : "));
    QCOMPARE(texts.SchoolYearLine, QStringLiteral("السنة الدراسيّة : "));
    QCOMPARE(texts.CardTitle, QStringLiteral("بطاقة تحصيل الأعداد "));
    QCOMPARE(texts.TeacherSignatureLabel, QStringLiteral("إ مضاء المدرّس / الأستاذ"));
    QVERIFY(texts.MinistryLine.startsWith(u' ') && texts.MinistryLine.endsWith(u' '));
    QVERIFY(!texts.MinistryLine.trimmed().isEmpty());
}

void TestCardTexts::completedFromTheFile()
{
    const QString key = QStringLiteral("8410203C07120002004");
    CardTexts texts;
    print::InitCardTexts(texts);
    print::completeCardTexts(texts,
                             open(key, {QStringLiteral("1|1|1|أ|1"),
                                        "FIN" + key + QStringLiteral("|صفاقس|النور|سلمى||6|4")}));
    QCOMPARE(texts.SchoolYearLine, QStringLiteral("السنة الدراسيّة : 2005/2004"));
    QCOMPARE(texts.SheetDescription, QStringLiteral("السابـعة أساسي 2 عربـية"));
    QCOMPARE(texts.DirectorateLine, QStringLiteral("الإدارة الجهويّة للتعليم بـصفاقس"));
    QCOMPARE(texts.RegionName, QStringLiteral("صفاقس"));
    QCOMPARE(texts.EstablishmentName, QStringLiteral("النور"));
    QCOMPARE(texts.TeacherName, QStringLiteral("سلمى"));
    QCOMPARE(texts.TeacherLine, QStringLiteral("المدرّس / الأستاذ : سلمى"));
    QCOMPARE(texts.SaveNumber, qint16(0));
    QCOMPARE(texts.PrintNumber, qint16(6));
}

void TestCardTexts::secondFileDoesNotAccumulate()
{
    const QString first = QStringLiteral("8410203C07120002004");
    const QString second = QStringLiteral("8410203C07130002005");
    CardTexts texts;
    for (const auto& [key, region] :
         {std::pair{first, QStringLiteral("صفاقس")}, std::pair{second, QStringLiteral("قابس")}}) {
        print::InitCardTexts(texts);
        print::completeCardTexts(
            texts, open(key, {QStringLiteral("1|1|1|أ|1"),
                              "FIN" + key + u'|' + region + QStringLiteral("|م|ت||1|1")}));
    }
    QCOMPARE(texts.DirectorateLine, QStringLiteral("الإدارة الجهويّة للتعليم بـقابس"));
    QCOMPARE(texts.TeacherLine, QStringLiteral("المدرّس / الأستاذ : ت"));
    QCOMPARE(texts.EstablishmentName, QStringLiteral("م"));
    QCOMPARE(texts.SchoolYearLine, QStringLiteral("السنة الدراسيّة : 2006/2005"));
}

void TestCardTexts::fileWithoutEndLineKeepsTheCounters()
{
    CardTexts texts;
    texts.SaveNumber = 5;
    texts.PrintNumber = 4;
    texts.RegionName = QStringLiteral("صفاقس");
    print::InitCardTexts(texts);
    print::completeCardTexts(texts,
                             open(QStringLiteral("8410203C07120002004"),
                                  {QStringLiteral("1|1|1|أ|1"), QStringLiteral("2|2|2|ب|2")}));
    QCOMPARE(texts.RegionName, QString());
    QCOMPARE(texts.TeacherName, QString());
    QCOMPARE(texts.SaveNumber, qint16(5));
    QCOMPARE(texts.PrintNumber, qint16(4));
}

QTEST_APPLESS_MAIN(TestCardTexts)
#include "tst_cardtexts.moc"
