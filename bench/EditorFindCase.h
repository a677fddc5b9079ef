#pragma once

#include "BenchResult.h"

class Fixtures;

// editor-find-up: the editor's find (FindEngine::nextMatch) up from the end, case ignored, of
// "a" x 100,000 + "b" in one line of 600,000 "a", which is nowhere: a find text that almost
// matches at every place. Against glibc's memmem of the same characters, which matches case
// and so folds nothing: the least a linear search of that text costs.
namespace EditorFindCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace EditorFindCase
