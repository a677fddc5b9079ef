#pragma once

#include "BenchResult.h"

class Fixtures;

// The deep search, against a plain readdir walk of the same folders.
namespace SearchTreeCase {

// Through a whole tree.
BenchResult run(const Fixtures &fixtures, int runs);
// Through one folder of a million files.
BenchResult runFlat(const Fixtures &fixtures, int runs);

} // namespace SearchTreeCase
