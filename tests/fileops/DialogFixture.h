#pragma once

// What the tests of the Copy File, rename and folder windows share: real panes on a temporary
// folder tree and the test services.

#include "panes/DriveList.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "support/TestDir.h"
#include "support/TestServices.h"
#include "support/TmpfsMount.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

#include <memory>

// The five panes on a main window, every pane first on the tree's "start" folder. The tree's
// own folder counts as a mounted volume, so its root rules can be tried on real files.
struct DialogFixture
{
    TestServices test;
    TestDir dir;
    QWidget main;
    std::unique_ptr<PaneBoard> board;

    DialogFixture()
    {
        test.dialogs.acceptAllMessages();
        test.paths = PathHelper({dir.path()});
        // The program's current folder: nothing may be written here.
        QDir::setCurrent(dir.createDir(QStringLiteral("start")));
        board = std::make_unique<PaneBoard>(&main, test.services());
    }
    ~DialogFixture()
    {
        board.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    Services &services() { return test.services(); }
    Pane &pane(int n) { return board->pane(n); }
    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString root() const { return dir.path(); }

    // Opens folder in pane n through its folder list, as the user's double-click does.
    void open(int n, const QString &folder) { pane(n).folderList()->setPath(folder); }

    // Selects names in pane n's file list; the first becomes the current item.
    void select(int n, const QStringList &names)
    {
        FileList *list = pane(n).fileList();
        bool first = true;
        for (int row = 0; row < list->listCount(); ++row) {
            if (!names.contains(list->item(row)))
                continue;
            list->setSelected(row, true);
            if (first)
                list->setListIndex(row);
            first = false;
        }
    }

    QStringList items(int n) const
    {
        QStringList names;
        const FileList *list = board->pane(n).fileList();
        for (int row = 0; row < list->listCount(); ++row)
            names << list->item(row);
        return names;
    }

    QStringList folderRows(int n) const
    {
        QStringList rows;
        const FolderList *list = board->pane(n).folderList();
        for (int row = 0; row < list->rowCount(); ++row)
            rows << list->rowPath(row);
        return rows;
    }

    QStringList messageTexts() const { return test.dialogs.messageTexts(); }

    // Lets a window that unloaded itself be deleted.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};
