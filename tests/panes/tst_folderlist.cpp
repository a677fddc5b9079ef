#include "folders/FolderReadCache.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/FolderListModel.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {
QStringList rowPaths(const FolderList &list)
{
    QStringList paths;
    for (int row = 0; row < list.rowCount(); ++row)
        paths << list.rowPath(row);
    return paths;
}

// "/" and each folder down to path, as the list's first rows.
QStringList ancestorsOf(const QString &path)
{
    QStringList paths{QStringLiteral("/")};
    QString step;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        step += QLatin1Char('/') + part;
        paths << step;
    }
    return paths;
}
} // namespace

class TestFolderList : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void rowsShowPathAndSubfolders();
    void doubleClickOpens_data();
    void doubleClickOpens();
    void singleClickOnlyHighlights();
    void otherButtonsSelectNothing();
    void enterOpensHighlighted();
    void setPathRaisesChangedOnlyWhenItDiffers();
    void refreshRereadsSilently();
    void vanishedFolderKeepsItsPath();
    void refreshSeesWhereLinksLead();
    void listsOnOneCacheShareOneRead();
    void filesOfANewFolderAreHandedOnInChanged();

private:
    QPoint centreOf(int row) const;
    QStringList subfolders() const { return rowPaths(*m_list).mid(m_list->openRow() + 1); }

    std::unique_ptr<TestDir> m_dir;
    QString m_open;
    std::unique_ptr<FolderList> m_list;
};

void TestFolderList::init()
{
    failOnUnexpectedWarnings();
    m_dir = std::make_unique<TestDir>();
    m_open = m_dir->createDir(QStringLiteral("top/open"));
    m_dir->createDir(QStringLiteral("top/open/Zed"));
    m_dir->createDir(QStringLiteral("top/open/alpha/deeper"));
    m_dir->createDir(QStringLiteral("top/open/.dotted"));
    m_dir->createFile(QStringLiteral("top/open/file.txt"));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("top")), m_dir->filePath(QStringLiteral("top/open/Link"))));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("top/open/file.txt")), m_dir->filePath(QStringLiteral("top/open/filelink"))));
    m_list = std::make_unique<FolderList>();
    m_list->resize(300, 600);
    m_list->setPath(m_open);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
}

void TestFolderList::cleanup()
{
    m_list.reset();
    m_dir.reset();
}

QPoint TestFolderList::centreOf(int row) const
{
    return m_list->visualRect(m_list->model()->index(row, 0)).center();
}

void TestFolderList::rowsShowPathAndSubfolders()
{
    const QStringList ancestors = ancestorsOf(m_open);
    QCOMPARE(m_list->path(), m_open);
    QCOMPARE(rowPaths(*m_list), ancestors + (QStringList{m_open + "/alpha", m_open + "/Link", m_open + "/Zed"}));
    QCOMPARE(m_list->openRow(), ancestors.size() - 1);

    const QAbstractItemModel *model = m_list->model();
    const int open = m_list->openRow();
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("/"));
    QCOMPARE(model->index(open, 0).data().toString(), QStringLiteral("open"));
    QCOMPARE(model->index(open + 1, 0).data().toString(), QStringLiteral("alpha"));
    // Indented by depth: the path one step a row, the subfolders one step below the open folder.
    for (int row = 0; row <= open; ++row)
        QCOMPARE(model->index(row, 0).data(FolderListModel::DepthRole).toInt(), row);
    QCOMPARE(model->index(open + 2, 0).data(FolderListModel::DepthRole).toInt(), open + 1);
    QVERIFY(m_list->visualRect(model->index(open, 0)).isValid());
    // The open folder is the highlighted row, and nothing else is.
    QCOMPARE(m_list->currentIndex().row(), open);
    QCOMPARE(m_list->selectionModel()->selectedIndexes().size(), 1);
}

