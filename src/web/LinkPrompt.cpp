#include "web/LinkPrompt.h"

void LinkPrompt::setKey(const QString &key)
{
    setWindowTitle(key);
    m_userLinkKey = false;
}

void LinkPrompt::setUserLinkKey(const QString &key)
{
    setWindowTitle(key);
    m_userLinkKey = true;
}
