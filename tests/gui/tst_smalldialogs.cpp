// The about box and the program's yes-or-no question.
#include "app/aboutbox.h"
#include "app/appstate.h"
#include "modaltools.h"
#include "ui/notice.h"
#include "ui/questiondialog.h"

#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using ui::QuestionDialog;
using Answer = QuestionDialog::Answer;
using Buttons = QuestionDialog::Buttons;

Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Buttons)

namespace {

// Runs the modal window, gives it a gesture when it opens (keys to the control with the
// focus, as the user's keys go), and closes it by its close box if that left it open.
// Returns whether the gesture left it open.
bool runWith(const std::function<void()>& exec, const QString& gesture)
{
    QObject scope;
    bool stayedOpen = false;
    whenModalOpens(&scope, [&](QWidget* window) {
        QWidget* focus = window->focusWidget() ? window->focusWidget() : window;
        if (gesture == u"Enter" || gesture == u"Escape")
            QTest::keyClick(focus, gesture == u"Enter" ? Qt::Key_Return : Qt::Key_Escape);
        else if (gesture != u"close box")
            QTest::mouseClick(window->findChild<QPushButton*>(gesture), Qt::LeftButton);
        else
            window->close();
        stayedOpen = window->isVisible();
        window->close();
    });
    exec();
    return stayedOpen;
}

} // namespace

class TestSmallDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void aboutBoxClosing_data();
    void aboutBoxClosing();
    void telephoneOnlyWhenRecorded_data();
    void telephoneOnlyWhenRecorded();
    void questionAnswers_data();
    void questionAnswers();

private:
    QTemporaryDir m_settingsFolder;
};

// The program's settings live in a folder of the test's own.
void TestSmallDialogs::initTestCase()
{
    QVERIFY(m_settingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsFolder.path());
    QCoreApplication::setOrganizationName(ui::kProgramTitle);
    QCoreApplication::setApplicationName(ui::kProgramTitle);
}

// Its OK button, Enter or Escape record that the start-up notice was seen; the close box
// does not, so that it shows again at the next start.
void TestSmallDialogs::aboutBoxClosing_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("seen");
    QTest::newRow("OK") << u"okButton"_s << true;
    QTest::newRow("Enter") << u"Enter"_s << true;
    QTest::newRow("Escape") << u"Escape"_s << true;
    QTest::newRow("close box") << u"close box"_s << false;
}

void TestSmallDialogs::aboutBoxClosing()
{
    QFETCH(QString, gesture);
    app::AppState state;
    app::AboutBox about(state);
    QVERIFY(!runWith([&] { about.exec(); }, gesture));
    QTEST(state.aboutShown, "seen");
}

// No number nobody here owns: the telephone line shows only what the administration
// recorded in the settings.
void TestSmallDialogs::telephoneOnlyWhenRecorded_data()
{
    QTest::addColumn<QString>("recorded");
    QTest::addColumn<QString>("label");
    QTest::newRow("none") << QString() << QString();
    QTest::newRow("blank") << u"   "_s << QString();
    QTest::newRow("recorded") << u"00 00 00 00"_s << u"الهاتف : "_s;
}

void TestSmallDialogs::telephoneOnlyWhenRecorded()
{
    QFETCH(QString, recorded);
    QFETCH(QString, label);
    QSettings settings;
    settings.remove(ui::kSupportTelephoneKey);
    if (!recorded.isNull())
        settings.setValue(ui::kSupportTelephoneKey, recorded);
    settings.sync();
    app::AppState state;
    app::AboutBox about(state);
    QCOMPARE(about.findChild<QLabel*>(u"telephoneLabel"_s)->text(), label);
    QCOMPARE(about.findChild<QLabel*>(u"telephoneNumber"_s)->text(),
             label.isEmpty() ? QString() : recorded);
}

// Yes is the default button; Escape answers nothing; the close box answers No.
void TestSmallDialogs::questionAnswers_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("question, Enter") << Buttons::YesNo << u"Enter"_s << Answer::Yes;
    QTest::newRow("question, yes") << Buttons::YesNo << u"okButton"_s << Answer::Yes;
    QTest::newRow("question, no") << Buttons::YesNo << u"cancelButton"_s << Answer::No;
    QTest::newRow("question, close box") << Buttons::YesNo << u"close box"_s << Answer::No;
    QTest::newRow("question, Escape") << Buttons::YesNo << u"Escape"_s << Answer::No;
    QTest::newRow("notice, Enter") << Buttons::YesOnly << u"Enter"_s << Answer::Yes;
    QTest::newRow("notice, Escape") << Buttons::YesOnly << u"Escape"_s << Answer::No;
}

void TestSmallDialogs::questionAnswers()
{
    QFETCH(Buttons, buttons);
    QFETCH(QString, gesture);
    Answer answer = Answer::Yes;
    const bool stayedOpen = runWith(
        [&] { answer = QuestionDialog::ask(u"حفظ التغييرات"_s, buttons, ui::kProgramTitle); },
        gesture);
    QCOMPARE(stayedOpen, gesture == u"Escape");
    QTEST(answer, "answer");
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
