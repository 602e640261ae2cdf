#include "app/appstate.h"
#include "app/mainwindow.h"
#include "gradefile/gradefileio.h"
#include "modaltools.h"
#include "print/cardtexts.h"
#include "sheet/gradesheetwindow.h"
#include "sheet/plainsheetwindow.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using sheet::GradeSheetWindow;

namespace {

const QString kKey = QStringLiteral("8410203C07120002004");
const QString kPlainKey = QStringLiteral("8410203C0712MOY2004");
const QString kHead = QStringLiteral("8410203 إعدادية النور        "); // 29 characters
const QString kCaption = kHead + QStringLiteral("[السابعة أساسي 2] عربية - الثلاثي الأول");

QString endLine(const QString& key, const QString& numbers = QStringLiteral("||6|4"))
{
    return QStringLiteral("FIN") + key + QStringLiteral("|صفاقس|النور|سلمى") + numbers;
}

QStringList threeExams(const QString& key = kKey, const QString& caption = kCaption)
{
    return {QStringLiteral("DEBUT") + key + u'|' + caption,
            QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2|تأليفي"),
            QStringLiteral("1|1|1001|أحمد الكافي|12.50|--.--|معفى"),
            QStringLiteral("2|2|1002|مريم التونسي|07.00|15.25|غ.ش."), endLine(key)};
}

} // namespace

class TestOpenGradeFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void subjectFileFillsTheSheet();
    void columnsHiddenAndWindowFitted_data();
    void columnsHiddenAndWindowFitted();
    void pupilRows_data();
    void pupilRows();
    void sheetKindSetsTheNameHeader_data();
    void sheetKindSetsTheNameHeader();
    void shortDescriptionOpens();
    void secondFileStartsFresh();
    void plainFileFillsThePlainSheet();
    void refusedFiles_data();
    void refusedFiles();
    void failedOpenLeavesTheOpenSheetAlone();
    void emptyListDoesNothing();
    void functionKeysFollowTheButtons();
    void quitBringsTheMainWindowBack();
    void doubleClickRecordsThePupilRow();

private:
    void write(const QString& key, const QStringList& lines);
    void writeRaw(const QString& name, const QByteArray& bytes);
    // Scans the disk and double-clicks the line of this file.
    void open(const QString& fileName);
    GradeSheetWindow* sheetWindow() const { return m_window->gradeSheet(); }

    std::unique_ptr<QTemporaryDir> m_disk;
    app::AppState m_appState;
    sheet::SheetState m_sheetState;
    print::CardTexts m_cardTexts;
    std::unique_ptr<app::MainWindow> m_window;
};

