#include "settings/IniDocument.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr QByteArrayView byteOrderMark("\xef\xbb\xbf");

bool isBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f';
}

bool isLineEnd(char ch)
{
    return ch == '\n' || ch == '\r';
}

// Where the next byte ch stands at or after from, or size when there is none.
qsizetype nextOf(const char *data, qsizetype from, qsizetype size, char ch)
{
    const auto *found = static_cast<const char *>(std::memchr(data + from, ch, size_t(size - from)));
    return found ? found - data : size;
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
    // Room for about as many keys as there are lines, so that the table need not grow.
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype lines = 1;
    for (qsizetype at = 0; (at = nextOf(data, at, size, '\n')) < size; ++at)
        ++lines;
    qsizetype slotCount = 16;
    while (slotCount < 2 * lines)
        slotCount *= 2;
    rebuildTable(slotCount);
    const qsizetype markLength = m_bytes.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    // What comes before the first header belongs to [General].
    m_sections.append({QString(), hashSeed, markLength});

    // The next LF and the next CR, each looked for again only once passed, so that a file of
    // one kind of line end is scanned once for the other.
    qsizetype nextLf = -1;
    qsizetype nextCr = -1;
    bool lineEndKnown = false;
    qsizetype lineStart = 0;
    while (lineStart < size) {
        if (nextLf < lineStart)
            nextLf = nextOf(data, lineStart, size, '\n');
        if (nextCr < lineStart)
            nextCr = nextOf(data, lineStart, size, '\r');
        const qsizetype contentEnd = qMin(nextLf, nextCr);
        qsizetype next = contentEnd;
        if (contentEnd < size) {
            const bool crLf = data[contentEnd] == '\r' && contentEnd + 1 < size && data[contentEnd + 1] == '\n';
            next = contentEnd + (crLf ? 2 : 1);
            if (!lineEndKnown)
                m_lineEnd = QByteArray(data + contentEnd, next - contentEnd);
            lineEndKnown = true;
        }
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
                addEntry({lineStart, spelledKeyHash(section.hash, section.prefix, spelledKey), -1,
                          quint32(start - lineStart), quint32(spelledKey.size()), quint32(equals - lineStart),
                          quint32(contentEnd - lineStart), quint32(next - lineStart), qint32(m_sections.size() - 1)});
                section.newLine = next;
            }
        }
        lineStart = next;
    }
}

qsizetype IniDocument::slotOf(size_t hash) const
{
    const qsizetype mask = m_table.size() - 1;
    // The bits mixed (as MurmurHash3 ends), so that keys alike do not crowd into neighbouring slots.
    size_t mixed = hash ^ (hash >> 33);
    mixed *= 0xff51afd7ed558ccdULL;
    mixed ^= mixed >> 33;
    qsizetype slot = qsizetype(mixed & size_t(mask));
    const auto tag = quint32(hash >> 32);
    for (;;) {
        const Slot &at = m_table.at(slot);
        if (at.last == 0 || (at.tag == tag && m_entries.at(at.last - 1).hash == hash))
            return slot;
        slot = (slot + 1) & mask;
    }
}

void IniDocument::rebuildTable(qsizetype slotCount)
{
    m_table = QList<Slot>(slotCount, Slot{0, 0});
    m_hashes = 0;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        Slot &slot = m_table[slotOf(m_entries.at(i).hash)];
        m_entries[i].sameHashBefore = qsizetype(slot.last) - 1;
        m_hashes += slot.last == 0;
        slot = {quint32(m_entries.at(i).hash >> 32), quint32(i + 1)};
    }
}

void IniDocument::addEntry(const Entry &entry)
{
    // At most half the slots taken, so that a look-up finds a free one soon.
    if ((m_hashes + 1) * 2 > m_table.size())
        rebuildTable(qMax(qsizetype(16), m_table.size() * 2));
    m_entries.append(entry);
    Slot &slot = m_table[slotOf(entry.hash)];
    m_entries.last().sameHashBefore = qsizetype(slot.last) - 1;
    m_hashes += slot.last == 0;
    slot = {quint32(entry.hash >> 32), quint32(m_entries.size())};
}

