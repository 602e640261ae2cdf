// The about box's telephone line and the program's yes-or-no question.
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

class TestSmallDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsFolder;

private slots:
    // The program's settings live in a folder of the test's own.
    void initTestCase()
    {
        QVERIFY(m_settingsFolder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsFolder.path());
        QCoreApplication::setOrganizationName(ui::kProgramTitle);
        QCoreApplication::setApplicationName(ui::kProgramTitle);
    }

    // Yes is the default button; Escape answers nothing and leaves the question open; the
    // close box answers No. (How the about box closes is walked by the main window's test.)
    void questionClosing_data()
    {
        QTest::addColumn<bool>("withNo"); // else a notice, with Yes alone
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("yes");
        QTest::newRow("question, Enter") << true << u"Enter"_s << true;
        QTest::newRow("question, yes") << true << u"okButton"_s << true;
        QTest::newRow("question, no") << true << u"cancelButton"_s << false;
        QTest::newRow("question, close box") << true << u"close box"_s << false;
        QTest::newRow("question, Escape") << true << u"Escape"_s << false;
        QTest::newRow("notice, Enter") << false << u"Enter"_s << true;
        QTest::newRow("notice, Escape") << false << u"Escape"_s << false;
    }
    // The gesture goes to the question as it opens (keys to the control with the focus, as
    // the user's keys go); the close box closes it if the gesture left it open.
    void questionClosing()
    {
        QFETCH(bool, withNo);
        QFETCH(QString, gesture);
        QObject scope;
        bool stayedOpen = false;
        whenModalOpens(&scope, [&](QWidget* modal) {
            QWidget* focus = modal->focusWidget() ? modal->focusWidget() : modal;
            if (gesture == u"Enter" || gesture == u"Escape")
                QTest::keyClick(focus, gesture == u"Enter" ? Qt::Key_Return : Qt::Key_Escape);
            else if (gesture == u"close box")
                modal->close();
            else
                QTest::mouseClick(modal->findChild<QPushButton*>(gesture), Qt::LeftButton);
            stayedOpen = modal->isVisible();
            modal->close();
        });
        const auto buttons =
            withNo ? QuestionDialog::Buttons::YesNo : QuestionDialog::Buttons::YesOnly;
        const auto answer = QuestionDialog::ask(u"حفظ التغييرات"_s, buttons, ui::kProgramTitle);
        QCOMPARE(stayedOpen, gesture == u"Escape");
        QTEST(answer == QuestionDialog::Answer::Yes, "yes");
    }

    // No number nobody here owns: the telephone line shows only what the administration
    // recorded in the settings.
    void telephoneOnlyWhenRecorded_data()
    {
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<QString>("label");
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("blank") << u"   "_s << QString();
        QTest::newRow("recorded") << u"00 00 00 00"_s << u"الهاتف : "_s;
    }
    void telephoneOnlyWhenRecorded()
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
};

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
