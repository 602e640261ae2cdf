// Every word the teacher reads is Arabic, Qt's own dialogs and menus too, whatever the locale.
#include "../support/programondisk.h"
#include "gui/ui/filedialogs.h"
#include "gui/ui/notice.h"
#include "gui/ui/qtarabic.h"
#include "gui/ui/questiondialog.h"
#include "gui/ui/uilook.h"
#include "gui/windows/app/aboutbox.h"
#include "gui/windows/app/keptcopiesdialog.h"
#include "gui/windows/sheet/sheetcontextmenu.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Latin words the teacher may read: the function keys and the names of file formats.
const QRegularExpression
    kAllowed(uR"(\b(F\d|Ctrl|Shift|PDF|CSV|Excel|xml|pdf|csv|saisie-notes)\b)"_s);
const QRegularExpression kLatinWord(u"[A-Za-z]{2,}"_s);

QStringList textsOf(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) && !qobject_cast<QMenu*>(widget))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text() << button->toolTip();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            texts << group->title();
        if (qobject_cast<QMenu*>(widget) || qobject_cast<QMenuBar*>(widget))
            for (const QAction* action : widget->actions())
                texts << action->text();
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model())
            for (int column = 0; column < view->model()->columnCount(); ++column)
                texts << view->model()->headerData(column, Qt::Horizontal).toString();
    }
    return texts;
}

// The English the teacher would read in window, each text with what gave it away.
QStringList englishIn(QWidget* window)
{
    QStringList english;
    for (QString text : textsOf(window)) {
        text.remove(kAllowed);
        if (text.contains(kLatinWord) && !text.contains(u'/') && !text.contains(u'\\'))
            english << window->metaObject()->className() + u": "_s + text;
    }
    return english;
}

} // namespace

class TestArabicWords : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(ui::installQtArabic(*qApp)); }
    void everyWindowSpeaksArabic_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C locale") << u"C"_s;
        QTest::newRow("Arabic locale") << u"ar_TN"_s;
    }
    void everyWindowSpeaksArabic()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        QStringList english;
        ProgramOnDisk program(true);
        sheet::GradeSheetWindow* sheet = program.openSample(u"8410203C07120002025.xml"_s);
        QVERIFY(sheet);
        english << englishIn(program.window()) << englishIn(sheet);
        for (QMenu* menu : program.window()->menuBar()->findChildren<QMenu*>())
            english << englishIn(menu);
        QMenu* sheetMenu = sheet->findChild<sheet::SheetContextMenu*>()->showMenu({5, 5});
        english << englishIn(sheetMenu);
        sheetMenu->close();
        QLineEdit edit;
        std::unique_ptr<QMenu> editMenu(edit.createStandardContextMenu());
        english << englishIn(editMenu.get());

        // The modal windows, walked as they open and closed at once.
        DialogAnswers walk({},
                           [&](int) { english << englishIn(QApplication::activeModalWidget()); });
        ui::showNotice(nullptr, ui::kProgramTitle, u"نص"_s);
        ui::chooseFileToSave(nullptr, u"test"_s, u"حفظ"_s, u"ملف.pdf"_s, u"PDF (*.pdf)"_s);
        ui::chooseFolder(nullptr, u"test"_s, u"مجلّد"_s);
        ui::QuestionDialog::ask(u"سؤال"_s, ui::QuestionDialog::Buttons::YesNo, u"عنوان"_s);
        app::AboutBox(program.appState).exec();
        const gradefile::GradeDisk disk(program.diskPath());
        app::KeptCopiesDialog(recovery::KeptCopies(program.dataPath()), disk, u"K"_s).exec();
        QCOMPARE(walk.shown.size(), 6);
        QVERIFY2(english.isEmpty(), qPrintable(english.join(u"\n"_s)));
    }
    // A kind's first copy goes to the documents, the next where the teacher put the last one.
    void fileDialogsOpenWhereTheTeacherLastChose()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(u"tests"_s); // Windows keeps settings only with one
        QSettings().clear();
        QTemporaryDir chosen;
        QStringList opened;
        QObject context;
        const auto choose = [&](const QString& kind, const QString& file) {
            whenModalOpens(&context, [&, file](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                opened << (dialog ? dialog->directory().absolutePath() : QString());
                dialog->selectFile(file);
                file.isEmpty() ? dialog->reject() : static_cast<QDialog*>(dialog)->accept();
            });
            return ui::chooseFileToSave(nullptr, kind, u"حفظ"_s, u"ملف.pdf"_s, u"PDF (*.pdf)"_s);
        };
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        QCOMPARE(QFileInfo(choose(u"card"_s, chosen.filePath(u"a.pdf"_s))).path(), chosen.path());
        choose(u"card"_s, {});
        choose(u"csvCopy"_s, {});
        QCOMPARE(opened, (QStringList{documents, chosen.path(), documents}));
    }
    // Qt's own dialog gives its files' sizes, kinds and dates in figures and Arabic, in columns
    // wide enough, whatever the system's language.
    void fileDialogListsInFigures()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows shows its own dialog, in its own language");
#endif
        QTemporaryDir folder;
        QVERIFY(writeBytes(folder.filePath(u"a.pdf"_s), QByteArray(3000, 'x')));
        QSettings().setValue(u"folders/figures"_s, folder.path());
        QString cells;
        QObject context;
        whenModalOpens(&context, [&](QWidget* modal) {
            const auto close = qScopeGuard([modal] { static_cast<QDialog*>(modal)->reject(); });
            auto* view = modal->findChild<QTreeView*>(u"treeView"_s);
            QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 1);
            const QModelIndex size = view->model()->index(0, 1, view->rootIndex());
            for (int column : {1, 2, 3})
                cells += size.siblingAtColumn(column).data().toString() + u" | "_s;
            for (int column : {1, 2, 3})
                QVERIFY(view->header()->sectionSize(column) >
                        view->fontMetrics().horizontalAdvance(
                            size.siblingAtColumn(column).data().toString()));
        });
        ui::chooseFileToSave(nullptr, u"figures"_s, u"حفظ"_s, u"b.pdf"_s, u"PDF (*.pdf)"_s);
        QCOMPARE(cells, u"3 ك.ب | ملفّ PDF | "_s + QFileInfo(folder.filePath(u"a.pdf"_s))
                                                      .lastModified()
                                                      .toString(u"dd/MM/yyyy HH:mm | "_s));
    }
    // No icon on standard buttons: right to left, it pushes the word past the button's edge.
    void dialogButtonsCarryNoIcon()
    {
        struct DesktopWithIcons : QProxyStyle {
            int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* back) const override
            {
                return hint == SH_DialogButtonBox_ButtonsHaveIcons
                           ? 1
                           : QProxyStyle::styleHint(hint, option, widget, back);
            }
        };
        const std::unique_ptr<QStyle> program(ui::programStyle(new DesktopWithIcons));
        QDialogButtonBox box;
        box.setStyle(program.get());
        box.setStandardButtons(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
        for (QAbstractButton* button : box.buttons())
            QVERIFY2(button->icon().isNull(), qPrintable(button->text()));
    }
    // No documents folder yet: the first dialog opens in the home folder.
    void fileDialogsWithoutDocumentsFolder()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows makes every account its documents folder");
#else
        QStandardPaths::setTestModeEnabled(true);
        const QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u"config"_s)));
        const QString start = ui::startFolder(u"card"_s);
        qputenv("HOME", oldHome);
        oldConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldConfig);
        QCOMPARE(start, home.path());
#endif
    }
};

QTEST_MAIN(TestArabicWords)
#include "tst_arabicwords.moc"
