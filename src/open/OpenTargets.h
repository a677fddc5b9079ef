#pragma once

#include <QString>

// The windows the commands here hand a file to. They belong to other folders, so the main
// window implements these and passes them in.

// The text editor.
class TextFileOpener
{
public:
    virtual ~TextFileOpener() = default;
    // Opens the editor (loading and showing it when it is not open) and loads path into it in
    // place of its document. False when the file did not load: the user kept the editor's
    // changed text, or the file could not be read.
    virtual bool openTextFile(const QString &path) = 0;
};

// The HTML viewer of the editor.
class HtmlPageViewer
{
public:
    virtual ~HtmlPageViewer() = default;
    // Shows the viewer for path, the file that View Html has just loaded into the editor.
    virtual void showHtmlViewer(const QString &path) = 0;
};

// The picture viewer.
class PictureOpener
{
public:
    virtual ~PictureOpener() = default;
    // View Graphic: with its own checks and messages, shows the viewer on the picture of the
    // first pane with a selection.
    virtual void viewGraphic() = 0;
};
