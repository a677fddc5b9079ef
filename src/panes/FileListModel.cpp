#include "panes/FileListModel.h"

#include "platform/PathCodec.h"

FileListModel::FileListModel(QObject *parent) : QAbstractListModel(parent)
{
}

void FileListModel::setNames(FileNames names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return PathCodec::displayText(m_names.at(index.row()));
    return QVariant();
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