void IniDocument::shiftFrom(qsizetype from, qsizetype delta)
{
    for (Entry &entry : m_entries) {
        if (entry.lineStart >= from)
            entry.lineStart += delta;
    }
    for (Section &section : m_sections) {
        if (section.newLine >= from)
            section.newLine += delta;
    }
}

void IniDocument::endLastLine()
{
    const qsizetype size = m_bytes.size();
    if (size == 0 || isLineEnd(m_bytes.back()))
        return;
    m_bytes += m_lineEnd;
    for (Entry &entry : m_entries) {
        if (entry.section >= 0 && entry.lineStart + entry.lineLength == size)
            entry.lineLength += quint32(m_lineEnd.size());
    }
    for (Section &section : m_sections) {
        if (section.newLine == size)
            section.newLine = m_bytes.size();
    }
}

QList<qsizetype> IniDocument::entriesOf(const QString &key) const
{
    QList<qsizetype> found;
    if (m_table.isEmpty())
        return found;
    for (qsizetype i = qsizetype(m_table.at(slotOf(hashOf(hashSeed, key))).last) - 1; i >= 0;
         i = m_entries.at(i).sameHashBefore) {
        const Entry &entry = m_entries.at(i);
        if (entry.section >= 0 && keyOf(entry).compare(key, Qt::CaseInsensitive) == 0)
            found.append(i);
    }
    return found;
}

QString IniDocument::keyOf(const Entry &entry) const
{
    QString key = m_sections.at(entry.section).prefix;
    IniSyntax::appendKey(key, QByteArrayView(m_bytes).sliced(entry.lineStart + entry.keyOffset, entry.keyLength));
    return key;
}

// Whether the entry's key starts with prefix, without regard to case; a key spelled in plain
// ASCII is compared as it stands, without decoding it.
bool IniDocument::keyStartsWith(const Entry &entry, const QString &prefix) const
{
    const QString &sectionPrefix = m_sections.at(entry.section).prefix;
    const QByteArrayView spelled = QByteArrayView(m_bytes).sliced(entry.lineStart + entry.keyOffset, entry.keyLength);
    for (const char byte : spelled) {
        if (uchar(byte) >= 0x80 || byte == '%')
            return keyOf(entry).startsWith(prefix, Qt::CaseInsensitive);
    }
    if (sectionPrefix.size() + spelled.size() < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        QChar ch = i < sectionPrefix.size() ? sectionPrefix.at(i) : QLatin1Char(spelled.at(i - sectionPrefix.size()));
        if (ch == u'\\')
            ch = u'/';
        if (ch != prefix.at(i) && ch.toCaseFolded() != prefix.at(i).toCaseFolded())
            return false;
    }
    return true;
}

