#include "modaltools.h"
#include "ui/questiondialog.h"
#include "ui/uilook.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using ui::QuestionDialog;
using Answer = QuestionDialog::Answer;
using Buttons = QuestionDialog::Buttons;

namespace {

const QString kInsertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
const QString kSaveChanges = QStringLiteral("حفظ التغييرات               ");
const QString kPrintAfterSave =
    QStringLiteral("لا يمكنك طباعة بطاقة الأعداد إلاّ بعد حفظها بالقرص المرن - طباعة ؟");
const QString kTitle = QStringLiteral("معاينة محتوى القرص المرن");

enum class Gesture { EnterKey, EscapeThenYes, ClickYes, ClickNo, CloseBox };

QPushButton* okButton(QWidget* window)
{
    return window->findChild<QPushButton*>(QStringLiteral("okButton"));
}

QPushButton* cancelButton(QWidget* window)
{
    return window->findChild<QPushButton*>(QStringLiteral("cancelButton"));
}

QLabel* message(QWidget* window)
{
    return window->findChild<QLabel*>(QStringLiteral("message"));
}

// Keys go where the user's keys go: to the control that has the focus.
QWidget* keyTarget(QWidget* window)
{
    QWidget* focus = window->focusWidget();
    return focus ? focus : window;
}

void give(QWidget* window, Gesture gesture)
{
    switch (gesture) {
    case Gesture::EnterKey:
        QTest::keyClick(keyTarget(window), Qt::Key_Return);
        break;
    case Gesture::EscapeThenYes:
        // Escape answers nothing: the window is still there for the Yes that follows.
        QTest::keyClick(keyTarget(window), Qt::Key_Escape);
        if (window->isVisible())
            QTest::mouseClick(okButton(window), Qt::LeftButton);
        break;
    case Gesture::ClickYes:
        QTest::mouseClick(okButton(window), Qt::LeftButton);
        break;
    case Gesture::ClickNo:
        QTest::mouseClick(cancelButton(window), Qt::LeftButton);
        break;
    case Gesture::CloseBox:
        window->close();
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Gesture)
Q_DECLARE_METATYPE(Buttons)
Q_DECLARE_METATYPE(Answer)

class TestQuestionDialog : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void showsTheCallersMessageAndTitle();
    void noticeShowsYesAloneNearerTheMiddle();
    void secondQuestionStartsFromTheDesign();
    void longMessageIsShrunkNotCut();
    void yesStandsRightOfNo();
    void isCentredOnTheScreen();
};

void TestQuestionDialog::answers_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<Answer>("expected");

    QTest::newRow("question, Enter") << Buttons::YesNo << Gesture::EnterKey << Answer::Yes;
    QTest::newRow("question, Escape") << Buttons::YesNo << Gesture::EscapeThenYes << Answer::Yes;
    QTest::newRow("question, yes") << Buttons::YesNo << Gesture::ClickYes << Answer::Yes;
    QTest::newRow("question, no") << Buttons::YesNo << Gesture::ClickNo << Answer::No;
    QTest::newRow("question, close box") << Buttons::YesNo << Gesture::CloseBox << Answer::No;
    QTest::newRow("notice, Enter") << Buttons::YesOnly << Gesture::EnterKey << Answer::Yes;
    QTest::newRow("notice, Escape") << Buttons::YesOnly << Gesture::EscapeThenYes << Answer::Yes;
    QTest::newRow("notice, close box") << Buttons::YesOnly << Gesture::CloseBox << Answer::No;
}

void TestQuestionDialog::answers()
{
    QFETCH(Buttons, buttons);
    QFETCH(Gesture, gesture);
    QFETCH(Answer, expected);

    QObject scope; // the answers armed here end with the test
    whenModalOpens(&scope, [gesture](QWidget* window) { give(window, gesture); });
    QCOMPARE(QuestionDialog::ask(kSaveChanges, buttons, kTitle), expected);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestQuestionDialog::showsTheCallersMessageAndTitle()
{
    QObject scope;
    QString text;
    QString title;
    whenModalOpens(&scope, [&](QWidget* window) {
        text = message(window)->text();
        title = window->windowTitle();
        window->close();
    });
    QuestionDialog::ask(kSaveChanges, Buttons::YesNo, kTitle);
    QCOMPARE(text, kSaveChanges);
    QCOMPARE(title, kTitle);
}

void TestQuestionDialog::noticeShowsYesAloneNearerTheMiddle()
{
    QObject scope;
    QRect yes;
    int visibleButtons = 0;
    whenModalOpens(&scope, [&](QWidget* window) {
        yes = okButton(window)->geometry();
        for (const QPushButton* button : window->findChildren<QPushButton*>())
            visibleButtons += button->isVisible() ? 1 : 0;
        window->close();
    });
    QuestionDialog::ask(kInsertDisk, Buttons::YesOnly, kTitle);
    QCOMPARE(yes, ui::twipsRect(1500, 960, 945, 435));
    QCOMPARE(visibleButtons, 1);
}

// A notice moves its Yes button; the next question must not inherit that.
void TestQuestionDialog::secondQuestionStartsFromTheDesign()
{
    QObject scope;
    whenModalOpens(&scope, [](QWidget* window) { give(window, Gesture::ClickYes); });
    QCOMPARE(QuestionDialog::ask(kInsertDisk, Buttons::YesOnly, kTitle), Answer::Yes);

    QRect yes;
    bool noVisible = false;
    whenModalOpens(&scope, [&](QWidget* window) {
        yes = okButton(window)->geometry();
        noVisible = cancelButton(window)->isVisible();
        window->close();
    });
    QCOMPARE(QuestionDialog::ask(kSaveChanges, Buttons::YesNo, kTitle), Answer::No);
    QCOMPARE(yes, ui::twipsRect(1710, 960, 945, 435));
    QVERIFY(noVisible);
}

void TestQuestionDialog::longMessageIsShrunkNotCut()
{
    QuestionDialog window;
    window.prepare(kPrintAfterSave, Buttons::YesNo, kTitle);
    const QLabel* label = message(&window);

    QCOMPARE(label->text(), kPrintAfterSave);
    QVERIFY(label->fontMetrics().horizontalAdvance(kPrintAfterSave) <= label->width());
    QVERIFY(label->fontMetrics().height() <= label->height());
    QVERIFY(label->geometry().bottom() < okButton(&window)->y());
}

// Read right to left, Yes comes first: at the right of No.
void TestQuestionDialog::yesStandsRightOfNo()
{
    QuestionDialog window;
    window.prepare(kSaveChanges, Buttons::YesNo, kTitle);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const int yesLeft = okButton(&window)->mapTo(&window, QPoint(0, 0)).x();
    const int noLeft = cancelButton(&window)->mapTo(&window, QPoint(0, 0)).x();
    QVERIFY(yesLeft > noLeft);
}

// Shown over a window in the screen's corner, the question still stands in the middle of
// the screen rather than over that window, as Qt would place it.
void TestQuestionDialog::isCentredOnTheScreen()
{
    QWidget corner;
    corner.setGeometry(0, 0, 200, 150);
    corner.show();
    QPoint windowCentre;
    QPoint screenCentre;
    whenModalOpens(&corner, [&](QWidget* window) {
        windowCentre = window->frameGeometry().center();
        screenCentre = window->screen()->geometry().center();
        window->close();
    });
    QuestionDialog::ask(kInsertDisk, Buttons::YesOnly, kTitle, &corner);
    QVERIFY((windowCentre - screenCentre).manhattanLength() <= 2);
}

QTEST_MAIN(TestQuestionDialog)
#include "tst_questiondialog.moc"
