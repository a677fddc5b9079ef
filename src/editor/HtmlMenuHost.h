#pragma once

class QString;
class TextDocument;

// What the HTML menu needs of the editor window: its document, its text written to a file of
// its own, and the menu shown or hidden. The window implements it, so the menu's logic does
// not depend on the window that calls it.
class HtmlMenuHost
{
public:
    virtual const TextDocument &document() const = 0;
    virtual bool WriteTextToFile(const QString &path) = 0;
    virtual void setHtmlMenuVisible(bool visible) = 0;

protected:
    ~HtmlMenuHost() = default;
};
