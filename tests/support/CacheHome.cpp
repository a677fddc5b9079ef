#include "support/CacheHome.h"

#include "platform/PathCodec.h"

CacheHome::CacheHome() : m_old(qgetenv("XDG_CACHE_HOME"))
{
    qputenv("XDG_CACHE_HOME", PathCodec::encode(m_dir.path()));
}

CacheHome::~CacheHome()
{
    if (m_old.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", m_old);
}
