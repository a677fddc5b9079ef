#pragma once

// The HTML viewer as the main window's View Html reaches it, right after it has loaded the
// active pane's file into the editor: the browser on that file (Web1's pane road), or the
// editor's pending preview.
class HtmlViewer
{
public:
    virtual ~HtmlViewer() = default;
    virtual void showHtmlViewer() = 0;
};
