#include "app/uilook.h"
#include "modaltools.h"
#include "sheet/frmmsg.h"
#include "sheet/sheetstate.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using sheet::FrmMsg;
using sheet::SheetState;

namespace {

const QString kOK = QStringLiteral("OK");
const QString kCancel = QStringLiteral("Cancel");
const QString kInsertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
const QString kSaveChanges = QStringLiteral("حفظ التغييرات               ");
const QString kPrintAfterSave =
    QStringLiteral("لا يمكنك طباعة بطاقة الأعداد إلاّ بعد حفظها بالقرص المرن - طباعة ؟");
const QString kTitle = QStringLiteral("معاينة محتوى القرص المرن");

enum class Answer { EnterKey, ClickYes, ClickNo, CloseBox };

QPushButton* cmdOK(QWidget* window)
{
    return window->findChild<QPushButton*>(QStringLiteral("CmdOK"));
}

QPushButton* cmdCancel(QWidget* window)
{
    return window->findChild<QPushButton*>(QStringLiteral("CmdCancel"));
}

QLabel* lblMsg(QWidget* window)
{
    return window->findChild<QLabel*>(QStringLiteral("LblMsg"));
}

// Keys go where the user's keys go: to the control that has the focus.
QWidget* keyTarget(QWidget* window)
{
    QWidget* focus = window->focusWidget();
    return focus ? focus : window;
}

void give(QWidget* window, Answer answer)
{
    switch (answer) {
    case Answer::EnterKey:
        QTest::keyClick(keyTarget(window), Qt::Key_Return);
        break;
    case Answer::ClickYes:
        QTest::mouseClick(cmdOK(window), Qt::LeftButton);
        break;
    case Answer::ClickNo:
        QTest::mouseClick(cmdCancel(window), Qt::LeftButton);
        break;
    case Answer::CloseBox:
        window->close();
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestFrmMsg : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void escapeLeavesTheWindowOpen_data();
    void escapeLeavesTheWindowOpen();
    void showsTheCallersMessageAndTitle();
    void noticeShowsYesAloneNearerTheMiddle();
    void secondQuestionStartsFromTheDesign();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void messageLineKeepsItsDesignedMiddle();
    void longMessageIsShrunkNotCut();
    void yesStandsRightOfNo();
    void readsRightToLeft();
    void opensWithTheDesignCaptionAndForgetsTheLastAnswer();
    void isCentredOnTheScreen();
};

void TestFrmMsg::answers_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("expected");

    QTest::newRow("question, Enter") << true << Answer::EnterKey << kOK;
    QTest::newRow("question, yes clicked") << true << Answer::ClickYes << kOK;
    QTest::newRow("question, no clicked") << true << Answer::ClickNo << kCancel;
    QTest::newRow("question, close box") << true << Answer::CloseBox << kCancel;
    QTest::newRow("notice, Enter") << false << Answer::EnterKey << kOK;
    QTest::newRow("notice, yes clicked") << false << Answer::ClickYes << kOK;
    QTest::newRow("notice, close box") << false << Answer::CloseBox << kCancel;
}

// The state starts from a previous "OK": an answer that does not set "Cancel" itself must
// still not leave the old answer behind.
void TestFrmMsg::answers()
{
    QFETCH(bool, cancel);
    QFETCH(Answer, answer);
    QFETCH(QString, expected);

    SheetState state;
    QObject scope; // the answers armed here end with the test
    state.dialogResult = kOK;
    whenModalOpens(&scope, [answer](QWidget* window) { give(window, answer); });
    QCOMPARE(sheet::askQuestion(state, kSaveChanges, cancel, kTitle), expected);
    QCOMPARE(state.dialogResult, expected);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestFrmMsg::escapeLeavesTheWindowOpen_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("question") << true;
    QTest::newRow("notice") << false;
}

void TestFrmMsg::escapeLeavesTheWindowOpen()
{
    QFETCH(bool, cancel);

    SheetState state;
    QObject scope; // the answers armed here end with the test
    bool openAfterEscape = false;
    QString resultAfterEscape;
    whenModalOpens(&scope, [&](QWidget* window) {
        QTest::keyClick(keyTarget(window), Qt::Key_Escape);
        openAfterEscape = window->isVisible();
        resultAfterEscape = state.dialogResult;
        give(window, Answer::ClickYes);
    });
    QCOMPARE(sheet::askQuestion(state, kInsertDisk, cancel, kTitle), kOK);
    QVERIFY(openAfterEscape);
    QCOMPARE(resultAfterEscape, kCancel);
}

void TestFrmMsg::showsTheCallersMessageAndTitle()
{
    SheetState state;
    QObject scope; // the answers armed here end with the test
    QString message;
    QString title;
    whenModalOpens(&scope, [&](QWidget* window) {
        message = lblMsg(window)->text();
        title = window->windowTitle();
        window->close();
    });
    sheet::askQuestion(state, kSaveChanges, true, kTitle);
    QCOMPARE(message, kSaveChanges);
    QCOMPARE(title, kTitle);
}

void TestFrmMsg::noticeShowsYesAloneNearerTheMiddle()
{
    SheetState state;
    QObject scope; // the answers armed here end with the test
    QRect yes;
    bool noVisible = true;
    int visibleButtons = 0;
    whenModalOpens(&scope, [&](QWidget* window) {
        yes = cmdOK(window)->geometry();
        noVisible = cmdCancel(window)->isVisible();
        for (const QPushButton* button : window->findChildren<QPushButton*>())
            visibleButtons += button->isVisible() ? 1 : 0;
        window->close();
    });
    sheet::askQuestion(state, kInsertDisk, false, kTitle);
    QCOMPARE(yes, ui::twipsRect(1500, 960, 945, 435));
    QVERIFY(!noVisible);
    QCOMPARE(visibleButtons, 1);
}

void TestFrmMsg::secondQuestionStartsFromTheDesign()
{
    SheetState state;
    QObject scope; // the answers armed here end with the test
    whenModalOpens(&scope, [](QWidget* window) { give(window, Answer::ClickYes); });
    QCOMPARE(sheet::askQuestion(state, kInsertDisk, false, kTitle), kOK);

    QRect yes;
    QRect no;
    bool noVisible = false;
    QString resultWhileOpen;
    whenModalOpens(&scope, [&](QWidget* window) {
        yes = cmdOK(window)->geometry();
        no = cmdCancel(window)->geometry();
        noVisible = cmdCancel(window)->isVisible();
        resultWhileOpen = state.dialogResult;
        window->close();
    });
    QCOMPARE(sheet::askQuestion(state, kSaveChanges, true, kTitle), kCancel);
    QCOMPARE(yes, ui::twipsRect(1710, 960, 945, 435));
    QCOMPARE(no, ui::twipsRect(510, 960, 945, 435));
    QVERIFY(noVisible);
    QCOMPARE(resultWhileOpen, kCancel);
}

void TestFrmMsg::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<qreal>("pointSize");

