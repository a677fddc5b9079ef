#pragma once

#include <QString>

#include <optional>

class TextLines;

// The editor's find settings; they outlive the editor window and the find dialog.
struct FindState
{
    QString FindWhat;
    bool FindMatchCase = false;
    // 1 searches down, towards the end; any other value up.
    int FindDirection = 1;
    // The caret where the last search left the text box.
    qsizetype FindLastPos = 0;
    // The text to look for is new: the next search skips nothing.
    bool FindFresh = false;
};

// Where the next search finds its text, as a pure function of the text and the caret.
namespace FindEngine {

// The start of the match for state.FindWhat in text, searching from caret (the start of the
// selection); nothing when there is none. Down, a repeated search (caret still where the last
// one left it) starts one past the caret, so it moves on from the match it selected; up, a
// fresh search finds an occurrence that ends at the caret or before, a repeated one the
// nearest occurrence starting before the caret. Case is compared without changing lengths.
// Linear in the length of the text in every direction and case setting, whatever the texts.
std::optional<qsizetype> nextMatch(const QString &text, qsizetype caret, const FindState &state);
// The same over the lines of the editor's text, one line at a time: a big text is searched
// without being made into one string.
std::optional<qint64> nextMatch(const TextLines &lines, qint64 caret, const FindState &state);

} // namespace FindEngine
