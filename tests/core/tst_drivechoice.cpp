// Which folder the program takes as the disk when it starts.
#include "../support/filebytes.h"
#include "core/disk/drivechoice.h"
#include "core/disk/drivelocation.h"

#include <QtTest>

using namespace app;
using namespace Qt::StringLiterals;

class TestDriveChoice : public QObject {
    Q_OBJECT

private slots:
    // The command line, the last folder if its disk is in, a removable volume with grade files,
    // the folder remembered, the platform's drive.
    void rule()
    {
        const auto choose = [](std::optional<QString> argument, QString remembered, bool exists,
                               QStringList volumes) {
            return chooseDriveFolder({argument, remembered, exists, volumes, u"/media/floppy"_s});
        };
        const QStringList sticks{u"/media/NEW"_s, u"/media/OTHER"_s};
        QCOMPARE(choose(u"/d"_s, u"/home/t"_s, true, sticks).folder, u"/d"_s);
        QCOMPARE(choose({}, u"/home/t"_s, true, sticks).folder, u"/home/t"_s);
        // Another stick than last time: the one plugged in, with its grade files, wins.
        const DriveChoice stick = choose({}, u"/media/OLD"_s, false, sticks);
        QVERIFY(stick.folder == u"/media/NEW"_s && stick.source == DriveSource::RemovableVolume);
        // No volume: the folder remembered, waiting for its disk.
        QCOMPARE(choose({}, u"/media/OLD"_s, false, {}).source, DriveSource::Remembered);
        QCOMPARE(choose({}, QString(), false, {}).folder, u"/media/floppy"_s);
    }

    // Volumes are read (a floppy is slow) only when nothing before decides: the first removable
    // one with grade files, in any letter case, is taken.
    void volumesLookedAtOnlyWhenNeeded()
    {
        QTemporaryDir root;
        const QStringList names{"home", "empty-stick", "stick", "second"};
        const QStringList files{"K.xml", "notes.txt", "K.XML", "L.xml"};
        QList<MountedVolume> volumes;
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY(QDir().mkpath(root.filePath(names[i])));
            QVERIFY(writeBytes(root.filePath(names[i] + u'/' + files[i]), {}));
            volumes.append({root.filePath(names[i]), i > 0});
        }
        int asked = 0;
        const auto listVolumes = [&] {
            ++asked;
            return volumes;
        };
        DriveEnvironment environment{root.path(), listVolumes, u"A:/"_s};
        QCOMPARE(chooseStartFolder(u"/d"_s, environment).source, DriveSource::Argument);
        QCOMPARE(chooseStartFolder(std::nullopt, environment).source, DriveSource::Remembered);
        QCOMPARE(asked, 0);
        environment.remembered = root.filePath(u"gone"_s);
        QCOMPARE(chooseStartFolder(std::nullopt, environment).folder, root.filePath(u"stick"_s));
        QCOMPARE(asked, 1);
    }

    // "--drive DIR" or "--drive=DIR"; "--drive" alone is an error, the program's name no option.
    void commandLine()
    {
        QCOMPARE(driveArgumentOf({u"saisie-notes"_s, u"--drive"_s, u"/d"_s}).folder, u"/d"_s);
        QCOMPARE(driveArgumentOf({u"saisie-notes"_s, u"--drive=/d"_s}).folder, u"/d"_s);
        QVERIFY(!driveArgumentOf({u"saisie-notes"_s, u"--drive"_s}).valid);
        const DriveArgument none = driveArgumentOf({u"--drive"_s});
        QVERIFY(none.valid && !none.folder);
    }
};

QTEST_GUILESS_MAIN(TestDriveChoice)
#include "tst_drivechoice.moc"
