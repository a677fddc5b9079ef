#include "panes/FolderList.h"

#include "folders/FolderReadCache.h"
#include "panes/FolderItemDelegate.h"
#include "panes/FolderListModel.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>

FolderList::FolderList(QWidget *parent) : FolderList(*new FolderReadCache(1), parent)
{
    m_ownCache.reset(&m_cache);
}

FolderList::FolderList(FolderReadCache &cache, QWidget *parent)
    : ListBoxView(SingleSelection, LeftButtonDragsOnly, parent), m_cache(cache), m_model(new FolderListModel(this))
{
    setModel(m_model);
    setItemDelegate(new FolderItemDelegate(this));
}

FolderList::~FolderList() = default;

namespace {
// path made absolute against the program's current folder (through the codec, so a folder whose
// name is not UTF-8 stays itself) and cleaned of "." and ".." parts.
QString absoluteClean(const QString &path)
{
    const QString absolute = path.startsWith(QLatin1Char('/')) ? path : PathHelper::join(PathCodec::currentFolder(), path);
    return QDir::cleanPath(absolute);
}
} // namespace

QString FolderList::path() const
{
    return m_model->path();
}

void FolderList::setPath(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString clean = absoluteClean(path);
    if (clean == m_model->path()) {
        refresh();
        return;
    }
    // One step: the pane's file list, which opens the folder in changed(), takes this read.
    const FolderReadCache::Step step(m_cache);
    display(clean, m_cache.openFolder(clean));
    Q_EMIT changed();
}

void FolderList::refresh()
{
    display(path(), m_cache.folders(path()));
}

void FolderList::display(const QString &path, const QStringList &subfolders)
{
    m_model->setFolder(path, subfolders);
    if (m_model->openRow() >= 0)
        setCurrentIndex(m_model->index(m_model->openRow()));
}

int FolderList::rowCount() const
{
    return m_model->rowCount();
}

QString FolderList::rowPath(int row) const
{
    return m_model->rowPath(row);
}

int FolderList::openRow() const
{
    return m_model->openRow();
}

void FolderList::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        setPath(m_model->rowPath(index.row()));
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        event->accept();
        setPath(m_model->rowPath(currentIndex().row()));
        return;
    }
    ListBoxView::keyPressEvent(event);
}
