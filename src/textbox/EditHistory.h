#pragma once

#include "textbox/TextLines.h"

#include <deque>
#include <optional>
#include <utility>

// One change of the text as the history keeps it: from position on, length characters stand in
// the text where text (each of its line breaks with its end) stood before. Undoing the change
// swaps the two, so the step then holds what the undo took out: every text is held once, in
// the lines or here, never in both.
struct EditStep
{
    qint64 position = 0;
    qint64 length = 0;
    QString text;
    std::vector<TextLines::End> ends;
};

// The steps to undo and to redo, and which state of the text is the one last saved. A new step
// drops what was undone before it. The steps hold at most a given amount of memory: the oldest
// go first, but the step that undo would take next always stays.
class EditHistory
{
public:
    static constexpr qint64 defaultMemoryLimit = qint64(64) << 20;

    explicit EditHistory(qint64 memoryLimit = defaultMemoryLimit);

    // An edit just made to the text: at position, inserted now stands where removed stood.
    // A typed one may join the typed step before it, so undo takes a word at a time.
    void record(qint64 position, TextLines::Removed removed, QStringView inserted, bool typed = false);

    // What an undo or a redo changed: at position, removed gave way to inserted.
    struct Change
    {
        qint64 position = 0;
        QString removed;
        QString inserted;
    };
    // Undoes the last step in lines, which must hold the text the steps were made on; nothing
    // when there is none.
    std::optional<Change> undo(TextLines &lines);
    std::optional<Change> redo(TextLines &lines);
    // The characters of the text the next undo or redo replaces, from..to.
    std::optional<std::pair<qint64, qint64>> rangeToUndo() const;
    std::optional<std::pair<qint64, qint64>> rangeToRedo() const;
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }

    // No steps, and the text as it stands is the saved one.
    void clear();
    // The next typed character starts a step of its own (the caret moved, say).
    void closeTyping() { m_typing = false; }

    // Whether the text differs from the one last saved: after an undo or redo back to it, not.
    bool isModified() const { return m_saved != m_dropped + qint64(m_done); }
    // The text as it stands is the saved one.
    void markSaved();
    // No state the steps reach is the saved one any more.
    void forgetSaved() { m_saved = -1; }

    // What the steps hold, in bytes.
    qint64 memoryUse() const { return m_memory; }
    qint64 memoryLimit() const { return m_memoryLimit; }
    void setMemoryLimit(qint64 bytes);
    size_t stepCount() const { return m_steps.size(); }

private:
    static qint64 memoryOf(const EditStep &step);
    Change swap(TextLines &lines, EditStep &step);
    // Drops redo steps from index on.
    void dropFrom(size_t index);
    // The oldest steps go, then the farthest to redo, until the memory fits the limit.
    void keepToLimit();

    std::deque<EditStep> m_steps;
    // The steps done: those before it are to undo, the rest to redo.
    size_t m_done = 0;
    // Steps dropped from the start: the text's state after n steps is state m_dropped + n.
    qint64 m_dropped = 0;
    // The state last saved, or -1 when no step reaches it any more.
    qint64 m_saved = 0;
    // The last step done is typed and may take the next typed character; the last character
    // it typed is a blank.
    bool m_typing = false;
    bool m_typedBlank = false;
    qint64 m_memory = 0;
    qint64 m_memoryLimit;
};
