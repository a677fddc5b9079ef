#include "panes/DriveList.h"
#include "support/TestCase.h"

#include <QSignalSpy>
#include <QTest>

class TestDriveList : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void fillingRaisesNothing();
    void setDriveRaisesChangedOnlyWhenItDiffers();
    void unknownRootIsAdded();
    void userChoiceRaisesChanged();

private:
    std::unique_ptr<DriveList> m_list;
    const QList<Drive> m_drives{{"/", ""}, {"/media/usb", "STICK"}, {"/mnt/data", ""}};
};

void TestDriveList::init()
{
    failOnUnexpectedWarnings();
    m_list = std::make_unique<DriveList>();
}

void TestDriveList::fillingRaisesNothing()
{
    QSignalSpy changes(m_list.get(), &DriveList::changed);
    m_list->setDrives(m_drives);
    QCOMPARE(m_list->count(), 3);
    QCOMPARE(m_list->itemText(1), Drive({"/media/usb", "STICK"}).displayText());
    QCOMPARE(m_list->drive(), QStringLiteral("/"));

    m_list->setDrive(QStringLiteral("/mnt/data"));
    QCOMPARE(changes.count(), 1);
    // A new list keeps the drive shown.
    m_list->setDrives(QList<Drive>{{"/", ""}, {"/mnt/data", ""}});
    QCOMPARE(m_list->drive(), QStringLiteral("/mnt/data"));
    QCOMPARE(m_list->currentText(), QStringLiteral("/mnt/data"));
    QCOMPARE(changes.count(), 1);
}

void TestDriveList::setDriveRaisesChangedOnlyWhenItDiffers()
{
    m_list->setDrives(m_drives);
    QSignalSpy changes(m_list.get(), &DriveList::changed);
    QString shownAtChange;
    connect(m_list.get(), &DriveList::changed, this, [&] { shownAtChange = m_list->currentText(); });

    m_list->setDrive(QStringLiteral("/"));
    QCOMPARE(changes.count(), 0);
    m_list->setDrive(QStringLiteral("/media/usb"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(m_list->drive(), QStringLiteral("/media/usb"));
    QCOMPARE(shownAtChange, QStringLiteral("/media/usb  [STICK]"));
    m_list->setDrive(QStringLiteral("/media/usb"));
    QCOMPARE(changes.count(), 1);
}

void TestDriveList::unknownRootIsAdded()
{
    m_list->setDrives(m_drives);
    QSignalSpy changes(m_list.get(), &DriveList::changed);
    m_list->setDrive(QStringLiteral("/srv"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(m_list->count(), 4);
    QCOMPARE(m_list->drive(), QStringLiteral("/srv"));
}

void TestDriveList::userChoiceRaisesChanged()
{
    m_list->setDrives(m_drives);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
    QSignalSpy changes(m_list.get(), &DriveList::changed);
    QTest::keyClick(m_list.get(), Qt::Key_Down);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(m_list->drive(), QStringLiteral("/media/usb"));
    QTest::keyClick(m_list.get(), Qt::Key_End);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(m_list->drive(), QStringLiteral("/mnt/data"));
}

QTEST_MAIN(TestDriveList)
#include "tst_drivelist.moc"
