#include "textbox/EditHistory.h"

#include <utility>

void EditHistory::record(EditStep step)
{
    m_undone.clear();
    if (step.typed && !m_done.empty()) {
        EditStep &last = m_done.back();
        // A word goes as one step: typing runs on after the last character typed, up to a blank.
        const bool joins = last.typed && step.removed.isEmpty() && !step.inserted.isEmpty() && !last.inserted.isEmpty()
            && step.position == last.position + last.inserted.size()
            && !(last.inserted.back().isSpace() && !step.inserted.front().isSpace());
        if (joins) {
            last.inserted += step.inserted;
            return;
        }
    }
    m_done.push_back(std::move(step));
}

std::optional<EditStep> EditHistory::undo()
{
    if (m_done.empty())
        return std::nullopt;
    EditStep step = std::move(m_done.back());
    m_done.pop_back();
    step.typed = false;
    m_undone.push_back(step);
    return step;
}

std::optional<EditStep> EditHistory::redo()
{
    if (m_undone.empty())
        return std::nullopt;
    EditStep step = std::move(m_undone.back());
    m_undone.pop_back();
    m_done.push_back(step);
    return step;
}

void EditHistory::clear()
{
    m_done.clear();
    m_undone.clear();
}

void EditHistory::closeTyping()
{
    if (!m_done.empty())
        m_done.back().typed = false;
}
