#include "FileListRows.h"
#include "folders/FolderReadCache.h"
#include "folders/NamePattern.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "platform/PathCodec.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TmpfsMount.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// A listening socket's file at path; the socket closes when the object goes.
class SocketFile
{
public:
    explicit SocketFile(const QString &path) : m_fd(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        qstrncpy(address.sun_path, name.constData(), sizeof(address.sun_path));
        m_bound = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    }
    ~SocketFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isBound() const { return m_bound; }

private:
    int m_fd;
    bool m_bound = false;
};

QStringList allNames(const FileList &list)
{
    QStringList names;
    for (int row = 0; row < list.listCount(); ++row)
        names << list.item(row);
    return names;
}

} // namespace

class TestFileList : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void listsRegularFilesOnly();
    void unreadableFolderIsEmpty_data();
    void unreadableFolderIsEmpty();
    void patternNarrowsAndRefreshRereads();
    void refreshSeesWhereLinksLead();
    void noCapOnNames();
    void namesKeepTheirBytes();
    void listsOnOneCacheShareOneRead();
    void openingReadKeepsWhatThePatternMatches_data();
    void openingReadKeepsWhatThePatternMatches();
    void clicksSelectAndRaiseClickedOnce_data();
    void clicksSelectAndRaiseClickedOnce();
    void ctrlClickDeselectingLastStillClicks();
    void oneClickedPerMouseAction();
    void otherButtonsSelectNothing_data();
    void otherButtonsSelectNothing();
    void keyboardRaisesClicked();
    void doubleClick();
    void codeRaisesNothing();
    void refreshThenFocusKeepsNoCurrentItem();

private:
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);

    std::unique_ptr<TestDir> m_dir;
    std::unique_ptr<FolderReadCache> m_cache;
    std::unique_ptr<FileList> m_list;
};

void TestFileList::init()
{
    failOnUnexpectedWarnings();
    m_dir = std::make_unique<TestDir>();
    for (const char *name : {"b.txt", "A.txt", "c.HTM", "d.txt", "E.zip", "f.bat"})
        m_dir->createFile(QString::fromLatin1(name));
    m_cache = std::make_unique<FolderReadCache>();
    m_list = std::make_unique<FileList>(*m_cache);
    m_list->resize(200, 300);
    m_list->setPath(m_dir->path());
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
}

void TestFileList::cleanup()
{
    m_list.reset();
    m_cache.reset();
    m_dir.reset();
}

void TestFileList::click(int row, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    const QRect rect = m_list->visualRect(m_list->model()->index(row, 0));
    QTest::mouseClick(m_list->viewport(), button, modifiers, rect.center());
}

void TestFileList::listsRegularFilesOnly()
{
    TestDir dir;
    dir.createFile(QStringLiteral("Zeta.txt"));
    dir.createFile(QStringLiteral("alpha.txt"));
    dir.createFile(QStringLiteral("Beta"));
    dir.createFile(QStringLiteral(".hidden"));
    dir.createDir(QStringLiteral("folder"));
    dir.createDir(QStringLiteral("folder.txt"));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0644), 0);
    const SocketFile socket(dir.filePath(QStringLiteral("socket")));
    QVERIFY(socket.isBound());
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("alpha.txt")), dir.filePath(QStringLiteral("link.txt"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone.txt")), dir.filePath(QStringLiteral("dangling.txt"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("folder")), dir.filePath(QStringLiteral("folderlink"))));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("device"))));

    FileList list;
    list.setPath(dir.path());
    QCOMPARE(allNames(list), (QStringList{"alpha.txt", "Beta", "link.txt", "Zeta.txt"}));
    QCOMPARE(list.path(), dir.path());
    QCOMPARE(list.listIndex(), -1);
    QCOMPARE(list.fileName(), QString());
}

void TestFileList::unreadableFolderIsEmpty_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("a file, not a folder") << "b.txt";
}

