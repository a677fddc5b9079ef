#pragma once

#include "settings/IniSyntax.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The settings file's contents in the INI form QSettings reads and writes, kept as its bytes.
// A change rewrites, adds or removes only the line of the value it changes, so every other
// line keeps its bytes: values in other encodings, comments, and lines this reader cannot make
// sense of (which it passes over, as QSettings does, reading what it can).
//
// Lines end in LF, CR LF or a lone CR, as QSettings reads them. Each line stands alone here: a
// quote or a "\" at the end of a line never joins the next one to it, so one damaged line
// cannot swallow the good ones after it. QSettings writes neither.
//
// Keys are paths, "Software/Panoptra/MainForm/Form BackColor", compared without regard to case;
// where a key is in the file more than once, the last one counts.
//
// The bytes are parsed once; a change updates what was parsed in place (the places of the lines
// after it move, nothing is read again), so a change in a file of millions of lines costs
// about a copy of it. A document holds at most 4 GiB.
class IniDocument
{
public:
    IniDocument() = default;
    explicit IniDocument(QByteArray bytes);

    const QByteArray &bytes() const { return m_bytes; }

    // The value under key; nothing when there is none.
    std::optional<IniSyntax::Value> value(const QString &key) const;

    // Stores text under the key made of path's parts (the groups, then the value's name), in
    // place of whatever value it has. A missing key takes the spelling of groups that exist
    // already. False when the file says so already and nothing changed.
    bool setText(const QStringList &path, const QString &text);
    // Removes every line of the key; false when there was none.
    bool remove(const QString &key);

private:
    // One line that holds a key. Places within the line are counted from its start, so a change
    // above it moves only lineStart.
    struct Entry
    {
        qsizetype lineStart;
        size_t hash;           // of the whole key, case-folded
        qsizetype sameHashBefore; // the entry before this one whose key has the same hash, or -1
        quint32 keyOffset;     // the first character of the line that is no blank
        quint32 keyLength;     // up to the last one before the "=" that is no blank
        quint32 equalsOffset;  // the "=" that ends the key
        quint32 contentLength; // up to the line end
        quint32 lineLength;    // up to the next line
        qint32 section;        // -1 once the line is removed
    };
    struct Section
    {
        QString prefix;    // what its keys start with: "Software/", or "" for [General]
        size_t hash;       // of the prefix, case-folded
        qsizetype newLine; // where a new line of the section goes: after its last value
    };

    void parse();
    void addEntry(const Entry &entry);
    void rebuildTable(qsizetype slotCount);
    qsizetype slotOf(size_t hash) const;
    // Everything at or after from moves by delta.
    void shiftFrom(qsizetype from, qsizetype delta);
    // Gives the last line a line end where the file ends without one.
    void endLastLine();
    // The entries of key, the last one first.
    QList<qsizetype> entriesOf(const QString &key) const;
    QString keyOf(const Entry &entry) const;
    bool keyStartsWith(const Entry &entry, const QString &prefix) const;
    QStringList spelledPath(const QStringList &path) const;

    QByteArray m_bytes;
    // In the order they were found: the lines of the file as parsed, then those added since;
    // removed ones stay as gaps. The entries of one key are always in file order.
    QList<Entry> m_entries;
    QList<Section> m_sections;
    // Open addressing over the hashes: one more than the index of the last entry of each hash,
    // 0 for a free slot, beside the hash's upper half, so that a look-up rarely has to look at
    // an entry. A key is only decoded to be compared when its hash matches, so a file of many
    // lines is parsed at the speed of a scan.
    struct Slot
    {
        quint32 tag;
        quint32 last;
    };
    QList<Slot> m_table;
    qsizetype m_hashes = 0;
    // How new lines end: as the file's first line does (CR LF where another editor wrote it so).
    QByteArray m_lineEnd = QByteArrayLiteral("\n");
};
