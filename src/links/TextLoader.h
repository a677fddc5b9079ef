#pragma once

#include <QString>

// The editor as the rest of the program reaches it (View Text, View Html, the search window's
// View Text): open the editor window and load a file into it. The editor implements it; app/
// hands it to the commands that open files as text.
class TextLoader
{
public:
    virtual ~TextLoader() = default;
    // Loads the editor window when it is not open (an open one is not shown again, brought to
    // the front or restored) and loads path into it in place of its document. A changed text is
    // offered for saving first; false when the user's save was cancelled or failed, or the file
    // could not be read (the document is then as it was).
    virtual bool LoadTextFile(const QString &path) = 0;
};
