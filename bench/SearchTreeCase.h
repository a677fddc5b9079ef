#pragma once

#include "BenchResult.h"

class Fixtures;

// The deep search through a whole tree, against a plain readdir walk of the same tree.
namespace SearchTreeCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace SearchTreeCase
