#pragma once

#include <QString>

#include <optional>

class RegistryStore;

// The three background colours, each stored as the decimal text of its 32-bit colour value.
enum class ColorSetting { Desktop, Folders, Files };

class ColorStore
{
public:
    explicit ColorStore(RegistryStore &store);

    static QString key();
    static QString valueName(ColorSetting setting);

    // The stored value; nothing when none is stored or the text is not a 32-bit number.
    std::optional<qint32> load(ColorSetting setting) const;
    // False when the settings file could not be written (RegistryStore::SaveRegString).
    bool save(ColorSetting setting, qint32 value);

private:
    RegistryStore &m_store;
};
