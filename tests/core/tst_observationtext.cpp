#include "observation/observationtext.h"

#include <QTest>

using namespace observation;

Q_DECLARE_METATYPE(observation::Rgb)

namespace {

// Observation columns as the sample grade files hold them: a level alone, or a level, "#"
// and an observation.
const QString kLevelOnly = QStringLiteral("2");
const QString kWithObservation = QStringLiteral("1#عمل جيّد، واصل");
const QString kWithOtherObservation = QStringLiteral("3#يجب بذل مجهود أكبر");

const Rgb kBlack{0, 0, 0};
const Rgb kRed{255, 0, 0};
const Rgb kDarkBlue{0, 0, 192};
const Rgb kGreen{0, 128, 0};
const Rgb kBlue{0, 0, 255};

QString phrase(int functionKey)
{
    return phraseForKey(functionKey).value_or(QString());
}

QString repeated(QChar c, int count)
{
    return QString(count, c);
}

} // namespace

class TestObservationText : public QObject {
    Q_OBJECT

private slots:
    void shownObservation_data();
    void shownObservation();
    void validation_data();
    void validation();
    void validatedObservationComesBack_data();
    void validatedObservationComesBack();
    void nameLook_data();
    void nameLook();
    void storableText_data();
    void storableText();
    void boxEdit_data();
    void boxEdit();
};

void TestObservationText::shownObservation_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no #") << kLevelOnly << QString();
    QTest::newRow("empty cell") << QString() << QString();
    QTest::newRow("prefix and observation") << kWithObservation << QStringLiteral("عمل جيّد، واصل");
    QTest::newRow("later # belong to it") << QStringLiteral("1#a#b#") << QStringLiteral("a#b#");
    QTest::newRow("# and nothing after") << QStringLiteral("1#") << QString();
    QTest::newRow("no prefix") << QStringLiteral("#ممتاز") << QStringLiteral("ممتاز");
}

void TestObservationText::shownObservation()
{
    QFETCH(QString, cell);
    QFETCH(QString, shown);
    QCOMPARE(observationOf(cell), shown);
    // Splitting and joining again gives the cell back, whatever it holds.
    QCOMPARE(joinCell(splitCell(cell)), cell);
}

void TestObservationText::validation_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");

    QTest::newRow("no #: # and the phrase appended")
        << kLevelOnly << phrase(7) << kLevelOnly + u'#' + phrase(7);
    QTest::newRow("old observation replaced, prefix kept")
        << kWithObservation << phrase(9) << QStringLiteral("1#") + phrase(9);
    QTest::newRow("old observation holding # replaced whole")
        << QStringLiteral("1#a#b") << QStringLiteral("ج") << QStringLiteral("1#ج");
    QTest::newRow("blanks around a phrase stored as typed")
        << kLevelOnly << QStringLiteral("  ") + phrase(4) + u' '
        << kLevelOnly + QStringLiteral("#  ") + phrase(4) + u' ';
    QTest::newRow("blanks alone are an observation")
        << kLevelOnly << QStringLiteral("   ") << kLevelOnly + QStringLiteral("#   ");
    QTest::newRow("# inside the observation")
        << kLevelOnly << QStringLiteral("أ#ب") << QStringLiteral("2#أ#ب");
    QTest::newRow("empty removes # and old observation")
        << kWithOtherObservation << QString() << QStringLiteral("3");
    QTest::newRow("empty on a cell without #") << kLevelOnly << QString() << kLevelOnly;
    QTest::newRow("empty on # alone") << QStringLiteral("#قديم") << QString() << QString();
    QTest::newRow("empty prefix") << QString() << phrase(1) << u'#' + phrase(1);
    QTest::newRow("field separator and line breaks left out")
        << kLevelOnly << QStringLiteral("أ|ب\r\nج\tد") << QStringLiteral("2#أبجد");
    QTest::newRow("nothing storable is no observation")
        << kWithObservation << QStringLiteral("|\n") << QStringLiteral("1");
}

void TestObservationText::validation()
{
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(cellAfterValidation(cell, typed), written);
}

void TestObservationText::validatedObservationComesBack_data()
{
    QTest::addColumn<QString>("typed");

    QTest::newRow("phrase") << phrase(6);
    QTest::newRow("with #") << QStringLiteral("#أ##ب#");
    QTest::newRow("blanks") << QStringLiteral("  ");
    QTest::newRow("fifty characters") << repeated(u'م', kMaxObservationLength);
}

void TestObservationText::validatedObservationComesBack()
{
    QFETCH(QString, typed);
    for (const QString& cell : {kLevelOnly, kWithObservation, QString()})
        QCOMPARE(observationOf(cellAfterValidation(cell, typed)), typed);
}

void TestObservationText::nameLook_data()
{
    QTest::addColumn<QString>("observation");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<bool>("bold");

    const Rgb byKey[kPhraseCount] = {kRed,   kRed,   kDarkBlue, kDarkBlue, kDarkBlue,
                                     kGreen, kGreen, kGreen,    kGreen};
    for (int key = 1; key <= kPhraseCount; ++key)
        QTest::addRow("F%d", key) << phrase(key) << byKey[key - 1] << true;
    QTest::newRow("phrase within blanks")
        << QStringLiteral("   ") + phrase(4) + QStringLiteral("  ") << kDarkBlue << true;
    QTest::newRow("free text") << QStringLiteral("عمل جيّد، واصل") << kBlue << true;
    QTest::newRow("part of a phrase") << QStringLiteral("نتائج") << kBlue << true;
    QTest::newRow("phrase and more") << phrase(7) + QStringLiteral(" جدّا") << kBlue << true;
    QTest::newRow("phrase with a blank doubled inside")
        << QStringLiteral("نتائج  حسنة") << kBlue << true;
    QTest::newRow("blanks alone") << QStringLiteral("   ") << kBlue << true;
    QTest::newRow("empty") << QString() << kBlack << false;
}

