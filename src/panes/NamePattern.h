#pragma once

#include <QString>
#include <QStringList>

// A file-name pattern as the user types it into a pane: "*" and "?" only, compared without
// regard to case, against bare names. "*.*" matches every name (with or without a dot), ""
// matches every name, and several patterns may be given separated by ";".
class NamePattern
{
public:
    explicit NamePattern(const QString &text = QString());
    bool matches(const QString &name) const;
    bool matchesEverything() const { return m_everything; }
    const QString &text() const { return m_text; }

private:
    QString m_text;
    QStringList m_parts;
    bool m_everything = false;
};
