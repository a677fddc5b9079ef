#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The rows of the search result list: full paths, exactly as found (see PathCodec), shown as
// plain text. Rows come in batches, so a walk that finds 200,000 files inserts a few hundred
// batches, not 200,000 rows one by one.
class ResultListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ResultListModel(QObject *parent = nullptr);

    // Appends paths after the last row.
    void append(const QStringList &paths);
    // Makes room for count paths in all, so that appending up to there never copies the list.
    void reserve(qsizetype count) { m_paths.reserve(count); }
    void clear();
    // Replaces every row (a model reset: the view's selection and current item go with it).
    void setPaths(QStringList paths);

    const QStringList &paths() const { return m_paths; }
    QString path(int row) const { return m_paths.value(row); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList m_paths;
};
