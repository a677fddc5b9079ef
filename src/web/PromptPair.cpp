#include "web/PromptPair.h"

#include "platform/EventWaits.h"
#include "platform/ui/Services.h"

PromptPair::PromptPair(const PairDesign &design, Services &services, Lookup lookup, QWidget *owner,
                       OkayCheck check)
    : m_design(design),
      m_services(services),
      m_lookup(std::move(lookup)),
      m_check(std::move(check)),
      m_owner(owner),
      m_prompt([this] {
          return unloadThrough(m_prompt, new LinkPrompt(m_design.prompt, [this] { okay(); }, m_owner));
      }),
      m_launcher([this] { return loadLauncher(); })
{
}

void PromptPair::okay()
{
    if (LinkPrompt *prompt = m_prompt.ifLoaded(); !prompt || (m_check && !m_check(*prompt)))
        return;

    // A launcher that stayed open is only brought to the front: its load does not run again.
    LauncherWindow *launcher = m_launcher.get();
    if (!launcher)
        return; // it did its work and closed itself
    launcher->showStaying();
    if (m_design.promptHidesWhileLauncherStays) {
        EventWaits::yieldOnce();
        if (LinkPrompt *prompt = m_prompt.ifLoaded())
            prompt->hide();
    }
}

LauncherWindow *PromptPair::loadLauncher()
{
    auto *window = new LauncherWindow(m_design.launcher, m_owner);
    QObject::connect(window, &LauncherWindow::unloadRequested, window, [this] { unloadLauncher(); });

    if (m_design.launcherYieldsFirst)
        EventWaits::yieldOnce();
    LinkPrompt *prompt = m_prompt.ifLoaded();
    const std::optional<QString> address = prompt ? m_lookup(*prompt) : std::nullopt;
    if (!address) {
        // The user link that filled the prompt was removed or renamed since: there is nothing
        // to open, and a blank launcher left open would hold back the family's every launch.
        if (prompt && prompt->keyNamesUserLink())
            closeAfterLaunch();
        return window; // any other key that matched nothing: the launcher stays, starting nothing
    }

    // A browser that cannot be started is not reported: the launcher goes on as after a start.
    m_services.browser.start(*address, m_design.browserStyle);
    BrowserAutomation &automation = m_services.browserAutomation;
    if (automation.isBusy())
        return window;
    automation.quit();
    closeAfterLaunch();
    return window;
}

void PromptPair::closeAfterLaunch()
{
    unloadLauncher();
    if (m_design.launcherHidesPrompt) {
        if (LinkPrompt *prompt = m_prompt.ifLoaded())
            prompt->hide();
    }
}

void PromptPair::unloadLauncher()
{
    m_launcher.unload();
    if (m_design.launcherUnloadsPrompt)
        m_prompt.unload();
}
