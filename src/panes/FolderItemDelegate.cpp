#include "panes/FolderItemDelegate.h"

#include "panes/FolderListModel.h"

namespace {
constexpr int indentStep = 8; // pixels per level
}

FolderItemDelegate::FolderItemDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
}

int FolderItemDelegate::indentOf(const QModelIndex &index) const
{
    return index.data(FolderListModel::DepthRole).toInt() * indentStep;
}

void FolderItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    QStyleOptionViewItem indented(option);
    indented.rect.setLeft(option.rect.left() + indentOf(index));
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize FolderItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    return QSize(size.width() + indentOf(index), size.height());
}
