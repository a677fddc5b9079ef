#pragma once

#include <QString>

#include <vector>

// A file-name pattern as the user types it into a pane: "*" and "?" only, compared without
// regard to case, against bare names. "*.*" matches every name (with or without a dot), ""
// matches every name, and several patterns may be given separated by ";" or ",".
//
// Every other character is literal ("[a].txt" matches only "[a].txt"). A pattern ending in
// ".*" also matches the name without the dot ("read*.*" matches "readme"). Empty parts
// between separators are skipped; a text with no part at all matches every name.
//
// With Parts::Whole the text is one pattern: ";" is an ordinary character of it.
class NamePattern
{
public:
    enum class Parts { Split, Whole };

    explicit NamePattern(const QString &text = QString(), Parts parts = Parts::Split);
    bool matches(const QString &name) const;
    bool matchesEverything() const { return m_everything; }
    const QString &text() const { return m_text; }

private:
    // One part between separators, case-folded once so that a match folds only the name.
    struct Part
    {
        QString folded;
        bool hasWildcard = false;
    };
    void addPart(const QString &part);
    static bool matchPart(const Part &part, QStringView name);

    QString m_text;
    std::vector<Part> m_compiled;
    bool m_everything = false;
};
