#pragma once

#include <QString>

#include <functional>

// The editor as the rest of the program reaches it (View Text, View Html, the search window's
// View Text): open the editor window and load a file into it. The editor implements it; app/
// hands it to the commands that open files as text.
class TextLoader
{
public:
    virtual ~TextLoader() = default;
    // Loads the editor window when it is not open (an open one is not shown again, brought to
    // the front or restored) and loads path into it in place of its document, a changed text
    // offered for saving first. The file is read while the program goes on; done, when given,
    // runs once the load has ended: true when the file is in the editor; false (the document
    // then as it was) when the user's save was cancelled or failed, the file could not be read
    // or the load was stopped. It runs at once when the load cannot begin, and never once the
    // editor window is gone.
    virtual void LoadTextFile(const QString &path, std::function<void(bool loaded)> done = {}) = 0;
};