void TestObservationText::nameLook()
{
    QFETCH(QString, observation);
    QFETCH(Rgb, colour);
    QFETCH(bool, bold);
    const NameLook look = nameLookFor(observation);
    QCOMPARE(look.colour, colour);
    QCOMPARE(look.bold, bold);
}

void TestObservationText::storableText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");

    const QString smile = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("plain Arabic") << QStringLiteral("نتائج حسنة") << QStringLiteral("نتائج حسنة");
    QTest::newRow("field separator") << QStringLiteral("أ|ب") << QStringLiteral("أب");
    QTest::newRow("line breaks") << QStringLiteral("أ\r\nب\nج\rد") << QStringLiteral("أبجد");
    QTest::newRow("tab and escape") << QStringLiteral("أ\tب\x1b") << QStringLiteral("أب");
    QTest::newRow("NUL") << QString(QChar(0)) + u'أ' << QStringLiteral("أ");
    QTest::newRow("next line U+0085") << QStringLiteral("أ\u0085ب") << QStringLiteral("أب");
    QTest::newRow("line and paragraph separators")
        << QStringLiteral("أ\u2028ب\u2029ج") << QStringLiteral("أبج");
    QTest::newRow("# kept") << QStringLiteral("#أ#") << QStringLiteral("#أ#");
    QTest::newRow("joiners and marks of direction kept")
        << QStringLiteral("أ\u200cب\u200fج") << QStringLiteral("أ\u200cب\u200fج");
    QTest::newRow("surrogate pair kept") << smile << smile;
    QTest::newRow("lone high surrogate") << QString(smile.at(0)) + u'أ' << QStringLiteral("أ");
    QTest::newRow("lone low surrogate") << u'أ' + QString(smile.at(1)) << QStringLiteral("أ");
}

void TestObservationText::storableText()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QCOMPARE(observation::storableText(text), stored);
}

void TestObservationText::boxEdit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursorAfter");

    const QString x48 = repeated(u'س', 48);
    const QString full = repeated(u'م', kMaxObservationLength);
    const QString long60 = repeated(u'ل', 60);
    const QString smile = QString::fromUcs4(U"\U0001F600");

    QTest::newRow("typing") << QStringLiteral("ab") << QStringLiteral("abc") << 3
                            << QStringLiteral("abc") << 3;
    QTest::newRow("character past the limit refused") << full << full + u'ب' << 51 << full << 50;
    QTest::newRow("character into a full box refused") << full << u'ب' + full << 1 << full << 0;
    QTest::newRow("| typed") << QStringLiteral("ab") << QStringLiteral("ab|") << 3
                             << QStringLiteral("ab") << 2;
    QTest::newRow("| typed in the middle")
        << QStringLiteral("ab") << QStringLiteral("a|b") << 2 << QStringLiteral("ab") << 1;
    QTest::newRow("paste with a line break")
        << QString() << QStringLiteral("أب\nجد") << 5 << QStringLiteral("أبجد") << 4;
    QTest::newRow("paste cut at the limit")
        << x48 << x48 + QStringLiteral("12345") << 53 << x48 + QStringLiteral("12") << 50;
    QTest::newRow("paste in the middle cut, the old text after it kept")
        << x48 << x48.left(10) + QStringLiteral("12345") + x48.mid(10) << 15
        << x48.left(10) + QStringLiteral("12") + x48.mid(10) << 12;
    QTest::newRow("refused characters take no room")
        << x48 << x48 + QStringLiteral("||\n|ab") << 54 << x48 + QStringLiteral("ab") << 50;
    QTest::newRow("paste over a selection") << QStringLiteral("abcdef") << QStringLiteral("abXY|ef")
                                            << 5 << QStringLiteral("abXYef") << 4;
    QTest::newRow("same letter typed before itself")
        << QStringLiteral("aa") << QStringLiteral("aaa") << 1 << QStringLiteral("aaa") << 1;
    QTest::newRow("deleting") << QStringLiteral("abc") << QStringLiteral("ac") << 1
                              << QStringLiteral("ac") << 1;
    QTest::newRow("longer observation from the file: typing refused")
        << long60 << long60 + u'ب' << 61 << long60 << 60;
    QTest::newRow("longer observation from the file: deleting allowed")
        << long60 << long60.left(59) << 59 << long60.left(59) << 59;
    QTest::newRow("surrogate pair not cut in two")
        << repeated(u'س', 49) << repeated(u'س', 49) + smile << 51 << repeated(u'س', 49) << 49;
    QTest::newRow("surrogate pair that fits") << x48 << x48 + smile << 50 << x48 + smile << 50;
}

void TestObservationText::boxEdit()
{
    QFETCH(QString, before);
    QFETCH(QString, edited);
    QFETCH(int, cursor);
    QFETCH(QString, text);
    QFETCH(int, cursorAfter);
    const BoxEdit admitted = admitEdit(before, edited, cursor);
    QCOMPARE(admitted.text, text);
    QCOMPARE(admitted.cursor, cursorAfter);
    // The box checks the text it is given back once more: the answer must not change.
    const BoxEdit again = admitEdit(before, admitted.text, admitted.cursor);
    QCOMPARE(again.text, admitted.text);
    QCOMPARE(again.cursor, admitted.cursor);
}

QTEST_APPLESS_MAIN(TestObservationText)
#include "tst_observationtext.moc"
