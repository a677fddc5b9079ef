#pragma once

#include "settings/IniSyntax.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The settings file's contents in the INI form QSettings reads and writes, kept as its bytes.
// A change rewrites, adds or removes only the line of the value it changes, so every other
// line keeps its bytes: values in other encodings, comments, and lines this reader cannot make
// sense of (which it passes over, as QSettings does, reading what it can).
//
// Each line stands alone here: a quote or a "\" at the end of a line never joins the next one
// to it, so one damaged line cannot swallow the good ones after it. QSettings writes neither.
//
// Keys are paths, "Software/Panoptra/MainForm/Form BackColor", compared without regard to case;
// where a key is in the file more than once, the last one counts.
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
    struct Entry
    {
        qsizetype lineStart;
        qsizetype keyStart;   // the first character of the line that is no blank
        qsizetype keyLength;  // up to the last one before the "=" that is no blank
        qsizetype equals;     // the "=" that ends the key
        qsizetype contentEnd; // before the line end
        qsizetype next;       // where the next line starts
        qsizetype section;
        qsizetype sameHashBefore; // the entry before this one whose key has the same hash, or -1
    };
    struct Section
    {
        QString prefix;    // what its keys start with: "Software/", or "" for [General]
        size_t hash;       // of the prefix, case-folded
        qsizetype newLine; // where a new line of the section goes: after its last value
    };

    void parse();
    void replaceBytes(qsizetype from, qsizetype to, const QByteArray &with);
    // The entries of key, the last one first.
    QList<qsizetype> entriesOf(const QString &key) const;
    QString keyOf(const Entry &entry) const;
    QStringList spelledPath(const QStringList &path) const;

    QByteArray m_bytes;
    QList<Entry> m_entries;
    QList<Section> m_sections;
    // The last entry of each hash. A key is only decoded to be compared when its hash matches,
    // so a file of many lines is parsed at the speed of a scan.
    QHash<size_t, qsizetype> m_lastByHash;
};
