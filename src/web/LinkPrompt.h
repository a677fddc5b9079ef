#pragma once

#include "web/WebDialog.h"

// A prompt window of the Internet menu: its caption is the key its launcher looks up, Label1
// asks the question, "Okay" runs the pair's launch and "Cancel" unloads it. It knows whether a
// user link's item set the key, so that a link gone since is told from a key that matches
// nothing.
class LinkPrompt : public WebDialog
{
    Q_OBJECT

public:
    using WebDialog::WebDialog;

    QString key() const { return windowTitle(); }
    // The key set by a fixed item.
    void setKey(const QString &key);
    // The key set by a user link's item.
    void setUserLinkKey(const QString &key);
    bool keyNamesUserLink() const { return m_userLinkKey; }

private:
    bool m_userLinkKey = false;
};
