#include "search/ResultListModel.h"

#include "platform/PathCodec.h"

ResultListModel::ResultListModel(QObject *parent) : QAbstractListModel(parent)
{
}

void ResultListModel::append(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const int first = int(m_paths.size());
    beginInsertRows(QModelIndex(), first, first + int(paths.size()) - 1);
    m_paths.append(paths);
    endInsertRows();
}

void ResultListModel::clear()
{
    setPaths(QStringList());
}

void ResultListModel::setPaths(QStringList paths)
{
    beginResetModel();
    m_paths = std::move(paths);
    endResetModel();
}

int ResultListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_paths.size());
}

QVariant ResultListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_paths.size())
        return QVariant();
    return PathCodec::displayText(m_paths.at(index.row()));
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
