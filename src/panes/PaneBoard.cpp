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
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {
QLineEdit *makeField(QWidget *parent, const QString &name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->hide();
    return field;
}
// The width at which a line edit shows its whole text.
int widthToShowAll(const QLineEdit *field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QMargins margins = field->textMargins();
    // A line edit keeps 2 pixels free on each side of its text within its frame, and scrolls
    // when the text and the cursor after it do not fit.
    const int text = field->fontMetrics().horizontalAdvance(field->text()) + margins.left() + margins.right()
                     + 2 * 2 + 2;
    return field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, field->height()), field).width();
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

    for (const PaneSpec &spec : paneSpecs())
        m_panes.at(spec.number - 1) = std::make_unique<Pane>(spec, parent, m_cache);
    openAtStart();
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

void PaneBoard::openAtStart()
{
    // Every pane opens on the current folder: one read serves all ten lists.
    const FolderReadCache::Step step(m_cache);
    const QString current = PathCodec::currentFolder();
    const QList<Drive> drives = m_services.drives.drives();
    const QString drive = m_services.paths.driveRootOf(current);
    for (const auto &pane : m_panes) {
        pane->driveList()->setDrives(drives);
        pane->driveList()->setDrive(drive);
        pane->folderList()->setPath(current);
        // No pattern: every file is listed, whatever the pattern box shows.
        pane->fileList()->setPath(current);
    }
}

void PaneBoard::connectPane(Pane &pane)
{
    const int n = pane.number();
    connect(pane.driveList(), &DriveList::changed, this, [this, n] { driveChange(n); });
    // A volume mounted since the last look shows up; the drive shown stays.
    DriveList *drives = pane.driveList();
    connect(drives, &DriveList::opening, this, [this, drives] { drives->setDrives(m_services.drives.drives()); });
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

void PaneBoard::setActivePane(int n)
{
    m_activePane = n;
    if (m_text7)
        m_text7->setText(pane(n).numberText());
}

void PaneBoard::setLastFolderChangePane(int n)
{
    m_lastFolderChangePane = n;
    if (m_text6)
        m_text6->setText(pane(n).numberText());
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
    setLastFolderChangePane(n);
    // The read cache decides whether the folder is read again: another pane may show it with
    // the same pattern, or the folder list has just read it.
    const FolderReadCache::Step step(m_cache);
    p.fileList()->setPath(p.folderList()->path());
    refreshOthers(n, true);
    if (p.fileList()->listCount() > 0)
        m_text8->hide();
}

void PaneBoard::fileListClick(int n)
{
    setActivePane(n);
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
        // The designed width cuts the message short in today's fonts: the field grows to show
        // it whole, to the right, where it covers no more than the panes' lower rows.
        const int designed = PaneGeometry::messageField().toPixels().width();
        m_text8->resize(std::max(designed, widthToShowAll(m_text8)), m_text8->height());
        m_text8->show();
        // The field shares its corner with the pattern boxes and buttons of some layouts.
        m_text8->raise();
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
    const FolderReadCache::Step step(m_cache);
    for (int n : panes)
        pane(n).fileList()->refresh();
}

void PaneBoard::refreshOthers(int n, bool folderLists)
{
    // One step: panes on one folder share one read.
    const FolderReadCache::Step step(m_cache);
    for (const auto &pane : m_panes) {
        if (pane->number() == n)
            continue;
        if (folderLists)
            pane->folderList()->refresh();
        else
            pane->fileList()->refresh();
    }
}

void PaneBoard::onMouseReleased(int n, PopupKind kind, Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        Q_EMIT popupRequested(n, kind, globalPos);
}
