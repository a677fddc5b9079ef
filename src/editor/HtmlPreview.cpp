#include "editor/HtmlPreview.h"

#include "editor/HtmlMenuHost.h"
#include "editor/TextDocument.h"
#include "platform/Launchers.h"
#include "platform/OpenEndings.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

namespace {

QString selectFileFirst()
{
    return QStringLiteral("Please select a file first");
}

bool isHtml(const QString &name)
{
    return OpenEndings::endsInAny(name, OpenEndings::htmlEndings());
}

} // namespace

HtmlPreview::HtmlPreview(Services &services, std::function<QString()> activePaneFile,
                         std::function<HtmlMenuHost *()> editor)
    : m_services(services),
      m_activePaneFile(std::move(activePaneFile)),
      m_editor(std::move(editor)),
      m_web1([this] {
          auto *window = new Web1;
          QObject::connect(window, &Web1::unloadRequested, window, [this] { m_web1.unload(); });
          Web1_Load(*window);
          return window;
      })
{
}

void HtmlPreview::ShowHtmlMenuForPane(HtmlMenuHost &editor)
{
    if (m_activePaneFile && isHtml(m_activePaneFile()))
        editor.setHtmlMenuVisible(true);
}

void HtmlPreview::ShowHtmlMenuForFile(HtmlMenuHost &editor, const QString &fileName)
{
    if (isHtml(fileName))
        editor.setHtmlMenuVisible(true);
}

void HtmlPreview::mnuHtmledit1_Click(HtmlMenuHost &editor)
{
    const TextDocument &document = editor.document();
    // An untitled document has no folder to write the preview into.
    if (!isHtml(document.caption()) || document.isUntitled())
        return;
    const QString preview = PathHelper::join(PathHelper::parentOf(document.path()), QStringLiteral("temp.html"));
    // The document itself is never overwritten by its preview: not by name, and not when one
    // is a link to the other or a second name of the same file.
    if (document.isOwnFile(preview))
        return;
    if (!editor.WriteTextToFile(preview))
        return;
    m_preview = preview;
    editor.setHtmlMenuVisible(false);
    showWeb1();
}

void HtmlPreview::mnuView_Click(HtmlMenuHost &editor)
{
    const QString path = editor.document().path();
    if (path.isEmpty())
        return;
    m_services.browser.start(fileAddress(path), WindowStyle::Normal);
}

void HtmlPreview::showWeb1()
{
    const bool wasLoaded = m_web1.isLoaded();
    Web1 *window = m_web1.get();
    if (!window)
        return;
    window->show();
    if (wasLoaded)
        window->raise();
}

void HtmlPreview::Web1_Load(Web1 &window)
{
    window.hide();
    BrowserAutomation &automation = m_services.browserAutomation;
    if (m_preview) {
        const QString preview = *std::exchange(m_preview, std::nullopt);
        m_services.browser.start(fileAddress(preview), WindowStyle::Normal);
        if (HtmlMenuHost *editor = m_editor())
            editor->setHtmlMenuVisible(true);
        if (!automation.isBusy())
            automation.quit();
        window.unload();
        return;
    }
    // The pane road: the active pane's file, which View Html has just loaded into the editor.
    const QString target = m_activePaneFile ? m_activePaneFile() : QString();
    if (target.isEmpty()) {
        m_services.dialogs.message(selectFileFirst());
        window.unload();
        return;
    }
    m_services.browser.start(fileAddress(target), WindowStyle::Normal);
    if (automation.isBusy())
        return;
    automation.quit();
    window.unload();
}

QString HtmlPreview::fileAddress(const QString &path)
{
    return QStringLiteral("file://") + QString::fromLatin1(PathCodec::encode(path).toPercentEncoding("/"));
}
