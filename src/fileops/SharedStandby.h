#pragma once

#include "fileops/Standby.h"
#include "platform/ui/SharedWindow.h"

class ProgramEnd;

// The one busy window of the program, shared by every command that shows it. A reference loads
// it with its design values; Command2 unloads it, so its next use starts from them again.
// The application creates one and hands it to the commands.
class SharedStandby
{
public:
    explicit SharedStandby(ProgramEnd &programEnd, int tickMs = Standby::DesignTickMs);

    // The window, loaded when it is not.
    Standby *window() { return m_window.get(); }
    Standby *ifLoaded() const { return m_window.ifLoaded(); }
    bool isLoaded() const { return m_window.isLoaded(); }

    // Makes the window visible (loading it), without blocking.
    void show();
    void Command1();
    void Command3();
    // Closes and unloads the window; a wait running inside it ends. Nothing shows when the
    // window was not loaded.
    void Command2();
    void setLabel1(const QString &text);

private:
    SharedWindow<Standby> m_window;
};
