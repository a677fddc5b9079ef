#include "editor/FindEngine.h"

#include "textbox/TextLines.h"

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

// The find text as the search compares it (read backwards for a search up), with the table
// Knuth-Morris-Pratt needs, made once for a whole search.
struct Pattern
{
    std::vector<char32_t> chars;
    // border[j]: the length of the longest proper prefix of chars[0..j] that is also its suffix.
    std::vector<qsizetype> border;
    bool fold;

    Pattern(const QString &what, bool fold, bool backwards) : chars(size_t(what.size())), border(chars.size(), 0), fold(fold)
    {
        const qsizetype m = what.size();
        for (qsizetype j = 0; j < m; ++j)
            chars[size_t(backwards ? m - 1 - j : j)] = comparedAt(what, j, fold);
        for (qsizetype j = 1, k = 0; j < m; ++j) {
            while (k > 0 && chars[j] != chars[k])
                k = border[k - 1];
            if (chars[j] == chars[k])
                ++k;
            border[j] = k;
        }
    }
    qsizetype size() const { return qsizetype(chars.size()); }
};

// Knuth-Morris-Pratt: the first place where pattern occurs in the sequence at(0), at(1), ...
// at(count - 1), or -1. Each element of the sequence is looked at once, so the search is linear
// in the text whatever the text and the pattern are.
template <typename At>
qsizetype firstOccurrence(const Pattern &pattern, qsizetype count, At at)
{
    const qsizetype m = pattern.size();
    qsizetype matched = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const char32_t c = at(i);
        while (matched > 0 && pattern.chars[matched] != c)
            matched = pattern.border[matched - 1];
        if (pattern.chars[matched] == c)
            ++matched;
        if (matched == m)
            return i - m + 1;
    }
    return -1;
}

// The first occurrence starting at from or later.
qsizetype findDown(const QString &text, qsizetype from, const Pattern &forwards)
{
    const qsizetype m = forwards.size();
    if (from > text.size() - m)
        return -1;
    const qsizetype found = firstOccurrence(forwards, text.size() - from,
                                            [&](qsizetype i) { return comparedAt(text, from + i, forwards.fold); });
    return found < 0 ? -1 : from + found;
}

// The last occurrence starting at from or earlier: the text read backwards from the last
// character such an occurrence can hold, for the find text read backwards.
qsizetype findUp(const QString &text, qsizetype from, const Pattern &backwards)
{
    const qsizetype m = backwards.size();
    const qsizetype lastStart = std::min(from, text.size() - m);
    if (lastStart < 0)
        return -1;
    const qsizetype end = lastStart + m - 1;
    const qsizetype found = firstOccurrence(backwards, end + 1,
                                            [&](qsizetype i) { return comparedAt(text, end - i, backwards.fold); });
    return found < 0 ? -1 : end - found - m + 1;
}

// Where the search begins: the first place a match may start (down) or the last (up); nothing
// when no place is left.
std::optional<qint64> searchFrom(qint64 caret, const FindState &state)
{
    const bool repeated = !state.FindFresh && caret == state.FindLastPos;
    const qint64 from = state.FindDirection == 1 ? caret + (repeated ? 1 : 0)
                                                 : (repeated ? caret - 1 : caret - state.FindWhat.size());
    if (from < 0)
        return std::nullopt;
    return from;
}

} // namespace

namespace FindEngine {

std::optional<qsizetype> nextMatch(const QString &text, qsizetype caret, const FindState &state)
{
    const QString &what = state.FindWhat;
    const std::optional<qint64> from = searchFrom(caret, state);
    if (what.isEmpty() || !from)
        return std::nullopt;
    const bool down = state.FindDirection == 1;
    const Pattern pattern(what, !state.FindMatchCase, !down);
    const qsizetype found = down ? findDown(text, *from, pattern) : findUp(text, *from, pattern);
    if (found < 0)
        return std::nullopt;
    return found;
}

std::optional<qint64> nextMatch(const TextLines &lines, qint64 caret, const FindState &state)
{
    const QString &what = state.FindWhat;
    // A find text of several lines is looked for in the whole text.
    if (what.contains(QLatin1Char('\n')))
        return nextMatch(lines.text(), caret, state);
    const std::optional<qint64> from = searchFrom(caret, state);
    if (what.isEmpty() || !from)
        return std::nullopt;
    // Any other match lies within one line: the lines are searched one by one from the caret's.
    const bool down = state.FindDirection == 1;
    const Pattern pattern(what, !state.FindMatchCase, !down);
    const qsizetype first = lines.lineAt(*from);
    if (down) {
        for (qsizetype line = first; line < lines.lineCount(); ++line) {
            const qint64 start = lines.lineStart(line);
            const qsizetype column = line == first ? qsizetype(*from - start) : 0;
            if (const qsizetype found = findDown(lines.line(line), column, pattern); found >= 0)
                return start + found;
        }
    } else {
        for (qsizetype line = first; line >= 0; --line) {
            const qint64 start = lines.lineStart(line);
            const QString text = lines.line(line);
            const qsizetype column = line == first ? qsizetype(*from - start) : text.size();
            if (const qsizetype found = findUp(text, column, pattern); found >= 0)
                return start + found;
        }
    }
    return std::nullopt;
}

} // namespace FindEngine
