// The grade card from the sheet's keys, to a PDF: F6 filled after its save, F8 blank, F7 preview.
#include "../support/pdftext.h"
#include "../support/programondisk.h"
#include "../support/repeatedpupils.h"
#include "../support/writefaults.h"
#include "gui/preview/previewwindow.h"
#include "print/cardprinter.h"

#include <QPrintPreviewWidget>

using namespace Qt::StringLiterals;

const QString kSample = u"8410203C07120002025.xml"_s;

class TestPrintCard : public QObject {
    Q_OBJECT

private:
    // The sample, or a class of its pupils repeated, open; no printer: the card goes to m_pdfPath.
    void openSample(int pupils = 0)
    {
        m_program = std::make_unique<ProgramOnDisk>();
        const auto read = gradefile::readGradeFile(SAISIE_SOURCE_DIR "/examples/floppy/" + kSample);
        QVERIFY(read.lines);
        QVERIFY(m_program->writeFile(
            kSample, pupils > 0 ? linesWithPupilsRepeated(*read.lines, pupils) : *read.lines));
        QVERIFY(m_program->open(kSample));
        grid()->setFocus();
        m_pdfPath = m_folder.filePath(u"card.pdf"_s);
        QFile::remove(m_pdfPath);
        m_pdfAsked = 0;
        const auto askPdf = [this](const QString& suggested) {
            m_suggested = suggested, ++m_pdfAsked;
            return suggested.endsWith(QLatin1String(".pdf")) ? m_pdfPath : QString();
        };
        sheetWindow()->setCardDestination({[] { return false; }, askPdf});
        m_screenAtOpening = screenLook();
    }
    // The widths of the window and grid, and of each row and column what the teacher sees.
    QString screenLook() const
    {
        QStringList look{QString::number(sheetWindow()->width()),
                         QString::number(grid()->isVisible() ? grid()->width() : -1)};
        for (int row = 0; row <= grid()->maxRows(); ++row)
            look << QString::number(grid()->sheetRowHeight(row)) +
                        QString::number(row > 0 && grid()->sheet().nameLook(row).bold) +
                        grid()->font().toString();
        for (int col = 0; col <= grid()->maxCols(); ++col)
            look << QString::number(grid()->sheetColumnUnits(col)) + grid()->text({col, 0});
        return look.join(u'|');
    }
    // The card as poppler reads it back: every piece of text with its place, size and font.
    QString pdfLayout() const
    {
        QProcess pdftohtml;
        pdftohtml.start("pdftohtml", {"-xml", "-i", "-q", "-stdout", m_pdfPath});
        pdftohtml.waitForFinished(60000);
        return QString::fromUtf8(pdftohtml.readAllStandardOutput());
    }
    void forgetCardSent() const { sheetWindow()->findChild<QTimer*>("statusTimer")->stop(); }
    sheet::GradeSheetWindow* sheetWindow() const { return m_program->sheet(); }
    sheet::GradeGrid* grid() const { return m_program->grid(); }
    QString pdfText() const { return pdfPageTexts(m_pdfPath).value_or(QStringList()).join(u'\n'); }
    QStringList fileLines() const
    {
        return gradefile::readGradeFile(m_program->filePath(kSample)).lines.value_or(QStringList());
    }
    // F7 from the sheet: the preview once it has the keyboard, else none.
    print::PreviewWindow* pressF7()
    {
        if (!activate(sheetWindow()))
            return nullptr;
        QTest::keyClick(grid(), Qt::Key_F7);
        print::PreviewWindow* preview = sheetWindow()->previewWindow();
        return preview && QTest::qWaitFor([=] { return preview->isActiveWindow(); }) ? preview
                                                                                     : nullptr;
    }

    std::unique_ptr<ProgramOnDisk> m_program;
    QTemporaryDir m_folder;
    QString m_pdfPath;
    int m_pdfAsked = 0;
    QString m_suggested;
    QString m_screenAtOpening; // printing and previewing leave the screen as it was

private slots:
    void cleanup() { m_program.reset(); }

