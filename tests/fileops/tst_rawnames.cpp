// Names that are not UTF-8, beside their look-alike twin, through the file commands on real
// files: each command acts on exactly the file chosen and leaves every byte of the other.

#include "fileops/BoardFixture.h"
#include "fileops/FileRename.h"
#include "fileops/Namer2.h"
#include "panes/FolderListModel.h"
#include "platform/PathCodec.h"
#include "support/RawFiles.h"
#include "support/TestCase.h"

#include <QLineEdit>
#include <QPushButton>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// "bad\xff.txt" holds a byte of no UTF-8; its twin spells the replacement mark U+FFFD.
const QByteArray rawBytes("bad\xff.txt");
const QByteArray twinBytes("bad\xef\xbf\xbd.txt");

// The names in a folder, as the bytes the file system holds, sorted.
QList<QByteArray> namesIn(const QByteArray &folder)
{
    QList<QByteArray> names;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The original path kept in the trash record of the one file in the trash of dataHome.
QByteArray trashedPath(const QString &dataHome)
{
    const QByteArray info = PathCodec::encode(dataHome) + "/Trash/info";
    const QList<QByteArray> records = namesIn(info);
    if (records.size() != 1)
        return QByteArray("(records: ") + QByteArray::number(records.size()) + ')';
    for (const QByteArray &line : RawFiles::read(info + '/' + records.first()).split('\n')) {
        if (line.startsWith("Path="))
            return QByteArray::fromPercentEncoding(line.mid(5));
    }
    return QByteArray("(no path)");
}

} // namespace

class TestRawNames : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void commandActsOnTheChosenName_data();
    void commandActsOnTheChosenName();
};

void TestRawNames::commandActsOnTheChosenName_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("chooseRaw");
    for (const char *command : {"copy and paste", "rename", "delete", "folder list"}) {
        QTest::addRow("%s the raw byte", command) << QString::fromLatin1(command) << true;
        QTest::addRow("%s the replacement mark", command) << QString::fromLatin1(command) << false;
    }
}

void TestRawNames::commandActsOnTheChosenName()
{
    QFETCH(QString, command);
    QFETCH(bool, chooseRaw);

    TestDir dir;
    const QString data = dir.createDir(QStringLiteral("Data"));
    const QString out = dir.createDir(QStringLiteral("Out"));
    const QByteArray dataBytes = PathCodec::encode(data);
    const QByteArray chosenBytes = chooseRaw ? rawBytes : twinBytes;
    const QByteArray otherBytes = chooseRaw ? twinBytes : rawBytes;
    const QByteArray chosenContents = chooseRaw ? "raw byte" : "replacement mark";
    const QByteArray otherContents = chooseRaw ? "replacement mark" : "raw byte";
    QVERIFY(RawFiles::write(dataBytes + '/' + chosenBytes, chosenContents));
    QVERIFY(RawFiles::write(dataBytes + '/' + otherBytes, otherContents));
    const QString chosen = PathCodec::decode(chosenBytes);

    BoardFixture f;
    f.open(1, data);
    QCOMPARE(f.fileList(1)->listCount(), 2);
    // Both show the mark; the list still tells them apart.
    for (int row = 0; row < 2; ++row)
        QCOMPARE(f.fileList(1)->model()->index(row, 0).data().toString(), QStringLiteral("bad\uFFFD.txt"));
    QVERIFY(f.row(1, chosen) >= 0);

    QList<QByteArray> dataAfter{chosenBytes, otherBytes};
    if (command == QLatin1String("copy and paste")) {
        f.copyFrom(1, data, {chosen});
        f.open(2, out);
        f.paste.panePaste(2);
        QCOMPARE(namesIn(PathCodec::encode(out)), QList<QByteArray>{chosenBytes});
        QCOMPARE(RawFiles::read(PathCodec::encode(out) + '/' + chosenBytes), chosenContents);
    } else if (command == QLatin1String("rename")) {
        FileRename rename(f.services, f.board);
        f.select(1, {chosen}, chosen);
        rename.mnuReeName_Click(1);
        QVERIFY(rename.dialog());
        rename.dialog()->text1()->setText(QStringLiteral("renamed.txt"));
        rename.dialog()->button(QStringLiteral("Command1"))->click();
        dataAfter = {otherBytes, "renamed.txt"};
        QCOMPARE(RawFiles::read(dataBytes + "/renamed.txt"), chosenContents);
    } else if (command == QLatin1String("delete")) {
        f.select(1, {chosen}, chosen);
        f.remove.paneDelete(1);
        dataAfter = {otherBytes};
        QCOMPARE(trashedPath(f.test.dataHome()), dataBytes + '/' + chosenBytes);
    } else {
        // The same two names as folders, each holding a file of its own; Enter opens the one
        // highlighted.
        const QByteArray folders = dataBytes + "/folders";
        QVERIFY(::mkdir(folders.constData(), 0755) == 0);
        QVERIFY(::mkdir((folders + '/' + chosenBytes).constData(), 0755) == 0);
        QVERIFY(::mkdir((folders + '/' + otherBytes).constData(), 0755) == 0);
        QVERIFY(RawFiles::write(folders + '/' + chosenBytes + "/inside-chosen.txt", "in"));
        QVERIFY(RawFiles::write(folders + '/' + otherBytes + "/inside-other.txt", "in"));
        FolderList *list = f.board.pane(1).folderList();
        list->setPath(PathCodec::decode(folders));
        const QString chosenFolder = PathCodec::decode(folders + '/' + chosenBytes);
        int row = -1;
        for (int i = 0; i < list->rowCount(); ++i) {
            if (list->rowPath(i) == chosenFolder)
                row = i;
        }
        QVERIFY(row >= 0);
        QCOMPARE(list->model()->index(row, 0).data().toString(), QStringLiteral("bad\uFFFD.txt"));
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->path(), chosenFolder);
        QCOMPARE(f.listed(1), QStringList{QStringLiteral("inside-chosen.txt")});
        dataAfter << "folders";
    }

    std::sort(dataAfter.begin(), dataAfter.end());
    QCOMPARE(namesIn(dataBytes), dataAfter);
    QCOMPARE(RawFiles::read(dataBytes + '/' + otherBytes), otherContents);
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

QTEST_MAIN(TestRawNames)
#include "tst_rawnames.moc"
