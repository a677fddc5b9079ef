#include "platform/FileErrors.h"
#include "platform/PathHelper.h"
#include "platform/SystemDrives.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QDir>
#include <QTest>

// The drives of this machine, and the folder each opens at.
class TestSystemDrives : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void rootComesFirstAndOnlyRealVolumesFollow()
    {
        SystemDrives drives;
        const QList<Drive> list = drives.drives();
        QVERIFY(!list.isEmpty());
        QCOMPARE(list.first().root, QStringLiteral("/"));
        QStringList roots;
        for (const Drive &drive : list) {
            QVERIFY2(drive.root.startsWith(QLatin1Char('/')), qPrintable(drive.root));
            QVERIFY2(!drive.root.startsWith(QLatin1String("/proc")) && !drive.root.startsWith(QLatin1String("/sys")),
                     qPrintable(drive.root));
            QVERIFY2(!roots.contains(drive.root), qPrintable(drive.root));
            roots << drive.root;
        }
    }

    void aDriveOpensAtTheCurrentFolderWhenItLiesOnIt()
    {
        TestDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        SystemDrives drives;
        QStringList roots;
        for (const Drive &drive : drives.drives())
            roots << drive.root;
        const QString current = QDir::currentPath();
        const QString root = PathHelper(roots).driveRootOf(current);
        const DriveFolder here = drives.currentFolderOf(root);
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(here.error, 0);
        QCOMPARE(here.path, current);
    }

    void aDriveThatCannotBeOpenedReportsItsNumber()
    {
        SystemDrives drives;
        const DriveFolder gone = drives.currentFolderOf(QStringLiteral("/no/such/volume"));
        QCOMPARE(gone.error, int(FileErrors::PathNotFound));
        QVERIFY(gone.path.isEmpty());
    }
};

QTEST_MAIN(TestSystemDrives)
#include "tst_systemdrives.moc"
