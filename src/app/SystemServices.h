#pragma once

#include "platform/Clock.h"
#include "platform/DesktopLaunchers.h"
#include "platform/FreedesktopTrash.h"
#include "platform/PathHelper.h"
#include "platform/PosixFileServices.h"
#include "platform/SystemDrives.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Printer.h"
#include "platform/ui/QtDialogs.h"
#include "platform/ui/QtProgramEnd.h"
#include "platform/ui/Services.h"

// The real services of this machine, as the program runs with them.
class SystemServices
{
public:
    SystemServices();
    Services &services() { return m_services; }

private:
    QtDialogs m_dialogs;
    PosixFileServices m_files;
    FreedesktopTrash m_trash;
    SystemDrives m_drives;
    PathHelper m_paths;
    QtClipboard m_clipboard;
    DetachedProgramStarter m_programs;
    XdgShellOpen m_shellOpen;
    SensibleBrowser m_browser;
    NoBrowserAutomation m_browserAutomation;
    NoShellWindows m_shellWindows;
    SystemPrinter m_printer;
    QtProgramEnd m_programEnd;
    SystemClock m_clock;
    Services m_services;
};
