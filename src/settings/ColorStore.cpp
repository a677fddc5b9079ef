#include "settings/ColorStore.h"

#include "settings/RegistryStore.h"

#include <limits>

ColorStore::ColorStore(RegistryStore &store) : m_store(store) {}

QString ColorStore::key()
{
    return QStringLiteral("Software\\Panoptra\\MainForm");
}

QString ColorStore::valueName(ColorSetting setting)
{
    switch (setting) {
    case ColorSetting::Desktop: return QStringLiteral("Form BackColor");
    case ColorSetting::Folders: return QStringLiteral("DirBox BackColor");
    case ColorSetting::Files: return QStringLiteral("FileBox BackColor");
    }
    return QString();
}

std::optional<qint32> ColorStore::load(ColorSetting setting) const
{
    const QString text = m_store.GetRegString(HKEY_CURRENT_USER, key(), valueName(setting));
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(number);
}

bool ColorStore::save(ColorSetting setting, qint32 value)
{
    return m_store.SaveRegString(HKEY_CURRENT_USER, key(), valueName(setting), QString::number(value));
}
