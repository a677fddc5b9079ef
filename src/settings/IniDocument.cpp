#include "settings/IniDocument.h"

#include <cstring>

namespace {

constexpr QByteArrayView byteOrderMark("\xef\xbb\xbf");

bool isBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\v' || ch == '\f';
}

// Where the "=" that ends a line's key stands, or -1 for a line without one. As QSettings
// reads a line, a "\" escapes the character after it, quotes hide an "=", and a ";" outside
// quotes begins a comment.
qsizetype keyEnd(const char *data, qsizetype from, qsizetype to)
{
    bool inQuotes = false;
    for (qsizetype i = from; i < to; ++i) {
        switch (data[i]) {
        case '\\':
            ++i;
            break;
        case '"':
            inQuotes = !inQuotes;
            break;
        case '=':
            if (!inQuotes)
                return i;
            break;
        case ';':
            if (!inQuotes)
                return -1;
            break;
        default:
            break;
        }
    }
    return -1;
}

// Where a line's value ends: at the line end, or at a comment's ";" outside quotes.
qsizetype valueEnd(const char *data, qsizetype from, qsizetype to)
{
    if (!std::memchr(data + from, ';', size_t(to - from)))
        return to;
    bool inQuotes = false;
    for (qsizetype i = from; i < to; ++i) {
        if (data[i] == '\\')
            ++i;
        else if (data[i] == '"')
            inQuotes = !inQuotes;
        else if (data[i] == ';' && !inQuotes)
            return i;
    }
    return to;
}

} // namespace

IniDocument::IniDocument(QByteArray bytes) : m_bytes(std::move(bytes))
{
    parse();
}

void IniDocument::parse()
{
    m_entries.clear();
    m_sections.clear();
    m_byKey.clear();
    const qsizetype markLength = m_bytes.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    // What comes before the first header belongs to [General].
    m_sections.append({QString(), markLength});

    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype lineStart = 0;
    while (lineStart < size) {
        const auto *lineBreak = static_cast<const char *>(std::memchr(data + lineStart, '\n', size_t(size - lineStart)));
        const qsizetype lineEnd = lineBreak ? lineBreak - data : size;
        const qsizetype next = lineBreak ? lineEnd + 1 : size;
        qsizetype contentEnd = lineEnd;
        if (contentEnd > lineStart && data[contentEnd - 1] == '\r')
            --contentEnd;
        qsizetype start = lineStart == 0 ? markLength : lineStart;
        while (start < contentEnd && isBlank(data[start]))
            ++start;

        if (start < contentEnd && data[start] == '[') {
            // A header without its "]" names the section with the rest of the line.
            const qsizetype end = valueEnd(data, start, contentEnd);
            const auto *close = static_cast<const char *>(std::memchr(data + start, ']', size_t(end - start)));
            const qsizetype nameEnd = close ? close - data : end;
            m_sections.append({IniSyntax::sectionPrefix(QByteArrayView(data + start + 1, nameEnd - start - 1)), next});
        } else if (start < contentEnd && data[start] != ';') {
            const qsizetype equals = keyEnd(data, start, contentEnd);
            const QByteArrayView spelledKey = equals < 0 ? QByteArrayView() : QByteArrayView(data + start, equals - start).trimmed();
            if (!spelledKey.isEmpty()) {
                Section &section = m_sections.last();
                m_entries.append({lineStart, start, equals, contentEnd, next,
                                  section.prefix + IniSyntax::decodeKey(spelledKey)});
                m_byKey.insert(m_entries.last().key.toCaseFolded(), m_entries.size() - 1);
                section.newLine = next;
            }
        }
        lineStart = next;
    }
}

std::optional<IniSyntax::Value> IniDocument::value(const QString &key) const
{
    const auto found = m_byKey.constFind(key.toCaseFolded());
    if (found == m_byKey.constEnd())
        return std::nullopt;
    const Entry &entry = m_entries.at(*found);
    const qsizetype from = entry.equals + 1;
    const qsizetype to = valueEnd(m_bytes.constData(), from, entry.contentEnd);
    return IniSyntax::decodeValue(QByteArrayView(m_bytes).sliced(from, to - from));
}

bool IniDocument::setText(const QStringList &path, const QString &text)
{
    const QString key = path.join(u'/');
    const auto found = m_byKey.constFind(key.toCaseFolded());
    if (found != m_byKey.constEnd()) {
        const std::optional<IniSyntax::Value> current = value(key);
        if (current && current->isText && current->text == text)
            return false;
        // The key keeps its spelling; only what follows its "=" is new.
        const Entry &entry = m_entries.at(*found);
        replaceBytes(entry.equals + 1, entry.contentEnd, IniSyntax::encodeText(text));
        return true;
    }

    // A new key goes after the last value of the last section of its first group, as QSettings
    // would write it: "[Software]" then "Panoptra\MainForm\Form%20BackColor=...".
    const QStringList spelled = spelledPath(path);
    const QString group = spelled.size() > 1 ? spelled.first() : QString();
    const QString groupPrefix = group.isEmpty() ? QString() : group + u'/';
    const QByteArray line = IniSyntax::encodeKey(spelled.mid(group.isEmpty() ? 0 : 1).join(u'/')) + '='
                            + IniSyntax::encodeText(text) + '\n';
    for (qsizetype i = m_sections.size() - 1; i >= 0; --i) {
        if (m_sections.at(i).prefix.compare(groupPrefix, Qt::CaseInsensitive) != 0)
            continue;
        const qsizetype at = m_sections.at(i).newLine;
        // The section's last line may end the file without a line end.
        const bool joinsLine = at > 0 && m_bytes.at(at - 1) != '\n' && at == m_bytes.size();
        replaceBytes(at, at, joinsLine ? '\n' + line : line);
        return true;
    }
    QByteArray block;
    if (!m_bytes.isEmpty())
        block = m_bytes.endsWith('\n') ? QByteArrayLiteral("\n") : QByteArrayLiteral("\n\n");
    block += IniSyntax::sectionHeader(group) + '\n' + line;
    replaceBytes(m_bytes.size(), m_bytes.size(), block);
    return true;
}

bool IniDocument::remove(const QString &key)
{
    const QString folded = key.toCaseFolded();
    if (!m_byKey.contains(folded))
        return false;
    // From the last line up, so that the places of the earlier ones stay where they were.
    for (qsizetype i = m_entries.size() - 1; i >= 0; --i) {
        const Entry &entry = m_entries.at(i);
        if (entry.key.toCaseFolded() == folded)
            m_bytes.remove(entry.lineStart, entry.next - entry.lineStart);
    }
    parse();
    return true;
}

void IniDocument::replaceBytes(qsizetype from, qsizetype to, const QByteArray &with)
{
    m_bytes.replace(from, to - from, with);
    parse();
}

// The parts of path, each group spelled as the file spells it already where it holds keys of
// that group in another case.
QStringList IniDocument::spelledPath(const QStringList &path) const
{
    QStringList spelled = path;
    for (qsizetype depth = 0; depth + 1 < path.size(); ++depth) {
        const QString prefix = spelled.mid(0, depth + 1).join(u'/') + u'/';
        for (const Entry &entry : m_entries) {
            if (entry.key.startsWith(prefix, Qt::CaseInsensitive)) {
                spelled[depth] = entry.key.section(u'/', depth, depth);
                break;
            }
        }
    }
    return spelled;
}
