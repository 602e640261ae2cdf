#include "../support/programondisk.h"
#include "gui/windows/sheet/annualaverageswindow.h"

// Grade entry through the real windows and keys, where the in-memory grid cannot go.

using sheet::GradeSheetWindow;

namespace {

const QString kKey = QStringLiteral("8410203C07120002004"); // two exams: columns 5 and 6
const QString kFile = kKey + QStringLiteral(".xml");
constexpr int kPupils = 10;
const QColor kRed(255, 0, 0), kWhite(255, 255, 255);

// Ten pupils, only the first graded (15.00 in column 6, 16.00 in 5): both exams are shown.
QStringList subjectFile()
{
    QStringList lines{"DEBUT" + kKey + "|8410203 إعدادية النور        [السابعة أساسي 2] عربية",
                      "TYPEEPREUVE:|فرض 1|فرض 2", "1|1|1001|تلميذ 1|15.00|16.00"};
    for (int pupil = 2; pupil <= kPupils; ++pupil)
        lines << QString("%1|%1|10%2|تلميذ %1").arg(pupil).arg(pupil, 2, 10, QChar(u'0'));
    return lines << "FIN" + kKey + "|صفاقس|النور|سلمى||6|4";
}

} // namespace

class TestGradeCellRules : public QObject {
    Q_OBJECT

private slots:
    void init() { m_program = std::make_unique<ProgramOnDisk>(); }
    void cleanup() { m_program.reset(); }

