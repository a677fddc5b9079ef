#include "settings/IniDocument.h"

#include <algorithm>
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

// FNV-1a over case-folded code points: names that differ only in case hash alike.
constexpr size_t hashSeed = 14695981039346656037ULL;

size_t mixFolded(size_t hash, char32_t folded)
{
    return (hash ^ folded) * 1099511628211ULL;
}

size_t hashOf(size_t hash, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t point = text.at(i).unicode();
        if (QChar::isHighSurrogate(point) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            point = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        hash = mixFolded(hash, QChar::toCaseFolded(point));
    }
    return hash;
}

// The hash of prefix + the key a file spells so, without decoding it where it is plain ASCII.
size_t spelledKeyHash(size_t prefixHash, const QString &prefix, QByteArrayView spelled)
{
    size_t hash = prefixHash;
    for (const char byte : spelled) {
        const auto ch = uchar(byte);
        if (ch >= 0x80 || ch == '%') {
            QString key = prefix;
            IniSyntax::appendKey(key, spelled);
            return hashOf(hashSeed, key);
        }
        hash = mixFolded(hash, ch == '\\' ? '/' : (ch >= 'A' && ch <= 'Z' ? ch + ('a' - 'A') : ch));
    }
    return hash;
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
    m_lastByHash.clear();
    const qsizetype markLength = m_bytes.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    // What comes before the first header belongs to [General].
    m_sections.append({QString(), hashSeed, markLength});

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
            QString prefix = IniSyntax::sectionPrefix(QByteArrayView(data + start + 1, nameEnd - start - 1));
            const size_t hash = hashOf(hashSeed, prefix);
            m_sections.append({std::move(prefix), hash, next});
        } else if (start < contentEnd && data[start] != ';') {
            const qsizetype equals = keyEnd(data, start, contentEnd);
            const QByteArrayView spelledKey = equals < 0 ? QByteArrayView() : QByteArrayView(data + start, equals - start).trimmed();
            if (!spelledKey.isEmpty()) {
                Section &section = m_sections.last();
                const size_t hash = spelledKeyHash(section.hash, section.prefix, spelledKey);
                // One more than the entry's index, so that 0 (a new hash) means none.
                qsizetype &last = m_lastByHash[hash];
                m_entries.append({lineStart, start, spelledKey.size(), equals, contentEnd, next,
                                  m_sections.size() - 1, last - 1});
                last = m_entries.size();
                section.newLine = next;
            }
        }
        lineStart = next;
    }
}

QList<qsizetype> IniDocument::entriesOf(const QString &key) const
{
    QList<qsizetype> found;
    const qsizetype last = m_lastByHash.value(hashOf(hashSeed, key));
    for (qsizetype i = last - 1; i >= 0; i = m_entries.at(i).sameHashBefore) {
        if (keyOf(m_entries.at(i)).compare(key, Qt::CaseInsensitive) == 0)
            found.append(i);
    }
    return found;
}

QString IniDocument::keyOf(const Entry &entry) const
{
    QString key = m_sections.at(entry.section).prefix;
    IniSyntax::appendKey(key, QByteArrayView(m_bytes).sliced(entry.keyStart, entry.keyLength));
    return key;
}

std::optional<IniSyntax::Value> IniDocument::value(const QString &key) const
{
    const QList<qsizetype> entries = entriesOf(key);
    if (entries.isEmpty())
        return std::nullopt;
    const Entry &entry = m_entries.at(entries.first());
    const qsizetype from = entry.equals + 1;
    const qsizetype to = valueEnd(m_bytes.constData(), from, entry.contentEnd);
    return IniSyntax::decodeValue(QByteArrayView(m_bytes).sliced(from, to - from));
}

bool IniDocument::setText(const QStringList &path, const QString &text)
{
    const QString key = path.join(u'/');
    const QList<qsizetype> entries = entriesOf(key);
    if (!entries.isEmpty()) {
        const std::optional<IniSyntax::Value> current = value(key);
        if (current && current->isText && current->text == text)
            return false;
        // The key keeps its spelling; only what follows its "=" is new.
        const Entry &entry = m_entries.at(entries.first());
        replaceBytes(entry.equals + 1, entry.contentEnd, IniSyntax::encodeText(text));
        return true;
    }

    // A new key goes after the last value of the last section of its first group, as QSettings
    // would write it: "[Software]" then "Panoptra\MainForm\Form%20BackColor=...".
    const QStringList spelled = spelledPath(path);
    const QString group = spelled.size() > 1 ? spelled.first() : QString();
    const QString groupPrefix = group.isEmpty() ? QString() : group + u'/';
    // New lines end as the file's first line does (CR LF where another editor wrote it so).
    const qsizetype firstBreak = m_bytes.indexOf('\n');
    const QByteArray lineEnd = firstBreak > 0 && m_bytes.at(firstBreak - 1) == '\r' ? "\r\n" : "\n";
    const QByteArray line = IniSyntax::encodeKey(spelled.mid(group.isEmpty() ? 0 : 1).join(u'/')) + '='
                            + IniSyntax::encodeText(text) + lineEnd;
    for (qsizetype i = m_sections.size() - 1; i >= 0; --i) {
        if (m_sections.at(i).prefix.compare(groupPrefix, Qt::CaseInsensitive) != 0)
            continue;
        const qsizetype at = m_sections.at(i).newLine;
        // The section's last line may end the file without a line end.
        const bool joinsLine = at > 0 && at == m_bytes.size() && !m_bytes.endsWith('\n');
        replaceBytes(at, at, joinsLine ? lineEnd + line : line);
        return true;
    }
    QByteArray block;
    if (!m_bytes.isEmpty())
        block = m_bytes.endsWith('\n') ? lineEnd : lineEnd + lineEnd;
    block += IniSyntax::sectionHeader(group) + lineEnd + line;
    replaceBytes(m_bytes.size(), m_bytes.size(), block);
    return true;
}

bool IniDocument::remove(const QString &key)
{
    const QList<qsizetype> entries = entriesOf(key);
    if (entries.isEmpty())
        return false;
    // From the last line up, so that the places of the earlier ones stay where they were.
    const qsizetype markLength = m_bytes.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    for (const qsizetype index : entries) {
        const Entry &entry = m_entries.at(index);
        // The file's byte-order mark stays. A line that would come first in its place keeps an
        // empty line before it where it begins with U+FEFF, which would read as the file's mark.
        const qsizetype from = std::max(entry.lineStart, markLength);
        const bool wouldBeMark = from == 0 && QByteArrayView(m_bytes).sliced(entry.next).startsWith(byteOrderMark);
        const qsizetype to = wouldBeMark ? entry.contentEnd : entry.next;
        m_bytes.remove(from, to - from);
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
            const QString key = keyOf(entry);
            if (key.startsWith(prefix, Qt::CaseInsensitive)) {
                spelled[depth] = key.section(u'/', depth, depth);
                break;
            }
        }
    }
    return spelled;
}
