#include "folders/NamePattern.h"

#include <QRegularExpression>
#include <QStringList>

namespace {
constexpr QChar star = u'*';
constexpr QChar question = u'?';

bool isAllStars(QStringView text)
{
    for (QChar c : text) {
        if (c != star)
            return false;
    }
    return true;
}

// The length of the character at i: 2 for a surrogate pair, so that "?" takes a whole letter.
qsizetype charLength(QStringView text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

inline char16_t fold(QChar c)
{
    return c.toCaseFolded().unicode();
}
} // namespace

NamePattern::NamePattern(const QString &text, Parts split) : m_text(text)
{
    // The box's tooltip gives its example with ",", the older habit is ";": either separates.
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    const QStringList parts = split == Parts::Split ? text.split(separators, Qt::SkipEmptyParts)
                              : text.isEmpty()      ? QStringList()
                                                    : QStringList{text};
    if (parts.isEmpty()) {
        m_everything = true;
        return;
    }
    for (const QString &part : parts) {
        addPart(part);
        // As on the systems users know, a trailing ".*" also matches a name without any dot.
        if (part.size() >= 2 && part.endsWith(QLatin1String(".*")))
            addPart(part.left(part.size() - 2));
    }
}

void NamePattern::addPart(const QString &part)
{
    if (!part.isEmpty() && isAllStars(part))
        m_everything = true;
    Part compiled;
    compiled.folded = part.toCaseFolded();
    compiled.hasWildcard = part.contains(star) || part.contains(question);
    m_compiled.push_back(std::move(compiled));
}

bool NamePattern::matches(const QString &name) const
{
    if (m_everything)
        return true;
    for (const Part &part : m_compiled) {
        if (matchPart(part, name))
            return true;
    }
    return false;
}

// Greedy match with one back-track point (the last "*"): linear for the usual patterns, never
// worse than pattern length times name length.
bool NamePattern::matchPart(const Part &part, QStringView name)
{
    const QStringView pattern(part.folded);
    if (!part.hasWildcard)
        return pattern.size() == name.size() && pattern.compare(name, Qt::CaseInsensitive) == 0;

    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == question) {
            ++p;
            n += charLength(name, n);
        } else if (p < pattern.size() && pattern[p] == star) {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && pattern[p].unicode() == fold(name[n])) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            resumeAt += charLength(name, resumeAt);
            n = resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == star)
        ++p;
    return p == pattern.size();
}