void TestFileList::unreadableFolderIsEmpty()
{
    QFETCH(QString, relative);
    m_list->setPath(m_dir->filePath(relative));
    QCOMPARE(m_list->listCount(), 0);
    QCOMPARE(m_list->fileName(), QString());
    m_list->refresh();
    QCOMPARE(m_list->listCount(), 0);
}

void TestFileList::patternNarrowsAndRefreshRereads()
{
    m_list->setPattern(QStringLiteral("*.TXT"));
    QCOMPARE(m_list->pattern(), QStringLiteral("*.TXT"));
    QCOMPARE(allNames(*m_list), (QStringList{"A.txt", "b.txt", "d.txt"}));
    m_dir->createFile(QStringLiteral("c.txt"));
    QFile::remove(m_dir->filePath(QStringLiteral("b.txt")));
    QCOMPARE(allNames(*m_list), (QStringList{"A.txt", "b.txt", "d.txt"})); // until re-read
    m_list->refresh();
    QCOMPARE(allNames(*m_list), (QStringList{"A.txt", "c.txt", "d.txt"}));
    m_list->setPattern(QStringLiteral("*.zip;*.bat"));
    QCOMPARE(allNames(*m_list), (QStringList{"E.zip", "f.bat"}));
    m_list->setPattern(QString());
    QCOMPARE(m_list->listCount(), 6);
}

void TestFileList::refreshSeesWhereLinksLead()
{
    TestDir outside;
    const QString target = outside.createFile(QStringLiteral("target.txt"));
    QVERIFY(QFile::link(target, m_dir->filePath(QStringLiteral("link.txt"))));
    m_list->refresh();
    QCOMPARE(allNames(*m_list), (QStringList{"A.txt", "b.txt", "c.HTM", "d.txt", "E.zip", "f.bat", "link.txt"}));
    QFile::remove(target); // nothing changes in the listed folder itself
    m_list->refresh();
    QCOMPARE(allNames(*m_list), (QStringList{"A.txt", "b.txt", "c.HTM", "d.txt", "E.zip", "f.bat"}));
    outside.createFile(QStringLiteral("target.txt"));
    m_list->refresh();
    QCOMPARE(m_list->listCount(), 7);
}

