#pragma once

#include "editor/FindEngine.h"

// The editor's values that live outside its window and keep their values while it is closed.
struct EditorState
{
    // TextChanged: the document was changed since it was last loaded, saved or made new.
    bool textChanged = false;
    FindState find;
};
