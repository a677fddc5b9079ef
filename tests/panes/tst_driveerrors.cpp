#include "panes/PaneSpec.h"
#include "platform/FileErrors.h"
#include "support/TestCase.h"

#include <QTest>

#include <cerrno>

// What the user reads when the system refuses to open a drive: the system's error, through
// the one errno table, to the drive change's message.
class TestDriveErrors : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void systemErrorGivesTheMessage_data()
    {
        QTest::addColumn<int>("err");
        QTest::addColumn<QString>("message");
        QTest::newRow("no disk in the drive") << ENOMEDIUM << "Device not available or no disk in drive";
        QTest::newRow("device gone") << ENXIO << "Device not available or no disk in drive";
        QTest::newRow("input or output error") << EIO << "Device not connected or in use";
        QTest::newRow("mount point gone")
            << ENOENT << "Either the destination doesn't exist or the path to the folder is misspelled or incomplete";
        QTest::newRow("volume full") << ENOSPC << "Disk is full";
        QTest::newRow("an error no row names") << EINVAL << "";
    }
    void systemErrorGivesTheMessage()
    {
        QFETCH(int, err);
        QFETCH(QString, message);
        QCOMPARE(PaneTexts::driveErrorMessage(FileErrors::fromErrno(err)), message);
    }
};

QTEST_GUILESS_MAIN(TestDriveErrors)
#include "tst_driveerrors.moc"
