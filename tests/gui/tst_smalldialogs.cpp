// The about box's telephone, the yes-or-no question, every window whole in a larger font.
#include "../support/fakeobservationsheet.h"
#include "../support/programondisk.h"
#include "core/sheet/openedsheet.h"
#include "gui/preview/previewwindow.h"
#include "gui/ui/notice.h"
#include "gui/ui/questiondialog.h"
#include "gui/ui/uilook.h"
#include "gui/windows/app/aboutbox.h"
#include "gui/windows/observation/observationdialog.h"
#include "gui/windows/sheet/importdialog.h"
#include "gui/windows/sheet/statisticsdialog.h"

using namespace Qt::StringLiterals;
using ui::QuestionDialog;

class TestSmallDialogs : public QObject {
    Q_OBJECT

private slots:
    // The program's settings live in a folder for tests.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(ui::kProgramTitle);
        QCoreApplication::setApplicationName(ui::kProgramTitle);
    }

    // Yes is the default button; Escape answers nothing, the question staying; the close box is No.
    void questionClosing_data()
    {
        // withNo: a question, else a notice; key: to the focus, 0 for the close box
        const auto row = dataTable<bool, int, bool>({"withNo", "key", "yes"});
        row("question, Enter", true, Qt::Key_Return, true);
        row("question, close box", true, 0, false);
        row("question, Escape", true, Qt::Key_Escape, false);
        row("notice, Enter", false, Qt::Key_Return, true);
        row("notice, Escape", false, Qt::Key_Escape, false);
    }
    void questionClosing()
    {
        QFETCH(bool, withNo);
        QFETCH(int, key);
        QObject scope;
        bool stayedOpen = false;
        whenModalOpens(&scope, [&](QWidget* modal) {
            if (key)
                QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key(key));
            stayedOpen = key && modal->isVisible();
            modal->close(); // by the close box, if no key or the key left it open
        });
        const auto buttons =
            withNo ? QuestionDialog::Buttons::YesNo : QuestionDialog::Buttons::YesOnly;
        const auto answer = QuestionDialog::ask(u"حفظ التغييرات"_s, buttons, ui::kProgramTitle);
        QCOMPARE(stayedOpen, key == Qt::Key_Escape);
        QTEST(answer == QuestionDialog::Answer::Yes, "yes");
    }

    // Every label and button shows whole in a larger font, every window on the screen.
    void wholeInALargerFont_data()
    {
        const auto row = dataTable<QString, int>({"window", "percent"});
        for (const char* window : {"main", "about", "question", "observations", "preview", "sheet",
                                   "import", "statistics"})
            for (int percent : {100, 150, 200})
                row(QByteArray(window) + ", " + QByteArray::number(percent) + '%', window, percent);
    }
    void wholeInALargerFont()
    {
        QFETCH(int, percent);
        QApplication::setFont(ui::programFont(ui::kDesignedPointSize * percent / 100));
        FakeObservationSheet pupils({u"1"_s});
        qint16 row = 1;
        ProgramOnDisk program;
        const QString six = u"8410203L09310002025.xml"_s; // a sheet of six exams
        QVERIFY(program.copySample(six));
        const std::map<QString, std::function<QWidget*()>> open{
            {u"sheet"_s, [&] { return program.open(six); }}, // the program's own
            {u"main"_s,
             [&] { return new app::MainWindow(program.appState, program.sheetState, u"A"_s); }},
            {u"about"_s, [&] { return new app::AboutBox(program.appState); }},
            {u"question"_s,
             [] {
                 return new QuestionDialog(u"حفظ التغييرات"_s, QuestionDialog::Buttons::YesNo, {});
             }},
            {u"observations"_s, [&] { return new observation::ObservationDialog(pupils, row); }},
            {u"preview"_s, [] { return new print::PreviewWindow({}, {}, {}); }},
            {u"import"_s, [&] {
                 auto* dialog = new sheet::ImportDialog(program.open(six)->sheet(), nullptr);
                 dialog->loadSource(SAISIE_IMPORT_DATA_DIR "/class.csv");
                 return dialog;
             }},
            {u"statistics"_s, [&] {
                 const auto exams = sheet::classStatistics(program.open(six)->sheet());
                 return new sheet::StatisticsDialog({six, {}, 30, exams});
             }}};
        QFETCH(QString, window);
        QWidget* shown = open.at(window)();
        const std::unique_ptr<QWidget> owned(window == u"sheet"_s ? nullptr : shown);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        // The window manager's frame aside, which the program cannot know before it shows.
        QVERIFY(QRect({}, shown->screen()->availableSize()).contains(shown->rect()));
        // The sheet shows its whole class or fills the screen's height, and can be resized; so
        // can the import, its list taking the room.
        auto* list = shown->findChild<QPlainTextEdit*>(u"details"_s);
        if (list && shown->height() + 50 <= shown->screen()->availableSize().height()) {
            const int before = list->height();
            shown->resize(shown->width(), shown->height() + 50);
            QTRY_VERIFY(list->height() > before);
        }
        QVERIFY(window != u"sheet"_s ||
                (shown->maximumHeight() > shown->height() &&
                 (program.grid()->verticalScrollBar()->maximum() == 0 ||
                  shown->height() + 40 >= shown->screen()->size().height())));
        // The phrase keys' frame shows its sides; the box leaves room for a Windows frame's.
        if (auto* keys = shown->findChild<QGroupBox*>(u"shortcutFrame"_s))
            QVERIFY(shown->rect().adjusted(1, 0, -1, 0).contains(keys->geometry()) &&
                    shown->width() + 16 <= shown->screen()->availableSize().width());
        for (QWidget* widget : shown->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(widget);
            if (!widget->isVisible() || !(label || qobject_cast<QAbstractButton*>(widget)))
                continue;
            const QSize needed = label && label->wordWrap()
                                     ? QSize(0, label->heightForWidth(label->width()))
                                     : widget->sizeHint();
            QWidget* room = shown; // what a scroll area holds shows by scrolling
            for (QWidget* up = widget; up != shown; up = up->parentWidget())
                if (auto* area = qobject_cast<QScrollArea*>(up))
                    room = area->widget();
            const QRect place(widget->mapTo(room, QPoint()), widget->size());
            QVERIFY2(widget->width() >= needed.width() && widget->height() >= needed.height() &&
                         room->rect().contains(place),
                     qPrintable(widget->objectName()));
        }
    }

    // The telephone line shows only what the administration recorded in the settings.
    void telephoneOnlyWhenRecorded_data()
    {
        const auto row = dataTable<QString, QString>({"recorded", "line"}); // label and number
        row("none", QString(), QString());
        row("blank", u"   "_s, QString());
        row("recorded", u"00 00 00 00"_s, u"الهاتف : 00 00 00 00"_s);
    }
    void telephoneOnlyWhenRecorded()
    {
        QFETCH(QString, recorded);
        QSettings settings;
        settings.remove(ui::kSupportTelephoneKey);
        if (!recorded.isNull())
            settings.setValue(ui::kSupportTelephoneKey, recorded);
        settings.sync();
        app::AppState state;
        app::AboutBox about(state);
        QTEST(about.findChild<QLabel*>(u"telephoneLabel"_s)->text() +
                  about.findChild<QLabel*>(u"telephoneNumber"_s)->text(),
              "line");
    }
};

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
