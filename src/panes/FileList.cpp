#include "panes/FileList.h"

#include "folders/FolderReadCache.h"
#include "panes/FileListModel.h"

#include <QKeyEvent>
#include <QMouseEvent>

FileList::FileList(QWidget *parent) : FileList(*new FolderReadCache(1), parent)
{
    m_ownCache.reset(&m_cache);
}

FileList::FileList(FolderReadCache &cache, QWidget *parent)
    // A refresh leaves no current item, also once the list takes the focus.
    : ListBoxView(ExtendedSelection, NoCurrentOnFocus | LeftButtonDragsOnly, parent),
      m_cache(cache),
      m_model(new FileListModel(this))
{
    setModel(m_model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { noteChange(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { noteChange(); });
}

QString FileList::path() const
{
    return m_path;
}

FileList::~FileList() = default;

void FileList::setPath(const QString &path)
{
    if (path == m_path) { // the same folder again: as a refresh, which reads only what changed
        refresh();
        return;
    }
    m_path = path;
    load();
}

QString FileList::pattern() const
{
    return m_pattern.text();
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = NamePattern(pattern);
    load();
}

void FileList::refresh()
{
    // A model reset drops the selection and the current item without selection signals.
    load();
}

void FileList::load()
{
    m_model->setNames(m_cache.files(m_path, m_pattern));
}

const FileNames &FileList::names() const
{
    return m_model->names();
}

int FileList::listCount() const
{
    return m_model->rowCount();
}

int FileList::listIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString FileList::fileName() const
{
    return item(listIndex());
}

QString FileList::item(int row) const
{
    return m_model->names().at(row);
}

bool FileList::isSelected(int row) const
{
    if (row < 0 || row >= listCount())
        return false;
    return selectionModel()->isSelected(m_model->index(row));
}

void FileList::setSelected(int row, bool selected)
{
    if (row < 0 || row >= listCount())
        return;
    selectionModel()->select(m_model->index(row),
                             selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void FileList::setListIndex(int row)
{
    const QModelIndex index = row >= 0 && row < listCount() ? m_model->index(row) : QModelIndex();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void FileList::leftPress(QMouseEvent *event)
{
    if (m_mouseAction) // the release of the last press never came: close that action first
        finishUserAction();
    m_mouseAction = true;
    // A click on a name is the user's click even when the name was the whole selection already.
    if (indexAt(event->position().toPoint()).isValid())
        m_changed = true;
    userInput([&] { ListBoxView::leftPress(event); });
}

void FileList::leftRelease(QMouseEvent *event)
{
    userInput([&] { ListBoxView::leftRelease(event); });
    if (m_mouseAction) {
        m_mouseAction = false;
        finishUserAction();
    }
}

void FileList::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    m_mouseAction = true;
    const bool onName = indexAt(event->position().toPoint()).isValid();
    userInput([&] { ListBoxView::mouseDoubleClickEvent(event); });
    if (onName)
        Q_EMIT doubleClicked();
}

void FileList::pointerMove(QMouseEvent *event)
{
    userInput([&] { ListBoxView::pointerMove(event); });
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    userInput([&] { ListBoxView::keyPressEvent(event); });
}

void FileList::userInput(const std::function<void()> &handle)
{
    ++m_inputDepth;
    handle();
    --m_inputDepth;
    if (m_inputDepth == 0 && !m_mouseAction)
        finishUserAction();
}

void FileList::finishUserAction()
{
    if (!m_changed)
        return;
    m_changed = false;
    Q_EMIT clicked();
}

void FileList::noteChange()
{
    if (m_inputDepth > 0)
        m_changed = true;
}
