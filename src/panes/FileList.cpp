#include "panes/FileList.h"

#include "folders/FolderReadCache.h"
#include "panes/FileListModel.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

FileList::FileList(QWidget *parent) : FileList(*new FolderReadCache(1), parent)
{
    m_ownCache.reset(&m_cache);
}

FileList::FileList(FolderReadCache &cache, QWidget *parent)
    : QListView(parent), m_cache(cache), m_model(new FileListModel(this))
{
    setModel(m_model);
    setSelectionMode(ExtendedSelection);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setDragEnabled(false);
    setMovement(Static);
    setWordWrap(false);
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

void FileList::mousePressEvent(QMouseEvent *event)
{
    // Only the left button selects; the others are left to the release (pop-up menus).
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    if (m_mouseAction) // the release of the last press never came: close that action first
        finishUserAction();
    m_mouseAction = true;
    // A click on a name is the user's click even when the name was the whole selection already.
    if (indexAt(event->position().toPoint()).isValid())
        m_changed = true;
    userInput([&] { QListView::mousePressEvent(event); });
}

void FileList::mouseReleaseEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    const QPoint globalPos = event->globalPosition().toPoint();
    if (button == Qt::LeftButton) {
        userInput([&] { QListView::mouseReleaseEvent(event); });
        if (m_mouseAction) {
            m_mouseAction = false;
            finishUserAction();
        }
    } else {
        event->accept();
    }
    Q_EMIT mouseReleased(button, globalPos);
}

void FileList::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    m_mouseAction = true;
    const bool onName = indexAt(event->position().toPoint()).isValid();
    userInput([&] { QListView::mouseDoubleClickEvent(event); });
    if (onName)
        Q_EMIT doubleClicked();
}

void FileList::mouseMoveEvent(QMouseEvent *event)
{
    // A drag with another button held would select the rows it passes over.
    if (event->buttons() & ~Qt::MouseButtons(Qt::LeftButton)) {
        event->accept();
        return;
    }
    userInput([&] { QListView::mouseMoveEvent(event); });
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    userInput([&] { QListView::keyPressEvent(event); });
}

void FileList::focusInEvent(QFocusEvent *event)
{
    // The base class makes row 0 current on focus-in; a refreshed list must keep none.
    QWidget::focusInEvent(event);
    viewport()->update();
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