void TestOpenGradeFile::init()
{
    m_disk = std::make_unique<QTemporaryDir>();
    m_appState = app::AppState{true};
    m_sheetState = sheet::SheetState{};
    m_cardTexts = print::CardTexts{};
    m_window =
        std::make_unique<app::MainWindow>(m_appState, m_sheetState, m_cardTexts, m_disk->path());
    m_window->setQuitAction([] {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestOpenGradeFile::cleanup()
{
    m_window.reset();
    m_disk.reset();
}

void TestOpenGradeFile::write(const QString& key, const QStringList& lines)
{
    QVERIFY(gradefile::writeGradeFile(m_disk->filePath(key + QStringLiteral(".xml")), lines).ok);
}

void TestOpenGradeFile::writeRaw(const QString& name, const QByteArray& bytes)
{
    QFile file(m_disk->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestOpenGradeFile::open(const QString& fileName)
{
    m_window->scanDisk();
    QTreeWidget* list = m_window->fileList();
    const QList<QTreeWidgetItem*> lines = list->findItems(fileName, Qt::MatchExactly, 2);
    QVERIFY2(lines.size() == 1, qPrintable(fileName));
    list->setCurrentItem(lines.first());
    m_window->openSelectedFile();
}

void TestOpenGradeFile::subjectFileFillsTheSheet()
{
    write(kKey, threeExams());
    open(kKey + QStringLiteral(".xml"));
    GradeSheetWindow* window = sheetWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), kCaption);
    QCOMPARE(window->openedFileKey(), kKey);
    sheet::SpreadGrid* grid = window->grid();
    QCOMPARE(grid->maxRows(), 2);
    QCOMPARE(grid->text(6, 0), QStringLiteral("فرض 1"));
    QCOMPARE(grid->text(5, 0), QStringLiteral("فرض 2"));
    QCOMPARE(grid->text(4, 0), QStringLiteral("تأليفي"));
    QCOMPARE(grid->text(3, 0), QString());
    QCOMPARE(grid->text(7, 0), QStringLiteral("الإسم و اللقب"));
    QCOMPARE(grid->text(8, 0), QStringLiteral("المعرف الو."));
    QCOMPARE(grid->text(9, 0), QStringLiteral("ع.ر"));
    QCOMPARE(grid->text(10, 0), QStringLiteral("المستوى"));
    const QStringList row2{"",     "",  "", "", "غ.ش.", "15.25", "07.00", "مريم التونسي",
                           "1002", "2", "2"};
    for (int col = 0; col <= 10; ++col)
        QCOMPARE(grid->text(col, 2), row2[col]);
    QCOMPARE(grid->frozenCols(), 3);

    QCOMPARE(m_cardTexts.schoolYearLine, QStringLiteral("السنة الدراسيّة : 2005/2004"));
    QCOMPARE(m_cardTexts.sheetDescription, QStringLiteral("السابـعة أساسي 2 عربـية - الثلاثي 1"));
    QCOMPARE(m_cardTexts.regionName, QStringLiteral("صفاقس"));
    QCOMPARE(m_cardTexts.teacherLine, QStringLiteral("المدرّس / الأستاذ : سلمى"));
    QCOMPARE(m_cardTexts.saveNumber, qint16(0));
    QCOMPARE(m_cardTexts.printNumber, qint16(6));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(window->focusWidget(), static_cast<QWidget*>(grid));
}

// Empty columns are hidden and the window narrows by a grade column, less 50 twips, for
// each; it is re-centred at the top of the screen.
void TestOpenGradeFile::columnsHiddenAndWindowFitted_data()
{
    QTest::addColumn<QString>("exams");
    QTest::addColumn<QString>("grades");
    QTest::addColumn<int>("gradeSpan");
    QTest::addColumn<QList<int>>("hidden");
    QTest::newRow("three exams") << "|a|b|c" << QStringLiteral("|12.00|13.00|14.00") << 2
                                 << QList<int>{0, 1, 2, 3, 10};
    QTest::newRow("two exams") << "|a|b" << QStringLiteral("|12.00|13.00") << 1
                               << QList<int>{0, 1, 2, 3, 4, 10};
    QTest::newRow("six exams") << "|a|b|c|d|e|f" << QStringLiteral("|1|2|3|4|5|6") << 5
                               << QList<int>{0, 10};
    QTest::newRow("row header text")
        << "|a|b|c|d|e|f" << QStringLiteral("|1|2|3|4|5|6|h") << 6 << QList<int>{10};
    QTest::newRow("exams not graded yet keep their columns")
        << "|a|b|c" << QStringLiteral("|12.00") << 2 << QList<int>{0, 1, 2, 3, 10};
}

void TestOpenGradeFile::columnsHiddenAndWindowFitted()
{
    QFETCH(QString, exams);
    QFETCH(QString, grades);
    QFETCH(int, gradeSpan);
    QFETCH(QList<int>, hidden);
    write(kKey, {"DEBUT" + kKey + u'|' + kCaption, "TYPEEPREUVE:" + exams, "1|1|1001|أحمد" + grades,
                 endLine(kKey)});
    open(kKey + ".xml");
    GradeSheetWindow* window = sheetWindow();
    QVERIFY(window);
    QCOMPARE(int(window->gradeSpan()), gradeSpan);
    for (int col = 0; col <= 10; ++col)
        QCOMPARE(window->grid()->isColumnHiddenAt(col), hidden.contains(col));
    const int hiddenCount = int(hidden.size()) - 1; // column 10 is hidden from the start
    const int unit = int(90 * window->grid()->colWidth(6));
    QCOMPARE(window->widthTwips(), 11880 - hiddenCount * (unit - 50));
    QCOMPARE(window->width(), (11880 - hiddenCount * (unit - 50) + 7) / 15);
    QVERIFY(window->height() >= 5150 / 15);
    const QRect screen = window->screen()->geometry();
    QCOMPARE(window->frameGeometry().left(),
             (screen.width() - window->frameGeometry().width()) / 2);
    QCOMPARE(window->frameGeometry().top(), 7);
}

void TestOpenGradeFile::pupilRows_data()
{
    QTest::addColumn<QStringList>("pupilAndEndLines");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("lastName");
    QTest::newRow("no end line") << QStringList{"1|1|1|أ|10", "2|2|2|ب|11"} << 2 << "ب";
    QTest::newRow("lines after the end line")
        << QStringList{"1|1|1|أ|10", endLine(kKey), "3|3|3|ج|12"} << 2 << "ج";
    QTest::newRow("no pupils") << QStringList{endLine(kKey)} << 0 << "";
}

void TestOpenGradeFile::pupilRows()
{
    QFETCH(QStringList, pupilAndEndLines);
    QFETCH(int, rows);
    QFETCH(QString, lastName);
    write(kKey, QStringList{"DEBUT" + kKey + u'|' + kCaption, "TYPEEPREUVE:|ف"} + pupilAndEndLines);
    open(kKey + ".xml");
    QVERIFY(sheetWindow());
    sheet::SpreadGrid* grid = sheetWindow()->grid();
    QCOMPARE(grid->maxRows(), rows);
    if (rows > 0)
        QCOMPARE(grid->text(7, rows), lastName);
}

void TestOpenGradeFile::sheetKindSetsTheNameHeader_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("alignment");
    QTest::newRow("C") << kKey << QStringLiteral("الإسم و اللقب") << int(Qt::AlignHCenter);
    QTest::newRow("L") << QStringLiteral("8410203L07120002004")
                       << QStringLiteral("                   الإسم و اللقب  - القسم ")
                       << int(Qt::AlignLeft);
}

void TestOpenGradeFile::sheetKindSetsTheNameHeader()
{
    QFETCH(QString, key);
    QFETCH(QString, header);
    QFETCH(int, alignment);
    write(key, threeExams(key));
    open(key + ".xml");
    QVERIFY(sheetWindow());
    sheet::SpreadGrid* grid = sheetWindow()->grid();
    QCOMPARE(grid->text(7, 0), header);
    const QTableWidgetItem* name = grid->item(0, 6);
    QVERIFY(name);
    QCOMPARE(int(name->textAlignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute), alignment);
}

void TestOpenGradeFile::shortDescriptionOpens()
{
    write(kKey, threeExams(kKey, QStringLiteral("قسم قصير")));
    open(kKey + ".xml");
    QVERIFY(sheetWindow());
    QCOMPARE(sheetWindow()->windowTitle(), QStringLiteral("قسم قصير"));
    QCOMPARE(m_cardTexts.sheetDescription, QString());
}

void TestOpenGradeFile::secondFileStartsFresh()
{
    const QString other = QStringLiteral("8410203C07130002004");
    write(kKey, {"DEBUT" + kKey + u'|' + kCaption, "TYPEEPREUVE:|a|b|c|d|e|f|g",
                 "1|1|1001|أحمد|1|2|3|4|5|6|h", "2|2|1002|مريم|7|8|9|10|11|12|i", endLine(kKey)});
    write(other, {"DEBUT" + other + u'|' + kCaption, "TYPEEPREUVE:|ف", "1|1|2001|سامي",
                  "2|2|2002|هند|14.00", endLine(other, "||2|2")});
    open(kKey + ".xml");
    QPointer<GradeSheetWindow> first = sheetWindow();
    QVERIFY(first);
    first->grid()->setCellBackColor(6, 1, Qt::red);
    open(other + ".xml");
    QTRY_VERIFY(!first);
    GradeSheetWindow* second = sheetWindow();
    QVERIFY(second);
    sheet::SpreadGrid* grid = second->grid();
    // Nothing of the first file survives: a field the second file leaves out stays empty.
    QCOMPARE(grid->text(6, 1), QString());
    QCOMPARE(grid->text(5, 0), QString());
    QCOMPARE(grid->text(0, 1), QString());
    QCOMPARE(grid->text(6, 2), QStringLiteral("14.00"));
    QVERIFY(grid->cellBackColor(6, 1) != QColor(Qt::red));
    QCOMPARE(second->openedFileKey(), other);
    QCOMPARE(m_cardTexts.printNumber, qint16(2));
}

void TestOpenGradeFile::plainFileFillsThePlainSheet()
{
    write(kPlainKey, {"DEBUT" + kPlainKey + QStringLiteral("|المعدلات"),
                      "TYPEEPREUVE:|المعدل السنوي", "1|12|1001|أحمد|الكافي|14.25",
                      "2|13|1002|مريم|التونسي|09.50", "FIN" + kPlainKey + "|x"});
    open(kPlainKey + ".xml");
    QVERIFY(!sheetWindow());
    sheet::PlainSheetWindow* plain = m_window->plainSheet();
    QVERIFY(plain);
    QVERIFY(plain->isVisible());
    QCOMPARE(plain->windowTitle(), QStringLiteral("المعدلات"));
    sheet::SpreadGrid* grid = plain->grid();
    QCOMPARE(grid->maxCols(), 6);
    QCOMPARE(grid->maxRows(), 2);
    const QStringList headers{"", "المعدل السنوي", "اللقب", "الإسم", "المعرف ", "ع.ر", "."};
    const QStringList row1{"", "14.25", "الكافي", "أحمد", "1001", "12", "1"};
    for (int col = 1; col <= 6; ++col) {
        QCOMPARE(grid->text(col, 0), headers[col]);
        QCOMPARE(grid->text(col, 1), row1[col]);
    }
    QCOMPARE(m_cardTexts.schoolYearLine, QStringLiteral("السنة الدراسيّة : 2005/2004"));
}

void TestOpenGradeFile::refusedFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("message");
    const QString renamed = QStringLiteral("8410203C07990002004");
    QTest::newRow("invalid grade file") << renamed + ".xml" << threeExams() << QByteArray()
                                        << QStringLiteral("لا يمكنك معاينة محتوى هذا الملف");
    QTest::newRow("year not a number")
        << "8410203C0712000ABCD.xml" << threeExams("8410203C0712000ABCD") << QByteArray()
        << QStringLiteral("13 ");
    QTest::newRow("plain line with four separators")
        << kPlainKey + ".xml"
        << QStringList{"DEBUT" + kPlainKey + "|م", "TYPEEPREUVE:|م", "1|2|3|4|5", "x"}
        << QByteArray() << QStringLiteral("5 ");
    QTest::newRow("counter out of range") << kKey + ".xml"
                                          << QStringList{"DEBUT" + kKey + "|م", "TYPEEPREUVE:|ف",
                                                         "1|1|1|أ|1", endLine(kKey, "||40000|1")}
                                          << QByteArray() << QStringLiteral("6 ");
}

void TestOpenGradeFile::refusedFiles()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    write(fileName.chopped(4), lines);
    QObject context;
    QString shown;
    QString title;
    whenModalOpens(&context, [&](QWidget* box) {
        title = box->windowTitle();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("message")))
            shown = label->text();
        else if (auto* messageBox = qobject_cast<QMessageBox*>(box))
            shown = messageBox->text();
        box->close();
    });
    open(fileName);
    QVERIFY2(shown.startsWith(message), qPrintable(shown));
    QCOMPARE(title, m_window->windowTitle());
    if (!message.startsWith(u'ل'))
        QVERIFY(
            shown.contains(QStringLiteral("Erreur non gérer contacter l'équipe Noravel tel : ")));
    QVERIFY(!sheetWindow());
    QVERIFY(!m_window->plainSheet());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestOpenGradeFile::failedOpenLeavesTheOpenSheetAlone()
{
    write(kKey, threeExams());
    writeRaw(QStringLiteral("8410203C07990002004.xml"), "not a grade file");
    open(kKey + ".xml");
    QPointer<GradeSheetWindow> window = sheetWindow();
    QVERIFY(window);
    QObject context;
    whenModalOpens(&context, [](QWidget* box) { box->close(); });
    open(QStringLiteral("8410203C07990002004.xml"));
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->grid()->text(6, 1), QStringLiteral("12.50"));
    QCOMPARE(m_cardTexts.regionName, QStringLiteral("صفاقس"));
}

