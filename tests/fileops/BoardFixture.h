#pragma once

#include "fileops/CopyBatch.h"
#include "fileops/CopyCommands.h"
#include "fileops/DeleteCommands.h"
#include "fileops/PasteCommands.h"
#include "fileops/SearchResultBatch.h"
#include "fileops/SharedStandby.h"
#include "fileops/RecordingSearchResults.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <functional>

// The real file services, with a look at each copy just before it runs.
class CopySpy : public FileServices
{
public:
    explicit CopySpy(FileServices &real) : m_real(real) {}
    int copyFile(const QString &source, const QString &target) override
    {
        if (beforeCopy)
            beforeCopy(source, target);
        return m_real.copyFile(source, target);
    }
    int rename(const QString &from, const QString &to) override { return m_real.rename(from, to); }
    int makeFolder(const QString &path) override { return m_real.makeFolder(path); }
    int removeFolder(const QString &path) override { return m_real.removeFolder(path); }
    bool exists(const QString &path) override { return m_real.exists(path); }
    qint64 length(const QString &path) override { return m_real.length(path); }
    FileContents readFile(const QString &path, qint64 maxSize) override { return m_real.readFile(path, maxSize); }
    std::shared_ptr<FileReader> reader() override { return m_real.reader(); }
    int writeFile(const QString &path, const QByteArray &data) override { return m_real.writeFile(path, data); }
    int replaceFile(const QString &path, const QByteArray &data) override { return m_real.replaceFile(path, data); }
    bool isSameFile(const QString &a, const QString &b) override { return m_real.isSameFile(a, b); }

    std::function<void(const QString &source, const QString &target)> beforeCopy;

private:
    FileServices &m_real;
};

// The trash, with a look at each request just before it is made.
class TrashSpy : public Trash
{
public:
    explicit TrashSpy(Trash &real) : m_real(real) {}
    bool moveToTrash(const QString &path) override
    {
        if (beforeTrash)
            beforeTrash(path);
        return m_real.moveToTrash(path);
    }
    std::function<void(const QString &path)> beforeTrash;

private:
    Trash &m_real;
};

// Counts the times a window of the given name is shown.
class ShowWatcher : public QObject
{
public:
    explicit ShowWatcher(QString name) : m_name(std::move(name)) { qApp->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && watched->objectName() == m_name)
            ++shows;
        return false;
    }
    int shows = 0;

private:
    QString m_name;
};

// The main window's file browser with the file commands on it, on real files, a real trash and
// the real clipboard. The busy window ticks every millisecond and loops yield on every pass.
struct BoardFixture
{
    static constexpr int tickMs = 1;

    TestServices test;
    CopySpy files{test.files};
    TrashSpy trash{test.trash};
    Services services{test.dialogs, files, trash, test.drives, test.paths, test.clipboard,
                      test.programs, test.shellOpen, test.browser, test.browserAutomation,
                      test.shellWindows, test.printer, test.programEnd, test.clock};
    QWidget window;
    PaneBoard board{&window, services};
    CopyBatch batch;
    SharedStandby standby{test.programEnd, tickMs};
    RecordingSearchResults results;
    SearchResultBatch searchBatch{board, services, batch, results, 0};
    CopyCommands copy{board, services, batch};
    PasteCommands paste{board, services, batch, standby, searchBatch, 0};
    DeleteCommands remove{board, services, standby, 0};

    FileList *fileList(int n) const { return board.pane(n).fileList(); }

    // Creates the folder relative in dir with one file per name (holding its own name).
    static QString makeFolder(TestDir &dir, const QString &relative, const QStringList &names = {})
    {
        const QString folder = dir.createDir(relative);
        for (const QString &name : names)
            dir.createFile(relative + QLatin1Char('/') + name, name.toUtf8());
        return folder;
    }

    // The pane Copy of names in folder, through pane n.
    void copyFrom(int n, const QString &folder, const QStringList &names)
    {
        open(n, folder);
        select(n, names);
        copy.paneCopy(n);
    }

    // Opens pane n on folder, as a folder-list change does.
    void open(int n, const QString &folder) { board.pane(n).folderList()->setPath(folder); }

    int row(int n, const QString &name) const
    {
        FileList *list = fileList(n);
        for (int i = 0; i < list->listCount(); ++i) {
            if (list->item(i) == name)
                return i;
        }
        return -1;
    }

    // Selects names in pane n's file list; current is the current item ("" for none).
    void select(int n, const QStringList &names, const QString &current = QString())
    {
        for (const QString &name : names) {
            const int r = row(n, name);
            QVERIFY2(r >= 0, qPrintable(name));
            fileList(n)->setSelected(r, true);
        }
        if (!current.isEmpty())
            fileList(n)->setListIndex(row(n, current));
    }

    bool hasSelection(int n) const
    {
        for (int i = 0; i < fileList(n)->listCount(); ++i) {
            if (fileList(n)->isSelected(i))
                return true;
        }
        return false;
    }

    QStringList listed(int n) const
    {
        QStringList names;
        for (int i = 0; i < fileList(n)->listCount(); ++i)
            names << fileList(n)->item(i);
        return names;
    }
};
