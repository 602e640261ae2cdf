#include "app/appstate.h"
#include "app/artwork.h"
#include "app/frmabout.h"
#include "app/notice.h"
#include "app/sysinfo.h"
#include "app/uilook.h"
#include "modaltools.h"

#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

using app::AppState;
using app::frmAbout;

namespace {

const QColor kYellow(255, 255, 0);
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
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
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

// Yellow, or yellow blended into the blue-green picture at the edges of the letters.
bool isYellowInk(QRgb pixel)
{
    return qRed(pixel) > qBlue(pixel) + 60 && qGreen(pixel) > qBlue(pixel) + 60;
}

// The rightmost and leftmost columns of yellow ink inside rect; -1 when there is none.
QPair<int, int> yellowInkColumns(const QImage& image, QRect rect)
{
    int left = -1;
    int right = -1;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            if (!isYellowInk(image.pixel(x, y)))
                continue;
            if (left < 0)
                left = x;
            right = x;
            break;
        }
    }
    return {left, right};
}

QImage rendered(QWidget* window)
{
    return window->grab().toImage();
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

class TestFrmAbout : public QObject {
    Q_OBJECT

private slots:
    void closing_data();
    void closing();
    void sysInfoButtonIsVisibleButGreyed();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void texts_data();
    void texts();
    void telephoneReadsLeftToRight();
    void labelsAreYellowOverThePicture_data();
    void labelsAreYellowOverThePicture();
    void separatorIsEtched();
    void showsTheProgramIcon();
    void isCentredOnTheScreen();
    void sysInfoTellsItIsUnavailable();
    void registryIsEmptyWithoutWindows();
    void findsTheSysInfoProgram_data();
    void findsTheSysInfoProgram();
};

void TestFrmAbout::closing_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<bool>("seen");

    QTest::newRow("OK clicked") << Closing::ClickOK << true;
    QTest::newRow("Enter") << Closing::EnterKey << true;
    QTest::newRow("Escape") << Closing::EscapeKey << true;
    QTest::newRow("close box") << Closing::CloseBox << false;
}

void TestFrmAbout::closing()
{
    QFETCH(Closing, closing);
    QFETCH(bool, seen);

    AppState state;
    frmAbout about(state);
    whenModalOpens(&about, [closing](QWidget* window) { closeBy(window, closing); });
    about.exec();
    QCOMPARE(state.aboutShown, seen);
    QVERIFY(!about.isVisible());
}

// A click on the greyed button must open nothing; were it enabled, the notice it would
// open is closed by the timer and recorded.
void TestFrmAbout::sysInfoButtonIsVisibleButGreyed()
{
    AppState state;
    frmAbout about(state);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* sysInfo = about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
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

void TestFrmAbout::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");

    const auto row = [](const char* name, int left, int top, int width, int height) {
        QTest::newRow(name) << QString::fromLatin1(name) << ui::twipsRect(left, top, width, height);
    };
    row("Image1", 0, 0, 5805, 3570);
    row("picIcon", 5040, 120, 510, 510);
    row("lblTitle", 1050, 240, 3885, 480);
    row("lblVersion", 1050, 780, 3885, 225);
    row("lblDescription", 1050, 1125, 3885, 1170);
    row("lblDisclaimer", 255, 2625, 3870, 525);
    row("cmdOK", 4245, 2595, 1350, 375);
    row("cmdSysInfo", 4260, 3030, 1395, 345);
    row("LblTel1", 3540, 3150, 585, 225);
    row("LblTel2", 270, 3150, 3255, 225);
}

// Labels may reach lower than designed when the font stands taller than Tahoma; everything
// else stands exactly where designed, measured from the left edge.
void TestFrmAbout::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);

    AppState state;
    frmAbout about(state);
    QCOMPARE(about.size(), QSize(ui::fromTwips(5805), ui::fromTwips(3555)));
    QCOMPARE(about.minimumSize(), about.maximumSize());

    auto* control = about.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &about);
    const bool isTextLabel = qobject_cast<QLabel*>(control) && name != QLatin1String("Image1") &&
                             name != QLatin1String("picIcon");
    if (!isTextLabel) {
        QCOMPARE(control->geometry(), geometry);
        return;
    }
    QCOMPARE(control->pos(), geometry.topLeft());
    QCOMPARE(control->width(), geometry.width());
    QVERIFY(control->height() >= geometry.height());
    QVERIFY2(control->height() >= control->fontMetrics().height(), "the letters are cut");
    QVERIFY(control->geometry().bottom() < about.height());
}

void TestFrmAbout::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("lblTitle") << QStringLiteral("lblTitle")
                              << QStringLiteral("الوحدة الخارجيّة لحجز الأعداد ");
    QTest::newRow("lblVersion") << QStringLiteral("lblVersion") << QStringLiteral("إصدار 2.2");
    QTest::newRow("lblDescription")
        << QStringLiteral("lblDescription")
        << QStringLiteral(" تمكّن هاته الوحدة  مستعمليها من رقن الأعداد  بأيّ جهاز حاسوب "
                          "بعد أن يقع تثبيت الوحدة به وبذلك تكون الوحدة شبه مستقلّة عن  "
                          "المنظومة  الأمّ  : نورافيل");
    QTest::newRow("LblTel1") << QStringLiteral("LblTel1") << QStringLiteral("الهاتف : ");
    QTest::newRow("LblTel2") << QStringLiteral("LblTel2") << ui::kSupportTelephone;
    QTest::newRow("cmdOK") << QStringLiteral("cmdOK") << QStringLiteral("موافق");
    QTest::newRow("cmdSysInfo") << QStringLiteral("cmdSysInfo") << QStringLiteral("خصائص التثبيت");
}

