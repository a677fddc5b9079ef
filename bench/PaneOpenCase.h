#pragma once

#include "BenchResult.h"

class Fixtures;

// pane-open-100k and pane-open-100k-pattern: the time from setting a file list's path (the
// real FileList widget and model, offscreen) to a folder of 100,000 files until its model holds
// every matching name and the view has painted; against readdir of the same folder, the same
// filter and a sort of the names without regard to case, in the same process.
namespace PaneOpenCase {

// Every file listed; also reports the peak resident memory once the folder is open.
BenchResult runAll(const Fixtures &fixtures, int runs);
// Pattern "*.txt": one name in ten.
BenchResult runPattern(const Fixtures &fixtures, int runs);

} // namespace PaneOpenCase
