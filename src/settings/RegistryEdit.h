#pragma once

#include "settings/IniDocument.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

enum class RegistryRoot;

// Several reads and changes of the settings that belong together (RegistryStore::edit): the
// reads see the file as it is under the store's lock with the changes made so far, and the
// changes are written together, in one step. Names and values follow RegistryStore's rules.
class RegistryEdit
{
public:
    // A save (text) or a delete (no text) of the value under path: the groups, then its name.
    struct Change
    {
        QStringList path;
        std::optional<QString> text;
    };

    explicit RegistryEdit(const IniDocument &document) : m_document(document) {}

    QString GetRegString(RegistryRoot root, const QString &key, const QString &valueName) const;
    void SaveRegString(RegistryRoot root, const QString &key, const QString &valueName, const QString &text);
    void DeleteRegValue(RegistryRoot root, const QString &key, const QString &valueName);

    const QList<Change> &changes() const { return m_changes; }
    // Whether any change makes the document other than it is.
    bool changesAnything() const;

    // The value's text in document, "" when it is missing or no text.
    static QString textIn(const IniDocument &document, const QStringList &path);
    // Applies the change to document; true when it changed it.
    static bool apply(IniDocument &document, const Change &change);
    // "Software\Panoptra\MainForm" and "Form BackColor" -> Software, Panoptra, MainForm, Form
    // BackColor; nothing for a name the file cannot hold.
    static std::optional<QStringList> valuePath(const QString &key, const QString &valueName);
    static QString cutAtNul(const QString &text);

private:
    const IniDocument &m_document;
    QList<Change> m_changes;
};
