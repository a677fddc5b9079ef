#pragma once

#include <QStyledItemDelegate>

// Draws a folder-list row indented by its depth, so that the open path reads as a tree.
class FolderItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FolderItemDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int indentOf(const QModelIndex &index) const;
};