    // The editor lets only a grade through; Tab towards the name comes back to the grade; a refused
    // grade holds the cursor against a click, a corrected one lets an arrow go; nothing spills.
    void editorArrowsAndClicks()
    {
        QVERIFY(openSheet());
        m_grid->setActiveCell({6, 3});
        typeKeys(QStringLiteral("1a|ب2\b5"));
        pressKey(Qt::Key_Tab);
        QVERIFY(isAt(6, 3) && m_grid->text({6, 3}) == QStringLiteral("15.00"));
        typeKeys(QStringLiteral("33"));
        const QModelIndex elsewhere = m_grid->model()->index(6, 4);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          m_grid->visualRect(elsewhere).center());
        QVERIFY(isAt(6, 3) && backColour(*m_grid, {6, 3}) == kRed);
        typeKeys(QStringLiteral("9.5"));
        pressKey(Qt::Key_Left);
        QVERIFY(isAt(5, 3));
        QVERIFY(m_grid->text({6, 3}) == u"09.50" && backColour(*m_grid, {6, 3}) == kWhite);
        QVERIFY(m_grid->text({6, 4}).isEmpty());
    }

    // F4 saves nothing while off; a corrected grade at a column's foot wraps and enables it; the
    // entry mode's box gives the keys back to the grid; other window keys type nothing.
    void wrapsAndWindowKeys()
    {
        GradeSheetWindow* window = openSheet();
        QVERIFY(window);
        DialogAnswers closing({}); // a dialog a key opened is closed, never left to hang
        auto* exporter = window->findChild<QPushButton*>(QStringLiteral("saveButton"));
        pressKey(Qt::Key_F4);
        QVERIFY(!exporter->isEnabled() && !window->isSaved());
        takeSteps(m_grid, QString("type p%1e1 25;Return").arg(kPupils));
        QVERIFY(isAt(6, kPupils));
        takeSteps(m_grid, "1;2;Return");
        QVERIFY(m_grid->text({6, kPupils}) == u"12.00" &&
                backColour(*m_grid, {6, kPupils}) == kWhite);
        QVERIFY(isAt(5, 1) && window->isModified() && exporter->isEnabled());

        auto* box = window->findChild<QCheckBox*>(QStringLiteral("verticalEntry"));
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked() && m_grid->hasFocus());
        takeSteps(m_grid, "type p6e1 2;Return");
        QVERIFY(isAt(5, 6));
        takeSteps(m_grid, "5;F8;F12");
        QVERIFY(isAt(5, 6) && window->isVisible() && m_grid->text({5, 6}) == QStringLiteral("5"));
    }

    // Six exams show whole on a 1280-pixel screen; larger than the screen (large presentation,
    // doubled font) they scroll under the frozen pupil columns, no grade ever shown cut.
    void sixExamSheetShowsEveryGradeWhole()
    {
        const QString fileName = QStringLiteral("8410203L09310002025.xml"); // of the sample disk
        sheet::GradeSheetWindow* window = m_program->openSample(fileName);
        QVERIFY(window);
        m_grid = window->grid();
        QCOMPARE(m_grid->horizontalScrollBar()->maximum(), 0);
        QVERIFY(window->rect().contains(m_grid->geometry()) && cellsShowWhole(*m_grid, 1));
        const QFont designed = QApplication::font();
        const auto restoreFont = qScopeGuard([&] { QApplication::setFont(designed); });
        QFont doubled = designed;
        doubled.setPointSizeF(designed.pointSizeF() * 2);
        QApplication::setFont(doubled);
        window->toggleLargePresentation();
        QVERIFY(m_grid->horizontalScrollBar()->maximum() > 0);
        for (int col = 1; col <= 6; ++col) {
            m_grid->setActiveCell({col, 1});
            QVERIFY(cellsShowWhole(*m_grid, 1) && cellsShowWhole(*m_grid, 9));
            QVERIFY(
                m_grid->viewport()->rect().contains(m_grid->visualRect(m_grid->currentIndex())));
        }
    }

    // The averages sheet says, in full, it is for viewing only: no key or paste changes a grade,
    // the cursor still moves, nothing can be saved and the disk stays as it was.
    void annualAverages()
    {
        const QString fileName = QStringLiteral("8410203C0712MOY2025.xml"); // of the sample disk
        QVERIFY(m_program->copySample(fileName));
        m_program->open(fileName);
        QPointer<sheet::AnnualAveragesWindow> window = m_program->window()->annualAverages();
        QVERIFY(window && QTest::qWaitFor([window] { return window->isActiveWindow(); }));
        m_grid = window->grid();
        m_grid->setFocus();
        const QByteArray before = readBytes(m_program->filePath(fileName));
        const auto* label = window->findChild<QLabel*>(QStringLiteral("viewOnlyLabel"));
        QVERIFY(label && label->isVisible() && window->rect().contains(label->geometry()) &&
                label->height() >= label->heightForWidth(label->width()));
        QCOMPARE(label->text(),
                 QStringLiteral("هذا النوع من ملفات الأعداد للإطّلاع فقط: لا يحفظه هذا البرنامج."));
        // The commands stand against the grid: no empty band beside them.
        QCOMPARE(label->parentWidget()->parentWidget()->width(), label->parentWidget()->width());

        DialogAnswers answers({});
        m_grid->setActiveCell({1, 4});
        typeKeys(QStringLiteral("12\b"));
        for (int key = Qt::Key_F1; key <= Qt::Key_F8; ++key) {
            pressKey(Qt::Key(key));
            QVERIFY(window && window->isVisible() && isAt(1, 4) && !m_grid->isEditing());
        }
        QCOMPARE(m_grid->text({1, 4}), QStringLiteral("13.75"));
        QCOMPARE(m_grid->model()->index(3, 0).data(Qt::TextAlignmentRole),
                 int(Qt::AlignCenter | Qt::AlignAbsolute));
        pressKey(Qt::Key_Return);
        QVERIFY(isAt(1, 5));
        QGuiApplication::clipboard()->setText(QStringLiteral("17.5"));
        pressKey(Qt::Key_V, Qt::ControlModifier); // refused with a message
        QVERIFY(answers.shown.size() == 1 && answers.shown[0].text == sheet::kViewOnlyPaste);
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("saveButton"))->isEnabled());
        QCOMPARE(readBytes(m_program->filePath(fileName)), before);
    }

private:
    GradeSheetWindow* openSheet()
    {
        GradeSheetWindow* window = m_program->openWritten(kFile, subjectFile());
        m_grid = window ? window->grid() : nullptr;
        return window;
    }
    // A key per character ("\b" Backspace) to the focus: Arabic too, unlike QTest::keyClicks.
    void typeKeys(const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                                c == u'\b' ? Qt::Key_Backspace : Qt::Key(c.toUpper().unicode()),
                                QString(c), {});
    }
    bool isAt(int c, int r) const
    {
        return m_grid->activeCell().column == c && m_grid->activeCell().row == r;
    }

    std::unique_ptr<ProgramOnDisk> m_program;
    sheet::GradeGrid* m_grid = nullptr;
};

QTEST_MAIN(TestGradeCellRules)
#include "tst_gradecellrules.moc"
