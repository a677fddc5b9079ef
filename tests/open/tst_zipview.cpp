#include "OpenFixture.h"
#include "support/TestCase.h"

// Each pane's pop-up "ZipView" hands an archive to the desktop.
class TestZipView : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); m_fixture = std::make_unique<OpenFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void opensArchives_data();
    void opensArchives();
    void worksOnItsOwnPane();

private:
    std::unique_ptr<OpenFixture> m_fixture;
};

void TestZipView::opensArchives_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("backup.ZIP") << "backup.ZIP" << true;
    QTest::newRow("backup.Zip") << "backup.Zip" << true;
    QTest::newRow("src.tar.gz") << "src.tar.gz" << true;
    QTest::newRow("src.TAR.GZ") << "src.TAR.GZ" << true;
    QTest::newRow("data.Z") << "data.Z" << true;
    QTest::newRow("notes.z") << "notes.z" << true;
    QTest::newRow("guitar, no dot") << "guitar" << true;
    QTest::newRow("gzip, no dot") << "gzip" << true;
    QTest::newRow("backup.zIp") << "backup.zIp" << false;
    QTest::newRow("src.TGZ") << "src.TGZ" << false;
    QTest::newRow("src.tgz") << "src.tgz" << false;
    QTest::newRow("file.gz") << "file.gz" << false;
    QTest::newRow("src.TAR.gz") << "src.TAR.gz" << false;
    QTest::newRow("readme.txt") << "readme.txt" << false;
}

void TestZipView::opensArchives()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    TestDir dir;
    const QString folder = dir.createDir(QStringLiteral("down loads"));
    const QString path = dir.createFile(QStringLiteral("down loads/") + name);
    m_fixture->open(4, folder);
    m_fixture->click(4, name);

    m_fixture->zipView.mnuZipView_Click(4);

    QCOMPARE(m_fixture->happened(), opens ? QStringList{QStringLiteral("open ") + path} : QStringList());
}

void TestZipView::worksOnItsOwnPane()
{
    TestDir dir;
    const QString three = dir.createDir(QStringLiteral("three"));
    const QString archive = dir.createFile(QStringLiteral("three/a.zip"));
    const QString one = dir.createDir(QStringLiteral("one"));
    dir.createFile(QStringLiteral("one/b.zip"));
    const QString empty = dir.createDir(QStringLiteral("empty"));
    OpenFixture &f = *m_fixture;
    f.open(3, three);
    f.open(1, one);
    f.open(2, empty);
    f.click(1, QStringLiteral("b.zip"));
    f.select(3, QStringLiteral("a.zip"));

    f.zipView.mnuZipView_Click(2); // no current file
    f.zipView.mnuZipView_Click(3); // pane 1 is the active one

    QCOMPARE(f.happened(), QStringList{QStringLiteral("open ") + archive});
}

QTEST_MAIN(TestZipView)
#include "tst_zipview.moc"
