#pragma once

// The editor's HTML viewer as View Html reaches it, right after it has loaded the active pane's
// file into the editor: the browser on that file (Web1's pane road), or the editor's pending
// preview. The viewer takes the file itself, from the active pane. The editor implements it.
class HtmlViewer
{
public:
    virtual ~HtmlViewer() = default;
    virtual void showHtmlViewer() = 0;
};
