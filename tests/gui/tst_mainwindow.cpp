#include "app/appstate.h"
#include "app/listlineformatter.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "modaltools.h"
#include "print/cardtexts.h"
#include "sheet/sheetstate.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using app::MainWindow;

namespace {

const QString kInvalid = QStringLiteral("ملف أعداد غير صحيح");
const QColor kRed(255, 0, 0);

// A file of the disk, by name and content: lines of a grade file, or raw bytes.
struct DiskFile {
    QString name;
    QStringList lines;
    QByteArray raw;
};

void writeDiskFile(const QString& folder, const DiskFile& file)
{
    const QString path = QDir(folder).filePath(file.name);
    if (!file.lines.isEmpty()) {
        QVERIFY(gradefile::writeGradeFile(path, file.lines).ok);
        return;
    }
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file.raw);
}

struct ListLine {
    QString fileName;
    QString description;
    bool boldRed = false;
};

QList<ListLine> linesOf(QTreeWidget* list)
{
    QList<ListLine> lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        const bool boldRed = item->font(1).bold() && item->foreground(1).color() == kRed &&
                             item->font(2).bold() && item->foreground(2).color() == kRed;
        lines.append({item->text(2), item->text(1), boldRed});
        if (item->text(0) != item->text(2) ||
            item->data(0, Qt::UserRole).toString() != item->text(2).chopped(4))
            lines.last().description = QStringLiteral("<line text or key wrong>");
    }
    return lines;
}

bool operator==(const ListLine& a, const ListLine& b)
{
    return a.fileName == b.fileName && a.description == b.description && a.boldRed == b.boldRed;
}

char* toString(const ListLine& line)
{
    return QTest::toString(line.fileName + QStringLiteral(" | ") + line.description +
                           (line.boldRed ? QStringLiteral(" | bold red") : QString()));
}

} // namespace

Q_DECLARE_METATYPE(QList<DiskFile>)

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scanListsEveryFile_data();
    void scanListsEveryFile();
    void scanKeepsReadOnlyFileAsItWas();
    void enterRunsTheScanAndMenuToo();
    void missingDiskAsksAndRetries();
    void missingDiskClosedEndsTheScan();
    void modifyLineOutOfRange();
    void aboutBoxAtStartShownOnce_data();
    void aboutBoxAtStartShownOnce();
    void aboutBoxFromMenu();
    void quitEndsTheProgram();

private:
    std::unique_ptr<QTemporaryDir> m_disk;
    app::AppState m_appState;
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<MainWindow> m_window;
    int m_quitCalls = 0;

    void openWindow(bool aboutAlreadyShown = true);
};

void TestMainWindow::init()
{
    m_disk = std::make_unique<QTemporaryDir>();
    m_appState = app::AppState{};
    m_sheetState = sheet::SheetState{};
    m_quitCalls = 0;
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_disk.reset();
}