    // Unsaved, F6 asks to save first; the card carries the save's number as its print number.
    void filledCardAfterItsSave()
    {
        openSample();
        const print::CardTexts& texts = m_program->cardTexts();
        const qint16 savedBefore = texts.saveNumber;
        DialogAnswers answers({Answer::Yes, Answer::Yes});
        QTest::keyClick(grid(), Qt::Key_F6);
        QTRY_COMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.shown.first().text,
                 u"لا يمكنك طباعة بطاقة الأعداد إلاّ بعد حفظها بالقرص المرن - طباعة ؟"_s);
        QVERIFY(m_pdfAsked == 1 && sheetWindow()->focusWidget() == grid());
        QVERIFY(texts.saveNumber != savedBefore && texts.printNumber == texts.saveNumber);
        SKIP_WITHOUT_POPPLER();
        QVERIFY(wordsMissingFrom(pdfText(),
                                 u"ر.ط : %1 "_s.arg(texts.printNumber) + grid()->text({7, 1}))
                    .isEmpty());
        QCOMPARE(screenLook(), m_screenAtOpening);
        // The status line says where the card went; F6 again meanwhile is no second card. Saved, a
        // print asks nothing until a grade is typed, then prints it under its save's number.
        QVERIFY2(sheetWindow()->statusText().contains(QFileInfo(m_pdfPath).path()) &&
                     sheetWindow()->statusText().endsWith(u"الصفحات : 2"_s),
                 qPrintable(sheetWindow()->statusText() + m_pdfPath));
        QTest::keyClick(grid(), Qt::Key_F6);
        QVERIFY(m_pdfAsked == 1 && !m_suggested.contains(u"قبل الرقن"_s));
        forgetCardSent();
        QVERIFY(sheetWindow()->printFilledCard() && answers.shown.size() == 1);
        typeInto(grid(), "p1e1", u"13.75"_s);
        QVERIFY(sheetWindow()->printFilledCard() && answers.shown.size() == 2);
        QVERIFY(wordsMissingFrom(pdfText(), u"13.75 ر.ط : %1"_s.arg(texts.saveNumber)).isEmpty());
        QVERIFY(fileLines().value(2).endsWith(u"|13.75|معفى|--.--"_s));
    }

    // No card unlike the disk (save declined or failed), no print number used up for it.
    void filledCardNotPrintedUnsaved()
    {
        openSample();
        const QStringList before = fileLines();
        DialogAnswers answers({Answer::No, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes});
        QTest::keyClick(grid(), Qt::Key_F6);
        QTRY_COMPARE(answers.shown.size(), 1);
        QCOMPARE(screenLook(), m_screenAtOpening);
        const WriteFaults fullDisk(gradefile::WriteStep::CheckFolder); // nothing reaches the disk
        sheetWindow()->setWriteFaults(&fullDisk);
        QVERIFY(!sheetWindow()->printFilledCard() && answers.shown.size() == 4);
        QCOMPARE(answers.shown.last().text,
                 u"لم تقع طباعة بطاقة الأعداد لأنّها لم تحفظ بالقرص المرن."_s);
        QVERIFY(m_pdfAsked == 0 && !QFile::exists(m_pdfPath));
        QVERIFY(fileLines() == before && !sheetWindow()->isSaved());
        sheetWindow()->setWriteFaults(nullptr);
        m_pdfPath.clear(); // the PDF given up
        QVERIFY(!sheetWindow()->printFilledCard() && sheetWindow()->save());
        QVERIFY2(fileLines().last().endsWith("||5|3"), qPrintable(fileLines().last()));
    }

    // The blank card has every pupil and no grade; neither card nor the screen changes the other:
    // not a bold name, not five rounds of large presentation, F7 and Escape.
    void screenAndCardApart()
    {
        openSample();
        const QString grade = grid()->text({6, 1});
        const qint16 printNumber = m_program->cardTexts().printNumber;
        QTest::keyClick(grid(), Qt::Key_F8);
        QTest::keyClick(grid(), Qt::Key_F8); // pressed twice: one card, named apart from the filled
        QVERIFY(m_pdfAsked == 1 && m_suggested.endsWith(u" - قبل الرقن.pdf"_s));
        SKIP_WITHOUT_POPPLER();
        const QString printed = pdfText();
        QVERIFY2(!grade.isEmpty() && !printed.contains(grade) && !printed.contains(u"--.--"_s),
                 qPrintable(printed));
        for (int row = 1; row <= grid()->maxRows(); ++row)
            QVERIFY(wordsMissingFrom(printed, grid()->text({7, row})).isEmpty());
        QCOMPARE(grid()->text({6, 1}), grade);
        QVERIFY(m_program->cardTexts().printNumber == printNumber && !sheetWindow()->isModified());
        QCOMPARE(screenLook(), m_screenAtOpening);
        const QString blank = pdfLayout();
        observe(sheetWindow(), 2, u"عمل جيد"_s);
        QVERIFY(grid()->sheet().nameLook(2).bold);
        QVERIFY(sheetWindow()->printBlankCard() && blank.contains("20250132"));
        QVERIFY(pdfLayout() == blank);
        DialogAnswers answers({Answer::Yes});
        QVERIFY(sheetWindow()->printFilledCard());
        const QString filled = pdfLayout();
        auto* toggle = sheetWindow()->findChild<QPushButton*>("presentationButton");
        const QSize window = sheetWindow()->size(), gridSize = grid()->size();
        for (int round = 0; round < 5; ++round) {
            QTest::mouseClick(toggle, Qt::LeftButton);
            const QString large = screenLook();
            forgetCardSent();
            QVERIFY(sheetWindow()->printFilledCard() && pdfLayout() == filled);
            print::PreviewWindow* preview = pressF7();
            QVERIFY(preview);
            QTest::keyClick(preview->preview(), Qt::Key_Escape);
            QTRY_VERIFY(!sheetWindow()->previewWindow());
            QCOMPARE(screenLook(), large);
            QTest::mouseClick(toggle, Qt::LeftButton);
            QVERIFY(sheetWindow()->size() == window && grid()->size() == gridSize);
        }
    }

    // Paging, changes, a print and zooms in the preview: the card as it prints, on its page.
    void previewAsTheTeacherUsesIt()
    {
        openSample(90);
        // F7 checks the grade being typed: refused, no preview; accepted, written as printed.
        takeSteps(grid(), "type p2e1 25;F7");
        QVERIFY(!sheetWindow()->previewWindow());
        QVERIFY(grid()->activeCell().column == 6 && grid()->activeCell().row == 2);
        pressKey(Qt::Key_Escape);
        takeSteps(grid(), "type p2e1 7;F7");
        print::PreviewWindow* window = sheetWindow()->previewWindow();
        QVERIFY(window && QTest::qWaitFor([=] { return window->isActiveWindow(); }));
        QVERIFY(grid()->text({6, 2}) == u"07.00"_s &&
                window->card().sheet.cellAt(6, 2).text == u"07.00"_s);
        QVERIFY(!window->isModal() && window->isMaximized() && !QGuiApplication::overrideCursor());
        auto* zoomList = window->findChild<QComboBox*>("zoomList");
        auto* label = window->findChild<QLabel*>("pageLabel");
        QVERIFY(zoomList->currentText() == u"كامل الصفحة"_s &&
                window->preview()->zoomMode() == QPrintPreviewWidget::FitInView);
        const print::PreviewCard& card = window->card(); // as it prints, on as many pages
        QCOMPARE(card.sheet.cellAt(8, 0).text, u"المعرّف"_s);
        QCOMPARE(window->pageCount(),
                 print::writeCardPdf(card.sheet, card.codes, m_pdfPath).pageCount);
        QVERIFY(window->pageCount() == 5 && screenLook() == m_screenAtOpening);

        // D Page Down, U Page Up, N and P the next and previous buttons.
        const auto click = [window](const char* button) {
            QTest::mouseClick(window->findChild<QToolButton*>(button), Qt::LeftButton);
        };
        QCOMPARE(label->text(), u"الصفحة 1"_s);
        for (const char* step :
             {"D2", "N3", "D4", "D5", "N5", "P4", "U3", "P2", "U1", "P1", "D2", "D3"}) {
            if (step[0] == 'D' || step[0] == 'U')
                QTest::keyClick(window->preview(),
                                step[0] == 'D' ? Qt::Key_PageDown : Qt::Key_PageUp);
            else
                click(step[0] == 'N' ? "nextButton" : "previousButton");
            QCOMPARE(window->currentPage(), step[1] - '0');
            QCOMPARE(label->text(), u"الصفحة "_s + QLatin1Char(step[1]));
        }

        // F7 again shows the sheet as it is now, in the same window, on the same page.
        grid()->sheet().setData(grid()->sheet().indexOf({6, 1}), u"17.50"_s);
        QVERIFY(pressF7() == window && window->card().sheet.cellAt(6, 1).text == u"17.50"_s);
        QCOMPARE(window->currentPage(), 3);

        // Printing saves first; the preview stays, showing the new print number.
        QFile::remove(m_pdfPath);
        DialogAnswers answers({Answer::Yes});
        click("printButton");
        QTRY_COMPARE(answers.shown.size(), 1);
        QVERIFY(QFile::exists(m_pdfPath) && sheetWindow()->previewWindow() == window);
        const auto* sent = window->findChild<QLabel*>(u"sentLine"_s);
        QVERIFY(sent->isVisible() && sent->text().contains(QFileInfo(m_pdfPath).fileName()));
        const print::CardTexts& texts = m_program->cardTexts();
        QCOMPARE(texts.printNumber, texts.saveNumber);
        QCOMPARE(window->card().codes.header.value(4)[print::CentrePart],
                 u"ر.ط : %1"_s.arg(texts.printNumber));
        QCOMPARE(screenLook(), m_screenAtOpening);

        // A save shows the preview the card as the disk now holds it.
        grid()->sheet().setData(grid()->sheet().indexOf({6, 1}), u"18.25"_s);
        QVERIFY(sheetWindow()->save() && window->card().sheet.cellAt(6, 1).text == u"18.25"_s);

        // The zoom button: the whole page, the list's last choice (100% at first), the whole page.
        click("zoomButton");
        QCOMPARE(window->preview()->zoomFactor(), 1.0);
        QCOMPARE(window->currentPage(), 3);
        QTest::keyClick(zoomList, Qt::Key_Up); // 100% up the list to 200%
        QTest::keyClick(zoomList, Qt::Key_Up);
        QCOMPARE(window->currentPage(), 3);
        auto* view = window->preview()->findChild<QGraphicsView*>();
        QList<QGraphicsItem*> pages = view->scene()->items();
        std::sort(pages.begin(), pages.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        const double shownTop = view->mapToScene(0, 0).y();
        QVERIFY(shownTop <= pages[2]->y() && shownTop > pages[1]->y()); // page 3, at its top
        for (int i = 0; i < 4; ++i)                                     // 200% down the list to 50%
            QTest::keyClick(zoomList, Qt::Key_Down);
        click("zoomButton");
        QCOMPARE(window->preview()->zoomMode(), QPrintPreviewWidget::FitInView);
        click("zoomButton");
        QVERIFY(zoomList->currentText() == u"50%"_s && window->preview()->zoomFactor() == 0.5);
        QCOMPARE(window->currentPage(), 3);

        QVERIFY(activate(window));
        QTest::keyClick(window->preview(), Qt::Key_Escape);
        QTRY_VERIFY(!sheetWindow()->previewWindow());
        QVERIFY(screenLook() == m_screenAtOpening && pressF7());
    }
};

QTEST_MAIN(TestPrintCard)
#include "tst_printcard.moc"
