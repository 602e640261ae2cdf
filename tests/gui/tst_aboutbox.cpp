#include "app/aboutbox.h"
#include "app/appstate.h"
#include "app/systeminfo.h"
#include "modaltools.h"
#include "ui/artwork.h"
#include "ui/notice.h"
#include "ui/uilook.h"

#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using app::AboutBox;
using app::AppState;

namespace {

const QString kSysInfoUnavailable =
    QStringLiteral("Les informations système ne sont pas disponibles actuellement");

enum class Closing { ClickOK, EnterKey, EscapeKey, CloseBox };

// Keys go where the user's keys go: to the control that has the focus.
QWidget* keyTarget(QWidget* window)
{
    QWidget* focus = window->focusWidget();
    return focus ? focus : window;
}

void closeBy(QWidget* window, Closing closing)
{
    switch (closing) {
    case Closing::ClickOK:
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        break;
    case Closing::EnterKey:
        QTest::keyClick(keyTarget(window), Qt::Key_Return);
        break;
    case Closing::EscapeKey:
        QTest::keyClick(keyTarget(window), Qt::Key_Escape);
        break;
    case Closing::CloseBox:
        window->close();
        break;
    }
}

// A registry of values and a disk of files, for finding the information tool.
struct FakeSystem {
    QMap<QString, QString> values; // "key|value name" -> text
    QSet<QString> files;

    app::RegistryReader reader() const
    {
        return [this](const QString& key, const QString& name, QString& text) {
            text = values.value(key + QLatin1Char('|') + name);
            return values.contains(key + QLatin1Char('|') + name);
        };
    }
    app::FileProbe probe() const
    {
        return [this](const QString& path) { return files.contains(path); };
    }
};

const QString kMsInfoPath = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString kSharedTools = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");

} // namespace

Q_DECLARE_METATYPE(Closing)

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void closing_data();
    void closing();
    void telephoneOnlyWhenRecorded_data();
    void telephoneOnlyWhenRecorded();
    void sysInfoButtonIsVisibleButGreyed();
    void isCentredOnTheScreen();
    void sysInfoTellsItIsUnavailable();
    void registryIsEmptyWithoutWindows();
    void findsTheSysInfoProgram_data();
    void findsTheSysInfoProgram();

private:
    QTemporaryDir m_settingsFolder;
};

// The program's settings live in a folder of the test's own.
void TestAboutBox::initTestCase()
{
    QVERIFY(m_settingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsFolder.path());
    QCoreApplication::setOrganizationName(ui::kProgramTitle);
    QCoreApplication::setApplicationName(ui::kProgramTitle);
}

void TestAboutBox::telephoneOnlyWhenRecorded_data()
{
    QTest::addColumn<QString>("recorded");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("number");

    QTest::newRow("none") << QString() << QString() << QString();
    QTest::newRow("blank") << QStringLiteral("   ") << QString() << QString();
    QTest::newRow("recorded") << QStringLiteral("00 00 00 00") << QStringLiteral("الهاتف : ")
                              << QStringLiteral("00 00 00 00");
}

// No number nobody here owns: the telephone line shows only what the administration
// recorded in the settings.
void TestAboutBox::telephoneOnlyWhenRecorded()
{
    QFETCH(QString, recorded);
    QFETCH(QString, label);
    QFETCH(QString, number);

    QSettings settings;
    if (recorded.isNull())
        settings.remove(ui::kSupportTelephoneKey);
    else
        settings.setValue(ui::kSupportTelephoneKey, recorded);
    settings.sync();
    AppState state;
    AboutBox about(state);
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("telephoneLabel"))->text(), label);
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("telephoneNumber"))->text(), number);
    settings.remove(ui::kSupportTelephoneKey);
}

void TestAboutBox::closing_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<bool>("seen");

    QTest::newRow("OK clicked") << Closing::ClickOK << true;
    QTest::newRow("Enter") << Closing::EnterKey << true;
    QTest::newRow("Escape") << Closing::EscapeKey << true;
    QTest::newRow("close box") << Closing::CloseBox << false;
}

