#pragma once

#include "open/OpenDispatch.h"
#include "open/RecordingTargets.h"
#include "open/ViewCommands.h"
#include "open/ZipView.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QTest>
#include <QWidget>

// The file browser with the commands that open files, on real files; the editor, the viewers
// and the program starts are recorded.
struct OpenFixture
{
    OpenFixture() { test.dialogs.acceptAllMessages(); }

    TestServices test;
    QWidget window;
    PaneBoard board{&window, test.services()};
    RecordingEditor editor;
    RecordingHtmlViewer htmlViewer{editor};
    RecordingPictureOpener pictures;
    ViewCommands views{board, test.dialogs, editor, htmlViewer};
    OpenDispatch dispatch{board, test.services(), pictures, views};
    ZipView zipView{board, test.shellOpen};

    FileList *fileList(int n) const { return board.pane(n).fileList(); }

    // Opens pane n on folder, as a change in its folder list does.
    void open(int n, const QString &folder) { board.pane(n).folderList()->setPath(folder); }

    int row(int n, const QString &name) const
    {
        for (int i = 0; i < fileList(n)->listCount(); ++i) {
            if (fileList(n)->item(i) == name)
                return i;
        }
        return -1;
    }

    // Selects name alone in pane n and makes it the current item.
    void select(int n, const QString &name)
    {
        const int r = row(n, name);
        QVERIFY2(r >= 0, qPrintable(name));
        for (int i = 0; i < fileList(n)->listCount(); ++i)
            fileList(n)->setSelected(i, i == r);
        fileList(n)->setListIndex(r);
    }

    // A click on name in pane n: the pane becomes the active one and the other file lists are
    // read again (which clears their selections).
    void click(int n, const QString &name)
    {
        select(n, name);
        board.fileListClick(n);
    }

    // Everything the commands did, one line each: starts, desktop opens, the picture viewer,
    // editor loads, the HTML viewer and messages.
    QStringList happened() const
    {
        QStringList lines;
        for (const StartRequest &start : test.programs.starts)
            lines << QStringLiteral("start ") + start.program + QStringLiteral(" in ") + start.folder;
        for (const QString &path : test.shellOpen.opened)
            lines << QStringLiteral("open ") + path;
        for (int i = 0; i < pictures.calls; ++i)
            lines << QStringLiteral("view graphic");
        for (const QString &path : editor.loaded)
            lines << QStringLiteral("edit ") + path;
        for (const QString &path : htmlViewer.shown)
            lines << QStringLiteral("html ") + path;
        for (const QString &text : test.dialogs.messageTexts())
            lines << QStringLiteral("message ") + text;
        return lines;
    }
};
