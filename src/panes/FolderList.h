#pragma once

#include "panes/FileNames.h"
#include "panes/FolderWatch.h"

#include <QListView>

#include <optional>

class FileList;
class FolderListModel;

// A pane's folder list: the open folder's path as a tree (each ancestor on its own row,
// indented by depth, the open folder highlighted as open) with the open folder's subfolders
// below it, sorted without regard to case; dot-folders are not listed.
//
// A double-click on an entry (or Enter on the highlighted one) opens that folder; a single
// click only highlights it. Every change of path(), by the user or by setPath(), raises
// changed() once the new path is in place; refresh() re-reads and raises nothing. The right
// button selects nothing. A folder that cannot be read shows its path and no subfolders.
class FolderList : public QListView
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);

    QString path() const;
    // Opens path, made absolute and clean (raises changed() when it differs from the open
    // folder). An empty path is ignored.
    void setPath(const QString &path);
    // Re-reads the folder (an unchanged local folder is not read again: see FolderWatch).
    void refresh();
    // Whether other shows the same folder, so that one read can serve both.
    bool readsSameAs(const FolderList &other) const;
    // A refresh that takes the subfolders source has just refreshed instead of reading them
    // again; a plain refresh() when source shows another folder.
    void refreshFrom(FolderList &source);
    // Opens path with the subfolders a read of it has just given, the read watched by readWatch
    // (raises changed() when path differs from the open folder).
    void openRead(const QString &path, const QStringList &subfolders, FolderWatch &readWatch);
    // While changed() runs for a folder opened by setPath(): opens files on the regular files
    // that folder's read saw, so the pane's file list needs no read of its own. False (files
    // untouched) at any other time.
    bool handFilesTo(FileList &files);
    // Rows as shown: the ancestors, the open folder, then its subfolders.
    int rowCount() const;
    QString rowPath(int row) const;
    // The row of the open folder itself.
    int openRow() const;

Q_SIGNALS:
    void changed();
    void mouseReleased(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void load(const QString &path);
    // Shows the rows of path; the open folder is highlighted.
    void display(const QString &path, const QStringList &subfolders);

    FolderListModel *m_model;
    FolderWatch m_watch;
    // The files of the folder just opened, kept only while changed() runs.
    std::optional<FileNames> m_openedFiles;
};
