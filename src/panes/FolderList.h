#pragma once

#include "platform/ui/ListBoxView.h"


#include <memory>

class FolderListModel;
class FolderReadCache;

// A pane's folder list: the open folder's path as a tree (each ancestor on its own row,
// indented by depth, the open folder highlighted as open) with the open folder's subfolders
// below it, sorted without regard to case; dot-folders are not listed.
//
// A double-click on an entry (or Enter on the highlighted one) opens that folder; a single
// click only highlights it. Every change of path(), by the user or by setPath(), raises
// changed() once the new path is in place; refresh() re-reads and raises nothing. The right
// button selects nothing. A folder that cannot be read shows its path and no subfolders.
//
// The subfolders come from a read cache: the pane board's, shared by its lists, or one of the
// list's own. Opening a folder is one cache step, changed() included, so the pane's file list
// that follows takes the files of the same read.
class FolderList : public ListBoxView
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);
    explicit FolderList(FolderReadCache &cache, QWidget *parent = nullptr);
    ~FolderList() override;

    QString path() const;
    // Opens path, made absolute and clean (raises changed() when it differs from the open
    // folder). An empty path is ignored.
    void setPath(const QString &path);
    // Re-reads the folder (the read cache decides whether an earlier read serves).
    void refresh();
    // Rows as shown: the ancestors, the open folder, then its subfolders.
    int rowCount() const;
    QString rowPath(int row) const;
    // The row of the open folder itself.
    int openRow() const;

Q_SIGNALS:
    void changed();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Shows the rows of path; the open folder is highlighted.
    void display(const QString &path, const QStringList &subfolders);

    std::unique_ptr<FolderReadCache> m_ownCache;
    FolderReadCache &m_cache;
    FolderListModel *m_model;
};
