#pragma once

#include "BenchResult.h"

class Fixtures;

// The editor's loads: the big log (editor-open-59m) and the long line without a blank
// (editor-long-line), each in the real window against one read() of the file.
namespace EditorCase {

BenchResult runOpen(const Fixtures &fixtures, int runs);
BenchResult runLongLine(const Fixtures &fixtures, int runs);

} // namespace EditorCase
