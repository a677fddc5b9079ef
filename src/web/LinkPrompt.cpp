#include "web/LinkPrompt.h"

void LinkPrompt::setKey(const QString &key)
{
    setWindowTitle(key);
    m_keySlot = 0;
}

void LinkPrompt::setSlotKey(const QString &key, int slot)
{
    setWindowTitle(key);
    m_keySlot = slot;
}