void TestMainWindow::openWindow(bool aboutAlreadyShown)
{
    m_appState.aboutShown = aboutAlreadyShown;
    m_window = std::make_unique<MainWindow>(m_appState, m_sheetState, m_cardTexts, m_disk->path());
    m_window->setQuitAction([this] { ++m_quitCalls; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::scanListsEveryFile_data()
{
    QTest::addColumn<QList<DiskFile>>("files");
    QTest::addColumn<QList<ListLine>>("expected");

    const QString subject = QStringLiteral("8410203C07120002025");
    const QString plain = QStringLiteral("8410203C0712MOY2025");
    const QStringList subjectLines{"DEBUT" + subject + "|[السابعة أساسي 2] العربية",
                                   "TYPEEPREUVE:|فرض", "1|1|1|أ|--.--",
                                   "FIN" + subject + "|||||0|0"};
    QTest::newRow("empty disk") << QList<DiskFile>{} << QList<ListLine>{};
    QTest::newRow("subject and plain files")
        << QList<DiskFile>{{subject + ".xml", subjectLines, {}},
                           {plain + ".xml", {"DEBUT" + plain + "|المعدلات", "TYPEEPREUVE:|م"}, {}}}
        << QList<ListLine>{{subject + ".xml", "[السابعة أساسي 2] العربية", false},
                           {plain + ".xml", "المعدلات", false}};
    QTest::newRow("renamed file, then a valid one")
        << QList<DiskFile>{{"A0002025.xml", subjectLines, {}}, {"B.xml", {"DEBUTB|ب"}, {}}}
        << QList<ListLine>{{"A0002025.xml", kInvalid, true}, {"B.xml", "ب", false}};
    QTest::newRow("start line without separator does not stop the scan")
        << QList<DiskFile>{{"A.xml", {"DEBUTA"}, {}}, {"B.xml", {"DEBUTB|ب"}, {}}}
        << QList<ListLine>{{"A.xml", kInvalid, true}, {"B.xml", "ب", false}};
    QTest::newRow("not XML, truncated, empty")
        << QList<DiskFile>{{"A.xml", {}, "not xml at all"},
                           {"B.xml",
                            {},
                            "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'"},
                           {"C.xml", {}, {}},
                           {"D.xml", {"DEBUTD|د"}, {}}}
        << QList<ListLine>{{"A.xml", kInvalid, true},
                           {"B.xml", kInvalid, true},
                           {"C.xml", kInvalid, true},
                           {"D.xml", "د", false}};
    QTest::newRow("hidden file and other extensions")
        << QList<DiskFile>{{".H.xml", {"DEBUT.H|مخفي"}, {}},
                           {"notes.txt", {}, "x"},
                           {"U.XML", {"DEBUTU|كبير"}, {}}}
        << QList<ListLine>{{".H.xml", "مخفي", false}, {"U.XML", "كبير", false}};
}

void TestMainWindow::scanListsEveryFile()
{
    QFETCH(QList<DiskFile>, files);
    QFETCH(QList<ListLine>, expected);
    for (const DiskFile& file : files)
        writeDiskFile(m_disk->path(), file);
    openWindow();
    m_window->scanDisk();
    QCOMPARE(linesOf(m_window->fileList()), expected);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    for (int i = 0; i < m_window->fileList()->topLevelItemCount(); ++i)
        QCOMPARE(m_window->fileList()->topLevelItem(i)->toolTip(1), QString());
}

void TestMainWindow::scanKeepsReadOnlyFileAsItWas()
{
    writeDiskFile(m_disk->path(), {"R.xml", {"DEBUTR|للقراءة فقط"}, {}});
    const QString path = m_disk->filePath(QStringLiteral("R.xml"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QFile before(path);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    openWindow();
    m_window->scanDisk();
    QCOMPARE(linesOf(m_window->fileList()), (QList<ListLine>{{"R.xml", "للقراءة فقط", false}}));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);
}

void TestMainWindow::enterRunsTheScanAndMenuToo()
{
    writeDiskFile(m_disk->path(), {"B.xml", {"DEBUTB|ب"}, {}});
    openWindow();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window->focusWidget(), Qt::Key_Return);
    QCOMPARE(m_window->fileList()->topLevelItemCount(), 1);

    writeDiskFile(m_disk->path(), {"C.xml", {"DEBUTC|ج"}, {}});
    auto* menuScan = m_window->findChild<QAction*>(QStringLiteral("scanAction"));
    QVERIFY(menuScan);
    menuScan->trigger();
    QCOMPARE(m_window->fileList()->topLevelItemCount(), 2);
}

void TestMainWindow::missingDiskAsksAndRetries()
{
    QObject context;
    const QString folder = m_disk->filePath(QStringLiteral("floppy"));
    m_appState.aboutShown = true;
    m_window = std::make_unique<MainWindow>(m_appState, m_sheetState, m_cardTexts, folder);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QString title;
    QString message;
    whenModalOpens(&context, [&](QWidget* question) {
        title = question->windowTitle();
        message = question->findChild<QLabel*>(QStringLiteral("message"))->text();
        // The teacher puts the disk in, then presses the Yes button.
        QDir().mkpath(folder);
        writeDiskFile(folder, {"K.xml", {"DEBUTK|قسم"}, {}});
        QTest::keyClick(question, Qt::Key_Return);
    });
    m_window->scanDisk();
    QCOMPARE(title, m_window->windowTitle());
    QCOMPARE(message, QStringLiteral("الرجاء إدراج القرص المرن"));
    QCOMPARE(linesOf(m_window->fileList()), (QList<ListLine>{{"K.xml", "قسم", false}}));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestMainWindow::missingDiskClosedEndsTheScan()
{
    QObject context;
    m_appState.aboutShown = true;
    m_window = std::make_unique<MainWindow>(m_appState, m_sheetState, m_cardTexts,
                                            m_disk->filePath(QStringLiteral("none")));
    m_window->show();
    int questions = 0;
    whenModalOpens(&context, [&](QWidget* question) {
        ++questions;
        question->close();
    });
    m_window->scanDisk();
    QCOMPARE(questions, 1);
    QCOMPARE(m_window->fileList()->topLevelItemCount(), 0);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestMainWindow::modifyLineOutOfRange()
{
    writeDiskFile(m_disk->path(), {"B.xml", {"DEBUTB|ب"}, {}});
    openWindow();
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    QCOMPARE(app::modifyListLine(list, 2, true, QStringLiteral("255"), QString()), -2);
    QVERIFY(!list->topLevelItem(0)->font(1).bold());
    QCOMPARE(
        app::modifyListLine(list, 1, true, QStringLiteral("16711680"), QStringLiteral("محفوظ")), 1);
    QCOMPARE(list->topLevelItem(0)->foreground(2).color(), QColor(0, 0, 255));
    QCOMPARE(list->topLevelItem(0)->toolTip(1), QStringLiteral("محفوظ"));
}

void TestMainWindow::aboutBoxAtStartShownOnce_data()
{
    QTest::addColumn<int>("closeKey"); // 0: the close box
    QTest::addColumn<bool>("shownAgain");
    QTest::newRow("OK by Enter") << int(Qt::Key_Return) << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("close box") << 0 << true;
}

void TestMainWindow::aboutBoxAtStartShownOnce()
{
    QFETCH(int, closeKey);
    QFETCH(bool, shownAgain);
    QObject context;
    int shown = 0;
    // The first notice is closed as the row says; a notice that comes back is answered
    // with OK.
    std::function<void(QWidget*)> answer = [&](QWidget* about) {
        ++shown;
        if (shown > 1)
            QTest::keyClick(about, Qt::Key_Return);
        else if (closeKey)
            QTest::keyClick(about, Qt::Key(closeKey));
        else
            about->close();
        whenModalOpens(&context, answer);
    };
    whenModalOpens(&context, answer);
    openWindow(false);
    QTRY_COMPARE(shown, 1);
    QCOMPARE(m_appState.aboutShown, !shownAgain);

    // The focus comes back to the scan button (the desktop gives it back when the notice
    // closes; here the test moves it): the notice shows again only if it was not
    // acknowledged, and never after that.
    auto focusScanButtonAgain = [this] {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_window->findChild<QPushButton*>(QStringLiteral("quitButton"))->setFocus();
        m_window->findChild<QPushButton*>(QStringLiteral("scanButton"))->setFocus();
    };
    focusScanButtonAgain();
    QTRY_VERIFY(m_appState.aboutShown);
    focusScanButtonAgain();
    QTest::qWait(100);
    QCOMPARE(shown, shownAgain ? 2 : 1);
}

void TestMainWindow::aboutBoxFromMenu()
{
    QObject context;
    openWindow();
    auto* about = m_window->findChild<QAction*>(QStringLiteral("aboutAction"));
    for (int time = 0; time < 2; ++time) {
        QString caption;
        whenModalOpens(&context, [&](QWidget* box) {
            caption = box->windowTitle();
            box->close();
        });
        about->trigger();
        QCOMPARE(caption, QStringLiteral("حول الوحدة الخارجيّة لرقن الأعداد لمنظومة نورافيل"));
    }
    QVERIFY(m_appState.aboutShown); // closed by its close box: unchanged
}

void TestMainWindow::quitEndsTheProgram()
{
    openWindow();
    m_window->findChild<QPushButton*>(QStringLiteral("quitButton"))->click();
    QCOMPARE(m_quitCalls, 1);
    m_window->findChild<QAction*>(QStringLiteral("quitAction"))->trigger();
    QCOMPARE(m_quitCalls, 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
