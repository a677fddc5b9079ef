#pragma once

#include "BenchResult.h"

class Fixtures;

// start-100k: the program's start (the real main window, offscreen, with a splash wait of a
// millisecond) in a current folder of 100,000 files, timed from the window's construction until
// all five file lists hold every name and have painted; against one readdir of that folder and
// a sort of its names without regard to case, in the same process. Also reports the peak
// resident memory once the first start is done.
namespace StartCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace StartCase
