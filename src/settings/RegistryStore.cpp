#include "settings/RegistryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString cutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// The key's parts: "Software\Panoptra\MainForm" -> Software, Panoptra, MainForm.
QStringList keyParts(const QString &key)
{
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// A value name holds neither separator, or QSettings would read it as a path of groups.
bool validValueName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QString findIgnoringCase(const QStringList &names, const QString &wanted)
{
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

// Enters the groups of the key, matching each part without regard to case. With create, a
// missing part is entered under the spelling given; without, false means the key is missing.
bool enterKey(QSettings &settings, const QString &key, bool create)
{
    for (const QString &part : keyParts(key)) {
        QString existing = findIgnoringCase(settings.childGroups(), part);
        if (existing.isEmpty()) {
            if (!create)
                return false;
            existing = part;
        }
        settings.beginGroup(existing);
    }
    return true;
}

} // namespace

RegistryStore::RegistryStore() : m_iniPath(defaultIniPath()) {}

RegistryStore::RegistryStore(QString iniPath) : m_iniPath(std::move(iniPath)) {}

QString RegistryStore::defaultIniPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Panoptra/Panoptra.ini");
}

QString RegistryStore::GetRegString(RegistryRoot, const QString &key, const QString &valueName) const
{
    // A read never creates the file, its folder or a lock file.
    if (!validValueName(valueName) || !QFileInfo(m_iniPath).isFile())
        return QString();
    QSettings settings(m_iniPath, QSettings::IniFormat);
    if (!enterKey(settings, key, false))
        return QString();
    const QString name = findIgnoringCase(settings.childKeys(), valueName);
    if (name.isEmpty())
        return QString();
    const QVariant value = settings.value(name);
    if (value.typeId() != QMetaType::QString)
        return QString();
    return cutAtNul(value.toString());
}

void RegistryStore::SaveRegString(RegistryRoot, const QString &key, const QString &valueName,
                                  const QString &text)
{
    if (!validValueName(valueName))
        return;
    QSettings settings(m_iniPath, QSettings::IniFormat);
    enterKey(settings, key, true);
    QString name = findIgnoringCase(settings.childKeys(), valueName);
    if (name.isEmpty())
        name = valueName;
    settings.setValue(name, cutAtNul(text));
    settings.sync();
}

void RegistryStore::DeleteRegValue(RegistryRoot, const QString &key, const QString &valueName)
{
    if (!validValueName(valueName) || !QFileInfo(m_iniPath).isFile())
        return;
    QSettings settings(m_iniPath, QSettings::IniFormat);
    if (!enterKey(settings, key, false))
        return;
    const QString name = findIgnoringCase(settings.childKeys(), valueName);
    if (name.isEmpty())
        return;

    // QSettings::remove also removes a subkey of the same name; keep its values and put them
    // back, so that only the value goes.
    QList<QPair<QString, QVariant>> subkeyValues;
    if (settings.childGroups().contains(name)) {
        settings.beginGroup(name);
        const QStringList all = settings.allKeys();
        for (const QString &sub : all)
            subkeyValues.append({sub, settings.value(sub)});
        settings.endGroup();
    }
    settings.remove(name);
    for (const auto &[sub, value] : subkeyValues)
        settings.setValue(name + QLatin1Char('/') + sub, value);
    settings.sync();
}
