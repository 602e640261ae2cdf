// The grade sheet's context menu: statistics, the CSV, Excel and PDF copies.
#include "../support/pdftext.h"
#include "../support/programondisk.h"
#include "../support/realdisk.h"
#include "core/card/pageheader.h"
#include "core/copies/sheetcsv.h"
#include "gui/windows/sheet/sheetcontextmenu.h"
#include "gui/windows/sheet/statisticsdialog.h"

#include <QTableWidget>

using namespace Qt::StringLiterals;
using sheet::SheetContextMenu;

static const QString kFile = u"8410203C07120002025.xml"_s; // three exams, the last not graded
static const QByteArray kOldCopy("an older copy the teacher keeps");

enum class Target { Written, Unsaved, GivenUp, RefusedGrade, ReadOnly, Full, NoTemporaryFolder };
Q_DECLARE_METATYPE(Target)

class TestSheetContextMenu : public QObject {
    Q_OBJECT

    SheetContextMenu* tools() const { return m_program->sheet()->findChild<SheetContextMenu*>(); }
    QString copyPath(const QString& name) const { return m_program->filePath("copies/" + name); }

    std::unique_ptr<ProgramOnDisk> m_program;

private slots:
    void init()
    {
        m_program = std::make_unique<ProgramOnDisk>();
        QVERIFY(QDir().mkdir(copyPath({})) && m_program->openSample(kFile));
    }
    void cleanup() { m_program.reset(); }

    // The grade being typed counts as saved; a refused one keeps the cursor and opens nothing.
    void statisticsCountTheGradeBeingTyped()
    {
        sheet::GradeGrid* grid = m_program->grid();
        typeInto(grid, "p1e3", u"8"_s);
        tools()->showStatistics();
        QTRY_VERIFY(qobject_cast<sheet::StatisticsDialog*>(QApplication::activeModalWidget()));
        QWidget* dialog = QApplication::activeModalWidget();
        QCOMPARE(grid->text({4, 1}), u"08.00"_s);
        const sheet::ExamStatistics typed = tools()->statistics().back();
        QCOMPARE(typed.graded, 1);
        const QStringList figures = sheet::figureTextsOf(typed);
        for (int row = 0; row < figures.size(); ++row)
            QCOMPARE(dialog->findChild<QLabel*>(u"figure2_%1"_s.arg(row))->text(), figures[row]);
        dialog->close();
        QTRY_VERIFY(!QApplication::activeModalWidget());

        typeInto(grid, "p2e3", u"25"_s);
        tools()->showStatistics(); // a dialog would be shown before this returns
        QVERIFY(!QApplication::activeModalWidget() && grid->activeCell().row == 2);
    }

    // Each exam's grades by band, counted from their whole part: the dialog's table, the summary's
    // PDF and the gradefile tool give the same counts (check_xlsxcopy.py compares the workbook).
    void distributionAgreesEverywhere()
    {
        QProcess tool;
        tool.start(GRADEFILE_TOOL, {u"stats"_s, m_program->filePath(kFile)});
        QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
        const QJsonArray stats = QJsonDocument::fromJson(tool.readAllStandardOutput()).array();
        tools()->showStatistics();
        QTRY_VERIFY(qobject_cast<sheet::StatisticsDialog*>(QApplication::activeModalWidget()));
        QWidget* dialog = QApplication::activeModalWidget();
        const auto* table = dialog->findChild<QTableWidget*>(u"distributionTable"_s);
        const gradefile::SheetTable texts = m_program->sheet()->sheetTable();
        QCOMPARE(table->rowCount(), stats.size());
        QStringList pageLines(
            10); // what each band's line of the PDF holds, the last exam's at the left
        for (int row = 0; row < table->rowCount(); ++row) {
            QList<int> bands(10), shown, given;
            for (size_t pupil = 1; pupil < texts.size(); ++pupil) {
                const QString text = texts[pupil][size_t(6 - row)];
                if (QRegularExpression(u"^\\d\\d\\.\\d\\d$"_s).match(text).hasMatch())
                    ++bands[std::min(text.left(2).toInt() / 2, 9)];
            }
            for (int band = 0; band < 10; ++band) {
                shown << table->item(row, band)->text().toInt();
                given << stats[row][u"distribution"_s][band].toInt();
                pageLines[band].prepend(QString::number(bands[band]));
            }
            QCOMPARE(shown, bands);
            QCOMPARE(given, bands);
        }
        QString saved;
        tools()->setPathChooser([&](SheetContextMenu::CopyKind, const QString& offered) {
            return saved = copyPath(offered);
        });
        dialog->findChild<QPushButton*>(u"saveSummaryButton"_s)->click();
        dialog->close();
        QVERIFY(saved.endsWith(u".pdf"_s) &&
                saved !=
                    copyPath(print::suggestedPdfFileName(m_program->cardTexts().sheetDescription)));
        SKIP_WITHOUT_POPPLER();
        const QString text = pdfPageTexts(saved).value_or(QStringList()).join('\n');
        QVERIFY(wordsMissingFrom(text, m_program->cardTexts().sheetDescription).isEmpty());
        QStringList lines;
        for (const QString& line : text.split('\n'))
            lines << pdfSkeleton(line).remove(' ');
        for (int band = 0; band < 10; ++band)
            QVERIFY2(lines.contains(pageLines[band] + sheet::gradeBandLabel(band).remove(' ')),
                     qPrintable(pageLines[band]));
    }

