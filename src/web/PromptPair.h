#pragma once

#include "platform/Launchers.h"
#include "platform/ui/SharedWindow.h"
#include "web/LauncherWindow.h"
#include "web/LinkPrompt.h"

#include <functional>
#include <optional>

struct Services;

// What sets one prompt/launcher pair of the Internet menu apart from the others.
struct PairDesign
{
    FormDesign prompt;
    LauncherDesign launcher;
    WindowStyle browserStyle = WindowStyle::Maximized;
    // The prompt's "Okay" hides it when the launcher stayed open.
    bool promptHidesWhileLauncherStays = false;
    // The launcher's unload, by itself or by the user, unloads the prompt.
    bool launcherUnloadsPrompt = false;
    // Having closed itself, the launcher hides the prompt, which keeps its texts.
    bool launcherHidesPrompt = false;
    // The launcher lets pending events run before it reads the prompt.
    bool launcherYieldsFirst = false;
};

// One prompt window and its launcher. The menu item fills the prompt and shows it; "Okay"
// loads the launcher, whose load looks the prompt's key up, starts the browser on the
// address found and closes the launcher again unless the browser's automation object is busy.
// A launcher that stays open (busy, or the key matched nothing) only comes to the front on
// the next "Okay" and starts nothing until the user closes it. A user link gone since its item
// filled the prompt opens nothing and closes the launcher, so that it holds nothing back.
class PromptPair
{
public:
    // The address of the prompt's key; nothing when no key matches.
    using Lookup = std::function<std::optional<QString>(LinkPrompt &prompt)>;
    // Asked first by "Okay": false ends it there (a message was shown).
    using OkayCheck = std::function<bool(LinkPrompt &prompt)>;

    PromptPair(const PairDesign &design, Services &services, Lookup lookup, QWidget *owner,
               OkayCheck check = {});
    PromptPair(const PromptPair &) = delete;
    PromptPair &operator=(const PromptPair &) = delete;

    // The prompt, created from its design when it is not loaded.
    LinkPrompt *prompt() { return m_prompt.get(); }
    LinkPrompt *loadedPrompt() const { return m_prompt.ifLoaded(); }
    LauncherWindow *loadedLauncher() const { return m_launcher.ifLoaded(); }

    // "Okay" of the prompt.
    void okay();
    // The launcher's unload, by itself or by its close box.
    void unloadLauncher();

private:
    LauncherWindow *loadLauncher();
    // The launcher's close once its work is done, with what its family does to the prompt then.
    void closeAfterLaunch();

    const PairDesign &m_design;
    Services &m_services;
    Lookup m_lookup;
    OkayCheck m_check;
    QWidget *m_owner;
    SharedWindow<LinkPrompt> m_prompt;
    SharedWindow<LauncherWindow> m_launcher;
};
