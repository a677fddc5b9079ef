#pragma once

#include "BenchResult.h"

class Fixtures;

// copy-1g: the platform copy (PosixFileServices::copyFile) of a 1 GiB file into another folder
// of the same filesystem, against cp of the same file; each is followed by the same sync(), so
// both times include getting the data onto the disk.
namespace CopyCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace CopyCase
