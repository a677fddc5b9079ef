#include "picview/ViewGraphic.h"

#include "panes/PaneBoard.h"
#include "platform/OpenEndings.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

namespace {

bool hasPictureEnding(const QString &fileName)
{
    return OpenEndings::endsInAny(fileName, OpenEndings::pictureEndings());
}

} // namespace

ViewGraphic::ViewGraphic(PaneBoard &board, Services &services)
    : m_board(board),
      m_services(services),
      m_viewer([this] { return createViewer(); }),
      m_saveas([this] { return unloadThrough(m_saveas, new Saveas(m_services, m_viewer)); })
{
}

QString ViewGraphic::selectFirstMessage()
{
    return QStringLiteral("Please select a file first");
}

void ViewGraphic::mnuBmp_Click()
{
    bool anyPicture = false;
    for (int n = 1; n <= PaneCount && !anyPicture; ++n)
        anyPicture = hasPictureEnding(m_board.pane(n).fileList()->fileName());
    if (!anyPicture)
        return;
    if (m_board.paneHasSelection() == 0) {
        m_services.dialogs.message(selectFirstMessage());
        return;
    }
    showViewer(std::nullopt);
}

void ViewGraphic::mnuGraphic_Click(int n)
{
    if (hasPictureEnding(m_board.pane(n).fileList()->fileName()))
        mnuBmp_Click();
}

void ViewGraphic::showPicture(const QString &path)
{
    showViewer(path);
}

void ViewGraphic::showViewer(const std::optional<QString> &presetPath)
{
    m_presetPath = presetPath;
    RealView *view = m_viewer.get();
    m_presetPath.reset();
    // A viewer that closed itself while loading is gone: nothing more is said.
    if (view)
        view->showInFront();
}

std::optional<QString> ViewGraphic::pathToOffer() const
{
    if (m_presetPath)
        return m_presetPath;
    const int n = m_board.paneHasSelection();
    if (n == 0)
        return std::nullopt;
    return m_board.paneFilePath(n);
}

RealView *ViewGraphic::createViewer()
{
    auto *view = new RealView(m_services);
    QObject::connect(view, &RealView::unloadRequested, view, [this] { m_viewer.unload(); });
    QObject::connect(view, &RealView::saveAsRequested, view, [this] { m_saveas.get()->showInFront(); });
    view->Form_Load(pathToOffer());
    return view;
}
