#pragma once

#include "textbox/TextLines.h"

#include <optional>
#include <vector>

// One change of the text: at position, removed gave way to inserted.
struct EditStep
{
    qint64 position = 0;
    QString removed;
    // The ends of removed's line breaks, so that undo gives each line its own end back.
    std::vector<TextLines::End> removedEnds;
    QString inserted;
    // Typing: the next typed character may join this step, so undo takes a word at a time.
    bool typed = false;
    // The ends of inserted's line breaks where they are not the main one (text moved with
    // its lines' own ends), so that redo gives them back.
    std::vector<TextLines::End> insertedEnds;
};

// The steps to undo and to redo. A new step drops what was undone before it.
class EditHistory
{
public:
    void record(EditStep step);
    // The step to undo, which moves to the redo steps; nothing when there is none.
    std::optional<EditStep> undo();
    std::optional<EditStep> redo();
    void clear();
    // The next typed character starts a step of its own (the caret moved, say).
    void closeTyping();
    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }

private:
    std::vector<EditStep> m_done;
    std::vector<EditStep> m_undone;
};
