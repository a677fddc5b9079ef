#pragma once

#include <QByteArray>

// The fuzz targets start from the tests' own fixtures: while `make fuzz` runs the tests, the
// environment names a corpus folder for each target, and the tests write their fixtures there.
namespace FuzzSeeds {

// Writes bytes as a seed into the folder the environment variable names, named by its contents;
// does nothing when the variable is not set. False when a seed could not be written.
bool write(const char *variable, const QByteArray &bytes);

} // namespace FuzzSeeds
