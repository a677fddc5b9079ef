#pragma once

#include "web/WebDialog.h"

// A prompt window of the Internet menu: its caption is the key its launcher looks up, Label1
// asks the question, "Okay" runs the pair's launch and "Cancel" unloads it. The key is kept
// with the user link slot whose item set it, so the launcher opens that very slot.
class LinkPrompt : public WebDialog
{
    Q_OBJECT

public:
    using WebDialog::WebDialog;

    QString key() const { return windowTitle(); }
    // The key set by a fixed item.
    void setKey(const QString &key);
    // The key set by user link slot (1..20) of the prompt's family.
    void setSlotKey(const QString &key, int slot);
    // The slot whose item set the key, 0 when a fixed item did.
    int keySlot() const { return m_keySlot; }

private:
    int m_keySlot = 0;
};