void TestFileList::noCapOnNames()
{
    TestDir dir;
    // In memory where this may mount (as root): 40,000 files on a busy disk take seconds.
    const TmpfsMount memory(dir.path(), QStringLiteral("64m"));
    const int dirFd = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(dirFd >= 0);
    const int count = 40000;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = QStringLiteral("f%1").arg(i, 5, 10, QLatin1Char('0')).toLatin1();
        const int fd = ::openat(dirFd, name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    ::close(dirFd);
    m_list->setPath(dir.path());
    QCOMPARE(m_list->listCount(), count);
    QCOMPARE(m_list->item(count - 1), QStringLiteral("f39999"));
    QCOMPARE(m_list->item(32767), QStringLiteral("f32767"));
    m_list->setSelected(39000, true);
    QVERIFY(m_list->isSelected(39000));
    m_list->setListIndex(39500);
    QCOMPARE(m_list->listIndex(), 39500);
    QCOMPARE(m_list->fileName(), QStringLiteral("f39500"));
    m_list->setPath(m_dir->path()); // nothing of the mount stays open
}

void TestFileList::namesKeepTheirBytes()
{
    TestDir dir;
    // Two names that are no UTF-8 and differ in case alone, two that differ only beyond ASCII.
    const QList<QByteArray> stored{"bad\xff.txt", "Bad\xfe.txt", "caf\xc3\xa9.txt", "CAFE.txt", "zeta"};
    const QByteArray folder = PathCodec::encode(dir.path()) + '/';
    // QTemporaryDir cannot remove names that are no UTF-8.
    const auto removeStored = qScopeGuard([&] {
        for (const QByteArray &name : stored)
            ::unlink((folder + name).constData());
    });
    for (const QByteArray &name : stored) {
        const int fd = ::open((folder + name).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    FileList list;
    list.setPath(dir.path());
    QList<QByteArray> listed;
    for (const QString &name : allNames(list))
        listed << PathCodec::encode(name);
    QCOMPARE(listed, (QList<QByteArray>{"Bad\xfe.txt", "bad\xff.txt", "CAFE.txt", "caf\xc3\xa9.txt", "zeta"}));
    QCOMPARE(list.item(3), QString::fromUtf8("caf\xc3\xa9.txt"));
    QCOMPARE(list.item(5), QString());
    QCOMPARE(list.item(-1), QString());

    list.setPattern(QStringLiteral("bad?.txt"));
    QCOMPARE(list.listCount(), 2);
    QCOMPARE(PathCodec::encode(list.item(1)), QByteArray("bad\xff.txt"));
}

void TestFileList::listsOnOneCacheShareOneRead()
{
    FileList other(*m_cache);
    other.setPath(m_dir->path());
    QCOMPARE(other.path(), m_dir->path());
    QCOMPARE(allNames(other), allNames(*m_list));
    QVERIFY(other.names().sharesWith(m_list->names()));

    // A list with a pattern of its own: the names its pattern keeps, shared by the lists with it.
    FileList narrowed(*m_cache);
    narrowed.setPattern(QStringLiteral("*.txt"));
    QCOMPARE(allNames(narrowed), QStringList());
    narrowed.setPath(m_dir->path());
    QCOMPARE(allNames(narrowed), (QStringList{"A.txt", "b.txt", "d.txt"}));
    QVERIFY(!narrowed.names().sharesWith(m_list->names()));
    m_list->setPattern(QStringLiteral("*.txt"));
    QCOMPARE(m_list->pattern(), QStringLiteral("*.txt"));
    QCOMPARE(allNames(*m_list), (QStringList{"A.txt", "b.txt", "d.txt"}));
    QVERIFY(narrowed.names().sharesWith(m_list->names()));
    m_list->setPattern(QString());
    QVERIFY(other.names().sharesWith(m_list->names()));

    // A change after the shared read shows in both once each refreshes, from one new read.
    m_dir->createFile(QStringLiteral("g.txt"));
    other.refresh();
    QCOMPARE(other.listCount(), 7);
    QCOMPARE(m_list->listCount(), 6);
    m_list->refresh();
    QCOMPARE(allNames(*m_list), allNames(other));
    QVERIFY(other.names().sharesWith(m_list->names()));

    // A list with a cache of its own reads for itself.
    FileList alone;
    alone.setPath(m_dir->path());
    QCOMPARE(allNames(alone), allNames(other));
    QVERIFY(!alone.names().sharesWith(other.names()));
}

void TestFileList::openingReadKeepsWhatThePatternMatches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("shared");
    QTest::newRow("every file") << "" << QStringList{"A.txt", "b.txt", "c.HTM", "d.txt", "E.zip", "f.bat"} << true;
    QTest::newRow("a pattern that keeps all") << "*.*" << QStringList{"A.txt", "b.txt", "c.HTM", "d.txt", "E.zip", "f.bat"} << true;
    QTest::newRow("some") << "*.txt;*.zip" << QStringList{"A.txt", "b.txt", "d.txt", "E.zip"} << false;
    QTest::newRow("none") << "*.exe" << QStringList{} << false;
}

void TestFileList::openingReadKeepsWhatThePatternMatches()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, listed);
    QFETCH(bool, shared);
    m_dir->createDir(QStringLiteral("sub.txt"));
    // A folder list's opening read gives the files too.
    FolderReadCache cache;
    FolderList folders(cache);
    folders.setPath(m_dir->path());
    QCOMPARE(folders.rowPath(folders.openRow() + 1), m_dir->filePath(QStringLiteral("sub.txt")));

    FileList list(cache);
    list.setPattern(pattern);
    list.setPath(m_dir->path());
    QCOMPARE(list.path(), m_dir->path());
    QCOMPARE(allNames(list), listed);
    FileList all(cache);
    all.setPath(m_dir->path());
    QCOMPARE(list.names().sharesWith(all.names()), shared);

    // The cache watches the folder from that read on.
    m_dir->createFile(QStringLiteral("new.txt"));
    list.refresh();
    QCOMPARE(list.listCount(), listed.size() + (NamePattern(pattern).matches(QStringLiteral("new.txt")) ? 1 : 0));
}