    void copies_data()
    {
        // The item of the grid's menu; the reason the message gives, none when nothing is shown.
        const auto row =
            dataTable<QString, QString, Target, QString>({"item", "suffix", "target", "reason"});
        const QString readOnly = u"لا يمكن الكتابة في هذا المجلّد أو القرص محمي : اختر مكانا آخر."_s;
        const QString full = u"لا يتّسع القرص لهذا الملفّ : اختر قرصا آخر."_s;
        const std::pair<QString, QString> copies[] = {{SheetContextMenu::kCsvItem, u"csv"_s},
                                                      {SheetContextMenu::kXlsxItem, u"xlsx"_s},
                                                      {SheetContextMenu::kPdfItem, u"pdf"_s}};
        for (const auto& [item, suffix] : copies) {
            const QByteArray kind = suffix.toUpper().toLatin1();
            row(kind + " written", item, suffix, Target::Written, {});
            row(kind + ", the teacher gives up", item, suffix, Target::GivenUp, {});
            row(kind + ", read-only folder", item, suffix, Target::ReadOnly, readOnly);
            row(kind + ", full disk", item, suffix, Target::Full, full);
        }
        row("CSV, a refused grade typed", SheetContextMenu::kCsvItem, u"csv"_s,
            Target::RefusedGrade, {});
        row("PDF, a grade typed", SheetContextMenu::kPdfItem, u"pdf"_s, Target::Unsaved, {});
        // The workbook is made whole in the system's temporary folder before it is written.
        row("XLSX, no temporary folder", SheetContextMenu::kXlsxItem, u"xlsx"_s,
            Target::NoTemporaryFolder, u"تعذّرت الكتابة على القرص."_s);
    }
    // A copy is the sheet as shown and changes nothing else; a disk that refuses it says why and
    // keeps the old copy whole.
    void copies()
    {
        QFETCH(QString, item);
        QFETCH(QString, suffix);
        QFETCH(Target, target);
        QFETCH(QString, reason);
        const print::CardTexts card = m_program->cardTexts();
        const QByteArray file = readBytes(m_program->filePath(kFile));
        const QString name = "copy." + suffix;
        std::unique_ptr<TmpfsMount> mount;
        if (!reason.isEmpty()) {
            mount = std::make_unique<TmpfsMount>(copyPath({}), "size=64k");
            if (!mount->isMounted())
                QSKIP(qPrintable("cannot mount a tmpfs: " + mount->error()));
            QVERIFY(writeBytes(copyPath(name), kOldCopy));
            QFile filler(copyPath(u"filler"_s));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (target == Target::Full && filler.write("x", 1) == 1) {
            }
            filler.close();
            QVERIFY(target != Target::ReadOnly || mount->makeReadOnly());
        }
        QString suggested;
        tools()->setPathChooser([&](SheetContextMenu::CopyKind, const QString& offered) {
            suggested = offered;
            return target == Target::GivenUp ? QString() : copyPath(mount ? name : offered);
        });
        const bool unsaved = target == Target::Unsaved || target == Target::RefusedGrade;
        if (unsaved)
            typeInto(m_program->grid(), "p2e3", target == Target::Unsaved ? u"8"_s : u"25"_s);
        const QStringList before = QDir(copyPath({})).entryList(QDir::Files);

        const QByteArray temporaryFolder = qgetenv("TMPDIR");
        if (target == Target::NoTemporaryFolder) // a file where the folder should be
            qputenv("TMPDIR", QFile::encodeName(m_program->filePath(kFile)));
        DialogAnswers answers({Answer::Yes});
        const bool written = target == Target::Written || target == Target::Unsaved;
        tools()->showMenu({5, 5});
        QVERIFY(chooseMenuItem(item));
        qputenv("TMPDIR", temporaryFolder);
        QCOMPARE(answers.shown.size(), reason.isEmpty() ? 0 : 1);
        if (!reason.isEmpty()) {
            const QString text = answers.shown.first().text;
            QVERIFY2(text.startsWith(u"لم يقع حفظ النسخة، ولم يتغيّر أيّ ملفّ :"_s) &&
                         text.contains(reason) && text.contains(copyPath(name)),
                     qPrintable(text));
            QCOMPARE(readBytes(copyPath(name)), kOldCopy);
        }
        QCOMPARE(suggested.isEmpty(), target == Target::RefusedGrade);
        QVERIFY(target != Target::Written || suggested.endsWith('.' + suffix));
        const gradefile::SheetTable table = m_program->sheet()->sheetTable();
        if (written && suffix == "pdf") {
            SKIP_WITHOUT_POPPLER();
            const QString text =
                pdfPageTexts(copyPath(suggested)).value_or(QStringList()).join(' ');
            const QString shown =
                table[1][6] + ' ' + table[1][7] + ' ' + table.back()[7] + ' ' +
                (unsaved ? print::kWorkingCopyMark : u"ر.ط : %1"_s.arg(card.printNumber));
            QVERIFY(wordsMissingFrom(text, shown).isEmpty());
            QCOMPARE(wordsMissingFrom(text, u"ر.ط"_s).isEmpty(), !unsaved);
        } else if (written && suffix == "xlsx") {
            QVERIFY(readBytes(copyPath(suggested)).startsWith("PK\x03\x04")); // a workbook's zip
        } else if (written) {
            // The window's copy is the one gradefile makes of the same texts.
            sheet::GradeSheet opened;
            opened.reset(table);
            QCOMPARE(readBytes(copyPath(suggested)), sheet::sheetCsv(opened));
        } else {
            QCOMPARE(QDir(copyPath({})).entryList(QDir::Files), before);
        }
        QCOMPARE(readBytes(m_program->filePath(kFile)), file);
        QVERIFY(m_program->cardTexts().printNumber == card.printNumber &&
                m_program->cardTexts().saveNumber == card.saveNumber);
        QCOMPARE(m_program->sheet()->isModified(), unsaved);
    }
};

QTEST_MAIN(TestSheetContextMenu)
#include "tst_sheetcontextmenu.moc"
