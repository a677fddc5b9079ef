#include "app/SystemServices.h"

SystemServices::SystemServices()
    : m_paths([this] { return m_drives.driveRoots(); }),
      m_services{m_dialogs, m_files, m_trash, m_drives, m_paths, m_clipboard, m_programs, m_shellOpen,
                 m_browser, m_browserAutomation, m_shellWindows, m_printer, m_programEnd, m_clock}
{
}
