#include "support/TestServices.h"

#include "support/TestDir.h"

TestServices::TestServices()
    : m_oldHome(qgetenv("HOME")),
      m_oldData(qgetenv("XDG_DATA_HOME")),
      m_oldConfig(qgetenv("XDG_CONFIG_HOME")),
      m_oldCache(qgetenv("XDG_CACHE_HOME")),
      m_oldTemp(qgetenv("TMPDIR")),
      m_services{dialogs, files, trash, drives, paths, clipboard, programs, shellOpen, browser,
                 browserAutomation, shellWindows, printer, programEnd, clock}
{
    qputenv("HOME", home().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", cacheHome().toLocal8Bit());
    QDir().mkpath(tempHome());
    qputenv("TMPDIR", tempHome().toLocal8Bit());
}

namespace {
void restore(const char *name, const QByteArray &value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}
} // namespace

TestServices::~TestServices()
{
    TestDir::removeContents(home()); // the trash may hold names that are not UTF-8
    restore("HOME", m_oldHome);
    restore("XDG_DATA_HOME", m_oldData);
    restore("XDG_CONFIG_HOME", m_oldConfig);
    restore("XDG_CACHE_HOME", m_oldCache);
    restore("TMPDIR", m_oldTemp);
}
