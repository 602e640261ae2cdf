// Saving a grade sheet, and the teacher's work back from the journal after a real kill (this
// program started again with --type-and-die), from the copies kept of replaced files, by undo.

#include "../support/programondisk.h"
#include "../support/realdisk.h"
#include "../support/writefaults.h"
#include "core/gradefile/rowsetwriter.h"
#include "core/recovery/datafolder.h"
#include "core/recovery/keptcopies.h"
#include "core/recovery/sessionjournal.h"
#include "gui/ui/notice.h"
#include "gui/windows/app/keptcopiesdialog.h"

#include <cstdio>

using gradefile::WriteStep;
using Kind = gradefile::FileErrorKind;
using sheet::GradeSheetWindow;

namespace {

const char *const kChildSwitch = "--type-and-die", *const kHoldSwitch = "--hold-open";
const QString kKey = "8410203C07120002004", kFileName = kKey + ".xml";
const QString kCaption = "8410203 إعدادية النور        [السابعة أساسي 2] عربية - الثلاثي الأول";
const QString kSaveQuestion = "حفظ التغييرات"; // its blanks left out, for it to stand centred
const QString kInsertDisk = "الرجاء إدراج القرص المرن";
const QString kWriteProtected = "الرّجاء التّثبّت من أن القرص المرن غير محمي";
const QString kBringBack = "أعداد لم تحفظ، الخانات: ";

// Three pupils and exams; trailing blanks the save drops, a name the file must escape.
QStringList threePupils(int save = 0, int print = 4)
{
    return {"DEBUT" + kKey + '|' + kCaption + "   ",
            "TYPEEPREUVE:|فرض 1|فرض 2|تأليفي",
            "1|1|1001|أحمد الكافي|12.50|--.--|",
            "2|2|1002|مريم التونسي|07.00||غ.ش.",
            "3|3|1003|سامي \"الصغير\" & أخوه|||معفى",
            QString("FIN%1|صفاقس|النور|سلمى|%2|%3").arg(kKey).arg(save).arg(print)};
}

// The sheet's texts as the teacher sees them, what is being typed included.
gradefile::SheetTable shownTable(const GradeSheetWindow& window)
{
    gradefile::SheetTable shown = window.sheetTable();
    const sheet::Cell active = window.grid()->activeCell();
    shown[size_t(active.row)][size_t(active.column)] = window.grid()->activeText();
    return shown;
}

// The sheet as the teacher sees it: each pupil's three grades, first exam first ("_" for an
// empty cell, "!" after a red one, "~" after a yellow one), then the observation column when
// it holds one, "b" when the name is bold; the cursor; "*" when there is something to save.
QString shownState(const GradeSheetWindow& window)
{
    const sheet::GradeGrid& grid = *window.grid();
    QStringList rows;
    for (int row = 1; row <= grid.maxRows(); ++row) {
        QStringList cells;
        for (int exam = 0; exam < 3; ++exam) {
            const sheet::Cell cell = sheet::GradeSheet::gradeCell(row, exam);
            const QColor background = backColour(grid, cell);
            cells << (grid.text(cell).isEmpty() ? "_" : grid.text(cell)) +
                         (background == Qt::red ? "!" : "") + (background == Qt::yellow ? "~" : "");
        }
        if (!grid.text(sheet::GradeSheet::observationCell(row)).isEmpty())
            cells << grid.text(sheet::GradeSheet::observationCell(row));
        if (grid.sheet().nameLook(row).bold)
            cells << "b";
        rows << cells.join(u' ');
    }
    // Unsaved: " *", and whatever made it so must have offered the save.
    const bool saveOffered = window.findChild<QPushButton*>("saveButton")->isEnabled();
    return rows.join(" | ") + " @" + nameOf(grid.activeCell()) +
           (window.isModified() ? (saveOffered ? " *" : " * (no save offered)") : "");
}

// The child: on the disk and data folder given, opens kFileName, takes the steps, waits.
int typeAndDie(int argc, char* argv[])
{
    QApplication application(argc, argv);
    app::AppState appState{true};
    sheet::SheetState sheetState;
    // Arabic in a path or a step survives only Qt's reading of the command line on Windows.
    const QStringList arguments = QCoreApplication::arguments();
    sheetState.dataFolder.path = arguments.at(4);
    app::MainWindow window(appState, sheetState, arguments.at(2));
    window.show();
    sheet::GradeSheetWindow* sheet = openFromList(window, kFileName);
    if (!sheet)
        return 3;
    DialogAnswers closed({});
    if (qstrcmp(argv[1], kChildSwitch) == 0)
        takeSteps(sheet->grid(), arguments.at(3));
    std::puts("open"); // the file stays open, the steps taken, until the test says or kills
    std::fflush(stdout);
    return std::getchar() == EOF ? 0 : 5;
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestSaveGradeSheet : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_p = std::make_unique<ProgramOnDisk>(true);
        m_quitCalls = 0;
        m_p->window()->setQuitAction([this] { ++m_quitCalls; });
    }
    void cleanup() { m_p.reset(); }
    // Written byte for byte as the known file, no journal left; saved again, the counter rises.
    void savedBytesMatchTheKnownSheet()
    {
        QVERIFY(openSheet());
        // Up leaves the cell, which rewrites it as 09.00.
        takeSteps(m_p->grid(), "type p3e1 9;Up;type p2e2 14.50");
        DialogAnswers answers({});
        pressKey(Qt::Key_F4);
        QByteArray known = readBytes(SAISIE_TEST_DATA_DIR "/saved/three-pupils.xml");
        QVERIFY(readBytes(file()) == known && answers.shown.isEmpty());
        QVERIFY(m_p->sheet()->isSaved() && !m_p->sheet()->isModified() && listLineIsBoldBlue());
        QVERIFY(journals().isEmpty());
        pressKey(Qt::Key_F4);
        QCOMPARE(readBytes(file()), known.replace("||5|4", "||6|4"));
    }
    // A grade's journal record is flushed to the device once the key that committed it is
    // handled, before the next: a power cut loses nothing the teacher saw typed.
    void journalFlushedWithEachKey()
    {
        QVERIFY(openSheet());
        QList<int> calls; // a write's descriptor, a flush's negated
        gradefile::os::watchDurableCalls([&calls](gradefile::os::DurableCall call, int fd) {
            calls << (call == gradefile::os::DurableCall::Write ? fd : -fd);
        });
        const auto unwatch = qScopeGuard([] { gradefile::os::watchDurableCalls({}); });
        for (const char* step : {"type p3e1 13;Up", "type p2e2 9;Down"}) {
            calls.clear();
            takeSteps(m_p->grid(), step);
            QCoreApplication::sendPostedEvents();
            QVERIFY2(calls.size() >= 2 && calls.front() > 0 && calls.back() == -calls.front(),
                     step);
        }
    }
    void currentCellChecked_data()
    {
        // entry: typed, or set by the program after "="; stored: none when refused
        const auto row = dataTable<QString, QString, QString>({"place", "entry", "stored"});
        row("25 typed, not yet left", "p2e1", "25", "");
        row("exactly 20", "p2e1", "20", "20.00");
        row("7 is written as a grade", "p2e1", "7", "07.00");
        row("a name is not a grade", "p2name", "=30 سامي", "30 سامي");
    }
    // The grade under the cursor is checked as leaving it would: above twenty, kept from the save.
    void currentCellChecked()
    {
        const auto [place, entry, stored] =
            fetchRow<QString, QString, QString>({"place", "entry", "stored"});
        QVERIFY(openSheet());
        const QByteArray oldBytes = readBytes(file());
        sheet::GradeGrid* grid = m_p->grid();
        typeInto(grid, "p1e1", "1"); // something to save in any case
        if (entry.startsWith('='))
            setCellText(grid->sheet(), cellNamed(place), entry.mid(1));
        typeInto(grid, place, entry.startsWith('=') ? "" : entry);
        const QString underCursor = grid->activeText();
        DialogAnswers answers({});
        QVERIFY(m_p->sheet()->save() == !stored.isEmpty() && answers.shown.size() == 0);
        QCOMPARE(nameOf(grid->activeCell()), place);
        // Refused, the save says why on the line under the grid.
        QVERIFY(m_p->sheet()->isModified() == stored.isEmpty() &&
                m_p->sheet()->statusText().startsWith("لم تحفظ الأعداد") == stored.isEmpty());
        QCOMPARE(grid->text(cellNamed(place)), stored.isEmpty() ? underCursor : stored);
        if (stored.isEmpty())
            QCOMPARE(readBytes(file()), oldBytes);
        else
            QCOMPARE(gradefile::readGradeFile(file()).lines->at(3).split(u'|').at(
                         10 - cellNamed(place).column),
                     stored);
    }
    void failedSave_data()
    {
        // How the message begins; putBack: the disk put back at the question, yes retries.
        const auto row = dataTable<QString, QString, bool>({"disk", "message", "putBack"});
        row("out of the drive, close box", "out", kInsertDisk, false);
        // The stick pulled out, its mount folder left behind as an empty folder of the computer.
        row("pulled, its folder stays", "pulled", kInsertDisk, false);
        row("pulled, its folder stays, put back", "pulled", kInsertDisk, true);
        row("out of the drive, put back", "out", kInsertDisk, true);
        row("gone before the replacement", "gone", kInsertDisk, false);
        row("taken out mid-save, put back", "taken out", kInsertDisk, true);
        row("write-protected", "read-only", kWriteProtected, false);
        row("a read-only file, even to root", "file read-only", kWriteProtected, false);
        row("full", "full", "لا يتّسع القرص لحفظ الأعداد", false);
        row("gives back other bytes", "altered", "51 ", false);
        row("a name longer than a line", "long name", "3001 La ligne 5 a", false);
        row("save counter at its limit", "counter", "6 Dépassement de capacité", false);
    }
    // A failed save says why and loses nothing; the disk put back, yes saves and keeps a copy.
    void failedSave()
    {
        QFETCH(QString, disk);
        QFETCH(QString, message);
        QFETCH(bool, putBack);
        const QString diskPath = m_p->diskPath(), out = diskPath + "-out";
        std::optional<TmpfsMount> tmpfs;
        const auto mountStick = [&] {
            tmpfs.emplace(diskPath, disk == "full" ? "size=64k" : "size=1m");
            return tmpfs->isMounted();
        };
        if ((disk == "read-only" || disk == "full" || disk == "pulled") && !mountStick())
            QSKIP(qPrintable("cannot mount a tmpfs: " + tmpfs->error()));
        QVERIFY(openSheet(threePupils(0, disk == "counter" ? 32767 : 4)));
        if (disk == "long name")
            setCellText(m_p->grid()->sheet(), {7, 3}, QString(290, u'ع'));
        typeInto(m_p->grid(), "p3e1", "13.00");
        const QByteArray oldBytes = readBytes(file());
        const gradefile::SheetTable grades = shownTable(*m_p->sheet());
        // The disk gone at the replacement (as reported, or for real), or reading back wrong.
        WriteFaults broken(disk == "gone" ? WriteStep::Replace : WriteStep::None, Kind::NoDisk);
        broken.actionStep = disk == "taken out" ? WriteStep::Replace : WriteStep::None;
        broken.action = [&] { QDir().rename(diskPath, out); };
        broken.spoilReadBack = disk == "altered";
        m_p->sheet()->setWriteFaults(&broken);
        QVERIFY(disk != "out" || QDir().rename(diskPath, out));
        QVERIFY(disk != "read-only" || tmpfs->makeReadOnly());
        QVERIFY(disk != "file read-only" || QFile::setPermissions(file(), QFile::ReadOwner));
        if (disk == "pulled")
            tmpfs->pullOut();
        QFile filler(QDir(diskPath).filePath("filler"));
        if (disk == "full" && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            while (filler.write(QByteArray(4096, 'x')) == 4096 || filler.write("x", 1) == 1) {
            }
            filler.close();
        }

        DialogAnswers answers({putBack ? Answer::Yes : Answer::CloseBox}, [&](int) {
            if (disk == "taken out")
                QCOMPARE(readBytes(QDir(out).filePath(kFileName)), oldBytes);
            m_p->sheet()->setWriteFaults(nullptr);
            if (disk == "pulled") { // nothing went onto the computer's own disk
                QCOMPARE(QDir(diskPath).entryList(QDir::Files | QDir::Hidden), QStringList());
                QVERIFY(!putBack || (mountStick() && writeBytes(file(), oldBytes)));
            }
            if (putBack)
                QDir().rename(out, diskPath);
        });
        pressKey(Qt::Key_F4);
        m_p->sheet()->setWriteFaults(nullptr);
        QCOMPARE(answers.shown.size(), 1);
        QVERIFY2(answers.shown[0].text.startsWith(message), qPrintable(answers.shown[0].text));
        QCOMPARE(answers.shown[0].title,
                 message == kInsertDisk ? "معاينة محتوى القرص المرن" : ui::kProgramTitle);
        if (putBack) {
            QVERIFY(m_p->sheet()->isSaved() && listLineIsBoldBlue());
            QVERIFY(readBytes(file()).contains("|13.00||معفى") &&
                    readBytes(file()).contains("||5|4"));
            const std::vector<recovery::KeptCopy> kept = recovery::KeptCopies(data()).list(kKey);
            QVERIFY(kept.size() == 1 && readBytes(kept.front().path) == oldBytes);
            return;
        }
        QVERIFY(disk != "out" || QDir().rename(out, diskPath));
        QVERIFY(disk != "pulled" || (mountStick() && writeBytes(file(), oldBytes)));
        verifyNothingLost(oldBytes, grades);
        QStringList left = QDir(diskPath).entryList(QDir::Files | QDir::Hidden | QDir::System);
        left.removeOne("filler");
        QCOMPARE(left, QStringList{kFileName}); // no temporary file left behind
    }
    void quitAsksAboutUnsavedGrades_data()
    {
        // The entry: a grade typed, a mark key, or nothing; failing: the save, when asked for.
        const auto row =
            dataTable<QString, QString, Answer, bool>({"way", "entry", "answer", "failing"});
        row("sheet's quit, no", "quit", "13.00", Answer::No, false);
        row("sheet's quit, question closed", "quit", "13.00", Answer::CloseBox, false);
        row("sheet's quit, yes", "quit", "13.00", Answer::Yes, false);
        row("sheet's quit, yes, the save fails", "quit", "13.00", Answer::Yes, true);
        row("F5, nothing typed", "F5", "", Answer::Yes, false);
        row("F5, a mark alone", "F5", "F1", Answer::Yes, false);
        row("close box, yes", "close", "13.00", Answer::Yes, false);
        row("close box, yes, the save fails", "close", "13.00", Answer::Yes, true);
        row("program's quit, yes", "program quit", "13.00", Answer::Yes, false);
        row("program's quit, no", "program quit", "13.00", Answer::No, false);
        row("program's close box, the save fails", "program close", "13.00", Answer::Yes, true);
    }
    // Every way out asks once; a failed save keeps the sheet open, else the journal goes.
    void quitAsksAboutUnsavedGrades()
    {
        const auto [way, entry, answer, failing] =
            fetchRow<QString, QString, Answer, bool>({"way", "entry", "answer", "failing"});
        QVERIFY(openSheet());
        takeSteps(m_p->grid(), entry == "F1" ? "type p2e1;F1" : "type p3e1 " + entry);
        const QByteArray oldBytes = readBytes(file());
        const gradefile::SheetTable grades = shownTable(*m_p->sheet());
        const WriteFaults protectedDisk(failing ? WriteStep::Replace : WriteStep::None,
                                        Kind::PermissionDenied);
        m_p->sheet()->setWriteFaults(&protectedDisk);
        QPointer<GradeSheetWindow> window = m_p->sheet();
        const QString caption = window->windowTitle();

        DialogAnswers answers({answer, Answer::Yes});
        bool closed = false;
        QWidget* leaving =
            way.startsWith("program") ? static_cast<QWidget*>(m_p->window()) : window.data();
        if (way == "F5")
            pressKey(Qt::Key_F5);
        else if (way.endsWith("quit"))
            leaving->findChild<QPushButton*>("quitButton")->click();
        else
            closed = leaving->close();
        QCOMPARE(answers.shown.size(), entry.isEmpty() ? 0 : failing ? 2 : 1);
        QVERIFY(entry.isEmpty() ||
                (answers.shown[0].text == kSaveQuestion && answers.shown[0].title == caption));
        if (failing) {
            QCOMPARE(answers.shown[1].text, kWriteProtected);
            QVERIFY(window && !closed && m_quitCalls == 0);
            window->setWriteFaults(nullptr);
            verifyNothingLost(oldBytes, grades);
            return;
        }
        QTRY_VERIFY(!window);
        QVERIFY(!way.startsWith("program") || closed || m_quitCalls == 1);
        QCOMPARE(readBytes(file()) != oldBytes, answer == Answer::Yes && !entry.isEmpty());
        QVERIFY(journals().isEmpty());
    }
    void gradesTypedBeforeAKillComeBack_data()
    {
        // meanwhile: after the kill ("no": the answer); comesBack: p3e1, none when nothing does
        const auto row = dataTable<QString, QString, QString>({"steps", "meanwhile", "comesBack"});
        const QString typed = "type p3e1 13;Up;type p1e2;F1;observe 1 عمل جيد";
        row("yes brings them back", typed, "", "13.00");
        // A wrong click costs nothing: the kept copies window puts the journal back.
        row("no sets them aside", typed, "no", "13.00");
        // Pulled out and put back, the disk came back at another folder.
        row("the disk at another folder", typed, "moved", "13.00");
        // Another machine saved the file since: the journal is set aside, not applied.
        row("file changed on the disk since", typed, "changed", "");
        row("damaged journal, left as it is", typed, "damaged", "");
        // An undo is a change like any other.
        row("undo of a grade typed over another", "type p3e1 13;Up;type p3e1 17;Up;undo", "",
            "13.00");
        row("undo after a save", "type p3e1 13;Up;F4;undo", "", "-");
        row("a paste", "paste p2e1 8,5\n13", "", "13.00");
    }
    // Changes unsaved at a kill are offered when the file opens again, put back and saved.
    void gradesTypedBeforeAKillComeBack()
    {
        auto [steps, meanwhile, comesBack] =
            fetchRow<QString, QString, QString>({"steps", "meanwhile", "comesBack"});
        QVERIFY(m_p->writeFile(kFileName, threePupils()));
        const QByteArray before = readBytes(file());
        const QString typedOn = m_p->diskPath() + (meanwhile == "moved" ? "0" : "");
        QVERIFY(meanwhile != "moved" ||
                (QDir().mkdir(typedOn) && QFile::copy(file(), typedOn + '/' + kFileName)));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {kChildSwitch, typedOn, steps, data()});
        QVERIFY(child.waitForReadyRead(120000));
        child.kill();
        QVERIFY(child.waitForFinished() && child.exitStatus() == QProcess::CrashExit);
        QCOMPARE(readBytes(file()) == before, !steps.contains("F4"));
        QCOMPARE(journals().size(), 1);
        QByteArray journal = readBytes(journals()[0]);
        QVERIFY(meanwhile != "changed" || m_p->writeFile(kFileName, threePupils(3, 4)));
        QVERIFY(meanwhile != "damaged" ||
                writeBytes(journals()[0], journal.replace("\t13", "\t19")));

