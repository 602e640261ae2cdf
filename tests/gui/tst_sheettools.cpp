// The grade sheet's context menu: the class statistics, the CSV copy of the sheet and the
// PDF copy of the filled card.
#include "../support/dialoganswers.h"
#include "../support/pdftext.h"
#include "../support/programondisk.h"
#include "../support/realdisk.h"
#include "sheet/sheetcsv.h"
#include "sheet/sheettools.h"
#include "sheet/statisticsdialog.h"

#include <QContextMenuEvent>
#include <QMenu>

using namespace Qt::StringLiterals;
using sheet::SheetTools;

namespace {

const QString kFile = u"8410203C07120002025.xml"_s; // three exams, the last one not graded
const QByteArray kOldCopy("an older copy the teacher keeps");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSheetTools : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_program.reset(); }
    void statisticsCountTheGradeBeingTyped_data();
    void statisticsCountTheGradeBeingTyped();
    void copies_data();
    void copies();

private:
    SheetTools* tools() const { return m_program->sheet()->findChild<SheetTools*>(); }
    QString copyPath(const QString& name) const { return m_program->filePath(u"copies/"_s + name); }

    std::unique_ptr<ProgramOnDisk> m_program;
    QString m_suggested;
};

void TestSheetTools::init()
{
    m_program = std::make_unique<ProgramOnDisk>();
    QVERIFY(QFile::copy(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + kFile,
                        m_program->filePath(kFile)));
    QFile::setPermissions(m_program->filePath(kFile), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QDir().mkdir(copyPath({})));
    QVERIFY(m_program->open(kFile));
    m_suggested.clear();
    tools()->setPathChooser([this](SheetTools::CopyKind, const QString& suggested) {
        m_suggested = suggested;
        return copyPath(suggested);
    });
}

void TestSheetTools::statisticsCountTheGradeBeingTyped_data()
{
    QTest::addColumn<bool>("menuKey"); // else a right click on a grade
    QTest::newRow("right click") << false;
    QTest::newRow("menu key") << true;
}

// The menu opens where the window system asks for it; the grade being typed counts once
// checked, as the save would write it, and the dialog shows each exam's figures; a grade
// the sheet refuses keeps the cursor and opens nothing.
void TestSheetTools::statisticsCountTheGradeBeingTyped()
{
    QFETCH(bool, menuKey);
    sheet::SpreadGrid* grid = m_program->grid();
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    const QPoint cell = grid->visualRect(grid->model()->index(1, 4)).center();
    if (menuKey) {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, cell, grid->mapToGlobal(cell));
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    } else {
        QTest::mouseClick(m_program->sheet()->windowHandle(), Qt::RightButton, {},
                          grid->viewport()->mapTo(m_program->sheet(), cell));
    }
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    QStringList items;
    for (const QAction* action : QApplication::activePopupWidget()->actions())
        items << action->text();
    QApplication::activePopupWidget()->close();
    for (const QString& item :
         {SheetTools::kStatisticsItem, SheetTools::kCsvItem, SheetTools::kPdfItem})
        QVERIFY(items.contains(item));

    typeInto(grid, 4, 1, u"8"_s);
    tools()->showStatistics();
    QTRY_VERIFY(qobject_cast<sheet::StatisticsDialog*>(QApplication::activeModalWidget()));
    QWidget* dialog = QApplication::activeModalWidget();
    QCOMPARE(grid->text(4, 1), u"08.00"_s);
    const std::vector<sheet::ExamStatistics> exams = tools()->statistics();
    QCOMPARE(exams.size(), size_t(3));
    QCOMPARE(exams.front().graded, 1);
    for (const sheet::ExamStatistics& exam : exams) {
        const QStringList figures = sheet::StatisticsDialog::figuresOf(exam);
        for (int row = 0; row < figures.size(); ++row)
            QCOMPARE(dialog->findChild<QLabel*>(u"figure%1_%2"_s.arg(exam.column).arg(row))->text(),
                     figures[row]);
    }
    dialog->close();
    QTRY_VERIFY(!QApplication::activeModalWidget());

    typeInto(grid, 4, 2, u"25"_s);
    tools()->showStatistics();
    QTest::qWait(50);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(grid->activeRow(), 2);
}

enum class Target { Written, GivenUp, RefusedGrade, ReadOnly, Full };
Q_DECLARE_METATYPE(Target)

