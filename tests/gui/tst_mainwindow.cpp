// The main window: the disk listed, files opened or refused, the disk asked for or chosen.
#include "../support/programondisk.h"
#include "../support/realdisk.h"
#include "core/disk/drivechoice.h"
#include "gui/ui/notice.h"

using namespace Qt::StringLiterals;

namespace {

const QString kKey = u"8410203C07120002004"_s, kFile = kKey + u".xml"_s;
const QString kOther = u"8410203C07130002004"_s;
const QString kCaption = u"8410203 إعدادية النور        [السابعة أساسي 2] عربية - الثلاثي الأول"_s;
const QString kPlainKey = u"8410203C0712MOY2004"_s, kInvalid = u"ملف أعداد غير صحيح"_s;
const QString kCallUs = u"Erreur non gérer contacter l'équipe Noravel tel : "_s;

QStringList threeExams(const QString& key = kKey, const QString& counters = u"||6|4"_s)
{
    return {u"DEBUT"_s + key + u'|' + kCaption, u"TYPEEPREUVE:|فرض 1|فرض 2|تأليفي"_s,
            u"1|1|1001|أحمد الكافي|12.50"_s, u"2|2|1002|مريم التونسي|07.00|15.25|غ.ش."_s,
            u"FIN"_s + key + u"|صفاقس|النور|سلمى"_s + counters};
}

// The list as the teacher reads it, the grades typed when shown, a bad file's line in bold red.
QStringList listed(const app::MainWindow* window)
{
    QStringList lines;
    for (int i = 0; i < window->fileList()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = window->fileList()->topLevelItem(i);
        const int name = app::MainWindow::FileNameColumn;
        const bool red =
            item->font(name).bold() && item->foreground(name).color() == QColor(Qt::red);
        const QString typed = item->text(app::MainWindow::TypedColumn);
        lines << item->text(name) + u" | "_s + item->text(app::MainWindow::ContentColumn) +
                     (typed.isEmpty() ? QString() : u" | "_s + typed) +
                     (red ? u" | red"_s : QString());
    }
    return lines;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    // The program's settings live in a folder of the test's own.
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QCoreApplication::setOrganizationName(ui::kProgramTitle);
        QCoreApplication::setApplicationName(ui::kProgramTitle);
    }
    // Enter lists every *.xml file in name order, hidden and read-only ones too; one that is no
    // grade file (renamed, no rowset, no start line naming it) is marked, the scan going on.
    void enterScansAndListsEveryFile()
    {
        ProgramOnDisk program;
        QVERIFY(program.writeFile(kFile, threeExams()) &&
                program.writeFile(kPlainKey + u".xml"_s, {u"DEBUT%1|المعدلات"_s.arg(kPlainKey)}));
        QVERIFY(program.writeFile(u"A.xml"_s, threeExams()));
        QVERIFY(program.writeFile(u"B.xml"_s, {u"DEBUTB"_s}));
        QVERIFY(writeBytes(program.filePath(u"C.xml"_s), "not xml at all"));
        QVERIFY(program.writeFile(u"E.XML"_s, {u"DEBUTE|كبير"_s}));
        QVERIFY(program.writeFile(u".H.xml"_s, {u"DEBUT.H|مخفي"_s}));
        QVERIFY(writeBytes(program.filePath(u"notes.txt"_s), "x"));
        for (const QString& name : QDir(program.diskPath()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY(QFile::setPermissions(program.filePath(name), QFile::ReadOwner));
        QVERIFY(activate(program.window()));
        pressKey(Qt::Key_Return);
        const QString bad = u" | "_s + kInvalid + u" | red"_s;
        QCOMPARE(listed(program.window()),
                 (QStringList{u".H.xml | مخفي"_s, kFile + u" | "_s + kCaption + u" | 4 / 6"_s,
                              kPlainKey + u".xml | المعدلات"_s, u"A.xml"_s + bad, u"B.xml"_s + bad,
                              u"C.xml"_s + bad, u"E.XML | كبير"_s}));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
#ifdef Q_OS_LINUX
        // The start and a scan load no spreadsheet library: they wait for the first workbook.
        QFile maps(u"/proc/self/maps"_s);
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray loaded = maps.readAll();
        QVERIFY(loaded.contains("libQt6Widgets"));
        for (const char* library : {"libxlsxwriter", "libminizip", "libcrypto"})
            QVERIFY2(!loaded.contains(library), library);
#endif
    }
    // A disk of many files keeps the window answering while the scan reads them.
    void longScanKeepsTheWindowAnswering()
    {
        ProgramOnDisk program;
        for (int i = 10; i < 40; ++i)
            QVERIFY(program.writeFile(u"%1.xml"_s.arg(i), threeExams()));
        QVERIFY(activate(program.window()));
        int filled = -1; // lines described when the window next answered
        QTimer::singleShot(0, program.window(), [&] {
            filled = int(program.window()
                             ->fileList()
                             ->findItems(u"?*"_s, Qt::MatchWildcard, app::MainWindow::ContentColumn)
                             .size());
        });
        pressKey(Qt::Key_Return);
        QVERIFY2(filled > 0 && filled < 30, qPrintable(QString::number(filled)));
    }
    // Opening again the file of the open sheet, saved on the way, shows what the disk holds; its
    // line in the list counts the grade typed.
    void reopeningShowsWhatTheSaveWrote()
    {
        ProgramOnDisk program;
        QVERIFY(program.openWritten(kFile, threeExams()));
        takeSteps(program.grid(), "type p1e2 8;Return");
        DialogAnswers answers({Answer::Yes});
        QPointer<sheet::GradeSheetWindow> again = program.open(kFile);
        QVERIFY(again && answers.shown.size() == 1 && again->grid()->text({5, 1}) == u"08.00"_s);
        QCOMPARE(listed(program.window()),
                 QStringList{kFile + u" | "_s + kCaption + u" | 5 / 6"_s});
    }
    // A file fills its sheet and card texts, a second keeps nothing of the first; F5 goes back.
    void openFillsTheSheetAndQuitComesBack()
    {
        ProgramOnDisk program;
        QVERIFY(program.writeFile(kOther + u".xml"_s,
                                  {u"DEBUT"_s + kOther + u"|قسم"_s, u"TYPEEPREUVE:|ف"_s,
                                   u"1|1|2001|سامي"_s, u"2|2|2002|هند|14.00"_s,
                                   u"FIN"_s + kOther + u"|ق|م|ن||2|2"_s}));
        QPointer<sheet::GradeSheetWindow> first = program.openWritten(kFile, threeExams());
        QVERIFY(first);
        const QStringList row2{"",     "",  "", "", "غ.ش.", "15.25", "07.00", "مريم التونسي",
                               "1002", "2", "2"};
        for (int col = 0; col <= 10; ++col) {
            QCOMPARE(first->grid()->text({col, 2}), row2[col]);
            QCOMPARE(first->grid()->isSheetColumnHidden(col),
                     QList<int>({0, 1, 2, 3, 10}).contains(col));
        }
        QCOMPARE(program.cardTexts().teacherLine, u"المدرّس / الأستاذ : سلمى"_s);
        QCOMPARE(program.cardTexts().printNumber, qint16(6));
        first->sheet().setData(first->sheet().indexOf({6, 1}), u"25"_s);
        first->sheet().setModified(false);

        QPointer<sheet::GradeSheetWindow> second = program.open(kOther + u".xml"_s);
        QVERIFY(second);
        QTRY_VERIFY(!first);
        QVERIFY(second->grid()->text({6, 1}).isEmpty() && second->grid()->text({5, 0}).isEmpty());
        QCOMPARE(second->grid()->text({6, 2}), u"14.00"_s);
        QVERIFY(backColour(*second->grid(), {6, 1}) != QColor(Qt::red));
        QCOMPARE(program.cardTexts().printNumber, qint16(2));

        program.window()->hide();
        pressKey(Qt::Key_F5);
        QTRY_VERIFY(!second);
        QVERIFY(program.window()->isVisible());
    }
    // A file refused says why; the open sheet stays, with the card texts it printed with.
    void refusedFileLeavesTheOpenSheet_data()
    {
        // lines: none for bytes that are no rowset; message: how it starts.
        const auto row = dataTable<QString, QStringList, QString>({"fileName", "lines", "message"});
        const QString other = kOther + u".xml"_s, cannot = u"لا يمكنك معاينة محتوى هذا الملف"_s;
        row("renamed", u"8410203C07990002004.xml"_s, threeExams(), cannot);
        const QString year = u"8410203C0712000ABCD"_s;
        row("year not a number", year + u".xml"_s, threeExams(year), u"13 "_s);
        row("counter out of range", other, threeExams(kOther, u"||40000|1"_s), u"6 "_s);
        row("only a start line", other, threeExams(kOther).mid(0, 1), u"3021 "_s);
        row("plain line with four separators", kPlainKey + u".xml"_s,
            {u"DEBUT"_s + kPlainKey + u"|م"_s, u"TYPEEPREUVE:|م"_s, u"1|2|3|4|5"_s}, u"5 "_s);
        row("not a rowset", other, QStringList(), cannot);
    }
    void refusedFileLeavesTheOpenSheet()
    {
        const auto [fileName, lines, message] =
            fetchRow<QString, QStringList, QString>({"fileName", "lines", "message"});
        ProgramOnDisk program;
        QPointer<sheet::GradeSheetWindow> sheet = program.openWritten(kFile, threeExams());
        QVERIFY(sheet);
        QVERIFY(lines.isEmpty() ? writeBytes(program.filePath(fileName), "not a grade file")
                                : program.writeFile(fileName, lines));

        DialogAnswers answers({});
        QVERIFY(!program.open(fileName) && answers.shown.size() == 1);
        const QString shown = answers.shown.first().text;
        QVERIFY2(shown.startsWith(message), qPrintable(shown));
        QVERIFY2(message.startsWith(u'ل') || shown.contains(kCallUs), qPrintable(shown));
        QVERIFY(sheet && sheet->isVisible() && sheet->grid()->text({6, 1}) == u"12.50"_s);
        QVERIFY(program.cardTexts().regionName == u"صفاقس"_s &&
                program.cardTexts().printNumber == 6);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
    void missingDiskIsAskedFor_data()
    {
        QTest::addColumn<bool>("folderStays");
        QTest::newRow("no folder") << false;
        QTest::newRow("a stick pulled out, its folder left empty") << true;
    }
    // No disk: asked for; closed, the list is empty; the disk put in, Yes goes on scanning.
    void missingDiskIsAskedFor()
    {
        QFETCH(bool, folderStays);
        ProgramOnDisk program;
        std::optional<TmpfsMount> stick;
        const auto putIn = [&] {
            folderStays ? (void)stick.emplace(program.diskPath(), "size=1m")
                        : (void)QDir().mkpath(program.diskPath());
            return program.writeFile(u"K.xml"_s, {u"DEBUTK|قسم"_s});
        };
        if (folderStays) {
            if (!putIn() || !stick->isMounted())
                QSKIP(qPrintable("cannot mount a tmpfs: " + stick->error()));
            program.window()->scanDisk();
            QCOMPARE(listed(program.window()), QStringList{u"K.xml | قسم"_s});
            stick->pullOut();
        }
        QVERIFY(folderStays || QDir(program.diskPath()).removeRecursively());
        DialogAnswers answers({Answer::CloseBox, Answer::Yes}, [&](int index) {
            if (index == 1)
                putIn();
        });
        program.window()->scanDisk();
        QCOMPARE(listed(program.window()), QStringList());
        program.window()->scanDisk();
        QCOMPARE(listed(program.window()), QStringList{u"K.xml | قسم"_s});
        QCOMPARE(answers.shown.size(), 2);
        QCOMPARE(answers.shown.last().text, u"الرجاء إدراج القرص المرن"_s);
    }
    // Another disk chosen is listed and remembered; the open sheet is saved first, to its disk.
    void otherDiskChosenAfterTheSheetIsSaved()
    {
        QSettings().clear();
        ProgramOnDisk program;
        app::MainWindow* window = program.window();
        const QString diskB = QDir::cleanPath(program.diskPath() + u"/../B"_s);
        QVERIFY(QDir().mkdir(diskB) &&
                gradefile::writeGradeFile(diskB + u"/%1.xml"_s.arg(kOther), threeExams(kOther)).ok);
        sheet::GradeSheetWindow* sheet = program.openWritten(kFile, threeExams());
        QVERIFY(sheet);
        takeSteps(sheet->grid(), "type p1e2 13;Return");
        QVERIFY(sheet->isModified());
        QString offered;
        window->setFolderChooser([&](const QString& current) {
            offered = current;
            return diskB;
        });
        DialogAnswers answers({Answer::Yes});
        window->findChild<QAction*>(u"chooseDiskAction"_s)->trigger();
        QVERIFY(offered == program.diskPath() && answers.shown.size() == 1);
        QCOMPARE(answers.shown.first().text, u"حفظ التغييرات"_s); // centred: no blank after it
        QTRY_VERIFY(!window->gradeSheet());
        const auto saved = gradefile::readGradeFile(program.filePath(kFile)).lines;
        QVERIFY(saved && saved->join(u'\n').contains(u"|أحمد الكافي|12.50|13.00"_s));
        QCOMPARE(QDir(diskB).entryList(QDir::Files), QStringList{kOther + u".xml"_s});
        QCOMPARE(listed(window), QStringList{kOther + u".xml | "_s + kCaption + u" | 4 / 6"_s});
        QCOMPARE(app::chooseStartFolder(std::nullopt, app::systemDriveEnvironment()).folder, diskB);
        // Its stick pulled out, the next choice starts in the documents, not the program's folder.
        const auto documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir(diskB).removeRecursively() && QDir().mkpath(documents));
        window->setFolderChooser([&](const QString& start) { return offered = start, QString(); });
        window->findChild<QAction*>(u"chooseDiskAction"_s)->trigger();
        QCOMPARE(offered, documents);
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
