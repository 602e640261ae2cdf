// Which folder the program takes as the disk when it starts.
#include "app/drivechoice.h"
#include "app/drivelocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using app::DriveCandidates;
using app::DriveSource;
using app::MountedVolume;

Q_DECLARE_METATYPE(DriveCandidates)
Q_DECLARE_METATYPE(DriveSource)

namespace {

DriveCandidates candidates(std::optional<QString> argument, QString remembered,
                           bool rememberedExists, QStringList volumes)
{
    return {std::move(argument), std::move(remembered), rememberedExists, std::move(volumes),
            QStringLiteral("/media/floppy")};
}

} // namespace

class TestDriveChoice : public QObject {
    Q_OBJECT

private slots:
    void rule_data();
    void rule();
    void volumes_data();
    void volumes();
    void volumesNotReadWhenDecided();
    void arguments_data();
    void arguments();
};

void TestDriveChoice::rule_data()
{
    QTest::addColumn<DriveCandidates>("input");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<DriveSource>("source");
    QTest::newRow("the command line first")
        << candidates("/tmp/d", "/home/t/notes", true, {"/media/t/KEY"}) << "/tmp/d"
        << DriveSource::Argument;
    QTest::newRow("the folder chosen last time")
        << candidates({}, "/home/t/notes", true, {"/media/t/KEY"}) << "/home/t/notes"
        << DriveSource::Remembered;
    // Another stick than last time: the one plugged in, with its grade files, wins.
    QTest::newRow("remembered folder gone, a volume with grade files")
        << candidates({}, "/media/t/OLD", false, {"/media/t/NEW", "/media/t/OTHER"})
        << "/media/t/NEW" << DriveSource::RemovableVolume;
    QTest::newRow("remembered folder gone, no volume: kept for its disk")
        << candidates({}, "/media/t/OLD", false, {}) << "/media/t/OLD" << DriveSource::Remembered;
    QTest::newRow("nothing remembered, a volume")
        << candidates({}, "", false, {"E:/"}) << "E:/" << DriveSource::RemovableVolume;
    QTest::newRow("nothing at all: the platform's drive")
        << candidates({}, "", false, {}) << "/media/floppy" << DriveSource::PlatformDefault;
}

void TestDriveChoice::rule()
{
    QFETCH(DriveCandidates, input);
    QFETCH(QString, folder);
    QFETCH(DriveSource, source);
    const app::DriveChoice choice = app::chooseDriveFolder(input);
    QCOMPARE(choice.folder, folder);
    QCOMPARE(choice.source, source);
}

void TestDriveChoice::volumes_data()
{
    // Each volume: name of a folder under the test's root, removable, its files.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<bool>>("removable");
    QTest::addColumn<QList<QStringList>>("files");
    QTest::addColumn<QString>("chosen"); // a name, or "default"
    QTest::newRow("the first removable volume with grade files")
        << QStringList{"root", "empty-stick", "stick", "second"}
        << QList<bool>{false, true, true, true}
        << QList<QStringList>{{"K.xml"}, {"notes.txt"}, {"K.xml"}, {"L.xml"}} << "stick";
    QTest::newRow("upper case extension")
        << QStringList{"stick"} << QList<bool>{true} << QList<QStringList>{{"K.XML"}} << "stick";
    // A fixed disk holding XML files is no disk of grade files handed by the school.
    QTest::newRow("fixed disks are not looked at")
        << QStringList{"home"} << QList<bool>{false} << QList<QStringList>{{"K.xml"}} << "default";
    QTest::newRow("no grade file anywhere")
        << QStringList{"stick"} << QList<bool>{true} << QList<QStringList>{{"K.pdf"}} << "default";
    QTest::newRow("no volume") << QStringList{} << QList<bool>{} << QList<QStringList>{}
                               << "default";
}

void TestDriveChoice::volumes()
{
    QFETCH(QStringList, names);
    QFETCH(QList<bool>, removable);
    QFETCH(QList<QStringList>, files);
    QFETCH(QString, chosen);
    QTemporaryDir root;
    QList<MountedVolume> volumes;
    for (int i = 0; i < names.size(); ++i) {
        const QString folder = root.filePath(names[i]);
        QVERIFY(QDir().mkpath(folder));
        for (const QString& file : files[i]) {
            QFile out(QDir(folder).filePath(file));
            QVERIFY(out.open(QIODevice::WriteOnly));
        }
        volumes.append({folder, removable[i]});
    }
    const app::DriveEnvironment environment{QString(), [volumes] { return volumes; },
                                            QStringLiteral("/media/floppy")};
    const app::DriveChoice choice = app::chooseStartFolder(std::nullopt, environment);
    QCOMPARE(choice.folder, chosen == QLatin1String("default") ? QStringLiteral("/media/floppy")
                                                               : root.filePath(chosen));
}

// A floppy drive is slow: the volumes are not read when the command line or a folder that
// is there decides.
void TestDriveChoice::volumesNotReadWhenDecided()
{
    QTemporaryDir remembered;
    int asked = 0;
    const auto lister = [&asked] {
        ++asked;
        return QList<MountedVolume>{};
    };
    app::DriveEnvironment environment{remembered.path(), lister, QStringLiteral("A:/")};
    QCOMPARE(app::chooseStartFolder(QStringLiteral("/d"), environment).source,
             DriveSource::Argument);
    QCOMPARE(app::chooseStartFolder(std::nullopt, environment).source, DriveSource::Remembered);
    QCOMPARE(asked, 0);
    environment.remembered = remembered.filePath(QStringLiteral("gone"));
    QCOMPARE(app::chooseStartFolder(std::nullopt, environment).source, DriveSource::Remembered);
    QCOMPARE(asked, 1);
}

void TestDriveChoice::arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("folder"); // empty: none given
    QTest::newRow("none") << QStringList{"saisie-notes"} << true << "";
    QTest::newRow("--drive DIR") << QStringList{"saisie-notes", "--drive", "/d"} << true << "/d";
    QTest::newRow("--drive=DIR") << QStringList{"saisie-notes", "--drive=/d"} << true << "/d";
    QTest::newRow("--drive alone") << QStringList{"saisie-notes", "--drive"} << false << "";
    QTest::newRow("--drive=") << QStringList{"saisie-notes", "--drive="} << false << "";
    QTest::newRow("program name is no option") << QStringList{"--drive"} << true << "";
}

void TestDriveChoice::arguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);
    QFETCH(QString, folder);
    const app::DriveArgument argument = app::driveArgumentOf(arguments);
    QCOMPARE(argument.valid, valid);
    QCOMPARE(argument.folder.value_or(QString()), folder);
}

QTEST_GUILESS_MAIN(TestDriveChoice)
#include "tst_drivechoice.moc"
