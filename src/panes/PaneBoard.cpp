#include "panes/PaneBoard.h"

#include "panes/DriveList.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneGeometry.h"
#include "platform/Drives.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {
QLineEdit *makeField(QWidget *parent, const QString &name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->hide();
    return field;
}
// Refreshes the lists in their order; a list showing what an earlier one of the same step
// read takes that read instead of reading the folder again (panes often share a folder).
template <typename List>
void refreshInTurn(const std::vector<List *> &lists)
{
    for (auto it = lists.begin(); it != lists.end(); ++it) {
        const auto earlier = std::find_if(lists.begin(), it, [&](List *done) {
            return done->readsSameAs(**it);
        });
        if (earlier != it)
            (*it)->refreshFrom(**earlier);
        else
            (*it)->refresh();
    }
}
} // namespace

PaneBoard::PaneBoard(QWidget *parent, Services &services)
    : m_services(services),
      m_text6(makeField(parent, QStringLiteral("Text6"))),
      m_text7(makeField(parent, QStringLiteral("Text7"))),
      m_text8(makeField(parent, QStringLiteral("Text8")))
{
    QFont bold = m_text8->font();
    bold.setBold(true);
    m_text8->setFont(bold);
    m_text8->setReadOnly(true);
    m_text8->setGeometry(PaneGeometry::messageField().toPixels());

    for (const PaneSpec &spec : paneSpecs()) {
        auto pane = std::make_unique<Pane>(spec, parent);
        openAtStart(*pane);
        m_panes.at(spec.number - 1) = std::move(pane);
    }
    // Only now: the start itself runs none of the change steps.
    for (const auto &pane : m_panes)
        connectPane(*pane);
}

PaneBoard::~PaneBoard()
{
    // The panes first (they disconnect from this board), then the fields.
    for (auto &pane : m_panes)
        pane.reset();
    delete m_text6.data();
    delete m_text7.data();
    delete m_text8.data();
}

void PaneBoard::openAtStart(Pane &pane)
{
    const QString current = PathCodec::currentFolder();
    pane.driveList()->setDrives(m_services.drives.drives());
    pane.driveList()->setDrive(m_services.paths.driveRootOf(current));
    pane.folderList()->setPath(current);
    // No pattern: every file is listed, whatever the pattern box shows.
    pane.fileList()->setPath(current);
}

void PaneBoard::connectPane(Pane &pane)
{
    const int n = pane.number();
    connect(pane.driveList(), &DriveList::changed, this, [this, n] { driveChange(n); });
    connect(pane.folderList(), &FolderList::changed, this, [this, n] { folderChange(n); });
    connect(pane.fileList(), &FileList::clicked, this, [this, n] { fileListClick(n); });
    connect(pane.fileList(), &FileList::doubleClicked, this, [this, n] { Q_EMIT fileDoubleClicked(n); });
    connect(pane.button(), &QPushButton::clicked, this, [this, n] { changeExtension(n); });
    connect(pane.folderList(), &FolderList::mouseReleased, this,
            [this, n](Qt::MouseButton button, const QPoint &globalPos) {
                onMouseReleased(n, PopupKind::Folder, button, globalPos);
            });
    connect(pane.fileList(), &FileList::mouseReleased, this,
            [this, n](Qt::MouseButton button, const QPoint &globalPos) {
                onMouseReleased(n, PopupKind::File, button, globalPos);
            });
}

Pane &PaneBoard::pane(int n) const
{
    Q_ASSERT(n >= 1 && n <= PaneCount);
    return *m_panes.at(n - 1);
}

int PaneBoard::paneHasSelection() const
{
    for (int n = 1; n <= PaneCount; ++n) {
        if (passesSelectionRule(n))
            return n;
    }
    return 0;
}

bool PaneBoard::passesSelectionRule(int n) const
{
    const FileList *list = pane(n).fileList();
    return list->listCount() > 0 && (list->listIndex() >= 1 || list->isSelected(0));
}

QString PaneBoard::paneFilePath(int n) const
{
    const Pane &p = pane(n);
    return PathHelper::join(p.folderList()->path(), p.fileList()->fileName());
}

void PaneBoard::driveChange(int n)
{
    Pane &p = pane(n);
    const DriveFolder folder = m_services.drives.currentFolderOf(p.driveList()->drive());
    if (folder.error != 0 || folder.path.isEmpty()) {
        // The drive list keeps the new drive; the folder and file lists keep the old folder.
        const QString text = PaneTexts::driveErrorMessage(folder.error);
        if (!text.isEmpty())
            m_services.dialogs.message(text);
        return;
    }
    // Runs the folder-change steps inside this one when the folder differs.
    p.folderList()->setPath(folder.path);
}

void PaneBoard::folderChange(int n)
{
    Pane &p = pane(n);
    m_text6->setText(p.numberText());
    p.fileList()->setPath(p.folderList()->path());
    refreshOthers(n, true);
    if (p.fileList()->listCount() > 0)
        m_text8->hide();
}

void PaneBoard::fileListClick(int n)
{
    m_text7->setText(pane(n).numberText());
    refreshOthers(n, false);
}

void PaneBoard::changeExtension(int n)
{
    Pane &p = pane(n);
    m_text8->hide();
    p.fileList()->setPattern(p.patternBox()->text());
    if (p.fileList()->listCount() == 0) {
        m_text8->setText(PaneTexts::noFilesMessage());
        m_text8->setCursorPosition(0); // show the start of the message, not its end
        m_text8->show();
    }
}

void PaneBoard::refreshAll()
{
    refreshFileLists({1, 2, 3, 4, 5});
}

void PaneBoard::refreshPane(int n)
{
    pane(n).fileList()->refresh();
}

void PaneBoard::refreshFileLists(const QList<int> &panes)
{
    std::vector<FileList *> lists;
    for (int n : panes)
        lists.push_back(pane(n).fileList());
    refreshInTurn(lists);
}

void PaneBoard::refreshOthers(int n, bool folderLists)
{
    std::vector<FolderList *> folders;
    std::vector<FileList *> files;
    for (const auto &pane : m_panes) {
        if (pane->number() == n)
            continue;
        folders.push_back(pane->folderList());
        files.push_back(pane->fileList());
    }
    if (folderLists)
        refreshInTurn(folders);
    else
        refreshInTurn(files);
}

void PaneBoard::onMouseReleased(int n, PopupKind kind, Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        Q_EMIT popupRequested(n, kind, globalPos);
}
