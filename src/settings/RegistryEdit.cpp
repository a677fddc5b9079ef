#include "settings/RegistryEdit.h"

QString RegistryEdit::GetRegString(RegistryRoot, const QString &key, const QString &valueName) const
{
    const std::optional<QStringList> path = valuePath(key, valueName);
    if (!path)
        return QString();
    // The last change of the value made here, if any, says what it is now.
    const QString joined = path->join(u'/');
    for (qsizetype i = m_changes.size() - 1; i >= 0; --i) {
        if (m_changes.at(i).path.join(u'/').compare(joined, Qt::CaseInsensitive) == 0)
            return m_changes.at(i).text.value_or(QString());
    }
    return textIn(m_document, *path);
}

void RegistryEdit::SaveRegString(RegistryRoot, const QString &key, const QString &valueName, const QString &text)
{
    if (const std::optional<QStringList> path = valuePath(key, valueName))
        m_changes.append({*path, cutAtNul(text)});
}

void RegistryEdit::DeleteRegValue(RegistryRoot, const QString &key, const QString &valueName)
{
    if (const std::optional<QStringList> path = valuePath(key, valueName))
        m_changes.append({*path, std::nullopt});
}

bool RegistryEdit::changesAnything() const
{
    // Where each change on its own leaves the document as it is, so do all of them together.
    for (const Change &change : m_changes) {
        const std::optional<IniSyntax::Value> value = m_document.value(change.path.join(u'/'));
        if (change.text ? !value || !value->isText || value->text != *change.text : value.has_value())
            return true;
    }
    return false;
}

QString RegistryEdit::textIn(const IniDocument &document, const QStringList &path)
{
    const std::optional<IniSyntax::Value> value = document.value(path.join(u'/'));
    if (!value || !value->isText)
        return QString();
    return cutAtNul(value->text);
}

bool RegistryEdit::apply(IniDocument &document, const Change &change)
{
    if (change.text)
        return document.setText(change.path, *change.text);
    return document.remove(change.path.join(u'/'));
}

std::optional<QStringList> RegistryEdit::valuePath(const QString &key, const QString &valueName)
{
    // The file keeps "/" between groups, so a name holding one is no name here.
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part.contains(QLatin1Char('/')))
            return std::nullopt;
    }
    if (valueName.isEmpty() || valueName.contains(QLatin1Char('/')) || valueName.contains(QLatin1Char('\\')))
        return std::nullopt;
    parts.append(valueName);
    return parts;
}

QString RegistryEdit::cutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}
