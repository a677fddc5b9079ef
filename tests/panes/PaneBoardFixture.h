#pragma once

#include "panes/PaneBoard.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAbstractItemView>
#include <QDir>
#include <QTest>

#include <memory>

// A board of five panes in a shown window, all on a small folder made the current one:
// a.txt, B.txt, c.htm, d.zip, sub1/x.txt and the folder empty. The board's test classes
// derive from it beside TestCase.
class PaneBoardFixture
{
protected:
    // From a test's init(), inside QVERIFY: false when the window did not come up.
    bool setUpBoard()
    {
        m_services = std::make_unique<TestServices>();
        m_dir = std::make_unique<TestDir>();
        for (const char *name : {"a.txt", "B.txt", "c.htm", "d.zip"})
            m_dir->createFile(QString::fromLatin1(name));
        m_dir->createFile(QStringLiteral("sub1/x.txt"));
        m_dir->createDir(QStringLiteral("empty"));
        m_oldCurrent = QDir::currentPath();
        if (!QDir::setCurrent(m_dir->path()))
            return false;

        m_window = std::make_unique<QWidget>();
        m_window->resize(792, 529);
        m_board = std::make_unique<PaneBoard>(m_window.get(), m_services->services());
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get());
    }

    void tearDownBoard()
    {
        m_board.reset();
        m_window.reset();
        QDir::setCurrent(m_oldCurrent);
        m_dir.reset();
        m_services.reset();
    }

    FileList *files(int pane) const { return m_board->pane(pane).fileList(); }
    FolderList *folders(int pane) const { return m_board->pane(pane).folderList(); }

    void clickFile(int pane, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        FileList *list = files(pane);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(list->model()->index(row, 0)).center());
    }

    static QList<int> selectedRows(const FileList *list)
    {
        QList<int> rows;
        for (int row = 0; row < list->listCount(); ++row) {
            if (list->isSelected(row))
                rows << row;
        }
        return rows;
    }

    static QStringList names(const FileList *list)
    {
        QStringList all;
        for (int row = 0; row < list->listCount(); ++row)
            all << list->item(row);
        return all;
    }

    // Whether both lists show one read's names, not two copies.
    static bool sharesNames(const FileList *list, const FileList *other)
    {
        return list->names().sharesWith(other->names());
    }

    static QStringList subfolderPaths(const FolderList *list)
    {
        QStringList paths;
        for (int row = list->openRow() + 1; row < list->rowCount(); ++row)
            paths << list->rowPath(row);
        return paths;
    }

    std::unique_ptr<TestServices> m_services;
    std::unique_ptr<TestDir> m_dir;
    QString m_oldCurrent;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<PaneBoard> m_board;
};
