#include "panes/FolderListModel.h"

#include "platform/PathCodec.h"
#include "platform/PathHelper.h"

#include <QApplication>
#include <QStyle>

FolderListModel::FolderListModel(QObject *parent)
    : QAbstractListModel(parent),
      m_openIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon)),
      m_closedIcon(QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon))
{
}

void FolderListModel::setFolder(const QString &path, QStringList subfolders)
{
    beginResetModel();
    m_path = path;
    m_ancestors.clear();
    for (QString step = path; !step.isEmpty();) {
        m_ancestors.prepend(step);
        if (step == QLatin1String("/"))
            break;
        step = PathHelper::parentOf(step);
    }
    m_subfolders = std::move(subfolders);
    endResetModel();
}

QString FolderListModel::rowPath(int row) const
{
    if (row < 0 || row >= rowCount())
        return QString();
    if (row < m_ancestors.size())
        return m_ancestors.at(row);
    return PathHelper::join(m_path, m_subfolders.at(row - m_ancestors.size()));
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ancestors.size() + m_subfolders.size());
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row >= rowCount())
        return QVariant();
    const bool onPath = row < m_ancestors.size();
    switch (role) {
    case Qt::DisplayRole:
        if (!onPath)
            return PathCodec::displayText(m_subfolders.at(row - m_ancestors.size()));
        return PathCodec::displayText(row == 0 ? m_ancestors.at(0) : PathHelper::baseName(m_ancestors.at(row)));
    case Qt::DecorationRole:
        return onPath ? m_openIcon : m_closedIcon;
    case DepthRole:
        return onPath ? row : int(m_ancestors.size());
    default:
        return QVariant();
    }
}

Qt::ItemFlags FolderListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
