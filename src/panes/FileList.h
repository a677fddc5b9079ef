#pragma once

#include "folders/FileNames.h"
#include "folders/NamePattern.h"
#include "platform/ui/ListBoxView.h"

#include <functional>
#include <memory>

class FileListModel;
class FolderReadCache;

// A pane's file list: the bare names of the regular files in path() that match pattern(),
// sorted without regard to case, with extended multi-selection. Dot-files, folders, FIFOs,
// sockets and devices are not listed.
//
// Only the user's own actions raise clicked(): once per mouse click or key press that changed
// the selection or the current item, or that was a left click on a name. Setting the path or
// pattern, refresh() and setSelected() raise nothing. A refresh leaves no selection and no
// current item, also after the list next takes the focus. The right button selects nothing.
//
// The names come from a read cache: the pane board's, shared by its lists, or one of the list's
// own.
class FileList : public ListBoxView
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);
    explicit FileList(FolderReadCache &cache, QWidget *parent = nullptr);
    ~FileList() override;

    QString path() const;
    // Re-reads the list at the new folder (no event).
    void setPath(const QString &path);
    QString pattern() const;
    // Re-reads the list with the new pattern (no event).
    void setPattern(const QString &pattern);
    // Re-reads the folder; no selection and no current item afterwards (no event). The read
    // cache decides whether the folder is read again or an earlier read serves.
    void refresh();
    // The names shown; lists given one read hold the very same names.
    const FileNames &names() const;

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

protected:
    void leftPress(QMouseEvent *event) override;
    void leftRelease(QMouseEvent *event) override;
    void pointerMove(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Runs one step of a user action; the action raises clicked() when it ends (finish).
    void userInput(const std::function<void()> &handle);
    void finishUserAction();
    void noteChange();
    void load();

    std::unique_ptr<FolderReadCache> m_ownCache;
    FolderReadCache &m_cache;
    FileListModel *m_model;
    QString m_path;
    NamePattern m_pattern;
    // Between a left press and its release: a mouse click is one action.
    bool m_mouseAction = false;
    int m_inputDepth = 0;
    bool m_changed = false;
};
