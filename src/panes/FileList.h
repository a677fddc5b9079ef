#pragma once

#include "panes/FolderWatch.h"
#include "panes/NamePattern.h"

#include <QListView>

#include <functional>

class FileListModel;
class FileNames;

// A pane's file list: the bare names of the regular files in path() that match pattern(),
// sorted without regard to case, with extended multi-selection. Dot-files, folders, FIFOs,
// sockets and devices are not listed.
//
// Only the user's own actions raise clicked(): once per mouse click or key press that changed
// the selection or the current item, or that was a left click on a name. Setting the path or
// pattern, refresh() and setSelected() raise nothing. A refresh leaves no selection and no
// current item, also after the list next takes the focus. The right button selects nothing.
class FileList : public QListView
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const;
    // Re-reads the list at the new folder (no event).
    void setPath(const QString &path);
    QString pattern() const;
    // Re-reads the list with the new pattern (no event).
    void setPattern(const QString &pattern);
    // Re-reads the folder; no selection and no current item afterwards (no event). An
    // unchanged local folder is not read again (see FolderWatch).
    void refresh();
    // Whether other lists the same folder with the same pattern, so one read can serve both.
    bool readsSameAs(const FileList &other) const;
    // A refresh that takes the names source has just refreshed instead of reading them again;
    // a plain refresh() when source lists another folder or pattern.
    void refreshFrom(FileList &source);
    // Shows what source shows, its folder with its pattern, taking source's names instead of
    // reading them again (no event). For names source has just read, or that are still current.
    void openFrom(FileList &source);
    // Opens path with the files a read of it has just given (every regular file; the list keeps
    // those its pattern matches), the read watched by readWatch (no event).
    void openRead(const QString &path, const FileNames &allFiles, FolderWatch &readWatch);
    // Whether a read of path() now would give exactly the names shown (see FolderWatch).
    bool isCurrent();
    // Whether both lists hold one and the same set of names, not two copies.
    bool sharesNamesWith(const FileList &other) const;

    int listCount() const;
    // The current item's row, -1 when there is none.
    int listIndex() const;
    // The current item's name, "" when there is none.
    QString fileName() const;
    QString item(int row) const;
    bool isSelected(int row) const;
    // Selects or deselects one row without raising clicked() or moving the current item.
    void setSelected(int row, bool selected);
    // Makes row the current item without changing the selection (no event); -1 for none.
    void setListIndex(int row);

Q_SIGNALS:
    // The user changed the selection (click, Ctrl+click, Shift+click, keyboard).
    void clicked();
    // A left double-click on a name.
    void doubleClicked();
    // A mouse button was released over the list; globalPos is where.
    void mouseReleased(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // Runs one step of a user action; the action raises clicked() when it ends (finish).
    void userInput(const std::function<void()> &handle);
    void finishUserAction();
    void noteChange();
    void load();
    // Shows path with names, which fit this list's pattern; the watch takes over from readWatch.
    void takeListing(const QString &path, const FileNames &names, FolderWatch &readWatch);

    FileListModel *m_model;
    QString m_path;
    NamePattern m_pattern;
    FolderWatch m_watch;
    // Between a left press and its release: a mouse click is one action.
    bool m_mouseAction = false;
    int m_inputDepth = 0;
    bool m_changed = false;
};
