#include "search/ResultList.h"

#include "search/ResultListModel.h"

ResultList::ResultList(QWidget *parent)
    : ListBoxView(ExtendedSelection, NoCurrentOnFocus, parent), m_model(new ResultListModel(this))
{
    setModel(m_model);
    // A search can list a million paths, a few thousand at a time: laid out in one pass, each
    // addition would cost a pass over the whole list (tens of ms at a million rows); in batches
    // the window answers between them.
    setLayoutMode(Batched);
    setBatchSize(50000);
}

int ResultList::count() const
{
    return m_model->rowCount();
}

QString ResultList::entry(int row) const
{
    return m_model->path(row);
}

bool ResultList::isSelected(int row) const
{
    return selectionModel()->isRowSelected(row, QModelIndex());
}

QString ResultList::currentText() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->path(current.row()) : QString();
}
