#pragma once

#include <QAbstractListModel>
#include "folders/FileNames.h"

// The names of a file list: plain text rows, no icons and nothing looked up per row, so that
// a view over 100,000 names stays quick. A row's text is made only when the view asks for it.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FileListModel(QObject *parent = nullptr);

    // Replaces every row (a model reset: the view's selection and current item go with it).
    void setNames(FileNames names);
    const FileNames &names() const { return m_names; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    FileNames m_names;
};