void TestFolderList::doubleClickOpens_data()
{
    QTest::addColumn<int>("fromOpenRow"); // row relative to the open folder's row
    QTest::addColumn<QString>("opened");  // relative to the fixture folder
    QTest::newRow("a subfolder") << 1 << "top/open/alpha";
    QTest::newRow("the parent") << -1 << "top";
}

void TestFolderList::doubleClickOpens()
{
    QFETCH(int, fromOpenRow);
    QFETCH(QString, opened);
    QSignalSpy changes(m_list.get(), &FolderList::changed);
    QString pathAtChange;
    connect(m_list.get(), &FolderList::changed, this, [&] { pathAtChange = m_list->path(); });

    const QPoint where = centreOf(m_list->openRow() + fromOpenRow);
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseRelease(m_list->viewport(), Qt::LeftButton, Qt::NoModifier, where);

    QCOMPARE(changes.count(), 1);
    QCOMPARE(m_list->path(), m_dir->filePath(opened));
    QCOMPARE(pathAtChange, m_dir->filePath(opened)); // the new path is in place when it is raised
    QCOMPARE(m_list->rowPath(m_list->openRow()), m_dir->filePath(opened));
}

void TestFolderList::singleClickOnlyHighlights()
{
    QSignalSpy changes(m_list.get(), &FolderList::changed);
    const int row = m_list->openRow() + 2;
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(row));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(m_list->path(), m_open);
    QCOMPARE(m_list->currentIndex().row(), row);
}

void TestFolderList::otherButtonsSelectNothing()
{
    QSignalSpy changes(m_list.get(), &FolderList::changed);
    QSignalSpy releases(m_list.get(), &FolderList::mouseReleased);
    const QPoint where = centreOf(m_list->openRow() + 1);
    QTest::mouseClick(m_list->viewport(), Qt::RightButton, Qt::NoModifier, where);
    QTest::mouseClick(m_list->viewport(), Qt::MiddleButton, Qt::NoModifier, where);
    QTest::mouseDClick(m_list->viewport(), Qt::RightButton, Qt::NoModifier, where);
    QTest::mouseRelease(m_list->viewport(), Qt::RightButton, Qt::NoModifier, where);

    QCOMPARE(changes.count(), 0);
    QCOMPARE(m_list->path(), m_open);
    QCOMPARE(m_list->currentIndex().row(), m_list->openRow());
    QCOMPARE(releases.count(), 3);
    QCOMPARE(releases.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(releases.at(1).at(0).value<Qt::MouseButton>(), Qt::MiddleButton);
    QCOMPARE(releases.at(0).at(1).toPoint(), m_list->viewport()->mapToGlobal(where));
}

void TestFolderList::enterOpensHighlighted()
{
    QSignalSpy changes(m_list.get(), &FolderList::changed);
    m_list->setCurrentIndex(m_list->model()->index(m_list->openRow() + 3, 0));
    QTest::keyClick(m_list.get(), Qt::Key_Return);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(m_list->path(), m_open + "/Zed");
}

void TestFolderList::setPathRaisesChangedOnlyWhenItDiffers()
{
    QSignalSpy changes(m_list.get(), &FolderList::changed);
    m_list->setPath(m_open + "/");
    m_list->setPath(m_open + "/alpha/..");
    m_list->setPath(QString());
    QCOMPARE(changes.count(), 0);
    QCOMPARE(m_list->path(), m_open);

    m_list->setPath(m_open + "/alpha");
    QCOMPARE(changes.count(), 1);
    QCOMPARE(rowPaths(*m_list).mid(m_list->openRow()), (QStringList{m_open + "/alpha", m_open + "/alpha/deeper"}));

    m_list->setPath(QStringLiteral("/"));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(m_list->openRow(), 0);
    QCOMPARE(m_list->rowPath(0), QStringLiteral("/"));
}

void TestFolderList::refreshRereadsSilently()
{
    QSignalSpy changes(m_list.get(), &FolderList::changed);
    m_dir->createDir(QStringLiteral("top/open/beta"));
    QDir(m_open).rmdir(QStringLiteral("Zed"));
    m_list->refresh();
    QCOMPARE(changes.count(), 0);
    QCOMPARE(rowPaths(*m_list).mid(m_list->openRow() + 1),
             (QStringList{m_open + "/alpha", m_open + "/beta", m_open + "/Link"}));
}

void TestFolderList::vanishedFolderKeepsItsPath()
{
    QSignalSpy changes(m_list.get(), &FolderList::changed);
    m_list->setPath(m_open + "/alpha/deeper");
    QVERIFY(QDir(m_open + "/alpha").removeRecursively());
    m_list->refresh();
    QCOMPARE(m_list->path(), m_open + "/alpha/deeper");
    QCOMPARE(rowPaths(*m_list), ancestorsOf(m_open + "/alpha/deeper"));

    m_list->setPath(m_open + "/never");
    QCOMPARE(changes.count(), 2);
    QCOMPARE(m_list->rowCount(), m_list->openRow() + 1);
}

void TestFolderList::refreshSeesWhereLinksLead()
{
    const QString far = m_dir->createDir(QStringLiteral("far"));
    QVERIFY(QFile::link(far, m_open + "/Far"));
    m_list->refresh();
    QVERIFY(subfolders().contains(m_open + "/Far"));
    QVERIFY(QDir().rmdir(far)); // nothing changes in the open folder itself
    m_list->refresh();
    QCOMPARE(subfolders(), (QStringList{m_open + "/alpha", m_open + "/Link", m_open + "/Zed"}));
}


void TestFolderList::listsOnOneCacheShareOneRead()
{
    FolderReadCache cache;
    FolderList first(cache);
    first.setPath(m_open);
    FolderList list(cache);
    QSignalSpy changed(&list, &FolderList::changed);
    list.setPath(m_open + QStringLiteral("/."));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list.path(), m_open);
    QCOMPARE(rowPaths(list), rowPaths(*m_list));
    list.setPath(m_open);
    QCOMPARE(changed.count(), 1); // the same folder again

    // A change after the read shows once the list refreshes, and only there.
    const QString added = m_dir->createDir(QStringLiteral("top/open/added"));
    list.refresh();
    QVERIFY(rowPaths(list).contains(added));
    QVERIFY(!rowPaths(first).contains(added));
}

