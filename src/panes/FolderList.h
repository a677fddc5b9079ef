#pragma once

#include <QListView>

class FolderListModel;

// A pane's folder list: the open folder's path as a tree (each ancestor on its own row,
// indented by depth, the open folder highlighted as open) with the open folder's subfolders
// below it, sorted without regard to case; dot-folders are not listed.
//
// A double-click on an entry opens that folder; a single click only highlights it. Every
// change of path(), by the user or by setPath(), raises changed() once the new path is in
// place; refresh() re-reads and raises nothing. The right button selects nothing.
class FolderList : public QListView
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);

    QString path() const;
    // Opens path (raises changed() when it differs from the open folder).
    void setPath(const QString &path);
    void refresh();
    // Rows as shown: the ancestors, the open folder, then its subfolders.
    int rowCount() const;
    QString rowPath(int row) const;

Q_SIGNALS:
    void changed();
    void mouseReleased(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    FolderListModel *m_model;
};