void TestFileList::clicksSelectAndRaiseClickedOnce_data()
{
    // Names: A.txt b.txt c.HTM d.txt E.zip f.bat
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("current");

    QTest::newRow("click drops the others") << 1 << 3 << int(Qt::NoModifier) << QList<int>{3} << 3;
    QTest::newRow("ctrl+click adds") << 1 << 3 << int(Qt::ControlModifier) << QList<int>{1, 3} << 3;
    QTest::newRow("shift+click selects a range") << 1 << 4 << int(Qt::ShiftModifier) << QList<int>{1, 2, 3, 4} << 4;
    QTest::newRow("click on the selected one again") << 2 << 2 << int(Qt::NoModifier) << QList<int>{2} << 2;
}

void TestFileList::clicksSelectAndRaiseClickedOnce()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, selected);
    QFETCH(int, current);

    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    click(first);
    QCOMPARE(clicks.count(), 1);
    click(second, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(selectedRows(*m_list), selected);
    QCOMPARE(m_list->listIndex(), current);
    QCOMPARE(m_list->fileName(), m_list->item(current));
}

void TestFileList::ctrlClickDeselectingLastStillClicks()
{
    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    click(2);
    click(2, Qt::ControlModifier);
    QCOMPARE(selectedRows(*m_list), QList<int>());
    QCOMPARE(clicks.count(), 2);
}