void TestFolderList::filesOfANewFolderAreHandedOnInChanged()
{
    FolderReadCache cache;
    FolderList folders(cache);
    FileList files(cache);
    files.setPattern(QStringLiteral("f*"));
    QCOMPARE(files.path(), QString());

    const QString top = m_dir->filePath(QStringLiteral("top"));
    m_dir->createFile(QStringLiteral("top/first.txt"));
    m_dir->createFile(QStringLiteral("top/second.txt"));
    // A link: the watch trusts no listing of top, so only the step of the opening serves.
    QVERIFY(QFile::link(m_open, top + QStringLiteral("/zlink")));
    FileNames opened;
    connect(&folders, &FolderList::changed, this, [&] {
        m_dir->createFile(QStringLiteral("top/fifth.txt")); // after the opening read
        files.setPath(folders.path());
        FileList all(cache);
        all.setPath(folders.path());
        opened = all.names();
    });
    folders.setPath(top);
    QCOMPARE(files.path(), top);
    QCOMPARE(files.listCount(), 1);
    QCOMPARE(files.item(0), QStringLiteral("first.txt")); // with the file list's own pattern
    QCOMPARE(opened.toStringList(), (QStringList{"first.txt", "second.txt"}));

    // Once changed() is over, a list reads again.
    FileList later(cache);
    later.setPath(top);
    QCOMPARE(later.names().toStringList(), (QStringList{"fifth.txt", "first.txt", "second.txt"}));
    m_dir->createFile(QStringLiteral("top/fourth.txt"));
    files.refresh();
    QCOMPARE(files.listCount(), 3);
}

QTEST_MAIN(TestFolderList)
#include "tst_folderlist.moc"
