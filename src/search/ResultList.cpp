#include "search/ResultList.h"

#include "search/ResultListModel.h"

#include <QFocusEvent>
#include <QMouseEvent>

ResultList::ResultList(QWidget *parent) : QListView(parent), m_model(new ResultListModel(this))
{
    setModel(m_model);
    setSelectionMode(ExtendedSelection);
    setUniformItemSizes(true);
    // A search can list a million paths, a few thousand at a time: laid out in one pass, each
    // addition would cost a pass over the whole list (tens of ms at a million rows); in batches
    // the window answers between them.
    setLayoutMode(Batched);
    setBatchSize(50000);
    setEditTriggers(NoEditTriggers);
    setDragEnabled(false);
    setMovement(Static);
    setWordWrap(false);
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

void ResultList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void ResultList::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        QListView::mouseReleaseEvent(event);
    else
        event->accept();
    Q_EMIT mouseReleased(event->button(), event->globalPosition().toPoint());
}

void ResultList::focusInEvent(QFocusEvent *event)
{
    // The base class would make row 0 current.
    QWidget::focusInEvent(event);
    viewport()->update();
}
