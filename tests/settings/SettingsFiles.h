#pragma once

// What the settings tests share: the settings file read and written as another program would.

#include "support/FuzzSeeds.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

namespace SettingsFiles {

// Where the store keeps its file under a config home.
inline QString iniPath(const QString &configHome)
{
    return configHome + QStringLiteral("/Panoptra/Panoptra.ini");
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file as another program (or a person with an editor) would. Each such file is a
// seed of the settings reader's fuzz target.
inline void writeRaw(const QString &path, const QByteArray &contents)
{
    QVERIFY(FuzzSeeds::write("PANOPTRA_INI_CORPUS", contents));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(contents), contents.size());
}

} // namespace SettingsFiles