void TestAboutBox::closing()
{
    QFETCH(Closing, closing);
    QFETCH(bool, seen);

    AppState state;
    AboutBox about(state);
    whenModalOpens(&about, [closing](QWidget* window) { closeBy(window, closing); });
    about.exec();
    QCOMPARE(state.aboutShown, seen);
    QVERIFY(!about.isVisible());
}

// A click on the greyed button must open nothing; were it enabled, the notice it would
// open is closed by the timer and recorded.
void TestAboutBox::sysInfoButtonIsVisibleButGreyed()
{
    AppState state;
    AboutBox about(state);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* sysInfo = about.findChild<QPushButton*>(QStringLiteral("systemInfoButton"));
    QVERIFY(sysInfo->isVisible());
    QVERIFY(!sysInfo->isEnabled());

    bool noticeOpened = false;
    whenModalOpens(&about, [&](QWidget* window) {
        noticeOpened = true;
        window->close();
    });
    QTest::mouseClick(sysInfo, Qt::LeftButton);
    QVERIFY(!noticeOpened);
    QVERIFY(about.isVisible());
    QVERIFY(!state.aboutShown);
}

// Shown over a window in the screen's corner, the box still stands in the middle of the
// screen.
void TestAboutBox::isCentredOnTheScreen()
{
    QWidget corner;
    corner.setGeometry(0, 0, 200, 150);
    corner.show();
    AppState state;
    AboutBox about(state, &corner);
    QPoint windowCentre;
    QPoint screenCentre;
    whenModalOpens(&about, [&](QWidget* window) {
        windowCentre = window->frameGeometry().center();
        screenCentre = window->screen()->geometry().center();
        window->close();
    });
    about.exec();
    QVERIFY((windowCentre - screenCentre).manhattanLength() <= 2);
}

void TestAboutBox::sysInfoTellsItIsUnavailable()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has the system information tool");
#endif
    QObject scope; // the answer armed here ends with the test
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;
    whenModalOpens(&scope, [&](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (!box) {
            window->close();
            return;
        }
        text = box->text();
        title = box->windowTitle();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    app::startSystemInformation();
    QCOMPARE(text, kSysInfoUnavailable);
    QCOMPARE(title, ui::kProgramTitle);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestAboutBox::registryIsEmptyWithoutWindows()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has a registry");
#endif
    QString value = QStringLiteral("from an earlier read");
    QVERIFY(!app::readRegistryString(app::RegistryRoot::LocalMachine,
                                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                     QStringLiteral("PATH"), value));
    QVERIFY(value.isEmpty());
}

void TestAboutBox::findsTheSysInfoProgram_data()
{
    QTest::addColumn<QStringList>("values"); // key|name, text, key|name, text ...
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("program");

    const QString recorded = QStringLiteral("C:\\Tools\\MSINFO32.EXE");
    const QString folder = QStringLiteral("C:\\Shared\\MSInfo");
    const QString inFolder = folder + QStringLiteral("\\MSINFO32.EXE");

    QTest::newRow("path recorded")
        << QStringList{kMsInfoPath, recorded} << QStringList{} << recorded;
    QTest::newRow("recorded path first") << QStringList{kMsInfoPath, recorded, kSharedTools, folder}
                                         << QStringList{inFolder} << recorded;
    QTest::newRow("shared tools folder holds it")
        << QStringList{kSharedTools, folder} << QStringList{inFolder} << inFolder;
    QTest::newRow("shared tools folder without it")
        << QStringList{kSharedTools, folder} << QStringList{} << QString();
    QTest::newRow("nothing recorded") << QStringList{} << QStringList{inFolder} << QString();
}

void TestAboutBox::findsTheSysInfoProgram()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, files);
    QFETCH(QString, program);

    FakeSystem system;
    for (int i = 0; i + 1 < values.size(); i += 2)
        system.values.insert(values.at(i), values.at(i + 1));
    system.files = QSet<QString>(files.begin(), files.end());
    QCOMPARE(app::findSystemInformationProgram(system.reader(), system.probe()), program);
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