void TestOpenGradeFile::emptyListDoesNothing()
{
    m_window->scanDisk();
    m_window->openSelectedFile();
    QVERIFY(!sheetWindow());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestOpenGradeFile::functionKeysFollowTheButtons()
{
    write(kKey, threeExams());
    open(kKey + ".xml");
    QPointer<GradeSheetWindow> window = sheetWindow();
    QVERIFY(window);
    auto* exporter = window->findChild<QPushButton*>(QStringLiteral("saveButton"));
    auto* imprimerVide = window->findChild<QPushButton*>(QStringLiteral("printBlankButton"));
    QVERIFY(!exporter->isEnabled());
    QVERIFY(imprimerVide->isEnabled());

    // Keys go to the control that has the focus. F5 from the check box does nothing; from
    // the quit button it quits.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* check = window->findChild<QCheckBox*>(QStringLiteral("verticalEntry"));
    check->setFocus();
    QTest::keyClick(check, Qt::Key_F5);
    QVERIFY(window && window->isVisible());
    auto* quit = window->findChild<QPushButton*>(QStringLiteral("quitButton"));
    quit->setFocus();
    QTest::keyClick(quit, Qt::Key_F5);
    QTRY_VERIFY(!window);
}

void TestOpenGradeFile::quitBringsTheMainWindowBack()
{
    write(kKey, threeExams());
    open(kKey + ".xml");
    QPointer<GradeSheetWindow> window = sheetWindow();
    QVERIFY(window);
    m_window->hide();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->grid()->setFocus();
    QTest::keyClick(window->grid(), Qt::Key_F5);
    QTRY_VERIFY(!window);
    QVERIFY(m_window->isVisible());

    // The close box quits the same way.
    open(kKey + ".xml");
    window = sheetWindow();
    QVERIFY(window);
    window->close();
    QTRY_VERIFY(!window);
}

void TestOpenGradeFile::doubleClickRecordsThePupilRow()
{
    write(kKey, threeExams());
    open(kKey + ".xml");
    sheet::SpreadGrid* grid = sheetWindow()->grid();
    grid->setActiveCell(6, 2);
    const QRect cell = grid->visualItemRect(grid->item(1, 5));
    QString caption;
    whenModalOpens(this, [&caption](QWidget* dialog) {
        caption = dialog->windowTitle();
        dialog->close();
    });
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(int(m_sheetState.currentPupilRow), 2);
    // The observations open on that pupil.
    QVERIFY2(caption.contains(grid->text(7, 2)), qPrintable(caption));
}

QTEST_MAIN(TestOpenGradeFile)
#include "tst_opengradefile.moc"