void TestSheetTools::copies_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("reason"); // of the message; none when nothing is shown

    const QString readOnly = u"لا يمكن الكتابة في هذا المجلّد أو القرص محمي : اختر مكانا آخر."_s;
    const QString full = u"لا يتّسع القرص لهذا الملفّ : اختر قرصا آخر."_s;
    QTest::newRow("CSV written") << false << Target::Written << QString();
    QTest::newRow("PDF written") << true << Target::Written << QString();
    QTest::newRow("CSV, the teacher gives up") << false << Target::GivenUp << QString();
    QTest::newRow("PDF, the teacher gives up") << true << Target::GivenUp << QString();
    QTest::newRow("CSV, a refused grade typed") << false << Target::RefusedGrade << QString();
    QTest::newRow("CSV, read-only folder") << false << Target::ReadOnly << readOnly;
    QTest::newRow("PDF, read-only folder") << true << Target::ReadOnly << readOnly;
    QTest::newRow("CSV, full disk") << false << Target::Full << full;
    QTest::newRow("PDF, full disk") << true << Target::Full << full;
}

// A copy is the sheet as the window shows it (the CSV is what `gradefile csv` prints for
// the file, the PDF the filled card) and changes nothing else: not the grade file, not the
// card's counters. A disk that refuses it says why, and keeps the old copy of that name
// whole with no piece of the new one.
void TestSheetTools::copies()
{
    QFETCH(bool, pdf);
    QFETCH(Target, target);
    QFETCH(QString, reason);
    const print::CardTexts card = m_program->cardTexts;
    const QByteArray disk = bytesOf(m_program->filePath(kFile));
    std::unique_ptr<TmpfsMount> mount;
    const QString name = pdf ? u"copy.pdf"_s : u"copy.csv"_s;
    if (target == Target::ReadOnly || target == Target::Full) {
        mount = std::make_unique<TmpfsMount>(copyPath({}), "size=64k");
        if (!mount->isMounted())
            QSKIP(qPrintable(u"cannot mount a tmpfs: "_s + mount->error()));
        QFile old(copyPath(name));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldCopy) == kOldCopy.size());
        old.close();
        QFile filler(copyPath(u"filler"_s));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (target == Target::Full && filler.write("x", 1) == 1) {
        }
        filler.close();
        if (target == Target::ReadOnly)
            QVERIFY(mount->makeReadOnly());
    }
    tools()->setPathChooser([&](SheetTools::CopyKind, const QString& suggested) {
        m_suggested = suggested;
        return target == Target::GivenUp ? QString() : copyPath(mount ? name : suggested);
    });
    if (target == Target::RefusedGrade)
        typeInto(m_program->grid(), 4, 2, u"25"_s);
    const QStringList before = QDir(copyPath({})).entryList(QDir::Files);

    DialogAnswers answers({Answer::Yes});
    QCOMPARE(pdf ? tools()->savePdfCopy() : tools()->saveCsvCopy(), target == Target::Written);
    QCOMPARE(answers.shown.size(), reason.isEmpty() ? 0 : 1);
    if (!reason.isEmpty()) {
        const QString text = answers.shown.first().text;
        QVERIFY2(text.startsWith(u"لم يقع حفظ النسخة، ولم يتغيّر أيّ ملفّ :"_s), qPrintable(text));
        QVERIFY2(text.contains(reason) && text.contains(copyPath(name)), qPrintable(text));
        QCOMPARE(bytesOf(copyPath(name)), kOldCopy);
    }
    QCOMPARE(m_suggested.isEmpty(), target == Target::RefusedGrade);
    if (target == Target::Written) {
        QVERIFY(m_suggested.endsWith(pdf ? u".pdf"_s : u".csv"_s));
        const gradefile::SheetTable table = m_program->sheet()->sheetTable();
        const QString written = copyPath(m_suggested);
        if (!pdf)
            QCOMPARE(bytesOf(written), sheet::sheetCsv(table, sheet::shownColumnsOf(table)));
        const std::optional<QStringList> pages = pdfPageTexts(written);
        QVERIFY(!pdf || (pages && pages->join(u'\n').contains(table[1][6])));
        for (const QString& name : {table[1][7], table.back()[7]})
            QVERIFY(!pdf || wordsMissingFrom(pages->join(u'\n'), name).isEmpty());
    } else {
        QCOMPARE(QDir(copyPath({})).entryList(QDir::Files), before);
    }
    QCOMPARE(bytesOf(m_program->filePath(kFile)), disk);
    QCOMPARE(m_program->cardTexts.printNumber, card.printNumber);
    QCOMPARE(m_program->cardTexts.saveNumber, card.saveNumber);
    QVERIFY(target == Target::RefusedGrade || !m_program->sheet()->isModified());
}

QTEST_MAIN(TestSheetTools)
#include "tst_sheettools.moc"