void TestFileList::oneClickedPerMouseAction()
{
    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    click(1);
    click(3, Qt::ControlModifier);
    QCOMPARE(clicks.count(), 2);
    // A plain click on one of several selected names drops the others on the release.
    click(3);
    QCOMPARE(selectedRows(*m_list), QList<int>{3});
    QCOMPARE(clicks.count(), 3);

    // A drag over four names is one action.
    const auto centre = [this](int row) { return m_list->visualRect(m_list->model()->index(row, 0)).center(); };
    QTest::mousePress(m_list->viewport(), Qt::LeftButton, Qt::NoModifier, centre(1));
    for (int row = 2; row <= 4; ++row) {
        QMouseEvent move(QEvent::MouseMove, centre(row), m_list->viewport()->mapToGlobal(centre(row)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_list->viewport(), &move);
    }
    QCOMPARE(clicks.count(), 3); // not before the release
    QTest::mouseRelease(m_list->viewport(), Qt::LeftButton, Qt::NoModifier, centre(4));
    QCOMPARE(selectedRows(*m_list), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(clicks.count(), 4);
}

void TestFileList::otherButtonsSelectNothing_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TestFileList::otherButtonsSelectNothing()
{
    QFETCH(int, button);
    const auto mouseButton = Qt::MouseButton(button);
    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    QSignalSpy releases(m_list.get(), &FileList::mouseReleased);

    click(1, Qt::NoModifier, mouseButton);
    QCOMPARE(selectedRows(*m_list), QList<int>());
    QCOMPARE(m_list->listIndex(), -1);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(releases.count(), 1);
    QCOMPARE(releases.at(0).at(0).value<Qt::MouseButton>(), mouseButton);
    const QPoint where = m_list->viewport()->mapToGlobal(m_list->visualRect(m_list->model()->index(1, 0)).center());
    QCOMPARE(releases.at(0).at(1).toPoint(), where);

    // Over a selection it keeps the selection as it is.
    click(3);
    click(5, Qt::ControlModifier);
    click(4, Qt::NoModifier, mouseButton);
    QCOMPARE(selectedRows(*m_list), (QList<int>{3, 5}));
    QCOMPARE(m_list->listIndex(), 5);
    QCOMPARE(clicks.count(), 2);

    click(3); // the left button reports its release too
    QCOMPARE(releases.count(), 5);
    QCOMPARE(releases.last().at(0).value<Qt::MouseButton>(), Qt::LeftButton);
}

void TestFileList::keyboardRaisesClicked()
{
    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    click(1);
    QTest::keyClick(m_list.get(), Qt::Key_Down);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(selectedRows(*m_list), QList<int>{2});
    QTest::keyClick(m_list.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(selectedRows(*m_list), (QList<int>{2, 3}));
    QTest::keyClick(m_list.get(), Qt::Key_Shift); // changes nothing
    QCOMPARE(clicks.count(), 3);
}

void TestFileList::doubleClick()
{
    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    QSignalSpy doubles(m_list.get(), &FileList::doubleClicked);
    // As a real double-click comes: press, release, double-click, release.
    const auto doubleClick = [this](Qt::MouseButton button, QPoint where) {
        QTest::mouseClick(m_list->viewport(), button, Qt::NoModifier, where);
        QTest::mouseDClick(m_list->viewport(), button, Qt::NoModifier, where);
        QTest::mouseRelease(m_list->viewport(), button, Qt::NoModifier, where);
    };
    const QPoint onName = m_list->visualRect(m_list->model()->index(2, 0)).center();
    doubleClick(Qt::LeftButton, onName);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(m_list->fileName(), QStringLiteral("c.HTM"));
    QCOMPARE(selectedRows(*m_list), QList<int>{2});

    // Not below the names, and not with the right button.
    doubleClick(Qt::LeftButton, QPoint(5, m_list->viewport()->height() - 3));
    doubleClick(Qt::RightButton, onName);
    QCOMPARE(doubles.count(), 1);
}

void TestFileList::codeRaisesNothing()
{
    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    click(1);
    QCOMPARE(clicks.count(), 1);

    m_list->setSelected(3, true);
    QCOMPARE(selectedRows(*m_list), (QList<int>{1, 3}));
    QCOMPARE(m_list->listIndex(), 1); // the current item stays
    m_list->setSelected(1, false);
    m_list->setListIndex(4);
    QCOMPARE(m_list->listIndex(), 4);
    QCOMPARE(selectedRows(*m_list), QList<int>{3});
    m_list->setListIndex(-1);
    QCOMPARE(m_list->listIndex(), -1);
    m_list->setSelected(99, true); // beyond the list: nothing
    m_list->setPattern(QStringLiteral("*.txt"));
    m_list->setPath(m_dir->path());
    m_list->refresh();
    QCOMPARE(clicks.count(), 1);
}

void TestFileList::refreshThenFocusKeepsNoCurrentItem()
{
    QWidget other;
    other.show();
    m_list->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_list.get()));
    click(3);
    click(4, Qt::ControlModifier);
    QCOMPARE(m_list->fileName(), QStringLiteral("E.zip"));

    m_list->clearFocus();
    m_list->refresh();
    QCOMPARE(selectedRows(*m_list), QList<int>());
    QCOMPARE(m_list->listIndex(), -1);
    QSignalSpy clicks(m_list.get(), &FileList::clicked);
    m_list->setFocus(Qt::TabFocusReason);
    QVERIFY(m_list->hasFocus());
    QCOMPARE(m_list->listIndex(), -1);
    QCOMPARE(m_list->fileName(), QString());
    QCOMPARE(selectedRows(*m_list), QList<int>());

    // A refresh while the list has the focus, then the focus goes and comes back.
    click(2);
    m_list->refresh();
    QCOMPARE(m_list->listIndex(), -1);
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    m_list->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_list.get()));
    QVERIFY(m_list->hasFocus());
    QCOMPARE(m_list->listIndex(), -1);
    QCOMPARE(clicks.count(), 1);
}

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