void TestFrmAbout::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    AppState state;
    frmAbout about(state);
    QCOMPARE(about.windowTitle(),
             QStringLiteral("حول الوحدة الخارجيّة لرقن الأعداد لمنظومة نورافيل"));
    QWidget* control = about.findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(control))
        QCOMPARE(label->text(), text);
    else
        QCOMPARE(qobject_cast<QPushButton*>(control)->text(), text);
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("lblDisclaimer"))->text().isEmpty());
    QVERIFY(about.findChild<QLabel*>(QStringLiteral("lblDescription"))->wordWrap());
}

void TestFrmAbout::telephoneReadsLeftToRight()
{
    AppState state;
    frmAbout about(state);
    QCOMPARE(about.layoutDirection(), Qt::RightToLeft);
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("LblTel2"))->layoutDirection(),
             Qt::LeftToRight);
    for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "LblTel1", "cmdOK"})
        QCOMPARE(about.findChild<QWidget*>(QLatin1String(name))->layoutDirection(),
                 Qt::RightToLeft);
}

void TestFrmAbout::labelsAreYellowOverThePicture_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "LblTel1", "LblTel2"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Read from the rendered window: the text is yellow, stands against the label's right
// edge, and where there is no text the picture shows through the label.
void TestFrmAbout::labelsAreYellowOverThePicture()
{
    QFETCH(QString, name);

    AppState state;
    frmAbout about(state);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QImage window = rendered(&about);
    const QImage picture = about.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().toImage();
    const QLabel* label = about.findChild<QLabel*>(name);

    QCOMPARE(label->palette().color(QPalette::WindowText), kYellow);
    const QRect area = label->geometry();
    const auto [inkLeft, inkRight] = yellowInkColumns(window, area);
    QVERIFY2(inkRight >= 0, "no yellow text");
    QVERIFY2(
        inkRight >= area.right() - 6,
        qPrintable(QStringLiteral("text ends at %1, label at %2").arg(inkRight).arg(area.right())));
    const QPoint bare(area.left() + 1, area.top() + 1);
    QVERIFY(inkLeft > bare.x());
    QCOMPARE(window.pixel(bare), picture.pixel(bare));
}

// Grey over white, a pixel apart, the width of the window.
void TestFrmAbout::separatorIsEtched()
{
    AppState state;
    frmAbout about(state);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QImage window = rendered(&about);

    for (int x : {ui::fromTwips(120), ui::fromTwips(3000), ui::fromTwips(5600)}) {
        QCOMPARE(QColor(window.pixel(x, ui::fromTwips(2445))), QColor(128, 128, 128));
        QCOMPARE(QColor(window.pixel(x, ui::fromTwips(2460))), QColor(Qt::white));
        QCOMPARE(QColor(window.pixel(x, ui::fromTwips(2460) + 1)), QColor(Qt::white));
    }
    const QColor belowGroove(window.pixel(ui::fromTwips(3000), ui::fromTwips(2460) + 2));
    QVERIFY(belowGroove != QColor(Qt::white));
}

void TestFrmAbout::showsTheProgramIcon()
{
    AppState state;
    frmAbout about(state);
    const QPixmap icon = about.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap();
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(app::programIcon().availableSizes().contains(QSize(32, 32)));
    QCOMPARE(icon.toImage(), app::programIcon().pixmap(32, 32).toImage());
}

// Shown over a window in the screen's corner, the box still stands in the middle of the
// screen.
void TestFrmAbout::isCentredOnTheScreen()
{
    QWidget corner;
    corner.setGeometry(0, 0, 200, 150);
    corner.show();
    AppState state;
    frmAbout about(state, &corner);
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

void TestFrmAbout::sysInfoTellsItIsUnavailable()
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
    app::StartSysInfo();
    QCOMPARE(text, kSysInfoUnavailable);
    QCOMPARE(title, ui::kProgramTitle);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestFrmAbout::registryIsEmptyWithoutWindows()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has a registry");
#endif
    QString value = QStringLiteral("from an earlier read");
    QVERIFY(!app::GetKeyValue(app::RegistryRoot::LocalMachine,
                              QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                              QStringLiteral("PATH"), value));
    QVERIFY(value.isEmpty());
}

void TestFrmAbout::findsTheSysInfoProgram_data()
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

void TestFrmAbout::findsTheSysInfoProgram()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, files);
    QFETCH(QString, program);

    FakeSystem system;
    for (int i = 0; i + 1 < values.size(); i += 2)
        system.values.insert(values.at(i), values.at(i + 1));
    system.files = QSet<QString>(files.begin(), files.end());
    QCOMPARE(app::findSysInfoProgram(system.reader(), system.probe()), program);
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
