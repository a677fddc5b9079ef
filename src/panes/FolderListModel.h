#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>

// The rows of a folder list: the open folder's ancestors from "/" down to the open folder,
// then the open folder's subfolders. Each row knows its depth (for the indent) and whether it
// is on the open path; the two folder icons are made once and shared by every row.
class FolderListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { DepthRole = Qt::UserRole + 1 };

    explicit FolderListModel(QObject *parent = nullptr);

    // Shows path (an absolute, clean path) with the given subfolder names (a model reset).
    void setFolder(const QString &path, QStringList subfolders);
    const QString &path() const { return m_path; }
    // The row of the open folder itself.
    int openRow() const { return int(m_ancestors.size()) - 1; }
    QString rowPath(int row) const;
    const QStringList &subfolders() const { return m_subfolders; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QString m_path;
    QStringList m_ancestors; // "/", "/home", "/home/user": full paths, the open folder last
    QStringList m_subfolders;
    QIcon m_openIcon;
    QIcon m_closedIcon;
};
