// A class's grades imported from a file into a real grade sheet, through the grid's menu.
#include "../support/programondisk.h"
#include "gui/windows/sheet/importdialog.h"
#include "gui/windows/sheet/sheetcontextmenu.h"

using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(sheet::SourceError)

static const QString kFile = u"8410203C07120002025.xml"_s; // 30 pupils, three exams

class TestImportGrades : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramOnDisk> m_program;

    // Runs the import from the menu's command; the dialog is given to act, then answered. What
    // the sheet's status line then says.
    bool importGrades(const std::function<void(sheet::ImportDialog&)>& act, QString& status)
    {
        whenModalOpens(this, [&](QWidget* modal) {
            auto* dialog = qobject_cast<sheet::ImportDialog*>(modal);
            QVERIFY(dialog);
            act(*dialog);
            if (!dialog->importButton()->isEnabled()) // nothing to import
                return dialog->findChild<QPushButton*>(u"cancelButton"_s)->click();
            dialog->importButton()->click();
        });
        const bool imported =
            m_program->sheet()->findChild<sheet::SheetContextMenu*>()->importGrades();
        status = m_program->sheet()->statusText();
        return imported;
    }

private slots:
    void init()
    {
        m_program = std::make_unique<ProgramOnDisk>();
        QVERIFY(m_program->openSample(kFile));
    }
    void cleanup() { m_program.reset(); }

    void importFromFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("CSV") << u"class.csv"_s;
        QTest::newRow("workbook") << u"class.xlsx"_s;
    }
    // Each grade reaches its pupil by identifier and its exam by header, as the summary says.
    void importFromFile()
    {
        QFETCH(QString, source);
        if (source.endsWith(u".xlsx") &&
            sheet::readXlsxSource({}).error == sheet::SourceError::NoWorkbookReader)
            QSKIP("this build reads no workbook");
        sheet::ImportPlan shown;
        QString notice;
        QVERIFY(importGrades(
            [&](sheet::ImportDialog& dialog) {
                QVERIFY(dialog.loadSource(SAISIE_IMPORT_DATA_DIR "/" + source));
                QCOMPARE(dialog.identifierColumn()->currentIndex(), 1);
                QCOMPARE(dialog.plan().refused.size(), 1); // 25 for مريم's third exam
                // Every cell written counted, those that held no grade too.
                const QString summary = dialog.findChild<QLabel*>(u"summary"_s)->text();
                QVERIFY(summary.endsWith(u"لن تُكتب : 1\nأعداد ستُكتب : 5\n"
                                         u"أعداد موجودة ستتغيّر : 2\nخانات فارغة ستُملأ : 3"_s));
                dialog.examChoices()[3]->setCurrentIndex(0); // the teacher leaves that exam out
                shown = dialog.plan();
            },
            notice));
        QVERIFY(shown.matched == 4 && shown.unknown == QStringList{u"99999999"_s});
        QVERIFY(shown.missing.size() == 26 && shown.refused.empty() && shown.changed.size() == 2);
        QCOMPARE(shown.changed[1].pupil.name + shown.changed[1].before + shown.changed[1].value,
                 u"خليل بن صالح04.7508.50"_s);
        QCOMPARE(notice, u"أعداد كُتبت : 2\nأعداد مرفوضة : 0"_s);
        QVERIFY(activate(m_program->sheet())); // the dialogs gone
        pressKey(Qt::Key_F4);
        const QStringList lines =
            gradefile::readGradeFile(m_program->filePath(kFile)).lines.value();
        for (const QString& line : {u"1|3|20250145|سلمى الدريدي|00.00|12.50|--.--"_s,
                                    u"2|1|20250119|آمنة الجربي|15.00|معفى|--.--"_s,
                                    u"3|4|20250158|خليل بن صالح|06.25|08.50|--.--"_s,
                                    u"3|6|20250184|إيمان بن علي|08.00|09.50|--.--"_s})
            QVERIFY2(lines.contains(line), qPrintable(line));
    }

    void hostileFile_data()
    {
        const auto row = dataTable<QString, sheet::SourceError>({"source", "error"});
        row("not a zip", u"not-a-workbook.xlsx"_s, sheet::SourceError::NotAWorkbook);
        row("no sheet", u"no-sheet.xlsx"_s, sheet::SourceError::NoSheet);
        row("zip bomb", u"huge-strings.xlsx"_s, sheet::SourceError::TooLarge);
    }
    // A file that is no class's grades says why and imports nothing.
    void hostileFile()
    {
        auto [source, error] = fetchRow<QString, sheet::SourceError>({"source", "error"});
        if (sheet::readXlsxSource({}).error == sheet::SourceError::NoWorkbookReader)
            error = sheet::SourceError::NoWorkbookReader;
        const QByteArray before = readBytes(m_program->filePath(kFile));
        QString notice;
        QVERIFY(!importGrades(
            [&](sheet::ImportDialog& dialog) {
                QVERIFY(!dialog.loadSource(SAISIE_IMPORT_DATA_DIR "/" + source));
                QCOMPARE(dialog.findChild<QLabel*>(u"summary"_s)->text(),
                         sheet::sourceErrorText(error));
            },
            notice));
        QVERIFY(notice.isEmpty() && !m_program->sheet()->isModified());
        QCOMPARE(readBytes(m_program->filePath(kFile)), before);
    }
};

QTEST_MAIN(TestImportGrades)
#include "tst_importgrades.moc"
