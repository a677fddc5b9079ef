#include "app/SystemServices.h"

SystemServices::SystemServices()
    : m_paths(driveRoots(m_drives)),
      m_services{m_dialogs, m_files, m_trash, m_drives, m_paths, m_clipboard, m_programs, m_shellOpen,
                 m_browser, m_browserAutomation, m_shellWindows, m_printer, m_programEnd, m_clock}
{
}

QStringList SystemServices::driveRoots(SystemDrives &drives)
{
    QStringList roots;
    for (const Drive &drive : drives.drives())
        roots << drive.root;
    return roots;
}
