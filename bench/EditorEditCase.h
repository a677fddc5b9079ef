#pragma once

#include "BenchResult.h"

class Fixtures;

// Edits in the middle of a file of 4,000,000 lines (editor-edit-4m): Enter, Backspace that
// joins two lines and a typed letter, at line 2,000,000 against the same at line 2.
namespace EditorEditCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace EditorEditCase
