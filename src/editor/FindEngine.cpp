#include "editor/FindEngine.h"

#include <vector>

namespace {

// The character at i as the search compares it. Ignoring case, each character is folded on its
// own, so lengths never change; a low surrogate stands for its whole character, folded, so a
// letter beyond 16 bits matches its other case, as in QString's own comparison without case.
char32_t comparedAt(const QString &s, qsizetype i, bool fold)
{
    const char16_t c = s.at(i).unicode();
    if (!fold)
        return c;
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char32_t(c + (u'a' - u'A')) : char32_t(c);
    if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(s.at(i - 1).unicode()))
        return QChar::toCaseFolded(QChar::surrogateToUcs4(s.at(i - 1).unicode(), c));
    return QChar::toCaseFolded(char32_t(c));
}

// Knuth-Morris-Pratt: the first place where pattern occurs in the sequence at(0), at(1), ...
// at(count - 1), or -1. Each element of the sequence is looked at once, so the search is linear
// in the text whatever the text and the pattern are.
template <typename At>
qsizetype firstOccurrence(const std::vector<char32_t> &pattern, qsizetype count, At at)
{
    const qsizetype m = qsizetype(pattern.size());
    // border[j]: the length of the longest proper prefix of pattern[0..j] that is also its suffix.
    std::vector<qsizetype> border(pattern.size(), 0);
    for (qsizetype j = 1, k = 0; j < m; ++j) {
        while (k > 0 && pattern[j] != pattern[k])
            k = border[k - 1];
        if (pattern[j] == pattern[k])
            ++k;
        border[j] = k;
    }
    qsizetype matched = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const char32_t c = at(i);
        while (matched > 0 && pattern[matched] != c)
            matched = border[matched - 1];
        if (pattern[matched] == c)
            ++matched;
        if (matched == m)
            return i - m + 1;
    }
    return -1;
}

// The first occurrence starting at from or later.
qsizetype findDown(const QString &text, qsizetype from, const QString &what, bool fold)
{
    const qsizetype m = what.size();
    if (from > text.size() - m)
        return -1;
    std::vector<char32_t> pattern(static_cast<size_t>(m));
    for (qsizetype j = 0; j < m; ++j)
        pattern[size_t(j)] = comparedAt(what, j, fold);
    const qsizetype found = firstOccurrence(pattern, text.size() - from,
                                            [&](qsizetype i) { return comparedAt(text, from + i, fold); });
    return found < 0 ? -1 : from + found;
}

// The last occurrence starting at from or earlier: the text read backwards from the last
// character such an occurrence can hold, for the find text read backwards.
qsizetype findUp(const QString &text, qsizetype from, const QString &what, bool fold)
{
    const qsizetype m = what.size();
    const qsizetype lastStart = std::min(from, text.size() - m);
    if (lastStart < 0)
        return -1;
    std::vector<char32_t> pattern(static_cast<size_t>(m));
    for (qsizetype j = 0; j < m; ++j)
        pattern[size_t(m - 1 - j)] = comparedAt(what, j, fold);
    const qsizetype end = lastStart + m - 1;
    const qsizetype found = firstOccurrence(pattern, end + 1,
                                            [&](qsizetype i) { return comparedAt(text, end - i, fold); });
    return found < 0 ? -1 : end - found - m + 1;
}

} // namespace

namespace FindEngine {

std::optional<qsizetype> nextMatch(const QString &text, qsizetype caret, const FindState &state)
{
    const QString &what = state.FindWhat;
    if (what.isEmpty())
        return std::nullopt;
    const bool fold = !state.FindMatchCase;
    const bool repeated = !state.FindFresh && caret == state.FindLastPos;
    qsizetype found = -1;
    if (state.FindDirection == 1) {
        const qsizetype from = caret + (repeated ? 1 : 0);
        if (from >= 0)
            found = findDown(text, from, what, fold);
    } else {
        const qsizetype from = repeated ? caret - 1 : caret - what.size();
        if (from >= 0)
            found = findUp(text, from, what, fold);
    }
    if (found < 0)
        return std::nullopt;
    return found;
}

} // namespace FindEngine