        DialogAnswers answers({meanwhile == "no" ? Answer::No : Answer::Yes, Answer::Yes});
        QVERIFY(m_p->open(kFileName));
        if (meanwhile == "no")
            bringBackSetAside(journal);
        QCOMPARE(answers.shown.size(), meanwhile == "no" ? 2 : 1);
        QCOMPARE(answers.shown[0].text.contains(QDir::toNativeSeparators(typedOn)),
                 meanwhile == "moved");
        const QString message = meanwhile == "changed" ? "تغيّر هذا الملفّ بالقرص"
                                : meanwhile == "damaged" ? "ملفّ استرجاع الأعداد تالف"
                                                         : kBringBack;
        QVERIFY2(answers.shown[0].text.startsWith(message), qPrintable(answers.shown[0].text));
        // The last change's moment in the system's short date, on one line (no breaking blank).
        QVERIFY(message != kBringBack ||
                answers.shown[0].text.contains(gradefile::shortDate(QDate::currentDate()) +
                                               QChar::Nbsp));
        const bool back = !comesBack.isEmpty();
        comesBack.remove('-');
        QVERIFY(m_p->grid()->text({6, 3}) == comesBack && m_p->sheet()->isModified() == back);
        QCOMPARE(journals().size(), back || meanwhile == "damaged" ? 1 : 0);
        QVERIFY(meanwhile != "damaged" || readBytes(journals()[0]) == journal);
        if (!back)
            return;
        pressKey(Qt::Key_F4);
        QVERIFY(m_p->sheet()->isSaved() && journals().isEmpty());
        const QStringList lines = *gradefile::readGradeFile(file()).lines;
        QCOMPARE(lines[4].section(u'|', 4), comesBack + "||معفى");
        // The mark and the observation came back too, the observation after the pupil's level.
        QVERIFY(!steps.contains("F1") || lines[2].endsWith("|12.50|غ.ش.|"));
        QVERIFY(!steps.contains("observe") || lines[2].startsWith("1#عمل جيد|"));
    }
    void whatOpensCanBeSaved_data()
    {
        const auto row = dataTable<QString>({"name"});
        row("a control character another program wrote", "سامي\x01");
        row("a line longer than the administration takes", QString(300, u'ع'));
    }
    // What opens for typing is saved as it came; what could not be written back says so.
    void whatOpensCanBeSaved()
    {
        QFETCH(QString, name);
        const bool savable = name.size() < gradefile::kMaxLineLength;
        QStringList lines = threePupils();
        lines[4].replace("سامي \"الصغير\" & أخوه", name);
        QVERIFY(writeBytes(file(), gradefile::rowsetBytes(lines)) && m_p->open(kFileName));
        takeSteps(m_p->grid(), "type p1e1 13;F4");
        QVERIFY(readBytes(file()).contains(name.toUtf8()));
        QCOMPARE(readBytes(file()).contains("|13.00|") && m_p->sheet()->isSaved(), savable);
        QCOMPARE(m_p->sheet()->statusText().startsWith("في هذا الملفّ سطر أطول"), !savable);
    }
    // Recovery off, told once: typing goes on where it was and the save still writes the disk.
    void dataFolderThatCannotBeWritten()
    {
        QVERIFY(QDir().mkpath(QFileInfo(data()).path()) && writeBytes(data(), "not a folder"));
        DialogAnswers answers({});
        QVERIFY(openSheet());
        takeSteps(m_p->grid(), "type p2e1 13;Return");
        QTRY_COMPARE(answers.shown.size(), 1);
        QVERIFY(answers.shown[0].text.startsWith("تعذّرت الكتابة في مجلّد البرنامج"));
        QVERIFY(activate(m_p->sheet()));
        takeSteps(m_p->grid(), "1;4;F4");
        QVERIFY(m_p->grid()->text({6, 2}) == "13.00" && m_p->grid()->text({6, 3}) == "14.00");
        QVERIFY(m_p->sheet()->isSaved() && readBytes(file()).contains("|14.00|"));
        QCOMPARE(answers.shown.size(), 1);
    }
    void pastedBlock_data()
    {
        // shown as shownState gives it; saved: each pupil's grades, 15 typed at p2e3
        const auto row =
            dataTable<QString, QString, QString, QString>({"at", "shown", "message", "saved"});
        // The message leaves the cursor where the block was to go.
        const QString untouched = "12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @";
        const QString unpasted = "12.50|--.--| 07.00||15.00 ||معفى";
        row("filled from the first exam", "p1e1",
            "07.00 12.50 _ 1 | 14.25 09.50 25! 2 | غ.ش. _ 18.00 3 @p2e3 *",
            "المملوءة: 6\nالقيم المرفوضة (أكثر من 20 أو ليست أعدادا): 2 -",
            "07.00|12.50| 14.25|09.50|15.00 غ.ش.||18.00");
        row("a row too many", "p2e1", untouched + "p2e1", "الباقين: 1", unpasted);
        row("an exam too many", "p1e2", untouched + "p1e2", "الباقية: 1", unpasted);
    }
    // A LibreOffice block checked as typed, the first refused value under the cursor; too large,
    // none.
    void pastedBlock()
    {
        const auto [at, message] = fetchRow<QString, QString>({"at", "message"});
        QVERIFY(openSheet());
        DialogAnswers answers({});
        const QByteArray block = readBytes(SAISIE_TEST_DATA_DIR "/paste/libreoffice-block.txt");
        takeSteps(m_p->grid(), "paste " + at + ' ' + QString::fromUtf8(block));
        QTEST(shownState(*m_p->sheet()), "shown");
        QVERIFY(answers.shown.size() == 1 && answers.shown[0].text.contains(message));
        takeSteps(m_p->grid(), "type p2e3 15;Return;F4");
        const QStringList lines = *gradefile::readGradeFile(file()).lines;
        QTEST(QStringList(
                  {lines[2].section(u'|', 4), lines[3].section(u'|', 4), lines[4].section(u'|', 4)})
                  .join(u' '),
              "saved");
    }
    // A paste that went in whole says so on the status line: no box to close, the cursor kept.
    void pasteInWholeOnTheStatusLine()
    {
        QVERIFY(openSheet());
        DialogAnswers answers({});
        takeSteps(m_p->grid(), "paste p2e1 8\n13");
        QVERIFY(answers.shown.isEmpty() && m_p->sheet()->statusText() == "الخانات المملوءة: 2");
        QCOMPARE(nameOf(m_p->grid()->activeCell()), "p2e1");
    }
    void fileChangedMeanwhile_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("theirs kept") << Answer::No;
        QTest::newRow("replaced") << Answer::Yes;
    }
    // The file saved elsewhere meanwhile: asked, kept as a copy, its save number followed.
    void fileChangedMeanwhile()
    {
        QFETCH(Answer, answer);
        QVERIFY(openSheet());
        takeSteps(m_p->grid(), "type p3e1 13;Up");
        QVERIFY(m_p->writeFile(kFileName, threePupils(8, 7)));
        const QByteArray theirs = readBytes(file());
        DialogAnswers answers({answer});
        pressKey(Qt::Key_F4);
        QCOMPARE(answers.shown.size(), 1);
        QVERIFY(answers.shown[0].text.startsWith("تغيّر هذا الملفّ بالقرص منذ فتحه"));
        if (answer == Answer::No) {
            QCOMPARE(readBytes(file()), theirs);
            QVERIFY(m_p->sheet()->isModified() && journals().size() == 1);
            return;
        }
        QVERIFY(readBytes(file()).contains("|13.00||معفى") && readBytes(file()).contains("||9|4"));
        QCOMPARE(readBytes(recovery::KeptCopies(data()).list(kKey).front().path), theirs);
        // The file is now the sheet's own: the next save asks nothing.
        QVERIFY(activate(m_p->sheet()));
        takeSteps(m_p->grid(), "type p2e1 14;F4");
        QCOMPARE(answers.shown.size(), 1);
        QVERIFY(readBytes(file()).contains("|14.00|") && readBytes(file()).contains("||10|4"));
    }
    void fileOpenInAnotherCopy_data()
    {
        // What became of the other copy of the program; the answer to the question, if any.
        const auto row = dataTable<QString, Answer>({"other", "answer"});
        row("running, shown for reading", "running", Answer::Yes);
        row("running, not opened", "running", Answer::No);
        row("killed: its lock is taken over", "killed", Answer::CloseBox);
    }
    // Open in another running copy: read-only, nothing typed or saved; a dead copy's lock is taken.
    void fileOpenInAnotherCopy()
    {
        const auto [other, answer] = fetchRow<QString, Answer>({"other", "answer"});
        QVERIFY(m_p->writeFile(kFileName, threePupils()));
        QProcess child;
        // Its warnings go to the log: on Windows, any of them would end the wait for "open".
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {kHoldSwitch, m_p->diskPath(), "-", data()});
        QVERIFY(child.waitForReadyRead(60000) &&
                child.readAll().trimmed() == "open"); // CR LF there
        if (other == "killed") {
            child.kill();
            QVERIFY(child.waitForFinished());
        }
        DialogAnswers answers({answer});
        const bool opened = m_p->open(kFileName);
        child.closeWriteChannel();
        QVERIFY(other != "running" || child.waitForFinished());
        QCOMPARE(answers.shown.size(), other == "running" ? 1 : 0);
        QVERIFY(other != "running" ||
                answers.shown[0].text.startsWith("هذا الملفّ مفتوح في نافذة أخرى من البرنامج"));
        QCOMPARE(opened, answer != Answer::No);
        if (!opened)
            return;
        const bool readOnly = other == "running";
        QCOMPARE(m_p->sheet()->isReadOnly(), readOnly);
        takeSteps(m_p->grid(), "type p3e1 13;Up;type p1e2;F1;F4");
        QCOMPARE(m_p->grid()->text({6, 3}), readOnly ? "" : "13.00");
        QCOMPARE(m_p->grid()->text({5, 1}), readOnly ? "--.--" : "غ.ش.");
        QCOMPARE(readBytes(file()).contains("|13.00|"), !readOnly);
    }
    void keptCopyBroughtBack_data()
    {
        // refusal: how the message begins, empty when brought back
        const auto row = dataTable<int, bool, QString>({"printNumber", "damaged", "refusal"});
        row("onto the disk", 4, false, "");
        row("a damaged copy is refused", 4, true, "هذه النسخة تالفة");
        row("no save number left", 32766, false, "6 Dépassement de capacité");
    }
    // A kept copy, listed with how it differs, comes back with the next save number, or is refused.
    void keptCopyBroughtBack()
    {
        const auto [printNumber, damaged, refusal] =
            fetchRow<int, bool, QString>({"printNumber", "damaged", "refusal"});
        QVERIFY(openSheet(threePupils(0, printNumber)));
        const QByteArray original = readBytes(file());
        takeSteps(m_p->grid(), "type p3e1 13;F4");
        const QByteArray saved = readBytes(file());
        const recovery::KeptCopies copies(data());
        const QString copy = copies.list(kKey).front().path;
        QVERIFY(!damaged || writeBytes(copy, original.left(200)));
        QString shown, second;
        bool whole = false;
        QObject context; // no answer outlives the test
        whenModalOpens(&context, [&](QWidget* dialog) {
            auto* list = dialog->findChild<QTreeWidget*>("copies");
            shown = list->topLevelItem(0)->text(2);
            // Every column whole, the disk's folder too: nothing to scroll sideways for.
            whole = list->horizontalScrollBar()->maximum() == 0;
            list->setCurrentItem(list->topLevelItem(0));
            whenModalOpens(&context, [&](QWidget* modal) {
                auto* notice = qobject_cast<QMessageBox*>(modal);
                second = notice ? notice->text() : modal->findChild<QLabel*>("message")->text();
                notice ? (void)modal->close() : modal->findChild<QPushButton*>("okButton")->click();
            });
            dialog->findChild<QPushButton*>("toDiskButton")->click();
        });
        m_p->window()->findChild<QAction*>("keptCopiesAction")->trigger();
        QCOMPARE(shown, damaged ? "نسخة تالفة" : "1 : سامي \"الصغير\" & أخوه");
        QVERIFY(whole);
        QVERIFY2(second.startsWith(refusal), qPrintable(second));
        QVERIFY(!damaged || second.endsWith(QDir::toNativeSeparators(copy)));
        QCOMPARE(readBytes(file()), refusal.isEmpty() ? gradefile::rowsetBytes(threePupils(6))
                                                      : saved); // saved 5, brought back 6
        QCOMPARE(readBytes(copies.list(kKey).front().path), refusal.isEmpty() ? saved
                                                            : damaged         ? original.left(200)
                                                                              : original);
        QTRY_VERIFY(!m_p->sheet()); // an open sheet would write its grades over the copy
    }
    void editSequences_data()
    {
        // Each step, then the sheet it leaves: undo puts back each change whole, the cursor on it.
        const auto row = dataTable<QStringList>({"script"});
        row("a grade, its rewrite with it; undone or redone after a save, unsaved",
            {"type p1e3 15 => 12.50 --.-- 15 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "Return => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2e3 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "redo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "F4 => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3",
             "shift-redo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "F4 => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *"});
        row("a grade being typed is the last change",
            {"type p1e3 9;undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "redo => 12.50 --.-- 09.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *"});
        row("overtyped grade comes back",
            {"type p1e1 0 => 0 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e1 *",
             "Down => 00.00~ --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2e1 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e1 *",
             "redo => 00.00~ --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e1 *"});
        row("a refused grade blocks undo, its correction is part of it",
            {"type p1e3 15;Return => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2e3 *",
             "type p2e3 25 => 12.50 --.-- 15.00 1 | 07.00 _ 25 2 | _ _ معفى 3 @p2e3 *",
             "Return => 12.50 --.-- 15.00 1 | 07.00 _ 25! 2 | _ _ معفى 3 @p2e3 *",
             "undo => 12.50 --.-- 15.00 1 | 07.00 _ 25! 2 | _ _ معفى 3 @p2e3 *",
             "type p2e3 14 => 12.50 --.-- 15.00 1 | 07.00 _ 14! 2 | _ _ معفى 3 @p2e3 *",
             "Return => 12.50 --.-- 15.00 1 | 07.00 _ 14.00 2 | _ _ معفى 3 @p3e3 *",
             "undo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2e3 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "redo => 12.50 --.-- 15.00 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "redo => 12.50 --.-- 15.00 1 | 07.00 _ 14.00 2 | _ _ معفى 3 @p2e3 *"});
        // The menu's paste starts from the cell right-clicked, not from the cursor.
        row("a paste from the menu",
            {"menu paste p2e2 9 => 12.50 --.-- _ 1 | 07.00 09.00 غ.ش. 2 | _ _ معفى 3 @p2e2 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2e2 *"});
        row("a mark, undone and redone from the menu",
            {"F1 => غ.ش. --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2e1 *",
             "menu undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e1 *",
             "menu redo => غ.ش. --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e1 *"});
        row("an exempted row, cell by cell",
            {"F2 => معفى معفى معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e2 *",
             "undo => 12.50 معفى معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e1 *",
             "undo => 12.50 --.-- معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e2 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "redo => 12.50 --.-- معفى 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *"});
        row("an observation and the name's look",
            {"observe 2 عمل جيد => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2#عمل جيد b | _ _ معفى 3 "
             "@p3order *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2name *",
             "redo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2#عمل جيد b | _ _ معفى 3 @p2name *"});
        row("a paste is one step, its refused cell's correction part of it",
            {"paste p1e1 9\t\t25\r\n13 => 09.00 --.-- 25! 1 | 13.00 _ غ.ش. 2 | _ _ معفى 3 "
             "@p1e3 *",
             "undo => 09.00 --.-- 25! 1 | 13.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "type p1e3 15;Return => 09.00 --.-- 15.00 1 | 13.00 _ غ.ش. 2 | _ _ معفى 3 @p2e3 *",
             "undo => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *",
             "redo => 09.00 --.-- 15.00 1 | 13.00 _ غ.ش. 2 | _ _ معفى 3 @p1e3 *"});
        row("the check of a cell passed over is no step",
            {"type p2e2 => 12.50 --.-- _ 1 | 07.00 _ غ.ش. 2 | _ _ معفى 3 @p2e2",
             "Down => 12.50 --.-- _ 1 | 07.00 --.-- غ.ش. 2 | _ _ معفى 3 @p3e2",
             "undo => 12.50 --.-- _ 1 | 07.00 --.-- غ.ش. 2 | _ _ معفى 3 @p3e2"});
    }
    void editSequences()
    {
        QFETCH(QStringList, script);
        QVERIFY(openSheet());
        DialogAnswers closed({});
        for (const QString& line : script) {
            takeSteps(m_p->grid(), line.section(" => ", 0, 0));
            QCOMPARE(shownState(*m_p->sheet()), line.section(" => ", 1));
        }
    }

private:
    bool openSheet(const QStringList& lines = threePupils())
    {
        const bool opened = m_p->writeFile(kFileName, lines) && m_p->open(kFileName);
        m_openedSaveNumber = m_p->cardTexts().saveNumber;
        return opened;
    }
    QString file() const { return m_p->filePath(kFileName); }
    QString data() const { return m_p->sheetState.dataFolder.path; }
    QStringList journals() const
    {
        return recovery::journalsOfKey(recovery::journalsFolder(data()), kKey);
    }
    bool listLineIsBoldBlue() const
    {
        const int name = app::MainWindow::FileNameColumn;
        const auto lines = m_p->window()->fileList()->findItems(kFileName, Qt::MatchExactly, name);
        return lines.size() == 1 && lines[0]->font(name).bold() &&
               lines[0]->foreground(name).color() == QColor(0, 0, 255);
    }
    // The journal given up is set aside whole; the kept copies window puts it back.
    void bringBackSetAside(const QByteArray& journal)
    {
        QVERIFY(journals().isEmpty() && m_p->grid()->text({6, 3}).isEmpty());
        const recovery::KeptCopies copies(data());
        const gradefile::GradeDisk disk(m_p->diskPath());
        app::KeptCopiesDialog dialog(copies, disk, kKey);
        auto* aside = dialog.findChild<QTreeWidget*>("asideJournals");
        QCOMPARE(aside->topLevelItemCount(), 1);
        aside->setCurrentItem(aside->topLevelItem(0));
        dialog.findChild<QPushButton*>("bringBackButton")->click();
        QVERIFY(journals().size() == 1 && readBytes(journals()[0]) == journal);
        QVERIFY(m_p->sheet()->close());
        QTRY_VERIFY(!m_p->sheet());
        QVERIFY(m_p->open(kFileName));
    }
    // After a failed save: the old file, the grades unsaved and journaled, no save number used.
    void verifyNothingLost(const QByteArray& oldBytes, const gradefile::SheetTable& grades)
    {
        GradeSheetWindow* sheet = m_p->sheet();
        QVERIFY(sheet && sheet->isVisible() && !sheet->isSaved() && sheet->sheetTable() == grades);
        QVERIFY(readBytes(file()) == oldBytes && m_p->cardTexts().saveNumber == m_openedSaveNumber);
        QVERIFY(!listLineIsBoldBlue() && journals().size() == 1);
        // The message closed, the teacher back on the sheet: the grades are still unsaved.
        QVERIFY(activate(sheet) && sheet->isModified());
    }

    std::unique_ptr<ProgramOnDisk> m_p;
    qint16 m_openedSaveNumber = 0;
    int m_quitCalls = 0;
};

int main(int argc, char* argv[])
{
    if (argc == 5 && (qstrcmp(argv[1], kChildSwitch) == 0 || qstrcmp(argv[1], kHoldSwitch) == 0))
        return typeAndDie(argc, argv);
    QApplication application(argc, argv);
    TestSaveGradeSheet test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savegradesheet.moc"