std::optional<IniSyntax::Value> IniDocument::value(const QString &key) const
{
    const QList<qsizetype> entries = entriesOf(key);
    if (entries.isEmpty())
        return std::nullopt;
    const Entry &entry = m_entries.at(entries.first());
    const qsizetype from = entry.lineStart + entry.equalsOffset + 1;
    const qsizetype to = valueEnd(m_bytes.constData(), from, entry.lineStart + entry.contentLength);
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
        Entry &entry = m_entries[entries.first()];
        const qsizetype from = entry.lineStart + entry.equalsOffset + 1;
        const qsizetype to = entry.lineStart + entry.contentLength;
        const QByteArray spelled = IniSyntax::encodeText(text);
        const qsizetype delta = spelled.size() - (to - from);
        m_bytes.replace(from, to - from, spelled);
        entry.contentLength = quint32(entry.contentLength + delta);
        entry.lineLength = quint32(entry.lineLength + delta);
        shiftFrom(to, delta);
        return true;
    }

    // A new key goes after the last value of the last section of its first group, as QSettings
    // would write it: "[Software]" then "Panoptra\MainForm\Form%20BackColor=...".
    const QStringList spelled = spelledPath(path);
    const QString group = spelled.size() > 1 ? spelled.first() : QString();
    const QString groupPrefix = group.isEmpty() ? QString() : group + u'/';
    const QByteArray spelledKey = IniSyntax::encodeKey(spelled.mid(group.isEmpty() ? 0 : 1).join(u'/'));
    const QByteArray line = spelledKey + '=' + IniSyntax::encodeText(text) + m_lineEnd;
    const auto newEntry = [&](qsizetype lineStart, qsizetype section) {
        const Section &in = m_sections.at(section);
        return Entry{lineStart, spelledKeyHash(in.hash, in.prefix, spelledKey), -1, 0, quint32(spelledKey.size()),
                     quint32(spelledKey.size()), quint32(line.size() - m_lineEnd.size()), quint32(line.size()),
                     qint32(section)};
    };
    for (qsizetype i = m_sections.size() - 1; i >= 0; --i) {
        if (m_sections.at(i).prefix.compare(groupPrefix, Qt::CaseInsensitive) != 0)
            continue;
        // Only a line put at the file's end needs the last line ended first; one put anywhere
        // else leaves every other byte as it was.
        if (m_sections.at(i).newLine == m_bytes.size())
            endLastLine();
        const qsizetype at = m_sections.at(i).newLine;
        m_bytes.insert(at, line);
        shiftFrom(at, line.size());
        addEntry(newEntry(at, i));
        return true;
    }
    const QByteArray header = IniSyntax::sectionHeader(group);
    endLastLine();
    if (!m_bytes.isEmpty())
        m_bytes += m_lineEnd;
    m_bytes += header + m_lineEnd;
    const qsizetype lineStart = m_bytes.size();
    m_bytes += line;
    QString prefix = IniSyntax::sectionPrefix(QByteArrayView(header).sliced(1, header.size() - 2));
    const size_t hash = hashOf(hashSeed, prefix);
    m_sections.append({std::move(prefix), hash, m_bytes.size()});
    addEntry(newEntry(lineStart, m_sections.size() - 1));
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
        Entry &entry = m_entries[index];
        const qsizetype lineEnd = entry.lineStart + entry.lineLength;
        // The file's byte-order mark stays. A line that would come first in its place keeps an
        // empty line before it where it begins with U+FEFF, which would read as the file's mark.
        const qsizetype from = std::max(entry.lineStart, markLength);
        const bool wouldBeMark = from == 0 && QByteArrayView(m_bytes).sliced(lineEnd).startsWith(byteOrderMark);
        const qsizetype to = wouldBeMark ? entry.lineStart + entry.contentLength : lineEnd;
        m_bytes.remove(from, to - from);
        entry.section = -1;
        shiftFrom(to, from - to);
    }
    return true;
}

// The parts of path, each group spelled as the file spells it already where it holds keys of
// that group in another case.
QStringList IniDocument::spelledPath(const QStringList &path) const
{
    QStringList spelled = path;
    QStringList prefixes;
    for (qsizetype depth = 0; depth + 1 < path.size(); ++depth)
        prefixes << path.mid(0, depth + 1).join(u'/') + u'/';
    QList<bool> found(prefixes.size(), false);
    qsizetype missing = prefixes.size();
    for (qsizetype i = 0; i < m_entries.size() && missing > 0; ++i) {
        const Entry &entry = m_entries.at(i);
        if (entry.section < 0)
            continue;
        for (qsizetype depth = 0; depth < prefixes.size(); ++depth) {
            if (found.at(depth) || !keyStartsWith(entry, prefixes.at(depth)))
                continue;
            spelled[depth] = keyOf(entry).section(u'/', depth, depth);
            found[depth] = true;
            --missing;
        }
    }
    return spelled;
}
