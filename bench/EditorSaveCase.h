#pragma once

#include "BenchResult.h"

class Fixtures;

// The editor's save of the big log it loaded (editor-save-59m), against one write and fsync of
// the same bytes.
namespace EditorSaveCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace EditorSaveCase
