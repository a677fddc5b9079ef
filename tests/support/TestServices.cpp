#include "support/TestServices.h"

TestServices::TestServices()
    : m_oldData(qgetenv("XDG_DATA_HOME")),
      m_oldConfig(qgetenv("XDG_CONFIG_HOME")),
      m_services{dialogs, files, trash, drives, paths, clipboard, programs, shellOpen, browser,
                 browserAutomation, shellWindows, printer, programEnd, clock}
{
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
}

TestServices::~TestServices()
{
    if (m_oldData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_oldData);
    if (m_oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
}
