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
    texts.saveNumber = 9;
    texts.printNumber = 8;
    texts.regionName = QStringLiteral("قديم");
    print::resetCardTexts(texts);
    QCOMPARE(texts.saveNumber, qint16(9));
    QCOMPARE(texts.printNumber, qint16(8));
    QCOMPARE(texts.regionName, QString());
    QCOMPARE(texts.directorateLine, QStringLiteral("الإدارة الجهويّة للتعليم بـ"));
    QCOMPARE(texts.teacherLine, QStringLiteral("المدرّس / الأستاذ : "));
    QCOMPARE(texts.schoolYearLine, QStringLiteral("السنة الدراسيّة : "));
    QCOMPARE(texts.cardTitle, QStringLiteral("بطاقة تحصيل الأعداد "));
    QCOMPARE(texts.teacherSignatureLabel, QStringLiteral("إ مضاء المدرّس / الأستاذ"));
    QVERIFY(texts.ministryLine.startsWith(u' ') && texts.ministryLine.endsWith(u' '));
    QVERIFY(!texts.ministryLine.trimmed().isEmpty());
}

void TestCardTexts::completedFromTheFile()
{
    const QString key = QStringLiteral("8410203C07120002004");
    CardTexts texts;
    print::resetCardTexts(texts);
    print::completeCardTexts(texts,
                             open(key, {QStringLiteral("1|1|1|أ|1"),
                                        "FIN" + key + QStringLiteral("|صفاقس|النور|سلمى||6|4")}));
    QCOMPARE(texts.schoolYearLine, QStringLiteral("السنة الدراسيّة : 2005/2004"));
    QCOMPARE(texts.sheetDescription, QStringLiteral("السابـعة أساسي 2 عربـية"));
    QCOMPARE(texts.directorateLine, QStringLiteral("الإدارة الجهويّة للتعليم بـصفاقس"));
    QCOMPARE(texts.regionName, QStringLiteral("صفاقس"));
    QCOMPARE(texts.establishmentName, QStringLiteral("النور"));
    QCOMPARE(texts.teacherName, QStringLiteral("سلمى"));
    QCOMPARE(texts.teacherLine, QStringLiteral("المدرّس / الأستاذ : سلمى"));
    QCOMPARE(texts.saveNumber, qint16(0));
    QCOMPARE(texts.printNumber, qint16(6));
}

void TestCardTexts::secondFileDoesNotAccumulate()
{
    const QString first = QStringLiteral("8410203C07120002004");
    const QString second = QStringLiteral("8410203C07130002005");
    CardTexts texts;
    for (const auto& [key, region] :
         {std::pair{first, QStringLiteral("صفاقس")}, std::pair{second, QStringLiteral("قابس")}}) {
        print::resetCardTexts(texts);
        print::completeCardTexts(
            texts, open(key, {QStringLiteral("1|1|1|أ|1"),
                              "FIN" + key + u'|' + region + QStringLiteral("|م|ت||1|1")}));
    }
    QCOMPARE(texts.directorateLine, QStringLiteral("الإدارة الجهويّة للتعليم بـقابس"));
    QCOMPARE(texts.teacherLine, QStringLiteral("المدرّس / الأستاذ : ت"));
    QCOMPARE(texts.establishmentName, QStringLiteral("م"));
    QCOMPARE(texts.schoolYearLine, QStringLiteral("السنة الدراسيّة : 2006/2005"));
}

void TestCardTexts::fileWithoutEndLineKeepsTheCounters()
{
    CardTexts texts;
    texts.saveNumber = 5;
    texts.printNumber = 4;
    texts.regionName = QStringLiteral("صفاقس");
    print::resetCardTexts(texts);
    print::completeCardTexts(texts,
                             open(QStringLiteral("8410203C07120002004"),
                                  {QStringLiteral("1|1|1|أ|1"), QStringLiteral("2|2|2|ب|2")}));
    QCOMPARE(texts.regionName, QString());
    QCOMPARE(texts.teacherName, QString());
    QCOMPARE(texts.saveNumber, qint16(5));
    QCOMPARE(texts.printNumber, qint16(4));
}

QTEST_APPLESS_MAIN(TestCardTexts)
#include "tst_cardtexts.moc"