    QTest::newRow("Frame1") << QStringLiteral("Frame1") << ui::twipsRect(0, -60, 5295, 1515)
                            << 9.75;
    QTest::newRow("CmdOK") << QStringLiteral("CmdOK") << ui::twipsRect(1710, 960, 945, 435) << 12.0;
    QTest::newRow("CmdCancel") << QStringLiteral("CmdCancel") << ui::twipsRect(510, 960, 945, 435)
                               << 12.0;
}

void TestFrmMsg::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(qreal, pointSize);

    SheetState state;
    FrmMsg window(state);
    QCOMPARE(window.size(), QSize(ui::fromTwips(5325), ui::fromTwips(1500)));
    QCOMPARE(window.minimumSize(), window.maximumSize());

    auto* control = window.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->font().pointSizeF(), pointSize);
    QVERIFY(control->font().bold());
    if (name != QLatin1String("Frame1"))
        QCOMPARE(control->parentWidget()->objectName(), QStringLiteral("Frame1"));
}

// The label may stand taller than designed when the font needs it, never off its line.
void TestFrmMsg::messageLineKeepsItsDesignedMiddle()
{
    SheetState state;
    FrmMsg window(state);
    window.Afficher(kInsertDisk, true, kTitle);
    const QRect designed = ui::twipsRect(90, 360, 5025, 345);
    const QLabel* label = lblMsg(&window);

    QCOMPARE(label->x(), designed.x());
    QCOMPARE(label->width(), designed.width());
    QVERIFY(label->height() >= designed.height());
    QVERIFY(qAbs(label->geometry().center().y() - designed.center().y()) <= 1);
    QVERIFY(label->geometry().bottom() < cmdOK(&window)->y());
    QCOMPARE(label->font().pointSizeF(), 14.25);
    QVERIFY(label->font().bold());
    QCOMPARE(label->alignment(), Qt::AlignCenter);
    QVERIFY(!label->wordWrap());
}

