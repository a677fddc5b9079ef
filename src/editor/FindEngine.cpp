#include "editor/FindEngine.h"

namespace FindEngine {

std::optional<qsizetype> nextMatch(const QString &text, qsizetype caret, const FindState &state)
{
    const QString &what = state.FindWhat;
    if (what.isEmpty())
        return std::nullopt;
    const Qt::CaseSensitivity cs = state.FindMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool repeated = !state.FindFresh && caret == state.FindLastPos;
    qsizetype found = -1;
    if (state.FindDirection == 1) {
        const qsizetype from = caret + (repeated ? 1 : 0);
        if (from <= text.size())
            found = text.indexOf(what, from, cs);
    } else {
        const qsizetype from = repeated ? caret - 1 : caret - what.size();
        if (from >= 0)
            found = text.lastIndexOf(what, from, cs);
    }
    if (found < 0)
        return std::nullopt;
    return found;
}

} // namespace FindEngine