void TestFrmMsg::longMessageIsShrunkNotCut()
{
    SheetState state;
    FrmMsg window(state);
    window.Afficher(kPrintAfterSave, true, kTitle);
    const QLabel* label = lblMsg(&window);

    QCOMPARE(label->text(), kPrintAfterSave);
    QVERIFY(label->fontMetrics().horizontalAdvance(kPrintAfterSave) <= label->width());
    QVERIFY(label->font().pointSizeF() < 14.25);
    QVERIFY(label->font().bold());
}

void TestFrmMsg::yesStandsRightOfNo()
{
    SheetState state;
    FrmMsg window(state);
    window.Afficher(kSaveChanges, true, kTitle);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const int yesLeft = cmdOK(&window)->mapTo(&window, QPoint(0, 0)).x();
    const int noLeft = cmdCancel(&window)->mapTo(&window, QPoint(0, 0)).x();
    QCOMPARE(yesLeft, ui::fromTwips(1710)); // Frame1 stands at the left edge
    QVERIFY(yesLeft > noLeft);
}

void TestFrmMsg::readsRightToLeft()
{
    SheetState state;
    FrmMsg window(state);
    QCOMPARE(window.layoutDirection(), Qt::RightToLeft);
    for (const char* name : {"Frame1", "LblMsg", "CmdOK", "CmdCancel"})
        QCOMPARE(window.findChild<QWidget*>(QLatin1String(name))->layoutDirection(),
                 Qt::RightToLeft);
}

void TestFrmMsg::opensWithTheDesignCaptionAndForgetsTheLastAnswer()
{
    SheetState state;
    state.dialogResult = kOK;
    FrmMsg window(state);

    QCOMPARE(state.dialogResult, kCancel);
    QCOMPARE(window.windowTitle(), QStringLiteral("حذف ملف"));
    QCOMPARE(lblMsg(&window)->text(), QStringLiteral("Msg"));
    QVERIFY(cmdOK(&window)->isDefault());
    QVERIFY(!cmdCancel(&window)->isDefault());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(qobject_cast<QGroupBox*>(window.findChild<QWidget*>(QStringLiteral("Frame1")))
                ->title()
                .isEmpty());
}

// Shown over a window in the screen's corner, the question still stands in the middle of
// the screen rather than over that window, as Qt would place it.
void TestFrmMsg::isCentredOnTheScreen()
{
    QWidget corner;
    corner.setGeometry(0, 0, 200, 150);
    corner.show();
    SheetState state;
    QPoint windowCentre;
    QPoint screenCentre;
    whenModalOpens(&corner, [&](QWidget* window) {
        windowCentre = window->frameGeometry().center();
        screenCentre = window->screen()->geometry().center();
        window->close();
    });
    sheet::askQuestion(state, kInsertDisk, false, kTitle, &corner);
    QVERIFY2((windowCentre - screenCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("window centre %1,%2, screen centre %3,%4")
                            .arg(windowCentre.x())
                            .arg(windowCentre.y())
                            .arg(screenCentre.x())
                            .arg(screenCentre.y())));
}

QTEST_MAIN(TestFrmMsg)
#include "tst_frmmsg.moc"
